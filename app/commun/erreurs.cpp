#include "app/commun/erreurs.h"

#include <stdexcept>

#include "foundation/catalogue.h"

namespace app {

std::string TexteErreur(const std::exception& e) {
  if (dynamic_cast<const std::runtime_error*>(&e)) return e.what();
  return foundation::RemplaceMarques(foundation::Msg(foundation::IdMsg::AppErreurInterne), {e.what()});
}

}  // namespace app
