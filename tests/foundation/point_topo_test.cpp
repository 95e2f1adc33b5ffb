#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "foundation/flux.h"
#include "foundation/niveau_fichier.h"
#include "foundation/point_topo.h"
#include "foundation/transformation_vue.h"
#include "foundation/utilitaires.h"

using namespace foundation;

namespace {

constexpr double Pi = std::numbers::pi;

TPointTopo Pt(double x, double y) { return PtTopoXY(x, y); }

TPointTopo PtAlti(double slh, double z) {
  TPointTopo p;
  p.SlH = slh;
  p.Z = z;
  // Plan coordinates that would give another answer if they were used.
  p.X = 1e4;
  p.Y = -3e4;
  return p;
}

// Appends the little-endian bytes of a value, as the record tables lay them out.
template <class V>
void Pousse(std::string& octets, V v) {
  char b[sizeof v];
  std::memcpy(b, &v, sizeof v);
  octets.append(b, sizeof v);
}

}  // namespace

TEST(Geometrie, Azimuts) {
  struct Case {
    double x, y, attendu;
  };
  const Case cases[] = {
      {1, 0, Pi / 2}, {0, -1, Pi},       {-1, 0, 3 * Pi / 2}, {0, 0, 0},
      {0, 1, 0},      {1, 1, Pi / 4},    {-1, 1, 7 * Pi / 4}, {-1, -1, 5 * Pi / 4},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(AzimutXY(Pt(0, 0), Pt(c.x, c.y)), c.attendu, 1e-15) << c.x << "," << c.y;
    // The same offsets from another origin, on integer points, and in the elevation plane.
    EXPECT_NEAR(AzimutXY(Pt(5, -7), Pt(5 + c.x, -7 + c.y)), c.attendu, 1e-15) << c.x << "," << c.y;
    EXPECT_NEAR(AzimutPoints(TPoint{3, 4}, TPoint{3 + int32_t(c.x), 4 + int32_t(c.y)}), c.attendu, 1e-15);
    if (c.x != 0 || c.y != 0) {
      EXPECT_NEAR(AzimutAlti(PtAlti(2, 2), PtAlti(2 + c.x, 2 + c.y)), c.attendu, 1e-15) << c.x << "," << c.y;
    }
  }
  EXPECT_DOUBLE_EQ(DistanceXY(Pt(1, 1), Pt(4, 5)), 5);
  EXPECT_DOUBLE_EQ(DistanceAlti(PtAlti(1, 1), PtAlti(4, 5)), 5);
  EXPECT_DOUBLE_EQ(DistancePoints(TPoint{-3, 0}, TPoint{0, 4}), 5);
}

TEST(Geometrie, NormaliseAngle) {
  EXPECT_DOUBLE_EQ(NormaliseAngle(-Pi / 2), 3 * Pi / 2);
  EXPECT_DOUBLE_EQ(NormaliseAngle(2 * Pi), 0);
  EXPECT_DOUBLE_EQ(NormaliseAngle(5 * Pi), Pi);
  EXPECT_DOUBLE_EQ(NormaliseAngle(-1e-20), 0);  // 2π − 1e-20 is 2π: still below 2π afterwards
  // Far values and infinities end instead of stepping for ever.
  for (double x : {1e20, -1e20, 1e300}) {
    const double r = NormaliseAngle(x);
    EXPECT_TRUE(r >= 0 && r < 2 * Pi) << x;
  }
  EXPECT_TRUE(std::isnan(NormaliseAngle(INFINITY)));
  EXPECT_TRUE(std::isnan(NormaliseAngle(-INFINITY)));
}

