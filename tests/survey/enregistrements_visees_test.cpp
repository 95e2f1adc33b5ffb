// Records of stations, galleries, observations, shots and digitising
// calibrations, read from the fixtures that fixtures/genere_fixtures_visees.py
// builds from the documented record layouts, and a whole cave written, read
// and written again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "foundation/flux.h"
#include "foundation/niveau_fichier.h"
#include "platform/scripted_dialogs.h"
#include "survey/cavite.h"
#include "survey/listes_document.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/reseau_test.h"

using namespace survey;
using foundation::TFluxMemoire;

namespace {

std::string Fixture(const std::string& nom) {
  return testsupport::LitOctets(std::string(GRAVELUNE_SOURCE_DIR) + "/tests/survey/fixtures/" + nom);
}

// Two operators in the document's list, the read level chosen, and the
// network's station index set aside for the life of the object.
struct Contexte {
  TListeOperateurs operateurs;
  TListeInstruments instruments;
  GardeListesDocument gardeListes;
  foundation::GardeNiveauFichier gardeNiveau;
  GardePointsReseau gardeIndex;
  explicit Contexte(int niveau) {
    for (const char* nom : {"Alice", "Bernard"}) {
      auto o = std::make_unique<TOperateur>();
      o->DesignOpe = nom;
      operateurs.Add(std::move(o));
    }
    ListesDocument().Operateurs = &operateurs;
    ListesDocument().Instruments = &instruments;
    foundation::NiveauFichier().VersionFichierLue = niveau;
    ListePointsReseau().clear();
  }
};

}  // namespace

TEST(EnregistrementVisee, ViseeHabiSelonLeNiveau) {
  struct Cas {
    int niveau;
    const char* fixture;
  };
  const Cas cas[] = {{215, "visee_215.bin"}, {221, "visee_221.bin"}};
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.fixture);
    Contexte ctx(c.niveau);
    std::vector<std::unique_ptr<TPointSpeleo>> points;
    for (int i = 0; i < 5; ++i) {
      points.push_back(std::make_unique<TPointSpeleo>());
      points.back()->IndiceReseau = i;
      ListePointsReseau().push_back(points.back().get());
    }
    TFluxMemoire f(Fixture(c.fixture));
    TVisee v;
    ASSERT_TRUE(v.LitObjet(f));
    EXPECT_EQ(f.Restant(), 4u) << "the record was not read to its exact end";
    EXPECT_EQ(v.PointStation, points[3].get());
    EXPECT_EQ(v.PointVise, points[4].get());
    EXPECT_EQ(v.indLever, 1);
    EXPECT_DOUBLE_EQ(v.Az, 123.5);
    EXPECT_DOUBLE_EQ(v.pente, -12.25);
    EXPECT_DOUBLE_EQ(v.Long, 8.5);
    EXPECT_TRUE(v.InvAz);
    ASSERT_EQ(v.ViseesHabi.Count(), 2);
    TViseeHabi* h0 = v.LaViseeHabi(0);
    TViseeHabi* h1 = v.LaViseeHabi(1);
    EXPECT_EQ(h0->ViseeDeRef, &v);
    EXPECT_TRUE(h0->RefPtStat);
    EXPECT_FALSE(h1->RefPtStat);
    EXPECT_EQ(h0->PtStation(), points[3].get());
    EXPECT_EQ(h1->PtStation(), points[4].get());
    EXPECT_DOUBLE_EQ(h1->Az, 270.0);
    EXPECT_EQ(h0->CommentVisee, foundation::TMesStringList{"paroi"});
    EXPECT_EQ(h1->SensDessinCoupeOr, -1);
    if (c.niveau <= 219) {
      EXPECT_TRUE(foundation::EstIndefini(h0->SlhFix)) << "no SlhFix before level 220";
    } else {
      EXPECT_DOUBLE_EQ(h0->SlhFix, 2.5);
      EXPECT_TRUE(foundation::EstIndefini(h1->SlhFix));
    }
  }
}

