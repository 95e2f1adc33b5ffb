// The Therion centreline reader: the real TopoDroid and PocketTopo exports
// against Therion itself (station positions from its .3d export read back by
// dump3d, leg totals from its log), and the reader's rules on small files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include "formats/import/therion/lecteur_therion.h"
#include "foundation/chaines.h"
#include "foundation/dates.h"
#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "survey/declinaison.h"
#include "survey/lever.h"
#include "tests/formats/import_test_support.h"
#include "tests/survey/survex_oracle.h"

namespace testformats {
namespace {

const std::string kDossierTherion = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/therion/";

bool TherionPresent() { return std::system("command -v therion >/dev/null 2>&1 && command -v dump3d >/dev/null 2>&1") == 0; }

// The magnetic declinations Therion's log gives, in degrees, by year (its
// "geomag declinations" table, one line "2023.1.1  2.7877" for each 1 January).
using DeclinaisonsTherion = std::map<int, double>;

// Therion's declination at a decimal year, interpolated between the two
// 1 January values of its log around it; NaN when they are missing.
double DeclinaisonTherion(const DeclinaisonsTherion& table, double annee) {
  const int a = static_cast<int>(std::floor(annee));
  const auto debut = table.find(a), fin = table.find(a + 1);
  if (debut == table.end() || fin == table.end()) return std::nan("");
  return debut->second + (annee - a) * (fin->second - debut->second);
}

// Runs Therion on a .th text: the positions of the named stations of its .3d
// export by name (the survey prefix removed), its total of leg lengths and
// the declinations of its log.
std::map<std::string, std::array<double, 3>> PositionsTherion(const std::string& th, const std::string& dossier,
                                                               const std::string& prefixe, double& totalJambes,
                                                               DeclinaisonsTherion* declinaisons = nullptr) {
  std::map<std::string, std::array<double, 3>> r;
  {
    std::ofstream(dossier + "/oracle.th", std::ios::binary) << th;
    std::ofstream(dossier + "/oracle.thconfig") << "source oracle.th\nexport model -fmt survex -o oracle.3d\n";
  }
  std::string sortie;
  if (testsurvey::LanceCommande("cd '" + dossier + "' && therion oracle.thconfig 2>&1", sortie) != 0) return r;
  std::ifstream journal(dossier + "/therion.log");
  bool tableDeclinaisons = false;
  for (std::string l; std::getline(journal, l);) {
    const size_t p = l.find("Total length of survey legs =");
    if (p != std::string::npos) totalJambes = foundation::TexteEnReel(foundation::OteBlancs(l.substr(p + 29, 8)));
    if (l.rfind("geomag declinations", 0) == 0) {
      tableDeclinaisons = true;
      continue;
    }
    int annee = 0, mois = 0, jour = 0;
    double d = 0;
    if (tableDeclinaisons && std::sscanf(l.c_str(), " %d.%d.%d %lf", &annee, &mois, &jour, &d) == 4) {
      if (declinaisons && mois == 1 && jour == 1) (*declinaisons)[annee] = d;
    } else {
      tableDeclinaisons = false;
    }
  }
  if (testsurvey::LanceCommande("dump3d '" + dossier + "/oracle.3d' 2>&1", sortie) != 0) return r;
  std::istringstream lignes(sortie);
  for (std::string ligne; std::getline(lignes, ligne);) {
    if (ligne.rfind("NODE ", 0) != 0) continue;
    std::istringstream m(ligne.substr(5));
    std::string x, y, z, n;
    m >> x >> y >> z >> n;
    if (n.size() < 3) continue;
    n = n.substr(1, n.size() - 2);
    if (!prefixe.empty()) {
      if (n.rfind(prefixe, 0) != 0) continue;
      n = n.substr(prefixe.size());
    }
    std::array<double, 3> p{};
    if (foundation::LitReel(x, p[0]) && foundation::LitReel(y, p[1]) && foundation::LitReel(z, p[2])) r[n] = p;
  }
  return r;
}

// Legs, splays and leg length counted from the file's lines: a shot line
// has five fields; the length is in the column the data command names.
struct CompteTh {
  int jambes = 0, habi = 0;
  double longueur = 0;
};

CompteTh CompteLignes(const std::string& texte) {
  CompteTh c;
  int colL = 2;
  bool donnees = false;
  std::istringstream lignes(texte);
  for (std::string l; std::getline(lignes, l);) {
    std::istringstream m(l);
    std::vector<std::string> mots;
    for (std::string w; m >> w;) mots.push_back(w);
    if (mots.empty() || mots[0][0] == '#') continue;
    if (mots[0] == "data") {
      donnees = true;
      for (size_t i = 2; i < mots.size(); ++i)
        if (mots[i] == "length" || mots[i] == "tape") colL = static_cast<int>(i) - 2;
      continue;
    }
    if (!donnees || mots.size() != 5) continue;
    double v;
    if (!foundation::LitReel(mots[2], v) || !foundation::LitReel(mots[3], v)) continue;
    if (mots[1] == "." || mots[1] == "-")
      ++c.habi;
    else {
      ++c.jambes;
      c.longueur += foundation::TexteEnReel(mots[static_cast<size_t>(colL)]);
    }
  }
  return c;
}

struct FichierTh {
  const char* nom;
  const char* cavite;
  const char* prefixe;  // of Therion's station names
  double totalLog;      // "Total length of survey legs" of therion.log
};

TEST(FichiersTherion, CommeTherion) {
  const FichierTh fichiers[] = {{"Beast_Cave.orig.th", "Beast Cave", "Beast_Cave.", 6.31},
                                {"demo.th", "demo", "", 30.27},
                                {"ar52.th", "ar52", "ar52.", 30.16},
                                {"M1b.th", "M1b", "M1b.", 89.28}};
  const bool therion = TherionPresent();
  for (const FichierTh& f : fichiers) {
    projections::GardeProjections catalogue;
    ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionFrance));
    ReseauImport r;
    const std::string chemin = kDossierTherion + f.nom;
    const std::string avant = testsupport::LitOctets(chemin);
    ASSERT_TRUE(r.Importe(chemin, formats::TypeImportTopoDroid)) << f.nom;
    TCavite* c = r.Cavite();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->NomCavite, f.cavite);
    const CompteTh attendu = CompteLignes(avant);
    int jambes = 0, habi = 0;
    double longueur = 0;
    for (const TVisee* v : c->Visees) {
      habi += v->ViseesHabi.Count();
      if (v->Exclue == 2) continue;  // the join to the surface point
      ++jambes;
      longueur += v->Long;
    }
    EXPECT_EQ(jambes, attendu.jambes) << f.nom;
    EXPECT_EQ(habi, attendu.habi) << f.nom;
    EXPECT_NEAR(longueur, attendu.longueur, 1e-9) << f.nom;
    EXPECT_NEAR(longueur, f.totalLog, 0.005) << f.nom;
    EXPECT_EQ(testsupport::LitOctets(chemin), avant);
    // Only M1b has a coordinate system and a date without a declination
    // command: its trip computes the declination of its date and place.
    EXPECT_EQ(c->Levers.First()->DecliAuto, std::string(f.nom) == "M1b.th") << f.nom;
    if (c->Levers.First()->DecliAuto) {
      // 4 October 2023 at M1b's entrance (3005 m): Therion's log gives
      // 2.909° (interpolated between its 1 January values), the trip computes
      // 2.903° with the field model at the entrance's height.
      r.R().CalculeReseau();
      EXPECT_NEAR(c->Levers.First()->Declinaison, 2.903, 0.001) << f.nom;
    }
    if (!therion) continue;
    // Therion computes the file as it stands: M1b (a UTM fix and a date, no
    // declination command) with the magnetic declination of its date and
    // place and the meridian convergence of its fix, as the network does.
    double total = 0;
    DeclinaisonsTherion declinaisons;
    const auto oracle = PositionsTherion(avant, r.Dossier.Chemin(), f.prefixe, total, &declinaisons);
    ASSERT_FALSE(oracle.empty()) << f.nom;
    EXPECT_NEAR(total, f.totalLog, 1e-9) << f.nom;
    r.R().CalculeReseau();
    EXPECT_TRUE(r.Dialogues.Messages().empty()) << f.nom << " : " << r.Dialogues.Messages().front();
    const survey::TLever& lever = *c->Levers.First();
    if (lever.DecliAuto) {
      double annee = 0;
      ASSERT_TRUE(survey::AnneeDecimale(lever.LaDate, annee));
      const double therion = DeclinaisonTherion(declinaisons, annee);
      std::cout << "[ oracle  ] " << f.nom << " du " << foundation::DateEnTexte(lever.LaDate)
                << " : déclinaison de Therion " << therion << " °, du lever " << lever.Declinaison << " °\n";
      EXPECT_NEAR(lever.Declinaison, therion, 0.02) << f.nom;
    }
    int compares = 0;
    std::vector<TPointSpeleo*> points{c->LEntree()};
    for (TGalerie* g : c->Galeries)
      for (TPointSpeleo* p : g->Points) points.push_back(p);
    for (const TPointSpeleo* p : points) {
      const auto it = oracle.find(p->DesignPTopo);
      ASSERT_NE(it, oracle.end()) << f.nom << " " << p->DesignPTopo;
      EXPECT_NEAR(p->X, it->second[0], 0.01) << f.nom << " " << p->DesignPTopo;
      EXPECT_NEAR(p->Y, it->second[1], 0.01) << f.nom << " " << p->DesignPTopo;
      EXPECT_NEAR(p->Z, it->second[2], 0.01) << f.nom << " " << p->DesignPTopo;
      ++compares;
    }
    EXPECT_EQ(compares, static_cast<int>(points.size()));
  }
  if (!therion) GTEST_SKIP() << "therion et dump3d absents : les positions ne sont pas comparées à Therion";
}

