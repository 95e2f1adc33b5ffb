#include "platform/contexte_platform.h"

#include <memory>

#include "platform/contextes.h"

namespace platform {

TContextePlatform& ContextePlatform() {
  static TContextePlatform contexte;
  return contexte;
}

namespace {
[[maybe_unused]] const bool inscrit = InscritContexte([] { return std::make_shared<GardeContextePlatform>(); });
}  // namespace

}  // namespace platform
