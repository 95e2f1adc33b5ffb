#pragma once
// The shots a drawing's points are tied to.  A drawing takes its reference
// shots from its owner: the cave's own shot list, or a list of its own that
// does not own its shots (an offset part's shots, a partial long section's).
// TViseesDeRef is a view of either.
//
// The choice of a reference shot for a point (the shot with the nearest end,
// the first on ties, except that a point within 0.1 m of a shot's start takes
// that shot) is made here, by a scan of the list or, while a computation is
// under way (GardeIndexVisees), through a grid of the shots' ends built once
// per list, so that placing many texts or referencing a whole drawing stays
// linear in the number of points.  Both give the same shot.
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace survey {
class TVisee;
class TListeDeVisees;
class TPointSpeleo;
}  // namespace survey

namespace drawing {

// A list of shots that does not own them.
class TListeViseesDessin {
 public:
  std::vector<survey::TVisee*> Visees;
  bool AccrocheToutesVisees = true;

  int Count() const { return static_cast<int>(Visees.size()); }
  survey::TVisee* LaVisee(int i) const {
    return i < 0 || i >= Count() ? nullptr : Visees[static_cast<size_t>(i)];
  }
  void Add(survey::TVisee* v) { Visees.push_back(v); }
};

// The reference shots of a drawing: a cave's shot list, a list of the
// drawing's own, or none.
class TViseesDeRef {
 public:
  TViseesDeRef() = default;
  TViseesDeRef(const survey::TListeDeVisees* cave) : cave_(cave) {}
  TViseesDeRef(const TListeViseesDessin* propre) : propre_(propre) {}

  bool Vide() const { return !cave_ && !propre_; }
  int Count() const;
  survey::TVisee* LaVisee(int i) const;
  // Points may take any shot; otherwise only shots marked Accrochable.
  bool AccrocheToutesVisees() const;
  // The list viewed (identity of the view).
  const void* Cle() const { return cave_ ? static_cast<const void*>(cave_) : static_cast<const void*>(propre_); }
  const survey::TListeDeVisees* ListeCavite() const { return cave_; }
  const TListeViseesDessin* ListePropre() const { return propre_; }
  bool operator==(const TViseesDeRef& o) const { return cave_ == o.cave_ && propre_ == o.propre_; }

 private:
  const survey::TListeDeVisees* cave_ = nullptr;
  const TListeViseesDessin* propre_ = nullptr;
};

// A station's position in the drawing plane: X, Y in plan; Slh, Z in an
// elevation.
void PositionPlan(const survey::TPointSpeleo& p, bool alti, double& x, double& y);

// Whether a shot can be a reference shot: both ends, snappable (or the list
// lets every shot be), not of length 0.1 m or less both horizontally and in
// space, ends at finite positions.
bool ViseeAccrochable(const survey::TVisee* v, bool accrocheToutes, bool alti);

// The reference shot of a point at (x, y) of the current drawing plane, by a
// scan of the list; none when no shot qualifies.
survey::TVisee* ViseeDeReferenceParcours(const TViseesDeRef& visees, double x, double y, bool alti);

// The same through a grid of the shots' ends.
class TIndexVisees {
 public:
  TIndexVisees(const TViseesDeRef& visees, bool alti);
  survey::TVisee* Cherche(double x, double y) const;

 private:
  struct Extremite {
    double x, y;
    uint32_t rang;
    bool depart;
  };
  int64_t Cellule(double v, double origine) const;
  survey::TVisee* Parcours(double x, double y) const;

  TViseesDeRef visees_;
  bool alti_;
  std::vector<survey::TVisee*> rangs_;
  std::vector<Extremite> extremites_;
  std::unordered_map<int64_t, std::pair<uint32_t, uint32_t>> cellules_;
  double xmin_ = 0, ymin_ = 0, pas_ = 1;
  int64_t nx_ = 0, ny_ = 0;
  bool grille_ = false;
};

// The indexes built during one computation, one per list and plane.
class TCacheIndexVisees {
 public:
  const TIndexVisees& Index(const TViseesDeRef& visees, bool alti);

 private:
  std::map<std::pair<const void*, bool>, std::unique_ptr<TIndexVisees>> index_;
};

// Makes the indexes available for the life of the guard (an inner guard
// shares the outer one's).  The shots must not change meanwhile.
class GardeIndexVisees {
 public:
  GardeIndexVisees();
  ~GardeIndexVisees();
  GardeIndexVisees(const GardeIndexVisees&) = delete;
  GardeIndexVisees& operator=(const GardeIndexVisees&) = delete;
  // This guard made the indexes (no outer guard was alive).
  bool Exterieur() const { return cache_ != nullptr; }

 private:
  std::unique_ptr<TCacheIndexVisees> cache_;
};

// The reference shot of a point at (x, y) of the current drawing plane,
// through the index when one is available, else by a scan.
survey::TVisee* ViseeDeReference(const TViseesDeRef& visees, double x, double y);

}  // namespace drawing
