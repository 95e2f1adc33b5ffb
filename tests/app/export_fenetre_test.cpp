// The export commands of the main window, driven through its menu and tool
// bar on a small cave: the coordinate-system check of the KML and GPX
// commands, the KML objects window, the GPX surface-point question, the
// Google Earth button's preview and the DXF, CSV and VTopo files.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QToolButton>

#include "app/application.h"
#include "app/document/document_survey.h"
#include "app/echanges/objets_kml_dlg.h"
#include "app/fiche_principale.h"
#include "app/table/zone_visees.h"
#include "formats/export/kml/export_kml.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/reseau.h"
#include "survey/visee.h"
#include "tests/app/outils_fenetre.h"
#include "tests/app/saisie_essai.h"
#include "tests/support/dossier_temp.h"

using namespace app;
using essai::Controle;

namespace {

// The window on a new network: the surface point "E" at a UTM 32 position and
// a cave "Igue" of n shots of 2 m going north from it.
struct FenetreExport {
  essai::Gardes g;
  projections::GardeProjections catalogue;
  testsupport::DossierTemp dossier;
  TFichePrincipale* f = nullptr;
  survey::TReseau* r = nullptr;

  explicit FenetreExport(int n) {
    projections::ChargeListeProjections(projections::RegionFrance);
    InstalleLiaisonsApplication();
    f = new TFichePrincipale(FabriqueSurvey(), {});
    f->NouveauReseau();
    r = &dynamic_cast<TDocumentSurvey*>(f->Gestion().Reseau())->Reseau();
    r->Nom = "Massif";
    essai::AjouteCaviteLineaire(*r, n);
    survey::TPointSpeleo* entree = r->LesPointsSurface()->First();
    entree->X = 326903.675;
    entree->Y = 5026481.521;
    entree->Z = 3005;
    survey::Document().NomFichierCourant = dossier.Fichier("massif.cav");
    f->AfficheListeCavites(true);
  }
  ~FenetreExport() {
    f->Gestion().LibereReseau();
    delete f;
  }
  void Rattache() {
    r->Projection = "UTM";
    r->NumFuseau = 32;
  }
  void Menu(const char* nom) {
    QAction* a = Controle<QAction>(*f, nom);
    ASSERT_TRUE(a->isEnabled()) << nom;
    a->trigger();
  }
  std::string Fichier(const std::string& nom) const { return testsupport::LitOctets(dossier.Fichier(nom)); }
};

const std::string kSansSysteme =
    "Cette fonction n'est possible que si le réseau est rattaché à un système de coordonnées";

}  // namespace

TEST(ExportFenetre, KmlEtGpxDemandentUnSystemeDeCoordonnees) {
  FenetreExport w(3);
  for (const char* nom :
       {"ExportCSV", "ExportVTopo", "ExportDXF", "ExportKml", "ExportGPX", "ExportPartie", "ExportQave"})
    EXPECT_TRUE(Controle<QAction>(*w.f, nom)->isEnabled()) << nom;
  w.Menu("ExportKml");
  w.Menu("ExportGPX");
  Controle<QToolButton>(*w.f, "GEBtn")->click();
  EXPECT_EQ(w.g.dialogues.Messages(), (std::vector<std::string>{kSansSysteme, kSansSysteme, kSansSysteme}));
  // Nothing else was asked.
  EXPECT_EQ(w.g.dialogues.Log().size(), 3u);
}

