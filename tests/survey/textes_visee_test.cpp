// The display texts of shots and the CSV export of a cave.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "foundation/codage.h"
#include "survey/compens.h"
#include "survey/sauve_fich_txt.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/reseau_calcul.h"

using namespace survey;
using testsurvey::ReseauCalcul;

namespace {

// A cave with a side branch, an annexe station, a loop back to a station and
// a second gallery; computed.
struct CaviteTextes {
  ReseauCalcul n;
  TCavite* c = nullptr;
  CaviteTextes() {
    n.Surface("E1", 1000, 2000, 500);
    c = n.Cavite("Grotte");
    n.Visee(c, "E1", "1", 0, 0, 10);
    n.Visee(c, "1", "2", 90, 0, 10);
    n.Visee(c, "2", "3", 90, 0, 10);
    n.Visee(c, "3", "4", 0, 0, 10);
    n.Visee(c, "4", "2", 270, 0, 10);  // closes a loop on 2
    n.Visee(c, "3", "A1", 180, 0, 3);
    c->AjouteGalerie("Affluent");
    n.Visee(c, "1", "10", 270, -10, 20);
    n.Visee(c, "10", "11", 270, 0, 5);
    n.Station(c, "A1")->Annexe = 1;
    n.Regenere();
    n.R().CalculeReseau();
  }
  TVisee* V(const std::string& a, const std::string& b) const {
    for (TVisee* v : c->Visees)
      if (v->PointStation && v->PointVise && v->PointStation->DesignPTopo == a && v->PointVise->DesignPTopo == b)
        return v;
    return nullptr;
  }
};

}  // namespace

TEST(TextesVisee, ColonneDeLaVisee) {
  CaviteTextes t;
  struct Cas {
    const char *de, *a, *texte;
  };
  for (const Cas& cas : {Cas{"E1", "1", ">< 1"}, Cas{"1", "2", "   *2"}, Cas{"3", "A1", "->  A1"},
                         Cas{"3", "4", "^   4"}, Cas{"4", "2", "   *2"},
                         Cas{"1", "10", ">> 10"}, Cas{"10", "11", "   11"}}) {
    TVisee* v = t.V(cas.de, cas.a);
    ASSERT_NE(v, nullptr) << cas.de << cas.a;
    v->CreeValeursTxt();
    EXPECT_EQ(v->ValeursTxt[1], cas.texte) << cas.de << " - " << cas.a;
  }
  // A shot closing a loop on a station computed twice, itself with a loop
  // partner.
  TVisee* boucle = t.V("4", "2");
  ASSERT_NE(boucle, nullptr);
  TPointSpeleo partenaire;
  TPointSpeleo* fin = boucle->PtCalc;
  ASSERT_NE(fin, nullptr);
  fin->PtBoucleAsso = &partenaire;
  const int32_t nb = fin->NbCalc;
  fin->NbCalc = 2;
  EXPECT_EQ(boucle->DesignPointMarquee(fin), "*#" + fin->DesignPTopo);
  EXPECT_EQ(boucle->DesignPointMarquee(boucle->PtOrigCalc), boucle->PtOrigCalc->DesignPTopo);
  fin->PtBoucleAsso = nullptr;
  fin->NbCalc = nb;
}

TEST(TextesVisee, ValeursMesureesEtCalculees) {
  GardeAffichage affichage;
  Affichage().DecimalesCoord = 1;
  CaviteTextes t;
  TVisee* v = t.V("1", "10");
  v->InvAz = false;
  TPointSpeleo* fin = t.n.Station(t.c, "10");
  fin->Commentaire = {"étroiture", "eau"};
  fin->LargeurGA = 1.25;
  v->CreeValeursTxt();
  const auto& x = v->ValeursTxt;
  EXPECT_EQ(x[0], "1");
  EXPECT_EQ(x[2], " 270.0 °");
  EXPECT_EQ(x[3], " -10.0 °");
  EXPECT_EQ(x[5], "20.00");
  EXPECT_EQ(x[6], "");
  EXPECT_EQ(x[13], "1.3");
  EXPECT_EQ(x[17], "étroiture\r\neau\r\n");
  EXPECT_EQ(x[18], " -10.0 °");
  EXPECT_EQ(x[20], "20.00");
  EXPECT_EQ(x[11], "496.5");
  // A splay: its station, the arrow, its end, no dimensions.
  auto h = std::make_unique<TViseeHabi>();
  h->Az = 90;
  h->Long = 2;
  h->CommentVisee = {"coulée"};
  TViseeHabi* hv = v->AjouteViseeHabi(std::move(h));
  hv->CreeValeursTxt();
  EXPECT_EQ(hv->ValeursTxt[0], "1");
  EXPECT_EQ(hv->ValeursTxt[1], "    -- -->  ");
  EXPECT_EQ(hv->ValeursTxt[5], "2.00");
  EXPECT_EQ(hv->ValeursTxt[13], "");
  EXPECT_EQ(hv->ValeursTxt[17], "coulée\r\n");
  EXPECT_EQ(hv->ValeursTxt[9], "1002.0");
}

