#include "platform/qt/conversions_qt.h"

#include <QByteArray>

namespace platform::qt {

QString Q(std::string_view texte) { return QString::fromUtf8(texte.data(), static_cast<qsizetype>(texte.size())); }

std::string VersStd(const QString& texte) {
  const QByteArray utf8 = texte.toUtf8();
  return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

QColor CouleurQt(uint32_t couleur) {
  return QColor(static_cast<int>(couleur & 0xFF), static_cast<int>((couleur >> 8) & 0xFF),
                static_cast<int>((couleur >> 16) & 0xFF));
}

uint32_t CouleurWindows(const QColor& couleur) {
  return static_cast<uint32_t>(couleur.red()) | (static_cast<uint32_t>(couleur.green()) << 8) |
         (static_cast<uint32_t>(couleur.blue()) << 16);
}

}  // namespace platform::qt
