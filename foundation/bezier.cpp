#include "foundation/bezier.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "platform/dialogs.h"

namespace foundation {

void PointBezier(const TPoint& P0, const TPoint& P1, const TPoint& P2, const TPoint& P3, float t, TPoint& R) {
  const float u = 1.0f - t;
  const float w0 = u * u * u;
  const float w1 = 3.0f * t * u * u;
  const float w2 = 3.0f * t * t * u;
  const float w3 = t * t * t;
  auto produit = [](float w, int32_t c) { return static_cast<double>(static_cast<float>(w * static_cast<double>(c))); };
  R.X = Arrondi(produit(w0, P0.X) + produit(w1, P1.X) + produit(w2, P2.X) + produit(w3, P3.X));
  R.Y = Arrondi(produit(w0, P0.Y) + produit(w1, P1.Y) + produit(w2, P2.Y) + produit(w3, P3.Y));
}

namespace {

int32_t Borne32(int64_t v) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t CoordonneeControle(int64_t p, int64_t s, int64_t o, int64_t k) {
  const int64_t r = p - ((o - p) * k) / 100;
  const int64_t m = (p + r) / 2;
  const int64_t h = (s + p) / 2;
  return Borne32((m + h) / 2);
}

}  // namespace

TPoint PointControle(const TPoint& P, const TPoint& S, const TPoint& O, int32_t k) {
  return TPoint{CoordonneeControle(P.X, S.X, O.X, k), CoordonneeControle(P.Y, S.Y, O.Y, k)};
}

void LisseBezier(std::span<TPoint> chemin, int N, int32_t k) {
  if (N % 3 != 1)
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information,
                                             Msg(IdMsg::NombrePointsBezierIncorrect));
  N = std::min<int64_t>(N, static_cast<int64_t>(chemin.size()));
  // Fewer than 4 points hold no control point between two anchors.
  if (N < 4) return;
  auto pt = [&](int i) -> TPoint& { return chemin[static_cast<size_t>(i)]; };
  const int L = N - 1;
  for (int i = 1; i <= L / 3 - 1; ++i) {
    const TPoint ancre = pt(3 * i);
    pt(3 * i - 1) = PointControle(ancre, pt(3 * i - 3), pt(3 * i + 3), k);
    pt(3 * i + 1) = PointControle(ancre, pt(3 * i + 3), pt(3 * i - 3), k);
  }
  if (pt(0) == pt(L)) {
    pt(1) = PointControle(pt(0), pt(3), pt(L - 3), k);
    pt(L - 1) = PointControle(pt(L), pt(L - 3), pt(3), k);
  } else {
    pt(1) = pt(0);
    pt(L - 1) = pt(L);
  }
}

TPointTopo Milieu(const TPointTopo& A, const TPointTopo& B) {
  TPointTopo m;
  m.X = (A.X + B.X) / 2;
  m.Y = (A.Y + B.Y) / 2;
  return m;
}

void DirectionUnitaire(const TPointTopo& A, const TPointTopo& B, bool& nul, TPointTopo& vecteur) {
  const double dx = B.X - A.X, dy = B.Y - A.Y;
  const double l = std::hypot(dx, dy);
  nul = l == 0;
  vecteur.X = nul ? 0 : dx / l;
  vecteur.Y = nul ? 0 : dy / l;
}

