#pragma once
// Imports from another document: whole caves with their adjustments, a part
// of a cave hung after a station of the active cave, chosen surface points,
// and the patterns another document has that a library lacks.  Each runs in
// the second-document frame (cadre_autre_reseau.h); the windows are reached
// through formats' ports (ports_autre_reseau.h).
#include <string>
#include <vector>

namespace survey {
class TCavite;
class TReseau;
class TVisee;
}  // namespace survey

namespace drawing {
class tListeMtf;
}

namespace formats {

class TEquivalences;

// The cave of a network to work on: cave 1 without a window when the
// network has exactly two caves, else the window's choice (none on Cancel).
survey::TCavite* ChoisitCaviteReseau(const survey::TReseau& reseau, const std::string& libelle = std::string());
// One Boolean per cave (index 0 never chosen): cave 1 without a window when
// the network has fewer than three caves; false on Cancel or no cave checked.
bool ChoisitCavitesImport(const survey::TReseau& reseau, std::vector<bool>& choix);

// "Depuis un autre réseau": the chosen caves of a document, with their
// adjustments, their trips' operators and instruments and the patterns
// their drawings use, into the open network.  "Import abandonné" and false
// on a read failure or a cancelled choice.
bool ImporteCavitesReseau(const std::string& chemin);

// "Importer une partie d'une autre cavité": the shots marked in the
// selection window, from a cave of a document (or of a foreign survey file
// of the dispatcher's type), hung after the computed end of the focused shot
// of the active cave.  The active cave's ViseeImport0 becomes the first shot
// imported.
bool ImportePartieAutreCavite(const std::string& chemin, int type, survey::TVisee* viseeFocus);
// The marked shots of the cave (and what they need) into the open network's
// active cave; the part's cave keeps nothing.
void AjoutePartieCaviteActive(survey::TCavite& partie, survey::TCavite& active, TEquivalences& equivalences);
// Keeps the marked shots of the cave and their stations and trips; the rest
// goes.  Surface points they end on become surface points of the open
// network (except the computed origin of the first shot).
void GardeViseesMarquees(survey::TCavite& partie, TEquivalences& equivalences);

// The surface points chosen among another document's, into the open network.
bool ImportePointsSurfaceCav(const std::string& chemin);

// The patterns of another document: its textures, and copies of its entries
// that the library lacks, into resultat.
bool LitMotifsAutreReseau(const std::string& chemin, const drawing::tListeMtf& bibliotheque,
                          drawing::tListeMtf& resultat);

}  // namespace formats
