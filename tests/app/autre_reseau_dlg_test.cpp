// The windows of the import from another document and of the comparison,
// driven through their controls; the report printed to PDF and read back
// with pdftotext, the oracle.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <cstdio>
#include <string>

#include "app/echanges/autre_reseau_dlg.h"
#include "formats/import/autre_reseau/ports_autre_reseau.h"
#include "platform/printer.h"
#include "platform/scripted_dialogs.h"
#include "survey/cavite.h"
#include "survey/reseau.h"
#include "tests/support/dossier_temp.h"
#include "tests/support/garde_contextes.h"

namespace {

std::string Sortie(const std::string& commande) {
  std::string r;
  FILE* f = ::popen(commande.c_str(), "r");
  if (!f) return r;
  char tampon[4096];
  size_t n;
  while ((n = fread(tampon, 1, sizeof tampon, f)) > 0) r.append(tampon, n);
  ::pclose(f);
  return r;
}

// A network with the surface and caves of these names.
void AjouteCavites(survey::TReseau& r, const std::vector<std::string>& noms) {
  r.CreeCaviteSurface();
  for (const std::string& n : noms) {
    auto c = std::make_unique<survey::TCavite>();
    c->NomCavite = n;
    r.AjouteCavite(std::move(c));
  }
}

TEST(AutreReseauDlg, ChoixDesCavitesCocheesParLaListe) {
  testsupport::GardeContextes contextes;
  survey::TReseau r;
  AjouteCavites(r, {"Trou A", "Trou B", "Trou C"});
  app::TImportCavitesDlg dlg(r);
  EXPECT_EQ(dlg.windowTitle().toStdString(), "Choix des cavités à importer");
  QListWidget* liste = dlg.findChild<QListWidget*>("CheckCavitesBox");
  ASSERT_NE(liste, nullptr);
  ASSERT_EQ(liste->count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(liste->item(i)->checkState(), Qt::Unchecked);
  liste->item(1)->setCheckState(Qt::Checked);
  std::vector<bool> choix(4, false);
  dlg.Transfere(choix);
  EXPECT_EQ(choix, (std::vector<bool>{false, false, true, false}));
}

TEST(AutreReseauDlg, ChoixDUneCavite) {
  testsupport::GardeContextes contextes;
  survey::TReseau r;
  AjouteCavites(r, {"Trou A", "Trou B", "Trou C"});
  struct Cas {
    std::string libelle, titre, texte;
  };
  const Cas cas[] = {{"", "Choix de la cavité à comparer", "Choisissez la cavité de comparaison :"},
                     {"Choisissez la cavité contenant la partie à importer", "Choix de la cavité à importer",
                      "Choisissez la cavité contenant la partie à importer"}};
  for (const Cas& c : cas) {
    app::TSelectCavDlg dlg(r, c.libelle);
    EXPECT_EQ(dlg.windowTitle().toStdString(), c.titre);
    EXPECT_EQ(dlg.findChild<QLabel*>("Libelle")->text().toStdString(), c.texte);
    // The last cave is selected first.
    EXPECT_EQ(dlg.CaviteChoisie(), r.UneCavite(3));
    dlg.findChild<QListWidget*>("ListeCavites")->setCurrentRow(0);
    EXPECT_EQ(dlg.CaviteChoisie(), r.UneCavite(1));
  }
}

TEST(AutreReseauDlg, RapportImprimeEnPdf) {
  if (Sortie("command -v pdftotext").empty()) GTEST_SKIP() << "poppler-utils absent";
  testsupport::GardeContextes contextes;
  testsupport::DossierTemp dossier;
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde(dialogues);
  formats::TRapportMaj rapport;
  rapport.Lignes = {"Cavite en cours : ar52  -  dans le fichier : /d/ouvert.cav",
                    "Cavite importée : ar52  -  dans le fichier : /d/ar52.th",
                    "",
                    std::string(93, '-'),
                    "",
                    "Visées existant dans la cavité en cours et pas dans la cavité importée",
                    "",
                    "Galerie : Galerie d'entrée",
                    "4\t -> \t5\t   6.5 °\t3.69\t   4.1 °",
                    "",
                    std::string(93, '-'),
                    "",
                    "Visées existant dans la cavité importée et pas dans la cavité en cours"};
  // Enough lines for a second page.
  for (int i = 0; i < 120; ++i) rapport.Lignes.push_back("ligne " + std::to_string(i));
  app::TRapportMajDlg dlg(rapport);
  EXPECT_EQ(dlg.windowTitle().toStdString(), "Rapport de recherche des visées manquantes");
  EXPECT_NE(dlg.findChild<QTextEdit*>("Rapport")->toPlainText().toStdString().find("Galerie : Galerie d'entrée"),
            std::string::npos);
  // The view buttons wait for the shot selection window.
  EXPECT_FALSE(dlg.findChild<QPushButton*>("VisuCavit1Btn")->isVisibleTo(&dlg));
  EXPECT_FALSE(dlg.findChild<QPushButton*>("VisuCavit2Btn")->isVisibleTo(&dlg));
  int offertes = 0;
  dlg.Sortie.DialogueScripte = [&](int n, platform::Printer& p) {
    offertes = n;
    return std::optional<app::ChoixImpression>(app::ChoixImpression{&p, 0, 0});
  };
  dialogues.QueueFile(dossier.Fichier("rapport"));
  dlg.findChild<QPushButton*>("PrnBtn")->click();
  EXPECT_GE(offertes, 2);
  const std::string pdf = dossier.Fichier("rapport.pdf");
  const std::string texte = Sortie("pdftotext -layout '" + pdf + "' -");
  for (const char* attendu : {"Cavite en cours : ar52", "Cavite importée : ar52",
                              "Visées existant dans la cavité en cours et pas dans la cavité importée",
                              "Visées existant dans la cavité importée et pas dans la cavité en cours",
                              "Galerie : Galerie d'entrée", "ligne 119"})
    EXPECT_NE(texte.find(attendu), std::string::npos) << attendu;
  EXPECT_NE(texte.find(std::string(93, '-')), std::string::npos);
  // The tab stops keep the columns apart.
  EXPECT_NE(texte.find("->"), std::string::npos);
  EXPECT_EQ(texte.find("4 -> 5"), std::string::npos);
  EXPECT_EQ(texte.find("4->5"), std::string::npos);
}

}  // namespace
