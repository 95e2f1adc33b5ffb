#include "app/commun/contexte_saisie.h"

namespace app {

ContexteSaisie& Saisie() {
  static ContexteSaisie contexte;
  return contexte;
}

}  // namespace app
