#include "survey/ports_survey.h"

#include "survey/contexte_survey.h"

namespace survey {

PortsSurvey& Ports() { return ContexteSurvey().Ports; }

ContexteAffichage& Affichage() { return ContexteSurvey().Affichage; }

}  // namespace survey
