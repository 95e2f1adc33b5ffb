#include "projections/mercator_sphere.h"

#include <cmath>
#include <numbers>

#include "projections/fabrique.h"

namespace projections {

namespace {
constexpr double kPi = std::numbers::pi;
constexpr std::array<const char*, 2> kNomsReels = {"X0", "Y0"};
constexpr std::array<const char*, 1> kNomsAngles = {"Landa0"};
}  // namespace

void RameneAngle(double& x) {
  const double q = std::trunc(x / kPi);
  if (q > 0)
    x -= 2 * std::trunc((q + 1) / 2) * kPi;
  else if (q < 0)
    x -= 2 * std::trunc((q - 1) / 2) * kPi;
}

double TMercator_sphere::GetParamReal(int index) const {
  return LitReel(std::array<const double*, 2>{&fXs, &fYs}, index);
}
void TMercator_sphere::SetParamReal(int index, double valeur) {
  EcritReel(std::array<double*, 2>{&fXs, &fYs}, index, valeur);
}
std::string TMercator_sphere::GetNom_ParamReal(int index) const { return LitNom(kNomsReels, index); }
std::string TMercator_sphere::GetParamAngle(int index) const {
  return LitAngle(std::array<const TParamAngle*, 1>{&fLanda0}, index);
}
void TMercator_sphere::SetParamAngle(int index, const std::string& valeur) {
  EcritAngle(std::array<TParamAngle*, 1>{&fLanda0}, index, valeur);
}
std::string TMercator_sphere::GetNom_ParamAngle(int index) const { return LitNom(kNomsAngles, index); }

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
