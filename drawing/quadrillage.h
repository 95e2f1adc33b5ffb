#pragma once
// The grid and the coordinate ticks a view or an editor lays over its
// drawing: a grid turned to any direction, plan coordinate ticks with their
// values along the window's edges, altitude ticks on elevations and a
// vertical reference line.  These objects are of the never-culled kind
// odQuadrill and draw across the visible window, whose pixel size is the
// view's paint box (LargeurPaintBox, HauteurPaintBox).
#include <cstdint>
#include <string>

#include "drawing/dessin_ligne.h"
#include "drawing/point_compo.h"

namespace drawing {

// The tick step in metres for a visible height in metres: 2, 5 or 10 times a
// power of ten, the one giving about ten ticks over the height.  0 (no
// ticks) for a height that is 0, negative or not finite.
double PasGraduation(double hauteurVisible);
// The step for the view: its pixel height over EchelleVue; 0 for a scale
// that is 0, negative or not finite.
double PasGraduationVue();

// The decimals a tick step needs to be written exactly: 0 for 10 or 1, 1
// for 0.5, 2 for 0.25 (at most 9; 0 for a step that is 0, negative or not
// finite).
int DecimalesPas(double pas);
// A tick value with the decimals of the step and '.' as decimal point, its
// noise rounded away: 6447816.499999 at a step of 0.5 gives "6447816.5",
// 6447810 at a step of 10 "6447810" (a whole value rounded half to even).
std::string TexteGraduation(double valeur, double pas);

// The colours of the grid lines: the line through the origin, every fifth
// line, the others.
inline constexpr uint32_t CouleurQuadrillageOrigine = 0x0A209C;
inline constexpr uint32_t CouleurQuadrillageCinq = 0x2E69A5;
inline constexpr uint32_t CouleurQuadrillage = 0x518FCE;

// Point 0 is the grid's origin, point 1 gives its direction; the spacing is
// the process-wide grid spacing (Dessin().PasQuadrillage).
class TQuadrillage : public TDessinLigne {
 public:
  // The grid style, kind odQuadrill.
  TQuadrillage();

  // Two positions in drawing units (X and Y), rounded.
  void Init(const foundation::TPointTopo& Pt1, const foundation::TPointTopo& Pt2);
  // The lines of the two families (along the direction, then across it)
  // that cross the view, each family from the origin's line outwards on one
  // side and then on the other.  Nothing for a spacing that is 0, negative,
  // not finite or under one pixel.
  void DessineCetObjet(platform::Canvas& canvas) override;
};

// Plan coordinate ticks: vertical lines with their X along the top (turned a
// quarter turn), horizontal lines with their Y along the left edge.
class TMirePlani : public TDessinLigne {
 public:
  TMirePlani();
  double XInit = 0, YInit = 0;
  void Init(double X, double Y) {
    XInit = X;
    YInit = Y;
  }
  void DessineCetObjet(platform::Canvas& canvas) override;
};

// Altitude ticks: absolute altitudes, or differences from ZInit.
class TMireAlti : public TDessinLigne {
 public:
  TMireAlti();
  double ZInit = 0;
  bool Absol = false;
  void Init(bool AbsRel, double Z) {
    Absol = AbsRel;
    ZInit = Z;
  }
  void DessineCetObjet(platform::Canvas& canvas) override;
};

// A dashed vertical line through a point, over the whole height of the view.
class TDessinLigneAlti : public TPointCompo {
 public:
  TDessinLigneAlti(double Xp, double Yp);
  void DessineCetObjet(platform::Canvas& canvas) override;
};

}  // namespace drawing
