#pragma once
// What a plan or elevation view hands the SVG export (InitConstSVG): the
// extent written, in ground metres, and the proposed file name.  Defined
// here, below the views and the formats, so that both reach it.
#include <string>

#include "foundation/transformation_vue.h"

namespace survey {
class TReseau;
}

namespace drawing {

struct TConstantesSVG {
  // X (or the developed distance SlH in an elevation) from AbsMin to AbsMax,
  // Y (or the altitude Z) from OrdMin to OrdMax.
  double AbsMin = 0, AbsMax = 0, OrdMin = 0, OrdMax = 0;
  // The proposed file name, without extension.
  std::string NomSVG;
};

// The constants of the view being exported, from the view extent (Vue()):
// in plan Xmin, Xmax, Ymin, Ymax and the network's name followed by
// "-Plani"; in an elevation SLmin, SLmax, Zmin, Zmax and the active cave's
// name followed by "-AltiProj" when the outlines of its current elevation are
// projected, else "-AltiDev".
TConstantesSVG InitConstSVG(const survey::TReseau& reseau, foundation::TTypeDeDessin type);

}  // namespace drawing
