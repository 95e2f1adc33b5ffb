#pragma once
// The built-in regional catalogues.  Each region is a constant list of
// catalogue lines plus the UTM hemisphere lines it calls for; choosing a
// region rebuilds the process-wide catalogue from the two seeds, those
// hemisphere lines and the list, parsed from memory.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/catalogue.h"

namespace projections {

struct TContexteProjections;

// Bits of TRegion::Hemispheres.
inline constexpr uint8_t HemisphereNord = 1;  // adds "UTM N"
inline constexpr uint8_t HemisphereSud = 2;   // adds "UTM S"

struct TRegion {
  foundation::IdMsg Nom;
  uint8_t Hemispheres;
  // Catalogue lines (UTF-8) in order; a line refers only to names defined
  // on earlier lines or to the seeds "GRS 80" and "WGS84".
  std::span<const char* const> Lignes;
};

inline constexpr int NombreRegions = 10;
inline constexpr int RegionFrance = 0;
inline constexpr int RegionAutres = 9;

// The ten regions in index order.
const std::array<TRegion, NombreRegions>& Regions();
// Their names, for the settings window.
std::vector<std::string> NomsRegions();
// The multi-zone UTM line of one hemisphere on WGS84 ("UTM N" or "UTM S").
std::string LigneUTMHemisphere(bool sud);

// Adds every line of a catalogue file (Windows-1252) to the process-wide
// catalogue: 0, 1 when the file does not exist, 2 when it cannot be read.
int ChargeCatalogue(const std::string& NomFichier);
// Rebuilds the process-wide catalogue for the region and makes it the
// current region; false (nothing changed) for an index outside 0 to 9.
bool ChargeListeProjections(int region);
// Rebuilds only when the region differs from the current one; false for an
// index outside 0 to 9.
bool ChangeListeProjections(int region);

// Rebuilds the context's catalogue for a valid region index.
void ConstruitCatalogueRegion(TContexteProjections& contexte, int region);

}  // namespace projections
