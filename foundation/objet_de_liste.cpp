#include "foundation/objet_de_liste.h"

#include <algorithm>

#include "foundation/niveau_fichier.h"

namespace foundation {

bool TObjetDeListe::EcrisVariable(const void* v, size_t taille) {
  return Chaine([&](TFlux& f) { return f.Ecrit(v, taille) == taille; });
}
bool TObjetDeListe::LisVariable(void* v, size_t taille) {
  return Chaine([&](TFlux& f) { return f.Lit(v, taille) == taille; });
}
bool TObjetDeListe::EcrisReal(double v) {
  return Chaine([&](TFlux& f) { return f.EcritReal(v); });
}
bool TObjetDeListe::LisReal(double& v) {
  return Chaine([&](TFlux& f) { return f.LitReal(v); });
}
bool TObjetDeListe::EcrisInteger(int32_t v) {
  return Chaine([&](TFlux& f) { return f.EcritInteger(v); });
}
bool TObjetDeListe::LisInteger(int32_t& v) {
  return Chaine([&](TFlux& f) { return f.LitInteger(v); });
}
bool TObjetDeListe::EcrisBoolean(bool v) {
  return Chaine([&](TFlux& f) { return f.EcritBoolean(v); });
}
bool TObjetDeListe::LisBoolean(bool& v) {
  return Chaine([&](TFlux& f) { return f.LitBoolean(v); });
}
bool TObjetDeListe::EcrisTexte(const std::string& v) {
  return Chaine([&](TFlux& f) { return EcritChaineA(f, v); });
}
bool TObjetDeListe::LisTexte(std::string& v) {
  return Chaine([&](TFlux& f) { return LitChaineA(f, v); });
}
bool TObjetDeListe::EcrisOctet(uint8_t v) {
  return Chaine([&](TFlux& f) { return f.EcritOctet(v); });
}
bool TObjetDeListe::LisOctet(uint8_t& v) {
  return Chaine([&](TFlux& f) { return f.LitOctet(v); });
}

bool TObjetDeListe::LisAncien(int n) {
  if (!VersionAncienne()) {
    // Nothing to skip: a chain that has just started has not failed.
    if (vInitES) ResultObjet = true;
    vInitES = false;
    return ResultObjet;
  }
  n = std::clamp(n, 0, 100);
  uint8_t tampon[100];
  return LisVariable(tampon, static_cast<size_t>(n));
}

// --- Lists --------------------------------------------------------------------

bool TListeFichierBase::EcritListe(TFlux& f) {
  if (!f.EcritInteger(Count())) return false;
  for (int i = 0; i < Count(); ++i) {
    TObjetDeListe* o = Items[static_cast<size_t>(i)].get();
    o->IndexFichier = i;
    if (!o->EcritObjet(f)) return false;
  }
  return true;
}

bool TListeFichierBase::LitListe(TFlux& f) {
  Clear();
  int32_t n;
  if (!f.LitInteger(n)) return false;
  if (n <= 0) return true;
  // Every stored record takes at least one byte.
  if (!f.Contient(static_cast<uint64_t>(n))) return false;
  Items.reserve(static_cast<size_t>(std::min<int32_t>(n, 1 << 20)));
  bool ok = true;
  while (ok && Count() < n) {
    std::unique_ptr<TObjetDeListe> o = ClasseDObjet->Cree();
    if (!AccepteClasse(*o)) throw std::logic_error("classe d'objet incompatible avec la liste");
    ok = o->LitObjet(f);
    Items.push_back(std::move(o));
  }
  return ok;
}

int TListeFichierBase::IndexOf(const TObjetDeListe* o) const {
  if (!o) return -1;
  const int i = o->IndexFichier;
  if (i >= 0 && i < Count() && Items[static_cast<size_t>(i)].get() == o) return i;
  for (size_t k = 0; k < Items.size(); ++k)
    if (Items[k].get() == o) return static_cast<int>(k);
  return -1;
}

bool TListeFichierBase::EcritIndexObjet(TFlux& f, const TObjetDeListe* o) const { return f.EcritInteger(IndexOf(o)); }

bool TListeFichierBase::LitIndexObjetDeBase(TFlux& f, TObjetDeListe*& o) const {
  int32_t i;
  o = nullptr;
  if (!f.LitInteger(i)) return false;
  o = UnObjetDeBase(i);
  return true;
}

void TListeFichierBase::SelectTous() {
  for (auto& o : Items) o->Selecte = true;
}
void TListeFichierBase::DeselectTous() {
  for (auto& o : Items) o->Selecte = false;
}
void TListeFichierBase::MarqueTous() {
  for (auto& o : Items) o->Marque = true;
}
void TListeFichierBase::DemarqueTous() {
  for (auto& o : Items) o->Marque = false;
}

void TListeFichierBase::Delete(int i) {
  if (i >= 0 && i < Count()) Items.erase(Items.begin() + i);
}

bool TListeFichierBase::Remove(const TObjetDeListe* o) {
  const int i = IndexOf(o);
  if (i < 0) return false;
  Delete(i);
  return true;
}

void TListeFichierBase::Move(int depuis, int vers) {
  if (depuis < 0 || depuis >= Count() || vers < 0 || vers >= Count() || depuis == vers) return;
  auto o = std::move(Items[static_cast<size_t>(depuis)]);
  Items.erase(Items.begin() + depuis);
  Items.insert(Items.begin() + vers, std::move(o));
}

void TListeFichierBase::Exchange(int i, int j) {
  if (i < 0 || i >= Count() || j < 0 || j >= Count()) return;
  std::swap(Items[static_cast<size_t>(i)], Items[static_cast<size_t>(j)]);
}

void TListeFichierBase::Renumerote() {
  for (size_t i = 0; i < Items.size(); ++i) Items[i]->IndexFichier = static_cast<int32_t>(i);
}

void TListeFichierBase::AjouteDeBase(std::unique_ptr<TObjetDeListe> o) { Items.push_back(std::move(o)); }

void TListeFichierBase::InsereDeBase(int i, std::unique_ptr<TObjetDeListe> o) {
  i = std::clamp(i, 0, Count());
  Items.insert(Items.begin() + i, std::move(o));
}

std::unique_ptr<TObjetDeListe> TListeFichierBase::ExtraitDeBase(int i) {
  if (i < 0 || i >= Count()) return nullptr;
  auto o = std::move(Items[static_cast<size_t>(i)]);
  Items.erase(Items.begin() + i);
  return o;
}

// --- Integer lists --------------------------------------------------------------

bool TListeInteger::EcritListe(TFlux& f) const {
  if (!f.EcritInteger(Count())) return false;
  for (int32_t v : valeurs_)
    if (!f.EcritInteger(v)) return false;
  return true;
}

bool TListeInteger::LitListe(TFlux& f) {
  int32_t n;
  if (!f.LitInteger(n)) return false;
  if (n > 0 && !f.Contient(static_cast<uint64_t>(n), 4)) return false;
  for (int32_t i = 0; i < n; ++i) {
    int32_t v;
    if (!f.LitInteger(v)) return false;
    valeurs_.push_back(v);
  }
  return true;
}

}  // namespace foundation
