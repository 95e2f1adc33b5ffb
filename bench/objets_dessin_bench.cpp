// Drawing objects on a window-sized canvas: painting a layer of many lines
// (all visible, or mostly culled), the line tracer per segment with its heap
// allocations, the flattening and the drawing of a long smoothed line, and
// the distance query over a million segments.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "drawing/calque.h"
#include "drawing/contexte_dessin.h"
#include "drawing/dessin_ligne.h"
#include "drawing/traceur_ligne.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"

// Every heap allocation of the program is counted.
namespace {
std::atomic<long long> allocations{0};
}  // namespace

void* operator new(std::size_t n) {
  ++allocations;
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

using namespace drawing;
using foundation::PtTopoXY;
using foundation::TPointTopo;

namespace {

// The view: 10 pixels per metre, the screen's top-left corner at ground
// (0, 108): drawing (x, y) is pixel (x / 100, 1080 - y / 100).
void VueEcran() {
  auto& v = foundation::Vue();
  v.EchelleVue = 10;
  v.XDebVue = 0;
  v.YDebVue = 108;
  foundation::Impression().EnImpression = false;
  Affichage() = EtatAffichage{};
  Affichage().RectVisibleDessin = {0, 108'000, 192'000, 0};
}

// 100,000 lines of 50 points spread over ten times the screen in each
// direction (1 % of them on screen) or over the screen itself.
std::unique_ptr<TCalque> CalqueDeLignes(double etendue, const TDefObjetTrait* style) {
  auto calque = std::make_unique<TCalque>();
  uint32_t graine = 12345;
  auto hasard = [&] {
    graine = graine * 1103515245 + 12345;
    return (graine >> 8) / static_cast<double>(1 << 24);
  };
  for (int i = 0; i < 100'000; ++i) {
    auto l = std::make_unique<TDessinLigne>(style);
    const double x0 = hasard() * 192'000 * etendue, y0 = hasard() * 108'000 * etendue;
    for (int k = 0; k < 50; ++k)
      l->AjoutePointLoc(static_cast<int32_t>(x0 + k * 200), static_cast<int32_t>(y0 + 1000 * std::sin(k * 0.3)));
    calque->AjouteObjet(std::move(l));
  }
  return calque;
}

void CalqueDe100000Lignes(benchmark::State& state) {
  foundation::GardeTransfo vue;
  GardeAffichage affichage;
  VueEcran();
  TObjetTrait style;
  const double etendue = state.range(0) == 100 ? 1 : 10;
  const auto calque = CalqueDeLignes(etendue, &style);
  platform::QtCanvas canvas(1920, 1080);
  for (auto _ : state) calque->DessineCalque(canvas);
  int affiches = 0;
  for (const auto& o : calque->ObjetsDessines) affiches += o->EstAffiche;
  state.counters["affichees"] = affiches;
  state.counters["ns/objet"] = benchmark::Counter(static_cast<double>(state.iterations()) * 100'000,
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(CalqueDe100000Lignes)->Arg(100)->Arg(1)->Unit(benchmark::kMillisecond);

// Only the culling: every line out of view.
void LignesHorsVue(benchmark::State& state) {
  foundation::GardeTransfo vue;
  GardeAffichage affichage;
  VueEcran();
  Affichage().RectVisibleDessin = {-1'000'000, -900'000, -900'000, -1'000'000};
  TObjetTrait style;
  const auto calque = CalqueDeLignes(1, &style);
  platform::QtCanvas canvas(1920, 1080);
  for (auto _ : state) calque->DessineCalque(canvas);
  state.counters["ns/objet"] = benchmark::Counter(static_cast<double>(state.iterations()) * 100'000,
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(LignesHorsVue)->Unit(benchmark::kMillisecond);

class Compte : public CibleTrace {
 public:
  long long Traits = 0, Polygones = 0;
  void Trait(const TPointTopo&, const TPointTopo&) override { ++Traits; }
  void Polygone(std::span<const TPointTopo>, bool) override { ++Polygones; }
};

// 10,000 segments of a zigzag, 20 to 40 pixels long on screen; at the print
// scale the same ground lengths at 1:500, 600 dpi.
void Traceur10000Segments(benchmark::State& state) {
  foundation::GardeTransfo vue;
  foundation::GardeImpression impression;
  GardeAffichage affichage;
  VueEcran();
  const bool papier = state.range(1) == 1;
  double facteur = 1;  // pixels per metre
  if (papier) {
    foundation::Impression().EnImpression = true;
    foundation::Impression().EchellePrn = 500;
    foundation::Impression().CoeffPrn = foundation::PointsParMetre(600);
    facteur = foundation::Impression().CoeffPrn / 500;
  } else {
    facteur = foundation::Vue().EchelleVue;
  }
  std::vector<TPointTopo> points;
  for (int i = 0; i <= 10'000; ++i) points.push_back(PtTopoXY(i * 2.0 * facteur, (i % 2) * 3.0 * facteur));
  const StyleTrace style(state.range(0) == 0 ? MesPenStyle::mpsTiretHachure : MesPenStyle::mpsTrianglePlein, 1);
  Compte compte;
  TraceurLigne traceur;
  long long allouees = 0;
  for (auto _ : state) {
    traceur.CalculeMotifLigne(style, 20'000 * facteur);
    EtatLigneTrace etat;
    const long long avant = allocations.load();
    for (size_t i = 1; i < points.size(); ++i)
      traceur.TraceLigneComplexe(points[i - 1], points[i], compte, i + 1 == points.size(), style, etat);
    allouees += allocations.load() - avant;
  }
  state.counters["traits/s"] =
      benchmark::Counter(static_cast<double>(compte.Traits + compte.Polygones), benchmark::Counter::kIsRate);
  state.counters["alloc/segment"] = static_cast<double>(allouees) / (static_cast<double>(state.iterations()) * 10'000);
  state.SetItemsProcessed(state.iterations() * 10'000);
}
BENCHMARK(Traceur10000Segments)
    ->ArgNames({"triangle", "papier"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMicrosecond);

// A 1-km smoothed line of 10,000 points (one every 10 cm).
std::unique_ptr<TDessinLigne> LigneLissee(const TDefObjetTrait* style) {
  auto l = std::make_unique<TDessinLigne>(style);
  for (int i = 0; i < 10'000; ++i) l->AjoutePointLoc(i * 100, static_cast<int32_t>(5000 + 2000 * std::sin(i * 0.05)));
  return l;
}

void CalculeCourbeBezier1km(benchmark::State& state) {
  TObjetTrait lisse;
  lisse.TraitLisse = true;
  const auto l = LigneLissee(&lisse);
  for (auto _ : state) benchmark::DoNotOptimize(l->CalculeCourbeBezier());
  state.counters["points"] = static_cast<double>(l->CourbeBezier.size());
}
BENCHMARK(CalculeCourbeBezier1km)->Unit(benchmark::kMillisecond);

// The smoothed line at 200 pixels per metre: most of it far off the canvas.
void DessineLissageGrandZoom(benchmark::State& state) {
  foundation::GardeTransfo vue;
  GardeAffichage affichage;
  VueEcran();
  foundation::Vue().EchelleVue = 200;
  foundation::Vue().YDebVue = 10;
  Affichage().ToutDessiner = true;
  TObjetTrait lisse;
  lisse.TraitLisse = true;
  lisse.StylePlume = state.range(0) == 1 ? MesPenStyle::mpsTiretHachure : MesPenStyle::mpsSolid;
  const auto l = LigneLissee(&lisse);
  platform::QtCanvas canvas(1920, 1080);
  for (auto _ : state) l->DessineObjet(canvas);
}
BENCHMARK(DessineLissageGrandZoom)->ArgName("tiretHachure")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void DistanceObjetUnMillionDeSegments(benchmark::State& state) {
  foundation::GardeTransfo vue;
  VueEcran();
  TDessinLigne l(nullptr);
  l.PointsList.reserve(1'000'001);
  for (int i = 0; i <= 1'000'000; ++i) l.AjoutePointLoc(i * 10, (i % 7) * 13);
  TInfoObjet info;
  for (auto _ : state) {
    l.DistanceObjet(500, 500, info);
    benchmark::DoNotOptimize(info.D);
  }
  state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(DistanceObjetUnMillionDeSegments)->Unit(benchmark::kMillisecond);

}  // namespace
