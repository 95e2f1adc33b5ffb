// Stations' wall, ceiling and floor points of a computed cave of 100,000
// shots (generated, with side branches and loops).
#include <benchmark/benchmark.h>

#include <memory>

#include "survey/cavite.h"
#include "tests/survey/reseau_aleatoire.h"

namespace {

void BM_CalculeDessinCav(benchmark::State& state) {
  testsurvey::ReseauCalcul n;
  survey::TCavite* cave = testsurvey::GenereCaviteAleatoire(n, {.Visees = 100000, .Graine = 7});
  n.R().CalculeReseau();
  for (auto _ : state) {
    cave->CalculeDessinCav();
    benchmark::DoNotOptimize(cave->UneViseeInversee);
  }
  state.SetItemsProcessed(state.iterations() * cave->Visees.Count());
}
BENCHMARK(BM_CalculeDessinCav)->Unit(benchmark::kMillisecond);

}  // namespace
