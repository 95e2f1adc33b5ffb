#include "projections/relevement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "projections/datum.h"
#include "projections/geodesie.h"

namespace projections {

namespace {
constexpr double kPi = std::numbers::pi;
double Scalaire(const TVecteur& u, const TVecteur& v) { return u.x * v.x + u.y * v.y + u.z * v.z; }
}  // namespace

double Relevement(double phi1, double lambda1, double phi2, double lambda2, double e) {
  // The chord from point 1 to point 2 on an ellipsoid of unit semi-major axis,
  // read in the horizon of point 1: its north and east axes are both
  // perpendicular to the ellipsoid's normal there.  (Measuring in the plane
  // perpendicular to the geocentric radius instead tilts the north axis by the
  // difference between geodetic and geocentric latitude and makes every
  // bearing about 1e-5 of itself too large.)
  TVecteur p1, p2;
  GeographiqueVersCartesien(lambda1, phi1, 0, 1.0, e, p1.x, p1.y, p1.z);
  GeographiqueVersCartesien(lambda2, phi2, 0, 1.0, e, p2.x, p2.y, p2.z);
  const TVecteur d{p2.x - p1.x, p2.y - p1.y, p2.z - p1.z};
  const TVecteur nord{-std::sin(phi1) * std::cos(lambda1), -std::sin(phi1) * std::sin(lambda1), std::cos(phi1)};
  const TVecteur est{-std::sin(lambda1), std::cos(lambda1), 0};
  return std::atan2(Scalaire(d, est), Scalaire(d, nord));
}

double DistanceAngulaire(double phi1, double lambda1, double phi2, double lambda2, double r) {
  return r * std::acos(std::cos(phi1) * std::cos(lambda1) * std::cos(phi2) * std::cos(lambda2) +
                       std::cos(phi1) * std::sin(lambda1) * std::cos(phi2) * std::sin(lambda2) +
                       std::sin(phi1) * std::sin(phi2));
}

void EmpriseAutourDuCentre(double phiC, double lambdaC, double d, double r, double& phiMin, double& phiMax,
                           double& lambdaMin, double& lambdaMax) {
  const double delta = d / r;
  phiMin = phiC - delta;
  phiMax = phiC + delta;
  if (phiMin <= -kPi / 2 || phiMax >= kPi / 2) {
    lambdaMin = -kPi;
    lambdaMax = kPi;
    if (phiMin <= -kPi / 2) phiMin = -kPi / 2;
    if (phiMax >= kPi / 2) phiMax = kPi / 2;
  } else {
    const double dl = std::asin(std::sin(delta) / std::cos(phiC));
    lambdaMin = lambdaC - dl;
    lambdaMax = lambdaC + dl;
  }
}

void EmpriseLatLong(const TDatum& datum, double latTopLeft, double longTopLeft, double latTopRight,
                    double longTopRight, double latBottomLeft, double longBottomLeft, double latBottomRight,
                    double longBottomRight, double& phiMin, double& phiMax, double& lambdaMin, double& lambdaMax) {
  const double lat[4] = {latTopLeft, latTopRight, latBottomLeft, latBottomRight};
  const double lon[4] = {longTopLeft, longTopRight, longBottomLeft, longBottomRight};
  TVecteur somme;
  for (int k = 0; k < 4; ++k) {
    TVecteur p;
    GeographiqueVersCartesien(lon[k], lat[k], 0, AWGS84, EWGS84, p.x, p.y, p.z);
    somme.x += p.x / 4;
    somme.y += p.y / 4;
    somme.z += p.z / 4;
  }
  double lambdaC, phiC, h;
  CartesienVersGeographique(somme.x, somme.y, somme.z, AWGS84, EWGS84, lambdaC, phiC, h);
  const double rayonWGS84 = (6378137.0 + 6335439.0) / 2;
  double d = 0;
  for (int k = 0; k < 4; ++k) d = std::max(d, DistanceAngulaire(phiC, lambdaC, lat[k], lon[k], rayonWGS84));
  double phi, lambda;
  datum.DepuisWGS84(phiC, lambdaC, phi, lambda);
  const double a = datum.Ellipsoide->a;
  const double r = (a + datum.Ellipsoide->b()) / 2;
  EmpriseAutourDuCentre(phi, lambda, d, r, phiMin, phiMax, lambdaMin, lambdaMax);
}

}  // namespace projections
