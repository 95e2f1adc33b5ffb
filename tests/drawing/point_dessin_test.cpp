// Drawing points: placement from their shot and back, the choice of a
// reference shot (scan and grid alike), the section editors' choice, cloning
// and the point record.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "drawing/point_dessin.h"
#include "drawing/visees_dessin.h"
#include "tests/drawing/outils_dessin.h"
#include "tests/drawing/outils_motifs.h"
#include "tests/support/dossier_temp.h"

namespace {

using namespace testdessin;
using foundation::TFluxMemoire;
using foundation::TTypeDeDessin;

constexpr double kPi = std::numbers::pi;

std::string Fixture(const std::string& nom) {
  return testsupport::LitOctets(std::string(GRAVELUNE_SOURCE_DIR) + "/tests/drawing/fixtures/" + nom);
}

class PointDessin : public ::testing::Test {
 protected:
  Contexte contexte;
  Reseau reseau;
  TCavite* cave = reseau.Cavite("A");
};

TEST_F(PointDessin, PlacementFromItsShotWithDisplacementAndExtent) {
  reseau.Station(cave, "S", 0, 0, 12);
  reseau.Station(cave, "T", 0, 10);
  TVisee* v = reseau.Visee(cave, "S", "T");
  TPointDessin p;
  p.VisRefDessin = v;
  p.LHab = 5;
  p.AngleHab = kPi / 2;
  ASSERT_TRUE(p.CalculeHabillage());
  EXPECT_NEAR(p.Xhab, 5, 1e-12);
  EXPECT_NEAR(p.Yhab, 0, 1e-12);
  EXPECT_NEAR(p.GisementHab, kPi / 2, 1e-12);
  EXPECT_EQ(p.Zpt, 12);

  FixeEtendueDessin(0, 1, 0, 1);
  {
    GardeValeur<double> dx(Dessin().DecalageDessinX, 2.0), dy(Dessin().DecalageDessinY, 3.0);
    ASSERT_TRUE(p.CalculeHabillage());
  }
  EXPECT_NEAR(p.Xhab, 7, 1e-12);
  EXPECT_NEAR(p.Yhab, 3, 1e-12);
  EXPECT_NEAR(Dessin().XMaxDessin, 7, 1e-12);
  EXPECT_NEAR(Dessin().YMaxDessin, 3, 1e-12);
  EXPECT_EQ(Dessin().XMinDessin, 0);

  // Relative placement ignores the displacement and the extent.
  TPointDessin ref;
  ref.Xhab = 100;
  ref.Yhab = 200;
  ref.Zpt = 7;
  FixeEtendueDessin(0, 1, 0, 1);
  GardeValeur<bool> relatif(Dessin().CalculRelatif, true);
  GardeValeur<TPointDessin*> pr(Dessin().PointRelatifRef, &ref);
  GardeValeur<double> coeff(Dessin().CoeffRelatif, 2.0);
  GardeValeur<double> dx(Dessin().DecalageDessinX, 2.0);
  p.VisRefDessin = nullptr;
  ASSERT_TRUE(p.CalculeHabillage());
  EXPECT_NEAR(p.Xhab, 110, 1e-12);
  EXPECT_NEAR(p.Yhab, 200, 1e-9);
  EXPECT_EQ(p.Zpt, 7);
  EXPECT_EQ(Dessin().XMaxDessin, 1);
}

TEST_F(PointDessin, DetachedPointIsNotPlaced) {
  TPointDessin p;
  p.Xhab = 3;
  EXPECT_FALSE(p.CalculeHabillage());
  EXPECT_FALSE(p.PointOk);
  EXPECT_EQ(p.Xhab, 3);
}

TEST_F(PointDessin, StoringIsTheInverseOfPlacingInBothPlanes) {
  reseau.Station(cave, "S", 3, -2, 100, 40);
  reseau.Station(cave, "T", 11, 5, 90, 52);
  TVisee* v = reseau.Visee(cave, "S", "T");
  std::mt19937 alea(7);
  std::uniform_real_distribution<double> u(-50, 50);
  for (TTypeDeDessin type : {TTypeDeDessin::tddPlani, TTypeDeDessin::tddAltiDev}) {
    foundation::GardeTypeDessin garde(type);
    for (int i = 0; i < 50; ++i) {
      TPointDessin p;
      p.VisRefDessin = v;
      p.Xhab = u(alea);
      p.Yhab = u(alea);
      const double x = p.Xhab, y = p.Yhab;
      p.CalculePositionVisee();
      EXPECT_GE(p.AngleHab, 0);
      EXPECT_LT(p.AngleHab, 2 * kPi);
      ASSERT_TRUE(p.CalculeHabillage());
      EXPECT_NEAR(p.Xhab, x, 1e-9) << static_cast<int>(type);
      EXPECT_NEAR(p.Yhab, y, 1e-9) << static_cast<int>(type);
    }
  }
  // In an elevation the station's Slh and Z are the plane.
  foundation::GardeTypeDessin alti(TTypeDeDessin::tddAltiOr);
  TPointDessin p;
  p.VisRefDessin = v;
  p.LHab = 1;
  p.AngleHab = 0;
  ASSERT_TRUE(p.CalculeHabillage());
  const double g = std::atan2(12.0, -10.0);
  EXPECT_NEAR(p.Xhab, 40 + std::sin(g), 1e-12);
  EXPECT_NEAR(p.Yhab, 100 + std::cos(g), 1e-12);
}

// --- Reference shot --------------------------------------------------------------------------------

struct ShotDef {
  double x1, y1, x2, y2;
  bool accrochable = true;
};

TEST_F(PointDessin, ReferenceShotChoice) {
  struct Case {
    const char* nom;
    std::vector<ShotDef> visees;
    double x, y;
    int attendue;  // position of the shot chosen, -1 none
    bool toutes = true;
  };
  const Case cases[] = {
      {"nearest end wins", {{0, 0, 10, 0}, {20, 0, 30, 0}}, 12, 1, 0},
      {"a tie goes to the first", {{0, 0, 10, 0}, {10, 0, 20, 0}}, 10, 3, 0},
      {"a point by a start takes that shot", {{0, 0, 10, 0}, {10, 0, 20, 0}}, 10.05, 0, 1},
      {"the last start within 0.1 m wins", {{0, 0, 1, 1}, {0.02, 0, 5, 5}, {30, 30, 40, 40}}, 0.01, 0, 1},
      {"a later strictly nearer end beats a start", {{0, 0, 5, 0}, {3, 3, 0.05, 0.01}}, 0.05, 0, 1},
      {"short shots are skipped", {{0, 0, 10, 0}, {5, 5, 5, 5.05}}, 5, 5.02, 0},
      {"a shot 0.1 m long in both lengths is skipped", {{0, 0, 10, 0}, {5, 5, 5, 5.1}}, 5, 5.05, 0},
      {"unsnappable shots are skipped", {{0, 0, 10, 0}, {20, 0, 30, 0, false}}, 21, 0, 0, false},
      {"every shot is snappable when the list says so", {{0, 0, 10, 0}, {20, 0, 30, 0, false}}, 21, 0, 1, true},
      {"no shot qualifies", {{5, 5, 5, 5}}, 0, 0, -1},
  };
  for (const Case& c : cases) {
    Reseau r;
    TCavite* cv = r.Cavite("C");
    std::vector<TVisee*> visees;
    for (size_t i = 0; i < c.visees.size(); ++i) {
      const ShotDef& d = c.visees[i];
      r.Station(cv, "a" + std::to_string(i), d.x1, d.y1);
      r.Station(cv, "b" + std::to_string(i), d.x2, d.y2);
      TVisee* v = r.Visee(cv, "a" + std::to_string(i), "b" + std::to_string(i));
      v->Accrochable = d.accrochable;
      visees.push_back(v);
    }
    cv->Visees.AccrocheToutesVisees = c.toutes;
    TPointDessin p;
    p.Xhab = c.x;
    p.Yhab = c.y;
    p.ChercheViseeRef(&cv->Visees);
    EXPECT_EQ(p.VisRefDessin, c.attendue < 0 ? nullptr : visees[static_cast<size_t>(c.attendue)]) << c.nom;
    if (p.VisRefDessin) {
      // Stored relative to the chosen shot: placing it again gives it back.
      const double x = p.Xhab, y = p.Yhab;
      ASSERT_TRUE(p.CalculeHabillage());
      EXPECT_NEAR(p.Xhab, x, 1e-9) << c.nom;
      EXPECT_NEAR(p.Yhab, y, 1e-9) << c.nom;
    }
  }
}

// The grid gives the scan's answer, ties, start radius and far points
// included, in plan and in elevation.
TEST_F(PointDessin, GridOfShotEndsAgreesWithTheScan) {
  std::mt19937 alea(42);
  std::uniform_real_distribution<double> u(0, 200), petit(-0.3, 0.3);
  // A surveyed chain with side branches, repeated stations and a cluster.
  std::vector<TPointSpeleo*> stations;
  for (int i = 0; i < 400; ++i) {
    const double x = i < 300 ? u(alea) : 100 + petit(alea), y = i < 300 ? u(alea) : 100 + petit(alea);
    stations.push_back(reseau.Station(cave, "s" + std::to_string(i), x, y, 0, x * 0.5 - y));
  }
  std::uniform_int_distribution<int> choix(0, 399);
  for (int i = 0; i < 700; ++i) {
    const int a = i < 399 ? i : choix(alea), b = i < 399 ? i + 1 : choix(alea);
    TVisee* v = reseau.Visee(cave, "s" + std::to_string(a), "s" + std::to_string(b));
    v->Accrochable = i % 7 != 0;
  }
  for (bool toutes : {true, false}) {
    cave->Visees.AccrocheToutesVisees = toutes;
    for (TTypeDeDessin type : {TTypeDeDessin::tddPlani, TTypeDeDessin::tddAltiDev}) {
      foundation::GardeTypeDessin garde(type);
      const bool alti = type != TTypeDeDessin::tddPlani;
      TIndexVisees index(&cave->Visees, alti);
      std::vector<std::pair<double, double>> requetes;
      for (int i = 0; i < 300; ++i) requetes.emplace_back(u(alea) * 1.2 - 20, u(alea) * 1.2 - 20);
      for (int i = 0; i < 200; ++i) {
        double x, y;
        PositionPlan(*stations[static_cast<size_t>(choix(alea))], alti, x, y);
        requetes.emplace_back(x + (i % 2 ? 0 : petit(alea) / 5), y);
      }
      requetes.emplace_back(1e6, -1e6);
      for (const auto& [x, y] : requetes)
        ASSERT_EQ(index.Cherche(x, y), ViseeDeReferenceParcours(&cave->Visees, x, y, alti))
            << x << " " << y << " alti " << alti << " toutes " << toutes;
    }
  }
}

// Four ends exactly 200 m from the point, in four different cells: whichever
// cell the grid reaches first, the first shot of the list wins.
TEST_F(PointDessin, GridTiesGoToTheFirstShot) {
  const ShotDef croix[4] = {{250, 0, 200, 0}, {0, 250, 0, 200}, {-250, 0, -200, 0}, {0, -250, 0, -200}};
  for (int premier = 0; premier < 4; ++premier) {
    Reseau r;
    TCavite* cv = r.Cavite("C");
    for (int i = 0; i < 40; ++i) {
      r.Station(cv, "f" + std::to_string(i), 500 + i, 500);
      r.Station(cv, "g" + std::to_string(i), 501 + i, 520);
      r.Visee(cv, "f" + std::to_string(i), "g" + std::to_string(i));
    }
    std::vector<TVisee*> visees;
    for (int k = 0; k < 4; ++k) {
      const ShotDef& d = croix[(premier + k) % 4];
      r.Station(cv, "a" + std::to_string(k), d.x1, d.y1);
      r.Station(cv, "b" + std::to_string(k), d.x2, d.y2);
      visees.push_back(r.Visee(cv, "a" + std::to_string(k), "b" + std::to_string(k)));
    }
    TIndexVisees index(&cv->Visees, false);
    EXPECT_EQ(index.Cherche(0, 0), visees[0]) << premier;
    EXPECT_EQ(ViseeDeReferenceParcours(&cv->Visees, 0, 0, false), visees[0]) << premier;
  }
}

TEST_F(PointDessin, SectionEditorsChoice) {
  reseau.Station(cave, "1", 0, 0);
  reseau.Station(cave, "2", 10, 0);
  reseau.Station(cave, "3", 10, 10);
  TVisee* a = reseau.Visee(cave, "1", "2");
  TVisee* b = reseau.Visee(cave, "2", "3");
  // On a segment: that shot.
  TPointDessin p;
  p.Xhab = 10;
  p.Yhab = 4;
  p.ChercheViseeCoupe(&cave->Visees);
  EXPECT_EQ(p.VisRefDessin, b);
  EXPECT_NEAR(p.LHab, 4, 1e-12);
  // On no segment and without shot: onto the nearest end.
  TPointDessin q;
  q.Xhab = -1;
  q.Yhab = -1;
  q.ChercheViseeCoupe(&cave->Visees);
  EXPECT_EQ(q.VisRefDessin, a);
  EXPECT_EQ(q.Xhab, 0);
  EXPECT_EQ(q.Yhab, 0);
  EXPECT_NEAR(q.LHab, 0, 1e-12);
  // On no segment with a shot: it keeps its shot and its stored distance.
  TPointDessin r;
  r.VisRefDessin = b;
  r.LHab = 3;
  r.Xhab = 30;
  r.Yhab = 30;
  r.ChercheViseeCoupe(&cave->Visees);
  EXPECT_EQ(r.VisRefDessin, b);
  EXPECT_EQ(r.LHab, 3);
}

TEST_F(PointDessin, Cloning) {
  reseau.Station(cave, "1", 0, 0);
  reseau.Station(cave, "2", 10, 0);
  TVisee* v = reseau.Visee(cave, "1", "2");
  TVisee equivalente;
  TPointDessin p;
  p.VisRefDessin = v;
  p.LHab = 2;
  p.AngleHab = 1;
  {
    GardeValeur<bool> meme(Dessin().CopieMemeCavite, true);
    auto c = p.ClonePointDessin();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->VisRefDessin, v);
    EXPECT_EQ(c->LHab, 2);
    EXPECT_EQ(c->AngleHab, 1);
  }
  // Another cave: the equivalent shot, no clone without one.
  EXPECT_EQ(p.ClonePointDessin(), nullptr);
  v->ViseeEquiv = &equivalente;
  v->SensDessinCoupeOr = -2;
  auto c = p.ClonePointDessin();
  ASSERT_TRUE(c);
  EXPECT_EQ(c->VisRefDessin, &equivalente);
  EXPECT_EQ(equivalente.SensDessinCoupeOr, -2);
  // Relative points have no shot and are always kept.
  TPointDessin relatif;
  GardeValeur<bool> rel(Dessin().CalculRelatif, true);
  EXPECT_TRUE(relatif.ClonePointDessin());
}

