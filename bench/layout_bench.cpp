// Page layouts: writing and reading layouts with many pages, masked patterns
// and legend entries against a large library; cutting large pages into
// printer tiles; background annexes with many images and SVG drawings.
#include <benchmark/benchmark.h>

#include "drawing/liste_mtf.h"
#include "editor/config.h"
#include "foundation/niveau_fichier.h"
#include "views/mise_en_page.h"
#include "views/ports_vues.h"

using namespace views;

namespace {

struct Document {
  Document(int n) : mtf(std::make_unique<drawing::tListeMtf>(0)) {
    mtf->InitDefaut();
    for (int i = 0; i < n; ++i) {
      auto t = std::make_unique<drawing::TObjetTrait>();
      t->DesignMotif = "Style " + std::to_string(i);
      mtf->ListeTraits.AjouteMotif(std::move(t));
    }
    // As after the library was written earlier in the document.
    mtf->ListeTraits.Renumerote();
    Ports().NombreCavites = [] { return 100; };
    Ports().NombrePointsReseau = [] { return 100000; };
    Ports().BibliothequeDocument = [this] { return mtf.get(); };
  }
  std::unique_ptr<drawing::tListeMtf> mtf;
  GardePortsVues garde;
};

// A layout of n pages masking and listing n line styles.
std::unique_ptr<TMiseEnPage> GrandeMiseEnPage(const Document& d, int n) {
  auto m = std::make_unique<TMiseEnPage>();
  m->Design = "Plan";
  m->MotifsMep->Hauteur = m->MotifsMep->Largeur = 100;
  for (int i = 0; i < n; ++i) {
    auto p = std::make_unique<TPageSemis>();
    p->PointHautReel.X = i;
    m->ListePages.Add(std::move(p));
    drawing::TObjetMotifdeBase* t = d.mtf->ListeTraits.UnObjet(i);
    m->MotifsMasques(drawing::TTypeMotif::tmTrait)->push_back(t);
    m->MotifsMep->ListeMotifsMep.push_back(t);
    m->ListeCavites.push_back(i % 100);
  }
  return m;
}

void BM_EcritureMiseEnPage(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Document d(n);
  auto m = GrandeMiseEnPage(d, n);
  for (auto _ : state) {
    foundation::TFluxMemoire f;
    benchmark::DoNotOptimize(m->EcritObjet(f));
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_EcritureMiseEnPage)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LectureMiseEnPage(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Document d(n);
  auto m = GrandeMiseEnPage(d, n);
  foundation::TFluxMemoire f;
  m->EcritObjet(f);
  foundation::GardeNiveauFichier garde;
  foundation::NiveauFichier().VersionFichierLue = 511;
  for (auto _ : state) {
    foundation::TFluxMemoire lu(f.Octets());
    TMiseEnPage r;
    benchmark::DoNotOptimize(r.LitObjet(lu));
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_LectureMiseEnPage)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SousPages(benchmark::State& state) {
  // A0 at 1200 dots per inch and a 5 m banner at 600.
  const int32_t h = static_cast<int32_t>(state.range(0)), w = static_cast<int32_t>(state.range(1));
  TPageSemis p;
  for (auto _ : state) benchmark::DoNotOptimize(p.DecoupeSousPages(h, w));
  state.counters["tuiles"] = static_cast<double>(p.SousPages.size());
}
BENCHMARK(BM_SousPages)->Args({56162, 39747})->Args({118110, 19843});

void BM_Annexes(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  editor::TConfig c;
  for (int i = 0; i < n; ++i) {
    auto im = std::make_unique<editor::TImageNotes>();
    im->NomImage = "scan" + std::to_string(i) + ".jpg";
    c.ListeNotes.Add(std::move(im));
    auto d = std::make_unique<editor::TDessinSVG>();
    d->NomFichierSVG = "plan" + std::to_string(i) + ".svg";
    c.ListeSVG.push_back(std::move(d));
  }
  foundation::TFluxMemoire f;
  c.EcritObjet(f);
  foundation::GardeNiveauFichier garde;
  foundation::NiveauFichier().VersionFichierLue = 511;
  editor::GardeAnnexes ga;
  for (auto _ : state) {
    foundation::TFluxMemoire lu(f.Octets());
    editor::TConfig r;
    benchmark::DoNotOptimize(r.LitObjet(lu));
  }
  state.SetItemsProcessed(state.iterations() * n * 2);
}
BENCHMARK(BM_Annexes)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
