#include "views/page_semis.h"

#include "foundation/arrondi.h"
#include "foundation/contexte_impression.h"
#include "views/format_papier.h"

namespace views {

using foundation::Arrondi;
using foundation::BitmapCreable;
using foundation::ContexteImpression;
using foundation::Impression;
using foundation::TFlux;

bool TPageSemis::EcritObjet(TFlux& f) {
  InitES(f);
  ResultObjet = foundation::EcritPtTopo(PointHautReel, f) && foundation::EcritPtTopo(PointBasReel, f);
  return EcrisBoolean(Vertical);
}

bool TPageSemis::LitObjet(TFlux& f) {
  InitES(f);
  ResultObjet = foundation::LitPtTopo(PointHautReel, f) && foundation::LitPtTopo(PointBasReel, f);
  return LisBoolean(Vertical);
}

void TPageSemis::CalculeDimPrn() {
  const ContexteImpression& imp = Impression();
  const TFormatPapier* F = Formats().FormatCourant();
  if (!F) {
    // No paper chosen: nothing to print.
    HauteurUtile = LargeurUtile = 0;
    return;
  }
  const double larg = F->LargP;
  const double haut = F->HautP;
  const double cote1 = (haut + MargeYFormat) * imp.CoeffPrn / 1000 + 2.0 * imp.DecalYPrn;
  const double cote2 = (larg + MargeXFormat) * imp.CoeffPrn / 1000 + 2.0 * imp.DecalXPrn;
  if (Vertical) {
    HauteurUtile = Arrondi(cote1);
    LargeurUtile = Arrondi(cote2);
  } else {
    HauteurUtile = Arrondi(cote2);
    LargeurUtile = Arrondi(cote1);
  }
}

bool TPageSemis::CreeSousPages() {
  CalculeDimPrn();
  return DecoupeSousPages(HauteurUtile, LargeurUtile);
}

namespace {
// Halves the larger side (the width when they are equal) and counts it.
void DemiCote(int64_t& h, int64_t& w, int32_t& nh, int32_t& nw) {
  if (h > w) {
    h /= 2;
    ++nh;
  } else {
    w /= 2;
    ++nw;
  }
}
// Below this side a bitmap that still cannot be made means printing cannot
// be done at all.
constexpr int64_t CoteMinimal = 256;
}  // namespace

bool TPageSemis::DecoupeSousPages(int32_t hauteur, int32_t largeur) {
  SousPages.clear();
  HauteurUtile = hauteur;
  LargeurUtile = largeur;
  if (hauteur <= 0 || largeur <= 0) return false;
  int64_t h = hauteur, w = largeur;
  int32_t nh = 0, nw = 0;
  while (h * w > MaxPointsSousPage) DemiCote(h, w, nh, nw);
  while (!BitmapCreable(static_cast<int32_t>(w), static_cast<int32_t>(h))) {
    if (h <= CoteMinimal && w <= CoteMinimal) return false;
    DemiCote(h, w, nh, nw);
  }
  const int64_t H = hauteur, W = largeur;
  for (int64_t y = 0; y < H;) {
    const int64_t hr = (H - y <= h + nh) ? H - y : h;
    for (int64_t x = 0; x < W;) {
      const int64_t wt = (W - x <= w + nw) ? W - x : w;
      TSousPage sp;
      sp.SpLarg = static_cast<int32_t>(wt);
      sp.SpHaut = static_cast<int32_t>(hr);
      sp.dxSp = static_cast<int32_t>(x);
      sp.dySp = static_cast<int32_t>(y);
      sp.PrnRect = {static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(x + wt),
                    static_cast<int32_t>(y + hr)};
      SousPages.push_back(sp);
      x += wt;
    }
    y += hr;
  }
  return true;
}

void TPageSemis::CopiePage(const TPageSemis& PageSource) {
  PointHautReel = PageSource.PointHautReel;
  PointBasReel = PageSource.PointBasReel;
  Vertical = PageSource.Vertical;
  DimLpage = PageSource.DimLpage;
  DimHpage = PageSource.DimHpage;
  NumPage = PageSource.NumPage;
  UnDessinPage = PageSource.UnDessinPage;
  Active = PageSource.Active;
  PosLib = PageSource.PosLib;
  LibWeb = PageSource.LibWeb;
}

}  // namespace views
