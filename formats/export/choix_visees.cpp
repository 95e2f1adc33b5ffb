#include "formats/export/choix_visees.h"

#include "formats/export/ports_export.h"
#include "survey/cavite.h"
#include "survey/reseau.h"

namespace formats {

std::optional<std::vector<survey::TVisee*>> ChoixViseesExport(survey::TReseau& reseau, const std::string& titre) {
  survey::TCavite* cavite = reseau.LaCaviteActive;
  const auto& choisit = FenetresExport().ChoisitVisees;
  if (!cavite || cavite->EstSurface || !choisit) return std::nullopt;
  cavite->Visees.DemarqueTous();
  if (!choisit(TDemandeChoixVisees{titre, true, cavite})) return std::nullopt;
  std::vector<survey::TVisee*> visees;
  for (survey::TVisee* v : cavite->Visees)
    if (v->Marque) visees.push_back(v);
  return visees;
}

}  // namespace formats
