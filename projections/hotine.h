#pragma once
// The Hotine oblique Mercator: the ellipsoid is mapped conformally onto an
// "aposphere", on which a Mercator cylinder is laid along the great circle
// through the centre with azimuth Theta0.  Two variants: grid coordinates
// counted from the natural origin (where the central line crosses the
// aposphere's equator) and turned by Theta0, or counted from the centre and
// turned by the rectified angle gamma0.
#include "projections/cylindre_oblique.h"

namespace projections {

// "Hotine": the natural-origin variant.  The constants are derived on every
// conversion.  A centre south of the equator takes the southern branch of
// the aposphere (F = D - sqrt(D2 - 1)), as the centred variant does.
class THotine : public TCylindreOblic {
 public:
  std::string Nature() const override { return "Hotine"; }
  void VersGrille(double Lat, double Long, double& X, double& Y) override;
  void VersLatLong(double X, double Y, double& Lat, double& Long) override;

 private:
  struct TConstantes;
  TConstantes Constantes() const;
};

// "Hotine centré": the centre (Landa0, Phi0) maps to (X0, Y0), and the grid is
// turned by gamma0 = asin(sin Theta0 / D).  The constants are derived on the
// first conversion and kept until a parameter is written or the datum's
// ellipsoid changes.
class THotineCentre : public TCylindreOblic {
 public:
  std::string Nature() const override { return "Hotine centré"; }
  void VersGrille(double Lat, double Long, double& X, double& Y) override;
  void VersLatLong(double X, double Y, double& Lat, double& Long) override;

 protected:
  // A parameter write drops the derived constants.
  void CalculeConstantes() override { fReady = false; }

 private:
  void Prepare(double& e);
  double F0 = 0, F2 = 0, F4 = 0, F6 = 0, A = 0, B = 0, D = 0, F = 0, G = 0, H = 0, uc = 0, t0 = 0, Landa0 = 0,
         cosGamma0 = 0, sinGamma0 = 0;
  double old_e = 1.0, old_a = 1.0;
  bool fReady = false;
};

// The four coefficients of the series that turns a conformal latitude chi
// into the geodetic latitude: phi = chi + sin chi cos chi (P0 + P1 cos2 chi +
// P2 cos4 chi + P3 cos6 chi).
struct TSerieConforme {
  double P[4];
};
TSerieConforme SerieLatitudeConforme(double e);

// Adds the two natures to the factory.
void EnregistreFamilleHotine();

}  // namespace projections
