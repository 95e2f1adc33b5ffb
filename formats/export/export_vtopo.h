#pragma once
// The export of a cave as a VTopo text survey (".tro"): the stations named as
// VTopo reads them back (names kept where the file can hold them, or a
// numbering by series), the header with the entrance and the coordinate
// system, one "Param" block per declination, one line per shot and splay.
#include <string>
#include <vector>

namespace survey {
class TCavite;
class TVisee;
class TViseeHabi;
}  // namespace survey

namespace formats {

// A name as VTopo reads it: trimmed, blanks (and control characters), "*"
// and "," replaced by "_", padded to 11 characters when it has at most 10, to
// 20 when it has fewer than 20, else followed by one blank.
std::string NomVTopo(const std::string& texte);

// A station whose name the file cannot hold as it stands: its own name and
// the name written in its place (both trimmed).
struct RenommageVTopo {
  std::string Nom;
  std::string NomEcrit;
};

// Fills DesignVTopo of the cave's entrances and stations.
// With garderNoms the stations keep their names where VTopo can read them
// back unchanged: at most 20 characters (10 for an entrance), no blank, "*" or
// ",", every character in Windows-1252, not starting as a keyword line
// ("Param", "[Configuration") and distinct from every other name written.
// Blanks, "*" and "," become "_"; a name that still cannot be held gets an
// ASCII name made from it and a number ("1_1" for a second station "1",
// "Entree_1" for an entrance name too long), never one that another station
// keeps; a name held unchanged wins over one that needs changing.  The
// stations written under another name are returned, in the cave's order.
// Without garderNoms: "Ent_n" and series names "s_k", a series for each
// gallery and each side station, named by its distance from the entrance (0
// reserved); nothing is returned.
std::vector<RenommageVTopo> NumeroteVTopo(survey::TCavite& cavite, bool garderNoms);
// The question of the numbering, through the dialog port: true to keep names.
bool DemandeGarderNomsVTopo();
// The one message that lists the renamed stations; empty for none.
std::string MessageRenommagesVTopo(const std::vector<RenommageVTopo>& renommes);

// The widths of the two station columns of the shot lines: 11 (10 characters
// and a blank) unless a longer name is written, so that the numbers of every
// line of a file stand in the same columns.
struct ColonnesVTopo {
  size_t Station = 11;
  size_t Visee = 11;
};

// One VTopo shot line: origin, end, computed length, azimuth without
// declination, slope, the end's dimensions, the exclusion mark, comments.
std::string AffecteLigneVTopo(const survey::TVisee& visee, const ColonnesVTopo& colonnes = {});
// A splay line: station, "*", the computed length, azimuth (without
// declination and convergence) and slope, the splay marks, its comment.
std::string AffecteLigneVTopo(const survey::TViseeHabi& habi, const ColonnesVTopo& colonnes = {});

// The lines of the file, the cave numbered first; the document is left as it
// was apart from the stations' VTopo names.  The stations renamed are added to
// renommes when given.
std::vector<std::string> LignesFichierTRO(survey::TCavite& cavite, bool garderNoms,
                                          std::vector<RenommageVTopo>* renommes = nullptr);
// Asks the numbering, builds the lines and saves them through the save dialog
// as "tro" in Windows-1252; false when cancelled or not written (with the
// export's failure message).  Once written, the stations renamed are listed
// in one warning.
bool GenereFichierTRO(survey::TCavite& cavite);

}  // namespace formats
