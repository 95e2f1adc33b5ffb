#pragma once
// Opening a document or a web page with the program the desktop associates
// with it (user manual, KML preview, online declination calculator).
#include <string>
#include <vector>

#include "platform/scoped_port.h"

namespace platform {

// What became of a request to open a document.
enum class OpenResult {
  Opened,     // handed to the program the desktop associates with it
  NoProgram,  // the desktop associates no program with the document's type
  Failed,     // it could not be opened (missing file, nothing to start it with)
};

class Shell {
 public:
  virtual ~Shell() = default;
  // A file path or an URL ("https://...").
  virtual OpenResult OpenDocument(const std::string& pathOrUrl) = 0;

  // The port in use; a scripted one (answering Failed) stands in until one is installed.
  static Shell& Current();
  static Shell* Install(Shell* s);
};
using ScopedShell = ScopedPort<Shell>;

// Records the documents asked for and answers Result.
class ScriptedShell : public Shell {
 public:
  explicit ScriptedShell(OpenResult result = OpenResult::Opened) : Result(result) {}
  OpenResult OpenDocument(const std::string& pathOrUrl) override {
    Opened.push_back(pathOrUrl);
    return Result;
  }
  OpenResult Result;
  std::vector<std::string> Opened;
};

}  // namespace platform
