#include "drawing/lots_appels.h"

#include <algorithm>
#include <cstring>

#include "foundation/parallele.h"

namespace drawing {

namespace {

// Below this many calls one thread copies them all.
constexpr size_t AppelsCopieParallele = 1 << 15;

}  // namespace

void RassembleAppels(std::span<const std::span<const platform::BatchCall>> morceaux,
                     std::vector<platform::BatchCall>& dest) {
  std::vector<size_t> debuts(morceaux.size() + 1, 0);
  for (size_t i = 0; i < morceaux.size(); ++i) debuts[i + 1] = debuts[i] + morceaux[i].size();
  dest.resize(debuts.back());
  const auto copie = [&](size_t, size_t debut, size_t fin) {
    for (size_t i = debut; i < fin; ++i)
      if (!morceaux[i].empty())
        std::memcpy(dest.data() + debuts[i], morceaux[i].data(), morceaux[i].size() * sizeof(platform::BatchCall));
  };
  if (dest.size() < AppelsCopieParallele)
    copie(0, 0, morceaux.size());
  else
    foundation::ParTranches(morceaux.size(), morceaux.size(), copie);
}

}  // namespace drawing
