#include "drawing/liste_motifs_base.h"

#include <algorithm>

#include "drawing/ports_motifs.h"
#include "foundation/catalogue.h"

namespace drawing {

using foundation::TFlux;

// --- Equivalence index ----------------------------------------------------------

void TIndexEquivalence::Ajoute(const TObjetMotifdeBase* m) { paquets_[m->CleEquivalence()].push_back(m); }

const TObjetMotifdeBase* TIndexEquivalence::Equivalent(const TObjetMotifdeBase& p) const {
  const auto it = paquets_.find(p.CleEquivalence());
  if (it == paquets_.end()) return nullptr;
  for (const TObjetMotifdeBase* q : it->second)
    if (q->EstEquivalent(p)) return q;
  return nullptr;
}

// --- Basic lists ----------------------------------------------------------------

TTypeMotif TListeBasiqueDeMotifs::TypeMotifListe() const { return Vide() ? fTypeMotif : First()->TypeMotif; }

TObjetMotifdeBase* TListeBasiqueDeMotifs::MotifSelecte() const {
  for (int i = Count() - 1; i >= 0; --i)
    if (UnObjet(i)->Selecte) return UnObjet(i);
  return nullptr;
}

void TListeBasiqueDeMotifs::SetMotifSelecte(const TObjetMotifdeBase* m) {
  for (TObjetMotifdeBase* p : *this) p->Selecte = p == m;
}

void TListeBasiqueDeMotifs::DeSelectTout() {
  for (TObjetMotifdeBase* p : *this) p->Selecte = false;
}

void TListeBasiqueDeMotifs::RazVerrou() {
  for (TObjetMotifdeBase* p : *this) {
    p->SetVerrou(false);
    p->SelectionConcepteur = false;
  }
}

void TListeBasiqueDeMotifs::InitCalculVerrous() {
  for (int i = 0; i < Count(); ++i) UnObjet(i)->SetVerrou(i < NbreMotifsFixes);
}

void TListeBasiqueDeMotifs::NommeMotifsSVG() {
  const std::string prefixe = PrefixeMotifSVG(TypeMotifListe());
  for (int i = 0; i < Count(); ++i) {
    UnObjet(i)->NomMotifSVG = prefixe + "_" + std::to_string(i);
    UnObjet(i)->Utilise = false;
  }
}

// --- Lists of a library ---------------------------------------------------------

TListeMotifsBase::TListeMotifsBase(foundation::TClassObjetDeListe classe, TTypeMotif type)
    : TListeBasiqueDeMotifs(classe, type),
      CatNonDefinie(foundation::Msg(foundation::IdMsg::CategorieNonDefinie), type, false) {}

TCategorieMotifs* TListeMotifsBase::LaCategorie(int i) const {
  return i < 0 || i >= static_cast<int>(ListeCategories.size()) ? nullptr : ListeCategories[static_cast<size_t>(i)].get();
}

std::string TListeMotifsBase::NomCategorie(int i) const {
  const TCategorieMotifs* c = LaCategorie(i);
  return c ? c->UnNomCategorie : std::string();
}

int TListeMotifsBase::IndexDeCategorie(const TCategorieMotifs* c) const {
  if (!c) return -1;
  for (size_t i = 0; i < ListeCategories.size(); ++i)
    if (ListeCategories[i].get() == c) return static_cast<int>(i);
  return -1;
}

TCategorieMotifs* TListeMotifsBase::AjouteCategorie(const std::string& nom) {
  ListeCategories.push_back(std::make_unique<TCategorieMotifs>(nom, TypeMotifListe()));
  return ListeCategories.back().get();
}

void TListeMotifsBase::SupprimeCategorie(TCategorieMotifs* c) {
  const int i = IndexDeCategorie(c);
  if (i < 0) return;
  for (TObjetMotifdeBase* p : *this)
    if (p->UneCategorie == c) p->UneCategorie = nullptr;
  ListeCategories.erase(ListeCategories.begin() + i);
}

void TListeMotifsBase::RAZ() {
  Clear();
  ListeCategories.clear();
  CatNonDefinie.Motifs.clear();
}

void TListeMotifsBase::CreeListeCategories() {
  CatNonDefinie.Motifs.clear();
  for (auto& c : ListeCategories) c->Motifs.clear();
  for (TObjetMotifdeBase* p : *this) {
    // An entry whose category is not one of this list's joins the undefined
    // category and forgets it.
    const int i = IndexDeCategorie(p->UneCategorie);
    if (i < 0) {
      p->UneCategorie = nullptr;
      CatNonDefinie.Motifs.push_back(p);
    } else {
      ListeCategories[static_cast<size_t>(i)]->Motifs.push_back(p);
    }
  }
}

std::unique_ptr<TObjetMotifdeBase> TListeMotifsBase::CreeMotif() const {
  std::unique_ptr<foundation::TObjetDeListe> o = ClasseDObjet->Cree();
  auto* m = dynamic_cast<TObjetMotifdeBase*>(o.get());
  if (!m) throw std::logic_error("classe d'objet incompatible avec la liste de motifs");
  o.release();
  return std::unique_ptr<TObjetMotifdeBase>(m);
}

TObjetMotifdeBase* TListeMotifsBase::AjouteMotif(std::unique_ptr<TObjetMotifdeBase> m) {
  m->ListeProprio = this;
  return Add(std::move(m));
}

TObjetMotifdeBase* TListeMotifsBase::InsereMotif(int i, std::unique_ptr<TObjetMotifdeBase> m) {
  m->ListeProprio = this;
  return Insert(i, std::move(m));
}

std::unique_ptr<TObjetMotifdeBase> TListeMotifsBase::ExtraitMotif(int i) {
  std::unique_ptr<TObjetMotifdeBase> m = Extract(i);
  if (m) m->ListeProprio = nullptr;
  return m;
}

std::vector<std::unique_ptr<TObjetMotifdeBase>> TListeMotifsBase::ExtraitTout() {
  // Taken from the end, so that no entry is shifted.
  std::vector<std::unique_ptr<TObjetMotifdeBase>> r(static_cast<size_t>(Count()));
  for (int i = Count() - 1; i >= 0; --i) r[static_cast<size_t>(i)] = ExtraitMotif(i);
  return r;
}

bool TListeMotifsBase::AjoutMotif(bool Cloner) {
  TObjetMotifdeBase* selection = MotifSelecte();
  if (Cloner && !selection) return false;
  std::unique_ptr<TObjetMotifdeBase> m = CreeMotif();
  if (Cloner) {
    m->CopieMotif(*selection);
    m->DesignMotif += "-1";
  }
  m->ListeProprio = this;
  m->SetVerrou(false);
  if (!m->DessineMotif()) return false;
  if (selection) m->UneCategorie = selection->UneCategorie;
  TObjetMotifdeBase* ajoute = AjouteMotif(std::move(m));
  SetMotifSelecte(ajoute);
  SignaleDocumentModifie();
  return true;
}

void TListeMotifsBase::CreeListeDiff(TListeMotifsBase& source, TListeMotifsBase& result) const {
  // The entries this list holds before result is emptied (none when result is
  // this list).
  TIndexEquivalence existants;
  if (&result != this)
    for (const TObjetMotifdeBase* q : *this) existants.Ajoute(q);
  result.Clear();
  result.ListeCategories = std::move(source.ListeCategories);
  source.ListeCategories.clear();
  for (TObjetMotifdeBase* p : source) {
    if (existants.Equivalent(*p)) continue;
    std::unique_ptr<TObjetMotifdeBase> copie = result.CreeMotif();
    copie->CopieMotif(*p);
    result.AjouteMotif(std::move(copie));
  }
  // Source no longer has categories: its entries forget theirs, which now
  // belong to result.
  for (TObjetMotifdeBase* p : source) p->UneCategorie = nullptr;
}

void TListeMotifsBase::TransfereListe(TListeMotifsBase& source) {
  if (&source == this) return;
  Clear();
  ListeCategories = std::move(source.ListeCategories);
  source.ListeCategories.clear();
  for (TObjetMotifdeBase* p : source) {
    std::unique_ptr<TObjetMotifdeBase> copie = CreeMotif();
    copie->CopieMotif(*p);
    AjouteMotif(std::move(copie));
  }
  for (TObjetMotifdeBase* p : source) p->UneCategorie = nullptr;
}

bool TListeMotifsBase::EcritListe(TFlux& f) {
  for (TObjetMotifdeBase* p : *this) p->CodeOrigineMotif = CodeOrigine;
  if (!f.EcritInteger(static_cast<int32_t>(ListeCategories.size()))) return false;
  for (const auto& c : ListeCategories)
    if (!foundation::EcritChaineA(f, c->UnNomCategorie)) return false;
  if (!ListeCategories.empty()) {
    std::unordered_map<const TCategorieMotifs*, int32_t> positions;
    for (size_t i = 0; i < ListeCategories.size(); ++i) positions[ListeCategories[i].get()] = static_cast<int32_t>(i);
    for (TObjetMotifdeBase* p : *this) {
      const auto it = positions.find(p->UneCategorie);
      p->IndexCategorie = it == positions.end() ? -1 : it->second;
    }
  }
  return TListeBasiqueDeMotifs::EcritListe(f);
}

bool TListeMotifsBase::LitListe(TFlux& f) {
  ListeCategories.clear();
  CatNonDefinie.Motifs.clear();
  if (NiveauLu() > 225) {
    int32_t n;
    if (!f.LitInteger(n)) return false;
    // Each name takes at least its 4-byte count.
    if (n > 0 && static_cast<uint64_t>(n) > f.Restant() / 4) return false;
    for (int32_t i = 0; i < n; ++i) {
      std::string nom;
      if (!foundation::LitChaineA(f, nom)) return false;
      AjouteCategorie(nom);
    }
  }
  const bool lu = TListeBasiqueDeMotifs::LitListe(f);
  Rattache();
  if (!lu) return false;
  if (NiveauLu() > 225 && !ListeCategories.empty()) {
    for (TObjetMotifdeBase* p : *this) {
      if (p->IndexCategorie < 0) continue;
      TCategorieMotifs* c = LaCategorie(p->IndexCategorie);
      if (!c) return false;
      p->UneCategorie = c;
    }
  }
  return true;
}

void TListeMotifsBase::EchangeContenu(TListeMotifsBase& autre) {
  std::swap(Items, autre.Items);
  std::swap(ListeCategories, autre.ListeCategories);
  CatNonDefinie.Motifs.clear();
  autre.CatNonDefinie.Motifs.clear();
  Rattache();
  autre.Rattache();
}

void TListeMotifsBase::Rattache() {
  for (TObjetMotifdeBase* p : *this) p->ListeProprio = this;
}

}  // namespace drawing
