#pragma once
// cavtool compute FILE.cav: the document read, the whole network computed,
// one line per computed station of every cave, "cave;station;x;y;z" (metres,
// 4 decimals), in cave order then computation order; the computation's
// warnings on standard error.
#include <string>

namespace cavtool {

// 0 when done; 1 when the document cannot be read (its message on standard
// error).
int CalculeFichier(const std::string& fichier);

}  // namespace cavtool
