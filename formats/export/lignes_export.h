#pragma once
// The lines the DXF and KML exports take from a cave: the survey lines of a
// gallery, the two borders of a gallery outline and the line elements of the
// plan drawing.  Each export writes them in its own syntax.
#include <array>
#include <optional>
#include <unordered_map>
#include <vector>

#include "drawing/objet_trait.h"
#include "foundation/point_topo.h"

namespace survey {
class TCavite;
class TGalerie;
class TPointSpeleo;
}  // namespace survey

namespace drawing {
class TDonneesDessinBasique;
class TObjetDonneesBasique;
class tPolyGal;
}  // namespace drawing

namespace formats {

// A line of an export: its points in order, its style, whether it closes.
class TPolyligneExport {
 public:
  TPolyligneExport(const drawing::TypeTrait& trait, bool fermee) : UnTrait(trait), Fermee(fermee) {}
  void AjoutePoint(const foundation::TPointTopo& p) { Points.push_back(p); }

  std::vector<foundation::TPointTopo> Points;
  drawing::TypeTrait UnTrait;
  bool Fermee;
};

// The station's X, Y and Z.
foundation::TPointTopo PointDeStation(const survey::TPointSpeleo& p);

// The survey lines of a gallery: walks from its last unvisited station back
// towards its attachment, each walk one line; a walk of fewer than two
// stations gives none.  The marks are the gallery's own, so a gallery's walk
// costs its own size only.
std::vector<TPolyligneExport> LignesGalerie(const survey::TGalerie& galerie, const drawing::TypeTrait& trait);

// The ranks of the galleries hanging from each gallery of the cave, in
// increasing order.
std::unordered_map<const survey::TGalerie*, std::vector<int>> GaleriesFilles(const survey::TCavite& cavite);

// The left and right borders of a gallery outline; the left one of a closed
// outline ends on the right one's last point.
std::array<TPolyligneExport, 2> BordsEnveloppe(const drawing::tPolyGal& poly, const drawing::TypeTrait& trait);

// A line element of the plan drawing in its own style (a surface element
// closes): its valid points with their Z; nothing for an element not shown.
std::optional<TPolyligneExport> LigneObjetDessin(const drawing::TObjetDonneesBasique& objet);

// The cave's plan drawing, computed first; none without a drawing annex.
const drawing::TDonneesDessinBasique* DessinPlaniCalcule(survey::TCavite& cavite);

}  // namespace formats
