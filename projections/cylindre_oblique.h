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
  int Nb_ParamReal() const override { return 3; }
  double GetParamReal(int index) const override;
  void SetParamReal(int index, double valeur) override;
  std::string GetNom_ParamReal(int index) const override;
  int Nb_ParamAngle() const override { return 3; }
  std::string GetParamAngle(int index) const override;
  void SetParamAngle(int index, const std::string& valeur) override;
  std::string GetNom_ParamAngle(int index) const override;

 protected:
  double fk0 = 0, fX0 = 0, fY0 = 0;
  TParamAngle fLanda0, fPhi0, fTheta0;
};

}  // namespace projections
