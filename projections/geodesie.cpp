#include "projections/geodesie.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "foundation/catalogue.h"
#include "projections/complexes.h"
#include "projections/erreur_projection.h"
#include "projections/suisse.h"

namespace projections {

namespace {
constexpr double kPi = std::numbers::pi;
}

// --- Isometric latitude --------------------------------------------------------

// ln[tan(pi/4 + phi/2) ((1 - e sin phi)/(1 + e sin phi))^(e/2)], written with
// asinh and atanh so that it is exactly 0 on the equator and keeps its digits
// near it.
double LatitudeIsometrique(double phi, double e) {
  return std::asinh(std::tan(phi)) - e * std::atanh(e * std::sin(phi));
}

double LatitudeDepuisIsometrique(double l, double e) {
  const double expL = std::exp(l);
  double phi = 2 * std::atan(expL) - kPi / 2;
  for (int k = 0; k < IterationsMax; ++k) {
    const double s = e * std::sin(phi);
    const double suivant = 2 * std::atan(std::pow((1 + s) / (1 - s), e / 2) * expL) - kPi / 2;
    if (std::fabs(phi - suivant) < ToleranceIteration) return suivant;
    phi = suivant;
  }
  return std::isfinite(phi) ? phi : std::numeric_limits<double>::quiet_NaN();
}

double GrandeNormale(double phi, double a, double e) {
  const double s = std::sin(phi);
  return a / std::sqrt(1 - e * e * s * s);
}

// --- Lambert conformal conic ------------------------------------------------------

void LambertDirect(double lambda, double phi, double n, double c, double e, double lambdaC, double xs, double ys,
                   double& x, double& y) {
  const double l = LatitudeIsometrique(phi, e);
  const double r = c * std::exp(-n * l);
  const double gamma = n * (lambda - lambdaC);
  x = xs + r * std::sin(gamma);
  y = ys - r * std::cos(gamma);
}

void LambertInverse(double x, double y, double n, double c, double e, double lambdaC, double xs, double ys,
                    double& lambda, double& phi) {
  const double dx = x - xs;
  const double dy = y - ys;
  const double r = std::sqrt(dx * dx + dy * dy);
  const double gamma = std::atan(dx / -dy);
  lambda = lambdaC + gamma / n;
  const double l = -(1 / n) * std::log(std::fabs(r / c));
  phi = LatitudeDepuisIsometrique(l, e);
}

void ParametresLambertTangent(double a, double e, double phi0, double k0, double y0, double& n, double& c, double& ys) {
  const double n0 = GrandeNormale(phi0, a, e);
  n = std::sin(phi0);
  const double r0 = k0 * n0 / std::tan(phi0);
  c = r0 * std::exp(n * LatitudeIsometrique(phi0, e));
  ys = y0 + r0;
}

void ParametresLambertSecant(double a, double e, double phi0, double phi1, double phi2, double y0, double& n,
                             double& c, double& ys) {
  if (std::fabs(phi1) > kPi / 2 || std::fabs(phi2) > kPi / 2)
    throw EReglageImpossible(foundation::Msg(foundation::IdMsg::ProjLatitudeAuDelaDuPole));
  // Symmetric parallels give a cylinder (n = 0), not a cone.
  if (std::fabs(phi1 + phi2) < ToleranceParalleles)
    throw EReglageImpossible(foundation::Msg(foundation::IdMsg::ProjParallelesOpposes));
  const double n2 = GrandeNormale(phi2, a, e);
  const double l2 = LatitudeIsometrique(phi2, e);
  if (std::fabs(phi1 - phi2) < ToleranceParalleles) {
    // One parallel twice: the cone tangent to it.
    n = std::sin(phi2);
  } else {
    const double n1 = GrandeNormale(phi1, a, e);
    const double l1 = LatitudeIsometrique(phi1, e);
    n = std::log(n1 * std::cos(phi1) / (n2 * std::cos(phi2))) / (l2 - l1);
  }
  c = (n2 * std::cos(phi2) / n) * std::exp(n * l2);
  if (std::fabs(phi0 - kPi / 2) < ToleranceIteration)
    ys = y0;
  else
    ys = y0 + c * std::exp(-n * LatitudeIsometrique(phi0, e));
}

// --- Geographic and geocentric coordinates ---------------------------------------

void GeographiqueVersCartesien(double lambda, double phi, double h, double a, double e, double& x, double& y,
                               double& z) {
  const double n = GrandeNormale(phi, a, e);
  const double cphi = std::cos(phi);
  x = (n + h) * cphi * std::cos(lambda);
  y = (n + h) * cphi * std::sin(lambda);
  z = (n * (1 - e * e) + h) * std::sin(phi);
}

void CartesienVersGeographique(double x, double y, double z, double a, double e, double& lambda, double& phi,
                               double& h) {
  const double e2 = e * e;
  lambda = std::atan2(y, x);
  const double r = std::sqrt(x * x + y * y);
  if (r == 0) {
    // On the polar axis the iteration has no meaning: the point is a pole.
    phi = z > 0 ? kPi / 2 : (z < 0 ? -kPi / 2 : 0.0);
    h = std::fabs(z) - a * std::sqrt(1 - e2);
    return;
  }
  double courant = std::atan((z / r) / (1 - a * e2 / std::sqrt(x * x + y * y + z * z)));
  for (int k = 0; k < IterationsMax; ++k) {
    const double s = std::sin(courant);
    const double suivant = std::atan((z / r) / (1 - (a * e2 / r) * std::cos(courant) / std::sqrt(1 - e2 * s * s)));
    const bool fini = std::fabs(courant - suivant) < ToleranceIteration;
    courant = suivant;
    if (fini) break;
  }
  if (!std::isfinite(courant)) courant = std::numeric_limits<double>::quiet_NaN();
  phi = courant;
  const double s = std::sin(phi);
  h = r / std::cos(phi) - a / std::sqrt(1 - e2 * s * s);
}

// --- Seven-parameter similarity ----------------------------------------------------

void Similitude7Params(double tx, double ty, double tz, double d, double rx, double ry, double rz, double x, double y,
                       double z, double& x2, double& y2, double& z2) {
  const double k = 1 + d;
  const double u = tx + k * x - rz * y + ry * z;
  const double v = ty + rz * x + k * y - rx * z;
  const double w = tz - ry * x + rx * y + k * z;
  x2 = u;
  y2 = v;
  z2 = w;
}

void Similitude7ParamsInverseApprochee(double tx, double ty, double tz, double d, double rx, double ry, double rz,
                                       double x2, double y2, double z2, double& x, double& y, double& z) {
  const double u = x2 - tx, v = y2 - ty, w = z2 - tz;
  const double k = 1 - d;
  x = k * u + rz * v - ry * w;
  y = -rz * u + k * v + rx * w;
  z = ry * u - rx * v + k * w;
}

void Similitude7ParamsInverse(double tx, double ty, double tz, double d, double rx, double ry, double rz, double x2,
                              double y2, double z2, double& x, double& y, double& z) {
  const double u = x2 - tx, v = y2 - ty, w = z2 - tz;
  const double k = 1 + d;
  const double delta = k * (k * k + rx * rx + ry * ry + rz * rz);
  x = ((k * k + rx * rx) * u + (rx * ry + k * rz) * v + (rx * rz - k * ry) * w) / delta;
  y = ((rx * ry - k * rz) * u + (k * k + ry * ry) * v + (ry * rz + k * rx) * w) / delta;
  z = ((rx * rz + k * ry) * u + (ry * rz - k * rx) * v + (k * k + rz * rz) * w) / delta;
}

// --- Meridian arc and transverse Mercator -----------------------------------------

TCoefficients5 CoefficientsArcMeridien(double e) {
  const double e2 = e * e, e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
  return {{1 - e2 / 4 - 3 * e4 / 64 - 5 * e6 / 256 - 175 * e8 / 16384,
           -3 * e2 / 8 - 3 * e4 / 32 - 45 * e6 / 1024 - 105 * e8 / 4096,
           15 * e4 / 256 + 45 * e6 / 1024 + 525 * e8 / 16384, -35 * e6 / 3072 - 175 * e8 / 12288,
           315 * e8 / 131072}};
}

double ArcMeridien(double phi, double e) {
  const TCoefficients5 c = CoefficientsArcMeridien(e);
  double r = c.C[0] * phi;
  for (int k = 1; k <= 4; ++k) r += c.C[k] * std::sin(2 * k * phi);
  return r;
}

TCoefficients5 CoefficientsMercatorTransverse(double e) {
  const double e2 = e * e, e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
  return {{CoefficientsArcMeridien(e).C[0], e2 / 8 - e4 / 96 - 9 * e6 / 1024 - 901 * e8 / 184320,
           13 * e4 / 768 + 17 * e6 / 5120 - 311 * e8 / 737280, 61 * e6 / 15360 + 899 * e8 / 430080,
           49561 * e8 / 41287680}};
}

TCoefficients5 CoefficientsMercatorTransverseInverse(double e) {
  const double e2 = e * e, e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
  return {{CoefficientsArcMeridien(e).C[0], e2 / 8 + e4 / 48 + 7 * e6 / 2048 + e8 / 61440,
           e4 / 768 + 3 * e6 / 1280 + 559 * e8 / 368640, 17 * e6 / 30720 + 283 * e8 / 430080,
           4397 * e8 / 41287680}};
}

void ParametresMercatorTransverse(double a, double k0, double e, double phi0, double y0, double& n, double& ys) {
  n = k0 * a;
  ys = y0 - n * ArcMeridien(phi0, e);
}

void MercatorTransverseDirect(double lambda, double phi, double e, double n, double lambdaC, double xs, double ys,
                              double& x, double& y) {
  const TCoefficients5 h = CoefficientsMercatorTransverse(e);
  const double l = LatitudeIsometrique(phi, e);
  const double dl = lambda - lambdaC;
  const double phiS = std::asin(std::sin(dl) / std::cosh(l));
  const double ls = LatitudeIsometrique(phiS, 0);
  const double lambdaS = std::atan(std::sinh(l) / std::cos(dl));
  const TCplx z{lambdaS, ls};
  TCplx somme = CplxMulReel(z, n * h.C[0]);
  for (int k = 1; k <= 4; ++k) somme = CplxAdd(somme, CplxMulReel(CplxSin(CplxMulReel(z, 2.0 * k)), n * h.C[k]));
  x = xs + somme.Im;
  y = ys + somme.Re;
}

void MercatorTransverseInverse(double x, double y, double e, double n, double lambdaC, double xs, double ys,
                               double& lambda, double& phi) {
  const TCoefficients5 h = CoefficientsMercatorTransverseInverse(e);
  const TCplx zp{(y - ys) / (n * h.C[0]), (x - xs) / (n * h.C[0])};
  TCplx z = zp;
  for (int k = 1; k <= 4; ++k) z = CplxAdd(z, CplxMulReel(CplxSin(CplxMulReel(zp, 2.0 * k)), -h.C[k]));
  lambda = lambdaC + std::atan(std::sinh(z.Im) / std::cos(z.Re));
  const double phiS = std::asin(std::sin(z.Re) / std::cosh(z.Im));
  phi = LatitudeDepuisIsometrique(LatitudeIsometrique(phiS, 0), e);
}

// --- Through an intermediate sphere ------------------------------------------------

void GaussLabordeDirect(double lambda, double phi, double e, double lambdaC, double n1, double n2, double c, double xs,
                        double ys, double& x, double& y) {
  const double grandLambda = n1 * (lambda - lambdaC);
  const double ls = n1 * LatitudeIsometrique(phi, e) + c;
  const double phiS = std::asin(std::sin(grandLambda) / std::cosh(ls));
  x = xs + n2 * LatitudeIsometrique(phiS, 0);
  y = ys + n2 * std::atan(std::sinh(ls) / std::cos(grandLambda));
}

void GaussLabordeInverse(double x, double y, double e, double lambdaC, double n1, double n2, double c, double xs,
                         double ys, double& lambda, double& phi) {
  const double grandLambda = std::atan(std::sinh((x - xs) / n2) / std::cos((y - ys) / n2));
  const double phiS = std::asin(std::sin((y - ys) / n2) / std::cosh((x - xs) / n2));
  lambda = lambdaC + grandLambda / n1;
  phi = LatitudeDepuisIsometrique((LatitudeIsometrique(phiS, 0) - c) / n1, e);
}

void StereographiqueDirect(double lambda, double phi, double e, double lambdaC, double phiC, double n1, double n2,
                           double c, double xs, double ys, double& x, double& y) {
  const double grandLambda = n1 * (lambda - lambdaC);
  const double ls = n1 * LatitudeIsometrique(phi, e) + c;
  const double phiS = LatitudeDepuisIsometrique(ls, 0);
  const TVecteur p = RotationAutourY(VecteurUnitaire(grandLambda, phiS), kPi / 2 - phiC);
  x = xs + 2 * n2 * p.y / (1 + p.z);
  y = ys - 2 * n2 * p.x / (1 + p.z);
}

void StereographiqueInverse(double x, double y, double e, double lambdaC, double phiC, double n1, double n2, double c,
                            double xs, double ys, double& lambda, double& phi) {
  const double dx = x - xs;
  const double dy = ys - y;
  const double rho = std::sqrt(dx * dx + dy * dy);
  const double theta = rho < 1e-11 ? 0.0 : 2 * std::atan(dx / (dy + rho));
  const double phiP = kPi / 2 - 2 * std::atan(rho / (2 * n2));
  const TVecteur p = RotationAutourY(VecteurUnitaire(theta, phiP), phiC - kPi / 2);
  double grandLambda, phiS;
  VecteurVersAngles(p, grandLambda, phiS);
  lambda = lambdaC + grandLambda / n1;
  phi = LatitudeDepuisIsometrique((LatitudeIsometrique(phiS, 0) - c) / n1, e);
}

void ParametresSphereCourbure(double a, double k0, double e, double phi0, double& n1, double& c, double& n2) {
  n1 = CoefficientAlpha(phi0, e);
  const double chi0 = std::asin(std::sin(phi0) / n1);
  c = LatitudeIsometrique(chi0, 0) - n1 * LatitudeIsometrique(phi0, e);
  const double s = std::sin(phi0);
  n2 = k0 * a * std::sqrt(1 - e * e) / (1 - e * e * s * s);
}

void ParametresSphereEquatoriale(double a, double k0, double e, double phi0, double& n2, double& chi0) {
  chi0 = LatitudeDepuisIsometrique(LatitudeIsometrique(phi0, e), 0);
  n2 = k0 * GrandeNormale(phi0, a, e) * std::cos(phi0) / std::cos(chi0);
}

void ParametresSphereBitangente(double a, double k0, double e, double phi0, double& n2, double& c) {
  c = LatitudeIsometrique(phi0, 0) - LatitudeIsometrique(phi0, e);
  n2 = k0 * GrandeNormale(phi0, a, e);
}

void ParametresLabordeCourbure(double a, double k0, double e, double phi0, double y0, double& n1, double& c,
                               double& n2, double& ys) {
  ParametresSphereCourbure(a, k0, e, phi0, n1, c, n2);
  const double chi0 = std::asin(std::sin(phi0) / n1);
  ys = y0 - n2 * chi0;
}

void ParametresLabordeEquatoriale(double a, double k0, double e, double phi0, double& n2) {
  double chi0;
  ParametresSphereEquatoriale(a, k0, e, phi0, n2, chi0);
}

void ParametresLabordeBitangente(double a, double k0, double e, double phi0, double& n2, double& c) {
  ParametresSphereBitangente(a, k0, e, phi0, n2, c);
}

// --- Unit vectors ---------------------------------------------------------------------

TVecteur VecteurUnitaire(double lambda, double phi) {
  const double c = std::cos(phi);
  return {c * std::cos(lambda), c * std::sin(lambda), std::sin(phi)};
}

void VecteurVersAngles(const TVecteur& v, double& lambda, double& phi) {
  const double r = std::sqrt(v.x * v.x + v.y * v.y);
  if (r < 1e-11) {
    lambda = 0;
    phi = (v.z > 0 ? 1 : (v.z < 0 ? -1 : 0)) * kPi / 2;
  } else {
    lambda = 2 * std::atan(v.y / (v.x + r));
    phi = std::atan(v.z / r);
  }
}

TVecteur RotationAutourY(const TVecteur& v, double t) {
  const double c = std::cos(t), s = std::sin(t);
  return {v.x * c - v.z * s, v.y, v.z * c + v.x * s};
}

void NormaliseVecteur(TVecteur& v) {
  const double n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  v.x /= n;
  v.y /= n;
  v.z /= n;
}

}  // namespace projections
