#include "formats/contexte_formats.h"

#include <memory>

#include "foundation/contextes.h"

namespace formats {

TContexteFormats& ContexteFormats() {
  static TContexteFormats contexte;
  return contexte;
}

PortsImport& FenetresImport() { return ContexteFormats().FenetresImport; }

ContexteImport& Import() { return ContexteFormats().Import; }

namespace {
[[maybe_unused]] const bool inscrit =
    foundation::InscritContexte([] { return std::make_shared<GardeContexteFormats>(); });
}  // namespace

}  // namespace formats
