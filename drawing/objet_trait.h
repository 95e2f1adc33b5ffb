#pragma once
// Line styles and fills: the style record TypeTrait, the pattern entries that
// carry it, their list with its texture links, and the pen and brush values a
// canvas receives from a style.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "drawing/liste_motifs_base.h"
#include "platform/canvas.h"

namespace drawing {

class tTexture;
class TListeTextures;

// Dash or ornament of a line (one byte).
enum class MesPenStyle : uint8_t {
  mpsSolid, mpsDash, mpsDot, mpsDashDot, mpsHachure, mpsDemiHachure,
  mpsTiretHachure, mpsTirHachAlt, mpsTriangle, mpsTrianglePlein, mpsHachurePente
};
inline constexpr int NombreMesPenStyle = 11;
// Label shown by the editor ("Continu" ...).
const std::string& NomMesPenStyle(MesPenStyle s);

// Raster mode of a pen (one byte; 4 is copy, 15 not-xor).
enum class TModePlume : uint8_t {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
inline constexpr int NombreModesPlume = 16;

// Brush style (one byte).
enum class TStylePinceau : uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
inline constexpr int NombreStylesPinceau = 8;

// Base pen style a canvas draws with; the ornaments are added by the line
// tracer.
platform::PenStyle StyleCrayonDeBase(MesPenStyle s);
// Back from a canvas pen style (dash-dot-dot and clear give mpsSolid).
MesPenStyle MesPenStyleDuCrayon(platform::PenStyle s);

// The value record of a style.
struct TypeTrait {
  std::string Design;
  uint32_t CouleurPlume = 0;
  TModePlume ModePlume = TModePlume::pmCopy;
  MesPenStyle StylePlume = MesPenStyle::mpsSolid;
  int32_t EpaisseurPlume = 1;
  uint32_t CouleurPinceau = 0;
  TStylePinceau StylePinceau = TStylePinceau::bsSolid;
  uint32_t CouleurFonte = 0;
  bool TraitLisse = false;
  int16_t NumMotif = -1;  // -1 open line, 0 filled with the brush, n > 0 texture n
  int32_t CoupePlan = 2;  // 0 plan, 1 elevation and sections, 2 both; +10 dressing
  uint32_t CodeMotif = 0;
  tTexture* UneTexture = nullptr;  // not owned
};

// Equivalence of two style values: names equal ignoring case, equal pen,
// brush, font colour and smoothing, and the same fill (equal NumMotif below 1,
// equivalent textures otherwise).
bool TraitsEquivalents(const TypeTrait& a, const TypeTrait& b);

class TDefObjetTrait : public TObjetMotifdeBase {
 public:
  TDefObjetTrait() { TypeMotif = TTypeMotif::tmTrait; }

  uint32_t CouleurPlume = 0;
  TModePlume ModePlume = TModePlume::pmCopy;
  MesPenStyle StylePlume = MesPenStyle::mpsSolid;
  int32_t EpaisseurPlume = 1;
  uint32_t CouleurPinceau = 0;
  TStylePinceau StylePinceau = TStylePinceau::bsSolid;
  uint32_t CouleurFonte = 0;
  bool TraitLisse = false;
  int16_t NumMotif = -1;
  int32_t CoupePlan = 2;
  uint32_t CodeMotif = 0;
  tTexture* UneTexture = nullptr;
  bool EstCadreEcart = false;  // frame style of an offset part

  TypeTrait GetValeurTrait() const;
  void SetValeurTrait(const TypeTrait& v);

  void FixeTexture(tTexture* t) {
    UneTexture = t;
    NumMotif = 1;
  }
  bool estHabillage() const { return CoupePlan > 9; }
  bool estFerme() const { return NumMotif >= 0; }
  bool MemeApparence(const TDefObjetTrait& autre) const;

  // Base record then the style fields (30 bytes; older levels have padding
  // and 8 reserved bytes).  An entry of kind tmSymbole has the base record
  // only.
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
  void CopieMotif(const TObjetMotifdeBase& source) override;
  bool EstEquivalent(const TObjetMotifdeBase& autre) const override;

 protected:
  bool EcritTrait();
  bool LitTrait();
};

// The line style of a library.
class TObjetTrait : public TDefObjetTrait {
 public:
  std::unique_ptr<TObjetTrait> CloneTrait() const;
  // The sample: a line (a closed shape when the style fills) through six
  // points drawn with the style.
  void TraceVisuMotif(platform::Canvas& bitmap) override;
};

// A fill: a closed style kept in its own list.
class tMotifRempli : public TObjetTrait {
 public:
  tMotifRempli() {
    TypeMotif = TTypeMotif::tmRempli;
    NumMotif = 0;
  }
};

// A stroke style met in an imported SVG drawing, with the library style
// chosen for it.  Record: epaisseur, IndexEquiv, then the style record.
class TMotifSVG : public TObjetTrait {
 public:
  double epaisseur = 0;
  TObjetTrait* Equivalent = nullptr;  // not owned
  int32_t IndexEquiv = -1;

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
};

class TListeMotifs : public TListeMotifsBase {
 public:
  TListeMotifs(foundation::TClassObjetDeListe classe, TTypeMotif type) : TListeMotifsBase(classe, type) {}

  TListeTextures* vListeTexture = nullptr;  // not owned

  // Entry i as a style; a list error (std::out_of_range) for a bad index.
  TDefObjetTrait* LeTrait(int i) const;
  // Textured entries store their texture's position + 1 in NumMotif.
  bool EcritListe(foundation::TFlux& f) override;
  // Entries with NumMotif above 0 get that texture; a number beyond the
  // texture list fails the reading.
  bool LitListe(foundation::TFlux& f) override;
  // Line styles: the six default lines; fills: the three default fills.
  void InitDefaut();
};

// Pen width a canvas receives: while a page is rendered, the larger of the
// width and 2 x width x EchelleFontes / EchellePrn, rounded.
int32_t EpaisseurAppliquee(const TypeTrait& t, bool enImpression, int32_t echelleFontes, int32_t echellePrn);
// Brush a canvas receives: clear for an open line, else the style's brush.
TStylePinceau PinceauApplique(const TypeTrait& t);

// The graded styles: ten copies of the splay-shot style from red (i = 0) to
// cyan (i = 9).
std::array<TypeTrait, 10> CalculeTraitsDegrades(const TypeTrait& styleViseesAnnexes);

// A Windows colour value from red, green and blue.
constexpr uint32_t RGB(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

}  // namespace drawing
