#pragma once
// Finding a shot in the table: the find lists made from the table's rows
// (start and end names, end comment, gallery name of a gallery's first shot,
// all upper-cased; splay rows and, when a trip is chosen, the shots of other
// trips are left out), the stored search and its position.  The state lives
// as long as the program; the window drops the lists whenever the rows
// change.
#include <cstdint>
#include <string>
#include <vector>

#include "app/commun/options_recherche.h"

namespace survey {
class TLever;
}

namespace app {

class TTableVisees;

class TRechercheVisees {
 public:
  // The distinct trips of the table's main shots, in row order.
  static std::vector<const survey::TLever*> LeversDeLaTable(const TTableVisees& table);

  // Rebuilds the find lists from the rows; lever none means every trip.
  void Prepare(TTableVisees& table, const survey::TLever* lever);
  // The stored search, then the first row found from row 0 (or, with an
  // empty text and a trip chosen, the trip's first row); -1 when none.
  int Lance(const std::string& texte, const OptionsRecherche& options, bool leverChoisi);
  // The next row matching the stored search from the stored position; -1
  // when none.
  int CherchePointSuivant();
  // The rows changed: the lists are dropped; the next search needs the dialog.
  void Invalide();
  bool Prete() const { return !lignes_.empty(); }

  // Kept from one dialog to the next.
  OptionsRecherche Options;

 private:
  struct Ligne {
    int Rangee;
    std::string Debut, Fin, Commentaire, Galerie;
  };
  bool Correspond(const Ligne& l) const;
  std::vector<Ligne> lignes_;
  std::string texte_;
  size_t position_ = 0;
};

}  // namespace app
