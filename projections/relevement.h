#pragma once
// Bearings, great-circle distances and the latitude/longitude box that covers
// a map frame.  Angles in radians.
namespace projections {

class TDatum;

// Bearing at point 1 towards point 2, clockwise from north, on an ellipsoid of
// eccentricity e.
double Relevement(double phi1, double lambda1, double phi2, double lambda2, double e);
// Distance along the great circle of a sphere of radius r.
double DistanceAngulaire(double phi1, double lambda1, double phi2, double lambda2, double r);
// The box of a cap of distance d around a centre; every longitude when the cap
// reaches a pole.
void EmpriseAutourDuCentre(double phiC, double lambdaC, double d, double r, double& phiMin, double& phiMax,
                           double& lambdaMin, double& lambdaMax);
// The box, in the datum's geographic coordinates, of the cap around the centre
// of four WGS84 corners that holds them all.
void EmpriseLatLong(const TDatum& datum, double latTopLeft, double longTopLeft, double latTopRight,
                    double longTopRight, double latBottomLeft, double longBottomLeft, double latBottomRight,
                    double longBottomRight, double& phiMin, double& phiMax, double& lambdaMin, double& lambdaMax);

}  // namespace projections
