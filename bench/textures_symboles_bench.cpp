// Textures, texts along curves and placed symbols: generating each texture
// picture at its defaults and at the densest setting, reading a library of
// 50 textures (the pictures are made on first use, not by the reader), and
// drawing texts along curves and symbols over a 1920 x 1080 image.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <memory>
#include <vector>

#include "drawing/contexte_drawing.h"
#include "drawing/dessin_symbole.h"
#include "drawing/dessin_texte.h"
#include "drawing/liste_mtf.h"
#include "drawing/texture.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"

using namespace drawing;

namespace {

// The Qt image canvas for every picture, and a fixed seed.
struct Installation {
  Installation() : usine(fabrique) {
    static int argc = 1;
    static char nom[] = "textures_symboles_bench";
    static char* argv[] = {nom, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (QGuiApplication::instance() == nullptr) app = std::make_unique<QGuiApplication>(argc, argv);
    Ports().GraineTexture = [] { return uint64_t{42}; };
    auto& v = foundation::Vue();
    v.EchelleVue = 10;
    v.XDebVue = 0;
    v.YDebVue = 108;
    v.EchelleFontes = 1000;
    foundation::Impression().EnImpression = false;
    Affichage().ToutDessiner = true;
  }
  std::unique_ptr<QGuiApplication> app;
  platform::QtCanvasFactory fabrique;
  platform::ScopedCanvasFactory usine;
};

Installation& Installe() {
  static Installation i;
  return i;
}

void BM_GenereTexture(benchmark::State& state) {
  Installe();
  tTexture t;
  t.TypeTexture = static_cast<int32_t>(state.range(0));
  t.Densite = state.range(1) == 0 ? (t.TypeTexture == TextureTraits ? 15 : 100) : 1;
  t.TailleMin = 2;
  t.TailleMax = 8;
  for (auto _ : state) t.InitTexture();
}
BENCHMARK(BM_GenereTexture)
    ->ArgsProduct({{1, 2, 3, 4, 5, 6}, {0, 1}})
    ->ArgNames({"type", "densite1"})
    ->Unit(benchmark::kMillisecond);

void BM_LitMtf50Textures(benchmark::State& state) {
  Installe();
  tListeMtf m(0);
  m.InitDefaut();
  for (int i = 0; i < 47; ++i) {
    auto t = std::make_unique<tTexture>();
    t->DesignMotif = "Texture " + std::to_string(i);
    t->TypeTexture = 1 + i % 6;
    t->Densite = 20 + i;
    m.ListeTextures.AjouteMotif(std::move(t));
  }
  foundation::TFluxMemoire f;
  EcritFluxMtf(f, m);
  const std::string octets = f.Octets();
  for (auto _ : state) {
    foundation::TFluxMemoire lu(octets);
    tListeMtf bibliotheque(0);
    benchmark::DoNotOptimize(LitFluxMtf(lu, bibliotheque));
  }
}
BENCHMARK(BM_LitMtf50Textures)->Unit(benchmark::kMillisecond);

void BM_TextesSurCourbes(benchmark::State& state) {
  Installe();
  platform::QtCanvas c(1920, 1080);
  std::vector<std::vector<foundation::TPoint>> chemins;
  for (int i = 0; i < 1000; ++i) {
    const int x = (i * 37) % 1700, y = 50 + (i * 53) % 1000;
    chemins.push_back({{x, y}, {x + 60, y - 40}, {x + 120, y + 40}, {x + 180, y}});
  }
  c.Font.Name = "Arial";
  c.Font.Size = 10;
  for (auto _ : state) {
    for (const auto& ch : chemins) TexteSurBezier(c, ch, 3, "Galerie des Marmites");
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_TextesSurCourbes)->Unit(benchmark::kMillisecond);

void BM_SymbolesPlaces(benchmark::State& state) {
  Installe();
  TListeSymboles l;
  l.InitDefaut();
  platform::QtCanvas c(1920, 1080);
  std::vector<std::unique_ptr<TDessinSymbole>> symboles;
  for (int i = 0; i < 10000; ++i) {
    auto s = std::make_unique<TDessinSymbole>(l.LeSymbole(i % l.Count()));
    const double x = (i * 131) % 19000 + 500, y = (i * 71) % 10000 + 500;
    const double a = i * 0.37;
    s->AjoutePointLoc(static_cast<int32_t>(x), static_cast<int32_t>(y));
    s->AjoutePointLoc(static_cast<int32_t>(x + 2000 * std::cos(a)), static_cast<int32_t>(y + 2000 * std::sin(a)));
    s->InitDimensions();
    symboles.push_back(std::move(s));
  }
  for (auto _ : state) {
    for (auto& s : symboles) s->DessineObjet(c);
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_SymbolesPlaces)->Unit(benchmark::kMillisecond);

}  // namespace
