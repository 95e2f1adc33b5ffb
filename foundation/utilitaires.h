#pragma once
// Start-up constants, file-name checks, the order of station names and small
// numeric helpers.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace foundation {

// A real that has no value, -(9.563 raised to 305); also the start of maximum
// searches.  Its opposite starts minimum searches.
inline constexpr double ValeurIndefinie = -0x1.70b2e7d1588b1p+993;
inline constexpr double ValeurIndefiniePositive = 0x1.70b2e7d1588b1p+993;
// The colour of warnings in lists (pure red).
inline constexpr uint32_t CouleurAlerte = 255;

// True when x holds the undefined value (within a relative 1e-9, so that the
// value written by another build of the program is recognised too).
inline bool EstIndefini(double x) {
  const double q = x / ValeurIndefinie;
  return q > 1 - 1e-9 && q < 1 + 1e-9;
}

// The trimmed name with each of | : * < > \ / ? " replaced by '_'.
std::string NettoieNomFichier(std::string_view nom);
// The trimmed name is not empty, no such file exists and it holds none of the
// nine forbidden characters.
bool NomFichierNouveauValide(std::string_view nom);
// "TmpTxt" + the current time + ".tmp", with ':' replaced by '_'.
std::string NomFichierTemp();

// Order of station, surface-point and cave names: the leading number first (a
// name without one comes after every numbered name), then the whole text.
int CompareNomsPoints(std::string_view a, std::string_view b);

inline void EchangeReels(double& a, double& b) { std::swap(a, b); }
inline void EchangeEntiers(int32_t& a, int32_t& b) { std::swap(a, b); }
inline int SigneReel(double x) { return x >= 0 ? 1 : -1; }

// The line of a multi-line text with the most characters (the first on a tie);
// empty for a blank text.
std::string LigneLaPlusLongue(std::string_view texte);
// Splits a text into lines at CR LF, LF or CR.
std::vector<std::string> DecoupeLignes(std::string_view texte);

}  // namespace foundation
