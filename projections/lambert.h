#pragma once
// The Lambert conformal conic family: the cone given by its constants
// (TLambert), the tangent and secant cones given by the parameters users know
// (they derive the cone and store it into the inherited constants), and an
// oblique cone on a Gauss conformal sphere.
#include "projections/ancetre.h"

namespace projections {

// "Lambert Conique": reals n, c, X0 (apex easting), Y0 (apex northing); angle
// LandaC (central meridian).  Setters only store.
class TLambert : public TProjection {
 public:
  std::string Nature() const override { return "Lambert Conique"; }
  TLambert() {
    DeclareParametres({.Reels = {{"n", &fn}, {"c", &fc}, {"X0", &fXs}, {"Y0", &fYs}},
                       .Angles = {{"LandaC", &fLandaC}}});
  }

  void VersGrille(double Lat, double Long, double& X, double& Y) override;
  void VersLatLong(double X, double Y, double& Lat, double& Long) override;

 protected:
  // Stores the cone, then the central meridian's text (a text that does not
  // parse sets Valid to false and raises EConversion).
  void FixeCone(double n, double c, double Xs, double Ys, const std::string& LandaC);
  double fn = 0, fc = 0, fXs = 0, fYs = 0;
  TParamAngle fLandaC;
};

// "Lambert Conique Tangent": reals k0, X0, Y0; angles Landa0, Phi0.
class TLambert_tan : public TLambert {
 public:
  std::string Nature() const override { return "Lambert Conique Tangent"; }
  TLambert_tan() {
    DeclareParametres({.Reels = {{"k0", &fk0}, {"X0", &fX0}, {"Y0", &fY0}},
                       .Angles = {{"Landa0", &fLanda0}, {"Phi0", &fPhi0}}});
  }

 protected:
  // Derives the cone while the object is valid; a failure is kept in
  // ErreurReglage and refuses the conversions.
  void CalculeConstantes() override;

 private:
  double fk0 = 0, fX0 = 0, fY0 = 0;
  TParamAngle fLanda0, fPhi0;
};

// "Lambert Conique Sécant": reals X0, Y0; angles Landa0, Phi0, Phi1, Phi2.
// Equal standard parallels give the cone tangent to that parallel; opposite
// ones (Phi1 = -Phi2) or one beyond a pole cannot be set up.
class TLambert_sec : public TLambert {
 public:
  std::string Nature() const override { return "Lambert Conique Sécant"; }
  TLambert_sec() {
    DeclareParametres({.Reels = {{"X0", &fX0}, {"Y0", &fY0}},
                       .Angles = {{"Landa0", &fLanda0}, {"Phi0", &fPhi0}, {"Phi1", &fPhi1}, {"Phi2", &fPhi2}}});
  }

 protected:
  void CalculeConstantes() override;

 private:
  double fX0 = 0, fY0 = 0;
  TParamAngle fLanda0, fPhi0, fPhi1, fPhi2;
};

// "Lambert Conique Oblique": reals k0, X0, Y0; angles LandaC, PhiC (centre),
// Phi1 (standard parallel on the oblique sphere), AlphaC (tilt of the cone's
// axis in the plane of the meridian LandaC).  The ellipsoid is mapped onto the
// Gauss sphere osculating at PhiC; the sphere is turned so that the cone's
// axis passes through the pole lying on the meridian LandaC at sphere latitude
// 90° - AlphaC; a tangent cone (n = sin Phi1, radius k0 R cot Phi1 on the
// standard parallel) is laid on it; the centre maps to (X0, Y0) and the
// oblique meridian through the centre is the grid's north.
class TLambert_oblic : public TProjection {
 public:
  std::string Nature() const override { return "Lambert Conique Oblique"; }
  TLambert_oblic() {
    DeclareParametres({.Reels = {{"k0", &fk0}, {"X0", &fX0}, {"Y0", &fY0}},
                       .Angles = {{"LandaC", &fLandaC}, {"PhiC", &fPhiC}, {"Phi1", &fPhi1}, {"AlphaC", &fAlphaC}}});
  }

  void VersGrille(double Lat, double Long, double& X, double& Y) override;
  void VersLatLong(double X, double Y, double& Lat, double& Long) override;

 private:
  struct TConstantes;
  TConstantes Constantes() const;
  double fk0 = 0, fX0 = 0, fY0 = 0;
  TParamAngle fLandaC, fPhiC, fPhi1, fAlphaC;
};

// Adds the four natures to the factory.
void EnregistreFamilleLambert();

}  // namespace projections
