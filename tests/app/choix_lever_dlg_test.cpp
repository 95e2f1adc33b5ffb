// The trip choice and the shot search's remembered boxes, driven through
// their controls.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <vector>

#include "app/saisie/choix_lever_dlg.h"
#include "app/table/cherche_visee_dlg.h"
#include "app/table/recherche_visees.h"
#include "app/table/table_visees.h"
#include "app/table/textes_visee.h"
#include "survey/lever.h"
#include "tests/app/reseau_essai.h"
#include "tests/app/saisie_essai.h"

namespace {

using essai::Clic;
using essai::Date;
using essai::Enfant;
using essai::SurLaFenetreModale;
using survey::TLever;

TLever* Lever(survey::TLeversList& l, foundation::TDateTime date, survey::TOperateur* o = nullptr) {
  auto t = std::make_unique<TLever>();
  t->LaDate = date;
  if (o) t->Operateurs = {o, o};
  return l.Add(std::move(t));
}

TEST(ChoixLeverDlg, LignesParDateEtLeverCourant) {
  essai::Saisie s;
  survey::TOperateur* a = s.Operateur("Abel");
  survey::TLeversList liste;
  TLever* l2010 = Lever(liste, Date(2010, 3, 1), a);
  TLever* sans = Lever(liste, foundation::DateNonRenseignee);
  TLever* l1999 = Lever(liste, Date(1999, 12, 31));
  Lever(liste, Date(2010, 3, 1));
  survey::Document().LeverCourant = l1999;
  app::TChoixLeverDlg d;
  d.InitDlg(liste);
  EXPECT_EQ(d.windowTitle(), "Choix d'un lever");
  auto* choix = Enfant<QComboBox>(d, "LeverBox");
  ASSERT_EQ(choix->count(), 4);
  EXPECT_EQ(choix->itemText(0), "31/12/1999");
  EXPECT_EQ(choix->itemText(1), "01/03/2010");
  EXPECT_EQ(choix->itemText(3), "non renseignée");
  EXPECT_EQ(choix->currentIndex(), 0);
  EXPECT_EQ(d.LeverChoisi(), l1999);
  choix->setCurrentIndex(1);
  EXPECT_EQ(d.LeverChoisi(), l2010) << "equal dates keep the list order";
  EXPECT_EQ(Enfant<QLabel>(d, "OperateursLbl")->text(), "Abel/Abel");
  EXPECT_EQ(Enfant<QToolButton>(d, "VisuLeverBtn")->toolTip(), "Visualisation du lever sélectionné");
  // A current trip whose date no line shows: none selected.
  TLever autre;
  autre.LaDate = Date(2020, 1, 1);
  survey::Document().LeverCourant = &autre;
  d.InitDlg(liste);
  EXPECT_EQ(choix->currentIndex(), -1);
  EXPECT_EQ(d.LeverChoisi(), nullptr);
  // A current trip without date: the first line without date.
  survey::Document().LeverCourant = sans;
  d.InitDlg(liste);
  EXPECT_EQ(d.LeverChoisi(), sans);
  // No current trip: the first.
  survey::Document().LeverCourant = nullptr;
  d.InitDlg(liste);
  EXPECT_EQ(d.LeverChoisi(), l1999);
  // The view of the selected trip.
  SurLaFenetreModale([](QDialog& v) {
    EXPECT_EQ(v.windowTitle(), "Visualisation d'un lever");
    Clic(v, "OKBtn");
  });
  Clic(d, "VisuLeverBtn");
}

// Trips without date all show "non renseignée": the current trip is
// selected on its own line, not on the first line of its text.
TEST(ChoixLeverDlg, LeverCourantParmiLeversSansDate) {
  essai::Saisie s;
  survey::TLeversList liste;
  Lever(liste, foundation::DateNonRenseignee);
  TLever* second = Lever(liste, foundation::DateNonRenseignee);
  survey::Document().LeverCourant = second;
  app::TChoixLeverDlg d;
  d.InitDlg(liste);
  auto* choix = Enfant<QComboBox>(d, "LeverBox");
  ASSERT_EQ(choix->count(), 2);
  EXPECT_EQ(choix->itemText(0), "non renseignée");
  EXPECT_EQ(choix->itemText(1), "non renseignée");
  EXPECT_EQ(d.LeverChoisi(), second);
  survey::Document().LeverCourant = nullptr;
}

TEST(ChoixLeverDlg, ChoisitLever) {
  essai::Saisie s;
  survey::TLeversList liste;
  // An empty list goes straight to the creation.
  SurLaFenetreModale([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Création d'un nouveau lever");
    Enfant<QDateEdit>(d, "DateEdit")->setDate(QDate(2003, 6, 7));
    Clic(d, "OKBtn");
  });
  TLever* premier = app::ChoisitLever(nullptr, liste);
  ASSERT_NE(premier, nullptr);
  EXPECT_EQ(liste.Count(), 1);
  EXPECT_EQ(premier->LaDate, Date(2003, 6, 7));
  TLever* second = Lever(liste, Date(2001, 1, 1));
  // OK: the selected trip.
  SurLaFenetreModale([](QDialog& d) {
    Enfant<QComboBox>(d, "LeverBox")->setCurrentIndex(0);
    Clic(d, "OKBtn");
  });
  EXPECT_EQ(app::ChoisitLever(nullptr, liste), second);
  // Cancel: none.
  SurLaFenetreModale([](QDialog& d) { Clic(d, "AnnulerBtn"); });
  EXPECT_EQ(app::ChoisitLever(nullptr, liste), nullptr);
  // "Nouveau Lever": the creation, then the choice closes with the new trip.
  SurLaFenetreModale([](QDialog& d) {
    SurLaFenetreModale([](QDialog& c) {
      EXPECT_EQ(c.windowTitle(), "Création d'un nouveau lever");
      Enfant<QDateEdit>(c, "DateEdit")->setDate(QDate(2015, 8, 9));
      Clic(c, "OKBtn");
    });
    Clic(d, "NouveauLeverBtn");
    EXPECT_FALSE(d.isVisible());
  });
  TLever* nouveau = app::ChoisitLever(nullptr, liste);
  ASSERT_EQ(liste.Count(), 3);
  EXPECT_EQ(nouveau, liste.Last());
  EXPECT_EQ(nouveau->LaDate, Date(2015, 8, 9));
  // "Nouveau Lever" cancelled: the choice stays open.
  SurLaFenetreModale([](QDialog& d) {
    SurLaFenetreModale([](QDialog& c) { Clic(c, "AnnulerBtn"); });
    Clic(d, "NouveauLeverBtn");
    EXPECT_TRUE(d.isVisible());
    Clic(d, "AnnulerBtn");
  });
  EXPECT_EQ(app::ChoisitLever(nullptr, liste), nullptr);
  EXPECT_EQ(liste.Count(), 3);
}

TEST(ChercheViseeDlg, ExacteRepriseEtCasesRetenues) {
  essai::Saisie s;
  essai::TReseauEssai r;
  survey::TCavite* c = r.Cavite("Gouffre", "G A: 3 12 4 A12 5 120\nE1 - 3\n3 - 12\n3 - 4\n4 - A12\n4 - 5\n5 - 120");
  app::TTableVisees t([](survey::TValeurVisee&, app::TextesLigne&) {});
  t.Remplit(*c, false);
  auto rangee = [&](const std::string& debut, const std::string& fin) {
    return t.LigneDe(testsurvey::ReseauTest::ViseeEntre(*c, debut, fin));
  };
  app::TRechercheVisees recherche;
  {
    app::TChercheViseeDlg d(t, recherche);
    d.InitPoints();
    // At start-up: exact names and comments.
    EXPECT_TRUE(Enfant<QCheckBox>(d, "ExacteChk")->isChecked());
    EXPECT_TRUE(Enfant<QCheckBox>(d, "CommentairesChk")->isChecked());
    EXPECT_FALSE(Enfant<QCheckBox>(d, "GaleriesChk")->isChecked());
    Enfant<QLineEdit>(d, "NomEdit")->setText("12");
    Clic(d, "OKBtn");
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.ViseeCherchee, rangee("3", "12"));
    EXPECT_EQ(recherche.CherchePointSuivant(), rangee("3", "12")) << "only 12, found again from the top";
    Enfant<QCheckBox>(d, "ExacteChk")->setChecked(false);
    Enfant<QCheckBox>(d, "GaleriesChk")->setChecked(true);
  }
  app::TChercheViseeDlg d(t, recherche);
  d.InitPoints();
  EXPECT_FALSE(Enfant<QCheckBox>(d, "ExacteChk")->isChecked()) << "remembered between openings";
  EXPECT_TRUE(Enfant<QCheckBox>(d, "GaleriesChk")->isChecked());
  Enfant<QLineEdit>(d, "NomEdit")->setText("12");
  Clic(d, "OKBtn");
  std::vector<int> lignes{rangee("3", "12"), rangee("4", "A12"), rangee("5", "120")};
  std::sort(lignes.begin(), lignes.end());
  EXPECT_EQ(d.ViseeCherchee, lignes[0]);
  EXPECT_EQ(recherche.CherchePointSuivant(), lignes[1]);
  EXPECT_EQ(recherche.CherchePointSuivant(), lignes[2]);
  EXPECT_EQ(recherche.CherchePointSuivant(), lignes[0]) << "wraps to the top";
  // Nothing found: Cancel.
  app::TChercheViseeDlg rien(t, recherche);
  rien.InitPoints();
  Enfant<QLineEdit>(rien, "NomEdit")->setText("ZZ");
  Clic(rien, "OKBtn");
  EXPECT_EQ(rien.result(), QDialog::Rejected);
  EXPECT_EQ(rien.ViseeCherchee, -1);
}

}  // namespace
