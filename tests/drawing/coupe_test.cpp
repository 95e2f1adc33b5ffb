// Cross sections: the record's level gates, mirroring after an elevation
// reversal, the splay shots projected into the section, the envelope and
// cut line, the wall points of a new section and its profile points.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "drawing/donnees_coupe.h"
#include "foundation/arrondi.h"
#include "foundation/transformation_vue.h"
#include "tests/drawing/outils_coupes.h"
#include "tests/drawing/outils_motifs.h"
#include "tests/support/dossier_temp.h"

namespace {

using namespace drawing;
using foundation::TPointTopo;
using testcoupes::Calcul;
using testcoupes::TCavite;
using testcoupes::TPointSpeleo;
using testcoupes::TVisee;

constexpr double kPi = std::numbers::pi;

std::string Fixture(const std::string& nom) {
  return testsupport::LitOctets(std::string(GRAVELUNE_SOURCE_DIR) + "/tests/drawing/fixtures/" + nom);
}

TEST(CoupeTransversale, RecordGatesAtLevels206To210) {
  testdessin::Contexte contexte;
  testdessin::Reseau r;
  r.Station(r.Cavites.First(), "E1", 0, 0);
  TCavite* cave = r.Cavite("A");
  r.Station(cave, "1", 0, 10);
  r.Station(cave, "2", 10, 10);
  r.Visee(cave, "E1", "1");
  TVisee* v1 = r.Visee(cave, "1", "2");
  r.PrepareDocument();
  Dessin().CaviteDessinCourante = cave;
  struct Cas {
    const char* fichier;
    int32_t niveau;
    double lim[3];
    double des[2];
  };
  const Cas cas[] = {
      {"coupe_206.bin", 206, {0, 0, 0}, {0, 0}},
      {"coupe_207.bin", 207, {0.5, 0.25, 0.125}, {0, 0}},
      {"coupe_210.bin", 210, {0.5, 0.25, 0.125}, {2, -1}},
  };
  for (const Cas& t : cas) {
    foundation::TFluxMemoire f(Fixture(t.fichier));
    testmotifs::Niveau n(t.niveau);
    TDonneesCoupe c;
    c.DecalLimGauche = c.DecalAngle = c.DecalDesX = 9;
    ASSERT_TRUE(c.LitObjet(f)) << t.fichier;
    EXPECT_EQ(f.Restant(), 0u) << t.fichier;
    EXPECT_EQ(c.DecalLimGauche, t.lim[0]) << t.fichier;
    EXPECT_EQ(c.DecalLimDroite, t.lim[1]) << t.fichier;
    EXPECT_EQ(c.DecalAngle, t.lim[2]) << t.fichier;
    EXPECT_EQ(c.DecalDesX, t.des[0]) << t.fichier;
    EXPECT_EQ(c.DecalDesY, t.des[1]) << t.fichier;
    EXPECT_EQ(c.PointDeCoupe->VisRefDessin, v1) << t.fichier;
  }
}

TEST(CoupeTransversale, CutPointOffEveryShotMovesOntoAStationOfTheElevation) {
  // In an elevation the nearest station is taken at its abscissa and
  // altitude, not at its plan position.
  testdessin::Contexte contexte;
  testdessin::Reseau r;
  TCavite* cave = r.Cavite("A");
  r.Station(cave, "1", 0, 0, 0, 0);
  r.Station(cave, "2", 0, 10, -5, 10);
  TVisee* v = r.Visee(cave, "1", "2");
  foundation::GardeTypeDessin alti(foundation::TTypeDeDessin::tddAltiDev);
  TPointDessin p;
  p.Xhab = 30;
  p.Yhab = -5;
  p.ChercheViseeCoupe(&cave->Visees);
  EXPECT_EQ(p.VisRefDessin, v);
  EXPECT_EQ(p.Xhab, 10);
  EXPECT_EQ(p.Yhab, -5);
  EXPECT_NEAR(p.LHab, std::hypot(10, 5), 1e-12);
}

TEST(CoupeTransversale, ReversingTheCutShotMirrorsTheSection) {
  struct Cas {
    bool coupeModifiee, positionModifiee, inverseeAvant;
  };
  const Cas cas[] = {{true, true, false}, {true, false, true}, {false, true, false}, {false, false, true}};
  for (const Cas& t : cas) {
    TPointSpeleo a, b;
    TVisee coupe, position;
    coupe.PointStation = position.PointStation = &a;
    coupe.PointVise = position.PointVise = &b;
    coupe.PtOrigCalc = &a;
    coupe.PtCalc = &b;
    coupe.Modifiee = t.coupeModifiee;
    position.Modifiee = t.positionModifiee;
    TDonneesCoupe c;
    c.PointDeCoupe->VisRefDessin = &coupe;
    c.PointPosition->VisRefDessin = &position;
    c.PointDeCoupe->AngleHab = 0.5;
    c.PointPosition->AngleHab = 1;
    c.DecalAngle = 0.25;
    c.CoupeInversee = t.inverseeAvant;
    const bool dessineAvant = c.DessineInverse();
    c.InverseSensViseeCoupeAlti();
    const std::string quoi = std::to_string(t.coupeModifiee) + std::to_string(t.positionModifiee);
    EXPECT_EQ(c.CoupeInversee, t.inverseeAvant != t.coupeModifiee) << quoi;
    EXPECT_EQ(c.DecalAngle, t.coupeModifiee ? -0.25 : 0.25) << quoi;
    EXPECT_NEAR(c.PointDeCoupe->AngleHab, t.coupeModifiee ? 2 * kPi - 0.5 : 0.5, 1e-12) << quoi;
    EXPECT_NEAR(c.PointPosition->AngleHab, t.positionModifiee ? 2 * kPi - 1 : 1, 1e-12) << quoi;
    EXPECT_EQ(c.DessineInverse(), dessineAvant != t.coupeModifiee) << quoi;
  }
}

// A north-going gallery E1 (0, 0) - 1 (0, 10) - 2 (0, 20) with splay shots:
// at 1 one 2 m east and one 3 m west and 1 m up, at 2 one 1 m east.
class Habillage : public ::testing::Test {
 protected:
  Habillage() {
    c = k.Cavite("Habillée");
    k.Visee(c, "E1", "1", 0, 0, 10);
    v12 = k.Visee(c, "1", "2", 0, 0, 10);
    k.Habi(v12, true, 90, 0, 2);
    k.Habi(v12, true, 270, std::atan(1.0 / 3) * 180 / kPi, std::sqrt(10.0));
    k.Habi(v12, false, 90, 0, 1);
    k.Calcule();
  }

