#pragma once
// A long section: a stored elevation drawing of a cave, of the whole cave or
// of chosen shots (partial), with its name and page layouts.  Held here: its
// data, its shot entries, its record and its reference shots.  The elevation
// computation and the shot-list maintenance come with the elevation module.
//
// Shot entry record: the shot's cave index (4 bytes, from level 509; below,
// the cave being read), its shot index (4; one more ignored Int32 at level
// 507 only), its direction SensVisee (1 byte from level 220; below, a boolean:
// true is -1, false 1).
// Long-section record: the drawing record; then, from level 204: Partielle (1
// byte), the entries (count + records), DesignCoupe (text), the page layouts
// (count + records).
#include <cstdint>
#include <string>
#include <vector>

#include "drawing/donnees_dessin_basique.h"
#include "drawing/liste_elements.h"
#include "drawing/visees_dessin.h"
#include "foundation/objet_de_liste.h"

namespace survey {
class TCavite;
class TVisee;
}  // namespace survey

namespace drawing {

class TViseeCoupe : public foundation::TObjetDeListe {
 public:
  survey::TVisee* UneVisee = nullptr;  // not owned
  int8_t SensVisee = 1;

  // An entry whose shot is not among the shots read keeps none.
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
};

class TDonneesCoupeLong : public TDonneesDessinBasique {
 public:
  TDonneesCoupeLong();
  ~TDonneesCoupeLong() override;

  bool Partielle = false;
  survey::TCavite* CavProprio = nullptr;  // not owned
  TListeElements<TViseeCoupe> ViseesCoupe;
  std::string DesignCoupe;
  // The page layouts of the section (their class comes from the page-layout
  // module through PortsDonnees).
  foundation::TListeFichier<foundation::TObjetDeListe> MisesEnPageCoupe;
  bool Utilisee = false;
  std::vector<survey::TCavite*> ListeCavitesCoupe;  // not owned
  bool FixeSensVisee = false;

  survey::TVisee* LaViseeCoupe(int i) const;
  int8_t SensViseeCoupe(int i) const;
  // A whole section takes the given shots; a partial one its own list, made
  // from its entries (MajListeViseesDeRef).
  void DefViseesDeRef(TViseesDeRef visees) override;
  void DefCaviteProprio(survey::TCavite* cavite) override { CavProprio = cavite; }
  // Partial: the reference shots := the entries' shots, each shot's
  // SensDessinCoupeOr := its entry's direction.
  void MajListeViseesDeRef();
  // Also drops the entries of removed shots.
  void Nettoie(const survey::TSuppressions& s) override;

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

 private:
  TListeViseesDessin viseesPropres_;
};

}  // namespace drawing
