// The exports of chosen shots: the partial document export of a cave of
// 25,000, 50,000 and 100,000 shots (a side gallery every tenth shot) whose
// first half is marked, with a plan drawing of two points per shot (200,000
// points for 100,000 shots) tied along the survey, saved to a temporary file
// through the document writer; time and the heap's peak above what was in
// use before the export.  The Qave export's numbering and lines for 12,500,
// 25,000 and 50,000 marked shots with eight splays each.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "document/composition.h"
#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/elements_dessin.h"
#include "drawing/liste_mtf.h"
#include "drawing/point_dessin.h"
#include "formats/export/partie/export_partie_cavite.h"
#include "formats/export/ports_export.h"
#include "formats/export/qave/export_qave.h"
#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "survey/cavite.h"
#include "tests/survey/reseau_calcul.h"

// The heap in use and its peak, counted by the program's allocations.
namespace {
std::atomic<size_t> enUsage{0}, pic{0};
}
void* operator new(size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  const size_t u = enUsage += malloc_usable_size(p);
  for (size_t m = pic.load(); u > m && !pic.compare_exchange_weak(m, u);) {
  }
  return p;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  enUsage -= malloc_usable_size(p);
  std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

using namespace survey;

namespace {

struct Grotte {
  testsurvey::ReseauCalcul n;
  TCavite* c = nullptr;
  explicit Grotte(int visees, int habi = 0) {
    n.Surface("E1", 1000, 2000, 500);
    c = n.Cavite("Grotte");
    std::string avant = "E1";
    for (int k = 1; k <= visees; ++k) {
      const std::string nom = std::to_string(k);
      if (k % 10 == 0) c->AjouteGalerie("G" + nom);
      TVisee* v = n.Visee(c, avant, nom, (k * 7) % 360, (k % 21) - 10, 3 + k % 5);
      for (int h = 0; h < habi; ++h) {
        auto s = std::make_unique<TViseeHabi>();
        s->Az = (k * 13 + h * 45) % 360;
        s->Long = 1.5;
        s->RefPtStat = false;
        v->AjouteViseeHabi(std::move(s));
      }
      if (k % 10 != 0) avant = nom;
    }
    n.Regenere();
    n.R().CalculeReseau();
  }
};

void BM_ExportPartieCavite(benchmark::State& state) {
  document::InstalleDocument();
  const int visees = static_cast<int>(state.range(0));
  Grotte g(visees);
  // The plan drawing: a line of four points over each pair of shots.
  drawing::TListeDonneesDessin& plan = drawing::AnnexeDessin(g.c)->LeDessinPlani->ListeDonneesDessin;
  for (int k = 0; k + 1 < visees; k += 2) {
    auto l = std::make_unique<drawing::TObjetDonneesBasique>();
    l->MotifDessin = drawing::Dessin().ListesMtfReseau->ListeTraits.UnObjet(0);
    for (int i = 0; i < 4; ++i) l->AjoutePointDessin(false, i, 0)->VisRefDessin = g.c->LaVisee(k + i / 2);
    plan.AjouteDonneesDessin(std::move(l));
  }
  formats::GardePortsExport ports;
  formats::FenetresExport().ChoisitVisees = [visees](const formats::TDemandeChoixVisees& d) {
    for (int i = 0; i < d.Cavite->Visees.Count(); ++i) d.Cavite->LaVisee(i)->Marque = i < visees / 2;
    return true;
  };
  const std::string chemin = "/tmp/gravelune-bench-" + std::to_string(visees) + "-part.cav";
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs portee(dialogues);
  size_t memoire = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::remove(chemin.c_str());
    dialogues.QueueFile(chemin);
    state.ResumeTiming();
    const size_t avant = enUsage;
    pic = avant;
    if (!formats::ExportePartieCavite(g.n.R())) state.SkipWithError("export");
    memoire = pic - avant;
  }
  std::remove(chemin.c_str());
  std::remove(platform::ChangeExtension(chemin, ".CFG").c_str());
  std::remove(platform::ChangeExtension(chemin, ".$$$Cav").c_str());
  state.counters["picMo"] = static_cast<double>(memoire) / (1024.0 * 1024.0);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ExportPartieCavite)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Complexity(benchmark::oN);

void BM_ExportQave(benchmark::State& state) {
  Grotte g(static_cast<int>(state.range(0)), 8);
  std::vector<TVisee*> visees;
  for (TVisee* v : g.c->Visees) visees.push_back(v);
  size_t lignes = 0;
  for (auto _ : state) {
    formats::NumeroteStationsQave(*g.c, visees);
    lignes = formats::LignesFichierQave(visees).size();
  }
  state.counters["lignes"] = static_cast<double>(lignes);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ExportQave)->Arg(12500)->Arg(25000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
