#include "projections/mercator_sphere.h"

#include <cmath>
#include <numbers>

#include "projections/fabrique.h"

namespace projections {

namespace {
constexpr double kPi = std::numbers::pi;
}  // namespace

void RameneAngle(double& x) {
  const double q = std::trunc(x / kPi);
  if (q > 0)
    x -= 2 * std::trunc((q + 1) / 2) * kPi;
  else if (q < 0)
    x -= 2 * std::trunc((q - 1) / 2) * kPi;
}

void TMercator_sphere::VersGrille(double Lat, double Long, double& X, double& Y) {
  double a, e;
  ConstantesEllipsoide(a, e);
  double dLambda = Long - fLanda0.Valeur;
  RameneAngle(dLambda);
  X = fXs + a * dLambda;
  Y = fYs + a * std::log(std::tan(kPi / 4 + Lat / 2));
}

void TMercator_sphere::VersLatLong(double X, double Y, double& Lat, double& Long) {
  double a, e;
  ConstantesEllipsoide(a, e);
  Long = fLanda0.Valeur + (X - fXs) / a;
  RameneAngle(Long);
  Lat = kPi / 2 - 2 * std::atan(std::exp(-(Y - fYs) / a));
}

void EnregistreFamilleMercatorSphere() {
  EnregistreProjection("Mercator sur sphère", ConstruitProjection<TMercator_sphere>);
}

}  // namespace projections
