// Adjustments: the corrected path, scale and rotation in plan, height
// corrections, shared paths, the report lines and the 17-byte record.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "foundation/flux.h"
#include "survey/compens.h"
#include "survey/rapport_calcul.h"
#include "tests/survey/reseau_calcul.h"

using namespace survey;
using testsurvey::ReseauCalcul;

namespace {

constexpr double Pi = std::numbers::pi;

bool RapportContient(const std::string& ligne) {
  for (const std::string& l : ListeRapportCalcul())
    if (l == ligne) return true;
  return false;
}

// E1 at the origin, then stations 1 to 10 every 10 m due north.
TCavite* CheminNord(ReseauCalcul& n) {
  n.Surface("E1", 0, 0, 0);
  TCavite* c = n.Cavite("Grotte");
  std::string avant = "E1";
  for (int i = 1; i <= 10; ++i) {
    n.Visee(c, avant, std::to_string(i), 0, 0, 10);
    avant = std::to_string(i);
  }
  n.Regenere();
  return c;
}

TCompens* AjouteCompens(ReseauCalcul& n, TPointSpeleo* fin, TPointSpeleo* juste, uint8_t type) {
  auto a = std::make_unique<TCompens>();
  a->PtFin = fin;
  a->PtJuste = juste;
  a->typeCompens = type;
  return n.R().Compensations.Add(std::move(a));
}

}  // namespace

// The end point lies 0.5 m east of the exact point after 100 m northward: a
// scale close to 1 and a turn of about -0.5/100 rad.
TEST(Compensation, EchelleEtRotation) {
  ReseauCalcul n;
  TCavite* c = CheminNord(n);
  TPointSpeleo* j = n.Surface("J", -0.5, 100, 0);
  TCompens* a = AjouteCompens(n, n.Station(c, "10"), j, CompensPlani);
  {
    GardeRapportCalcul rapport;
    n.R().CalculeReseau();
  }
  EXPECT_NEAR(static_cast<double>(a->Valeur->CorrectAngle), std::atan2(-0.5, 100), 1e-12);
  EXPECT_NEAR(static_cast<double>(a->Valeur->CoeffLong), std::hypot(0.5, 100) / 100, 1e-12);
  EXPECT_TRUE(RapportContient("Correction d'azimut : -0.31831 grades"));
  EXPECT_TRUE(RapportContient("Correction de longueur : 0.01 mm/m"));
  EXPECT_FALSE(RapportContient("Correction d'altitude : 0.00 mm/m")) << "a plan adjustment";
  EXPECT_TRUE(RapportContient("------------------------------------  Valeurs des compensations -------------------------"));
  EXPECT_TRUE(RapportContient("Compensation planimétrique entre le point 10 et le point E1"));
  EXPECT_TRUE(RapportContient("Point topo associé : 10 - de la galerie : Galerie d'entrée"));
  EXPECT_TRUE(RapportContient("Ecart en X :    0.5 m"));
  EXPECT_TRUE(RapportContient("Ecart en distance :    0.5 m"));
  EXPECT_TRUE(RapportContient("Nombre de visées : 10"));
  EXPECT_TRUE(RapportContient("  X =         -0.5 m"));
  EXPECT_EQ(a->PtDebut, n.Station(c, "E1"));
  EXPECT_EQ(a->NbreViseesCompens, 10);
  EXPECT_NEAR(a->EcartX, 0.5, 1e-12);
  // Every station of the path is turned and scaled onto the exact point.
  EXPECT_NEAR(n.Station(c, "10")->X, -0.5, 1e-9);
  EXPECT_NEAR(n.Station(c, "10")->Y, 100, 1e-9);
  EXPECT_NEAR(n.Station(c, "5")->X, -0.25, 1e-9);
  for (const TVisee* v : c->Visees) EXPECT_EQ(v->NumCompens, a->Valeur->IndexCompens);
  // The misclosure is kept for the loop inspection window.
  ASSERT_EQ(Calcul().ListeEcartsCompens.Count(), 1);
  EXPECT_NEAR(Calcul().ListeEcartsCompens.First()->EcartX, 0.5, 1e-12);
  EXPECT_EQ(Calcul().ListeEcartsCompens.First()->PtJuste, j);
  // Without the report only the misclosure lines are written.
  n.R().CalculeReseau();
  EXPECT_TRUE(RapportContient("Ecart en X :    0.5 m"));
  EXPECT_FALSE(RapportContient("Correction d'azimut : -0.31831 grades"));
  EXPECT_NEAR(n.Station(c, "10")->X, -0.5, 1e-9);
}

TEST(Compensation, AltimetriqueSeulement) {
  ReseauCalcul n;
  TCavite* c = CheminNord(n);
  TPointSpeleo* j = n.Surface("J", 3, 101, 2);
  TCompens* a = AjouteCompens(n, n.Station(c, "10"), j, CompensAlti);
  {
    GardeRapportCalcul rapport;
    n.R().CalculeReseau();
  }
  EXPECT_NEAR(n.Station(c, "10")->X, 0, 1e-12);
  EXPECT_NEAR(n.Station(c, "10")->Y, 100, 1e-12);
  EXPECT_NEAR(n.Station(c, "10")->Z, 2, 1e-12);
  EXPECT_NEAR(n.Station(c, "5")->Z, 1, 1e-12) << "spread along the horizontal length";
  EXPECT_TRUE(RapportContient("Correction d'altitude : 20.00 mm/m"));
  EXPECT_TRUE(RapportContient("Compensation altimétrique entre le point 10 et le point E1"));
  EXPECT_TRUE(RapportContient("Ecart en Z :   -2.0 m"));
  EXPECT_FALSE(RapportContient("Ecart en X :   -3.0 m"));
  EXPECT_NEAR(a->EcartZ, -2, 1e-12);
}

