#pragma once
// The whole document as the program reads and writes it: the model links
// (pattern library, Therion set, drawings) and the view links (maps,
// layouts), installed in order.  The program, cavtool, the tests, the fuzz
// targets and the benchmarks call it, so they all read a document through
// the same wiring.  Part of the view links' library (gravelune_document_vues).
#include "document/liaisons_modele.h"

namespace document {

// The model links, the drawings, then the view links.
void InstalleDocument(const MotifsParDefaut& motifs = {});

}  // namespace document
