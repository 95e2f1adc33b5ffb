// The old readers on arbitrary bytes: the four files of the old survey
// format (the input cut in four at lengths given by its first bytes) and
// the lines of a cave coordinate list.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/import/ancien/import_ancien.h"
#include "formats/import/points/import_points_surface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 20) return 0;
  std::string_view reste(reinterpret_cast<const char*>(data), size);
  std::string_view parties[4];
  for (int k = 0; k < 3 && !reste.empty(); ++k) {
    const size_t n = static_cast<unsigned char>(reste[0]) * 2;
    reste.remove_prefix(1);
    parties[k] = reste.substr(0, n);
    reste.remove_prefix(parties[k].size());
  }
  parties[3] = reste;
  formats::TFichiersAnciens f;
  if (formats::LitFichiersAnciens(parties[0], parties[1], parties[2], parties[3], f))
    for (const formats::TLevImport& l : f.Levers) formats::DateLeverAncien(l);
  formats::LitCoordonnees(formats::LignesFichierPoints(std::string_view(reinterpret_cast<const char*>(data), size)));
  return 0;
}
