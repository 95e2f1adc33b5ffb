#pragma once
// Common ground of the oblique cylinders (the Laborde projection of
// Madagascar and the two Hotine oblique Mercator variants): a centre, a scale
// on the central line and the azimuth of that line.
#include "projections/ancetre.h"

namespace projections {

// "Cylindrique oblique" (abstract, not in the factory): reals k0, X0, Y0;
// angles Landa0, Phi0 (the centre), Theta0 (azimuth of the central line at
// the centre, clockwise from north).
class TCylindreOblic : public TProjection {
 public:
  std::string Nature() const override { return "Cylindrique oblique"; }
  TCylindreOblic() {
    DeclareParametres({.Reels = {{"k0", &fk0}, {"X0", &fX0}, {"Y0", &fY0}},
                       .Angles = {{"Landa0", &fLanda0}, {"Phi0", &fPhi0}, {"Theta0", &fTheta0}}});
  }

 protected:
  double fk0 = 0, fX0 = 0, fY0 = 0;
  TParamAngle fLanda0, fPhi0, fTheta0;
};

}  // namespace projections
