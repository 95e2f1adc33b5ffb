// The DXF, KML and GPX exports of a network in Lambert 93: a branched cave
// of 10,000 and 100,000 shots (a side gallery every tenth shot, so thousands
// of galleries, every station with its widths, hence gallery outlines) whose
// plan drawing holds visible lines of as many points as the cave has shots
// (100,000 points for the large one).  Each iteration builds the whole file
// (network and plan-drawing computation included); "octets" is the size of
// the file written.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/objet_trait.h"
#include "formats/export/dxf/export_dxf.h"
#include "formats/export/gpx/export_gpx.h"
#include "formats/export/kml/export_kml.h"
#include "projections/regions.h"
#include "survey/ports_survey.h"
#include "tests/survey/reseau_calcul.h"

namespace {

using namespace survey;

constexpr int kPointsParLigne = 10;

struct Modele {
  explicit Modele(int visees) {
    projections::ChargeListeProjections(projections::RegionFrance);
    drawing::InstalleAnnexeDessin();
    n = std::make_unique<testsurvey::ReseauCalcul>();
    n->R().Projection = "LT 93";
    n->R().NumFuseau = 0;
    n->Surface("E1", 700000, 6600000, 500);
    c = n->Cavite("Grotte");
    std::string avant = "E1";
    for (int k = 1; k <= visees; ++k) {
      const std::string nom = std::to_string(k);
      if (k % 10 == 0) c->AjouteGalerie("G" + nom);
      TVisee* v = n->Visee(c, avant, nom, (k * 7) % 360, (k % 21) - 10, 3 + k % 5);
      TPointSpeleo* p = v->PointVise;
      p->LargeurDR = 1 + k % 3;
      p->LargeurGA = 2;
      p->HauteurSup = 1.5;
      p->HauteurInf = 0.5;
      // A side gallery every tenth shot hangs on the previous station.
      if (k % 10 != 0) avant = nom;
    }
    n->Regenere();
    n->R().CalculeReseau();
    motif.CouleurPlume = 0x0000FF;
    motif.EpaisseurPlume = 2;
    drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
    drawing::TListeDonneesDessin& l = annexe->LeDessinPlani->ListeDonneesDessin;
    std::mt19937 alea(3);
    std::uniform_real_distribution<double> autour(-3, 3);
    std::uniform_int_distribution<int> visee(0, c->Visees.Count() - 1);
    for (int i = 0; i < visees / kPointsParLigne; ++i) {
      const TVisee* v = c->LaVisee(visee(alea));
      auto e = std::make_unique<drawing::TObjetDonneesBasique>();
      e->MotifDessin = &motif;
      for (int k = 0; k < kPointsParLigne; ++k) {
        const TPointSpeleo* s = k % 2 ? v->PointVise : v->PointStation;
        e->AjoutePointDessin(false, s->X + autour(alea), s->Y + autour(alea));
      }
      l.AjouteDonneesDessin(std::move(e));
    }
    l.ReferenceDessin();
  }

  survey::GardePortsSurvey ports;
  drawing::GardeContexteDessin contexte;
  drawing::TDefObjetTrait motif;
  std::unique_ptr<testsurvey::ReseauCalcul> n;
  TCavite* c = nullptr;
};

// One model at a time; the last one is left to the end of the process, whose
// contexts may be gone before a static would destroy it.
Modele& LeModele(int visees) {
  static Modele* m = nullptr;
  static int taille = 0;
  if (!m || taille != visees) {
    delete m;
    m = new Modele(visees);
    taille = visees;
  }
  return *m;
}

double Octets(const std::vector<std::string>& lignes) {
  double n = 0;
  for (const std::string& l : lignes) n += static_cast<double>(l.size()) + 2;
  return n;
}

template <class Fichier, class Construit>
void Mesure(benchmark::State& state, Construit construit) {
  Modele& m = LeModele(static_cast<int>(state.range(0)));
  double octets = 0;
  for (auto _ : state) {
    Fichier f = [&] {
      if constexpr (std::is_constructible_v<Fichier, TReseau&>)
        return Fichier(m.n->R());
      else
        return Fichier();
    }();
    construit(m.n->R(), f);
    octets = Octets(f.Lignes);
    benchmark::DoNotOptimize(f.Lignes.data());
  }
  state.counters["octets"] = octets;
  state.SetComplexityN(state.range(0));
}

void ExportDxf(benchmark::State& state) {
  Mesure<formats::TFichierDxf>(state, [](TReseau& r, formats::TFichierDxf& f) { formats::ConstruitDxf(r, f); });
}
BENCHMARK(ExportDxf)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void ExportKml(benchmark::State& state) {
  Mesure<formats::TFichierKML>(state, [](TReseau& r, formats::TFichierKML& f) {
    formats::ConstruitKml(r, formats::KmlObjetsDefaut, f);
  });
}
BENCHMARK(ExportKml)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void ExportGpx(benchmark::State& state) {
  Mesure<formats::TFichierGPX>(state, [](TReseau& r, formats::TFichierGPX& f) { formats::ConstruitGpx(r, true, f); });
}
BENCHMARK(ExportGpx)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
