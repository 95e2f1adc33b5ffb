#pragma once
// Magnetic declination from the International Geomagnetic Reference Field.
//
// The program carries the coefficients of 26 models (1900 to 2030) as text
// lines: a header line per model (beginning with three blanks: name, epoch,
// main degree, secular-variation degree, acceleration degree, first and last
// valid year, altitude range, name, 0) followed by one line per degree n and
// order m (n, m, g, h, secular variation of g and h, name, line number).  The
// lines are read once, on first use, into per-model arrays; a computation never
// reads text.
//
// The field of a date comes from the model whose validity holds the date (first
// valid year included, last excluded; the last model also serves the year after
// its last valid year): interpolated towards the next model when the model has
// no secular variation, extrapolated with its secular variation otherwise.
// Nothing is carried from one computation to the next.
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/dates.h"

namespace survey {

// Largest degree of a model and the number of its g and h coefficients.
inline constexpr int DegreMaxIGRF = 13;
inline constexpr int NombreCoefficientsIGRF = DegreMaxIGRF * (DegreMaxIGRF + 2);  // 195
// Most models a table may hold.
inline constexpr int NombreMaxModelesIGRF = 31;

// One model of the table.  Coefficients are in the order of the lines: for each
// n and m, g, then h when m is not 0.  Those beyond the model's degree are 0.
struct TModeleIGRF {
  std::string Nom;
  double Epoque = 0;
  int DegreMax = 0;            // main field
  int DegreVS = 0;             // secular variation; 0 for none
  int DegreAcceleration = 0;   // unused
  double AnneeDebut = 0;       // first valid year
  double AnneeFin = 0;         // last valid year
  double AltitudeMin = 0;      // km
  double AltitudeMax = 0;      // km
  int LigneEntete = 0;         // position of the header line in the table
  std::array<double, NombreCoefficientsIGRF> Champ{};  // g, h in nT
  std::array<double, NombreCoefficientsIGRF> VS{};     // their secular variation in nT per year
};

struct TTableIGRF {
  std::vector<TModeleIGRF> Modeles;
  // Smallest first valid year and largest last valid year of the models.
  double AnneeMin = 0;
  double AnneeMax = 0;
};

// The lines of the built-in table (generated source).
std::span<const char* const> LignesCoefficientsIGRF();

// Reads a table from its lines: every line that begins with three blanks is a
// model header; the coefficient lines that follow it fill the model's arrays,
// in order, until one whose n or m is not the expected one (the remaining
// coefficients of that model stay 0).  Degrees above 13 are taken as 13; models
// beyond the 31st are ignored.
TTableIGRF LitCoefficientsIGRF(std::span<const char* const> lignes);
// The built-in table, read on first use.
const TTableIGRF& TableIGRF();

// The coefficients of a date.
struct TCoefficientsDate {
  int Modele = -1;          // index of the chosen model; -1 for a date out of range
  bool Extrapole = false;   // secular variation of the model (else interpolation towards the next one)
  double Facteur = 0;       // interpolation factor or years since the epoch
  int Degre = 0;
  std::array<double, NombreCoefficientsIGRF> gh{};
};
// False, with Modele -1, when the decimal year lies before the first valid year
// or not before the last valid year plus one.
bool CoefficientsALaDate(const TTableIGRF& table, double annee, TCoefficientsDate& c);

// Field components in nT: X north, Y east, Z down.
struct TChampMagnetique {
  double X = 0, Y = 0, Z = 0;
};

// Field at a geocentric position: latitude and longitude in degrees, radius in km.
TChampMagnetique ChampGeocentrique(const TCoefficientsDate& c, double latitude, double longitude, double rayon);
// Field at a geodetic position on the WGS84 ellipsoid (degrees, altitude in km),
// in the geodetic frame.  A latitude within 0.001 degree of a pole is taken as
// 89.999 degrees.
TChampMagnetique ChampGeodesique(const TCoefficientsDate& c, double latitude, double longitude, double altitude);
// Declination of a field, radians, east positive: NaN when the horizontal or
// total intensity is below 0.0001 nT, pi when the field points due south.
double DeclinaisonDuChamp(const TChampMagnetique& b);

// Declination in radians, east positive, at a decimal year, a geodetic latitude
// and longitude in degrees and an altitude in metres.  A date out of range shows
// "Date incorrecte" through the dialog port and gives 0.
double CalculeDeclinaisonIGRF(double annee, double latitude, double longitude, double altitude);

// The year lies within the range of the built-in models: 1900 to 2029.
bool AnneeDansModeleIGRF(int annee);
// The declination of a trip of that year can be computed: the open network is
// placed in a coordinate system (without one its caves have no geographic
// position) and the year lies within the models' range.
bool DeclinaisonCalculable(int annee, bool reseauAvecProjection);

// Decimal year of a date: year + day of the year (1 for 1 January) / days in
// that year.  False for a date that is not one.
bool AnneeDecimale(foundation::TDateTime date, double& annee);

}  // namespace survey
