#include "projections/lambert.h"

#include <cmath>

#include "projections/datum.h"
#include "projections/fabrique.h"
#include "projections/geodesie.h"
#include "projections/suisse.h"

namespace projections {

// --- TLambert ---------------------------------------------------------------------

void TLambert::FixeCone(double n, double c, double Xs, double Ys, const std::string& LandaC) {
  fn = n;
  fc = c;
  fXs = Xs;
  fYs = Ys;
  FixeAngle(fLandaC, LandaC);
}

void TLambert::VersGrille(double Lat, double Long, double& X, double& Y) {
  double a, e;
  ConstantesEllipsoide(a, e);
  LambertDirect(Long, Lat, fn, fc, e, fLandaC.Valeur, fXs, fYs, X, Y);
}

void TLambert::VersLatLong(double X, double Y, double& Lat, double& Long) {
  double a, e;
  ConstantesEllipsoide(a, e);
  LambertInverse(X, Y, fn, fc, e, fLandaC.Valeur, fXs, fYs, Long, Lat);
}

// --- TLambert_tan -------------------------------------------------------------------

void TLambert_tan::CalculeConstantes() {
  DeriveSiValide([this](double a, double e) {
    double n, c, ys;
    ParametresLambertTangent(a, e, fPhi0.Valeur, fk0, fY0, n, c, ys);
    FixeCone(n, c, fX0, ys, fLanda0.Texte);
  });
}

// --- TLambert_sec -------------------------------------------------------------------

void TLambert_sec::CalculeConstantes() {
  DeriveSiValide([this](double a, double e) {
    double n, c, ys;
    ParametresLambertSecant(a, e, fPhi0.Valeur, fPhi1.Valeur, fPhi2.Valeur, fY0, n, c, ys);
    FixeCone(n, c, fX0, ys, fLanda0.Texte);
  });
}

// --- TLambert_oblic ---------------------------------------------------------------------

struct TLambert_oblic::TConstantes {
  double e = 0;
  double alpha = 0;  // ratio of sphere to ellipsoid longitudes
  double k = 0;      // shift of the isometric latitude onto the sphere
  double n = 0;      // cone exponent
  double rho0 = 0;   // cone radius on the standard parallel
  double lIso1 = 0;  // isometric latitude of the standard parallel
  double lambdaCentre = 0, rhoCentre = 0;  // the centre on the oblique sphere
};

TLambert_oblic::TConstantes TLambert_oblic::Constantes() const {
  TConstantes k;
  double a;
  ConstantesEllipsoide(a, k.e);
  const double phiC = fPhiC.Valeur;
  k.alpha = CoefficientAlpha(phiC, k.e);
  const double r = RayonSphereGauss(phiC, k.e, a);
  const double chiC = std::asin(std::sin(phiC) / k.alpha);
  k.k = LatitudeIsometrique(chiC, 0) - k.alpha * LatitudeIsometrique(phiC, k.e);
  k.n = std::sin(fPhi1.Valeur);
  k.rho0 = fk0 * r / std::tan(fPhi1.Valeur);
  k.lIso1 = LatitudeIsometrique(fPhi1.Valeur, 0);
  const TVecteur centre = RotationAutourY(VecteurUnitaire(0, chiC), fAlphaC.Valeur);
  double chiCentre;
  VecteurVersAngles(centre, k.lambdaCentre, chiCentre);
  k.rhoCentre = k.rho0 * std::exp(-k.n * (LatitudeIsometrique(chiCentre, 0) - k.lIso1));
  return k;
}

void TLambert_oblic::VersGrille(double Lat, double Long, double& X, double& Y) {
  const TConstantes k = Constantes();
  const double chi = LatitudeDepuisIsometrique(k.alpha * LatitudeIsometrique(Lat, k.e) + k.k, 0);
  const TVecteur p = RotationAutourY(VecteurUnitaire(k.alpha * (Long - fLandaC.Valeur), chi), fAlphaC.Valeur);
  double lambdaOblique, chiOblique;
  VecteurVersAngles(p, lambdaOblique, chiOblique);
  const double rho = k.rho0 * std::exp(-k.n * (LatitudeIsometrique(chiOblique, 0) - k.lIso1));
  const double theta = k.n * (lambdaOblique - k.lambdaCentre);
  X = fX0 + rho * std::sin(theta);
  Y = fY0 + k.rhoCentre - rho * std::cos(theta);
}

void TLambert_oblic::VersLatLong(double X, double Y, double& Lat, double& Long) {
  const TConstantes k = Constantes();
  const double dx = X - fX0;
  const double dy = k.rhoCentre - (Y - fY0);
  const double signe = k.n < 0 ? -1.0 : 1.0;
  const double rho = signe * std::sqrt(dx * dx + dy * dy);
  const double theta = std::atan2(signe * dx, signe * dy);
  const double lambdaOblique = k.lambdaCentre + theta / k.n;
  const double chiOblique = LatitudeDepuisIsometrique(k.lIso1 - std::log(rho / k.rho0) / k.n, 0);
  const TVecteur p = RotationAutourY(VecteurUnitaire(lambdaOblique, chiOblique), -fAlphaC.Valeur);
  double lambdaSphere, chi;
  VecteurVersAngles(p, lambdaSphere, chi);
  Long = fLandaC.Valeur + lambdaSphere / k.alpha;
  Lat = LatitudeDepuisIsometrique((LatitudeIsometrique(chi, 0) - k.k) / k.alpha, k.e);
}

void EnregistreFamilleLambert() {
  EnregistreProjection("Lambert Conique", ConstruitProjection<TLambert>);
  EnregistreProjection("Lambert Conique Tangent", ConstruitProjection<TLambert_tan>);
  EnregistreProjection("Lambert Conique Sécant", ConstruitProjection<TLambert_sec>);
  EnregistreProjection("Lambert Conique Oblique", ConstruitProjection<TLambert_oblic>);
}

}  // namespace projections
