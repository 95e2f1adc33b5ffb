#pragma once
// The ellipsoidal transverse Mercator: a raw projection given by its internal
// constants, one given by the parameters users know, the single UTM and MTM
// zones, and a multi-zone system that makes one projection per zone on demand.
#include <cstdint>
#include <map>
#include <memory>

#include "projections/ancetre.h"

namespace projections {

// "Transverse Mercator Brut": reals n (k0 a), X0, Y0; angle LandaC.  Setters
// only store; the derived kinds fill these constants in CalculeConstantes,
// which the Valid setter calls.
class TTransverseMercatorBrut : public TProjection {
 public:
  std::string Nature() const override { return "Transverse Mercator Brut"; }
  void SetValid(bool valeur) override;
  int Nb_ParamReal() const override { return 3; }
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
  virtual void CalculeConstantes() {}
  double fn = 0, fXs = 0, fYs = 0;
  TParamAngle fLandaC;
};

// "Transverse Mercator": reals k0, X0, Y0; angles Landa0 (central meridian),
// Phi0 (latitude of origin, mapped to Y0 on the central meridian).
class TTransverseMercator : public TTransverseMercatorBrut {
 public:
  std::string Nature() const override { return "Transverse Mercator"; }
  double GetParamReal(int index) const override;
  void SetParamReal(int index, double valeur) override;
  std::string GetNom_ParamReal(int index) const override;
  int Nb_ParamAngle() const override { return 2; }
  std::string GetParamAngle(int index) const override;
  void SetParamAngle(int index, const std::string& valeur) override;
  std::string GetNom_ParamAngle(int index) const override;

 protected:
  void CalculeConstantes() override;

 private:
  double fk0 = 0, fX0 = 0, fY0 = 0;
  TParamAngle fLanda0, fPhi0;
};

// Common ground of the single UTM and MTM zones: integer Fuseau, Boolean Sud,
// no real or angle parameter.
class TZoneMercator : public TTransverseMercatorBrut {
 public:
  int Nb_ParamReal() const override { return 0; }
  double GetParamReal(int index) const override { return TAncetre::GetParamReal(index); }
  void SetParamReal(int index, double valeur) override { TAncetre::SetParamReal(index, valeur); }
  std::string GetNom_ParamReal(int index) const override { return TAncetre::GetNom_ParamReal(index); }
  int Nb_ParamAngle() const override { return 0; }
  std::string GetParamAngle(int index) const override { return TAncetre::GetParamAngle(index); }
  void SetParamAngle(int index, const std::string& valeur) override { TAncetre::SetParamAngle(index, valeur); }
  std::string GetNom_ParamAngle(int index) const override { return TAncetre::GetNom_ParamAngle(index); }
  int Nb_ParamInteger() const override { return 1; }
  int32_t GetParamInteger(int index) const override;
  void SetParamInteger(int index, int32_t valeur) override;
  std::string GetNom_ParamInteger(int index) const override;
  int Nb_ParamBoolean() const override { return 1; }
  bool GetParamBoolean(int index) const override;
  void SetParamBoolean(int index, bool valeur) override;
  std::string GetNom_ParamBoolean(int index) const override;

 protected:
  int32_t ff = 0;
  bool fSud = false;
};

// "UTM Fuseau": k0 0.9996, X0 500000, Y0 10000000 in the south, central
// meridian 6 Fuseau - 183 degrees.
class TUTM : public TZoneMercator {
 public:
  std::string Nature() const override { return "UTM Fuseau"; }

 protected:
  void CalculeConstantes() override;
};

// "MTM Fuseau": k0 0.9999, X0 304800, central meridian -(3 Fuseau + 49.5)
// degrees.
class Tmtm : public TZoneMercator {
 public:
  std::string Nature() const override { return "MTM Fuseau"; }

 protected:
  void CalculeConstantes() override;
};

// "Transverse Mercator Multiple": reals k0, X0, Y0Nord, Y0Sud; angles
// LandaFuseau0 (central meridian of zone 1), Pas (zone width, signed).  Zone z
// >= 1 is northern, zone -z southern (zone 0 counts as southern).
class TMultipleMercator : public TMultiple {
 public:
  TMultipleMercator();
  ~TMultipleMercator() override;
  std::string Nature() const override { return "Transverse Mercator Multiple"; }
  int Nb_ParamReal() const override { return 4; }
  double GetParamReal(int index) const override;
  void SetParamReal(int index, double valeur) override;
  std::string GetNom_ParamReal(int index) const override;
  int Nb_ParamAngle() const override { return 2; }
  std::string GetParamAngle(int index) const override;
  void SetParamAngle(int index, const std::string& valeur) override;
  std::string GetNom_ParamAngle(int index) const override;

  void VersGrille(double Lat, double Long, double& X, double& Y, int32_t& fuseau) override;
  void VersLatLong(double X, double Y, int32_t fuseau, double& Lat, double& Long) override;

  // The zone a point falls in: zone numbers grow with the longitude (against
  // it for a negative Pas), wrapping round the globe; negative south of the
  // equator.
  int32_t ChoisitZone(double Lat, double Long) const;
  // The projection of a zone, made on first use and kept.
  TTransverseMercator& ZoneMercator(int32_t fuseau);

 private:
  double fk0 = 0, fX0 = 0, fY0Nord = 0, fY0Sud = 0;
  TParamAngle fFuseauOrigine, fPas;
  std::map<int32_t, std::unique_ptr<TTransverseMercator>> zones_;
};

// Adds the five natures to the factory.
void EnregistreFamilleMercator();

}  // namespace projections
