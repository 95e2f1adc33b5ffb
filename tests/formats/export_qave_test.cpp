// The Qave export of chosen shots: the station names, the lines of the file
// and the save, against the examples of the format, and the written shots
// computed by Survex's cavern against the program's own stations.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <set>
#include <sstream>

#include "formats/export/ports_export.h"
#include "formats/export/qave/export_qave.h"
#include "foundation/codage.h"
#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "tests/formats/import_test_support.h"
#include "tests/formats/survex_tro.h"
#include "tests/survey/reseau_calcul.h"

using testsurvey::ReseauCalcul;
using namespace survey;

namespace {

std::string Code(const TVisee* v) { return v->PointStation->DesignPTopo + "-" + v->PointVise->DesignPTopo; }

// The selection window scripted: it marks the shots named "station-target"
// and answers OK (or Cancel); what it was opened with is kept.
struct Selection {
  formats::GardePortsExport ports;
  formats::TDemandeChoixVisees demande;
  int ouvertures = 0;
  Selection(std::set<std::string> codes, bool ok = true) {
    formats::FenetresExport().ChoisitVisees = [this, codes, ok](const formats::TDemandeChoixVisees& d) {
      demande = d;
      ++ouvertures;
      for (TVisee* v : d.Cavite->Visees) v->Marque = codes.count(Code(v)) != 0;
      return ok;
    };
  }
};

std::vector<std::string> Champs(const std::string& ligne) {
  std::vector<std::string> r;
  std::stringstream s(ligne);
  std::string c;
  while (std::getline(s, c, '\t')) r.push_back(c);
  return r;
}

// The lines of a written file (Windows-1252, CR LF).
std::vector<std::string> LignesFichier(const std::string& chemin) {
  std::vector<std::string> r;
  std::stringstream s(foundation::DepuisWindows1252(testsupport::LitOctets(chemin)));
  std::string l;
  while (std::getline(s, l)) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    r.push_back(l);
  }
  return r;
}

// Entrance A on the surface; one gallery A-B-C-D, and a spur C-S written
// before C-D so that the station's shot list holds it first.
struct Chaine {
  ReseauCalcul n;
  TCavite* c = nullptr;
  testsupport::DossierTemp dossier;
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs portee{dialogues};
  Chaine() {
    n.Surface("A", 100, 200, 300);
    c = n.Cavite("Grotte.Nord");
    n.Visee(c, "A", "B", 10, -5, 4);
    n.Visee(c, "B", "C", 20, 0, 5);
    n.Visee(c, "C", "S", 200, 10, 2);
    n.Visee(c, "C", "D", 30, 5, 6);
    n.Visee(c, "D", "E", 35, 0, 3);
  }
  void Calcule() {
    n.Regenere();
    n.R().CalculeReseau();
  }
  std::string Nom(const std::string& s) { return n.Station(c, s)->DesignVTopo; }
};

}  // namespace

TEST(ExportQave, NomsDesStations) {
  Chaine t;
  t.Calcule();
  struct Cas {
    const char* nom;
    std::vector<std::string> visees;
    std::map<std::string, std::string> noms;
  };
  const Cas cas[] = {
      // Along one gallery the numbers follow one another.
      {"une galerie", {"A-B", "B-C", "C-D"}, {{"A", "0"}, {"B", "1"}, {"C", "2"}, {"D", "3"}}},
      // At C the shot with more following shots (C-D, then D-E) continues;
      // the spur opens branch 1.
      {"deux départs", {"A-B", "B-C", "C-S", "C-D", "D-E"},
       {{"C", "2"}, {"D", "3"}, {"E", "4"}, {"S", "1.0"}}},
      // A piece not joined to the first opens its own branch at its origin.
      {"deux morceaux", {"A-B", "D-E"}, {{"A", "0"}, {"B", "1"}, {"D", "1.0"}, {"E", "1.1"}}},
  };
  for (const Cas& k : cas) {
    std::vector<TVisee*> visees;
    for (TVisee* v : t.c->Visees)
      if (std::count(k.visees.begin(), k.visees.end(), Code(v))) visees.push_back(v);
    formats::NumeroteStationsQave(*t.c, visees);
    for (const auto& [station, nom] : k.noms) EXPECT_EQ(t.Nom(station), nom) << k.nom << " " << station;
  }
}

