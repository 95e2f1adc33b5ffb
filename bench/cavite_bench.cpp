// Regeneration of a cave's derived lists: a main gallery with a side station
// every fifth station and a side gallery every hundredth, stored in reverse
// order so that every regeneration orders everything from the start.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "survey/cavite.h"

using namespace survey;

namespace {

struct Reseau {
  foundation::TListeFichier<TCavite> Cavites;
  TCavite* Cavite = nullptr;

  explicit Reseau(int n) {
    auto surface = std::make_unique<TCavite>();
    surface->EstSurface = true;
    TGalerie* gs = surface->AjouteGalerie("Points de surface");
    auto e = std::make_unique<TPointSpeleo>();
    e->TypePoint = PointSurface;
    e->DesignPTopo = "E1";
    TPointSpeleo* entree = gs->Points.Add(std::move(e));
    surface->CavitesReseau = &Cavites;
    Cavites.Add(std::move(surface));

    auto c = std::make_unique<TCavite>();
    c->CavitesReseau = &Cavites;
    Cavite = Cavites.Add(std::move(c));
    TGalerie* principale = Cavite->AjouteGalerie("");
    TGalerie* laterale = principale;
    std::vector<std::unique_ptr<TVisee>> visees;
    auto station = [&](TGalerie* g, const std::string& nom, int annexe) {
      auto p = std::make_unique<TPointSpeleo>();
      p->DesignPTopo = nom;
      p->Annexe = annexe;
      return g->Points.Add(std::move(p));
    };
    auto visee = [&](TPointSpeleo* a, TPointSpeleo* b, double az) {
      auto v = std::make_unique<TVisee>();
      v->PointStation = a;
      v->PointVise = b;
      v->Az = az;
      visees.push_back(std::move(v));
    };
    TPointSpeleo* avant = entree;
    int k = 0;
    while (static_cast<int>(visees.size()) < n) {
      ++k;
      TPointSpeleo* p = station(principale, std::to_string(k), 0);
      visee(avant, p, (k * 7) % 360);
      avant = p;
      if (k % 5 == 0 && static_cast<int>(visees.size()) < n) {
        std::string nom = std::to_string(k);
        nom += 'a';
        visee(p, station(principale, nom, 1), 90);
      }
      if (k % 100 == 0 && static_cast<int>(visees.size()) < n) {
        std::string nom = "L";
        nom += std::to_string(k);
        laterale = Cavite->AjouteGalerie(nom);
        visee(p, station(laterale, nom, 0), 180);
      }
    }
    for (auto it = visees.rbegin(); it != visees.rend(); ++it) Cavite->Visees.Add(std::move(*it));
  }
  ~Reseau() { DetruitCavites(Cavites); }
};

void Regeneration(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Reseau r(n);
  for (auto _ : state) {
    state.PauseTiming();
    // Back to the stored order, so that each run sorts everything again.
    r.Cavite->Visees.TrieStable([](const TVisee* a, const TVisee* b) { return a->IndexCav > b->IndexCav; });
    state.ResumeTiming();
    benchmark::DoNotOptimize(r.Cavite->ReGenereListePoints(true));
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(Regeneration)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
