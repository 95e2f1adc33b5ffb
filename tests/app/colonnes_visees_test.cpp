// The shot table's columns: widths of each layout, the comment column's
// share, the target column's caption, and the colours of rows and cells.
#include <gtest/gtest.h>

#include "app/table/colonnes_visees.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"

using namespace app;

// The widths of the columns when the table is made, columns 0 to 18: Station
// 90, Point Visé 80, AZ 60, P 60, dH 50, L 50, Lh 50, Deb Tpf 60, Fin Tpf
// 60, X 80, Y 80, Z 50, S Lh 60, L Ga 50, L Dr 50, H sup 50, H Inf 50, the
// untitled column 40 and Commentaires 150.
constexpr LargeursColonnes kLargeursALaCreation = {90, 80, 60, 60, 50, 50, 50, 60, 60, 80,
                                                    80, 50, 60, 50, 50, 50, 50, 40, 150};

TEST(ColonnesVisees, LargeursALaCreation) {
  for (size_t i = 0; i < kLargeursALaCreation.size(); ++i)
    EXPECT_EQ(LargeursInitiales()[i], kLargeursALaCreation[i]) << "colonne " << i;
}

TEST(ColonnesVisees, LargeursDeChaqueDisposition) {
  struct Cas {
    const char* nom;
    EtatColonnes etat;
    std::array<int, 10> l7a16;  // columns 7 to 16
  };
  const Cas cas[] = {
      {"simple sans topofil", {false, false, false}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"simple avec topofil", {true, false, false}, {60, 60, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"coordonnées (le topofil s'efface)", {true, true, false}, {0, 0, 80, 80, 57, 60, 0, 0, 0, 0}},
      {"dimensions", {false, false, true}, {0, 0, 0, 0, 0, 0, 40, 40, 40, 40}},
      {"coordonnées et dimensions", {false, true, true}, {0, 0, 80, 80, 57, 60, 40, 40, 40, 40}},
  };
  for (const Cas& c : cas) {
    const LargeursColonnes l = LargeursDisposition(c.etat, 2000);
    // Columns 0 to 6 keep the widths they were made with in every layout.
    for (int i = 0; i < 7; ++i) EXPECT_EQ(l[static_cast<size_t>(i)], kLargeursALaCreation[static_cast<size_t>(i)]) << c.nom << " colonne " << i;
    for (int i = 7; i <= 16; ++i) EXPECT_EQ(l[static_cast<size_t>(i)], c.l7a16[static_cast<size_t>(i - 7)]) << c.nom << " colonne " << i;
    EXPECT_EQ(l[17], 40) << c.nom;
    int somme = 0;
    for (int i = 0; i < 18; ++i) somme += l[static_cast<size_t>(i)];
    EXPECT_EQ(l[18], 2000 - somme) << c.nom;
  }
}

TEST(ColonnesVisees, LaColonneCommentairesPrendLeResteSansDescendreSous150) {
  LargeursColonnes l{};
  l[0] = 900;  // columns 0 to 17 sum to 900
  EXPECT_EQ(LargeurCommentaires(1000, l), 150);
  EXPECT_EQ(LargeurCommentaires(1200, l), 300);
  EXPECT_EQ(LargeurCommentaires(500, l), 150);
  // The plain layout sums to 480: a 1000-pixel table leaves 520.
  EXPECT_EQ(LargeursDisposition({}, 1000)[18], 520);
  // The azimuth and slope columns widen to the width their widest text needs,
  // taken from the comment column; a smaller need leaves them at 60.
  const LargeursColonnes larges = LargeursDisposition({}, 1000, 75);
  EXPECT_EQ(larges[2], 75);
  EXPECT_EQ(larges[3], 75);
  EXPECT_EQ(larges[4], 50);
  EXPECT_EQ(larges[18], 490);
  EXPECT_EQ(LargeursDisposition({}, 1000, 40)[2], 60);
  // The widest texts carry the back-sight mark, six characters and the unit.
  EXPECT_EQ(TextesMesuresLesPlusLarges()[0], "i -888.8 °");
  EXPECT_EQ(TextesMesuresLesPlusLarges()[2], "i -888.8 %");
}

TEST(ColonnesVisees, TitreDuPointViseSelonLesViseesDHabillage) {
  EXPECT_EQ(TitrePointVise(false, false), "Point Visé  ");
  EXPECT_EQ(TitrePointVise(false, true), "Point Visé  ");
  EXPECT_EQ(TitrePointVise(true, false), "Point Visé  +");
  EXPECT_EQ(TitrePointVise(true, true), "Point Visé  -");
  EXPECT_EQ(TitresColonnes()[17], "");
  EXPECT_EQ(TitresColonnes()[18], "Commentaires");
  EXPECT_TRUE(ColonneADroite(2) && ColonneADroite(16) && !ColonneADroite(7) && !ColonneADroite(18));
}

TEST(ColonnesVisees, CouleursParEtat) {
  constexpr uint32_t S = 0x123456;  // the theme's highlight colour
  survey::TPointSpeleo rattache, isole, suiteFaite, suitePossible;
  rattache.PtRattache = true;
  auto terminee = std::make_unique<survey::TTypeDObs>();
  terminee->Observation.EtatSuite = survey::TEtatSuite::eeTermine;
  suiteFaite.SuiteObs.Add(std::move(terminee));
  suitePossible.SuiteObs.Add(std::make_unique<survey::TTypeDObs>());  // in progress
  struct Cas {
    const char* nom;
    bool exclue, inversee;
    survey::TPointSpeleo* origine;
    survey::TPointSpeleo* fin;
    std::array<uint32_t, 4> couleurs;  // columns 0, 1, 2, 17
  };
  const Cas cas[] = {
      {"normale", false, false, &rattache, nullptr, {S, 0x000000, 0, 0}},
      {"inversée", false, true, &rattache, nullptr, {0x000000, S, 0, 0}},
      {"exclue", true, false, &rattache, nullptr, {0x32CD32, 0x008000, 0, 0}},
      {"exclue inversée", true, true, &rattache, nullptr, {0x008000, 0x32CD32, 0, 0}},
      {"origine non rattachée", false, false, &isole, nullptr, {S, 0x0000FF, 0, 0}},
      {"sans origine", false, false, nullptr, nullptr, {S, 0x0000FF, 0, 0}},
      {"suite faite", false, false, &rattache, &suiteFaite, {S, 0x000000, 0, 0x008000}},
  };
  for (const Cas& c : cas) {
    survey::TVisee v;
    v.Exclue = c.exclue ? 1 : 0;
    v.InvVisee = c.inversee;
    v.PtOrigCalc = c.origine;
    v.PtCalc = c.fin;
    const int colonnes[] = {0, 1, 2, 17};
    for (size_t i = 0; i < 4; ++i)
      EXPECT_EQ(CouleurCellule(v, colonnes[i], S), c.couleurs[i]) << c.nom << " colonne " << colonnes[i];
    v.PtOrigCalc = v.PtCalc = nullptr;
  }
  // A continuation still possible is red.
  survey::TVisee v;
  v.PtCalc = &suitePossible;
  ASSERT_TRUE(suitePossible.SuitePossible());
  EXPECT_EQ(CouleurSuites(v), 0x0000FFu);
  v.PtCalc = nullptr;
  // Splay rows are grey in their first two columns.
  survey::TViseeHabi h;
  EXPECT_EQ(CouleurCellule(h, 0, S), 0x808080u);
  EXPECT_EQ(CouleurCellule(h, 1, S), 0x808080u);
  EXPECT_EQ(CouleurCellule(h, 5, S), 0x000000u);
}
