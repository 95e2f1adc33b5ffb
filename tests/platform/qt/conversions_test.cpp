// The text and colour conversions between the program and Qt.
#include <gtest/gtest.h>

#include "platform/qt/conversions_qt.h"

using platform::qt::CouleurQt;
using platform::qt::CouleurWindows;
using platform::qt::Q;
using platform::qt::VersStd;

TEST(ConversionsQt, TexteUtf8AllerRetour) {
  const std::string texte = "Gouffre de l’Œil — éèàçù °";
  const QString q = Q(texte);
  // Characters, not bytes: the accents are decoded.
  EXPECT_EQ(q.size(), 26);
  EXPECT_EQ(q.at(13), QChar(0x0152));  // Œ
  EXPECT_EQ(VersStd(q), texte);
  EXPECT_EQ(VersStd(Q(std::string_view("ab\0c", 4))), std::string("ab\0c", 4));
  EXPECT_TRUE(Q("").isEmpty());
}

TEST(ConversionsQt, CouleurWindowsRougeDansLOctetBas) {
  // 0x00BBGGRR
  const QColor c = CouleurQt(0x00123456);
  EXPECT_EQ(c.red(), 0x56);
  EXPECT_EQ(c.green(), 0x34);
  EXPECT_EQ(c.blue(), 0x12);
  EXPECT_EQ(c.alpha(), 255);
  EXPECT_EQ(CouleurQt(0x0000FF), QColor(Qt::red));
  EXPECT_EQ(CouleurWindows(QColor(Qt::blue)), 0xFF0000u);
  for (uint32_t w : {0x000000u, 0xFFFFFFu, 0x32CD32u, 0x123456u, 0xC0C0C0u}) EXPECT_EQ(CouleurWindows(CouleurQt(w)), w);
  // The high byte of a Windows value is not a colour.
  EXPECT_EQ(CouleurWindows(CouleurQt(0x01808080)), 0x808080u);
}