TEST(FichiersTherion, BeastCave) {
  ReseauImport r;
  formats::tImportTherion lecteur(&r.R());
  lecteur.TypeAppli = formats::TypeImportTopoDroid;
  ASSERT_TRUE(lecteur.ImporterFichier(kDossierTherion + "Beast_Cave.orig.th"));
  EXPECT_EQ(lecteur.NomSource, "TopoDroid");
  TCavite* c = r.Cavite();
  ASSERT_EQ(c->Levers.Count(), 1);
  EXPECT_EQ(foundation::DateEnTexte(c->Levers.First()->LaDate), "29/04/2023");
  ASSERT_EQ(c->Levers.First()->Operateurs.size(), 1u);
  EXPECT_EQ(c->Levers.First()->Operateurs[0]->DesignOpe, "Peter Anderson-Sprecher");
  const TPointSpeleo* e = c->LEntree();
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->EstPointSurface());
  EXPECT_EQ(e->DesignPTopo, "0");
  EXPECT_EQ(e->X, 0);
  EXPECT_EQ(e->Y, 0);
  EXPECT_EQ(e->Z, 0);
  const TVisee* v01 = r.Visee("0", "1");
  const TVisee* v12 = r.Visee("1", "2");
  ASSERT_TRUE(v01 && v12);
  EXPECT_EQ(v01->SensDessinCoupeOr, 0);  // extend vertical
  EXPECT_EQ(v12->SensDessinCoupeOr, 2);  // extend right
  const TPointSpeleo* s1 = r.Station("1");
  EXPECT_NEAR(s1->HauteurSup, 0.77 * std::sin(74.2 * std::numbers::pi / 180), 5e-4);
  EXPECT_NEAR(s1->HauteurSup, 0.741, 5e-4);
  EXPECT_NEAR(s1->HauteurInf, 0.049, 5e-4);
}

