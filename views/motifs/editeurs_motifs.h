#pragma once
// The editors of the pattern entries behind the pattern model's editor port
// (drawing::Ports().EditeMotif): line styles and fills open the line-style
// dialog, textures the texture dialog, fonts the font dialog.  The symbol and
// north-arrow editors are not built yet: their entries answer "cancelled".
#include "drawing/objet_motif_de_base.h"

namespace views {

// True when entries of the kind have an editor (what the pattern chooser's
// "add" cell needs).
bool EditeurMotifDisponible(drawing::TTypeMotif type);
// Opens the kind's dialog on the entry, modal over the active window; true
// when the user confirmed.
bool EditeMotifQt(drawing::TObjetMotifdeBase& motif);
// Installs EditeMotifQt as the editor port (at start-up).
void InstalleEditeursMotifs();

}  // namespace views
