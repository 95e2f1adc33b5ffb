// Fills made from crossing lines: the closing test on two long smoothed
// lines, on a fill of 20 lines with 200 crossings, on closed chains of 1,000
// and 4,000 short lines (the time should grow about linearly), a layer of
// 5,000 fills redrawn after a change, and a textured fill 20 times the size
// of a 1920 x 1080 window at a high zoom (time, scratch bitmap, peak memory).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "drawing/calque.h"
#include "drawing/contexte_dessin.h"
#include "drawing/dessin_remplissage.h"
#include "drawing/texture.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"

using namespace drawing;
using foundation::TPoint;

namespace {

using Ligne = std::vector<TPoint>;

void Vue(double E, int32_t X, int32_t Y, int32_t W, int32_t H) {
  auto& v = foundation::Vue();
  v.EchelleVue = E;
  v.XDebVue = X;
  v.YDebVue = Y;
  v.LargeurPaintBox = W;
  v.HauteurPaintBox = H;
  v.EchelleFontes = 10000;
  foundation::Impression().EnImpression = false;
  Affichage() = EtatAffichage{};
  Affichage().RectVisibleDessin = {X * 1000, Y * 1000, X * 1000 + static_cast<int32_t>(W * 1000 / E),
                                   Y * 1000 - static_cast<int32_t>(H * 1000 / E)};
}

struct Montage {
  Montage(const std::vector<Ligne>& lignes, bool lisse) {
    styleLisse.TraitLisse = true;
    remplissage = std::make_unique<TDessinRemplissage>(&style);
    for (const Ligne& l : lignes) {
      auto d = std::make_unique<TDessinLigne>(lisse ? &styleLisse : &style);
      for (const TPoint& p : l) d->AjoutePoint(p);
      remplissage->ListeLignes.push_back(d.get());
      objets.push_back(std::move(d));
    }
  }
  TObjetTrait style, styleLisse;
  std::vector<std::unique_ptr<TDessinLigne>> objets;
  std::unique_ptr<TDessinRemplissage> remplissage;
};

void Ferme(benchmark::State& state, Montage& m) {
  bool ferme = false;
  for (auto _ : state) {
    ferme = m.remplissage->TestEstFerme();
    benchmark::DoNotOptimize(ferme);
  }
  state.counters["ferme"] = ferme;
}

// Two smoothed lines of 1,000 points, crossing twice: a wavy arch and a
// wavy level line.
void BM_DeuxLignesLisseesDe1000Points(benchmark::State& state) {
  Ligne a, b;
  for (int i = 0; i < 1000; ++i) {
    const double x = i * 100.0;
    a.push_back({static_cast<int32_t>(x),
                 static_cast<int32_t>(20000 * std::sin(std::numbers::pi * x / 100000) + 2000 * std::sin(x / 5000))});
    b.push_back({static_cast<int32_t>(x), static_cast<int32_t>(8000 + 1500 * std::cos(x / 9000))});
  }
  Montage m({a, b}, true);
  Ferme(state, m);
}
BENCHMARK(BM_DeuxLignesLisseesDe1000Points)->Unit(benchmark::kMillisecond);

// 10 horizontal lines and 10 hairpins, each hairpin crossing each
// horizontal twice: 200 crossings.
void BM_VingtLignes200Croisements(benchmark::State& state) {
  std::vector<Ligne> lignes;
  for (int i = 0; i < 10; ++i) lignes.push_back({{-1000, i * 1000}, {11000, i * 1000 + 37}});
  for (int i = 0; i < 10; ++i)
    lignes.push_back({{i * 1000 + 200, 10500}, {i * 1000 + 250, -500}, {i * 1000 + 600, 10500}});
  Montage m(lignes, false);
  Ferme(state, m);
}
BENCHMARK(BM_VingtLignes200Croisements)->Unit(benchmark::kMillisecond);

// N lines around a circle, each from outside the circle to inside it (or
// the other way, alternately) over one N-th of the turn and extended by 30 %
// at both ends, so that it crosses its two neighbours at a wide angle: a
// closed chain.
void BM_ChaineFermee(benchmark::State& state) {
  const auto n = static_cast<int>(state.range(0));
  const double R = n * 1000 / (2 * std::numbers::pi), e = 300 / R;
  std::vector<Ligne> lignes;
  for (int k = 0; k < n; ++k) {
    const double t0 = 2 * std::numbers::pi * k / n, t1 = 2 * std::numbers::pi * (k + 1) / n;
    const double r0 = k % 2 == 0 ? R * (1 + e) : R * (1 - e), r1 = k % 2 == 0 ? R * (1 - e) : R * (1 + e);
    const double x0 = r0 * std::cos(t0), y0 = r0 * std::sin(t0), x1 = r1 * std::cos(t1), y1 = r1 * std::sin(t1);
    const double dx = 0.3 * (x1 - x0), dy = 0.3 * (y1 - y0);
    lignes.push_back({{static_cast<int32_t>(x0 - dx), static_cast<int32_t>(y0 - dy)},
                      {static_cast<int32_t>(x1 + dx), static_cast<int32_t>(y1 + dy)}});
  }
  Montage m(lignes, false);
  Ferme(state, m);
  state.SetComplexityN(n);
}
BENCHMARK(BM_ChaineFermee)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond)->Complexity();

