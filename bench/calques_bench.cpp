// A generated cave of 10,000 shots with a full drawing built into a window's
// layer set and painted: 20,000 wall lines (half smoothed, a third in
// complex styles), 2,000 fills (brush, hatch, texture), 5,000 symbols,
// 3,000 texts, 200 cross sections and 20 offset parts.  Figures: the build
// of the layer set (with the memory it takes), and one frame (every layer
// painted on an image of its own and combined by AND on a 1920 x 1080
// image) at the general view and at 1 % zoom.  Runs offscreen.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <memory>
#include <vector>

#include "drawing/cree_dessin.h"
#include "drawing/donnees_coupe.h"
#include "drawing/donnees_dessin_basique.h"
#include "drawing/elements_dessin.h"
#include "drawing/jeu_calques.h"
#include "drawing/objet_trait.h"
#include "platform/qt/qt_canvas.h"
#include "tests/drawing/outils_dessin.h"

using namespace drawing;
using survey::TCavite;
using survey::TPointSpeleo;
using survey::TVisee;
using TOD = TypeObjetDessin;

namespace {

void Application() {
  static int argc = 1;
  static char nom[] = "calques_bench";
  static char* argv[] = {nom, nullptr};
  static QGuiApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
  }();
  (void)app;
}

double Hasard(uint32_t& graine) {
  graine = graine * 1103515245 + 12345;
  return (graine >> 8) / static_cast<double>(1 << 24);
}

constexpr int NVisees = 10000;

// The cave: a walk of 10,000 shots of 4 m turning slowly, folded into a
// square of about 400 m, with its drawing.
struct Grotte {
  Grotte() {
    Application();
    testdessin::Reseau& r = reseau;
    r.Station(r.Cavites.First(), "E1", 0, 0);
    cave = r.Cavite("Grande");
    uint32_t graine = 99;
    double x = 0, y = 0, cap = 0;
    std::string avant = "E1";
    for (int i = 1; i <= NVisees; ++i) {
      cap += (Hasard(graine) - 0.5) * 0.6;
      x += 4 * std::cos(cap);
      y += 4 * std::sin(cap);
      if (std::abs(x) > 200 || std::abs(y) > 200) cap += std::numbers::pi;
      x = std::clamp(x, -200.0, 200.0);
      y = std::clamp(y, -200.0, 200.0);
      const std::string nom = std::to_string(i);
      r.Station(cave, nom, x, y);
      TVisee* v = r.Visee(cave, avant, nom);
      v->PtOrigCalc = v->PointStation;
      v->PtCalc = v->PointVise;
      avant = nom;
    }
    r.PrepareDocument();
    for (TVisee* v : cave->Visees) visees.push_back(v);
    Styles();
    dessin.DefViseesDeRef(&cave->Visees);
    dessin.EchelleDessin = 500;
    Dessin().CaviteDessinCourante = cave;
    Remplit(dessin.ListeDonneesDessin, 0, NVisees, 20000, 2000, 5000, 3000, graine);
    for (int i = 0; i < 200; ++i) Section(dessin, visees[static_cast<size_t>(i * 50 + 7)]);
    for (int i = 0; i < 20; ++i) {
      auto e = std::make_unique<TDonneesEcart>();
      const int debut = i * 500 + 100;
      for (int j = 0; j < 20; ++j) e->ViseesEcart.Add(visees[static_cast<size_t>(debut + j)]);
      e->Proprio = &dessin;
      e->PositX = 15;
      e->PositY = -10;
      e->CoeffDessinEcart = i % 2 ? 0.5 : 1.0;
      e->CadreEcart = true;
      e->MargeCadre = 2;
      e->CouleurFiligr = platform::RgbColour(0, 160, 0);
      e->EchelleDessin = 500;
      TDonneesEcart* p = dessin.ListeEcarts.Add(std::move(e));
      Remplit(p->ListeDonneesDessin, debut, debut + 20, 40, 4, 10, 6, graine);
      int n = 0;
      for (TObjetDonneesBasique* l : p->ListeDonneesDessin.LesMultiPoints) l->EstFiligrane = n++ % 4 == 0;
    }
    dessin.CalculeDessin();
  }

  void Styles() {
    tListeMtf& b = contexte.bibliotheque;
    auto trait = [&](int i) { return dynamic_cast<TDefObjetTrait*>(b.ListeTraits.LeMotifDeBase(i)); };
    paroi = trait(0);
    lisse = trait(1);
    marche = trait(4);  // "Marche/Ressaut"
    tiret.CopieMotif(*paroi);
    tiret.StylePlume = MesPenStyle::mpsTiretHachure;
    triangle.CopieMotif(*paroi);
    triangle.StylePlume = MesPenStyle::mpsTrianglePlein;
    hachure.CopieMotif(*dynamic_cast<TDefObjetTrait*>(b.ListeRemplis.LeMotifDeBase(0)));
    hachure.StylePinceau = TStylePinceau::bsCross;
    hachure.NumMotif = 0;
    brosse.CopieMotif(hachure);
    brosse.StylePinceau = TStylePinceau::bsSolid;
    texture = b.ListeRemplis.LeMotifDeBase(2);
  }

