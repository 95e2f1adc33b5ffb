#pragma once
// cavtool import FILE OUT.cav: a new network, FILE imported through the
// dispatcher with the file type of its extension, every question answered
// with its default, OUT.cav written.
#include <string>

namespace cavtool {

// 0 when done; 1 with the French message on standard error.
int ImporteFichier(const std::string& fichier, const std::string& sortie);

}  // namespace cavtool
