// The survey objects on a window-sized image: painting an axis of 100,000
// shots and the nearest-shot query over it, a grid whose origin is 10 km
// away at spacings of 2, 10 and 100 pixels, 10,000 named surface points.
// Runs offscreen (QT_QPA_PLATFORM is set to "offscreen" when unset): the
// names need the application's fonts.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "drawing/contexte_dessin.h"
#include "drawing/dessin_axe_gal.h"
#include "drawing/dessin_point_surface.h"
#include "drawing/quadrillage.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"

using namespace drawing;

namespace {

void Application() {
  static int argc = 1;
  static char nom[] = "objets_topo_bench";
  static char* argv[] = {nom, nullptr};
  // Never destroyed: at exit Qt's own globals are gone before function statics.
  static QGuiApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
  }();
  (void)app;
}

// 10 pixels per metre on 1920 x 1080 pixels: ground 0..192 by 0..108 m.
void VueEcran() {
  Application();
  auto& v = foundation::Vue();
  v.TypeDessinCourant = foundation::TTypeDeDessin::tddPlani;
  v.Xmin = v.Ymin = 0;
  v.EchelleVue = 10;
  v.XDebVue = 0;
  v.YDebVue = 108;
  v.LargeurPaintBox = 1920;
  v.HauteurPaintBox = 1080;
  foundation::Impression().EnImpression = false;
  Affichage() = EtatAffichage{};
  Affichage().ToutDessiner = true;
  Affichage().RectVisibleDessin = {0, 108'000, 192'000, 0};
}

double Hasard(uint32_t& graine) {
  graine = graine * 1103515245 + 12345;
  return (graine >> 8) / static_cast<double>(1 << 24);
}

// Stations on a random walk of 1 m steps kept inside the view, the shots
// between consecutive stations.
struct Cheminement {
  explicit Cheminement(int n) {
    uint32_t graine = 4321;
    double x = 96, y = 54;
    for (int i = 0; i <= n; ++i) {
      auto s = std::make_unique<survey::TPointSpeleo>();
      s->X = x;
      s->Y = y;
      s->DesignPTopo = std::to_string(i);
      stations.push_back(std::move(s));
      x = std::clamp(x + 2 * Hasard(graine) - 1, 1.0, 191.0);
      y = std::clamp(y + 2 * Hasard(graine) - 1, 1.0, 107.0);
    }
    for (int i = 0; i < n; ++i) {
      auto v = std::make_unique<survey::TVisee>();
      v->PtOrigCalc = stations[static_cast<size_t>(i)].get();
      v->PtCalc = stations[static_cast<size_t>(i) + 1].get();
      v->PtCalc->ViseeAvant = v.get();
      visees.push_back(std::move(v));
    }
  }
  ~Cheminement() {
    survey::GardeLiberationReseau liberation;
    visees.clear();
    stations.clear();
  }
  std::vector<std::unique_ptr<survey::TPointSpeleo>> stations;
  std::vector<std::unique_ptr<survey::TVisee>> visees;
};

void BM_AxePeinture(benchmark::State& state) {
  VueEcran();
  Cheminement c(100'000);
  auto axe = std::make_unique<TDessinAxeGal>();
  for (auto& v : c.visees) axe->AjouteTrait(v.get());
  for (auto& v : c.visees) v->Marque = false;
  Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odNumPt] = state.range(0) != 0;
  platform::QtCanvas canvas(1920, 1080);
  for (auto _ : state) axe->DessineObjet(canvas);
  axe.reset();
  state.SetLabel(state.range(0) ? "avec les noms" : "points blancs");
}
BENCHMARK(BM_AxePeinture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_AxeDistance(benchmark::State& state) {
  VueEcran();
  Cheminement c(100'000);
  auto axe = std::make_unique<TDessinAxeGal>();
  for (auto& v : c.visees) axe->AjouteTrait(v.get());
  for (auto _ : state) {
    TInfoObjet info;
    axe->DistanceObjet(960, 540, info);
    benchmark::DoNotOptimize(info.D);
  }
  axe.reset();
}
BENCHMARK(BM_AxeDistance)->Unit(benchmark::kMillisecond);

// Spacing in pixels; the origin 10 km from the view, the grid turned.
void BM_Quadrillage(benchmark::State& state) {
  VueEcran();
  Dessin().PasQuadrillage = static_cast<double>(state.range(0)) / 10;
  TQuadrillage q;
  foundation::TPointTopo a, b;
  a.X = 10'000'000;
  a.Y = 7'000'000;
  b.X = a.X + 3000;
  b.Y = a.Y + 1000;
  q.Init(a, b);
  platform::QtCanvas canvas(1920, 1080);
  for (auto _ : state) q.DessineObjet(canvas);
}
BENCHMARK(BM_Quadrillage)->Arg(2)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_PointsSurface(benchmark::State& state) {
  VueEcran();
  Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odNumSurf] = true;
  uint32_t graine = 99;
  std::vector<std::unique_ptr<survey::TPointSpeleo>> stations;
  std::vector<std::unique_ptr<TDessinPointSurface>> points;
  for (int i = 0; i < 10'000; ++i) {
    auto s = std::make_unique<survey::TPointSpeleo>();
    s->X = 192 * Hasard(graine);
    s->Y = 108 * Hasard(graine);
    s->DesignPTopo = "S" + std::to_string(i);
    points.push_back(std::make_unique<TDessinPointSurface>(s.get()));
    stations.push_back(std::move(s));
  }
  platform::QtCanvas canvas(1920, 1080);
  for (auto _ : state)
    for (auto& p : points) p->DessineObjet(canvas);
  points.clear();
}
BENCHMARK(BM_PointsSurface)->Unit(benchmark::kMillisecond);

}  // namespace
