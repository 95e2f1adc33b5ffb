#include "survey/contexte_document.h"

#include "survey/contexte_survey.h"

namespace survey {

ContexteDocument& Document() { return ContexteSurvey().Document; }

}  // namespace survey
