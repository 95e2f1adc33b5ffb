#include <algorithm>
#include <memory>
#include <string>

#include "drawing/contexte_dessin.h"
#include "drawing/objet_motif_de_base.h"
#include "foundation/arrondi.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"

namespace drawing {

void TObjetMotifdeBase::DessineVisuMotif(platform::Canvas& canvas, const platform::Rect& rect, std::string& nom) {
  nom = DesignMotif;
  DessineVisuMotif(canvas, rect);
}

void TObjetMotifdeBase::DessineVisuMotif(platform::Canvas& canvas, const platform::Rect& rect) {
  {
    const platform::CanvasBrush brosse = canvas.Brush;
    canvas.Brush = {platform::kWhite, platform::BrushStyle::Solid};
    canvas.FillRect(rect);
    canvas.Brush = brosse;
  }
  if (!ADuDessin()) return;
  // The view transform, the font scale and the page flag are the preview's
  // for the sample only.
  foundation::GardeTransfo transfo;
  GardeValeur<int32_t> echelleFontes(foundation::Vue().EchelleFontes, 10000);
  GardeValeur<bool> enImpression(foundation::Impression().EnImpression, false);
  const int32_t largeur =
      TypeMotif == TTypeMotif::tmFonte ? std::max(1, foundation::Arrondi(rect.Width() * 170.0 / 64.0)) : 200;
  std::unique_ptr<platform::Canvas> bmp = canvas.CreateBitmap(largeur, 200);
  foundation::Vue().XDebVue = -40;
  foundation::Vue().YDebVue = 0;
  foundation::Vue().EchelleVue = 1;
  TraceVisuMotif(*bmp);
  const platform::CopyMode mode = canvas.Copy;
  canvas.Copy = platform::CopyMode::SrcCopy;
  canvas.CopyRect(rect, *bmp, {0, 0, bmp->Width(), bmp->Height()});
  canvas.Copy = mode;
}

}  // namespace drawing
