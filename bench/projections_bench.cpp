// Batch conversions between coordinate systems: names are looked up once per
// batch, then every point goes through the pivot (geocentric WGS84); the
// service layer, which looks the names up for every point; and the simple
// single-zone families.
#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <vector>

#include "foundation/point_topo.h"
#include "projections/angles.h"
#include "projections/contexte_projections.h"
#include "projections/donnees.h"
#include "projections/regions.h"
#include "projections/services.h"

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

// --- The service layer and the single-zone families of the simple kind --------------------


namespace {

constexpr size_t kPointsReseau = 100000;  // a large network

// Stations of a network in Lambert-93 over France.
std::vector<foundation::TPointTopo> StationsLambert93() {
  std::mt19937_64 hasard(7);
  std::uniform_real_distribution<double> x(100000, 1200000), y(6100000, 7100000);
  std::vector<foundation::TPointTopo> r(kPointsReseau);
  for (auto& p : r) {
    p.X = x(hasard);
    p.Y = y(hasard);
  }
  return r;
}

// What the KML and GPX exports do per station: name lookup and conversion.
void ServicePtTopoVersWGS84(benchmark::State& state) {
  ChargeListeProjections(RegionFrance);
  auto points = StationsLambert93();
  for (auto _ : state) {
    size_t convertis = 0;
    for (auto& p : points) convertis += PtTopoVersWGS84(p, "LT 93", 0);
    benchmark::DoNotOptimize(convertis);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPointsReseau));
}

// What a change of the network's system does to its surface points.
void ServiceChangeProjectionPoint(benchmark::State& state) {
  ChargeListeProjections(RegionFrance);
  const auto depart = StationsLambert93();
  for (auto _ : state) {
    auto points = depart;
    size_t convertis = 0;
    for (auto& p : points) convertis += ChangeProjectionPoint("UTM", ZoneAChoisir, "LT 93", 0, p) == CodeFait;
    benchmark::DoNotOptimize(convertis);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPointsReseau));
}

// Choosing a region rebuilds the catalogue from its lines.
void RegionFranceReconstruite(benchmark::State& state) {
  for (auto _ : state) {
    ChargeListeProjections(RegionFrance);
    benchmark::DoNotOptimize(CatalogueProjections().NbProjection());
  }
}

// One single-zone system there and back, per point.
void AllerRetour(benchmark::State& state, const char* systeme, double latMin, double latMax, double lonMin,
                 double lonMax) {
  TDonnees cat;
  cat.AjoutLigne("Ellipsoide=\"Hayford 24\" \"Hayford 1924\" 6378388 0.08199189");
  cat.AjoutLigne("Datum=\"NZGD 49\" \"x\" \"Hayford 24\" 84 -22 209");
  cat.AjoutLigne(
      "Projection \"New Zealand Map Grid\"=\"NZMG 49\" \"x\" \"NZGD 49\" 2510000 6023150 173° -41°");
  cat.AjoutLigne("Projection \"Bonne\"=\"Bonne\" \"x\" \"WGS84\" 0 5570439.711 2°20'14.025'' 48°51'36''");
  cat.AjoutLigne("Projection \"Mercator sur sphère\"=\"Mercator\" \"x\" \"WGS84\" 0 0 0");
  TProjection* p = cat.Systeme(systeme).Projection;
  std::mt19937_64 hasard(3);
  std::uniform_real_distribution<double> lat(latMin, latMax), lon(lonMin, lonMax);
  std::vector<std::array<double, 2>> points(kPoints);
  for (auto& q : points) q = {lat(hasard) * DegresVersRadians, lon(hasard) * DegresVersRadians};
  for (auto _ : state) {
    double somme = 0;
    for (const auto& q : points) {
      double x, y, la, lo;
      p->VersGrille(q[0], q[1], x, y);
      p->VersLatLong(x, y, la, lo);
      somme += la + lo;
    }
    benchmark::DoNotOptimize(somme);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPoints));
}

void AllerRetourNZMG(benchmark::State& state) { AllerRetour(state, "NZMG 49", -47, -34, 166, 178); }
void AllerRetourBonne(benchmark::State& state) { AllerRetour(state, "Bonne", 42, 51, -5, 8); }
void AllerRetourMercator(benchmark::State& state) { AllerRetour(state, "Mercator", -80, 80, -180, 180); }

}  // namespace

BENCHMARK(ServicePtTopoVersWGS84)->Unit(benchmark::kMillisecond);
BENCHMARK(ServiceChangeProjectionPoint)->Unit(benchmark::kMillisecond);
BENCHMARK(RegionFranceReconstruite)->Unit(benchmark::kMicrosecond);
BENCHMARK(AllerRetourNZMG)->Unit(benchmark::kMillisecond);
BENCHMARK(AllerRetourBonne)->Unit(benchmark::kMillisecond);
BENCHMARK(AllerRetourMercator)->Unit(benchmark::kMillisecond);

// --- The oblique cylinders, the Gauss-Laborde and stereographic families -------------------

