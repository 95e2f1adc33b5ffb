#include "survey/listes_document.h"

namespace survey {

const TListeOperateurs& OperateursDocument() {
  static const TListeOperateurs vide;
  const TListeOperateurs* l = ListesDocument().Operateurs;
  return l ? *l : vide;
}

const TListeInstruments& InstrumentsDocument() {
  static const TListeInstruments vide;
  const TListeInstruments* l = ListesDocument().Instruments;
  return l ? *l : vide;
}

}  // namespace survey
