#include "platform/qt/qt_shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace platform {

namespace {

// Bound on one query of the desktop's MIME database (a shell script).
constexpr int kDelaiRequeteMs = 10000;

// The output of "xdg-mime query <what> <argument>", trimmed; none when the
// query could not run or failed.
std::optional<QString> RequeteXdgMime(const QString& programme, const QString& quoi, const QString& argument) {
  QProcess p;
  p.setProgram(programme);
  p.setArguments({QStringLiteral("query"), quoi, argument});
  p.setStandardInputFile(QProcess::nullDevice());
  p.start();
  if (!p.waitForFinished(kDelaiRequeteMs)) {
    p.kill();
    p.waitForFinished();
    return std::nullopt;
  }
  if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return std::nullopt;
  return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

}  // namespace

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

std::optional<bool> ProgramAssociated(const QString& path) {
  const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (xdgMime.isEmpty()) return std::nullopt;
  // The type the launcher finds (by content on a bare desktop: a KML file is
  // "text/xml" there), then the type of the name and content by the shared
  // MIME database ("application/vnd.google-earth.kml+xml").
  QStringList types;
  const std::optional<QString> lu = RequeteXdgMime(xdgMime, QStringLiteral("filetype"), path);
  if (!lu) return std::nullopt;
  if (const QString t = lu->section(QLatin1Char(';'), 0, 0).trimmed(); !t.isEmpty()) types << t;
  const QString nom = QMimeDatabase().mimeTypeForFile(path).name();
  if (!nom.isEmpty() && !types.contains(nom)) types << nom;
  for (const QString& type : types) {
    const std::optional<QString> programme = RequeteXdgMime(xdgMime, QStringLiteral("default"), type);
    if (!programme) return std::nullopt;
    if (!programme->isEmpty()) return true;
  }
  return false;
}

OpenResult QtShell::OpenDocument(const std::string& pathOrUrl) {
  const QUrl url = DocumentUrl(pathOrUrl);
  if (url.isLocalFile()) {
    if (!QFileInfo::exists(url.toLocalFile())) return OpenResult::Failed;
    if (ProgramAssociated(url.toLocalFile()) == false) return OpenResult::NoProgram;
  }
  return QDesktopServices::openUrl(url) ? OpenResult::Opened : OpenResult::Failed;
}

}  // namespace platform
