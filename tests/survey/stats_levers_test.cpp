// The survey trips' statistics of a cave, and their total length against
// Survex cavern's "Total length of survey legs" on the same shots.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "survey/rapport_calcul.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/environnement_document.h"
#include "tests/survey/reseau_aleatoire.h"
#include "tests/survey/reseau_calcul.h"
#include "tests/survey/survex_oracle.h"

namespace {

using namespace survey;
using testsurvey::EnvironnementDocument;
using testsurvey::ReseauCalcul;

TEST(StatsLevers, LongueursExtremitesEtNombreDeVisees) {
  EnvironnementDocument env;
  ReseauCalcul n;
  n.Surface("E1", 0, 0, 0);
  TCavite* c = n.Cavite("Grotte");
  TLever* a = n.Lever(c);
  TLever* b = n.Lever(c);
  n.Lever(c);  // used by no shot
  // Trip a: E1-1, 1-2 then, after b's 2-3, 3-4; trip b: 2-3, all excluded.
  n.Visee(c, "E1", "1", 0, 0, 10, a);
  n.Visee(c, "1", "2", 90, 0, 4, a);
  TVisee* exclue = n.Visee(c, "2", "3", 180, 0, 6.5, b);
  n.Visee(c, "3", "4", 0, 0, 2, a);
  exclue->Exclue = 1;
  n.R().CalculeReseau();
  a->LongLevee = 99;  // stale values go
  b->NbVisees = 7;
  c->InitStatsLevers();
  ASSERT_EQ(c->Levers.Count(), 2);  // the unused trip is gone
  EXPECT_EQ(c->Levers.UnObjet(0), a);
  EXPECT_EQ(c->Levers.UnObjet(1), b);
  EXPECT_DOUBLE_EQ(a->LongLevee, 16);
  EXPECT_DOUBLE_EQ(a->LongExclue, 0);
  EXPECT_EQ(a->NbVisees, 3);
  EXPECT_EQ(a->PointDeb, n.Point(c, "E1"));
  EXPECT_EQ(a->PointFin, n.Point(c, "4"));
  EXPECT_DOUBLE_EQ(b->LongLevee, 0);
  EXPECT_DOUBLE_EQ(b->LongExclue, 6.5);
  EXPECT_EQ(b->NbVisees, 1);
  EXPECT_EQ(b->PointDeb, n.Point(c, "2"));
  EXPECT_EQ(b->PointFin, n.Point(c, "3"));
}

TEST(StatsLevers, LongueurTotaleSelonSurvex) {
  if (!testsurvey::CavernDisponible()) GTEST_SKIP() << "cavern (Survex) is not installed";
  EnvironnementDocument env;
  ReseauCalcul n;
  TCavite* premiere = testsurvey::GenereCaviteAleatoire(n, {.Visees = 400, .Graine = 31}, "Première");
  TCavite* seconde = testsurvey::GenereCaviteAleatoire(n, {.Visees = 300, .Graine = 32}, "Seconde");
  std::mt19937 g(5);
  for (TCavite* c : {premiere, seconde})
    for (TVisee* v : c->Visees) v->Exclue = std::uniform_int_distribution<int>(0, 6)(g) == 0 ? 1 : 0;
  n.R().CalculeReseau();
  double levee = 0, exclue = 0;
  for (TCavite* c : {premiere, seconde}) {
    c->InitStatsLevers();
    for (const TLever* l : c->Levers) {
      levee += l->LongLevee;
      exclue += l->LongExclue;
    }
  }
  EXPECT_GT(exclue, 0);
  testsurvey::EcrivainSvx svx(n.R().Cavites);
  testsupport::DossierTemp dossier;
  std::string erreur;
  const double survex = testsurvey::LongueurLevesSurvex(svx.Texte(), dossier.Chemin(), erreur);
  std::cout << "[ oracle  ] Survex cavern (total length of survey legs)\n";
  ASSERT_GE(survex, 0) << erreur;
  EXPECT_NEAR(levee, survex, 0.01);
}

}  // namespace