TEST(ExportFenetre, FenetreDesObjetsKml) {
  FenetreExport w(3);
  w.Rattache();
  struct Cas {
    bool ok;
    std::vector<const char*> decocher;
    bool ecrit, surface, cheminement;
  } cas[] = {{true, {}, true, true, true},
             {true, {"ChkbSurface"}, true, false, true},
             {true, {"ChkbSurface", "ChkbLevers", "ChkbGaleries", "ChkbDessin"}, false, false, false},
             {false, {}, false, false, false}};
  int n = 0;
  for (const Cas& k : cas) {
    SCOPED_TRACE(n);
    const std::string nom = "igue" + std::to_string(n++) + ".kml";
    if (k.ecrit) w.g.dialogues.QueueFile(w.dossier.Fichier(nom));
    QStringList coches;
    QString titre;
    essai::SurLaFenetreModale([&](QDialog& d) {
      titre = d.windowTitle();
      for (QCheckBox* b : d.findChildren<QCheckBox*>())
        if (b->isChecked()) coches << b->objectName();
      for (const char* c : k.decocher) essai::Enfant<QCheckBox>(d, c)->setChecked(false);
      essai::Clic(d, k.ok ? "OkBtn" : "AnnulBtn");
    });
    w.Menu("ExportKml");
    EXPECT_EQ(titre, "Objets à mettre dans le KML");
    // Every kind is proposed.
    EXPECT_EQ(coches, (QStringList{"ChkbSurface", "ChkbLevers", "ChkbGaleries", "ChkbDessin"}));
    EXPECT_EQ(w.g.dialogues.PendingAnswers(), 0u);
    const std::string texte = w.Fichier(nom);
    EXPECT_EQ(!texte.empty(), k.ecrit);
    if (!k.ecrit) continue;
    EXPECT_EQ(texte.find("Points de surface") != std::string::npos, k.surface);
    EXPECT_EQ(texte.find("Cheminement - Galeries") != std::string::npos, k.cheminement);
  }
  // No save dialog after a cancelled or empty choice.
  int sauvegardes = 0;
  for (const auto& s : w.g.dialogues.Log()) sauvegardes += s.event == platform::ScriptedDialogs::Event::Save;
  EXPECT_EQ(sauvegardes, 2);
}

TEST(ExportFenetre, GpxDemandeLesPointsDeSurface) {
  FenetreExport w(3);
  w.Rattache();
  for (bool oui : {true, false}) {
    const std::string nom = oui ? "oui.gpx" : "non.gpx";
    w.g.dialogues.QueueAnswer(oui ? platform::Answer::Yes : platform::Answer::No);
    w.g.dialogues.QueueFile(w.dossier.Fichier(nom));
    w.Menu("ExportGPX");
    const std::string texte = w.Fichier(nom);
    EXPECT_EQ(texte.find("<wpt") != std::string::npos, oui) << texte;
    EXPECT_NE(texte.find("<trkpt"), std::string::npos);
  }
  ASSERT_GE(w.g.dialogues.Log().size(), 1u);
  EXPECT_EQ(w.g.dialogues.Log()[0].event, platform::ScriptedDialogs::Event::YesNo);
  EXPECT_EQ(w.g.dialogues.Log()[0].text, "Exporter les points de surface ?");
}

TEST(ExportFenetre, GoogleEarth) {
  FenetreExport w(3);
  w.Rattache();
  for (platform::OpenResult reponse : {platform::OpenResult::Opened, platform::OpenResult::NoProgram}) {
    platform::ScriptedShell shell(reponse);
    platform::ScopedShell garde(shell);
    Controle<QToolButton>(*w.f, "GEBtn")->click();
    ASSERT_EQ(shell.Opened.size(), 1u);
    EXPECT_EQ(shell.Opened[0], w.dossier.Fichier("KmlTmp.kml"));
  }
  // The preview asks nothing; a desktop with no program for KML files says so.
  EXPECT_EQ(w.g.dialogues.Messages(),
            (std::vector<std::string>{"Aucun programme n'est installé pour ouvrir les fichiers KML"}));
}

TEST(ExportFenetre, DxfCsvEtVTopo) {
  FenetreExport w(3);
  struct Cas {
    const char* menu;
    const char* fichier;
    const char* attendu;
  } cas[] = {{"ExportDXF", "igue.dxf", "CAV_PTLEVER"}, {"ExportCSV", "igue.csv", "A3"}, {"ExportVTopo", "igue.tro", "A3"}};
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.menu);
    w.g.dialogues.QueueFile(w.dossier.Fichier(k.fichier));
    // The VTopo export asks whether the names are kept.
    if (std::string(k.menu) == "ExportVTopo") w.g.dialogues.QueueAnswer(platform::Answer::Yes);
    w.Menu(k.menu);
    EXPECT_NE(w.Fichier(k.fichier).find(k.attendu), std::string::npos);
    EXPECT_EQ(w.g.dialogues.PendingAnswers(), 0u);
  }
}
