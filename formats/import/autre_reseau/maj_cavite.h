#pragma once
// The update of the active cave from a field notebook ("Maj Carnet
// Electronique") and the comparison of the active cave with a cave of
// another file ("Comparaison de cavités"), with the report and its file.
#include <string>
#include <vector>

namespace survey {
class TCavite;
class TReseau;
}  // namespace survey

namespace formats {

// The report of the comparison: the pairing of the open active cave with the
// compared cave, the report window, then the report saved beside the open
// document.  Returns the path of the report file (empty when not written).
std::string RapportComparaison(const std::string& chemin, survey::TReseau& ouvert, survey::TReseau& second,
                               survey::TCavite& comparee, survey::TCavite& active);
// Where the report of a cave is saved: the open document's folder (the
// working folder when no document is named), the cave's name cleaned for a
// file name, then "_Rapport_MAJ.txt".
std::string CheminRapport(const std::string& nomCavite);

// Compares the active cave with a cave of a file (a document, or a foreign
// survey file of the dispatcher's type).  True when a cave was compared.
// The open document's modified flag is kept.
bool CompareCavites(const std::string& chemin, int type);

// Appends to the active cave what the notebook (".top" or Therion ".th")
// holds that the cave lacks.  A PocketTopo text export is refused before
// reading.  True when something was appended.
bool MajCaviteDepuisCarnet(const std::string& chemin);

// The update's clean-ups, on the imported cave: trips no shot uses, the
// stations marked for deletion (without walking the cave again), galleries
// left empty.
void NettoieCaviteMaj(survey::TCavite& c);
// The imported cave's sketches lose what the existing cave's sketches
// already hold; their points move to the equivalent shots.
void NettoieCroquisMaj(survey::TCavite& importee, const survey::TCavite& existante);

}  // namespace formats
