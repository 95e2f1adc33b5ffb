// The complex line tracer: the strokes and polygons it hands to a collecting
// target for known patterns, at 10 pixels per metre unless said otherwise.
#include "drawing/traceur_ligne.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "drawing/contexte_dessin.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"

namespace {

using drawing::EtatLigneTrace;
using drawing::MesPenStyle;
using drawing::StyleTrace;
using drawing::TraceurLigne;
using foundation::PtTopoXY;
using foundation::TPointTopo;

struct Segment {
  TPointTopo A, B;
};
struct Poly {
  std::vector<TPointTopo> Sommets;
  bool Plein;
};

class Collecte : public drawing::CibleTrace {
 public:
  std::vector<Segment> Traits;
  std::vector<Poly> Polys;
  void Trait(const TPointTopo& A, const TPointTopo& B) override { Traits.push_back({A, B}); }
  void Polygone(std::span<const TPointTopo> s, bool plein) override { Polys.push_back({{s.begin(), s.end()}, plein}); }
};

class Traceur : public ::testing::Test {
 protected:
  Traceur() {
    foundation::Vue().EchelleVue = 10;
    foundation::Vue().EchelleFontes = 0;
    foundation::Impression().EnImpression = false;
    drawing::Affichage().ModeTraceur = 0;
  }
  // Walks the polyline with the style after preparing the pattern for the
  // given extent.
  Collecte Trace(MesPenStyle style, const std::vector<TPointTopo>& points, double extent, int epaisseur = 1) {
    Collecte c;
    const StyleTrace s(style, epaisseur);
    traceur.CalculeMotifLigne(s, extent);
    EtatLigneTrace etat;
    for (size_t i = 1; i < points.size(); ++i)
      traceur.TraceLigneComplexe(points[i - 1], points[i], c, i + 1 == points.size(), s, etat);
    return c;
  }

  TraceurLigne traceur;

