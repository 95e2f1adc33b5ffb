// Loop closure moving only the stations below the corrected shots (and
// finding where the branches' chains meet from their depths) gives what
// computing every corrected cave again after each junction gives: every
// station, every shot's corrected values and serials, and the report.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "survey/bouclage.h"
#include "survey/rapport_calcul.h"
#include "tests/survey/reseau_aleatoire.h"
#include "tests/survey/reseau_calcul.h"
#include "tests/survey/reseau_grille.h"

using namespace survey;
using testsurvey::ReseauCalcul;

namespace {

struct Etat {
  std::map<std::string, std::vector<double>> Points;
  std::map<std::string, std::vector<double>> Visees;
  std::vector<std::string> Rapport;
  int Jonctions = 0;
};

Etat Calcule(ReseauCalcul& n, bool complet) {
  GardeRapportCalcul rapport;
  std::unique_ptr<GardeBouclagesRecalculComplet> garde;
  if (complet) garde = std::make_unique<GardeBouclagesRecalculComplet>();
  n.R().CalculeReseau();
  Etat e;
  e.Jonctions = ListeBouclages().Count();
  e.Rapport = ListeRapportCalcul();
  for (const TCavite* c : n.R().Cavites) {
    if (c->EstSurface) continue;
    for (const TPointSpeleo* p : c->ListePoints)
      e.Points[c->NomCavite + "/" + p->DesignPTopo] = {p->X,          p->Y,          p->Z,   p->ZCalc,
                                                       p->PrecisTotX, p->PrecisTotY, p->Slh, p->DzPt};
    int i = 0;
    for (const TVisee* v : c->Visees)
      e.Visees[c->NomCavite + "#" + std::to_string(i++)] = {v->AngleHoriz, v->DeltaL, v->DeltaH,
                                                            static_cast<double>(v->NumBoucle),
                                                            static_cast<double>(v->NumCompens)};
  }
  return e;
}

void CompareCalculs(ReseauCalcul& n, int jonctionsMin) {
  // The report shows values of the computation before (the height
  // precisions): both ways start from a computed network.
  Calcule(n, true);
  const Etat rapide = Calcule(n, false);
  const Etat complet = Calcule(n, true);
  EXPECT_GE(complet.Jonctions, jonctionsMin);
  EXPECT_EQ(rapide.Jonctions, complet.Jonctions);
  ASSERT_EQ(rapide.Points.size(), complet.Points.size());
  for (const auto& [nom, a] : complet.Points) {
    const auto it = rapide.Points.find(nom);
    ASSERT_NE(it, rapide.Points.end()) << nom;
    for (size_t k = 0; k < a.size(); ++k) EXPECT_NEAR(it->second[k], a[k], 1e-9) << nom << " valeur " << k;
  }
  ASSERT_EQ(rapide.Visees.size(), complet.Visees.size());
  for (const auto& [nom, a] : complet.Visees) {
    const auto& b = rapide.Visees.at(nom);
    for (size_t k = 0; k < a.size(); ++k) EXPECT_NEAR(b[k], a[k], 1e-9) << nom << " valeur " << k;
  }
  ASSERT_EQ(rapide.Rapport.size(), complet.Rapport.size());
  for (size_t i = 0; i < complet.Rapport.size(); ++i) ASSERT_EQ(rapide.Rapport[i], complet.Rapport[i]) << i;
}

// A random cave of nb stations with extra shots closing loops, each shot
// stored one way or the other, measured from true positions with errors.
TCavite* CaviteAleatoireBouclee(ReseauCalcul& n, int nb, int boucles, uint32_t graine) {
  std::mt19937 g(graine);
  auto uni = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(g); };
  struct Pos {
    double x, y, z;
  };
  std::vector<Pos> vrai{{1000, 2000, 500}};
  std::vector<std::string> noms{"E1"};
  n.Surface("E1", 1000, 2000, 500);
  TCavite* c = n.Cavite("Bouclée");
  constexpr double r = 3.14159265358979323846 / 180;
  auto vise = [&](size_t a, size_t b) {
    if (uni(0, 1) < 0.5) std::swap(a, b);
    const double dx = vrai[b].x - vrai[a].x, dy = vrai[b].y - vrai[a].y, dz = vrai[b].z - vrai[a].z;
    const double h = std::hypot(dx, dy);
    n.Visee(c, noms[a], noms[b], std::atan2(dx, dy) / r + uni(-1, 1), std::atan2(dz, h) / r + uni(-1, 1),
            std::hypot(h, dz) * (1 + uni(-0.01, 0.01)));
  };
  for (int i = 1; i <= nb; ++i) {
    const size_t parent = i == 1 ? 0 : static_cast<size_t>(std::max(1, i - 1 - static_cast<int>(uni(0, 15))));
    const double az = uni(0, 360) * r, pente = uni(-30, 30) * r, l = uni(3, 15);
    vrai.push_back({vrai[parent].x + l * std::cos(pente) * std::sin(az),
                    vrai[parent].y + l * std::cos(pente) * std::cos(az), vrai[parent].z + l * std::sin(pente)});
    noms.push_back("s" + std::to_string(i));
    if (parent == 0)
      n.Visee(c, "E1", noms.back(), az / r, pente / r, l);
    else
      vise(parent, static_cast<size_t>(i));
  }
  for (int k = 0; k < boucles; ++k) {
    const int a = 1 + static_cast<int>(uni(0, nb - 1));
    const int b = std::min(nb, a + 2 + static_cast<int>(uni(0, 40)));
    vise(static_cast<size_t>(a), static_cast<size_t>(b));
  }
  n.Regenere();
  return c;
}

}  // namespace

TEST(BouclageRecalcul, GrilleCommeLeRecalculComplet) {
  ReseauCalcul n;
  testsurvey::GenereCaviteGrille(n, 20);
  CompareCalculs(n, 300);
}

// Loops closed both ways, with one, then three entrances (three trial passes
// and secondary entrances tied by temporary adjustments).
TEST(BouclageRecalcul, ReseauAleatoireCommeLeRecalculComplet) {
  for (const uint32_t graine : {3u, 11u}) {
    ReseauCalcul n;
    TCavite* c = CaviteAleatoireBouclee(n, 600, 120, graine);
    CompareCalculs(n, 50);
    testsurvey::AjouteEntreesCoherentes(n, c, 2, graine);
    CompareCalculs(n, 50);
  }
}
