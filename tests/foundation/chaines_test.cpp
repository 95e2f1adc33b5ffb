#include "foundation/chaines.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <functional>
#include <limits>
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

// Every number routine over values that do not fit: the text is printable
// ASCII made only of what the routine wrote, a finite value is written in full
// and reads back, NaN and the infinities give their fixed texts.
TEST(Chaines, NombresExtremesEnTexte) {
  const double valeurs[] = {0.0,
                            -0.0,
                            1e308,
                            -1e308,
                            std::numeric_limits<double>::max(),
                            std::numeric_limits<double>::lowest(),
                            std::numeric_limits<double>::min(),
                            std::numeric_limits<double>::denorm_min(),
                            -std::numeric_limits<double>::denorm_min(),
                            1e-300,
                            123456789012.345,
                            -9.563e305,
                            std::numeric_limits<double>::quiet_NaN(),
                            -std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity()};
  // relit: the text reads back within one unit of its last decimal (and the
  // rounding of the double); coupe: the text is cut to that width.
  struct Routine {
    const char* nom;
    std::function<std::string(double)> texte;
    bool relit;
    int coupe;
  };
  const Routine routines[] = {
      {"ReelEnStr(x, 12, 2)", [](double x) { return ReelEnStr(x, 12, 2); }, true, 0},
      {"ReelEnStr(x, 0, 60)", [](double x) { return ReelEnStr(x, 0, 60); }, true, 0},
      {"ReelEnStr(x, 6, 0)", [](double x) { return ReelEnStr(x, 6, 0); }, true, 0},
      {"ReelEnStrFixe(x, 9, 2)", [](double x) { return ReelEnStrFixe(x, 9, 2); }, false, 9},
      {"ReelEnStrMetres(x, 7, 2)", [](double x) { return ReelEnStrMetres(x, 7, 2); }, false, 0},
      {"ReelEnStrZeros(x, 8, 1)", [](double x) { return ReelEnStrZeros(x, 8, 1); }, false, 0},
      {"ReelEnTexteFixe(x, 4)", [](double x) { return ReelEnTexteFixe(x, 4); }, true, 0},
      {"ReelEnTexteFixe(x, 60)", [](double x) { return ReelEnTexteFixe(x, 60); }, true, 0},
      {"ReelEnTexteExact(x)", [](double x) { return ReelEnTexteExact(x); }, true, 0},
  };
  for (const Routine& r : routines)
    for (double x : valeurs) {
      const std::string t = r.texte(x);
      SCOPED_TRACE(std::string(r.nom) + " x=" + ReelEnTexteExact(x) + " -> [" + t + "]");
      ASSERT_FALSE(t.empty());
      for (char c : t) ASSERT_TRUE(c >= 0x20 && c < 0x7F) << "byte " << static_cast<int>(static_cast<unsigned char>(c));
      if (r.coupe > 0) EXPECT_EQ(t.size(), static_cast<size_t>(r.coupe));
      const std::string net = OteBlancs(t);
      if (!std::isfinite(x)) {
        const std::string attendu = std::isnan(x) ? "NAN" : (x > 0 ? "+INF" : "-INF");
        EXPECT_EQ(net.substr(0, attendu.size()), attendu);
        continue;
      }
      if (!r.relit) continue;
      double lu = 0;
      ASSERT_TRUE(LitReel(net, lu));
      EXPECT_LE(std::fabs(lu - x), std::fabs(x) * 1e-15 + 1);
    }
  // Huge values are written in full, digit by digit.
  EXPECT_EQ(ReelEnStr(1e308, 0, 2).size(), 312u);
  EXPECT_EQ(ReelEnStr(-std::numeric_limits<double>::max(), 0, 60).size(), 1u + 309 + 1 + 60);
  EXPECT_EQ(ReelEnStr(std::numeric_limits<double>::quiet_NaN(), 6, 1), "   NAN");
  EXPECT_EQ(ReelEnStr(-std::numeric_limits<double>::infinity(), 0, 1), "-INF");
  EXPECT_EQ(ReelEnTexteFixe(2.5, 0), "2");  // correctly rounded: half to even
  EXPECT_EQ(ReelEnTexteFixe(-0.00001, 4), "0.0000");
  EXPECT_EQ(EntierEnStr(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
  EXPECT_EQ(EntierEnStr(std::numeric_limits<int64_t>::max()), "9223372036854775807");
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
