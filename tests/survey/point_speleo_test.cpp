// Stations, their continuation notes and galleries.
#include <gtest/gtest.h>

#include "platform/scripted_dialogs.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "tests/survey/reseau_test.h"

using namespace survey;
using testsurvey::ReseauTest;

TEST(PointSpeleo, DenivStr) {
  struct Cas {
    double dz;
    const char* texte;
  };
  const Cas cas[] = {{0.3, "0 m"}, {-0.49, "0 m"}, {0, "0 m"}, {12.4, "+ 12 m"}, {-3.2, "-3 m"}, {1234.6, "+ 1235 m"}};
  for (const Cas& c : cas) {
    TPointSpeleo p;
    p.DzPt = c.dz;
    EXPECT_EQ(p.DenivStr(), c.texte) << c.dz;
  }
}

TEST(PointSpeleo, ValeursDUnNouveauPointEtLargeurs) {
  TPointSpeleo p;
  EXPECT_EQ(p.TypePoint, 0);
  EXPECT_EQ(p.vIndPtOrigine, -1);
  EXPECT_EQ(p.IndPtBoucle, -1);
  EXPECT_EQ(p.IndexPtCav, 0);
  EXPECT_FALSE(p.InvBords);
  EXPECT_FALSE(p.EstPointSurface());
  p.TypePoint = PointSurfaceImporte;
  EXPECT_TRUE(p.EstPointSurface());
  p.TypePoint = PointEntreeVirtuel;
  EXPECT_FALSE(p.EstPointSurface());
  p.LargeurDR = 2;
  p.LargeurGA = 3;
  p.CalculeLargeurs();
  EXPECT_EQ(p.LDCalc, 2);
  EXPECT_EQ(p.LGCalc, 3);
  TVisee arrivee;
  arrivee.InvVisee = true;
  p.ViseeAvant = &arrivee;
  p.CalculeLargeurs();
  EXPECT_EQ(p.LDCalc, 3) << "walked reversed: the walls change sides";
  EXPECT_EQ(p.LGCalc, 2);
  p.ViseeAvant = nullptr;
  p.PrecisTotX = 3;
  p.PrecisTotY = 4;
  EXPECT_DOUBLE_EQ(p.PrecisTot(), 5);
}

TEST(PointSpeleo, SuitesEtRapport) {
  TOperateur alice;
  alice.DesignOpe = "Alice";
  TPointSpeleo p;
  p.DesignPTopo = "12";
  p.X = 1.25;
  p.Commentaire = {"départ du puits"};
  EXPECT_FALSE(p.SuiteRenseignee());
  EXPECT_FALSE(p.SuitePossible());
  p.SuiteObs.SuitePossible = TSuitePossible::spPuits;
  auto o = std::make_unique<TTypeDObs>();
  o->Observation.EtatSuite = TEtatSuite::eeARevoir;
  foundation::EncodeDate(2021, 8, 14, o->LaDate);
  o->Observateurs.push_back(&alice);
  o->Commentaires = {"corde", "de 30 m"};
  p.SuiteObs.Add(std::move(o));
  EXPECT_TRUE(p.SuiteRenseignee());
  EXPECT_TRUE(p.SuitePossible());
  // A flow measurement says nothing of the state of the continuation.
  auto debit = std::make_unique<TTypeDObs>();
  debit->Observation.TypeObs = 1;
  debit->Observation.Debit = 0;
  p.SuiteObs.Add(std::move(debit));
  EXPECT_FALSE(p.SuitePossible());

  std::vector<std::string> lignes;
  p.ImprimeSuites(lignes);
  const std::vector<std::string> attendu = {
      " Point : 12",
      "\t     X : \t         1.3",
      "\t     Y : \t         0.0",
      "\t     Z : \t         0.0",
      "départ du puits",
      "",
      " type de continuation : Puits",
      " le 14/08/2021 --- A revoir",
      " vu par Alice ",
      " corde de 30 m ",
      "",
      " date non renseignée --- ",
      " vu par (observateurs non renseignés)",
      " ",
      "",
      "",
  };
  EXPECT_EQ(lignes, attendu);

  TSuiteObs copie;
  copie.Add(std::make_unique<TTypeDObs>());
  p.SuiteObs.CopieListeObs(copie);
  ASSERT_EQ(copie.Count(), 2);
  EXPECT_EQ(copie.SuitePossible, TSuitePossible::spPuits);
  EXPECT_NE(copie.UnTypeDObs(0), p.SuiteObs.UnTypeDObs(0));
  EXPECT_EQ(copie.UnTypeDObs(0)->Observateurs[0], &alice);
  EXPECT_EQ(copie.UnTypeDObs(0)->Commentaires.size(), 2u);
}

TEST(Galerie, CreeNbreVisees) {
  struct Cas {
    const char* nom;
    const char* description;
    const char* comptes;  // NbreViseesSuivantes of the gallery's shots, in shot order
  };
  const Cas cas[] = {
      {"chaîne de trois visées", "G A: 0 1 2 3\n0 - 1\n1 - 2\n2 - 3", "2 1 0"},
      {"embranchement après la deuxième", "G A: 0 1 2 3 4\n0 - 1\n1 - 2\n2 - 3\n2 - 4", "3 2 0 0"},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    ReseauTest r;
    TCavite* cav = r.Cavite("Grotte", c.description);
    ASSERT_TRUE(cav->ReGenereListePoints(true));
    TGalerie* g = cav->Galeries.First();
    g->CreeNbreVisees();
    std::string comptes;
    for (const TVisee* v : cav->Visees)
      comptes += (comptes.empty() ? "" : " ") + std::to_string(v->NbreViseesSuivantes);
    EXPECT_EQ(comptes, c.comptes);
  }
}

