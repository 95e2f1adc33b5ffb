#pragma once
// The vertical altitude scale of a layout drawn as a symbol: a line with
// ticks at the multiples of the list's step and their values beside them.
#include <array>
#include <cstdint>

#include "drawing/def_symbole.h"
#include "views/objets_mise_en_page.h"

namespace views {

class tEchelleVSymb : public drawing::TDefSymbole {
 public:
  explicit tEchelleVSymb(TEchelleVert* echelle = nullptr);

  foundation::TPoint PtD;
  TEchelleVert* UneEchV = nullptr;  // not owned
  // (0, 0), (0, L), (W, L), (W, 0): L the scale's length, W its width.
  std::array<foundation::TPoint, 4> PtsDef{};
  int32_t Larg = 0, Haut = 0;

  // The altitude shown for a value: itself for absolute altitudes, else
  // relative to the entrance.
  double AltitudeAffichee(double v) const;
  // The black line from PtDeb to PtFin (drawing units on screen, pixels on
  // a page), with 5-pixel ticks whose values stand to the right of the line
  // when ChiffreDr, else to its left.
  void DessineSymbole(const foundation::TPointTopo& PtDeb, const foundation::TPointTopo& PtFin,
                      platform::Canvas& canvas) override;
};

}  // namespace views
