#include "survey/arbre_galeries.h"

#include <unordered_map>

#include "survey/cavite.h"
#include "survey/galerie.h"

namespace survey {

TArbreGaleries::TArbreGaleries(const TCavite& cavite) {
  const int n = cavite.Galeries.Count();
  parent_.assign(static_cast<size_t>(n), -1);
  enfants_.resize(static_cast<size_t>(n));
  isolee_.assign(static_cast<size_t>(n), 0);
  std::unordered_map<const TGalerie*, int> position;
  position.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) position.emplace(cavite.UneGalerie(i), i);
  for (int i = 0; i < n; ++i) {
    const TGalerie* g = cavite.UneGalerie(i);
    isolee_[static_cast<size_t>(i)] = g->Isolee() ? 1 : 0;
    const TGalerie* p = g->GalDeRattach();
    const auto it = p ? position.find(p) : position.end();
    // Only an earlier gallery can hold it: the order is the computation's.
    if (it == position.end() || it->second >= i) continue;
    parent_[static_cast<size_t>(i)] = it->second;
    enfants_[static_cast<size_t>(it->second)].push_back(i);
  }
}

std::vector<int> TArbreGaleries::Isolees() const {
  std::vector<int> r;
  for (int i = 0; i < Nombre(); ++i)
    if (isolee_[static_cast<size_t>(i)]) r.push_back(i);
  return r;
}

int TArbreGaleries::Racine() const {
  for (int i = 0; i < Nombre(); ++i)
    if (!isolee_[static_cast<size_t>(i)]) return i;
  return Nombre() > 0 ? 0 : -1;
}

}  // namespace survey
