#pragma once
// The process-wide values of editor in one object: the ports the document's
// links install, the background maps and the annexes being written or read.
// Ports(), Cartes() and Annexes() return its members.
#include "editor/config.h"
#include "editor/image_notes.h"
#include "editor/ports_editeur.h"

namespace editor {

struct TContexteEditor {
  PortsEditeur Ports;
  ContexteCartes Cartes;
  ContexteAnnexes Annexes;
};

// The one context of the folder.
TContexteEditor& ContexteEditor();

// Sets the whole context aside and puts it back on exit.
class GardeContexteEditor {
 public:
  GardeContexteEditor() = default;
  GardeContexteEditor(const GardeContexteEditor&) = delete;
  GardeContexteEditor& operator=(const GardeContexteEditor&) = delete;

 private:
  GardePortsEditeur ports_;
  GardeCartes cartes_;
  GardeAnnexes annexes_;
};

}  // namespace editor
