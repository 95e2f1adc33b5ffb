#include "drawing/dessin_ferme.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "foundation/arrondi.h"
#include "foundation/transformation_vue.h"

namespace drawing {

using foundation::TPoint;
using foundation::TRect;
using platform::BrushStyle;

namespace {

FonctionPavageTexture& Pavage() {
  static FonctionPavageTexture f;
  return f;
}

}  // namespace

FonctionPavageTexture InstallePavageTexture(FonctionPavageTexture f) {
  FonctionPavageTexture ancienne = std::move(Pavage());
  Pavage() = std::move(f);
  return ancienne;
}

int32_t EspacementCroisillons() {
  const auto& v = foundation::Vue();
  const int32_t s = foundation::Arrondi(std::max(v.EchelleVue, 1.0) * v.EchelleFontes / 1000.0);
  return s < 9 ? 8 : s;
}

void TDessinFerme::DessineCetObjet(platform::Canvas& canvas) {
  if (PointsList.size() < 3) {
    TDessinLigne::DessineCetObjet(canvas);
    return;
  }
  PointsList.push_back(PointsList.front());
  struct RetireFermeture {
    std::vector<TPointDeBase>& points;
    ~RetireFermeture() { points.pop_back(); }
  } retire{PointsList};
  MajCourbeBezier();
  DessineSurface(CourbeBezier, canvas);
  CalculPointsVue();
}

void TDessinFerme::DessineSurface(const std::vector<TPointDeBase>& UneCourbe, platform::Canvas& canvas) {
  contour_.clear();
  contour_.reserve(UneCourbe.size());
  for (const TPointDeBase& p : UneCourbe) {
    contour_.push_back(PointVueDessin(p.XLoc, p.YLoc));
    TRect r;
    foundation::UnionRectY(EnvelRect, p.EnvelRect, r);
    EnvelRect = r;
  }
  const bool sansMotif = ObjetMotif == nullptr || ObjetMotif->NumMotif <= 0;
  const bool pinceauSimple = canvas.Brush.Style == BrushStyle::Solid || canvas.Brush.Style == BrushStyle::Clear;
  if ((sansMotif && pinceauSimple) || Selecte) {
    if (Selecte) {
      canvas.Brush.Style = BrushStyle::DiagCross;
      canvas.Brush.Color = CouleurSelectionRemplie;
    }
    canvas.Polygon(contour_);
  } else {
    RempliSurface(canvas);
  }
  Affichage().DecalageVueX = 0;
  Affichage().DecalageVueY = 0;
}

void TDessinFerme::RempliSurface(platform::Canvas& canvas) {
  LargeurBmp = HauteurBmp = 0;
  if (contour_.empty() || ObjetMotif == nullptr) return;
  // The object's pixel extent widened by 10 pixels, as for a bitmap of the
  // whole object; only its part on the target (and inside its clipping) is
  // made.
  const TPoint a = PointVueDessin(EnvelRect.Left, EnvelRect.Top);
  const TPoint b = PointVueDessin(EnvelRect.Right, EnvelRect.Bottom);
  XRmin = std::min(a.X, b.X) - 10;
  XRmax = std::max(a.X, b.X) + 10;
  YRmin = std::min(a.Y, b.Y) - 10;
  YRmax = std::max(a.Y, b.Y) + 10;
  int32_t x0 = std::max(XRmin, 0), y0 = std::max(YRmin, 0);
  int32_t x1 = std::min(XRmax, canvas.Width()), y1 = std::min(YRmax, canvas.Height());
  if (const auto clip = canvas.ClipRect()) {
    x0 = std::max(x0, clip->Left);
    y0 = std::max(y0, clip->Top);
    x1 = std::min(x1, clip->Right);
    y1 = std::min(y1, clip->Bottom);
  }
  if (x1 <= x0 || y1 <= y0) return;
  const int32_t w = x1 - x0, h = y1 - y0;
  std::vector<platform::Point> contour;
  contour.reserve(contour_.size());
  for (const TPoint& p : contour_) contour.push_back({p.X - x0, p.Y - y0});

  std::unique_ptr<platform::Canvas> bmp = canvas.CreateBitmap(w, h);
  LargeurBmp = w;
  HauteurBmp = h;
  bmp->Brush.Color = ObjetMotif->CouleurPinceau;
  bmp->Brush.Style =
      static_cast<BrushStyle>(static_cast<uint8_t>(ObjetMotif->StylePinceau) % platform::kBrushStyleCount);
  if (bmp->Brush.Style == BrushStyle::Solid)
    bmp->FillRect({0, 0, w, h});
  else if (bmp->Brush.Style != BrushStyle::Clear)
    Croisillons(*bmp, x0 - XRmin, y0 - YRmin, XRmax - XRmin);
  if (ObjetMotif->NumMotif > 0 && ObjetMotif->UneTexture != nullptr && Pavage())
    Pavage()(*bmp, w, h, *ObjetMotif->UneTexture, CoeffEchelleDessin, x0 - XRmin, y0 - YRmin);

  // Outside the outline (filled by the alternate rule) becomes white: a
  // mask black inside and white outside is or-ed onto the bitmap.
  {
    std::unique_ptr<platform::Canvas> masque = canvas.CreateBitmap(w, h);
    masque->Pen = platform::CanvasPen{platform::kBlack, 1, platform::PenStyle::Solid, platform::PenMode::Copy};
    masque->Brush = platform::CanvasBrush{platform::kBlack, BrushStyle::Solid};
    masque->Polygon(contour);
    bmp->Copy = platform::CopyMode::SrcPaint;
    bmp->Draw(0, 0, *masque);
    bmp->Copy = platform::CopyMode::SrcCopy;
  }
  bmp->Pen = canvas.Pen;
  bmp->Pen.Mode = platform::PenMode::Copy;
  bmp->Brush.Style = BrushStyle::Clear;
  bmp->Polygon(contour);

  const platform::CopyMode mode = canvas.Copy;
  canvas.Copy = platform::CopyMode::SrcAnd;
  canvas.Draw(x0, y0, *bmp);
  canvas.Copy = mode;
}

void TDessinFerme::Croisillons(platform::Canvas& vBmp, int32_t origineX, int32_t origineY, int32_t largeurTotale) {
  const int32_t w = vBmp.Width(), h = vBmp.Height();
  if (w <= 0 || h <= 0) return;
  if (largeurTotale < 0) largeurTotale = w + origineX;
  const int32_t s = EspacementCroisillons();
  const BrushStyle style = vBmp.Brush.Style;
  vBmp.Pen = platform::CanvasPen{vBmp.Brush.Color, 1, platform::PenStyle::Solid, platform::PenMode::Copy};
  const bool horizontales = style == BrushStyle::Horizontal || style == BrushStyle::Cross;
  const bool verticales = style == BrushStyle::Vertical || style == BrushStyle::Cross;
  const bool montantes = style == BrushStyle::FDiagonal || style == BrushStyle::DiagCross;
  const bool descendantes = style == BrushStyle::BDiagonal || style == BrushStyle::DiagCross;
  // First multiple of s at or after v.
  const auto premier = [s](int64_t v) { return v <= 0 ? 0 : (v + s - 1) / s * s; };
  if (horizontales) {
    for (int64_t y = premier(origineY); y < origineY + h; y += s) {
      const auto yb = static_cast<int32_t>(y - origineY);
      vBmp.MoveTo(0, yb);
      vBmp.LineTo(w, yb);
    }
  }
  if (verticales) {
    for (int64_t x = premier(origineX); x < origineX + w; x += s) {
      const auto xb = static_cast<int32_t>(x - origineX);
      vBmp.MoveTo(xb, 0);
      vBmp.LineTo(xb, h);
    }
  }
  // The diagonals of the whole bitmap, each drawn only over this part: the
  // pixels of a line at 45 degrees do not depend on where it is cut.
  if (montantes) {
    // From (0, c) up to (c, 0) excluded: x + y = c.
    for (int64_t c = premier(origineX + origineY); c < origineX + origineY + w + h - 1; c += s) {
      const int64_t cb = c - origineX - origineY;  // x + y = cb in the part
      const int64_t xDeb = std::max<int64_t>({-origineX, cb - (h - 1), 0});
      const int64_t xFin = std::min<int64_t>({c - origineX - 1, w - 1, cb});
      if (xFin < xDeb) continue;
      vBmp.MoveTo(static_cast<int32_t>(xDeb), static_cast<int32_t>(cb - xDeb));
      vBmp.LineTo(static_cast<int32_t>(xFin + 1), static_cast<int32_t>(cb - xFin - 1));
    }
  }
  if (descendantes) {
    // From (W, c) down to (W - c, 0) excluded: y - x = c - W.
    for (int64_t c = premier(int64_t{largeurTotale} + origineY - origineX - (w - 1));
         c - largeurTotale < origineY - origineX + h; c += s) {
      const int64_t d = c - largeurTotale - origineY + origineX;  // y - x = d in the part
      const int64_t xDeb = std::max<int64_t>({largeurTotale - c - origineX + 1, 0, -d});
      const int64_t xFin = std::min<int64_t>({largeurTotale - origineX, w - 1, h - 1 - d});
      if (xFin < xDeb) continue;
      vBmp.MoveTo(static_cast<int32_t>(xFin), static_cast<int32_t>(xFin + d));
      vBmp.LineTo(static_cast<int32_t>(xDeb - 1), static_cast<int32_t>(xDeb - 1 + d));
    }
  }
}

}  // namespace drawing
