#pragma once
// The one rule by which every reader tells a reading an instrument can give
// from one it cannot.  A reader stages what its file says, asks the rule, and
// stops the import on the first reading the rule refuses, naming the file,
// the line (or the shot) and the field: it never builds a cave, a surface
// point or a waypoint from a number no instrument gives.
//
// The rule for a shot: a length finite, not negative and at most MesureMax;
// thread-counter readings finite and not negative, the length they give at
// most MesureMax; a finite azimuth; a slope within the range of its unit (-90
// to 90 degrees, -100 to 100 grades, 0 to 180 degrees or 0 to 200 grades from
// the vertical; a reading past the half turn counts one turn less, 350
// degrees being -10; any finite percentage); a height difference, a depth and
// passage dimensions finite and at most MesureMax in size.
// The rule for a point: a latitude within ±90°, a longitude within ±180°, an
// altitude within ±AltitudeMax; grid coordinates finite and within
// ±CoordonneeMax.
//
// Repeated readings of one shot (PocketTopo's legs) have a rule of their own,
// LecturesCoherentes, below.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace survey {
class TValeurVisee;
}

namespace formats {

class tImportAutres;
class TLeverImport;
class TViseeImport;

// The longest length, height difference, depth or passage dimension a cave
// survey reading can hold (10 km).
inline constexpr double MesureMax = 10000;
// The highest altitude and the lowest depth of a point (12 km).
inline constexpr double AltitudeMax = 12000;
// The largest grid coordinate of a point, whether in metres, kilometres or
// degrees (100 000 km: more than any grid of the Earth).
inline constexpr double CoordonneeMax = 1e8;

// The field of a reading, in the order of a shot line.
enum class ChampLecture : uint8_t {
  Aucun,  // every reading is possible
  Longueur,
  LongueurHoriz,
  TopofilDebut,
  TopofilFin,
  Azimut,
  Pente,
  Denivelee,
  Profondeur,
  DimGauche,
  DimDroite,
  DimHaut,
  DimBas,
  CoordX,
  CoordY,
  Latitude,
  Longitude,
  Altitude,
};

// The field's name in the messages ("longueur", "azimut", "latitude" ...).
std::string NomChampLecture(ChampLecture champ);

// How a slope is read: its unit and where its zero lies.
struct ConventionsPente {
  enum class Unite : uint8_t { Degres, Grades, Pourcent };
  Unite UnitePente = Unite::Degres;
  bool DepuisVerticale = false;  // 0 at the zenith (or at the nadir), not at the horizontal
};
// The conventions of a staged trip (UnitP 3 grades, 4 percent, else degrees;
// OrigPentes not 0: from the vertical); degrees from the horizontal without
// a trip.
ConventionsPente ConventionsLever(const TLeverImport* lever);

// One reading each.
bool LongueurPossible(double l);        // finite, 0 to MesureMax
bool MesurePossible(double x);          // finite, at most MesureMax in size
bool AzimutPossible(double az);         // finite
bool LectureTopofilPossible(double x);  // finite, not negative
bool PentePossible(double p, const ConventionsPente& c);

// The readings of one shot, whatever the reader: the fields its input type
// (as Typesaisie) uses are checked, the others are not.
struct LecturesVisee {
  uint8_t TypeSaisie = 0;
  double Longueur = 0;       // input types 0, 2 and 4, without thread counter
  double LongueurHoriz = 0;  // input types 1 and 3
  double Azimut = 0;
  double Pente = 0;       // input types 0 and 1
  double Denivelee = 0;   // input types 2 and 3
  double Profondeur = 0;  // input type 4
  bool Topofil = false;
  double TopofilDebut = 0, TopofilFin = 0;
  double EtalonTopofil = 1;  // metres per unit of the counter
  double DimGauche = 0, DimDroite = 0, DimHaut = 0, DimBas = 0;
};

// The first field of the shot that no instrument gives, in the order of the
// fields above (length or thread counter, horizontal length, azimuth, slope,
// height difference or depth, left, right, up, down); Aucun when all are
// possible.
ChampLecture LectureImpossible(const LecturesVisee& l, const ConventionsPente& c);
// A staged shot, with the conventions and thread counter of its staged trip.
ChampLecture LectureImpossible(const TViseeImport& vi);
// A built shot or splay, with the units of its trip (the passage dimensions
// are its stations', not checked here).
ChampLecture LectureImpossible(const survey::TValeurVisee& v);

// A geographic position: latitude, longitude in degrees and altitude in
// metres; the first impossible one, or Aucun.
ChampLecture PositionImpossible(double latitude, double longitude, double altitude);
// A point in grid coordinates (X, Y in any unit of a grid, Z in metres).
ChampLecture PointImpossible(double x, double y, double z);

// "<fichier>, ligne <n> : <champ> impossible (<texte>)."
std::string MessageLectureImpossible(const std::string& fichier, size_t ligne, ChampLecture champ,
                                     const std::string& texte);
// "<fichier>, <position> : <champ> impossible (<texte>)." for a file without
// lines (the position says which shot or point).
std::string MessageLectureImpossible(const std::string& fichier, const std::string& position, ChampLecture champ,
                                     const std::string& texte);
// "visée <de> → <a>", or "visée rayonnante de <de>" without target.
std::string PositionVisee(const std::string& de, const std::string& a);
// "point <nom>".
std::string PositionPoint(const std::string& nom);

// A reader that met an impossible reading: the message is shown, the reader
// adds no other (Abandon) and the file is unreadable; false.
bool RefuseLecture(tImportAutres& lecteur, const std::string& message);

// Numbers as the messages write them: a decimal comma, thousands grouped by
// blanks.  A length in metres below 1 km ("12,3 m", to the millimetre), in
// kilometres above ("15,2 km", "2 147 km"); an angle to the tenth followed by
// its unit ("45,2°", "50 gr").
std::string TexteLongueur(double metres);
std::string TexteAngle(double angle, const std::string& unite = "°");

// --- Repeated readings ------------------------------------------------------------------
// The common transfer averages the readings of a shot measured several times
// (successive staged shots between the same two stations).  For a reader
// whose shots are so measured (PocketTopo's legs, ExigeLecturesCoherentes) it
// keeps only the consistent ones, below, and warns of the others, or stops
// the import when there is no consistent majority ("<fichier>, visée <de> →
// <a> : lectures incohérentes (12,3 m ; 2 147 km).").
// One reading of a shot measured several times: length in metres, azimuth
// and slope in degrees from the horizontal.
struct LectureRepetee {
  double Longueur = 0, Azimut = 0, Pente = 0;
};

// The tolerances between two readings of one shot.
inline constexpr double EcartLongueurMax = 0.05;  // of the two lengths' mean
inline constexpr double EcartAngleMax = 2;        // degrees between the two directions

// Two readings agree when their lengths differ by at most EcartLongueurMax of
// their mean and their directions by at most EcartAngleMax (the angle between
// the two directions in space, so that the azimuth of a vertical shot and
// the turn from 359° to 1° do not count).
bool LecturesConcordent(const LectureRepetee& a, const LectureRepetee& b);
// The readings of a shot that agree: the reference reading is the one that
// agrees with the most others (the first of them on a tie), and the
// consistent readings are it and every reading that agrees with it, in their
// order.  They are kept only when they are more than half of the readings:
// two readings are consistent only when they agree, three when at least two
// agree with the same reference.  Empty when no such majority exists (two
// readings that disagree, three that all disagree): the shot cannot be read.
// One reading is consistent with itself.
std::vector<size_t> LecturesCoherentes(const std::vector<LectureRepetee>& lectures);

}  // namespace formats
