#pragma once
// A line of the SVG export in a line style: plain and dashed lines are
// "polyline" or "polygon" elements, smoothed lines and lines drawn with a
// repeating figure are one "path" whose data the line tracer or the Bézier
// smoothing writes, one sub-path per piece.
#include <string>
#include <vector>

#include "drawing/objet_trait.h"
#include "drawing/traceur_ligne.h"
#include "foundation/point_topo.h"

namespace formats {

class TFichierSVG;

// The tracer's target: each dash "M A L B", each figure "M P0 L P1 ... z",
// through EcritSVGHachure (a piece equal to the one just written is dropped).
class CibleSVG : public drawing::CibleTrace {
 public:
  explicit CibleSVG(TFichierSVG& fichier) : fichier_(fichier) {}
  void Trait(const foundation::TPointTopo& A, const foundation::TPointTopo& B) override;
  void Polygone(std::span<const foundation::TPointTopo> sommets, bool plein) override;

 private:
  TFichierSVG& fichier_;
};

class TSVGPolyligne {
 public:
  // Marks the style (and its texture) used by the export.
  TSVGPolyligne(TFichierSVG& fichier, const drawing::TDefObjetTrait& trait, bool fermee);

  const drawing::TDefObjetTrait& UnTrait;
  bool Fermee;
  // Written as a smoothed curve (the style's; an assembled fill outline is
  // never smoothed).
  bool Lisse;
  // Points with X and Y in the view plane.
  std::vector<foundation::TPointTopo> Points;

  // (X, Y) in plan, (SlH, Z) in an elevation; Z and SlH kept.
  void AjoutePoint(const foundation::TPointTopo& p);
  // A point (x, y) in the view plane.
  void AjoutePtXY(double x, double y);
  int Count() const { return static_cast<int>(Points.size()); }

  // Writes the line into the writer; nothing for a line without points.
  void EcritFichier(TFichierSVG& fichier) const;
  void EcritLigneComplexe(TFichierSVG& fichier) const;
  // The smoothed path data into the writer (used by texts on curves too).
  void EcritBezier(TFichierSVG& fichier) const;

 private:
  // The polyline or polygon element.
  void EcritPolyligne(TFichierSVG& fichier) const;
  // The pattern laid along the smoothed path of N + 1 points.
  void TraceComplexeBezier(const std::vector<foundation::TPointTopo>& points, TFichierSVG& fichier) const;
};

// The cubic point at t, weights (1 - t)^3, 3t(1 - t)^2, 3t^2(1 - t), t^3, in
// double precision on X and Y.
foundation::TPointTopo PointBezierReel(const foundation::TPointTopo& P0, const foundation::TPointTopo& P1,
                                       const foundation::TPointTopo& P2, const foundation::TPointTopo& P3, double t);

}  // namespace formats
