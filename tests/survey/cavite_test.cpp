// The cave model: the regeneration walk on small caves, marks, virtual points,
// the removal of stations and trips, and a very long chain.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/scripted_dialogs.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "tests/survey/reseau_test.h"

using namespace survey;
using testsurvey::ReseauTest;

namespace {

TPointSpeleo* P(const TCavite& c, const std::string& nom) { return ReseauTest::PointNomme(c, nom); }

}  // namespace

// Each case: a cave, the order of its shots after regeneration (computed
// origin > computed end) and what else the case is about.
TEST(Regeneration, CavesDeReference) {
  struct Cas {
    const char* nom;
    const char* description;
    const char* ordre;
    const char* entrees;
    std::function<void(ReseauTest&, TCavite&)> avant;
    std::function<void(ReseauTest&, TCavite&)> verifie;
  };
  const Cas cas[] = {
      {"cavité sans visée", "G A: 1", "", "",
       nullptr,
       [](ReseauTest&, TCavite& c) {
         EXPECT_EQ(c.LEntree(), nullptr);
         EXPECT_EQ(c.ListePoints.Count(), 0);
         EXPECT_EQ(c.IndexFinCavite(), -1);
       }},
      {"station que nulle visée ne touche, galerie vide conservée",
       "G A: 1 2 9\nG B: 7\nE1 - 1\n1 - 2", "E1>1 1>2", "E1",
       nullptr,
       [](ReseauTest&, TCavite& c) {
         EXPECT_EQ(P(c, "9"), nullptr);
         EXPECT_EQ(P(c, "7"), nullptr);
         ASSERT_EQ(c.Galeries.Count(), 2);
         EXPECT_EQ(c.Galeries.UnObjet(1)->NomGalerie, "B");
         EXPECT_TRUE(c.Galeries.UnObjet(1)->Points.Vide());
         EXPECT_EQ(ReseauTest::Noms(c.ListePoints), "1 2");
       }},
      // Leading numbers compare as numbers: entrance 9 before entrance 10.
      {"entrées 10 et 9: 9 d'abord", "G A: 1 2\n@10 - 1\n@9 - 2\n1 - 2", "9>2 2>1 1>10", "9 10",
       nullptr,
       [](ReseauTest&, TCavite& c) { EXPECT_EQ(c.EntreeSelectee->DesignPTopo, "9"); }},
      // Names without a leading number compare as texts.
      {"entrées E10 et E9", "G A: 1 2\nE10 - 1\nE9 - 2\n1 - 2", "E10>1 1>2 2>E9", "E10 E9",
       nullptr, nullptr},
      {"visée annexe d'abord, puis la suivante par le nom, la galerie latérale à la fin",
       "G Principale: 10 11 11a+ 12 13 20\nG Laterale: s1 s2\nE1 - 10\n10 - 11\n11 - s1\n11 - 20\n11 - 12\n"
       "12 - 13\n11 - 11a\ns1 - s2",
       "E1>10 10>11 11>11a 11>12 12>13 11>20 11>s1 s1>s2", "E1",
       nullptr,
       [](ReseauTest&, TCavite& c) {
         EXPECT_EQ(c.Galeries.UnObjet(0)->NomGalerie, "Principale");
         EXPECT_EQ(ReseauTest::Noms(c.Galeries.UnObjet(0)->Points), "10 11 11a 12 13 20");
         EXPECT_EQ(c.Galeries.UnObjet(0)->ViseesDeLaGal.size(), 6u);
         EXPECT_EQ(c.Galeries.UnObjet(1)->ViseesDeLaGal.size(), 2u);
         EXPECT_EQ(P(c, "11")->NbRatTot, 4);
         EXPECT_EQ(P(c, "11")->NbRatGal, 4);
       }},
      {"visée aboutissant à une station déjà atteinte", "G A: 1 2 3 4\nE1 - 1\n1 - 2\n2 - 3\n1 - 4\n4 - 3",
       "E1>1 1>2 2>3 3>4 4>1", "E1",
       nullptr,
       [](ReseauTest&, TCavite& c) {
         EXPECT_EQ(P(c, "1")->NbCalc, 2) << "a loop closes on station 1";
         EXPECT_EQ(P(c, "3")->NbCalc, 1);
         EXPECT_TRUE(c.EstPointDeBoucle(P(c, "4")));
       }},
      {"visée de rattachement entre deux stations atteintes", "G A: 1 2 3\nE1 - 1\n1 - 2\n1 - 3\n2 = 3",
       "E1>1 1>2 1>3 3>2", "E1",
       nullptr,
       [](ReseauTest&, TCavite& c) {
         EXPECT_EQ(P(c, "2")->NbCalc, 2);
         EXPECT_EQ(P(c, "2")->ViseeAvant, ReseauTest::ViseeEntre(c, "1", "2"));
       }},
      // The unreached shots keep their previous rank, so that a second
      // regeneration may order them differently.
      {"visée de rattachement vers une station que rien d'autre n'atteint",
       "G A: 1 5 6\nE1 - 1\n1 = 5\n5 - 6", "1>5 5>6 E1>1", "E1",
       nullptr,
       [](ReseauTest&, TCavite& c) {
         EXPECT_FALSE(P(c, "5")->Marque);
         EXPECT_EQ(P(c, "5")->IndexPtCav, -1);
         EXPECT_EQ(P(c, "6")->ViseeAvant, nullptr);
         EXPECT_FALSE(P(c, "6")->PtRattache);
         EXPECT_TRUE(P(c, "1")->PtRattache);
       }},
      {"entrée sélectionnée absente: la première par le nom", "G A: 1 2\nE5 - 1\nE3 - 2\n1 - 2",
       "E3>2 2>1 1>E5", "E3 E5",
       [](ReseauTest& r, TCavite& c) { c.EntreeSelectee = r.PointSurface("E8"); },
       [](ReseauTest&, TCavite& c) { EXPECT_EQ(c.EntreeSelectee->DesignPTopo, "E3"); }},
      {"entrée sélectionnée conservée", "G A: 1 2\nE5 - 1\nE3 - 2\n1 - 2", "E5>1 1>2 2>E3", "E3 E5",
       [](ReseauTest& r, TCavite& c) { c.EntreeSelectee = r.PointSurface("E5"); },
       [](ReseauTest&, TCavite& c) { EXPECT_EQ(c.EntreeSelectee->DesignPTopo, "E5"); }},
      {"cavité rattachée à aucun point de surface", "G A: 1 2 3\n1 - 2\n2 - 3", "1>2 2>3", "",
       nullptr,
       [](ReseauTest&, TCavite& c) {
         EXPECT_EQ(c.EntreeSelectee, nullptr);
         EXPECT_FALSE(P(c, "3")->PtRattache);
       }},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    ReseauTest r;
    TCavite* cav = r.Cavite("Grotte", c.description);
    if (c.avant) c.avant(r, *cav);
    ASSERT_TRUE(cav->ReGenereListePoints(true));
    EXPECT_EQ(ReseauTest::Ordre(*cav), c.ordre);
    EXPECT_EQ(ReseauTest::Noms(cav->ListeEntrees), c.entrees);
    for (int i = 0; i < cav->Visees.Count(); ++i) {
      if (cav->LaVisee(i)->PtCalc && cav->LaVisee(i)->PtCalc->Marque) {
        EXPECT_EQ(cav->LaVisee(i)->IndexCav, i);
      }
    }
    if (c.verifie) c.verifie(r, *cav);
    // A second regeneration changes nothing when every shot was reached.
    bool toutesAtteintes = true;
    for (const TVisee* v : cav->Visees) toutesAtteintes = toutesAtteintes && v->PtCalc && v->PtCalc->Marque;
    if (toutesAtteintes) {
      const std::string ordre = ReseauTest::Ordre(*cav);
      ASSERT_TRUE(cav->ReGenereListePoints(true));
      EXPECT_EQ(ReseauTest::Ordre(*cav), ordre);
    }
  }
}

