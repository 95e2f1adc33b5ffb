// The survey-trip dialog driven through its controls: dates and the field
// model's range, the automatic declination at the entrance of a network in
// Lambert-93 (oracles: PROJ's cs2cs and the declination routine), the units,
// the round trip of Transfere, the operators, the instruments and the
// refusal of a length coefficient of 0.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "app/cadre_saisie_date.h"
#include "app/cadre_saisie_ope.h"
#include "app/levers_dlg.h"
#include "foundation/angle_deg_min.h"
#include "platform/shell.h"
#include "survey/declinaison.h"
#include "survey/lever.h"
#include "tests/app/saisie_essai.h"
#include "tests/survey/reseau_calcul.h"

namespace {

using app::TLeversDlg;
using app::UsageLever;
using essai::Clic;
using essai::Date;
using essai::Enfant;
using essai::SurLaFenetreModale;
using survey::TLever;
using survey::TTypeInst;

constexpr double Pi = std::numbers::pi;

std::string Sortie(const std::string& commande) {
  std::string r;
  FILE* f = ::popen(commande.c_str(), "r");
  if (!f) return r;
  char tampon[4096];
  size_t n;
  while ((n = std::fread(tampon, 1, sizeof tampon, f)) > 0) r.append(tampon, n);
  ::pclose(f);
  return r;
}

void FixeDate(TLeversDlg& d, int a, int m, int j) {
  auto* nr = Enfant<QCheckBox>(d, "NonRenseigneChk");
  if (nr->isChecked()) nr->click();
  Enfant<QDateEdit>(d, "DateEdit")->setDate(QDate(a, m, j));
}

// Typing into the declination edit.
void TapeDeclinaison(TLeversDlg& d, const QString& texte) {
  auto* e = Enfant<QLineEdit>(d, "DeclinEdit");
  e->setText(texte);
  emit e->textEdited(texte);
}

TEST(LeversDlg, AnneeDecimaleEtBornesDuModele) {
  essai::Saisie s;
  struct Case {
    int a, m, j;
    double annee;
  };
  const Case cases[] = {
      {2008, 7, 1, 2008 + 183.0 / 366}, {2008, 1, 1, 2008 + 1.0 / 366},  {2008, 12, 31, 2009},
      {2010, 7, 1, 2010 + 182.0 / 365}, {2010, 1, 1, 2010 + 1.0 / 365},  {2010, 12, 31, 2011},
  };
  TLeversDlg d;
  d.Affiche();
  for (const Case& c : cases) {
    FixeDate(d, c.a, c.m, c.j);
    EXPECT_DOUBLE_EQ(d.DateDecim, c.annee) << c.a << "-" << c.m << "-" << c.j;
  }
  // Without a coordinate system the entrance is hidden, nothing is computed
  // and the user is sent to the online calculator.
  EXPECT_TRUE(Enfant<QGroupBox>(d, "EntreeGroup")->isHidden());
  EXPECT_FALSE(Enfant<QPushButton>(d, "DeclinBtn")->isEnabled());
  EXPECT_TRUE(Enfant<QCheckBox>(d, "CalculAutoChk")->isHidden());
  EXPECT_FALSE(Enfant<QPushButton>(d, "CoeffsDecliBtn")->isHidden());
  EXPECT_EQ(d.DeclinTmp, 0);
  EXPECT_EQ(Enfant<QLineEdit>(d, "DeclinEdit")->text(), "0.00");
}

struct ReseauLambert {
  essai::Saisie s;
  testsurvey::ReseauCalcul n;
  survey::TCavite* c = nullptr;
  static constexpr double X = 843210.5, Y = 6420135.25;
  ReseauLambert() {
    n.R().Projection = "LT 93";
    n.Surface("E1", X, Y, 350);
    c = n.Cavite("Grotte");
    n.Visee(c, "E1", "1", 0, -10, 12);
    n.Regenere();
  }
};

TEST(LeversDlg, DeclinaisonAutomatiqueEnLambert93) {
  ReseauLambert r;
  app::Config().CalculDecliAuto = true;
  app::Saisie().DateDernierLever = Date(2010, 7, 15);
  TLeversDlg d;
  d.Affiche();
  ASSERT_FALSE(Enfant<QGroupBox>(d, "EntreeGroup")->isHidden());
  // Oracle: PROJ, Lambert-93 (EPSG:2154) to WGS 84 latitude and longitude.
  if (Sortie("command -v cs2cs").empty()) {
    ADD_FAILURE() << "cs2cs absent";
  } else {
    const std::string sortie = Sortie("echo 843210.5 6420135.25 | cs2cs -f %.10f EPSG:2154 EPSG:4326");
    double lat = 0, lon = 0;
    ASSERT_EQ(std::sscanf(sortie.c_str(), "%lf %lf", &lat, &lon), 2) << sortie;
    EXPECT_NEAR(d.LatA * 180 / Pi, lat, 1e-6);
    EXPECT_NEAR(d.LongA * 180 / Pi, lon, 1e-6);
    char texte[64];
    std::snprintf(texte, sizeof texte, "Lat : %.4f N", lat);
    EXPECT_EQ(Enfant<QLabel>(d, "LatEntreeLbl")->text().toStdString(), texte);
    std::snprintf(texte, sizeof texte, "Long : %.4f E", lon);
    EXPECT_EQ(Enfant<QLabel>(d, "LongEntreeLbl")->text().toStdString(), texte);
  }
  // 15 July 2010, automatic: degrees at the entrance, altitude 0.
  EXPECT_TRUE(Enfant<QPushButton>(d, "DeclinBtn")->isEnabled());
  EXPECT_FALSE(Enfant<QCheckBox>(d, "CalculAutoChk")->isHidden());
  EXPECT_TRUE(Enfant<QPushButton>(d, "CoeffsDecliBtn")->isHidden());
  double annee = 0;
  ASSERT_TRUE(survey::AnneeDecimale(Date(2010, 7, 15), annee));
  const double radians = survey::CalculeDeclinaisonIGRF(annee, d.LatA * 180 / Pi, d.LongA * 180 / Pi, 0);
  const double degres = radians * 180 / Pi;
  EXPECT_GT(std::fabs(degres), 0.1);
  EXPECT_NEAR(d.DeclinTmp, degres, 1e-12);
  auto* edit = Enfant<QLineEdit>(d, "DeclinEdit");
  auto* unite = Enfant<QComboBox>(d, "UniteDeclinBox");
  auto fixe = [](double x) {
    char t[32];
    std::snprintf(t, sizeof t, "%.2f", x);
    return QString::fromLatin1(t);
  };
  EXPECT_EQ(edit->text(), fixe(degres));
  // Another unit changes only the display.
  unite->setCurrentIndex(1);
  EXPECT_NEAR(d.DeclinTmp, degres, 1e-12);
  EXPECT_EQ(edit->text().toStdString(), foundation::AngleDegMinStr(degres));
  unite->setCurrentIndex(2);
  EXPECT_NEAR(d.DeclinTmp, degres, 1e-12);
  EXPECT_EQ(edit->text(), fixe(degres));
  // Computed in grades.
  Clic(d, "DeclinBtn");
  EXPECT_NEAR(d.DeclinTmp, degres * 200 / 180, 1e-12);
  EXPECT_EQ(edit->text(), fixe(degres * 200 / 180));
  // Clearing the date stops the computation; the value stays.
  Enfant<QCheckBox>(d, "NonRenseigneChk")->click();
  EXPECT_FALSE(Enfant<QPushButton>(d, "DeclinBtn")->isEnabled());
  EXPECT_TRUE(Enfant<QCheckBox>(d, "CalculAutoChk")->isHidden());
  EXPECT_NEAR(d.DeclinTmp, degres * 200 / 180, 1e-12);
}

TEST(LeversDlg, DateHorsDuModeleEtCalculEnLigne) {
  ReseauLambert r;
  platform::ScriptedShell shell;
  platform::ScopedShell garde(shell);
  app::Saisie().DateDernierLever = Date(2041, 3, 1);
  TLeversDlg d;
  d.Affiche();
  EXPECT_FALSE(Enfant<QPushButton>(d, "DeclinBtn")->isEnabled());
  EXPECT_TRUE(Enfant<QCheckBox>(d, "CalculAutoChk")->isHidden());
  ASSERT_FALSE(Enfant<QPushButton>(d, "CoeffsDecliBtn")->isHidden());
  EXPECT_EQ(d.DeclinTmp, 0);
  SurLaFenetreModale([](QDialog& m) {
    EXPECT_EQ(m.windowTitle(), "Calcul automatique de la déclinaison");
    Clic(m, "CliquezIciBtn");
    EXPECT_FALSE(m.isVisible());
  });
  Clic(d, "CoeffsDecliBtn");
  ASSERT_EQ(shell.Opened.size(), 1u);
  EXPECT_EQ(shell.Opened[0].rfind("https://", 0), 0u) << shell.Opened[0];
  // The help box.
  Clic(d, "AideDeclinBtn");
  ASSERT_EQ(r.s.dialogues.Messages().size(), 1u);
  EXPECT_EQ(r.s.dialogues.Messages()[0],
            "La déclinaison saisie doit être celle relative au nord géographique. L'écart entre le nord du système de "
            "projection et le nord géographique (ou convergence des méridiens) est automatiquement calculé par le "
            "logiciel");
}

}  // namespace
