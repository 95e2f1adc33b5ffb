#pragma once
// The process-wide values of drawing in one object: the ports the upper
// folders install, the drawing context and the pattern context with the
// Therion set. Ports(), PortsDonnees(), Dessin() and Motifs() return its
// members.
#include <memory>

#include "drawing/contexte_dessin.h"
#include "drawing/contexte_motifs.h"
#include "drawing/ports_dessin.h"
#include "drawing/ports_motifs.h"

namespace drawing {

struct TContexteDrawing {
  PortsMotifs Ports;
  PortsDonneesDessin PortsDonnees;
  ContexteDessin Dessin;
  // Built on first use by Motifs() (its patterns reach the ports above).
  std::unique_ptr<ContexteMotifs> Motifs;
};

// The one context of the folder.
TContexteDrawing& ContexteDrawing();

// Sets the pattern context, Therion set included, aside for the life of the
// guard; a fresh one is built on first use meanwhile.
class GardeMotifs {
 public:
  GardeMotifs() : sauve_(std::move(ContexteDrawing().Motifs)) {}
  ~GardeMotifs() { ContexteDrawing().Motifs = std::move(sauve_); }
  GardeMotifs(const GardeMotifs&) = delete;
  GardeMotifs& operator=(const GardeMotifs&) = delete;

 private:
  std::unique_ptr<ContexteMotifs> sauve_;
};

// Sets the whole context aside and puts it back on exit.
class GardeContexteDrawing {
 public:
  GardeContexteDrawing() = default;
  GardeContexteDrawing(const GardeContexteDrawing&) = delete;
  GardeContexteDrawing& operator=(const GardeContexteDrawing&) = delete;

 private:
  GardePortsMotifs ports_;
  GardePortsDonnees portsDonnees_;
  GardeContexteDessin dessin_;
  GardeMotifs motifs_;
};

}  // namespace drawing