TEST(FichiersTherion, DemoEtM1b) {
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionAutres));
  {
    ReseauImport r;
    ASSERT_TRUE(r.Importe(kDossierTherion + "demo.th", formats::TypeImportTopoDroid));
    for (const char* n : {"503.1", "503.2", "503.3", "504.0", "504.6"}) EXPECT_NE(r.Station(n), nullptr) << n;
    EXPECT_NE(r.Visee("503.2", "504.0"), nullptr);
    const TPointSpeleo* e = r.Cavite()->LEntree();
    EXPECT_EQ(e->DesignPTopo, "503.0");
    EXPECT_NEAR(e->X, 600123.000, 1e-9);
    EXPECT_NEAR(e->Y, 200456.000, 1e-9);
    EXPECT_NEAR(e->Z, 777.770, 1e-9);
  }
  {
    ReseauImport r;
    ASSERT_TRUE(r.Importe(kDossierTherion + "M1b.th", formats::TypeImportTopoDroid));
    EXPECT_EQ(r.R().Projection, "UTM");
    EXPECT_EQ(r.R().NumFuseau, 32);
    const TPointSpeleo* s = r.PointSurface("0");
    ASSERT_NE(s, nullptr);
    EXPECT_NEAR(s->X, 326903.675, 1e-9);
    EXPECT_NEAR(s->Y, 5026481.521, 1e-9);
    EXPECT_NEAR(s->Z, 3005, 1e-9);
  }
}

// A .th file of a few lines through the reader (type 7), the reader kept for
// its staged records.
struct LectureTh {
  ReseauImport r;
  formats::tImportTherion lecteur{&r.R()};
  bool ok = false;
  explicit LectureTh(const std::string& texte, const std::string& nom = "essai.th") {
    const std::string chemin = r.Dossier.Fichier(nom);
    testsupport::EcritOctets(chemin, texte);
    lecteur.TypeAppli = formats::TypeImportTopoDroid;
    ok = lecteur.ImporterFichier(chemin);
  }
  const formats::TViseeImport& Vi(size_t i) const { return *lecteur.ViseesImportes.at(i); }
  const formats::TLeverImport& Lev() const { return *lecteur.LeversImportes.at(0); }
};

std::string Bloc(const std::string& corps, const std::string& data = "data normal from to length compass clino") {
  return "survey s\n centerline\n " + data + "\n" + corps + " endcenterline\nendsurvey\n";
}

