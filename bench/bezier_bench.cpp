// Flattening smoothed lines and converting points between ground, drawing and
// screen: the per-point work of every drawn or exported line.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "foundation/bezier.h"
#include "foundation/point_topo.h"
#include "foundation/transformation_vue.h"

using namespace foundation;

namespace {

constexpr int NombreSegments = 100000;

// A wavy cubic path of NombreSegments segments, in drawing units.
TPtTopoList CheminOndule() {
  TPtTopoList l;
  l.AjoutePoint(0, 0);
  for (int i = 0; i < NombreSegments; ++i) {
    const double x = 3000.0 * i;
    const double s = (i % 2 == 0) ? 1 : -1;
    l.AjoutePoint(x + 1000, 2500 * s);
    l.AjoutePoint(x + 2000, 2500 * s);
    l.AjoutePoint(x + 3000, 300 * std::sin(i * 0.37));
  }
  return l;
}

void BezierVersPolyligne100k(benchmark::State& state) {
  const TPtTopoList source = CheminOndule();
  TPtTopoList destination;
  for (auto _ : state) {
    BezierVersPolyligne(source, destination);
    benchmark::DoNotOptimize(destination.Count());
  }
  state.counters["sommets"] = destination.Count();
  state.SetItemsProcessed(state.iterations() * NombreSegments);
}
BENCHMARK(BezierVersPolyligne100k)->Unit(benchmark::kMillisecond);

void LisseBezier100k(benchmark::State& state) {
  std::vector<TPoint> chemin(3 * NombreSegments + 1);
  for (size_t i = 0; i < chemin.size(); i += 3)
    chemin[i] = TPoint{static_cast<int32_t>(i * 1000), static_cast<int32_t>((i / 3 % 2) * 5000)};
  for (auto _ : state) {
    LisseBezier(chemin, static_cast<int>(chemin.size()), 100);
    benchmark::DoNotOptimize(chemin.data());
  }
  state.SetItemsProcessed(state.iterations() * NombreSegments);
}
BENCHMARK(LisseBezier100k)->Unit(benchmark::kMillisecond);

void SolVersEcran100k(benchmark::State& state) {
  GardeTransfo garde;
  Vue().Xmin = 850000;
  Vue().Ymin = 6400000;
  Vue().XDebVue = 12;
  Vue().YDebVue = 900;
  Vue().EchelleVue = 2.5;
  std::vector<TPointTopo> points;
  for (int i = 0; i < 100000; ++i) points.push_back(PtTopoXY(850000 + i * 0.013, 6400000 + i * 0.007));
  std::vector<TPoint> ecran(points.size());
  for (auto _ : state) {
    for (size_t i = 0; i < points.size(); ++i) ecran[i] = PtTopoVersEcran(points[i]);
    benchmark::DoNotOptimize(ecran.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(SolVersEcran100k)->Unit(benchmark::kMillisecond);

}  // namespace
