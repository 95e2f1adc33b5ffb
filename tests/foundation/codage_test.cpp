#include "foundation/codage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace foundation;

TEST(Codage, Windows1252SansPerte) {
  std::string tous;
  for (int i = 0; i < 256; ++i) tous.push_back(static_cast<char>(i));
  const std::string utf8 = DepuisWindows1252(tous);
  EXPECT_EQ(VersWindows1252(utf8), tous);
  EXPECT_EQ(NombreCaracteres(utf8), 256u);
  // The undefined bytes keep their own code.
  EXPECT_EQ(DepuisWindows1252("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
  EXPECT_EQ(DepuisWindows1252("\x80"), "€");
  EXPECT_EQ(VersWindows1252("日"), "?");
}

TEST(Codage, AccordAvecIconv) {
  const std::string texte = "éèàçœ€";
  FILE* p = ::popen("printf '%s' 'éèàçœ€' | iconv -f UTF-8 -t WINDOWS-1252 2>/dev/null", "r");
  if (!p) GTEST_SKIP() << "iconv absent";
  std::string sortie;
  char tampon[64];
  size_t n;
  while ((n = std::fread(tampon, 1, sizeof tampon, p)) > 0) sortie.append(tampon, n);
  const int rc = ::pclose(p);
  if (rc != 0 || sortie.empty()) GTEST_SKIP() << "iconv sans WINDOWS-1252";
  // Oracle: iconv.
  EXPECT_EQ(VersWindows1252(texte), sortie);
  EXPECT_EQ(DepuisWindows1252(sortie), texte);
  EXPECT_EQ(sortie, "\xE9\xE8\xE0\xE7\x9C\x80");
}

TEST(Codage, Utf8Malforme) {
  // A stray continuation byte and a truncated sequence each count as one character.
  const std::string s = "a\x80" "b\xC3";
  EXPECT_EQ(NombreCaracteres(s), 4u);
  EXPECT_EQ(VersWindows1252(s), "a?b?");
}

TEST(Codage, Casse) {
  EXPECT_EQ(EnMajuscules("éèàçœÿabc"), "ÉÈÀÇŒŸABC");
  EXPECT_EQ(EnMinuscules("ÉÈÀÇŒŸABC"), "éèàçœÿabc");
  EXPECT_EQ(EnMajuscules("×÷"), "×÷");
}
