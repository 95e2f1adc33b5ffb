#include "foundation/chaines.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>

#include "platform/scripted_dialogs.h"

using namespace foundation;

TEST(Chaines, CouperEtCadrer) {
  EXPECT_EQ(ChaineEspaces(3), "   ");
  EXPECT_EQ(Gauche("éléphant", 3), "élé");
  EXPECT_EQ(Droite("éléphant", 4), "hant");
  EXPECT_EQ(Droite("a", 5), "");
  EXPECT_EQ(Droite("a", 0), "");
  EXPECT_EQ(SansDerniers("a", 0), "");
  EXPECT_EQ(SansDerniers("a", 3), "");
  EXPECT_EQ(SansDerniers("abcé", 1), "abc");
  std::string s = "abcdef";
  CoupeFin(s, 2);
  EXPECT_EQ(s, "abcd");
  EXPECT_EQ(CoupeDebut(s, 3), "abc");
  EXPECT_EQ(s, "d");
  EXPECT_EQ(AvantCar("nom=valeur", '='), "nom");
  EXPECT_EQ(AvantCar("nom", '='), "");
  EXPECT_EQ(ApresCar("nom=valeur", '='), "valeur");
  EXPECT_EQ(ApresCar("nom", '='), "nom");
  EXPECT_EQ(CadreAGauche("ab", 4), "ab  ");
  EXPECT_EQ(CadreAGauche("abcdef", 4), "abcd");
  EXPECT_EQ(CadreAGauche("é", 3), "é  ");
  EXPECT_EQ(CadreADroite("ab", 4), "  ab");
  EXPECT_EQ(CadreADroite("abcdef", 4), "abcdef");
  EXPECT_EQ(CentreTexte("abc", 8), "  abc");
  EXPECT_EQ(CentreTexte("abcdefghij", 8), "abcdefgh");
  EXPECT_EQ(OteBlancs("  a b \t "), "a b \t");
  EXPECT_EQ(MajusculeInitiale("école"), "École");
  EXPECT_EQ(MajusculeInitiale(""), "");
}

TEST(Chaines, ExtraitChamp) {
  std::string s = "a;b;c";
  EXPECT_EQ(ExtraitChamp(s, ';'), "a");
  EXPECT_EQ(s, "b;c");
  std::string t = "abc";
  EXPECT_EQ(ExtraitChamp(t, ';'), "abc");
  EXPECT_EQ(t, "");
  std::string u = "12   34  56";
  EXPECT_EQ(ExtraitChampNet(u, ' '), "12");
  EXPECT_EQ(ExtraitChampNet(u, ' '), "34");
  EXPECT_EQ(ExtraitChampNet(u, ' '), "56");
  EXPECT_EQ(u, "");
}

TEST(Chaines, AccentsMac) {
  // Bytes 131, 136, 137, 142, 143, 144 read through Windows-1252.
  std::string s = "\u0192\u02C6\u2030\u017D\u008F\u0090x";
  ConvertitAccentsMac(s);
  EXPECT_EQ(s, "Eàâéèêx");
}

