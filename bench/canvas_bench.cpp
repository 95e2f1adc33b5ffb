// Drawing on the image canvas: a frame of 100,000 dashed polylines of 20
// points and a hatched polygon on a 1920 x 1080 image, and filled shapes in
// not-xor mode (the coverage-layer path).
#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <vector>

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

}  // namespace
