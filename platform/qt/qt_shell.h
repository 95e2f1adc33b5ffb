#pragma once
// Opens documents and web pages with the desktop's associated programs.
#include <QString>
#include <QUrl>
#include <optional>
#include <string>

#include "platform/shell.h"

namespace platform {

class QtShell final : public Shell {
 public:
  // A local file whose type the desktop associates with no program is not
  // handed on (the launcher would start and show nothing): NoProgram.
  OpenResult OpenDocument(const std::string& pathOrUrl) override;
};

// The URL of a path or of an URL text: texts with a scheme ("https://...",
// "mailto:...") are taken as URLs, anything else as a local file.
QUrl DocumentUrl(const std::string& pathOrUrl);

// Whether the desktop associates a program with the type of an existing
// local file, as its launcher (xdg-open) looks it up: true when a default
// program is set for the type xdg-mime finds in the file or for the type its
// name and content give; none when the desktop cannot be asked (no xdg-mime).
std::optional<bool> ProgramAssociated(const QString& path);

}  // namespace platform
