#pragma once
// The station file of "Import d'un fichier de lever": lines of ";"-separated
// fields, the station name, then its left and right widths and its heights up
// and down.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "survey/ports_survey.h"

namespace formats {

// A line as a station: the name and the four values (an empty field is 0);
// none when a value field is not a number.
std::optional<survey::TPointImporte> LitLigneStation(std::string_view ligne);

// The stations of the lines, in order: each line that reads as a station
// whose name was not kept yet.
std::vector<survey::TPointImporte> LitStationsTexte(const std::vector<std::string>& lignes);

}  // namespace formats
