#pragma once
// A stored drawing of a cave (the plan drawing; the base of offset parts and
// long sections): its elements, its cross sections and its offset parts, with
// their records in the document and in the .CFG companion, the recomputation
// after a network computation, pruning, the merge into another cave's drawing,
// the moves and copies between drawings, pattern locks and merges, and the
// mirroring after an elevation reversal.
//
// An offset part (TDonneesEcart) is a piece of the drawing (a group of shots
// with their drawing) shown displaced, optionally scaled about its centre and
// framed; it is a whole drawing of its own, nested offset parts included.
//
// Drawing record: the element list; EchelleDessin (4 bytes, read from level
// 208); the cross sections (count + records); CoeffDessinCoupes (8);
// EncadreCoupes (1); AngleCoupeProj (8); the offset parts (count + records).
// Offset part record: the drawing record; its shots (count + each shot's
// position in the cave's shot list); PositX, PositY, CoeffDessinEcart (3
// reals); CadreEcart (1); the frame's line-style record; MargeCadre (4);
// CouleurFiligr (4, from level 206).
#include <cstdint>
#include <memory>
#include <string>

#include "drawing/donnees_coupe.h"
#include "drawing/liste_donnees_dessin.h"
#include "drawing/liste_elements.h"
#include "drawing/objet_trait.h"
#include "drawing/poly_gal.h"
#include "drawing/visees_dessin.h"
#include "foundation/objet_de_liste.h"
#include "foundation/point_topo.h"

namespace survey {
class TCavite;
class TSuppressions;
}  // namespace survey

namespace drawing {

class TDonneesEcart;
class TJeuCalques;
class TCalque;

class TDonneesDessinBasique : public foundation::TObjetDeListe {
 public:
  TDonneesDessinBasique();
  ~TDonneesDessinBasique() override;
  TDonneesDessinBasique(const TDonneesDessinBasique&) = delete;
  TDonneesDessinBasique& operator=(const TDonneesDessinBasique&) = delete;

  TListeDonneesDessin ListeDonneesDessin;
  TListeElements<TDonneesCoupe> ListeCoupes;
  TListeElements<TDonneesEcart> ListeEcarts;
  TListPolyGal ListePolyGal;  // gallery outlines, computed, not stored
  int32_t EchelleDessin = -1;       // 500 for 1:500; -1 not set
  double CoeffDessinCoupes = 1.0;   // scale of the cross sections' drawings
  double AngleCoupeProj = -1000;    // projection azimuth of a projected elevation; -1000 not set
  double InclinaisonCoupe = 0;      // not stored
  bool EncadreCoupes = true;
  bool EstEcart = false;
  bool DessinModifie = false;

  foundation::TTypeDeDessin TypeDeDessin() const { return ListeDonneesDessin.TypeDeDessin; }
  TViseesDeRef ViseesDeRef() const { return ListeDonneesDessin.LesViseesDessin; }
  virtual void DefViseesDeRef(TViseesDeRef visees);
  // The cave owning the drawing, given after reading (long sections keep it).
  virtual void DefCaviteProprio(survey::TCavite*) {}

