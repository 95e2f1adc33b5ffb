#include "foundation/utilitaires.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/dates.h"

using namespace foundation;

TEST(Utilitaires, CompareNomsPoints) {
  std::vector<std::string> noms = {"B", "10b", "A1", "10", "2", " 3 ", "02", "99999999999999999999", "A"};
  std::stable_sort(noms.begin(), noms.end(),
                   [](const std::string& a, const std::string& b) { return CompareNomsPoints(a, b) < 0; });
  EXPECT_EQ(noms, (std::vector<std::string>{"02", "2", " 3 ", "10", "10b", "99999999999999999999", "A", "A1", "B"}));
  EXPECT_EQ(CompareNomsPoints("x", " x "), 0);
  EXPECT_EQ(CompareNomsPoints("2", "10"), -1);
  EXPECT_EQ(CompareNomsPoints("A1", "10"), 1);
}

TEST(Utilitaires, NomsDeFichiers) {
  EXPECT_EQ(NettoieNomFichier(" a/b?c "), "a_b_c");
  EXPECT_EQ(NettoieNomFichier("|:*<>\\/?\""), "_________");
  EXPECT_FALSE(NomFichierNouveauValide("   "));
  EXPECT_FALSE(NomFichierNouveauValide("a:b"));
  EXPECT_TRUE(NomFichierNouveauValide("gravelune-nom-qui-n-existe-pas.cav"));
  const std::string t = NomFichierTemp();
  EXPECT_EQ(t.rfind("TmpTxt", 0), 0u);
  EXPECT_EQ(t.find(':'), std::string::npos);
  EXPECT_EQ(t.substr(t.size() - 4), ".tmp");
}

TEST(Utilitaires, Sentinelles) {
  EXPECT_NEAR(ValeurIndefinie / -1.2056396e299, 1.0, 1e-7);
  EXPECT_EQ(ValeurIndefiniePositive, -ValeurIndefinie);
  EXPECT_TRUE(EstIndefini(ValeurIndefinie));
  EXPECT_TRUE(EstIndefini(-std::pow(9.563, 305)));
  EXPECT_FALSE(EstIndefini(0.0));
  EXPECT_FALSE(EstIndefini(ValeurIndefiniePositive));
  EXPECT_EQ(DateNonRenseignee, 1.7976931348623157e308);
  EXPECT_EQ(SigneReel(0.0), 1);
  EXPECT_EQ(SigneReel(-0.5), -1);
}

TEST(Utilitaires, LigneLaPlusLongue) {
  EXPECT_EQ(LigneLaPlusLongue("ab\r\nabcd\nwxyz"), "abcd");
  EXPECT_EQ(LigneLaPlusLongue("   "), "");
  EXPECT_EQ(LigneLaPlusLongue("éé\nabc"), "abc");
}

TEST(Arrondi, DemiVersPair) {
  struct Case {
    double x;
    int32_t attendu;
  };
  const Case cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {1e20, INT32_MAX}, {NAN, 0}};
  for (const Case& c : cases) EXPECT_EQ(Arrondi(c.x), c.attendu) << c.x;
  EXPECT_EQ(Tronque(-2.7), -2);
}

TEST(Dates, Textes) {
  EXPECT_EQ(DateEnTexte(DateNonRenseignee), "non renseignée");
  EXPECT_EQ(DateEnTexte(0), "30/12/1899");
  EXPECT_EQ(DateEnTexte(45000.75), "15/03/2023");
  EXPECT_EQ(DateEnTexte(-1.25), "29/12/1899");
  EXPECT_EQ(DateEnTexte(1e12), "non renseignée");
  TDateTime d;
  ASSERT_TRUE(EncodeDate(2024, 2, 29, d));
  EXPECT_EQ(DateEnTexte(d), "29/02/2024");
  EXPECT_FALSE(EncodeDate(2023, 2, 29, d));
  ASSERT_TRUE(TexteEnDate("01/07/1998", d));
  EXPECT_EQ(DateEnTexte(d), "01/07/1998");
  EXPECT_FALSE(TexteEnDate("32/01/2000", d));
  EXPECT_EQ(HeureEnTexte(0.5), "12:00:00");
}

TEST(Catalogue, RemplaceMarques) {
  const auto& sing = MotsSinguliers();
  EXPECT_EQ(RemplaceMarques(Msg(IdMsg::CreeAPartirDuEnCours), sing[3].Mots),
            "Crée un nouveau symbole à partir du symbole en cours");
  EXPECT_EQ(MessageGenre(PaireGenre::CreerAPartirDe, sing[3]), "Crée un nouveau symbole à partir du symbole en cours");
  EXPECT_EQ(MessageGenre(PaireGenre::CreerAPartirDe, sing[0]),
            "Crée une nouvelle texture à partir de la texture en cours");
  EXPECT_EQ(MessageGenre(PaireGenre::Selectionnes, MotsPluriels()[4]), "flèches nord sélectionnées");
  EXPECT_EQ(MessageGenre(PaireGenre::Remplacer, sing[6]), "Remplacer un type d'écriture par un autre");
  EXPECT_EQ(RemplaceMarques("%%%% et %%%%", {"a"}), "a et %%%%");
  EXPECT_EQ(RemplaceMarques("%%%%", {"a", "b"}), "a");
  EXPECT_EQ(RemplaceMarques("%%%% %%%%", {"x%%%%", "y"}), "xy %%%%");
  EXPECT_EQ(RemplaceMarques("%%%%%", {"z"}), "z%");
}

TEST(Catalogue, Texte) {
  TMesStringList l = {"  un ", "", "deux  "};
  EXPECT_EQ(l.Texte(), "un  deux");
  EXPECT_EQ(TMesStringList{}.Texte(), "");
}