TEST(Regeneration, ViseeIsoleeRefuseeALaLecture) {
  ReseauTest r;
  TCavite* c = r.Cavite("Grotte", "G A: 1 2 8 9\nE1 - 1\n1 - 2\n8 - 9");
  EXPECT_FALSE(c->ReGenereListePoints(true));
  EXPECT_TRUE(c->ReGenereListePoints(false));
}

TEST(Regeneration, LesVisitesDesAutresCavitesNeSontPasParcourues) {
  // Two caves share the entrance E1; walking one leaves the other's shots as
  // they were.
  ReseauTest r;
  TCavite* a = r.Cavite("A", "G A: a1 a2\nE1 - a1\na1 - a2");
  TCavite* b = r.Cavite("B", "G B: b1 b2\nE1 - b1\nb1 - b2");
  ASSERT_TRUE(a->ReGenereListePoints(true));
  ASSERT_TRUE(b->ReGenereListePoints(true));
  ASSERT_TRUE(a->ReGenereListePoints(true));
  EXPECT_EQ(ReseauTest::Ordre(*a), "E1>a1 a1>a2");
  EXPECT_EQ(ReseauTest::Ordre(*b), "E1>b1 b1>b2");
  EXPECT_EQ(b->LaVisee(1)->IndexCav, 1);
  EXPECT_EQ(b->LaVisee(0)->CavDeLaVis, b);
  EXPECT_EQ(r.PointSurface("E1")->LstVis.size(), 2u);
  // The surface cave sorts its points by name.
  r.PointSurface("E10");
  r.PointSurface("E9");
  r.PointSurface("8");
  ASSERT_TRUE(r.Surface->ReGenereListePoints(true));
  EXPECT_EQ(ReseauTest::Noms(r.Surface->Galeries.First()->Points), "8 E1 E10 E9");
}

