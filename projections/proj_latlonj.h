#pragma once
// A pseudo-projection that writes latitude and longitude as metres of arc on
// the equator: X = a Long, Y = a Lat.
#include "projections/ancetre.h"

namespace projections {

// "Projection Latitude/Longitude": no parameter at all.
class TProj_LatLonj : public TProjection {
 public:
  std::string Nature() const override { return "Projection Latitude/Longitude"; }
  void VersGrille(double Lat, double Long, double& X, double& Y) override;
  void VersLatLong(double X, double Y, double& Lat, double& Long) override;
};

// Adds the nature to the factory.
void EnregistreFamilleLatLong();

}  // namespace projections
