#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>
#include <stdexcept>

#include "foundation/point_topo.h"
#include "foundation/transformation_vue.h"
#include "platform/text_log_canvas.h"

using namespace foundation;

namespace {

// Sets a view for the life of the test and puts the previous one back.
struct VueDEssai {
  GardeTransfo garde;
  GardeTypeDessin type{TTypeDeDessin::tddPlani};
  VueDEssai(double xmin, double ymin, int32_t xDeb, int32_t yDeb, double echelle) {
    Vue().Xmin = xmin;
    Vue().Ymin = ymin;
    Vue().XDebVue = xDeb;
    Vue().YDebVue = yDeb;
    Vue().EchelleVue = echelle;
  }
};

}  // namespace

TEST(TypeDessin, PlanElevationCoupe) {
  struct Case {
    TTypeDeDessin type;
    bool alti, coupe;
  };
  const Case cases[] = {
      {TTypeDeDessin::tddPlani, false, false},   {TTypeDeDessin::tddAltiDev, true, false},
      {TTypeDeDessin::tddAltiOr, true, false},   {TTypeDeDessin::tddAltiProj, true, false},
      {TTypeDeDessin::tddCoupe, false, true},
  };
  for (const Case& c : cases) {
    GardeTypeDessin g(c.type);
    EXPECT_EQ(EstDessinAlti(), c.alti) << int(c.type);
    EXPECT_EQ(EstDessinCoupe(), c.coupe) << int(c.type);
  }
  EXPECT_EQ(Vue().TypeDessinCourant, TTypeDeDessin::tddPlani);
  EXPECT_EQ(MotDessinAlti(TTypeDeDessin::tddAltiDev), "développée");
  EXPECT_EQ(MotDessinAlti(TTypeDeDessin::tddAltiOr), "développée");
  EXPECT_EQ(MotDessinAlti(TTypeDeDessin::tddAltiProj), "projetée");
  EXPECT_EQ(MotEtendueDessin(false), "totale");
  EXPECT_EQ(MotEtendueDessin(true), "partielle");
  uint8_t r, v, b;
  DecomposeCouleur(CouleurMarqueVisee, r, v, b);
  EXPECT_EQ(r, 207);
  EXPECT_EQ(v, 249);
  EXPECT_EQ(b, 145);
}