  // A point beside shot i, tied to it.
  static void Point(TObjetDonneesBasique& e, TVisee* v, double dx, double dy) {
    const TPointSpeleo* s = v->PointStation;
    TPointDessin* p = e.AjoutePointDessin(false, s->X + dx, s->Y + dy);
    p->VisRefDessin = v;
    p->CalculePositionVisee();
  }

  void Remplit(TListeDonneesDessin& l, int de, int a, int lignes, int remplis, int symboles, int textes,
               uint32_t& graine) {
    const int n = a - de;
    auto visee = [&](int k) { return visees[static_cast<size_t>(de + k % n)]; };
    std::vector<TObjetDonneesBasique*> faites;
    for (int i = 0; i < lignes; ++i) {
      auto e = std::make_unique<TObjetDonneesBasique>();
      // Half smoothed; a third in complex styles.
      if (i % 3 == 0)
        e->MotifDessin = i % 9 == 0 ? static_cast<TObjetMotifdeBase*>(marche)
                                    : (i % 9 == 3 ? static_cast<TObjetMotifdeBase*>(&tiret) : &triangle);
      else
        e->MotifDessin = i % 2 ? lisse : paroi;
      const int k = i * 7;
      const double cote = i % 2 ? 2.0 : -2.0;
      for (int j = 0; j < 4; ++j) Point(*e, visee(k + j), Hasard(graine) - 0.5, cote + Hasard(graine) - 0.5);
      faites.push_back(l.AjouteDonneesDessin(std::move(e)));
    }
    for (int i = 0; i < remplis; ++i) {
      auto r = std::make_unique<TObjetDonneesRemplir>();
      r->MotifDessin = i % 3 == 0 ? static_cast<TObjetMotifdeBase*>(&brosse)
                                  : (i % 3 == 1 ? static_cast<TObjetMotifdeBase*>(&hachure) : texture);
      const size_t j = static_cast<size_t>(2 * i) % (faites.size() - 1);
      r->ListePoly = {faites[j], faites[j + 1]};
      l.AjouteDonneesDessin(std::move(r));
    }
    TObjetMotifdeBase* fonte = contexte.bibliotheque.ListeFontes.LeMotifDeBase(0);
    for (int i = 0; i < symboles; ++i) {
      auto s = std::make_unique<TObjetDonneesSymbole>();
      s->MotifDessin = contexte.bibliotheque.ListeSymboles.LeMotifDeBase(i % 7);
      Point(*s, visee(i * 3), 0, 0);
      Point(*s, visee(i * 3), 1, 0);
      l.AjouteDonneesDessin(std::move(s));
    }
    for (int i = 0; i < textes; ++i) {
      auto t = std::make_unique<TObjetTexte>();
      t->MotifDessin = fonte;
      t->Horiz = false;
      t->UnTexte = "Salle " + std::to_string(i);
      Point(*t, visee(i * 5), 3, 0);
      Point(*t, visee(i * 5), 0, 0);
      l.AjouteDonneesDessin(std::move(t));
    }
  }

  void Section(TDonneesDessinBasique& d, TVisee* v) {
    auto c = std::make_unique<TDonneesCoupe>();
    c->PointDeCoupe->VisRefDessin = v;
    c->PointDeCoupe->LHab = 2;
    c->PointPosition->VisRefDessin = v;
    c->PointPosition->LHab = 2;
    c->PointPosition->AngleHab = std::numbers::pi / 2;
    c->LegendeCoupe = "S";
    TDonneesCoupe* s = d.ListeCoupes.Add(std::move(c));
    s->CalculePoints();
    const TPointDessin& p = *s->PointPosition;
    for (int i = 0; i < 3; ++i) {
      auto l = std::make_unique<TObjetDonneesBasique>();
      l->MotifDessin = paroi;
      l->AjoutePointDessin(false, p.Xhab - 1, p.Yhab - 1 + i);
      l->AjoutePointDessin(false, p.Xhab + 1, p.Yhab + i);
      s->AjouteDonneesDessin(std::move(l));
    }
  }

  testdessin::Contexte contexte;
  testdessin::Reseau reseau;
  TCavite* cave = nullptr;
  std::vector<TVisee*> visees;
  TDefObjetTrait *paroi = nullptr, *lisse = nullptr, *marche = nullptr;
  TObjetTrait tiret, triangle;
  tMotifRempli hachure, brosse;
  TObjetMotifdeBase* texture = nullptr;
  TDonneesDessinBasique dessin;
};

