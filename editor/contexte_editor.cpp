#include "editor/contexte_editor.h"

#include <memory>

#include "platform/contextes.h"

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
    platform::InscritContexte([] { return std::make_shared<GardeContexteEditor>(); });
}  // namespace

}  // namespace editor
