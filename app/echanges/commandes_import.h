#pragma once
// The main window's imports of other programs' survey files: the entries of
// the "Imports" menu with their dialog filters and type codes, and the type
// of a foreign file opened from the Open dialog or the command line.
#include <string>
#include <vector>

#include "app/commun/etat_controles.h"
#include "foundation/catalogue.h"

namespace app {

struct CommandeImport {
  const char* NomObjet;      // object name of the menu item
  Commande Etat;             // its rule in the commands' states
  foundation::IdMsg Filtre;  // filter of the import dialog
  std::vector<int> Types;    // type code of each entry of that filter, in order
};

// "Fichier TopoRobot", "Fichier VTopo", "Tableau texte", "Fichier Carnet
// Electronique", in menu order.
const std::vector<CommandeImport>& CommandesImport();

// The entry can run: a reader exists for each of its types.  The others
// stay disabled.
bool ImportDisponible(const CommandeImport& commande);

// The import type of a foreign file chosen in the Open dialog with a filter
// (one-based index of its seven types): that filter's type when the file's
// name matches it; otherwise the type the extension names (a ".tro" chosen
// with the document filter is a VTopo file); otherwise the filter's.
int TypeImportOuverture(const std::string& chemin, int indexFiltre);

}  // namespace app
