#pragma once
// Mercator on the sphere of radius a (the web map projection when a is the
// WGS84 semi-major axis).
#include "projections/ancetre.h"

namespace projections {

// "Mercator sur sphère": reals X0, Y0; angle Landa0 (central meridian).
// Longitudes are brought within half a turn of Landa0 both ways.
class TMercator_sphere : public TProjection {
 public:
  std::string Nature() const override { return "Mercator sur sphère"; }
  TMercator_sphere() { DeclareParametres({.Reels = {{"X0", &fXs}, {"Y0", &fYs}}, .Angles = {{"Landa0", &fLanda0}}}); }

  void VersGrille(double Lat, double Long, double& X, double& Y) override;
  void VersLatLong(double X, double Y, double& Lat, double& Long) override;

 private:
  TParamAngle fLanda0;
  double fXs = 0, fYs = 0;
};

// Brings a longitude difference (radians) into [-pi, pi] by whole turns;
// exactly pi becomes -pi and exactly -pi becomes pi, every value strictly
// between is unchanged.
void RameneAngle(double& x);

// Adds the nature to the factory.
void EnregistreFamilleMercatorSphere();

}  // namespace projections
