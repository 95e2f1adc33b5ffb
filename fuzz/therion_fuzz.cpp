// The Therion centreline reader on arbitrary bytes: the whole import pipeline into a fresh network,
// headless (fuzz/import_fuzz.h).
#include <cstddef>
#include <cstdint>

#include "formats/import/import_autres.h"
#include "fuzz/import_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 20) return 0;
  fuzz::ImporteOctets("therion", data, size, ".th", formats::TypeImportTopoDroid);
  return 0;
}
