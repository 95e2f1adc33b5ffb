// The point-file readers on arbitrary bytes: the lines of a text point file
// (byte-order marks, separators, decimal commas) and the waypoints of a GPX
// document, without and with a grid system, and the message of a document
// that is not well-formed.  The points read must pass the plausibility rule:
// grid bounds for a text file, latitude, longitude and elevation for
// waypoints read without a system.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "formats/import/plausibilite.h"
#include "formats/import/points/import_points_surface.h"
#include "survey/point_speleo.h"
#include "survey/liste_points.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 20) return 0;
  const std::string_view octets(reinterpret_cast<const char*>(data), size);
  survey::TListedePoints texte(true);
  formats::LitPointsTexte(formats::LignesFichierPoints(octets), texte);
  for (const survey::TPointSpeleo* p : texte)
    if (formats::PointImpossible(p->X, p->Y, p->Z) != formats::ChampLecture::Aucun) std::abort();
  survey::TListedePoints gpx(true);
  formats::LitPointsGpx(octets, gpx, "", 0);
  for (const survey::TPointSpeleo* p : gpx)
    if (formats::PositionImpossible(p->Y, p->X, p->Z) != formats::ChampLecture::Aucun) std::abort();
  survey::TListedePoints utm(true);
  formats::LitPointsGpx(octets, utm, "UTM", 31);
  formats::MessageGpxIllisible("f.gpx", octets);
  return 0;
}
