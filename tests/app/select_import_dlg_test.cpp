// The surface-point selection window driven through its controls (offscreen).
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>

#include "app/echanges/select_import_dlg.h"
#include "formats/import/points/import_points_surface.h"
#include "formats/import/points/selection_points_import.h"
#include "survey/contexte_document.h"
#include "survey/liste_points.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"
#include "views/cadres/cadres_projection.h"

namespace {

struct Points {
  survey::GardeDocument document;
  survey::TReseau reseau;
  survey::TListedePoints liste{true};
  Points() {
    survey::Document().ReseauCourant = &reseau;
    survey::Affichage().DecimalesCoord = 1;
    for (const char* l : {"A;1.23456;44.5;3;note", "B;4;5;6"}) liste.Add(formats::LitLignePoint(l));
  }
};

TEST(SelectImportDlgQt, MarquageEtBoutons) {
  ASSERT_NE(QApplication::instance(), nullptr);
  Points p;
  formats::TSelectImportDlg modele;
  modele.Init(p.liste);
  app::TSelectImportDlg dlg(modele);
  auto* liste = dlg.findChild<QTreeWidget*>("ListePoints");
  ASSERT_NE(liste, nullptr);
  ASSERT_EQ(liste->topLevelItemCount(), 2);
  EXPECT_EQ(dlg.findChild<QWidget*>("CadreProjection"), nullptr);
  EXPECT_EQ(liste->topLevelItem(0)->checkState(0), Qt::Checked);
  EXPECT_EQ(liste->topLevelItem(0)->text(1).toStdString(), "A");
  EXPECT_EQ(liste->topLevelItem(0)->text(2).toStdString(), "         1.2");
  EXPECT_EQ(liste->topLevelItem(0)->text(5).toStdString(), "note");
  EXPECT_EQ(liste->headerItem()->text(1).toStdString(), "Design");
  dlg.findChild<QPushButton*>("AucunBtn")->click();
  EXPECT_EQ(liste->topLevelItem(1)->checkState(0), Qt::Unchecked);
  EXPECT_FALSE(modele.Cochee(0));
  dlg.findChild<QPushButton*>("TousBtn")->click();
  EXPECT_TRUE(modele.Cochee(1));
  liste->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(modele.Cochee(1));
  QTimer::singleShot(0, &dlg, [&] { dlg.findChild<QPushButton*>("OKBtn")->click(); });
  ASSERT_TRUE(dlg.Execute());
  ASSERT_TRUE(modele.Ferme(true));
  EXPECT_EQ(modele.Selecte, (std::vector<bool>{true, false}));
  EXPECT_EQ(p.liste.Count(), 2);
}

TEST(SelectImportDlgQt, CadreUnitesEtNotes) {
  Points p;
  p.reseau.Projection = "LT 93";
  p.reseau.NumFuseau = 0;
  formats::TSelectImportDlg modele;
  modele.Init(p.liste, true);
  app::TSelectImportDlg dlg(modele);
  auto* cadre = dlg.Cadre();
  ASSERT_NE(cadre, nullptr);
  auto* liste = dlg.Liste();
  auto* note = dlg.findChild<QLabel*>("Note1Lbl");
  EXPECT_TRUE(note->isHidden());
  // Kilometres: 3 decimals.
  dlg.findChild<QRadioButton*>("UnitesRdg1")->click();
  EXPECT_TRUE(modele.EnKm);
  EXPECT_EQ(liste->topLevelItem(0)->text(2).toStdString(), "       1.235");
  // Geographic: 8 decimals, "lat" and "long", units hidden, notes shown.
  cadre->RdgTypeCoord->Item(2)->click();
  cadre->SystemRdg->Item(0)->click();
  EXPECT_TRUE(modele.EstWGS);
  EXPECT_EQ(liste->topLevelItem(0)->text(2).toStdString(), "  1.23456000");
  EXPECT_EQ(liste->headerItem()->text(2).toStdString(), "   lat");
  EXPECT_EQ(liste->headerItem()->text(3).toStdString(), "   long");
  EXPECT_TRUE(dlg.findChild<QWidget*>("UnitesRdg")->isHidden());
  EXPECT_FALSE(note->isHidden());
  // Back to the network's system: no notes, "X" again.
  cadre->RdgTypeCoord->Item(1)->click();
  EXPECT_FALSE(modele.EstWGS);
  EXPECT_TRUE(note->isHidden());
  EXPECT_EQ(liste->headerItem()->text(2).toStdString(), "          X");
  liste->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
  QTimer::singleShot(0, &dlg, [&] { dlg.findChild<QPushButton*>("OKBtn")->click(); });
  ASSERT_TRUE(dlg.Execute());
  ASSERT_TRUE(modele.Ferme(true));
  ASSERT_EQ(p.liste.Count(), 1);
  EXPECT_EQ(p.liste.Item(0)->DesignPTopo, "B");
}

}  // namespace
