#pragma once
// Auxiliary formulas of the Swiss oblique conformal cylinder (Gauss sphere).
// Angles in radians, e the first eccentricity, a the semi-major axis.
namespace projections {

// ln tan(pi/4 + phi/2).
double LatIsoSphere(double phi);
// (alpha e / 2) ln((1 + e sin phi) / (1 - e sin phi)).
double TermeExcentricite(double phi, double alpha, double e);
// Radius of the Gauss sphere osculating at phi: a sqrt(1 - e2) / (1 - e2 sin2 phi).
double RayonSphereGauss(double phi, double e, double a);
// Ratio of sphere to ellipsoid longitudes: sqrt(1 + e2 cos4 phi / (1 - e2)).
double CoefficientAlpha(double phi, double e);

}  // namespace projections
