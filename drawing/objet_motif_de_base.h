#pragma once
// What every entry of a pattern library shares: its kind, name, category,
// locks, flags and origin code, and its base record in the stream.
#include <cstdint>
#include <string>

#include "foundation/flags.h"
#include "foundation/niveau_fichier.h"
#include "foundation/objet_de_liste.h"
#include "platform/canvas.h"
#include "survey/liens_dessin.h"

namespace drawing {

// The kind of a pattern entry, stored in one byte.
enum class TTypeMotif : uint8_t { tmTexture, tmTrait, tmRempli, tmSymbole, tmNord, tmSurface, tmFonte };
inline constexpr int NombreTypesMotif = 7;
// A set of kinds, bit n standing for kind n (3: textures and line styles).
using TGroupeMotifs = foundation::Flags<TTypeMotif, uint8_t>;

// Words of captions: "texture", "traits", ... (user texts), and the fixed
// prefix of the identifiers of exported SVG patterns ("rempli").
const std::string& NomTypeMotif(TTypeMotif t);
const std::string& NomTypesMotif(TTypeMotif t);
const char* PrefixeMotifSVG(TTypeMotif t);
// Where a network uses the patterns of a list of that kind: line styles,
// fills, symbols and fonts in the caves' drawings, north arrows in the plan
// page layouts, surface symbols on surface points, textures nowhere searched.
survey::TUsageMotif UsageReseau(TTypeMotif t);

// The level of the file being read.
inline int32_t NiveauLu() { return foundation::NiveauFichier().VersionFichierLue; }

class TListeBasiqueDeMotifs;
class TCategorieMotifs;

// The survey model holds an entry as a survey::TMotifDocument (a surface
// point's symbol, the patterns its parts merge or ask about); MotifDe gives
// the entry back.
class TObjetMotifdeBase : public foundation::TObjetDeListe, public survey::TMotifDocument {
 public:
  TObjetMotifdeBase() = default;
  TObjetMotifdeBase(const TObjetMotifdeBase&) = delete;
  TObjetMotifdeBase& operator=(const TObjetMotifdeBase&) = delete;

  std::string NomMotifSVG;   // identifier inside an exported SVG file
  std::string DesignMotif;   // the name the user sees
  bool VerrouPlan = false;   // used by a plan drawing, or built in
  bool VerrouAlti = false;   // used by an elevation drawing
  // Selecte (selected in a list window) is the stream object's flag.
  bool Utilise = false;              // used by the SVG export under way
  bool SelectionConcepteur = false;  // ticked in the library manager
  bool MotifMasque = false;          // hidden by the page layout
  TCategorieMotifs* UneCategorie = nullptr;  // not owned
  int32_t IndexCategorie = -1;               // position of the category while streaming
  TListeBasiqueDeMotifs* ListeProprio = nullptr;
  TTypeMotif TypeMotif = TTypeMotif::tmTexture;
  // Origin of the library holding the entry: 0 document, 1 Therion set, -1
  // until written, -2 a font stored with its one text.
  int32_t CodeOrigineMotif = -1;

  bool GetVerrou() const { return VerrouPlan || VerrouAlti; }
  void SetVerrou(bool v) { VerrouPlan = VerrouAlti = v; }

  // Base record: DesignMotif, then IndexCategorie (read from level 226 on).
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

  // True when the entry has a sample to preview.
  virtual bool ADuDessin() const { return true; }
  // Opens the kind's editor on the entry (through the editor port); true
  // when the user confirmed.
  virtual bool DessineMotif();
  // Copies the shared fields from another entry; the kinds add theirs.
  virtual void CopieMotif(const TObjetMotifdeBase& source);
  // True when the two entries draw the same.
  virtual bool EstEquivalent(const TObjetMotifdeBase& autre) const = 0;
  // A key that equivalent entries share (their name in capitals unless the
  // kind says otherwise): comparisons of lists only test entries of the same
  // key, which keeps them linear.
  virtual std::string CleEquivalence() const;

  // Draws the entry's sample on a 200 x 200 scratch bitmap (a font's is
  // wider), in the preview transform set by DessineVisuMotif.
  virtual void TraceVisuMotif(platform::Canvas&) {}
  // Fills the rectangle with white and, when the entry has a sample, draws
  // it there stretched from its scratch bitmap; nom receives DesignMotif.
  // The view transform, EchelleFontes and the page flag are put back, also
  // when the sample fails.
  void DessineVisuMotif(platform::Canvas& canvas, const platform::Rect& rect, std::string& nom);
  void DessineVisuMotif(platform::Canvas& canvas, const platform::Rect& rect);
};

// The entry behind the survey model's handle; none for none.
inline TObjetMotifdeBase* MotifDe(survey::TMotifDocument* m) { return dynamic_cast<TObjetMotifdeBase*>(m); }
inline const TObjetMotifdeBase* MotifDe(const survey::TMotifDocument* m) {
  return dynamic_cast<const TObjetMotifdeBase*>(m);
}

}  // namespace drawing
