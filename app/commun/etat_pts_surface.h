#pragma once
// What the surface-point manager keeps for the whole run: the sort of its
// list (column and direction, until the program ends) and the two point
// imports its import button routes to, installed at start-up by the parts
// that read those files.
#include <functional>
#include <string>

namespace app {

struct EtatPtsSurface {
  int ColonneTri = 0;        // the name column
  bool TriCroissant = true;
  // Chosen surface points of another document (a ".cav" file); true when
  // points were imported.
  std::function<bool(const std::string& chemin)> ImportDocument;
  // A text or GPX file of points; true when points were imported.
  std::function<bool(const std::string& chemin)> ImportFichier;
};

}  // namespace app