TEST(Geometrie, PointsRayonnesEtConversions) {
  TPointTopo p = Pt(10, 20);
  p.SlH = 100;
  p.Z = 50;
  TPointTopo r = Pt(-1, -1);
  r.SlH = -2;
  r.Z = -3;
  PointRayonne(p, Pi / 2, 5, false, r);  // plan: towards the east
  EXPECT_NEAR(r.X, 15, 1e-12);
  EXPECT_NEAR(r.Y, 20, 1e-12);
  EXPECT_EQ(r.SlH, -2);
  {
    GardeTypeDessin alti(TTypeDeDessin::tddAltiDev);
    TPointTopo e = r;
    PointRayonne(p, 0, 5, false, e);  // elevation: straight up
    EXPECT_NEAR(e.SlH, 100, 1e-12);
    EXPECT_NEAR(e.Z, 55, 1e-12);
    EXPECT_EQ(e.X, r.X);
    TPointTopo f = r;
    PointRayonne(p, Pi, 5, true, f);  // forced to the plan: south
    EXPECT_NEAR(f.X, 10, 1e-12);
    EXPECT_NEAR(f.Y, 15, 1e-12);
  }
  TPointTopo s;
  PointSymetrique(Pt(1, 2), Pt(4, 6), s);
  EXPECT_EQ(s.X, 7);
  EXPECT_EQ(s.Y, 10);
  PtTopoVersAlti(p);
  EXPECT_EQ(p.X, 100);
  EXPECT_EQ(p.Y, 50);
  PointVersPtTopo(TPoint{-5, 9}, p);
  EXPECT_EQ(p.X, -5);
  EXPECT_EQ(p.Y, 9);
  EXPECT_EQ(p.SlH, 100);

  double x = 45.30;
  EXPECT_NEAR(DegMinVersDegres(x), 45.5, 1e-12);
  x = -10.15;
  EXPECT_NEAR(DegMinVersDegres(x), -10.25, 1e-12);
  EXPECT_NEAR(x, 10.25, 1e-12);  // the variable keeps the unsigned value
  EXPECT_EQ(SigneBool(true), 1);
  EXPECT_EQ(SigneBool(false), -1);
}

TEST(Geometrie, IntersectionDroites) {
  TPointTopo r = Pt(7, 8);
  IntersectionDroites(Pt(0, 0), Pt(10, 10), Pt(0, 10), Pt(10, 0), r);
  EXPECT_EQ(r.SlH, 1);
  EXPECT_NEAR(r.X, 5, 1e-12);
  EXPECT_NEAR(r.Y, 5, 1e-12);
  // Lines that meet outside both segments.
  IntersectionDroites(Pt(0, 1), Pt(1, 1), Pt(3, 0), Pt(3, 5), r);
  EXPECT_EQ(r.SlH, 1);
  EXPECT_NEAR(r.X, 3, 1e-12);
  EXPECT_NEAR(r.Y, 1, 1e-12);

  struct Case {
    const char* nom;
    TPointTopo p1, p2, p3, p4;
  };
  const Case paralleles[] = {
      {"parallèles", Pt(0, 0), Pt(10, 5), Pt(0, 3), Pt(10, 8)},
      {"confondues", Pt(0, 0), Pt(1, 1), Pt(2, 2), Pt(3, 3)},
      {"premier segment réduit à un point", Pt(2, 2), Pt(2, 2), Pt(0, 3), Pt(10, 8)},
  };
  for (const Case& c : paralleles) {
    TPointTopo q = Pt(7, 8);
    IntersectionDroites(c.p1, c.p2, c.p3, c.p4, q);
    EXPECT_EQ(q.SlH, -1) << c.nom;
    EXPECT_EQ(q.X, 7) << c.nom;
    EXPECT_EQ(q.Y, 8) << c.nom;
  }

  TPointTopo pied;
  PiedPerpendiculaire(Pt(0, 0), Pt(10, 0), Pt(3, 5), pied);
  EXPECT_EQ(pied.SlH, 1);
  EXPECT_NEAR(pied.X, 3, 1e-9);
  EXPECT_NEAR(pied.Y, 0, 1e-9);
  PiedPerpendiculaire(Pt(0, 0), Pt(10, 10), Pt(0, 10), pied);
  EXPECT_NEAR(pied.X, 5, 1e-9);
  EXPECT_NEAR(pied.Y, 5, 1e-9);
}

