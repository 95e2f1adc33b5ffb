// The VTopo export: names, numbering by series and the lines of the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <set>
#include <sstream>
#include <unordered_map>

#include "formats/export/export_vtopo.h"
#include "foundation/codage.h"
#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "survey/bouclage.h"
#include "tests/formats/import_test_support.h"
#include "tests/formats/survex_tro.h"
#include "tests/survey/reseau_calcul.h"

using formats::NomVTopo;
using formats::NumeroteVTopo;
using testsurvey::ReseauCalcul;
using namespace survey;

TEST(ExportVTopo, NomsVTopo) {
  struct Cas {
    const char *nom, *vtopo;
  };
  for (const Cas& c : {Cas{" A 1 ", "A_1        "}, Cas{"x*y,z", "x_y_z      "}, Cas{"12345678901", "12345678901         "},
                       Cas{"12345678901234567890", "12345678901234567890 "}})
    EXPECT_EQ(NomVTopo(c.nom), c.vtopo) << c.nom;
}

namespace {

// A gallery from an entrance, its first station 0.3 m away, and a side
// gallery whose first station lies 53.4 m along.
struct CaviteSeries {
  ReseauCalcul n;
  TCavite* c = nullptr;
  CaviteSeries(const std::string& long1 = "1", const std::string& entree = "E1") {
    n.Surface(entree, 1000, 2000, 500);
    c = n.Cavite("Grotte");
    n.Visee(c, entree, long1, 0, 0, 0.3);
    n.Visee(c, long1, "2", 0, 0, 50);
    n.Visee(c, "2", "3", 0, 0, 10);
    c->AjouteGalerie("Branche");
    n.Visee(c, "2", "A 1", 90, 0, 3.1);
    n.Visee(c, "A 1", "A_1", 90, 0, 5);
    n.Regenere();
    n.R().CalculeReseau();
  }
  std::string Nom(const std::string& s) { return n.Station(c, s)->DesignVTopo; }
};

}  // namespace

TEST(ExportVTopo, NumerotationParSeries) {
  CaviteSeries t;
  NumeroteVTopo(*t.c, false);
  EXPECT_EQ(t.n.Surface("E1")->DesignVTopo, "Ent_1      ");
  EXPECT_EQ(t.Nom("1"), "1_1        ");
  EXPECT_EQ(t.Nom("2"), "1_2        ");
  EXPECT_EQ(t.Nom("3"), "1_3        ");
  EXPECT_EQ(t.Nom("A 1"), "53_1       ");
  EXPECT_EQ(t.Nom("A_1"), "53_2       ");
}

TEST(ExportVTopo, NomsGardes) {
  CaviteSeries t("un nom de station trop long", "Entrée du gouffre");
  NumeroteVTopo(*t.c, true);
  EXPECT_EQ(t.n.Surface("Entrée du gouffre")->DesignVTopo, "Entrée_1   ");
  EXPECT_EQ(t.Nom("un nom de station trop long"), "Point_Renommé_1     ");
  EXPECT_EQ(t.Nom("2"), "2          ");
  // "A 1" and "A_1" would be one station once read back.
  EXPECT_EQ(t.Nom("A 1"), "A_1        ");
  EXPECT_EQ(t.Nom("A_1"), "Point_Renommé_2     ");
}

TEST(ExportVTopo, LignesDuFichier) {
  CaviteSeries t;
  TLever* l = t.n.Lever(t.c);
  l->UniteDeclin = UniteDeclinGrades;
  l->Declinaison = 2;
  TVisee* v = t.c->LaVisee(2);
  v->LeLever = l;
  v->Exclue = 1;
  v->CommentVisee = {"a", "b"};
  // A splay typed as horizontal length and height difference, read backwards.
  auto h = std::make_unique<TViseeHabi>();
  h->Typesaisie = SaisieDenivLongueurHoriz;
  h->LH = 3;
  h->Deniv = 4;
  h->Az = 10;
  h->InvAz = true;
  v->AjouteViseeHabi(std::move(h));
  t.n.R().CalculeReseau();
  const std::vector<std::string> lignes = formats::LignesFichierTRO(*t.c, true);
  ASSERT_GE(lignes.size(), 10u);
  EXPECT_EQ(lignes[0], "Version 5.09");
  EXPECT_EQ(lignes[2], "Trou Grotte,1.000,2.000,500");
  EXPECT_EQ(lignes[3], "Entree E1         ");
  EXPECT_EQ(lignes[4], "Param Deca Degd Clino Degd 0.0000 Dir,Dir,Dir Inc Std");
  EXPECT_EQ(lignes[5], "E1         E1               0.00    0.00    0.00      *      *      *      * N I * N");
  std::vector<std::string> param;
  for (const std::string& s : lignes)
    if (s.rfind("Param", 0) == 0) param.push_back(s);
  ASSERT_EQ(param.size(), 3u);
  EXPECT_EQ(param[1], "Param Deca Degd Clino Degd 1.8000 Dir,Dir,Dir Inc Std");
  bool exclue = false, habi = false;
  for (const std::string& s : lignes) {
    if (s.find(" N E * N ;ab") != std::string::npos) exclue = true;
    if (s.find("*          ") == 11) {
      habi = true;
      EXPECT_EQ(s.substr(22, 26), "      5.00  190.00   53.13") << s;
      EXPECT_NE(s.find("      *      *      *      * N E M *"), std::string::npos);
    }
  }
  EXPECT_TRUE(exclue);
  EXPECT_TRUE(habi);
}

