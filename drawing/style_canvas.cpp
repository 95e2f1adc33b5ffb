#include "drawing/style_canvas.h"

#include "drawing/reglages_trace.h"

namespace drawing {

namespace {

// The style record and the style entry have the same fields; the entry is
// applied without copying it into a record (objects apply their style at
// every paint).
template <class T>
void Applique(platform::Canvas& canvas, const T& t) {
  const auto& imp = ImpressionLue();
  TypeTrait largeur;
  largeur.EpaisseurPlume = t.EpaisseurPlume;
  largeur.NumMotif = t.NumMotif;
  largeur.StylePinceau = t.StylePinceau;
  canvas.Pen.Color = t.CouleurPlume;
  canvas.Pen.Mode = static_cast<platform::PenMode>(static_cast<uint8_t>(t.ModePlume) % platform::kPenModeCount);
  canvas.Pen.Style = StyleCrayonDeBase(t.StylePlume);
  canvas.Pen.Width = EpaisseurAppliquee(largeur, imp.EnImpression, VueLue().EchelleFontes, imp.EchellePrn);
  canvas.Brush.Color = t.CouleurPinceau;
  canvas.Brush.Style =
      static_cast<platform::BrushStyle>(static_cast<uint8_t>(PinceauApplique(largeur)) % platform::kBrushStyleCount);
  canvas.Font.Color = t.CouleurFonte;
}

}  // namespace

void AppliqueTrait(platform::Canvas& canvas, const TypeTrait& trait) { Applique(canvas, trait); }

void AppliqueTrait(platform::Canvas& canvas, const TDefObjetTrait* style) {
  if (style != nullptr) Applique(canvas, *style);
}

StyleCanvas MemoriseStyleCanvas(const platform::Canvas& canvas) { return {canvas.Pen, canvas.Brush, canvas.Font}; }

void RestaureStyleCanvas(platform::Canvas& canvas, const StyleCanvas& style) {
  canvas.Pen = style.Pen;
  canvas.Brush = style.Brush;
  canvas.Font = style.Font;
}

}  // namespace drawing
