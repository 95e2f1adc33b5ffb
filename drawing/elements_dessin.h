#pragma once
// The elements of a stored drawing built on the line element: fills, texts
// (plain, along a curve, or survey labels that show a station's altitude,
// distance or name) and placed symbols.
//
// Fill record: its bounding lines as positions in the element list's lines
// (count + 4-byte positions from level 500; below, count + decimal texts);
// the pattern reference resolved in the fills (line styles below level 500),
// origin -1 giving the fallback fill; EstFiligrane as for lines.
//
// Text record: the line record (pattern resolved in the fonts); Horiz (1
// byte); TypeFleche (4); below level 500 a font index (4); UnTexte; TypeInfo,
// IndPtRef (4 + 4; below level 510 TypeInfo 0 and 1 are exchanged);
// CoeffTexte (4); Alignement (1 byte, from level 508; below, 0); when the
// origin code is -2, the text's own font record.
//
// Symbol record: the points; the pattern reference resolved in the symbols,
// origin -1 giving the fallback symbol; from level 216, one byte telling
// whether a text record follows.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "drawing/fonte.h"
#include "drawing/objet_donnees_basique.h"
#include "foundation/objet_de_liste.h"

namespace survey {
class TPointSpeleo;
}

namespace drawing {

class TDefSymbole;

// A fill: the area closed by lines of the same element list.  Every bounding
// line is an element of the list's lines; the list's line-removal routine
// takes a removed line out of every fill.
class TObjetDonneesRemplir : public TObjetDonneesBasique {
 public:
  foundation::TListeInteger ListeIndexPoly;   // positions of the bounding lines while streamed
  std::vector<TObjetDonneesBasique*> ListePoly;  // bounding lines, not owned

  // Drops every bounding line that is no longer valid (which prunes its
  // points); true while more than one is left.
  bool ObjetValide() override;
  // ListeIndexPoly := the bounding lines' positions in LignesCourantes (lines
  // not there are skipped).
  void CreeListeIndex();
  // Removes the first bounding line shown by this display object.
  void EnleveLigne(const TObjetDessin* UneLigne);
  // The fill's display object (TDessinRemplissage) in the layer: the
  // bounding lines' current display objects become its ListeLignes (a line
  // without one is left out), and an invisible bounding line that no fill
  // claims yet takes the fill as ObjetRempliParent.
  TObjetDessin* CreeDessinRempli(TCalque& UnCalque);
  TGenreMotifElement GenreMotif() const override { return TGenreMotifElement::Rempli; }
  // The copy has the same pattern and no bounding line (the caller gives it
  // the copies of the bounding lines).
  std::unique_ptr<TObjetDonneesBasique> CreeCopie() override;

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
};

// Width in ground metres, at the view's text scale, of a text written in a
// font (measured through the text-measuring port; 0 without one).
double TailleTexte(const TDefObjetFonte& fonte, const std::string& texte);

// A text.  Its first point is its end, its second its start.
class TObjetTexte : public TObjetDonneesBasique {
 public:
  TObjetTexte() = default;

  bool Horiz = true;
  int32_t TypeFleche = 0;
  std::string UnTexte;
  // -2 along a curve, -1 plain, 0 relative altitude, 1 absolute altitude, 2
  // distance along the survey, 3 station name.
  int32_t TypeInfo = -1;
  int32_t IndPtRef = -1;  // network index of the label's station when streamed
  int32_t CoeffTexte = -1;
  int8_t Alignement = -1;
  survey::TPointSpeleo* PointDeRef = nullptr;  // station of a survey label, not owned
  bool EstAncien = false;  // the first point is to be recomputed from the second
  std::unique_ptr<TFontObjetType> FonteTh;  // the text's own font (origin -2)

  TFontObjetType* UneFonte() const { return dynamic_cast<TFontObjetType*>(MotifDessin); }
  bool EstSurCourbe() const { return TypeInfo == -2; }
  bool EstEtiquette() const { return TypeInfo >= 0; }

  // The line test; a survey label also needs its station, not marked for
  // deletion.
  bool ObjetValide() override;
  // Survey labels rebuild their text; horizontal texts (and those marked
  // EstAncien, or all while RecalculeTextes) recompute their first point
  // from the second, which then chooses its shot again.
  int32_t CalculePoints() override;
  // The first point at the text's width from the second, east for a
  // horizontal text, else along the second -> first direction.
  void CalculeAutrePoint();
  // The text a survey label shows, by ModeInfoTexte; "Err" without station.
  void MajTexteEtiquette();
  TGenreMotifElement GenreMotif() const override { return TGenreMotifElement::Fonte; }
  // A text display object takes the string, direction, alignment, arrow,
  // font, label kind and text scale (CoeffTexte when EchelleTexteParTexte is
  // set or when it is not -1, else the view's EchelleFontes); a station-name
  // label marks its station.
  void AffecteValeurs(TObjetDessin& UnObjetDessin) override;
  // The copy keeps the font (a copy of its own font), the direction, arrow,
  // text, label kind and station, alignment and scale; EstAncien set.
  std::unique_ptr<TObjetDonneesBasique> CreeCopie() override;
  void Nettoie(const survey::TSuppressions& s) override;
  void RelogeMotif(const TRelogeMotifs& reloge) override;

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

 protected:
  bool IndexMotifTolere() const override;
};

// A placed symbol: its first two points are its base and its extremity.
class TObjetDonneesSymbole : public TObjetDonneesBasique {
 public:
  double LongueurObjetSymb = -1;  // measured distance between the points, -1 until measured
  std::unique_ptr<TObjetTexte> TexteSymb;  // text carried with the symbol

  TDefSymbole* LeSymbole() const;
  // The line computation; a fixed-size symbol drawn more than 10 % off its
  // size gets its two points moved to the exact size about their midpoint.
  int32_t CalculePoints() override;
  TGenreMotifElement GenreMotif() const override { return TGenreMotifElement::Symbole; }
  // The copy keeps the symbol, its measured length and a copy of its text.
  std::unique_ptr<TObjetDonneesBasique> CreeCopie() override;
  void Nettoie(const survey::TSuppressions& s) override;
  void RelogeMotif(const TRelogeMotifs& reloge) override;

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
};

}  // namespace drawing
