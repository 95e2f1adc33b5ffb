#pragma once
// What the survey model keeps on behalf of the drawing subsystem, seen from
// the model: a pattern of the document library (a surface point's symbol,
// what a cave's drawings or the page layouts refer to) and the graphic object
// a drawing makes for a station.  The model stores, compares and clears these
// links; only the drawing subsystem (and the code that composes the document)
// knows what is behind them, its classes deriving from these ones.
#include <cstdint>

namespace survey {

// A pattern of the document library.
class TMotifDocument {
 public:
  virtual ~TMotifDocument() = default;

 protected:
  TMotifDocument() = default;
  TMotifDocument(const TMotifDocument&) = default;
  TMotifDocument& operator=(const TMotifDocument&) = default;
};

// Where a network refers to the patterns of one list of the library.
enum class TUsageMotif : uint8_t {
  Aucun,           // nowhere searched
  DessinsCavites,  // the caves' drawings
  FlecheNord,      // the plan page layouts' north arrows
  SymboleSurface,  // the surface points' symbols
};

// The graphic object a drawing makes for a station (its axis point).
class TPointGraphique {
 public:
  virtual ~TPointGraphique() = default;

 protected:
  TPointGraphique() = default;
  TPointGraphique(const TPointGraphique&) = default;
  TPointGraphique& operator=(const TPointGraphique&) = default;
};

}  // namespace survey