// A tangle of 30 random zigzags of 30 points (tens of thousands of
// crossings), and the seeded small tangle of the tests whose cycle search
// runs out of its step budget.
void BM_Enchevetrement(benchmark::State& state) {
  uint32_t graine = 7;
  auto hasard = [&](int n) {
    graine = graine * 1103515245 + 12345;
    return static_cast<int32_t>((graine >> 8) % static_cast<uint32_t>(n));
  };
  std::vector<Ligne> lignes;
  for (int i = 0; i < 30; ++i) {
    Ligne l;
    for (int k = 0; k < 30; ++k) l.push_back({hasard(3000), hasard(3000)});
    lignes.push_back(l);
  }
  Montage m(lignes, false);
  Ferme(state, m);
  state.counters["budget_epuise"] = m.remplissage->BudgetEpuise;
}
BENCHMARK(BM_Enchevetrement)->Unit(benchmark::kMillisecond);

// 5,000 small lens fills (with their 10,000 lines) over a 1920 x 1080
// window, the layer redrawn after a change.
void BM_CalqueDe5000Remplis(benchmark::State& state) {
  Vue(10, 0, 108, 1920, 1080);
  TObjetTrait style;
  tMotifRempli eau;
  eau.CouleurPinceau = 0xFFFF00;
  TCalque calque;
  for (int i = 0; i < 5000; ++i) {
    const int32_t x = (i % 100) * 1900 + 500, y = (i / 100) * 2000 + 1000;
    auto ligne = [&](Ligne pts) {
      auto l = std::make_unique<TDessinLigne>(&style);
      for (const TPoint& p : pts) l->AjoutePoint(p);
      return static_cast<TDessinLigne*>(calque.AjouteObjet(std::move(l)));
    };
    TDessinLigne* a = ligne({{x, y}, {x + 700, y + 700}, {x + 1400, y}});
    TDessinLigne* b = ligne({{x - 200, y + 300}, {x + 1600, y + 300}});
    auto r = std::make_unique<TDessinRemplissage>(&eau);
    r->ListeLignes = {a, b};
    calque.AjouteObjet(std::move(r));
  }
  platform::QtCanvas canvas(1920, 1080);
  for (auto _ : state) {
    calque.CalqueModifie = true;
    calque.DessineCalque(canvas);
  }
}
BENCHMARK(BM_CalqueDe5000Remplis)->Unit(benchmark::kMillisecond);

// The tiling stands for the texture module's: black lines every 13
// columns and 17 rows.
void PavageEssai(platform::Canvas& c, int32_t w, int32_t h, const tTexture&, double, int32_t ox, int32_t oy) {
  c.Brush.Style = platform::BrushStyle::Solid;
  c.Brush.Color = platform::kBlack;
  for (int32_t x = (13 - ox % 13) % 13; x < w; x += 13) c.FillRect({x, 0, x + 1, h});
  for (int32_t y = (17 - oy % 17) % 17; y < h; y += 17) c.FillRect({0, y, w, y + 1});
}

// A textured, hatched fill of 38,400 x 21,600 pixels (20 windows across)
// at 2,000 pixels per metre, the window over its middle.
void BM_TextureVingtFoisLaFenetre(benchmark::State& state) {
  FonctionPavageTexture ancien = InstallePavageTexture(PavageEssai);
  tTexture texture;
  TObjetTrait style;
  style.CouleurPinceau = 0x49B9DA;
  style.StylePinceau = TStylePinceau::bsDiagCross;
  style.FixeTexture(&texture);
  // 19.2 m by 10.8 m around (0, 0); the window at ground (0, 0) top-left.
  const int32_t X = 9600, Y = 5400, m = 2000;
  Montage f({{{-X - m, -Y}, {X + m, -Y}},
             {{-X - m, Y}, {X + m, Y}},
             {{-X, -Y - m}, {-X, Y + m}},
             {{X, -Y - m}, {X - 300, Y + m}}},
            false);
  f.remplissage->ChangeMotif(&style);
  Vue(2000, 0, 0, 1920, 1080);
  f.remplissage->TestEstFerme();
  platform::QtCanvas canvas(1920, 1080);
  for (auto _ : state) f.remplissage->DessineObjet(canvas);
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  state.counters["bmp_l"] = f.remplissage->LigneDessinee->LargeurBmp;
  state.counters["bmp_h"] = f.remplissage->LigneDessinee->HauteurBmp;
  state.counters["rss_max_Mo"] = static_cast<double>(u.ru_maxrss) / 1024;
  InstallePavageTexture(ancien);
}
BENCHMARK(BM_TextureVingtFoisLaFenetre)->Unit(benchmark::kMillisecond);

}  // namespace
