#pragma once
// The Swiss oblique conformal cylinder (Rosenmund): the ellipsoid is mapped
// conformally onto the Gauss sphere osculating at the projection centre, the
// sphere is turned so that the centre lies on its equator, and a Mercator
// cylinder touches it along that great circle.
#include "projections/ancetre.h"

namespace projections {

// "Gauss Rosenmund": reals X0, Y0 (grid position of the centre); angles
// Landa0, Phi0 (the projection centre).  The sphere constants are derived on
// every conversion.
class TRosenmund : public TProjection {
 public:
  std::string Nature() const override { return "Gauss Rosenmund"; }
  TRosenmund() {
    DeclareParametres({.Reels = {{"X0", &fXs}, {"Y0", &fYs}},
                       .Angles = {{"Landa0", &fLanda0}, {"Phi0", &fPhi0}}});
  }

  void VersGrille(double Lat, double Long, double& X, double& Y) override;
  // The ellipsoidal latitude comes back through a fixed-point iteration that
  // stops at 1e-11 radian, or after IterationsMax steps (a non-finite input
  // gives NaN instead of looping).
  void VersLatLong(double X, double Y, double& Lat, double& Long) override;

 private:
  struct TSphere;
  TSphere Sphere() const;
  double fXs = 0, fYs = 0;
  TParamAngle fLanda0, fPhi0;
};

// Adds the nature to the factory.
void EnregistreFamilleSuisse();

}  // namespace projections
