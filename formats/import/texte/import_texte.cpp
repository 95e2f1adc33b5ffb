#include "formats/import/texte/import_texte.h"

#include <unordered_set>

#include "foundation/chaines.h"

namespace formats {

std::optional<survey::TPointImporte> LitLigneStation(std::string_view ligne) {
  std::string reste(ligne);
  survey::TPointImporte p;
  p.Nom = foundation::OteBlancs(foundation::ExtraitChamp(reste, ';'));
  double* valeurs[] = {&p.LargeurGA, &p.LargeurDR, &p.HauteurSup, &p.HauteurInf};
  for (double* v : valeurs)
    if (!foundation::LitReel(foundation::NettoieNombre(foundation::ExtraitChamp(reste, ';')), *v)) return std::nullopt;
  return p;
}

std::vector<survey::TPointImporte> LitStationsTexte(const std::vector<std::string>& lignes) {
  std::vector<survey::TPointImporte> r;
  std::unordered_set<std::string> noms;
  for (const std::string& l : lignes) {
    std::optional<survey::TPointImporte> p = LitLigneStation(l);
    if (p && noms.insert(p->Nom).second) r.push_back(std::move(*p));
  }
  return r;
}

}  // namespace formats
