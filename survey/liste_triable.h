#pragma once
// Sorting of the model's lists, keeping equal items in their order.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "foundation/objet_de_liste.h"

namespace survey {

// Stable sort of a vector by an integer key, read once per item.  Keys that
// span a range comparable to the number of items (ranks, as the cave model's
// keys are) are sorted by counting, in linear time; others by comparison of
// (key, former position).
template <class P, class Cle>
void TrieParCleEntiere(std::vector<P>& v, Cle cle) {
  const size_t n = v.size();
  if (n < 2) return;
  std::vector<int64_t> cles(n);
  bool trie = true;
  for (size_t i = 0; i < n; ++i) {
    cles[i] = static_cast<int64_t>(cle(v[i]));
    if (i > 0 && cles[i] < cles[i - 1]) trie = false;
  }
  if (trie) return;
  const auto [mini, maxi] = std::minmax_element(cles.begin(), cles.end());
  const uint64_t etendue = static_cast<uint64_t>(*maxi) - static_cast<uint64_t>(*mini) + 1;
  std::vector<P> resultat;
  resultat.reserve(n);
  if (etendue <= 4 * static_cast<uint64_t>(n) + 16) {
    std::vector<uint32_t> debut(static_cast<size_t>(etendue) + 1, 0);
    for (int64_t c : cles) ++debut[static_cast<size_t>(c - *mini) + 1];
    for (size_t k = 1; k < debut.size(); ++k) debut[k] += debut[k - 1];
    std::vector<uint32_t> ordre(n);
    for (size_t i = 0; i < n; ++i) ordre[debut[static_cast<size_t>(cles[i] - *mini)]++] = static_cast<uint32_t>(i);
    for (uint32_t i : ordre) resultat.push_back(std::move(v[i]));
  } else {
    std::vector<std::pair<int64_t, uint32_t>> paires(n);
    for (size_t i = 0; i < n; ++i) paires[i] = {cles[i], static_cast<uint32_t>(i)};
    std::sort(paires.begin(), paires.end());
    for (const auto& c : paires) resultat.push_back(std::move(v[c.second]));
  }
  v.swap(resultat);
}

// An owning list of stored objects that can be sorted in place.
template <class T>
class TListeTriable : public foundation::TListeFichier<T> {
 public:
  // Stable sort by comp (a strict order on T*); every item's IndexFichier
  // becomes its new position.
  template <class Compare>
  void TrieStable(Compare comp) {
    std::stable_sort(this->Items.begin(), this->Items.end(), [&](const auto& a, const auto& b) {
      return comp(static_cast<T*>(a.get()), static_cast<T*>(b.get()));
    });
    this->Renumerote();
  }
  // Removes (and frees) every item the predicate holds, in one pass; the
  // items left keep their order and take their new positions.
  template <class Pred>
  void SupprimeSi(Pred pred) {
    std::vector<std::unique_ptr<foundation::TObjetDeListe>> gardes, partants;
    gardes.reserve(this->Items.size());
    for (auto& o : this->Items) (pred(static_cast<T*>(o.get())) ? partants : gardes).push_back(std::move(o));
    this->Items.swap(gardes);
    this->Renumerote();
    partants.clear();
  }
  // Hands every item over, in order, emptying the list.
  std::vector<std::unique_ptr<T>> ExtraitTout() {
    std::vector<std::unique_ptr<T>> r;
    r.reserve(this->Items.size());
    for (auto& o : this->Items) r.emplace_back(static_cast<T*>(o.release()));
    this->Items.clear();
    return r;
  }
  // Stable sort by an integer key of each item.
  template <class Cle>
  void TrieParCle(Cle cle) {
    TrieParCleEntiere(this->Items, [&](const auto& p) { return cle(static_cast<const T*>(p.get())); });
    this->Renumerote();
  }
};

}  // namespace survey
