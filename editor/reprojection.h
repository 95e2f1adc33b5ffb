#pragma once
// Conversion of the ground calibration points of the backgrounds when the
// document's coordinate system changes.  A point pair that cannot be
// converted (a system that is not in the catalogue, a conversion that fails)
// is left as it was, and the backgrounds concerned are reported once for the
// whole change.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/point_topo.h"

namespace editor {

class TBilanReprojection {
 public:
  TBilanReprojection() = default;
  TBilanReprojection(const TBilanReprojection&) = delete;
  TBilanReprojection& operator=(const TBilanReprojection&) = delete;

  // Names of the backgrounds whose points were left unchanged.
  std::vector<std::string> FondsNonConvertis;
  // Shows one message naming them, when there are any, and forgets them.
  void Signale();
};

// Converts X and Y of the n points from one system and zone into another:
// all of them or none.  False, the points unchanged, when either system is
// not in the catalogue or a conversion fails.  Nothing to do (true) when the
// two systems and zones are the same.
bool ReprojettePoints(foundation::TPointTopo* points, size_t n, const std::string& ancienProj, int32_t ancienFuseau,
                      const std::string& nouveauProj, int32_t nouveauFuseau);

// The bilan given, or a local one reported when the guard ends.
class BilanLocal {
 public:
  explicit BilanLocal(TBilanReprojection* donne) : bilan_(donne ? *donne : local_), local_actif_(!donne) {}
  ~BilanLocal() {
    if (local_actif_) local_.Signale();
  }
  TBilanReprojection& operator*() { return bilan_; }
  BilanLocal(const BilanLocal&) = delete;
  BilanLocal& operator=(const BilanLocal&) = delete;

 private:
  TBilanReprojection local_;
  TBilanReprojection& bilan_;
  bool local_actif_;
};

}  // namespace editor