TEST(ExportQave, FichierDesExemples) {
  Chaine t;
  // A splay at C with a comment of two lines; a comment of two lines at D.
  TVisee* bc = nullptr;
  for (TVisee* v : t.c->Visees)
    if (Code(v) == "B-C") bc = v;
  auto h = std::make_unique<TViseeHabi>();
  h->Az = 90;
  h->Long = 1.5;
  h->RefPtStat = false;  // hung on the shot's target
  h->CommentVisee = {"bord", "  ruisseau "};
  bc->AjouteViseeHabi(std::move(h));
  t.n.Station(t.c, "D")->Commentaire = {"suite", "étroite"};
  t.Calcule();
  Selection s({"A-B", "B-C", "C-D"});
  const std::string chemin = t.dossier.Fichier("sortie.cave");
  t.dialogues.QueueFile(chemin);
  ASSERT_TRUE(formats::ExporteQave(t.n.R()));
  EXPECT_EQ(s.demande.Titre, "Export d'une partie d'une cavité au format Qave");
  EXPECT_TRUE(s.demande.ComposCoupe);
  ASSERT_FALSE(t.dialogues.Log().empty());
  const platform::FileDialogOptions& o = t.dialogues.Log().front().options;
  EXPECT_EQ(o.FileName, "Grotte_Nord");
  EXPECT_EQ(o.Filter, "Fichiers cave|*.cave");
  const std::vector<std::string> l = LignesFichier(chemin);
  const std::vector<std::string> attendu = {"prefix:100", "100.0\t-\t100.0\ttrue\t0.0\t0.0\t0.0\t"};
  ASSERT_GE(l.size(), 10u);
  EXPECT_EQ(l[0], attendu[0]);
  EXPECT_EQ(l[1], attendu[1]);
  // Each shot's line begins with its target, then its origin and target.
  const std::vector<std::string> ab = Champs(l[2]);
  ASSERT_EQ(ab.size(), 7u);
  EXPECT_EQ(ab[0], "100.1");
  EXPECT_EQ(ab[1], "100.0");
  EXPECT_EQ(ab[2], "100.1");
  EXPECT_EQ(ab[3], "true");
  EXPECT_EQ(ab[4], "4.00");
  EXPECT_EQ(ab[5], "10.00");
  EXPECT_EQ(ab[6], "-5.00");
  EXPECT_EQ(Champs(l[3])[0], "100.2");
  // The splay at C: an empty third field, "false"; a "###" line per line of
  // its comment.
  const std::vector<std::string> habi = Champs(l[4]);
  ASSERT_EQ(habi.size(), 7u);
  EXPECT_EQ(habi[0], "100.2");
  EXPECT_EQ(habi[1], "100.2");
  EXPECT_EQ(habi[2], "");
  EXPECT_EQ(habi[3], "false");
  EXPECT_EQ(habi[4], "1.50");
  EXPECT_EQ(l[5], "###bord");
  EXPECT_EQ(l[6], "###ruisseau");
  EXPECT_EQ(Champs(l[7])[0], "100.3");
  EXPECT_EQ(l[8], "###suite");
  EXPECT_EQ(l[9], "###étroite");
  EXPECT_EQ(l.size(), 10u);
  EXPECT_EQ(t.dialogues.Messages().back(), "Le fichier a été enregistré sous le nom " + chemin);
}

TEST(ExportQave, AnnulerNEcritRien) {
  Chaine t;
  t.Calcule();
  Selection s({"A-B"}, false);
  EXPECT_FALSE(formats::ExporteQave(t.n.R()));
  EXPECT_EQ(s.ouvertures, 1);
  EXPECT_TRUE(t.dialogues.Log().empty());
  // Without a selection window the export does nothing either.
  formats::FenetresExport().ChoisitVisees = {};
  EXPECT_FALSE(formats::ExporteQave(t.n.R()));
  EXPECT_TRUE(t.dialogues.Log().empty());
}

