#pragma once
// Fonts ("types d'écritures"): typeface, colour, size and style of the texts
// of the drawings, with the survey-label roles of the four label fonts.
#include <cstdint>
#include <memory>
#include <string>

#include "drawing/liste_motifs_base.h"

namespace drawing {

// Style bits of a font: bold 1, italic 2, underline 4, strike-out 8.
enum class TStyleFonte : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TStylesFonte = foundation::Flags<TStyleFonte, uint8_t>;

struct TFontType {
  std::string Nom;      // typeface
  uint32_t Couleur = 0;
  int32_t Taille = 10;  // points
  TStylesFonte Style;
};

// Survey-label role of a font (one byte).
enum class TInfotopo : uint8_t { tsitNul, tsitAltRel, tsitAltAbs, tsitDist, tsitIdStat };
inline constexpr int NombreInfotopo = 5;

class TDefObjetFonte : public TObjetMotifdeBase {
 public:
  TDefObjetFonte() { TypeMotif = TTypeMotif::tmFonte; }

  std::string NomPolice;
  uint32_t Couleur = 0;
  int32_t Taille = 10;
  TStylesFonte Style;
  int64_t CodeIdentFonte = 0;  // position in its default table; not stored
  TInfotopo InfoTopoFnte = TInfotopo::tsitNul;
  int32_t OrdreFonte = -1;     // sort key of the two orderings

  TFontType GetValeurFonte() const;
  void SetValeurFonte(const TFontType& v);
  bool EstInfoTopo() const { return InfoTopoFnte != TInfotopo::tsitNul; }

  // Base record (from level 226), NomPolice, Couleur, Taille (below level
  // 204 divided by 2.45), Style, DesignMotif (below 226), 8 reserved bytes
  // (122 to 225), InfoTopoFnte.
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
  // Base fields, ValeurFonte and InfoTopoFnte.
  void CopieMotif(const TObjetMotifdeBase& source) override;
  // Names and typefaces equal ignoring case, equal colour, size and style.
  bool EstEquivalent(const TObjetMotifdeBase& autre) const override;
  // The sample: "AaBbCcDd 01234" at four times the size, at x 5, centred in
  // 170 pixels of height.
  void TraceVisuMotif(platform::Canvas& bitmap) override;
};

class TFontObjetType : public TDefObjetFonte {
 public:
  std::unique_ptr<TFontObjetType> CloneFonte() const;
  // Every font of the entry's list takes its typeface (the font dialog's
  // "Appliquer cette police à tous les types d'écritures").
  void AppliquePoliceATous();
};

class TListeFontes : public TListeMotifsBase {
 public:
  TListeFontes() : TListeMotifsBase(foundation::ClasseDe<TFontObjetType>(), TTypeMotif::tmFonte) {}

  // Font i, or none for a bad index.
  TFontObjetType* LaFonte(int i) const;
  // The four survey-label fonts, then the seven ordinary fonts.
  void InitDefaut();
  // Upgrade of a library older than level 510: adds the survey-label fonts
  // it lacks at the head.
  void CompleteFontesInfoTopo();
  // Survey-label fonts after the others, each group in its order.
  void TrieFontesInfoTopo();
  // Back to the order before TrieFontesInfoTopo.
  void TrieFontesNormal();

 private:
  void InsereFonteInfoTopo(int ligne);
  void TrieSurOrdre();
};

// A font made from a default row ("Times New Roman", black, regular).
std::unique_ptr<TFontObjetType> CreeFonte(const std::string& nom, int32_t taille, uint32_t couleur = 0,
                                          TStylesFonte style = {});

}  // namespace drawing