TEST(Compensation, PlaniAltiArriveSurLePointExact) {
  ReseauCalcul n;
  TCavite* c = CheminNord(n);
  TPointSpeleo* j = n.Surface("J", 4, 97, -3);
  AjouteCompens(n, n.Station(c, "10"), j, CompensPlaniAlti);
  n.R().CalculeReseau();
  EXPECT_NEAR(n.Station(c, "10")->X, 4, 1e-9);
  EXPECT_NEAR(n.Station(c, "10")->Y, 97, 1e-9);
  EXPECT_NEAR(n.Station(c, "10")->Z, -3, 1e-9) << "also when the plan is scaled";
}

// Two adjustments whose paths share shots: the first in the list corrects the
// shared shots, the second only its own part from where they begin.
TEST(Compensation, CheminsPartages) {
  ReseauCalcul n;
  n.Surface("E1", 0, 0, 0);
  TCavite* c = n.Cavite("Grotte");
  n.Visee(c, "E1", "1", 0, 0, 10);
  n.Visee(c, "1", "2", 0, 0, 10);
  n.Visee(c, "2", "3", 0, 0, 10);
  n.Visee(c, "3", "4a", 90, 0, 10);
  n.Visee(c, "3", "4b", 270, 0, 10);
  n.Regenere();
  TPointSpeleo* ja = n.Surface("JA", 10, 31, 1);
  TPointSpeleo* jb = n.Surface("JB", -10, 29, -1);
  TCompens* a = AjouteCompens(n, n.Station(c, "4a"), ja, CompensPlaniAlti);
  TCompens* b = AjouteCompens(n, n.Station(c, "4b"), jb, CompensPlaniAlti);
  n.R().CalculeReseau();
  EXPECT_EQ(a->NbreViseesCompens, 4);
  EXPECT_EQ(a->PtDebut, n.Station(c, "E1"));
  EXPECT_EQ(b->NbreViseesCompens, 1);
  EXPECT_EQ(b->PtDebut, n.Station(c, "3"));
  for (const TVisee* v : c->Visees) {
    const bool deB = v->PtCalc == n.Station(c, "4b");
    EXPECT_EQ(v->CoeffsCompens, deB ? b->Valeur.get() : a->Valeur.get()) << v->PtCalc->DesignPTopo;
  }
  for (TPointSpeleo* p : {n.Station(c, "4a"), n.Station(c, "4b")}) {
    const TPointSpeleo* j = p == n.Station(c, "4a") ? ja : jb;
    EXPECT_NEAR(p->X, j->X, 1e-9) << p->DesignPTopo;
    EXPECT_NEAR(p->Y, j->Y, 1e-9) << p->DesignPTopo;
    EXPECT_NEAR(p->Z, j->Z, 1e-9) << p->DesignPTopo;
  }
}

// An adjustment whose end lies on its start in plan changes nothing.
TEST(Compensation, DebutEtFinConfondus) {
  ReseauCalcul n;
  n.Surface("E1", 0, 0, 0);
  TCavite* c = n.Cavite("Puits");
  n.Visee(c, "E1", "1", 0, -90, 30);
  n.Regenere();
  TPointSpeleo* j = n.Surface("J", 1, 1, -31);
  AjouteCompens(n, n.Station(c, "1"), j, CompensPlaniAlti);
  n.R().CalculeReseau();
  EXPECT_EQ(n.Station(c, "1")->X, 0);
  EXPECT_EQ(n.Station(c, "1")->Y, 0);
  EXPECT_NEAR(n.Station(c, "1")->Z, -30, 1e-12);
}

TEST(Compensation, Enregistrement17Octets) {
  ReseauCalcul n;
  TCavite* c = CheminNord(n);
  TPointSpeleo* j = n.Surface("J", 1, 100, 0);
  TCompens* a = AjouteCompens(n, n.Station(c, "10"), j, CompensAlti);
  n.R().CalculeReseau();
  GardePointsReseau index;
  NumeroteTousPoints(n.R().Cavites);
  n.R().Cavites.Renumerote();
  foundation::TFluxMemoire f;
  ASSERT_TRUE(a->EcritObjet(f));
  ASSERT_EQ(f.Taille(), 17u);
  f.PlaceA(0);
  TCompens lu;
  ASSERT_TRUE(lu.LitObjet(f));
  EXPECT_EQ(lu.PtDebut, n.Station(c, "E1"));
  EXPECT_EQ(lu.PtFin, n.Station(c, "10"));
  EXPECT_EQ(lu.PtJuste, j);
  EXPECT_EQ(lu.typeCompens, CompensAlti);
  EXPECT_EQ(lu.TheCavite(), c);
  EXPECT_EQ(lu.IndCavite, 1);
  // Short records fail; indexes out of range give no point.
  const std::string octets = f.Octets();
  foundation::TFluxMemoire court(octets.substr(0, 16));
  TCompens tronque;
  EXPECT_FALSE(tronque.LitObjet(court));
  std::string hors = octets;
  hors[4] = '\x7f';  // end index far beyond the stations
  foundation::TFluxMemoire f2(hors);
  TCompens horsIndex;
  ASSERT_TRUE(horsIndex.LitObjet(f2));
  EXPECT_EQ(horsIndex.PtFin, nullptr);
  EXPECT_EQ(horsIndex.TheCavite(), nullptr);
}
