#pragma once
// cavtool import [--cavite RANG] FILE OUT.cav: a new network, FILE imported through the
// dispatcher with the file type of its extension, every question answered
// with its default, OUT.cav written.
#include <string>

namespace cavtool {

// Where the gallery dialog keeps its memory file: the program's working
// folder (the user's documents followed by "Gravelune/"), created when
// missing.
std::string DossierMemoireGaleries();

// 0 when done; 1 with the French message on standard error.  A type of 0
// takes the type of the file's extension; cavite: the cave chosen in a
// TopoRobot file that holds several (rank from 1).
int ImporteFichier(const std::string& fichier, const std::string& sortie, int type = 0, int cavite = 1);

}  // namespace cavtool
