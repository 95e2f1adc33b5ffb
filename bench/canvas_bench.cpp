// Drawing on the image canvas: a frame of 100,000 dashed polylines of 20
// points and a hatched polygon on a 1920 x 1080 image, filled shapes in
// not-xor mode (the coverage-layer path), and a batch of 900,000 calls on one
// thread and on every core.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "foundation/contexte_foundation.h"
#include "platform/qt/qt_canvas.h"

using namespace platform;

namespace {

constexpr int kLargeur = 1920, kHauteur = 1080;

std::vector<std::array<Point, 20>> Polylignes(int n) {
  std::mt19937 gen(12345);
  std::uniform_int_distribution<int> x(0, kLargeur - 1), y(0, kHauteur - 1), pas(-30, 30);
  std::vector<std::array<Point, 20>> out(n);
  for (auto& l : out) {
    Point p{x(gen), y(gen)};
    for (Point& q : l) {
      q = p;
      p.X += pas(gen);
      p.Y += pas(gen);
    }
  }
  return out;
}

std::vector<Point> Contour(int n, double cx, double cy, double r) {
  std::vector<Point> out;
  for (int i = 0; i < n; ++i) {
    const double a = 2 * 3.141592653589793 * i / n, k = (i % 2) ? 1.0 : 0.6;
    out.push_back({static_cast<int32_t>(cx + r * k * std::cos(a)), static_cast<int32_t>(cy + r * k * std::sin(a))});
  }
  return out;
}

void CadrePolylignesPointillees(benchmark::State& state) {
  const auto lignes = Polylignes(static_cast<int>(state.range(0)));
  const auto contour = Contour(1000, kLargeur / 2.0, kHauteur / 2.0, 500);
  QtCanvas c(kLargeur, kHauteur);
  for (auto _ : state) {
    c.Pen = {RgbColour(0, 0, 0), 1, PenStyle::Dash, PenMode::Copy};
    for (const auto& l : lignes) c.Polyline(l);
    c.Pen.Style = PenStyle::Solid;
    c.Brush = {RgbColour(0, 128, 255), BrushStyle::DiagCross};
    c.Polygon(contour);
    benchmark::DoNotOptimize(c.Image().constBits());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(CadrePolylignesPointillees)->Arg(100000)->Unit(benchmark::kMillisecond);

void PolygonesNonOuExclusif(benchmark::State& state) {
  std::vector<std::vector<Point>> formes;
  std::mt19937 gen(7);
  std::uniform_int_distribution<int> x(0, kLargeur - 1), y(0, kHauteur - 1);
  for (int i = 0; i < state.range(0); ++i) formes.push_back(Contour(40, x(gen), y(gen), 60));
  QtCanvas c(kLargeur, kHauteur);
  for (auto _ : state) {
    c.Pen = {RgbColour(0, 255, 255), 1, PenStyle::Solid, PenMode::NotXor};
    c.Brush = {RgbColour(0, 255, 255), BrushStyle::Solid};
    for (const auto& f : formes) c.Polygon(f);
    benchmark::DoNotOptimize(c.Image().constBits());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(PolygonesNonOuExclusif)->Arg(1000)->Unit(benchmark::kMillisecond);


// A batch as the cave window hands it: 300,000 short lines, 300,000 stamped
// 4 x 4 ellipses and 300,000 pixels, mixed, on 1920 x 1080, spread over the
// whole image (range(1) = 0), gathered in its middle (1), or over a zoomed
// view where some are outside and some ellipses cross the edges (2); drawn
// on one thread (range(0) = 1) or on every core (0); and smaller batches
// (range(2) calls).
void LotDeTraitsEllipsesEtPixels(benchmark::State& state) {
  std::mt19937 gen(99);
  const bool milieu = state.range(1) == 1, zoom = state.range(1) == 2;
  std::uniform_int_distribution<int> zx(-200, kLargeur + 200), zy(-200, kHauteur + 200);
  std::normal_distribution<double> nx(kLargeur / 2.0, kLargeur / 8.0), ny(kHauteur / 2.0, kHauteur / 8.0);
  std::uniform_int_distribution<int> ux(0, kLargeur - 1), uy(0, kHauteur - 1), pas(-8, 8), genre(0, 2);
  const auto position = [&](int marge) {
    if (zoom) return Point{zx(gen), zy(gen)};
    const int x = milieu ? static_cast<int>(nx(gen)) : ux(gen), y = milieu ? static_cast<int>(ny(gen)) : uy(gen);
    return Point{std::clamp(x, 0, kLargeur - 1 - marge), std::clamp(y, 0, kHauteur - 1 - marge)};
  };
  const Colour couleurs[] = {RgbColour(0, 0, 0), RgbColour(255, 0, 0), RgbColour(0, 0, 255)};
  std::vector<BatchCall> appels;
  int traits = 0, ellipses = 0, pixels = 0;
  const int parGenre = static_cast<int>(state.range(2)) / 3;
  while (traits + ellipses + pixels < 3 * parGenre) {
    const int g = genre(gen);
    const Colour c = couleurs[(traits + ellipses + pixels) % 3];
    if (g == 0 && traits < parGenre) {
      const Point p = position(0);
      appels.push_back({BatchCall::Kind::Line, c, p.X, p.Y, p.X + pas(gen), p.Y + pas(gen)});
      ++traits;
    } else if (g == 1 && ellipses < parGenre) {
      const Point p = position(4);
      appels.push_back({BatchCall::Kind::Ellipse, c, p.X, p.Y, p.X + 4, p.Y + 4});
      ++ellipses;
    } else if (g == 2 && pixels < parGenre) {
      const Point p = position(0);
      appels.push_back({BatchCall::Kind::Pixel, c, p.X, p.Y});
      ++pixels;
    }
  }
  foundation::GardeContexteFoundation garde;
  foundation::ContexteFoundation().FilsMax = static_cast<int>(state.range(0));
  QtCanvas c(kLargeur, kHauteur);
  c.Pen = {RgbColour(0, 0, 0), 1, PenStyle::Solid, PenMode::Copy};
  c.Brush = {RgbColour(0, 128, 255), BrushStyle::Solid};
  for (auto _ : state) {
    c.Batch(appels);
    benchmark::DoNotOptimize(c.Image().constBits());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(appels.size()));
}
BENCHMARK(LotDeTraitsEllipsesEtPixels)
    ->ArgNames({"fils", "milieu", "appels"})
    ->Args({1, 0, 900000})
    ->Args({0, 0, 900000})
    ->Args({1, 1, 900000})
    ->Args({0, 1, 900000})
    ->Args({1, 2, 900000})
    ->Args({0, 2, 900000})
    // Smaller batches, around where cutting by bands starts to pay.
    ->Args({1, 1, 12000})
    ->Args({0, 1, 12000})
    ->Args({1, 1, 20000})
    ->Args({0, 1, 20000})
    ->Args({1, 1, 100000})
    ->Args({0, 1, 100000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
