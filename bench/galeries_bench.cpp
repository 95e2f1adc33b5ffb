// The gallery hierarchy and what reads it (the table's tree, the XML
// listing, the printed diagram at 1200 dpi), the trip statistics, and the
// network's change of coordinate system.  The caves are generated: each
// gallery of three stations hangs from the middle of an earlier one (gallery
// g from gallery g / 2, so the tree is both deep and wide).  The diagram
// runs offscreen (QT_QPA_PLATFORM is set to "offscreen" when unset).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QGuiApplication>
#include <memory>
#include <string>
#include <vector>

#include "app/document/selecteurs.h"
#include "app/table/impression_schema.h"
#include "document/composition.h"
#include "platform/printer.h"
#include "projections/contexte_projections.h"
#include "survey/arbre_galeries.h"
#include "survey/contexte_reseau.h"
#include "survey/reseau.h"
#include "survey/schema_galeries.h"

using namespace survey;

namespace {

void Application() {
  static int argc = 1;
  static char nom[] = "galeries_bench";
  static char* argv[] = {nom, nullptr};
  // Never destroyed: at exit Qt's own globals are gone before function statics.
  [[maybe_unused]] static QGuiApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
  }();
}

long MemoireMaxKo() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// A network with one cave of that many galleries (three stations each) and
// that many shots per gallery, computed.
std::unique_ptr<TReseau> Genere(int galeries, int stationsParGalerie = 3, int surface = 1) {
  auto r = std::make_unique<TReseau>();
  r->CreeCaviteSurface();
  TListedePoints& points = *r->LesPointsSurface();
  TPointSpeleo* entree = nullptr;
  for (int i = 0; i < surface; ++i) {
    auto e = std::make_unique<TPointSpeleo>();
    e->TypePoint = PointSurface;
    e->DesignPTopo = "E" + std::to_string(i);
    e->X = 600000 + 10.0 * (i % 1000);
    e->Y = 2200000 + 10.0 * (i / 1000);
    e->GalduPt = r->UneCavite(0)->Galeries.First();
    TPointSpeleo* p = points.Add(std::move(e));
    if (!entree) entree = p;
  }
  auto cav = std::make_unique<TCavite>();
  cav->NomCavite = "Réseau généré";
  TCavite* c = r->AjouteCavite(std::move(cav));
  TLever* lever = c->Levers.Add(std::make_unique<TLever>());
  std::vector<TGalerie*> liste;
  for (int g = 0; g < galeries; ++g) {
    TGalerie* galerie = c->AjouteGalerie("Galerie " + std::to_string(g));
    TPointSpeleo* avant = g == 0 ? entree : liste[static_cast<size_t>(g / 2)]->Points.Item(stationsParGalerie / 2);
    liste.push_back(galerie);
    for (int k = 0; k < stationsParGalerie; ++k) {
      auto p = std::make_unique<TPointSpeleo>();
      p->DesignPTopo = std::to_string(g) + "." + std::to_string(k);
      p->GalduPt = galerie;
      TPointSpeleo* point = galerie->Points.Add(std::move(p));
      auto v = std::make_unique<TVisee>();
      v->PointStation = avant;
      v->PointVise = point;
      v->Az = (k * 37 + g) % 360;
      v->pente = (k * 13) % 40 - 20;
      v->Long = 3 + (k % 7);
      v->Exclue = (g % 10 == 0) ? 1 : 0;
      v->LeLever = lever;
      c->Visees.Add(std::move(v));
      avant = point;
    }
  }
  c->ReGenereListePoints(true);
  c->CalculeTousPoints(true);
  return r;
}

struct Environnement {
  Environnement() { document::InstalleDocument(); }
};

void BM_ArbreGaleries(benchmark::State& state) {
  static Environnement env;
  GardeContexteReseau contexte;
  const auto r = Genere(static_cast<int>(state.range(0)));
  const TCavite& c = *r->UneCavite(1);
  for (auto _ : state) {
    const TArbreGaleries a(c);
    int n = 0;
    a.Parcourt(a.Racine(), 0, [&](const TArbreGaleries::Etape& e) { n += e.Entree; });
    benchmark::DoNotOptimize(n);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ArbreGaleries)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ArbreDeLaTable(benchmark::State& state) {
  static Environnement env;
  GardeContexteReseau contexte;
  const auto r = Genere(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(app::CreeArbreGaleries(*r->UneCavite(1)).Noeuds.size());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ArbreDeLaTable)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_CreeXmlCavites(benchmark::State& state) {
  static Environnement env;
  GardeContexteReseau contexte;
  const auto r = Genere(static_cast<int>(state.range(0)));
  const std::string dossier = "/tmp";
  for (auto _ : state)
    if (!r->CreeXmlCavites(dossier)) state.SkipWithError("écriture");
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CreeXmlCavites)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_InitStatsLevers(benchmark::State& state) {
  static Environnement env;
  GardeContexteReseau contexte;
  // 100,000 shots: 10,000 galleries of ten.
  const auto r = Genere(10000, 10);
  TCavite& c = *r->UneCavite(1);
  for (auto _ : state) {
    c.InitStatsLevers();
    benchmark::DoNotOptimize(c.Levers.UnObjet(0)->LongLevee);
  }
  state.SetItemsProcessed(state.iterations() * c.Visees.Count());
}
BENCHMARK(BM_InitStatsLevers)->Unit(benchmark::kMillisecond);

void BM_ChangeProjection(benchmark::State& state) {
  static Environnement env;
  GardeContexteReseau contexte;
  projections::GardeProjections catalogue;
  // 10,000 surface points, 10,000 points of a digitising calibration.
  const auto r = Genere(10, 3, 10000);
  TCavite& c = *r->UneCavite(1);
  for (int i = 0; i < 10000; ++i) c.CalageDigitPlani.PointsTerrain.AjoutePoint(600000 + i, 2200000 - i);
  bool aller = true;
  for (auto _ : state) {
    const bool ok = aller ? r->ChangeProjection("LT 2+", -1, -1, "LT 93") : r->ChangeProjection("LT 93", -1, -1, "LT 2+");
    if (!ok) state.SkipWithError("conversion");
    aller = !aller;
  }
  state.SetItemsProcessed(state.iterations() * 20000);
}
BENCHMARK(BM_ChangeProjection)->Unit(benchmark::kMillisecond);

void BM_SchemaGaleries1200dpi(benchmark::State& state) {
  static Environnement env;
  Application();
  GardeContexteReseau contexte;
  const auto r = Genere(5000);
  platform::VirtualPdfPrinter imprimante;
  const platform::PageMetrics page = *imprimante.Metrics();
  const long avant = MemoireMaxKo();
  int pages = 0;
  for (auto _ : state) {
    const survey::TSchemaGaleries s = survey::SchemaGaleries(*r->UneCavite(1), app::MesuresSchema(page));
    pages = s.NombrePages();
    std::vector<int> toutes;
    for (int i = 1; i <= pages; ++i) toutes.push_back(i);
    if (!app::EcritSchemaPdf("/tmp/galeries_bench_schema.pdf", toutes, s, page)) state.SkipWithError("pdf");
  }
  state.counters["pages"] = pages;
  state.counters["RSSmaxMo"] = static_cast<double>(MemoireMaxKo()) / 1024;
  state.counters["RSSmaxAvantMo"] = static_cast<double>(avant) / 1024;
}
BENCHMARK(BM_SchemaGaleries1200dpi)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