// The written file of each loop-free real VTopo file, turned into Survex by
// the test's own reading and computed by cavern, against the stations of the
// cave it was written from.
TEST(ExportVTopo, CommeSurvex) {
  if (!testformats::CavernPresent()) GTEST_SKIP() << "Survex (cavern, dump3d) n'est pas installé";
  for (const char* fichier : {"Olivier.tro", "TestSections.tro"}) {
    projections::GardeProjections catalogue;
    ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionAutres));
    testformats::ReseauImport r;
    ASSERT_TRUE(r.Importe(std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/" + fichier)) << fichier;
    TCavite* c = r.Cavite();
    ASSERT_NE(c, nullptr);
    r.R().CalculeReseau();
    std::string octets;
    for (const std::string& l : formats::LignesFichierTRO(*c, true)) octets += l + "\r\n";
    octets = foundation::VersWindows1252(octets);
    const double convergence = c->CalculeConvergence() * 180 / std::numbers::pi;
    std::unordered_map<std::string, std::string> noms;
    auto nom = [&](const std::string& n) {
      auto it = noms.find(n);
      if (it == noms.end()) it = noms.emplace(n, "s" + std::to_string(noms.size())).first;
      return it->second;
    };
    std::string erreur;
    const auto survex = testformats::PositionsSurvex(
        testformats::VersSvx(testformats::LitTro(octets), nom, convergence), r.Dossier.Chemin(), erreur);
    ASSERT_TRUE(erreur.empty()) << erreur;
    int compares = 0;
    for (const TPointSpeleo* p : c->ListePoints) {
      const auto it = noms.find(foundation::OteBlancs(p->DesignVTopo));
      if (it == noms.end()) continue;  // reached by excluded shots only
      const auto s = survex.find(it->second);
      ASSERT_NE(s, survex.end()) << fichier << " " << p->DesignPTopo;
      // Centimetres and hundredths of a degree per shot along the way.
      const double borne = 0.01 + 0.0002 * p->Slp;
      EXPECT_NEAR(p->X, s->second[0], borne) << fichier << " " << p->DesignPTopo;
      EXPECT_NEAR(p->Y, s->second[1], borne) << fichier << " " << p->DesignPTopo;
      EXPECT_NEAR(p->Z, s->second[2], borne) << fichier << " " << p->DesignPTopo;
      ++compares;
    }
    EXPECT_GT(compares, 3) << fichier;
  }
}

