#pragma once
// The export of chosen shots of the active cave as a Qave survey file
// (".cave", tab-separated lines).  The stations of the chosen shots are
// named the Qave way, a branch prefix and a running number ("0", "1", "2",
// then "1.0", "1.1" for the first branch...), each written after "100.";
// every shot gives one line, followed by the splays and the comments of the
// station it reaches.
//
// The numbering uses the stations' PrefQave, NumQave and DesignVTopo (the
// name) and the shots' marks as work space: after an export they hold the
// export's values.
#include <string>
#include <vector>

namespace survey {
class TCavite;
class TPointSpeleo;
class TReseau;
class TVisee;
class TViseeHabi;
}  // namespace survey

namespace formats {

// A station's Qave name: PrefQave "." NumQave, or NumQave alone without
// prefix; empty until the numbering gave it one.
std::string NomQave(const survey::TPointSpeleo& p);

// Names the stations of the shots (in the cave's computation order): the
// first shot's origin is "0"; along a gallery the numbers follow one
// another; at a station with several shots the one that stays in the gallery
// with the most following shots (a stable order: equal counts keep the order
// of the station's shot list) continues the branch and every other one
// opens a new branch, numbered from a counter, its first station being
// number 0.  A shot whose origin has no name yet (a part not connected to
// the part before it) opens a new branch at that origin.
void NumeroteStationsQave(survey::TCavite& cavite, const std::vector<survey::TVisee*>& visees);

// One line, each field followed by a tab: for a shot its target, its origin,
// its target, "true"; for a splay its station, its station, nothing,
// "false"; then the computed length, azimuth and slope in degrees with two
// decimals.  Names are written after "100.".
std::string LigneViseeQave(const survey::TVisee& visee);
std::string LigneViseeQave(const survey::TViseeHabi& habi);

// The lines of the file for the numbered shots: "prefix:100", the line of
// station 100.0, then each shot's line; after it, the splays and comments
// of each of its two stations not written yet (a comment line per line,
// after "###").
std::vector<std::string> LignesFichierQave(const std::vector<survey::TVisee*>& visees);

// Numbers the stations, builds the lines and saves them through the save
// dialog ("Fichiers cave|*.cave"), the cave's name with its dots made "_"
// proposed; false when cancelled or not written.
bool EcritFichierQave(survey::TCavite& cavite, const std::vector<survey::TVisee*>& visees);

// The command: the shot selection window titled "Export d'une partie d'une
// cavité au format Qave" over the active cave, then the file of the marked
// shots.  True when the window was closed with OK.
bool ExporteQave(survey::TReseau& reseau);

}  // namespace formats
