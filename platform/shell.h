#pragma once
// Opening a document or a web page with the program the desktop associates
// with it (user manual, KML preview, online declination calculator).
#include <string>
#include <vector>

#include "platform/scoped_port.h"

namespace platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // A file path or an URL ("https://..."); false when nothing could open it.
  virtual bool OpenDocument(const std::string& pathOrUrl) = 0;

  // The port in use; a scripted one (answering false) stands in until one is installed.
  static Shell& Current();
  static Shell* Install(Shell* s);
};
using ScopedShell = ScopedPort<Shell>;

// Records the documents asked for and answers Result.
class ScriptedShell : public Shell {
 public:
  explicit ScriptedShell(bool result = true) : Result(result) {}
  bool OpenDocument(const std::string& pathOrUrl) override {
    Opened.push_back(pathOrUrl);
    return Result;
  }
  bool Result;
  std::vector<std::string> Opened;
};

}  // namespace platform