// A cave of every entry type, units in grades and percent, a declination,
// back-sights, a shot stored backwards, a thread counter, an excluded shot
// with a comment and splays: written, read back by our own reader, computed
// again, every station and splay end in place within the written rounding.
TEST(ExportVTopo, AllerRetourParLeLecteur) {
  ReseauCalcul n;
  n.Surface("E1", 1000, 2000, 500);
  TCavite* c = n.Cavite("Construite");
  TLever* grades = n.Lever(c);
  grades->UniteAZ = 1;
  grades->UniteP = 2;
  grades->UniteDeclin = UniteDeclinDegres;
  grades->Declinaison = 2;
  n.Visee(c, "E1", "1", 10, -20, 12);
  TVisee* v = n.Visee(c, "1", "2", 40, 10, 0);
  v->Typesaisie = SaisiePenteLongueurHoriz;
  v->LH = 8;
  v = n.Visee(c, "2", "3", 80, 0, 6);
  v->Typesaisie = SaisieDenivLongueur;
  v->Deniv = -3;
  v = n.Visee(c, "3", "4", 120, 0, 0);
  v->Typesaisie = SaisieDenivLongueurHoriz;
  v->Deniv = 2;
  v->LH = 5;
  v = n.Visee(c, "4", "5", 160, 0, 9);
  v->Typesaisie = SaisieProfondeurLongueur;
  v->Deniv = 4;
  v = n.Visee(c, "5", "6", 150, 12, 7, grades);
  for (int k = 0; k < 2; ++k) {
    auto h = std::make_unique<TViseeHabi>();
    h->Az = 50 + 100 * k;
    h->pente = -8;
    h->Long = 2.5;
    h->InvAz = k == 1;
    v->AjouteViseeHabi(std::move(h));
  }
  v = n.Visee(c, "6", "7", 30, 5, 4, grades);
  v->InvAz = true;
  v->InvP = true;
  n.Visee(c, "8", "7", 200, -15, 6);
  v = n.Visee(c, "8", "9", 250, 0, 0);
  v->SaisieTopoFil = true;
  v->TopofilDeb = 1000;
  v->TopofilFin = 1550;
  v = n.Visee(c, "9", "10", 300, 3, 11);
  v->Exclue = 1;
  v->CommentVisee = {"exclue"};
  n.Regenere();
  n.R().CalculeReseau();

  std::string texte;
  for (const std::string& l : formats::LignesFichierTRO(*c, true)) texte += l + "\r\n";
  testformats::ReseauImport r;
  ASSERT_TRUE(r.Importe(r.Tro(texte))) << texte;
  TCavite* lu = r.Cavite();
  ASSERT_NE(lu, nullptr);
  r.R().CalculeReseau();
  const TPointSpeleo* e0 = c->LEntree();
  const TPointSpeleo* e1 = lu->LEntree();
  ASSERT_TRUE(e0 && e1);
  EXPECT_NEAR(e1->X, e0->X, 0.5);
  EXPECT_NEAR(e1->Z, e0->Z, 0.5);
  int compares = 0;
  for (const TPointSpeleo* p : c->ListePoints) {
    const TPointSpeleo* q = r.Station(p->DesignPTopo);
    ASSERT_NE(q, nullptr) << p->DesignPTopo << "\n" << texte;
    const double borne = 0.01 + 0.0002 * p->Slp;
    EXPECT_NEAR(q->X - e1->X, p->X - e0->X, borne) << p->DesignPTopo << "\n" << texte;
    EXPECT_NEAR(q->Y - e1->Y, p->Y - e0->Y, borne) << p->DesignPTopo;
    EXPECT_NEAR(q->Z - e1->Z, p->Z - e0->Z, borne) << p->DesignPTopo;
    ++compares;
  }
  EXPECT_EQ(compares, 10);
  ASSERT_NE(r.Visee("9", "10"), nullptr);
  EXPECT_TRUE(r.Visee("9", "10")->EstExclue());
  const TVisee* avecHabi = r.Visee("5", "6");
  ASSERT_NE(avecHabi, nullptr);
  std::vector<const TViseeHabi*> habiLues;
  for (const TVisee* w : lu->Visees)
    for (const TViseeHabi* h : w->ViseesHabi) habiLues.push_back(h);
  ASSERT_EQ(habiLues.size(), 2u);
  const TVisee* source = nullptr;
  for (const TVisee* w : c->Visees)
    if (w->ViseesHabi.Count() > 0) source = w;
  ASSERT_NE(source, nullptr);
  for (size_t k = 0; k < 2; ++k) {
    const TViseeHabi* a = source->LaViseeHabi(static_cast<int>(k));
    const TViseeHabi* b = habiLues[k];
    ASSERT_NE(b->PtStation(), nullptr);
    EXPECT_EQ(b->PtStation()->DesignPTopo, a->PtStation()->DesignPTopo);
    EXPECT_NEAR(b->X - e1->X, a->X - e0->X, 0.05) << k;
    EXPECT_NEAR(b->Y - e1->Y, a->Y - e0->Y, 0.05) << k;
    EXPECT_NEAR(b->Z - e1->Z, a->Z - e0->Z, 0.05) << k;
  }
}

