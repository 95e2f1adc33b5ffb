#include "app/selecteurs.h"

#include <algorithm>
#include <unordered_map>

#include "foundation/codage.h"
#include "survey/cavite.h"
#include "survey/galerie.h"

namespace app {

std::string TexteGalerie(const survey::TGalerie& galerie) {
  return galerie.Rattachee() ? galerie.NomGalerie : galerie.NomGalerie + " !!!";
}

std::vector<ElementGalerie> ElementsGaleries(const survey::TCavite& cavite) {
  std::vector<std::pair<std::string, ElementGalerie>> cles;
  cles.reserve(static_cast<size_t>(cavite.Galeries.Count()));
  int32_t position = 0;
  for (survey::TGalerie* g : cavite.Galeries) {
    ElementGalerie e{TexteGalerie(*g), g, position++};
    cles.emplace_back(foundation::EnMajuscules(e.Texte), std::move(e));
  }
  std::stable_sort(cles.begin(), cles.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<ElementGalerie> r;
  r.reserve(cles.size());
  for (auto& c : cles) r.push_back(std::move(c.second));
  return r;
}

int ArbreGaleries::NoeudDe(const survey::TGalerie* g) const {
  if (!g) return -1;
  for (size_t i = 1; i < Noeuds.size(); ++i)
    if (Noeuds[i].Galerie == g) return static_cast<int>(i);
  return -1;
}

ArbreGaleries CreeArbreGaleries(const survey::TCavite& cavite) {
  ArbreGaleries a;
  a.Noeuds.push_back({-1, cavite.NomCavite, nullptr, -1});
  const int n = cavite.Galeries.Count();
  if (n == 0) return a;
  // The galleries hanging from each gallery, in cave order.
  std::unordered_map<const survey::TGalerie*, int> position;
  for (int i = 0; i < n; ++i) position[cavite.UneGalerie(i)] = i;
  std::vector<std::vector<int>> enfants(static_cast<size_t>(n));
  for (int i = 1; i < n; ++i) {
    const survey::TGalerie* parent = cavite.UneGalerie(i)->GalDeRattach();
    const auto it = parent ? position.find(parent) : position.end();
    if (it != position.end() && it->second < i) enfants[static_cast<size_t>(it->second)].push_back(i);
  }
  // Depth first, without recursion (a cave may hold thousands of galleries
  // hanging one from the other).  The level rises when the child is the very
  // next gallery of the list.
  struct Etape {
    int Galerie, NoeudParent, Niveau;
  };
  std::vector<Etape> pile{{0, 0, 2}};
  while (!pile.empty()) {
    const Etape e = pile.back();
    pile.pop_back();
    survey::TGalerie* g = cavite.UneGalerie(e.Galerie);
    const int noeud = static_cast<int>(a.Noeuds.size());
    a.Noeuds.push_back({e.NoeudParent, g->NomGalerie, g, e.Galerie});
    int niveau = e.Niveau;
    std::vector<Etape> suivantes;
    for (int j : enfants[static_cast<size_t>(e.Galerie)]) {
      if (j == e.Galerie + 1) {
        ++niveau;
        a.Niveaux = std::max(a.Niveaux, niveau);
      }
      suivantes.push_back({j, noeud, niveau});
    }
    for (auto it = suivantes.rbegin(); it != suivantes.rend(); ++it) pile.push_back(*it);
  }
  return a;
}

void TrieCoupes(std::vector<CoupeCavite>& coupes) {
  std::stable_sort(coupes.begin(), coupes.end(),
                   [](const CoupeCavite& a, const CoupeCavite& b) { return a.SlhDebut - b.SlhDebut < 0; });
}

}  // namespace app
