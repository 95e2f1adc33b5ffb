// The text-table preview window driven through its controls (offscreen):
// heading click and EnTeteBox, red cells, the date edit, the units, the
// entrance frame; and a 100,000-row table filled without delay.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <chrono>

#include "app/echanges/visu_import_tab_dlg.h"
#include "formats/import/texte/import_tab_txt.h"
#include "foundation/dates.h"
#include "foundation/utilitaires.h"
#include "tests/support/temps_processeur.h"

namespace {

formats::TVisuImportTab Prepare(const std::string& texte) {
  std::vector<std::string> lignes = foundation::DecoupeLignes(texte);
  formats::TEnTeteTab e;
  EXPECT_TRUE(formats::LitEnTeteTab(lignes, e));
  formats::TVisuImportTab v;
  v.Init(e, lignes);
  return v;
}

std::string Titre(QTableView* t, int c) {
  return t->model()->headerData(c, Qt::Horizontal).toString().toStdString();
}

TEST(VisuImportTabDlgQt, TitresCellulesRougesEtDate) {
  ASSERT_NE(QApplication::instance(), nullptr);
  formats::TVisuImportTab v = Prepare(
      "cavité\tGrotte\nentrée\tE\t1000,5\tabc\t300\ndate\t14/07/23\nvisées\n"
      "E\tA\t10\t120\t5\t1\t2\t0\nA\tB\t20\t-5\t6\t0\t0\t0\n");
  app::TVisuImportTabDlg dlg(v);
  dlg.show();
  auto* table = dlg.findChild<QTableView*>("VisuLignes");
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->model()->columnCount(), 8);
  EXPECT_EQ(Titre(table, 0), "Pt Stat");
  EXPECT_EQ(Titre(table, 3), "P");
  EXPECT_EQ(Titre(table, 7), "Comment");
  EXPECT_EQ(table->model()->headerData(1, Qt::Vertical).toString().toStdString(), "A");
  // The slope 120 is red, the slope -5 black.
  auto couleur = [&](int l, int c) { return table->model()->data(table->model()->index(l, c), Qt::ForegroundRole).value<QColor>(); };
  EXPECT_EQ(couleur(0, 3), QColor(Qt::red));
  EXPECT_EQ(couleur(1, 3), QColor(Qt::black));
  // In grades 120 is still beyond 100.
  dlg.findChild<QRadioButton*>("UnitPRdg1")->click();
  EXPECT_EQ(v.UnitP, 1);
  EXPECT_EQ(couleur(0, 3), QColor(Qt::red));
  // Heading 3 clicked: EnTeteBox over it with its width; "L" chosen.
  emit table->horizontalHeader()->sectionClicked(3);
  auto* box = dlg.findChild<QComboBox*>("EnTeteBox");
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());
  EXPECT_EQ(box->width(), table->horizontalHeader()->sectionSize(3));
  EXPECT_EQ(box->currentText().toStdString(), "P");
  const int l = box->findText("L");
  ASSERT_GE(l, 0);
  box->setCurrentIndex(l);
  emit box->activated(l);
  EXPECT_FALSE(box->isVisible());
  EXPECT_EQ(Titre(table, 3), "L");
  EXPECT_EQ(Titre(table, 4), "Lh");
  EXPECT_EQ(Titre(table, 7), "Ld");
  // The entrance's second coordinate does not read: red; the first (decimal
  // comma) is normal.
  auto* x = dlg.findChild<QLineEdit*>("EditX");
  auto* y = dlg.findChild<QLineEdit*>("EditY");
  EXPECT_EQ(y->palette().color(QPalette::Text), QColor(Qt::red));
  EXPECT_NE(x->palette().color(QPalette::Text), QColor(Qt::red));
  // A date that does not exist: red, the date kept.
  auto* date = dlg.findChild<QLineEdit*>("DateTopoEdit");
  EXPECT_EQ(date->text().toStdString(), "14/07/23");
  const foundation::TDateTime avant = v.DateLev;
  date->setText("31/02/24");
  EXPECT_EQ(date->palette().color(QPalette::Text), QColor(Qt::red));
  EXPECT_EQ(v.DateLev, avant);
  date->setText("01/03/24");
  EXPECT_NE(date->palette().color(QPalette::Text), QColor(Qt::red));
  foundation::TDateTime mars;
  ASSERT_TRUE(foundation::EncodeDate(2024, 3, 1, mars));
  EXPECT_EQ(v.DateLev, mars);
  // "WGS 84": the angles panel instead of the metres, latitude from the first
  // coordinate.
  auto* cadre = dlg.findChild<app::TCadreProjectionTab*>("CadreProjectionTab");
  ASSERT_NE(cadre, nullptr);
  EXPECT_TRUE(cadre->GeodPanel->isHidden());
  dlg.findChild<QRadioButton*>("SimpleCoordsRdg1")->click();
  EXPECT_FALSE(cadre->GeodPanel->isHidden());
  dlg.findChild<QRadioButton*>("SimpleCoordsRdg2")->click();
  EXPECT_TRUE(cadre->EstWGS);
  EXPECT_TRUE(cadre->GeodPanel->isHidden());
  EXPECT_FALSE(dlg.CadreSaisieCoord->PanelAngles->isHidden());
  EXPECT_TRUE(dlg.CadreSaisieCoord->PanelMetres->isHidden());
  EXPECT_EQ(dlg.CadreSaisieCoord->EditLat->text().toStdString(), "1000,5");
  dlg.findChild<QLineEdit*>("NomCavEdit")->setText("Autre nom");
  QTimer::singleShot(0, &dlg, [&] { dlg.findChild<QPushButton*>("OKBtn")->click(); });
  ASSERT_TRUE(dlg.Execute());
  EXPECT_EQ(v.NomCav, "Autre nom");
  EXPECT_EQ(v.TypeCoord, formats::TVisuImportTab::TypeCoordEntree::WGS84);
  EXPECT_DOUBLE_EQ(v.Latitude, 1000.5);
}

TEST(VisuImportTabDlgQt, CentMilleLignes) {
  std::string texte = "\n";
  for (int i = 0; i < 100000; ++i) texte += "S" + std::to_string(i) + "\tS" + std::to_string(i + 1) + "\t10\t-5\t3\t1\tx\n";
  formats::TVisuImportTab v = Prepare(texte);
  const double debut = testsupport::TempsProcesseurFil();
  app::TVisuImportTabDlg dlg(v);
  dlg.show();
  QApplication::processEvents();
  emit dlg.VisuLignes->horizontalHeader()->sectionClicked(2);
  QApplication::processEvents();
  const double secondes = testsupport::TempsProcesseurFil() - debut;
  EXPECT_EQ(dlg.VisuLignes->model()->rowCount(), 100000);
  EXPECT_LT(secondes, 10.0);
}

}  // namespace