namespace {

// The CSV read back by Python's csv module: one line per row, the fields
// separated by "|", line breaks inside a field written as "\n".
std::vector<std::string> RelitCsv(const std::string& chemin, const testsupport::DossierTemp& d) {
  const std::string script = d.Fichier("relit.py");
  const std::string sortie = d.Fichier("sortie.txt");
  std::ofstream(script) << "import csv, sys\n"
                           "with open(sys.argv[1], newline='', encoding='cp1252') as f, "
                           "open(sys.argv[2], 'w', encoding='utf-8') as s:\n"
                           "    for r in csv.reader(f, delimiter='\\t'):\n"
                           "        s.write('|'.join(c.replace('\\r\\n', '\\\\n') for c in r) + '\\n')\n";
  const std::string commande = "python3 '" + script + "' '" + chemin + "' '" + sortie + "'";
  if (std::system(commande.c_str()) != 0) return {};
  std::vector<std::string> lignes;
  std::ifstream f(sortie);
  for (std::string l; std::getline(f, l);) lignes.push_back(l);
  return lignes;
}

size_t Champs(const std::string& l) { return static_cast<size_t>(std::count(l.begin(), l.end(), '|')) + 1; }

}  // namespace

TEST(ExportCsv, RelueParPython) {
  if (std::system("command -v python3 >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 absent";
  CaviteTextes t;
  t.n.Surface("E1")->Commentaire = {"Entrée \"haute\"", "sous le porche"};
  t.n.Station(t.c, "10")->Commentaire = {"ligne 1", "ligne\t2"};
  auto h = std::make_unique<TViseeHabi>();
  h->Az = 45;
  h->Long = 1.5;
  h->CommentVisee = {"a", "b"};
  t.V("1", "10")->AjouteViseeHabi(std::move(h));
  t.V("2", "3")->Exclue = 1;
  testsupport::DossierTemp d;
  TSauveFichTxt f;
  f.Lignes = t.c->LignesFichierCSV();
  const std::string chemin = d.Fichier("Grotte.csv");
  ASSERT_TRUE(f.EcritLignes(chemin, Encodage::Windows1252));
  const std::string octets = testsupport::LitOctets(chemin);
  EXPECT_EQ(octets.substr(0, 8), std::string("Cavit\xE9 :", 8));
  EXPECT_EQ(octets.substr(octets.size() - 2), "\r\n");
  const std::vector<std::string> l = RelitCsv(chemin, d);
  ASSERT_GE(l.size(), 5u);
  EXPECT_EQ(l[0], "Cavité :|Grotte");
  EXPECT_EQ(l[1].rfind("Système de coordonnées : ", 0), 0u);
  EXPECT_EQ(l[2].substr(0, 9), "E|De|A|AZ");
  EXPECT_EQ(Champs(l[2]), 24u);
  EXPECT_EQ(l[3], "Coordonnées de l'entrée : ||E1||||||||||||||||1000.0|2000.0|500.0|||"
                  "Entrée \"haute\"\\nsous le porche");
  size_t visees = 0, habi = 0;
  bool exclue = false, commentaire = false, galerie = false;
  for (size_t i = 3; i < l.size(); ++i) {
    if (l[i].rfind("Galerie :|", 0) == 0) {
      galerie = true;
      continue;
    }
    EXPECT_EQ(Champs(l[i]), 24u) << l[i];
    if (l[i].find("    -- -->  ") != std::string::npos) {
      ++habi;
      EXPECT_EQ(l[i].substr(l[i].size() - 4), "a\\nb");
    } else if (i > 3) {
      ++visees;
    }
    if (l[i].rfind("E|2|   3|", 0) == 0) exclue = true;
    if (l[i].find("|ligne 1\\nligne\t2") != std::string::npos) commentaire = true;
  }
  EXPECT_EQ(visees, 8u);
  EXPECT_EQ(habi, 1u);
  EXPECT_TRUE(exclue);
  EXPECT_TRUE(commentaire);
  EXPECT_TRUE(galerie);
}

TEST(ExportCsv, CompensationsAvantLEnTete) {
  CaviteTextes t;
  auto a = std::make_unique<TCompens>();
  a->typeCompens = CompensPlani;
  a->PtFin = t.n.Station(t.c, "11");
  a->PtDebut = t.n.Surface("E1");
  a->PtJuste = t.n.Surface("E2", 1000, 1950, 500);
  a->Valeur->CoeffLong = 1.0025;
  t.n.R().Compensations.Add(std::move(a));
  const std::vector<std::string> l = t.c->LignesFichierCSV();
  ASSERT_GE(l.size(), 5u);
  EXPECT_EQ(l[2], "Compensations utilisées dans le calcul :");
  EXPECT_NE(l[3].find("Point de début :\tSurface - E1\tpoint de fin :\t11 / Affluent\tpoint de surface :\tE2"),
            std::string::npos)
      << l[3];
  EXPECT_NE(l[3].find("Correction longueurs :\t2.50 mm/m"), std::string::npos) << l[3];
  EXPECT_NE(l[3].find("Correction Azimut :\t0.00000 gr"), std::string::npos) << l[3];
  EXPECT_EQ(l[3].find("Altimétrique"), std::string::npos);
  EXPECT_EQ(l[4].substr(0, 6), "E\tDe\tA");
  // Height only: no plan corrections.
  t.n.R().Compensations.UnObjet(0)->typeCompens = CompensAlti;
  const std::vector<std::string> alti = t.c->LignesFichierCSV();
  EXPECT_EQ(alti[3].find("Correction longueurs"), std::string::npos);
  EXPECT_NE(alti[3].find("Correction Altimétrique :\t0.00 mm/m"), std::string::npos) << alti[3];
}