// --- Record -------------------------------------------------------------------------------------------

TEST_F(PointDessin, Level508PointResolvesInTheCaveBeingReadAndIsRewrittenWithItsCave) {
  reseau.Station(cave, "1", 0, 0);
  for (int i = 0; i < 6; ++i) {
    reseau.Station(cave, "s" + std::to_string(i), i + 1.0, 0);
    reseau.Visee(cave, i == 0 ? "1" : "s" + std::to_string(i - 1), "s" + std::to_string(i));
  }
  reseau.PrepareDocument();
  TFluxMemoire f(Fixture("point_508.bin"));
  TPointDessin p;
  {
    testmotifs::Niveau niveau(508);
    ASSERT_TRUE(p.LitObjet(f));
  }
  EXPECT_EQ(p.VisRefDessin, cave->LaVisee(5));
  EXPECT_EQ(p.LHab, 2.5);
  EXPECT_EQ(p.AngleHab, 1.25);
  TFluxMemoire e;
  ASSERT_TRUE(p.EcritObjet(e));
  EXPECT_EQ(testmotifs::Hex(e.Octets().substr(0, 8)), "01 00 00 00 05 00 00 00");
  EXPECT_EQ(e.Octets().substr(8), Fixture("point_508.bin").substr(4));
}

TEST_F(PointDessin, ReferenceOutsideTheDocumentReadsDetached) {
  reseau.Station(cave, "1", 0, 0);
  reseau.Station(cave, "2", 1, 0);
  reseau.Visee(cave, "1", "2");
  reseau.PrepareDocument();
  struct Case {
    const char* nom;
    int32_t cave, visee;
    bool attache;
  };
  const Case cases[] = {{"in the document", 1, 0, true}, {"shot past the cave's list", 1, 1, false},
                        {"cave past the document", 7, 0, false}, {"negative cave", -1, 0, false}};
  for (const Case& c : cases) {
    TFluxMemoire f;
    f.EcritInteger(c.cave);
    f.EcritInteger(c.visee);
    f.EcritReal(1);
    f.EcritReal(0);
    f.PlaceA(0);
    TPointDessin p;
    ASSERT_TRUE(p.LitObjet(f)) << c.nom;
    EXPECT_EQ(p.VisRefDessin != nullptr, c.attache) << c.nom;
  }
  // Elements of cross sections keep no shot.
  TFluxMemoire f;
  f.EcritInteger(1);
  f.EcritInteger(0);
  f.EcritReal(1);
  f.EcritReal(0);
  f.PlaceA(0);
  GardeValeur<bool> sans(Dessin().LectureSansVisees, true);
  TPointDessin p;
  ASSERT_TRUE(p.LitObjet(f));
  EXPECT_EQ(p.VisRefDessin, nullptr);
  // A short record fails.
  TFluxMemoire court(std::string(10, '\0'));
  EXPECT_FALSE(TPointDessin().LitObjet(court));
}

}  // namespace