TEST(Galerie, CreeNbreViseesSArreteALaGalerie) {
  // Shots of another gallery are not counted, nor walked through.
  ReseauTest r;
  TCavite* cav = r.Cavite("Grotte", "G A: 1 2 3\nG B: b1 b2\nE1 - 1\n1 - 2\n2 - 3\n2 - b1\nb1 - b2");
  ASSERT_TRUE(cav->ReGenereListePoints(true));
  TGalerie* a = cav->Galeries.UnObjet(0);
  TGalerie* b = cav->Galeries.UnObjet(1);
  a->CreeNbreVisees();
  b->CreeNbreVisees();
  EXPECT_EQ(ReseauTest::ViseeEntre(*cav, "E1", "1")->NbreViseesSuivantes, 2);
  EXPECT_EQ(ReseauTest::ViseeEntre(*cav, "2", "b1")->NbreViseesSuivantes, 1);
  EXPECT_EQ(b->GalDeRattach(), a);
  EXPECT_EQ(b->PointRattach()->DesignPTopo, "2");
  EXPECT_TRUE(b->Rattachee());
  EXPECT_FALSE(b->Isolee());
  EXPECT_EQ(a->GalDeRattach(), nullptr);
  EXPECT_EQ(a->UneViseeDeGal(3), nullptr);
  EXPECT_EQ(NomGalerieDuPoint(ReseauTest::PointNomme(*cav, "b2")), "B");
  EXPECT_EQ(NomGalerieDuPoint(nullptr), "");
}

TEST(Galerie, TesteSuiteGalerie) {
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde(dialogues);
  GardeDocument gardeDocument;
  GardePortsSurvey gardePorts;
  std::vector<TDemandeSuiteGalerie> demandes;
  std::optional<int> reponse;
  Ports().DialogueSuiteGalerie = [&](const TDemandeSuiteGalerie& d) {
    demandes.push_back(d);
    return reponse;
  };

  // One station from 2: it continues the gallery.
  {
    ReseauTest r;
    TCavite* c = r.Cavite("Grotte", "G A: 1 2 3\nE1 - 1\n1 - 2\n2 - 3");
    ASSERT_TRUE(c->ReGenereListePoints(true));
    TVisee* v = ReseauTest::ViseeEntre(*c, "2", "3");
    ReseauTest::PointNomme(*c, "3")->Annexe = 1;
    EXPECT_FALSE(c->Galeries.First()->TesteSuiteGalerie(*v));
    EXPECT_EQ(ReseauTest::PointNomme(*c, "3")->Annexe, 0);
  }
  // Two stations from 2: the user picks the continuation.
  {
    ReseauTest r;
    TCavite* c = r.Cavite("Grotte", "G A: 1 2 3 4\nE1 - 1\n1 - 2\n2 - 3\n2 - 4");
    ASSERT_TRUE(c->ReGenereListePoints(true));
    reponse = 1;
    EXPECT_TRUE(c->Galeries.First()->TesteSuiteGalerie(*ReseauTest::ViseeEntre(*c, "2", "4")));
    ASSERT_EQ(demandes.size(), 1u);
    EXPECT_EQ(demandes[0].Titre, "Rattachement au point 2");
    EXPECT_EQ(demandes[0].NomGalerie, "A");
    ASSERT_EQ(demandes[0].Points.size(), 2u);
    EXPECT_EQ(demandes[0].Points[1]->Annexe, 0);
    EXPECT_EQ(demandes[0].Points[0]->Annexe, 1);
  }
  // Three stations from 2, none on the main line: the question.
  {
    ReseauTest r;
    TCavite* c = r.Cavite("Grotte", "G A: 1 2 3+ 4+ 5+\nE1 - 1\n1 - 2\n2 - 3\n2 - 4\n2 - 5");
    ASSERT_TRUE(c->ReGenereListePoints(true));
    dialogues.QueueAnswer(platform::Answer::Yes);
    EXPECT_TRUE(c->Galeries.First()->TesteSuiteGalerie(*ReseauTest::ViseeEntre(*c, "2", "5")));
    ASSERT_FALSE(dialogues.Log().empty());
    EXPECT_EQ(dialogues.Log().back().text, "le point 5 est-il la suite de la galerie ?");
    EXPECT_EQ(ReseauTest::PointNomme(*c, "5")->Annexe, 0);
    // One of them on the main line: a side station, no question.
    const size_t questions = dialogues.Log().size();
    EXPECT_TRUE(c->Galeries.First()->TesteSuiteGalerie(*ReseauTest::ViseeEntre(*c, "2", "4")));
    EXPECT_EQ(ReseauTest::PointNomme(*c, "4")->Annexe, 1);
    EXPECT_EQ(dialogues.Log().size(), questions);
  }
}
