// The element list: its record (with the older five-list form), pruning and
// recomputation after survey corrections with fills kept consistent, copies
// and transfers, pattern locks, and sizes that no fixed buffer bounds.
#include <gtest/gtest.h>

#include <cmath>

#include "drawing/liste_donnees_dessin.h"
#include "survey/suppressions.h"
#include "tests/drawing/outils_dessin.h"
#include "tests/drawing/outils_motifs.h"
#include "tests/support/dossier_temp.h"

namespace {

using namespace testdessin;
using foundation::TFluxMemoire;

std::string Fixture(const std::string& nom) {
  return testsupport::LitOctets(std::string(GRAVELUNE_SOURCE_DIR) + "/tests/drawing/fixtures/" + nom);
}

// A straight survey 1-2-3-4-5 along X, a shot per 10 m.
class ListeDessin : public ::testing::Test {
 protected:
  ListeDessin() {
    cave = reseau.Cavite("A");
    for (int i = 1; i <= 5; ++i) reseau.Station(cave, std::to_string(i), (i - 1) * 10.0, 0);
    for (int i = 1; i < 5; ++i) v[i - 1] = reseau.Visee(cave, std::to_string(i), std::to_string(i + 1));
    reseau.PrepareDocument();
    liste.LesViseesDessin = &cave->Visees;
  }

  // A line whose points sit 1 m north of the given survey abscissas.
  TObjetDonneesBasique* Ligne(std::initializer_list<double> xs) {
    auto e = std::make_unique<TObjetDonneesBasique>();
    for (double x : xs) e->AjoutePointDessin(false, x, 1);
    TObjetDonneesBasique* l = liste.AjouteDonneesDessin(std::move(e));
    l->ReferencePoints();
    return l;
  }
  TObjetDonneesRemplir* Rempli(std::initializer_list<TObjetDonneesBasique*> lignes) {
    auto r = std::make_unique<TObjetDonneesRemplir>();
    r->ListePoly = lignes;
    return static_cast<TObjetDonneesRemplir*>(liste.AjouteDonneesDessin(std::move(r)));
  }

