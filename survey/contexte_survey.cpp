#include "survey/contexte_survey.h"

#include <memory>

#include "platform/contextes.h"

namespace survey {

TContexteSurvey::TContexteSurvey() {
  EnregistrePartieBouclages(Fabriques);
  Calcul.Bouclages = CrochetsBouclages();
}

TContexteSurvey& ContexteSurvey() {
  static TContexteSurvey contexte;
  return contexte;
}

// The older accessors, each one member of the context.
ContexteDocument& Document() { return ContexteSurvey().Document; }
PortsSurvey& Ports() { return ContexteSurvey().Ports; }
ContexteAffichage& Affichage() { return ContexteSurvey().Affichage; }
FabriquesReseau& Fabriques() { return ContexteSurvey().Fabriques; }
ContexteListesDocument& ListesDocument() { return ContexteSurvey().ListesDocument; }
ContexteLectureReseau& LectureReseau() { return ContexteSurvey().LectureReseau; }
ContexteFichierReseau& FichierReseau() { return ContexteSurvey().FichierReseau; }
ContexteLiberation& Liberation() { return ContexteSurvey().Liberation; }
ContextePointsReseau& PointsReseau() { return ContexteSurvey().PointsReseau; }

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
    platform::InscritContexte([] { return std::make_shared<GardeContexteSurvey>(); });
}  // namespace

}  // namespace survey
