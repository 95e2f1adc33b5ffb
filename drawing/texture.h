#pragma once
// Textures: the parameters of a randomly scattered motif (dots, dashes,
// polygons, stars, pebbles) that fills closed lines.  The picture itself is
// generated from them by the canvas layer.
#include <cstdint>
#include <memory>

#include "drawing/liste_motifs_base.h"

namespace drawing {

// Kinds of texture (TypeTexture).
inline constexpr int32_t TexturePoints = 1, TextureTraits = 2, TexturePolygones = 3, TexturePolygonesPleins = 4,
                         TextureEtoiles = 5, TextureCailloutis = 6;
// Label of a kind ("Points" ... "Cailloutis"); empty outside 1..6.
std::string NomTypeTexture(int32_t type);
// Side of the SVG pattern of a kind: 500 for 1 to 3, 100 for 4 to 6.
int32_t DimSVGDuType(int32_t type);

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
};

class tTexture : public tDefTexture {
 public:
  std::unique_ptr<tTexture> CloneTexture() const;
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