namespace {

TDonnees& CatalogueObliques() {
  static TDonnees cat;
  static bool rempli = false;
  if (!rempli) {
    for (const char* ligne : {
             "Ellipsoide=\"Bessel\" \"Bessel 1841\" 6377397.155 0.0816968312",
             "Ellipsoide=\"Hayford 24\" \"Hayford 1924\" 6378388 0.0819918900",
             "Ellipsoide=\"Clarke66\" \"Clarke 1866\" 6378206.4 0.0822718542",
             "Datum=\"CH03+\" \"CH1903+\" \"Bessel\" 674.374 15.056 405.346",
             "Datum=\"RD 1918\" \"x\" \"Bessel\" 565.2369 50.0087 465.658 -0.406857 0.350733 -1.87035 4.0812",
             "Datum=\"PN\" \"x\" \"Hayford 24\" 94 -948 -1262",
             "Datum=\"TANA 25\" \"x\" \"Hayford 24\" -198.383 -240.517 -107.909",
             "Datum=\"NAD 27\" \"x\" \"Clarke66\" -8 160 176",
             "Projection \"Gauss Rosenmund\"=\"MN95\" \"x\" \"CH03+\" 2600000 1200000 7°26'22.50'' 46°57'08.66''",
             "Projection \"Gauss Laborde Courbure\"=\"Réunion\" \"x\" \"PN\" 1 160000 50000 55°32' -21°07'",
             "Projection \"Gauss Laborde Oblique\"=\"Laborde\" \"x\" \"TANA 25\" 0.9995 400000 800000 46.43722917° -21g "
             "21g",
             "Projection \"Hotine\"=\"Alaska\" \"x\" \"NAD 27\" 0.9999 5000000 -5000000 -133°40' 57° -36.8698976458°",
             "Projection \"Stéréographique Bitangente\"=\"RD\" \"x\" \"RD 1918\" 0.9999079 155000 463000 5°23'15.5'' "
             "52°09'22.178''",
             "Projection \"Stéréographique Polaire\"=\"Polaire\" \"x\" \"WGS84\" 0.994 2000000 2000000 -45° 0",
         })
      cat.AjoutLigne(ligne);
    rempli = true;
  }
  return cat;
}

void AllerRetourOblique(benchmark::State& state, const char* systeme, double latMin, double latMax, double lonMin,
                        double lonMax) {
  TProjection* p = CatalogueObliques().Systeme(systeme).Projection;
  std::mt19937_64 hasard(5);
  std::uniform_real_distribution<double> lat(latMin, latMax), lon(lonMin, lonMax);
  std::vector<std::array<double, 2>> points(kPoints);
  for (auto& q : points) q = {lat(hasard) * DegresVersRadians, lon(hasard) * DegresVersRadians};
  for (auto _ : state) {
    double somme = 0;
    for (const auto& q : points) {
      double x, y, la, lo;
      p->VersGrille(q[0], q[1], x, y);
      p->VersLatLong(x, y, la, lo);
      somme += la + lo;
    }
    benchmark::DoNotOptimize(somme);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPoints));
}

void AllerRetourSuisse(benchmark::State& state) { AllerRetourOblique(state, "MN95", 45.8, 47.8, 5.9, 10.5); }
void AllerRetourGaussLaborde(benchmark::State& state) { AllerRetourOblique(state, "Réunion", -21.4, -20.8, 55.2, 55.9); }
void AllerRetourLabordeOblique(benchmark::State& state) { AllerRetourOblique(state, "Laborde", -25.5, -12, 43.5, 50.5); }
void AllerRetourHotine(benchmark::State& state) { AllerRetourOblique(state, "Alaska", 54.5, 60, -141, -129.5); }
void AllerRetourStereoBitangente(benchmark::State& state) { AllerRetourOblique(state, "RD", 50.75, 53.5, 3.5, 7.25); }
void AllerRetourStereoPolaire(benchmark::State& state) { AllerRetourOblique(state, "Polaire", 60, 89, -180, 180); }

// Choosing the largest regions rebuilds the catalogue from their lines.
void RegionDomTomReconstruite(benchmark::State& state) {
  for (auto _ : state) {
    ChargeListeProjections(5);
    benchmark::DoNotOptimize(CatalogueProjections().NbProjection());
  }
  ChargeListeProjections(RegionFrance);
}
void RegionEuropeReconstruite(benchmark::State& state) {
  for (auto _ : state) {
    ChargeListeProjections(6);
    benchmark::DoNotOptimize(CatalogueProjections().NbProjection());
  }
  ChargeListeProjections(RegionFrance);
}

}  // namespace

BENCHMARK(AllerRetourSuisse)->Unit(benchmark::kMillisecond);
BENCHMARK(AllerRetourGaussLaborde)->Unit(benchmark::kMillisecond);
BENCHMARK(AllerRetourLabordeOblique)->Unit(benchmark::kMillisecond);
BENCHMARK(AllerRetourHotine)->Unit(benchmark::kMillisecond);
BENCHMARK(AllerRetourStereoBitangente)->Unit(benchmark::kMillisecond);
BENCHMARK(AllerRetourStereoPolaire)->Unit(benchmark::kMillisecond);
BENCHMARK(RegionDomTomReconstruite)->Unit(benchmark::kMicrosecond);
BENCHMARK(RegionEuropeReconstruite)->Unit(benchmark::kMicrosecond);
