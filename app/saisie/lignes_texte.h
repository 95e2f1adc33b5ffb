#pragma once
// The comment lines of a point or an observation as one text, each line
// followed by the separator.
#include <string>

#include "foundation/catalogue.h"

namespace app {

inline std::string Lignes(const foundation::TMesStringList& l, const char* sep) {
  std::string t;
  for (const std::string& s : l) t += s + sep;
  return t;
}

}  // namespace app
