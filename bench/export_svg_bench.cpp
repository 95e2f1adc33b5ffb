// The SVG export of a generated cave, built as its plan view would build it
// (the network computed, the display objects made, the fills closed), then
// written: the whole document assembled and saved to a file.  The cave has
// N shots (10,000, then 40,000), 8 N splays, a plan drawing of 10 N points
// in N lines of ten points (a quarter smoothed, a quarter patterned),
// N / 5 fills, N / 2 texts (1 % of them on curves), N / 20 symbols and
// N / 100 cross sections.  Figures: the time of the export and the bytes it
// writes; and a grid of crosses over 20 km x 20 km at 1:1000.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "drawing/annexe_cavite.h"
#include "drawing/donnees_coupe.h"
#include "drawing/donnees_dessin_basique.h"
#include "drawing/elements_dessin.h"
#include "drawing/objet_trait.h"
#include "formats/export/svg/etat_export_svg.h"
#include "formats/export/svg/fichier_svg.h"
#include "formats/export/svg/vue_export_svg.h"
#include "tests/drawing/outils_coupes.h"

using namespace drawing;
using survey::TCavite;
using survey::TPointSpeleo;
using survey::TVisee;
using TOD = TypeObjetDessin;

namespace {

double Hasard(uint32_t& graine) {
  graine = graine * 1103515245 + 12345;
  return (graine >> 8) / static_cast<double>(1 << 24);
}

struct Grotte {
  explicit Grotte(int n) {
    k.n.Surface("E1", 0, 0, 0);
    cave = k.n.Cavite("Grande");
    uint32_t graine = 99;
    double cap = 0;
    std::string avant = "E1";
    // A walk of shots of 4 m turning slowly, with eight splays each.
    for (int i = 1; i <= n; ++i) {
      cap += (Hasard(graine) - 0.5) * 30;
      const std::string nom = std::to_string(i);
      TVisee* v = k.Visee(cave, avant, nom, std::fmod(cap + 3600, 360), (Hasard(graine) - 0.5) * 20, 4);
      for (int h = 0; h < 8; ++h) k.Habi(v, false, h * 45, 0, 1 + Hasard(graine));
      avant = nom;
    }
    k.Calcule();
    for (TVisee* v : cave->Visees) visees.push_back(v);
    tListeMtf& b = k.contexte.bibliotheque;
    auto trait = [&](int i) { return b.ListeTraits.LeMotifDeBase(i); };
    TDonneesDessinBasique& d = *AnnexeDessin(cave)->LeDessinPlani;
    d.DefViseesDeRef(&cave->Visees);
    TListeDonneesDessin& l = d.ListeDonneesDessin;
    const auto visee = [&](int i) { return visees[static_cast<size_t>(i % n)]; };
    std::vector<TObjetDonneesBasique*> lignes;
    for (int i = 0; i < n; ++i) {
      auto e = std::make_unique<TObjetDonneesBasique>();
      e->MotifDessin = i % 4 == 0 ? trait(1) : i % 4 == 1 ? trait(4) : i % 4 == 2 ? trait(2) : trait(0);
      const double cote = i % 2 ? 2.0 : -2.0;
      for (int j = 0; j < 10; ++j) Point(*e, visee(i + j / 3), j * 0.4 - 2, cote + Hasard(graine) - 0.5);
      lignes.push_back(l.AjouteDonneesDessin(std::move(e)));
    }
    for (int i = 0; i < n / 5; ++i) {
      auto r = std::make_unique<TObjetDonneesRemplir>();
      r->MotifDessin = b.ListeRemplis.LeMotifDeBase(i % 3);
      const size_t j = static_cast<size_t>(4 * i) % (lignes.size() - 1);
      r->ListePoly = {lignes[j], lignes[j + 1]};
      l.AjouteDonneesDessin(std::move(r));
    }
    for (int i = 0; i < n / 20; ++i) {
      auto s = std::make_unique<TObjetDonneesSymbole>();
      s->MotifDessin = b.ListeSymboles.LeMotifDeBase(i % b.ListeSymboles.Count());
      Point(*s, visee(i * 20), 0, 0);
      Point(*s, visee(i * 20), 1, 0);
      l.AjouteDonneesDessin(std::move(s));
    }
    for (int i = 0; i < n / 2; ++i) {
      auto t = std::make_unique<TObjetTexte>();
      t->MotifDessin = b.ListeFontes.LeMotifDeBase(0);
      t->Horiz = i % 2 == 0;
      t->TypeInfo = i % 100 == 0 ? -2 : -1;
      t->UnTexte = "Salle " + std::to_string(i);
      Point(*t, visee(i * 2), 3, 1);
      Point(*t, visee(i * 2), 0, 0);
      if (t->TypeInfo == -2) Point(*t, visee(i * 2 + 1), 2, 2);
      l.AjouteDonneesDessin(std::move(t));
    }
    for (int i = 0; i < n / 100; ++i) {
      TVisee* v = visee(i * 100 + 7);
      auto c = std::make_unique<TDonneesCoupe>();
      c->PointDeCoupe->VisRefDessin = v;
      c->PointDeCoupe->LHab = 2;
      c->PointPosition->VisRefDessin = v;
      c->PointPosition->LHab = 2;
      c->PointPosition->AngleHab = std::numbers::pi / 2;
      c->LegendeCoupe = "S" + std::to_string(i);
      TDonneesCoupe* s = d.ListeCoupes.Add(std::move(c));
      auto e = std::make_unique<TObjetDonneesBasique>();
      e->MotifDessin = trait(0);
      for (double a : {0.0, 2.0, 4.0}) {
        TPointDessin* p = e->AjoutePointDessin(false, 0, 0);
        p->LHab = 1.5;
        p->AngleHab = a;
      }
      s->AjouteDonneesDessin(std::move(e));
    }
    vue = std::make_unique<formats::TVueExportSVG>(k.n.R(), false, 1000);
  }