TEST(Geometrie, SegmentsPlan) {
  const TPointTopo a = Pt(0, 0), b = Pt(1000, 0);
  // 0.05 % of the length off the line near the middle is on the segment.
  EXPECT_TRUE(EstSurSegment(a, b, Pt(500, 0.5)));
  EXPECT_TRUE(EstSurSegment(a, b, Pt(0, 0)));
  EXPECT_FALSE(EstSurSegment(a, b, Pt(500, 50)));
  EXPECT_FALSE(EstSurSegment(a, b, Pt(1100, 0)));

  struct Case {
    const char* nom;
    TPointTopo p3;
    int position;
    double distance;
  };
  const Case cases[] = {
      {"au-dessus du milieu", Pt(500, 30), 0, 30},
      {"sous le segment", Pt(200, -40), 0, 40},
      {"au-delà de la fin", Pt(1300, 400), 2, 500},
      {"avant le début", Pt(-30, -40), 1, 50},
      {"sur l'extrémité", Pt(1000, 0), 0, 0},
      {"dans le prolongement", Pt(1010, 0), 2, 10},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PositionSurSegment(a, b, c.p3), c.position) << c.nom;
    EXPECT_NEAR(DistancePointSegment(a, b, c.p3), c.distance, 1e-9) << c.nom;
  }
  // A segment reduced to one point: the distance to that point.
  EXPECT_NEAR(DistancePointSegment(Pt(5, 5), Pt(5, 5), Pt(8, 9)), 5, 1e-12);
}

TEST(Geometrie, SegmentsEnElevation) {
  GardeTypeDessin alti(TTypeDeDessin::tddAltiProj);
  const TPointTopo a = PtAlti(0, 100), b = PtAlti(100, 100);
  EXPECT_NEAR(DistancePointSegment(a, b, PtAlti(40, 130)), 30, 1e-9);
  EXPECT_NEAR(DistancePointSegment(a, b, PtAlti(130, 140)), 50, 1e-9);
  EXPECT_EQ(PositionSurSegment(a, b, PtAlti(130, 140)), 2);
  EXPECT_EQ(PositionSurSegment(a, b, PtAlti(-1, 100)), 1);
}

TEST(Geometrie, IntersectionVerticaleAlti) {
  TPointTopo r = Pt(3, 4);
  r.Num = 9;
  IntersectionVerticaleAlti(PtAlti(0, 10), PtAlti(20, 30), PtAlti(5, 0), r);
  EXPECT_EQ(r.SlH, 5);
  EXPECT_NEAR(r.Z, 15, 1e-12);
  EXPECT_EQ(r.X, 3);
  EXPECT_EQ(r.Num, 9u);
  // A vertical line has no single crossing: nothing stale is left in SlH or Z.
  IntersectionVerticaleAlti(PtAlti(5, 10), PtAlti(5, 30), PtAlti(5, 0), r);
  EXPECT_TRUE(EstIndefini(r.SlH));
  EXPECT_TRUE(EstIndefini(r.Z));
}