TEST(Regeneration, ChaineDeCentMilleVisees) {
  ReseauTest r;
  TCavite* c = r.NouvelleCavite("Longue");
  TGalerie* g = c->AjouteGalerie("");
  constexpr int n = 100000;
  TPointSpeleo* avant = r.PointSurface("E1");
  std::vector<std::unique_ptr<TVisee>> visees;
  for (int i = 0; i < n; ++i) {
    auto p = std::make_unique<TPointSpeleo>();
    p->DesignPTopo = std::to_string(i + 1);
    TPointSpeleo* pt = g->Points.Add(std::move(p));
    auto v = std::make_unique<TVisee>();
    v->PointStation = avant;
    v->PointVise = pt;
    v->Az = i % 360;
    visees.push_back(std::move(v));
    avant = pt;
  }
  // Stored from the far end to the near one, so that the regeneration has to
  // reorder them all.
  for (auto it = visees.rbegin(); it != visees.rend(); ++it) c->Visees.Add(std::move(*it));
  ASSERT_TRUE(c->ReGenereListePoints(true));
  ASSERT_EQ(c->ListePoints.Count(), n);
  EXPECT_EQ(c->LaVisee(0)->PtOrigCalc->DesignPTopo, "E1");
  EXPECT_EQ(c->LaVisee(n - 1)->PtCalc->DesignPTopo, std::to_string(n));
  EXPECT_EQ(c->LePoint(n - 1)->IndexPtCav, n - 1);
  g->CreeNbreVisees();
  EXPECT_EQ(c->LaVisee(1)->NbreViseesSuivantes, n - 2);
}