TEST(TherionEnTete, NomsDeCavite) {
  struct Cas {
    std::string texte, nom, cavite;
  } cas[] = {
      {"survey x -title \"Grotte Bleue \"\ncenterline\ndata normal from to length compass clino\n1 2 3 4 5\n", "a.th",
       "Grotte Bleue"},
      {"survey nue\ncenterline\ndata normal from to length compass clino\n1 2 3 4 5\n", "a.th", "nue"},
      {"centerline\ndata normal from to length compass clino\n1 2 3 4 5\n", "fichier.x.th", "fichier"},
      {"# 2020 created by Qave\nsurvey word_12\\\ncenterline\ndata normal from to length compass clino\n1 2 3 4 5\n",
       "a.th", "word"},
      // Latin-1 bytes are no UTF-8: the name keeps the 8-bit text.
      {"survey x -title \"Mudr\xe1k\"\ncenterline\ndata normal from to length compass clino\n1 2 3 4 5\n", "a.th",
       "Mudrák"},
      {"survey x -title \"Mudr\xc3\xa1k\"\ncenterline\ndata normal from to length compass clino\n1 2 3 4 5\n", "a.th",
       "Mudrák"},
  };
  for (const Cas& c : cas) {
    LectureTh l(c.texte, c.nom);
    ASSERT_TRUE(l.ok) << c.texte;
    EXPECT_EQ(l.r.Cavite()->NomCavite, c.cavite) << c.texte;
  }
}

TEST(TherionEnTete, SansCentrelineEchoue) {
  for (const std::string texte : {"survey x\n1 2 3 4 5\n", "survey x\ncenterline", "survey x\ncenterlines\nx\n"}) {
    LectureTh l(texte);
    EXPECT_FALSE(l.ok) << texte;
    EXPECT_EQ(l.r.R().Cavites.Count(), 1);
    ASSERT_EQ(l.r.Dialogues.Messages().size(), 1u) << texte;
    EXPECT_EQ(l.r.Dialogues.Messages()[0].rfind("il n'y a aucune ligne à importer", 0), 0u);
  }
}

TEST(TherionBlocs, ColonnesEtVisees) {
  // Columns in another order.
  LectureTh a(Bloc("1 0 10 5 3.5\n", "data normal to from compass clino tape"));
  ASSERT_TRUE(a.ok);
  EXPECT_EQ(a.Vi(0).DesignStat, "0");
  EXPECT_EQ(a.Vi(0).DesignVis, "1");
  EXPECT_EQ(a.Vi(0).Az, 10);
  EXPECT_EQ(a.Vi(0).P, 5);
  EXPECT_EQ(a.Vi(0).L, 3.5);
  // A later data command without dimensions: they stay 0.
  LectureTh b(Bloc("0 1 2 30 4 1 2 3 4\n data normal from to length compass clino\n 1 2 2 30 4 9 9\n",
                   "data normal from to length compass clino left right up down"));
  ASSERT_TRUE(b.ok);
  EXPECT_EQ(b.Vi(0).DimG, 1);
  EXPECT_EQ(b.Vi(0).DimB, 4);
  EXPECT_EQ(b.Vi(1).DimG, 0);
  EXPECT_EQ(b.Vi(1).DimB, 0);
  // Splays, the zero splay, and stations named like commands.
  LectureTh c(Bloc("fix1 cs2 3 40 5\n cs2 . 1 2 3\n cs2 - 1.5 2 3\n cs2 - 0 0 0\n cs2 date3 2 3 4\n"));
  ASSERT_TRUE(c.ok);
  ASSERT_EQ(c.lecteur.ViseesImportes.size(), 5u);
  EXPECT_EQ(c.Vi(0).DesignStat, "fix1");
  EXPECT_FALSE(c.Vi(0).ViHabi);
  EXPECT_TRUE(c.Vi(1).ViHabi);
  EXPECT_TRUE(c.Vi(2).ViHabi);
  EXPECT_FALSE(c.Vi(3).ViHabi);
  EXPECT_EQ(c.Vi(3).DesignVis, "cs2");
  EXPECT_EQ(c.Vi(4).DesignVis, "date3");
  EXPECT_EQ(c.r.Cavite()->Visees.Count(), 2);
}

TEST(TherionBlocs, CommentairesExtendInverse) {
  LectureTh l(
      "survey s\ncenterline\n # avant\n # donnees\n data normal from to length compass clino\n"
      " 0 1 1 0 0\n # sur la suivante\n 1 2 1 90 0\n extend left\n 2 3 1 0 0\n extend ignore\n 3 4 1 0 0\n"
      " extend vertical\n 4 5 1 0 0 # fin\n 6 5 1 0 0\nendcenterline\n");
  ASSERT_TRUE(l.ok);
  EXPECT_EQ(l.Lev().Comment, " avant donnees");
  EXPECT_EQ(l.Vi(1).oldComment, " sur la suivante");
  EXPECT_EQ(l.Vi(4).oldComment, " fin");
  const int attendu[] = {1, 1, -2, 1, 0, 0};
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(l.Vi(i).SensCoupe, attendu[i]) << i;
  EXPECT_FALSE(l.Vi(0).Inverse);
  EXPECT_FALSE(l.Vi(1).Inverse);
  EXPECT_TRUE(l.Vi(5).Inverse);  // 6 never met
  // The first shot when the second starts from its start station.
  LectureTh p(Bloc(" 1 0 1 0 0\n 1 2 1 90 0\n"));
  ASSERT_TRUE(p.ok);
  EXPECT_TRUE(p.Vi(0).Inverse);
}

