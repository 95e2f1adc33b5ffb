// The adjustment list with 1,000 adjustments, the gallery-merge window on a
// cave of 5,000 galleries and the computation report with 100,000 lines:
// the time until each window is shown.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeWidget>
#include <memory>
#include <string>

#include "app/reseau/compens_dlg.h"
#include "app/reseau/result_calcul_dlg.h"
#include "app/reseau/structure_galeries_dlg.h"
#include "survey/cavite.h"
#include "survey/compens.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/liste_points.h"
#include "survey/rapport_calcul.h"
#include "survey/reseau.h"

using namespace survey;

namespace {

QApplication& Application() {
  static int argc = 1;
  static char nom[] = "dialogues_reseau_bench";
  static char* argv[] = {nom, nullptr};
  // Never destroyed: at exit Qt's own globals are gone before function statics.
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

TPointSpeleo* NouveauPoint(TGalerie* g, const std::string& nom, int type = 0) {
  auto p = std::make_unique<TPointSpeleo>();
  p->DesignPTopo = nom;
  p->TypePoint = type;
  p->GalduPt = g;
  return g->Points.Add(std::move(p));
}

// A cave of n galleries of two stations each: gallery i starts with a shot
// from the last station of gallery (i - 1) / 2, a binary tree of galleries.
TCavite* CaviteGaleries(TReseau& r, int n) {
  TPointSpeleo* e = NouveauPoint(r.UneCavite(0)->UneGalerie(0), "E0", PointSurface);
  auto c = std::make_unique<TCavite>();
  c->NomCavite = "Grotte";
  TCavite* cav = r.AjouteCavite(std::move(c));
  std::vector<TPointSpeleo*> fins;
  fins.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    TGalerie* g = cav->AjouteGalerie("Galerie " + std::to_string(i));
    TPointSpeleo* depart = i == 0 ? e : fins[static_cast<size_t>((i - 1) / 2)];
    TPointSpeleo* a = NouveauPoint(g, std::to_string(i) + "a");
    TPointSpeleo* b = NouveauPoint(g, std::to_string(i) + "b");
    for (auto [de, vers] : {std::pair{depart, a}, std::pair{a, b}}) {
      auto v = std::make_unique<TVisee>();
      v->PointStation = de;
      v->PointVise = vers;
      v->Az = 37.0 * i;
      v->Long = 5;
      v->LeLever = LeverParDefaut();
      cav->Visees.Add(std::move(v));
    }
    fins.push_back(b);
  }
  cav->ReGenereListePoints(false);
  return cav;
}

void ChoixCompens1000(benchmark::State& state) {
  Application();
  GardeDocument document;
  TReseau r;
  r.CreeCaviteSurface();
  TCavite* c = CaviteGaleries(r, 500);
  int i = 0;
  for (TGalerie* g : c->Galeries)
    for (TPointSpeleo* p : g->Points) {
      auto a = std::make_unique<TCompens>();
      a->PtFin = p;
      a->PtJuste = r.LePointSurface(0);
      a->typeCompens = static_cast<uint8_t>(i++ % 3);
      r.Compensations.Add(std::move(a));
    }
  for (auto _ : state) {
    app::TChoixCompensDlg d(r);
    d.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(d.ListeCompens->topLevelItemCount());
  }
  state.counters["adjustments"] = r.Compensations.Count();
}
BENCHMARK(ChoixCompens1000)->Unit(benchmark::kMillisecond);

void StructureGaleries5000(benchmark::State& state) {
  Application();
  GardeDocument document;
  TReseau r;
  r.CreeCaviteSurface();
  TCavite* c = CaviteGaleries(r, 5000);
  for (auto _ : state) {
    app::TStructureGaleriesDlg d(*c);
    d.show();
    QApplication::processEvents();
  }
  state.counters["galleries"] = c->Galeries.Count();
}
BENCHMARK(StructureGaleries5000)->Unit(benchmark::kMillisecond);

void ResultCalcul100000(benchmark::State& state) {
  Application();
  GardeContexteCalcul calcul;
  ListeRapportCalcul().clear();
  for (int i = 0; i < 100000; ++i)
    AjouteRapport("Ecart en X :    " + std::to_string(i % 97) + ".5 m  ligne " + std::to_string(i));
  for (auto _ : state) {
    app::TResultCalculDlg d;
    d.show();
    QApplication::processEvents();
  }
}
BENCHMARK(ResultCalcul100000)->Unit(benchmark::kMillisecond);

}  // namespace