TEST(Marques, MarqueVisessEtEffacement) {
  ReseauTest r;
  TCavite* c = r.Cavite("Grotte", "G A: 1 2 3 4 5\nE1 - 1\n1 - 2\n2 - 3\n1 - 4\n4 - 5");
  ASSERT_TRUE(c->ReGenereListePoints(true));
  ASSERT_EQ(ReseauTest::Ordre(*c), "E1>1 1>2 2>3 1>4 4>5");
  c->MarqueVisees(c->LaVisee(1));
  std::string marques;
  for (const TVisee* v : c->Visees) marques += v->Marque ? '1' : '0';
  EXPECT_EQ(marques, "01100");
  c->MarqueEffacement(c->LaVisee(3), true);
  std::string effaces;
  for (const TVisee* v : c->Visees) effaces += v->AEffacer ? '1' : '0';
  EXPECT_EQ(effaces, "00011");
  c->DemarquePoints();
  EXPECT_EQ(c->MarquePoints(P(*c, "3")), r.PointSurface("E1"));
  EXPECT_TRUE(P(*c, "2")->Marque);
  c->MarquePointsDependants(P(*c, "1"));
  EXPECT_TRUE(P(*c, "2")->Marque);
  EXPECT_TRUE(P(*c, "4")->Marque);
  EXPECT_FALSE(P(*c, "3")->Marque);
  EXPECT_FALSE(c->EstPointDeBoucle(P(*c, "5")));
  EXPECT_EQ(c->DerniereViseeGalActive(), c->Galeries.First()->ViseesDeLaGal.back());
  c->LaGalerieActive = nullptr;
  EXPECT_EQ(c->DerniereViseeGalActive(), c->LaVisee(4)) << "without active gallery: the cave's last shot";
}

TEST(PointsVirtuels, JonctionsCreeesPuisSupprimeesRendentLaTopologie) {
  ReseauTest r;
  TCavite* c = r.Cavite("Grotte", "G A: 1 2 3 4 5\nE1 - 1\n1 - 2\n2 - 3\n1 - 4\n4 - 3\n3 = 5\n1 - 5");
  ASSERT_TRUE(c->ReGenereListePoints(true));
  std::vector<std::pair<TPointSpeleo*, TPointSpeleo*>> extremites;
  std::vector<TVisee*> visees;
  for (TVisee* v : c->Visees) {
    visees.push_back(v);
    extremites.emplace_back(v->PointStation, v->PointVise);
  }
  const int stations = c->ListePoints.Count();

  c->CreePointsJonctionVirtuels();
  int bis = 0;
  for (TPointSpeleo* p : c->ListePoints)
    if (p->TypePoint == PointJonctionVirtuel) {
      ++bis;
      EXPECT_EQ(p->DesignPTopo, p->PtBoucleAsso->DesignPTopo + " (Bis)");
      EXPECT_EQ(p->NbCalc, 1);
    }
  EXPECT_EQ(bis, 2) << "one duplicate per loop-closing shot";
  for (TVisee* v : c->Visees) EXPECT_EQ(v->TypeRattachement, 0);

  c->SupprimePointsVirtuels();
  EXPECT_EQ(c->ListePoints.Count(), stations);
  for (size_t i = 0; i < visees.size(); ++i) {
    EXPECT_EQ(visees[i]->PointStation, extremites[i].first) << i;
    EXPECT_EQ(visees[i]->PointVise, extremites[i].second) << i;
  }
  for (TPointSpeleo* p : c->ListePoints) {
    EXPECT_NE(p->TypePoint, PointJonctionVirtuel);
    EXPECT_EQ(p->PtBoucleAsso, nullptr) << p->DesignPTopo;
  }
  // Every loop-closing shot is now an attachment shot.
  int rattachements = 0;
  for (TVisee* v : c->Visees) rattachements += v->TypeRattachement;
  EXPECT_EQ(rattachements, 2);
  EXPECT_FALSE(c->PointsVirtuelsModifies);
}

TEST(PointsVirtuels, EntreeVirtuelleCreeePuisSupprimee) {
  ReseauTest r;
  TCavite* c = r.Cavite("Grotte", "G A: 1 2 3\nE1 - 1\n1 - 2\n2 - 3\nE2 - 3");
  c->EntreeSelectee = r.PointSurface("E1");
  ASSERT_TRUE(c->ReGenereListePoints(true));
  TPointSpeleo* e2 = r.PointSurface("E2");
  TVisee* versE2 = ReseauTest::ViseeEntre(*c, "E2", "3");
  TPointSpeleo* pv = c->CreePointEntreeVirtuel(e2);
  ASSERT_NE(pv, nullptr);
  EXPECT_EQ(pv->TypePoint, PointEntreeVirtuel);
  EXPECT_EQ(pv->DesignPTopo, "E2");
  EXPECT_EQ(versE2->PointStation, pv);
  EXPECT_EQ(pv->GalduPt, c->Galeries.First());
  ASSERT_TRUE(c->ReGenereListePoints(false));
  EXPECT_EQ(ReseauTest::Noms(c->ListeEntrees), "E1");
  pv->DzPt = 12;
  c->SupprimeTousPointsEntreeVirtuels();
  EXPECT_EQ(versE2->PointStation, e2);
  EXPECT_DOUBLE_EQ(e2->DzPt, 12);
  ASSERT_TRUE(c->ReGenereListePoints(false));
  EXPECT_EQ(ReseauTest::Noms(c->ListeEntrees), "E1 E2");
  for (TPointSpeleo* p : c->ListePoints) EXPECT_NE(p->TypePoint, PointEntreeVirtuel);
}

