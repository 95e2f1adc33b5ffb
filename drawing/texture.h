#pragma once
// Textures: the parameters of a randomly scattered motif (dots, dashes,
// polygons, stars, pebbles) that fills closed lines, the picture generated
// from them (a bitmap made by the canvas factory, generated on first use
// after every change), its SVG pattern, and the tiling of the picture into a
// filled shape.
#include <cstdint>
#include <memory>
#include <random>

#include "drawing/liste_motifs_base.h"
#include "platform/canvas.h"

namespace drawing {

class SortieSVG;

// Kinds of texture (TypeTexture).
inline constexpr int32_t TexturePoints = 1, TextureTraits = 2, TexturePolygones = 3, TexturePolygonesPleins = 4,
                         TextureEtoiles = 5, TextureCailloutis = 6;
// Label of a kind ("Points" ... "Cailloutis"); empty outside 1..6.
std::string NomTypeTexture(int32_t type);
// Side of the SVG pattern of a kind: 500 for 1 to 3, 100 for 4 to 6.
int32_t DimSVGDuType(int32_t type);

// Most motifs one picture draws (polygons, stars, dashes, pebbles): the
// dialog allows a density of 1, which would otherwise ask for a million
// polygons or a hundred million pebbles.  Dots are bounded by the bitmap.
inline constexpr int64_t MaxMotifsTexture = 10000;

// The random generator of the pictures: Random(n) is uniform in 0..n-1 (0
// for n <= 0).  It is reseeded before every picture, from the seed port
// (Ports().GraineTexture) when one is installed, else from the clock.
class AleaTexture {
 public:
  AleaTexture() { Reinitialise(); }
  void Reinitialise();
  void Reinitialise(uint64_t graine) { moteur_.seed(graine); }
  int32_t Random(int32_t n);

 private:
  std::mt19937_64 moteur_;
};

class tDefTexture : public TObjetMotifdeBase {
 public:
  tDefTexture() { TypeMotif = TTypeMotif::tmTexture; }

  bool Initialisee = false;
  int32_t TypeTexture = TexturePoints;
  int32_t TailleBmp = 1000;  // side of the bitmap in pixels
  int32_t DimSVG = 0;
  uint32_t Couleur = 0;      // colour of the motifs
  int32_t Densite = 100;     // one motif per Densite square pixels
  int32_t TailleMin = 0;
  int32_t TailleMax = 10;
  int32_t Epaisseur = 1;

  // Base record, then TypeTexture, Couleur, Densite, TailleMin, TailleMax,
  // Epaisseur (24 bytes at every level).  Values read are made usable: a
  // density below 1 becomes 1, a largest size below the smallest becomes it.
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
  void CopieMotif(const TObjetMotifdeBase& source) override;
  // Same parameters (names are not compared).
  bool EstEquivalent(const TObjetMotifdeBase& autre) const override;
  std::string CleEquivalence() const override;

  // The picture, generated when it is asked for after a change.  Made by
  // the installed canvas factory.
  platform::Canvas& BmpTexture();
  // Generates the picture now (TailleBmp square, white, then the motifs).
  void InitTexture();
  void ReInitTexture() { InitTexture(); }
  // The picture is generated again at its next use (after a change of the
  // parameters; reading and copying call it).
  void Invalide() { aGenerer_ = true; }
  bool AGenerer() const { return aGenerer_ || !bmp_; }

  // Writes the SVG pattern element of the texture (id NomMotifSVG, side
  // DimSVG from the type) through the indented-line output.
  void CreeTextureSVG(SortieSVG& svg, int n = 0);

 private:
  void DessineMotifs(platform::Canvas& c, AleaTexture& alea) const;
  std::unique_ptr<platform::Canvas> bmp_;
  bool aGenerer_ = true;
};

// Tiles the texture's picture over the canvas rectangle (0, 0, largeur,
// hauteur) through the source-and copy (the motifs darken what lies below).
// On screen, when the coefficient is not -1 and exceeds EchelleVue, the
// picture is shrunk by f = coefficient / EchelleVue: the rectangle shows
// what a rectangle f times larger covered by copies of the picture would
// show, stretched back to its size; the copies are drawn shrunk straight
// onto the canvas, never through an enlarged scratch bitmap.  When the
// rectangle is only a part of a larger shape, starting (origineX, origineY)
// pixels into it, the copies keep the places the tiling of the whole shape
// gives them.
void PaveTexture(platform::Canvas& canvas, int32_t largeur, int32_t hauteur, tDefTexture& texture,
                 double coefficient, int32_t origineX = 0, int32_t origineY = 0);

class tTexture : public tDefTexture {
 public:
  std::unique_ptr<tTexture> CloneTexture() const;
  // The sample: a closed square drawn with the built-in style "Paroi"
  // textured by this texture.
  void TraceVisuMotif(platform::Canvas& bitmap) override;
};

class TListeTextures : public TListeMotifsBase {
 public:
  TListeTextures() : TListeMotifsBase(foundation::ClasseDe<tTexture>(), TTypeMotif::tmTexture) {}
  // Texture i; a list error (std::out_of_range) for a bad index.
  tTexture* LaTexture(int i) const;
  // "Sable", "Argile", "Graviers".
  void InitDefaut();
};

}  // namespace drawing
