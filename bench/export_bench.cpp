// The text exports of a cave: the CSV and the VTopo file of a cave of 10,000
// and 100,000 shots carrying two splays each, a side gallery every tenth
// shot; the VTopo numbering alone on the cave of 10,000 galleries.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "formats/export/export_vtopo.h"
#include "survey/cavite.h"
#include "tests/survey/reseau_calcul.h"

using namespace survey;

namespace {

struct Cave {
  testsurvey::ReseauCalcul n;
  TCavite* c = nullptr;
  explicit Cave(int visees) {
    n.Surface("E1", 1000, 2000, 500);
    c = n.Cavite("Grotte");
    std::string avant = "E1";
    for (int k = 1; k <= visees; ++k) {
      const std::string nom = std::to_string(k);
      if (k % 10 == 0) c->AjouteGalerie("G" + nom);
      TVisee* v = n.Visee(c, avant, nom, (k * 7) % 360, (k % 21) - 10, 3 + k % 5);
      for (int h = 0; h < 2; ++h) {
        auto s = std::make_unique<TViseeHabi>();
        s->Az = (k * 13 + h * 90) % 360;
        s->Long = 1.5;
        v->AjouteViseeHabi(std::move(s));
      }
      // A side gallery every tenth shot hangs on the previous station.
      if (k % 10 != 0) avant = nom;
    }
    n.Regenere();
    n.R().CalculeReseau();
  }
};

Cave& CaveDe(int visees) {
  static std::unique_ptr<Cave> cave;
  static int taille = 0;
  if (!cave || taille != visees) {
    cave.reset();
    cave = std::make_unique<Cave>(visees);
    taille = visees;
  }
  return *cave;
}

void ExportCsv(benchmark::State& state) {
  Cave& cave = CaveDe(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(cave.c->LignesFichierCSV());
  state.SetComplexityN(state.range(0));
}
BENCHMARK(ExportCsv)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void ExportVTopo(benchmark::State& state) {
  Cave& cave = CaveDe(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(formats::LignesFichierTRO(*cave.c, true));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(ExportVTopo)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void NumerotationVTopo(benchmark::State& state) {
  Cave& cave = CaveDe(100000);
  for (auto _ : state) formats::NumeroteVTopo(*cave.c, state.range(0) != 0);
}
BENCHMARK(NumerotationVTopo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
