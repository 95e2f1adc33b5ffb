#pragma once
// The catalogue lines of the France region, as the program carries them
// (regions_test checks each against its registry twin through PROJ).
#include <span>

#include "projections/regions.h"

namespace essai {

inline std::span<const char* const> LignesFrance() { return projections::Regions()[projections::RegionFrance].Lignes; }

}  // namespace essai
