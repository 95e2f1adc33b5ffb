#pragma once
// What plugs the subsystems built so far into the network document: the
// document pattern library and the Therion set of the drawing model become
// the network's parts, the surface symbols are numbered in the document
// library, and the survey model's coordinate conversions go to the
// projection services; with the window subsystems, the background maps and
// the plan page layouts too, and what the layout model asks of the network.
// The program does the same at start-up; the test tool, the document tests,
// the fuzz target and the benchmark call it here.
//
// The document library is also the drawings' library.
//
// The cave drawings are plugged separately (InstalleLiaisonsDessins): every
// cave then carries the drawing annex instead of the minimal one, and
// references into a replaced pattern library follow into the caves' drawings.
// The program and the test tool install everything (InstalleLiaisonsProgramme).
//
// Not plugged yet (the network uses the empty part until its subsystem
// registers one): the loop list.
#include <functional>
#include <string>

namespace drawing {
class tListeMtf;
class TRelogeMotifs;
}  // namespace drawing

namespace cavtool {

void InstalleLiaisonsDocument();
// The cave drawings: the drawing annex and the relocation of references.
void InstalleLiaisonsDessins();
// Both: what the program and the test tool install at start-up.
void InstalleLiaisonsProgramme();
// The maps and layouts part (built with the window subsystems only): also
// the layout class of long sections and the drawings' display
// configuration (background images and SVG drawings).
void InstalleLiaisonsVues();
// References into a replaced library follow into the plan page layouts.
void RelogeMisesEnPage(const drawing::TRelogeMotifs& reloge);

// The pattern library of the current network; none without network.
drawing::tListeMtf* BibliothequeCourante();

// What the program adds to the links (the settings are the program's).
struct LiaisonsProgramme {
  // Completes the library of every new network (the default pattern file of
  // the settings); none: the built-in defaults only.
  std::function<void(drawing::tListeMtf&)> CompleteBibliotheque;
};
LiaisonsProgramme& Programme();

// Appends to the library copies of the pattern file's entries it lacks, in
// each of the seven lists; false when the file cannot be read.
bool CompleteBibliotheque(drawing::tListeMtf& bibliotheque, const std::string& fichier);

}  // namespace cavtool