TEST(EnregistrementVisee, StationsAbsentesEtLeverParDefaut) {
  Contexte ctx(511);
  TPointSpeleo seul;
  seul.IndiceReseau = 0;
  ListePointsReseau().push_back(&seul);
  const std::string octets = Fixture("visee_511_sans_points.bin");
  TFluxMemoire f(octets);
  auto v = std::make_unique<TVisee>();
  ASSERT_TRUE(v->LitObjet(f));
  EXPECT_EQ(f.Restant(), 0u);
  EXPECT_EQ(v->PointStation, nullptr) << "station number -1";
  EXPECT_EQ(v->PointVise, nullptr) << "station number beyond the index";
  EXPECT_EQ(v->SensDessinCoupeOr, 1) << "the stored direction is not applied";
  EXPECT_TRUE(v->EstViseeRattach());
  EXPECT_TRUE(v->EstExclue());
  EXPECT_EQ(v->indLever, -1);
  EXPECT_EQ(v->TopofilDeb, 1500);
  EXPECT_EQ(v->TopofilFin, 1250);
  EXPECT_TRUE(v->InvVisee);
  // Resolved on the default trip, it writes -1 again.
  TCavite cav;
  cav.Visees.Add(std::move(v));
  EXPECT_EQ(cav.AffecteLeversVisees(), 0);
  EXPECT_EQ(cav.LaVisee(0)->LeLever, LeverParDefaut());
  EXPECT_TRUE(cav.ATopofil);
  TFluxMemoire sortie;
  ASSERT_TRUE(cav.LaVisee(0)->EcritObjet(sortie));
  int32_t lever;
  std::memcpy(&lever, sortie.Octets().data() + 9, 4);
  EXPECT_EQ(lever, -1);
  // The ends are written as -1 and the direction as 1: everything else as read.
  std::string attendu = octets;
  const int32_t moinsUn = -1, un = 1;
  std::memcpy(attendu.data() + 4, &moinsUn, 4);
  std::memcpy(attendu.data() + 9 + 57, &un, 4);
  EXPECT_EQ(sortie.Octets(), attendu);
}

TEST(EnregistrementVisee, LeverHorsListeRetombeSurLeLeverParDefautEtEstSignale) {
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde(dialogues);
  TCavite cav;
  cav.NomCavite = "Grotte";
  for (int i = 0; i < 2; ++i) cav.Levers.Add(std::make_unique<TLever>());
  for (int indice : {-1, 1, 5, 2}) {
    auto v = std::make_unique<TVisee>();
    v->indLever = indice;
    v->AjouteViseeHabi(std::make_unique<TViseeHabi>());
    cav.Visees.Add(std::move(v));
  }
  EXPECT_EQ(cav.AffecteLeversVisees(), 2);
  EXPECT_EQ(cav.LaVisee(0)->LeLever, LeverParDefaut());
  EXPECT_EQ(cav.LaVisee(1)->LeLever, cav.Levers.UnObjet(1));
  EXPECT_EQ(cav.LaVisee(2)->LeLever, LeverParDefaut());
  EXPECT_EQ(cav.LaVisee(3)->LeLever, LeverParDefaut());
  EXPECT_EQ(cav.LaVisee(1)->LaViseeHabi(0)->LeLever, cav.Levers.UnObjet(1));
  ASSERT_EQ(dialogues.Messages().size(), 1u) << "reported once for the cave";
  EXPECT_NE(dialogues.Messages()[0].find("Grotte"), std::string::npos);
  EXPECT_NE(dialogues.Messages()[0].find(" 2 "), std::string::npos);
}

TEST(EnregistrementObservation, ListeAvecLesTroisGenres) {
  Contexte ctx(511);
  const std::string octets = Fixture("observations.bin");
  TFluxMemoire f(octets);
  TSuiteObs suite;
  ASSERT_TRUE(suite.LitListe(f));
  EXPECT_EQ(f.Restant(), 4u);
  EXPECT_EQ(suite.SuitePossible, TSuitePossible::spPuits);
  ASSERT_EQ(suite.Count(), 3);
  const TTypeDObs* etat = suite.UnTypeDObs(0);
  EXPECT_EQ(etat->Observation.EtatSuite, TEtatSuite::eeARevoir);
  EXPECT_EQ(etat->Observateurs, TListeDOperateurs{ctx.operateurs.UnOperateur(0)});
  EXPECT_EQ(etat->Commentaires, foundation::TMesStringList{"étroiture"});
  const TTypeDObs* debit = suite.UnTypeDObs(1);
  EXPECT_DOUBLE_EQ(debit->Observation.Debit, 1.5);
  EXPECT_DOUBLE_EQ(debit->Observation.Temperature, 11.0);
  EXPECT_TRUE(debit->Observation.Sens);
  EXPECT_FALSE(debit->Observation.Mesure);
  EXPECT_EQ(debit->Observateurs, TListeDOperateurs{ctx.operateurs.UnOperateur(1)}) << "reference -1 dropped";
  const TTypeDObs* autre = suite.UnTypeDObs(2);
  EXPECT_EQ(autre->Observation.TypeObs, 2);
  EXPECT_DOUBLE_EQ(autre->LaDate, 42000.0);
  EXPECT_EQ(autre->Commentaires.size(), 2u);
  // An observation of kind 2 takes 4 + 8 bytes before its observers and comments.
  TTypeDObs seule;
  seule.Observation.TypeObs = 2;
  TFluxMemoire g;
  ASSERT_TRUE(seule.EcritObjet(g));
  EXPECT_EQ(g.Octets().size(), 4u + 8u + 4u + 4u);
}

