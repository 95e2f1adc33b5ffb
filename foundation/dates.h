#pragma once
// Dates as reals: days since 1899-12-30, the fraction being the time of day.
#include <cstdint>
#include <string>

namespace foundation {

using TDateTime = double;

// The value of a date that is not known: the largest finite double.
inline constexpr TDateTime DateNonRenseignee = 1.7976931348623157e308;

// Calendar date of a day number (the time of day is dropped).  False when the
// value lies outside years 1..9999.
bool DecodeDate(TDateTime d, int& annee, int& mois, int& jour);
// Day number of a calendar date; false when the date does not exist.
bool EncodeDate(int annee, int mois, int jour, TDateTime& d);
void DecodeHeure(TDateTime d, int& heure, int& minute, int& seconde, int& milli);

// Today (no time of day) and now, in local time.
TDateTime Aujourdhui();
TDateTime Maintenant();

// "dd/mm/yyyy"; "non renseignée" for DateNonRenseignee and for a value that is
// not a date.
std::string DateEnTexte(TDateTime d);
// "hh:mm:ss".
std::string HeureEnTexte(TDateTime d);
// Reads "dd/mm/yyyy" (or with '.' or '-' separators); false when not a date.
bool TexteEnDate(const std::string& texte, TDateTime& d);

}  // namespace foundation
