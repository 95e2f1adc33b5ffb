#pragma once
// The New Zealand Map Grid: a conformal grid given by complex polynomials of
// published coefficients around its origin.
#include "projections/ancetre.h"

namespace projections {

// "New Zealand Map Grid": reals X0, Y0; angles Landa0, Phi0 (the grid
// origin).  Only the semi-major axis of the datum's ellipsoid is used.
class TNewZealand : public TProjection {
 public:
  std::string Nature() const override { return "New Zealand Map Grid"; }
  TNewZealand() {
    DeclareParametres({.Reels = {{"X0", &fXs}, {"Y0", &fYs}},
                       .Angles = {{"Landa0", &fLanda0}, {"Phi0", &fPhi0}}});
  }

  void VersGrille(double Lat, double Long, double& X, double& Y) override;
  // Solves the grid polynomial by Newton's method from the sum of the powers
  // of the grid point, until the step falls below 1e-13 (a fraction of a
  // micrometre on the ground).
  void VersLatLong(double X, double Y, double& Lat, double& Long) override;

 private:
  TParamAngle fLanda0, fPhi0;
  double fXs = 0, fYs = 0;
};

// The published coefficients in one table: A1..A10 (latitude to isometric
// latitude), B1..B6 (real part, then imaginary part), D1..D9 (isometric
// latitude back to latitude).
inline constexpr int NbCoefficientsNZMG = 31;
extern const double CoefficientsNZMG[NbCoefficientsNZMG];

// Adds the nature to the factory.
void EnregistreFamilleNewZealand();

}  // namespace projections
