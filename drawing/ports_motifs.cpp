#include "drawing/ports_motifs.h"

namespace drawing {

TObjetMotifdeBase* TRelogeMotifs::Reloge(TObjetMotifdeBase* ancien) const {
  const auto it = table_.find(ancien);
  return it == table_.end() ? ancien : it->second;
}

void SignaleDocumentModifie() {
  if (Ports().DocumentModifie) Ports().DocumentModifie();
}

}  // namespace drawing
