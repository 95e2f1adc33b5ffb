#pragma once
// The options of the shot search, kept from one search dialog to the next.

namespace app {

struct OptionsRecherche {
  bool Exacte = false;        // "Chercher la désignation exacte"
  bool Commentaires = false;  // "Chercher dans les commentaires"
  bool Galeries = false;      // "Chercher dans le nom des galeries "
};

}  // namespace app
