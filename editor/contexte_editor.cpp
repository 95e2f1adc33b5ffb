#include "editor/contexte_editor.h"

#include <memory>

#include "foundation/contextes.h"

namespace editor {

TContexteEditor& ContexteEditor() {
  static TContexteEditor contexte;
  return contexte;
}

PortsEditeur& Ports() { return ContexteEditor().Ports; }

ContexteCartes& Cartes() { return ContexteEditor().Cartes; }

ContexteAnnexes& Annexes() { return ContexteEditor().Annexes; }

namespace {
[[maybe_unused]] const bool inscrit =
    foundation::InscritContexte([] { return std::make_shared<GardeContexteEditor>(); });
}  // namespace

}  // namespace editor
