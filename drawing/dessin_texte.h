#pragma once
// Texts on a drawing: a text fitted between its two points (several lines
// when horizontal, else turned), with an optional leader to a third point
// ending in an arrow head or a dot, and the text laid along a smoothed curve.
#include <cstdint>
#include <span>
#include <string>

#include "drawing/deplacable.h"
#include "drawing/fonte.h"

namespace survey {
class TPointSpeleo;
}

namespace drawing {

// Font sizes below which texts are not written: on screen, and on a page.
inline constexpr double TailleMinFonteEcran = 3;
inline constexpr double TailleMinFonteImpression = 0.1;
double TailleMinFonte();

// The canvas font from a font entry (typeface, colour, size, style).
void AppliqueFonte(platform::Canvas& canvas, const TDefObjetFonte& fonte);

class TDessinTexte : public TDessinDeplacable {
 public:
  explicit TDessinTexte(const TDefObjetTrait* vMotif = nullptr, foundation::TObjetDeListe* unObjet = nullptr);

  std::string tdTexte;
  bool tdEstHoriz = false;
  int32_t tdTypeInfo = -1;
  bool tdEstPolygo = false;                        // a surface-point label with its marker
  survey::TPointSpeleo* tdPointPolyRef = nullptr;  // not owned
  int8_t tdAlignTexte = 0;
  int32_t tdTypeFleche = 0;  // 0 none, 1 filled head, 2 open head, 3 dot
  TFontObjetType* tdFonte = nullptr;  // not owned
  int32_t EchelleTexte = -1;

  void InitObjet(int32_t Xs, int32_t Ys) override;
  // The points' envelope widened by the width of "M" on both sides and by
  // the text height at the top.
  void CalculeEnveloppe() override;
  // Width of the text in its font, ground metres (the longest line of a
  // horizontal text).
  double TailleTexteDessin() const;
  // Half of that width in drawing units.
  double GetTailleTexte() const;
  // Only texts that are not horizontal turn.
  void Tourne(bool Sens) override;
  // The next or previous font of the document's font list, wrapping round.
  void Dimension(bool Sens) override;
  void DessineObjetDeplacable(platform::Canvas& canvas) override;

 protected:
  // The text, fitted between points 0 and 1, with its leader and marker.
  void DessineTexteAjuste(platform::Canvas& canvas);
};

class TTexteSurLigne : public TDessinTexte {
 public:
  using TDessinTexte::TDessinTexte;
  int32_t EchelleDessinInitial = 0;

  void InitObjet(int32_t Xs, int32_t Ys) override;
  void DessineCetObjet(platform::Canvas& canvas) override;
  void DessineObjetDeplacable(platform::Canvas& canvas) override;
};

// Writes the text along a pixel Bézier path of 3n + 1 points (the first
// hauteBorne + 1 used), spread over the whole curve: characters turned along
// it, in the canvas font.  A character whose middle lies beyond the end of
// the path is not written.
void TexteSurBezier(platform::Canvas& canvas, std::span<const foundation::TPoint> points, int hauteBorne,
                    const std::string& texte);

}  // namespace drawing