TEST(Suppression, UneSeuleRoutineEffaceOuRedirigeToutesLesReferences) {
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs gardeDialogues(dialogues);
  GardeDocument gardeDocument;
  GardePointsReseau gardeIndex;
  ReseauTest r;
  TCavite* a = r.Cavite("A", "G A: 1 2 3\nE1 - 1\n1 - 2\n2 - 3");
  TCavite* b = r.Cavite("B", "G B: 7 8\nE1 - 7\n7 - 8");
  ASSERT_TRUE(a->ReGenereListePoints(true));
  ASSERT_TRUE(b->ReGenereListePoints(true));
  NumeroteTousPoints(r.Cavites);
  TPointSpeleo* p3 = P(*a, "3");
  TPointSpeleo* p2 = P(*a, "2");
  TPointSpeleo* p8 = P(*b, "8");
  // Every kind of reference to station 3.
  p8->PtBoucleAsso = p3;
  p2->PtBoucleAsso = p3;
  a->RefCalculAlti = p3;
  a->PointImport = p3;
  auto lever = std::make_unique<TLever>();
  lever->PointFin = p3;
  TLever* l = a->Levers.Add(std::move(lever));
  a->CalageDigitAlti.PointZeroSpel = p3;
  a->EntreesCalcul.Add(p3);
  std::vector<const TPointSpeleo*> annonces;
  AbonnementNettoyage abonnement([&](const TSuppressions& s) {
    for (const auto& [p, remplacant] : s.Points()) annonces.push_back(p);
  });
  const int32_t indice = p3->IndiceReseau;

  // Station 3 goes, its references pass to station 2.
  TSuppressions s;
  s.AjoutePoint(p3, p2);
  a->SupprimePoints(s);
  EXPECT_EQ(P(*a, "3"), nullptr);
  EXPECT_EQ(annonces, std::vector<const TPointSpeleo*>{p3});
  EXPECT_EQ(p8->PtBoucleAsso, p2) << "another cave's loop partner is redirected";
  EXPECT_EQ(p2->PtBoucleAsso, nullptr) << "a station is not its own partner";
  EXPECT_EQ(a->RefCalculAlti, p2);
  EXPECT_EQ(a->PointImport, p2);
  EXPECT_EQ(l->PointFin, p2);
  EXPECT_EQ(LeverParDefaut()->PointDeb, nullptr) << "the default trip is never changed";
  EXPECT_EQ(a->CalageDigitAlti.PointZeroSpel, p2);
  EXPECT_FALSE(a->EntreesCalcul.Contient(p2));
  EXPECT_EQ(ReseauTest::ViseeEntre(*a, "2", "2")->PointVise, p2);
  EXPECT_EQ(LePointReseau(indice), nullptr) << "the network index forgets the freed station";

  // Without replacement everything is cleared; a regeneration removes station 8
  // once its shot is gone and clears the references to it.
  a->RefCalculAlti = p8;
  b->Visees.Delete(1);
  ASSERT_TRUE(b->ReGenereListePoints(true));
  EXPECT_EQ(P(*b, "8"), nullptr);
  EXPECT_EQ(a->RefCalculAlti, nullptr);
  EXPECT_TRUE(P(*b, "7")->LstVis.empty());

  // Trips no shot uses are dropped, with the references to them.
  Document().LeverCourant = l;
  a->NettoieLevers();
  EXPECT_EQ(a->Levers.Count(), 0);
  EXPECT_EQ(Document().LeverCourant, nullptr);
}

