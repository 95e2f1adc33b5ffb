// The import from another document, the comparison and the notebook update
// on large caves: every cave of a document imported into an open one, the
// pairing of two versions of a cave, and the update of a cave from the
// notebook that holds it whole.  The caves are Therion centrelines made
// here: a main chain with a side branch every fiftieth station, random
// lengths and directions.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "document/composition.h"
#include "formats/contexte_formats.h"
#include "formats/import/autre_reseau/appariement.h"
#include "formats/import/autre_reseau/import_cavites.h"
#include "formats/import/autre_reseau/maj_cavite.h"
#include "formats/import/import_fichier_autre.h"
#include "foundation/flux.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/rapport_calcul.h"
#include "survey/reseau.h"

using namespace survey;

namespace {

// Answers Yes to every question and shows nothing.
class Oui : public platform::Dialogs {
 public:
  void ShowMessage(platform::MessageKind, const std::string&, const std::string&) override {}
  platform::Answer AskYesNo(const std::string&, const std::string&) override { return platform::Answer::Yes; }
  platform::Answer AskYesNoCancel(const std::string&, const std::string&) override { return platform::Answer::Yes; }
  std::optional<std::string> Prompt(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<platform::FileChoice> SaveFile(const platform::FileDialogOptions&) override { return std::nullopt; }
  std::optional<platform::FileChoice> OpenFile(const platform::FileDialogOptions&) override { return std::nullopt; }
  void SetBusyCursor(bool) override {}
};

const std::string kDossier = "/tmp/gravelune_bench_autre_reseau";

// A centreline of n legs; the first `garde` legs only when garde > 0.
std::string Centreline(const std::string& nom, int n, int garde = 0, unsigned graine = 35) {
  std::mt19937 alea(graine);
  std::uniform_real_distribution<double> az(0, 360), cl(-30, 30), lg(1, 10);
  std::string t = "survey " + nom + "\n  centerline\n    data normal from to length compass clino\n";
  char ligne[128];
  for (int i = 1; i <= n; ++i) {
    const int de = i % 50 == 0 ? i - 25 : i - 1;
    const double l = lg(alea), a = az(alea), c = cl(alea);
    if (garde > 0 && i > garde) break;
    std::snprintf(ligne, sizeof ligne, "    %d %d %.2f %.1f %.1f\n", de, i, l, a, c);
    t += ligne;
  }
  return t + "  endcenterline\nendsurvey\n";
}

std::string Ecrit(const std::string& nom, const std::string& texte) {
  std::filesystem::create_directories(kDossier);
  const std::string chemin = kDossier + "/" + nom;
  std::ofstream(chemin, std::ios::binary) << texte;
  return chemin;
}

struct Environnement {
  Environnement() {
    document::InstalleDocument();
    platform::Dialogs::Install(&oui);
    formats::Import().DossierMemoireGaleries = kDossier;
    formats::ContexteFormats().FenetresAutreReseau.ChoisitCavites = [](const TReseau& r, std::vector<bool>& choix) {
      for (int i = 1; i < r.NombreCavites(); ++i) choix[static_cast<size_t>(i)] = true;
      return true;
    };
  }
  Oui oui;
};

Environnement& Env() {
  static Environnement env;
  return env;
}

// A network with a surface, current, and the caves of these files.
std::unique_ptr<TReseau> Reseau(const std::vector<std::string>& fichiers) {
  auto r = std::make_unique<TReseau>();
  r->CreeCaviteSurface();
  for (const std::string& f : fichiers) {
    if (!formats::ImporteFichierAutre(f, formats::TypeImportTopoDroid, false, r.get())) return nullptr;
    r->LaCaviteActive = r->CaviteImportee;
  }
  return r;
}

// Every cave of a document of ten caves holding `n` legs in all.
void BM_ImporteCavitesReseau(benchmark::State& state) {
  Env();
  GardeContexteReseau contexte;
  const int n = static_cast<int>(state.range(0));
  const std::string doc = kDossier + "/dix_cavites_" + std::to_string(n) + ".cav";
  {
    std::vector<std::string> fichiers;
    for (int i = 0; i < 10; ++i)
      fichiers.push_back(Ecrit("c" + std::to_string(i) + ".th", Centreline("c" + std::to_string(i), n / 10, 0, 100 + i)));
    auto r = Reseau(fichiers);
    foundation::TFluxMemoire flux;
    if (!r || !r->Ecrit(flux) || !platform::WriteFileAtomic(doc, flux.Octets())) {
      state.SkipWithError("document");
      return;
    }
  }
  for (auto _ : state) {
    state.PauseTiming();
    auto ouvert = std::make_unique<TReseau>();
    ouvert->CreeCaviteSurface();
    state.ResumeTiming();
    if (!formats::ImporteCavitesReseau(doc) || ouvert->NombreCavites() != 11) state.SkipWithError("import");
    state.PauseTiming();
    ouvert.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ImporteCavitesReseau)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The pairing of a cave with a version of it that lacks its last tenth.
void BM_AppareilleVisees(benchmark::State& state) {
  Env();
  GardeContexteReseau contexte;
  const int n = static_cast<int>(state.range(0));
  auto r = Reseau({Ecrit("entier.th", Centreline("a", n)), Ecrit("coupe.th", Centreline("b", n, n - n / 10))});
  if (!r) {
    state.SkipWithError("caves");
    return;
  }
  r->CalculeReseau();
  TCavite* a = r->UneCavite(1);
  TCavite* b = r->UneCavite(2);
  for (auto _ : state) formats::AppareilleVisees(*a, *b);
  int apparies = 0;
  for (const TVisee* v : a->Visees) apparies += v->ViseeEquiv ? 1 : 0;
  state.counters["appariees"] = apparies;
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AppareilleVisees)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond);

// "Maj Carnet Electronique": the notebook (read, paired, the new tenth kept
// and appended) over a cave holding the first nine tenths.
void BM_MajCaviteDepuisCarnet(benchmark::State& state) {
  Env();
  GardeContexteReseau contexte;
  const int n = static_cast<int>(state.range(0));
  const std::string coupe = Ecrit("maj_coupe.th", Centreline("m", n, n - n / 10));
  const std::string carnet = Ecrit("maj_carnet.th", Centreline("m", n));
  for (auto _ : state) {
    state.PauseTiming();
    auto r = Reseau({coupe});
    if (!r) {
      state.SkipWithError("cave");
      break;
    }
    r->CalculeReseau();
    state.ResumeTiming();
    if (!formats::MajCaviteDepuisCarnet(carnet)) state.SkipWithError("maj");
    state.PauseTiming();
    if (r->LaCaviteActive->Visees.Count() < n) state.SkipWithError("visées manquantes");
    r.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_MajCaviteDepuisCarnet)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