TEST(Chaines, ReelsEnTexte) {
  struct Case {
    double x;
    int w, d;
    std::string attendu;
  };
  const Case cases[] = {
      {123456.789, 8, 2, "123456.79"},
      {-1.5, 6, 1, "  -1.5"},
      {2.5, 0, 0, "3"},
      {-2.5, 0, 0, "-3"},
      {0.125, 0, 2, "0.13"},
      {1.005, 0, 2, "1.00"},  // 1.005 is stored just below the tie
      {3.14159, 0, 3, "3.142"},
      {-0.0001, 0, 2, "0.00"},
      {1e6, 3, 0, "1000000"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReelEnStr(c.x, c.w, c.d), c.attendu) << c.x;
  EXPECT_EQ(ReelEnStrFixe(123456.789, 8, 2), "123456.7");
  EXPECT_EQ(ReelEnStrFixe(1.5, 6, 2), "  1.50");
  EXPECT_EQ(ReelEnStrZeros(-5, 4, 0), "00-5");
  EXPECT_EQ(ReelEnStrZeros(7, 3, 0), "007");
  EXPECT_EQ(ReelEnStrMetres(12.345, 0, 2), "12.35 m");
  EXPECT_EQ(EntierEnStr(-42), "-42");
}

TEST(Chaines, TexteEnReels) {
  EXPECT_EQ(NettoieNombre(" 1 234.5 "), "1234.5");
  EXPECT_EQ(NettoieNombre(""), "0");
  EXPECT_EQ(NettoieNombre("   "), "0");
  EXPECT_EQ(NettoieNombre("-"), "-0");
  struct Case {
    const char* texte;
    double valeur;
  };
  const Case cases[] = {
      {"", 0}, {"1 234.5", 1234.5}, {"-2.5e3", -2500}, {"+7", 7}, {".5", 0.5},
      {"12,5", 0}, {"abc", 0}, {"nan", 0}, {"inf", 0}, {"0x10", 0}, {"1e", 0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(TexteEnReel(c.texte), c.valeur) << c.texte;

  std::string s = "12.5;abc;3x;;";
  bool err;
  EXPECT_DOUBLE_EQ(ExtraitReelErreur(s, ';', err), 12.5);
  EXPECT_FALSE(err);
  EXPECT_DOUBLE_EQ(ExtraitReelErreur(s, ';', err), 0);
  EXPECT_TRUE(err);
  EXPECT_DOUBLE_EQ(ExtraitReelErreur(s, ';', err), 3);
  EXPECT_TRUE(err);
  EXPECT_DOUBLE_EQ(ExtraitReelErreur(s, ';', err), 0);  // empty field reads "0"
  EXPECT_FALSE(err);
}

TEST(Chaines, NombresIndependantsDeLaLocale) {
  const std::string avant = ReelEnStr(1234.5, 0, 2);
  const char* ancienne = std::setlocale(LC_ALL, nullptr);
  const std::string sauve = ancienne ? ancienne : "C";
  if (!std::setlocale(LC_ALL, "fr_FR.UTF-8")) GTEST_SKIP() << "locale fr_FR.UTF-8 absente";
  std::locale::global(std::locale("fr_FR.UTF-8"));
  EXPECT_EQ(ReelEnStr(1234.5, 0, 2), avant);
  EXPECT_EQ(ReelEnStr(1234.5, 0, 2), "1234.50");
  EXPECT_DOUBLE_EQ(TexteEnReel("1234.5"), 1234.5);
  EXPECT_EQ(NettoieNombre("1 234.5"), "1234.5");
  std::locale::global(std::locale::classic());
  std::setlocale(LC_ALL, sauve.c_str());
}

TEST(Chaines, DemandeReel) {
  platform::ScriptedDialogs d;
  platform::ScopedDialogs garde(d);
  d.QueuePrompt(std::string(" 1 2.5"));
  d.QueuePrompt(std::string("x"));
  d.QueuePrompt(std::nullopt);
  double x = -1;
  EXPECT_TRUE(DemandeReel("Valeur ?", x));
  EXPECT_DOUBLE_EQ(x, 12.5);
  EXPECT_FALSE(DemandeReel("Valeur ?", x));
  EXPECT_DOUBLE_EQ(x, 0);
  x = 3;
  EXPECT_FALSE(DemandeReel("Valeur ?", x));
  EXPECT_DOUBLE_EQ(x, 3);
  ASSERT_EQ(d.Log().size(), 3u);
  EXPECT_EQ(d.Log()[0].text, "Valeur ?");
  EXPECT_EQ(d.Log()[0].caption, "");
}

TEST(Chaines, IncrementeNom) {
  struct Case {
    const char* nom;
    bool monte;
    const char* attendu;
  };
  const Case cases[] = {
      {"A09", true, "A10"},  {"A007", true, "A8"},  {"A0", false, "A-1"}, {"AZ", true, "BA"},
      {"ZZ", true, "AA"},    {"B", false, "A"},     {"12", true, "13"},   {"a9b", true, "a9c"},
      {"x-", true, "x-"},    {"az", true, "ba"},    {"BA", false, "AZ"},  {"A10", false, "A9"},
      {"", true, ""},        {"99", true, "100"},   {"P99999999999999999999", true, "P100000000000000000000"},
      {"Q100000000000000000000", false, "Q99999999999999999999"},
  };
  for (const Case& c : cases) EXPECT_EQ(IncrementeNom(c.nom, c.monte), c.attendu) << c.nom << (c.monte ? " +" : " -");
  bool retenue = false;
  EXPECT_EQ(IncrementeLettre('z', retenue, true), 'a');
  EXPECT_TRUE(retenue);
  EXPECT_EQ(IncrementeLettre('c', retenue, false), 'b');
  EXPECT_FALSE(retenue);
}
