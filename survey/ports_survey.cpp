#include "survey/ports_survey.h"

namespace survey {

PortsSurvey& Ports() {
  static PortsSurvey ports;
  return ports;
}

ContexteAffichage& Affichage() {
  static ContexteAffichage contexte;
  return contexte;
}

}  // namespace survey
