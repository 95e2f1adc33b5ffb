#pragma once
// A long section: a stored elevation drawing of a cave, of the whole cave or
// of chosen shots (partial, possibly from several caves), with its name and
// page layouts.  Held here: its data, its shot entries, its record, its
// reference shots, the upkeep of its shot list after survey edits, its
// copies, and the computation of an elevation drawing (developed, oriented or
// projected; calcul_coupe_long.cpp).
//
// An elevation is drawn in a vertical plane: the abscissa is each station's
// Slh, computed here shot by shot from the entrance, and the ordinate the
// altitude.  A developed elevation keeps every shot's horizontal length and
// draws it to the right or to the left; an oriented one draws each shot
// along or against a chosen direction (or fixed by the user); a projected one
// projects every shot onto a vertical plane of chosen azimuth.
//
// Shot entry record: the shot's cave index (4 bytes, from level 509; below,
// the cave being read), its shot index (4; one more ignored Int32 at level
// 507 only), its direction SensVisee (1 byte from level 220; below, a boolean:
// true is -1, false 1).
// Long-section record: the drawing record; then, from level 204: Partielle (1
// byte), the entries (count + records), DesignCoupe (text), the page layouts
// (count + records).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "drawing/donnees_dessin_basique.h"
#include "drawing/liste_elements.h"
#include "drawing/visees_dessin.h"
#include "foundation/objet_de_liste.h"

namespace survey {
class TCavite;
class TListeDeVisees;
class TVisee;
}  // namespace survey

namespace drawing {

// What the windows keep for a cave or a long section in memory only (their
// display memories); the views define it, the cave's annex or the section
// owns it and frees it with itself.
class TDonneesFenetresCavite {
 public:
  virtual ~TDonneesFenetresCavite() = default;
};

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
  // The elevation view's settings remembered for the section (views), never
  // stored.
  std::unique_ptr<TDonneesFenetresCavite> DonneesFenetres;

  survey::TVisee* LaViseeCoupe(int i) const;
  int8_t SensViseeCoupe(int i) const;
  // The shot is one of the section's shots.
  bool ViseeExiste(const survey::TVisee* UneVisee) const;
  // Appends an entry with the shot and, as direction, the low byte of its
  // SensDessinCoupeOr.
  void AjouteViseeCoupe(survey::TVisee* vVisee);
  // Appends a copy of an entry.
  void TransfereViseeCoupe(const TViseeCoupe& vViseeCoupe);
  // Partial: every entry takes its shot's SensDessinCoupeOr; whole: the
  // entries become the given shots whose SensDessinCoupeOr is not 1, in
  // order.
  void MajListeViseesCoupe(const survey::TListeDeVisees& Visees);
  // ListeCavitesCoupe := the owner first for a whole section, then the cave
  // of each section shot not yet listed.
  void GenereListeCavitesCoupe();
  // Drops the entries of other caves' shots and detaches every drawing point
  // (of the elements and of the cross sections) tied to another cave's shot;
  // the next pruning deletes what can no longer be placed.
  void NettoieAutresCav(const survey::TCavite* vCav);
  // A partial section none of whose shots is left (nil or marked for
  // deletion); false for a whole section.
  bool CoupeVide() const;
  // A partial section all of whose shots are marked for deletion.
  bool TesteAEffacer() const;
  // Drops the entries whose shot is marked for deletion; true when a partial
  // section is left without entries.
  bool MajViseesEffacees();
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
  // A partial section's reference shots := its entries' shots (their
  // directions untouched).
  void RafraichitViseesPropres();

  TListeViseesDessin viseesPropres_;
};

// A cave's long sections (its first is the cave's oriented elevation).
class TListeDonneesCoupe : public TListeElements<TDonneesCoupeLong> {
 public:
  survey::TCavite* CaviteProprio = nullptr;  // given to new sections, not owned

  TDonneesCoupeLong* UneDonneeCoupe(int i) const { return UnObjet(i); }
  // Appends a new section of that kind with these reference shots and name.
  TDonneesCoupeLong* AjouteDonneeCoupe(foundation::TTypeDeDessin vTypeDessin, TViseesDeRef vVisees, bool vPartielle,
                                       const std::string& vDesignCoupe);
};

// A section for another document's cave: the same kind, name, partiality,
// projection azimuth and scale, and an entry for every shot that has an
// equivalent (ViseeEquiv), with the stored direction; no drawing.  Its owner
// and reference shots are given by the list that takes it.
std::unique_ptr<TDonneesCoupeLong> CopieCoupeLongEquiv(const TDonneesCoupeLong& coupe);
// A copy in the same cave: the same settings, a copy of every entry and of
// the whole drawing.
std::unique_ptr<TDonneesCoupeLong> DupliqueCoupeLong(TDonneesCoupeLong& coupe);
// Drops the entries whose shot's cave is no longer in the network, then those
// whose shot is no longer in its cave's shots, then MajListeViseesDeRef.
void NettoieViseesCoupeLong(TDonneesCoupeLong& coupe);
// A projected elevation over several caves: each other cave's entrance is
// placed at the projection of its offset from the reference cave's entrance,
// then every shot's end from its origin.
void ProjetteCavitesCoupe(TDonneesCoupeLong& coupe, double DirectionCav);
// Computes an elevation drawing: the stations' abscissas and the splay ends
// for the section's kind, the gallery outlines, the drawing itself, and for a
// whole section the elevation sketches that follow it.  The network was
// computed first.
void CalculeDessinCoupeLong(TDonneesCoupeLong& coupe);
// The main direction of the section's reference shots (radians), the one an
// oriented or projected elevation takes when no direction was set.
double DirectionViseesCoupe(TDonneesCoupeLong& coupe);
// The cave whose entrance is the origin of the abscissas: the network's
// active cave when the section draws it, else the first cave drawn.
survey::TCavite* CaviteDeReference(const TDonneesCoupeLong& coupe);

}  // namespace drawing
