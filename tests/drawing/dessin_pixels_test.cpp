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

TEST_F(Pixels, LesTicsDuTiretHachureTousLes15Pixels) {
  foundation::Vue().EchelleVue = 10;
  TObjetTrait style;
  style.StylePlume = MesPenStyle::mpsTiretHachure;
  TDessinLigne l(&style);
  const int x0 = 20, y = 50;
  l.AjoutePoint(Dessin(x0, y));
  l.AjoutePoint(Dessin(x0 + 150, y));
  QtCanvas canvas(200, 100);
  l.DessineObjet(canvas);
  // Ticks 3 pixels long on the upper side at x0 + 5 + 15k; nothing above the
  // line between them; the dashes on the line, the gaps empty.
  for (int k = 0; k < 10; ++k) {
    const int xt = x0 + 5 + 15 * k;
    EXPECT_TRUE(Encre(canvas, xt, y - 2)) << k;
    EXPECT_FALSE(Encre(canvas, xt - 3, y - 2)) << k;
    EXPECT_FALSE(Encre(canvas, xt + 3, y - 2)) << k;
    EXPECT_TRUE(Encre(canvas, x0 + 15 * k + 2, y)) << k;
    EXPECT_FALSE(Encre(canvas, x0 + 15 * k + 12, y)) << k;
  }
}

TEST_F(Pixels, DesTrianglesPleinsTousLes8Pixels) {
  // At 20 pixels per metre: bases of 16 pixels, apexes 8 pixels above the
  // line at x0 + 8 + 16k.
  foundation::Vue().EchelleVue = 20;
  TObjetTrait style;
  style.StylePlume = MesPenStyle::mpsTrianglePlein;
  TDessinLigne l(&style);
  const int x0 = 10, y = 50;
  l.AjoutePoint(Dessin(x0, y));
  l.AjoutePoint(Dessin(x0 + 160, y));
  QtCanvas canvas(200, 100);
  l.DessineObjet(canvas);
  for (int k = 0; k < 10; ++k) {
    const int xa = x0 + 8 + 16 * k;
    EXPECT_TRUE(Encre(canvas, xa, y - 7, 1)) << k;
    EXPECT_TRUE(Encre(canvas, xa, y - 3)) << k << " filled";
    EXPECT_FALSE(Encre(canvas, xa + 8, y - 6)) << k;
    EXPECT_FALSE(Encre(canvas, xa, y + 3)) << k;
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
