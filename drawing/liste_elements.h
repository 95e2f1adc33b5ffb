#pragma once
// The owning lists of the stored drawings, with the removals in one pass that
// keep recomputing and pruning a large drawing linear.
#include <memory>
#include <vector>

#include "foundation/objet_de_liste.h"

namespace drawing {

template <class T>
class TListeElements : public foundation::TListeFichier<T> {
 public:
  TListeElements() = default;
  explicit TListeElements(foundation::TClassObjetDeListe classe) : foundation::TListeFichier<T>(classe) {}

  // Removes and frees every item for which pred(item) is true, keeping the
  // order of the others; returns how many went.
  template <class Pred>
  int SupprimeSi(Pred pred) {
    auto& items = this->Items;
    size_t garde = 0;
    for (size_t i = 0; i < items.size(); ++i) {
      if (pred(static_cast<T*>(items[i].get()))) continue;
      if (garde != i) items[garde] = std::move(items[i]);
      ++garde;
    }
    const int partis = static_cast<int>(items.size() - garde);
    items.resize(garde);
    return partis;
  }

  // Takes out, in order, every item for which pred(item) is true.
  template <class Pred>
  std::vector<std::unique_ptr<T>> ExtraitSi(Pred pred) {
    std::vector<std::unique_ptr<T>> sortis;
    auto& items = this->Items;
    size_t garde = 0;
    for (size_t i = 0; i < items.size(); ++i) {
      if (pred(static_cast<T*>(items[i].get()))) {
        sortis.emplace_back(static_cast<T*>(items[i].release()));
        continue;
      }
      if (garde != i) items[garde] = std::move(items[i]);
      ++garde;
    }
    items.resize(garde);
    return sortis;
  }

  // Takes out every item.
  std::vector<std::unique_ptr<T>> ExtraitTout() {
    return ExtraitSi([](const T*) { return true; });
  }
};

}  // namespace drawing
