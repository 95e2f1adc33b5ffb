#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "foundation/bezier.h"
#include "platform/scripted_dialogs.h"

using namespace foundation;

namespace {

const std::string MessageNombre = "Incorrect number of points (nx3)+1";

TPtTopoList Liste(const std::vector<std::pair<double, double>>& points) {
  TPtTopoList l;
  for (auto [x, y] : points) l.AjoutePoint(x, y);
  return l;
}

// The cubic evaluated directly, in doubles.
std::pair<double, double> Cubique(const double p[4][2], double t) {
  const double u = 1 - t;
  const double w[4] = {u * u * u, 3 * t * u * u, 3 * t * t * u, t * t * t};
  double x = 0, y = 0;
  for (int i = 0; i < 4; ++i) {
    x += w[i] * p[i][0];
    y += w[i] * p[i][1];
  }
  return {x, y};
}

// Distance from (x, y) to the curve: a coarse scan, then a ternary search.
double DistanceACourbe(const double p[4][2], double x, double y) {
  auto d = [&](double t) {
    const auto [cx, cy] = Cubique(p, t);
    return std::hypot(cx - x, cy - y);
  };
  double meilleur = 0;
  for (int i = 1; i <= 1000; ++i)
    if (d(i / 1000.0) < d(meilleur)) meilleur = i / 1000.0;
  double a = std::max(0.0, meilleur - 1e-3), b = std::min(1.0, meilleur + 1e-3);
  for (int i = 0; i < 200; ++i) {
    const double m1 = a + (b - a) / 3, m2 = b - (b - a) / 3;
    if (d(m1) < d(m2))
      b = m2;
    else
      a = m1;
  }
  return d((a + b) / 2);
}

}  // namespace

TEST(Bezier, PointBezier) {
  const TPoint p0{0, 0}, p1{0, 1000}, p2{1000, 1000}, p3{1000, 0};
  TPoint r;
  PointBezier(p0, p1, p2, p3, 0, r);
  EXPECT_EQ(r, p0);
  PointBezier(p0, p1, p2, p3, 1, r);
  EXPECT_EQ(r, p3);
  PointBezier(p0, p1, p2, p3, 0.5f, r);
  EXPECT_EQ(r, (TPoint{500, 750}));
  // Weight 1/8 on P0 alone: exact halves round to even.
  struct Case {
    int32_t x, attendu;
  };
  const Case cases[] = {{4, 0}, {12, 2}, {20, 2}, {28, 4}, {-4, 0}};
  for (const Case& c : cases) {
    PointBezier(TPoint{c.x, 0}, TPoint{}, TPoint{}, TPoint{}, 0.5f, r);
    EXPECT_EQ(r.X, c.attendu) << c.x;
  }
}

TEST(Bezier, PointControle) {
  // Divisions truncated toward zero, separately for X and Y.
  EXPECT_EQ(PointControle(TPoint{-3, 7}, TPoint{-10, 0}, TPoint{5, 2}, 33), (TPoint{-5, 5}));
  // Full tension: close to P + (S − O) / 4.
  EXPECT_EQ(PointControle(TPoint{1000, 1000}, TPoint{0, 0}, TPoint{2000, 0}, 100), (TPoint{500, 1000}));
  // Far coordinates do not overflow.
  const TPoint loin = PointControle(TPoint{2000000000, -2000000000}, TPoint{2100000000, -2100000000},
                                    TPoint{-2100000000, 2100000000}, 100);
  EXPECT_GT(loin.X, 2000000000);
  EXPECT_LT(loin.Y, -2000000000);
}

TEST(Bezier, LisseCheminOuvert) {
  platform::ScriptedDialogs d;
  platform::ScopedDialogs g(d);
  std::vector<TPoint> c = {{0, 0}, {-1, -1}, {-1, -1}, {1000, 1000}, {-1, -1}, {-1, -1}, {2000, 0}};
  LisseBezier(c, 7, 100);
  EXPECT_TRUE(d.Log().empty());
  EXPECT_EQ(c[1], c[0]);
  EXPECT_EQ(c[5], c[6]);
  // Controls 2 and 4 from anchor 3: the tangent at the summit is level.
  EXPECT_EQ(c[2], (TPoint{500, 1000}));
  EXPECT_EQ(c[4], (TPoint{1500, 1000}));
  EXPECT_EQ(c[3], (TPoint{1000, 1000}));
}

TEST(Bezier, LisseCheminFerme) {
  std::vector<TPoint> c(10);
  c[0] = c[9] = TPoint{0, 0};
  c[3] = TPoint{1000, 0};
  c[6] = TPoint{500, 800};
  LisseBezier(c, 10, 80);
  EXPECT_EQ(c[1], PointControle(c[0], c[3], c[6], 80));
  EXPECT_EQ(c[8], PointControle(c[9], c[6], c[3], 80));
  EXPECT_EQ(c[2], PointControle(c[3], c[0], c[6], 80));
  EXPECT_EQ(c[7], PointControle(c[6], c[9], c[3], 80));
}

