#pragma once
// The drawing data a cave carries: its plan drawing, its long sections (the
// first being its oriented elevation), its imported sketches and its own two
// line styles, with their place in the document and in the .CFG companion,
// the drawing part of the cave's plan computation and the clean-up after
// removed stations and shots.  InstalleAnnexeDessin makes every new cave
// carry one.
//
// In the document, after every cave's main shots: the sketches (count +
// records), the plan drawing record, then from level 204 the long sections
// (count + records).  In the .CFG companion: the plan drawing's display
// configuration, then each long section's.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "drawing/croquis.h"
#include "drawing/donnees_coupe_long.h"
#include "drawing/donnees_dessin_basique.h"
#include "drawing/liste_elements.h"
#include "drawing/objet_trait.h"
#include "survey/ports_survey.h"

namespace survey {
class TCavite;
}

namespace drawing {

class TAnnexeDessinCavite : public survey::TAnnexeCavite {
 public:
  // A new cave's data: an empty plan drawing and the whole oriented
  // elevation "Coupe développée globale".
  explicit TAnnexeDessinCavite(survey::TCavite& cavite);
  ~TAnnexeDessinCavite() override;

  survey::TCavite& Cavite;
  std::unique_ptr<TDonneesDessinBasique> LeDessinPlani;
  TListeDonneesCoupe LesCoupesLong;
  TDonneesCoupeLong* LeDessinAltiOr = nullptr;  // long section 0
  TDonneesCoupeLong* LeDessinAlti = nullptr;    // the elevation chosen in the main window
  TListeElements<TDessinPkTp> DessinsPkTp;
  std::unique_ptr<TObjetTrait> MotifAxeCavite;  // the cave's own survey-axis style
  std::unique_ptr<TObjetTrait> MotifDimCavite;  // the cave's own outline style
  std::unique_ptr<TDonneesFenetresCavite> DonneesFenetres;  // never stored

  TDonneesCoupeLong* UneCoupeLong(int i) const { return LesCoupesLong.UnObjet(i); }
  bool PkTpExiste() const { return !DessinsPkTp.Vide(); }
  int NombreCoupesLong() const override { return LesCoupesLong.Count(); }

  // --- The cave's record and the document --------------------------------------------
  bool EcritStylesCavite(foundation::TFlux& f) override;
  bool LitStylesCavite(foundation::TFlux& f) override;
  bool EcritDessins(foundation::TFlux& f) override;
  bool LitDessins(foundation::TFlux& f) override;
  void AffecteLeversCroquis() override;
  bool CorrigeCoupesAnciennes() override;
  bool EcritConfig(foundation::TFlux& f) override;
  bool LitConfig(foundation::TFlux& f, bool coupesDecalees) override;

  // --- Network-wide operations -------------------------------------------------------
  void ChangeProjection(const std::string& ancien, int32_t ancienFuseau, int32_t nouveauFuseau,
                        const std::string& nouveau) override;
  void ChangeCouleurFiligr(uint32_t ancienne) override;
  bool UtiliseMotif(const survey::TMotifDocument* m) override;
  void FusionneMotifs(survey::TMotifDocument* garde, survey::TMotifDocument* fusionne) override;
  double EchelleParDefaut() const override;
  // Entries of a replaced pattern library move to the entries replacing them.
  void RelogeMotifs(const TRelogeMotifs& reloge);

  // --- Survey changes ------------------------------------------------------------------
  // After the network computation and the stations' wall points: the plan
  // gallery outlines, then the plan drawing and the sketches placed again.
  void CalculeDessinPlani() override;
  void EffaceObjetsSansPoints() override;
  void Nettoie(const survey::TSuppressions& s) override;
  // Long sections from the third on all of whose shots are marked for deletion.
  std::vector<std::string> CoupesAEffacer() const override;
  // A merged cave's plan drawing and global section are added into this
  // cave's, its other long sections and its sketches appended.
  void AjouteDessinsCavite(survey::TAnnexeCavite& autre) override;

 private:
  void DonneViseesEtCavite();
};

// The cave's drawing data; none when it carries another kind of annex.
TAnnexeDessinCavite* AnnexeDessin(const survey::TCavite* cavite);

// Makes every cave created from now on carry the drawing data (the program
// calls it at start-up).
void InstalleAnnexeDessin();

}  // namespace drawing
