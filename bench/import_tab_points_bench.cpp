// Text tables of 10,000 and 100,000 rows: the header and the dialog's model
// filled (rows, column titles, cell checks), then the whole import with its
// transfer into a fresh network.  GPX files of 10,000 and 100,000 waypoints:
// the reading alone, and the whole point import with its update by name and
// sorting.  Each should grow linearly.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "formats/import/galeries_import.h"
#include "formats/import/import_fichier_autre.h"
#include "formats/import/points/import_points_surface.h"
#include "formats/import/texte/import_tab_txt.h"
#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/liste_points.h"
#include "survey/rapport_calcul.h"
#include "survey/reseau.h"

namespace {

std::string Dossier() {
  const std::string d = std::filesystem::temp_directory_path().string() + "/gravelune-tab-points-bench";
  std::filesystem::create_directories(d);
  return d;
}

// A header, then a main line of n shots in ten columns.
std::string Table(int n) {
  std::string t = "cavit\xE9\tBanc\nentr\xE9" "e\tS0\t1000\t2000\t300\nvis\xE9" "es\n";
  for (int i = 0; i < n; ++i)
    t += "S" + std::to_string(i) + "\tS" + std::to_string(i + 1) + "\t" + std::to_string(i % 360) + "\t-2,5\t5\t1\t1\t2\t0.5\tx\n";
  return t;
}

std::string Gpx(int n) {
  std::string t = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"banc\">\n";
  for (int i = 0; i < n; ++i)
    t += "  <wpt lat=\"" + std::to_string(44 + (i % 1000) * 1e-4) + "\" lon=\"" + std::to_string(2 + (i / 1000) * 1e-4) +
         "\">\n    <ele>" + std::to_string(100 + i % 50) + "</ele>\n    <name>W" + std::to_string(i) +
         "</name>\n    <cmt>point " + std::to_string(i) + "</cmt>\n  </wpt>\n";
  return t + "</gpx>\n";
}

struct Environnement {
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde{dialogues};
  survey::GardeDocument document;
  survey::GardeContexteReseau reseauGarde;
  survey::GardeContexteCalcul calcul;
  formats::GardeImport import;
  formats::GardePortsImport ports;
};

void BM_TableModele(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<std::string> lignes = formats::LignesTexteImport(Table(n));
  for (auto _ : state) {
    std::vector<std::string> l = lignes;
    formats::TEnTeteTab e;
    formats::LitEnTeteTab(l, e);
    formats::TVisuImportTab v;
    v.Init(e, l);
    v.CliqueEnTete(3);
    int rouges = 0;
    for (int r = 0; r < static_cast<int>(v.Lignes.size()); ++r)
      for (int c = 0; c < v.NombreColonnes; ++c) rouges += v.CelluleRouge(r, c);
    v.Ferme(false);
    benchmark::DoNotOptimize(rouges);
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_TableModele)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_TableImport(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string chemin = Dossier() + "/banc" + std::to_string(n) + ".txt";
  platform::WriteFileAtomic(chemin, Table(n));
  Environnement env;
  formats::Import().DossierMemoireGaleries = Dossier();
  for (auto _ : state) {
    state.PauseTiming();
    auto reseau = std::make_unique<survey::TReseau>();
    reseau->CreeCaviteSurface();
    state.ResumeTiming();
    const bool ok = formats::ImporteFichierAutre(chemin, formats::TypeImportTableTexte, false, reseau.get());
    benchmark::DoNotOptimize(ok);
    state.PauseTiming();
    if (!ok) state.SkipWithError("import refusé");
    reseau.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_TableImport)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_GpxLecture(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string octets = Gpx(n);
  for (auto _ : state) {
    survey::TListedePoints points(true);
    formats::LitPointsGpx(octets, points, "", 0);
    benchmark::DoNotOptimize(points.Count());
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_GpxLecture)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_GpxImport(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string chemin = Dossier() + "/banc" + std::to_string(n) + ".gpx";
  platform::WriteFileAtomic(chemin, Gpx(n));
  Environnement env;
  for (auto _ : state) {
    state.PauseTiming();
    auto reseau = std::make_unique<survey::TReseau>();
    reseau->Projection = "UTM";
    reseau->NumFuseau = 31;
    reseau->CreeCaviteSurface();
    state.ResumeTiming();
    const bool ok = formats::ImportePointsSurface(chemin, *reseau);
    benchmark::DoNotOptimize(ok);
    state.PauseTiming();
    if (!ok) state.SkipWithError("import refusé");
    reseau.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_GpxImport)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
