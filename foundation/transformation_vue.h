#pragma once
// The drawing kind and the view transform.  Every 2D window draws in three
// spaces: ground coordinates in metres (X, Y, or in an elevation the developed
// distance SlH and the altitude Z), drawing coordinates (32-bit integers in
// millimetres from the drawing origin, the unit drawing objects are stored in)
// and screen pixels.  The window being drawn sets the process-wide view
// parameters and the current drawing kind; a window that draws another view
// saves them, draws and restores them (GardeTransfo, GardeTypeDessin).
#include <cstdint>
#include <string>

#include "foundation/arrondi.h"
#include "foundation/point_topo.h"
#include "platform/canvas.h"

namespace foundation {

enum class TTypeDeDessin : uint8_t { tddPlani, tddAltiDev, tddAltiOr, tddAltiProj, tddCoupe };
inline constexpr int NombreTypesDeDessin = 5;

// Drawing units per metre.
inline constexpr int32_t FacteurDessin = 1000;

// Colour of the sight marks of the drawing windows (red 207, green 249, blue 145).
inline constexpr uint32_t CouleurMarqueVisee = 0x91F9CF;

// The view variables.
struct TParamsTransfo {
  // Plan extent in metres; Xmin, Ymin are the drawing origin in plan.
  double Xmax = 0, Ymax = 0, Xmin = 0, Ymin = 0;
  // Elevation extent; SLmin, Zmin are the drawing origin in elevation.
  double SLmax = 0, Zmax = 0, SLmin = 0, Zmin = 0;
  // The view's size and its left and top edges in metres from the drawing
  // origin.  Reals, so that a pan or a zoom about the cursor shorter than a
  // metre is kept; the windows' formulas round where the documented ones do.
  double LargeurVue = 0, HauteurVue = 0;
  int32_t LargeurPaintBox = 0, HauteurPaintBox = 0;
  double XDebVue = 0, YDebVue = 0;
  int32_t HauteurRaster = 0, LargeurRaster = 0;
  // Pixels per metre.
  double EchelleVue = 1;
  int32_t EchelleFontes = 0;
  // Extents in local and in projected coordinates.
  double XLocMax = 0, XlocMin = 0, YLocMax = 0, YlocMin = 0;
  double XLambMax = 0, XLambMin = 0, YLambMax = 0, YLambMin = 0;
  // A Helmert transform with its residual (THelmert's terms).
  double X0 = 0, Y0 = 0, HlmA = 0, HlmB = 0, HlmC = 0, HlmD = 0, EMQ = 0;
  double Theta1 = 0, Theta2 = 0, HlmK1 = 0, HlmK2 = 0;
  int8_t ZoneLambertOrigine = 0, ZoneLambert = 0;
  double AngleRotation = 0;
};

// A saved copy of every view variable, with its marker byte.
struct TSauveParamsTransfo : TParamsTransfo {
  uint8_t DebutParamTransfo = 0;
};

// The process-wide drawing kind and view variables.
struct ContexteVue : TParamsTransfo {
  TTypeDeDessin TypeDessinCourant = TTypeDeDessin::tddPlani;
};
ContexteVue& Vue();

// Copies every view variable into the record / sets them all from one.  The
// drawing kind is not part of the record.
void SauveTransfo(TSauveParamsTransfo& R);
void RestaureTransfo(const TSauveParamsTransfo& R);

// Saves the view variables and restores them on exit, also on an exception.
class GardeTransfo {
 public:
  GardeTransfo() { SauveTransfo(sauve_); }
  ~GardeTransfo() { RestaureTransfo(sauve_); }
  GardeTransfo(const GardeTransfo&) = delete;
  GardeTransfo& operator=(const GardeTransfo&) = delete;
  const TSauveParamsTransfo& Sauvegarde() const { return sauve_; }

 private:
  TSauveParamsTransfo sauve_;
};

// Sets the current drawing kind for the life of the guard.
class GardeTypeDessin {
 public:
  explicit GardeTypeDessin(TTypeDeDessin type) : sauve_(Vue().TypeDessinCourant) { Vue().TypeDessinCourant = type; }
  ~GardeTypeDessin() { Vue().TypeDessinCourant = sauve_; }
  GardeTypeDessin(const GardeTypeDessin&) = delete;
  GardeTypeDessin& operator=(const GardeTypeDessin&) = delete;

