#include "projections/suisse_oblique.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "projections/fabrique.h"
#include "projections/geodesie.h"
#include "projections/suisse.h"

namespace projections {

namespace {
constexpr double kPi = std::numbers::pi;
}  // namespace

// The Gauss sphere of the centre: radius R, longitude ratio alpha, sphere
// latitude b0 of the centre, and the constant K of the latitude mapping.
struct TRosenmund::TSphere {
  double e, R, alpha, b0, K;
};

TRosenmund::TSphere TRosenmund::Sphere() const {
  double a, e;
  ConstantesEllipsoide(a, e);
  const double phi0 = fPhi0.Valeur;
  TSphere s;
  s.e = e;
  s.R = RayonSphereGauss(phi0, e, a);
  s.alpha = CoefficientAlpha(phi0, e);
  s.b0 = std::asin(std::sin(phi0) / s.alpha);
  s.K = LatIsoSphere(s.b0) - s.alpha * LatIsoSphere(phi0) + TermeExcentricite(phi0, s.alpha, e);
  return s;
}

void TRosenmund::VersGrille(double Lat, double Long, double& X, double& Y) {
  const TSphere s = Sphere();
  const double S = s.alpha * LatIsoSphere(Lat) - TermeExcentricite(Lat, s.alpha, s.e) + s.K;
  const double b = 2 * (std::atan(std::exp(S)) - kPi / 4);
  const double l = s.alpha * (Long - fLanda0.Valeur);
  const double lBarre = std::atan(std::sin(l) / (std::sin(s.b0) * std::tan(b) + std::cos(s.b0) * std::cos(l)));
  const double bBarre = std::asin(std::cos(s.b0) * std::sin(b) - std::sin(s.b0) * std::cos(b) * std::cos(l));
  X = fXs + s.R * lBarre;
  Y = fYs + s.R / 2 * std::log((1 + std::sin(bBarre)) / (1 - std::sin(bBarre)));
}

void TRosenmund::VersLatLong(double X, double Y, double& Lat, double& Long) {
  const TSphere s = Sphere();
  const double lBarre = (X - fXs) / s.R;
  const double bBarre = 2 * (std::atan(std::exp((Y - fYs) / s.R)) - kPi / 4);
  const double b = std::asin(std::cos(s.b0) * std::sin(bBarre) + std::sin(s.b0) * std::cos(bBarre) * std::cos(lBarre));
  const double l = std::atan(std::sin(lBarre) / (std::cos(s.b0) * std::cos(lBarre) - std::sin(s.b0) * std::tan(bBarre)));
  Long = fLanda0.Valeur + l / s.alpha;
  const double base = (LatIsoSphere(b) - s.K) / s.alpha;
  double phi = b;
  for (int k = 0; k < IterationsMax; ++k) {
    const double suivant = 2 * std::atan(std::exp(base + s.e * std::atanh(s.e * std::sin(phi)))) - kPi / 2;
    const bool fini = std::fabs(phi - suivant) < ToleranceIteration;
    phi = suivant;
    if (fini) break;
  }
  Lat = std::isfinite(phi) ? phi : std::numeric_limits<double>::quiet_NaN();
}

void EnregistreFamilleSuisse() { EnregistreProjection("Gauss Rosenmund", ConstruitProjection<TRosenmund>); }

}  // namespace projections
