// The first view of the plan and elevation views, offscreen at several
// window sizes: every station, the entrance (a surface point) and every
// splay end of a cave whose extremes are not all stations land inside the
// paint box at the pixel where the view puts them, with something drawn
// there, and the view is the one "Zoom général" gives; a view remembered
// when the window closed comes back on the same ground, even after a shot
// moved the drawing origin; zoomed in to a tick step of 50 cm, the plan's
// coordinate labels carry one decimal and differ from their neighbours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "drawing/annexe_cavite.h"
#include "drawing/donnees_coupe_long.h"
#include "drawing/quadrillage.h"
#include "platform/text_log_canvas.h"
#include "survey/reseau.h"
#include "survey/visee.h"
#include "tests/views/windows/outils_visu.h"
#include "views/types_fiches.h"
#include "views/windows/fiche_visu_dessin.h"

namespace {

using namespace essaifenetres;
using foundation::TTypeDeDessin;

// A station or a splay's end (plan X, Y or developed length, altitude);
// a splay keeps its station's position, where its line starts.
struct Repere {
  std::string Nom;
  double X, Y;
  bool Habi = false;
  double X0 = 0, Y0 = 0;
};

class VueInitiale : public Cavites {
 protected:
  // The cave "Longue": the entrance E (a surface point) at (712340,
  // 6447810, 100), Lambert 93; the gallery E 1 .. 6 due east (10 m shots);
  // the branch from 3 due north, B1 .. B6 (15 m shots, going down 20
  // degrees).  Splays: 20 m north
  // of B5, 15 m east of 5 and 20 m south of 2 going down 60 degrees, so
  // that the drawing's extremes are the entrance (west) and splay ends
  // (north, east, south).
  survey::TCavite* Longue() {
    N.Surface("E", 712340, 6447810, 100);
    survey::TCavite* c = N.Cavite("Longue");
    N.Visee(c, "E", "1", 90, 0, 10);
    for (int i = 1; i < 6; ++i) N.Visee(c, std::to_string(i), std::to_string(i + 1), 90, 0, 10);
    c->AjouteGalerie("Branche");
    N.Visee(c, "3", "B1", 0, -20, 15);
    for (int i = 1; i < 6; ++i) N.Visee(c, "B" + std::to_string(i), "B" + std::to_string(i + 1), 0, -20, 15);
    Habi(c, "B5-B6", 0, 0, 20);
    Habi(c, "5-6", 90, 0, 15);
    Habi(c, "2-3", 180, -60, 20);
    N.Regenere();
    N.R().CalculeReseau();
    return c;
  }
  // A splay at the end station of the shot.
  void Habi(survey::TCavite* c, const std::string& visee, double az, double pente, double longueur) {
    auto h = std::make_unique<survey::TViseeHabi>();
    h->Az = az;
    h->pente = pente;
    h->Long = longueur;
    N.Regenere();
    N.R().CalculeReseau();
    Visee(c, visee)->AjouteViseeHabi(std::move(h));
  }
  // The stations of the cave's shots (the entrance among them) and the
  // splay ends, in plan or in the elevation.
  static std::vector<Repere> Reperes(survey::TCavite* c, bool alti) {
    std::vector<Repere> r;
    std::set<const survey::TPointSpeleo*> vus;
    for (const survey::TVisee* v : c->Visees)
      for (const survey::TPointSpeleo* p : {v->PtOrigCalc, v->PtCalc}) {
        if (!vus.insert(p).second) continue;
        const double x0 = alti ? p->Slh : p->X, y0 = alti ? p->ZCalc : p->Y;
        r.push_back({p->DesignPTopo, x0, y0});
        for (const survey::TViseeHabi* h : p->LVHabi)
          r.push_back({p->DesignPTopo + " habillage", alti ? h->SlH : h->X, alti ? h->Z : h->Y, true, x0, y0});
      }
    return r;
  }
  template <class F>
  std::unique_ptr<F> Ouvre(int w, int h) {
    auto f = views::TFicheGraphique::Cree<F>();
    f->resize(w, h);
    f->show();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    return f;
  }
  // Something drawn within two pixels of (x, y).
  static bool Dessine(const QImage& image, foundation::TPoint p) {
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx)
        if (image.valid(p.X + dx, p.Y + dy) && (image.pixel(p.X + dx, p.Y + dy) & 0xFFFFFF) != 0xFFFFFF) return true;
    return false;
  }
  // The landmark drawn: a station at its pixel; a splay, dotted, somewhere
  // on the last 15 pixels of its line, away from its station.
  static bool Dessine(const QImage& image, const Repere& r) {
    const foundation::TPoint e = foundation::XYVersEcran(r.X, r.Y);
    if (!r.Habi) return Dessine(image, e);
    const foundation::TPoint s = foundation::XYVersEcran(r.X0, r.Y0);
    const double l = std::hypot(s.X - e.X, s.Y - e.Y);
    for (int i = 0; i <= std::min(15.0, l - 3); ++i) {
      const double t = l > 0 ? i / l : 0;
      const foundation::TPoint p{static_cast<int32_t>(std::lround(e.X + t * (s.X - e.X))),
                                 static_cast<int32_t>(std::lround(e.Y + t * (s.Y - e.Y)))};
      if (image.valid(p.X, p.Y) && (image.pixel(p.X, p.Y) & 0xFFFFFF) != 0xFFFFFF) return true;
    }
    return false;
  }
  // Every landmark at least 3 pixels inside the paint box, drawn there.
  static void ToutDansLaBoite(views::TFicheGraphique& f, const std::vector<Repere>& reperes) {
    const int W = f.LargeurBoite(), H = f.HauteurBoite();
    const QImage image = f.BaseDessin->grab().toImage();
    for (const Repere& r : reperes) {
      const foundation::TPoint e = foundation::XYVersEcran(r.X, r.Y);
      EXPECT_TRUE(e.X >= 3 && e.X < W - 3 && e.Y >= 3 && e.Y < H - 3)
          << r.Nom << " en " << e.X << "," << e.Y << " dans " << W << " x " << H;
      EXPECT_TRUE(Dessine(image, r)) << r.Nom << " en " << e.X << "," << e.Y;
    }
  }
  // The first view is the one "Zoom général" gives at that size.
  static void CommeLeZoomGeneral(views::TFicheGraphique& f) {
    const foundation::ContexteVue v = foundation::Vue();
    f.findChild<QToolButton*>("ButtonTotal")->click();
    const foundation::ContexteVue& t = foundation::Vue();
    EXPECT_NEAR(t.XDebVue, v.XDebVue, 1e-9);
    EXPECT_NEAR(t.YDebVue, v.YDebVue, 1e-9);
    EXPECT_NEAR(t.EchelleVue, v.EchelleVue, 1e-9);
  }
  // The ground at the view's top-left corner and the width shown, metres.
  static std::array<double, 3> Terrain() {
    const foundation::ContexteVue& v = foundation::Vue();
    return {v.Xmin + v.XDebVue, v.Ymin + v.YDebVue, v.LargeurVue};
  }
};

