#include "views/types_fiches.h"

#include <memory>

#include "drawing/annexe_cavite.h"
#include "survey/contexte_document.h"
#include "survey/reseau.h"

namespace views {

using enum drawing::TypeObjetDessin;

TListeObjetDessin EnsembleTypes(std::initializer_list<TypeObjetDessin> types) {
  TListeObjetDessin e = 0;
  for (TypeObjetDessin t : types) e |= drawing::BitTypeObjet(t);
  return e;
}

TListeObjetDessin EnsembleDeTable(const TObjetsAffichables& table) {
  TListeObjetDessin e = 0;
  for (int k = 0; k < drawing::NombreTypesObjetDessin; ++k)
    if (table.Types[static_cast<size_t>(k)]) e |= uint32_t{1} << k;
  return e;
}

TObjetsAffichables TableDEnsemble(TListeObjetDessin ensemble) {
  TObjetsAffichables t;
  for (int k = 0; k < drawing::NombreTypesObjetDessin; ++k) t.Types[static_cast<size_t>(k)] = (ensemble >> k) & 1u;
  return t;
}

TObjetsAffichables AffichablesParDefaut() {
  return TableDEnsemble(EnsembleTypes({odPtSurf, odPtLever, odVisHab, odGalerie, odDessin, odHabillage, odTexte,
                                       odCoupes, odCoupesLever, odCoupesDessin, odCoupesHabillage, odCoupesTexte,
                                       odEcarts, odEcartsLevers, odEcartsGaleries, odEcartsDessin, odEcartsHabillage,
                                       odEcartsTexte, odPkTp}));
}

TObjetsAffichables SelectionnablesParDefaut() {
  return TableDEnsemble(
      EnsembleTypes({odPtSurf, odPtLever, odGalerie, odDessin, odHabillage, odTexte, odCoupes, odEcarts}));
}

void DerivePlansAffichables(TObjetsAffichables& t) {
  t[odCoupesLever] = t[odCoupes] && t[odPtLever];
  t[odCoupesDessin] = t[odCoupes] && t[odDessin];
  t[odCoupesHabillage] = t[odCoupes] && t[odDessin];
  t[odCoupesTexte] = t[odCoupes] && t[odTexte];
  t[odEcartsLevers] = t[odEcarts] && t[odPtLever];
  t[odEcartsDessin] = t[odEcarts] && t[odDessin];
  t[odEcartsHabillage] = t[odEcarts] && t[odDessin];
  t[odEcartsTexte] = t[odEcarts] && t[odTexte];
  t[odAutreNiveau] = t[odDessin];
}

namespace {

// The default visible kinds of each form-type code, in code order.
const std::array<TListeObjetDessin, 24>& DefautsCodes() {
  static const std::array<TListeObjetDessin, 24> table = [] {
    const TListeObjetDessin editeur =
        EnsembleTypes({odCompos, odPtLever, odGalerie, odDessin, odHabillage, odTexte, odAutreNiveau, odCoupes,
                       odCoupesLever, odCoupesDessin, odCoupesHabillage, odCoupesTexte, odEcarts, odEcartsLevers,
                       odEcartsGaleries, odEcartsDessin, odEcartsHabillage, odEcartsTexte});
    const TListeObjetDessin visu = EnsembleTypes(
        {odPtSurf, odPtLever, odVisHab, odGalerie, odDessin, odHabillage, odTexte, odAutreNiveau, odCoupes,
         odCoupesDessin, odCoupesHabillage, odCoupesTexte, odEcarts, odEcartsLevers, odEcartsDessin,
         odEcartsHabillage, odEcartsTexte});
    return std::array<TListeObjetDessin, 24>{
        EnsembleTypes({odDessin}),  // 0: base, page index, print preview, plain cave window
        editeur,                    // 1: plan drawing editor
        editeur,                    // 2: developed-elevation editor
        editeur,                    // 3: oriented-elevation editor
        EnsembleTypes({odCompos, odPtLever, odGalerie, odDessin, odHabillage, odTexte}),  // 4: cross section
        visu,                                                                              // 5 to 9: drawing views
        visu,
        visu,
        visu,
        visu,
        EnsembleTypes({odCompos, odDessinSVG}),                                            // 10: SVG calibration
        EnsembleTypes({odCompos, odPtSurf, odPtLever, odDessin}),                          // 11: junction entry
        EnsembleTypes({odCompos, odDessin, odNotes}),                                      // 12: image calibration
        EnsembleTypes({odCompos, odDessin, odQuadrill, odNotes, odBrouillon}),             // 13: symbol editor
        EnsembleTypes({odDessin}),                                                         // 14: layout editor
        EnsembleTypes({odCompos, odPtLever, odDessin, odHabillage, odTexte}),              // 15: SVG drawing
        EnsembleTypes({odNumPt, odPtLever, odGalerie, odDessin, odHabillage, odTexte, odCoupes, odEcarts,
                       odPkTp}),                                                           // 16: shot selection
        EnsembleTypes({odPtLever, odDessinSVG}),                                           // 17: gallery selection
        EnsembleTypes({odCompos, odPtLever, odGalerie, odDessin, odHabillage, odTexte, odCoupes, odCoupesLever,
                       odCoupesDessin, odCoupesHabillage, odCoupesTexte}),                 // 18: offset part
        EnsembleTypes({odPtLever, odGalerie, odDessin, odHabillage, odTexte, odCoupes, odCoupesLever,
                       odCoupesDessin, odCoupesHabillage, odCoupesTexte, odEcarts, odEcartsLevers,
                       odEcartsGaleries, odEcartsDessin, odEcartsHabillage, odEcartsTexte}),  // 19: drawing selection
        EnsembleTypes({odDessin, odHabillage, odTexte, odAutreNiveau}),                       // 20: watermarks
        EnsembleTypes({odPtLever, odGalerie, odDessin, odHabillage, odTexte, odBrouillon}),   // 21: continuations
        EnsembleTypes({odPtSurf, odPtLever, odBrouillon}),                                    // 22: loop analysis
        EnsembleTypes({odCompos, odPtLever, odDessinSVG}),                                    // 23: scrap import
    };
  }();
  return table;
}

// The memories of a cave, held in its drawing annex.
class TMemoiresCavite : public drawing::TDonneesFenetresCavite {
 public:
  TMemoiresAffichage Memoires;
  TZoomCavite ZoomCavite;
};

TMemoiresCavite& MemoiresSansCavite() {
  static TMemoiresCavite memoires;
  return memoires;
}

TMemoiresCavite& MemoiresDe(survey::TCavite* cavite) {
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(cavite);
  if (!annexe) return MemoiresSansCavite();
  if (!annexe->DonneesFenetres) annexe->DonneesFenetres = std::make_unique<TMemoiresCavite>();
  auto* m = dynamic_cast<TMemoiresCavite*>(annexe->DonneesFenetres.get());
  return m ? *m : MemoiresSansCavite();
}

}  // namespace

TListeObjetDessin AffichageDefautCode(int code) {
  if (code < 0 || code >= static_cast<int>(DefautsCodes().size())) return DefautsCodes()[0];
  return DefautsCodes()[static_cast<size_t>(code)];
}

TListeObjetDessin DefautDigitaliseur(bool alti) {
  TListeObjetDessin e = EnsembleTypes(
      {odNumPt, odNumSurf, odCompos, odPtSurf, odPtLever, odVisHab, odDessin, odHabillage, odNotes, odBrouillon});
  if (alti) e |= drawing::BitTypeObjet(odCoupes);
  return e;
}

TListeObjetDessin DefautSelectionCoupeLong() {
  return EnsembleTypes({odPtLever, odGalerie, odDessin, odHabillage, odTexte});
}

TMemoiresAffichage& MemoiresAffichage(survey::TCavite* cavite) { return MemoiresDe(cavite).Memoires; }

TZoomCavite& ZoomCaviteDe(survey::TCavite* cavite) { return MemoiresDe(cavite).ZoomCavite; }

TMemoiresAffichage& MemoiresCaviteActive() {
  survey::TReseau* reseau = survey::Document().ReseauCourant;
  return MemoiresAffichage(reseau ? reseau->LaCaviteActive : nullptr);
}

void OublieMemoiresSansCavite() { MemoiresSansCavite() = TMemoiresCavite{}; }

}  // namespace views
