#pragma once
// cavtool export {csv|tro} FILE.cav OUT [--cavite NOM] [--numerotation-vtopo]:
// the document read, the network computed, the cave (the first one by
// default) exported as text to OUT; a VTopo export keeps the station names
// unless asked for the VTopo numbering.
#include <string>
#include <vector>

namespace cavtool {

// The arguments after "export".  0 when written; 1 with the French message on
// standard error when the document cannot be read, the cave does not exist or
// the file cannot be written; 2 for arguments it does not know.
int ExporteFichier(const std::vector<std::string>& arguments);

}  // namespace cavtool
