#pragma once
// Surface points on a drawing: a triangle over the station (in a circle when
// the settings ask for one) with its name, and the polygon marker of a
// surface point.  The mark is in pixels; its size follows the zoom down to a
// minimum.
#include <cstdint>
#include <memory>

#include "drawing/dessin_axe_gal.h"

namespace drawing {

class TDessinPointSurface : public TObjetDessin {
 public:
  // The surface-point style of the settings, kind odCompos; the station is
  // linked to the object's point.
  explicit TDessinPointSurface(survey::TPointSpeleo* PtS);

  std::unique_ptr<TPointAxe> PointCanevas;

  void CalculPointsVue() override { PointCanevas->PointVue(); }
  // Size s = 15 while printing, else max(EchelleVue / 2, 3), R = 2 round(s):
  // the circle of radius R (when the settings ask for it), a dot, the
  // triangle of apex (X, Y − R), and the name while surface-point names
  // (odNumSurf) are shown.  A station whose surface category has a drawing
  // shows that symbol instead, 2.5 s long on screen.
  void DessineCetObjet(platform::Canvas& canvas) override;
  void DessinePoignees(platform::Canvas& canvas) override { PointCanevas->DessinePoignee(canvas); }
  // Pt1 is the point, D the distance to it.
  void DistanceObjet(int32_t XPt, int32_t YPt, TInfoObjet& info) override;
  bool EstValidable() const override { return true; }
  bool TailleIndifferente() const override { return true; }

  // The mark's size s for the paint in progress.
  static double TailleMarque();
};

// Two concentric circles of radius 2 round(r) and 2 round(0.6 r),
// r = max(0.3 EchelleVue, 2), five times larger while printing.
class TDessinPointPolygo : public TDessinPointSurface {
 public:
  using TDessinPointSurface::TDessinPointSurface;
  void DessineCetObjet(platform::Canvas& canvas) override;
};

}  // namespace drawing
