#pragma once
// What the gallery, gallery-tree and long-section selectors list, as plain
// data the window puts into its controls.
#include <cstdint>
#include <string>
#include <vector>

namespace survey {
class TCavite;
class TGalerie;
}  // namespace survey

namespace app {

// --- Galleries ----------------------------------------------------------------------
// The gallery's name, followed by " !!!" when it is not attached.
std::string TexteGalerie(const survey::TGalerie& galerie);
// One item per gallery of the cave, sorted by name without regard to case.
struct ElementGalerie {
  std::string Texte;
  survey::TGalerie* Galerie = nullptr;
  int32_t Position = -1;  // in the cave's gallery list
};
std::vector<ElementGalerie> ElementsGaleries(const survey::TCavite& cavite);

// The gallery tree: node 0 is the root (the cave's name); then gallery 0 of
// the computation order (survey::TArbreGaleries::Racine) and, under each
// gallery, the later galleries hanging from it, depth first.  Galleries that
// do not descend from it are not shown.
struct NoeudGalerie {
  int Parent = -1;  // node index; -1 for the root
  std::string Nom;
  survey::TGalerie* Galerie = nullptr;  // none for the root
  int32_t Position = -1;                // in the cave's gallery list
};
struct ArbreGaleries {
  std::vector<NoeudGalerie> Noeuds;
  // The indentation levels the widest branch needs (the tree's width is the
  // widest name plus this many widths of "PPpp").
  int Niveaux = 0;
  // Node of a gallery, -1 when it is not in the tree.
  int NoeudDe(const survey::TGalerie* g) const;
};
ArbreGaleries CreeArbreGaleries(const survey::TCavite& cavite);

// --- Long sections ---------------------------------------------------------------------
struct CoupeCavite {
  std::string Designation;
  // Distance along the survey of the origin of the section's first shot; -1
  // for a section without shots.
  double SlhDebut = -1.0;
  int32_t Position = -1;  // in the cave's list of long sections
};
// Ascending by SlhDebut; equal values keep their order.
void TrieCoupes(std::vector<CoupeCavite>& coupes);

}  // namespace app