TEST_F(VueInitiale, LePlanTientToutAChaqueTailleCommeLeZoomGeneral) {
  survey::TCavite* c = Longue();
  const std::vector<Repere> reperes = Reperes(c, false);
  ASSERT_EQ(reperes.size(), 13u + 3) << "stations et bouts d'habillage";
  struct Taille {
    int W, H;
  };
  for (const Taille t : {Taille{900, 700}, {700, 900}, {1200, 400}, {400, 1200}, {640, 480}}) {
    SCOPED_TRACE(std::to_string(t.W) + " x " + std::to_string(t.H));
    auto f = Ouvre<views::TFicheVisuPlan>(t.W, t.H);
    ASSERT_TRUE(f->BoiteDimensionnee());
    ToutDansLaBoite(*f, reperes);
    CommeLeZoomGeneral(*f);
    f->reject();
    f.reset();
    // Each size starts without a remembered view.
    views::MemoiresCaviteActive() = {};
  }
}

TEST_F(VueInitiale, LElevationTientTout) {
  survey::TCavite* c = Longue();
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
  annexe->LeDessinAlti = annexe->LesCoupesLong.AjouteDonneeCoupe(TTypeDeDessin::tddAltiDev,
                                                                 drawing::TViseesDeRef(&c->Visees), false, "D");
  foundation::GardeTypeDessin alti(TTypeDeDessin::tddAltiDev);
  for (const auto& [w, h] : {std::pair{900, 700}, {400, 1000}}) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    auto f = Ouvre<views::TFicheVisuCoupe>(w, h);
    ASSERT_TRUE(f->BoiteDimensionnee());
    // Computed with the view open: the elevation's developed lengths.
    ToutDansLaBoite(*f, Reperes(c, true));
    CommeLeZoomGeneral(*f);
    f->reject();
    f.reset();
    views::MemoiresCaviteActive() = {};
  }
}

