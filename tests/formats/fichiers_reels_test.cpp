// The VTopo files written by VTopo 5.12 (see the fixtures' README), counted
// independently from their lines, and the coordinates of loop-free surveys
// against Survex's cavern.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <unordered_map>

#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "tests/formats/import_test_support.h"
#include "tests/formats/survex_tro.h"

namespace testformats {
namespace {

const std::string kDossierVTopo = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/";

// What the cave must hold, counted from the file's lines: main shots (a
// repeated reading adds none), stations, splays, all from the entrance's
// connected part; the entrance station becomes the surface point when one
// shot touches it, else a zero shot joins them.
struct Compte {
  int visees = 0, stations = 0, habi = 0, isolees = 0;
};

Compte CompteIndependant(const FichierTro& f) {
  std::vector<std::pair<std::string, std::string>> jambes;
  std::vector<std::string> habi;
  for (const LigneTro& l : f.lignes) {
    if (l.habi) {
      habi.push_back(l.de);
      continue;
    }
    if (l.de == l.a) continue;
    if (!jambes.empty() && jambes.back() == std::make_pair(l.de, l.a)) continue;
    jambes.emplace_back(l.de, l.a);
  }
  std::unordered_map<std::string, std::vector<size_t>> parPoint;
  for (size_t i = 0; i < jambes.size(); ++i) {
    parPoint[jambes[i].first].push_back(i);
    parPoint[jambes[i].second].push_back(i);
  }
  std::set<std::string> atteints{f.entree};
  std::vector<std::string> pile{f.entree};
  std::vector<bool> jambeAtteinte(jambes.size(), false);
  while (!pile.empty()) {
    const std::string p = pile.back();
    pile.pop_back();
    for (size_t i : parPoint[p]) {
      jambeAtteinte[i] = true;
      for (const std::string& q : {jambes[i].first, jambes[i].second})
        if (atteints.insert(q).second) pile.push_back(q);
    }
  }
  Compte c;
  for (bool a : jambeAtteinte) (a ? c.visees : c.isolees)++;
  const size_t degreEntree = parPoint[f.entree].size();
  c.stations = static_cast<int>(atteints.size()) - (degreEntree == 1 ? 1 : 0);
  if (degreEntree >= 2) ++c.visees;
  for (const std::string& h : habi)
    if (atteints.count(h)) ++c.habi;
  return c;
}

struct Fixture {
  const char* nom;
  bool sansBoucle;
};

TEST(FichiersVTopo, ImportEtComptes) {
  const Fixture fixtures[] = {{"Olivier.tro", true},
                              {"TestSections.tro", true},
                              {"topo asperge avec ruisseau.TRO", false},
                              {"LA SALLE.tro", false}};
  for (const Fixture& fx : fixtures) {
    ReseauImport r;
    for (int i = 0; i < 4; ++i) r.Dialogues.QueueAnswer(platform::Answer::Yes);
    const std::string chemin = kDossierVTopo + fx.nom;
    const std::string avant = testsupport::LitOctets(chemin);
    formats::tImportVTopo lecteur(&r.R());
    lecteur.TypeAppli = formats::TypeImportVTopo;
    ASSERT_TRUE(lecteur.ImporterFichier(chemin)) << fx.nom;
    const FichierTro f = LitTro(avant);
    const Compte attendu = CompteIndependant(f);
    TCavite* c = r.Cavite();
    ASSERT_NE(c, nullptr) << fx.nom;
    EXPECT_EQ(c->Visees.Count(), attendu.visees) << fx.nom;
    EXPECT_EQ(r.NombreStations(), attendu.stations) << fx.nom;
    int habi = 0;
    for (const TVisee* v : c->Visees) habi += v->ViseesHabi.Count();
    EXPECT_EQ(habi, attendu.habi) << fx.nom;
    // Series that do not reach the entrance are named to the user, never
    // dropped silently.
    EXPECT_EQ(lecteur.ViseesNonRattachees, attendu.isolees) << fx.nom;
    if (attendu.isolees > 0) {
      ASSERT_FALSE(r.Dialogues.Log().empty());
      EXPECT_EQ(r.Dialogues.Log()[0].event, platform::ScriptedDialogs::Event::YesNo) << fx.nom;
    }
    EXPECT_EQ(testsupport::LitOctets(chemin), avant) << fx.nom;
  }
}

TEST(FichiersVTopo, OlivierExclusionDeclinaisonEntree) {
  ReseauImport r;
  ASSERT_TRUE(r.Importe(kDossierVTopo + "Olivier.tro"));
  TCavite* c = r.Cavite();
  EXPECT_EQ(c->NomCavite, "Grotte de l'Olivier");
  EXPECT_EQ(r.Visee("OL14", "OL15")->Exclue, 1);
  EXPECT_EQ(r.Visee("OL13", "OL14")->Exclue, 0);
  ASSERT_EQ(c->Levers.Count(), 1);
  EXPECT_DOUBLE_EQ(c->Levers.First()->Declinaison, 1.221);
  EXPECT_EQ(foundation::DateEnTexte(c->Levers.First()->LaDate), "18/01/2020");
  const TPointSpeleo* e = c->LEntree();
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->EstPointSurface());
  EXPECT_EQ(e->DesignPTopo, "OL1");
  EXPECT_NEAR(e->X, 645337, 1e-6);
  EXPECT_NEAR(e->Y, 3138336, 1e-6);
  EXPECT_NEAR(e->Z, 346, 1e-9);
  EXPECT_EQ(r.R().Projection, "LT 3");
  EXPECT_EQ(e->Commentaire.Texte(), "ENTREE");
  // Dimensions and comments go to the start station in a "Dep" block.
  EXPECT_EQ(r.Station("OL4'")->Commentaire.Texte(), "chatière");
}

// Each station of the cave against Survex, the shots written by the test's
// own reading of the file.
void CompareAvecSurvex(const std::string& octets, ReseauImport& r, double tolerance, const std::string& nomFichier) {
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionAutres));
  TCavite* c = r.Cavite();
  ASSERT_NE(c, nullptr);
  r.R().CalculeReseau();
  const double convergence = c->CalculeConvergence() * 180 / std::numbers::pi;
  const FichierTro f = LitTro(octets);
  std::unordered_map<std::string, std::string> noms;
  auto nom = [&](const std::string& n) {
    auto it = noms.find(n);
    if (it == noms.end()) it = noms.emplace(n, "s" + std::to_string(noms.size())).first;
    return it->second;
  };
  std::string erreur;
  const auto survex = PositionsSurvex(VersSvx(f, nom, convergence), r.Dossier.Chemin(), erreur);
  ASSERT_TRUE(erreur.empty()) << erreur;
  int compares = 0;
  std::vector<TPointSpeleo*> points{c->LEntree()};
  for (TGalerie* g : c->Galeries)
    for (TPointSpeleo* p : g->Points) points.push_back(p);
  for (TPointSpeleo* p : points) {
    const std::string n = p->DesignPTopo.size() > 5 && p->DesignPTopo.ends_with("-Orig")
                              ? p->DesignPTopo.substr(0, p->DesignPTopo.size() - 5)
                              : p->DesignPTopo;
    const auto it = noms.find(n);
    if (it == noms.end()) continue;  // a station only excluded shots reach
    const auto s = survex.find(it->second);
    ASSERT_NE(s, survex.end()) << nomFichier << " " << n;
    EXPECT_NEAR(p->X, s->second[0], tolerance) << nomFichier << " " << n;
    EXPECT_NEAR(p->Y, s->second[1], tolerance) << nomFichier << " " << n;
    EXPECT_NEAR(p->Z, s->second[2], tolerance) << nomFichier << " " << n;
    ++compares;
  }
  EXPECT_GT(compares, 3) << nomFichier;
}

