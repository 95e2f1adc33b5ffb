#pragma once
// Hand sketches imported from survey notebook programs: one per survey trip,
// a plan sketch and an elevation sketch (element lists of coloured lines tied
// to the trip's shots), each with its small cross sections.
//
// Sketch record, written and read in the sketch context (patterns from the
// drawing-import lists, lines with their control sums): the trip's position
// in the cave's trip list (4 bytes); the plan sketch (element list record);
// its sections (count + records); the elevation sketch; its sections.
// Sketch-section record: the cross-section record, then the network index of
// its station (4 bytes).
#include <cstdint>
#include <memory>

#include "drawing/donnees_coupe.h"
#include "drawing/liste_donnees_dessin.h"
#include "drawing/liste_elements.h"
#include "foundation/objet_de_liste.h"

namespace survey {
class TLever;
class TPointSpeleo;
}  // namespace survey

namespace drawing {

class TDonneesDessinBasique;

class TCoupePkTp : public TDonneesCoupe {
 public:
  TCoupePkTp() { CoupePkTp = true; }

  survey::TPointSpeleo* StationRef = nullptr;  // where the section was drawn, not owned

  void Nettoie(const survey::TSuppressions& s) override;
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
};

class TDessinPkTp : public foundation::TObjetDeListe {
 public:
  TDessinPkTp();
  TDessinPkTp(const TDessinPkTp&) = delete;
  TDessinPkTp& operator=(const TDessinPkTp&) = delete;

  const survey::TLever* LeverDeRef = nullptr;  // not owned
  int32_t indLever = -1;
  TListeDonneesSVG pktpDessinPlani;
  TListeElements<TCoupePkTp> pktpCoupesPlani;
  TListeDonneesSVG pktpDessinAltiOr;  // in the oriented-elevation plane
  TListeElements<TCoupePkTp> pktpCoupesAlti;
  TDonneesDessinBasique* DessinAltiRef = nullptr;  // the cave elevation it follows, not owned

  // No line in either sketch and no section (texts and symbols do not count).
  bool EstDessinVide() const;
  // Both sketches take the shots as reference shots.
  void DefViseesDeRef(const TViseesDeRef& visees);
  void Nettoie(const survey::TSuppressions& s);
  void RelogeMotifs(const TRelogeMotifs& reloge);

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
};

}  // namespace drawing
