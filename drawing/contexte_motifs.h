#pragma once
// The process-wide patterns: the built-in styles the views and editors draw
// with, the graded and sketch-colour styles, the surface-point font, the
// built-in north arrows and scale bar, and the default Therion set with its
// fallbacks.  Made on first use (at start-up), freed at exit.
#include <array>
#include <memory>

#include "drawing/liste_mtf.h"

namespace drawing {

class TRelogeMotifs;

struct ContexteMotifs {
  ContexteMotifs();

  TObjetTrait TraitObjetDefaut, TraitPointCompose, TraitQuadrillage, TraitDigitGris, TraitDigitVert, TraitDigitRouge,
      TraitDigitaliseur, TraitViseesSelectees, TraitEnveloppe, TraitCadreCoupeSVG, TraitLigneBlanche,
      TraitSelectionVisees, TraitFiligranePlein, TraitGuideTexte;
  // "Paroi" (its texture is the last previewed one) and "Paroi lissée".
  TObjetTrait TraitParoi, TraitLigneConnectee;
  // Sketch colours 1 to 7.
  std::array<TObjetTrait, 7> TraitsCroquis;
  // Red to cyan, made by CreeTraitsDegrades from the settings.
  std::array<TObjetTrait, 10> TraitsDegrades;

  TFontObjetType FonteSurface;
  // The survey styles of the settings ("axe du cheminement", "visées
  // annexes", "enveloppe des galeries", "Dessin des points de surface"),
  // their built-in values until the program sets them from its settings.
  TObjetTrait TraitAxeTopo, TraitViseesAnnexes, TraitDimTopo, TraitPointsSurface;
  // The surface points' options of the settings: a circle round each point
  // ("Tracer Cercle"), the size factor of their names ("Taille Design"), the
  // surface-point style colouring every surface symbol ("Couleur pour tous").
  bool TracerCercle = true;
  int32_t TailleDesign = 1;
  bool CouleurPourTous = true;
  std::unique_ptr<TSymbFlecheN> FlecheNordGeo, FlecheNordMag;
  std::unique_ptr<tnvEchelle> SymboleEchelle;

  std::unique_ptr<tListeMtf> ListesMtfTherion;
  TObjetTrait TraitNonTrouve;
  tMotifRempli RempliNonTrouve;
  // The Therion set's second symbol ("Siphon"), or a built-in copy of it when
  // the set has been replaced by one with fewer symbols.
  TSymbole* SymboleDeSecours();

  // Moves the built-in styles' references to replaced entries.
  void RelogeReferences(const TRelogeMotifs& reloge);

 private:
  std::unique_ptr<TSymbole> symboleDeSecours_;
};

ContexteMotifs& Motifs();
// Builds the process-wide patterns; the program calls it at start-up, before
// the settings are read.
inline void InitialiseMotifs() { Motifs(); }

// Builds the ten graded styles from the splay-shot style of the settings.
void CreeTraitsDegrades(const TypeTrait& styleViseesAnnexes);

// The sketch-colour style of a stored pattern index -99..-93 (colours 1 to 7);
// none for any other index.
const TObjetTrait* TraitCroquis(int32_t indexMotif);

}  // namespace drawing
