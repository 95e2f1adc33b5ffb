// Lines drawn on the Qt image canvas, probed at pixels computed from the
// model.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "drawing/contexte_dessin.h"
#include "drawing/contexte_motifs.h"
#include "drawing/dessin_ligne.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"

namespace {

using namespace drawing;
using foundation::TPoint;
using platform::kWhite;
using platform::QtCanvas;

class Pixels : public ::testing::Test {
 protected:
  Pixels() {
    auto& v = foundation::Vue();
    v.XDebVue = 0;
    v.YDebVue = 0;
    v.EchelleFontes = 0;
    foundation::Impression().EnImpression = false;
    Affichage() = EtatAffichage{};
    Affichage().ToutDessiner = true;
  }
  // Drawing units of a pixel at the view scale.
  static TPoint Dessin(double px, double py) {
    const double u = foundation::FacteurDessin / foundation::Vue().EchelleVue;
    return {static_cast<int32_t>(std::lround(px * u)), static_cast<int32_t>(std::lround(-py * u))};
  }
  // Whether a pixel within d of (x, y) is not white.
  static bool Encre(const QtCanvas& c, int x, int y, int d = 0) {
    for (int dy = -d; dy <= d; ++dy)
      for (int dx = -d; dx <= d; ++dx)
        if (c.Pixel(x + dx, y + dy) != kWhite) return true;
    return false;
  }

 private:
  foundation::GardeTransfo vue_;
  foundation::GardeImpression impression_;
  GardeAffichage affichage_;
  GardeContexteDessin dessin_;
};

// A horizontal line y = 50 in a style that repeats along it, probed over ten
// periods: each probe is the pixel (x0 + période·k + dx, 50 + dy), inked or
// blank within d pixels.
TEST_F(Pixels, MotifsPeriodiquesLeLongDUneLigne) {
  struct Sonde {
    int dx, dy, d;
    bool encre;
    const char* quoi;
  };
  struct Cas {
    const char* nom;
    MesPenStyle style;
    double echelle;  // pixels per metre
    int x0, longueur, periode;
    std::vector<Sonde> sondes;
  };
  const Cas cas[] = {
      // Ticks 3 pixels long on the upper side at x0 + 5 + 15k; nothing above
      // the line between them; the dashes on the line, the gaps empty.
      {"tiret hachuré, tics tous les 15 pixels", MesPenStyle::mpsTiretHachure, 10, 20, 150, 15,
       {{5, -2, 0, true, "tic"},
        {2, -2, 0, false, "avant le tic"},
        {8, -2, 0, false, "après le tic"},
        {2, 0, 0, true, "tiret"},
        {12, 0, 0, false, "intervalle"}}},
      // At 20 pixels per metre: bases of 16 pixels, apexes 8 pixels above the
      // line at x0 + 8 + 16k.
      {"triangles pleins tous les 16 pixels", MesPenStyle::mpsTrianglePlein, 20, 10, 160, 16,
       {{8, -7, 1, true, "sommet"},
        {8, -3, 0, true, "filled"},
        {16, -6, 0, false, "entre deux triangles"},
        {8, 3, 0, false, "sous la ligne"}}},
  };
  for (const Cas& c : cas) {
    foundation::Vue().EchelleVue = c.echelle;
    TObjetTrait style;
    style.StylePlume = c.style;
    TDessinLigne l(&style);
    const int y = 50;
    l.AjoutePoint(Dessin(c.x0, y));
    l.AjoutePoint(Dessin(c.x0 + c.longueur, y));
    QtCanvas canvas(200, 100);
    l.DessineObjet(canvas);
    for (int k = 0; k < 10; ++k)
      for (const Sonde& s : c.sondes)
        EXPECT_EQ(Encre(canvas, c.x0 + c.periode * k + s.dx, y + s.dy, s.d), s.encre)
            << c.nom << ", " << s.quoi << ", période " << k;
  }
}

TEST_F(Pixels, UnePolyligneNonXorDessineeDeuxFoisRestaureLeFond) {
  foundation::Vue().EchelleVue = 1000;
  QtCanvas canvas(120, 120);
  for (int x = 0; x < 120; ++x)
    for (int y = 0; y < 120; ++y) canvas.SetPixel(x, y, (x / 3) % 2 ? 0x3366CC : 0xF0E0D0);
  const QImage avant = canvas.Image().copy();
  TObjetTrait eau;
  eau.CouleurPlume = 0xFF8000;
  eau.ModePlume = TModePlume::pmNotXor;
  TDessinLigne l(&eau);
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{10, 10}, {100, 15}, {60, 90}, {15, 100}, {20, 40}})
    l.AjoutePoint(Dessin(x, y));
  l.DessineObjet(canvas);
  EXPECT_NE(canvas.Image(), avant);
  l.DessineObjet(canvas);
  EXPECT_EQ(canvas.Image(), avant);
}

