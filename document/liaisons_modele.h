#pragma once
// The model links of the document: what plugs the drawing model into the
// network document.  The document pattern library and the Therion set of the
// drawing model become the network's parts, the surface symbols are numbered
// in the document library, and the survey model's coordinate conversions go
// to the projection services.
//
// The document library is also the drawings' library.
//
// The cave drawings are plugged separately (InstalleLiaisonsDessins): every
// cave then carries the drawing annex instead of the minimal one, and
// references into a replaced pattern library follow into the caves' drawings.
//
// The maps and layouts are the view links' (document/composition.h installs
// both).  Not plugged yet (the network uses the empty part until its
// subsystem registers one): the loop list.
#include <functional>
#include <string>

namespace drawing {
class tListeMtf;
class TRelogeMotifs;
}  // namespace drawing

namespace document {

// Where the library of every new network is completed from: the program's
// default pattern file.  Without it, the built-in defaults only.
struct MotifsParDefaut {
  // The file, asked when a network is created; empty: none.
  std::function<std::string()> Fichier;
  // Told of a file that could not be read.
  std::function<void(const std::string& fichier)> Illisible;
};

// The document parts and ports (the reader of another document's patterns
// among them); every new network's library is completed from the default
// pattern file given here (read and merged by the part itself, the
// document's modified flag kept).
void InstalleLiaisonsModele(const MotifsParDefaut& motifs = {});
// The cave drawings: the drawing annex and the relocation of references.
void InstalleLiaisonsDessins();
// References into a replaced library follow into the caves' drawings.
void RelogeDessins(const drawing::TRelogeMotifs& reloge);

// The pattern library of the current network; none without network.
drawing::tListeMtf* BibliothequeCourante();

// Merges into the library the pattern file's entries it lacks, with their
// categories and the textures they use, then appends the file's other
// textures it lacks; false when the file cannot be read (nothing changed).
bool CompleteBibliotheque(drawing::tListeMtf& bibliotheque, const std::string& fichier);

}  // namespace document
