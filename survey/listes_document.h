#pragma once
// The document-wide operator and instrument lists that survey trips and
// observations refer to.  The network creates and owns them; this context only
// points at the lists of the document being read, written or edited.  Reading a
// second document sets them aside and puts them back (GardeListesDocument).
#include "survey/instrument.h"
#include "survey/operateur.h"

namespace survey {

struct ContexteListesDocument {
  TListeOperateurs* Operateurs = nullptr;
  TListeInstruments* Instruments = nullptr;
};

ContexteListesDocument& ListesDocument();

// The lists in use, or an empty list when no document has any.
const TListeOperateurs& OperateursDocument();
const TListeInstruments& InstrumentsDocument();

// Saves the pointers and restores them on exit, also on an exception.
class GardeListesDocument {
 public:
  GardeListesDocument() : sauve_(ListesDocument()) {}
  ~GardeListesDocument() { ListesDocument() = sauve_; }
  GardeListesDocument(const GardeListesDocument&) = delete;
  GardeListesDocument& operator=(const GardeListesDocument&) = delete;

 private:
  ContexteListesDocument sauve_;
};

}  // namespace survey