TEST_F(VueInitiale, VueRetenueRemiseSurLeMemeTerrain) {
  survey::TCavite* c = Longue();
  std::array<double, 3> zoomee{};
  {
    auto f = Ouvre<views::TFicheVisuPlan>(900, 700);
    f->findChild<QToolButton*>("ButtonPlus")->click();
    f->findChild<QToolButton*>("ButtonPlus")->click();
    zoomee = Terrain();
    f->reject();
  }
  {
    // Opened again: the view shown at closing.
    auto f = Ouvre<views::TFicheVisuPlan>(900, 700);
    const auto t = Terrain();
    for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(t[i], zoomee[i], 1e-6) << i;
    f->reject();
  }
  // A shot 60 m south-west of 1 moves the drawing origin west and south.
  N.Visee(c, "1", "W", 225, 0, 60);
  N.Regenere();
  N.R().CalculeReseau();
  {
    auto f = Ouvre<views::TFicheVisuPlan>(900, 700);
    EXPECT_LT(foundation::Vue().Xmin, 712340 - 30);
    EXPECT_LT(foundation::Vue().Ymin, 6447810 - 30);
    const auto t = Terrain();
    for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(t[i], zoomee[i], 1e-6) << i;
    f->reject();
  }
}

TEST_F(VueInitiale, GraduationsDuPlanAuDemiMetre) {
  // The plan's coordinate ticks zoomed in to a step of 50 cm: the Y labels
  // have one decimal, two neighbours differ by 0.5, and on the window's
  // picture the pixels of neighbouring labels (10 pixels from the left,
  // around their line) differ.
  Longue();
  auto f = Ouvre<views::TFicheVisuPlan>(900, 700);
  f->findChild<QToolButton*>("GrillePlaniBtn")->click();
  for (int i = 0; i < 20 && drawing::PasGraduationVue() > 0.5; ++i) f->findChild<QToolButton*>("ButtonPlus")->click();
  ASSERT_DOUBLE_EQ(drawing::PasGraduationVue(), 0.5);
  QApplication::processEvents();
  const QImage image = f->BaseDessin->grab().toImage();
  ASSERT_NE(f->MirePlani, nullptr);
  platform::TextLogCanvas traces(f->LargeurBoite(), f->HauteurBoite());
  f->MirePlani->DessineObjet(traces);
  // The horizontal lines and their labels, in drawing order (downwards).
  std::vector<std::pair<int, std::string>> etiquettes;
  for (const std::string& l : traces.Log) {
    int x = 0, y = 0;
    char texte[64] = {};
    if (std::sscanf(l.c_str(), "TextOut %d,%d esc=0 \" %63[^ \"]", &x, &y, texte) == 3) etiquettes.emplace_back(y, texte);
  }
  ASSERT_GE(etiquettes.size(), 3u);
  const auto cellule = [&](int y) {
    std::string pixels;
    for (int dy = 0; dy < 12; ++dy)
      for (int dx = 0; dx < 80; ++dx)
        pixels += (image.pixel(10 + dx, y + dy) & 0xFFFFFF) == 0xFFFFFF ? '.' : '#';
    return pixels;
  };
  for (size_t i = 0; i < etiquettes.size(); ++i) {
    const std::string& t = etiquettes[i].second;
    EXPECT_EQ(t.size() - t.find('.'), 2u) << t;
    if (i == 0) continue;
    EXPECT_NEAR(std::stod(etiquettes[i - 1].second) - std::stod(t), 0.5, 1e-6) << etiquettes[i - 1].second << " " << t;
    EXPECT_NE(cellule(etiquettes[i].first), cellule(etiquettes[i - 1].first)) << etiquettes[i - 1].second << " " << t;
  }
}

}  // namespace
