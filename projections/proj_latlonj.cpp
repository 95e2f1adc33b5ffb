#include "projections/proj_latlonj.h"

#include "projections/fabrique.h"

namespace projections {

void TProj_LatLonj::VersGrille(double Lat, double Long, double& X, double& Y) {
  double a, e;
  ConstantesEllipsoide(a, e);
  X = a * Long;
  Y = a * Lat;
}

void TProj_LatLonj::VersLatLong(double X, double Y, double& Lat, double& Long) {
  double a, e;
  ConstantesEllipsoide(a, e);
  Long = X / a;
  Lat = Y / a;
}

void EnregistreFamilleLatLong() {
  EnregistreProjection("Projection Latitude/Longitude", ConstruitProjection<TProj_LatLonj>);
}

}  // namespace projections