TEST(FichiersVTopo, SansBoucleCommeSurvex) {
  if (!CavernPresent()) GTEST_SKIP() << "Survex (cavern, dump3d) n'est pas installé";
  for (const char* fichier : {"Olivier.tro", "TestSections.tro"}) {
    ReseauImport r;
    const std::string chemin = kDossierVTopo + fichier;
    ASSERT_TRUE(r.Importe(chemin)) << fichier;
    CompareAvecSurvex(testsupport::LitOctets(chemin), r, 0.02, fichier);
  }
}

// Loop-free surveys written by hand, one block per unit and option; the
// oracle is Survex's cavern.
TEST(CoordonneesVTopo, UnitesEtOptionsCommeSurvex) {
  if (!CavernPresent()) GTEST_SKIP() << "Survex (cavern, dump3d) n'est pas installé";
  const std::string corps =
      "Param Deca Degd Clino Degd 2.5000 Dir,Dir,Dir Dep Std 18/01/2020 A\r\n"
      "E 1 10.00 30.00 -12.00 1 1 1 1 N I * N\r\n"
      "1 2 7.25 352.50 5.50 * * * * N I * N\r\n"
      "Param Deca Deg Clino Deg -1.3000 Dir,Dir,Dir Arr Std 02/03/2004 A\r\n"
      "2 3 6.40 45.30 -10.45 * * * * N I * N\r\n"
      "3 4 4.00 123.15 20.20 * * * * N I * N\r\n"
      "Param Deca Gra Clino Gra 0.0000 Dir,Dir,Dir Arr Std --/--/---- A\r\n"
      "4 5 8.00 150.00 -30.00 * * * * N I * N\r\n"
      "Param Deca Degd Clino % 0.0000 Dir,Dir,Dir Arr Std --/--/---- A\r\n"
      "5 6 5.00 200.00 -40.00 * * * * N I * N\r\n"
      "Param Topof 97.5 Degd Clino Degd 0.0000 Dir,Dir,Dir Arr Std --/--/---- A\r\n"
      // The model keeps whole thread-counter readings.
      "6 7 1000 1008 260.00 -5.00 * * * * N I * N\r\n"
      "7 8 * 1014 280.00 15.00 * * * * N I * N\r\n"
      "Param Deca Degd Vulc Degd 0.0000 Dir,Dir,Dir Arr Std --/--/---- A\r\n"
      "8 9 6.00 300.00 70.00 * * * * N I * N\r\n"
      "Param Deca Degd Clino Degd 0.0000 Inv,Inv,Dir Arr Std --/--/---- A\r\n"
      "9 10 5.00 140.00 12.00 * * * * N I * N\r\n"
      "Param Deca Degd Deniv 0.0000 Dir,Dir,Dir Arr Std --/--/---- A\r\n"
      "10 11 9.00 20.00 -4.50 * * * * N I * N\r\n"
      "11 12 3.00 60.00 2.00 * * * * N I * N\r\n"
      "Param Deca Degd Clino Degd 0.0000 Dir,Dir,Dir Arr Std --/--/---- A\r\n"
      "12 13 4.00 0.00 -90.00 * * * * N I * N\r\n"
      "13 14 4.00 90.00 0.00 * * * * N I * N\r\n";
  const std::string entetes[] = {"Trou Unités,100.000,200.000,500.00,\r\nEntree E\r\n",
                                 "Trou Unités,645.337,3138.336,346.00,LT3\r\nEntree E\r\n"};
  for (const std::string& entete : entetes) {
    ReseauImport r;
    const std::string texte = "Version 5.12\r\n" + entete + corps + "[Configuration 5.12]\r\n";
    ASSERT_TRUE(r.Importe(r.Tro(texte))) << entete;
    CompareAvecSurvex(foundation::VersWindows1252(texte), r, 0.01, entete);
  }
}

}  // namespace
}  // namespace testformats

