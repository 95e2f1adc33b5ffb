#include "foundation/contexte_foundation.h"

#include <memory>

#include "platform/contextes.h"

namespace foundation {

TContexteFoundation& ContexteFoundation() {
  static TContexteFoundation contexte;
  return contexte;
}

ContexteVue& Vue() { return ContexteFoundation().Vue; }

ContexteNiveauFichier& NiveauFichier() { return ContexteFoundation().NiveauFichier; }

ContexteImpression& Impression() { return ContexteFoundation().Impression; }

namespace {
[[maybe_unused]] const bool inscrit = platform::InscritContexte([] { return std::make_shared<GardeContexteFoundation>(); });
}  // namespace

}  // namespace foundation