Grotte& LaGrotte() {
  static Grotte* g = new Grotte;
  return *g;
}

// The view: EchelleVue pixels per metre centred on the cave's centre.
void Vue(double echelle) {
  auto& v = foundation::Vue();
  v.TypeDessinCourant = foundation::TTypeDeDessin::tddPlani;
  v.Xmin = v.Ymin = 0;
  v.EchelleVue = echelle;
  const double l = 1920 / echelle, h = 1080 / echelle;
  v.XDebVue = static_cast<int32_t>(std::floor(-l / 2));
  v.YDebVue = static_cast<int32_t>(std::ceil(h / 2));
  v.LargeurPaintBox = 1920;
  v.HauteurPaintBox = 1080;
  Affichage() = EtatAffichage{};
  Affichage().RectVisibleDessin = {v.XDebVue * 1000, v.YDebVue * 1000,
                                   static_cast<int32_t>((v.XDebVue + l) * 1000),
                                   static_cast<int32_t>((v.YDebVue - h) * 1000)};
}

void BM_ConstruitCalques(benchmark::State& state) {
  Grotte& g = LaGrotte();
  TJeuCalques fiche;
  size_t memoire = 0;
  for (auto _ : state) {
    state.PauseTiming();
    fiche.VideTout();
    const size_t avant = mallinfo2().uordblks;
    state.ResumeTiming();
    CreeDessinCavite(fiche, g.dessin);
    state.PauseTiming();
    memoire = mallinfo2().uordblks - avant;
    state.ResumeTiming();
  }
  state.counters["objets"] = fiche.NombreObjets();
  state.counters["Mo"] = static_cast<double>(memoire) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ConstruitCalques)->Unit(benchmark::kMillisecond);

// Paints every layer on its own white image and combines them by AND;
// each layer's paint time is added to parCalque.
void Peint(TJeuCalques& fiche, platform::QtCanvas& image, platform::QtCanvas& calque,
           std::map<TOD, double>& parCalque) {
  image.Brush.Color = platform::kWhite;
  image.Brush.Style = platform::BrushStyle::Solid;
  image.FillRect({0, 0, 1920, 1080});
  for (TOD k : OrdreCalques) {
    TCalque& c = fiche[k];
    if (c.NombreObjets() == 0) continue;
    calque.Brush.Color = platform::kWhite;
    calque.Brush.Style = platform::BrushStyle::Solid;
    calque.FillRect({0, 0, 1920, 1080});
    const auto debut = std::chrono::steady_clock::now();
    c.DessineCalque(calque);
    parCalque[k] += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - debut).count();
    image.Copy = platform::CopyMode::SrcAnd;
    image.Draw(0, 0, calque);
    image.Copy = platform::CopyMode::SrcCopy;
  }
}

// One frame, the layers unchanged since the last one (the first frame after
// a build also runs every fill's closing test: "PremiereImage", ms).  The
// counters give each layer's share of a frame (ms; its paint only).
void Image(benchmark::State& state, double echelle) {
  Grotte& g = LaGrotte();
  TJeuCalques fiche;
  CreeDessinCavite(fiche, g.dessin);
  Vue(echelle);
  platform::QtCanvas image(1920, 1080), calque(1920, 1080);
  std::map<TOD, double> parCalque;
  const auto debut = std::chrono::steady_clock::now();
  Peint(fiche, image, calque, parCalque);
  const double premiere = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - debut).count();
  parCalque.clear();
  for (auto _ : state) {
    Peint(fiche, image, calque, parCalque);
    benchmark::DoNotOptimize(image.Pixel(960, 540));
  }
  state.counters["PremiereImage"] = premiere;
  const char* noms[] = {"", "", "", "", "", "", "", "Dessin", "Habillage", "Texte", "", "", "", "AutreNiveau",
                        "", "", "Coupes", "CoupesLever", "CoupesDessin", "", "", "Ecarts", "EcartsLevers", "",
                        "EcartsDessin", "EcartsHabillage", "EcartsTexte", "", ""};
  for (const auto& [k, ms] : parCalque)
    if (*noms[static_cast<int>(k)] != 0)
      state.counters[noms[static_cast<int>(k)]] = ms / static_cast<double>(state.iterations());
}

// The whole cave (about 420 m) on 1080 pixels.
void BM_ImageVueGenerale(benchmark::State& state) { Image(state, 1080.0 / 420); }
BENCHMARK(BM_ImageVueGenerale)->Unit(benchmark::kMillisecond);

// 1 % of that: 4.2 m on 1080 pixels.
void BM_ImageZoom1Pourcent(benchmark::State& state) { Image(state, 1080.0 / 4.2); }
BENCHMARK(BM_ImageZoom1Pourcent)->Unit(benchmark::kMillisecond);

}  // namespace
