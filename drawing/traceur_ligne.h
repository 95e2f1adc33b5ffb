#pragma once
// The complex line tracer: cuts a polyline into dashes and adds ticks or
// triangles at fixed places of a repeating pattern.  It knows nothing of
// canvases or files: it hands straight strokes and polygons to a target (the
// drawing objects draw them on a canvas, the SVG export writes them).
//
// One TraceurLigne holds the pattern of the line being traced; it is
// prepared once per line (CalculeMotifLigne) and then walks the line segment
// by segment (TraceLigneComplexe) with the line's running state.  Nothing is
// allocated per segment: the triangle polygon grows only when a triangle
// spans more joints than any before on this tracer.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "drawing/objet_trait.h"
#include "foundation/point_topo.h"

namespace drawing {

// The four lengths of a style's pattern: dash, gap, tick position within the
// period, tick length.  Mode 0: tenths of a metre on the ground (screen and
// printer); mode 1: SVG units.
struct ValeursTableMotif {
  int32_t Trait, Espace, PosTic, LongTic;
};
// Row s - 1 is style s (mpsDash .. mpsHachurePente).
const std::array<ValeursTableMotif, 10>& TableMotifs(uint8_t mode);

// What receives the geometry of a traced line.
class CibleTrace {
 public:
  virtual ~CibleTrace() = default;
  // A straight stroke from A to B (X and Y only).
  virtual void Trait(const foundation::TPointTopo& A, const foundation::TPointTopo& B) = 0;
  // A closed polygon of the vertices, filled or outlined.
  virtual void Polygone(std::span<const foundation::TPointTopo> sommets, bool plein) = 0;
};

// The state of one line while it is walked, owned by the caller and passed to
// every segment of that line in order.
struct EtatLigneTrace {
  double Distance = 0;  // length already walked
  uint8_t Cote = 1;     // tick side: 0 gives -1, 1 gives +1
  int8_t Alterne = 0;   // alternation sign (set to 1 by the first segment)
};

// What the tracer reads of a line style: its pen style and width.
struct StyleTrace {
  MesPenStyle StylePlume = MesPenStyle::mpsSolid;
  int32_t EpaisseurPlume = 1;
  StyleTrace() = default;
  StyleTrace(MesPenStyle style, int32_t epaisseur) : StylePlume(style), EpaisseurPlume(epaisseur) {}
  StyleTrace(const TypeTrait& t) : StylePlume(t.StylePlume), EpaisseurPlume(t.EpaisseurPlume) {}       // NOLINT
  StyleTrace(const TDefObjetTrait& t) : StylePlume(t.StylePlume), EpaisseurPlume(t.EpaisseurPlume) {}  // NOLINT
};

// The pattern lengths in output units.
struct ValeursMotif {
  double Periode = 0;
  double DecalagePoint = 0;  // mpsDashDot: where the dot starts in the period
  double LongTrait = 0;
  double LongEspace = 0;
  double PosTic = 0;
  double LongTic = 0;
};

class TraceurLigne {
 public:
  // Prepares the pattern of the style for a line whose overall extent is
  // longueur (output units): lengths from the table for the current mode
  // (Affichage().ModeTraceur), the print transform or the view scale, widened
  // for thick pens, shortened so that five periods fit in the extent, ticks
  // held to a tenth of the extent.  True when the period is positive.
  bool CalculeMotifLigne(const StyleTrace& trait, double longueur);

  // Walks segment P0 -> P1 of the line; dernier is set for the line's last
  // segment.  etat.Distance grows by the segment's length, also when the walk
  // stops on a numeric failure.
  void TraceLigneComplexe(const foundation::TPointTopo& P0, const foundation::TPointTopo& P1, CibleTrace& cible,
                          bool dernier, const StyleTrace& trait, EtatLigneTrace& etat);

  // The pattern prepared last (for styles 1 to 3, the slot of the style).
  const ValeursMotif& Motif() const { return motif_; }
  const ValeursMotif& MotifStyle(MesPenStyle s) const { return cache_[static_cast<size_t>(s)]; }

 private:
  void Prepare(const StyleTrace& trait, MesPenStyle style, double longueur);
  double Longueur(int32_t v, MesPenStyle style, double k, double r) const;

  uint8_t mode_ = 0;
  ValeursMotif motif_;
  // Slots of mpsDash, mpsDot and mpsDashDot (index = style).
  std::array<ValeursMotif, 4> cache_{};
  // The triangle being built and its apex.
  std::vector<foundation::TPointTopo> triangle_;
  foundation::TPointTopo sommet_;
};

}  // namespace drawing