TEST(Suppression, DestructionDuReseauDansLOrdreDeSesCavites) {
  // The surface cave goes first: the shots of the other caves must not keep
  // a pointer to its points, even to an entrance reached from inside a cave.
  auto r = std::make_unique<ReseauTest>();
  TCavite* c = r->Cavite("Grotte", "G A: 1 2\nE1 - 1\n1 - 2\n2 - E2");
  ASSERT_TRUE(c->ReGenereListePoints(true));
  ASSERT_TRUE(r->Surface->ReGenereListePoints(true));
  EXPECT_EQ(ReseauTest::Ordre(*c), "E1>1 1>2 2>E2");
  r->Cavites.Delete(0);  // the surface cave alone, while the cave still lives
  EXPECT_EQ(c->LaVisee(0)->PointStation, nullptr);
  EXPECT_EQ(c->LaVisee(2)->PointVise, nullptr);
  r.reset();
}

TEST(Cavite, GaleriesEtLevers) {
  TCavite c;
  TGalerie* g = c.AjouteGalerie("");
  EXPECT_EQ(g->NomGalerie, "Galerie d'entrée");
  EXPECT_EQ(c.AjouteGalerie("")->NomGalerie, "");
  EXPECT_EQ(c.LaGalerieActive, c.Galeries.UnObjet(1));
  EXPECT_EQ(c.UneGalerie(-1), nullptr);
  EXPECT_EQ(c.DerIdGalSvg(), 0);
  c.Galeries.UnObjet(1)->idGalSvg = 4;
  EXPECT_EQ(c.DerIdGalSvg(), 5);
  for (int i = 0; i < 3; ++i) c.Levers.Add(std::make_unique<TLever>());
  TLever* garde = c.Levers.UnObjet(1);
  auto v = std::make_unique<TVisee>();
  v->LeLever = garde;
  c.Visees.Add(std::move(v));
  c.NettoieLevers();
  ASSERT_EQ(c.Levers.Count(), 1);
  EXPECT_EQ(c.Levers.UnObjet(0), garde);
  EXPECT_TRUE(c.CaviteValide());
  for (int i = 0; i < 3; ++i) c.EntreesCalcul.Add(c.Galeries.First()->Points.Add(std::make_unique<TPointSpeleo>()));
  c.CreeListeEntreesCalculees(2);
  EXPECT_EQ(c.ListeEntreesCalculees.Item(0), c.EntreesCalcul.Item(2));
  EXPECT_EQ(c.ListeEntreesCalculees.Item(1), c.EntreesCalcul.Item(0));
  EXPECT_EQ(c.ListeEntreesCalculees.Item(2), c.EntreesCalcul.Item(1));
}

TEST(Suppression, ViseeVersUneStationDUneAutreCavite) {
  // Only a damaged file joins stations of two caves: the foreign end is
  // dropped, and freeing the network in any order stays sound.
  auto r = std::make_unique<ReseauTest>();
  TCavite* a = r->Cavite("A", "G A: 1 2\nE1 - 1\n1 - 2");
  TCavite* b = r->Cavite("B", "G B: 7\nE1 - 7");
  auto v = std::make_unique<TVisee>();
  v->PointStation = P(*b, "7");
  v->PointVise = P(*a, "2");
  TVisee* etrangere = b->Visees.Add(std::move(v));
  ASSERT_TRUE(b->ReGenereListePoints(false));
  ASSERT_TRUE(a->ReGenereListePoints(true));
  EXPECT_EQ(etrangere->PointVise, nullptr);
  EXPECT_EQ(etrangere->PointStation, P(*b, "7"));
  for (const TVisee* s : P(*a, "2")->LstVis) EXPECT_NE(s, etrangere);
  r->Cavites.Delete(1);  // cave A alone, while cave B still lives
  EXPECT_EQ(etrangere->PointVise, nullptr);
  r.reset();
}
