#include "tools/cavtool/levers_cavtool.h"

#include <cstdio>
#include <memory>

#include "document/composition.h"
#include "foundation/chaines.h"
#include "survey/cavite.h"
#include "survey/fichier_reseau.h"
#include "survey/lever.h"
#include "survey/reseau.h"

namespace cavtool {

namespace {

std::string Unite(uint8_t unite) {
  switch (unite) {
    case survey::UniteDeclinDegres: return "degres";
    case survey::UniteDeclinGrades: return "grades";
    case survey::UniteDeclinDegresMinutes: return "degres-minutes";
    case survey::UniteDeclinAucune: return "aucune";
    default: return std::to_string(unite);
  }
}

}  // namespace

int ListeLevers(const std::string& fichier) {
  document::InstalleDocument();
  std::unique_ptr<survey::TReseau> reseau = survey::OuvreReseau(fichier);
  if (!reseau) return 1;
  std::string sortie;
  for (const survey::TCavite* c : reseau->Cavites) {
    if (c->EstSurface) continue;
    for (const survey::TLever* l : c->Levers)
      sortie += c->NomCavite + ';' + l->DateTexte() + ';' + foundation::ReelEnTexteFixe(l->Declinaison, 6) + ';' +
                Unite(l->UniteDeclin) + ';' + (l->DecliAuto ? "1" : "0") + '\n';
  }
  std::fwrite(sortie.data(), 1, sortie.size(), stdout);
  return 0;
}

}  // namespace cavtool
