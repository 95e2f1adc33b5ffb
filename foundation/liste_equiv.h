#pragma once
// Equivalence lists: each object of a source list paired with an equivalent
// object of a destination list, or marked used when the work that copies or
// moves the source's content refers to it without an equivalent.  After the
// work, the used objects without equivalent leave the source list for the
// destination list; the others stay behind and are freed with the source.
// The import from another document and the merge of pattern libraries both
// work through it.
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/objet_de_liste.h"

namespace foundation {

struct TEquivObjet {
  TObjetDeListe* ObjDest = nullptr;  // the equivalent object of the destination
  bool Utilise = false;              // referred to by moved content, without equivalent
};

class TListeEquiv {
 public:
  // One empty entry per object of the source list (none: no entry).
  explicit TListeEquiv(TListeFichierBase* UneListeSource = nullptr);

  TListeFichierBase* ListeSource;

  int Count() const { return static_cast<int>(entrees_.size()); }
  TEquivObjet& UnEquiv(int i) { return entrees_.at(static_cast<size_t>(i)); }
  // The position of a source object; -1 when it is not one.
  int Position(const TObjetDeListe* o) const;

  // None for none; the object itself when it is not a source object; its
  // equivalent when it has one; otherwise the object itself, marked used.
  TObjetDeListe* Equivaut(TObjetDeListe* ObjSource);
  template <class T>
  T* EquivautT(T* o) {
    return o ? dynamic_cast<T*>(Equivaut(o)) : nullptr;
  }

  // For each source object in order, the first object of the destination
  // list with the same key for which EquivFn is true becomes its equivalent.
  using FonctionCle = std::function<std::string(const TObjetDeListe&)>;
  using FonctionEquiv = std::function<bool(const TObjetDeListe&, const TObjetDeListe&)>;
  void CreeEquivalents(const TListeFichierBase& UneListe, const FonctionCle& cle, const FonctionEquiv& EquivFn);
  // Sets an equivalent by hand.
  void Associe(int i, TObjetDeListe* dest) { UnEquiv(i).ObjDest = dest; }

  // The source objects used and without equivalent (in order) leave the
  // source list for the end of ListeDest; the others stay where they are.
  // Returns the objects moved.  The source list is ListeSource, typed.
  template <class L>
  std::vector<TObjetDeListe*> TransfereObjetsUtiles(L& source, L& ListeDest) {
    std::vector<TObjetDeListe*> moved;
    if (ListeSource != &source) return moved;
    const std::vector<int> sortants = Sortants();
    std::vector<decltype(source.Extract(0))> extraits;
    for (auto it = sortants.rbegin(); it != sortants.rend(); ++it) extraits.push_back(source.Extract(*it));
    for (auto it = extraits.rbegin(); it != extraits.rend(); ++it) {
      moved.push_back(it->get());
      ListeDest.Add(std::move(*it));
    }
    Oublie();
    return moved;
  }

 private:
  // The positions of the used source objects without equivalent, in order.
  std::vector<int> Sortants() const;
  // The source list no longer matches the entries.
  void Oublie();
  std::vector<TEquivObjet> entrees_;
  std::unordered_map<const TObjetDeListe*, size_t> index_;
};

}  // namespace foundation
