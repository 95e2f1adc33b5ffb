// The station and surface-point dialogs on large networks: the attachment
// choice opened on a cave of 100,000 stations (computation and sort by
// distance included) and the surface-point choice opened with 10,000
// surface points (time until it is shown).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <memory>
#include <string>

#include "app/saisie/choix_pt_surface_dlg.h"
#include "app/saisie/choix_rattach_dlg.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/liste_points.h"
#include "survey/reseau.h"

using namespace survey;

namespace {

QApplication& Application() {
  static int argc = 1;
  static char nom[] = "dialogues_points_bench";
  static char* argv[] = {nom, nullptr};
  // Never destroyed: at exit Qt's own globals are gone before function statics.
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

TPointSpeleo* NouveauPointSurface(TReseau& r, const std::string& nom, double x, double y) {
  auto e = std::make_unique<TPointSpeleo>();
  e->TypePoint = survey::PointSurface;
  e->DesignPTopo = nom;
  e->X = x;
  e->Y = y;
  e->GalduPt = r.UneCavite(0)->UneGalerie(0);
  return r.LesPointsSurface()->Add(std::move(e));
}

// A cave of n shots: a main gallery turning slowly, a side station every
// fifth station.
TCavite* Grotte(TReseau& r, int n) {
  TPointSpeleo* avant = NouveauPointSurface(r, "E0", 0, 0);
  auto c = std::make_unique<TCavite>();
  c->NomCavite = "Grotte";
  TCavite* cav = r.AjouteCavite(std::move(c));
  TGalerie* g = cav->AjouteGalerie("Principale");
  int visees = 0;
  auto station = [&](const std::string& s, int annexe) {
    auto p = std::make_unique<TPointSpeleo>();
    p->DesignPTopo = s;
    p->Annexe = annexe;
    p->GalduPt = g;
    return g->Points.Add(std::move(p));
  };
  auto visee = [&](TPointSpeleo* a, TPointSpeleo* b, double az) {
    auto v = std::make_unique<TVisee>();
    v->PointStation = a;
    v->PointVise = b;
    v->Az = az;
    v->Long = 3;
    cav->Visees.Add(std::move(v));
    ++visees;
  };
  for (int k = 1; visees < n; ++k) {
    TPointSpeleo* p = station(std::to_string(k), 0);
    visee(avant, p, (k * 7) % 360);
    avant = p;
    if (k % 5 == 0 && visees < n) visee(p, station(std::to_string(k) + "a", 1), 90);
  }
  cav->LaGalerieActive = g;
  cav->ReGenereListePoints(false);
  return cav;
}

void OuvertureChoixRattachement(benchmark::State& state) {
  Application();
  GardeDocument document;
  TReseau r;
  r.CreeCaviteSurface();
  TCavite* cav = Grotte(r, 100000);
  TPointSpeleo* ref = cav->ListePoints.Item(cav->ListePoints.Count() / 2);
  for (auto _ : state) {
    app::TChoixRattachDlg d(cav, "", ref, true);
    benchmark::DoNotOptimize(d.Candidats().size());
  }
}
BENCHMARK(OuvertureChoixRattachement)->Unit(benchmark::kMillisecond)->Iterations(3);

void AffichageChoixPointSurface(benchmark::State& state) {
  Application();
  GardeDocument document;
  TReseau r;
  r.CreeCaviteSurface();
  for (int i = 0; i < 10000; ++i) NouveauPointSurface(r, "S" + std::to_string((i * 7919) % 10000), i, -i);
  TPointSpeleo* propose = r.LesPointsSurface()->Item(5000);
  for (auto _ : state) {
    app::TChoixPtSurfaceDlg d(*r.LesPointsSurface(), propose, nullptr);
    d.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(d.ListePoints->count());
  }
}
BENCHMARK(AffichageChoixPointSurface)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