TEST(TherionBlocs, Dates) {
  struct Cas {
    const char* arg;
    const char* date;  // nullptr: no date
  } cas[] = {{"2023.04.29", "29/04/2023"}, {"2023", "01/01/2023"}, {"2023.05", "01/05/2023"},
             {"2008.01.01 - 2008.01.02", "01/01/2008"}, {"jamais", nullptr}, {"2023.13.40", nullptr}};
  for (const Cas& c : cas) {
    LectureTh l(Bloc(" 0 1 1 0 0\n", std::string("date ") + c.arg + "\n data normal from to length compass clino"));
    ASSERT_TRUE(l.ok) << c.arg;
    if (c.date) {
      EXPECT_EQ(foundation::DateEnTexte(l.Lev().DateLev), c.date) << c.arg;
    } else {
      EXPECT_EQ(l.Lev().DateLev, 0) << c.arg;
      EXPECT_EQ(l.r.Cavite()->Levers.First()->LaDate, foundation::DateNonRenseignee);
    }
  }
}

TEST(TherionBlocs, Unites) {
  struct Cas {
    const char* unites;
    double L, Az, P, Dim;
    int unitAz, unitP;
  } cas[] = {
      {"units length meters", 2, 30, 4, 1, 0, 0},
      {"units length centimetres", 0.02, 30, 4, 1, 0, 0},
      {"units length dimensions feet", 2 * 0.3048, 30, 4, 0.3048, 0, 0},
      {"units tape 2 yards", 4 * 0.9144, 30, 4, 1, 0, 0},
      {"units compass clino grads", 2, 30, 4, 1, 3, 3},
      {"units compass mils", 2, 30 * 360.0 / 6400, 4, 1, 0, 0},
      {"units clino percent", 2, 30, 4, 1, 0, 4},
  };
  for (const Cas& c : cas) {
    LectureTh l(Bloc(" 0 1 2 30 4 1\n", std::string(c.unites) + "\n data normal from to length compass clino left"));
    ASSERT_TRUE(l.ok) << c.unites;
    EXPECT_DOUBLE_EQ(l.Vi(0).L, c.L) << c.unites;
    EXPECT_DOUBLE_EQ(l.Vi(0).Az, c.Az) << c.unites;
    EXPECT_DOUBLE_EQ(l.Vi(0).P, c.P) << c.unites;
    EXPECT_DOUBLE_EQ(l.Vi(0).DimG, c.Dim) << c.unites;
    EXPECT_EQ(l.Lev().UnitAZ, c.unitAz) << c.unites;
    EXPECT_EQ(l.Lev().UnitP, c.unitP) << c.unites;
  }
  // A unit the reader cannot convert stops the import, which changes nothing.
  for (const char* u : {"units length furlongs", "units compass percent", "units length degrees"}) {
    LectureTh l(Bloc(" 0 1 2 30 4\n", std::string(u) + "\n data normal from to length compass clino"));
    EXPECT_FALSE(l.ok) << u;
    EXPECT_EQ(l.r.R().Cavites.Count(), 1) << u;
    EXPECT_EQ(l.r.R().LesPointsSurface()->Count(), 0) << u;
    ASSERT_EQ(l.r.Dialogues.Messages().size(), 1u) << u;
  }
}

TEST(TherionBlocs, SystemesEtPointsFixes) {
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionAutres));
  LectureTh u("survey s\ncs UTM33\ncenterline\nfix 0 500100 4800200 1234.5\n"
              "data normal from to length compass clino\n0 1 1 0 0\nendcenterline\n");
  ASSERT_TRUE(u.ok);
  EXPECT_EQ(u.r.R().Projection, "UTM");
  EXPECT_EQ(u.r.R().NumFuseau, 33);
  const TPointSpeleo* p = u.r.PointSurface("0");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->X, 500100);
  EXPECT_EQ(p->Y, 4800200);
  EXPECT_EQ(p->Z, 1234.5);
  // Longitude and latitude to UTM on WGS84, against PROJ.
  LectureTh g("survey s\ncenterline\ncs long-lat\nfix 0 6.85 45.42 2000\n"
              "data normal from to length compass clino\n0 1 1 0 0\nendcenterline\n");
  ASSERT_TRUE(g.ok);
  const TPointSpeleo* q = g.r.PointSurface("0");
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(g.r.R().NumFuseau, 32);
  if (std::system("command -v cs2cs >/dev/null 2>&1") != 0) GTEST_SKIP() << "cs2cs absent";
  std::string sortie;
  ASSERT_EQ(testsurvey::LanceCommande("echo '45.42 6.85' | cs2cs -f %.4f EPSG:4326 EPSG:32632", sortie), 0);
  std::istringstream m(sortie);
  double e = 0, n = 0;
  m >> e >> n;
  EXPECT_NEAR(q->X, e, 0.001);
  EXPECT_NEAR(q->Y, n, 0.001);
}

