#include "platform/contextes.h"

#include <utility>

namespace platform {

namespace {

// Filled while the program starts (before main), read only afterwards.
std::vector<FabriqueGardeContexte>& Fabriques() {
  static std::vector<FabriqueGardeContexte> fabriques;
  return fabriques;
}

}  // namespace

bool InscritContexte(FabriqueGardeContexte fabrique) {
  Fabriques().push_back(std::move(fabrique));
  return true;
}

std::vector<std::shared_ptr<void>> GardesTousContextes() {
  std::vector<std::shared_ptr<void>> gardes;
  gardes.reserve(Fabriques().size());
  for (const auto& f : Fabriques()) gardes.push_back(f());
  return gardes;
}

}  // namespace platform