TEST(Geometrie, RectanglesYVersLeHaut) {
  const TRect a{0, 10, 10, 0}, b{5, 20, 20, 5};
  TRect r;
  ASSERT_TRUE(IntersectionRectY(r, a, b));
  EXPECT_EQ(r, (TRect{5, 10, 10, 5}));
  UnionRectY(a, b, r);
  EXPECT_EQ(r, (TRect{0, 20, 20, 0}));
  // Disjoint: false and an empty rectangle.
  EXPECT_FALSE(IntersectionRectY(r, a, TRect{30, 40, 40, 30}));
  EXPECT_EQ(r, TRect{});
  // Touching edges do not intersect.
  EXPECT_FALSE(IntersectionRectY(r, a, TRect{10, 10, 20, 0}));
  // An empty rectangle does not widen a union.
  UnionRectY(a, TRect{100, 100, 100, 100}, r);
  EXPECT_EQ(r, a);
  EXPECT_EQ(RetourneRectY(a), (TRect{0, 0, 10, 10}));
  EXPECT_EQ(SurfaceRect(a), 100);
  EXPECT_EQ(SurfaceRect(TRect{-1000000000, 2000000000, 2000000000, -1000000000}), int64_t{3000000000} * 3000000000);
  EXPECT_EQ(SurfaceRect(TRect{-2000000000, 2000000000, 2000000000, -2000000000}), INT64_MAX);  // held, not wrapped
  EXPECT_TRUE(RectsEgaux(a, TRect{0, 10, 10, 0}));

  struct Case {
    const char* nom;
    TRect interieur;
    bool attendu;
  };
  const Case cases[] = {
      {"strictement dedans", TRect{1, 9, 9, 1}, true},
      {"bords bas et gauche communs", TRect{0, 9, 9, 0}, true},
      {"bord droit commun", TRect{1, 9, 10, 1}, false},
      {"bord haut commun", TRect{1, 10, 9, 1}, false},
      {"lui-même", a, false},
      {"dépasse", TRect{1, 9, 11, 1}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(RectDansRect(c.interieur, a), c.attendu) << c.nom;

  double min1, min2, max1, max2;
  InitMinMax(min1, min2, max1, max2);
  EXPECT_EQ(min1, ValeurIndefiniePositive);
  EXPECT_EQ(max2, ValeurIndefinie);
  for (double v : {3.0, -2.0, 7.0}) MajMinMax(min1, max1, v);
  EXPECT_EQ(min1, -2);
  EXPECT_EQ(max1, 7);
}

TEST(Geometrie, TransformsDePlan) {
  TTransEch t;
  ASSERT_TRUE(CalculeTransEch(Pt(0, 0), Pt(2, 0), Pt(10, 10), Pt(10, 14), t));
  EXPECT_EQ(t[4], 2);
  TPointTopo r = Pt(0, 0);
  r.Z = 77;
  AppliqueTransEch(Pt(2, 0), t, r);
  EXPECT_EQ(r.X, 12);
  EXPECT_EQ(r.Y, 12);
  EXPECT_EQ(r.Z, 77);
  // No length to scale from: reported, and the result stays a finite shift.
  EXPECT_FALSE(CalculeTransEch(Pt(1, 1), Pt(1, 1), Pt(10, 10), Pt(10, 14), t));
  AppliqueTransEch(Pt(2, 1), t, r);
  EXPECT_EQ(r.X, 11);
  EXPECT_EQ(r.Y, 12);

  const TMatrice m{2, 3, 5, 7, 11, 13};
  AppliqueMatrice(Pt(1, 10), m, r);
  EXPECT_EQ(r.X, 2 * 1 + 5 * 10 + 11);
  EXPECT_EQ(r.Y, 3 * 1 + 7 * 10 + 13);
}

// --- Persistence ---------------------------------------------------------------------

TEST(PtTopoFlux, AnciensEtNouveauxEnregistrements) {
  // Record tables: from level 502, Num then X, Y, Z, SlH; below, the raw
  // 40-byte block with 4 padding bytes after Num.
  std::string nouveau, ancien;
  Pousse(nouveau, uint32_t{4000000000u});
  Pousse(ancien, uint32_t{4000000000u});
  ancien.append(4, '\xAA');
  for (double v : {1.5, -2.25, 1e300, -0.0}) {
    Pousse(nouveau, v);
    Pousse(ancien, v);
  }
  ASSERT_EQ(nouveau.size(), 36u);
  ASSERT_EQ(ancien.size(), 40u);
  const std::string suite = "\x01\x02\x03\x04";

  struct Case {
    int32_t niveau;
    std::string octets;
  };
  const Case cases[] = {{501, ancien}, {502, nouveau}, {511, nouveau}};
  for (const Case& c : cases) {
    GardeNiveauFichier garde;
    NiveauFichier().VersionFichierLue = c.niveau;
    TFluxMemoire f(c.octets + suite);
    TPointTopo p;
    ASSERT_TRUE(LitPtTopo(p, f)) << c.niveau;
    EXPECT_EQ(f.Position(), c.octets.size()) << c.niveau;
    EXPECT_EQ(p.Num, 4000000000u);
    EXPECT_EQ(p.X, 1.5);
    EXPECT_EQ(p.Y, -2.25);
    EXPECT_EQ(p.Z, 1e300);
    EXPECT_TRUE(p.SlH == 0 && std::signbit(p.SlH));
    // One byte short: failure, never a read past the end.
    TFluxMemoire court(c.octets.substr(0, c.octets.size() - 1));
    EXPECT_FALSE(LitPtTopo(p, court)) << c.niveau;
  }
}

TEST(PtTopoFlux, EcritureRelectureExacte) {
  GardeNiveauFichier garde;
  NiveauFichier().VersionFichierLue = ContexteNiveauFichier::VersionFichierCourante;
  TPointTopo p;
  p.Num = 123456;
  p.X = 0.1;
  p.Y = -987654.321;
  p.Z = std::nextafter(1.0, 2.0);
  p.SlH = -1;
  p.LatPt = 0.7;  // not stored
  TFluxMemoire f;
  ASSERT_TRUE(EcritPtTopo(p, f));
  EXPECT_EQ(f.Taille(), 36u);
  f.PlaceA(0);
  TPointTopo q;
  ASSERT_TRUE(LitPtTopo(q, f));
  EXPECT_EQ(q.Num, p.Num);
  EXPECT_EQ(q.X, p.X);
  EXPECT_EQ(q.Y, p.Y);
  EXPECT_EQ(q.Z, p.Z);
  EXPECT_EQ(q.SlH, p.SlH);
  EXPECT_EQ(q.LatPt, 0);
  // A full disk fails the write.
  TFluxMemoire plein;
  plein.FixeLimite(20);
  EXPECT_FALSE(EcritPtTopo(p, plein));
}

TEST(PtTopoFlux, ListesDePoints) {
  TPtTopoList l;
  TPointTopo p = Pt(1, 2);
  p.Z = 3;
  p.SlH = 4;
  p.Num = 8;
  l.AjoutePoint(p);
  l.AjoutePoint(5, 6);
  TPointTopo invalide = Pt(0, 0);
  invalide.SlH = -1;
  l.AjoutePoint(invalide);
  EXPECT_EQ(l.UnPtTopo(1).SlH, 5);  // usable in both planes
  EXPECT_EQ(l.UnPtTopo(1).Z, 6);
  EXPECT_TRUE(l.LePointValide(0));
  EXPECT_FALSE(l.LePointValide(2));
  EXPECT_FALSE(l.LePointValide(3));
  EXPECT_EQ(l.UnPtTopo(-1).SlH, -1);

  TFluxMemoire f;
  ASSERT_TRUE(l.EcritListe(f));
  EXPECT_EQ(f.Taille(), 4u + 3 * 36);
  f.PlaceA(0);
  TPtTopoList m;
  ASSERT_TRUE(m.LitListe(f));
  ASSERT_EQ(m.Count(), 3);
  EXPECT_EQ(m.UnPtTopo(0).X, 1);
  EXPECT_EQ(m.UnPtTopo(0).Z, 3);
  EXPECT_EQ(m.UnPtTopo(0).SlH, 4);
  EXPECT_EQ(m.UnPtTopo(1).Y, 6);

  TObjetPoint o;
  o.Num = 7;
  o.X = -100;
  o.Y = 2000000000;
  TFluxMemoire g;
  ASSERT_TRUE(o.EcritObjet(g));
  EXPECT_EQ(g.Octets(), std::string("\x07\x00\x00\x00\x9C\xFF\xFF\xFF\x00\x94\x35\x77", 12));
  g.PlaceA(0);
  TObjetPoint o2;
  ASSERT_TRUE(o2.LitObjet(g));
  EXPECT_EQ(o2.LePt(), (TPoint{-100, 2000000000}));
  EXPECT_EQ(o2.Num, 7u);
}

// --- Fitted transforms ------------------------------------------------------------------

namespace {

// Independent least-squares similarity X' = aX − bY + tx, Y' = bX + aY + ty:
// the normal equations NᵀN p = Nᵀl of the observation equations, solved by
// Gaussian elimination with partial pivoting (in extended precision: the
// coordinates are not centred, so the equations are poorly conditioned).
std::array<double, 4> SimilitudeEquationsNormales(const std::vector<TPointTopo>& src,
                                                  const std::vector<TPointTopo>& dst) {
  long double n[4][5] = {};
  auto observe = [&](const long double ligne[4], long double l) {
    for (int i = 0; i < 4; ++i) {
      for (int j = 0; j < 4; ++j) n[i][j] += ligne[i] * ligne[j];
      n[i][4] += ligne[i] * l;
    }
  };
  for (size_t k = 0; k < src.size(); ++k) {
    const long double lx[4] = {src[k].X, -src[k].Y, 1, 0};
    const long double ly[4] = {src[k].Y, src[k].X, 0, 1};
    observe(lx, dst[k].X);
    observe(ly, dst[k].Y);
  }
  for (int c = 0; c < 4; ++c) {
    int pivot = c;
    for (int r = c + 1; r < 4; ++r)
      if (std::fabs(n[r][c]) > std::fabs(n[pivot][c])) pivot = r;
    std::swap(n[c], n[pivot]);
    for (int r = 0; r < 4; ++r) {
      if (r == c) continue;
      const long double f = n[r][c] / n[c][c];
      for (int j = c; j < 5; ++j) n[r][j] -= f * n[c][j];
    }
  }
  std::array<double, 4> p;
  for (int i = 0; i < 4; ++i) p[static_cast<size_t>(i)] = static_cast<double>(n[i][4] / n[i][i]);
  return p;
}

}  // namespace

TEST(Helmert, UnePaireNeSuffitPas) {
  THelmert h;
  h.crHlmA = 0.5;  // a previous fit
  h.PointsImage.AjoutePoint(Pt(1, 2));
  h.PointsTerrain.AjoutePoint(Pt(10, 20));
  h.CalculeAdaptation();
  EXPECT_FALSE(h.HelmertOK);
  EXPECT_EQ(h.crHlmA, 0.5L);
}

TEST(Helmert, TranslationSeule) {
  THelmert h;
  h.CalculeAdaptation4Pts(Pt(0, 0), Pt(100, 50), Pt(1000, 2000), Pt(1100, 2050));
  ASSERT_TRUE(h.HelmertOK);
  EXPECT_NEAR(static_cast<double>(h.crHlmA), 1, 1e-15);
  EXPECT_NEAR(static_cast<double>(h.crHlmB), 0, 1e-15);
  EXPECT_NEAR(static_cast<double>(h.crX0), 1000, 1e-12);
  EXPECT_NEAR(static_cast<double>(h.crY0), 2000, 1e-12);
  EXPECT_NEAR(static_cast<double>(h.crHlmK1), 1, 1e-15);
  EXPECT_NEAR(static_cast<double>(h.crTheta1), 0, 1e-15);
}

TEST(Helmert, MoindresCarresContreEquationsNormales) {
  // A rotation of 30°, a scale of 2.5 and a shift, with a few centimetres of noise.
  const double a = 2.5 * std::cos(Pi / 6), b = 2.5 * std::sin(Pi / 6);
  const std::vector<TPointTopo> image = {Pt(10, 20), Pt(300, 40), Pt(250, 310), Pt(-40, 200), Pt(120, 130)};
  const double bruit[5][2] = {{0.03, -0.02}, {-0.05, 0.01}, {0.02, 0.04}, {-0.01, -0.03}, {0.04, 0.02}};
  std::vector<TPointTopo> terrain;
  THelmert h;
  for (size_t k = 0; k < image.size(); ++k) {
    const TPointTopo& p = image[k];
    terrain.push_back(Pt(a * p.X - b * p.Y + 851234.5 + bruit[k][0], b * p.X + a * p.Y + 6543210.25 + bruit[k][1]));
    h.PointsImage.AjoutePoint(p);
    h.PointsTerrain.AjoutePoint(terrain.back());
  }
  h.CalculeAdaptation();
  ASSERT_TRUE(h.HelmertOK);
  const auto attendu = SimilitudeEquationsNormales(image, terrain);
  EXPECT_NEAR(static_cast<double>(h.crHlmA), attendu[0], 1e-9);
  EXPECT_NEAR(static_cast<double>(h.crHlmB), attendu[1], 1e-9);
  EXPECT_NEAR(static_cast<double>(h.crX0), attendu[2], 1e-9);
  EXPECT_NEAR(static_cast<double>(h.crY0), attendu[3], 1e-9);
  EXPECT_EQ(h.crHlmC, h.crHlmB);
  EXPECT_EQ(h.crHlmD, h.crHlmA);
  EXPECT_NEAR(static_cast<double>(h.crHlmK1), 2.5, 1e-4);
  EXPECT_NEAR(static_cast<double>(h.crTheta1), Pi / 6, 1e-4);

  // The inverse brings a ground point back to its image point, rounded.
  const TPointTopo sol = h.PointTransfo(Pt(200, 100));
  const TPointTopo retour = h.TransfoInverse(sol);
  EXPECT_EQ(retour.X, 200);
  EXPECT_EQ(retour.Y, 100);
}

TEST(Helmert, QuartDeTourEtCasDegeneres) {
  // A quarter turn: the scale and angle are still those of the fit.
  THelmert q;
  q.CalculeAdaptation4Pts(Pt(0, 0), Pt(10, 0), Pt(0, 0), Pt(0, 20));
  ASSERT_TRUE(q.HelmertOK);
  EXPECT_NEAR(static_cast<double>(q.crHlmK1), 2, 1e-15);
  EXPECT_NEAR(static_cast<double>(q.crTheta1), Pi / 2, 1e-15);

  struct Case {
    const char* nom;
    TPointTopo i0, i1, t0, t1;
  };
  const Case cases[] = {
      {"points image confondus", Pt(5, 5), Pt(5, 5), Pt(0, 0), Pt(10, 10)},
      {"points terrain confondus", Pt(0, 0), Pt(10, 10), Pt(5, 5), Pt(5, 5)},
  };
  for (const Case& c : cases) {
    THelmert h;
    h.CalculeAdaptation4Pts(c.i0, c.i1, c.t0, c.t1);
    EXPECT_FALSE(h.HelmertOK) << c.nom;
    EXPECT_EQ(h.crHlmA, 0) << c.nom;
    EXPECT_EQ(h.TransfoInverse(Pt(3, 4)).SlH, -1) << c.nom;
  }
  // Lists of different lengths: the pairs without a partner take no part.
  THelmert h;
  h.PointsImage.AjoutePoint(Pt(0, 0));
  h.PointsImage.AjoutePoint(Pt(1, 0));
  h.PointsImage.AjoutePoint(Pt(9, 9));
  h.PointsTerrain.AjoutePoint(Pt(5, 5));
  h.PointsTerrain.AjoutePoint(Pt(6, 5));
  h.CalculeAdaptation();
  ASSERT_TRUE(h.HelmertOK);
  EXPECT_NEAR(static_cast<double>(h.crX0), 5, 1e-12);

  // A descendant that leaves a pair out.
  struct SansLeDernier : THelmert {
    bool LePointOK(int i) const override { return i < 2; }
  } s;
  s.CalculeAdaptation4Pts(Pt(0, 0), Pt(1, 0), Pt(5, 5), Pt(6, 5));
  s.PointsImage.AjoutePoint(Pt(100, 100));
  s.PointsTerrain.AjoutePoint(Pt(-500, 900));
  s.CalculeAdaptation();
  ASSERT_TRUE(s.HelmertOK);
  EXPECT_NEAR(static_cast<double>(s.crHlmA), 1, 1e-15);
  EXPECT_NEAR(static_cast<double>(s.crY0), 5, 1e-12);
}

TEST(TransfosDeuxPaires, SimilitudeTopoEtPoints) {
  // Source segment (0,0)-(10,0) onto (100,100)-(100,120): scale 2, quarter turn.
  const TObjetTransfoTopo t(Pt(0, 0), Pt(10, 0), Pt(100, 100), Pt(100, 120));
  EXPECT_NEAR(t.CoefA, 0, 1e-15);
  EXPECT_NEAR(t.CoefB, 2, 1e-15);
  TPointTopo p = Pt(5, 0);  // source midpoint onto target midpoint
  p.Z = 42;
  const TPointTopo r = t.TransfoTopo(p);
  EXPECT_EQ(r.X, 100);
  EXPECT_EQ(r.Y, 110);
  EXPECT_EQ(r.Z, 42);
  // Whole numbers, rounded half to even.
  const TPointTopo demi = t.TransfoTopo(Pt(3.25, 0.25));  // (99.5, 106.5)
  EXPECT_EQ(demi.X, 100);
  EXPECT_EQ(demi.Y, 106);
  const TPointTopo inv = t.TransfoTopoInverse(Pt(100, 120));
  EXPECT_EQ(inv.X, 10);
  EXPECT_EQ(inv.Y, 0);

  const TObjetTransfoPoint tp(TPoint{0, 0}, TPoint{1000, 0}, TPoint{0, 0}, TPoint{0, -1000});
  EXPECT_EQ(tp.TransfoPoint(TPoint{500, 250}), (TPoint{250, -500}));
  EXPECT_EQ(tp.TransfoPointInverse(TPoint{250, -500}), (TPoint{500, 250}));

  EXPECT_THROW(TObjetTransfoTopo(Pt(1, 1), Pt(1, 1), Pt(0, 0), Pt(5, 5)), ErreurTransfoDegeneree);
  EXPECT_THROW(TObjetTransfoTopo(Pt(0, 0), Pt(5, 5), Pt(1, 1), Pt(1, 1)), ErreurTransfoDegeneree);
  EXPECT_THROW(TObjetTransfoPoint(TPoint{3, 3}, TPoint{3, 3}, TPoint{0, 0}, TPoint{1, 1}), ErreurTransfoDegeneree);
}

TEST(TransfosDeuxPaires, Affine) {
  // Departure frame: a map; arrival frame: the same points turned by 90° and doubled.
  TAffine af;
  ASSERT_TRUE(af.CalculeCoeffsPt(Pt(0, 0), Pt(10, 0), Pt(100, 100), Pt(100, 120)));
  struct Case {
    TPointTopo dep;
    double x, y;
  };
  const Case cases[] = {{Pt(0, 0), 100, 100}, {Pt(10, 0), 100, 120}, {Pt(5, 5), 90, 110}};
  for (const Case& c : cases) {
    const TPointTopo r = af.PointTransfo(c.dep);
    EXPECT_NEAR(r.X, c.x, 1e-12) << c.dep.X << "," << c.dep.Y;
    EXPECT_NEAR(r.Y, c.y, 1e-12) << c.dep.X << "," << c.dep.Y;
  }
  TAffine coords;
  ASSERT_TRUE(coords.CalculeCoeffsCoords(0, 0, 10, 0, 100, 100, 100, 120));
  EXPECT_EQ(coords.CoefA, af.CoefA);
  EXPECT_EQ(coords.Yb, af.Yb);

  TAffine vide;
  EXPECT_FALSE(vide.CalculeCoeffsPt(Pt(0, 0), Pt(10, 0), Pt(4, 4), Pt(4, 4)));
  EXPECT_FALSE(vide.CalculeCoeffsPt(Pt(2, 2), Pt(2, 2), Pt(4, 4), Pt(5, 5)));
  EXPECT_EQ(vide.PointTransfo(Pt(1, 1)).SlH, -1);
}
