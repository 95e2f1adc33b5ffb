// Gallery outlines and elevations on generated caves of 10,000, 50,000 and
// 100,000 shots (long galleries with side branches, passages 1 to 4 m wide):
// the plan outline walk of a cave's plan computation, and the computation of
// the cave's developed and oriented elevations with their outlines.
// Counters: time per shot.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>

#include "drawing/annexe_cavite.h"
#include "drawing/donnees_coupe_long.h"
#include "drawing/poly_gal.h"
#include "tests/drawing/outils_coupes.h"
#include "tests/survey/reseau_aleatoire.h"

namespace {

struct Cave {
  std::unique_ptr<testsurvey::ReseauCalcul> n;
  survey::TCavite* c = nullptr;
};

// One network at a time (its guards restore the process-wide state in the
// order they were taken); the last one is left to the end of the process.
Cave& CaveDeTaille(int visees) {
  static Cave* courante = nullptr;
  static int taille = -1;
  if (courante && taille == visees) return *courante;
  delete courante;
  drawing::InstalleAnnexeDessin();
  courante = new Cave;
  taille = visees;
  courante->n = std::make_unique<testsurvey::ReseauCalcul>();
  survey::TCavite* c =
      testsurvey::GenereCaviteAleatoire(*courante->n, {.Visees = visees, .Graine = 7, .Variete = false});
  std::mt19937 g(11);
  std::uniform_real_distribution<double> largeur(0.5, 2), hauteur(0.5, 5);
  for (survey::TGalerie* gal : c->Galeries)
    for (survey::TPointSpeleo* p : gal->Points) {
      p->LargeurGA = largeur(g);
      p->LargeurDR = largeur(g);
      p->HauteurSup = hauteur(g);
      p->HauteurInf = hauteur(g) / 4;
    }
  courante->n->Regenere();
  courante->n->R().CalculeReseau();
  testcoupes::MursCarres(*c);
  courante->c = c;
  return *courante;
}

void ParVisee(benchmark::State& state, const survey::TCavite* c) {
  state.counters["par_visee"] = benchmark::Counter(static_cast<double>(c->Visees.Count()),
                                                   benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

void BM_ContoursPlani(benchmark::State& state) {
  Cave& k = CaveDeTaille(static_cast<int>(state.range(0)));
  drawing::TListPolyGal contours;
  for (auto _ : state) {
    drawing::CalculeContoursPlani(*k.c, contours);
    benchmark::DoNotOptimize(contours.Count());
  }
  ParVisee(state, k.c);
}
BENCHMARK(BM_ContoursPlani)->Arg(10000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

void Elevation(benchmark::State& state, foundation::TTypeDeDessin type) {
  Cave& k = CaveDeTaille(static_cast<int>(state.range(0)));
  drawing::TDonneesCoupeLong* s = drawing::AnnexeDessin(k.c)->LeDessinAltiOr;
  s->ListeDonneesDessin.TypeDeDessin = type;
  for (auto _ : state) {
    drawing::CalculeDessinCoupeLong(*s);
    benchmark::DoNotOptimize(s->ListePolyGal.Count());
  }
  ParVisee(state, k.c);
}

void BM_CoupeDeveloppee(benchmark::State& state) { Elevation(state, foundation::TTypeDeDessin::tddAltiDev); }
BENCHMARK(BM_CoupeDeveloppee)->Arg(10000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CoupeOrientee(benchmark::State& state) { Elevation(state, foundation::TTypeDeDessin::tddAltiOr); }
BENCHMARK(BM_CoupeOrientee)->Arg(10000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
