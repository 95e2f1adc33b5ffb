// The PocketTopo sketches on arbitrary bytes, beside a small fixed cave:
// an even first byte reads the rest as the text export of an Auriga import
// (the ".th" centreline fixed), an odd one as the drawings of a ".top" file
// whose trip and shots are fixed.  The whole import pipeline, headless
// (fuzz/import_fuzz.h).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "drawing/annexe_cavite.h"
#include "formats/import/import_autres.h"
#include "fuzz/import_fuzz.h"

namespace {

const char* const kTh =
    "survey s\n centerline\n data normal from to length compass clino\n"
    " 1 2 10 0 0\n 2 3 10 90 0\n 2 - 1 90 0\n 3 - 1 0 0\n endcenterline\nendsurvey\n";

template <class T>
void Ajoute(std::string& o, T v) {
  o.append(reinterpret_cast<const char*>(&v), sizeof v);
}

// Header, one trip, 0 -> 1 -> 2 with a splay at 1, no reference point, the
// overview mapping; the drawings follow.
std::string DebutTop() {
  std::string o = "Top";
  Ajoute<uint8_t>(o, 3);
  Ajoute<int32_t>(o, 1);
  Ajoute<int64_t>(o, 637159392000000000);
  Ajoute<uint8_t>(o, 0);
  Ajoute<uint16_t>(o, 0);
  const uint32_t ids[][2] = {{0x80000001u, 0x80000002u}, {0x80000002u, 0x80000003u}, {0x80000002u, 0x80000000u}};
  Ajoute<int32_t>(o, 3);
  uint16_t az = 0;
  for (const auto& v : ids) {
    Ajoute<uint32_t>(o, v[0]);
    Ajoute<uint32_t>(o, v[1]);
    Ajoute<int32_t>(o, 10000);
    Ajoute<uint16_t>(o, az);
    Ajoute<uint16_t>(o, 0);
    Ajoute<uint8_t>(o, 0);
    Ajoute<uint8_t>(o, 0);
    Ajoute<int16_t>(o, 0);
    az = static_cast<uint16_t>(az + 16384);
  }
  Ajoute<int32_t>(o, 0);
  for (int i = 0; i < 3; ++i) Ajoute<int32_t>(o, 0);
  return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 1 << 20) return 0;
  static const bool annexe = (drawing::InstalleAnnexeDessin(), true);
  (void)annexe;
  const std::string reste(reinterpret_cast<const char*>(data) + 1, size - 1);
  if ((data[0] & 1) == 0) {
    const std::string dossier = "/tmp/gravelune-croquis_pockettopo-fuzz";
    std::filesystem::create_directories(dossier);
    platform::WriteFileAtomic(dossier + "/entree.txt", reste);
    fuzz::ImporteOctets("croquis_pockettopo", reinterpret_cast<const uint8_t*>(kTh), std::string(kTh).size(), ".th",
                        formats::TypeImportAuriga);
  } else {
    const std::string top = DebutTop() + reste;
    fuzz::ImporteOctets("croquis_pockettopo", reinterpret_cast<const uint8_t*>(top.data()), top.size(), ".top",
                        formats::TypeImportPocketTopo);
  }
  return 0;
}
