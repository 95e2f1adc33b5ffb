#include "app/document/selecteurs.h"

#include <algorithm>

#include "foundation/codage.h"
#include "survey/arbre_galeries.h"
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
  const survey::TArbreGaleries arbre(cavite);
  // The level of each gallery, starting at 2; the galleries hanging from one
  // are one level further when the first of them is the very next gallery.
  std::vector<int> niveau(static_cast<size_t>(arbre.Nombre()), 2);
  std::vector<int> noeud(static_cast<size_t>(arbre.Nombre()), 0);
  arbre.Parcourt(arbre.Racine(), 0, [&](const survey::TArbreGaleries::Etape& e) {
    if (!e.Entree) return;
    const int parent = arbre.Parent(e.Galerie);
    const int noeudParent = e.Niveau == 0 ? 0 : noeud[static_cast<size_t>(parent)];
    if (e.Niveau > 0) {
      const bool suivante = arbre.Enfants(parent).front() == parent + 1;
      niveau[static_cast<size_t>(e.Galerie)] = niveau[static_cast<size_t>(parent)] + (suivante ? 1 : 0);
      if (suivante) a.Niveaux = std::max(a.Niveaux, niveau[static_cast<size_t>(e.Galerie)]);
    }
    survey::TGalerie* g = cavite.UneGalerie(e.Galerie);
    noeud[static_cast<size_t>(e.Galerie)] = static_cast<int>(a.Noeuds.size());
    a.Noeuds.push_back({noeudParent, g->NomGalerie, g, e.Galerie});
  });
  return a;
}

void TrieCoupes(std::vector<CoupeCavite>& coupes) {
  std::stable_sort(coupes.begin(), coupes.end(),
                   [](const CoupeCavite& a, const CoupeCavite& b) { return a.SlhDebut - b.SlhDebut < 0; });
}

}  // namespace app
