#pragma once
// A pattern library: one list of each kind (textures, line styles, fills,
// symbols, north arrows, surface symbols, fonts), the lists of imported
// sketches and SVG drawings, its stream record (shared by the .mtf pattern
// file and the document) and the library-wide operations.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "drawing/fonte.h"
#include "drawing/objet_trait.h"
#include "drawing/symbole.h"
#include "drawing/texture.h"

namespace survey {
class TReseau;
}

namespace drawing {

class tListeMtf {
 public:
  // Origin code: 0 for the document library and scratch libraries, 1 for the
  // Therion set.
  explicit tListeMtf(int32_t CodeOrigine = 0);
  tListeMtf(const tListeMtf&) = delete;
  tListeMtf& operator=(const tListeMtf&) = delete;

  const int32_t CodeOrigine;
  TListeTextures ListeTextures;
  TListeMotifs ListeTraits;
  TListeMotifs ListeRemplis;
  TListeSymboles ListeSymboles;
  TListeFlN ListeFlNord;
  // Filled when a library older than level 500 is read: for each symbol read,
  // the north arrow made from it or the symbol itself.  Not owning.
  std::vector<TSymbole*> ListeFlNordTmp;
  TListeSymbSurf ListeMotifsSurface;
  TListeFontes ListeFontes;
  TListeMotifs MotifsDTT;     // line styles of imported sketches
  TListeSymboles SymbolesDTT;
  TListeFontes FontesDTT;
  TListeMotifs MotifsSVG;     // stroke styles of imported SVG drawings (.CFG)
  TListeSymboles SymbolesSVG;
  TListeFontes FontesSVG;
  // The seven main lists in kind order.
  std::array<TListeMotifsBase*, NombreTypesMotif> ListeMotif;

  // Defaults of a new document library (no north arrow).
  void InitDefaut();

  // Library record: textures, line styles, fills (from level 500), fonts,
  // symbols, north arrows and surface symbols (from 500); the document adds
  // the sketch lists (from 219).  True when every list was written or read.
  bool EcritObjet(foundation::TFlux& f, bool EstMtf);
  bool LitObjet(foundation::TFlux& f, bool EstMtf);
  // Reads the record into a scratch library and, when it was read whole,
  // gives its lists to this one (RemplaceContenu).  Nothing changes on
  // failure.
  bool LitObjetEnRemplacement(foundation::TFlux& f, bool EstMtf);
  // Swaps the lists of the record (the sketch lists too unless EstMtf) with
  // those of lue, re-points the references into the old entries (the
  // library's SVG strokes, the built-in styles and, through the port, the
  // rest of the program) while they still exist; lue then holds them.
  void RemplaceContenu(tListeMtf& lue, bool EstMtf);

  // Upgrade after reading a library older than level 500.
  void CreeListesRio();

  // The SVG stroke styles of the .CFG companion.
  bool EcritConfig(foundation::TFlux& f);
  bool LitConfig(foundation::TFlux& f);

  // Entry i; a list error (std::out_of_range) for a bad style, fill or
  // symbol index, none for a bad font index.
  TDefObjetTrait* UnTrait(int i) const { return ListeTraits.LeTrait(i); }
  TDefObjetTrait* UnRempli(int i) const { return ListeRemplis.LeTrait(i); }
  TFontObjetType* UneFonte(int i) const { return ListeFontes.LaFonte(i); }
  TSymbole* UnSymbole(int i) const { return ListeSymboles.LeSymbole(i); }

  // Locks the first six textures and every texture a style or fill uses.
  void CalculeVerrousTextures();
  // Every style and fill using fusionnee takes gardee.
  void FusionneTextures(tTexture* gardee, tTexture* fusionnee);
  // Shows every hidden line style, fill, symbol and font; true when one was
  // hidden.
  bool DemasqueTousMotifs();
  // For the six lists after the textures: copies of source's entries that
  // have no equivalent here go to result.
  void CreeListesDiff(tListeMtf& source, tListeMtf& result) const;
  // Reads a pattern file into a scratch library; result receives all its
  // textures and the entries this library lacks.
  bool OuvreMtfPourMotifs(const std::string& nom, tListeMtf& result) const;
  // Appends to the list of the kind copies of the file's entries this
  // library lacks.
  bool CompleteListeMotifs(const std::string& nom, TTypeMotif type);

 private:
  void Relie();
};

// Header of a pattern file at the current level: "#MTF Version 00511#".
std::string EnTeteMtf();

// Writes a pattern file (header then rows 1 to 7) through a temporary file;
// reports success or failure to the user.
bool EcritFichierMtf(const std::string& nom, tListeMtf& bibliotheque);
// Reads a pattern file into the library; reports failures.  The library is
// changed only when the whole file was read; the file level is restored.
bool LitFichierMtf(const std::string& nom, tListeMtf& bibliotheque);

// True when the file can be read and does not start with a pattern file's
// header, which LitFichierMtf refuses without a message.
bool EnTeteMtfInconnu(const std::string& nom);

// The same on a stream: header and library record.
bool EcritFluxMtf(foundation::TFlux& f, tListeMtf& bibliotheque);
bool LitFluxMtf(foundation::TFlux& f, tListeMtf& bibliotheque);

// The network's pattern locks of one kind: the library's list of that kind
// resets its computed locks, then each entry not yet locked is locked when
// the network uses it where patterns of that kind are used (UsageReseau).
void CalculeVerrousMtf(survey::TReseau& reseau, tListeMtf& bibliotheque, TTypeMotif type);

}  // namespace drawing
