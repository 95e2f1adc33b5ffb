#pragma once
// Angle texts and round steps.  An angle text tells its unit by its last
// character: "2°20'14.025''" (degrees, minutes, seconds), "46°30'" (degrees and
// decimal minutes), "55g" (grades), "-5.4°" (decimal degrees), or "0".
#include <cstdint>
#include <string>
#include <string_view>

namespace projections {

enum class TUniteAngle : uint8_t { uaDegre, uaDMS, uaGrade, uaDM };

inline constexpr double DegresVersRadians = 0.017453292519943295769;
inline constexpr double RadiansVersDegres = 57.295779513082320877;
inline constexpr double GradesVersRadians = 0.015707963267948966192;
inline constexpr double RadiansVersGrades = 63.661977236758134305;

// The angle in radians; a malformed text raises EConversion.
double TexteVersAngle(std::string_view texte);

// The angle (radians) as text in the unit; every text made here reads back
// through TexteVersAngle.
std::string AngleVersTexte(TUniteAngle unite, double angle);
std::string AngleVersDegres(double angle);  // "%.8f°"
std::string AngleVersGrades(double angle);  // "%.8fg"
std::string AngleVersDMS(double angle);     // to the thousandth of a second
std::string AngleVersDM(double angle);      // to the thousandth of a minute

// Integer part of x, minus one for every negative x (so -2.0 gives -3.0).
double PlancherReel(double x);
int32_t PlancherEntier(double x);
// x - PlancherReel(x).
double PartieDecimale(double x);

// 1, 2 or 5 times a power of ten, the nearest to x > 0 on a logarithmic scale.
double PasArrondi(double x);
// The sexagesimal step (1, 2, 3, 5, 10, 15, 20, 30 or 60) nearest to x in
// [1, 60]; outside that range a programming error (std::logic_error).
double PasSexagesimal(double x);
// A round angular step, in radians, for a ground step in metres on a sphere of
// radius r, rounded in the unit's own scale.
double PasAngulaire(double rayon, double pas, TUniteAngle unite);

// Longitude of the Paris meridian east of Greenwich, radians (2°20'14.025'').
double MeridienParis();

}  // namespace projections
