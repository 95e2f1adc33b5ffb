#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "drawing/contexte_dessin.h"
#include "drawing/dessin_ferme.h"
#include "drawing/dessin_ligne.h"
#include "drawing/dessin_texte.h"
#include "drawing/fonte.h"
#include "drawing/objet_motif_de_base.h"
#include "drawing/objet_trait.h"
#include "foundation/arrondi.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"

namespace drawing {

namespace {

// The values a preview changes: the whole view transform (EchelleFontes
// with it) and the page flag; put back on exit, also on an exception.
class GardeVisuMotif {
 public:
  GardeVisuMotif() : enImpression_(foundation::Impression().EnImpression) {
    foundation::Impression().EnImpression = false;
    foundation::Vue().EchelleFontes = 10000;
    foundation::Vue().XDebVue = -40;
    foundation::Vue().YDebVue = 0;
    foundation::Vue().EchelleVue = 1;
  }
  ~GardeVisuMotif() { foundation::Impression().EnImpression = enImpression_; }
  GardeVisuMotif(const GardeVisuMotif&) = delete;
  GardeVisuMotif& operator=(const GardeVisuMotif&) = delete;

 private:
  foundation::GardeTransfo transfo_;
  bool enImpression_;
};

}  // namespace

void TObjetMotifdeBase::DessineVisuMotif(platform::Canvas& canvas, const platform::Rect& rect, std::string& nom) {
  nom = DesignMotif;
  DessineVisuMotif(canvas, rect);
}

void TObjetMotifdeBase::DessineVisuMotif(platform::Canvas& canvas, const platform::Rect& rect) {
  const platform::CanvasBrush brosse = canvas.Brush;
  const platform::CopyMode mode = canvas.Copy;
  canvas.Brush = {platform::kWhite, platform::BrushStyle::Solid};
  canvas.FillRect(rect);
  canvas.Brush = brosse;
  if (!ADuDessin()) return;
  const int32_t largeur =
      TypeMotif == TTypeMotif::tmFonte ? std::max(1, foundation::Arrondi(rect.Width() * 170.0 / 64.0)) : 200;
  std::unique_ptr<platform::Canvas> bmp = canvas.CreateBitmap(largeur, 200);
  {
    GardeVisuMotif garde;
    TraceVisuMotif(*bmp);
  }
  canvas.Copy = platform::CopyMode::SrcCopy;
  canvas.CopyRect(rect, *bmp, {0, 0, bmp->Width(), bmp->Height()});
  canvas.Copy = mode;
}

void TObjetTrait::TraceVisuMotif(platform::Canvas& bitmap) {
  static const foundation::TPoint points[6] = {{10, 10}, {100, 50}, {120, 90}, {90, 120}, {50, 105}, {20, 150}};
  // A closed style shows its fill: the brush, its hatches or its texture.
  std::unique_ptr<TDessinLigne> ligne;
  if (estFerme())
    ligne = std::make_unique<TDessinFerme>(this);
  else
    ligne = std::make_unique<TDessinLigne>(this);
  for (const foundation::TPoint& p : points) ligne->AjoutePointLoc(p.X * 1000, -p.Y * 1000);
  ligne->DessineVisuMotif(bitmap, this);
}

void TDefObjetFonte::TraceVisuMotif(platform::Canvas& bitmap) {
  const platform::CanvasFont avant = bitmap.Font;
  AppliqueFonte(bitmap, *this);
  bitmap.Font.Size = Taille * 4;
  const std::string texte = "AaBbCcDd 01234";
  const platform::BrushStyle brosse = bitmap.Brush.Style;
  bitmap.Brush.Style = platform::BrushStyle::Clear;
  bitmap.TextOut(5, foundation::Arrondi((170 - bitmap.TextHeight(texte)) / 2.0), texte);
  bitmap.Brush.Style = brosse;
  bitmap.Font = avant;
}

}  // namespace drawing
