#pragma once
// The conformal stereographic projections through an intermediate sphere: the
// raw class given by its sphere constants and centre, three kinds that choose
// the sphere from the parameters users know, and the polar stereographic.
#include "projections/ancetre.h"
#include "projections/sphere_parametree.h"

namespace projections {

// "Stéréographique": reals n1 (longitude ratio), n2 (sphere radius times the
// scale), c (isometric-latitude offset), X0, Y0; angles LandaC (central
// meridian), PhiC (latitude of the centre on the sphere).  Setters only store.
class TStereographic : public TProjection {
 public:
  std::string Nature() const override { return "Stéréographique"; }
  TStereographic() {
    DeclareParametres({.Reels = {{"n1", &fn1}, {"n2", &fn2}, {"c", &fc}, {"X0", &fXs}, {"Y0", &fYs}},
                       .Angles = {{"LandaC", &fLandaC}, {"PhiC", &fPhiC}}});
  }

  void VersGrille(double Lat, double Long, double& X, double& Y) override;
  // The longitude comes back in [-pi, pi].
  void VersLatLong(double X, double Y, double& Lat, double& Long) override;

  // Stores the raw constants and the two angle texts, and parses the texts;
  // a text that does not parse raises EConversion and changes nothing.
  void Remonte(double n1, double n2, double c, double Xs, double Ys, const std::string& Landa0,
               const std::string& Phi0);

 protected:
  // The same with the sphere latitude of the centre given exactly (its text
  // is only what the raw parameter shows).
  void RemonteExact(double n1, double n2, double c, double Xs, double Ys, const std::string& Landa0,
                    const std::string& PhiCTexte, double PhiC);

 private:
  double fn1 = 0, fn2 = 0, fc = 0, fXs = 0, fYs = 0;
  TParamAngle fLandaC, fPhiC;
};

// The user-parameterised kinds (abstract): the origin (Landa0, Phi0), which
// maps to (X0, Y0), and the scale k0 choose the sphere.
using TStereo_reel = TSphereParametree<TStereographic>;

// "Stéréographique Courbure": the Gauss sphere osculating at Phi0.  The centre
// is placed at the origin's sphere latitude asin(sin Phi0 / n1), so that the
// origin maps to (X0, Y0) with the scale k0.
class TStereo_courbure : public TStereo_reel {
 public:
  std::string Nature() const override { return "Stéréographique Courbure"; }

 protected:
  void DeriveSphere(double a, double e, double phi0) override;
};

// "Stéréographique Equatoriale": the sphere of the equator (n1 = 1, c = 0)
// scaled to keep k0 on the parallel Phi0; PhiC holds the origin's sphere
// latitude.
class TStereo_equatoriale : public TStereo_reel {
 public:
  std::string Nature() const override { return "Stéréographique Equatoriale"; }

 protected:
  void DeriveSphere(double a, double e, double phi0) override;
};

// "Stéréographique Bitangente": the sphere (n1 = 1) tangent along the parallel
// Phi0, of radius k0 N(Phi0), on which Phi0 keeps its own latitude.
class TStereo_bitan : public TStereo_reel {
 public:
  std::string Nature() const override { return "Stéréographique Bitangente"; }

 protected:
  void DeriveSphere(double a, double e, double phi0) override;
};

// "Stéréographique Polaire": reals k0 (scale at the pole), X0, Y0 (grid
// position of the pole); angle Landa0 (the meridian that runs from the pole
// down the grid's Y axis in the north, up it in the south); Boolean Sud.
class TStereo_polaire : public TStereographic {
 public:
  std::string Nature() const override { return "Stéréographique Polaire"; }
  TStereo_polaire() {
    DeclareParametres({.Reels = {{"k0", &fk0}, {"X0", &fX0}, {"Y0", &fY0}},
                       .Angles = {{"Landa0", &fLanda0}},
                       .Booleens = {{"Sud", &fSud}}});
  }

 protected:
  void CalculeConstantes() override;

 private:
  double fk0 = 0, fX0 = 0, fY0 = 0;
  TParamAngle fLanda0;
  bool fSud = false;
};

// Adds the six natures to the factory.
void EnregistreFamilleStereographique();

}  // namespace projections