 private:
  TTypeDeDessin sauve_;
};

// --- Drawing kinds ------------------------------------------------------------
bool EstDessinAlti(TTypeDeDessin type);
bool EstDessinCoupe(TTypeDeDessin type);
// The same for the current kind.
bool EstDessinAlti();
bool EstDessinCoupe();
// The elevation word of the elevation windows' titles ("développée",
// "projetée"); empty for a plan or a cross section.
std::string MotDessinAlti(TTypeDeDessin type);
// "totale" or "partielle".
std::string MotEtendueDessin(bool partielle);

// --- Ground <-> drawing --------------------------------------------------------
// In plan (X − Xmin, Y − Ymin), in an elevation (X − SLmin, Y − Zmin) — the
// caller first puts SlH and Z into X and Y — times FacteurDessin, rounded.
TPoint PtTopoVersDessin(const TPointTopo& P);
TPoint XYVersDessin(double X, double Y);
// In plan P.X, P.Y; in an elevation P.SlH and P.X, P.Z and P.Y.  Other fields
// untouched.
void DessinVersPtTopo(const TPoint& D, TPointTopo& P);
void XYDessinVersPtTopo(int32_t x, int32_t y, TPointTopo& P);
// The same with the view given.
void XYDessinVersPtTopo(const ContexteVue& v, int32_t x, int32_t y, TPointTopo& P);

// --- Drawing <-> screen ----------------------------------------------------------
// Screen Y points down.
TPoint DessinVersEcran(const TPoint& D);
TPoint XYDessinVersEcran(int32_t x, int32_t y);
// The same with the view given (for many points at once).
inline TPoint XYDessinVersEcran(const TParamsTransfo& v, int32_t x, int32_t y) {
  const double E = v.EchelleVue;
  return TPoint{Arrondi((static_cast<double>(x) / FacteurDessin - v.XDebVue) * E),
                Arrondi((v.YDebVue - static_cast<double>(y) / FacteurDessin) * E)};
}
// Both corners converted, then left <= right and top <= bottom.
TRect RectDessinVersEcran(const TRect& R);
TPoint EcranVersDessin(const TPoint& px);
// Whole metres of the view.
TPoint EcranVersVue(const TPoint& px);
void EcranVersPtTopo(const TPoint& px, TPointTopo& P);
TPoint PtTopoVersEcran(const TPointTopo& P);
TPoint XYVersEcran(double X, double Y);
// Pixels to metres.
double LongueurEcranVersVue(double longueur);

// --- Small tools -------------------------------------------------------------------
// A cross: a line from (x − d, y) to (x + d, y) and one from (x, y − d) to (x, y + d).
void DessineCroix(platform::Canvas& canvas, int32_t x, int32_t y, int32_t d);
// (0, 0, width, height).
TRect RectBitmap(const platform::Canvas& bitmap);
// Fills the bitmap with solid white (the brush is left solid white).
void EffaceBitmap(platform::Canvas& bitmap);
// The low three bytes of a colour value, red first.
void DecomposeCouleur(uint32_t couleur, uint8_t& rouge, uint8_t& vert, uint8_t& bleu);

// Page values of the printing code: print scale (ground metres per paper
// metre), printer dots per paper metre, the paper's horizontal offset in dots,
// the page's vertical origin in paper metres, and the offsets of the printed
// tile in dots.
struct TParamsImprimante {
  double EchellePrn = 1;
  double CoeffPrn = 1;
  int32_t DecalXPrn = 0;
  double BandeEnTetePrn = 0;
  int32_t DxSousPage = 0;
  int32_t DySousPage = 0;
};
// A ground offset from the page origin to printer dots.
int32_t XVersImprimante(double x, const TParamsImprimante& p);
int32_t YVersImprimante(double y, const TParamsImprimante& p);

}  // namespace foundation
