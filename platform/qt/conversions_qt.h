#pragma once
// Conversions between the program's values and Qt's: UTF-8 text and QString,
// Windows colour values (red in the low byte, blue in the third) and QColor.
#include <QColor>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform::qt {

// UTF-8 text as a QString, and back.
QString Q(std::string_view texte);
std::string VersStd(const QString& texte);

// A Windows colour value as an opaque QColor, and back (alpha dropped).
QColor CouleurQt(uint32_t couleur);
uint32_t CouleurWindows(const QColor& couleur);

}  // namespace platform::qt
