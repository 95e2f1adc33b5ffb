#pragma once
// Symbols on a drawing: the placed symbol (TDessinSymbole), and the drawing
// of the library's symbols, scale bar and surface symbols (the element
// lines, DessineSymbole, the previews) implemented beside it.
#include <cstdint>

#include "drawing/deplacable.h"
#include "drawing/def_symbole.h"

namespace drawing {

// A symbol placed on a drawing: its base at point 0, its extremity at
// point 1.
class TDessinSymbole : public TDessinDeplacable {
 public:
  explicit TDessinSymbole(TDefSymbole* symbole = nullptr, foundation::TObjetDeListe* unObjet = nullptr);

  TDefSymbole* Symbole = nullptr;  // not owned
  TDefSymbole* LeSymbole() const { return Symbole; }

  // A fixed-size symbol starts with its fixed half-length.
  void InitObjet(int32_t Xs, int32_t Ys) override;
  void InitDimensions() override;
  // A fixed-size symbol keeps its fixed half-length; others grow or shrink
  // by 10 %.
  void Dimension(bool Sens) override;
  void DessineObjet(platform::Canvas& canvas) override;
  void DessineObjetDeplacable(platform::Canvas& canvas) override;
};

// The closed shape of a symbol element whose style fills: the polygon (or
// the smoothed outline) filled with the style's brush.
class TDessinFermeSymbole : public TDessinLigne {
 public:
  using TDessinLigne::TDessinLigne;
  void DessineCetObjet(platform::Canvas& canvas) override;
};

}  // namespace drawing
