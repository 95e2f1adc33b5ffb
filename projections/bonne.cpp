#include "projections/bonne.h"

#include <cmath>

#include "projections/fabrique.h"

namespace projections {

void TBonne::VersGrille(double Lat, double Long, double& X, double& Y) {
  double a, e;
  ConstantesEllipsoide(a, e);
  const double phi0 = fPhi0.Valeur;
  const double rho = 1 / std::tan(phi0) + phi0 - Lat;
  const double E = std::cos(Lat) * (Long - fLanda0.Valeur) / rho;
  X = fXs + a * rho * std::sin(E);
  Y = fYs - a * rho * std::cos(E);
}

void TBonne::VersLatLong(double X, double Y, double& Lat, double& Long) {
  double a, e;
  ConstantesEllipsoide(a, e);
  const double phi0 = fPhi0.Valeur;
  const double signe = phi0 < 0 ? -1.0 : 1.0;
  const double x = (X - fXs) / a;
  const double y = -(Y - fYs) / a;
  const double rho = signe * std::hypot(x, y);
  const double E = std::atan2(signe * x, signe * y);
  Lat = 1 / std::tan(phi0) + phi0 - rho;
  Long = fLanda0.Valeur + rho * E / std::cos(Lat);
}

void EnregistreFamilleBonne() { EnregistreProjection("Bonne", ConstruitProjection<TBonne>); }

}  // namespace projections
