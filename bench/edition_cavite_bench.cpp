// The cave edits on large caves: one shot deleted (regeneration included),
// the second half of a cave deleted, renaming in series, the merge of two
// caves, and one shot appended through a scripted shot-entry dialog (the
// wait a caver feels between two typed shots).  Each cave is a main gallery
// with a side station every fifth station and a side gallery every
// hundredth.  Also the row menu's rules on the last shot of such a cave, as
// each right click rebuilds them.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/table/menus_lignes.h"
#include "platform/dialogs.h"
#include "survey/cavite.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"

using namespace survey;

namespace {

// Answers Yes to every question.
class Oui : public platform::Dialogs {
 public:
  void ShowMessage(platform::MessageKind, const std::string&, const std::string&) override {}
  platform::Answer AskYesNo(const std::string&, const std::string&) override { return platform::Answer::Yes; }
  platform::Answer AskYesNoCancel(const std::string&, const std::string&) override { return platform::Answer::Yes; }
  std::optional<std::string> Prompt(const std::string&, const std::string&, const std::string&) override {
    return std::string("G");
  }
  std::optional<platform::FileChoice> SaveFile(const platform::FileDialogOptions&) override { return std::nullopt; }
  std::optional<platform::FileChoice> OpenFile(const platform::FileDialogOptions&) override { return std::nullopt; }
  void SetBusyCursor(bool) override {}
};

TCavite* Grotte(TReseau& r, const std::string& nom, const std::string& entree, int n) {
  r.CreeCaviteSurface();
  auto e = std::make_unique<TPointSpeleo>();
  e->TypePoint = PointSurface;
  e->DesignPTopo = entree;
  e->GalduPt = r.UneCavite(0)->UneGalerie(0);
  TPointSpeleo* avant = r.LesPointsSurface()->Add(std::move(e));
  auto c = std::make_unique<TCavite>();
  c->NomCavite = nom;
  TCavite* cav = r.AjouteCavite(std::move(c));
  TGalerie* principale = cav->AjouteGalerie("");
  auto station = [&](TGalerie* g, const std::string& s, int annexe) {
    auto p = std::make_unique<TPointSpeleo>();
    p->DesignPTopo = s;
    p->Annexe = annexe;
    p->GalduPt = g;
    return g->Points.Add(std::move(p));
  };
  int visees = 0;
  auto visee = [&](TPointSpeleo* a, TPointSpeleo* b, double az) {
    auto v = std::make_unique<TVisee>();
    v->PointStation = a;
    v->PointVise = b;
    v->Az = az;
    v->Long = 3;
    cav->Visees.Add(std::move(v));
    ++visees;
  };
  for (int k = 1; visees < n; ++k) {
    TPointSpeleo* p = station(principale, nom + std::to_string(k), 0);
    visee(avant, p, (k * 7) % 360);
    avant = p;
    if (k % 5 == 0 && visees < n) visee(p, station(principale, nom + std::to_string(k) + "a", 1), 90);
    if (k % 100 == 0 && visees < n) {
      TGalerie* laterale = cav->AjouteGalerie("L" + std::to_string(k));
      visee(p, station(laterale, nom + "L" + std::to_string(k), 0), 180);
    }
  }
  cav->LaGalerieActive = principale;
  cav->ReGenereListePoints(false);
  r.LaCaviteActive = cav;
  return cav;
}

void SuppressionDUneVisee(benchmark::State& state) {
  Oui oui;
  platform::ScopedDialogs dialogues(oui);
  for (auto _ : state) {
    state.PauseTiming();
    auto r = std::make_unique<TReseau>();
    TCavite* c = Grotte(*r, "A", "E1", static_cast<int>(state.range(0)));
    TVisee* v = c->LaVisee(c->Visees.Count() / 2);
    while (v->PtCalc && v->PtCalc->NbRatTot >= 2) v = c->LaVisee(v->IndexCav + 1);
    state.ResumeTiming();
    benchmark::DoNotOptimize(r->SupprimeVisee(v));
    state.PauseTiming();
    r.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(SuppressionDUneVisee)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

void SuppressionDeLaSecondeMoitie(benchmark::State& state) {
  Oui oui;
  platform::ScopedDialogs dialogues(oui);
  GardePortsSurvey ports;
  Ports().ConfirmeEffacementVisees = [](const auto&, const auto&) { return true; };
  for (auto _ : state) {
    state.PauseTiming();
    auto r = std::make_unique<TReseau>();
    TCavite* c = Grotte(*r, "A", "E1", static_cast<int>(state.range(0)));
    // The main gallery's shot half-way.
    TVisee* v = c->LaVisee(c->Visees.Count() / 2);
    while (v->PtCalc && v->PtCalc->EstAnnexe()) v = c->LaVisee(v->IndexCav + 1);
    state.ResumeTiming();
    benchmark::DoNotOptimize(r->SupprimeViseesSuivantes(v));
    state.PauseTiming();
    state.counters["visees restantes"] = c->Visees.Count();
    r.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(SuppressionDeLaSecondeMoitie)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void RenumerotationEnSerie(benchmark::State& state) {
  TReseau r;
  TCavite* c = Grotte(r, "A", "E1", static_cast<int>(state.range(0)));
  for (auto _ : state) c->RenumTpRb(c->LaVisee(0));
  state.counters["stations"] = c->ListePoints.Count();
}
BENCHMARK(RenumerotationEnSerie)->Arg(100000)->Unit(benchmark::kMillisecond);

void FusionDeDeuxCavites(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto r = std::make_unique<TReseau>();
    TCavite* b = Grotte(*r, "B", "E2", n);
    TCavite* a = Grotte(*r, "A", "E1", n);
    b->ListePoints.Last()->PtBoucleAsso = a->ListePoints.Last();
    state.ResumeTiming();
    benchmark::DoNotOptimize(a->FusionneCavite(b));
    state.PauseTiming();
    r.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(FusionDeDeuxCavites)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(3);

void AjoutDUneVisee(benchmark::State& state) {
  GardePortsSurvey ports;
  TReseau r;
  TCavite* c = Grotte(r, "A", "E1", static_cast<int>(state.range(0)));
  int k = 0;
  Ports().DialogueSaisieVisee = [&](TDemandeSaisieVisee& d) {
    d.Visee->Az = 45;
    d.Visee->Long = 2;
    auto* p = new TPointSpeleo();
    p->DesignPTopo = "N" + std::to_string(++k);
    d.Visee->PointVise = p;
    return true;
  };
  TVisee* source = c->DerniereViseeGalActive();
  for (auto _ : state) {
    TValeurVisee* cree = nullptr;
    benchmark::DoNotOptimize(c->CreeVisee(source, cree));
    source = static_cast<TVisee*>(cree);
  }
}
BENCHMARK(AjoutDUneVisee)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(20);

// The entries of the row menu of the cave's last shot, computed stations
// known: the walk that finds the other shots computed at its station.
void MenuDeLaLigne(benchmark::State& state) {
  auto r = std::make_unique<TReseau>();
  TCavite* c = Grotte(*r, "A", "E1", static_cast<int>(state.range(0)));
  r->CalculeReseau();
  const TVisee* v = c->LaVisee(c->Visees.Count() - 1);
  for (auto _ : state) benchmark::DoNotOptimize(app::EntreesMenuLigne(*c, *v, false));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(MenuDeLaLigne)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
