#include "document/composition.h"

#include "document/liaisons_vues.h"

namespace document {

void InstalleDocument(const MotifsParDefaut& motifs) {
  InstalleLiaisonsModele(motifs);
  InstalleLiaisonsDessins();
  InstalleLiaisonsVues();
}

}  // namespace document
