#pragma once
// A closed outline drawn with its fill style (TDessinFerme): a plain brush
// through the canvas polygon, or a hatched or textured fill made on a
// scratch bitmap and laid on the target with a source-and copy (white leaves
// the target unchanged).  The scratch bitmap covers only the part of the
// object that the target shows, so a fill far larger than the window at a
// high zoom costs no more than the window.
#include <cstdint>
#include <functional>
#include <vector>

#include "drawing/dessin_ligne.h"

namespace drawing {

class tTexture;

class TDessinFerme : public TDessinLigne {
 public:
  using TDessinLigne::TDessinLigne;

  // Fewer than 3 points: drawn as a line.  Otherwise closed on its first
  // point for the drawing, its curve filled by DessineSurface.
  void DessineCetObjet(platform::Canvas& canvas) override;
  // Every point of the curve becomes a pixel of the outline (the envelope
  // takes each one in); plain fills and selected objects (cross-hatched in
  // CouleurSelectionRemplie) are the canvas polygon, hatched and textured
  // fills go through RempliSurface.  The view offset is reset afterwards.
  void DessineSurface(const std::vector<TPointDeBase>& UneCourbe, platform::Canvas& canvas);
  // The hatched or textured fill of the outline of the last DessineSurface,
  // on a scratch bitmap of the visible part of the object's pixel extent:
  // the brush or the hatches, the texture, then everything outside the
  // outline (filled by the alternate rule, as the plain polygon) made white,
  // the outline drawn with the canvas pen; the bitmap is then laid on the
  // target with a source-and copy.
  void RempliSurface(platform::Canvas& canvas);
  // Lines of the brush colour every EspacementCroisillons pixels for the
  // bitmap's brush style (horizontal, vertical, both diagonals, crosses).
  // The hatches are laid as on a bitmap of the object's whole extent
  // (largeurTotale pixels wide) of which vBmp is the part starting at pixel
  // (origineX, origineY).
  void Croisillons(platform::Canvas& vBmp, int32_t origineX = 0, int32_t origineY = 0, int32_t largeurTotale = -1);

  // The outline in pixels of the last DessineSurface.
  const std::vector<foundation::TPoint>& ContourVue() const { return contour_; }
  // Size of the last scratch bitmap of RempliSurface (0 when none was made).
  int32_t LargeurBmp = 0, HauteurBmp = 0;

 protected:
  std::vector<foundation::TPoint> contour_;
};

inline constexpr uint32_t CouleurSelectionRemplie = 0xC8C8FA;

// The hatch spacing in pixels: round(max(EchelleVue, 1) x EchelleFontes /
// 1000), 8 when that is below 9.
int32_t EspacementCroisillons();

// ---- Texture tiling (connection to the texture module) ---------------------
// Textured fills paint their texture through this one function and nothing
// else.  It covers the canvas rectangle (0, 0, largeur, hauteur) with the
// texture's picture shrunk by the drawing-scale factor of `coefficient` (the
// object's CoeffEchelleDessin), combined with what is there by a source-and
// copy, the tiles laid as on a larger rectangle of which this one is the part
// starting at pixel (origineX, origineY), so that a visible part of a fill
// tiles in phase with the whole.  The texture module's tiling routine is
// installed here; without one a textured fill keeps its brush only.
using FonctionPavageTexture =
    std::function<void(platform::Canvas& canvas, int32_t largeur, int32_t hauteur, const tTexture& texture,
                       double coefficient, int32_t origineX, int32_t origineY)>;
// Installs a tiling routine (empty: none) and returns the previous one.
FonctionPavageTexture InstallePavageTexture(FonctionPavageTexture f);

}  // namespace drawing
