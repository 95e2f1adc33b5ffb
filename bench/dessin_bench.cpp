// Stored drawings after a network computation: a generated cave of 10,000
// shots carrying a plan drawing of 100,000 line points and 2,000 station-name
// labels (whose first points choose their shot again at every computation).
// Measured: the drawing's recomputation alone, the network computation
// followed by it, the choice of a reference shot for all 100,000 points
// through the grid of shot ends, and the same choice by a plain scan (per
// point) for comparison.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/visees_dessin.h"
#include "survey/ports_survey.h"
#include "tests/survey/reseau_aleatoire.h"

namespace {

using namespace drawing;

constexpr int kVisees = 10000;
constexpr int kLignes = 10000;
constexpr int kPointsParLigne = 10;
constexpr int kEtiquettes = 2000;

struct Modele {
  Modele() {
    drawing::InstalleAnnexeDessin();
    n = std::make_unique<testsurvey::ReseauCalcul>();
    cave = testsurvey::GenereCaviteAleatoire(*n, {.Visees = kVisees, .Graine = 42});
    n->R().CalculeReseau();
    annexe = AnnexeDessin(cave);
    TListeDonneesDessin& l = annexe->LeDessinPlani->ListeDonneesDessin;
    std::mt19937 alea(3);
    std::uniform_real_distribution<double> autour(-3, 3);
    std::uniform_int_distribution<int> visee(0, cave->Visees.Count() - 1);
    for (int i = 0; i < kLignes; ++i) {
      const survey::TVisee* v = cave->LaVisee(visee(alea));
      auto e = std::make_unique<TObjetDonneesBasique>();
      for (int k = 0; k < kPointsParLigne; ++k) {
        const survey::TPointSpeleo* s = k % 2 ? v->PointVise : v->PointStation;
        e->AjoutePointDessin(false, s->X + autour(alea), s->Y + autour(alea));
      }
      l.AjouteDonneesDessin(std::move(e));
    }
    for (int i = 0; i < kEtiquettes; ++i) {
      survey::TPointSpeleo* s = cave->LaVisee(visee(alea))->PointVise;
      auto t = std::make_unique<TObjetTexte>();
      t->TypeInfo = 3;
      t->PointDeRef = s;
      t->AjoutePointDessin(false, s->X + 1, s->Y);
      t->AjoutePointDessin(false, s->X, s->Y);
      l.AjouteDonneesDessin(std::move(t));
    }
    l.ReferenceDessin();
  }

  survey::GardePortsSurvey ports;
  GardeContexteDessin contexte;
  std::unique_ptr<testsurvey::ReseauCalcul> n;
  survey::TCavite* cave = nullptr;
  TAnnexeDessinCavite* annexe = nullptr;
};

Modele& LeModele() {
  static Modele m;
  return m;
}

int PointsDuDessin(const TListeDonneesDessin& l) {
  int n = 0;
  l.PourTousObjets([&](TObjetDonneesBasique& e) { n += e.Points.Count(); });
  return n;
}

void BM_RecalculeDessin(benchmark::State& state) {
  Modele& m = LeModele();
  for (auto _ : state) m.annexe->CalculeDessinPlani();
  const int points = PointsDuDessin(m.annexe->LeDessinPlani->ListeDonneesDessin);
  state.counters["points"] = points;
  state.counters["par_point"] = benchmark::Counter(static_cast<double>(points), benchmark::Counter::kIsIterationInvariantRate |
                                                                                   benchmark::Counter::kInvert);
}
BENCHMARK(BM_RecalculeDessin)->Unit(benchmark::kMillisecond);

void BM_CalculeReseauPuisDessin(benchmark::State& state) {
  Modele& m = LeModele();
  for (auto _ : state) {
    m.n->R().CalculeReseau();
    m.annexe->CalculeDessinPlani();
  }
  state.counters["visees"] = m.cave->Visees.Count();
}
BENCHMARK(BM_CalculeReseauPuisDessin)->Unit(benchmark::kMillisecond);

void BM_ReferenceDessinGrille(benchmark::State& state) {
  Modele& m = LeModele();
  TListeDonneesDessin& l = m.annexe->LeDessinPlani->ListeDonneesDessin;
  for (auto _ : state) l.ReferenceDessin();
  const int points = PointsDuDessin(l);
  state.counters["par_point"] = benchmark::Counter(static_cast<double>(points), benchmark::Counter::kIsIterationInvariantRate |
                                                                                   benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReferenceDessinGrille)->Unit(benchmark::kMillisecond);

// The scan over the 10,000 shots, per point: what every point would cost
// without the grid.
void BM_ChoixViseeParcours(benchmark::State& state) {
  Modele& m = LeModele();
  const TListeDonneesDessin& l = m.annexe->LeDessinPlani->ListeDonneesDessin;
  std::vector<std::pair<double, double>> points;
  for (int i = 0; i < 1000; ++i) {
    const TPointDessin* p = l.LesMultiPoints.UnObjet(i)->LePointDessin(0);
    points.emplace_back(p->Xhab, p->Yhab);
  }
  for (auto _ : state)
    for (const auto& [x, y] : points) benchmark::DoNotOptimize(ViseeDeReferenceParcours(&m.cave->Visees, x, y, false));
  state.counters["par_point"] = benchmark::Counter(static_cast<double>(points.size()),
                                                   benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ChoixViseeParcours)->Unit(benchmark::kMillisecond);

}  // namespace
