#include "projections/stereographique.h"

#include <cmath>
#include <numbers>

#include "projections/angles.h"
#include "projections/fabrique.h"
#include "projections/geodesie.h"
#include "projections/mercator_sphere.h"

namespace projections {

namespace {
constexpr double kPi = std::numbers::pi;
}  // namespace

// --- TStereographic ----------------------------------------------------------------------

void TStereographic::Remonte(double n1, double n2, double c, double Xs, double Ys, const std::string& Landa0,
                             const std::string& Phi0) {
  RemonteExact(n1, n2, c, Xs, Ys, Landa0, Phi0, TexteVersAngle(Phi0));
}

void TStereographic::RemonteExact(double n1, double n2, double c, double Xs, double Ys, const std::string& Landa0,
                                  const std::string& PhiCTexte, double PhiC) {
  const double landa = TexteVersAngle(Landa0);
  fn1 = n1;
  fn2 = n2;
  fc = c;
  fXs = Xs;
  fYs = Ys;
  fLandaC = {Landa0, landa};
  fPhiC = {PhiCTexte, PhiC};
}

void TStereographic::VersGrille(double Lat, double Long, double& X, double& Y) {
  double a, e;
  ConstantesEllipsoide(a, e);
  StereographiqueDirect(Long, Lat, e, fLandaC.Valeur, fPhiC.Valeur, fn1, fn2, fc, fXs, fYs, X, Y);
}

void TStereographic::VersLatLong(double X, double Y, double& Lat, double& Long) {
  double a, e;
  ConstantesEllipsoide(a, e);
  StereographiqueInverse(X, Y, e, fLandaC.Valeur, fPhiC.Valeur, fn1, fn2, fc, fXs, fYs, Long, Lat);
  // The sphere longitude comes back within half a turn of the centre's; the
  // longitude is brought within half a turn of Greenwich.
  if (std::isfinite(Long)) RameneAngle(Long);
}

// --- The user-parameterised kinds -----------------------------------------------------------

void TStereo_courbure::DeriveSphere(double a, double e, double phi0) {
  double n1, c, n2;
  ParametresSphereCourbure(a, fk0, e, phi0, n1, c, n2);
  const double chi0 = std::asin(std::sin(phi0) / n1);
  RemonteExact(n1, n2, c, fX0, fY0, fLanda0.Texte, AngleVersGrades(chi0), chi0);
}

void TStereo_equatoriale::DeriveSphere(double a, double e, double phi0) {
  double n2, chi0;
  ParametresSphereEquatoriale(a, fk0, e, phi0, n2, chi0);
  RemonteExact(1, n2, 0, fX0, fY0, fLanda0.Texte, AngleVersGrades(chi0), chi0);
}

void TStereo_bitan::DeriveSphere(double a, double e, double phi0) {
  double n2, c;
  ParametresSphereBitangente(a, fk0, e, phi0, n2, c);
  RemonteExact(1, n2, c, fX0, fY0, fLanda0.Texte, fPhi0.Texte, phi0);
}

// --- TStereo_polaire --------------------------------------------------------------------

void TStereo_polaire::CalculeConstantes() {
  DeriveSiValide([this](double a, double e) {
    const double n2 = a * fk0 / std::sqrt(1 - e * e) * std::pow((1 - e) / (1 + e), e / 2);
    RemonteExact(1, n2, 0, fX0, fY0, fLanda0.Texte, fSud ? "-90\u00B0" : "90\u00B0", fSud ? -kPi / 2 : kPi / 2);
  });
}

void EnregistreFamilleStereographique() {
  EnregistreProjection("Stéréographique", ConstruitProjection<TStereographic>);
  EnregistreProjection("Stéréographique Courbure", ConstruitProjection<TStereo_courbure>);
  EnregistreProjection("Stéréographique Equatoriale", ConstruitProjection<TStereo_equatoriale>);
  EnregistreProjection("Stéréographique Bitangente", ConstruitProjection<TStereo_bitan>);
  EnregistreProjection("Stéréographique Polaire", ConstruitProjection<TStereo_polaire>);
}

}  // namespace projections
