// The graphic window's core at 1920 x 1080: a full redraw of 100,000 shot
// lines and 200,000 splay lines (general view and zoomed in), the same two
// axes by themselves on one thread and on the cores, the cost of
// combining the layers against the number of layers that drew something, a
// pan frame and a snap-circle move painted by the window, and the
// nearest-object search over 1,000 to 100,000 objects.  Runs offscreen
// (QT_QPA_PLATFORM is set to "offscreen" when unset).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "drawing/contexte_dessin.h"
#include "drawing/dessin_axe_gal.h"
#include "drawing/dessin_ligne.h"
#include "drawing/objet_trait.h"
#include "foundation/contexte_foundation.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"
#include "platform/text_log_canvas.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "survey/visee.h"
#include "views/noyau_graphique.h"
#include "views/windows/fiche_graphique.h"

using namespace drawing;

namespace {

platform::QtCanvasFactory& Fabrique() {
  static platform::QtCanvasFactory f;
  return f;
}

void Application() {
  static int argc = 1;
  static char nom[] = "fenetre_graphique_bench";
  static char* argv[] = {nom, nullptr};
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::CanvasFactory::Install(&Fabrique());
    return new QApplication(argc, argv);
  }();
  (void)app;
}

void VueInitiale() {
  Application();
  auto& v = foundation::Vue();
  v.TypeDessinCourant = foundation::TTypeDeDessin::tddPlani;
  v.Xmin = v.Ymin = 0;
  v.XDebVue = 0;
  v.YDebVue = 108;
  v.LargeurVue = 192;
  v.HauteurVue = 108;
  foundation::Impression().EnImpression = false;
  Affichage() = EtatAffichage{};
}

double Hasard(uint32_t& graine) {
  graine = graine * 1103515245 + 12345;
  return (graine >> 8) / static_cast<double>(1 << 24);
}

// Stations on a random walk inside the 192 x 108 m view and the shots
// between consecutive ones.
struct Cheminement {
  Cheminement(int n, uint32_t graine) {
    double x = 96, y = 54;
    for (int i = 0; i <= n; ++i) {
      auto s = std::make_unique<survey::TPointSpeleo>();
      s->X = x;
      s->Y = y;
      stations.push_back(std::move(s));
      x = std::clamp(x + 2 * Hasard(graine) - 1, 1.0, 191.0);
      y = std::clamp(y + 2 * Hasard(graine) - 1, 1.0, 107.0);
    }
    for (int i = 0; i < n; ++i) {
      auto v = std::make_unique<survey::TVisee>();
      v->PtOrigCalc = stations[static_cast<size_t>(i)].get();
      v->PtCalc = stations[static_cast<size_t>(i) + 1].get();
      v->Marque = false;
      visees.push_back(std::move(v));
    }
  }
  ~Cheminement() {
    survey::GardeLiberationReseau liberation;
    visees.clear();
    stations.clear();
  }
  std::vector<std::unique_ptr<survey::TPointSpeleo>> stations;
  std::vector<std::unique_ptr<survey::TVisee>> visees;
};

class Noyau : public views::TNoyauGraphique {
 public:
  Noyau() { FixeTailleBoite(1920, 1080); }
};

