#pragma once
// The people who survey.  The document keeps one list of operators; survey
// trips and observations refer to them through plain, non-owning lists that are
// stored as positions in the document's list.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/objet_de_liste.h"

namespace survey {

// One surveyor.  Record: DesignOpe (text).
class TOperateur : public foundation::TObjetDeListe {
 public:
  std::string DesignOpe;
  // In memory only: a trip or an observation refers to the operator (set by the
  // rebuild of the network's survey index).
  bool Utilise = false;

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
};

// Operators of a trip or an observation: not owned.
class TListeDOperateurs : public std::vector<TOperateur*> {
 public:
  using std::vector<TOperateur*>::vector;
  // The operator at the index; none for an index out of range.
  TOperateur* LOperateur(int i) const;
  // Its name; empty for an index out of range.
  std::string OperaText(int i) const;
};

// The document's operators.
class TListeOperateurs : public foundation::TListeFichier<TOperateur> {
 public:
  TOperateur* UnOperateur(int i) const { return UnObjet(i); }
  // Sorts by DesignOpe, comparing UTF-16 code units (case-sensitive, no locale).
  void TrieListe();
  // The first operator whose name, trimmed and with ASCII letters upper-cased,
  // equals the given one treated the same way; none otherwise.
  TOperateur* ChercheOperateurParStr(std::string_view nom) const;
  // Writes the count of the given list, then the position in this list of each
  // of its operators (-1 for one that is not in it); stops at the first failure.
  bool EcritListeDOperateurs(const TListeDOperateurs& liste, foundation::TFlux& f) const;
  // Empties the given list, reads the count and that many positions, appending
  // each that designates an operator of this list (the others are dropped);
  // stops at the first failed read.  A count larger than the stream can hold
  // fails at once.
  bool LitListeDOperateurs(TListeDOperateurs& liste, foundation::TFlux& f) const;
  // Removes (and frees) every operator the predicate holds, in one pass: the
  // predicate is asked of every operator first, at its current position; the
  // operators left keep their order and take their new positions.
  void SupprimeSi(const std::function<bool(const TOperateur*)>& pred);
};

// A name trimmed of blanks and control characters at both ends.
std::string RogneNom(std::string_view nom);
// The key names are compared by: trimmed, ASCII letters upper-cased (accented
// letters are left as they are).
std::string CleDeNom(std::string_view nom);

}  // namespace survey