TEST(EnregistrementPoint, NiveauxAvantEtDepuis500) {
  for (int niveau : {499, 511}) {
    SCOPED_TRACE(niveau);
    Contexte ctx(niveau);
    TFluxMemoire f(Fixture("station_" + std::to_string(niveau) + ".bin"));
    TPointSpeleo p;
    ASSERT_TRUE(p.LitObjet(f));
    EXPECT_EQ(f.Restant(), 4u);
    EXPECT_EQ(p.TypePoint, PointSurface);
    EXPECT_TRUE(p.EstAnnexe());
    EXPECT_EQ(p.IndiceReseau, 7);
    EXPECT_EQ(p.IndPtBoucle, 12);
    EXPECT_DOUBLE_EQ(p.Z, 3.0);
    EXPECT_DOUBLE_EQ(p.HauteurInf, 1.0);
    EXPECT_TRUE(p.InvBords);
    EXPECT_EQ(p.vCatPt, -1);
    EXPECT_EQ(p.DesignPTopo, "E1");
    EXPECT_EQ(p.Commentaire.size(), 2u);
    EXPECT_EQ(p.Commentaire[0], "entrée");
    EXPECT_EQ(p.SuiteObs.Count(), 0);
  }
}

namespace {

size_t PremiereDifference(const std::string& a, const std::string& b) {
  const auto d = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  return d.first == a.end() && d.second == b.end() ? std::string::npos : static_cast<size_t>(d.first - a.begin());
}

// Writes the caves' records, then every cave's shots, as the document does.
std::string EcritReseau(const foundation::TListeFichier<TCavite>& cavites) {
  NumeroteTousPoints(cavites);
  TFluxMemoire f;
  EXPECT_TRUE(const_cast<foundation::TListeFichier<TCavite>&>(cavites).EcritListe(f));
  for (TCavite* c : cavites) EXPECT_TRUE(c->Visees.EcritListe(f));
  return f.Octets();
}

// Reads them back into caves, as the document does.
bool LitReseau(const std::string& octets, foundation::TListeFichier<TCavite>& cavites) {
  TFluxMemoire f(octets);
  if (!cavites.LitListe(f)) return false;
  cavites.First()->EstSurface = true;
  for (TCavite* c : cavites) c->CavitesReseau = &cavites;
  RecreeIndexReseau(cavites);
  for (TCavite* c : cavites)
    if (!c->Visees.LitListe(f)) return false;
  for (TCavite* c : cavites) {
    c->AffecteEntreeStockee();
    c->AffecteLeversVisees();
    if (!c->ReGenereListePoints(true)) return false;
  }
  return f.Restant() == 0;
}

}  // namespace

TEST(EnregistrementPoint, PartenaireDeBoucleAbsentOuHorsIndex) {
  Contexte ctx(511);
  std::string octets;
  {
    testsurvey::ReseauTest r;
    TCavite* c = r.Cavite("Grotte", "G A: 1 2 3\nE1 - 1\n1 - 2\n2 - 3");
    testsurvey::ReseauTest::PointNomme(*c, "1")->PtBoucleAsso = testsurvey::ReseauTest::PointNomme(*c, "3");
    c->ReGenereListePoints(true);
    octets = EcritReseau(r.Cavites);
    EXPECT_EQ(testsurvey::ReseauTest::PointNomme(*c, "2")->IndPtBoucle, -1) << "no partner: -1";
  }
  // The station without partner, then the same with a stored partner number
  // beyond the network.
  foundation::TListeFichier<TCavite> cavites;
  ASSERT_TRUE(LitReseau(octets, cavites));
  TCavite* c = cavites.UnObjet(1);
  TPointSpeleo* p1 = testsurvey::ReseauTest::PointNomme(*c, "1");
  TPointSpeleo* p2 = testsurvey::ReseauTest::PointNomme(*c, "2");
  TPointSpeleo* p3 = testsurvey::ReseauTest::PointNomme(*c, "3");
  EXPECT_EQ(p1->PtBoucleAsso, p3);
  EXPECT_EQ(p2->PtBoucleAsso, nullptr);
  p2->PtBoucleAsso = nullptr;
  p2->IndPtBoucle = 40;
  RecreeIndexReseau(cavites);
  EXPECT_EQ(p2->PtBoucleAsso, nullptr) << "a number beyond the stations is ignored";
}

