#include "editor/ports_editeur.h"

namespace editor {

PortsEditeur& Ports() {
  static PortsEditeur ports;
  return ports;
}

}  // namespace editor
