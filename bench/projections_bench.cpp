// Batch conversions between coordinate systems: names are looked up once per
// batch, then every point goes through the pivot (geocentric WGS84).
#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <vector>

#include "projections/angles.h"
#include "projections/donnees.h"

using namespace projections;

namespace {

constexpr size_t kPoints = 1000000;

TDonnees& Catalogue() {
  static TDonnees cat;
  static bool rempli = false;
  if (!rempli) {
    cat.AjoutLigne("Ellipsoide=\"Clarke80\" \"Clarke 1880\" 6378249.2 0.0824832568");
    cat.AjoutLigne("Datum=\"NTF\" \"Nouvelle Triangulation Française\" \"Clarke80\" -168 -60 320");
    cat.AjoutLigne(
        "Projection \"Lambert Conique Sécant\"=\"LT 93\" \"Lambert-93\" \"WGS84\" 700000 6600000 3° 46°30' 44° 49°");
    cat.AjoutLigne(
        "Projection \"Lambert Conique Tangent\"=\"LT 2+\" \"Lambert II étendu\" \"NTF\" 0.99987742 600000 2200000 "
        "2°20'14.025'' 52g");
    cat.AjoutLigne(
        "Multiple \"Transverse Mercator Multiple\"=\"UTM\" \"Universal Transverse Mercator\" \"WGS84\" 0.9996 500000 "
        "0 10000000 -177° 6°");
    rempli = true;
  }
  return cat;
}

// Points spread over France, in the source system's coordinates.
struct TPoint {
  double x, y;
  int32_t zone;
};

std::vector<TPoint> Points(const char* systeme) {
  std::mt19937_64 hasard(42);
  std::uniform_real_distribution<double> lat(42.5, 51), lon(-4.5, 8);
  const TSysteme wgs84 = Catalogue().Systeme("WGS84");
  const TSysteme source = Catalogue().Systeme(systeme);
  std::vector<TPoint> r(kPoints);
  for (auto& p : r) {
    double X, Y, Z;
    p.zone = -100000;
    wgs84.VersGeocentrique(lat(hasard) * DegresVersRadians, lon(hasard) * DegresVersRadians, 0, X, Y, Z);
    source.DepuisGeocentrique(X, Y, Z, p.zone, p.x, p.y);
  }
  return r;
}

void Convertit(benchmark::State& state, const char* de, const char* vers) {
  const auto points = Points(de);
  for (auto _ : state) {
    const TSysteme source = Catalogue().Systeme(de);
    const TSysteme cible = Catalogue().Systeme(vers);
    double somme = 0;
    for (const auto& p : points) {
      double X, Y, Z, x, y;
      int32_t zone = -100000;
      source.VersGeocentrique(p.x, p.y, p.zone, X, Y, Z);
      cible.DepuisGeocentrique(X, Y, Z, zone, x, y);
      somme += x + y;
    }
    benchmark::DoNotOptimize(somme);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPoints));
}

void WGS84VersLambert93(benchmark::State& state) { Convertit(state, "WGS84", "LT 93"); }
void Lambert93VersWGS84(benchmark::State& state) { Convertit(state, "LT 93", "WGS84"); }
void Lambert2EtenduVersLambert93(benchmark::State& state) { Convertit(state, "LT 2+", "LT 93"); }
void WGS84VersUTM(benchmark::State& state) { Convertit(state, "WGS84", "UTM"); }
void UTMVersWGS84(benchmark::State& state) { Convertit(state, "UTM", "WGS84"); }

}  // namespace

BENCHMARK(WGS84VersLambert93)->Unit(benchmark::kMillisecond);
BENCHMARK(Lambert93VersWGS84)->Unit(benchmark::kMillisecond);
BENCHMARK(Lambert2EtenduVersLambert93)->Unit(benchmark::kMillisecond);
BENCHMARK(WGS84VersUTM)->Unit(benchmark::kMillisecond);
BENCHMARK(UTMVersWGS84)->Unit(benchmark::kMillisecond);
