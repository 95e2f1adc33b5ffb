#pragma once
// What the data-entry dialogs remember for the whole run: the date proposed
// for a new survey trip and the boxes of the shot search.
#include "app/commun/options_recherche.h"
#include "foundation/dates.h"

namespace app {

struct ContexteSaisie {
  // Proposed for a new trip: today at start-up, then the date of the last new
  // trip confirmed (corrections leave it).
  foundation::TDateTime DateDernierLever = foundation::Aujourdhui();
  // The boxes of "Recherche d'une visée" as last left.
  OptionsRecherche OptionsChercheVisee{true, true, false};
};

ContexteSaisie& Saisie();

// Saves the whole state and restores it on exit, also on an exception.
class GardeSaisie {
 public:
  GardeSaisie() : sauve_(Saisie()) {}
  ~GardeSaisie() { Saisie() = sauve_; }
  GardeSaisie(const GardeSaisie&) = delete;
  GardeSaisie& operator=(const GardeSaisie&) = delete;

 private:
  ContexteSaisie sauve_;
};

}  // namespace app