  // A point beside shot v's station, tied to the shot.
  static void Point(TObjetDonneesBasique& e, TVisee* v, double dx, double dy) {
    const TPointSpeleo* s = v->PointStation;
    TPointDessin* p = e.AjoutePointDessin(false, s->X + dx, s->Y + dy);
    p->VisRefDessin = v;
    p->CalculePositionVisee();
  }

  testcoupes::Calcul k;
  TCavite* cave = nullptr;
  std::vector<TVisee*> visees;
  std::unique_ptr<formats::TVueExportSVG> vue;
};

void BM_ExportSVG(benchmark::State& state) {
  Grotte g(static_cast<int>(state.range(0)));
  const std::string chemin = (std::filesystem::temp_directory_path() / "gravelune_export_bench.svg").string();
  const drawing::TConstantesSVG c = g.vue->Constantes();
  size_t octets = 0, lignes = 0;
  for (auto _ : state) {
    formats::TFichierSVG f;
    f.CaviteSVG = g.cave;
    f.AbsMin = c.AbsMin;
    f.AbsMax = c.AbsMax;
    f.OrdMin = c.OrdMin;
    f.OrdMax = c.OrdMax;
    f.CalqueFiligranes = &g.vue->Calques[TOD::odAutreNiveau];
    formats::GardeExportSVG garde;
    f.ConstruitSVG(g.vue->Reseau, {});
    if (!f.EcritLignes(chemin, survey::Encodage::Utf8)) state.SkipWithError("écriture");
    lignes = f.Lignes.size();
    octets = std::filesystem::file_size(chemin);
  }
  std::filesystem::remove(chemin);
  state.counters["Mo"] = static_cast<double>(octets) / (1024.0 * 1024.0);
  state.counters["lignes"] = static_cast<double>(lignes);
  state.counters["octets_par_visee"] = static_cast<double>(octets) / static_cast<double>(state.range(0));
}
BENCHMARK(BM_ExportSVG)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CarroyageSVG(benchmark::State& state) {
  testdessin::Contexte contexte;
  foundation::Vue().EchelleFontes = 1000;
  TCavite cavite;
  size_t croix = 0;
  for (auto _ : state) {
    formats::GardeExportSVG garde;
    formats::TFichierSVG f;
    f.FixeEchelle();
    f.CaviteSVG = &cavite;
    f.AbsMin = 700000;
    f.AbsMax = 720000;
    f.OrdMin = 6600000;
    f.OrdMax = 6620000;
    f.EcritCarroyage();
    croix = f.Lignes.size();
  }
  state.counters["croix"] = static_cast<double>(croix);
}
BENCHMARK(BM_CarroyageSVG)->Unit(benchmark::kMillisecond);

}  // namespace