TEST(EnregistrementCavite, EcritureLectureEcritureIdentiqueAuNiveau511) {
  Contexte ctx(511);
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde(dialogues);
  std::string premier;
  {
    testsurvey::ReseauTest r;
    r.PointSurface("E2", 10, 20, 30);
    TPointSpeleo* e1 = r.PointSurface("E1", 100, 200, 300);
    TCavite* c = r.Cavite("Grotte des Fées",
                          "G Principale: 1 2 3 4+\nG Latérale: 5 6\nE1 - 1\n1 - 2\n2 - 3\n2 - 4\n3 - 5\n5 - 6\n6 = 1");
    auto l = std::make_unique<TLever>();
    l->Declinaison = 1.5;
    l->Operateurs.push_back(ctx.operateurs.UnOperateur(1));
    TLever* lever = c->Levers.Add(std::move(l));
    c->Levers.Add(std::make_unique<TLever>());
    c->LaVisee(1)->LeLever = lever;
    c->LaVisee(2)->LeLever = LeverParDefaut();
    c->LaVisee(3)->LeLever = c->Levers.UnObjet(1);
    c->LaVisee(3)->Az = 123.25;
    c->LaVisee(3)->CommentVisee = {"étroit"};
    auto h = std::make_unique<TViseeHabi>();
    h->Az = 45;
    h->Long = 2;
    h->CommentVisee = {"bord"};
    h->SlhFix = 1.25;
    c->LaVisee(2)->AjouteViseeHabi(std::move(h));
    c->LaVisee(2)->AjouteViseeHabi(std::make_unique<TViseeHabi>())->RefPtStat = false;
    TPointSpeleo* p3 = testsurvey::ReseauTest::PointNomme(*c, "3");
    p3->Commentaire = {"salle", "concrétions"};
    p3->LargeurDR = 2.5;
    p3->PtBoucleAsso = testsurvey::ReseauTest::PointNomme(*c, "5");
    p3->SuiteObs.SuitePossible = TSuitePossible::spEscalad;
    for (int genre : {0, 1, 2}) {
      auto o = std::make_unique<TTypeDObs>();
      o->Observation.TypeObs = genre;
      o->Observation.EtatSuite = TEtatSuite::eeTermine;
      o->Observation.Debit = 0.25;
      o->LaDate = 40000 + genre;
      o->Observateurs.push_back(ctx.operateurs.UnOperateur(genre % 2));
      o->Commentaires = {"note " + std::to_string(genre)};
      p3->SuiteObs.Add(std::move(o));
    }
    c->EntreeSelectee = e1;
    c->idCavSvg = 4;
    c->Galeries.UnObjet(1)->idGalSvg = 2;
    ASSERT_TRUE(r.Surface->ReGenereListePoints(true));
    ASSERT_TRUE(c->ReGenereListePoints(true));
    premier = EcritReseau(r.Cavites);
  }
  foundation::TListeFichier<TCavite> cavites;
  ASSERT_TRUE(LitReseau(premier, cavites));
  ASSERT_EQ(cavites.Count(), 2);
  TCavite* c = cavites.UnObjet(1);
  EXPECT_EQ(c->NomCavite, "Grotte des Fées");
  EXPECT_EQ(c->EntreeSelectee->DesignPTopo, "E1");
  EXPECT_EQ(c->Visees.Count(), 7);
  EXPECT_EQ(testsurvey::ReseauTest::Ordre(*c), "E1>1 1>2 2>4 2>3 3>5 5>6 6>1");
  EXPECT_EQ(testsurvey::ReseauTest::PointNomme(*c, "3")->SuiteObs.Count(), 3);
  EXPECT_TRUE(dialogues.Messages().empty());
  const std::string second = EcritReseau(cavites);
  EXPECT_EQ(second.size(), premier.size());
  EXPECT_EQ(PremiereDifference(second, premier), std::string::npos);
}

