// The operator, instrument and surface-point managers on large documents:
// the surface-point manager opened on 100,000 points (filled and shown) and
// each of its sorts; an operator merge over 10,000 operators and 50,000
// trips (and a fifth of that, to see it grow linearly); the ".Instr" file of
// 10,000 instruments written, read into an empty list, and read again into
// the full list (every instrument found equal).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/reseau/fiche_pts_surface.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/gestion_listes.h"
#include "survey/lever.h"
#include "survey/liste_points.h"
#include "survey/reseau.h"

using namespace survey;

namespace {

QApplication& Application() {
  static int argc = 1;
  static char nom[] = "gestion_listes_bench";
  static char* argv[] = {nom, nullptr};
  // Never destroyed: at exit Qt's own globals are gone before function statics.
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

void PointsSurface(TReseau& r, int n) {
  r.CreeCaviteSurface();
  for (int i = 0; i < n; ++i) {
    auto p = std::make_unique<TPointSpeleo>();
    p->TypePoint = survey::PointSurface;
    const int k = (i * 7919) % n;
    p->DesignPTopo = (k % 3 ? "S" : "") + std::to_string(k);
    p->X = 800000 + (k % 1000) * 3.7;
    p->Y = 6400000 + (k / 1000) * 2.3;
    p->Z = 100 + (k % 977) * 0.41;
    p->GalduPt = r.UneCavite(0)->UneGalerie(0);
    r.LesPointsSurface()->Add(std::move(p));
  }
}

void OuverturePointsSurface(benchmark::State& state) {
  Application();
  GardeDocument document;
  TReseau r;
  PointsSurface(r, 100000);
  for (auto _ : state) {
    app::TFichePtsSurface f(r);
    f.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(f.Modele().rowCount());
  }
}
BENCHMARK(OuverturePointsSurface)->Unit(benchmark::kMillisecond)->Iterations(3);

// Arg: the column clicked (name, X, Y, Z, symbol), twice (ascending, then
// descending).
void TriPointsSurface(benchmark::State& state) {
  Application();
  GardeDocument document;
  TReseau r;
  PointsSurface(r, 100000);
  app::TFichePtsSurface f(r);
  f.show();
  QApplication::processEvents();
  const int colonne = static_cast<int>(state.range(0));
  for (auto _ : state) {
    f.EnteteClick(colonne);
    QApplication::processEvents();
    benchmark::DoNotOptimize(f.Modele().Point(0));
  }
}
BENCHMARK(TriPointsSurface)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->Iterations(4);

// Args: operators, trips.  Every other operator is renamed to its
// predecessor's name, so that half of them merge; each trip names three.
void FusionOperateurs(benchmark::State& state) {
  const int nOperateurs = static_cast<int>(state.range(0));
  const int nLevers = static_cast<int>(state.range(1));
  for (auto _ : state) {
    state.PauseTiming();
    auto document = std::make_unique<GardeDocument>();
    auto r = std::make_unique<TReseau>();
    r->CreeCaviteSurface();
    auto c = std::make_unique<TCavite>();
    c->NomCavite = "Grotte";
    TCavite* cav = r->AjouteCavite(std::move(c));
    std::vector<std::string> noms;
    for (int i = 0; i < nOperateurs; ++i) {
      auto o = std::make_unique<TOperateur>();
      o->DesignOpe = "Op" + std::to_string(i);
      r->ListeOperateurs.Add(std::move(o));
      noms.push_back("Op" + std::to_string(i - i % 2));
    }
    for (int i = 0; i < nLevers; ++i) {
      auto l = std::make_unique<TLever>();
      for (int k = 0; k < 3; ++k) l->Operateurs.push_back(r->ListeOperateurs.UnOperateur((i * 7 + k * 13) % nOperateurs));
      cav->Levers.Add(std::move(l));
    }
    state.ResumeTiming();
    benchmark::DoNotOptimize(RenommeOperateurs(*r, noms));
    state.PauseTiming();
    r.reset();
    document.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(FusionOperateurs)->Args({2000, 10000})->Args({10000, 50000})->Unit(benchmark::kMillisecond)->Iterations(5);

std::string FichierInstruments() {
  static const std::string chemin =
      (std::filesystem::temp_directory_path() / ("gestion_listes_bench_" + std::to_string(::getpid()) + ".Instr"))
          .string();
  return chemin;
}

void ListeInstruments(TListeInstruments& l, int n) {
  for (int i = 0; i < n; ++i) {
    auto inst = std::make_unique<TInstrument>();
    inst->DesignInstr = "Instrument " + std::to_string(i % (n / 2));
    inst->Marque = "Marque";
    inst->TypeInstr = static_cast<TTypeInst>(1 + i % 3);
    inst->CoeffEtalon = 1 + i * 1e-6;
    inst->TiGenre = "Genre";
    l.Add(std::move(inst));
  }
}

void EcritureInstr(benchmark::State& state) {
  TListeInstruments l;
  ListeInstruments(l, 10000);
  for (auto _ : state) benchmark::DoNotOptimize(EcritFichierInstruments(FichierInstruments(), l));
}
BENCHMARK(EcritureInstr)->Unit(benchmark::kMillisecond);

void LectureInstr(benchmark::State& state) {
  {
    TListeInstruments l;
    ListeInstruments(l, 10000);
    EcritFichierInstruments(FichierInstruments(), l);
  }
  const bool pleine = state.range(0) != 0;
  TListeInstruments pleineListe;
  if (pleine) ImporteFichierInstruments(FichierInstruments(), pleineListe);
  for (auto _ : state) {
    if (pleine) {
      int ajoutes = 0;
      benchmark::DoNotOptimize(ImporteFichierInstruments(FichierInstruments(), pleineListe, &ajoutes));
      if (ajoutes != 0) state.SkipWithError("instruments added twice");
    } else {
      TListeInstruments l;
      benchmark::DoNotOptimize(ImporteFichierInstruments(FichierInstruments(), l));
    }
  }
  std::remove(FichierInstruments().c_str());
}
// Arg 0: into an empty list; 1: into the list already holding them all.
BENCHMARK(LectureInstr)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
