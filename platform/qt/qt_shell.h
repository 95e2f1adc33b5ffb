#pragma once
// Opens documents and web pages with the desktop's associated programs.
#include <QUrl>
#include <string>

#include "platform/shell.h"

namespace platform {

class QtShell final : public Shell {
 public:
  bool OpenDocument(const std::string& pathOrUrl) override;
};

// The URL of a path or of an URL text: texts with a scheme ("https://...",
// "mailto:...") are taken as URLs, anything else as a local file.
QUrl DocumentUrl(const std::string& pathOrUrl);

}  // namespace platform
