#pragma once
// Patterns travelling between documents: the merge of a difference library
// into a library and the import of every missing pattern of a pattern file
// or of another document.  The window that imports a chosen selection of
// one kind works with the same pieces (views/import_motifs_choisis.h).
//
// A difference library is built by tListeMtf::OuvreMtfPourMotifs (a .mtf
// file) or by the reader of another document (a .cav file, through the port
// LitMotifsAutreReseau): its lists hold copies of the entries the library
// lacks, with the file's categories, and its texture list every texture of
// the file.  Moving its entries re-points their categories and textures to
// the library's own (matched by name, by equivalence) or brings them along,
// so that nothing left in the difference library is referred to once it is
// freed.
#include <string>

#include "drawing/liste_mtf.h"
#include "foundation/liste_equiv.h"

namespace drawing {

// Each source entry of the equivalence list is matched with the first entry q
// of the destination list (of the same kind) for which q.EstEquivalent(p),
// looked for among the entries of the same key only.
void CreeEquivalentsMotifs(foundation::TListeEquiv& equiv, const TListeMotifsBase& destination);

// The textures of a difference library matched with those of a library:
// line styles and fills moved from the one to the other take the library's
// equivalent texture, or keep theirs, which then moves along.
class TEquivTextures {
 public:
  TEquivTextures(tListeMtf& difference, const tListeMtf& destination);
  // A line style's or fill's texture becomes its equivalent (or is marked
  // used); other entries are left alone.
  void Remappe(TObjetMotifdeBase& m);
  // The used textures without equivalent leave the difference library for
  // the end of the destination's texture list; the others stay behind.
  void TransfereUtiles(tListeMtf& destination);

 private:
  tListeMtf& difference_;
  foundation::TListeEquiv equiv_;
};

// Moves every entry of the source's lists, line styles to fonts, to the end
// of the destination's lists: categories matched by exact name (letter case
// counts) or brought along when used, textures matched by equivalence or
// brought along when used; what is matched or unused stays in the source.
// Sets the document-modified flag.
void FusionneListesMtf(tListeMtf& destination, tListeMtf& source);

// True for a file name whose extension is ".cav" in any letter case.
bool EstNomDocument(const std::string& nom);

// The difference library of a file against bibliotheque: another document's
// for a ".cav" name (any letter case), a pattern file's otherwise.  False,
// after the reader's message (ours for a file that is not a pattern file),
// when the file cannot be read; bibliotheque is never changed.
bool LitDifferenceMotifs(const std::string& nom, const tListeMtf& bibliotheque, tListeMtf& difference);

// Asks for a file through the open dialog with the filter and reads its
// difference against bibliotheque (LitDifferenceMotifs).  False when the
// dialog is cancelled or the file cannot be read.
bool ChoisitDifferenceMotifs(const std::string& filtre, const tListeMtf& bibliotheque, tListeMtf& difference);

// The whole-file import: asks for a file ("mtf / cav"), reads its
// difference against bibliotheque and merges it.  False when the dialog is
// cancelled or the file cannot be read (nothing changed).
bool ImporteMotifsFichier(tListeMtf& bibliotheque);

}  // namespace drawing
