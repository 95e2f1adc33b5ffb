#pragma once
// The view links of the document: the network's background maps (editor)
// and plan page layouts (views) become the network's parts, with the layout
// class of long sections, the drawings' display configuration (background
// images and SVG drawings) and what the layout model asks of the open
// network.  Included by document/ and app/ only; the others install the
// links through document/composition.h.

namespace drawing {
class TRelogeMotifs;
}  // namespace drawing

namespace document {

// The maps and layouts parts and the views' ports.  Installed after the
// model links' drawings: references into a replaced library then follow
// into the caves' drawings and into the plan page layouts.
void InstalleLiaisonsVues();
// References into a replaced library follow into the plan page layouts.
void RelogeMisesEnPage(const drawing::TRelogeMotifs& reloge);

}  // namespace document
