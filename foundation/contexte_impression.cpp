#include "foundation/contexte_impression.h"

#include "platform/canvas.h"

namespace foundation {

TParamsImprimante ContexteImpression::ParamsImprimante() const {
  TParamsImprimante p;
  p.EchellePrn = EchellePrn;
  p.CoeffPrn = CoeffPrn;
  p.DecalXPrn = DecalXPrn;
  p.BandeEnTetePrn = BandeEnTetePrn;
  p.DxSousPage = DxSousPage;
  p.DySousPage = DySousPage;
  return p;
}

bool BitmapCreable(int32_t largeur, int32_t hauteur) {
  if (largeur <= 0 || hauteur <= 0) return false;
  if (Impression().BitmapPossible) return Impression().BitmapPossible(largeur, hauteur);
  const auto b = platform::CanvasFactory::Current().CreateBitmap(largeur, hauteur);
  return b && b->Width() == largeur && b->Height() == hauteur;
}

}  // namespace foundation
