#pragma once
// The lists of pattern entries: the basic list (built-in count, origin code,
// selection, locks), the user categories, and the list of one kind inside a
// library with its stream form, comparison and creation of entries.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "drawing/objet_motif_de_base.h"

namespace drawing {

class tListeMtf;

// The entries of a list grouped by equivalence key, to find an equivalent
// entry without comparing with every entry.
class TIndexEquivalence {
 public:
  void Ajoute(const TObjetMotifdeBase* m);
  // The first entry added that is equivalent to p (q.EstEquivalent(p)).
  const TObjetMotifdeBase* Equivalent(const TObjetMotifdeBase& p) const;

 private:
  std::unordered_map<std::string, std::vector<const TObjetMotifdeBase*>> paquets_;
};

class TListeBasiqueDeMotifs : public foundation::TListeFichier<TObjetMotifdeBase> {
 public:
  TListeBasiqueDeMotifs(foundation::TClassObjetDeListe classe, TTypeMotif type)
      : foundation::TListeFichier<TObjetMotifdeBase>(classe), fTypeMotif(type) {}

  TTypeMotif fTypeMotif;      // the kind of an empty list
  int32_t NbreMotifsFixes = 0;  // built-in entries at the head
  int32_t CodeOrigine = 0;      // origin code of the library

  // The kind of the first entry, or fTypeMotif when empty.
  TTypeMotif TypeMotifListe() const;
  // The last selected entry, or none.
  TObjetMotifdeBase* MotifSelecte() const;
  // Selects the entry and deselects every other one.
  void SetMotifSelecte(const TObjetMotifdeBase* m);

  TObjetMotifdeBase* LeMotifDeBase(int i) const { return UnObjet(i); }
  void DeSelectTout();
  // Clears both locks and SelectionConcepteur on every entry.
  void RazVerrou();
  // Locks the built-in entries and unlocks the others.
  void InitCalculVerrous();
  // "prefix_index" identifiers for the SVG export; clears Utilise.
  void NommeMotifsSVG();
};

// A named group of entries of one list.  It does not own its entries; its
// content is rebuilt by TListeMotifsBase::CreeListeCategories.
class TCategorieMotifs {
 public:
  TCategorieMotifs(std::string nom, TTypeMotif type, bool definie = true)
      : UnNomCategorie(std::move(nom)), EstDefinie(definie), fTypeMotif(type) {}

  std::string UnNomCategorie;
  bool EstDefinie = true;  // false only for the list's "undefined" category
  TTypeMotif fTypeMotif;
  std::vector<TObjetMotifdeBase*> Motifs;

  int Count() const { return static_cast<int>(Motifs.size()); }
  TObjetMotifdeBase* LeMotifDeBase(int i) const {
    return i < 0 || i >= Count() ? nullptr : Motifs[static_cast<size_t>(i)];
  }
};

class TListeMotifsBase : public TListeBasiqueDeMotifs {
 public:
  TListeMotifsBase(foundation::TClassObjetDeListe classe, TTypeMotif type);

  TCategorieMotifs CatNonDefinie;  // "Non définie"
  std::vector<std::unique_ptr<TCategorieMotifs>> ListeCategories;
  tListeMtf* MtfProprio = nullptr;  // not owned

  TCategorieMotifs* LaCategorie(int i) const;
  std::string NomCategorie(int i) const;
  // Position of the category in ListeCategories, -1 for none or a stranger.
  int IndexDeCategorie(const TCategorieMotifs* c) const;
  TCategorieMotifs* AjouteCategorie(const std::string& nom);
  // The category's entries lose it; the category is removed and freed.
  void SupprimeCategorie(TCategorieMotifs* c);
  // Frees every entry and every category.
  void RAZ();
  // Rebuilds the content of every category from the entries, in order.
  void CreeListeCategories();

  // A new entry of the list's item class (not yet in the list).
  std::unique_ptr<TObjetMotifdeBase> CreeMotif() const;
  // Appends or inserts an entry and makes the list its owner list.
  TObjetMotifdeBase* AjouteMotif(std::unique_ptr<TObjetMotifdeBase> m);
  TObjetMotifdeBase* InsereMotif(int i, std::unique_ptr<TObjetMotifdeBase> m);
  // Takes entry i out of the list.
  std::unique_ptr<TObjetMotifdeBase> ExtraitMotif(int i);
  // Takes every entry out of the list, in order (categories stay).
  std::vector<std::unique_ptr<TObjetMotifdeBase>> ExtraitTout();

  // Creation of a new entry by the user through the kind's editor; true when
  // it was added.  Cloning copies the selected entry and needs one.
  bool AjoutMotif(bool Cloner);
  // Fills result with copies of the entries of source that have no
  // equivalent in this list; result takes source's categories.
  void CreeListeDiff(TListeMotifsBase& source, TListeMotifsBase& result) const;
  // Replaces the content by copies of every entry of source, with source's
  // categories.
  void TransfereListe(TListeMotifsBase& source);

  // Category names (above level 225), then count and entries.
  bool EcritListe(foundation::TFlux& f) override;
  bool LitListe(foundation::TFlux& f) override;

  // Swaps entries and categories with another list of the same kind; each
  // entry then knows its new list.  Used to replace a live list by one read
  // into a scratch library.
  void EchangeContenu(TListeMotifsBase& autre);

 protected:
  void Rattache();
};

}  // namespace drawing
