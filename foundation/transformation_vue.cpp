#include "foundation/transformation_vue.h"

#include <algorithm>
#include <limits>

#include "foundation/arrondi.h"
#include "foundation/catalogue.h"

namespace foundation {

void SauveTransfo(TSauveParamsTransfo& R) { static_cast<TParamsTransfo&>(R) = static_cast<const TParamsTransfo&>(Vue()); }

void RestaureTransfo(const TSauveParamsTransfo& R) {
  static_cast<TParamsTransfo&>(Vue()) = static_cast<const TParamsTransfo&>(R);
}

// --- Drawing kinds ------------------------------------------------------------------

bool EstDessinAlti(TTypeDeDessin type) {
  return type == TTypeDeDessin::tddAltiDev || type == TTypeDeDessin::tddAltiOr || type == TTypeDeDessin::tddAltiProj;
}

bool EstDessinCoupe(TTypeDeDessin type) { return type == TTypeDeDessin::tddCoupe; }

bool EstDessinAlti() { return EstDessinAlti(Vue().TypeDessinCourant); }

bool EstDessinCoupe() { return EstDessinCoupe(Vue().TypeDessinCourant); }

std::string MotDessinAlti(TTypeDeDessin type) {
  switch (type) {
    case TTypeDeDessin::tddAltiDev:
    case TTypeDeDessin::tddAltiOr:
      return Msg(IdMsg::MotAltiDeveloppee);
    case TTypeDeDessin::tddAltiProj:
      return Msg(IdMsg::MotAltiProjetee);
    default:
      return {};
  }
}

std::string MotEtendueDessin(bool partielle) {
  return Msg(partielle ? IdMsg::MotEtenduePartielle : IdMsg::MotEtendueTotale);
}

// --- Ground <-> drawing ------------------------------------------------------------------

TPoint XYVersDessin(double X, double Y) {
  const ContexteVue& v = Vue();
  const double x0 = EstDessinAlti() ? v.SLmin : v.Xmin;
  const double y0 = EstDessinAlti() ? v.Zmin : v.Ymin;
  return TPoint{Arrondi(FacteurDessin * (X - x0)), Arrondi(FacteurDessin * (Y - y0))};
}

TPoint PtTopoVersDessin(const TPointTopo& P) { return XYVersDessin(P.X, P.Y); }

void XYDessinVersPtTopo(int32_t x, int32_t y, TPointTopo& P) { XYDessinVersPtTopo(Vue(), x, y, P); }

void XYDessinVersPtTopo(const ContexteVue& v, int32_t x, int32_t y, TPointTopo& P) {
  const double dx = static_cast<double>(x) / FacteurDessin;
  const double dy = static_cast<double>(y) / FacteurDessin;
  if (EstDessinAlti(v.TypeDessinCourant)) {
    P.SlH = P.X = dx + v.SLmin;
    P.Z = P.Y = dy + v.Zmin;
  } else {
    P.X = dx + v.Xmin;
    P.Y = dy + v.Ymin;
  }
}

void DessinVersPtTopo(const TPoint& D, TPointTopo& P) { XYDessinVersPtTopo(D.X, D.Y, P); }

// --- Drawing <-> screen ---------------------------------------------------------------------

TPoint XYDessinVersEcran(int32_t x, int32_t y) { return XYDessinVersEcran(Vue(), x, y); }

TPoint DessinVersEcran(const TPoint& D) { return XYDessinVersEcran(D.X, D.Y); }

TRect RectDessinVersEcran(const TRect& R) {
  const TPoint a = XYDessinVersEcran(R.Left, R.Top);
  const TPoint b = XYDessinVersEcran(R.Right, R.Bottom);
  return TRect{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

TPoint EcranVersDessin(const TPoint& px) {
  const ContexteVue& v = Vue();
  const double E = v.EchelleVue;
  return TPoint{Arrondi((px.X / E + v.XDebVue) * FacteurDessin), Arrondi((v.YDebVue - px.Y / E) * FacteurDessin)};
}

TPoint EcranVersVue(const TPoint& px) {
  const ContexteVue& v = Vue();
  const double E = v.EchelleVue;
  return TPoint{Arrondi(px.X / E + v.XDebVue), Arrondi(v.YDebVue - px.Y / E)};
}

void EcranVersPtTopo(const TPoint& px, TPointTopo& P) { DessinVersPtTopo(EcranVersDessin(px), P); }

TPoint PtTopoVersEcran(const TPointTopo& P) { return DessinVersEcran(PtTopoVersDessin(P)); }

TPoint XYVersEcran(double X, double Y) { return DessinVersEcran(XYVersDessin(X, Y)); }

double LongueurEcranVersVue(double longueur) { return longueur / Vue().EchelleVue; }

// --- Small tools ----------------------------------------------------------------------------

void DessineCroix(platform::Canvas& canvas, int32_t x, int32_t y, int32_t d) {
  canvas.MoveTo(x - d, y);
  canvas.LineTo(x + d, y);
  canvas.MoveTo(x, y - d);
  canvas.LineTo(x, y + d);
}

TRect RectBitmap(const platform::Canvas& bitmap) { return TRect{0, 0, bitmap.Width(), bitmap.Height()}; }

void EffaceBitmap(platform::Canvas& bitmap) {
  bitmap.Brush.Color = platform::kWhite;
  bitmap.Brush.Style = platform::BrushStyle::Solid;
  bitmap.FillRect(RectBitmap(bitmap));
}

void DecomposeCouleur(uint32_t couleur, uint8_t& rouge, uint8_t& vert, uint8_t& bleu) {
  rouge = static_cast<uint8_t>(couleur & 0xFF);
  vert = static_cast<uint8_t>((couleur >> 8) & 0xFF);
  bleu = static_cast<uint8_t>((couleur >> 16) & 0xFF);
}

namespace {

int32_t Borne32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t XVersImprimante(double x, const TParamsImprimante& p) {
  return Borne32(static_cast<int64_t>(Arrondi(x / p.EchellePrn * p.CoeffPrn)) + p.DecalXPrn - p.DxSousPage);
}

int32_t YVersImprimante(double y, const TParamsImprimante& p) {
  return Borne32(static_cast<int64_t>(Arrondi((y / p.EchellePrn + p.BandeEnTetePrn) * p.CoeffPrn)) - p.DySousPage);
}

}  // namespace foundation
