#include "foundation/point_topo.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/niveau_fichier.h"
#include "foundation/transformation_vue.h"
#include "foundation/utilitaires.h"

namespace foundation {

namespace {

constexpr double DeuxPi = 2 * std::numbers::pi;

}  // namespace

// --- Points -------------------------------------------------------------------

TPointTopo PtTopoXY(double X, double Y) {
  TPointTopo p;
  p.X = X;
  p.Y = Y;
  p.SlH = 0;
  return p;
}

void PointVersPtTopo(const TPoint& P, TPointTopo& R) {
  R.X = P.X;
  R.Y = P.Y;
}

void PtTopoVersAlti(TPointTopo& P) {
  P.X = P.SlH;
  P.Y = P.Z;
}

void PointSymetrique(const TPointTopo& A, const TPointTopo& B, TPointTopo& R) {
  R.X = 2 * B.X - A.X;
  R.Y = 2 * B.Y - A.Y;
}

void PointRayonne(const TPointTopo& P, double azimut, double distance, bool forcePlan, TPointTopo& R) {
  const double dx = distance * std::sin(azimut);
  const double dy = distance * std::cos(azimut);
  if (EstDessinAlti() && !forcePlan) {
    R.SlH = P.SlH + dx;
    R.Z = P.Z + dy;
  } else {
    R.X = P.X + dx;
    R.Y = P.Y + dy;
  }
}

double DegMinVersDegres(double& x) {
  const double s = x >= 0 ? 1 : -1;
  const double a = std::fabs(x);
  const double entier = std::trunc(a);
  x = entier + (a - entier) * 100 / 60;
  return s * x;
}

// --- Distances and azimuths -------------------------------------------------------

double DistanceXY(const TPointTopo& P1, const TPointTopo& P2) { return std::hypot(P2.X - P1.X, P2.Y - P1.Y); }

double DistanceAlti(const TPointTopo& P1, const TPointTopo& P2) { return std::hypot(P2.SlH - P1.SlH, P2.Z - P1.Z); }

double DistancePoints(const TPoint& P1, const TPoint& P2) {
  return std::hypot(static_cast<double>(P2.X) - P1.X, static_cast<double>(P2.Y) - P1.Y);
}

namespace {

double Azimut(double dx, double dy) {
  if (dy == 0) {
    if (dx == 0) return 0;
    return NormaliseAngle((dx > 0 ? 1 : -1) * std::numbers::pi / 2);
  }
  return NormaliseAngle(std::atan2(dx, dy));
}

}  // namespace

double AzimutXY(const TPointTopo& P1, const TPointTopo& P2) { return Azimut(P2.X - P1.X, P2.Y - P1.Y); }

double AzimutPoints(const TPoint& P1, const TPoint& P2) {
  return Azimut(static_cast<double>(P2.X) - P1.X, static_cast<double>(P2.Y) - P1.Y);
}

double AzimutAlti(const TPointTopo& P1, const TPointTopo& P2) {
  return NormaliseAngle(std::atan2(P2.SlH - P1.SlH, P2.Z - P1.Z));
}

double NormaliseAngle(double x) {
  if (!std::isfinite(x)) return std::isnan(x) ? x : std::numeric_limits<double>::quiet_NaN();
  // Far from the circle, stepping by 2π would never end (or take for ever).
  if (std::fabs(x) > 64 * DeuxPi) x = std::fmod(x, DeuxPi);
  while (x < 0) x += DeuxPi;
  while (x >= DeuxPi) x -= DeuxPi;
  return x;
}

// --- Lines and segments --------------------------------------------------------------

void IntersectionDroites(const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3, const TPointTopo& P4,
                         TPointTopo& R) {
  const double D = (P1.Y - P2.Y) * (P3.X - P4.X) - (P3.Y - P4.Y) * (P1.X - P2.X);
  if (D == 0) {
    R.SlH = -1;
    return;
  }
  const double O = P3.X * P4.Y - P4.X * P3.Y;
  const double Q = P1.X * P2.Y - P2.X * P1.Y;
  R.SlH = 1;
  R.X = ((P1.X - P2.X) * O - (P3.X - P4.X) * Q) / D;
  R.Y = ((P1.Y - P2.Y) * O - (P3.Y - P4.Y) * Q) / D;
}

void PiedPerpendiculaire(const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3, TPointTopo& R) {
  TPointTopo P4 = P3;
  PointRayonne(P3, AzimutXY(P1, P2) + std::numbers::pi / 2, 10000, true, P4);
  IntersectionDroites(P1, P2, P3, P4, R);
}

bool EstSurSegment(const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3) {
  return DistanceXY(P1, P3) + DistanceXY(P2, P3) <= 1.001 * DistanceXY(P1, P2);
}

namespace {

int Position(double d12, double d13, double d23) {
  if (d12 >= d13 && d12 >= d23) return 0;
  return d13 < d23 ? 1 : 2;
}

}  // namespace

int PositionSurSegment(const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3) {
  if (EstDessinAlti()) return Position(DistanceAlti(P1, P2), DistanceAlti(P1, P3), DistanceAlti(P2, P3));
  return Position(DistanceXY(P1, P2), DistanceXY(P1, P3), DistanceXY(P2, P3));
}

double DistancePointSegment(const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3) {
  TPointTopo A = P1, B = P2, C = P3;
  if (EstDessinAlti()) {
    // Everything below then works on X, Y: the elevation plane of the points.
    PtTopoVersAlti(A);
    PtTopoVersAlti(B);
    PtTopoVersAlti(C);
  }
  TPointTopo pied = C;
  PiedPerpendiculaire(A, B, C, pied);
  if (pied.SlH == 1 && Position(DistanceXY(A, B), DistanceXY(A, pied), DistanceXY(B, pied)) == 0)
    return DistanceXY(C, pied);
  return std::min(DistanceXY(C, A), DistanceXY(C, B));
}

void IntersectionVerticaleAlti(const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3, TPointTopo& R) {
  if (P1.SlH == P2.SlH) {
    R.SlH = ValeurIndefinie;
    R.Z = ValeurIndefinie;
    return;
  }
  R.SlH = P3.SlH;
  R.Z = P1.Z + (P3.SlH - P1.SlH) * (P2.Z - P1.Z) / (P2.SlH - P1.SlH);
}

// --- Rectangles -----------------------------------------------------------------------

namespace {

bool RectVide(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

// The window system's union: an empty rectangle does not count.
bool UnionRect(TRect& d, const TRect& a, const TRect& b) {
  if (RectVide(a)) {
    if (RectVide(b)) {
      d = TRect{};
      return false;
    }
    d = b;
    return true;
  }
  if (RectVide(b)) {
    d = a;
    return true;
  }
  d = TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
  return true;
}

bool IntersectRect(TRect& d, const TRect& a, const TRect& b) {
  if (RectVide(a) || RectVide(b) || a.Left >= b.Right || b.Left >= a.Right || a.Top >= b.Bottom ||
      b.Top >= a.Bottom) {
    d = TRect{};
    return false;
  }
  d = TRect{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
  return true;
}

bool PointDans(int32_t x, int32_t y, const TRect& r) {
  return x >= std::min(r.Left, r.Right) && x < std::max(r.Left, r.Right) && y >= std::min(r.Top, r.Bottom) &&
         y < std::max(r.Top, r.Bottom);
}

}  // namespace

TRect RetourneRectY(const TRect& R) { return TRect{R.Left, R.Bottom, R.Right, R.Top}; }

void UnionRectY(const TRect& A, const TRect& B, TRect& R) {
  TRect u;
  UnionRect(u, RetourneRectY(A), RetourneRectY(B));
  R = RetourneRectY(u);
}

bool IntersectionRectY(TRect& R, const TRect& A, const TRect& B) {
  TRect i;
  const bool r = IntersectRect(i, RetourneRectY(A), RetourneRectY(B));
  R = RetourneRectY(i);
  return r;
}

bool RectDansRect(const TRect& A, const TRect& B) {
  return PointDans(A.Left, A.Top, B) && PointDans(A.Right, A.Bottom, B);
}

int64_t SurfaceRect(const TRect& R) {
  const __int128 s = static_cast<__int128>(static_cast<int64_t>(R.Top) - R.Bottom) *
                     (static_cast<int64_t>(R.Right) - R.Left);
  return static_cast<int64_t>(std::clamp<__int128>(s, std::numeric_limits<int64_t>::min(),
                                                   std::numeric_limits<int64_t>::max()));
}

void InitMinMax(double& Min1, double& Min2, double& Max1, double& Max2) {
  Min1 = Min2 = ValeurIndefiniePositive;
  Max1 = Max2 = ValeurIndefinie;
}

void MajMinMax(double& Min, double& Max, double x) {
  if (x < Min) Min = x;
  if (x > Max) Max = x;
}

// --- Map transforms -----------------------------------------------------------------------

bool CalculeTransEch(const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3, const TPointTopo& P4,
                     TTransEch& T) {
  T = TTransEch{};
  T[0] = (P1.X + P2.X) / 2;
  T[1] = (P1.Y + P2.Y) / 2;
  T[2] = (P3.X + P4.X) / 2;
  T[3] = (P3.Y + P4.Y) / 2;
  const double l = DistanceXY(P1, P2);
  if (l == 0 || !std::isfinite(l)) {
    T[4] = 1;
    return false;
  }
  T[4] = DistanceXY(P3, P4) / l;
  return true;
}

void AppliqueTransEch(const TPointTopo& P, const TTransEch& T, TPointTopo& R) {
  R.X = (P.X - T[0]) * T[4] + T[2];
  R.Y = (P.Y - T[1]) * T[4] + T[3];
}

void AppliqueMatrice(const TPointTopo& P, const TMatrice& M, TPointTopo& R) {
  const double x = P.X, y = P.Y;
  R.X = M[0] * x + M[2] * y + M[4];
  R.Y = M[1] * x + M[3] * y + M[5];
}

// --- Persistence ------------------------------------------------------------------------------

bool EcritPtTopo(const TPointTopo& P, TFlux& f) {
  return f.EcritInteger(static_cast<int32_t>(P.Num)) && f.EcritReal(P.X) && f.EcritReal(P.Y) && f.EcritReal(P.Z) &&
         f.EcritReal(P.SlH);
}

bool LitPtTopo(TPointTopo& P, TFlux& f) {
  if (NiveauFichier().VersionFichierLue < 502) {
    // The whole record as it lay in memory: Num, padding, X, Y, Z, SlH.
    unsigned char bloc[40];
    if (f.Lit(bloc, sizeof bloc) != sizeof bloc) return false;
    std::memcpy(&P.Num, bloc, 4);
    std::memcpy(&P.X, bloc + 8, 8);
    std::memcpy(&P.Y, bloc + 16, 8);
    std::memcpy(&P.Z, bloc + 24, 8);
    std::memcpy(&P.SlH, bloc + 32, 8);
    return true;
  }
  int32_t num = 0;
  if (!f.LitInteger(num)) return false;
  P.Num = static_cast<uint32_t>(num);
  return f.LitReal(P.X) && f.LitReal(P.Y) && f.LitReal(P.Z) && f.LitReal(P.SlH);
}

bool TObjetPoint::EcritObjet(TFlux& f) {
  InitES(f);
  return EcrisInteger(static_cast<int32_t>(Num)) && EcrisInteger(X) && EcrisInteger(Y);
}

bool TObjetPoint::LitObjet(TFlux& f) {
  InitES(f);
  int32_t num = 0;
  const bool r = LisInteger(num) && LisInteger(X) && LisInteger(Y);
  Num = static_cast<uint32_t>(num);
  return r;
}

TPointTopo TObjetTopo::PtTopo() const {
  TPointTopo p;
  p.Num = Num;
  p.X = X;
  p.Y = Y;
  p.Z = Z;
  p.SlH = SlH;
  return p;
}

bool TObjetTopo::EcritObjet(TFlux& f) {
  InitES(f);
  return EcrisInteger(static_cast<int32_t>(Num)) && EcrisReal(X) && EcrisReal(Y) && EcrisReal(Z) && EcrisReal(SlH);
}

bool TObjetTopo::LitObjet(TFlux& f) {
  InitES(f);
  int32_t num = static_cast<int32_t>(Num);
  const bool r = LisInteger(num) && LisReal(X) && LisReal(Y) && LisReal(Z) && LisReal(SlH);
  Num = static_cast<uint32_t>(num);
  return r;
}

TPointTopo TPtTopoList::UnPtTopo(int i) const {
  const TObjetTopo* o = UnObjet(i);
  if (o == nullptr) {
    TPointTopo p;
    p.SlH = -1;
    return p;
  }
  return o->PtTopo();
}

void TPtTopoList::AjoutePoint(const TPointTopo& UnPt) {
  auto o = std::make_unique<TObjetTopo>();
  o->X = UnPt.X;
  o->Y = UnPt.Y;
  o->Z = UnPt.Z;
  o->SlH = UnPt.SlH;
  Add(std::move(o));
}

void TPtTopoList::AjoutePoint(double X, double Y) {
  auto o = std::make_unique<TObjetTopo>();
  o->X = X;
  o->Y = Y;
  o->SlH = X;
  o->Z = Y;
  Add(std::move(o));
}

bool TPtTopoList::LePointValide(int i) const {
  const TObjetTopo* o = UnObjet(i);
  return o != nullptr && o->SlH != -1;
}

// --- Fitted transforms ---------------------------------------------------------------------------

namespace {

// Least-squares similarity between two pairs of points: the centres of the
// pairs (u1,v1)-(u2,v2) and (x1,y1)-(x2,y2) and the sums of the centred
// coordinates that give its coefficients.
struct SommesSimilitude {
  double xU, yU, xX, yX;
  double S = 0, T = 0, P = 0, Q = 0;

  SommesSimilitude(double u1, double v1, double u2, double v2, double x1, double y1, double x2, double y2)
      : xU((u1 + u2) / 2), yU((v1 + v2) / 2), xX((x1 + x2) / 2), yX((y1 + y2) / 2) {
    const double paires[2][4] = {{u1, v1, x1, y1}, {u2, v2, x2, y2}};
    for (const auto& k : paires) {
      const double a = k[0] - xU, b = k[1] - yU, c = k[2] - xX, d = k[3] - yX;
      S += a * a + b * b;
      T += c * c + d * d;
      P += a * c + b * d;
      Q += a * d - b * c;
    }
  }

  // False when a pair's points coincide or a sum overflowed.
  bool Valide() const { return S > 0 && T > 0 && std::isfinite(S) && std::isfinite(T); }
};

}  // namespace

TObjetTransfoTopo::TObjetTransfoTopo(const TPointTopo& PtLDeb, const TPointTopo& PtLFin, const TPointTopo& PtADeb,
                                     const TPointTopo& PtAFin) {
  Calcule(PtLDeb.X, PtLDeb.Y, PtLFin.X, PtLFin.Y, PtADeb.X, PtADeb.Y, PtAFin.X, PtAFin.Y);
}

void TObjetTransfoTopo::Calcule(double lDebX, double lDebY, double lFinX, double lFinY, double aDebX, double aDebY,
                                double aFinX, double aFinY) {
  const SommesSimilitude m(lDebX, lDebY, lFinX, lFinY, aDebX, aDebY, aFinX, aFinY);
  if (!m.Valide()) throw ErreurTransfoDegeneree(Msg(IdMsg::TransfoPointsConfondus));
  CoefA = m.P / m.S;
  CoefB = m.Q / m.S;
  Xb = m.xX - CoefA * m.xU + CoefB * m.yU;
  Yb = m.yX - CoefB * m.xU - CoefA * m.yU;
}

TPointTopo TObjetTransfoTopo::TransfoTopo(const TPointTopo& Pt) const {
  TPointTopo r = Pt;
  r.X = static_cast<double>(Arrondi64(CoefA * Pt.X - CoefB * Pt.Y + Xb));
  r.Y = static_cast<double>(Arrondi64(CoefB * Pt.X + CoefA * Pt.Y + Yb));
  return r;
}

TPointTopo TObjetTransfoTopo::TransfoTopoInverse(const TPointTopo& Pt) const {
  const double n = CoefA * CoefA + CoefB * CoefB;
  TPointTopo r = Pt;
  r.X = static_cast<double>(Arrondi64(((Pt.X - Xb) * CoefA + (Pt.Y - Yb) * CoefB) / n));
  r.Y = static_cast<double>(Arrondi64(((Pt.Y - Yb) * CoefA - (Pt.X - Xb) * CoefB) / n));
  return r;
}

TObjetTransfoPoint::TObjetTransfoPoint(const TPoint& PtLDeb, const TPoint& PtLFin, const TPoint& PtADeb,
                                       const TPoint& PtAFin) {
  Calcule(PtLDeb.X, PtLDeb.Y, PtLFin.X, PtLFin.Y, PtADeb.X, PtADeb.Y, PtAFin.X, PtAFin.Y);
}

TPoint TObjetTransfoPoint::TransfoPoint(const TPoint& Pt) const {
  const double x = Pt.X, y = Pt.Y;
  return TPoint{Arrondi(CoefA * x - CoefB * y + Xb), Arrondi(CoefB * x + CoefA * y + Yb)};
}

TPoint TObjetTransfoPoint::TransfoPointInverse(const TPoint& Pt) const {
  const double n = CoefA * CoefA + CoefB * CoefB;
  const double x = Pt.X - Xb, y = Pt.Y - Yb;
  return TPoint{Arrondi((x * CoefA + y * CoefB) / n), Arrondi((y * CoefA - x * CoefB) / n)};
}

bool TAffine::CalculeCoeffsPt(const TPointTopo& Pt1Dep, const TPointTopo& Pt2Dep, const TPointTopo& Pt1Arr,
                              const TPointTopo& Pt2Arr) {
  return CalculeCoeffsCoords(Pt1Dep.X, Pt1Dep.Y, Pt2Dep.X, Pt2Dep.Y, Pt1Arr.X, Pt1Arr.Y, Pt2Arr.X, Pt2Arr.Y);
}

bool TAffine::CalculeCoeffsCoords(double X1Dep, double Y1Dep, double X2Dep, double Y2Dep, double X1Arr,
                                  double Y1Arr, double X2Arr, double Y2Arr) {
  const SommesSimilitude m(X1Arr, Y1Arr, X2Arr, Y2Arr, X1Dep, Y1Dep, X2Dep, Y2Dep);
  if (!m.Valide()) return false;
  CoefA = m.P / m.S;
  CoefB = m.Q / m.S;
  CoefC = CoefB;
  CoefD = CoefA;
  Xb = m.xX - m.xU * CoefA + m.yU * CoefB;
  Yb = m.yX - m.xU * CoefB - m.yU * CoefA;
  return true;
}

TPointTopo TAffine::PointTransfo(const TPointTopo& Pt) const {
  TPointTopo r = Pt;
  const double det = CoefD * CoefA + CoefB * CoefC;
  if (det == 0) {
    r.SlH = -1;
    return r;
  }
  r.X = (CoefD * (Pt.X - Xb) + CoefB * (Pt.Y - Yb)) / det;
  r.Y = (CoefC * (Xb - Pt.X) - CoefA * (Yb - Pt.Y)) / det;
  return r;
}

void THelmert::CalculeAdaptation() {
  // Pairs beyond the shorter list have no partner and take no part.
  const int nombre = std::min(PointsTerrain.Count(), PointsImage.Count());
  long double sxi = 0, syi = 0, sxt = 0, syt = 0;
  int n = 0;
  for (int i = 0; i < nombre; ++i) {
    if (!LePointOK(i)) continue;
    const TObjetTopo& img = *PointsImage[i];
    const TObjetTopo& ter = *PointsTerrain[i];
    sxi += img.X;
    syi += img.Y;
    sxt += ter.X;
    syt += ter.Y;
    ++n;
  }
  if (n <= 1) {
    HelmertOK = false;
    return;
  }
  const long double xi = sxi / n, yi = syi / n, xt = sxt / n, yt = syt / n;
  long double S = 0, T = 0, Pa = 0, Pb = 0;
  for (int i = 0; i < nombre; ++i) {
    if (!LePointOK(i)) continue;
    const TObjetTopo& img = *PointsImage[i];
    const TObjetTopo& ter = *PointsTerrain[i];
    const long double dxi = img.X - xi, dyi = img.Y - yi, dxt = ter.X - xt, dyt = ter.Y - yt;
    S += dxi * dxi + dyi * dyi;
    T += dxt * dxt + dyt * dyt;
    Pa += dxt * dxi + dyt * dyi;
    Pb += dyt * dxi - dxt * dyi;
  }
  // All image points in one place give no direction and no scale; all ground
  // points in one place give a transform that cannot be inverted.
  if (!(S > 0) || !(T > 0) || !std::isfinite(S) || !std::isfinite(T)) {
    HelmertOK = false;
    return;
  }
  crHlmA = Pa / S;
  crHlmB = Pb / S;
  crTheta1 = std::atan2(crHlmB, crHlmA);
  crTheta2 = crTheta1;
  crHlmK1 = std::hypot(crHlmA, crHlmB);
  crHlmC = crHlmB;
  crHlmD = crHlmA;
  crHlmK2 = crHlmK1;
  crX0 = xt - crHlmA * xi + crHlmB * yi;
  crY0 = yt - crHlmC * xi - crHlmD * yi;
  HelmertOK = true;
}

void THelmert::CalculeAdaptation4Pts(const TPointTopo& PointDessin0, const TPointTopo& PointDessin1,
                                     const TPointTopo& PointTerrain0, const TPointTopo& PointTerrain1) {
  PointsImage.AjoutePoint(PointDessin0);
  PointsImage.AjoutePoint(PointDessin1);
  PointsTerrain.AjoutePoint(PointTerrain0);
  PointsTerrain.AjoutePoint(PointTerrain1);
  CalculeAdaptation();
}

TPointTopo THelmert::PointTransfo(const TPointTopo& PointImage) const {
  TPointTopo r = PointImage;
  const long double x = PointImage.X, y = PointImage.Y;
  r.X = static_cast<double>(crHlmA * x - crHlmB * y + crX0);
  r.Y = static_cast<double>(crHlmC * x + crHlmD * y + crY0);
  return r;
}

TPointTopo THelmert::TransfoInverse(const TPointTopo& Pt) const {
  TPointTopo r = Pt;
  const long double n = crHlmA * crHlmA + crHlmB * crHlmB;
  if (n == 0) {
    r.SlH = -1;
    return r;
  }
  const long double x = Pt.X - crX0, y = Pt.Y - crY0;
  r.X = static_cast<double>(Arrondi64(static_cast<double>((x * crHlmA + y * crHlmB) / n)));
  r.Y = static_cast<double>(Arrondi64(static_cast<double>((y * crHlmA - x * crHlmB) / n)));
  return r;
}

}  // namespace foundation
