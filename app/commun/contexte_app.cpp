#include "app/commun/contexte_app.h"

#include <memory>

#include "platform/contextes.h"

namespace app {

TContexteApp& ContexteApp() {
  static TContexteApp contexte;
  return contexte;
}

ConfigGenerale& Config() { return ContexteApp().Config; }

ServicesConfig& Services() { return ContexteApp().Services; }

namespace {
[[maybe_unused]] const bool inscrit = platform::InscritContexte([] { return std::make_shared<GardeContexteApp>(); });
}  // namespace

}  // namespace app
