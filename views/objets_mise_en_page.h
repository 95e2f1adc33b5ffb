#pragma once
// The items a page layout places on the sheet: title blocks, the north arrow,
// vertical scales, elevation blocks, raster images, the legend of patterns,
// white masks and the scale bar, and the header and footer texts.  Positions
// and sizes are layout units: thousandths of a printer dot of the layout's
// first page, X to the right and Y upward from the page's lower left corner.
//
// Caves, long sections and stations are held by their numbers (cave index in
// the network, long-section index in its cave, network-wide station number),
// -1 for none, and checked through the ports of views/ports_vues.h.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/objet_de_liste.h"

namespace drawing {
class TObjetMotifdeBase;
class TSymbole;
class TFontObjetType;
class TRelogeMotifs;
}  // namespace drawing

namespace views {

// The level the layout records are read at: a file stored at level 226 is
// read as level 500.
int32_t NiveauMep();

// Base of every sheet item; bare for the scale bar and the masks.
class TObjetGraphique : public foundation::TObjetDeListe {
 public:
  int32_t XOrig = 0;
  int32_t YOrig = 0;
  int32_t Hauteur = -1;  // both -1: the item is absent
  int32_t Largeur = -1;

  bool EstNul() const { return Hauteur == -1 && Largeur == -1; }
  void Efface() { Hauteur = Largeur = -1; }
  void CopieObjet(const TObjetGraphique& source);

  // The item record: XOrig, YOrig, Hauteur, Largeur (16 bytes).
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

 protected:
  // The four fields as steps of a running chain (after InitES).
  bool EcrisItem();
  bool LisItem();
};

// A title block: its text in the title-block rich-text subset, one line per
// entry.
class TCartouche : public TObjetGraphique {
 public:
  std::vector<std::string> Lignes;
  int32_t Encadrement = 0;  // frame code kept for the editor

  bool EstVide() const { return Lignes.empty(); }
  // Lignes, the item record, Encadrement.
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
};

// The north arrow: Hauteur is its length; Largeur the two-digit year code of
// a magnetic north (year - 1900 up to 2000, year - 2000 after), or -1.
class TFlecheN : public TObjetGraphique {
 public:
  drawing::TSymbole* FlecheSymb = nullptr;  // not owned

  // Item record, then the symbol number: -1 absent (or no symbol), 0 one of
  // the built-in arrows, 1 + its position in the document library's
  // north-arrow list.  Read from level 216; the gates of older levels apply.
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

  // SauveTexte := the symbol's text; Texte := that text with the year code
  // written into its "_" when the symbol has a text.
  void CreeTexteFlecheN(std::string& SauveTexte, std::string& Texte) const;
};

// A symbol text with each "_" in turn replaced by the next digit of the
// decimal form of Largeur, then by blanks; trimmed.
std::string CreeTexteFlecheN(const std::string& texteSymbole, int32_t Largeur);

class TListeEchVert;

// A vertical scale of an elevation layout.
class TEchelleVert : public TObjetGraphique {
 public:
  TListeEchVert* ListeProprio = nullptr;
  bool ChiffreDr = false;  // figures on the right
  int32_t Longueur = 0;
  // Working values filled from the page by the editor and the renderer.
  double YHReel = 0, YBReel = 0, RefAltiH = 0, RefAltiB = 0;

  // Longueur travels in Hauteur: item record, ChiffreDr.
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
};

class TListeEchVert : public foundation::TListeFichier<TEchelleVert> {
 public:
  int32_t PasEchelle = 0;  // step of the graduations
  bool Absolue = false;    // absolute altitudes
  double AltiEntree = 0;   // working values
  double TotalAlti = 0;
  int32_t LMin = 0;

  // A new scale: figures on the left, width 60, length 2000.
  TEchelleVert* AjouteEchelleV();
  bool Creee() const { return !Vide(); }
  TEchelleVert* UneEchelleV(int i) const { return UnObjet(i); }

  // Count and scales, PasEchelle, Absolue.
  bool EcritListe(foundation::TFlux& f) override;
  bool LitListe(foundation::TFlux& f) override;
};

// An elevation block: a long section of a cave drawn on the sheet.
class TCoupeAlti : public TObjetGraphique {
 public:
  std::vector<std::string> Legende;
  int32_t CaviteRef = -1;  // cave index in the network
  int32_t CoupeRef = -1;   // long-section index in that cave
  drawing::TFontObjetType* FonteLegendes = nullptr;  // not owned
  bool CAltCadre = false;
  int8_t CAltTypeAltitude = 0;
  int32_t CAltEntreeRef = -1;  // network-wide station number of the reference entrance

  // Item record, Legende, cave number (-1 when not in the network: the
  // record ends there), long-section number, 1 + entrance number (-1 when
  // not one of the cave's entrances), altitude kind.
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
};

class TListeCoupesAlti : public foundation::TListeFichier<TCoupeAlti> {
 public:
  bool Cadre = false;  // blocks framed
  drawing::TFontObjetType* FonteLegendes = nullptr;  // a font of the document library
  bool Modifiee = false;

  // Count and blocks, Cadre, the font's position in the library (-1 none).
  bool EcritListe(foundation::TFlux& f) override;
  bool LitListe(foundation::TFlux& f) override;
};

// A raster image on the sheet.
class TRasterMep : public TObjetGraphique {
 public:
  std::string NomRaster;
  bool Encadre = false;  // black frame

  // Item record, NomRaster, Encadre (read above level 500 or at 225).
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
};

// The legend: a list of line styles, fills and symbols of the document
// library with a title.
class TMotifsMep : public TObjetGraphique {
 public:
  TMotifsMep();
  ~TMotifsMep() override;

  std::string TitreListe;
  std::unique_ptr<drawing::TFontObjetType> FonteTitre;  // "Times New Roman", 30
  std::vector<drawing::TObjetMotifdeBase*> ListeMotifsMep;  // not owned
  double CoeffVisu = 1.0;

  // Item record; when present, TitreListe, the title font's record,
  // CoeffVisu and the entries (kind byte, position in the library list).
  // Entries that are not a line style, fill or symbol of the library are
  // dropped before writing.
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

  // When MotifAGarder is already listed, every MotifAFusionner goes;
  // otherwise the first MotifAFusionner becomes MotifAGarder.  Nothing when
  // the legend is absent.
  void FusionneMotifs(drawing::TObjetMotifdeBase* MotifAGarder, drawing::TObjetMotifdeBase* MotifAFusionner);
};

// A header or footer: left, centre and right texts.
struct TTetePiedPage {
  std::string SectionG;
  std::string SectionC;
  std::string SectionD;

  bool Ecrit(foundation::TFlux& f) const;
  bool Lit(foundation::TFlux& f);
};

// Patterns of one kind not drawn when the layout is applied (not owned).
using TListeMotifsMasques = std::vector<drawing::TObjetMotifdeBase*>;

}  // namespace views
