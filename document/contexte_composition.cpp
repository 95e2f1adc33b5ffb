#include "document/contexte_composition.h"

#include <utility>

#include "drawing/liste_mtf.h"
#include "platform/contextes.h"

namespace document {

TContexteComposition::TContexteComposition() = default;
TContexteComposition::~TContexteComposition() = default;
TContexteComposition::TContexteComposition(TContexteComposition&&) noexcept = default;
TContexteComposition& TContexteComposition::operator=(TContexteComposition&&) noexcept = default;

TContexteComposition& ContexteComposition() {
  static TContexteComposition contexte;
  return contexte;
}

GardeContexteComposition::GardeContexteComposition() : sauve_(std::move(ContexteComposition())) {
  ContexteComposition() = TContexteComposition();
}

GardeContexteComposition::~GardeContexteComposition() { ContexteComposition() = std::move(sauve_); }

namespace {
[[maybe_unused]] const bool inscrit =
    platform::InscritContexte([] { return std::make_shared<GardeContexteComposition>(); });
}  // namespace

}  // namespace document
