#include "survey/operateur.h"

#include <algorithm>
#include <memory>

#include "foundation/codage.h"

namespace survey {

using foundation::TFlux;

bool TOperateur::EcritObjet(TFlux& f) {
  InitES(f);
  return EcrisTexte(DesignOpe);
}

bool TOperateur::LitObjet(TFlux& f) {
  InitES(f);
  return LisTexte(DesignOpe);
}

TOperateur* TListeDOperateurs::LOperateur(int i) const {
  return (i < 0 || i >= static_cast<int>(size())) ? nullptr : (*this)[static_cast<size_t>(i)];
}

std::string TListeDOperateurs::OperaText(int i) const {
  const TOperateur* o = LOperateur(i);
  return o ? o->DesignOpe : std::string();
}

std::string RogneNom(std::string_view nom) {
  size_t a = 0, b = nom.size();
  while (a < b && static_cast<unsigned char>(nom[a]) <= ' ') ++a;
  while (b > a && static_cast<unsigned char>(nom[b - 1]) <= ' ') --b;
  return std::string(nom.substr(a, b - a));
}

std::string CleDeNom(std::string_view nom) {
  std::string cle = RogneNom(nom);
  for (char& c : cle)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return cle;
}


void TListeOperateurs::TrieListe() {
  std::vector<std::pair<std::u16string, std::unique_ptr<foundation::TObjetDeListe>>> cles;
  cles.reserve(Items.size());
  for (auto& o : Items) cles.emplace_back(foundation::VersUtf16(static_cast<TOperateur*>(o.get())->DesignOpe), std::move(o));
  std::stable_sort(cles.begin(), cles.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < cles.size(); ++i) Items[i] = std::move(cles[i].second);
}

TOperateur* TListeOperateurs::ChercheOperateurParStr(std::string_view nom) const {
  const std::string cle = CleDeNom(nom);
  for (TOperateur* o : *this)
    if (CleDeNom(o->DesignOpe) == cle) return o;
  return nullptr;
}

bool TListeOperateurs::EcritListeDOperateurs(const TListeDOperateurs& liste, TFlux& f) const {
  if (!f.EcritInteger(static_cast<int32_t>(liste.size()))) return false;
  for (const TOperateur* o : liste)
    if (!f.EcritInteger(IndexOf(o))) return false;
  return true;
}

bool TListeOperateurs::LitListeDOperateurs(TListeDOperateurs& liste, TFlux& f) const {
  liste.clear();
  int32_t n;
  if (!f.LitInteger(n)) return false;
  if (n > 0 && !f.Contient(static_cast<uint64_t>(n), 4)) return false;
  for (int32_t i = 0; i < n; ++i) {
    int32_t position;
    if (!f.LitInteger(position)) return false;
    if (TOperateur* o = UnOperateur(position)) liste.push_back(o);
  }
  return true;
}

void TListeOperateurs::SupprimeSi(const std::function<bool(const TOperateur*)>& pred) {
  std::vector<bool> partants(Items.size());
  for (size_t i = 0; i < Items.size(); ++i) partants[i] = pred(static_cast<const TOperateur*>(Items[i].get()));
  std::vector<std::unique_ptr<foundation::TObjetDeListe>> gardes;
  gardes.reserve(Items.size());
  for (size_t i = 0; i < Items.size(); ++i)
    if (!partants[i]) gardes.push_back(std::move(Items[i]));
  Items.swap(gardes);
  Renumerote();
}

}  // namespace survey
