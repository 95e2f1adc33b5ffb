// The cave window on generated caves (the survey tests' generator, two splay
// shots per shot) at 1920 x 1080: the opening (network computation, objects,
// first paint) at 10,000 to 100,000 shots; the survey axes of 50,000 shots
// listed in survey order and in reverse; a redraw of the 100,000-shot plan; a
// click (nearest station and nearest shot) on it; the selection lines of
// every shot.  Runs offscreen (QT_QPA_PLATFORM is set to "offscreen" when
// unset).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <memory>
#include <random>
#include <vector>

#include "document/composition.h"
#include "drawing/contexte_dessin.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"
#include "survey/cavite.h"
#include "survey/visee.h"
#include "tests/survey/reseau_aleatoire.h"
#include "views/noyau_visu_graphique.h"
#include "views/types_fiches.h"

namespace {

void Application() {
  static int argc = 1;
  static char nom[] = "fenetre_cavites_bench";
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

// With the visible kinds of the plan view (survey, splays, outlines, drawing).
class Fenetre : public views::TNoyauVisuGraphique {
 public:
  explicit Fenetre(int32_t w = 1920, int32_t h = 1080) { FixeTailleBoite(w, h); }
  int iTypeFiche() override {
    AffichageDefaut = views::AffichageDefautCode(views::cfVisuDessinPlan);
    return views::cfVisuDessinPlan;
  }
};

// A generated cave of n shots with two splays per shot, made active.
struct Cave {
  explicit Cave(int n) {
    c = testsurvey::GenereCaviteAleatoire(reseau, {.Visees = n, .Graine = 42, .Variete = false});
    std::mt19937 g(3);
    std::uniform_real_distribution<double> az(0, 360), pente(-40, 40), l(0.5, 4);
    for (survey::TVisee* v : c->Visees)
      for (int k = 0; k < 2; ++k) {
        auto h = std::make_unique<survey::TViseeHabi>();
        h->Az = az(g);
        h->pente = pente(g);
        h->Long = l(g);
        v->AjouteViseeHabi(std::move(h));
      }
    reseau.Regenere();
    reseau.R().LaCaviteActive = c;
  }
  testsurvey::ReseauCalcul reseau;
  survey::TCavite* c = nullptr;
};

Cave& CaveDe(int n) {
  // One cave at a time: its guards put the document state back in order.
  static std::unique_ptr<Cave> cave;
  static int taille = 0;
  if (!cave || taille != n) {
    cave.reset();
    cave = std::make_unique<Cave>(n);
    taille = n;
  }
  return *cave;
}

// Opening: the network computed, every object built, the first picture.
void BM_Ouverture(benchmark::State& state) {
  Application();
  Cave& cave = CaveDe(static_cast<int>(state.range(0)));
  double premiereImage = 0, largeur = 0, objets = 0, calques = 0;
  for (auto _ : state) {
    Fenetre f;
    f.Cree();
    const auto t0 = std::chrono::steady_clock::now();
    f.RedessineVisu();
    premiereImage = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    largeur = foundation::Vue().LargeurVue;
    objets = f.Calques.NombreObjets();
    calques = f.CalquesCombines;
  }
  state.counters["image_ms"] = premiereImage;
  state.counters["largeur"] = largeur;
  state.counters["objets"] = objets;
  state.counters["calques"] = calques;
  state.SetComplexityN(state.range(0));
  (void)cave;
}
BENCHMARK(BM_Ouverture)->Arg(10'000)->Arg(50'000)->Arg(100'000)->Iterations(3)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

// The survey axes of 50,000 shots in survey order (0) or reversed (1).
void BM_CreeAxesGaleries(benchmark::State& state) {
  Application();
  Cave& cave = CaveDe(50'000);
  cave.reseau.R().CalculeReseau();
  std::vector<survey::TVisee*> visees;
  for (survey::TVisee* v : cave.c->Visees) visees.push_back(v);
  if (state.range(0)) std::reverse(visees.begin(), visees.end());
  size_t axes = 0;
  for (auto _ : state) {
    std::vector<std::unique_ptr<drawing::TDessinAxeGal>> r;
    views::ConstruitAxes(visees, false, nullptr, [&](std::unique_ptr<drawing::TDessinAxeGal> a) { r.push_back(std::move(a)); });
    axes = r.size();
  }
  state.counters["axes"] = static_cast<double>(axes);
  state.SetLabel(state.range(0) ? "ordre inverse" : "ordre du lever");
}
BENCHMARK(BM_CreeAxesGaleries)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

std::unique_ptr<Fenetre> FenetreOuverte(int n) {
  CaveDe(n);
  auto f = std::make_unique<Fenetre>();
  f->Cree();
  return f;
}

// A redraw of the 100,000-shot plan, general view: everything (0), without
// the splays (1), the axes alone (2), the outlines alone (3), the splays
// alone (4).
void BM_RedessinPlan(benchmark::State& state) {
  Application();
  auto f = FenetreOuverte(100'000);
  using enum drawing::TypeObjetDessin;
  if (state.range(0) == 1) f->RendNonAffiche(views::EnsembleTypes({odVisHab}));
  if (state.range(0) == 2) f->SetAffichable(views::EnsembleTypes({odPtLever}));
  if (state.range(0) == 3) f->SetAffichable(views::EnsembleTypes({odGalerie}));
  if (state.range(0) == 4) f->SetAffichable(views::EnsembleTypes({odVisHab}));
  for (auto _ : state) f->RedessineVisu();
  state.counters["calques"] = f->CalquesCombines;
  static const char* const noms[] = {"tout", "sans habillage", "axes seuls", "contours seuls", "habillage seul"};
  state.SetLabel(noms[state.range(0)]);
}
BENCHMARK(BM_RedessinPlan)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// A click on the 100,000-shot plan: the nearest station (0), the nearest
// shot (1), both (2).
void BM_Clic(benchmark::State& state) {
  Application();
  auto f = FenetreOuverte(100'000);
  f->FixeRayonAccroche(2.0);
  std::mt19937 g(9);
  std::uniform_int_distribution<int> x(0, 1919), y(0, 1079);
  for (auto _ : state) {
    f->DerPointClique = foundation::EcranVersDessin({x(g), y(g)});
    foundation::TPointTopo p;
    foundation::DessinVersPtTopo(f->DerPointClique, p);
    if (state.range(0) != 1) benchmark::DoNotOptimize(f->CherchePointProche(p));
    if (state.range(0) != 0) benchmark::DoNotOptimize(f->ChercheViseeProche());
  }
  state.SetLabel(state.range(0) == 0 ? "station" : state.range(0) == 1 ? "visee" : "les deux");
}
BENCHMARK(BM_Clic)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The selection lines of every shot (with the redraw that follows, on a
// small paint box so that the lines' cost shows).
void BM_LignesViseesSelectees(benchmark::State& state) {
  Application();
  CaveDe(static_cast<int>(state.range(0)));
  Fenetre f(64, 64);
  f.Cree();
  f.ListeDeViseesRecherche->SelectToutesVisees();
  for (auto _ : state) f.GenereLignesViseesSelectees(drawing::TypeObjetDessin::odPtLever);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LignesViseesSelectees)->Arg(10'000)->Arg(50'000)->Arg(100'000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

}  // namespace
