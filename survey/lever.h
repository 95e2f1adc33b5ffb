#pragma once
// Survey trips: the shots measured on one outing with one set of instruments
// and conventions.  Each cave owns the list of its trips; a shot refers to one
// by its position, a negative position meaning the default trip.
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/dates.h"
#include "foundation/objet_de_liste.h"
#include "survey/instrument.h"
#include "survey/operateur.h"

namespace survey {

class TPointSpeleo;

// Declination unit of a trip.
inline constexpr uint8_t UniteDeclinDegres = 0;
inline constexpr uint8_t UniteDeclinGrades = 1;
inline constexpr uint8_t UniteDeclinDegresMinutes = 2;  // entered as degrees and minutes, held in decimal degrees
inline constexpr uint8_t UniteDeclinAucune = 4;         // no declination

// Texts of the angle units of trips and shots (0 degrees, 1 grades, 2 percent):
// the suffix after a value (" °", " g", " %") and the unit's name ("degrés",
// "grades", "pourcent").  Empty for another number.
std::string SuffixeUnite(int unite);
std::string NomUnite(int unite);

// One survey trip.
//
// Record: a block of 64 bytes (date; azimuth and slope units; 6 bytes of 0;
// azimuth calibration, length coefficient, declination; declination unit; 3
// bytes of 0; the three instrument positions of older files; the three flags of
// the old import; 1 byte of 0; 4 reserved bytes of 0), the method, the
// operators (positions in the document's operator list), the azimuth, length
// and slope instruments (positions in the document's instrument list),
// precision, comments, slope zero, thread counter, trip code, the former
// declination convention as a 4-byte integer, and from level 506 on the
// automatic-declination flag.
class TLever : public foundation::TObjetDeListe {
 public:
  foundation::TDateTime LaDate = 0;
  uint8_t UniteAZ = 0;        // 0 degrees, 1 grades
  uint8_t UniteP = 0;         // 0 degrees, 1 grades, 2 percent
  double EtalonAZ = 0;        // azimuth calibration
  double EtalonL = 1.0;       // length calibration coefficient
  double Declinaison = 0;     // in the declination unit
  uint8_t UniteDeclin = UniteDeclinDegres;
  // Instrument positions carried by older files: kept and written back.
  int32_t indInstrumentAz = 0;
  int32_t indInstrumentL = 0;
  int32_t indInstrumentP = 0;
  // Flags of the old own-format import: kept and written back.
  bool DoubleAZ = false;
  bool DoubleP = false;
  bool VsMire = false;
  std::string Methode;
  int32_t Precision = 3;      // precision class 0..6
  int32_t ZeroPente = 0;      // slope zero: -1 at the bottom, 0 horizontal, 1 at the top
  std::string Commentaires;
  TListeDOperateurs Operateurs;
  TInstrument* InstrumentAz = nullptr;
  TInstrument* InstrumentL = nullptr;
  TInstrument* InstrumentP = nullptr;
  bool Topofil = false;       // lengths measured with a thread counter
  bool DecliAuto = false;     // declination computed from the date and the cave's position
  double CodeLever = 0;       // stored, not interpreted
  // The declination follows the former convention, under which the shot
  // reduction applies no meridian convergence.
  bool AncienneDecli = false;
  // Statistics, filled by the cave before statistics reports; not stored.
  TPointSpeleo* PointDeb = nullptr;
  TPointSpeleo* PointFin = nullptr;
  double LongLevee = 0;
  double LongExclue = 0;
  int32_t NbVisees = 0;
  // The working mark of the trip is the base's Marque.

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

  // "dd/mm/yyyy", or "non renseignée".
  std::string DateTexte() const;
  // The declination as text: "2.25 °", "1.50 g" for decimal units, "-1° 30'"
  // for the others.
  std::string DeclinStr() const;
  TOperateur* LOperateur(int i) const { return Operateurs.LOperateur(i); }
  std::string OperaText(int i) const { return Operateurs.OperaText(i); }
  // Names of the instruments, empty when there is none.
  std::string InstrAzText() const;
  std::string InstrLText() const;
  std::string InstrPText() const;
  // An angle in radians in the trip's slope unit.
  double RadEnP(double angle) const;
  // Computes the declination from the date at a position (latitude and
  // longitude in radians, altitude in metres) when the trip has a date, asks
  // for it and the year lies within the field model's range; the caller gives
  // the cave's geographic position, which exists only for a network placed in
  // a coordinate system.  The value is in grades for the grade unit, else in
  // degrees; a position where the declination is undefined leaves it unchanged.
  void CalculeDecliAuto(double latitude, double longitude, double altitude);

  // The lines printed at the head of the trip's shots in a listing, one per
  // printed line (the printing itself belongs to the listing).
  void AjouteLignesLever(std::vector<std::string>& lignes) const;
  // The same description as tab-separated lines of a text export.
  void FichierAjouteLignesLever(std::vector<std::string>& lignes) const;
};

// The default trip: the values of a new trip with no declination and no
// date.  Never stored, never changed: the shots without a trip point at it.
const TLever* LeverParDefaut();

// The trips of a cave.
class TLeversList : public foundation::TListeFichier<TLever> {
 public:
  // The trip at the position; the default trip for a negative position, none
  // for a position not below the count.
  const TLever* UnLever(int i) const;
};

// Same units, length coefficient, thread counter, declination, slope zero,
// comments and the same length and slope instruments (the date, operators,
// declination unit, automatic declination and azimuth instrument are not
// compared).
bool LeversIdentiques(const TLever& a, const TLever& b);

// 0 for a magnitude below 0.001, else the value.
double ZeroSiNegligeable(double x);

}  // namespace survey
