#pragma once
// The Bonne equal-area pseudo-conic projection, on the sphere of radius a.
#include "projections/ancetre.h"

namespace projections {

// "Bonne": reals X0, Y0 (the grid position of the cone's apex); angles
// Landa0 (central meridian), Phi0 (standard parallel).  The origin (Phi0,
// Landa0) maps to (X0, Y0 - a cot Phi0).  A southern standard parallel is
// supported: the inverse takes the distance from the apex with the sign of
// Phi0.
class TBonne : public TProjection {
 public:
  std::string Nature() const override { return "Bonne"; }
  TBonne() {
    DeclareParametres({.Reels = {{"X0", &fXs}, {"Y0", &fYs}},
                       .Angles = {{"Landa0", &fLanda0}, {"Phi0", &fPhi0}}});
  }

  void VersGrille(double Lat, double Long, double& X, double& Y) override;
  void VersLatLong(double X, double Y, double& Lat, double& Long) override;

 private:
  TParamAngle fLanda0, fPhi0;
  double fXs = 0, fYs = 0;
};

// Adds the nature to the factory.
void EnregistreFamilleBonne();

}  // namespace projections