  Contexte contexte;
  Reseau reseau;
  TCavite* cave = nullptr;
  TVisee* v[4] = {};
  TListeDonneesDessin liste;
};

TEST_F(ListeDessin, Level499ListHoldsFiveLists) {
  TFluxMemoire f(Fixture("liste_499.bin"));
  testmotifs::Niveau n(499);
  ASSERT_TRUE(liste.LitObjet(f));
  EXPECT_EQ(f.Restant(), 0u);
  ASSERT_EQ(liste.LesMultiPoints.Count(), 1);
  ASSERT_EQ(liste.LesRemplissages.Count(), 1);
  ASSERT_EQ(liste.LesTextes.Count(), 1);
  ASSERT_EQ(liste.LesSymboles.Count(), 1);
  const TObjetDonneesRemplir* r = liste.LesRemplissages.First();
  ASSERT_EQ(r->ListePoly.size(), 1u);
  EXPECT_EQ(r->ListePoly[0], liste.LesMultiPoints.First());
  EXPECT_EQ(r->MotifDessin, contexte.bibliotheque.UnTrait(2));
  const TObjetTexte* t = liste.LesTextes.First();
  EXPECT_EQ(t->UnTexte, "Salle");
  EXPECT_EQ(t->UneFonte(), contexte.bibliotheque.UneFonte(6));
  EXPECT_EQ(t->CoeffTexte, 7);
  EXPECT_EQ(liste.LesSymboles.First()->MotifDessin, contexte.bibliotheque.UnSymbole(3));
  liste.PourTousObjets([&](TObjetDonneesBasique& e) { EXPECT_EQ(e.ListeDonneesProprio, &liste); });
  // Its points are tied to the shots of the cave being read.
  EXPECT_EQ(liste.LesMultiPoints.First()->LePointDessin(0)->VisRefDessin, cave->LaVisee(1));
}

TEST_F(ListeDessin, PruningAfterShotsWereMarkedForDeletion) {
  // A point takes the shot with the nearest end, the first on a tie: 37 m
  // is on shot 3, 26 m on shot 2, below 10 m on shot 0.
  TObjetDonneesBasique* trois = Ligne({4, 15, 37});
  TObjetDonneesBasique* deux = Ligne({4, 37});
  TObjetDonneesBasique* autre = Ligne({4, 15});
  TObjetDonneesBasique* quatre = Ligne({5, 6});
  TObjetDonneesBasique* cinq = Ligne({37, 38});
  TObjetDonneesRemplir* perdu = Rempli({deux, cinq, autre});     // loses two lines
  TObjetDonneesRemplir* garde = Rempli({autre, quatre, deux});   // loses one
  v[3]->AEffacer = true;
  liste.EffaceObjetsSansPoints();
  EXPECT_EQ(trois->Points.Count(), 2);
  ASSERT_EQ(liste.LesMultiPoints.Count(), 3);
  EXPECT_EQ(liste.LesMultiPoints.IndexOf(trois), 0);
  ASSERT_EQ(liste.LesRemplissages.Count(), 1);
  EXPECT_EQ(liste.LesRemplissages.First(), garde);
  EXPECT_EQ(garde->ListePoly, (std::vector<TObjetDonneesBasique*>{autre, quatre}));
  (void)perdu;
}

TEST_F(ListeDessin, RecomputationDeletesWhatCannotBePlacedAndDetachesItFromFills) {
  TObjetDonneesBasique* a = Ligne({4, 15});
  Ligne({26, 37});
  TObjetDonneesBasique* c = Ligne({5, 6, 7});
  TObjetDonneesRemplir* r = Rempli({a, liste.LesMultiPoints.UnObjet(1), c});
  // Shot 2 and 3 were removed: the points tied to them are detached.
  survey::TSuppressions s;
  s.AjouteVisee(v[2]);
  s.AjouteVisee(v[3]);
  liste.Nettoie(s);
  liste.CalculeDessin();
  ASSERT_EQ(liste.LesMultiPoints.Count(), 2);
  EXPECT_EQ(liste.LesMultiPoints.UnObjet(0), a);
  EXPECT_EQ(liste.LesMultiPoints.UnObjet(1), c);
  EXPECT_EQ(r->ListePoly, (std::vector<TObjetDonneesBasique*>{a, c}));
  // The placed points follow the survey.
  reseau["2"]->Y = 10;
  Reseau::MajLongueurs(v[0]);
  Reseau::MajLongueurs(v[1]);
  liste.CalculeDessin();
  EXPECT_GT(a->LePointDessin(0)->Yhab, 1);
}

TEST_F(ListeDessin, LabelOnARemovedStationShowsErrUntilPruned) {
  auto t = std::make_unique<TObjetTexte>();
  t->TypeInfo = 3;
  t->PointDeRef = reseau["3"];
  t->AjoutePointDessin(false, 21, 1);
  t->AjoutePointDessin(false, 22, 1);
  auto* texte = static_cast<TObjetTexte*>(liste.AjouteDonneesDessin(std::move(t)));
  texte->ReferencePoints();
  texte->CalculePoints();
  EXPECT_EQ(texte->UnTexte, "3");
  survey::TSuppressions s;
  s.AjoutePoint(reseau["3"]);
  liste.Nettoie(s);
  EXPECT_EQ(texte->PointDeRef, nullptr);
  texte->CalculePoints();
  EXPECT_EQ(texte->UnTexte, "Err");
  liste.CalculeDessin();
  EXPECT_TRUE(liste.LesTextes.Vide());
}

TEST_F(ListeDessin, CopiesBelongToTheirListAndFillsBoundTheCopiedLines) {
  TObjetDonneesBasique* a = Ligne({4, 15});
  a->EstCercle = true;
  TObjetDonneesBasique* b = Ligne({24, 33});
  Rempli({a, b});
  auto t = std::make_unique<TObjetTexte>();
  t->UnTexte = "x";
  t->Alignement = 2;
  t->CoeffTexte = 3;
  t->AjoutePointDessin(false, 1, 1);
  t->AjoutePointDessin(false, 2, 1);
  liste.AjouteDonneesDessin(std::move(t))->ReferencePoints();
  auto s = std::make_unique<TObjetDonneesSymbole>();
  s->AjoutePointDessin(false, 1, 1);
  s->AjoutePointDessin(false, 2, 1);
  s->TexteSymb = std::make_unique<TObjetTexte>();
  s->TexteSymb->UnTexte = "S";
  liste.AjouteDonneesDessin(std::move(s))->ReferencePoints();

  TListeDonneesDessin copie;
  copie.LesViseesDessin = &cave->Visees;
  {
    GardeValeur<bool> meme(Dessin().CopieMemeCavite, true);
    liste.CreeCopieDessin(copie);
  }
  ASSERT_EQ(copie.NombreElements(), 5);
  copie.PourTousObjets([&](TObjetDonneesBasique& e) { EXPECT_EQ(e.ListeDonneesProprio, &copie); });
  const TObjetDonneesRemplir* r = copie.LesRemplissages.First();
  EXPECT_EQ(r->ListePoly, (std::vector<TObjetDonneesBasique*>{copie.LesMultiPoints.UnObjet(0),
                                                              copie.LesMultiPoints.UnObjet(1)}));
  EXPECT_TRUE(copie.LesMultiPoints.First()->EstCercle);
  EXPECT_EQ(a->EquivTransfert, copie.LesMultiPoints.First());
  EXPECT_EQ(copie.LesMultiPoints.First()->LePointDessin(0)->VisRefDessin, v[0]);
  const TObjetTexte* tc = copie.LesTextes.First();
  EXPECT_TRUE(tc->EstAncien);
  EXPECT_EQ(tc->Alignement, 2);
  EXPECT_EQ(tc->CoeffTexte, 3);
  ASSERT_TRUE(copie.LesSymboles.First()->TexteSymb);
  EXPECT_EQ(copie.LesSymboles.First()->TexteSymb->UnTexte, "S");
  // A copied text can choose its shots again: it knows its list.
  EXPECT_EQ(copie.LesTextes.First()->CalculePoints(), 2);
}

TEST_F(ListeDessin, TransferMovesEverythingAndKeepsFillsOnTheirLines) {
  TObjetDonneesBasique* a = Ligne({4, 15});
  TObjetDonneesBasique* b = Ligne({24, 33});
  TObjetDonneesRemplir* r = Rempli({a, b});
  liste.AjouteDonneesDessin(std::make_unique<TObjetTexte>());
  TListeDonneesDessin destination;
  destination.AjouteDonneesDessin(std::make_unique<TObjetDonneesBasique>());
  liste.Transfere(destination);
  EXPECT_EQ(liste.NombreElements(), 0);
  ASSERT_EQ(destination.LesMultiPoints.Count(), 3);
  EXPECT_EQ(destination.LesMultiPoints.UnObjet(1), a);
  EXPECT_EQ(destination.LesRemplissages.First(), r);
  EXPECT_EQ(r->ListeDonneesProprio, &destination);
  EXPECT_EQ(r->ListePoly, (std::vector<TObjetDonneesBasique*>{a, b}));
  // The line-removal routine takes a line out of the fills.
  EXPECT_TRUE(destination.SupprimeLigne(a));
  EXPECT_EQ(r->ListePoly, (std::vector<TObjetDonneesBasique*>{b}));
  destination.SupprimeLigne(b);
  destination.NettoieObjetsRemplis();
  EXPECT_TRUE(destination.LesRemplissages.Vide());
}

TEST_F(ListeDessin, NoFixedLimitOnPoints) {
  // A line of 100,001 points is written and read whole.
  auto e = std::make_unique<TObjetDonneesBasique>();
  for (int i = 0; i < 100001; ++i) {
    TPointDessin* p = e->AjoutePointDessin(false, i * 0.0003, 1);
    p->VisRefDessin = v[i % 4];
    p->LHab = i;
  }
  liste.AjouteDonneesDessin(std::move(e));
  TFluxMemoire f;
  ASSERT_TRUE(liste.EcritObjet(f));
  f.PlaceA(0);
  TListeDonneesDessin lue;
  ASSERT_TRUE(lue.LitObjet(f));
  ASSERT_EQ(lue.LesMultiPoints.First()->Points.Count(), 100001);
  EXPECT_EQ(lue.LesMultiPoints.First()->LePointDessin(100000)->LHab, 100000);
  EXPECT_EQ(lue.LesMultiPoints.First()->LePointDessin(100000)->VisRefDessin, v[0]);
  // A Bézier path flattens into as many points as it needs.
  TObjetDonneesBasique courbe;
  for (int i = 0; i < 3 * 700 + 1; ++i)
    courbe.AjoutePointDessin(false, i, (i % 3 == 0) ? 0 : ((i / 3) % 2 ? 40 : -40));
  courbe.TransfoEnBezierGravelune();
  EXPECT_GT(courbe.Points.Count(), 1001);
  for (const TPointDessin* p : courbe.Points) EXPECT_TRUE(p->PointOk);
}

TEST_F(ListeDessin, PatternLocksFollowTheDrawingKind) {
  TObjetTrait* style = static_cast<TObjetTrait*>(contexte.bibliotheque.UnTrait(3));
  TFontObjetType* fonte = contexte.bibliotheque.UneFonte(6);
  Ligne({1, 2})->MotifDessin = style;
  auto t = std::make_unique<TObjetTexte>();
  t->MotifDessin = fonte;
  liste.AjouteDonneesDessin(std::move(t));
  style->SetVerrou(false);
  EXPECT_TRUE(liste.CalculVerrousMotifdeBase(style));
  EXPECT_TRUE(style->VerrouPlan);
  EXPECT_FALSE(style->VerrouAlti);
  style->SetVerrou(false);
  liste.TypeDeDessin = foundation::TTypeDeDessin::tddAltiDev;
  EXPECT_TRUE(liste.CalculVerrousMotifdeBase(style));
  EXPECT_FALSE(style->VerrouPlan);
  EXPECT_TRUE(style->VerrouAlti);
  fonte->SetVerrou(false);
  EXPECT_TRUE(liste.CalculVerrousMotifdeBase(fonte));
  EXPECT_TRUE(fonte->VerrouPlan && fonte->VerrouAlti);
  EXPECT_FALSE(liste.CalculVerrousMotifdeBase(contexte.bibliotheque.UnTrait(4)));
  liste.FusionneMotifsdeBase(contexte.bibliotheque.UnTrait(4), style);
  EXPECT_EQ(liste.LesMultiPoints.First()->MotifDessin, contexte.bibliotheque.UnTrait(4));
}

TEST_F(ListeDessin, CalibrationCarriesTheDrawing) {
  TObjetDonneesBasique* l = Ligne({0, 10});
  l->LePointDessin(0)->Xhab = 0;
  l->LePointDessin(0)->Yhab = 0;
  l->LePointDessin(1)->Xhab = 10;
  l->LePointDessin(1)->Yhab = 0;
  liste.PointsDessinCalage = {foundation::PtTopoXY(0, 0), foundation::PtTopoXY(10, 0)};
  liste.PointsTerrainCalage = {foundation::PtTopoXY(100, 100), foundation::PtTopoXY(100, 120)};
  liste.TransfoDessin();
  EXPECT_NEAR(l->LePointDessin(1)->Xhab, 100, 1e-9);
  EXPECT_NEAR(l->LePointDessin(1)->Yhab, 120, 1e-9);
  // Coincident calibration points leave it as it is.
  liste.PointsDessinCalage = {foundation::PtTopoXY(0, 0), foundation::PtTopoXY(0, 0)};
  liste.TransfoDessin();
  EXPECT_NEAR(l->LePointDessin(1)->Yhab, 120, 1e-9);
}

}  // namespace
