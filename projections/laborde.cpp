#include "projections/laborde.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "projections/angles.h"
#include "projections/fabrique.h"
#include "projections/geodesie.h"

namespace projections {

namespace {
constexpr double kPi = std::numbers::pi;
}  // namespace

// --- TLaborde ---------------------------------------------------------------------------

void TLaborde::FixeLaborde(const std::string& LandaC, double n1, double n2, double c, double Xs, double Ys) {
  const double landa = TexteVersAngle(LandaC);
  fn1 = n1;
  fn2 = n2;
  fc = c;
  fXs = Xs;
  fYs = Ys;
  fLandaC = {LandaC, landa};
}

void TLaborde::VersGrille(double Lat, double Long, double& X, double& Y) {
  double a, e;
  ConstantesEllipsoide(a, e);
  GaussLabordeDirect(Long, Lat, e, fLandaC.Valeur, fn1, fn2, fc, fXs, fYs, X, Y);
}

void TLaborde::VersLatLong(double X, double Y, double& Lat, double& Long) {
  double a, e;
  ConstantesEllipsoide(a, e);
  GaussLabordeInverse(X, Y, e, fLandaC.Valeur, fn1, fn2, fc, fXs, fYs, Long, Lat);
}

// --- The user-parameterised kinds -----------------------------------------------------------

void TLaborde_courbure::DeriveSphere(double a, double e, double phi0) {
  double n1, c, n2, ys;
  ParametresLabordeCourbure(a, fk0, e, phi0, fY0, n1, c, n2, ys);
  FixeLaborde(fLanda0.Texte, n1, n2, c, fX0, ys);
}

void TLaborde_equatoriale::DeriveSphere(double a, double e, double phi0) {
  double n2;
  ParametresLabordeEquatoriale(a, fk0, e, phi0, n2);
  FixeLaborde(fLanda0.Texte, 1, n2, 0, fX0, fY0);
}

void TLaborde_bitan::DeriveSphere(double a, double e, double phi0) {
  double n2, c;
  ParametresLabordeBitangente(a, fk0, e, phi0, n2, c);
  FixeLaborde(fLanda0.Texte, 1, n2, c, fX0, fY0);
}

// --- Laborde oblique ---------------------------------------------------------------------

void TLabordeOblic::Prepare(double& e) {
  double a;
  ConstantesEllipsoide(a, e);
  if (fReady && e == old_e && a == old_a) return;
  const double e2 = e * e;
  const double s0 = std::sin(fPhi0.Valeur);
  const double c0 = std::cos(fPhi0.Valeur);
  r = fk0 * a * std::sqrt(1 - e2) / (1 - e2 * s0 * s0);
  phisl = std::atan(std::sqrt((1 - e2) / (1 - e2 * s0 * s0)) * std::tan(fPhi0.Valeur));
  alpha = std::sqrt(1 + c0 * c0 * c0 * c0 * e2 / (1 - e2));
  fchi0 = std::sqrt(std::pow((1 - e * s0) / (1 + e * s0), e) * (1 + s0) / (1 - s0));
  acon = (1 - std::cos(2 * fTheta0.Valeur)) / 12;
  bcon = std::sin(2 * fTheta0.Valeur) / 12;
  old_e = e;
  old_a = a;
  fReady = true;
}

void TLabordeOblic::VersGrille(double Lat, double Long, double& X, double& Y) {
  double e;
  Prepare(e);
  const double s = std::sin(Lat);
  const double T = std::sqrt(std::pow((1 - e * s) / (1 + e * s), e) * (1 + s) / (1 - s));
  const double psi = 2 * std::atan(std::tan(kPi / 4 + phisl / 2) * std::pow(T / fchi0, alpha)) - kPi / 2;
  const double grandLambda = (Long - fLanda0.Valeur) * alpha;
  const double w = std::cos(psi) * std::sin(grandLambda);
  const double h = 0.5 * std::log((1 + w) / (1 - w));
  const double t = std::atan(std::tan(psi) / std::cos(grandLambda)) - phisl;
  const double m = h * (3 * t * t - h * h);
  const double o = t * (t * t - 3 * h * h);
  X = fX0 + r * (h + acon * m + bcon * o);
  Y = fY0 + r * (t - bcon * m + acon * o);
}

void TLabordeOblic::VersLatLong(double X, double Y, double& Lat, double& Long) {
  double e;
  Prepare(e);
  const double xb = (X - fX0) / r, yb = (Y - fY0) / r;
  double h = xb, t = yb;
  for (int k = 0; k < IterationsMax; ++k) {
    const double m = h * (3 * t * t - h * h);
    const double o = t * (t * t - 3 * h * h);
    const double F1 = h + acon * m + bcon * o - xb;
    const double F2 = t - bcon * m + acon * o - yb;
    const double P = 3 * (t * t - h * h);
    const double Q = 6 * h * t;
    const double a11 = 1 + acon * P - bcon * Q;
    const double a12 = bcon * P + acon * Q;
    const double delta = a11 * a11 + a12 * a12;
    const double dh = -(F1 * a11 - F2 * a12) / delta;
    const double dt = -(F2 * a11 + F1 * a12) / delta;
    h += dh;
    t += dt;
    if (std::fabs(dh) + std::fabs(dt) < 1e-5 / r) break;
  }
  const double E = std::exp(h);
  const double sPsi = std::sin(t + phisl) / ((E + 1 / E) / 2);
  const double psi = std::atan(sPsi / std::sqrt(std::fabs(1 - sPsi * sPsi)));
  Long = fLanda0.Valeur + std::atan(((E - 1 / E) / 2) / std::cos(t + phisl)) / alpha;
  const double K = std::pow(std::tan(kPi / 4 + psi / 2) / std::tan(kPi / 4 + phisl / 2), 1 / alpha) * fchi0;
  double phi = psi;
  for (int k = 0; k < IterationsMax; ++k) {
    const double s = e * std::sin(phi);
    const double delta = 2 * std::atan(std::pow((1 + s) / (1 - s), e / 2) * K) - kPi / 2 - phi;
    phi += delta;
    if (std::fabs(delta) < 1e-15) break;
  }
  Lat = std::isfinite(phi) ? phi : std::numeric_limits<double>::quiet_NaN();
}

void EnregistreFamilleLaborde() {
  EnregistreProjection("Gauss Laborde", ConstruitProjection<TLaborde>);
  EnregistreProjection("Gauss Laborde Courbure", ConstruitProjection<TLaborde_courbure>);
  EnregistreProjection("Gauss Laborde Equatoriale", ConstruitProjection<TLaborde_equatoriale>);
  EnregistreProjection("Gauss Laborde Bitangente", ConstruitProjection<TLaborde_bitan>);
  EnregistreProjection("Gauss Laborde Oblique", ConstruitProjection<TLabordeOblic>);
}

}  // namespace projections