 private:
  foundation::GardeTransfo vue_;
  foundation::GardeImpression impression_;
  drawing::GardeAffichage affichage_;
};

// A stroke along the X axis as [from, to].
std::vector<std::pair<double, double>> SurX(const std::vector<Segment>& traits) {
  std::vector<std::pair<double, double>> r;
  for (const Segment& t : traits) r.emplace_back(t.A.X, t.B.X);
  return r;
}

TEST_F(Traceur, TiretsDUnSegmentDe150Pixels) {
  const Collecte c = Trace(MesPenStyle::mpsDash, {PtTopoXY(0, 0), PtTopoXY(150, 0)}, 150);
  std::vector<std::pair<double, double>> attendu;
  for (int k = 0; k < 10; ++k) attendu.emplace_back(15 * k, 15 * k + 10);
  EXPECT_EQ(SurX(c.Traits), attendu);
}

TEST_F(Traceur, TiretPointAlterneTiretsEtPoints) {
  const Collecte c = Trace(MesPenStyle::mpsDashDot, {PtTopoXY(0, 0), PtTopoXY(100, 0)}, 100);
  const std::vector<std::pair<double, double>> attendu{{0, 10},  {15, 17}, {22, 32}, {37, 39}, {44, 54},
                                                       {59, 61}, {66, 76}, {81, 83}, {88, 98}};
  ASSERT_EQ(c.Traits.size(), attendu.size());
  for (size_t i = 0; i < attendu.size(); ++i) {
    EXPECT_NEAR(c.Traits[i].A.X, attendu[i].first, 1e-9) << i;
    EXPECT_NEAR(c.Traits[i].B.X, attendu[i].second, 1e-9) << i;
  }
}

TEST_F(Traceur, UneLigneCourteMontreCinqPeriodes) {
  // Extent of two periods (30 pixels): the pattern shrinks 2.5 times.
  const Collecte c = Trace(MesPenStyle::mpsDash, {PtTopoXY(0, 0), PtTopoXY(30, 0)}, 30);
  EXPECT_EQ(c.Traits.size(), 5u);
  EXPECT_DOUBLE_EQ(traceur.MotifStyle(MesPenStyle::mpsDash).Periode, 6);
}

TEST_F(Traceur, LaPhaseDesTiretsPasseLesJointures) {
  // The dash [15, 25] starts on the first segment and ends 5 pixels down the
  // second one.
  const Collecte c = Trace(MesPenStyle::mpsDash, {PtTopoXY(0, 0), PtTopoXY(20, 0), PtTopoXY(20, 100)}, 200);
  ASSERT_GE(c.Traits.size(), 4u);
  EXPECT_DOUBLE_EQ(c.Traits[1].A.X, 15);
  EXPECT_DOUBLE_EQ(c.Traits[1].B.X, 20);
  EXPECT_DOUBLE_EQ(c.Traits[2].A.Y, 0);
  EXPECT_DOUBLE_EQ(c.Traits[2].A.X, 20);
  EXPECT_NEAR(c.Traits[2].B.Y, 5, 1e-9);
  EXPECT_NEAR(c.Traits[3].A.Y, 10, 1e-9);
}

TEST_F(Traceur, LesTicsAlternentDeCoteAuxJointures) {
  const Collecte c =
      Trace(MesPenStyle::mpsTirHachAlt, {PtTopoXY(0, 0), PtTopoXY(20, 0), PtTopoXY(50, 0), PtTopoXY(100, 0)}, 100);
  std::vector<double> cotes;
  for (const Segment& t : c.Traits)
    if (t.A.X == t.B.X && t.B.Y != t.A.Y) cotes.push_back(t.B.Y - t.A.Y);
  ASSERT_GE(cotes.size(), 6u);
  for (size_t i = 1; i < cotes.size(); ++i) EXPECT_LT(cotes[i] * cotes[i - 1], 0) << i;
}

TEST_F(Traceur, UnTriangleQuiPasseUneJointureLaGardeCommeSommet) {
  const Collecte c = Trace(MesPenStyle::mpsTrianglePlein, {PtTopoXY(0, 0), PtTopoXY(10, 0), PtTopoXY(10, 50)}, 100);
  ASSERT_GE(c.Polys.size(), 2u);
  const Poly& deuxieme = c.Polys[1];
  EXPECT_TRUE(deuxieme.Plein);
  ASSERT_EQ(deuxieme.Sommets.size(), 4u);
  EXPECT_DOUBLE_EQ(deuxieme.Sommets[0].X, 8);
  EXPECT_DOUBLE_EQ(deuxieme.Sommets[1].X, 10);
  EXPECT_DOUBLE_EQ(deuxieme.Sommets[1].Y, 0);
  EXPECT_NEAR(deuxieme.Sommets[2].X, 10, 1e-9);
  EXPECT_NEAR(deuxieme.Sommets[2].Y, 6, 1e-9);
  // The first triangle: base [0, 8], apex 4 pixels off the middle.
  ASSERT_EQ(c.Polys[0].Sommets.size(), 3u);
  EXPECT_NEAR(std::abs(c.Polys[0].Sommets[2].Y), 4, 1e-9);
  EXPECT_NEAR(c.Polys[0].Sommets[2].X, 4, 1e-9);
}

TEST_F(Traceur, LaFinDeLaLigneApresLeDernierTriangle) {
  // Triangles [0, 8] and [8, 16] on the first segment; the base of the third
  // one, left open, runs from 16 across the joint to the end.
  const Collecte c = Trace(MesPenStyle::mpsTriangle, {PtTopoXY(0, 0), PtTopoXY(18, 0), PtTopoXY(18, 3)}, 100);
  ASSERT_EQ(c.Polys.size(), 2u);
  ASSERT_EQ(c.Traits.size(), 2u);
  EXPECT_DOUBLE_EQ(c.Traits[0].A.X, 16);
  EXPECT_DOUBLE_EQ(c.Traits[0].B.X, 18);
  EXPECT_DOUBLE_EQ(c.Traits[1].B.Y, 3);
}

TEST_F(Traceur, UnTriangleSurDeNombreusesJointures) {
  // 319 joints under one triangle base of 80 pixels.
  std::vector<TPointTopo> points;
  for (int i = 0; i <= 320; ++i) points.push_back(PtTopoXY(i * 0.25, 0));
  foundation::Vue().EchelleVue = 100;
  const Collecte c = Trace(MesPenStyle::mpsTriangle, points, 1000);
  ASSERT_EQ(c.Polys.size(), 1u);
  EXPECT_EQ(c.Polys[0].Sommets.size(), 322u);
  EXPECT_FALSE(c.Polys[0].Plein);
}

TEST_F(Traceur, AucunTicNeDepasseLeDixiemeDeLEtendue) {
  for (const double extent : {10.0, 20.0, 25.0, 1000.0}) {
    traceur.CalculeMotifLigne(StyleTrace(MesPenStyle::mpsTiretHachure, 1), extent);
    EXPECT_LE(traceur.Motif().LongTic, extent / 10) << extent;
    EXPECT_GT(traceur.Motif().LongTic, 0) << extent;
  }
}

struct CasLongueur {
  MesPenStyle Style;
  int Epaisseur;
  uint8_t Mode;
  bool Impression;
  double LongTrait;
};

TEST_F(Traceur, LongueursSelonEpaisseurModeEtImpression) {
  // Print: 1:500 at 600 dpi (dots per metre of paper).
  const double coeff = foundation::PointsParMetre(600);
  const CasLongueur cas[] = {
      {MesPenStyle::mpsDash, 1, 0, false, 10},
      {MesPenStyle::mpsDash, 2, 0, false, 10},
      {MesPenStyle::mpsDash, 3, 0, false, 16},
      {MesPenStyle::mpsDash, 5, 0, false, 20},
      {MesPenStyle::mpsHachurePente, 5, 0, false, 8},
      {MesPenStyle::mpsDash, 1, 0, true, 1.0 / 500 * coeff},
      {MesPenStyle::mpsTriangle, 3, 0, true, 0.8 / 500 * coeff * 1.6},
      // SVG: halved up to mpsTirHachAlt.
      {MesPenStyle::mpsDash, 1, 1, false, 0.5},
      {MesPenStyle::mpsHachure, 1, 1, false, 1.5},
      {MesPenStyle::mpsTirHachAlt, 1, 1, false, 1.0},
      {MesPenStyle::mpsTriangle, 1, 1, false, 3},
      {MesPenStyle::mpsHachurePente, 1, 1, false, 1.2},
  };
  for (const CasLongueur& c : cas) {
    drawing::Affichage().ModeTraceur = c.Mode;
    foundation::Impression().EnImpression = c.Impression;
    foundation::Impression().EchellePrn = 500;
    foundation::Impression().CoeffPrn = coeff;
    ASSERT_TRUE(traceur.CalculeMotifLigne(StyleTrace(c.Style, c.Epaisseur), 0));
    EXPECT_NEAR(traceur.Motif().LongTrait, c.LongTrait, 1e-9)
        << static_cast<int>(c.Style) << " w" << c.Epaisseur << " mode " << int{c.Mode} << " print " << c.Impression;
  }
}

TEST_F(Traceur, EnSvgLesFiguresSontRetourneesMaisPasLaMarche) {
  const auto premierTic = [&](uint8_t mode) {
    drawing::Affichage().ModeTraceur = mode;
    const Collecte c = Trace(MesPenStyle::mpsTiretHachure, {PtTopoXY(0, 0), PtTopoXY(100, 0)}, 100);
    for (const Segment& t : c.Traits) {
      EXPECT_GE(std::min(t.A.X, t.B.X), 0);
      EXPECT_LE(std::max(t.A.X, t.B.X), 100);
    }
    for (const Segment& t : c.Traits)
      if (t.B.Y != t.A.Y) return t.B.Y - t.A.Y;
    return 0.0;
  };
  const double ecran = premierTic(0);
  const double svg = premierTic(1);
  EXPECT_LT(ecran, 0);
  EXPECT_GT(svg, 0);
}

TEST_F(Traceur, DemiHachureAlterneLongsEtCourts) {
  const Collecte c = Trace(MesPenStyle::mpsDemiHachure, {PtTopoXY(0, 0), PtTopoXY(80, 0)}, 80);
  std::vector<double> tics;
  for (const Segment& t : c.Traits)
    if (t.B.Y != t.A.Y) tics.push_back(std::abs(t.B.Y - t.A.Y));
  ASSERT_EQ(tics.size(), 10u);
  for (size_t i = 0; i < tics.size(); ++i) EXPECT_NEAR(tics[i], i % 2 == 0 ? 3 : 2, 1e-9) << i;
}

TEST_F(Traceur, UnSegmentNulOuUnStyleContinuNeTraceRien) {
  Collecte c = Trace(MesPenStyle::mpsDash, {PtTopoXY(5, 5), PtTopoXY(5, 5)}, 0);
  EXPECT_TRUE(c.Traits.size() <= 1);
  EXPECT_FALSE(traceur.CalculeMotifLigne(StyleTrace(MesPenStyle::mpsSolid, 1), 100));
  EtatLigneTrace etat;
  traceur.TraceLigneComplexe(PtTopoXY(0, 0), PtTopoXY(30, 40), c, true, StyleTrace(MesPenStyle::mpsSolid, 1), etat);
  EXPECT_DOUBLE_EQ(etat.Distance, 50);
}

TEST_F(Traceur, UnMotifInfinimentFinTraceLeSegmentPlein) {
  foundation::Vue().EchelleVue = 1e-9;
  const Collecte c = Trace(MesPenStyle::mpsDash, {PtTopoXY(0, 0), PtTopoXY(1000, 0)}, 1e9);
  ASSERT_EQ(c.Traits.size(), 1u);
  EXPECT_DOUBLE_EQ(c.Traits[0].B.X, 1000);
}

}  // namespace
