#pragma once
// A cave shaped as a k×k grid of stations (about (k-1)² loops), entered at
// surface point E1 joined to the corner station; the shots run east and north
// with small random errors, so that every loop misses by a few centimetres.
#include <random>
#include <string>

#include "tests/survey/reseau_calcul.h"

namespace testsurvey {

inline std::string NomGrille(int i, int j) { return "g" + std::to_string(i) + "_" + std::to_string(j); }

inline TCavite* GenereCaviteGrille(ReseauCalcul& n, int k, uint32_t graine = 7, double pas = 10) {
  std::mt19937 g(graine);
  std::normal_distribution<double> bruit(0, 0.3);
  n.Surface("E1", 1000, 2000, 500);
  TCavite* c = n.Cavite("Grille");
  n.Visee(c, "E1", NomGrille(0, 0), 0, -30, 5);
  for (int i = 0; i < k; ++i)
    for (int j = 0; j < k; ++j) {
      if (i + 1 < k) n.Visee(c, NomGrille(i, j), NomGrille(i + 1, j), 90 + bruit(g), bruit(g), pas + bruit(g) / 10);
      if (j + 1 < k) n.Visee(c, NomGrille(i, j), NomGrille(i, j + 1), bruit(g), 2 + bruit(g), pas + bruit(g) / 10);
    }
  n.Regenere();
  return c;
}

}  // namespace testsurvey
