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
#include <utility>
#include <vector>

#include "formats/export/export_vtopo.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "platform/scripted_dialogs.h"
#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "survey/bouclage.h"
#include "tests/formats/import_test_support.h"
#include "tests/formats/survex_tro.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/reseau_calcul.h"

using formats::NomVTopo;
using formats::NumeroteVTopo;
using testsurvey::ReseauCalcul;
using namespace survey;

TEST(ExportVTopo, NomsVTopo) {
  struct Cas {
    const char *nom, *vtopo;
  };
  for (const Cas& c : {Cas{" A 1 ", "A_1        "}, Cas{"x*y,z", "x_y_z      "}, Cas{"a\tb\r\nc", "a_b__c     "},
                       Cas{"Salle_été", "Salle_été  "}, Cas{"12345678901", "12345678901         "},
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
  const std::vector<formats::RenommageVTopo> renommes = NumeroteVTopo(*t.c, true);
  EXPECT_EQ(t.n.Surface("Entrée du gouffre")->DesignVTopo, "Entree_1   ");
  EXPECT_EQ(t.Nom("un nom de station trop long"), "un_nom_de_station_1 ");
  EXPECT_EQ(t.Nom("2"), "2          ");
  // "A 1" and "A_1" would be one station once read back: the name written as
  // it stands wins.
  EXPECT_EQ(t.Nom("A_1"), "A_1        ");
  EXPECT_EQ(t.Nom("A 1"), "A_1_1      ");
  std::vector<std::string> liste;
  for (const formats::RenommageVTopo& r : renommes) liste.push_back(r.Nom + " > " + r.NomEcrit);
  EXPECT_EQ(liste, (std::vector<std::string>{"Entrée du gouffre > Entree_1",
                                             "un nom de station trop long > un_nom_de_station_1", "A 1 > A_1_1"}));
  // The generated numbering renames by choice: nothing to report.
  EXPECT_TRUE(NumeroteVTopo(*t.c, false).empty());
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
  EXPECT_EQ(lignes[2], "Trou Grotte,1.00000,2.00000,500.00");
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

namespace {

// A real VTopo file of the shared fixtures imported with the catalogue of the
// other regions, then, once its network is computed, written again and
// turned into Survex by the test's own reading: stations named s0, s1, ... in
// the order they are met, the same name for the same station in every file
// turned into Survex through the same object.
class ExportParSurvex {
 public:
  // The file imported; false when the catalogue or the import fails.
  bool Importe(const char* fichier) {
    chemin_ = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/" + fichier;
    return projections::ChargeListeProjections(projections::RegionAutres) && r_.Importe(chemin_);
  }
  testformats::ReseauImport& Import() { return r_; }
  const std::string& Chemin() const { return chemin_; }

  // The cave written as a VTopo file, as it goes to disk (Windows-1252).
  static std::string Ecrit(TCavite& c) {
    std::string octets;
    for (const std::string& l : formats::LignesFichierTRO(c, true)) octets += l + "\r\n";
    return foundation::VersWindows1252(octets);
  }

  // The .svx of a file read by the test, turned by the cave's convergence.
  std::string Svx(const testformats::FichierTro& f, TCavite& c) {
    const double convergence = c.CalculeConvergence() * 180 / std::numbers::pi;
    return testformats::VersSvx(f, [this](const std::string& n) { return NomSurvex(n); }, convergence);
  }

  // cavern's positions of the .svx's stations, by their Survex names.
  std::map<std::string, std::array<double, 3>> Positions(const std::string& svx, std::string& erreur) {
    return testformats::PositionsSurvex(svx, r_.Dossier.Chemin(), erreur);
  }

  // The Survex name of a station of the cave; null when no file turned into
  // Survex named it (a station reached by excluded shots only).
  const std::string* NomDe(const TPointSpeleo& p) const {
    const auto it = noms_.find(foundation::OteBlancs(p.DesignVTopo));
    return it == noms_.end() ? nullptr : &it->second;
  }

 private:
  std::string NomSurvex(const std::string& n) {
    auto it = noms_.find(n);
    if (it == noms_.end()) it = noms_.emplace(n, "s" + std::to_string(noms_.size())).first;
    return it->second;
  }

  projections::GardeProjections catalogue_;
  testformats::ReseauImport r_;
  std::string chemin_;
  std::unordered_map<std::string, std::string> noms_;
};

}  // namespace

// The written file of each loop-free real VTopo file, turned into Survex by
// the test's own reading and computed by cavern, against the stations of the
// cave it was written from.
TEST(ExportVTopo, CommeSurvex) {
  if (!testformats::CavernPresent()) GTEST_SKIP() << "Survex (cavern, dump3d) n'est pas installé";
  for (const char* fichier : {"Olivier.tro", "TestSections.tro"}) {
    ExportParSurvex e;
    ASSERT_TRUE(e.Importe(fichier)) << fichier;
    TCavite* c = e.Import().Cavite();
    ASSERT_NE(c, nullptr);
    e.Import().R().CalculeReseau();
    std::string erreur;
    const auto survex = e.Positions(e.Svx(testformats::LitTro(ExportParSurvex::Ecrit(*c)), *c), erreur);
    ASSERT_TRUE(erreur.empty()) << erreur;
    int compares = 0;
    for (const TPointSpeleo* p : c->ListePoints) {
      const std::string* nom = e.NomDe(*p);
      if (!nom) continue;  // reached by excluded shots only
      const auto s = survex.find(*nom);
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
    ExportParSurvex e;
    ASSERT_TRUE(e.Importe(cas.fichier));
    TCavite* c = e.Import().Cavite();
    ASSERT_NE(c, nullptr);
    double ecartMax = 0;
    {
      survey::GardeRapportCalcul rapport;
      e.Import().R().CalculeReseau();
      for (const auto& j : survey::ListeBouclages())
        for (const auto& b : j->BranchesBouclage)
          ecartMax = std::max(ecartMax, std::hypot(b->EcartX, b->EcartY, b->EcartZ));
    }
    ASSERT_GT(ecartMax, 0);
    std::string erreur;
    const auto ecrit = e.Positions(
        PartieDeLEntree(e.Svx(Calculees(testformats::LitTro(ExportParSurvex::Ecrit(*c))), *c)), erreur);
    ASSERT_TRUE(erreur.empty()) << erreur;
    std::map<std::string, std::array<double, 3>> original;
    if (cas.originalLisible) {
      original = e.Positions(
          PartieDeLEntree(e.Svx(Calculees(testformats::LitTro(testsupport::LitOctets(e.Chemin()))), *c)), erreur);
      ASSERT_TRUE(erreur.empty()) << erreur;
    }
    int compares = 0;
    for (const TPointSpeleo* p : c->ListePoints) {
      const std::string* nom = e.NomDe(*p);
      if (!nom) continue;
      const auto s = ecrit.find(*nom);
      if (s == ecrit.end()) continue;  // in a part the entrance does not reach
      const std::array<double, 3>& e = s->second;
      EXPECT_LE(std::hypot(p->X - e[0], p->Y - e[1], p->Z - e[2]), ecartMax) << p->DesignPTopo;
      if (cas.originalLisible) {
        const auto o = original.find(*nom);
        ASSERT_NE(o, original.end()) << p->DesignPTopo;
        EXPECT_LE(std::hypot(o->second[0] - e[0], o->second[1] - e[1], o->second[2] - e[2]), ecartMax)
            << p->DesignPTopo;
      }
      ++compares;
    }
    EXPECT_GT(compares, 800);
  }
}

namespace {

// A station of the cave's active gallery named as an existing one (the shot
// dialog made one when a shot was typed to an existing name), and the shot
// that reaches it.
TVisee* ViseeVersNouvelleStation(ReseauCalcul& n, TCavite* c, const std::string& de, const std::string& nom, double az,
                                 double pente, double longueur) {
  auto p = std::make_unique<TPointSpeleo>();
  p->DesignPTopo = nom;
  TGalerie* g = c->Galeries.Last();
  p->GalduPt = g;
  auto v = std::make_unique<TVisee>();
  v->PointStation = n.Point(c, de);
  v->PointVise = g->Points.Add(std::move(p));
  v->Az = az;
  v->pente = pente;
  v->Long = longueur;
  v->LeLever = LeverParDefaut();
  return c->Visees.Add(std::move(v));
}

TViseeHabi* Habillage(TVisee* v, bool depuisStation, double az, double pente, double longueur) {
  auto h = std::make_unique<TViseeHabi>();
  h->RefPtStat = depuisStation;
  h->Az = az;
  h->pente = pente;
  h->Long = longueur;
  return v->AjouteViseeHabi(std::move(h));
}

// A typed network in LT 93: a loop closed on station 1, a splay, a
// back-sight, accented station, gallery and cave names.
TCavite* BoucleEtAccents(ReseauCalcul& n) {
  n.Surface("Entrée", 925432.17, 6412345.28, 1234.56);
  TCavite* c = n.Cavite("Grotte de la Façade");
  TLever* l = n.Lever(c);
  l->UniteDeclin = UniteDeclinDegres;
  l->Declinaison = 1.25;
  n.Visee(c, "Entrée", "1", 10, -20, 12.34, l);
  TVisee* v = n.Visee(c, "1", "Salle_é", 45.5, 5, 8.76, l);
  Habillage(v, false, 120.25, -8.5, 2.5);
  Habillage(v, true, 300, 12.75, 1.85);
  n.Visee(c, "Salle_é", "Puits_è", 100.25, -35, 6.5, l);
  // Read from its end backwards: 170 degrees and -10 forwards.
  v = n.Visee(c, "Puits_è", "Façade", 350, 10, 7.1, l);
  v->InvAz = true;
  v->InvP = true;
  n.Visee(c, "Façade", "1", 280, 18, 13.2, l);
  c->AjouteGalerie("Boyau du garçon");
  n.Visee(c, "Salle_é", "Cheminée", 200, 60, 4.2, l);
  n.Visee(c, "Cheminée", "Fin_ç", 215.5, 2.5, 3.33, l);
  return c;
}

// A shot typed from 5 to a new station named 1 (no loop), a station already
// named 1_1.
TCavite* NomEnDouble(ReseauCalcul& n) {
  n.Surface("E", 950000.5, 6600200.25, 300);
  TCavite* c = n.Cavite("Doublon");
  n.Visee(c, "E", "1", 0, -10, 5);
  n.Visee(c, "1", "2", 90, 0, 6);
  n.Visee(c, "2", "3", 180, 5, 7);
  n.Visee(c, "3", "4", 270, 0, 5.5);
  n.Visee(c, "4", "5", 300, 0, 2.25);
  ViseeVersNouvelleStation(n, c, "5", "1", 10, 0, 4);
  n.Visee(c, "2", "1_1", 45, 30, 3);
  return c;
}

// Names the file cannot hold as they stand.
TCavite* NomsAChanger(ReseauCalcul& n) {
  n.Surface("Entrée du gouffre", 850000, 6300000, 800);
  TCavite* c = n.Cavite("Noms");
  c->AjouteGalerie("Galerie des érables");
  n.Visee(c, "Entrée du gouffre", "Grès 2", 30, -45, 10);
  n.Visee(c, "Grès 2", "un nom de station bien trop long", 60, 0, 8);
  TVisee* v = n.Visee(c, "un nom de station bien trop long", "Łąka", 90, 10, 6);
  Habillage(v, false, 0, 0, 1.5);
  n.Visee(c, "Łąka", "Parametre", 120, -5, 4);
  n.Visee(c, "Parametre", "A 1", 150, 0, 3);
  n.Visee(c, "A 1", "A_1", 180, 0, 2);
  return c;
}

// Where each field of a shot or splay line stands, in bytes: the start of
// the two stations, the end of the length, azimuth, slope and dimensions.
std::vector<size_t> ColonnesDeLigne(const std::string& ligne) {
  std::vector<size_t> colonnes;
  size_t i = 0;
  for (int champ = 0; champ < 9; ++champ) {
    while (i < ligne.size() && ligne[i] == ' ') ++i;
    const size_t debut = i;
    while (i < ligne.size() && ligne[i] != ' ') ++i;
    colonnes.push_back(champ < 2 ? debut : i);
  }
  return colonnes;
}

std::vector<std::string> LignesOctets(const std::string& octets) {
  std::vector<std::string> lignes;
  std::istringstream in(octets);
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lignes.push_back(l);
  }
  return lignes;
}

}  // namespace

// A cave exported through the command (names kept), read back by the reader
// and computed again: every station where it was within a millimetre (the
// loop closed the same way), the same shots and splays, the file in
// Windows-1252 with its fields in the same columns on every line, and the
// stations VTopo cannot name as they are renamed in ASCII and listed in one
// warning.
TEST(ExportVTopo, RetourParLeLecteur) {
  struct Cas {
    const char* nom;
    TCavite* (*construit)(ReseauCalcul&);
    std::vector<std::pair<std::string, std::string>> renommes;  // name, name written
    const char* octets;  // a name as its Windows-1252 bytes
  };
  const Cas cas[] = {
      {"boucle et accents", BoucleEtAccents, {}, "Fa\xE7" "ade "},
      {"nom en double", NomEnDouble, {{"1", "1_2"}}, "1_2 "},
      {"noms à changer",
       NomsAChanger,
       {{"Entrée du gouffre", "Entree_1"},
        {"Grès 2", "Grès_2"},
        {"un nom de station bien trop long", "un_nom_de_station_1"},
        {"Łąka", "__ka_1"},
        {"Parametre", "_Parametre_1"},
        {"A 1", "A_1_1"}},
       "Gr\xE8s_2 "},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    projections::GardeProjections catalogue;
    ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionFrance));
    ReseauCalcul n;
    n.R().Projection = "LT 93";
    TCavite* c = k.construit(n);
    n.Regenere();
    n.R().CalculeReseau();
    // The file must carry the grid convergence too: far enough from the
    // central meridian for it to matter.
    EXPECT_GT(std::fabs(c->CalculeConvergence()), 0.01);
    int habillages = 0;
    for (const TVisee* v : c->Visees) habillages += v->ViseesHabi.Count();

    // The export as the command runs it: names kept, one file chosen.
    testsupport::DossierTemp dossier;
    const std::string chemin = dossier.Fichier("sortie.tro");
    std::vector<std::string> avertissements;
    {
      platform::ScriptedDialogs d;
      platform::ScopedDialogs garde(d);
      d.QueueAnswer(platform::Answer::Yes);
      d.QueueFile(chemin);
      ASSERT_TRUE(formats::GenereFichierTRO(*c));
      EXPECT_EQ(d.Unanswered(), 0);
      for (const auto& s : d.Log())
        if (s.event == platform::ScriptedDialogs::Event::Message && s.kind == platform::MessageKind::Warning)
          avertissements.push_back(s.text);
    }
    if (k.renommes.empty()) {
      EXPECT_TRUE(avertissements.empty()) << avertissements.front();
    } else {
      ASSERT_EQ(avertissements.size(), 1u);
      for (const auto& [nom, ecrit] : k.renommes)
        EXPECT_NE((avertissements[0] + "\n").find("\n« " + nom + " » → " + ecrit + "\n"), std::string::npos)
            << nom << "\n" << avertissements[0];
    }
    std::map<std::string, std::string> renommes;
    std::vector<const TPointSpeleo*> stations(c->ListeEntrees.begin(), c->ListeEntrees.end());
    stations.insert(stations.end(), c->ListePoints.begin(), c->ListePoints.end());
    for (const TPointSpeleo* p : stations) {
      const std::string ecrit = foundation::OteBlancs(p->DesignVTopo);
      if (ecrit == p->DesignPTopo) continue;
      renommes[p->DesignPTopo] = ecrit;
      // A name more than cleaned is made in ASCII.
      if (ecrit != foundation::OteBlancs(formats::NomVTopo(p->DesignPTopo))) {
        for (char ch : ecrit) EXPECT_GT(static_cast<signed char>(ch), 0) << ecrit;
      }
    }
    EXPECT_EQ(renommes, (std::map<std::string, std::string>(k.renommes.begin(), k.renommes.end())));

    // The bytes: Windows-1252, every shot and splay line with its fields in
    // the same columns.
    const std::string octets = testsupport::LitOctets(chemin);
    ASSERT_FALSE(octets.empty());
    std::string attendu;
    for (const std::string& l : formats::LignesFichierTRO(*c, true)) attendu += l + "\r\n";
    EXPECT_EQ(octets, foundation::VersWindows1252(attendu));
    EXPECT_EQ(octets.find('?'), std::string::npos);
    EXPECT_NE(octets.find(k.octets), std::string::npos);
    std::set<std::vector<size_t>> colonnes;
    bool corps = false;
    for (const std::string& l : LignesOctets(octets)) {
      if (l.rfind("Param", 0) == 0) {
        corps = true;
        continue;
      }
      if (corps && !l.empty()) colonnes.insert(ColonnesDeLigne(l));
    }
    EXPECT_EQ(colonnes.size(), 1u) << octets;

    // Read back and computed again.
    testformats::ReseauImport r;
    ASSERT_TRUE(r.Importe(chemin)) << octets;
    TCavite* lu = r.Cavite();
    ASSERT_NE(lu, nullptr);
    EXPECT_EQ(r.R().Projection, "LT 93");
    r.R().CalculeReseau();
    EXPECT_EQ(lu->Visees.Count(), c->Visees.Count());
    int habillagesLus = 0;
    for (const TVisee* v : lu->Visees) habillagesLus += v->ViseesHabi.Count();
    EXPECT_EQ(habillagesLus, habillages);
    EXPECT_EQ(r.NombreStations(), c->ListePoints.Count());
    auto proche = [](const auto* a, const auto* b, const std::string& quoi) {
      EXPECT_NEAR(a->X, b->X, 0.001) << quoi;
      EXPECT_NEAR(a->Y, b->Y, 0.001) << quoi;
      EXPECT_NEAR(a->Z, b->Z, 0.001) << quoi;
    };
    for (const TPointSpeleo* e : c->ListeEntrees) {
      const TPointSpeleo* q = r.PointSurface(foundation::OteBlancs(e->DesignVTopo));
      ASSERT_NE(q, nullptr) << e->DesignPTopo;
      proche(q, e, e->DesignPTopo);
    }
    for (const TPointSpeleo* p : c->ListePoints) {
      const TPointSpeleo* q = r.Station(foundation::OteBlancs(p->DesignVTopo));
      ASSERT_NE(q, nullptr) << p->DesignPTopo << "\n" << octets;
      proche(q, p, p->DesignPTopo);
      // Reached as often: a loop closed on the same station, no other.
      EXPECT_EQ(q->NbCalc, p->NbCalc) << p->DesignPTopo;
    }
    std::vector<const TViseeHabi*> source, lus;
    for (const TVisee* v : c->Visees)
      for (const TViseeHabi* h : v->ViseesHabi) source.push_back(h);
    for (const TVisee* v : lu->Visees)
      for (const TViseeHabi* h : v->ViseesHabi) lus.push_back(h);
    ASSERT_EQ(lus.size(), source.size());
    for (size_t i = 0; i < source.size(); ++i) {
      ASSERT_NE(lus[i]->PtStation(), nullptr);
      EXPECT_EQ(lus[i]->PtStation()->DesignPTopo, foundation::OteBlancs(source[i]->PtStation()->DesignVTopo));
      proche(lus[i], source[i], "habillage " + std::to_string(i));
    }
  }
}
