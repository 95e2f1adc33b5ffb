#pragma once
// The export of a cave as a VTopo text survey (".tro"): the stations renamed
// as VTopo needs (names of at most 20 characters without blanks, "*" or ",",
// or a numbering by series), the header with the entrance and the coordinate
// system, one "Param" block per declination, one line per shot and splay.
#include <string>
#include <vector>

namespace survey {
class TCavite;
class TVisee;
class TViseeHabi;
}  // namespace survey

namespace formats {

// A name as VTopo reads it: trimmed, blanks, "*" and "," replaced by "_",
// padded to 11 characters when it has at most 10, to 20 when it has fewer
// than 20, else followed by one blank.
std::string NomVTopo(const std::string& texte);

// Fills DesignVTopo of the cave's entrances and stations: with garderNoms the
// stations keep their names (a name too long, or one that would merge with
// an earlier one once renamed, becomes "Point_Renommé_k"; an entrance name
// over 10 characters "Entrée_n"), else "Ent_n" and series names "s_k", a
// series for each gallery and each side station, named by its distance from
// the entrance (0 reserved).
void NumeroteVTopo(survey::TCavite& cavite, bool garderNoms);
// The question of the numbering, through the dialog port: true to keep names.
bool DemandeGarderNomsVTopo();

// One VTopo shot line: origin, end, computed length, azimuth without
// declination, slope, the end's dimensions, the exclusion mark, comments.
std::string AffecteLigneVTopo(const survey::TVisee& visee);
// A splay line: station, "*", the computed length, azimuth (without
// declination and convergence) and slope, the splay marks, its comment.
std::string AffecteLigneVTopo(const survey::TViseeHabi& habi);

// The lines of the file, the cave numbered first; the document is left as it
// was apart from the stations' VTopo names.
std::vector<std::string> LignesFichierTRO(survey::TCavite& cavite, bool garderNoms);
// Asks the numbering, builds the lines and saves them through the save dialog
// as "tro" in Windows-1252; false when cancelled or not written (with the
// export's failure message).
bool GenereFichierTRO(survey::TCavite& cavite);

}  // namespace formats
