#pragma once
// A plan or elevation view without window, for the SVG exports started
// where no view is open (cavtool, the tests): the network computed; the view
// transform, drawing kind and scale set as the plan view (every drawn cave)
// or the elevation view (the active cave's current elevation) sets them;
// the drawings' display objects built into its own layer set and the fills'
// outlines assembled, as a paint would.  The view transform and the drawing
// kind are put back when it goes.
#include <cstdint>

#include "drawing/constantes_svg.h"
#include "drawing/jeu_calques.h"
#include "foundation/transformation_vue.h"

namespace survey {
class TReseau;
}

namespace formats {

class TVueExportSVG {
 public:
  // echelle: the scale denominator of the texts and pens; -1 takes the
  // drawings' own scale as the view does.
  TVueExportSVG(survey::TReseau& reseau, bool alti, int32_t echelle = -1);
  ~TVueExportSVG();
  TVueExportSVG(const TVueExportSVG&) = delete;
  TVueExportSVG& operator=(const TVueExportSVG&) = delete;

  // The view's constants (InitConstSVG).
  drawing::TConstantesSVG Constantes() const;
  // The export of the view (its SVG button), with its watermark layer.
  bool Exporte(bool sansFenetre);

  survey::TReseau& Reseau;
  const foundation::TTypeDeDessin TypeDessin;

 private:
  foundation::GardeTransfo transfo_;
  foundation::GardeTypeDessin type_;

 public:
  drawing::TJeuCalques Calques;
};

}  // namespace formats
