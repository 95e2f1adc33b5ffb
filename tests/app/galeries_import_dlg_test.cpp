// The import's gallery dialog driven through its controls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "app/echanges/galeries_import_dlg.h"
#include "formats/import/import_autres.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/dossier_temp.h"

namespace {

TEST(NommeGalDlgQt, ControlesEtResultat) {
  ASSERT_NE(QApplication::instance(), nullptr);  // made by the application tests' environment
  testsupport::DossierTemp dossier;
  formats::GardeImport import;
  formats::Import().DossierMemoireGaleries = dossier.Chemin();
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde(dialogues);
  formats::TNommeGalDlg modele;
  modele.Init(dossier.Fichier("a.tro"), "E1");
  modele.NouvelleGal("Galerie d'entrée", "1", nullptr, "E1");
  modele.NouvelleGal("Galerie n° 1", "10", nullptr, "2");
  modele.Ouvre();
  app::TNommeGalDlg dlg(modele);
  QTreeWidget* liste = dlg.findChild<QTreeWidget*>("ListeGal");
  ASSERT_NE(liste, nullptr);
  ASSERT_EQ(liste->topLevelItemCount(), 2);
  EXPECT_EQ(liste->topLevelItem(1)->text(5).toStdString(), "Galerie n° 1");
  EXPECT_TRUE(liste->isColumnHidden(1));
  EXPECT_FALSE(dlg.findChild<QPushButton*>("ChangeOrigineBtn")->isVisibleTo(&dlg));
  // Row 0 cannot be unchecked.
  liste->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(liste->topLevelItem(0)->checkState(0), Qt::Checked);
  ASSERT_EQ(dialogues.Messages().size(), 1u);
  EXPECT_EQ(dialogues.Messages()[0], "La galerie d'entrée doit obligatoirement être individualisée");
  dlg.findChild<QPushButton*>("ZeroBtn")->click();
  EXPECT_EQ(liste->topLevelItem(1)->checkState(0), Qt::Unchecked);
  EXPECT_FALSE(modele.Cochee(1));
  dlg.findChild<QPushButton*>("ToutBtn")->click();
  EXPECT_TRUE(modele.Cochee(1));
  dialogues.QueuePrompt(std::string("Aval"));
  emit liste->itemDoubleClicked(liste->topLevelItem(1), 5);
  EXPECT_EQ(modele.DesignGal(1), "Aval");
  EXPECT_EQ(liste->topLevelItem(1)->text(5).toStdString(), "Aval");
  QTimer::singleShot(0, &dlg, [&] { dlg.findChild<QPushButton*>("OKBtn")->click(); });
  EXPECT_EQ(dlg.Execute(), formats::ResultatNommeGal::Ok);
  QTimer::singleShot(0, &dlg, [&] { dlg.findChild<QPushButton*>("AnnulerBtn")->click(); });
  EXPECT_EQ(dlg.Execute(), formats::ResultatNommeGal::Annuler);
}

}  // namespace
