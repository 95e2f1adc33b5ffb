#pragma once
// A row of a report-style list as the model fills it: a caption, its sub-items
// and the object it shows.  The shot table and the surface-point lists copy it
// into their widgets.
#include <string>
#include <vector>

namespace survey {

struct TLigneListe {
  std::string Caption;
  std::vector<std::string> SousItems;
  void* Donnee = nullptr;  // the object shown (not owned)

  // Sub-item i, added with empty ones before it when missing.
  std::string& SousItem(size_t i) {
    if (SousItems.size() <= i) SousItems.resize(i + 1);
    return SousItems[i];
  }
};

}  // namespace survey
