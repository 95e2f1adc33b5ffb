#pragma once
// Common ground of the kinds that choose an intermediate sphere from the
// parameters users know (the Gauss-Laborde and the stereographic families):
// reals k0, X0, Y0; angles Landa0, Phi0 (the origin).  Once valid, every
// parameter write and the Valid setter derive the raw constants of the base
// class again; a failure is kept in ErreurReglage and refuses the conversions.
#include "projections/ancetre.h"
#include "projections/angles.h"

namespace projections {

template <class TBrut>
class TSphereParametree : public TBrut {
 public:
  TSphereParametree() {
    this->DeclareParametres({.Reels = {{"k0", &fk0}, {"X0", &fX0}, {"Y0", &fY0}},
                             .Angles = {{"Landa0", &fLanda0}, {"Phi0", &fPhi0}}});
  }

 protected:
  void CalculeConstantes() override {
    this->DeriveSiValide([this](double a, double e) { DeriveSphere(a, e, TexteVersAngle(fPhi0.Texte)); });
  }
  // The raw constants from a, e and the latitude of origin.
  virtual void DeriveSphere(double a, double e, double phi0) = 0;
  double fk0 = 0, fX0 = 0, fY0 = 0;
  TParamAngle fLanda0, fPhi0;
};

}  // namespace projections
