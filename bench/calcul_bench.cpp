// The network computation on generated loop-free caves of 1,000, 10,000 and
// 100,000 shots (every entry type, units, declinations, counters and
// back-sights, three entrances), and Survex's cavern on the same survey in
// the same run as a reference.  Counters: time per shot.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "tests/survey/reseau_aleatoire.h"
#include "tests/survey/survex_oracle.h"

namespace {

struct Reseau {
  std::unique_ptr<testsurvey::ReseauCalcul> n;
  int visees = 0;
};

// The survey of each size as .svx text, with its number of shots.
std::map<int, std::pair<int, std::string>>& TextesSvx() {
  static auto* textes = new std::map<int, std::pair<int, std::string>>;
  return *textes;
}

// One network at a time (its guards restore the process-wide state in the
// order they were taken); the last one is left to the end of the process.
Reseau& ReseauDeTaille(int visees) {
  static Reseau* courant = nullptr;
  static int tailleCourante = -1;
  if (courant && tailleCourante == visees) return *courant;
  delete courant;
  courant = new Reseau;
  tailleCourante = visees;
  courant->n = std::make_unique<testsurvey::ReseauCalcul>();
  survey::TCavite* c = testsurvey::GenereCaviteAleatoire(*courant->n, {.Visees = visees, .Graine = 42});
  testsurvey::AjouteEntreesCoherentes(*courant->n, c, 2, 7);
  courant->visees = c->Visees.Count();
  testsurvey::EcrivainSvx svx(courant->n->R().Cavites);
  TextesSvx()[visees] = {courant->visees, svx.Texte()};
  return *courant;
}

// Each computation tries the three entrances (as the first one after an
// entrance changed does): four passes.
void BM_CalculeReseau(benchmark::State& state) {
  Reseau& r = ReseauDeTaille(static_cast<int>(state.range(0)));
  survey::TCavite* c = r.n->R().Cavites.UnObjet(1);
  for (auto _ : state) {
    state.PauseTiming();
    c->ListeEntreesCalculees.Clear();
    state.ResumeTiming();
    r.n->R().CalculeReseau();
  }
  state.counters["par_visee"] =
      benchmark::Counter(static_cast<double>(r.visees), benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
}
BENCHMARK(BM_CalculeReseau)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same cave with its single entrance: one pass.
void BM_CalculeReseauUneEntree(benchmark::State& state) {
  testsurvey::ReseauCalcul n;
  survey::TCavite* c = testsurvey::GenereCaviteAleatoire(n, {.Visees = static_cast<int>(state.range(0)), .Graine = 42});
  for (auto _ : state) n.R().CalculeReseau();
  state.counters["par_visee"] = benchmark::Counter(static_cast<double>(c->Visees.Count()),
                                                   benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}
BENCHMARK(BM_CalculeReseauUneEntree)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Survex's cavern on the same survey: reading the .svx, reducing and
// writing the .3d (the process start included).
void BM_Cavern(benchmark::State& state) {
  if (!testsurvey::CavernDisponible()) {
    state.SkipWithError("cavern is not installed");
    return;
  }
  const int taille = static_cast<int>(state.range(0));
  if (!TextesSvx().count(taille)) ReseauDeTaille(taille);
  const auto& [visees, texte] = TextesSvx()[taille];
  char modele[] = "/tmp/gravelune_cavern_XXXXXX";
  const char* dossier = ::mkdtemp(modele);
  if (!dossier) {
    state.SkipWithError("no temporary folder");
    return;
  }
  {
    FILE* f = std::fopen((std::string(dossier) + "/reseau.svx").c_str(), "wb");
    std::fwrite(texte.data(), 1, texte.size(), f);
    std::fclose(f);
  }
  const std::string commande = std::string("cd ") + dossier + " && cavern --quiet reseau.svx >/dev/null 2>&1";
  for (auto _ : state)
    if (std::system(commande.c_str()) != 0) state.SkipWithError("cavern failed");
  std::system((std::string("rm -rf ") + dossier).c_str());
  state.counters["par_visee"] =
      benchmark::Counter(static_cast<double>(visees), benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}
// The time is the child process's: real time.
BENCHMARK(BM_Cavern)->Arg(1000)->Arg(10000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cavern)->Arg(100000)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

// Loop closure on a k×k grid cave (about (k-1)² loops): time against the
// number of junctions.
#include "survey/bouclage.h"
#include "tests/survey/reseau_grille.h"

namespace {

void BM_CalculeGrille(benchmark::State& state) {
  const int k = static_cast<int>(state.range(0));
  testsurvey::ReseauCalcul n;
  testsurvey::GenereCaviteGrille(n, k);
  int jonctions = 0;
  for (auto _ : state) {
    n.R().CalculeReseau();
    jonctions = survey::ListeBouclages().Count();
  }
  state.counters["jonctions"] = jonctions;
  state.counters["s_par_jonction"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * jonctions,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CalculeGrille)->Arg(10)->Arg(30)->Arg(60)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