TEST(TherionDessins, AurigaEtSvg) {
  // Type 6: the sketch beside the file, present or not; no width computation.
  for (const bool avecTxt : {false, true}) {
    ReseauImport r;
    const std::string chemin = r.Dossier.Fichier("grotte.th");
    testsupport::EcritOctets(chemin, Bloc(" 0 1 2 30 4\n 1 . 1 0 80\n"));
    if (avecTxt) testsupport::EcritOctets(r.Dossier.Fichier("grotte.TXT"), "");
    ASSERT_TRUE(r.Importe(chemin, formats::TypeImportAuriga));
    EXPECT_EQ(r.Station("1")->HauteurSup, 0);
  }
  ReseauImport r;
  const std::string chemin = r.Dossier.Fichier("grotte.th");
  testsupport::EcritOctets(chemin, Bloc(" 0 1 2 30 4\n 1 . 1 0 80\n"));
  ASSERT_TRUE(r.Importe(chemin, formats::TypeImportTopoDroid));
  EXPECT_NEAR(r.Station("1")->HauteurSup, std::sin(80 * std::numbers::pi / 180), 1e-3);
  // The new cave left the network's list after the computation only to come
  // back as its last cave.
  EXPECT_EQ(r.R().Cavites.Count(), 2);
}

// --- What the reader refuses rather than read wrong ---------------------------------------------

const std::string kFixturesTh = std::string(GRAVELUNE_SOURCE_DIR) + "/tests/formats/fixtures/therion/";

// The names of the files of a folder.
std::set<std::string> Contenu(const std::string& dossier) {
  std::set<std::string> noms;
  for (const auto& e : std::filesystem::directory_iterator(dossier)) noms.insert(e.path().filename().string());
  return noms;
}

// A .th text imported (type 7) from its own folder that must be refused with
// exactly one error message: the network unchanged, the file unchanged and
// no file left beside it.  The message, or "" when the import went through.
std::string MessageDeRefus(const std::string& texte, const std::string& nom = "essai.th") {
  ReseauImport r;
  const std::string chemin = r.Dossier.Fichier(nom);
  testsupport::EcritOctets(chemin, texte);
  const std::set<std::string> avant = Contenu(r.Dossier.Chemin());
  if (r.Importe(chemin, formats::TypeImportTopoDroid)) return {};
  EXPECT_EQ(r.R().Cavites.Count(), 1) << nom;
  EXPECT_EQ(r.R().LesPointsSurface()->Count(), 0) << nom;
  EXPECT_EQ(r.R().ListeOperateurs.Count(), 0) << nom;
  EXPECT_EQ(testsupport::LitOctets(chemin), texte) << nom;
  EXPECT_EQ(Contenu(r.Dossier.Chemin()), avant) << nom;
  const auto& log = r.Dialogues.Log();
  EXPECT_EQ(log.size(), 1u) << nom;
  if (log.empty()) return "?";
  EXPECT_EQ(log[0].kind, platform::MessageKind::Error) << nom;
  return log[0].text;
}

std::string RefusDonnees(const std::string& fichier, int ligne, const std::string& style) {
  return fichier + ", ligne " + std::to_string(ligne) + " : les données « " + style +
         " » ne sont pas prises en charge (il faut from, to, length, compass et clino).";
}

TEST(TherionRefus, StylesDeDonnees) {
  // The files: northings and eastings, depths in place of clino, back
  // readings in place of compass and clino (after a block that reads well).
  struct Fichier {
    const char* nom;
    int ligne;
    const char* style;
  } fichiers[] = {{"cartesien.th", 6, "cartesian"}, {"plongee.th", 7, "diving"}, {"visees_inverses.th", 11, "normal"}};
  for (const Fichier& f : fichiers) {
    const std::string texte = testsupport::LitOctets(kFixturesTh + f.nom);
    ASSERT_FALSE(texte.empty()) << f.nom;
    EXPECT_EQ(MessageDeRefus(texte, f.nom), RefusDonnees(f.nom, f.ligne, f.style));
  }
  // The other styles Therion knows, and a normal one that lacks a column.
  struct Cas {
    const char* data;
    const char* style;
  } cas[] = {{"data dimensions station left right up down", "dimensions"},
             {"data nosurvey from to", "nosurvey"},
             {"data topofil from to fromcount tocount compass clino", "topofil"},
             {"data cylpolar from to length compass depthchange", "cylpolar"},
             {"data normal station newline length compass clino", "normal"},
             {"data from to length compass", "normal"},
             {"data normal from to tape bearing clino-", "normal"}};
  for (const Cas& c : cas)
    EXPECT_EQ(MessageDeRefus(Bloc(" 0 1 2.5 30 -4\n", c.data)), RefusDonnees("essai.th", 3, c.style)) << c.data;
  // A style that no shot line follows, or that a readable data command
  // replaces before them, stops nothing.
  for (const std::string& corps : {std::string(" 0 1 2.5 30 -4\n data cartesian from to northing easting altitude\n"),
                                   std::string(" data diving from to length compass depthchange\n"
                                               " data normal from to length compass clino\n 0 1 2.5 30 -4\n")}) {
    LectureTh l(Bloc(corps));
    EXPECT_TRUE(l.ok) << corps;
    EXPECT_TRUE(l.r.Dialogues.Log().empty()) << corps;
  }
}

