#include "app/document/document_reseau.h"

#include <algorithm>

#include "foundation/codage.h"
#include "foundation/utilitaires.h"

namespace app {

std::string DocumentReseau::NomCavite(int32_t cavite) const {
  const auto noms = NomsCavites();
  return (cavite >= 0 && static_cast<size_t>(cavite) < noms.size()) ? noms[static_cast<size_t>(cavite)] : std::string();
}

std::vector<std::string> TReseauProvisoire::NomsCavites() const { return {}; }

FabriqueDocument FabriqueProvisoire() {
  return [] { return std::unique_ptr<DocumentReseau>(std::make_unique<TReseauProvisoire>()); };
}

ListeCavites AfficheListeCavites(DocumentReseau& reseau, int32_t caviteRappelee) {
  ListeCavites out;
  const auto noms = reseau.NomsCavites();
  const auto nombre = static_cast<int32_t>(noms.size());
  if (nombre < 2) {
    if (nombre == 1) reseau.FixeCaviteActive(0);
    return out;
  }
  for (int32_t i = 1; i < nombre; ++i) out.Cavites.emplace_back(i, noms[static_cast<size_t>(i)]);
  std::stable_sort(out.Cavites.begin(), out.Cavites.end(), [](const auto& a, const auto& b) {
    return foundation::CompareNomsPoints(foundation::EnMajuscules(a.second), foundation::EnMajuscules(b.second)) < 0;
  });
  int32_t active = reseau.CaviteActive();
  // The surface is not listed: with caves, it does not stay the active one.
  if (active < 1 || active >= nombre) {
    active = (caviteRappelee >= 1 && caviteRappelee < nombre) ? caviteRappelee : nombre - 1;
    reseau.FixeCaviteActive(active);
  }
  for (size_t i = 0; i < out.Cavites.size(); ++i)
    if (out.Cavites[i].first == active) out.Selection = static_cast<int32_t>(i);
  return out;
}

}  // namespace app
