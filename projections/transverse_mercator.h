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
  TTransverseMercatorBrut() {
    DeclareParametres({.Reels = {{"n", &fn}, {"X0", &fXs}, {"Y0", &fYs}},
                       .Angles = {{"LandaC", &fLandaC}}});
  }

  void VersGrille(double Lat, double Long, double& X, double& Y) override;
  void VersLatLong(double X, double Y, double& Lat, double& Long) override;

 protected:
  // Stores the raw constants, then the central meridian's text (a text that
  // does not parse sets Valid to false and raises EConversion).
  void FixeBrut(double n, double Xs, double Ys, const std::string& LandaC);
  double fn = 0, fXs = 0, fYs = 0;
  TParamAngle fLandaC;
};

// "Transverse Mercator": reals k0, X0, Y0; angles Landa0 (central meridian),
// Phi0 (latitude of origin, mapped to Y0 on the central meridian).
class TTransverseMercator : public TTransverseMercatorBrut {
 public:
  std::string Nature() const override { return "Transverse Mercator"; }
  TTransverseMercator() {
    DeclareParametres({.Reels = {{"k0", &fk0}, {"X0", &fX0}, {"Y0", &fY0}},
                       .Angles = {{"Landa0", &fLanda0}, {"Phi0", &fPhi0}}});
  }

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
  TZoneMercator() { DeclareParametres({.Entiers = {{"Fuseau", &ff}}, .Booleens = {{"Sud", &fSud}}}); }

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

  void VersGrille(double Lat, double Long, double& X, double& Y, int32_t& fuseau) override;
  void VersLatLong(double X, double Y, int32_t fuseau, double& Lat, double& Long) override;

  // The zone a point falls in: zone numbers grow with the longitude (against
  // it for a negative Pas), wrapping round the globe; negative south of the
  // equator.
  int32_t ChoisitZone(double Lat, double Long) const;
  // The projection of a zone, made on first use and kept.
  TTransverseMercator& ZoneMercator(int32_t fuseau);

 protected:
  // A parameter write drops the zones made so far.
  void CalculeConstantes() override;

 private:
  double fk0 = 0, fX0 = 0, fY0Nord = 0, fY0Sud = 0;
  TParamAngle fFuseauOrigine, fPas;
  std::map<int32_t, std::unique_ptr<TTransverseMercator>> zones_;
};

// Adds the five natures to the factory.
void EnregistreFamilleMercator();

}  // namespace projections
