// The PocketTopo sketches, imported with their cave into a fresh network:
// - a ".top" file of 3,000 shots (a line with a splay every 15 stations)
//   and 100,000 sketch points in 2,000 polylines with 200 cross sections;
// - an Auriga export (".th" of 10,000 stations and its ".txt") whose "DATA"
//   lines come in reverse order and whose plan lists the first station only
//   (the worst case of the placing passes), with 100,000 polyline points.
// Each at twice the size too.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "drawing/annexe_cavite.h"
#include "formats/import/galeries_import.h"
#include "formats/import/import_fichier_autre.h"
#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/rapport_calcul.h"
#include "survey/reseau.h"

namespace {

template <class T>
void Ajoute(std::string& o, T v) {
  char b[sizeof v];
  std::memcpy(b, &v, sizeof v);
  o.append(b, sizeof v);
}

// Shots 10 m along a line heading east (sketch X = 10 i), k times the base
// size.
std::string FichierTop(int k) {
  const int visees = 3000 * k, polylignes = 2000 * k, coupes = 200 * k, parPoly = 50;
  std::string o = "Top";
  o += '\x03';
  Ajoute<int32_t>(o, 1);
  Ajoute<int64_t>(o, 637159392000000000);
  o += '\0';
  Ajoute<uint16_t>(o, 0);
  const int stations = visees * 15 / 16;
  Ajoute<int32_t>(o, visees);
  auto visee = [&](uint32_t de, uint32_t a, int32_t mm, uint16_t az) {
    Ajoute(o, de);
    Ajoute(o, a);
    Ajoute(o, mm);
    Ajoute(o, az);
    Ajoute<uint16_t>(o, 0);
    Ajoute<uint8_t>(o, 0);
    Ajoute<uint8_t>(o, 0);
    Ajoute<int16_t>(o, 0);
  };
  int n = 0;
  for (int s = 0; n < visees; ++s) {
    visee(0x80000001u + s, 0x80000002u + s, 10000, 16384);
    ++n;
    if (s % 15 == 0 && n < visees) {
      visee(0x80000002u + s, 0x80000000u, 1500, 0);
      ++n;
    }
  }
  (void)stations;
  Ajoute<int32_t>(o, 0);
  for (int i = 0; i < 3; ++i) Ajoute<int32_t>(o, 0);
  // The plan: polylines along the line, 1 m north of it; one in ten beside a
  // section's position.
  for (int i = 0; i < 3; ++i) Ajoute<int32_t>(o, 0);
  for (int l = 0; l < polylignes; ++l) {
    o += '\x01';
    Ajoute<int32_t>(o, parPoly);
    const bool dansCoupe = l % 10 == 0 && l / 10 < coupes;
    for (int p = 0; p < parPoly; ++p) {
      if (dansCoupe) {
        Ajoute<int32_t>(o, (l / 10) * 150000 + p * 20);
        Ajoute<int32_t>(o, -50000 - p * 10);
      } else {
        Ajoute<int32_t>(o, l * 15000 + p * 300);
        Ajoute<int32_t>(o, -1000);
      }
    }
    o += '\x03';
  }
  // Sections at the stations with a splay (1, 16, 31, ...), 50 m north.
  for (int c = 0; c < coupes; ++c) {
    o += '\x03';
    Ajoute<int32_t>(o, c * 150000);
    Ajoute<int32_t>(o, -50000);
    Ajoute<uint32_t>(o, 0x80000002u + 15 * c);
    Ajoute<int32_t>(o, 0);
  }
  o += '\0';
  for (int i = 0; i < 3; ++i) Ajoute<int32_t>(o, 0);
  o += '\0';
  return o;
}

// The Therion line and its text export.
std::string FichierTh(int n) {
  std::string t = "survey banc\n centerline\n  data normal from to length compass clino\n";
  for (int s = 0; s < n; ++s) t += "  " + std::to_string(s) + " " + std::to_string(s + 1) + " 5.0 90 0\n";
  return t + " endcenterline\nendsurvey\n";
}

std::string FichierTxt(int n) {
  std::string t = "TRIP\nDATE 2020-01-02\nDECLINATION     0.00\nDATA\n";
  for (int s = n - 1; s >= 0; --s) t += std::to_string(s) + "\t" + std::to_string(s + 1) + "\t90.00\t0.00\t5.000\t>\n";
  t += "PLAN\nSTATIONS\n0.000\t0.000\t0\nSHOTS\n";
  for (int s = 0; s < n; ++s) t += std::to_string(s * 5) + ".000\t0.000\t" + std::to_string(s * 5 + 5) + ".000\t0.000\n";
  const int points = 10 * n;
  for (int l = 0; l < points / 50; ++l) {
    t += "POLYLINE BLACK\n";
    for (int p = 0; p < 50; ++p)
      t += std::to_string(l * 25 + p * 0.5) + "\t1.000\n";
  }
  t += "ELEVATION\nSTATIONS\n0.000\t0.000\t0\nSHOTS\n";
  for (int s = 0; s < n; ++s) t += std::to_string(s * 5) + ".000\t0.000\t" + std::to_string(s * 5 + 5) + ".000\t0.000\n";
  return t;
}

void Mesure(benchmark::State& state, const std::string& chemin, int type) {
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde(dialogues);
  survey::GardeDocument document;
  survey::GardeContexteReseau reseauGarde;
  survey::GardeContexteCalcul calcul;
  formats::GardeImport import;
  formats::GardePortsImport ports;
  formats::Import().DossierMemoireGaleries = platform::FolderOf(chemin);
  drawing::InstalleAnnexeDessin();
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
}

std::string Dossier() {
  const std::string d = std::filesystem::temp_directory_path().string() + "/gravelune-croquis-bench/";
  std::filesystem::create_directories(d);
  return d;
}

void BM_CroquisTop(benchmark::State& state) {
  const int k = static_cast<int>(state.range(0));
  const std::string chemin = Dossier() + "croquis" + std::to_string(k) + ".top";
  platform::WriteFileAtomic(chemin, FichierTop(k));
  Mesure(state, chemin, formats::TypeImportPocketTopo);
}
BENCHMARK(BM_CroquisTop)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_CroquisTexte(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string dossier = Dossier() + "t" + std::to_string(n) + "/";
  std::filesystem::create_directories(dossier);
  platform::WriteFileAtomic(dossier + "banc.th", FichierTh(n));
  platform::WriteFileAtomic(dossier + "banc.txt", FichierTxt(n));
  Mesure(state, dossier + "banc.th", formats::TypeImportAuriga);
}
BENCHMARK(BM_CroquisTexte)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
