#include "platform/qt/qt_shell.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace platform {

QUrl DocumentUrl(const std::string& pathOrUrl) {
  const QString s = QString::fromStdString(pathOrUrl).trimmed();
  const qsizetype colon = s.indexOf(QLatin1Char(':'));
  // A scheme has two letters at least, so that "C:" is not one.
  if (colon > 1) {
    const QString scheme = s.left(colon);
    bool isScheme = scheme.at(0).isLetter();
    for (QChar c : scheme)
      if (!(c.isLetterOrNumber() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.')))
        isScheme = false;
    if (isScheme) return QUrl(s);
  }
  return QUrl::fromLocalFile(QFileInfo(s).absoluteFilePath());
}

bool QtShell::OpenDocument(const std::string& pathOrUrl) {
  const QUrl url = DocumentUrl(pathOrUrl);
  if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) return false;
  return QDesktopServices::openUrl(url);
}

}  // namespace platform
