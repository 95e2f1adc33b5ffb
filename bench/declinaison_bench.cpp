// Declination of many survey trips: 100,000 evaluations at spread dates and
// places, and the reading of the built-in coefficient table.
#include <benchmark/benchmark.h>

#include <vector>

#include "survey/declinaison.h"

using namespace survey;

namespace {

struct Point {
  double annee, lat, lon, alt;
};

std::vector<Point> Points(int n) {
  std::vector<Point> p;
  p.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    p.push_back({1900.0 + 129.9 * (i % 997) / 997.0, -85.0 + 170.0 * (i % 331) / 331.0,
                 -180.0 + 360.0 * (i % 211) / 211.0, 10.0 * (i % 300)});
  return p;
}

void Declinaison100k(benchmark::State& state) {
  const std::vector<Point> points = Points(static_cast<int>(state.range(0)));
  TableIGRF();  // read once, outside the timing
  for (auto _ : state) {
    double somme = 0;
    for (const Point& p : points) somme += CalculeDeclinaisonIGRF(p.annee, p.lat, p.lon, p.alt);
    benchmark::DoNotOptimize(somme);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(Declinaison100k)->Arg(100000)->Unit(benchmark::kMillisecond);

void LectureTable(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(LitCoefficientsIGRF(LignesCoefficientsIGRF()));
}
BENCHMARK(LectureTable)->Unit(benchmark::kMicrosecond);

}  // namespace