TEST(TherionRefus, Etalonnages) {
  // The reader applies no calibration: one that changes a reading of a
  // column stops the import at the first shot line it would change.
  struct Cas {
    const char* avant;  // lines before the data command
    const char* apres;  // lines after it, before the shot
    int ligne;          // of the calibration refused; 0: imported
    const char* texte;
  } cas[] = {
      {" calibrate compass 2.5\n", "", 3, "calibrate compass 2.5"},
      {" calibrate tape clino 0.1 1.02 # ruban\n", "", 3, "calibrate tape clino 0.1 1.02"},
      {"", " calibrate length 0 1.05\n", 4, "calibrate length 0 1.05"},
      {" calibrate Clino -0.2\n", "", 3, "calibrate Clino -0.2"},
      {" calibrate bearing x\n", "", 3, "calibrate bearing x"},
      // Changes nothing, or nothing that is read.
      {" calibrate compass 0\n calibrate tape 0 1\n", "", 0, ""},
      {" calibrate backcompass 180\n calibrate counter 2\n", "", 0, ""},
      {" calibrate left 0.3\n calibrate dimensions 0.1\n", "", 0, ""},
      // Taken back before the shot, or commented out.
      {" calibrate compass 2.5\n calibrate compass 0.0\n", "", 0, ""},
      {" calibrate compass 2.5 1.1\n calibrate default\n", "", 0, ""},
      {" # calibrate compass 2.5\n", "", 0, ""},
  };
  for (const Cas& c : cas) {
    const std::string texte = "survey s\n centerline\n" + std::string(c.avant) +
                              " data normal from to length compass clino\n" + c.apres +
                              " 0 1 2.5 30 -4\n endcenterline\nendsurvey\n";
    const std::string attendu =
        c.ligne ? "essai.th, ligne " + std::to_string(c.ligne) + " : l'étalonnage « " + c.texte +
                      " » n'est pas pris en charge (il faut des lectures déjà corrigées)."
                : std::string();
    EXPECT_EQ(MessageDeRefus(texte), attendu) << texte;
  }
  // Dimensions are read when they have columns.
  EXPECT_EQ(MessageDeRefus(
                Bloc(" 0 1 2.5 30 -4 1\n", "calibrate dimensions 0.1\n data normal from to length compass clino left")),
            "essai.th, ligne 3 : l'étalonnage « calibrate dimensions 0.1 » n'est pas pris en charge (il faut des "
            "lectures déjà corrigées).");
  // The fixture; a calibration of one block does not reach the next one,
  // nor the shots before it.
  EXPECT_EQ(MessageDeRefus(testsupport::LitOctets(kFixturesTh + "etalonnage.th"), "etalonnage.th"),
            "etalonnage.th, ligne 7 : l'étalonnage « calibrate compass 2.5 » n'est pas pris en charge (il faut des "
            "lectures déjà corrigées).");
  LectureTh l("survey s\ncenterline\ndata normal from to length compass clino\n0 1 2.5 30 -4\ncalibrate compass 3\n"
              "endcenterline\ncenterline\ndata normal from to length compass clino\n1 2 2 40 -5\nendcenterline\n");
  EXPECT_TRUE(l.ok);
  EXPECT_EQ(l.lecteur.ViseesImportes.size(), 2u);
}

TEST(TherionRefus, FichiersInclus) {
  // Only "input" lines: the files are named, the commented one is not.
  ReseauImport r;
  const std::string chemin = r.Dossier.Fichier("inclusions.th");
  testsupport::EcritOctets(chemin, testsupport::LitOctets(kFixturesTh + "inclusions.th"));
  ASSERT_FALSE(r.Importe(chemin, formats::TypeImportTopoDroid));
  EXPECT_EQ(r.R().Cavites.Count(), 1);
  ASSERT_EQ(r.Dialogues.Messages().size(), 1u);
  EXPECT_EQ(r.Dialogues.Messages()[0], "il n'y a aucune ligne à importer. Vérifiez la structure du fichier " + chemin +
                                           " : il inclut d'autres fichiers par « input », qui ne sont pas lus : "
                                           "entree.th, galerie nord.th.");
  // A centreline without shots beside the inclusion says so too; a file
  // with shots is read.
  const std::string sansVisee = MessageDeRefus("survey s\ninput a.th\ncenterline\nfix 0 1 2 3\nendcenterline\n");
  EXPECT_NE(sansVisee.find("par « input », qui ne sont pas lus : a.th."), std::string::npos) << sansVisee;
  EXPECT_TRUE(LectureTh("survey s\ninput a.th\n" + Bloc(" 0 1 2 3 4\n")).ok);
  // Without inclusion the message gives no such reason.
  EXPECT_EQ(MessageDeRefus("survey s\n# input a.th\n").find("input"), std::string::npos);
}

