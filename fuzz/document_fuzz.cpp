// Arbitrary bytes as a document file, then as its companion file: the
// reader must fail cleanly, leave the process-wide state as it was, and never
// crash, hang or allocate without bound.  A document that reads is written
// back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "document/composition.h"
#include "foundation/flux.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/reseau.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool pret = [] {
    document::InstalleDocument();
    return true;
  }();
  (void)pret;
  const std::string octets(reinterpret_cast<const char*>(data), size);
  survey::GardeDocument document;
  survey::GardeContexteReseau contexte;
  survey::TReseau reseau;
  foundation::TFluxMemoire flux(octets);
  if (reseau.Lit(flux)) {
    foundation::TFluxMemoire config(octets.substr(flux.Position()));
    reseau.LitConfig(config);
    foundation::TFluxMemoire ecrit;
    reseau.Ecrit(ecrit);
  }
  return 0;
}
