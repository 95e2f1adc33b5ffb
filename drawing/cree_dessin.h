#pragma once
// Display objects from stored drawings: the display classes an element can
// become, and the routines that build a cave's drawing, a background
// drawing and the imported sketches into a window's layer set.  The offset
// parts' and the cross sections' own routines are members of their data
// (TDonneesEcart::CreeObjetDessin, TDonneesCoupe::CreeObjetDessin); all of
// them are defined in cree_dessin.cpp.
#include <cstdint>
#include <memory>

#include "drawing/jeu_calques.h"
#include "drawing/objet_donnees_basique.h"

namespace drawing {

class TListeDonneesDessin;
class TDonneesDessinBasique;
class TDessinPkTp;

// The display classes (virtual constructors of TClasseDessin).
std::unique_ptr<TObjetDessin> ClasseLigne(TObjetMotifdeBase* motif, TObjetDonneesBasique* element);
std::unique_ptr<TObjetDessin> ClasseFerme(TObjetMotifdeBase* motif, TObjetDonneesBasique* element);
std::unique_ptr<TObjetDessin> ClasseCercle(TObjetMotifdeBase* motif, TObjetDonneesBasique* element);
std::unique_ptr<TObjetDessin> ClasseRemplissage(TObjetMotifdeBase* motif, TObjetDonneesBasique* element);
std::unique_ptr<TObjetDessin> ClasseTexte(TObjetMotifdeBase* motif, TObjetDonneesBasique* element);
std::unique_ptr<TObjetDessin> ClasseTexteSurLigne(TObjetMotifdeBase* motif, TObjetDonneesBasique* element);
std::unique_ptr<TObjetDessin> ClasseSymbole(TObjetMotifdeBase* motif, TObjetDonneesBasique* element);
// TDessinFerme for a closed style, TDessinLigne otherwise.
TClasseDessin ClasseDeLigne(const TObjetDonneesBasique& ligne);

// A cave drawing's element list into the layers: texts (odTexte; along a
// curve with that scale as EchelleDessinInitial; in an elevation each plain
// text's top altitude raises YMaxDessin), symbols (odHabillage), lines
// (odHabillage for dressing styles, odDessin otherwise), fills last
// (odDessin).
void CreeDessin(TJeuCalques& UneFiche, TListeDonneesDessin& UnDessin, int32_t Echelle);
// Every element of a background drawing into one layer, marked modified:
// lines, fills, symbols, texts; no scale.
void CreeDessinFdp(TJeuCalques& UneFiche, TListeDonneesDessin& UnDessin, TypeObjetDessin Calque);
// The drawing's elements, then its cross sections (the invalid ones are
// removed from the drawing and freed first), then its offset parts.
void CreeDessinCavite(TJeuCalques& UneFiche, TDonneesDessinBasique& UnDessin);
// The texts of a cave drawing into the text layers again: the drawing's own
// texts into odTexte (a text that places fewer than two points is removed
// from the drawing and freed), then each cross section's and each offset
// part's texts, computed again, into odCoupesTexte and odEcartsTexte, tied
// to their frames.  The caller empties those layers first.
void CreeTextesDessinCavite(TJeuCalques& UneFiche, TDonneesDessinBasique& UnDessin);
// An imported sketch into odPkTp, with its sketch sections at scale -1:
// the plan sketch, or the oriented-elevation one.
void CreeDessinPkTpPlani(TJeuCalques& UneFiche, TDessinPkTp& UnCroquis);
void CreeDessinPkTpAlti(TJeuCalques& UneFiche, TDessinPkTp& UnCroquis);

}  // namespace drawing
