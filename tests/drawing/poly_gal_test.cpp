// Gallery outlines: the plan walk with its wall intersections and rounded
// corners, zero-length shots, dead ends, marked entrances, the elevation walk
// and the order in which an outline hands its points to a display line.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "drawing/poly_gal.h"
#include "foundation/arrondi.h"
#include "tests/drawing/outils_coupes.h"

namespace {

using namespace drawing;
using foundation::TPointTopo;
using testcoupes::Calcul;
using testcoupes::TCavite;
using testcoupes::TPointSpeleo;

constexpr double kPi = std::numbers::pi;

void AttendPoint(const TPointTopo& p, double x, double y, const std::string& quoi) {
  EXPECT_NEAR(p.X, x, 1e-9) << quoi;
  EXPECT_NEAR(p.Y, y, 1e-9) << quoi;
}

// The station's two wall points, at position i of the outline's walls.
void AttendMurs(const tPolyGal& g, size_t i, const TPointSpeleo* p, const std::string& quoi) {
  ASSERT_LT(i, g.BordGauche.size()) << quoi;
  ASSERT_LT(i, g.BordDroit.size()) << quoi;
  AttendPoint(g.BordGauche[i], p->XG, p->YG, quoi + " gauche");
  AttendPoint(g.BordDroit[i], p->XD, p->YD, quoi + " droite");
  EXPECT_EQ(g.BordGauche[i].Num, static_cast<uint32_t>(p->IndexPtCav)) << quoi;
  EXPECT_EQ(g.BordGauche[i].Z, p->ZH) << quoi;
  EXPECT_EQ(g.BordGauche[i].SlH, p->ZB) << quoi;
}

TEST(ContoursPlan, StraightGalleryGivesEachStationsWallPoints) {
  // Turns of less than one grade count as straight on.
  for (double virage : {0.0, 0.5, -0.5}) {
    Calcul k;
    TCavite* c = k.Cavite("Droite");
    for (const char* s : {"E1", "1", "2", "3"}) k.Dimensions(c, s, 1, 2, 3, 1);
    k.Visee(c, "E1", "1", 10, 0, 10);
    k.Visee(c, "1", "2", 10 + virage, 0, 10);
    k.Visee(c, "2", "3", 10, 0, 10);
    k.Calcule();
    TListPolyGal l;
    CalculeContoursPlani(*c, l);
    const std::string quoi = "virage " + std::to_string(virage);
    ASSERT_EQ(l.Count(), 1) << quoi;
    const tPolyGal& g = *l.UnePolyGal(0);
    ASSERT_EQ(g.BordGauche.size(), 4u) << quoi;
    ASSERT_EQ(g.BordDroit.size(), 4u) << quoi;
    int i = 0;
    for (const char* s : {"E1", "1", "2", "3"}) AttendMurs(g, static_cast<size_t>(i++), k(c, s), quoi + " " + s);
    EXPECT_TRUE(g.fermee) << quoi;
    EXPECT_FALSE(g.remplie) << quoi;
  }
}

TEST(ContoursPlan, RightAngleTurnsGetTheInnerIntersectionAndAnOuterArc) {
  struct Cas {
    const char* nom;
    double azimut;  // of the second shot; the first goes north
    bool droite;
  };
  const Cas cas[] = {{"à droite", 90, true}, {"à gauche", 270, false}};
  for (const Cas& t : cas) {
    Calcul k;
    TCavite* c = k.Cavite("Coude");
    for (const char* s : {"E1", "1", "2"}) k.Dimensions(c, s, 1, 1);
    k.Visee(c, "E1", "1", 0, 0, 10);
    k.Visee(c, "1", "2", t.azimut, 0, 10);
    k.Calcule();
    TListPolyGal l;
    CalculeContoursPlani(*c, l);
    ASSERT_EQ(l.Count(), 1) << t.nom;
    const tPolyGal& g = *l.UnePolyGal(0);
    // Entrance, corner, end on the inner side; entrance, the arc's start and
    // five points every π/10, end on the outer side.
    const std::vector<TPointTopo>& interieur = t.droite ? g.BordDroit : g.BordGauche;
    const std::vector<TPointTopo>& exterieur = t.droite ? g.BordGauche : g.BordDroit;
    ASSERT_EQ(interieur.size(), 3u) << t.nom;
    ASSERT_EQ(exterieur.size(), 8u) << t.nom;
    const double s = t.droite ? 1 : -1;
    // The inner walls x = ±1 and y = 9 meet at (±1, 9).
    AttendPoint(interieur[1], s, 9, std::string(t.nom) + " intersection");
    // The outer arc about station 1 (0, 10), radius 1, from the end of the
    // first shot's outer wall (∓1, 10) to the start of the second's (0, 11).
    AttendPoint(exterieur[1], -s, 10, std::string(t.nom) + " début de l'arrondi");
    for (int k2 = 1; k2 <= 5; ++k2) {
      const double a = (t.droite ? 1.5 * kPi : 0.5 * kPi) + s * k2 * kPi / 10;
      AttendPoint(exterieur[1 + static_cast<size_t>(k2)], std::sin(a), 10 + std::cos(a),
                  std::string(t.nom) + " arrondi " + std::to_string(k2));
    }
    AttendPoint(exterieur[6], 0, 11, std::string(t.nom) + " fin de l'arrondi");
  }
}

TEST(ContoursPlan, ZeroLengthShotGivesItsStationsWallPoints) {
  Calcul k;
  TCavite* c = k.Cavite("Nulle");
  for (const char* s : {"E1", "1", "1b", "2"}) k.Dimensions(c, s, 1, 1);
  k.Visee(c, "E1", "1", 0, 0, 10);
  k.Visee(c, "1", "1b", 0, 0, 0);
  k.Visee(c, "1b", "2", 90, 0, 10);
  k.Calcule();
  TListPolyGal l;
  CalculeContoursPlani(*c, l);
  ASSERT_EQ(l.Count(), 1);
  const tPolyGal& g = *l.UnePolyGal(0);
  ASSERT_EQ(g.BordGauche.size(), 4u);
  int i = 0;
  for (const char* s : {"E1", "1", "1b", "2"}) AttendMurs(g, static_cast<size_t>(i++), k(c, s), s);
}

TEST(ContoursPlan, BranchesStartOutlinesAndOnlyDeadEndsAreClosed) {
  // A gallery with a side branch at 1 and a loop closing back on 2.
  Calcul k;
  TCavite* c = k.Cavite("Branches");
  k.Visee(c, "E1", "1", 0, 0, 10);
  k.Visee(c, "1", "2", 0, 0, 10);
  k.Visee(c, "2", "3", 0, 0, 10);
  k.Visee(c, "1", "10", 90, 0, 10);
  k.Visee(c, "10", "11", 0, 0, 10);
  k.Visee(c, "11", "2", 270, 0, 10);
  k.Calcule();
  TListPolyGal l;
  CalculeContoursPlani(*c, l);
  ASSERT_GE(l.Count(), 2);
  for (const tPolyGal* g : l) {
    ASSERT_FALSE(g->BordGauche.empty());
    const TPointSpeleo* fin = c->LePoint(static_cast<int>(g->BordGauche.back().Num));
    ASSERT_NE(fin, nullptr);
    EXPECT_EQ(g->fermee, fin->NbRatTot == 0) << fin->DesignPTopo;
  }
  // Every shot was outlined once.
  for (const testcoupes::TVisee* v : c->Visees) EXPECT_TRUE(v->Marque) << v->PointStation->DesignPTopo;
}

TEST(ContoursPlan, EntranceWithOnlyMarkedShotsGetsNoOutline) {
  Calcul k;
  TCavite* c = k.Cavite("Marquée");
  k.Visee(c, "E1", "1", 0, 0, 10);
  k.Calcule();
  c->Visees.First()->Marque = true;
  TListPolyGal l;
  l.AjoutePolyPlani(c->LEntree(), nullptr);
  EXPECT_TRUE(l.Vide());
}

TEST(ContoursPlan, AnotherCavesShotsAtTheEntranceAreNotOutlined) {
  Calcul k;
  TCavite* a = k.Cavite("A");
  k.Visee(a, "E1", "1", 0, 0, 10);
  TCavite* b = k.Cavite("B");
  k.Visee(b, "E1", "20", 180, 0, 10);
  k.Calcule();
  TListPolyGal l;
  CalculeContoursPlani(*a, l);
  ASSERT_EQ(l.Count(), 1);
  EXPECT_EQ(l.UnePolyGal(0)->BordGauche.size(), 2u);
  EXPECT_GT(l.UnePolyGal(0)->BordGauche.back().Y, 9);
  EXPECT_TRUE(b->Visees.First()->Marque);
}

TEST(ContoursPlan, ElevationWalkKeepsToTheSection) {
  Calcul k;
  TCavite* c = k.Cavite("Coupe");
  k.Visee(c, "E1", "1", 0, 0, 10);
  k.Visee(c, "1", "2", 0, 0, 10);
  k.Calcule();
  for (bool dansCoupe : {false, true}) {
    for (testcoupes::TVisee* v : c->Visees) {
      v->Marque = false;
      v->EstDansCoupe = dansCoupe;
      v->SensCoupe = 1;
    }
    TListPolyGal l;
    EXPECT_EQ(l.AjoutePolyAlti(c->LEntree(), nullptr), dansCoupe);
    // No empty outline is left for a start that drew nothing.
    ASSERT_EQ(l.Count(), dansCoupe ? 1 : 0);
    if (dansCoupe) {
      EXPECT_EQ(l.UnePolyGal(0)->BordGauche.size(), 3u);
      EXPECT_TRUE(l.UnePolyGal(0)->fermee);
    }
  }
}

TEST(ContoursPlan, ThePlanComputationRebuildsTheOutlines) {
  Calcul k;
  TCavite* c = k.Cavite("Plan");
  k.Visee(c, "E1", "1", 0, 0, 10);
  k.Calcule();
  TAnnexeDessinCavite& a = testdessin::Annexe(c);
  a.CalculeDessinPlani();
  EXPECT_EQ(a.LeDessinPlani->ListePolyGal.Count(), 1);
  a.CalculeDessinPlani();
  EXPECT_EQ(a.LeDessinPlani->ListePolyGal.Count(), 1);
}

TEST(ContoursPlan, DisplayOrderOfAnOutline) {
  tPolyGal g;
  g.AjoutePointGauche(0, 0);
  g.AjoutePointGauche(1, 0);
  g.AjoutePointDroit(0, 1);
  g.AjoutePointDroit(1, 1);
  EXPECT_EQ(g.BordGauche[0].Z, -1000000);
  EXPECT_EQ(g.BordGauche[0].SlH, -1);
  struct Cas {
    bool fermee, remplie;
    std::vector<std::pair<double, double>> gauche;
  };
  const Cas cas[] = {
      {false, false, {{0, 0}, {1, 0}}},
      {true, false, {{0, 0}, {1, 0}, {1, 1}}},
      {false, true, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
      {true, true, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
  };
  for (const Cas& t : cas) {
    g.fermee = t.fermee;
    g.remplie = t.remplie;
    std::vector<std::pair<double, double>> gauche, droite;
    g.AffecteCoordG([&](double x, double y) { gauche.emplace_back(x, y); });
    g.AffecteCoordD([&](double x, double y) { droite.emplace_back(x, y); });
    EXPECT_EQ(gauche, t.gauche) << t.fermee << t.remplie;
    EXPECT_EQ(droite, (std::vector<std::pair<double, double>>{{0, 1}, {1, 1}}));
  }
}

TEST(ContoursPlan, ArcsKeepTheirLastPointWhateverTheRounding) {
  // Turns whose angle is not a whole number of steps: the last arc point is
  // always in the direction of the second shot's wall.
  for (double virage : {17.0, 37.3, 89.99, 100.0, 133.7, 163.0}) {
    Calcul k;
    TCavite* c = k.Cavite("Arcs");
    for (const char* s : {"E1", "1", "2"}) k.Dimensions(c, s, 1.5, 1.5);
    k.Visee(c, "E1", "1", 0, 0, 10);
    k.Visee(c, "1", "2", virage, 0, 10);
    k.Calcule();
    TListPolyGal l;
    CalculeContoursPlani(*c, l);
    ASSERT_EQ(l.Count(), 1);
    const std::vector<TPointTopo>& gauche = l.UnePolyGal(0)->BordGauche;
    const double f = virage * kPi / 180;
    const int n = std::max(1, foundation::Arrondi(f / (kPi / 10)));
    ASSERT_EQ(gauche.size(), 3u + static_cast<size_t>(n)) << virage;
    const TPointSpeleo* s1 = k(c, "1");
    const double b = foundation::NormaliseAngle(f - kPi / 2);
    AttendPoint(gauche[1 + static_cast<size_t>(n)], s1->X + 1.5 * std::sin(b), s1->Y + 1.5 * std::cos(b),
                "virage " + std::to_string(virage));
  }
}

}  // namespace
