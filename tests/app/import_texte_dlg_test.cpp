// "Import d'un fichier de lever" driven through its controls (offscreen),
// file and questions scripted, up to the stations the cave receives.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/echanges/import_texte_dlg.h"
#include "foundation/codage.h"
#include "foundation/dates.h"
#include "platform/scripted_dialogs.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/ports_survey.h"
#include "tests/support/dossier_temp.h"

namespace {

TEST(ImportTexteDlgQt, StationsDuFichierJusquALaCavite) {
  ASSERT_NE(QApplication::instance(), nullptr);
  testsupport::DossierTemp dossier;
  const std::string chemin = dossier.Fichier("stations.txt");
  testsupport::EcritOctets(chemin, foundation::VersWindows1252("A1;1;2;3;4\r\nA2;;;;\r\nA1;9;9;9;9\r\nmauvaise;x;1;1;1\r\n"
                                                               "Élan;0.5;1;1;1\r\nA3\r\n"));
  survey::GardeDocument document;
  survey::GardePortsSurvey ports;
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde(dialogues);
  app::InstalleDialogueImportTexte();
  survey::TCavite c;
  survey::Document().NomGalerieCourante = "Amont";
  // "Nouvelle Galerie" named, then the file opened and its points accepted.
  dialogues.QueuePrompt(std::string("Puits"));
  dialogues.QueueFile(chemin);
  dialogues.QueueAnswer(platform::Answer::Yes);
  QTimer::singleShot(0, [] {
    auto* dlg = qobject_cast<app::TImportTexteDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle().toStdString(), "Import d'un fichier de lever");
    EXPECT_EQ(dlg->EditGal->text().toStdString(), "Amont");
    EXPECT_FALSE(dlg->EditRattach->isEnabled());
    dlg->findChild<QPushButton*>("BitBtn1")->click();
    EXPECT_EQ(dlg->EditGal->text().toStdString(), "Puits");
    dlg->findChild<QPushButton*>("FichierBtn")->click();
  });
  int32_t index = -1;
  ASSERT_TRUE(c.ImporteFichierTexte(index));
  EXPECT_EQ(dialogues.Unanswered(), 0);
  ASSERT_EQ(c.Galeries.Count(), 1);
  const survey::TGalerie* g = c.Galeries.First();
  EXPECT_EQ(g->NomGalerie, "Puits");
  // Each line that reads, once per name ("A1" twice keeps the first; the
  // bad number is dropped; "A3" has its widths at 0).
  ASSERT_EQ(g->Points.Count(), 4);
  const char* noms[] = {"A1", "A2", "Élan", "A3"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(g->Points.Item(i)->DesignPTopo, noms[i]);
  EXPECT_EQ(g->Points.Item(0)->LargeurGA, 1);
  EXPECT_EQ(g->Points.Item(0)->LargeurDR, 2);
  EXPECT_EQ(g->Points.Item(0)->HauteurSup, 3);
  EXPECT_EQ(g->Points.Item(0)->HauteurInf, 4);

  // Answering No leaves the dialog open; Annuler gives nothing.
  dialogues.QueueFile(chemin);
  dialogues.QueueAnswer(platform::Answer::No);
  QTimer::singleShot(0, [] {
    auto* dlg = qobject_cast<app::TImportTexteDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    dlg->findChild<QPushButton*>("FichierBtn")->click();
    EXPECT_TRUE(dlg->isVisible());
    dlg->findChild<QPushButton*>("CancelBtn")->click();
  });
  EXPECT_FALSE(c.ImporteFichierTexte(index));
  EXPECT_EQ(c.Galeries.First()->Points.Count(), 4);
}

}  // namespace

namespace {

// A click on "Lever :" chooses the trip through "Choix d'un lever";
// cancelling leaves it.
TEST(ImportTexteDlgQt, ChoixDuLever) {
  survey::GardeDocument document;
  survey::TLeversList levers;
  for (int jour : {3, 20}) {
    auto l = std::make_unique<survey::TLever>();
    foundation::EncodeDate(2024, 5, jour, l->LaDate);
    levers.Add(std::move(l));
  }
  survey::Document().LeverCourant = levers.UnObjet(0);
  app::TImportTexteDlg dlg;
  dlg.Init(levers);
  EXPECT_EQ(dlg.EditLever->text().toStdString(), levers.UnObjet(0)->DateTexte());
  auto choisit = [](const char* bouton, int ligne) {
    QTimer::singleShot(0, [=] {
      QWidget* w = QApplication::activeModalWidget();
      ASSERT_NE(w, nullptr);
      EXPECT_EQ(w->objectName().toStdString(), "ChoixLeverDlg");
      if (ligne >= 0) w->findChild<QComboBox*>("LeverBox")->setCurrentIndex(ligne);
      w->findChild<QPushButton*>(bouton)->click();
    });
  };
  choisit("OKBtn", 1);
  dlg.EditLeverClick();
  EXPECT_EQ(dlg.NumLever, levers.UnObjet(1));
  EXPECT_EQ(dlg.EditLever->text().toStdString(), levers.UnObjet(1)->DateTexte());
  choisit("AnnulerBtn", 0);
  dlg.EditLeverClick();
  EXPECT_EQ(dlg.NumLever, levers.UnObjet(1));
}

}  // namespace
