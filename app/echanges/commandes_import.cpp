#include "app/echanges/commandes_import.h"

#include "formats/import/import_fichier_autre.h"
#include "platform/dialogs.h"
#include "platform/files.h"

namespace app {

using foundation::IdMsg;

const std::vector<CommandeImport>& CommandesImport() {
  static const std::vector<CommandeImport> commandes = {
      {"ImportTopoRobot", Commande::ImportTopoRobot, IdMsg::AppFiltreImportTopoRobot, {formats::TypeImportTopoRobot}},
      {"ImportVTopo", Commande::ImportVTopo, IdMsg::AppFiltreImportVTopo, {formats::TypeImportVTopo}},
      {"ImportTexte", Commande::ImportTexte, IdMsg::AppFiltreImportTexte, {formats::TypeImportTableTexte}},
      {"ImportCarnet",
       Commande::ImportCarnet,
       IdMsg::AppFiltreCarnet,
       {formats::TypeImportTopoDroid, formats::TypeImportPocketTopo, formats::TypeImportAuriga}},
  };
  return commandes;
}

bool ImportDisponible(const CommandeImport& commande) {
  for (int type : commande.Types)
    if (!formats::LecteurImportDisponible(type)) return false;
  return !commande.Types.empty();
}

int TypeImportOuverture(const std::string& chemin, int indexFiltre) {
  const std::vector<platform::FilterEntry> filtres = platform::ParseFilter(foundation::Msg(IdMsg::AppFiltreOuvrir));
  if (indexFiltre >= 2 && indexFiltre <= static_cast<int>(filtres.size()) &&
      platform::MatchesFilter(platform::FileNameOf(chemin), filtres[static_cast<size_t>(indexFiltre - 1)].Patterns))
    return indexFiltre;
  if (const int type = formats::TypeImportSelonExtension(chemin)) return type;
  return indexFiltre;
}

}  // namespace app
