#include "survey/contexte_survey.h"

#include <memory>

#include "foundation/contextes.h"

namespace survey {

TContexteSurvey::TContexteSurvey() {
  EnregistrePartieBouclages(Fabriques);
  Calcul.Bouclages = CrochetsBouclages();
}

TContexteSurvey& ContexteSurvey() {
  static TContexteSurvey contexte;
  return contexte;
}

GardeContexteSurvey::GardeContexteSurvey()
    : lecture_(ContexteSurvey().LectureReseau),
      liberation_(ContexteSurvey().Liberation),
      recalculComplet_(ContexteSurvey().Bouclages.RecalculComplet),
      bouclagesActifs_(ContexteSurvey().Bouclages.Active),
      dossierDeDepart_(ContexteSurvey().DossierDeDepart) {}

GardeContexteSurvey::~GardeContexteSurvey() {
  TContexteSurvey& c = ContexteSurvey();
  c.LectureReseau = lecture_;
  c.Liberation = liberation_;
  c.Bouclages.RecalculComplet = recalculComplet_;
  c.Bouclages.Active = bouclagesActifs_;
  c.DossierDeDepart = dossierDeDepart_;
}

namespace {
[[maybe_unused]] const bool inscrit =
    foundation::InscritContexte([] { return std::make_shared<GardeContexteSurvey>(); });
}  // namespace

}  // namespace survey
