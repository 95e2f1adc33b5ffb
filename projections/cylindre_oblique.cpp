#include "projections/cylindre_oblique.h"

namespace projections {

namespace {
constexpr std::array<const char*, 3> kNomsReels = {"k0", "X0", "Y0"};
constexpr std::array<const char*, 3> kNomsAngles = {"Landa0", "Phi0", "Theta0"};
}  // namespace

double TCylindreOblic::GetParamReal(int index) const {
  return LitReel(std::array<const double*, 3>{&fk0, &fX0, &fY0}, index);
}
void TCylindreOblic::SetParamReal(int index, double valeur) {
  EcritReel(std::array<double*, 3>{&fk0, &fX0, &fY0}, index, valeur);
}
std::string TCylindreOblic::GetNom_ParamReal(int index) const { return LitNom(kNomsReels, index); }
std::string TCylindreOblic::GetParamAngle(int index) const {
  return LitAngle(std::array<const TParamAngle*, 3>{&fLanda0, &fPhi0, &fTheta0}, index);
}
void TCylindreOblic::SetParamAngle(int index, const std::string& valeur) {
  EcritAngle(std::array<TParamAngle*, 3>{&fLanda0, &fPhi0, &fTheta0}, index, valeur);
}
std::string TCylindreOblic::GetNom_ParamAngle(int index) const { return LitNom(kNomsAngles, index); }

}  // namespace projections