TEST(EnregistrementGalerie, GalerieVideSignaleeUneFois) {
  struct Cas {
    int niveau;
    const char* fixture;
    int32_t id;
  };
  const Cas cas[] = {{511, "galerie_vide_511.bin", 6}, {502, "galerie_vide_502.bin", -1}};
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.fixture);
    Contexte ctx(c.niveau);
    platform::ScriptedDialogs dialogues;
    platform::ScopedDialogs garde(dialogues);
    TFluxMemoire f(Fixture(c.fixture));
    TGalerie g;
    ASSERT_TRUE(g.LitObjet(f));
    EXPECT_EQ(f.Restant(), 4u);
    EXPECT_EQ(g.NomGalerie, "Réseau sud");
    EXPECT_TRUE(g.Points.Vide());
    EXPECT_EQ(g.idGalSvg, c.id);
    EXPECT_EQ(dialogues.Messages(), std::vector<std::string>{"galerie vide"});
  }
}

TEST(EnregistrementCalage, EtatsEtPointsDeReference) {
  Contexte ctx(511);
  TPointSpeleo p0, p1, p2;
  for (TPointSpeleo* p : {&p0, &p1, &p2}) {
    p->IndiceReseau = static_cast<int32_t>(ListePointsReseau().size());
    ListePointsReseau().push_back(p);
  }
  const std::string octets = Fixture("calage_inverse.bin");
  TFluxMemoire f(octets);
  TCalageDigit c;
  ASSERT_TRUE(c.LitObjet(f));
  EXPECT_EQ(f.Restant(), 0u);
  EXPECT_TRUE(c.CalageOk);
  EXPECT_TRUE(c.CoupeDigitInversee);
  EXPECT_EQ(c.MethodeOrient, CalageDeuxPoints);
  EXPECT_EQ(c.PointZeroSpel, &p1);
  EXPECT_EQ(c.PointDeuxSpel, &p2);
  EXPECT_EQ(c.NomImage, "coupe.jpg");
  EXPECT_EQ(c.LePointImage(1), (foundation::TPoint{-5, 7}));
  EXPECT_DOUBLE_EQ(c.LePointTerrain(0).Y, 2000.25);
  EXPECT_EQ(c.LePointTerrain(0).Num, 3u);
  TFluxMemoire g;
  ASSERT_TRUE(c.EcritObjet(g));
  EXPECT_EQ(g.Octets(), octets);

  TFluxMemoire h(Fixture("calage_non_cale.bin"));
  TCalageDigit n;
  ASSERT_TRUE(n.LitObjet(h));
  EXPECT_FALSE(n.CalageOk);
  EXPECT_EQ(n.PointZeroSpel, nullptr);
  TFluxMemoire k;
  ASSERT_TRUE(n.EcritObjet(k));
  EXPECT_EQ(k.Octets(), Fixture("calage_non_cale.bin"));

  // A count of points larger than the stream fails cleanly.
  std::string tronque = octets.substr(0, octets.size() - 40);
  TFluxMemoire t(tronque);
  TCalageDigit x;
  EXPECT_FALSE(x.LitObjet(t));
}

TEST(EnregistrementVisee, ExtremiteDansUneAutreCavite) {
  Contexte ctx(511);
  testsurvey::ReseauTest r;
  TCavite* a = r.Cavite("A", "G A: 1 2\nE1 - 1\n1 - 2");
  TCavite* b = r.Cavite("B", "G B: 7 8\nE1 - 7\n7 - 8");
  NumeroteTousPoints(r.Cavites);
  // A shot of B stored from station 8 (of B) to station 2 (of A), and from the
  // surface point E1.
  TVisee v;
  v.PointStation = testsurvey::ReseauTest::PointNomme(*b, "8");
  v.PointVise = testsurvey::ReseauTest::PointNomme(*a, "2");
  TVisee w;
  w.PointStation = r.PointSurface("E1");
  w.PointVise = v.PointStation;
  TFluxMemoire f;
  ASSERT_TRUE(f.EcritInteger(2) && v.EcritObjet(f) && w.EcritObjet(f));
  v.PointStation = v.PointVise = w.PointStation = w.PointVise = nullptr;
  f.PlaceA(0);
  ASSERT_TRUE(b->Visees.LitListe(f));
  EXPECT_EQ(b->LaVisee(0)->PointStation, testsurvey::ReseauTest::PointNomme(*b, "8"));
  EXPECT_EQ(b->LaVisee(0)->PointVise, nullptr) << "a station of another cave reads as none";
  EXPECT_EQ(b->LaVisee(1)->PointStation, r.PointSurface("E1"));
}