TEST_F(Pixels, EpaisseursImprimees) {
  // A page at 1:500 with fonts at 1:1000: width 1 prints 4 dots wide, width 3
  // twelve.
  foundation::Impression().EnImpression = true;
  foundation::Impression().EchellePrn = 500;
  foundation::Vue().EchelleFontes = 1000;
  Affichage().RepereSymbole = true;
  Affichage().HauteurRepereSymbole = 100;
  for (const auto& [epaisseur, attendu] : std::vector<std::pair<int, int>>{{1, 4}, {3, 12}}) {
    TObjetTrait style;
    style.EpaisseurPlume = epaisseur;
    TDessinLigne l(&style);
    l.AjoutePointLoc(10, 50);
    l.AjoutePointLoc(190, 50);
    QtCanvas canvas(200, 100);
    l.DessineObjet(canvas);
    int n = 0;
    for (int y = 0; y < 100; ++y) n += canvas.Pixel(100, y) != kWhite;
    EXPECT_NEAR(n, attendu, 1) << epaisseur;
  }
}

TEST_F(Pixels, UnArcPasseParSesTroisPoints) {
  foundation::Vue().EchelleVue = 1000;
  QtCanvas canvas(300, 300);
  TDessinArc arc(&Motifs().TraitObjetDefaut);
  const std::vector<std::pair<int, int>> points{{100, 200}, {150, 200}, {200, 150}};
  for (const auto& [x, y] : points) arc.AjoutePoint(Dessin(x, y));
  arc.DessineObjet(canvas);
  for (const auto& [x, y] : points) EXPECT_TRUE(Encre(canvas, x, y, 1)) << x << "," << y;
  // The short way round: the top of the circle stays blank.
  EXPECT_NEAR(arc.PtCentre.X, 25 + 100, 1e-6);
  EXPECT_NEAR(arc.PtCentre.Y, -(200 - 75), 1e-6);
  EXPECT_FALSE(Encre(canvas, 125, 46, 2));
  EXPECT_TRUE(Encre(canvas, 125 + 56, 125 + 56, 1)) << "the arc between the middle and the end point";
}

TEST_F(Pixels, UneLongueLigneLisseeAtteintSonDernierPoint) {
  foundation::Vue().EchelleVue = 1000;
  TObjetTrait lisse;
  lisse.TraitLisse = true;
  TDessinLigne l(&lisse);
  for (int i = 0; i < 5000; ++i) l.AjoutePoint(Dessin(10 + i * 0.1, 100 + 40 * std::sin(i * 0.01)));
  QtCanvas canvas(600, 200);
  l.DessineObjet(canvas);
  const TPoint fin = l.PointsList.back().PtVue();
  EXPECT_TRUE(Encre(canvas, fin.X, fin.Y, 1));
  EXPECT_TRUE(Encre(canvas, 260, 100 + static_cast<int>(std::lround(40 * std::sin(2500 * 0.01))), 1));
}

}  // namespace
