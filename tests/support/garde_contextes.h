#pragma once
// One guard for every process-wide context the test binary links: each
// folder's context (foundation, projections, survey, drawing, formats, views,
// editor, app) is set aside when the guard is made and put back when it goes.
#include <memory>
#include <vector>

#include "platform/contextes.h"

namespace testsupport {

class GardeContextes {
 public:
  GardeContextes() : gardes_(platform::GardesTousContextes()) {}
  ~GardeContextes() {
    while (!gardes_.empty()) gardes_.pop_back();
  }
  GardeContextes(const GardeContextes&) = delete;
  GardeContextes& operator=(const GardeContextes&) = delete;

 private:
  std::vector<std::shared_ptr<void>> gardes_;
};

}  // namespace testsupport
