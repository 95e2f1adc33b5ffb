#include "drawing/contexte_drawing.h"

#include "platform/contextes.h"

namespace drawing {

TContexteDrawing& ContexteDrawing() {
  static TContexteDrawing contexte;
  return contexte;
}

ContexteMotifs& Motifs() {
  std::unique_ptr<ContexteMotifs>& m = ContexteDrawing().Motifs;
  if (!m) m = std::make_unique<ContexteMotifs>();
  return *m;
}

ContexteDessin& Dessin() { return ContexteDrawing().Dessin; }

PortsDonneesDessin& PortsDonnees() { return ContexteDrawing().PortsDonnees; }

PortsMotifs& Ports() { return ContexteDrawing().Ports; }

namespace {
[[maybe_unused]] const bool inscrit =
    platform::InscritContexte([] { return std::make_shared<GardeContexteDrawing>(); });
}  // namespace

}  // namespace drawing