namespace {

// The flattening works on bare coordinates; the lists are filled once at the end.
struct PtXY {
  double X, Y;
};

constexpr double DistanceMinBezier = 0.005;
constexpr double ToleranceAlignement = 0.005;

PtXY Mi(PtXY a, PtXY b) { return PtXY{(a.X + b.X) / 2, (a.Y + b.Y) / 2}; }

// Lengths by the square root of the sum of squares (hypot is several times
// slower); hypot only where the squares overflow.
double Longueur(double dx, double dy) {
  const double c = dx * dx + dy * dy;
  return std::isinf(c) ? std::hypot(dx, dy) : std::sqrt(c);
}

bool Proches(PtXY a, PtXY b) { return Longueur(b.X - a.X, b.Y - a.Y) < DistanceMinBezier; }

PtXY Direction(PtXY a, PtXY b, bool& nul) {
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double l = Longueur(dx, dy);
  nul = l == 0;
  return nul ? PtXY{0, 0} : PtXY{dx / l, dy / l};
}

double Scalaire(PtXY a, PtXY b) { return a.X * b.X + a.Y * b.Y; }

bool Plat(PtXY p0, PtXY p1, PtXY p2, PtXY p3) {
  bool nul1, nul2, nul3;
  const PtXY u1 = Direction(p0, p1, nul1);
  const PtXY u2 = Direction(p1, p2, nul2);
  const PtXY u3 = Direction(p2, p3, nul3);
  if (nul2) return std::fabs(1 - Scalaire(u1, u3)) < ToleranceAlignement;
  return std::fabs(2 - (Scalaire(u1, u2) + Scalaire(u2, u3))) < ToleranceAlignement;
}

bool Fini(PtXY p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

void Subdivise(PtXY p0, PtXY p1, PtXY p2, PtXY p3, int profondeur, std::vector<PtXY>& sortie) {
  if (!Fini(p0) || !Fini(p1) || !Fini(p2) || !Fini(p3)) return;
  if (Proches(p0, p1) || Proches(p0, p3) || Proches(p2, p3)) return;
  if (profondeur >= ProfondeurMaxBezier || Plat(p0, p1, p2, p3)) {
    sortie.push_back(p0);
    return;
  }
  const PtXY a = Mi(p0, p1), b = Mi(p1, p2), c = Mi(p2, p3);
  const PtXY d = Mi(a, b), e = Mi(b, c);
  const PtXY f = Mi(d, e);
  Subdivise(p0, a, d, f, profondeur + 1, sortie);
  Subdivise(f, e, c, p3, profondeur + 1, sortie);
}

PtXY XY(const TPointTopo& p) { return PtXY{p.X, p.Y}; }

void Ajoute(const std::vector<PtXY>& points, TPtTopoList& destination) {
  for (const PtXY& p : points) destination.AjoutePoint(p.X, p.Y);
}

}  // namespace

bool EstPlat(const TPointTopo& P0, const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3) {
  return Plat(XY(P0), XY(P1), XY(P2), XY(P3));
}

void SubdiviseBezier(const TPointTopo& P0, const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3,
                     TPtTopoList& destination, int profondeur) {
  std::vector<PtXY> points;
  Subdivise(XY(P0), XY(P1), XY(P2), XY(P3), profondeur, points);
  Ajoute(points, destination);
}

void BezierVersPolyligne(const TPtTopoList& source, TPtTopoList& destination) {
  destination.Clear();
  const int n = source.Count();
  if (n == 0) return;
  if (n >= 4) {
    std::vector<PtXY> pts;
    pts.reserve(static_cast<size_t>(n));
    for (const TObjetTopo* o : source) pts.push_back(PtXY{o->X, o->Y});
    // A first control point on its anchor would drop the whole first segment.
    if (pts[1].X == pts[0].X && pts[1].Y == pts[0].Y) pts[0].Y += 0.1;
    std::vector<PtXY> sortie;
    sortie.reserve(static_cast<size_t>(n) * 4);
    for (int a = 3; a < n; a += 3)
      Subdivise(pts[static_cast<size_t>(a - 3)], pts[static_cast<size_t>(a - 2)], pts[static_cast<size_t>(a - 1)],
                pts[static_cast<size_t>(a)], 0, sortie);
    Ajoute(sortie, destination);
  }
  destination.AjoutePoint(source.UnPtTopo(n - 1));
}

void BezierQuadVersPolyligne(const TPtTopoList& source, TPtTopoList& destination) {
  destination.Clear();
  const int n = source.Count();
  if (n == 0) return;
  for (int i = 0; i + 2 < n; i += 2) {
    const TObjetTopo& P = *source[i];
    const TObjetTopo& Q = *source[i + 1];
    const TObjetTopo& R = *source[i + 2];
    for (int j = 0; j <= 20; ++j) {
      const double t = j * 0.05;
      const double u = 1 - t;
      destination.AjoutePoint(u * u * P.X + 2 * t * u * Q.X + t * t * R.X, u * u * P.Y + 2 * t * u * Q.Y + t * t * R.Y);
    }
  }
  destination.AjoutePoint(source.UnPtTopo(n - 1));
}

}  // namespace foundation