// A later block in other angle units gives its shots a trip of their own:
// that trip computes its declination too.
TEST(TherionDeclinaison, ChaqueLeverDuFichier) {
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionFrance));
  LectureTh l(
      "survey s\ncs UTM32\ncenterline\ndate 2023.10.04\nfix 0 326903.675 5026481.521 3005\n"
      "data normal from to length compass clino\n0 1 10 0 0\nendcenterline\n"
      "centerline\nunits compass clino grads\ndata normal from to length compass clino\n1 2 10 100 0\n"
      "endcenterline\n");
  ASSERT_TRUE(l.ok);
  ASSERT_EQ(l.lecteur.LeversImportes.size(), 2u);
  for (const auto& lever : l.lecteur.LeversImportes) EXPECT_TRUE(lever->AutoDecli);
}

TEST(TherionDeclinaison, CalculeeSansCommande) {
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionFrance));
  struct Cas {
    const char* entete;  // before the centreline
    const char* bloc;    // inside, before the data command
    bool autoDecli;
    double decli;
  } cas[] = {
      {"cs UTM32\n", "date 2023.10.04\nfix 0 326903.675 5026481.521 3005\n", true, 0},
      {"", "cs long-lat\nfix 0 6.79 45.37 3005\ndate 2023.10.04\n", true, 0},
      // A declination command keeps its value, also 0 or after the data command.
      {"cs UTM32\ndeclination 1.5 degrees\n", "date 2023.10.04\nfix 0 326903.675 5026481.521 3005\n", false, 1.5},
      {"cs UTM32\n", "date 2023.10.04\nfix 0 326903.675 5026481.521 3005\ndeclination 0 deg\n", false, 0},
      // No date, no coordinate system, no fixed point in it.
      {"cs UTM32\n", "fix 0 326903.675 5026481.521 3005\n", false, 0},
      {"", "date 2023.10.04\nfix 0 326903.675 5026481.521 3005\n", false, 0},
      {"cs UTM32\n", "date 2023.10.04\n", false, 0},
  };
  for (const Cas& c : cas) {
    LectureTh l(std::string("survey s\n") + c.entete + "centerline\n" + c.bloc +
                "data normal from to length compass clino\n0 1 10 0 0\nendcenterline\n");
    ASSERT_TRUE(l.ok) << c.entete << c.bloc;
    EXPECT_EQ(l.Lev().AutoDecli, c.autoDecli) << c.entete << c.bloc;
    EXPECT_EQ(l.Lev().Decli, c.decli) << c.entete << c.bloc;
    const survey::TLever& lever = *l.r.Cavite()->Levers.First();
    EXPECT_EQ(lever.DecliAuto, c.autoDecli) << c.entete << c.bloc;
    // The network computation gives the trip the declination of its date
    // at the entrance, and turns the shot by it.
    l.r.R().CalculeReseau();
    if (c.autoDecli) {
      EXPECT_GT(lever.Declinaison, 2.8) << c.bloc;
      EXPECT_LT(lever.Declinaison, 3.0) << c.bloc;
    } else {
      EXPECT_EQ(lever.Declinaison, c.decli) << c.entete << c.bloc;
    }
  }
}

TEST(FichiersTherion, CoupeAChaqueLigne) {
  const std::string texte = testsupport::LitOctets(kDossierTherion + "Beast_Cave.orig.th");
  size_t fin = 0;
  int reussies = 0;
  while ((fin = texte.find('\n', fin)) != std::string::npos) {
    ++fin;
    ReseauImport r;
    for (int i = 0; i < 4; ++i) r.Dialogues.QueueAnswer(platform::Answer::Yes);
    const std::string chemin = r.Dossier.Fichier("coupe.th");
    testsupport::EcritOctets(chemin, texte.substr(0, fin));
    if (r.Importe(chemin, formats::TypeImportTopoDroid)) {
      ++reussies;
      EXPECT_EQ(r.R().Cavites.Count(), 2);
    } else {
      EXPECT_EQ(r.R().Cavites.Count(), 1) << fin;
      EXPECT_EQ(r.R().LesPointsSurface()->Count(), 0) << fin;
      EXPECT_EQ(r.R().ListeOperateurs.Count(), 0) << fin;
    }
  }
  EXPECT_GT(reussies, 10);
}

}  // namespace
}  // namespace testformats