#include "survey/bouclage.h"

namespace testformats {
namespace {

TEST(FichiersVTopo, BouclesCommeSurvex) {
  // Survex distributes each loop's misclosure by least squares; the program
  // by its own loop closure: every station lies within the largest
  // misclosure the program reports.
  ReseauImport r;
  if (!CavernPresent()) GTEST_SKIP() << "Survex (cavern, dump3d) n'est pas installé";
  const std::string chemin = kDossierVTopo + "topo asperge avec ruisseau.TRO";
  ASSERT_TRUE(r.Importe(chemin));
  double ecartMax = 0;
  int boucles = 0;  // a junction reached by n branches closes n - 1 loops
  {
    survey::GardeRapportCalcul rapport;
    r.R().CalculeReseau();
    for (const auto& j : survey::ListeBouclages()) {
      boucles += static_cast<int>(j->BranchesBouclage.size()) - 1;
      for (const auto& b : j->BranchesBouclage) ecartMax = std::max(ecartMax, std::hypot(b->EcartX, b->EcartY, b->EcartZ));
    }
  }
  EXPECT_EQ(boucles, 6);
  EXPECT_GT(ecartMax, 0);
  CompareAvecSurvex(testsupport::LitOctets(chemin), r, ecartMax, "asperge");
}

}  // namespace
}  // namespace testformats
