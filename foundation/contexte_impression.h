#pragma once
// The print transform: the values the page renderer and the printing set while
// a page is drawn on a printer, into an image or into a preview, and that the
// drawing objects, the line tracer and the page grid read (so it sits below
// the drawing objects).  One process-wide object;
// GardeImpression saves it and restores it.
#include <cstdint>
#include <functional>

#include "foundation/point_topo.h"
#include "foundation/transformation_vue.h"

namespace foundation {

// Printed lengths are calibrated: the driver's nominal dots per metre are
// scaled by 1000 / 1003.7776 (0.378 % fewer dots), so that a length the
// nominal resolution would print as 1003.7776 mm prints as 1000 mm.  The ratio
// is the double 0.9962366165572931.
inline constexpr double LongueurImprimeeNominaleMm = 1003.7776;
inline constexpr double CorrectionPointsParMetre = 1000 / LongueurImprimeeNominaleMm;

// Printer dots per metre of paper for a resolution in dots per inch.
inline double PointsParMetre(double pointsParPouce) { return pointsParPouce / 0.0254 * CorrectionPointsParMetre; }

struct ContexteImpression {
  bool EnImpression = false;  // a page is being drawn (printer, image or preview)
  bool ExportBitmap = false;  // the page is drawn into an image
  // Print scale denominator: ground metres per paper metre.  32 bits, so
  // that a scale of 1:100000 and smaller survives everywhere.
  int32_t EchellePrn = 1;
  double ResolutionPrn = 600;  // dots per inch
  double CoeffPrn = PointsParMetre(600);  // dots per metre of paper
  TPointTopo OriginePagePrn;  // ground X, Y of the page's upper left corner
  int32_t DecalXPrn = 0;  // physical offsets, dots
  int32_t DecalYPrn = 0;
  double BandeEnTetePrn = 0.01;  // paper metres of the header band
  int32_t DxSousPage = 0;  // offset of the tile drawn within the page, dots
  int32_t DySousPage = 0;
  // Whether a rendering bitmap of that size can be made; none: asks the
  // installed canvas factory for one.
  std::function<bool(int32_t largeur, int32_t hauteur)> BitmapPossible;

  // The values of the ground-to-printer conversions.
  TParamsImprimante ParamsImprimante() const;
};

ContexteImpression& Impression();

// Whether a bitmap of that size can be made (through BitmapPossible).
bool BitmapCreable(int32_t largeur, int32_t hauteur);

class GardeImpression {
 public:
  GardeImpression() : sauve_(Impression()) {}
  ~GardeImpression() { Impression() = sauve_; }
  GardeImpression(const GardeImpression&) = delete;
  GardeImpression& operator=(const GardeImpression&) = delete;

 private:
  ContexteImpression sauve_;
};

}  // namespace foundation
