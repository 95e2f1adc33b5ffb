#pragma once
// The catalogue lines of the built-in regions 1 to 8 ("Afrique" to "Océan
// indien"), in list order.  Region 0 ("France") is kept with the region table
// (regions.cpp); region 9 ("Autres") has no list.
#include <array>
#include <span>

namespace projections {

// Index 1 to 8: the list of that region; index 0 is empty.
const std::array<std::span<const char* const>, 9>& ListesRegionales();

}  // namespace projections