TEST(Bezier, LisseNombreIncorrect) {
  platform::ScriptedDialogs d;
  platform::ScopedDialogs g(d);
  std::vector<TPoint> c = {{0, 0}, {5, 5}, {9, 9}, {1000, 1000}, {7, 7}, {2000, 0}};
  LisseBezier(c, 6, 100);
  EXPECT_EQ(d.Messages(), std::vector<std::string>{MessageNombre});
  // Still smoothed: the end controls sit on the end anchors.
  EXPECT_EQ(c[1], c[0]);
  EXPECT_EQ(c[4], c[5]);

  // Too few points, or a count beyond the array: nothing read or written out of range.
  struct Case {
    int taille, N;
    bool message;
  };
  const Case cases[] = {{0, 0, true}, {1, 1, false}, {2, 2, true}, {3, 3, true}, {3, 7, false}, {5, 8, true}};
  for (const Case& k : cases) {
    d.Clear();
    std::vector<TPoint> p(static_cast<size_t>(k.taille));
    for (int i = 0; i < k.taille; ++i) p[static_cast<size_t>(i)] = TPoint{i * 10, i * i};
    const std::vector<TPoint> avant = p;
    LisseBezier(p, k.N, 100);
    EXPECT_EQ(d.Messages().size(), k.message ? 1u : 0u) << k.taille << "/" << k.N;
    if (k.taille < 4) {
      EXPECT_EQ(p, avant) << k.taille << "/" << k.N;
    }
  }
}

TEST(Bezier, SegmentDroitEtPointsSurLaCourbe) {
  TPtTopoList dest;
  BezierVersPolyligne(Liste({{0, 0}, {1, 0}, {2, 0}, {3, 0}}), dest);
  ASSERT_EQ(dest.Count(), 2);
  EXPECT_EQ(dest.UnPtTopo(0).X, 0);
  EXPECT_EQ(dest.UnPtTopo(1).X, 3);

  const double seg[2][4][2] = {{{0, 0}, {1000, 3000}, {4000, 3000}, {5000, 0}},
                               {{5000, 0}, {6000, -3000}, {9000, -1000}, {9000, 2000}}};
  TPtTopoList src;
  src.AjoutePoint(0, 0);
  for (const auto& s : seg)
    for (int i = 1; i < 4; ++i) src.AjoutePoint(s[i][0], s[i][1]);
  BezierVersPolyligne(src, dest);
  ASSERT_GT(dest.Count(), 10);
  EXPECT_EQ(dest.UnPtTopo(dest.Count() - 1).X, 9000);
  EXPECT_EQ(dest.UnPtTopo(dest.Count() - 1).Y, 2000);
  for (int i = 0; i < dest.Count(); ++i) {
    const TPointTopo p = dest.UnPtTopo(i);
    const double e = std::min(DistanceACourbe(seg[0], p.X, p.Y), DistanceACourbe(seg[1], p.X, p.Y));
    EXPECT_LE(e, 1.0) << "sommet " << i << " (" << p.X << ", " << p.Y << ")";
  }
  // The polyline follows the curve: no point of the curve far from it.
  double ecart = 0;
  for (const auto& s : seg)
    for (int k = 0; k <= 400; ++k) {
      const auto [x, y] = Cubique(s, k / 400.0);
      double m = INFINITY;
      for (int i = 0; i + 1 < dest.Count(); ++i) {
        const TPointTopo a = dest.UnPtTopo(i), b = dest.UnPtTopo(i + 1);
        const double dx = b.X - a.X, dy = b.Y - a.Y, l2 = dx * dx + dy * dy;
        const double t = l2 == 0 ? 0 : std::clamp(((x - a.X) * dx + (y - a.Y) * dy) / l2, 0.0, 1.0);
        m = std::min(m, std::hypot(a.X + t * dx - x, a.Y + t * dy - y));
      }
      ecart = std::max(ecart, m);
    }
  EXPECT_LT(ecart, 20);
}

