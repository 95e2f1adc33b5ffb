#pragma once
// The hierarchy of a cave's galleries: a gallery hangs from the gallery of
// the shot before its first shot (GalDeRattach); a gallery whose first
// station has no arriving shot is isolated.  The galleries are in
// computation order, so a gallery hangs only from an earlier one.
//
// Built once in linear time; the depth-first walks use an explicit stack, so
// that a cave of thousands of galleries hanging one from the other costs no
// call depth.  The gallery tree of the shot table, the printed diagram and
// the XML listing all read this one hierarchy.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace survey {

class TCavite;

class TArbreGaleries {
 public:
  explicit TArbreGaleries(const TCavite& cavite);

  int Nombre() const { return static_cast<int>(parent_.size()); }
  // Position of the gallery it hangs from; -1 for none.
  int Parent(int galerie) const { return parent_[static_cast<size_t>(galerie)]; }
  // The later galleries hanging from it, in the cave's order.
  const std::vector<int>& Enfants(int galerie) const { return enfants_[static_cast<size_t>(galerie)]; }
  bool Isolee(int galerie) const { return isolee_[static_cast<size_t>(galerie)] != 0; }
  // The isolated galleries, in the cave's order.
  std::vector<int> Isolees() const;
  // The root of the cave's tree: gallery 0 of the computation order, the
  // first gallery that is not isolated (galleries surveyed apart from the
  // rest sort before it); 0 when every gallery is isolated, -1 for none.
  int Racine() const;

  // One step of a depth-first walk: a gallery entered (Entree) or left after
  // all its descendants.
  struct Etape {
    int Galerie;
    int Niveau;  // the root's level is the one given to the walk
    bool Entree;
  };
  // Depth first from the root: each gallery is entered, then its children
  // (those the filter keeps, when there is one) are walked in order, then it
  // is left.  The visitor is called for each step.
  template <class Visiteur>
  void Parcourt(int racine, int niveau, Visiteur&& visite, bool sansIsolees = false) const;

 private:
  std::vector<int> parent_;
  std::vector<std::vector<int>> enfants_;
  std::vector<uint8_t> isolee_;
};

template <class Visiteur>
void TArbreGaleries::Parcourt(int racine, int niveau, Visiteur&& visite, bool sansIsolees) const {
  if (racine < 0 || racine >= Nombre()) return;
  // Each frame: the gallery, its level, the next child to walk.
  struct Cadre {
    int Galerie, Niveau;
    size_t Suivant;
  };
  std::vector<Cadre> pile{{racine, niveau, 0}};
  visite(Etape{racine, niveau, true});
  while (!pile.empty()) {
    Cadre& c = pile.back();
    const std::vector<int>& enfants = Enfants(c.Galerie);
    while (c.Suivant < enfants.size() && sansIsolees && Isolee(enfants[c.Suivant])) ++c.Suivant;
    if (c.Suivant < enfants.size()) {
      const int e = enfants[c.Suivant++];
      const int n = c.Niveau + 1;
      pile.push_back({e, n, 0});
      visite(Etape{e, n, true});
      continue;
    }
    const Etape sortie{c.Galerie, c.Niveau, false};
    pile.pop_back();
    visite(sortie);
  }
}

}  // namespace survey
