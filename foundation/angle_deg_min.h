#pragma once
// Angles as degrees and minutes of arc: "-1° 30'".  Used for declinations
// typed in degrees and minutes and for printed tables.
#include <string>
#include <string_view>

namespace foundation {

// "-" for a negative angle, the whole degrees, "° ", the minutes rounded
// (half to even) and "'"; 60 rounded minutes carry into the degrees, so that
// 2.9999 gives "3° 0'".
std::string AngleDegMinStr(double x);

// Reads "-12° 30'": the degrees before the first "°" (the whole text when it
// has none), the minutes from there to the next "'" or to the end; each field
// with its blanks dropped, an empty one reading 0, must be an integer.  The
// angle is |degrees| + |minutes| / 60, negative when the degrees begin with
// "-".  False, with the value unchanged, when a field is not an integer.
bool LitAngleDegMin(std::string_view texte, double& angle);

}  // namespace foundation
