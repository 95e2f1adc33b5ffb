// The VTopo export: names, numbering by series and the lines of the file.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <unordered_map>

#include "formats/export/export_vtopo.h"
#include "foundation/codage.h"
#include "projections/contexte_projections.h"
#include "projections/regions.h"
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
