// Import of a VTopo file of 1,000, 10,000 and 50,000 shots: reading, staging,
// transfer, branch walk, galleries and regeneration, into a fresh network.
// Import of TopoRobot files of 10,000 and 100,000 point lines the same way.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "formats/import/galeries_import.h"
#include "formats/import/import_autres.h"
#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/rapport_calcul.h"
#include "survey/reseau.h"

namespace {

// A main line with a side branch of 20 shots every 100 shots and a splay at
// every tenth station.
std::string FichierTro(int n) {
  std::string t = "Version 5.12\r\nTrou Banc,600.000,180.000,1000.00,LT3\r\nEntree 0\r\n"
                  "Param Deca Degd Clino Degd 1.0000 Dir,Dir,Dir Dep Std 01/02/2003 A\r\n";
  int principal = 0;
  int branche = 0;
  for (int i = 0; i < n;) {
    t += std::to_string(principal) + " " + std::to_string(principal + 1) + " 5.00 " + std::to_string(i % 360) +
         ".00 -2.00 1 1 1 1 N I * N\r\n";
    ++principal;
    ++i;
    if (principal % 10 == 0) t += std::to_string(principal) + " * 2.00 90.00 0.00 * * * * N I * N\r\n";
    if (principal % 100 == 0)
      for (int k = 0; k < 20 && i < n; ++k, ++i) {
        const std::string de = k == 0 ? std::to_string(principal) : "B" + std::to_string(branche) + "_" + std::to_string(k);
        t += de + " B" + std::to_string(branche) + "_" + std::to_string(k + 1) + " 3.00 45.00 1.00 * * * * N I * N\r\n";
        if (k == 19) ++branche;
      }
  }
  return t + "[Configuration 5.12]\r\n";
}

void BM_ImportVTopo(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string dossier = std::filesystem::temp_directory_path().string() + "/gravelune-import-bench";
  std::filesystem::create_directories(dossier);
  const std::string chemin = dossier + "/banc" + std::to_string(n) + ".tro";
  platform::WriteFileAtomic(chemin, FichierTro(n));
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde(dialogues);
  survey::GardeDocument document;
  survey::GardeContexteReseau reseauGarde;
  survey::GardeContexteCalcul calcul;
  formats::GardeImport import;
  formats::GardePortsImport ports;
  formats::Import().DossierMemoireGaleries = dossier;
  for (auto _ : state) {
    state.PauseTiming();
    auto reseau = std::make_unique<survey::TReseau>();
    reseau->CreeCaviteSurface();
    state.ResumeTiming();
    const bool ok = formats::ImporteFichierAutre(chemin, formats::TypeImportVTopo, false, reseau.get());
    benchmark::DoNotOptimize(ok);
    state.PauseTiming();
    if (!ok) state.SkipWithError("import refusé");
    reseau.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_ImportVTopo)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity();

// A TopoRobot file of n point lines: a few hundred series, each leaving from
// the end of an earlier one (a tree), twenty sessions and four codes.
std::string FichierTab(int n) {
  std::string t = "-6\t1\tBanc\r\n-5\t1\t1000.00\t2000.00\t500.00\t1\t0\tentrée\r\n";
  for (int s = 1; s <= 20; ++s)
    t += "-2\t" + std::to_string(s) + "\t" + std::to_string(s) + "\t6\t" + std::to_string(s % 30) +
         "\tA\tB\t0\t0.50\r\n";
  for (const char* code : {"360\t360", "400\t400", "360\t370", "350\t360"})
    t += "-1\t1\t" + std::string(code) + "\t0.10\t1.00\t1.00\t100.00\t100.00\r\n";
  const int series = n >= 50000 ? 400 : 200;
  const int parSerie = n / series;
  int reste = n;
  for (int k = 1; k <= series && reste > 0; ++k) {
    const int points = k == series ? reste : std::min(parSerie, reste);
    reste -= points;
    const int depart = k / 2 == 0 ? 1 : k / 2;
    const std::string debut = k == 1 ? "1\t0" : std::to_string(depart) + "\t" + std::to_string(parSerie - 1);
    t += std::to_string(k) + "\t-1\t" + debut + "\t" + std::to_string(k) + "\t" + std::to_string(points - 1) +
         "\t0\t0\t0\tSérie " + std::to_string(k) + "\r\n";
    for (int p = 0; p < points; ++p)
      t += std::to_string(k) + "\t" + std::to_string(p) + "\t" + std::to_string(1 + (p + k) % 4) + "\t" +
           std::to_string(1 + k % 20) + "\t" + (p == 0 && k > 1 ? "2.00" : "5.00") + "\t" +
           std::to_string((p * 7 + k * 13) % 360) + ".00\t-2.00\t1.00\t1.00\t1.00\t1.00\t" +
           (p % 10 == 0 ? "note" : "") + "\r\n";
  }
  return t;
}

void BM_ImportTopoRobot(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string dossier = std::filesystem::temp_directory_path().string() + "/gravelune-import-bench";
  std::filesystem::create_directories(dossier);
  const std::string chemin = dossier + "/banc" + std::to_string(n) + ".tab";
  platform::WriteFileAtomic(chemin, FichierTab(n));
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde(dialogues);
  survey::GardeDocument document;
  survey::GardeContexteReseau reseauGarde;
  survey::GardeContexteCalcul calcul;
  formats::GardeImport import;
  formats::GardePortsImport ports;
  formats::Import().DossierMemoireGaleries = dossier;
  for (auto _ : state) {
    state.PauseTiming();
    auto reseau = std::make_unique<survey::TReseau>();
    reseau->CreeCaviteSurface();
    state.ResumeTiming();
    const bool ok = formats::ImporteFichierAutre(chemin, formats::TypeImportTopoRobot, false, reseau.get());
    benchmark::DoNotOptimize(ok);
    state.PauseTiming();
    if (!ok) state.SkipWithError("import refusé");
    reseau.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_ImportTopoRobot)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