// The length written is the computed one, whatever the shot was typed as.
TEST(ExportQave, LongueurCalculee) {
  struct Cas {
    const char* nom;
    std::function<void(TVisee&, TLever&)> prepare;
    const char* longueur;
  };
  const Cas cas[] = {
      {"longueur horizontale", [](TVisee& v, TLever&) {
         v.Typesaisie = SaisiePenteLongueurHoriz;
         v.LH = 8;
         v.pente = 30;
       }, "9.24"},
      {"topofil", [](TVisee& v, TLever& l) {
         l.Topofil = true;
         l.EtalonL = 0.01;
         v.SaisieTopoFil = true;
         v.TopofilDeb = 100;
         v.TopofilFin = 850;
       }, "7.50"},
      {"étalonnage", [](TVisee& v, TLever& l) {
         l.EtalonL = 1.02;
         v.Long = 10;
       }, "10.20"},
  };
  for (const Cas& k : cas) {
    ReseauCalcul n;
    n.Surface("A");
    TCavite* c = n.Cavite("G");
    TLever* l = n.Lever(c);
    TVisee* v = n.Visee(c, "A", "B", 0, 0, 0, l);
    k.prepare(*v, *l);
    n.Regenere();
    n.R().CalculeReseau();
    formats::NumeroteStationsQave(*c, {v});
    EXPECT_EQ(Champs(formats::LigneViseeQave(*v))[4], k.longueur) << k.nom;
  }
}

// The lines of the whole of Olivier.tro, written as Survex by the test:
// cavern places every station where the program computed it, from 100.0.
TEST(ExportQave, CommeSurvex) {
  if (!testformats::CavernPresent()) GTEST_SKIP() << "Survex (cavern, dump3d) n'est pas installé";
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionAutres));
  testformats::ReseauImport r;
  ASSERT_TRUE(r.Importe(std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/Olivier.tro"));
  TCavite* c = r.Cavite();
  ASSERT_NE(c, nullptr);
  r.R().LaCaviteActive = c;
  std::set<std::string> toutes;
  for (const TVisee* v : c->Visees) toutes.insert(Code(v));
  Selection s(toutes);
  formats::FenetresExport().ChoisitVisees = [&](const formats::TDemandeChoixVisees& d) {
    r.R().CalculeReseau();  // as the window does when it opens
    for (TVisee* v : d.Cavite->Visees) v->Marque = true;
    return true;
  };
  const std::string chemin = r.Dossier.Fichier("olivier.cave");
  r.Dialogues.QueueFile(chemin);
  ASSERT_TRUE(formats::ExporteQave(r.R()));
  // The test's own reading: the main shot lines as Survex legs, names with
  // "_" for ".", the azimuths turned by the grid convergence.
  const double convergence = c->CalculeConvergence() * 180 / std::numbers::pi;
  std::ostringstream svx;
  svx << "*begin\n*fix 100_0 0 0 0\n*declination " << -convergence << " degrees\n"
      << "*data normal from to tape compass clino\n";
  auto nom = [](std::string n) {
    std::replace(n.begin(), n.end(), '.', '_');
    return n;
  };
  int jambes = 0;
  for (const std::string& l : LignesFichier(chemin)) {
    const std::vector<std::string> f = Champs(l);
    if (f.size() != 7 || f[3] != "true" || f[1] == "-" || f[1] == f[2]) continue;
    svx << nom(f[1]) << " " << nom(f[2]) << " " << f[4] << " " << f[5] << " " << f[6] << "\n";
    ++jambes;
  }
  svx << "*end\n";
  EXPECT_GT(jambes, 10);
  std::string erreur;
  const auto survex = testformats::PositionsSurvex(svx.str(), r.Dossier.Chemin(), erreur);
  ASSERT_TRUE(erreur.empty()) << erreur;
  const TPointSpeleo* origine = c->Visees.First()->PtOrigCalc;
  int compares = 0;
  for (const TVisee* v : c->Visees)
    for (const TPointSpeleo* p : {v->PtOrigCalc, v->PtCalc}) {
      const auto it = survex.find(nom("100." + p->DesignVTopo));
      ASSERT_NE(it, survex.end()) << p->DesignPTopo << " " << p->DesignVTopo;
      EXPECT_NEAR(p->X - origine->X, it->second[0], 0.05) << p->DesignPTopo;
      EXPECT_NEAR(p->Y - origine->Y, it->second[1], 0.05) << p->DesignPTopo;
      EXPECT_NEAR(p->Z - origine->Z, it->second[2], 0.05) << p->DesignPTopo;
      ++compares;
    }
  EXPECT_GT(compares, 20);
}
