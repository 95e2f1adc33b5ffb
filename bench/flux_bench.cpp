// Writing and reading a long list of small records through the stream.
#include <benchmark/benchmark.h>

#include "foundation/flux.h"
#include "foundation/objet_de_liste.h"

using namespace foundation;

namespace {
class TPoint : public TObjetDeListe {
 public:
  double X = 1, Y = 2, Z = 3;
  std::string Nom = "A12";
  bool EcritObjet(TFlux& f) override {
    InitES(f);
    EcrisReal(X);
    EcrisReal(Y);
    EcrisReal(Z);
    return EcrisTexte(Nom);
  }
  bool LitObjet(TFlux& f) override {
    InitES(f);
    LisReal(X);
    LisReal(Y);
    LisReal(Z);
    return LisTexte(Nom);
  }
};

void EcritListe100k(benchmark::State& state) {
  TListeFichier<TPoint> l;
  for (int i = 0; i < state.range(0); ++i) l.Add(std::make_unique<TPoint>());
  for (auto _ : state) {
    TFluxMemoire f;
    benchmark::DoNotOptimize(l.EcritListe(f));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(EcritListe100k)->Arg(100000);

void LitListe100k(benchmark::State& state) {
  TListeFichier<TPoint> l;
  for (int i = 0; i < state.range(0); ++i) l.Add(std::make_unique<TPoint>());
  TFluxMemoire f;
  l.EcritListe(f);
  for (auto _ : state) {
    TFluxMemoire g(f.Octets());
    TListeFichier<TPoint> m;
    benchmark::DoNotOptimize(m.LitListe(g));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(LitListe100k)->Arg(100000);

void ReferencesParIndex(benchmark::State& state) {
  TListeFichier<TPoint> l;
  for (int i = 0; i < state.range(0); ++i) l.Add(std::make_unique<TPoint>());
  TFluxMemoire f0;
  l.EcritListe(f0);
  for (auto _ : state) {
    TFluxMemoire f;
    for (TPoint* p : l) l.EcritIndexObjet(f, p);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ReferencesParIndex)->Arg(100000);
}  // namespace
