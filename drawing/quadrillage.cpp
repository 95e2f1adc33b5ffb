#include "drawing/quadrillage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>

#include "drawing/contexte_motifs.h"
#include "foundation/arrondi.h"
#include "foundation/chaines.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"

namespace drawing {

using foundation::Arrondi;
using foundation::Arrondi64;
using foundation::TPoint;
using foundation::TPointTopo;

namespace {

// The pixel of a ground position for the paint in progress.
TPoint PixelSol(double X, double Y) {
  const TPoint d = foundation::XYVersDessin(X, Y);
  return PointVueDessin(d.X, d.Y);
}

// The ground position of a pixel of the screen (the inverse of PixelSol).
TPointTopo SolPixel(int32_t x, int32_t y) {
  const EtatAffichage& a = Affichage();
  x -= a.DecalageVueX;
  y -= a.DecalageVueY;
  if (a.DecalageActif) {
    x -= a.DecalageX;
    y -= a.DecalageY;
  }
  TPointTopo p;
  foundation::EcranVersPtTopo({x, y}, p);
  return p;
}

// Pixels per ground metre for the paint in progress.
double PixelsParMetre() {
  const auto& imp = foundation::Impression();
  if (!imp.EnImpression) return foundation::Vue().EchelleVue;
  if (Affichage().RepereSymbole) return foundation::FacteurDessin;
  return imp.EchellePrn > 0 ? imp.CoeffPrn / imp.EchellePrn : 0;
}

// The ground corners of what is drawn: the paint box on screen, the visible
// rectangle while a page is printed.
std::array<TPointTopo, 4> CoinsVisibles() {
  std::array<TPointTopo, 4> coins;
  if (foundation::Impression().EnImpression) {
    const foundation::TRect& r = Affichage().RectVisibleDessin;
    foundation::XYDessinVersPtTopo(r.Left, r.Top, coins[0]);
    foundation::XYDessinVersPtTopo(r.Right, r.Top, coins[1]);
    foundation::XYDessinVersPtTopo(r.Left, r.Bottom, coins[2]);
    foundation::XYDessinVersPtTopo(r.Right, r.Bottom, coins[3]);
  } else {
    const auto& v = foundation::Vue();
    coins = {SolPixel(0, 0), SolPixel(v.LargeurPaintBox, 0), SolPixel(0, v.HauteurPaintBox),
             SolPixel(v.LargeurPaintBox, v.HauteurPaintBox)};
  }
  return coins;
}

// Pen, brush and font of the ticks.
void StyleGraduations(platform::Canvas& canvas) {
  canvas.Pen.Width = 1;
  canvas.Pen.Color = Dessin().CouleurGraduations;
  canvas.Brush.Style = platform::BrushStyle::Clear;
  canvas.Font.Name = "Times New Roman";
  canvas.Font.Height = 0;
  canvas.Font.Size = 8;
  canvas.Font.Style = 0;
  canvas.Font.Color = platform::kBlack;
  canvas.Font.Escapement = 0;
}

// A tick value between blanks.
std::string Etiquette(double valeur, double pas) { return EntoureEspaces(TexteGraduation(valeur, pas)); }

}  // namespace

// --- Tick step ---------------------------------------------------------------------------------

double PasGraduation(double hauteurVisible) {
  double b = hauteurVisible;
  if (!(b > 0) || !std::isfinite(b)) return 0;
  double d = 1;
  if (b < 150) {
    while (b < 15) {
      b *= 10;
      d *= 10;
    }
  } else {
    while (b > 149) {
      b /= 10;
      d /= 10;
    }
  }
  const int64_t n = Arrondi64(b);
  const int64_t ecart2 = std::llabs(n / 2 - 10), ecart5 = std::llabs(n / 5 - 10), ecart10 = std::llabs(n / 10 - 10);
  double pas = 2;
  if (ecart5 < ecart2 && ecart5 < ecart10)
    pas = 5;
  else if (ecart10 < ecart2 && ecart10 < ecart5)
    pas = 10;
  const double r = pas / d;
  return std::isfinite(r) && r > 0 ? r : 0;
}

int DecimalesPas(double pas) {
  if (!(pas > 0) || !std::isfinite(pas)) return 0;
  constexpr int DecimalesMax = 9;
  double t = pas;
  for (int k = 0; k < DecimalesMax; ++k, t *= 10)
    if (std::abs(t - std::round(t)) <= 1e-9 * std::max(1.0, t)) return k;
  return DecimalesMax;
}

std::string TexteGraduation(double valeur, double pas) {
  const int d = DecimalesPas(pas);
  if (d == 0) return foundation::EntierEnStr(Arrondi64(valeur));
  return foundation::ReelEnTexteFixe(valeur, d);
}

double PasGraduationVue() {
  const auto& v = foundation::Vue();
  if (!(v.EchelleVue > 0) || !std::isfinite(v.EchelleVue)) return 0;
  return PasGraduation(v.HauteurPaintBox / v.EchelleVue);
}

// --- TQuadrillage --------------------------------------------------------------------------------

TQuadrillage::TQuadrillage() : TDessinLigne(&Motifs().TraitQuadrillage) { CodeAffichage = TypeObjetDessin::odQuadrill; }

void TQuadrillage::Init(const TPointTopo& Pt1, const TPointTopo& Pt2) {
  PointsList.clear();
  AjoutePointTopo(Pt1);
  AjoutePointTopo(Pt2);
}

void TQuadrillage::DessineCetObjet(platform::Canvas& canvas) {
  if (PointsList.size() < 2) return;
  const double s = Dessin().PasQuadrillage;
  if (!(s > 0) || !std::isfinite(s) || !(s * PixelsParMetre() >= 1)) return;
  TPointTopo O, P;
  foundation::XYDessinVersPtTopo(PointsList[0].XLoc, PointsList[0].YLoc, O);
  foundation::XYDessinVersPtTopo(PointsList[1].XLoc, PointsList[1].YLoc, P);
  const double theta = std::numbers::pi / 2 - std::atan2(P.X - O.X, P.Y - O.Y);
  const std::array<TPointTopo, 4> coins = CoinsVisibles();
  canvas.Pen.Width = 2;
  canvas.Pen.Mode = platform::PenMode::Copy;
  canvas.Pen.Style = platform::PenStyle::Solid;
  for (int famille = 0; famille < 2; ++famille) {
    const double phi = theta + famille * std::numbers::pi / 2;
    const double ux = std::cos(phi), uy = std::sin(phi);
    // Line k passes through O + k s u, along v = u turned a quarter turn;
    // the view's corners give the range of k and the extent along v.
    double tMin = foundation::ValeurIndefiniePositive, tMax = foundation::ValeurIndefinie;
    double wMin = tMin, wMax = tMax;
    for (const TPointTopo& c : coins) {
      const double dx = c.X - O.X, dy = c.Y - O.Y;
      const double t = dx * ux + dy * uy, w = -dx * uy + dy * ux;
      tMin = std::min(tMin, t);
      tMax = std::max(tMax, t);
      wMin = std::min(wMin, w);
      wMax = std::max(wMax, w);
    }
    const double marge = 0.05 * (wMax - wMin) + s;
    wMin -= marge;
    wMax += marge;
    // A line on the view's edge counts as crossing it, whatever the rounding
    // of the turned coordinates.
    const double kMin = std::ceil(tMin / s - 1e-9), kMax = std::floor(tMax / s + 1e-9);
    auto ligne = [&](double k) {
      const double i = std::abs(k);
      if (i == 0) {
        canvas.Pen.Color = CouleurQuadrillageOrigine;
        canvas.Pen.Width = 2;
      } else {
        canvas.Pen.Color = std::fmod(i, 5) == 0 ? CouleurQuadrillageCinq : CouleurQuadrillage;
        canvas.Pen.Width = 1;
      }
      const double cx = O.X + k * s * ux, cy = O.Y + k * s * uy;
      const TPoint a = PixelSol(cx - wMin * uy, cy + wMin * ux);
      const TPoint b = PixelSol(cx - wMax * uy, cy + wMax * ux);
      canvas.MoveTo(a.X, a.Y);
      canvas.LineTo(b.X, b.Y);
    };
    // One side (O − i s u), then the other (O + i s u), each from the
    // origin's line outwards.
    for (double k = std::min(0.0, kMax); k >= kMin; --k) ligne(k);
    for (double k = std::max(0.0, kMin); k <= kMax; ++k) ligne(k);
  }
}

// --- TMirePlani -----------------------------------------------------------------------------------

TMirePlani::TMirePlani() : TDessinLigne(&Motifs().TraitQuadrillage) { CodeAffichage = TypeObjetDessin::odQuadrill; }

void TMirePlani::DessineCetObjet(platform::Canvas& canvas) {
  const double s = PasGraduationVue();
  if (s <= 0) return;
  const auto& v = foundation::Vue();
  const TPointTopo coin = SolPixel(0, 0);
  const double X0 = static_cast<double>(Arrondi64(coin.X / s)) * s;
  const double Y0 = static_cast<double>(Arrondi64(coin.Y / s)) * s;
  StyleGraduations(canvas);
  int32_t margeHaut = 0;
  for (int i = 0; i <= 100; ++i) {
    const double x = X0 + i * s;
    const int32_t px = PixelSol(x, coin.Y).X;
    if (px > v.LargeurPaintBox) break;
    if (px <= 20) continue;
    canvas.MoveTo(px, 0);
    canvas.LineTo(px, v.HauteurPaintBox);
    const std::string texte = Etiquette(x, s);
    // Turned a quarter turn clockwise about its top-left corner, the text
    // runs down from there with its cell on the left.
    canvas.Font.Escapement = -900;
    canvas.TextOut(px + Arrondi(canvas.TextHeight(texte) / 2.0), 10, texte);
    canvas.Font.Escapement = 0;
    margeHaut = canvas.TextWidth(texte) + 10;
  }
  for (int j = 0; j >= -100; --j) {
    const double y = Y0 + j * s;
    const int32_t py = PixelSol(coin.X, y).Y;
    if (py > v.HauteurPaintBox) break;
    if (py <= margeHaut) continue;
    canvas.MoveTo(0, py);
    canvas.LineTo(v.LargeurPaintBox, py);
    const std::string texte = Etiquette(y, s);
    canvas.TextOut(10, py - Arrondi(canvas.TextHeight(texte) / 2.0), texte);
  }
}

// --- TMireAlti ------------------------------------------------------------------------------------

TMireAlti::TMireAlti() : TDessinLigne(&Motifs().TraitQuadrillage) { CodeAffichage = TypeObjetDessin::odQuadrill; }

void TMireAlti::DessineCetObjet(platform::Canvas& canvas) {
  const double s = PasGraduationVue();
  if (s <= 0) return;
  const auto& v = foundation::Vue();
  const double Z0 = Absol ? static_cast<double>(Arrondi64(ZInit / s)) * s : ZInit;
  const double x = SolPixel(0, 0).X;
  StyleGraduations(canvas);
  auto ligne = [&](int k, int32_t py) {
    const double z = Z0 + k * s;
    const std::string texte = Etiquette(Absol ? z : k * s, s);
    canvas.MoveTo(10, py);
    canvas.LineTo(v.LargeurPaintBox, py);
    const int32_t y = py - Arrondi(canvas.TextHeight(texte) / 2.0);
    canvas.TextOut(20, y, texte);
    canvas.TextOut(v.LargeurPaintBox - 10 - canvas.TextWidth(texte), y, texte);
  };
  for (int k = 0; k <= 100; ++k) {
    const int32_t py = PixelSol(x, Z0 + k * s).Y;
    if (py < 0) break;
    ligne(k, py);
  }
  for (int k = -1; k >= -100; --k) {
    const int32_t py = PixelSol(x, Z0 + k * s).Y;
    if (py > v.HauteurPaintBox) break;
    ligne(k, py);
  }
}

// --- TDessinLigneAlti -----------------------------------------------------------------------------

TDessinLigneAlti::TDessinLigneAlti(double Xp, double Yp) : TPointCompo(Xp, Yp) {
  CodeAffichage = TypeObjetDessin::odQuadrill;
}

void TDessinLigneAlti::DessineCetObjet(platform::Canvas& canvas) {
  canvas.Pen.Width = 1;
  canvas.Pen.Color = Dessin().CouleurGraduations;
  canvas.Pen.Style = platform::PenStyle::Dash;
  canvas.Brush.Style = platform::BrushStyle::Clear;
  canvas.MoveTo(Point.XVue, 0);
  canvas.LineTo(Point.XVue, foundation::Vue().HauteurPaintBox);
}

}  // namespace drawing
