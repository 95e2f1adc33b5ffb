#pragma once
// The import of other programs' survey files: the reader of a file type,
// created and run over the pipeline's passes.
#include <memory>
#include <string>

#include "formats/import/import_autres.h"

namespace survey {
class TReseau;
}

namespace formats {

// Imports one file into the network (ReseauCourant when none is given) with
// the reader of the type code; true when the new cave was added.  A code
// without reader imports nothing.
bool ImporteFichierAutre(const std::string& chemin, int type, bool partiel, survey::TReseau* reseau = nullptr);

// The reader of a type code for that path; none for a code without reader.
std::unique_ptr<tImportAutres> CreeLecteurImport(const std::string& chemin, int type, survey::TReseau* reseau);
// A reader exists for the type code (the formats not built yet have none).
bool LecteurImportDisponible(int type);
// The type code a file's extension names (letters compared without regard to
// case): ".tab" and ".xtb" TopoRobot, ".tro" VTopo, ".txt" text table, ".top"
// PocketTopo, ".th" TopoDroid or Qave export; 0 for any other extension.
int TypeImportSelonExtension(const std::string& chemin);

}  // namespace formats
