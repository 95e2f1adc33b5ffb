#include "app/contexte_app.h"

#include <memory>

#include "foundation/contextes.h"

namespace app {

TContexteApp& ContexteApp() {
  static TContexteApp contexte;
  return contexte;
}

ConfigGenerale& Config() { return ContexteApp().Config; }

ServicesConfig& Services() { return ContexteApp().Services; }

namespace {
[[maybe_unused]] const bool inscrit = foundation::InscritContexte([] { return std::make_shared<GardeContexteApp>(); });
}  // namespace

}  // namespace app
