// Multi-line and turned texts on a recording canvas (each character 7 pixels
// wide, each line 16 pixels high).
#include <gtest/gtest.h>

#include <numbers>

#include "foundation/texte_canvas.h"
#include "platform/text_log_canvas.h"

using namespace foundation;
using platform::TextLogCanvas;

TEST(DessineTexteMultiLigne, AlignementDesLignes) {
  struct Case {
    const char* nom;
    int mode;
    bool centre;
    std::vector<std::string> attendu;
  };
  // "abcd" is 28 pixels wide, "ab" 14; two lines make a block 32 high whose
  // bottom is at y = 100 (116 when centred: 100 + 32 / 2).
  const Case cases[] = {
      {"gauche", 0, false, {"TextOut 10,68 esc=0 \"abcd\"", "TextOut 10,84 esc=0 \"ab\""}},
      {"centre", 1, false, {"TextOut 10,68 esc=0 \"abcd\"", "TextOut 17,84 esc=0 \"ab\""}},
      {"droite", 2, false, {"TextOut 10,68 esc=0 \"abcd\"", "TextOut 24,84 esc=0 \"ab\""}},
      {"autre mode", 5, false, {"TextOut 10,68 esc=0 \"abcd\"", "TextOut 10,84 esc=0 \"ab\""}},
      {"centre verticalement", 0, true, {"TextOut 10,84 esc=0 \"abcd\"", "TextOut 10,100 esc=0 \"ab\""}},
      {"lignes jointes", 0x81, false, {"TextOut 10,84 esc=0 \"abcd ab\""}},
  };
  for (const Case& c : cases) {
    TextLogCanvas canvas;
    DessineTexteMultiLigne(canvas, "abcd\r\nab", 10, 100, false, c.centre, c.mode);
    EXPECT_EQ(canvas.Log, c.attendu) << c.nom;
  }
}

TEST(DessineTexteMultiLigne, CadreEtTexteBlanc) {
  TextLogCanvas canvas;
  DessineTexteMultiLigne(canvas, "  \r\n ", 10, 100, true, false, 0);
  EXPECT_TRUE(canvas.Log.empty());
  // The frame holds the widest line, even when another line has more
  // characters ("iiiii" is narrower than "WWW" in a real font).
  canvas.CharWidth = 10;
  DessineTexteMultiLigne(canvas, "ab\nabc", 0, 50, true, false, 1);
  ASSERT_EQ(canvas.Log.size(), 3u);
  EXPECT_EQ(canvas.Log[0], "TextOut 5,18 esc=0 \"ab\"");
  EXPECT_EQ(canvas.Log[2], "Polyline 0,18 30,18 30,50 0,50 0,18");
}

TEST(TexteTourne, PointDeDepartEtBoite) {
  TextLogCanvas canvas;
  canvas.Font.Escapement = 0;
  // A quarter turn: the text runs upward, its start moved one text height
  // (16) to the left of (100, 100).
  TexteTourne(canvas, 100, 100, std::numbers::pi / 2, "abc", true);
  ASSERT_EQ(canvas.Log.size(), 2u);
  EXPECT_EQ(canvas.Log[0], "TextOut 84,100 esc=900 \"abc\"");
  // Width 21 along the text, height 16 across it.
  EXPECT_EQ(canvas.Log[1], "Polyline 84,100 84,79 100,79 100,100 84,100");
  EXPECT_EQ(canvas.Font.Escapement, 0);  // the font is back
  canvas.Log.clear();
  TexteTourne(canvas, 10.4, 50, 0, "ab", false);
  EXPECT_EQ(canvas.Log, (std::vector<std::string>{"TextOut 10,34 esc=0 \"ab\""}));
  canvas.Log.clear();
  TexteTourne(canvas, 0, 0, -std::numbers::pi / 4, "a", false);
  EXPECT_EQ(canvas.Log, (std::vector<std::string>{"TextOut 11,-11 esc=-450 \"a\""}));
}

TEST(TexteCanvas, MesuresDansUnePolice) {
  platform::CanvasFont f;
  EXPECT_EQ(LargeurTexteFonte(f, "éé"), 14);  // the default bitmaps: 7 pixels a character
  EXPECT_EQ(HauteurTexteFonte(f), 16);
}
