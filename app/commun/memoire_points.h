#pragma once
// What the point dialogs remember between uses: the coordinate dialog's WGS84
// format, last system, zone and unit; the clicked-point dialog's last name
// added and the document it was added to.
#include <string>

namespace app {

struct MemoireCoordonnees {
  int FormatWGS = 0;
  bool ProjectionPrise = false;  // the document's system was taken once
  std::string Projection;
  int Fuseau = -1;
  int Unite = 1;  // 0 Km, 1 m
  std::string DernierPointEnregistre;
  std::string DocumentDernierPoint;
};

}  // namespace app