namespace {

// The .svx with only the shots joined to the fixed entrance: cavern refuses
// a survey with parts attached to no fixed point, as "LA SALLE.tro" has.
std::string PartieDeLEntree(const std::string& svx) {
  std::vector<std::string> lignes;
  std::istringstream in(svx);
  for (std::string l; std::getline(in, l);) lignes.push_back(l);
  std::set<std::string> atteintes;
  for (const std::string& l : lignes)
    if (l.rfind("*fix ", 0) == 0) atteintes.insert(testformats::Mots(l).at(1));
  for (bool change = true; change;) {
    change = false;
    for (const std::string& l : lignes) {
      if (l.empty() || l[0] == '*') continue;
      const std::vector<std::string> m = testformats::Mots(l);
      if (atteintes.count(m[0]) != atteintes.count(m[1])) {
        atteintes.insert(m[0]);
        atteintes.insert(m[1]);
        change = true;
      }
    }
  }
  std::string r;
  for (const std::string& l : lignes)
    if (l.empty() || l[0] == '*' || atteintes.count(testformats::Mots(l).at(0))) r += l + "\n";
  return r;
}

// An "E" shot is left out of the lengths only: it still places its station.
testformats::FichierTro Calculees(testformats::FichierTro f) {
  for (testformats::LigneTro& l : f.lignes) l.exclue = false;
  return f;
}

}  // namespace

// The real VTopo files with loops, written and turned into Survex by the
// test's own reading: cavern spreads each loop's misclosure by least squares,
// the program by its own loop closure, so every station of the cave lies
// within the largest misclosure the program reports of cavern's place for it.
// Where the test's reading takes the original file as it stands (it has no
// depth-gauge blocks, which "LA SALLE.tro" has), cavern on the original and
// on the written file agree within it too.
TEST(ExportVTopo, BouclesCommeSurvex) {
  if (!testformats::CavernPresent()) GTEST_SKIP() << "Survex (cavern, dump3d) n'est pas installé";
  struct Cas {
    const char* fichier;
    bool originalLisible;
  };
  for (const Cas& cas : {Cas{"topo asperge avec ruisseau.TRO", true}, Cas{"LA SALLE.tro", false}}) {
    SCOPED_TRACE(cas.fichier);
    projections::GardeProjections catalogue;
    ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionAutres));
    testformats::ReseauImport r;
    const std::string chemin = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/" + cas.fichier;
    ASSERT_TRUE(r.Importe(chemin));
    TCavite* c = r.Cavite();
    ASSERT_NE(c, nullptr);
    double ecartMax = 0;
    {
      survey::GardeRapportCalcul rapport;
      r.R().CalculeReseau();
      for (const auto& j : survey::ListeBouclages())
        for (const auto& b : j->BranchesBouclage)
          ecartMax = std::max(ecartMax, std::hypot(b->EcartX, b->EcartY, b->EcartZ));
    }
    ASSERT_GT(ecartMax, 0);
    std::string octets;
    for (const std::string& l : formats::LignesFichierTRO(*c, true)) octets += l + "\r\n";
    octets = foundation::VersWindows1252(octets);
    const double convergence = c->CalculeConvergence() * 180 / std::numbers::pi;
    std::unordered_map<std::string, std::string> noms;
    auto nom = [&](const std::string& n) {
      auto it = noms.find(n);
      if (it == noms.end()) it = noms.emplace(n, "s" + std::to_string(noms.size())).first;
      return it->second;
    };
    std::string erreur;
    const auto ecrit = testformats::PositionsSurvex(
        PartieDeLEntree(testformats::VersSvx(Calculees(testformats::LitTro(octets)), nom, convergence)),
        r.Dossier.Chemin(), erreur);
    ASSERT_TRUE(erreur.empty()) << erreur;
    std::map<std::string, std::array<double, 3>> original;
    if (cas.originalLisible) {
      original = testformats::PositionsSurvex(
          PartieDeLEntree(
              testformats::VersSvx(Calculees(testformats::LitTro(testsupport::LitOctets(chemin))), nom, convergence)),
          r.Dossier.Chemin(), erreur);
      ASSERT_TRUE(erreur.empty()) << erreur;
    }
    int compares = 0;
    for (const TPointSpeleo* p : c->ListePoints) {
      const auto it = noms.find(foundation::OteBlancs(p->DesignVTopo));
      if (it == noms.end()) continue;
      const auto s = ecrit.find(it->second);
      if (s == ecrit.end()) continue;  // in a part the entrance does not reach
      const std::array<double, 3>& e = s->second;
      EXPECT_LE(std::hypot(p->X - e[0], p->Y - e[1], p->Z - e[2]), ecartMax) << p->DesignPTopo;
      if (cas.originalLisible) {
        const auto o = original.find(it->second);
        ASSERT_NE(o, original.end()) << p->DesignPTopo;
        EXPECT_LE(std::hypot(o->second[0] - e[0], o->second[1] - e[1], o->second[2] - e[2]), ecartMax)
            << p->DesignPTopo;
      }
      ++compares;
    }
    EXPECT_GT(compares, 800);
  }
}
