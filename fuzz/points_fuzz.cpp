// The point-file readers on arbitrary bytes: the lines of a text point file
// (byte-order marks, separators, decimal commas) and the waypoints of a GPX
// document, without and with a grid system, and the message of a document
// that is not well-formed.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/import/points/import_points_surface.h"
#include "survey/liste_points.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 20) return 0;
  const std::string_view octets(reinterpret_cast<const char*>(data), size);
  survey::TListedePoints texte(true);
  formats::LitPointsTexte(formats::LignesFichierPoints(octets), texte);
  survey::TListedePoints gpx(true);
  formats::LitPointsGpx(octets, gpx, "", 0);
  survey::TListedePoints utm(true);
  formats::LitPointsGpx(octets, utm, "UTM", 31);
  formats::MessageGpxIllisible("f.gpx", octets);
  return 0;
}
