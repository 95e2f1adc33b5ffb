#include "survey/contexte_document.h"

namespace survey {

ContexteDocument& Document() {
  static ContexteDocument contexte;
  return contexte;
}

}  // namespace survey