TEST(Bezier, SegmentsParticuliers) {
  TPtTopoList dest;
  // The first control on its anchor: the first segment is flattened as if its
  // first point were 0.1 higher (else all of it would be dropped); the source
  // is left alone.
  const TPtTopoList src = Liste({{0, 0}, {0, 0}, {2000, 1000}, {3000, 0}});
  BezierVersPolyligne(src, dest);
  TPtTopoList leve;
  BezierVersPolyligne(Liste({{0, 0.1}, {0, 0}, {2000, 1000}, {3000, 0}}), leve);
  ASSERT_GE(dest.Count(), 3);
  ASSERT_EQ(dest.Count(), leve.Count());
  for (int i = 0; i < dest.Count(); ++i) {
    EXPECT_EQ(dest.UnPtTopo(i).X, leve.UnPtTopo(i).X) << i;
    EXPECT_EQ(dest.UnPtTopo(i).Y, leve.UnPtTopo(i).Y) << i;
  }
  EXPECT_EQ(src.UnPtTopo(0).Y, 0);

  // A second control on its end anchor drops that segment: straight on to the last point.
  TPtTopoList un;
  BezierVersPolyligne(Liste({{0, 0}, {1000, 3000}, {4000, 3000}, {5000, 0}}), un);
  TPtTopoList deux;
  BezierVersPolyligne(Liste({{0, 0}, {1000, 3000}, {4000, 3000}, {5000, 0}, {6000, -3000}, {8000, 0}, {8000, 0}}),
                      deux);
  ASSERT_EQ(deux.Count(), un.Count());
  EXPECT_EQ(deux.UnPtTopo(deux.Count() - 1).X, 8000);
  for (int i = 0; i + 1 < un.Count(); ++i) EXPECT_EQ(deux.UnPtTopo(i).X, un.UnPtTopo(i).X) << i;

  // 0 or 1 point: copied as they are.
  BezierVersPolyligne(TPtTopoList(), dest);
  EXPECT_EQ(dest.Count(), 0);
  TPtTopoList seul;
  TPointTopo p = PtTopoXY(3, 4);
  p.Z = 9;
  seul.AjoutePoint(p);
  BezierVersPolyligne(seul, dest);
  ASSERT_EQ(dest.Count(), 1);
  EXPECT_EQ(dest.UnPtTopo(0).Y, 4);
  EXPECT_EQ(dest.UnPtTopo(0).Z, 9);
}

TEST(Bezier, SubdivisionBornee) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  TPtTopoList dest;
  SubdiviseBezier(PtTopoXY(0, 0), PtTopoXY(nan, 5), PtTopoXY(10, 10), PtTopoXY(20, 0), dest);
  EXPECT_EQ(dest.Count(), 0);
  SubdiviseBezier(PtTopoXY(0, 0), PtTopoXY(INFINITY, 5), PtTopoXY(10, 10), PtTopoXY(20, 0), dest);
  EXPECT_EQ(dest.Count(), 0);
  // A bad segment in a path: the others are still flattened.
  BezierVersPolyligne(Liste({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {INFINITY, 0}, {5, 0}, {6, 0}}), dest);
  ASSERT_EQ(dest.Count(), 2);
  EXPECT_EQ(dest.UnPtTopo(1).X, 6);

  // At the deepest level a curved piece is taken as straight: its start only.
  const TPointTopo p0 = PtTopoXY(0, 0), p1 = PtTopoXY(1000, 3000), p2 = PtTopoXY(4000, 3000), p3 = PtTopoXY(5000, 0);
  ASSERT_FALSE(EstPlat(p0, p1, p2, p3));
  dest.Clear();
  SubdiviseBezier(p0, p1, p2, p3, dest, ProfondeurMaxBezier);
  ASSERT_EQ(dest.Count(), 1);
  EXPECT_EQ(dest.UnPtTopo(0).X, 0);
  dest.Clear();
  SubdiviseBezier(p0, p1, p2, p3, dest, ProfondeurMaxBezier - 1);
  ASSERT_EQ(dest.Count(), 2);
  EXPECT_EQ(dest.UnPtTopo(1).X, 2500);  // the halving point
  EXPECT_EQ(dest.UnPtTopo(1).Y, 2250);
}

TEST(Bezier, Quadratique) {
  TPtTopoList dest;
  BezierQuadVersPolyligne(Liste({{0, 0}, {1000, 2000}, {2000, 0}}), dest);
  ASSERT_EQ(dest.Count(), 22);
  EXPECT_EQ(dest.UnPtTopo(0).X, 0);
  EXPECT_NEAR(dest.UnPtTopo(10).X, 1000, 1e-9);
  EXPECT_NEAR(dest.UnPtTopo(10).Y, 1000, 1e-9);
  EXPECT_EQ(dest.UnPtTopo(10).SlH, dest.UnPtTopo(10).X);
  EXPECT_EQ(dest.UnPtTopo(10).Z, dest.UnPtTopo(10).Y);
  EXPECT_NEAR(dest.UnPtTopo(20).X, 2000, 1e-9);
  EXPECT_EQ(dest.UnPtTopo(21).X, 2000);

  struct Case {
    int points, attendu;
  };
  const Case cases[] = {{0, 0}, {1, 1}, {2, 1}, {4, 22}, {5, 43}};
  for (const Case& c : cases) {
    TPtTopoList s;
    for (int i = 0; i < c.points; ++i) s.AjoutePoint(i * 100, (i % 2) * 100);
    BezierQuadVersPolyligne(s, dest);
    EXPECT_EQ(dest.Count(), c.attendu) << c.points;
  }
}
