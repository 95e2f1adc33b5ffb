#include "foundation/contexte_foundation.h"

#include <memory>

#include "foundation/contextes.h"

namespace foundation {

TContexteFoundation& ContexteFoundation() {
  static TContexteFoundation contexte;
  return contexte;
}

ContexteVue& Vue() { return ContexteFoundation().Vue; }

ContexteNiveauFichier& NiveauFichier() { return ContexteFoundation().NiveauFichier; }

namespace {
[[maybe_unused]] const bool inscrit = InscritContexte([] { return std::make_shared<GardeContexteFoundation>(); });
}  // namespace

}  // namespace foundation
