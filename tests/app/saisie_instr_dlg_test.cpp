// The instrument sheet on its own and through the trip dialog's "+"
// buttons, and what choosing an instrument does to the trip dialog.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "app/saisie/levers_dlg.h"
#include "app/saisie/saisie_instr_dlg.h"
#include "survey/lever.h"
#include "tests/app/saisie_essai.h"

namespace {

using app::TLeversDlg;
using app::TSaisieInstrDlg;
using essai::Clic;
using essai::Enfant;
using essai::SurLaFenetreModale;
using survey::TInstrument;
using survey::TTypeInst;

QStringList Lignes(QComboBox* b) {
  QStringList l;
  for (int i = 0; i < b->count(); ++i) l << b->itemText(i);
  return l;
}

TEST(SaisieInstrDlg, GenresEtUnitesSelonLaMesure) {
  essai::Saisie s;
  struct Case {
    TTypeInst type;
    QStringList genres;
    QStringList unites;
    const char* mesure;
  };
  const Case cases[] = {
      {TTypeInst::tiDist, {"Ruban", "Lasermètre", "Topofil"}, {}, "Distance"},
      {TTypeInst::tiAzim, {"Boussole", "Boussole électronique"}, {"Degrés", "Grades"}, "Azimut"},
      {TTypeInst::tiPente, {"Clisimètre", "Lasermètre", "Profondimètre"}, {"Degrés", "Grades", "Pourcent"}, "Pente"},
  };
  for (const Case& c : cases) {
    TInstrument i;
    i.TypeInstr = c.type;
    TSaisieInstrDlg d(nullptr, i);
    EXPECT_EQ(d.windowTitle(), "Fiche d'instrument");
    EXPECT_EQ(Enfant<QLabel>(d, "TypeMesureLbl")->text(), QString::fromUtf8(c.mesure));
    EXPECT_EQ(Lignes(Enfant<QComboBox>(d, "TypeInstrBox")), c.genres) << c.mesure;
    EXPECT_EQ(Enfant<QComboBox>(d, "TypeInstrBox")->currentIndex(), 0);
    EXPECT_EQ(Lignes(Enfant<QComboBox>(d, "UnitesBox")), c.unites) << c.mesure;
    EXPECT_EQ(Enfant<QComboBox>(d, "UnitesBox")->isHidden(), c.unites.isEmpty()) << c.mesure;
    if (c.type == TTypeInst::tiDist) EXPECT_EQ(Enfant<QLineEdit>(d, "CoeffEtalonEdit")->text(), "1.00");
  }
  // A slope instrument: a depth gauge has neither units nor zero; the zero
  // shows only for degrees and grades; angle units relabel the calibration.
  TInstrument p;
  p.TypeInstr = TTypeInst::tiPente;
  TSaisieInstrDlg d(nullptr, p);
  auto* genre = Enfant<QComboBox>(d, "TypeInstrBox");
  auto* unites = Enfant<QComboBox>(d, "UnitesBox");
  auto* zero = Enfant<QComboBox>(d, "ZeroPentesBox");
  EXPECT_FALSE(zero->isHidden());
  EXPECT_EQ(Enfant<QLabel>(d, "CoeffEtalonLbl")->text(), "Correction angulaire :");
  EXPECT_EQ(Enfant<QLabel>(d, "CoeffEtalonUniteLbl")->text(), "°");
  unites->setCurrentIndex(1);
  EXPECT_EQ(Enfant<QLabel>(d, "PrecisionUniteLbl")->text(), "gr");
  unites->setCurrentIndex(2);
  EXPECT_TRUE(zero->isHidden());
  EXPECT_EQ(Enfant<QLabel>(d, "CoeffEtalonUniteLbl")->text(), "");
  genre->setCurrentIndex(2);
  EXPECT_TRUE(unites->isHidden());
  EXPECT_TRUE(zero->isHidden());
  EXPECT_EQ(Enfant<QLabel>(d, "CoeffEtalonLbl")->text(), "Coefficient d'étalonnage :");
  EXPECT_EQ(Enfant<QLabel>(d, "CoeffEtalonUniteLbl")->text(), "mm/m");
  EXPECT_EQ(Enfant<QLabel>(d, "PrecisionUniteLbl")->text(), "m");
}

TEST(SaisieInstrDlg, RectificationGardeLesDecimalesEtValeursRefusees) {
  essai::Saisie s;
  TInstrument i;
  i.TypeInstr = TTypeInst::tiDist;
  i.DesignInstr = "Topo A";
  i.Marque = "Vulcain";
  i.TiGenre = "Topofil";
  i.CoeffEtalon = 1.0254;
  i.CoeffLecture = 1000;
  i.PrecisionRel = 2.5;
  TSaisieInstrDlg d(nullptr, i, true);
  EXPECT_EQ(Enfant<QLineEdit>(d, "CoeffEtalonEdit")->text(), "1.0254");
  EXPECT_EQ(Enfant<QLineEdit>(d, "CoeffLectureEdit")->text(), "1000");
  EXPECT_FALSE(Enfant<QLineEdit>(d, "CoeffLectureEdit")->isHidden());
  EXPECT_EQ(Enfant<QLineEdit>(d, "PrecisionEdit")->text(), "2.5000");
  EXPECT_EQ(Enfant<QLabel>(d, "PrecisionUniteLbl")->text(), "mm/m");
  // A reading coefficient of 0 is refused; the instrument is unchanged.
  Enfant<QLineEdit>(d, "CoeffLectureEdit")->setText("0");
  Enfant<QLineEdit>(d, "DesignationEdit")->setText("");
  Clic(d, "OKBtn");
  EXPECT_EQ(d.result(), 0);
  ASSERT_EQ(s.dialogues.Messages().size(), 1u);
  EXPECT_EQ(s.dialogues.Messages()[0], "Le coefficient de lecture d'un topofil doit être un nombre différent de zéro.");
  EXPECT_EQ(d.focusWidget(), Enfant<QLineEdit>(d, "CoeffLectureEdit"));
  EXPECT_EQ(i.CoeffLecture, 1000);
  EXPECT_EQ(i.DesignInstr, "Topo A");
  EXPECT_FALSE(survey::Document().DocumentModifie);
  // So is a calibration of 0.
  Enfant<QLineEdit>(d, "CoeffLectureEdit")->setText("500");
  Enfant<QLineEdit>(d, "CoeffEtalonEdit")->setText("");
  Clic(d, "OKBtn");
  EXPECT_EQ(d.result(), 0);
  EXPECT_EQ(s.dialogues.Messages().size(), 2u);
  EXPECT_EQ(i.CoeffEtalon, 1.0254);
  // Confirmed: the coefficient keeps its decimals; an empty name becomes
  // kind + " " + make.
  Enfant<QLineEdit>(d, "CoeffEtalonEdit")->setText("1.0254");
  Clic(d, "OKBtn");
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(i.CoeffEtalon, 1.0254);
  EXPECT_EQ(i.CoeffLecture, 500);
  EXPECT_EQ(i.PrecisionRel, 2.5);
  EXPECT_EQ(i.DesignInstr, "Topofil Vulcain");
  EXPECT_TRUE(survey::Document().DocumentModifie);
}

TEST(LeversDlg, ChoixDesInstruments) {
  essai::Saisie s;
  TInstrument* topofil = s.Instrument("Vulcain", TTypeInst::tiDist, "Topofil");
  topofil->CoeffEtalon = 1;
  topofil->CoeffLecture = 1000;
  TInstrument* ruban = s.Instrument("Décamètre", TTypeInst::tiDist, "Ruban");
  ruban->CoeffEtalon = 1.02;
  TInstrument* profondimetre = s.Instrument("Profondimètre", TTypeInst::tiPente, "Profondimètre");
  TInstrument* clino = s.Instrument("Clino", TTypeInst::tiPente, "Clisimètre");
  clino->Unites = survey::TTypeUnite::tuGrades;
  clino->RefPente = 1;
  TInstrument* boussole = s.Instrument("Boussole", TTypeInst::tiAzim, "Boussole");
  boussole->Unites = survey::TTypeUnite::tuGrades;
  s.Instrument("Indéfini", TTypeInst::tiIndet);
  TLeversDlg d;
  auto* longueurs = Enfant<QComboBox>(d, "InstrLBox");
  auto* pentes = Enfant<QComboBox>(d, "InstrPBox");
  auto* azimuts = Enfant<QComboBox>(d, "InstrAzBox");
  EXPECT_EQ(Lignes(longueurs), QStringList({"Décamètre", "Indéfini", "Vulcain"}));
  EXPECT_EQ(Lignes(pentes), QStringList({"Clino", "Indéfini", "Profondimètre"}));
  EXPECT_EQ(Lignes(azimuts), QStringList({"Boussole", "Indéfini"}));
  EXPECT_EQ(longueurs->currentIndex(), -1);
  essai::Choisit(longueurs, "Vulcain");
  EXPECT_EQ(Enfant<QLineEdit>(d, "CoeffLEdit")->text(), "0.001");
  EXPECT_TRUE(Enfant<QCheckBox>(d, "TopofilChk")->isChecked());
  essai::Choisit(longueurs, QString::fromUtf8("Décamètre"));
  EXPECT_EQ(Enfant<QLineEdit>(d, "CoeffLEdit")->text(), "1.020");
  EXPECT_FALSE(Enfant<QCheckBox>(d, "TopofilChk")->isChecked());
  essai::Choisit(azimuts, "Boussole");
  EXPECT_EQ(Enfant<QComboBox>(d, "UniteAzBox")->currentIndex(), 1);
  auto* unites = Enfant<QComboBox>(d, "UnitePBox");
  auto* origine = Enfant<QComboBox>(d, "OriginePBox");
  essai::Choisit(pentes, "Clino");
  EXPECT_EQ(unites->currentIndex(), 1);
  EXPECT_EQ(origine->currentIndex(), 2);
  EXPECT_FALSE(origine->isHidden());
  unites->setCurrentIndex(2);
  EXPECT_EQ(origine->currentIndex(), 1) << "percent measures from the horizontal";
  EXPECT_TRUE(origine->isHidden());
  essai::Choisit(pentes, QString::fromUtf8("Profondimètre"));
  EXPECT_TRUE(unites->isHidden());
  EXPECT_TRUE(origine->isHidden());
  survey::TLever t;
  d.Transfere(t);
  EXPECT_EQ(t.InstrumentL, ruban);
  EXPECT_EQ(t.InstrumentP, profondimetre);
  EXPECT_EQ(t.InstrumentAz, boussole);
  EXPECT_DOUBLE_EQ(t.EtalonL, 1.02);
}

TEST(LeversDlg, NouvelInstrumentParLeBoutonPlus) {
  essai::Saisie s;
  TLeversDlg d;
  // Cancel: the document's list is unchanged.
  SurLaFenetreModale([](QDialog& f) {
    EXPECT_EQ(f.windowTitle(), "Fiche d'instrument");
    Clic(f, "AnnulerBtn");
  });
  Clic(d, "NouvelInstrLBtn");
  EXPECT_EQ(s.instruments.Count(), 0);
  EXPECT_EQ(Enfant<QComboBox>(d, "InstrLBox")->count(), 0);
  // OK: appended, chosen and applied.
  SurLaFenetreModale([](QDialog& f) {
    essai::Choisit(Enfant<QComboBox>(f, "TypeInstrBox"), "Topofil");
    Enfant<QLineEdit>(f, "MarqueEdit")->setText("Vulcain");
    Enfant<QLineEdit>(f, "CoeffLectureEdit")->setText("100");
    Clic(f, "OKBtn");
  });
  Clic(d, "NouvelInstrLBtn");
  ASSERT_EQ(s.instruments.Count(), 1);
  const TInstrument* i = s.instruments.First();
  EXPECT_EQ(i->TypeInstr, TTypeInst::tiDist);
  EXPECT_EQ(i->DesignInstr, "Topofil Vulcain");
  EXPECT_EQ(Enfant<QComboBox>(d, "InstrLBox")->currentText(), "Topofil Vulcain");
  EXPECT_EQ(Enfant<QLineEdit>(d, "CoeffLEdit")->text(), "0.010");
  EXPECT_TRUE(Enfant<QCheckBox>(d, "TopofilChk")->isChecked());
  // A slope instrument in grades with its zero at the top.
  SurLaFenetreModale([](QDialog& f) {
    Enfant<QLineEdit>(f, "DesignationEdit")->setText("Clino 2");
    Enfant<QComboBox>(f, "UnitesBox")->setCurrentIndex(1);
    Enfant<QComboBox>(f, "ZeroPentesBox")->setCurrentIndex(0);
    Clic(f, "OKBtn");
  });
  Clic(d, "NouvelInstrPBtn");
  ASSERT_EQ(s.instruments.Count(), 2);
  EXPECT_EQ(s.instruments.Last()->RefPente, 1);
  EXPECT_EQ(Enfant<QComboBox>(d, "UnitePBox")->currentIndex(), 1);
  EXPECT_EQ(Enfant<QComboBox>(d, "OriginePBox")->currentIndex(), 2);
}

}  // namespace
