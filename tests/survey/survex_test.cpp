// The reduction and the computation against Survex: the same survey is written
// as a .svx file with its readings as measured, processed by `cavern`, and
// every computed station must lie within 1 cm of Survex's position (the .3d
// file holds centimetres).  Skipped when cavern is not installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <functional>

#include "foundation/flux.h"
#include "platform/files.h"
#include "survey/rapport_calcul.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/reseau_aleatoire.h"
#include "tests/survey/reseau_calcul.h"
#include "tests/survey/survex_oracle.h"

using namespace survey;
using testsurvey::ReseauCalcul;

namespace {

// Computes the network, runs cavern on the same survey and compares every
// station of every cave.  Returns how many stations were compared.
int CompareAvecSurvex(ReseauCalcul& n, const std::string& cas) {
  n.R().CalculeReseau();
  EXPECT_TRUE(Calcul().Avertissements.empty()) << cas << ": " << Calcul().Avertissements.front();
  testsurvey::EcrivainSvx svx(n.R().Cavites);
  testsupport::DossierTemp dossier;
  const testsurvey::ResultatSurvex r = testsurvey::LanceCavern(svx.Texte(), dossier.Chemin());
  EXPECT_TRUE(r.Ok) << cas << ": " << r.Erreur;
  if (!r.Ok) return 0;
  int compares = 0;
  double ecartMax = 0;
  for (const TCavite* c : n.R().Cavites) {
    if (c->EstSurface) continue;
    for (const TPointSpeleo* p : c->ListePoints) {
      const auto it = r.Positions.find(svx.Nom(p));
      if (it == r.Positions.end()) {
        ADD_FAILURE() << cas << ": Survex has no station " << svx.Nom(p) << " (" << p->DesignPTopo << ")";
        continue;
      }
      const double d = std::hypot(p->X - it->second[0], p->Y - it->second[1], p->Z - it->second[2]);
      ecartMax = std::max(ecartMax, d);
      EXPECT_LE(d, 0.01) << cas << ": station " << p->DesignPTopo << " at (" << p->X << ", " << p->Y << ", " << p->Z
                         << "), Survex (" << it->second[0] << ", " << it->second[1] << ", " << it->second[2] << ")";
      ++compares;
    }
  }
  return compares;
}

}  // namespace

class Survex : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testsurvey::CavernDisponible()) GTEST_SKIP() << "cavern (Survex) is not installed";
  }
};

