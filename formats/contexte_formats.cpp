#include "formats/contexte_formats.h"

#include <memory>

#include "platform/contextes.h"

namespace formats {

TContexteFormats& ContexteFormats() {
  static TContexteFormats contexte;
  return contexte;
}

PortsImport& FenetresImport() { return ContexteFormats().FenetresImport; }

PortsExport& FenetresExport() { return ContexteFormats().FenetresExport; }

ContexteImport& Import() { return ContexteFormats().Import; }

namespace {
[[maybe_unused]] const bool inscrit =
    platform::InscritContexte([] { return std::make_shared<GardeContexteFormats>(); });
}  // namespace

}  // namespace formats
