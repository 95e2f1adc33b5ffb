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
// Not plugged yet (the network uses the empty part or the minimal cave annex
// until their subsystems register theirs): the loop list, the cave drawings.
namespace drawing {
class tListeMtf;
}

namespace cavtool {

void InstalleLiaisonsDocument();
// The maps and layouts part (built with the window subsystems only).
void InstalleLiaisonsVues();

// The pattern library of the current network; none without network.
drawing::tListeMtf* BibliothequeCourante();

}  // namespace cavtool
