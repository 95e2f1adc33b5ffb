#pragma once
// A point of a stored drawing.  It is not kept in absolute coordinates: it is
// tied to a survey shot (its reference shot) and stored as a distance and an
// angle measured at the shot's start station from the shot's own direction,
// so that the drawing follows the survey when the network is recomputed.
// Points of cross-section elements have no shot and are placed relative to the
// section's position point instead (CalculRelatif).
//
// Record (little-endian): cave index of the reference shot (4 bytes, from
// level 509; below it, the cave being read), shot index in that cave's list
// (4 bytes), LHab, AngleHab (8 bytes each); -1, -1 without shot.  The
// computed fields are not stored.  Reading resolves the shot among the shot
// lists the document reader registered (survey::LectureReseau); a reference
// that is not there leaves the point detached.
#include <cstdint>
#include <memory>

#include "drawing/visees_dessin.h"
#include "foundation/objet_de_liste.h"
#include "foundation/point_topo.h"

namespace survey {
class TVisee;
}

namespace drawing {

class TPointDessin : public foundation::TObjetDeListe {
 public:
  double LHab = 0;      // distance from the reference shot's start station (m)
  double AngleHab = 0;  // angle from the shot's direction (radians, [0, 2π))
  survey::TVisee* VisRefDessin = nullptr;  // not owned; none when detached
  double Xhab = 0, Yhab = 0;  // computed position in the drawing plane (m)
  double Zpt = 0;             // altitude of the reference station
  double GisementHab = 0;     // absolute azimuth station -> point
  int32_t XLoc = 0, YLoc = 0;  // drawing units where the editor placed it
  bool PointOk = false;        // placed by the last computation
  double SauveAngleHab = 0;    // AngleHab kept during a trial reversal

  // Places the point from its shot (or relative to PointRelatifRef); returns
  // and stores PointOk.
  bool CalculeHabillage();
  // The inverse: LHab and AngleHab from Xhab, Yhab and the reference shot;
  // nothing without a shot.  A displacement in force is not removed.
  void CalculePositionVisee();
  // Takes the shot with the nearest end among the given shots (see
  // visees_dessin.h), then stores its position relative to it.
  void ChercheViseeRef(const TViseesDeRef& vViseesRef);
  // The choice of the elevation and section editors for a cut point: the
  // nearest shot on whose segment the point lies; otherwise, when the point
  // has no shot yet, the nearest shot end, onto which the point moves.
  void ChercheViseeCoupe(const TViseesDeRef& vViseesRef);
  // A copy for another drawing: its shot is its own (CopieMemeCavite, or no
  // shot) or the shot's equivalent; none when it would have no shot outside
  // relative placement.
  std::unique_ptr<TPointDessin> ClonePointDessin() const;
  void TransfoPointDessin(const foundation::THelmert& vHelmert);
  // X and SlH take Xhab, Y and Z take Yhab.
  foundation::TPointTopo PointTopo() const;
  // Xhab, Yhab from XLoc, YLoc through the view transform.
  void XYReel();

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
};

// The point's position as a value usable by plan and elevation routines.
foundation::TPointTopo PointPlan(double x, double y);

}  // namespace drawing
