#include "drawing/contexte_dessin.h"

namespace drawing {

void FixeEtendueDessin(double xMin, double xMax, double yMin, double yMax) {
  ContexteDessin& d = Dessin();
  d.XMinDessin = xMin;
  d.XMaxDessin = xMax;
  d.YMinDessin = yMin;
  d.YMaxDessin = yMax;
}

void InitEtendueDessin() {
  FixeEtendueDessin(foundation::ValeurIndefiniePositive, foundation::ValeurIndefinie,
                    foundation::ValeurIndefiniePositive, foundation::ValeurIndefinie);
}

}  // namespace drawing
