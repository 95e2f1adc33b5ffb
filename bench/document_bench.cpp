// The document file of a generated network of 100,000 main shots (two
// splays on every tenth, ten caves of 100 galleries, a trip per gallery,
// comments on some stations, the pattern library's defaults): the whole
// document written to memory and read back, and a save to disk through the
// temporary file with its backup.  Reported in bytes per second.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <memory>
#include <string>

#include "document/composition.h"
#include "foundation/flux.h"
#include "platform/files.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/fichier_reseau.h"
#include "survey/reseau.h"

using namespace survey;

namespace {

constexpr int NombreVisees = 100000;
constexpr int NombreCavites = 10;
constexpr int GaleriesParCavite = 100;

std::unique_ptr<TReseau> Genere() {
  auto r = std::make_unique<TReseau>();
  r->Nom = "Réseau généré";
  r->CreeCaviteSurface();
  TListedePoints& surface = *r->LesPointsSurface();
  for (int i = 0; i < 2; ++i) {
    auto o = std::make_unique<TOperateur>();
    o->DesignOpe = "Opérateur " + std::to_string(i);
    r->ListeOperateurs.Add(std::move(o));
  }
  const int parGalerie = NombreVisees / NombreCavites / GaleriesParCavite;
  for (int c = 0; c < NombreCavites; ++c) {
    auto e = std::make_unique<TPointSpeleo>();
    e->TypePoint = PointSurface;
    e->DesignPTopo = "E" + std::to_string(c);
    e->X = 1000.0 * c;
    e->GalduPt = r->UneCavite(0)->Galeries.First();
    TPointSpeleo* entree = surface.Add(std::move(e));
    auto cav = std::make_unique<TCavite>();
    cav->NomCavite = "Cavité " + std::to_string(c);
    TCavite* cavite = r->AjouteCavite(std::move(cav));
    TPointSpeleo* rattache = entree;
    for (int g = 0; g < GaleriesParCavite; ++g) {
      auto l = std::make_unique<TLever>();
      l->Operateurs.push_back(r->ListeOperateurs.UnOperateur(g % 2));
      l->Commentaires = "Lever de la galerie " + std::to_string(g);
      TLever* lever = cavite->Levers.Add(std::move(l));
      TGalerie* galerie = cavite->AjouteGalerie("Galerie " + std::to_string(g));
      TPointSpeleo* avant = rattache;
      for (int k = 0; k < parGalerie; ++k) {
        auto p = std::make_unique<TPointSpeleo>();
        p->DesignPTopo = std::to_string(g) + "." + std::to_string(k);
        p->LargeurDR = p->LargeurGA = 1.5;
        p->HauteurSup = 2;
        if (k % 20 == 0) p->Commentaire.push_back("Concrétions, passage bas");
        p->GalduPt = galerie;
        TPointSpeleo* point = galerie->Points.Add(std::move(p));
        auto v = std::make_unique<TVisee>();
        v->PointStation = avant;
        v->PointVise = point;
        v->Az = (k * 37) % 360;
        v->pente = (k * 13) % 40 - 20;
        v->Long = 3 + (k % 7);
        v->LeLever = lever;
        TVisee* visee = cavite->Visees.Add(std::move(v));
        if (k % 10 == 0)
          for (int h = 0; h < 2; ++h) {
            auto s = std::make_unique<TViseeHabi>();
            s->Az = 90 + 180 * h;
            s->Long = 1.2;
            s->LeLever = lever;
            s->RefPtStat = h == 0;
            visee->AjouteViseeHabi(std::move(s));
          }
        avant = point;
      }
      // The next gallery starts from the middle of this one.
      rattache = galerie->Points.Item(parGalerie / 2);
    }
    cavite->ReGenereListePoints(true);
  }
  r->LaCaviteActive = r->UneCavite(1);
  return r;
}

struct Donnees {
  Donnees() {
    document::InstalleDocument();
    Reseau = Genere();
    foundation::TFluxMemoire flux;
    if (!Reseau->Ecrit(flux)) std::abort();
    Octets = flux.Octets();
  }
  std::unique_ptr<TReseau> Reseau;
  std::string Octets;
};

Donnees& Jeu() {
  static Donnees d;
  return d;
}

long MemoireMaxKo() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

void BM_EcritureDocument(benchmark::State& state) {
  Donnees& d = Jeu();
  for (auto _ : state) {
    foundation::TFluxMemoire flux;
    if (!d.Reseau->Ecrit(flux)) state.SkipWithError("écriture");
    benchmark::DoNotOptimize(flux.Octets().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(d.Octets.size()));
  state.counters["Mo"] = static_cast<double>(d.Octets.size()) / 1e6;
}
BENCHMARK(BM_EcritureDocument)->Unit(benchmark::kMillisecond);

void BM_LectureDocument(benchmark::State& state) {
  Donnees& d = Jeu();
  for (auto _ : state) {
    GardeContexteReseau contexte;
    auto r = std::make_unique<TReseau>();
    foundation::TFluxMemoire flux(d.Octets);
    if (!r->Lit(flux)) state.SkipWithError("lecture");
    benchmark::DoNotOptimize(r.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(d.Octets.size()));
  state.counters["RSSmaxMo"] = static_cast<double>(MemoireMaxKo()) / 1024;
}
BENCHMARK(BM_LectureDocument)->Unit(benchmark::kMillisecond);

void BM_EnregistrementDisque(benchmark::State& state) {
  Donnees& d = Jeu();
  const std::string chemin = platform::TemporaryNameBeside("/tmp/gravelune-bench") + ".cav";
  GardeDocument document;
  GardeContexteReseau contexte;
  d.Reseau->Active();
  Document().NomFichierCourant = chemin;
  for (auto _ : state)
    if (!EnregistreReseau(chemin)) state.SkipWithError("enregistrement");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(d.Octets.size()));
  // The lock off, then the files away.
  d.Reseau->Verrou.Release();
  platform::RemoveFile(chemin);
  platform::RemoveFile(CheminSauvegarde(chemin));
}
BENCHMARK(BM_EnregistrementDisque)->Unit(benchmark::kMillisecond);

}  // namespace