  // A section cut at that distance from station 1.
  std::unique_ptr<TDonneesCoupe> Coupe(double distance, bool inversee = false) {
    auto s = std::make_unique<TDonneesCoupe>();
    s->PointDeCoupe->VisRefDessin = v12;
    s->PointDeCoupe->LHab = distance;
    s->PointDeCoupe->CalculeHabillage();
    s->CoupeInversee = inversee;
    return s;
  }

  Calcul k;
  TCavite* c = nullptr;
  TVisee* v12 = nullptr;
};

TEST_F(Habillage, SplayShotsOfTheNearerStationAreProjected) {
  struct Cas {
    const char* nom;
    double distance, rayon;
    bool inversee;
    std::vector<std::pair<double, double>> points;
  };
  const Cas cas[] = {
      {"1:500 près de 1", 0.2, 0.5, false, {{2, 0}, {-3, 1}}},
      {"rayon nul", 0.2, 0, false, {}},
      {"loin des deux stations", 5, 0.5, false, {}},
      {"près de 2", 9.8, 0.5, false, {{1, 0}}},
      {"près des deux: la station de départ", 5, 20, false, {{2, 0}, {-3, 1}}},
      {"dessinée en miroir", 0.2, 0.5, true, {{-2, 0}, {3, 1}}},
  };
  for (const Cas& t : cas) {
    auto s = Coupe(t.distance, t.inversee);
    s->LesPointsHabi.AjoutePoint(99, 99);
    s->CalculePointsHabi(t.rayon);
    ASSERT_EQ(s->LesPointsHabi.Count(), static_cast<int>(t.points.size())) << t.nom;
    for (size_t i = 0; i < t.points.size(); ++i) {
      const TPointTopo p = s->LesPointsHabi.UnPtTopo(static_cast<int>(i));
      EXPECT_NEAR(p.X, t.points[i].first, 1e-9) << t.nom << " " << i;
      EXPECT_NEAR(p.Y, t.points[i].second, 1e-9) << t.nom << " " << i;
    }
  }
}

TEST(CoupeTransversale, SplayProjectionAcrossNorthUsesTheTurnsBisector) {
  // Arriving at 350°, leaving at 10°: the passage runs north, its
  // perpendicular points east, and an east splay lies on the right.
  Calcul k;
  TCavite* c = k.Cavite("Nord");
  k.Visee(c, "E1", "1", 350, 0, 10);
  TVisee* v = k.Visee(c, "1", "2", 10, 0, 10);
  k.Habi(v, true, 90, 0, 2);
  k.Calcule();
  TDonneesCoupe s;
  s.PointDeCoupe->VisRefDessin = v;
  s.PointDeCoupe->LHab = 0.1;
  s.PointDeCoupe->CalculeHabillage();
  s.CalculePointsHabi(0.5);
  ASSERT_EQ(s.LesPointsHabi.Count(), 1);
  EXPECT_NEAR(s.LesPointsHabi.UnPtTopo(0).X, 2, 1e-9);
}

TEST(CoupeTransversale, EnvelopeOfATenByFourBoxAndItsCutLine) {
  foundation::GardeTransfo transfo;
  foundation::GardeTypeDessin plan(foundation::TTypeDeDessin::tddPlani);
  foundation::Vue().Xmin = foundation::Vue().Ymin = 0;
  struct Cas {
    const char* nom;
    bool inversee, sensInverse;
    double coeff, limGauche, limDroite;
    double gauche[2], droite[2];
    double fleche;
  };
  // The cut point (0, 15) on a north shot, the section's box 10 m by 4 m
  // with its position at x = 5: the halves reach 6 m once the margins are
  // added.
  const Cas cas[] = {
      {"droite", false, false, 1, 0, 0, {-6, 15}, {6, 15}, 1.5 * kPi},
      {"échelle 2", false, false, 2, 0, 0, {-3, 15}, {3, 15}, 1.5 * kPi},
      {"rallongée", false, false, 1, 0.5, 1, {-7, 15}, {6.5, 15}, 1.5 * kPi},
      {"miroir", true, false, 1, 0.5, 1, {-6.5, 15}, {7, 15}, 1.5 * kPi},
      {"visée inverse", false, true, 1, 0.5, 1, {6.5, 15}, {-7, 15}, 0.5 * kPi},
  };
  for (const Cas& t : cas) {
    TPointSpeleo a, b;
    TVisee v;
    v.PointStation = &a;
    v.PointVise = &b;
    v.PtCalc = t.sensInverse ? &a : &b;
    TDonneesCoupe c;
    c.PointDeCoupe->VisRefDessin = &v;
    c.PointDeCoupe->Xhab = 0;
    c.PointDeCoupe->Yhab = 15;
    c.PointDeCoupe->GisementHab = 0;
    c.PointPosition->Xhab = 5;
    c.PointPosition->Yhab = 2;
    c.CoupeInversee = t.inversee;
    c.LeCoeffDessinCoupe = t.coeff;
    c.DecalLimGauche = t.limGauche;
    c.DecalLimDroite = t.limDroite;
    c.EnvelCoupe = {0, 4000, 10000, 0};
    foundation::TEnveloppe e;
    c.Enveloppe(e);
    EXPECT_DOUBLE_EQ(c.MargeXY, 1) << t.nom;
    EXPECT_DOUBLE_EQ(e.XGauche, -1) << t.nom;
    EXPECT_DOUBLE_EQ(e.XDroite, 11) << t.nom;
    EXPECT_DOUBLE_EQ(e.YHaut, 5) << t.nom;
    EXPECT_DOUBLE_EQ(e.YBas, -1.5) << t.nom;
    EXPECT_DOUBLE_EQ(e.XCoupeGauche, -0.5) << t.nom;
    EXPECT_DOUBLE_EQ(e.XCoupeDroite, 10.5) << t.nom;
    EXPECT_NEAR(c.AngleFleche, t.fleche, 1e-12) << t.nom;
    EXPECT_NEAR(e.LimGalGauche.X, t.gauche[0], 1e-9) << t.nom;
    EXPECT_NEAR(e.LimGalGauche.Y, t.gauche[1], 1e-9) << t.nom;
    EXPECT_NEAR(e.LimGalDroite.X, t.droite[0], 1e-9) << t.nom;
    EXPECT_NEAR(e.LimGalDroite.Y, t.droite[1], 1e-9) << t.nom;
    EXPECT_EQ(e.LimGalGauche.SlH, e.LimGalGauche.X) << t.nom;
    EXPECT_EQ(e.LimGalGauche.Z, e.LimGalGauche.Y) << t.nom;
  }
}

TEST_F(Habillage, WallPointsOfANewSection) {
  foundation::GardeTransfo transfo;
  foundation::GardeTypeDessin plan(foundation::TTypeDeDessin::tddPlani);
  foundation::Vue().Xmin = foundation::Vue().Ymin = 0;
  TPointSpeleo* s1 = k(c, "1");
  TPointSpeleo* s2 = k(c, "2");
  s1->LGCalc = 1;
  s1->LDCalc = 2;
  s1->HauteurSup = 1;
  s1->HauteurInf = 0.5;
  s2->LGCalc = 3;
  s2->LDCalc = 4;
  s2->HauteurSup = 3;
  s2->HauteurInf = 1.5;
  for (bool inversee : {false, true}) {
    auto s = Coupe(5, inversee);
    s->PointPosition->Xhab = 20;
    s->PointPosition->Yhab = 10;
    auto profil = std::make_unique<TPointDessin>();
    s->LesPointsDessin.Add(std::move(profil));
    s->CalculeEnveloppeGalerie();
    // Halfway: left 2, right 3, above 2, below 1.
    const double g = inversee ? 17 : 18, d = inversee ? 22 : 23;
    const double attendus[4][2] = {{g, 9}, {g, 12}, {d, 12}, {d, 9}};
    ASSERT_EQ(s->LesPointsDessin.Count(), 5);
    for (int i = 0; i < 4; ++i) {
      const TPointDessin* p = s->LesPointsDessin.UnObjet(i);
      EXPECT_EQ(s->PtsEnvelCoupe[static_cast<size_t>(i)], p);
      EXPECT_NEAR(p->Xhab, attendus[i][0], 1e-9) << inversee << " " << i;
      EXPECT_NEAR(p->Yhab, attendus[i][1], 1e-9) << inversee << " " << i;
      EXPECT_EQ(p->XLoc, foundation::Arrondi(attendus[i][0] * 1000)) << i;
    }
    // While it is drawn its envelope is the box of the position and walls.
    s->DessinCoupeEnCours = true;
    foundation::TEnveloppe e;
    s->Enveloppe(e);
    EXPECT_DOUBLE_EQ(s->MargeXY, 0.5) << inversee;
    EXPECT_DOUBLE_EQ(e.XGauche, g - 0.5) << inversee;
    EXPECT_DOUBLE_EQ(e.YHaut, 12.5) << inversee;
    EXPECT_DOUBLE_EQ(e.YBas, 9 - 0.75) << inversee;
  }
}

TEST(CoupeTransversale, WallPointsOfAShotComputedFromItsFarEnd) {
  Calcul k;
  TCavite* c = k.Cavite("Inverse");
  k.Visee(c, "E1", "1", 0, 0, 10);
  // Stored from 2, walked from 1.
  TVisee* v = k.Visee(c, "2", "1", 180, 0, 10);
  k.Dimensions(c, "1", 1, 1, 1, 1);
  k.Dimensions(c, "2", 3, 3, 3, 3);
  k.Calcule();
  ASSERT_EQ(v->PtCalc, v->PointStation);
  TDonneesCoupe s;
  s.PointDeCoupe->VisRefDessin = v;
  s.PointDeCoupe->LHab = 2;  // from station 2: 8 m from the computed origin 1
  s.CalculeEnveloppeGalerie();
  ASSERT_EQ(s.LesPointsDessin.Count(), 4);
  // Width 1 + 0.8 × 2 on both sides, heights likewise.
  EXPECT_NEAR(s.LesPointsDessin.UnObjet(2)->Xhab - s.LesPointsDessin.UnObjet(0)->Xhab, 2 * 2.6, 1e-9);
  EXPECT_NEAR(s.LesPointsDessin.UnObjet(1)->Yhab - s.LesPointsDessin.UnObjet(0)->Yhab, 2 * 2.6, 1e-9);
}

TEST(CoupeTransversale, ProfilePointsGoOntoTheSectionsHorizontal) {
  foundation::GardeTransfo transfo;
  foundation::GardeTypeDessin plan(foundation::TTypeDeDessin::tddPlani);
  foundation::Vue().Xmin = foundation::Vue().Ymin = 0;
  // The same profile around a north shot and around the same shot turned
  // to the east: the sides follow the shot, not north.
  struct Cas {
    double gisement;
    double gauche[2], droite[2];  // a point 2 m left and one 1 m right of the cut point
  };
  const Cas cas[] = {{0, {-2, 15}, {1, 15}}, {kPi / 2, {0, 17}, {0, 14}}};
  for (const Cas& t : cas) {
    TDonneesCoupe s;
    s.PointDeCoupe->Xhab = 0;
    s.PointDeCoupe->Yhab = 15;
    s.PointDeCoupe->GisementHab = t.gisement;
    s.PointPosition->Xhab = 30;
    s.PointPosition->Yhab = 5;
    for (int i = 0; i < 4; ++i) s.LesPointsDessin.Add(std::make_unique<TPointDessin>());
    for (const auto& xy : {t.gauche, t.droite}) {
      auto p = std::make_unique<TPointDessin>();
      p->XLoc = foundation::Arrondi(xy[0] * 1000);
      p->YLoc = foundation::Arrondi(xy[1] * 1000);
      s.LesPointsDessin.Add(std::move(p));
    }
    s.CalculePointsGalerie();
    EXPECT_NEAR(s.LesPointsDessin.UnObjet(4)->Xhab, 32, 1e-9) << t.gisement;
    EXPECT_NEAR(s.LesPointsDessin.UnObjet(5)->Xhab, 29, 1e-9) << t.gisement;
    EXPECT_EQ(s.LesPointsDessin.UnObjet(4)->Yhab, 5);
    EXPECT_EQ(s.LesPointsDessin.UnObjet(5)->Yhab, 5);
  }
}

}  // namespace
