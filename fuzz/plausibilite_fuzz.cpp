// The rule for the repeated readings of one shot on arbitrary numbers: the
// readings kept are a strict majority, in their order, each agreeing with one
// reference among them, and every reading outside them disagrees with it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "formats/import/plausibilite.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<formats::LectureRepetee> lectures;
  for (size_t i = 0; i + 3 * sizeof(double) <= size && lectures.size() < 12; i += 3 * sizeof(double)) {
    double v[3];
    std::memcpy(v, data + i, sizeof v);
    lectures.push_back({v[0], v[1], v[2]});
  }
  const std::vector<size_t> gardees = formats::LecturesCoherentes(lectures);
  if (gardees.empty()) return 0;
  if (2 * gardees.size() <= lectures.size() && lectures.size() > 1) std::abort();
  for (size_t k = 1; k < gardees.size(); ++k)
    if (gardees[k] <= gardees[k - 1] || gardees[k] >= lectures.size()) std::abort();
  // Some kept reading is the reference: it agrees with every other kept one
  // and with none of the readings left out.
  bool reference = false;
  for (size_t r : gardees) {
    bool ok = true;
    for (size_t j = 0; j < lectures.size() && ok; ++j) {
      if (j == r) continue;
      const bool gardee = std::find(gardees.begin(), gardees.end(), j) != gardees.end();
      ok = formats::LecturesConcordent(lectures[r], lectures[j]) == gardee;
    }
    reference = reference || ok;
  }
  if (!reference) std::abort();
  // A text for every reading, whatever its numbers.
  for (const formats::LectureRepetee& l : lectures)
    if (formats::TexteLongueur(l.Longueur).empty() || formats::TexteAngle(l.Azimut, " gr").empty()) std::abort();
  return 0;
}
