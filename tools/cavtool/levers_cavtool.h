#pragma once
// cavtool levers FILE.cav: the survey trips of every cave as stored in the
// document, nothing computed: one line per trip, in cave order then trip
// order, "cave;date;declination;unit;auto" with the date as "dd/mm/yyyy" or
// "non renseignée", the declination with 6 decimals in its unit, the unit
// "degres", "grades", "degres-minutes" or "aucune", and 1 when the
// declination is computed from the date and the cave's position, else 0.
#include <string>

namespace cavtool {

// 0 when done; 1 when the document cannot be read (its message on standard
// error).
int ListeLevers(const std::string& fichier);

}  // namespace cavtool
