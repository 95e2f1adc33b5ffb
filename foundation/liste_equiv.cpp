#include "foundation/liste_equiv.h"

namespace foundation {

TListeEquiv::TListeEquiv(TListeFichierBase* UneListeSource) : ListeSource(UneListeSource) {
  if (!ListeSource) return;
  entrees_.resize(static_cast<size_t>(ListeSource->Count()));
  for (int i = 0; i < ListeSource->Count(); ++i) index_[ListeSource->UnObjetDeBase(i)] = static_cast<size_t>(i);
}

int TListeEquiv::Position(const TObjetDeListe* o) const {
  const auto it = index_.find(o);
  return it == index_.end() ? -1 : static_cast<int>(it->second);
}

TObjetDeListe* TListeEquiv::Equivaut(TObjetDeListe* ObjSource) {
  if (!ObjSource) return nullptr;
  const int i = Position(ObjSource);
  if (i < 0) return ObjSource;
  TEquivObjet& e = UnEquiv(i);
  if (e.ObjDest) return e.ObjDest;
  e.Utilise = true;
  return ObjSource;
}

void TListeEquiv::CreeEquivalents(const TListeFichierBase& UneListe, const FonctionCle& cle,
                                  const FonctionEquiv& EquivFn) {
  if (!ListeSource) return;
  std::unordered_map<std::string, std::vector<TObjetDeListe*>> paquets;
  for (int j = 0; j < UneListe.Count(); ++j) {
    TObjetDeListe* d = UneListe.UnObjetDeBase(j);
    paquets[cle(*d)].push_back(d);
  }
  for (int i = 0; i < ListeSource->Count(); ++i) {
    const TObjetDeListe* s = ListeSource->UnObjetDeBase(i);
    const auto it = paquets.find(cle(*s));
    if (it == paquets.end()) continue;
    for (TObjetDeListe* d : it->second)
      if (EquivFn(*s, *d)) {
        entrees_[static_cast<size_t>(i)].ObjDest = d;
        break;
      }
  }
}

std::vector<int> TListeEquiv::Sortants() const {
  std::vector<int> r;
  for (size_t i = 0; i < entrees_.size(); ++i)
    if (!entrees_[i].ObjDest && entrees_[i].Utilise) r.push_back(static_cast<int>(i));
  return r;
}

void TListeEquiv::Oublie() {
  entrees_.clear();
  index_.clear();
  ListeSource = nullptr;
}

}  // namespace foundation
