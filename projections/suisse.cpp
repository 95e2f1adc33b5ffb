#include "projections/suisse.h"

#include <cmath>
#include <numbers>

namespace projections {

double LatIsoSphere(double phi) { return std::asinh(std::tan(phi)); }  // ln tan(pi/4 + phi/2)

double TermeExcentricite(double phi, double alpha, double e) {
  const double s = e * std::sin(phi);
  return alpha * e / 2 * std::log((1 + s) / (1 - s));
}

double RayonSphereGauss(double phi, double e, double a) {
  const double e2 = e * e;
  const double s = std::sin(phi);
  return a * std::sqrt(1 - e2) / (1 - e2 * s * s);
}

double CoefficientAlpha(double phi, double e) {
  const double e2 = e * e;
  const double c = std::cos(phi);
  return std::sqrt(1 + e2 * c * c * c * c / (1 - e2));
}

}  // namespace projections