  TDonneesCoupe* UneCoupe(int i) const { return ListeCoupes.UnObjet(i); }
  TDonneesEcart* UnEcart(int i) const;
  // No cross section, no offset part and no element.
  virtual bool DessinVide();
  // After a network computation (the caller set the extent, CoeffRelatif and
  // CaviteDessinCourante): the elements, the cross sections and the offset
  // parts, each from the last.
  void CalculeDessin();
  // Prunes the elements, deletes invalid cross sections, prunes every offset
  // part and deletes the empty ones.
  void EffaceObjetsSansPoints();
  // Merges this drawing into another cave's drawing.
  void AjouteDessinCavite(TDonneesDessinBasique& Destination);
  // Moves (or with EffacerSource false, copies) the selected elements and
  // cross sections into Dest.
  void CopieDessinVersAutre(TDonneesDessinBasique& Dest, bool EffacerSource);
  // Fills an empty drawing of the same cave with copies.
  void CopieDessinVersNouveau(TDonneesDessinBasique& Dest);
  void InitCopieDessin();
  // Whether the pattern is used by the drawing; its locks are set as used.
  bool CalculeVerrousMtf(TObjetMotifdeBase* vMotif);
  void FusionneMotifsdeBase(TObjetMotifdeBase* MotifAGarder, TObjetMotifdeBase* MotifAFusionner);
  void InverseDessinTout();
  void SauveAnglesDessinTout();
  void RestaureAnglesDessinTout();
  // Direct offset parts watermarked in the old colour take the configured one.
  void ChangeCouleurFiligr(uint32_t AncienneCouleur);
  void ChangeProjection(const std::string& AncienProj, int32_t AncienFuseau, const std::string& NouveauProj,
                        int32_t NouveauFuseau);
  // References to removed shots and stations, everywhere in the drawing.
  virtual void Nettoie(const survey::TSuppressions& s);
  void RelogeMotifs(const TRelogeMotifs& reloge);

  // The .CFG record: the configuration of the element list, then of each
  // offset part, recursively; false at the first failure.
  bool EcritConfig(foundation::TFlux& f);
  bool LitConfig(foundation::TFlux& f);

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
};

class TDonneesEcart : public TDonneesDessinBasique {
 public:
  TDonneesEcart();
  ~TDonneesEcart() override;

  foundation::TPointTopo CentreEcart;  // centre of the scaling, drawing units
  TListeViseesDessin ViseesEcart;      // the part's shots, also its reference shots
  double PositX = 0, PositY = 0;       // displacement (m)
  double CoeffDessinEcart = 1.0;
  bool CadreEcart = false;
  TypeTrait TraitCadre;
  int32_t MargeCadre = 0;                 // m
  uint32_t CouleurFiligr = 0xFFFFFF;
  // The view settings of the part's editor come with the display memories.
  std::unique_ptr<TConfigDessin> ConfigEcart;  // not stored
  TObjetDessin* LeDessinEcart = nullptr;        // frame display object, not owned; cleared when it is freed
  bool Effacer = false;
  TDonneesEcart* EquivEcart = nullptr;
  TDonneesDessinBasique* Proprio = nullptr;

  survey::TVisee* LaViseeEcart(int i) const { return ViseesEcart.LaVisee(i); }
  // Drops the shots that are gone or marked for deletion; empty when no shot
  // is left or the drawing is empty.
  bool DessinVide() override;
  // The drawing computed with the part's displacement.
  void CalculePoints();
  // Selects or deselects the part and the elements of its drawing and of its
  // cross sections (not nested parts).
  void SelectTout(bool vSelecte);
  // A display point scaled about CentreEcart by CoeffDessinEcart (plan).
  void CalculePointsTransfo(foundation::TPoint& PtTmp) const;
  // The part's display objects in the layers (drawing/cree_dessin.cpp):
  // frame, watermark copies at the true place, the survey axis, texts,
  // symbols, lines and fills displaced, the cross sections, the scaling and
  // the frame's corners.
  void CreeObjetDessin(TJeuCalques& UneFiche);
  // The watermarked lines and fills at their true place in odAutreNiveau, in
  // CouleurFiligr; the part is then computed displaced again.
  void CreeDessinFiligrane(TJeuCalques& UneFiche, TObjetDessin* UnDessinEcart);
  // Scales the points of the part's objects of the layer about CentreEcart.
  void TransfoDessinBasique(TCalque& UnCalque);
  // Frees the part's display objects, its frame and its sections' objects.
  void SupprimeDessinEcart(TJeuCalques& UneFiche);
  void Nettoie(const survey::TSuppressions& s) override;

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
};

}  // namespace drawing
