#pragma once
// The Gauss-Laborde family: the ellipsoid is mapped conformally onto a sphere,
// then the sphere onto the plane by the transverse Mercator.  The raw class is
// given by its sphere constants; three kinds choose the sphere from the
// parameters users know (osculating at the origin, equatorial, bitangent along
// the origin's parallel).  Also the oblique Laborde projection of Madagascar.
#include "projections/cylindre_oblique.h"
#include "projections/sphere_parametree.h"

namespace projections {

// "Gauss Laborde": reals n1 (longitude ratio), n2 (sphere radius times the
// scale), c (isometric-latitude offset), X0, Y0; angle LandaC (central
// meridian).  Setters only store.
class TLaborde : public TProjection {
 public:
  std::string Nature() const override { return "Gauss Laborde"; }
  TLaborde() {
    DeclareParametres({.Reels = {{"n1", &fn1}, {"n2", &fn2}, {"c", &fc}, {"X0", &fXs}, {"Y0", &fYs}},
                       .Angles = {{"LandaC", &fLandaC}}});
  }

  void VersGrille(double Lat, double Long, double& X, double& Y) override;
  void VersLatLong(double X, double Y, double& Lat, double& Long) override;

 protected:
  // Stores the raw constants and parses the central meridian's text (a text
  // that does not parse raises EConversion).
  void FixeLaborde(const std::string& LandaC, double n1, double n2, double c, double Xs, double Ys);

 private:
  double fn1 = 0, fn2 = 0, fc = 0, fXs = 0, fYs = 0;
  TParamAngle fLandaC;
};

// The user-parameterised kinds (abstract): the origin (Landa0, Phi0) and the
// scale k0 choose the sphere.
using TLaborde_reel = TSphereParametree<TLaborde>;

// "Gauss Laborde Courbure": the sphere osculating at Phi0; the origin (Landa0,
// Phi0) maps to (X0, Y0).
class TLaborde_courbure : public TLaborde_reel {
 public:
  std::string Nature() const override { return "Gauss Laborde Courbure"; }

 protected:
  void DeriveSphere(double a, double e, double phi0) override;
};

// "Gauss Laborde Equatoriale": the sphere of the equator (n1 = 1, c = 0),
// scaled to keep k0 on the parallel Phi0; Y0 is the northing of the equator.
class TLaborde_equatoriale : public TLaborde_reel {
 public:
  std::string Nature() const override { return "Gauss Laborde Equatoriale"; }

 protected:
  void DeriveSphere(double a, double e, double phi0) override;
};

// "Gauss Laborde Bitangente": the sphere (n1 = 1) tangent along the parallel
// Phi0, of radius k0 N(Phi0); Y0 is the northing of the equator.
class TLaborde_bitan : public TLaborde_reel {
 public:
  std::string Nature() const override { return "Gauss Laborde Bitangente"; }

 protected:
  void DeriveSphere(double a, double e, double phi0) override;
};

// "Gauss Laborde Oblique": the oblique Laborde projection (Madagascar).  The
// ellipsoid is mapped onto the sphere osculating at the centre, an oblique
// Mercator is laid along the great circle of azimuth Theta0 through the
// centre, and a cubic term in the complex coordinate corrects the scale.
// The constants are derived on the first conversion and kept until a
// parameter is written or the datum's ellipsoid changes.  A malformed angle
// text raises as in every other class, so that such a line is refused
// instead of converting with a wrong azimuth.
class TLabordeOblic : public TCylindreOblic {
 public:
  std::string Nature() const override { return "Gauss Laborde Oblique"; }

  void VersGrille(double Lat, double Long, double& X, double& Y) override;
  // The cubic is solved by Newton steps until the step falls below 1e-5 m on
  // the ground, and the latitude by a fixed-point iteration to 1e-15 radian;
  // each stops after IterationsMax steps at the most.
  void VersLatLong(double X, double Y, double& Lat, double& Long) override;

 protected:
  // A parameter write drops the derived constants.
  void CalculeConstantes() override { fReady = false; }

 private:
  void Prepare(double& e);
  double r = 0, phisl = 0, alpha = 0, fchi0 = 0, acon = 0, bcon = 0;
  double old_e = 1.0, old_a = 1.0;
  bool fReady = false;
};

// Adds the five natures to the factory.
void EnregistreFamilleLaborde();

}  // namespace projections
