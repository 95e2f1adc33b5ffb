// Pattern library: writing and reading a large .mtf, comparing two large
// libraries and merging the difference (the import of a pattern file).
#include <benchmark/benchmark.h>

#include "drawing/import_motifs.h"
#include "drawing/liste_mtf.h"
#include "platform/scripted_dialogs.h"

using namespace drawing;

namespace {

// A library of n line styles, n fills, n / 4 fonts and n / 4 symbols of four
// 10-point elements each, every one distinct; entry i is named after
// debut + i, so that two libraries of different starts share entries.
std::unique_ptr<tListeMtf> GrandeBibliotheque(int n, int debut = 0) {
  auto m = std::make_unique<tListeMtf>(0);
  m->InitDefaut();
  for (int i = debut; i < debut + n; ++i) {
    auto t = std::make_unique<TObjetTrait>();
    t->DesignMotif = "Style " + std::to_string(i);
    t->EpaisseurPlume = 1 + i % 7;
    m->ListeTraits.AjouteMotif(std::move(t));
    auto r = std::make_unique<tMotifRempli>();
    r->DesignMotif = "Remplissage " + std::to_string(i);
    if (i % 3 == 0) r->FixeTexture(m->ListeTextures.LaTexture(i % 3));
    m->ListeRemplis.AjouteMotif(std::move(r));
  }
  for (int i = debut; i < debut + n / 4; ++i) {
    m->ListeFontes.AjouteMotif(CreeFonte("Fonte " + std::to_string(i), 8 + i % 40));
    auto s = std::make_unique<TSymbole>();
    s->DesignMotif = "Symbole " + std::to_string(i);
    TObjetTrait style;
    for (int e = 0; e < 4; ++e) {
      TDefinitForme forme;
      forme.nbPts = 10;
      for (int k = 0; k < 10; ++k) forme.Pts[static_cast<size_t>(k)] = {k * 10 + e, (k * 7 + i) % 50};
      s->AjouteDefElement(forme, 0, &style, 0);
    }
    s->CalculeExtremites();
    m->ListeSymboles.AjouteMotif(std::move(s));
  }
  return m;
}

std::string Octets(tListeMtf& m) {
  foundation::TFluxMemoire f;
  EcritFluxMtf(f, m);
  return f.Octets();
}

void BM_EcritMtf(benchmark::State& state) {
  auto m = GrandeBibliotheque(static_cast<int>(state.range(0)));
  size_t taille = 0;
  for (auto _ : state) {
    foundation::TFluxMemoire f;
    benchmark::DoNotOptimize(EcritFluxMtf(f, *m));
    taille = f.Octets().size();
  }
  state.counters["octets"] = static_cast<double>(taille);
}
BENCHMARK(BM_EcritMtf)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LitMtf(benchmark::State& state) {
  auto m = GrandeBibliotheque(static_cast<int>(state.range(0)));
  const std::string o = Octets(*m);
  platform::ScriptedDialogs d;
  platform::ScopedDialogs garde(d);
  for (auto _ : state) {
    tListeMtf lue(0);
    foundation::TFluxMemoire f(o);
    benchmark::DoNotOptimize(LitFluxMtf(f, lue));
  }
}
BENCHMARK(BM_LitMtf)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CreeListesDiff(benchmark::State& state) {
  auto ici = GrandeBibliotheque(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    auto source = GrandeBibliotheque(static_cast<int>(state.range(0)));
    tListeMtf resultat(0);
    state.ResumeTiming();
    ici->CreeListesDiff(*source, resultat);
    benchmark::DoNotOptimize(resultat.ListeTraits.Count());
  }
}
BENCHMARK(BM_CreeListesDiff)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The whole import of a library of n entries a list into one of n, half of
// them equivalent: the difference, then the merge with the source's
// categories (16 a list, matched by name) and textures.
void BM_FusionneListesMtf(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto document = GrandeBibliotheque(n);
    auto source = GrandeBibliotheque(n, n / 2);
    for (TListeMotifsBase* l : source->ListeMotif) {
      if (l == &source->ListeTextures) continue;
      for (int k = 0; k < 16; ++k) l->AjouteCategorie("Catégorie " + std::to_string(k));
      for (int i = 0; i < l->Count(); ++i) l->UnObjet(i)->UneCategorie = l->LaCategorie(i % 16);
    }
    for (int k = 0; k < 8; ++k) document->ListeTraits.AjouteCategorie("Catégorie " + std::to_string(2 * k));
    tListeMtf difference(0);
    state.ResumeTiming();
    document->CreeListesDiff(*source, difference);
    FusionneListesMtf(*document, difference);
    benchmark::DoNotOptimize(document->ListeTraits.Count());
    state.PauseTiming();
    document.reset();
    source.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FusionneListesMtf)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
