#pragma once
// Gallery outlines: the walls of the galleries drawn from the computed
// network and the passage dimensions of each station.  In plan an outline is
// the pair of wall lines along a chain of shots, joined at each station by the
// intersection of the walls on the inner side of a turn and a rounded corner
// (sampled every π/10 at most) on the outer side; in an elevation it is the
// ceiling and the floor.  A drawing's outline list is rebuilt by walking the
// survey from the entrances, a new outline starting wherever the survey
// branches.  Outlines are computed, never stored.
//
// Outline point: Num (the station's index in its cave, on left-wall points
// only), X and Y (plan: the wall point; elevation: Slh and altitude), Z (the
// station's ceiling altitude; -1000000 for elevation points) and SlH (its
// floor altitude; -1 for elevation points).
//
// The walks use the shots' marks (Marque); the caller clears them first and
// marks the shots that must not be outlined.  Both walks keep their own stack,
// so that a deeply branched survey cannot exhaust the call stack; they visit
// the shots in the order of the recursive description.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "foundation/point_topo.h"

namespace survey {
class TCavite;
class TPointSpeleo;
class TVisee;
}  // namespace survey

namespace drawing {

// Receives the points of an outline side, in drawing order.
using TAjoutePointReel = std::function<void(double x, double y)>;

class tPolyGal {
 public:
  std::vector<foundation::TPointTopo> BordDroit;   // right wall (plan), right-hand line (elevation)
  std::vector<foundation::TPointTopo> BordGauche;  // left wall
  bool fermee = false;   // ended at a dead end: closed across its end
  bool remplie = false;  // drawn as one polygon: left wall, then right wall backwards

  // Elevation points: floor -1, ceiling -1000000.
  void AjoutePointGauche(double X, double Y);
  void AjoutePointDroit(double X, double Y);
  // Full points; the right wall does not keep the index.
  void AjoutePointGauche(uint32_t ix, double X, double Y, double Zb, double Zh);
  void AjoutePointDroit(uint32_t ix, double X, double Y, double Zb, double Zh);
  // The station's two wall points with its index, floor and ceiling.
  void AjoutePointSpeleo(const survey::TPointSpeleo* Pts);
  // The first points of the shot's wall segments, with its origin's index,
  // floor and ceiling.
  void AjoutePointDebutVisee(const survey::TVisee* vVisee);
  // Elevation: the station's ceiling on the left and floor on the right for a
  // shot drawn to the right (SensCoupe 1), the other way round otherwise.
  void AjoutePointViseeAlti(const survey::TVisee* vVisee, const survey::TPointSpeleo* Pts);
  // Rounded outer corner about the station from PtDeb to PtFin: PtDeb, then
  // points at the station's left width every π/10 at most, clockwise (left
  // side) or at its right width counter-clockwise (right side), the last one
  // in PtFin's direction.
  void AjouteArrondiGA(const survey::TPointSpeleo* PtCentre, const foundation::TPointTopo& PtDeb,
                       const foundation::TPointTopo& PtFin);
  void AjouteArrondiDr(const survey::TPointSpeleo* PtCentre, const foundation::TPointTopo& PtDeb,
                       const foundation::TPointTopo& PtFin);
  // The join at the origin of Visee2 of the arriving shot Visee1 and the
  // departing shot Visee2.
  void AjouteVisees2Poly(const survey::TVisee* Visee1, const survey::TVisee* Visee2);
  // The left wall in order; then, closed across a dead end, the last right
  // wall point, or, drawn as one polygon, the right wall backwards.
  void AffecteCoordG(const TAjoutePointReel& ajoute) const;
  // The right wall in order.
  void AffecteCoordD(const TAjoutePointReel& ajoute) const;
};

class TListPolyGal {
 public:
  bool Projetee = false;  // set by the projected-elevation computation
  bool Orientee = false;  // set by the oriented-elevation computation

  int Count() const { return static_cast<int>(polys_.size()); }
  bool Vide() const { return polys_.empty(); }
  tPolyGal* UnePolyGal(int i) const {
    return i < 0 || i >= Count() ? nullptr : polys_[static_cast<size_t>(i)].get();
  }
  void Clear() { polys_.clear(); }
  tPolyGal* Ajoute();

  // Iteration gives the outlines themselves.
  class iterator {
   public:
    using base = std::vector<std::unique_ptr<tPolyGal>>::const_iterator;
    explicit iterator(base it) : it_(it) {}
    tPolyGal* operator*() const { return it_->get(); }
    iterator& operator++() {
      ++it_;
      return *this;
    }
    bool operator==(const iterator& o) const { return it_ == o.it_; }
    bool operator!=(const iterator& o) const { return it_ != o.it_; }

   private:
    base it_;
  };
  iterator begin() const { return iterator(polys_.cbegin()); }
  iterator end() const { return iterator(polys_.cend()); }

  // Plan walk from a station, with the shot by which it was reached (none at
  // an entrance).
  void AjoutePolyPlani(survey::TPointSpeleo* vPoint, survey::TVisee* VisAvt);
  // Elevation walk over the shots in the section (EstDansCoupe); true when it
  // drew at least one shot.  Outlines left without any point are dropped.
  bool AjoutePolyAlti(survey::TPointSpeleo* vPoint, survey::TVisee* VisAvt);

 private:
  std::vector<std::unique_ptr<tPolyGal>> polys_;
};

// The outline part of a cave's plan computation, after its stations' wall
// points were computed: the list is cleared, each station's shots are put in
// turn order, the marks cleared, the other caves' shots at the cave's
// entrances marked, and the outlines walked from the cave's entrance, then
// from its other entrances.
void CalculeContoursPlani(survey::TCavite& cavite, TListPolyGal& liste);

// The entrances a walk starts from: the computed origin of the cave's first
// shot, then the other entrances of the cave.
std::vector<survey::TPointSpeleo*> EntreesCavite(const survey::TCavite& cavite);

}  // namespace drawing
