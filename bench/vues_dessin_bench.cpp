// The plan view and the elevation view (TFicheVisuPlan, TFicheVisuCoupe) on
// a generated cave of 10,000 to 100,000 shots, offscreen at 1920 x 1080:
// from the creation of the window (what ButtonPlan and VisuCoupeBtn do) to
// its first paint (the network computed, the objects built, the picture
// drawn and painted).  QT_QPA_PLATFORM is set to "offscreen" when unset.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <chrono>
#include <memory>

#include "document/composition.h"
#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/donnees_coupe_long.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"
#include "survey/cavite.h"
#include "tests/survey/reseau_aleatoire.h"
#include "views/windows/fiche_visu_dessin.h"

namespace {

void Application() {
  static int argc = 1;
  static char nom[] = "vues_dessin_bench";
  static char* argv[] = {nom, nullptr};
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static platform::QtCanvasFactory fabrique;
    platform::CanvasFactory::Install(&fabrique);
    document::InstalleDocument();
    return new QApplication(argc, argv);
  }();
  (void)app;
  auto& v = foundation::Vue();
  v.TypeDessinCourant = foundation::TTypeDeDessin::tddPlani;
  v.XDebVue = v.YDebVue = v.LargeurVue = v.HauteurVue = 0;
  foundation::Impression().EnImpression = false;
  drawing::Affichage() = drawing::EtatAffichage{};
}

struct Cave {
  explicit Cave(int n) {
    c = testsurvey::GenereCaviteAleatoire(reseau, {.Visees = n, .Graine = 42, .Variete = false});
    reseau.Regenere();
    reseau.R().LaCaviteActive = c;
    // Its whole developed elevation.
    drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
    annexe->LeDessinAlti = annexe->LesCoupesLong.AjouteDonneeCoupe(
        foundation::TTypeDeDessin::tddAltiDev, drawing::TViseesDeRef(&c->Visees), false, "Développée");
  }
  testsurvey::ReseauCalcul reseau;
  survey::TCavite* c = nullptr;
};

Cave& CaveDe(int n) {
  static std::unique_ptr<Cave> cave;
  static int taille = 0;
  if (!cave || taille != n) {
    cave.reset();
    cave = std::make_unique<Cave>(n);
    taille = n;
  }
  return *cave;
}

// Sees the paint box's first paint event.
class Peinture : public QObject {
 public:
  bool Vue = false;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) Vue = true;
    return false;
  }
};

template <class F>
void Ouverture(benchmark::State& state, foundation::TTypeDeDessin type) {
  Application();
  Cave& cave = CaveDe(static_cast<int>(state.range(0)));
  double objets = 0;
  for (auto _ : state) {
    foundation::GardeTypeDessin garde(type);
    auto f = views::TFicheGraphique::Cree<F>();
    Peinture p;
    f->BaseDessin->installEventFilter(&p);
    f->resize(1920, 1080);
    f->show();
    while (!p.Vue) QApplication::processEvents();
    objets = f->Calques.NombreObjets();
    state.PauseTiming();
    f.reset();
    state.ResumeTiming();
  }
  state.counters["objets"] = objets;
  state.SetComplexityN(state.range(0));
  (void)cave;
}

void BM_PlanJusquALaPremierePeinture(benchmark::State& state) {
  Ouverture<views::TFicheVisuPlan>(state, foundation::TTypeDeDessin::tddPlani);
}
BENCHMARK(BM_PlanJusquALaPremierePeinture)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Iterations(3)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_ElevationJusquALaPremierePeinture(benchmark::State& state) {
  Ouverture<views::TFicheVisuCoupe>(state, foundation::TTypeDeDessin::tddAltiDev);
}
BENCHMARK(BM_ElevationJusquALaPremierePeinture)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Iterations(3)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace
