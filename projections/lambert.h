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
  int Nb_ParamReal() const override { return 4; }
  double GetParamReal(int index) const override;
  void SetParamReal(int index, double valeur) override;
  std::string GetNom_ParamReal(int index) const override;
  int Nb_ParamAngle() const override { return 1; }
  std::string GetParamAngle(int index) const override;
  void SetParamAngle(int index, const std::string& valeur) override;
  std::string GetNom_ParamAngle(int index) const override;

  void VersGrille(double Lat, double Long, double& X, double& Y) override;
  void VersLatLong(double X, double Y, double& Lat, double& Long) override;

 protected:
  double fn = 0, fc = 0, fXs = 0, fYs = 0;
  TParamAngle fLandaC;
};

// "Lambert Conique Tangent": reals k0, X0, Y0; angles Landa0, Phi0.
class TLambert_tan : public TLambert {
 public:
  std::string Nature() const override { return "Lambert Conique Tangent"; }
  void SetValid(bool valeur) override;
  int Nb_ParamReal() const override { return 3; }
  double GetParamReal(int index) const override;
  void SetParamReal(int index, double valeur) override;
  std::string GetNom_ParamReal(int index) const override;
  int Nb_ParamAngle() const override { return 2; }
  std::string GetParamAngle(int index) const override;
  void SetParamAngle(int index, const std::string& valeur) override;
  std::string GetNom_ParamAngle(int index) const override;

 private:
  // Derives the cone while the object is valid; a failure leaves the cone as
  // it was.
  void CalculeConstantes();
  double fk0 = 0, fX0 = 0, fY0 = 0;
  TParamAngle fLanda0, fPhi0;
};

// "Lambert Conique Sécant": reals X0, Y0; angles Landa0, Phi0, Phi1, Phi2.
class TLambert_sec : public TLambert {
 public:
  std::string Nature() const override { return "Lambert Conique Sécant"; }
  void SetValid(bool valeur) override;
  int Nb_ParamReal() const override { return 2; }
  double GetParamReal(int index) const override;
  void SetParamReal(int index, double valeur) override;
  std::string GetNom_ParamReal(int index) const override;
  int Nb_ParamAngle() const override { return 4; }
  std::string GetParamAngle(int index) const override;
  void SetParamAngle(int index, const std::string& valeur) override;
  std::string GetNom_ParamAngle(int index) const override;

 private:
  void CalculeConstantes();
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
  int Nb_ParamReal() const override { return 3; }
  double GetParamReal(int index) const override;
  void SetParamReal(int index, double valeur) override;
  std::string GetNom_ParamReal(int index) const override;
  int Nb_ParamAngle() const override { return 4; }
  std::string GetParamAngle(int index) const override;
  void SetParamAngle(int index, const std::string& valeur) override;
  std::string GetNom_ParamAngle(int index) const override;

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
