// The TopoRobot cave choice driven through its controls: checking one cave
// unchecks the others; OK and Annuler; the window as the import's port.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "app/echanges/choix_cavite_tprb_dlg.h"
#include "formats/import/galeries_import.h"
#include "formats/import/toporobot/lecteur_toporobot.h"

namespace {

TEST(ChoixCavTpRbQt, UneSeuleCaviteCochee) {
  ASSERT_NE(QApplication::instance(), nullptr);  // made by the application tests' environment
  formats::TTpRbChoixCavDlg modele;
  modele.Init({"GROTTE DUTROUX", "GROTTE DEBALLE", "Trou"});
  app::TTpRbChoixCavDlg dlg(modele);
  EXPECT_EQ(dlg.windowTitle().toStdString(), "Choix de la cavité TopoRobot à importer");
  EXPECT_EQ(dlg.findChild<QLabel*>("Label1")->text().toStdString(), "Il y a plusieurs cavités dans le fichier Topo Robot");
  QListWidget* liste = dlg.findChild<QListWidget*>("ListeCavBox");
  ASSERT_NE(liste, nullptr);
  ASSERT_EQ(liste->count(), 3);
  EXPECT_EQ(liste->item(1)->text().toStdString(), "GROTTE DEBALLE");
  EXPECT_EQ(modele.Choisie(), -1);
  liste->item(1)->setCheckState(Qt::Checked);
  EXPECT_EQ(modele.Choisie(), 1);
  liste->item(2)->setCheckState(Qt::Checked);
  EXPECT_EQ(modele.Choisie(), 2);
  EXPECT_EQ(liste->item(1)->checkState(), Qt::Unchecked);
  liste->item(2)->setCheckState(Qt::Unchecked);
  EXPECT_EQ(modele.Choisie(), -1);
  QTimer::singleShot(0, &dlg, [&] { dlg.findChild<QPushButton*>("AnnulerBtn")->click(); });
  EXPECT_FALSE(dlg.Execute());
}

TEST(ChoixCavTpRbQt, FenetreDeLImport) {
  formats::GardePortsImport ports;
  app::InstalleDialogueChoixCavTpRb();
  formats::TTpRbChoixCavDlg modele;
  modele.Init({"A", "B"});
  QTimer::singleShot(0, [] {
    QWidget* w = QApplication::activeModalWidget();
    ASSERT_NE(w, nullptr);
    w->findChild<QListWidget*>("ListeCavBox")->item(0)->setCheckState(Qt::Checked);
    w->findChild<QPushButton*>("OKBtn")->click();
  });
  EXPECT_TRUE(modele.Execute());
  EXPECT_EQ(modele.Choisie(), 0);
}

}  // namespace