// 100,000 shots in odPtLever and 200,000 splays in odVisHab; general view (0)
// or a view 20 times closer (1).
void BM_RedessinComplet(benchmark::State& state) {
  VueInitiale();
  Cheminement visees(100'000, 4321), habillage(200'000, 777);
  {
    Noyau f;
    f.SetAffichable(views::EnsembleTypes({TypeObjetDessin::odPtLever, TypeObjetDessin::odVisHab}));
    auto axe = std::make_unique<TDessinAxeGal>();
    for (auto& v : visees.visees) axe->AjouteTrait(v.get());
    auto hab = std::make_unique<TDessinAxeGal>();
    for (auto& v : habillage.visees) hab->AjouteTrait(v.get());
    f.AjouteObjetDessin(TypeObjetDessin::odPtLever, std::move(axe));
    f.AjouteObjetDessin(TypeObjetDessin::odVisHab, std::move(hab));
    f.RedessineVisu();
    if (state.range(0)) f.ZoomeValeur(0.05);
    for (auto _ : state) f.RedessineVisu();
    state.SetLabel(state.range(0) ? "zoom x20" : "vue generale");
  }
}
BENCHMARK(BM_RedessinComplet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same objects painted straight onto one canvas, without the window:
// the difference with the full redraw is the window's own cost.
void BM_PeintureSeule(benchmark::State& state) {
  VueInitiale();
  Cheminement visees(100'000, 4321), habillage(200'000, 777);
  Noyau f;
  f.FixeTailleBoite(1920, 1080);
  f.RedessineVisu();
  if (state.range(0)) f.ZoomeValeur(0.05);
  TDessinAxeGal axe, hab;
  for (auto& v : visees.visees) axe.AjouteTrait(v.get());
  for (auto& v : habillage.visees) hab.AjouteTrait(v.get());
  platform::QtCanvas canvas(1920, 1080);
  for (auto _ : state) {
    axe.DessineObjet(canvas);
    hab.DessineObjet(canvas);
  }
  state.SetLabel(state.range(0) ? "zoom x20" : "vue generale");
}
BENCHMARK(BM_PeintureSeule)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A canvas that takes the calls of the batches and draws nothing: what the
// axis costs before the canvas rasterises.
class CanevasMuet : public platform::TextLogCanvas {
 public:
  using platform::TextLogCanvas::TextLogCanvas;
  void Batch(std::span<const platform::BatchCall> calls) override { benchmark::DoNotOptimize(calls.data()); }
};

// The two axes of the full redraw painted by themselves with at most one
// thread (FilsMax 1) or the machine's cores (0): their calls alone on a
// canvas that draws nothing (canvas 0) or painted on the image canvas (1),
// general view or zoomed in.
void BM_AxesSurLesCoeurs(benchmark::State& state) {
  VueInitiale();
  Cheminement visees(100'000, 4321), habillage(200'000, 777);
  Noyau f;
  f.RedessineVisu();
  if (state.range(1)) f.ZoomeValeur(0.05);
  TDessinAxeGal axe, hab;
  for (auto& v : visees.visees) axe.AjouteTrait(v.get());
  for (auto& v : habillage.visees) hab.AjouteTrait(v.get());
  foundation::GardeContexteFoundation garde;
  foundation::ContexteFoundation().FilsMax = static_cast<int>(state.range(2));
  CanevasMuet muet(1920, 1080);
  platform::QtCanvas image(1920, 1080);
  platform::Canvas& canvas = state.range(0) ? static_cast<platform::Canvas&>(image) : muet;
  for (auto _ : state) {
    axe.DessineObjet(canvas);
    hab.DessineObjet(canvas);
  }
  state.SetLabel(std::string(state.range(0) ? "image" : "appels seuls") + (state.range(1) ? ", zoom x20" : "") +
                 (state.range(2) == 1 ? ", un fil" : ", les coeurs"));
}
BENCHMARK(BM_AxesSurLesCoeurs)
    ->ArgsProduct({{0, 1}, {0, 1}, {1, 0}})
    ->Unit(benchmark::kMillisecond);

// n layers each holding one line across the view.
void BM_Composition(benchmark::State& state) {
  VueInitiale();
  Noyau f;
  std::vector<std::unique_ptr<TObjetTrait>> styles;
  views::TListeObjetDessin visibles = 0;
  int n = 0;
  for (TypeObjetDessin k : OrdreCalques) {
    if (n == state.range(0)) break;
    if (k == TypeObjetDessin::odNotes) continue;
    styles.push_back(std::make_unique<TObjetTrait>());
    auto l = std::make_unique<TDessinLigne>(styles.back().get());
    l->AjoutePointLoc(0, n * 4000);
    l->AjoutePointLoc(192000, 108000 - n * 4000);
    f.AjouteObjetDessin(k, std::move(l));
    visibles |= BitTypeObjet(k);
    ++n;
  }
  f.ObjetsAffichables = views::TableDEnsemble(visibles);
  for (auto _ : state) f.RedessineVisu();
  state.counters["calques"] = f.CalquesCombines;
}
BENCHMARK(BM_Composition)->Arg(0)->Arg(1)->Arg(4)->Arg(12)->Arg(26)->Unit(benchmark::kMillisecond);

class Fenetre : public views::TFicheGraphique {
 public:
  void InitDessin() override {}
};

std::unique_ptr<Fenetre> FenetreOuverte() {
  auto f = views::TFicheGraphique::Cree<Fenetre>();
  f->resize(1920 + 120, 1080 + 40);
  f->show();
  QApplication::processEvents();
  f->BaseDessin->setFixedSize(1920, 1080);
  QApplication::processEvents();
  f->RedessineVisu();
  return f;
}

// One frame of a right-button drag: the move and the paint of the shifted drawing.
void BM_ImageDeDeplacement(benchmark::State& state) {
  VueInitiale();
  auto f = FenetreOuverte();
  using B = views::TNoyauGraphique::Bouton;
  f->BaseDessinMouseDown(B::Droit, {}, 500, 500);
  int x = 500;
  for (auto _ : state) {
    x = x == 500 ? 503 : 500;
    f->BaseDessinMouseMove({}, x, 500);
    f->BaseDessin->repaint();
  }
  f->BaseDessinMouseUp(B::Droit, {}, x, 500);
}
BENCHMARK(BM_ImageDeDeplacement)->Unit(benchmark::kMillisecond);

// The snap circle moved by one mouse move: only the union of its old and new
// rectangles is painted (rendered through grab, which paints it for sure).
void BM_CercleAccroche(benchmark::State& state) {
  VueInitiale();
  auto f = FenetreOuverte();
  f->AfficheAccroche = true;
  f->FixeRayonAccroche(2.0);
  int x = 500;
  for (auto _ : state) {
    x = x == 500 ? 503 : 500;
    const platform::Rect avant = f->CercleAccroche;
    f->BaseDessinMouseMove({}, x, 500);
    const platform::Rect& r = f->CercleAccroche;
    const QRect zone = QRect(r.Left, r.Top, r.Width(), r.Height()) |
                       QRect(avant.Left, avant.Top, avant.Width(), avant.Height());
    benchmark::DoNotOptimize(f->BaseDessin->grab(zone));
  }

}
BENCHMARK(BM_CercleAccroche)->Unit(benchmark::kMicrosecond);

class ObjetADistance : public TObjetDessin {
 public:
  explicit ObjetADistance(double d) : d_(d) { EstAffiche = true; }
  void DessineCetObjet(platform::Canvas&) override {}
  bool EstValidable() const override { return true; }
  void DistanceObjet(int32_t, int32_t, TInfoObjet& info) override { info.D = d_; }

 private:
  double d_;
};

void BM_ChercheObjetProche(benchmark::State& state) {
  VueInitiale();
  Noyau f;
  uint32_t graine = 5;
  const TypeObjetDessin kinds[] = {TypeObjetDessin::odPtLever, TypeObjetDessin::odDessin, TypeObjetDessin::odTexte};
  for (int64_t i = 0; i < state.range(0); ++i)
    f.AjouteObjetDessin(kinds[i % 3], std::make_unique<ObjetADistance>(1000 * Hasard(graine)));
  TInfoObjet r;
  for (auto _ : state) {
    f.ChercheObjetProche(960, 540, r);
    benchmark::DoNotOptimize(r.D);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ChercheObjetProche)->Arg(1000)->Arg(10'000)->Arg(100'000)->Arg(300'000)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);

}  // namespace
