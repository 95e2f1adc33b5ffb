#pragma once
// An SVG background drawing: an SVG file placed under a cave drawing by two
// calibration pairs (two points of the SVG drawing and the two ground points
// where they belong).  Here: its file name, extent and calibration with their
// record in the drawing annexes, and the conversion of its ground points when
// the coordinate system changes.  Reading and showing the SVG content belong
// to the SVG reader.
#include <array>
#include <cstdint>
#include <string>

#include "foundation/flux.h"
#include "foundation/point_topo.h"

namespace editor {

class TBilanReprojection;

// A point value as the annexes store it: Num, 4 bytes of padding, X, Y, Z,
// SlH, LatPt, LongPt (56 bytes).
inline constexpr uint64_t TaillePointBrut = 56;
bool EcritPointBrut(foundation::TFlux& f, const foundation::TPointTopo& p);
bool LitPointBrut(foundation::TFlux& f, foundation::TPointTopo& p);

class TDessinSVG {
 public:
  std::string NomFichierSVG;
  double XminSvg = 0, YminSvg = 0, XmaxSvg = 0, YmaxSvg = 0;  // extent in SVG units, Y upward
  std::array<foundation::TPointTopo, 2> PointsTerrainCalage{};  // ground points, metres
  std::array<foundation::TPointTopo, 2> PointsDessinCalage{};   // the matching SVG points

  // NomFichierSVG, the two ground points, the two SVG points (raw values);
  // stops at the first short transfer.
  bool EcritObjet(foundation::TFlux& f) const;
  bool LitObjet(foundation::TFlux& f);

  // Converts the ground calibration points (the SVG points stay), or leaves
  // them and notes the drawing in the bilan (reported at once when none is
  // given).  True when converted.
  bool ChangeProjectionSVG(const std::string& AncienProj, int32_t AncienFuseau, int32_t NouveauFuseau,
                           const std::string& NouveauProj, TBilanReprojection* bilan = nullptr);
};

// The smallest record: the name's count and four raw points.
inline constexpr uint64_t TailleMinDessinSVG = 4 + 4 * TaillePointBrut;

}  // namespace editor
