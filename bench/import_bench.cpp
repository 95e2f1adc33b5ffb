// Import of a VTopo file of 1,000, 10,000 and 50,000 shots: reading, staging,
// transfer, branch walk, galleries and regeneration, into a fresh network.
// Import of Therion ".th" and PocketTopo ".top" files of 10,000 and 100,000
// shots, six splays per station (the ".top" with a 100,000-point drawing).
// Import of TopoRobot files of 10,000 and 100,000 point lines the same way.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "formats/import/galeries_import.h"
#include "formats/import/import_fichier_autre.h"
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

// Imports the file made by `fichier` for the benchmark's size, as the given
// type, into a fresh network each time.
template <class Fabrique>
void MesureImport(benchmark::State& state, const std::string& extension, int type, Fabrique fichier) {
  const int n = static_cast<int>(state.range(0));
  const std::string dossier = std::filesystem::temp_directory_path().string() + "/gravelune-import-bench";
  std::filesystem::create_directories(dossier);
  const std::string chemin = dossier + "/banc" + std::to_string(n) + extension;
  platform::WriteFileAtomic(chemin, fichier(n));
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
    const bool ok = formats::ImporteFichierAutre(chemin, type, false, reseau.get());
    benchmark::DoNotOptimize(ok);
    state.PauseTiming();
    if (!ok) state.SkipWithError("import refusé");
    reseau.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(n);
}

void BM_ImportVTopo(benchmark::State& state) { MesureImport(state, ".tro", formats::TypeImportVTopo, FichierTro); }
BENCHMARK(BM_ImportVTopo)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity();

// A line of stations, each with six splays; n shots in all.
std::string FichierTh(int n) {
  std::string t = "survey banc -title \"Banc\"\n centerline\n  date 2023.04.29\n"
                  "  data normal from to length compass clino\n";
  for (int i = 0, station = 0; i < n; ++station) {
    t += "  " + std::to_string(station) + " " + std::to_string(station + 1) + " 5.00 " + std::to_string(station % 360) +
         " -2.0\n";
    ++i;
    for (int k = 0; k < 6 && i < n; ++k, ++i)
      t += "  " + std::to_string(station + 1) + " . 1.5 " + std::to_string(k * 60) + " " + std::to_string(k * 10 - 25) + "\n";
  }
  return t + " endcenterline\nendsurvey\n";
}

template <class T>
void Ajoute(std::string& o, T v) {
  char b[sizeof v];
  std::memcpy(b, &v, sizeof v);
  o.append(b, sizeof v);
}

std::string FichierTop(int n) {
  std::string o = "Top";
  o += '\x03';
  Ajoute<int32_t>(o, 1);
  Ajoute<int64_t>(o, 637159392000000000);
  o += '\0';
  Ajoute<uint16_t>(o, 0);
  Ajoute<int32_t>(o, n);
  auto visee = [&](uint32_t de, uint32_t a, int32_t mm, uint16_t az, uint16_t p) {
    Ajoute(o, de);
    Ajoute(o, a);
    Ajoute(o, mm);
    Ajoute(o, az);
    Ajoute(o, p);
    Ajoute<uint8_t>(o, 0);
    Ajoute<uint8_t>(o, 0);
    Ajoute<int16_t>(o, 0);
  };
  for (int i = 0, station = 0; i < n; ++station) {
    visee(0x80000001u + station, 0x80000002u + station, 5000, static_cast<uint16_t>(station * 97), 65000);
    ++i;
    for (int k = 0; k < 6 && i < n; ++k, ++i)
      visee(0x80000002u + station, 0x80000000u, 1500, static_cast<uint16_t>(k * 10000), static_cast<uint16_t>(k * 500));
  }
  Ajoute<int32_t>(o, 0);
  for (int k = 0; k < 3; ++k) Ajoute<int32_t>(o, 0);
  // The plan: polylines of 100 points, 100,000 points in all.
  for (int k = 0; k < 3; ++k) Ajoute<int32_t>(o, 0);
  for (int l = 0; l < 1000; ++l) {
    o += '\x01';
    Ajoute<int32_t>(o, 100);
    for (int p = 0; p < 100; ++p) {
      Ajoute<int32_t>(o, l * 10 + p);
      Ajoute<int32_t>(o, -p * 7);
    }
    o += '\x03';
  }
  o += '\0';
  for (int k = 0; k < 3; ++k) Ajoute<int32_t>(o, 0);
  o += '\0';
  return o;
}


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
  MesureImport(state, ".tab", formats::TypeImportTopoRobot, FichierTab);
}

void BM_ImportTherion(benchmark::State& state) { MesureImport(state, ".th", formats::TypeImportTopoDroid, FichierTh); }
BENCHMARK(BM_ImportTherion)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_ImportPocketTopo(benchmark::State& state) {
  MesureImport(state, ".top", formats::TypeImportPocketTopo, FichierTop);
}
BENCHMARK(BM_ImportPocketTopo)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_ImportTopoRobot)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
