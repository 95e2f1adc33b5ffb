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
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "app/saisie/cadre_saisie_date.h"
#include "app/saisie/cadre_saisie_ope.h"
#include "app/saisie/levers_dlg.h"
#include "foundation/angle_deg_min.h"
#include "foundation/dates.h"
#include "foundation/flux.h"
#include "foundation/niveau_fichier.h"
#include "platform/shell.h"
#include "survey/declinaison.h"
#include "survey/lever.h"
#include "survey/rapport_calcul.h"
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
      {2008, 7, 1, 2008 + 183.0 / 366}, {2008, 1, 1, 2008 + 1.0 / 366}, {2008, 12, 31, 2009},
      {2010, 7, 1, 2010 + 182.0 / 365}, {2010, 1, 1, 2010 + 1.0 / 365}, {2010, 12, 31, 2011},
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

// A network in Lambert-93 whose cave "Grotte" starts at the surface point
// E1; without its first shot the cave has no position of its own.
struct ReseauLambert {
  essai::Saisie s;
  testsurvey::ReseauCalcul n;
  survey::TCavite* c = nullptr;
  static constexpr double X = 843210.5, Y = 6420135.25;
  explicit ReseauLambert(bool premiereVisee = true) {
    n.R().Projection = "LT 93";
    n.Surface("E1", X, Y, 350);
    c = n.Cavite("Grotte");
    if (premiereVisee) PremiereVisee();
  }
  void PremiereVisee(survey::TLever* l = nullptr) {
    n.Visee(c, "E1", "1", 0, -10, 12, l);
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
  // 15 July 2010, automatic: degrees at the entrance, at its height (350 m),
  // as the network computation takes it.
  EXPECT_TRUE(Enfant<QPushButton>(d, "DeclinBtn")->isEnabled());
  EXPECT_FALSE(Enfant<QCheckBox>(d, "CalculAutoChk")->isHidden());
  EXPECT_TRUE(Enfant<QPushButton>(d, "CoeffsDecliBtn")->isHidden());
  double annee = 0;
  ASSERT_TRUE(survey::AnneeDecimale(Date(2010, 7, 15), annee));
  EXPECT_EQ(d.AltA, 350);
  const double radians = survey::CalculeDeclinaisonIGRF(annee, d.LatA * 180 / Pi, d.LongA * 180 / Pi, 350);
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

namespace {

TLever LeverComplet(survey::TInstrument* az, survey::TInstrument* l, survey::TInstrument* p) {
  TLever t;
  t.LaDate = Date(1998, 8, 14);
  t.UniteAZ = 1;
  t.UniteP = 1;
  t.ZeroPente = 1;
  t.EtalonL = 0.987;
  t.Declinaison = -1.5;
  t.UniteDeclin = survey::UniteDeclinDegresMinutes;
  t.Topofil = true;
  t.Precision = 5;
  t.Commentaires = "Équipe du samedi";
  t.InstrumentAz = az;
  t.InstrumentL = l;
  t.InstrumentP = p;
  t.AncienneDecli = true;
  return t;
}

TEST(LeversDlg, TransfereAllerRetour) {
  essai::Saisie s;
  survey::TOperateur* a = s.Operateur("Martin");
  survey::TOperateur* b = s.Operateur("Durand");
  survey::TInstrument* az = s.Instrument("Boussole 1", TTypeInst::tiAzim);
  survey::TInstrument* l = s.Instrument("Décamètre", TTypeInst::tiDist);
  survey::TInstrument* p = s.Instrument("Clino", TTypeInst::tiPente);
  struct Case {
    uint8_t UniteDeclin;
    double Declinaison;
    int32_t ZeroPente;
    uint8_t UniteP;
    uint8_t UniteAZ;
  };
  const Case cases[] = {
      {survey::UniteDeclinDegres, 2.25, -1, 0, 0},
      {survey::UniteDeclinGrades, -3.125, 0, 1, 1},
      {survey::UniteDeclinDegresMinutes, -1.5, 1, 1, 0},
      {survey::UniteDeclinAucune, 0.75, 0, 2, 1},
  };
  for (const Case& c : cases) {
    TLever t = LeverComplet(az, l, p);
    t.Operateurs = {b, a};
    t.UniteDeclin = c.UniteDeclin;
    t.Declinaison = c.Declinaison;
    t.ZeroPente = c.ZeroPente;
    t.UniteP = c.UniteP;
    t.UniteAZ = c.UniteAZ;
    TLeversDlg d(nullptr, UsageLever::Rectification);
    d.Init(t);
    d.Affiche();
    EXPECT_EQ(Enfant<QCheckBox>(d, "PasDeDeclinChk")->isChecked(), c.UniteDeclin == survey::UniteDeclinAucune);
    EXPECT_EQ(Enfant<QGroupBox>(d, "DeclinGroup")->isHidden(), c.UniteDeclin == survey::UniteDeclinAucune);
    TLever u;
    u.AncienneDecli = true;
    u.Declinaison = c.Declinaison;
    d.Transfere(u);
    const int cas = static_cast<int>(&c - cases);
    EXPECT_EQ(u.LaDate, t.LaDate) << cas;
    EXPECT_EQ(u.Operateurs, t.Operateurs) << cas;
    EXPECT_EQ(u.InstrumentAz, az) << cas;
    EXPECT_EQ(u.InstrumentL, l) << cas;
    EXPECT_EQ(u.InstrumentP, p) << cas;
    EXPECT_EQ(u.UniteDeclin, c.UniteDeclin) << cas;
    EXPECT_EQ(u.Declinaison, c.Declinaison) << cas;
    EXPECT_EQ(u.UniteAZ, c.UniteAZ) << cas;
    EXPECT_EQ(u.UniteP, c.UniteP) << cas;
    // Percent measures from the horizontal.
    EXPECT_EQ(u.ZeroPente, c.UniteP == 2 ? 0 : c.ZeroPente) << cas;
    EXPECT_EQ(u.Topofil, t.Topofil) << cas;
    EXPECT_DOUBLE_EQ(u.EtalonL, t.EtalonL) << cas;
    EXPECT_EQ(u.Precision, t.Precision) << cas;
    EXPECT_EQ(u.Commentaires, t.Commentaires) << cas;
    EXPECT_TRUE(u.AncienneDecli) << cas << ": the declination did not change";
  }
  // Any change of the declination clears the former convention.
  TLever t = LeverComplet(az, l, p);
  TLeversDlg d(nullptr, UsageLever::Rectification);
  d.Init(t);
  d.Affiche();
  EXPECT_EQ(Enfant<QLineEdit>(d, "DeclinEdit")->text().toStdString(), "-1° 30'");
  TapeDeclinaison(d, QString::fromUtf8("-1° 45'"));
  EXPECT_DOUBLE_EQ(d.DeclinTmp, -1.75);
  // A text that does not read leaves the value.
  TapeDeclinaison(d, QString::fromUtf8("x° 5'"));
  EXPECT_DOUBLE_EQ(d.DeclinTmp, -1.75);
  // Minutes without their sign.
  TapeDeclinaison(d, QString::fromUtf8("-2°15"));
  EXPECT_DOUBLE_EQ(d.DeclinTmp, -2.25);
  d.Transfere(t);
  EXPECT_DOUBLE_EQ(t.Declinaison, -2.25);
  EXPECT_FALSE(t.AncienneDecli);
  // Decimal units read the number.
  Enfant<QComboBox>(d, "UniteDeclinBox")->setCurrentIndex(0);
  EXPECT_EQ(Enfant<QLineEdit>(d, "DeclinEdit")->text(), "-2.25");
  TapeDeclinaison(d, "3.5");
  EXPECT_DOUBLE_EQ(d.DeclinTmp, 3.5);
  d.Transfere(t);
  EXPECT_EQ(t.UniteDeclin, survey::UniteDeclinDegres);
}

TEST(LeversDlg, DateDuDernierNouveauLever) {
  essai::Saisie s;
  survey::TLeversList liste;
  app::Saisie().DateDernierLever = Date(2001, 2, 3);
  SurLaFenetreModale([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Création d'un nouveau lever");
    EXPECT_EQ(Enfant<QDateEdit>(d, "DateEdit")->date(), QDate(2001, 2, 3));
    Enfant<QDateEdit>(d, "DateEdit")->setDate(QDate(2005, 4, 3));
    Clic(d, "OKBtn");
  });
  TLever* nouveau = app::CreeNouveauLever(nullptr, liste);
  ASSERT_NE(nouveau, nullptr);
  EXPECT_EQ(liste.Count(), 1);
  EXPECT_EQ(nouveau->LaDate, Date(2005, 4, 3));
  EXPECT_EQ(app::Saisie().DateDernierLever, Date(2005, 4, 3));
  // Cancel creates nothing.
  SurLaFenetreModale([](QDialog& d) {
    EXPECT_EQ(Enfant<QDateEdit>(d, "DateEdit")->date(), QDate(2005, 4, 3));
    Clic(d, "AnnulerBtn");
  });
  EXPECT_EQ(app::CreeNouveauLever(nullptr, liste), nullptr);
  EXPECT_EQ(liste.Count(), 1);
  // A correction leaves the proposal.
  SurLaFenetreModale([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Rectification d'un lever");
    EXPECT_EQ(Enfant<QDateEdit>(d, "DateEdit")->date(), QDate(2005, 4, 3));
    Enfant<QDateEdit>(d, "DateEdit")->setDate(QDate(2007, 9, 9));
    Clic(d, "OKBtn");
  });
  const TLever* corrige = nouveau;
  std::unique_ptr<TLever> remplacant;
  ASSERT_TRUE(app::RectifieLever(nullptr, corrige, remplacant));
  EXPECT_EQ(corrige, nouveau);
  EXPECT_EQ(remplacant, nullptr);
  EXPECT_EQ(nouveau->LaDate, Date(2007, 9, 9));
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_EQ(app::Saisie().DateDernierLever, Date(2005, 4, 3));
}

TEST(LeversDlg, RectifierLeLeverParDefautEnCreeUnNouveau) {
  essai::Saisie s;
  const TLever* defaut = survey::LeverParDefaut();
  const TLever avant = *defaut;
  SurLaFenetreModale([](QDialog& d) {
    EXPECT_TRUE(Enfant<QCheckBox>(d, "NonRenseigneChk")->isChecked());
    EXPECT_FALSE(Enfant<QDateEdit>(d, "DateEdit")->isEnabled());
    Enfant<QCheckBox>(d, "NonRenseigneChk")->click();
    Enfant<QDateEdit>(d, "DateEdit")->setDate(QDate(2012, 5, 6));
    Enfant<QLineEdit>(d, "CoeffLEdit")->setText("1.02");
    Enfant<QPlainTextEdit>(d, "CommentairesEdit")->setPlainText("corrigé");
    Clic(d, "OKBtn");
  });
  const TLever* lever = defaut;
  std::unique_ptr<TLever> nouveau;
  ASSERT_TRUE(app::RectifieLever(nullptr, lever, nouveau));
  ASSERT_NE(nouveau, nullptr);
  EXPECT_EQ(lever, nouveau.get());
  EXPECT_EQ(lever->LaDate, Date(2012, 5, 6));
  EXPECT_DOUBLE_EQ(lever->EtalonL, 1.02);
  EXPECT_EQ(lever->Commentaires, "corrigé");
  EXPECT_EQ(survey::LeverParDefaut(), defaut);
  EXPECT_EQ(defaut->LaDate, avant.LaDate);
  EXPECT_EQ(defaut->EtalonL, avant.EtalonL);
  EXPECT_EQ(defaut->Commentaires, avant.Commentaires);
  EXPECT_EQ(defaut->UniteDeclin, avant.UniteDeclin);
  EXPECT_TRUE(survey::LeversIdentiques(*defaut, avant));
}

TEST(LeversDlg, CoefficientDesLongueursNulRefuse) {
  essai::Saisie s;
  TLever t;
  t.EtalonL = 1.5;
  for (const char* texte : {"0", "", "0.000", "."}) {
    SurLaFenetreModale([texte](QDialog& d) {
      auto* coeff = Enfant<QLineEdit>(d, "CoeffLEdit");
      coeff->setText(QString::fromLatin1(texte));
      Clic(d, "OKBtn");
      EXPECT_TRUE(d.isVisible()) << texte << ": the dialog stays open";
      EXPECT_EQ(d.focusWidget(), coeff) << texte;
      Clic(d, "AnnulerBtn");
    });
    const TLever* l = &t;
    std::unique_ptr<TLever> nouveau;
    EXPECT_FALSE(app::RectifieLever(nullptr, l, nouveau)) << texte;
    EXPECT_EQ(t.EtalonL, 1.5) << texte;
  }
  ASSERT_EQ(s.dialogues.Messages().size(), 4u);
  EXPECT_EQ(s.dialogues.Messages()[0], "Le coefficient des longueurs doit être un nombre différent de zéro.");
  EXPECT_FALSE(survey::Document().DocumentModifie);
}

TEST(LeversDlg, Visualisation) {
  essai::Saisie s;
  TLever t = LeverComplet(nullptr, nullptr, nullptr);
  SurLaFenetreModale([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Visualisation d'un lever");
    for (const char* nom : {"AnnulerBtn", "DeclinBtn", "CoeffsDecliBtn", "NouvelInstrLBtn", "NouvelInstrAzBtn",
                            "NouvelInstrPBtn", "AjouteOpeBtn", "RetireOpeBtn", "NouvelOpeBtn"})
      EXPECT_TRUE(Enfant<QWidget>(d, nom)->isHidden()) << nom;
    EXPECT_TRUE(Enfant<QWidget>(d, "OperateursBox")->isHidden());
    for (const char* nom : {"CadreSaisieDate", "PentesGroup", "AzimutsGroup", "LongueursGroup", "PrecisionBox",
                            "PasDeDeclinChk", "DeclinGroup", "CommentairesEdit"})
      EXPECT_FALSE(Enfant<QWidget>(d, nom)->isEnabled()) << nom;
    Clic(d, "OKBtn");
  });
  app::VisualiseLever(nullptr, t);
}

TEST(LeversDlg, Operateurs) {
  essai::Saisie s;
  survey::TOperateur* dupont = s.Operateur("DUPONT");
  survey::TOperateur* blanc = s.Operateur("   ");
  survey::TOperateur* abel = s.Operateur("Abel");
  TLever t;
  t.Operateurs = {dupont};
  TLeversDlg d(nullptr, UsageLever::Rectification);
  d.Init(t);
  auto* choix = Enfant<QComboBox>(d, "OperateursBox");
  auto* liste = Enfant<QListWidget>(d, "ListeOpe");
  auto* ajoute = Enfant<QPushButton>(d, "AjouteOpeBtn");
  // Sorted, without the blank name, the first selected.
  ASSERT_EQ(choix->count(), 2);
  EXPECT_EQ(choix->itemText(0), "Abel");
  EXPECT_EQ(choix->currentIndex(), 0);
  EXPECT_TRUE(ajoute->isEnabled());
  choix->setCurrentIndex(1);
  EXPECT_FALSE(ajoute->isEnabled()) << "DUPONT is already in the trip's list";
  choix->setCurrentIndex(0);
  Clic(d, "AjouteOpeBtn");
  EXPECT_FALSE(ajoute->isEnabled());
  // "+" with a name that exists: the same operator, added again.
  s.dialogues.QueuePrompt(std::string(" Dupont "));
  Clic(d, "NouvelOpeBtn");
  EXPECT_EQ(s.operateurs.Count(), 3);
  ASSERT_EQ(liste->count(), 3);
  // "+" with a new name: created, in the document and the choice.
  s.dialogues.QueuePrompt(std::string("  Martin "));
  Clic(d, "NouvelOpeBtn");
  ASSERT_EQ(s.operateurs.Count(), 4);
  EXPECT_EQ(s.operateurs.Last()->DesignOpe, "Martin");
  EXPECT_EQ(choix->findText("Martin"), 2);
  // Blank or cancelled: nothing.
  s.dialogues.QueuePrompt(std::string("   "));
  Clic(d, "NouvelOpeBtn");
  s.dialogues.QueuePrompt(std::nullopt);
  Clic(d, "NouvelOpeBtn");
  EXPECT_EQ(s.operateurs.Count(), 4);
  ASSERT_EQ(liste->count(), 4);
  const auto& log = s.dialogues.Log();
  EXPECT_EQ(log.back().caption, "Nouvel opérateur");
  EXPECT_EQ(log.back().text, "Indiquez son nom :");
  // "--->" removes the selected line and selects the one before.
  liste->setCurrentRow(1);
  Clic(d, "RetireOpeBtn");
  EXPECT_EQ(liste->count(), 3);
  EXPECT_EQ(liste->currentRow(), 0);
  TLever u;
  d.Transfere(u);
  ASSERT_EQ(u.Operateurs.size(), 3u);
  EXPECT_EQ(u.Operateurs[0], dupont);
  EXPECT_EQ(u.Operateurs[1], dupont);
  EXPECT_EQ(u.Operateurs[2], s.operateurs.Last());
  (void)blanc;
  (void)abel;
}

TEST(CadreSaisieOpe, DifferencesAvecLeLever) {
  essai::Saisie s;
  s.Operateur("Zoé");
  survey::TOperateur* vide = s.Operateur("");
  survey::TOperateur* abel = s.Operateur("Abel");
  app::TCadreSaisieOpe cadre;
  cadre.Initialise();
  cadre.FixeDesignPersonne("Observateurs");
  EXPECT_EQ(Enfant<QLabel>(cadre, "DesignPersonne")->text(), "Observateurs :");
  auto* choix = Enfant<QComboBox>(cadre, "OperateursBox");
  ASSERT_EQ(choix->count(), 3) << "every operator";
  EXPECT_EQ(choix->itemText(0), "");
  cadre.InitRectif({abel});
  // The empty line is not added.
  choix->setCurrentIndex(0);
  Clic(cadre, "AjouteOpeBtn");
  auto* liste = Enfant<QListWidget>(cadre, "ListeOpe");
  EXPECT_EQ(liste->count(), 1);
  // The typed name as it stands.
  s.dialogues.QueuePrompt(std::string(" Paul"));
  Clic(cadre, "NouvelOpeBtn");
  EXPECT_EQ(s.operateurs.Last()->DesignOpe, " Paul");
  survey::TListeDOperateurs l{vide, vide};
  cadre.TransfereListe(l);
  ASSERT_EQ(l.size(), 2u);
  EXPECT_EQ(l[0], abel);
  EXPECT_EQ(l[1], s.operateurs.Last());
}

}  // namespace

namespace {

TEST(CadreSaisieDate, DateSaisieEtNonRenseignee) {
  essai::Saisie s;
  app::TCadreSaisieDate cadre;
  EXPECT_EQ(cadre.title(), "Date ");
  auto* date = Enfant<QDateEdit>(cadre, "DateEdit");
  auto* nr = Enfant<QCheckBox>(cadre, "NonRenseigneChk");
  EXPECT_EQ(nr->text(), "non renseignée");
  int changements = 0;
  QObject::connect(&cadre, &app::TCadreSaisieDate::DateChange, [&] { ++changements; });
  cadre.FixeDateSaisie(foundation::DateNonRenseignee);
  EXPECT_TRUE(nr->isChecked());
  EXPECT_FALSE(date->isEnabled());
  EXPECT_FALSE(cadre.DateRenseignee());
  EXPECT_EQ(cadre.DateSaisie(), foundation::DateNonRenseignee);
  cadre.FixeDateSaisie(Date(1987, 11, 30));
  EXPECT_FALSE(nr->isChecked());
  EXPECT_TRUE(date->isEnabled());
  EXPECT_EQ(date->date(), QDate(1987, 11, 30));
  EXPECT_EQ(cadre.DateSaisie(), Date(1987, 11, 30));
  nr->click();
  EXPECT_FALSE(date->isEnabled());
  EXPECT_EQ(cadre.DateSaisie(), foundation::DateNonRenseignee);
  EXPECT_EQ(cadre.DateDuSelecteur(), Date(1987, 11, 30));
  date->setDate(QDate(1990, 1, 2));
  EXPECT_EQ(changements, 4);
}

}  // namespace

namespace {

// The value typed in the declination is the trip's unless "Calcul
// automatique" is shown and left checked: it is stored as typed, with
// DecliAuto off, it survives the record written and read back, and the
// network computation does not replace it.  A cave whose first shot is being
// entered has no position of its own: the box stays hidden until the shot
// dialog publishes the surface point the shot starts at.
TEST(LeversDlg, DeclinaisonTapeeGardeeSaufCalculAutomatique) {
  struct Cas {
    const char* nom;
    bool projection;     // the network is in Lambert-93
    bool visee;          // the cave has its first shot
    bool surfaceSaisie;  // the shot dialog published E1
    int annee;           // of the trip's date
    bool reglageAuto;    // the automatic-declination setting
    const char* tape;    // typed in the declination edit
    bool pasDeDecli;     // "Pas de déclinaison"
    bool caseVisible;    // "Calcul automatique" shown
    bool decliAuto;      // stored
  };
  const Cas cas[] = {
      {"premiere visee, entree inconnue", true, false, false, 2010, true, "2.72", false, false, false},
      {"sans systeme de coordonnees", false, true, false, 2010, true, "2.72", false, false, false},
      {"date hors du modele", true, true, false, 2041, true, "2.72", false, false, false},
      {"case montree, decochee", true, true, false, 2010, false, "2.72", false, true, false},
      {"case montree, cochee, valeur tapee", true, true, false, 2010, true, "2.72", false, true, false},
      {"case montree, cochee", true, true, false, 2010, true, nullptr, false, true, true},
      {"premiere visee, point de surface publie", true, false, true, 2010, true, nullptr, false, true, true},
      {"pas de declinaison", true, true, false, 2010, true, nullptr, true, true, false},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    ReseauLambert r(k.visee);
    foundation::GardeNiveauFichier niveau;
    foundation::NiveauFichier().VersionFichierLue = foundation::ContexteNiveauFichier::VersionFichierCourante;
    if (!k.projection) r.n.R().Projection.clear();
    if (k.surfaceSaisie) survey::Calcul().PtSurfaceSaisie = r.n.Surface("E1");
    app::Config().CalculDecliAuto = k.reglageAuto;
    app::Saisie().DateDernierLever = Date(k.annee, 7, 15);
    double montree = 0, lat = 0, lon = 0;
    SurLaFenetreModale([&](QDialog& q) {
      auto& d = static_cast<TLeversDlg&>(q);
      lat = d.LatA * 180 / Pi;
      lon = d.LongA * 180 / Pi;
      auto* calculAuto = Enfant<QCheckBox>(d, "CalculAutoChk");
      EXPECT_EQ(calculAuto->isVisible(), k.caseVisible);
      EXPECT_EQ(Enfant<QPushButton>(d, "CoeffsDecliBtn")->isVisible(), !k.caseVisible);
      if (k.tape) {
        TapeDeclinaison(d, QString::fromLatin1(k.tape));
        EXPECT_FALSE(calculAuto->isChecked()) << "a typed value is no longer computed";
      }
      if (k.pasDeDecli) Enfant<QCheckBox>(d, "PasDeDeclinChk")->click();
      montree = d.DeclinTmp;
      Clic(d, "OKBtn");
    });
    TLever* l = app::CreeNouveauLever(nullptr, r.c->Levers);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->DecliAuto, k.decliAuto);
    if (k.tape) {
      EXPECT_DOUBLE_EQ(l->Declinaison, 2.72);
    } else {
      EXPECT_GT(std::fabs(l->Declinaison), 0.1) << "computed at the entrance";
      EXPECT_DOUBLE_EQ(l->Declinaison, montree);
    }
    // Saved and read back as stored.
    foundation::TFluxMemoire f;
    ASSERT_TRUE(l->EcritObjet(f));
    foundation::TFluxMemoire lecture(f.Octets());
    TLever relu;
    ASSERT_TRUE(relu.LitObjet(lecture));
    EXPECT_EQ(relu.DecliAuto, l->DecliAuto);
    EXPECT_EQ(relu.Declinaison, l->Declinaison);
    // The network computation recomputes only a declination left automatic.
    survey::Calcul().PtSurfaceSaisie = nullptr;
    if (!k.visee) r.PremiereVisee(l);
    const double avant = l->Declinaison;
    if (k.decliAuto) l->Declinaison = 99;
    r.n.R().CalculeReseau();
    if (k.decliAuto) {
      double annee = 0;
      ASSERT_TRUE(survey::AnneeDecimale(l->LaDate, annee));
      // The model at the entrance, 350 m up.
      EXPECT_NEAR(l->Declinaison, survey::CalculeDeclinaisonIGRF(annee, lat, lon, 350) * 180 / Pi, 1e-9);
      EXPECT_NEAR(l->Declinaison, montree, 1e-9) << "the dialog shows the value the computation keeps";
    } else {
      EXPECT_EQ(l->Declinaison, avant);
    }
  }
}

// A trip being corrected while "Calcul automatique" cannot be shown (no
// coordinate system) keeps its own choice when the user only confirms; a
// declination typed over it, or "Pas de déclinaison", is the user's.
TEST(LeversDlg, RectificationSansCaseGardeLeCalculAutomatique) {
  struct Cas {
    const char* nom;
    const char* tape;
    bool pasDeDecli;
    bool decliAuto;  // stored
  };
  const Cas cas[] = {
      {"confirme", nullptr, false, true},
      {"valeur tapee", "2.72", false, false},
      {"pas de declinaison", nullptr, true, false},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    ReseauLambert r;
    r.n.R().Projection.clear();
    TLever lever;
    lever.LaDate = Date(2010, 7, 15);
    lever.DecliAuto = true;
    lever.Declinaison = 1.25;
    TLeversDlg d(nullptr, UsageLever::Rectification);
    d.Init(lever);
    d.Affiche();
    EXPECT_TRUE(Enfant<QCheckBox>(d, "CalculAutoChk")->isHidden());
    if (k.tape) TapeDeclinaison(d, QString::fromLatin1(k.tape));
    if (k.pasDeDecli) Enfant<QCheckBox>(d, "PasDeDeclinChk")->click();
    d.Transfere(lever);
    EXPECT_EQ(lever.DecliAuto, k.decliAuto);
  }
}

// The notice behind "Calcul impossible..." says why: the coefficients are
// said missing only for a date outside the field model.
TEST(LeversDlg, MessageSelonCeQuiManque) {
  const std::string projection =
      "Le réseau n'a pas de système de coordonnées : la position de l'entrée, nécessaire au calcul automatique de "
      "la déclinaison, n'est pas connue.";
  const std::string entree =
      "La position de l'entrée de la cavité, nécessaire au calcul automatique de la déclinaison, n'est pas encore "
      "connue.";
  const std::string date =
      "La date du lever n'est pas renseignée : elle est nécessaire au calcul automatique de la déclinaison.";
  const std::string coefficients =
      "Les coefficients nécessaires au calcul automatique de la déclinaison pour cette date ne sont pas disponibles.";
  struct Cas {
    bool projection, visee;
    int annee;  // 0: no date
    std::string attendu;
  };
  const Cas cas[] = {
      {false, true, 2010, projection},
      {true, false, 2010, entree},
      {true, true, 2041, coefficients},
      {true, false, 2041, entree + "\n" + coefficients},
      {true, true, 0, date},
      {false, true, 1850, projection + "\n" + coefficients},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.attendu);
    ReseauLambert r(k.visee);
    if (!k.projection) r.n.R().Projection.clear();
    app::Saisie().DateDernierLever = k.annee ? Date(k.annee, 7, 15) : foundation::DateNonRenseignee;
    TLeversDlg d;
    d.Affiche();
    ASSERT_FALSE(Enfant<QPushButton>(d, "CoeffsDecliBtn")->isHidden());
    std::string lu;
    SurLaFenetreModale([&lu](QDialog& m) {
      EXPECT_EQ(m.windowTitle(), "Calcul automatique de la déclinaison");
      lu = Enfant<QLabel>(m, "RaisonsLbl")->text().toStdString();
      Clic(m, "OKBtn");
    });
    Clic(d, "CoeffsDecliBtn");
    EXPECT_EQ(lu, k.attendu);
  }
}

// Sets the C library's and Qt's locale for the life of the object.
class GardeLangue {
 public:
  explicit GardeLangue(const char* nom) : c_(std::setlocale(LC_ALL, nullptr)) {
    std::setlocale(LC_ALL, nom);  // may be missing on the machine: Qt's still changes
    QLocale::setDefault(QLocale(QString::fromLatin1(nom).section(QLatin1Char('.'), 0, 0)));
  }
  ~GardeLangue() {
    std::setlocale(LC_ALL, c_.c_str());
    QLocale::setDefault(qt_);
  }
  GardeLangue(const GardeLangue&) = delete;
  GardeLangue& operator=(const GardeLangue&) = delete;

