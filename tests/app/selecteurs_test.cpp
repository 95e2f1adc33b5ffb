// What the gallery, gallery-tree and long-section selectors list, and the
// search through the table's rows.
#include <gtest/gtest.h>

#include "app/document/selecteurs.h"
#include "app/table/recherche_visees.h"
#include "app/table/table_visees.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "tests/app/reseau_essai.h"

using namespace app;

TEST(Selecteurs, CoupesTrieesParDistanceDeDepart) {
  std::vector<CoupeCavite> coupes = {{"C", 12.5, 0}, {"vide", -1.0, 1}, {"A", 3.0, 2}, {"B", 12.5, 3}, {"D", 0.0, 4}};
  TrieCoupes(coupes);
  std::string ordre;
  for (const auto& c : coupes) ordre += c.Designation + " ";
  // A section without shots counts as -1; equal distances keep their order.
  EXPECT_EQ(ordre, "vide D A C B ");
}

TEST(Selecteurs, GaleriesTrieesEtNonRattacheesMarquees) {
  essai::TReseauEssai r;
  // "boyau" is surveyed but not joined to the rest.
  survey::TCavite* c = r.Cavite("Gouffre", "G principale: 1 2 3\nG Affluent: 10 11\nG boyau: 20 21\nE1 - 1\n1 - 2\n"
                                           "2 - 3\n2 - 10\n10 - 11\n20 - 21");
  std::vector<std::string> textes;
  for (const auto& e : ElementsGaleries(*c)) textes.push_back(e.Texte);
  ASSERT_EQ(textes.size(), 3u);
  EXPECT_EQ(textes[0], "Affluent");
  EXPECT_EQ(textes[1], "boyau !!!");
  EXPECT_EQ(textes[2], "principale");
}

TEST(Selecteurs, ArbreDesGaleries) {
  essai::TReseauEssai r;
  survey::TCavite* c = r.Cavite("Gouffre",
                                "G P: 1 2 3 4\nG A: 10 11\nG B: 20\nG C: 30\nE1 - 1\n1 - 2\n2 - 3\n3 - 4\n"
                                "2 - 10\n10 - 11\n11 - 20\n3 - 30");
  const ArbreGaleries a = CreeArbreGaleries(*c);
  std::vector<std::string> lignes;
  for (const NoeudGalerie& n : a.Noeuds) {
    int profondeur = 0;
    for (int p = n.Parent; p >= 0; p = a.Noeuds[static_cast<size_t>(p)].Parent) ++profondeur;
    lignes.push_back(std::string(static_cast<size_t>(profondeur), '.') + n.Nom);
  }
  // The cave at the root, each gallery under the one it hangs from.
  ASSERT_EQ(lignes.size(), 5u);
  EXPECT_EQ(lignes[0], "Gouffre");
  EXPECT_EQ(lignes[1], ".P");
  EXPECT_EQ(a.Noeuds[1].Galerie, c->UneGalerie(0));
  EXPECT_EQ(a.NoeudDe(c->UneGalerie(0)), 1);
  EXPECT_EQ(a.NoeudDe(nullptr), -1);
  for (const NoeudGalerie& n : a.Noeuds) {
    if (n.Galerie) {
      EXPECT_EQ(c->UneGalerie(n.Position), n.Galerie);
    }
  }
  std::string reste;
  for (size_t i = 2; i < lignes.size(); ++i) reste += lignes[i] + " ";
  EXPECT_NE(reste.find("..B"), std::string::npos) << reste;  // B hangs from A
  EXPECT_GT(a.Niveaux, 0);
}

TEST(Recherche, NomsCommentairesGaleriesEtReprise) {
  essai::TReseauEssai r;
  survey::TCavite* c = r.Cavite("Gouffre", "G Principale: 1 2 3 4\nG Puits: 10 11\nE1 - 1\n1 - 2\n2 - 3\n3 - 4\n"
                                           "2 - 10\n10 - 11");
  testsurvey::ReseauTest::PointNomme(*c, "3")->Commentaire = {"Grande salle"};
  TTableVisees t([](survey::TValeurVisee&, TextesLigne&) {});
  t.Remplit(*c, false);
  auto rangee = [&](const std::string& debut, const std::string& fin) {
    return t.LigneDe(testsurvey::ReseauTest::ViseeEntre(*c, debut, fin));
  };
  TRechercheVisees rech;
  rech.Prepare(t, nullptr);
  struct Cas {
    const char* texte;
    OptionsRecherche options;
    std::vector<std::pair<std::string, std::string>> attendues;  // successive rows
  };
  const Cas cas[] = {
      {"1", {}, {{"E1", "1"}, {"1", "2"}, {"2", "10"}, {"10", "11"}, {"E1", "1"}}},
      {"1", {true, false, false}, {{"E1", "1"}, {"1", "2"}, {"E1", "1"}}},
      {"salle", {false, true, false}, {{"2", "3"}, {"2", "3"}}},
      {"salle", {}, {}},
      {"puits", {false, false, true}, {{"2", "10"}}},
  };
  for (const Cas& k : cas) {
    int ligne = rech.Lance(k.texte, k.options, false);
    for (const auto& [a, b] : k.attendues) {
      EXPECT_EQ(ligne, rangee(a, b)) << k.texte << " " << a << ">" << b;
      ligne = rech.CherchePointSuivant();
    }
    if (k.attendues.empty()) {
      EXPECT_EQ(ligne, -1) << k.texte;
    }
  }
  // The lists are dropped when the rows change.
  rech.Invalide();
  EXPECT_EQ(rech.CherchePointSuivant(), -1);
}

TEST(Recherche, UnLeverChoisiSansTexteDonneSesVisees) {
  essai::TReseauEssai r;
  survey::TCavite* c = r.Cavite("Gouffre", "G A: 1 2 3\nE1 - 1\n1 - 2\n2 - 3");
  auto l = std::make_unique<survey::TLever>();
  survey::TLever* lever = c->Levers.Add(std::move(l));
  c->LaVisee(1)->LeLever = lever;
  c->LaVisee(2)->LeLever = lever;
  TTableVisees t([](survey::TValeurVisee&, TextesLigne&) {});
  t.Remplit(*c, false);
  const auto levers = TRechercheVisees::LeversDeLaTable(t);
  ASSERT_EQ(levers.size(), 2u);  // the default trip, then this one
  TRechercheVisees rech;
  rech.Prepare(t, lever);
  EXPECT_EQ(rech.Lance("", {}, true), 1);
  EXPECT_EQ(rech.CherchePointSuivant(), 2);
  EXPECT_EQ(rech.CherchePointSuivant(), 1);
  // "Tous" without a text finds nothing.
  rech.Prepare(t, nullptr);
  EXPECT_EQ(rech.Lance("", {}, false), -1);
}
