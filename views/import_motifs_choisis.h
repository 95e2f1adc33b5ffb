#pragma once
// The work behind the window that imports a chosen selection of one kind of
// pattern from a pattern file or another document (views/motifs/
// import_motifs_dlg.h): the difference library read before the window
// opens, the chosen entries moved into the library when it closes with OK.
#include <vector>

#include "drawing/import_motifs.h"

namespace views {

// Asks for a file ("cavités ou motifs") and reads its difference against
// bibliotheque.  False when the dialog is cancelled, when the file cannot be
// read, and, after "il n'y a aucun motif à importer", when the difference
// has no entry of the kind.
bool PrepareImportMotifs(const drawing::tListeMtf& bibliotheque, drawing::TTypeMotif type,
                         drawing::tListeMtf& difference);

// The chosen entries of the difference library's list of the kind move, in
// list order, to the end of the destination's list: with
// importerCategories, into the destination's category of the same name
// (created when missing; none for the undefined category), otherwise into
// categorie (none: the undefined category); line styles and fills take the
// destination's equivalent textures or bring theirs along.  The entries not
// chosen stay in the difference library.  Sets the document-modified flag.
void ImporteMotifsChoisis(drawing::tListeMtf& destination, drawing::tListeMtf& difference, drawing::TTypeMotif type,
                          const std::vector<drawing::TObjetMotifdeBase*>& choisis, bool importerCategories,
                          drawing::TCategorieMotifs* categorie);

}  // namespace views