 private:
  std::string c_;
  QLocale qt_;
};

// A new trip proposes today (Qt's clock as the oracle) in every language,
// shown whole as dd/mm/yyyy with the focus elsewhere, so that no key meant
// for another field lands in the date; dates whose day and month could be
// swapped go through the frame unchanged.
TEST(LeversDlg, DateProposeeAujourdhuiQuelleQueSoitLaLangue) {
  for (const char* langue : {"C", "fr_FR.UTF-8", "en_US.UTF-8", "de_DE.UTF-8"}) {
    SCOPED_TRACE(langue);
    GardeLangue l(langue);
    essai::Saisie s;
    // Read again when the day changed meanwhile.
    QDate aujourdhui, apres;
    QDate propose;
    QString texte;
    for (int tour = 0; tour < 3 && (tour == 0 || aujourdhui != apres); ++tour) {
      aujourdhui = QDate::currentDate();
      app::Saisie() = app::ContexteSaisie();
      SurLaFenetreModale([&](QDialog& d) {
        auto* date = Enfant<QDateEdit>(d, "DateEdit");
        propose = date->date();
        texte = date->text();
        EXPECT_NE(d.focusWidget(), date) << "the proposed date is not under the cursor";
        EXPECT_EQ(d.focusWidget(), Enfant<QWidget>(d, "OperateursBox"));
        Clic(d, "AnnulerBtn");
      });
      survey::TLeversList liste;
      EXPECT_EQ(app::CreeNouveauLever(nullptr, liste), nullptr);
      apres = QDate::currentDate();
    }
    EXPECT_EQ(propose, aujourdhui);
    EXPECT_EQ(texte, aujourdhui.toString(QStringLiteral("dd/MM/yyyy")));
    app::TCadreSaisieDate cadre;
    for (const QDate& q : {QDate(2026, 12, 1), QDate(2026, 1, 12), QDate(2026, 12, 11), QDate(2026, 11, 12)}) {
      cadre.FixeDateSaisie(Date(q.year(), q.month(), q.day()));
      EXPECT_EQ(Enfant<QDateEdit>(cadre, "DateEdit")->date(), q);
      EXPECT_EQ(cadre.DateSaisie(), Date(q.year(), q.month(), q.day()));
      EXPECT_EQ(Enfant<QDateEdit>(cadre, "DateEdit")->text().toStdString(),
                foundation::DateEnTexte(cadre.DateSaisie()));
    }
  }
}

}  // namespace
