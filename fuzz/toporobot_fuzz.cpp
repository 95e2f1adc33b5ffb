// The TopoRobot reader on arbitrary bytes, once as a ".tab" file and once as
// a GHTopo ".xtb" file (their session and code numbers differ): the whole
// import pipeline into a fresh network, headless (fuzz/import_fuzz.h); the
// ".tab" file once more going on past the questions (a series number given
// twice, shots not joined to the entrance).
#include <cstddef>
#include <cstdint>

#include "formats/import/import_autres.h"
#include "fuzz/import_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 20) return 0;
  for (const char* extension : {".tab", ".xtb"})
    fuzz::ImporteOctets("toporobot", data, size, extension, formats::TypeImportTopoRobot);
  fuzz::ImporteOctets("toporobot", data, size, ".tab", formats::TypeImportTopoRobot, 2);
  return 0;
}
