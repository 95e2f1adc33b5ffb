#pragma once
// Two old readers without a visible control in the main window:
//
// - ImporteAncienFormat: the old four-file survey format sharing one base
//   path (".gal" gallery names, ".Com" comments, ".Lev" survey trips, ".Pts"
//   station records, fixed little-endian records).  Each station record
//   marked as starting a trip brings the next trip record into the active
//   cave; the network gets one unnamed surface point.
// - ImporteCaviteCoordonnees: a cave described by a list of ";"-separated
//   points, each handed as a new station to TCavite::ImportePointAncien, the
//   first of a gallery with the gallery's name.
//
// Every count and record is bounded by the file sizes; a file that does not
// hold whole records is unreadable, and an unreadable file changes nothing.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/dates.h"

namespace survey {
class TCavite;
class TReseau;
}  // namespace survey

namespace formats {

// Sizes of the records.
inline constexpr size_t TailleNomAncien = 61;     // .gal and .Com records
inline constexpr size_t TailleEnTeteCom = 122;    // .Com header
inline constexpr size_t TailleLeverAncien = 17;   // .Lev records
inline constexpr size_t TailleStationAncien = 11; // .Pts records

// The bits of a station record's code.
enum class CodeNatureAncien : int { compf = 0, compd = 1, gal = 2, com = 3, leve = 4, rats = 5, ratc = 6, compi = 7 };

// A trip record.
struct TLevImport {
  uint8_t j = 0, m = 0, a = 0;
  uint8_t inst[3]{};
  uint8_t oper[4]{};
  uint8_t R6[6]{};
  uint8_t cond = 0;
};

// A station record.
struct TStationAncien {
  uint16_t avt = 0;
  uint8_t code = 0;
  uint16_t num = 0;
  uint16_t az = 0;     // hundredths
  int16_t pente = 0;   // hundredths
  int16_t longueur = 0;  // hundredths
  bool A(CodeNatureAncien c) const { return (code >> static_cast<int>(c)) & 1; }
};

// The four files as read.
struct TFichiersAnciens {
  std::vector<std::string> Galeries;
  std::vector<std::string> Commentaires;
  std::vector<TLevImport> Levers;
  std::vector<TStationAncien> Stations;
};

// Reads the four files' bytes; false when one does not hold whole records
// (or a name longer than its record).
bool LitFichiersAnciens(std::string_view gal, std::string_view com, std::string_view lev, std::string_view pts,
                        TFichiersAnciens& f);

// The date of a trip record: day j (0 read as 1), month m, year 1900 + a.
// A month of 0 or above 12, or a year below 60 or above 99, gives the date
// 1 January 1930.
foundation::TDateTime DateLeverAncien(const TLevImport& l);

// Reads the four files of the base path into the network's active cave.
// "impossible d'ouvrir le fichier " + path when a file cannot be read or is
// truncated; nothing is then added.
bool ImporteAncienFormat(const std::string& base, survey::TReseau& reseau);

// Reads the coordinate list into the cave; false (with "impossible d'ouvrir
// le fichier " + path) when the file cannot be read.
bool ImporteCaviteCoordonnees(const std::string& chemin, survey::TCavite& cavite);

// One point of a coordinate list.
struct TPointImport {
  std::string Precedent;
  std::string NumPoint;
  double X = 0, Y = 0;
  bool DebutGal = false;
  std::string NomGal;
};
// The points of a coordinate list's lines.
std::vector<TPointImport> LitCoordonnees(const std::vector<std::string>& lignes);

}  // namespace formats