// Small networks, each about one way of measuring.
TEST_F(Survex, CasElementaires) {
  struct Cas {
    const char* nom;
    std::function<void(ReseauCalcul&, TCavite*, TLever*)> construit;
  };
  auto suite = [](ReseauCalcul& n, TCavite* c, TLever* l, std::vector<std::array<double, 3>> mesures) {
    std::string avant = "E1";
    int i = 0;
    for (const auto& m : mesures) {
      const std::string nom = "P" + std::to_string(++i);
      n.Visee(c, avant, nom, m[0], m[1], m[2], l);
      avant = nom;
    }
  };
  const Cas cas[] = {
      {"degrés", [&](ReseauCalcul& n, TCavite* c, TLever* l) {
         suite(n, c, l, {{10, 5, 12}, {95.5, -30, 7.25}, {181, 89, 3}, {270, -90, 14}, {359.9, 0, 8}});
       }},
      {"grades", [&](ReseauCalcul& n, TCavite* c, TLever* l) {
         l->UniteAZ = 1;
         l->UniteP = 1;
         suite(n, c, l, {{10, 5, 12}, {395.5, -30, 7.25}, {200, 100, 3}, {50, -50, 14}});
       }},
      {"pente en pourcent", [&](ReseauCalcul& n, TCavite* c, TLever* l) {
         l->UniteP = 2;
         suite(n, c, l, {{10, 5, 12}, {120, -130, 7.25}, {200, 1000, 3}, {50, -50, 14}});
       }},
      {"zéro de pente au zénith et au nadir", [&](ReseauCalcul& n, TCavite* c, TLever* l) {
         l->ZeroPente = 1;
         suite(n, c, l, {{10, 80, 12}, {120, 120, 7.25}});
         TLever* bas = n.Lever(c);
         bas->ZeroPente = -1;
         bas->UniteP = 1;
         n.Visee(c, "P2", "P3", 300, 120, 9, bas);
       }},
      {"déclinaison", [&](ReseauCalcul& n, TCavite* c, TLever* l) {
         l->UniteDeclin = UniteDeclinDegres;
         l->Declinaison = 2.75;
         suite(n, c, l, {{10, 5, 12}, {95.5, -30, 7.25}});
         TLever* g = n.Lever(c);
         g->UniteDeclin = UniteDeclinGrades;
         g->Declinaison = -3.5;
         g->UniteAZ = 1;
         n.Visee(c, "P2", "P3", 300, 12, 9, g);
       }},
      {"visées inverses et visées retournées", [&](ReseauCalcul& n, TCavite* c, TLever* l) {
         suite(n, c, l, {{10, 5, 12}, {95.5, -30, 7.25}});
         n.Visee(c, "P2", "P3", 30, 20, 10, l)->InvAz = true;
         n.Visee(c, "P3", "P4", 30, 20, 10, l)->InvP = true;
         TVisee* v = n.Visee(c, "P4", "P5", 30, 20, 10, l);
         v->InvAz = v->InvP = true;
         n.Visee(c, "P6", "P5", 200, -10, 10, l);  // stored from the far end
         n.Visee(c, "P7", "P6", 200, -10, 10, l)->InvAz = true;
       }},
      {"types de saisie", [&](ReseauCalcul& n, TCavite* c, TLever* l) {
         l->EtalonL = 1.02;
         suite(n, c, l, {{10, 5, 12}});
         TVisee* v = n.Visee(c, "P1", "P2", 60, 12, 0, l);  // slope, horizontal length
         v->Typesaisie = SaisiePenteLongueurHoriz;
         v->LH = 8;
         v = n.Visee(c, "P2", "P3", 100, 0, 10, l);  // diving: length and height difference
         v->Typesaisie = SaisieDenivLongueur;
         v->Deniv = -6;
         v = n.Visee(c, "P3", "P4", 140, 0, 0, l);  // cylindrical polar
         v->Typesaisie = SaisieDenivLongueurHoriz;
         v->LH = 7;
         v->Deniv = 2.5;
         v = n.Visee(c, "P4", "P5", 180, 0, 20, l);  // depth gauge
         v->Typesaisie = SaisieProfondeurLongueur;
         v->Deniv = 12;
         v = n.Visee(c, "P5", "P6", 220, 0, 20, l);
         v->Typesaisie = SaisieProfondeurLongueur;
         v->Deniv = 15.5;
         v = n.Visee(c, "P7", "P6", 260, 0, 20, l);  // reversed depth shot
         v->Typesaisie = SaisieDenivLongueur;
         v->Deniv = 3;
         v->InvP = true;
       }},
      {"topofil étalonné", [&](ReseauCalcul& n, TCavite* c, TLever* l) {
         l->Topofil = true;
         l->EtalonL = 0.0101;
         TVisee* v = n.Visee(c, "E1", "P1", 30, -12, 0, l);
         v->SaisieTopoFil = true;
         v->TopofilDeb = 1250;
         v->TopofilFin = 2750;
         n.Visee(c, "P1", "P2", 80, 10, 7, l);  // a tape length on a counter trip
         v = n.Visee(c, "P2", "P3", 130, 0, 0, l);
         v->Typesaisie = SaisieDenivLongueurHoriz;
         v->SaisieTopoFil = true;
         v->TopofilDeb = 100;
         v->TopofilFin = 600;
         v->Deniv = -1;
       }},
      {"plusieurs entrées", [&](ReseauCalcul& n, TCavite* c, TLever* l) {
         suite(n, c, l, {{10, 5, 12}, {95.5, -30, 7.25}, {181, 15, 30}, {270, -9, 14}, {359.9, 0, 8}});
         testsurvey::AjouteEntreesCoherentes(n, c, 3, 7);
       }},
  };
  for (const Cas& k : cas) {
    ReseauCalcul n;
    n.Surface("E1", 1000, 2000, 500);
    TCavite* c = n.Cavite(k.nom);
    TLever* l = n.Lever(c);
    k.construit(n, c, l);
    n.Regenere();
    EXPECT_GE(CompareAvecSurvex(n, k.nom), 2) << k.nom;
  }
}

// Several caves sharing the surface, one of them entered twice.
TEST_F(Survex, PlusieursCavites) {
  ReseauCalcul n;
  TCavite* a = testsurvey::GenereCaviteAleatoire(n, {.Visees = 300, .Graine = 11}, "A");
  TCavite* b = testsurvey::GenereCaviteAleatoire(n, {.Visees = 300, .Graine = 12}, "B");
  testsurvey::AjouteEntreesCoherentes(n, b, 1, 3);
  EXPECT_EQ(b->ListeEntrees.Count(), 2);
  EXPECT_EQ(CompareAvecSurvex(n, "deux cavités"), a->ListePoints.Count() + b->ListePoints.Count());
}

TEST_F(Survex, ReseauAleatoireDeDixMilleVisees) {
  ReseauCalcul n;
  TCavite* c = testsurvey::GenereCaviteAleatoire(n, {.Visees = 10000, .Graine = 2024});
  testsurvey::AjouteEntreesCoherentes(n, c, 2, 5);
  EXPECT_EQ(CompareAvecSurvex(n, "10 000 visées"), c->ListePoints.Count());
  EXPECT_EQ(c->ListePoints.Count(), 10000);
}

