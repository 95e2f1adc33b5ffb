#pragma once
// The rows of the shot table: one per main shot of the active cave and, when
// they are shown, one per splay under its main shot.  The row <-> shot mapping
// lives here, in the view layer; the shots know nothing of their rows.  A
// row's texts are made the first time it is drawn and kept in a bounded cache
// (a large network never holds the texts of every row), until the row is
// invalidated.
//
// A main shot without computed origin is an error of the cave: the refill
// lists those rows once, and a cell drawn on such a row is only marked.
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/table/textes_visee.h"

namespace survey {
class TCavite;
class TValeurVisee;
class TVisee;
}  // namespace survey

namespace app {

class TTableVisees {
 public:
  // Builds the texts of a row; by default TextesLigneTable.
  using FabriqueTextes = std::function<void(survey::TValeurVisee&, TextesLigne&)>;
  explicit TTableVisees(FabriqueTextes fabrique = {});

  // What a refill found.
  struct Remplissage {
    bool HabiExistent = false;         // the cave has splays
    std::vector<std::string> Erreurs;  // "erreur sur visée " + station, once per faulty shot
  };
  // The rows of the cave's shots in cave order, with their splays when
  // afficheHabi; sets the cave's splay flag.
  Remplissage Remplit(survey::TCavite& cavite, bool afficheHabi);
  void Vide();

  int Nombre() const { return static_cast<int>(lignes_.size()); }
  survey::TValeurVisee* Visee(int ligne) const;
  // The row's main shot (the splay's own for a splay row).
  survey::TVisee* ViseePrincipale(int ligne) const;
  bool EstHabi(int ligne) const;
  // Row of a shot, -1 when not shown.
  int LigneDe(const survey::TValeurVisee* visee) const;
  const std::vector<survey::TValeurVisee*>& Lignes() const { return lignes_; }

  // A row for the shot before row ligne (ligne = Nombre() appends).
  void Insere(int ligne, survey::TValeurVisee* visee);
  // Removes rows premier to dernier, both included.
  void Retire(int premier, int dernier);
  // Takes every row out (the table then shows none, its texts are kept) and
  // puts them back: the table holds no shot while the network deletes one.
  std::vector<survey::TValeurVisee*> Detache();
  void Rattache(std::vector<survey::TValeurVisee*> lignes);

  // Text of a cell, made on first use; empty outside the table.
  const std::string& Texte(int ligne, int colonne);
  bool TextesFaits(int ligne) const;
  void Invalide(int ligne);
  void InvalideDepuis(int ligne);
  void InvalideTout();

  // The error of a row's shot ("erreur sur visée " + its computed station),
  // empty when it has none.
  static std::string ErreurVisee(const survey::TValeurVisee& visee);
  // A row drawn with an error not yet reported: records it for one report;
  // false when it was known already.
  bool NoteErreurDessin(int ligne, const std::string& message);
  // The errors found while drawing since the last call, each reported once.
  std::vector<std::string> ErreursARapporter();

  // Number of rows whose texts are held.
  size_t TextesEnCache() const { return textes_.size(); }
  static constexpr size_t CacheMaxi = 4096;

 private:
  FabriqueTextes fabrique_;
  std::vector<survey::TValeurVisee*> lignes_;
  std::unordered_map<const survey::TValeurVisee*, TextesLigne> textes_;
  std::unordered_set<const survey::TValeurVisee*> signalees_;
  std::vector<std::string> aRapporter_;
};

}  // namespace app