TEST(Transfo, GardeRestaureAussiSurException) {
  GardeTransfo exterieure;
  Vue().Xmin = 11;
  Vue().EchelleVue = 3;
  Vue().ZoneLambert = -4;
  try {
    GardeTransfo g;
    EXPECT_EQ(g.Sauvegarde().Xmin, 11);
    Vue().Xmin = 99;
    Vue().EchelleVue = 1;  // a preview
    Vue().ZoneLambert = 2;
    throw std::runtime_error("dessin interrompu");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(Vue().Xmin, 11);
  EXPECT_EQ(Vue().EchelleVue, 3);
  EXPECT_EQ(Vue().ZoneLambert, -4);
  // SauveTransfo / RestaureTransfo by hand, as a window that draws another view.
  TSauveParamsTransfo r;
  SauveTransfo(r);
  const double slmin = Vue().SLmin;
  Vue().SLmin = slmin + 123;
  RestaureTransfo(r);
  EXPECT_EQ(Vue().SLmin, slmin);
}

TEST(Transfo, OrigineDuDessinEtDeLEcran) {
  VueDEssai v(850000.5, 6400000.25, 0, 0, 2.5);
  const TPointTopo origine = PtTopoXY(850000.5, 6400000.25);
  EXPECT_EQ(PtTopoVersDessin(origine), (TPoint{0, 0}));
  EXPECT_EQ(PtTopoVersEcran(origine), (TPoint{0, 0}));
  EXPECT_EQ(XYVersDessin(850001.5, 6400000.75), (TPoint{1000, 500}));
  // Screen Y points down: a point north of the origin is above the screen's top.
  EXPECT_EQ(XYVersEcran(850002.5, 6400002.25), (TPoint{5, -5}));

  // In an elevation the origin is (SLmin, Zmin) and the point carries SlH and Z in X and Y.
  GardeTypeDessin alti(TTypeDeDessin::tddAltiDev);
  Vue().SLmin = 100;
  Vue().Zmin = -50;
  TPointTopo p;
  p.SlH = 100;
  p.Z = -50;
  p.X = 850000.5;  // a plan position that must not be used
  p.Y = 6400000.25;
  PtTopoVersAlti(p);
  EXPECT_EQ(PtTopoVersDessin(p), (TPoint{0, 0}));
  TPointTopo q = PtTopoXY(1, 2);
  q.Num = 5;
  DessinVersPtTopo(TPoint{2500, -1000}, q);
  EXPECT_EQ(q.SlH, 102.5);
  EXPECT_EQ(q.X, 102.5);
  EXPECT_EQ(q.Z, -51);
  EXPECT_EQ(q.Y, -51);
  EXPECT_EQ(q.Num, 5u);

  // A cross section works in the plan frame.
  GardeTypeDessin coupe(TTypeDeDessin::tddCoupe);
  TPointTopo c;
  c.SlH = 7;
  XYDessinVersPtTopo(1000, 2000, c);
  EXPECT_EQ(c.X, 850001.5);
  EXPECT_EQ(c.Y, 6400002.25);
  EXPECT_EQ(c.SlH, 7);
}

TEST(Transfo, AllerRetourEcran) {
  // One pixel per metre: back within one metre.
  {
    VueDEssai v(1000, 2000, -30, 400, 1);
    for (TPoint d : {TPoint{0, 0}, TPoint{123456, -98765}, TPoint{-499, 1501}, TPoint{2000000000, -2000000000}}) {
      const TPoint retour = EcranVersDessin(DessinVersEcran(d));
      EXPECT_LE(std::abs(int64_t{retour.X} - d.X), 1000) << d.X;
      EXPECT_LE(std::abs(int64_t{retour.Y} - d.Y), 1000) << d.Y;
    }
  }
  // One pixel per drawing unit: ground -> screen -> ground within one unit.
  {
    VueDEssai v(850000, 6400000, 12, 345, FacteurDessin);
    for (double x : {850000.0, 850012.3456, 850099.9994}) {
      const TPointTopo sol = PtTopoXY(x, x - 850000 + 6400100);
      TPointTopo retour;
      EcranVersPtTopo(PtTopoVersEcran(sol), retour);
      EXPECT_NEAR(retour.X, sol.X, 1.0 / FacteurDessin) << x;
      EXPECT_NEAR(retour.Y, sol.Y, 1.0 / FacteurDessin) << x;
    }
  }
}

TEST(Transfo, ArrondiAuPair) {
  VueDEssai v(0, 0, 0, 0, 1);
  struct Case {
    int32_t x;
    int32_t attendu;
  };
  // x / 1000 is an exact half: round half to even.
  const Case cases[] = {{500, 0}, {1500, 2}, {2500, 2}, {3500, 4}, {-500, 0}, {-1500, -2}};
  for (const Case& c : cases) {
    EXPECT_EQ(DessinVersEcran(TPoint{c.x, 0}).X, c.attendu) << c.x;
    EXPECT_EQ(DessinVersEcran(TPoint{0, c.x}).Y, -c.attendu) << c.x;
  }
  Vue().EchelleVue = 2;
  EXPECT_EQ(EcranVersVue(TPoint{1, 3}), (TPoint{0, -2}));
  EXPECT_EQ(EcranVersVue(TPoint{5, -7}), (TPoint{2, 4}));
  EXPECT_EQ(EcranVersDessin(TPoint{5, -7}), (TPoint{2500, 3500}));
  EXPECT_EQ(LongueurEcranVersVue(5), 2.5);

  // 250 m at 1:100 on one dot per paper metre: 2.5 dots -> 2.
  const TParamsImprimante p{100, 1, 30, 1.0, 7, 9};
  EXPECT_EQ(XVersImprimante(250, p), 2 + 30 - 7);
  EXPECT_EQ(XVersImprimante(350, p), 4 + 30 - 7);
  const TParamsImprimante q{1, 2, 0, 1.0, 0, 9};
  EXPECT_EQ(YVersImprimante(0.25, q), 2 - 9);  // (0.25 + 1) × 2 = 2.5
  EXPECT_EQ(YVersImprimante(0.75, q), 4 - 9);
}

TEST(Transfo, RectangleEcranNormalise) {
  VueDEssai v(0, 0, 0, 100, 1);
  // A drawing rectangle with Top the larger Y becomes a screen rectangle with Top the smaller.
  const TRect r = RectDessinVersEcran(TRect{1000, 50000, 20000, 10000});
  EXPECT_EQ(r, (TRect{1, 50, 20, 90}));
  EXPECT_EQ(RectDessinVersEcran(TRect{20000, 10000, 1000, 50000}), r);
}

TEST(OutilsCanvas, CroixEtBitmap) {
  platform::TextLogCanvas c(40, 30);
  DessineCroix(c, 10, 20, 3);
  c.Brush.Color = platform::kBlack;
  c.Brush.Style = platform::BrushStyle::Cross;
  EXPECT_EQ(RectBitmap(c), (TRect{0, 0, 40, 30}));
  EffaceBitmap(c);
  EXPECT_EQ(c.Brush.Color, platform::kWhite);
  EXPECT_EQ(c.Brush.Style, platform::BrushStyle::Solid);
  EXPECT_EQ(c.Log, (std::vector<std::string>{"LineTo 7,20 13,20", "LineTo 10,17 10,23", "FillRect 0,0,40,30"}));
}