namespace {

std::string CheminCavtool() {
  char tampon[4096];
  const ssize_t n = ::readlink("/proc/self/exe", tampon, sizeof tampon - 1);
  if (n <= 0) return {};
  const std::string exe(tampon, static_cast<size_t>(n));
  const std::string dossier = platform::FolderOf(exe);
  return platform::FolderOf(dossier.substr(0, dossier.size() - 1)) + "bin/cavtool";
}

}  // namespace

// The document as input: written as a .cav, computed by `cavtool compute`,
// every printed station compared with Survex.
TEST_F(Survex, CavtoolCompute) {
  if (!platform::FileExists(CheminCavtool())) GTEST_SKIP() << "cavtool absent: " << CheminCavtool();
  testsupport::DossierTemp dossier;
  std::string svxTexte;
  std::map<std::string, std::string> nomsSvx;  // "cave;station" -> svx name
  size_t stations = 0;
  {
    ReseauCalcul n;
    testsurvey::GenereCaviteAleatoire(n, {.Visees = 400, .Graine = 77}, "Première");
    TCavite* b = testsurvey::GenereCaviteAleatoire(n, {.Visees = 300, .Graine = 78}, "Seconde");
    testsurvey::AjouteEntreesCoherentes(n, b, 2, 9);
    // A shot that cannot be reduced as measured: a warning, and a vertical shot.
    TVisee* v = n.Visee(b, b->ListePoints.Last()->DesignPTopo, "puits", 0, 0, 0);
    v->Typesaisie = SaisieDenivLongueur;
    v->Long = 3;
    v->Deniv = -4;
    n.Regenere();
    foundation::TFluxMemoire flux;
    ASSERT_TRUE(n.R().Ecrit(flux));
    testsupport::EcritOctets(dossier.Fichier("reseau.cav"), flux.Octets());
    // Survex computes the vertical shot as Gravelune does.
    v->Typesaisie = SaisieDenivLongueurHoriz;
    v->LH = 0;
    testsurvey::EcrivainSvx svx(n.R().Cavites);
    svxTexte = svx.Texte();
    for (const TCavite* c : n.R().Cavites)
      for (const TGalerie* g : c->Galeries)
        for (const TPointSpeleo* p : g->Points)
          if (!c->EstSurface) {
            nomsSvx[c->NomCavite + ";" + p->DesignPTopo] = svx.Nom(p);
            ++stations;
          }
  }
  const std::string commande = "'" + CheminCavtool() + "' compute '" + dossier.Fichier("reseau.cav") + "' >'" +
                               dossier.Fichier("sortie.txt") + "' 2>'" + dossier.Fichier("erreurs.txt") + "'";
  ASSERT_EQ(std::system(commande.c_str()), 0) << testsupport::LitOctets(dossier.Fichier("erreurs.txt"));
  const std::string erreurs = testsupport::LitOctets(dossier.Fichier("erreurs.txt"));
  EXPECT_NE(erreurs.find("Seconde"), std::string::npos) << erreurs;
  EXPECT_NE(erreurs.find("verticale"), std::string::npos) << erreurs;
  const testsurvey::ResultatSurvex r = testsurvey::LanceCavern(svxTexte, dossier.Chemin());
  ASSERT_TRUE(r.Ok) << r.Erreur;
  std::istringstream lignes(testsupport::LitOctets(dossier.Fichier("sortie.txt")));
  std::string ligne, caveAvant;
  size_t lues = 0;
  bool secondeVue = false;
  while (std::getline(lignes, ligne)) {
    // cave;station;x;y;z
    std::vector<std::string> champs;
    std::string reste = ligne;
    for (int i = 0; i < 4; ++i) champs.push_back(foundation::ExtraitChamp(reste, ';'));
    champs.push_back(reste);
    ASSERT_EQ(champs.size(), 5u) << ligne;
    ASSERT_EQ(champs[2].size() - champs[2].find('.'), 5u) << "4 decimals: " << ligne;
    if (champs[0] == "Seconde") secondeVue = true;
    EXPECT_FALSE(secondeVue && champs[0] == "Première") << "cave order";
    const auto nom = nomsSvx.find(champs[0] + ";" + champs[1]);
    ASSERT_NE(nom, nomsSvx.end()) << ligne;
    const auto pos = r.Positions.find(nom->second);
    ASSERT_NE(pos, r.Positions.end()) << ligne;
    double x, y, z;
    ASSERT_TRUE(foundation::LitReel(champs[2], x) && foundation::LitReel(champs[3], y) &&
                foundation::LitReel(champs[4], z));
    EXPECT_LE(std::hypot(x - pos->second[0], y - pos->second[1], z - pos->second[2]), 0.01) << ligne;
    ++lues;
  }
  EXPECT_EQ(lues, stations);
}
