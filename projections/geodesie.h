#pragma once
// The numerical kernel of the projection library: isometric latitude, the
// Lambert conformal conic, geographic and geocentric coordinates, the
// seven-parameter similarity, the meridian arc and the transverse Mercator
// series, the Gauss-Laborde and oblique stereographic mappings through an
// intermediate sphere, and the constants of each family.
//
// Angles are radians (longitude positive east, latitude positive north),
// lengths metres; an ellipsoid is given by its semi-major axis a and its first
// eccentricity e.  The conversions do not test their input: a point outside a
// formula's domain gives NaN or an infinity.  The constants of a family
// refuse the parameters no system can be set up from (EReglageImpossible).
// Every iteration stops when two successive values differ by less than 1e-11
// and after IterationsMax steps at the most, so that a non-finite input
// returns NaN instead of looping.
namespace projections {

inline constexpr int IterationsMax = 100;
inline constexpr double ToleranceIteration = 1e-11;
// Two standard parallels closer than this (radians) are one; PROJ's EPS10.
inline constexpr double ToleranceParalleles = 1e-10;

// --- Isometric latitude --------------------------------------------------------
double LatitudeIsometrique(double phi, double e);
double LatitudeDepuisIsometrique(double l, double e);
// Radius of curvature in the prime vertical, a / sqrt(1 - e2 sin2 phi).
double GrandeNormale(double phi, double a, double e);

// --- Lambert conformal conic ------------------------------------------------------
void LambertDirect(double lambda, double phi, double n, double c, double e, double lambdaC, double xs, double ys,
                   double& x, double& y);
void LambertInverse(double x, double y, double n, double c, double e, double lambdaC, double xs, double ys,
                    double& lambda, double& phi);
void ParametresLambertTangent(double a, double e, double phi0, double k0, double y0, double& n, double& c, double& ys);
// The cone through the standard parallels phi1 and phi2, tangent to phi1 when
// they are equal (within ToleranceParalleles).  Raises EReglageImpossible when
// phi1 = -phi2 or when a parallel lies beyond a pole.
void ParametresLambertSecant(double a, double e, double phi0, double phi1, double phi2, double y0, double& n,
                             double& c, double& ys);

// --- Geographic and geocentric coordinates ---------------------------------------
void GeographiqueVersCartesien(double lambda, double phi, double h, double a, double e, double& x, double& y,
                               double& z);
void CartesienVersGeographique(double x, double y, double z, double a, double e, double& lambda, double& phi,
                               double& h);

// --- Seven-parameter similarity (translations in metres, d the scale change
// as a plain fraction, rotations in radians) -------------------------------------
void Similitude7Params(double tx, double ty, double tz, double d, double rx, double ry, double rz, double x, double y,
                       double z, double& x2, double& y2, double& z2);
// First-order inverse; exact when d and the rotations are zero.
void Similitude7ParamsInverseApprochee(double tx, double ty, double tz, double d, double rx, double ry, double rz,
                                       double x2, double y2, double z2, double& x, double& y, double& z);
void Similitude7ParamsInverse(double tx, double ty, double tz, double d, double rx, double ry, double rz, double x2,
                              double y2, double z2, double& x, double& y, double& z);

// --- Meridian arc and transverse Mercator -----------------------------------------
struct TCoefficients5 {
  double C[5];
};
TCoefficients5 CoefficientsArcMeridien(double e);
// Meridian arc from the equator on an ellipsoid of unit semi-major axis.
double ArcMeridien(double phi, double e);
TCoefficients5 CoefficientsMercatorTransverse(double e);
TCoefficients5 CoefficientsMercatorTransverseInverse(double e);
void ParametresMercatorTransverse(double a, double k0, double e, double phi0, double y0, double& n, double& ys);
void MercatorTransverseDirect(double lambda, double phi, double e, double n, double lambdaC, double xs, double ys,
                              double& x, double& y);
void MercatorTransverseInverse(double x, double y, double e, double n, double lambdaC, double xs, double ys,
                               double& lambda, double& phi);

// --- Through an intermediate sphere ------------------------------------------------
void GaussLabordeDirect(double lambda, double phi, double e, double lambdaC, double n1, double n2, double c, double xs,
                        double ys, double& x, double& y);
void GaussLabordeInverse(double x, double y, double e, double lambdaC, double n1, double n2, double c, double xs,
                         double ys, double& lambda, double& phi);
void StereographiqueDirect(double lambda, double phi, double e, double lambdaC, double phiC, double n1, double n2,
                           double c, double xs, double ys, double& x, double& y);
void StereographiqueInverse(double x, double y, double e, double lambdaC, double phiC, double n1, double n2, double c,
                            double xs, double ys, double& lambda, double& phi);
void ParametresSphereCourbure(double a, double k0, double e, double phi0, double& n1, double& c, double& n2);
void ParametresSphereEquatoriale(double a, double k0, double e, double phi0, double& n2, double& chi0);
void ParametresSphereBitangente(double a, double k0, double e, double phi0, double& n2, double& c);
void ParametresLabordeCourbure(double a, double k0, double e, double phi0, double y0, double& n1, double& c,
                               double& n2, double& ys);
void ParametresLabordeEquatoriale(double a, double k0, double e, double phi0, double& n2);
void ParametresLabordeBitangente(double a, double k0, double e, double phi0, double& n2, double& c);

// --- Unit vectors ---------------------------------------------------------------------
struct TVecteur {
  double x = 0, y = 0, z = 0;
};
TVecteur VecteurUnitaire(double lambda, double phi);
void VecteurVersAngles(const TVecteur& v, double& lambda, double& phi);
TVecteur RotationAutourY(const TVecteur& v, double t);
void NormaliseVecteur(TVecteur& v);

}  // namespace projections
