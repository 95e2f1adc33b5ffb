// Symbols drawn on the Qt image canvas and on the recording canvas: placed
// symbols, fixed direction and size, stroke widths, the scale bar, surface
// symbols at surface points, and the symbol previews.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "drawing/contexte_motifs.h"
#include "drawing/dessin_point_surface.h"
#include "drawing/dessin_symbole.h"
#include "drawing/symbole.h"
#include "foundation/catalogue.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"
#include "survey/point_speleo.h"
#include "tests/drawing/outils_vue.h"

namespace {

using namespace drawing;
using foundation::TPointTopo;
using platform::kBlack;
using platform::kWhite;
using platform::QtCanvas;

// 10 pixels per metre, pixel (0, 0) at ground (0, 30).
class SymbolesDessin : public ::testing::Test {
 protected:
  SymbolesDessin() : usine_(fabrique_) {}
  // Drawing units of a pixel.
  static TPointTopo D(double px, double py) { return foundation::PtTopoXY(100 * px, 30000 - 100 * py); }

  // A symbol of one element through the points, in a style of that width;
  // filled (copy mode, black brush) when asked.
  static std::unique_ptr<TSymbole> Symbole(std::vector<foundation::TPoint> points, bool rempli, int32_t largeur = 1,
                                           uint32_t couleur = 0) {
    auto s = std::make_unique<TSymbole>();
    TObjetTrait style;
    style.EpaisseurPlume = largeur;
    style.CouleurPlume = style.CouleurPinceau = couleur;
    style.NumMotif = rempli ? 0 : -1;
    TDefinitForme forme;
    forme.nbPts = static_cast<int32_t>(points.size());
    for (size_t i = 0; i < points.size(); ++i) forme.Pts[i] = points[i];
    s->AjouteDefElement(forme, 0, &style, 0);
    return s;
  }

  static platform::Rect Boite(const QtCanvas& c) {
    platform::Rect r{c.Width(), c.Height(), -1, -1};
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x)
        if (c.Pixel(x, y) != kWhite) {
          r.Left = std::min(r.Left, x);
          r.Top = std::min(r.Top, y);
          r.Right = std::max(r.Right, x + 1);
          r.Bottom = std::max(r.Bottom, y + 1);
        }
    return r;
  }

  testvue::Vue vue{10, 0, 30, 400, 400};

 private:
  platform::QtCanvasFactory fabrique_;
  platform::ScopedCanvasFactory usine_;
};

TEST_F(SymbolesDessin, FlecheA45DegresTeteAuSecondPoint) {
  TListeSymboles l;
  l.InitDefaut();
  TSymbole* fleche = l.LeSymbole(0);
  ASSERT_EQ(fleche->DesignMotif, foundation::Msg(foundation::IdMsg::SymboleFleche));
  // Base at pixel (20, 380), extremity at (380, 20): 300 symbol units over
  // 509 pixels.
  const double ax = 20, ay = 380, bx = 380, by = 20;
  TDessinSymbole s(fleche);
  s.AjoutePointTopo(D(ax, ay));
  s.AjoutePointTopo(D(bx, by));
  s.InitDimensions();
  QtCanvas c(400, 400);
  s.DessineObjet(c);
  const double L = std::hypot(bx - ax, by - ay), k = L / 300;
  const double ux = (bx - ax) / L, uy = (by - ay) / L;
  // The pixel at u symbol units along the axis and v across it.
  const auto pixel = [&](double u, double v) {
    return c.Pixel(static_cast<int>(std::lround(ax + ux * u * k - uy * v * k)),
                   static_cast<int>(std::lround(ay + uy * u * k + ux * v * k)));
  };
  // The head, 7 units wide on each side at 275, near the second point.
  EXPECT_EQ(pixel(275, 0), kBlack);
  EXPECT_EQ(pixel(275, 5), kBlack);
  EXPECT_EQ(pixel(275, -5), kBlack);
  // The shaft, 6 x 1.7 pixels wide, without a head at the first point.
  EXPECT_EQ(pixel(40, 0), kBlack);
  EXPECT_EQ(pixel(40, 6), kWhite);
  EXPECT_EQ(pixel(40, -6), kWhite);
  EXPECT_EQ(pixel(310, 0), kWhite);
}

TEST_F(SymbolesDessin, DirectionFixeBoiteDroiteATousLesAngles) {
  // A filled square of side 100 between base (0, 0) and extremity (100, 0):
  // at every angle it stands upright over the middle of the two positions,
  // its side the distance between them.
  auto carre = Symbole({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, true);
  carre->PtBase = foundation::PtTopoXY(0, 0);
  carre->PtExtrem = foundation::PtTopoXY(100, 0);
  carre->DirFixe = true;
  for (const double angle : {0.0, 30.0, 75.0, 160.0}) {
    const double a = angle * std::acos(-1.0) / 180;
    QtCanvas c(400, 400);
    const double r = 50;
    carre->DessineSymbole(D(200 - r * std::cos(a), 200 + r * std::sin(a)),
                          D(200 + r * std::cos(a), 200 - r * std::sin(a)), c);
    const platform::Rect b = Boite(c);
    EXPECT_NEAR(b.Left, 150, 1) << angle;
    EXPECT_NEAR(b.Right, 251, 1) << angle;
    EXPECT_NEAR(b.Bottom, 201, 1) << angle;
    EXPECT_NEAR(b.Top, 100, 1) << angle;
  }
}

TEST_F(SymbolesDessin, EpaisseursDesElementsOuvertsEtRemplis) {
  // 100 symbol units over 200 pixels: CoeffTrait 2.
  auto s = Symbole({{0, 0}, {100, 0}}, false, 3);
  TObjetTrait plein;
  plein.EpaisseurPlume = 3;
  plein.NumMotif = 0;
  TDefinitForme triangle;
  triangle.nbPts = 3;
  triangle.Pts[0] = {0, 0};
  triangle.Pts[1] = {50, 40};
  triangle.Pts[2] = {100, 0};
  s->AjouteDefElement(triangle, 0, &plein, 0);
  s->PtBase = foundation::PtTopoXY(0, 0);
  s->PtExtrem = foundation::PtTopoXY(100, 0);
  testvue::Espion c(400, 400);
  s->DessineSymbole(D(100, 200), D(300, 200), c);
  EXPECT_DOUBLE_EQ(s->CoeffTrait, 2);
  ASSERT_EQ(c.Lignes("LineTo").size(), 1u);
  EXPECT_NE(c.Lignes("LineTo")[0].find(" w=6 "), std::string::npos) << c.Lignes("LineTo")[0];
  ASSERT_EQ(c.Lignes("Polygon").size(), 1u);
  EXPECT_NE(c.Lignes("Polygon")[0].find(" w=3 "), std::string::npos) << c.Lignes("Polygon")[0];
  // The widths are the symbol's again.
  EXPECT_EQ(s->UnElement(0)->UnTrait->EpaisseurPlume, 3);
  EXPECT_EQ(s->UnElement(1)->UnTrait->EpaisseurPlume, 3);
}

TEST_F(SymbolesDessin, BaseEgaleExtremiteNeDessineRien) {
  auto s = Symbole({{0, 0}, {100, 0}}, false, 2);
  s->PtBase = s->PtExtrem = foundation::PtTopoXY(5, 5);
  testvue::Espion c(400, 400);
  s->DessineSymbole(D(100, 200), D(300, 200), c);
  EXPECT_TRUE(c.Log.empty());
  TSymbSurface surf;
  surf.LesElements.Add(s->UnElement(0)->CloneElement());
  surf.PtBase = surf.PtExtrem = foundation::PtTopoXY(0, 0);
  surf.DessineSymbSurf(foundation::PtTopoXY(10, 10), c, 2);
  EXPECT_TRUE(c.Log.empty());
}

TEST_F(SymbolesDessin, LongueurFixeDuSymbolePlace) {
  // Base (0, 0), extremity (100, 0), height 50, fixed size 2 m: with a fixed
  // direction v = 100 x 2 / 50 = 4, half-length 2000; otherwise 1000.
  auto s = Symbole({{0, 0}, {100, 0}, {100, 50}}, false);
  s->PtBase = foundation::PtTopoXY(0, 0);
  s->PtExtrem = foundation::PtTopoXY(100, 0);
  s->ValDimFixe = 2;
  for (const bool fixe : {true, false}) {
    s->DirFixe = fixe;
    const double attendu = fixe ? 2000 : 1000;
    TDessinSymbole p(s.get());
    p.InitObjet(100, 100);
    EXPECT_DOUBLE_EQ(p.Long, attendu);
    p.Dimension(true);
    EXPECT_DOUBLE_EQ(p.Long, attendu);
    p.InitDimensions();
    EXPECT_DOUBLE_EQ(p.Long, attendu);
  }
  s->ValDimFixe = -1;
  TDessinSymbole libre(s.get());
  libre.InitObjet(100, 100);
  EXPECT_DOUBLE_EQ(libre.Long, 1000);
  libre.Dimension(true);
  EXPECT_DOUBLE_EQ(libre.Long, 1100);
  libre.Dimension(false);
  EXPECT_DOUBLE_EQ(libre.Long, 990);
}

TEST_F(SymbolesDessin, EchelleDe100Metres) {
  // 2530 units over 506 pixels from (20, 100): columns at 20 + 0, 50.6,
  // 101.2, 151.8, 202.4, 253 and 506, rows at 100, 110 and 120.
  tnvEchelle e;
  e.LongueurEchelle = 100;
  QtCanvas c(600, 300);
  e.DessineSymbole(D(20, 100), D(526, 100), c);
  const double colonnes[7] = {0, 50.6, 101.2, 151.8, 202.4, 253, 506};
  for (int ligne = 0; ligne < 2; ++ligne) {
    for (int k = 0; k < 6; ++k) {
      const int x = static_cast<int>(std::lround(20 + (colonnes[k] + colonnes[k + 1]) / 2));
      const bool noir = (k % 2 == 0) == (ligne == 1);
      EXPECT_EQ(c.Pixel(x, 105 + 10 * ligne), noir ? kBlack : kWhite) << ligne << " " << k;
    }
  }
  EXPECT_EQ(e.Larg, 506);
  // Labels: font 50 x 506 / 2530 = 10, one text height above the bar.
  testvue::Espion r(600, 300);
  r.CharWidth = 6;
  e.DessineSymbole(D(20, 100), D(526, 100), r);
  EXPECT_EQ(r.Lignes("TextOut"),
            (std::vector<std::string>{"TextOut 20,84 esc=0 \"0\" [Arial 10 000000]",
                                      "TextOut 261,84 esc=0 \"50 m\" [Arial 10 000000]",
                                      "TextOut 496,84 esc=0 \"100 m\" [Arial 10 000000]"}));
  EXPECT_EQ(e.Haut, 20 + 16);
}

TEST_F(SymbolesDessin, FlecheNordRectangleEtTexte) {
  // The north arrow from pixel (200, 300) to (200, 100): its pixel envelope
  // holds its outline, and its text "N" is written.
  auto nord = CreeFlecheNord(false);
  nord->CalculeExtremites();
  testvue::Espion c(400, 400);
  nord->DessineSymbole(D(200, 300), D(200, 100), c);
  const std::vector<std::string> polygones = c.Lignes("Polygon");
  ASSERT_EQ(polygones.size(), 1u);
  std::istringstream mots(polygones[0].substr(8));
  std::string mot;
  int sommets = 0;
  while (mots >> mot && mot.find(',') != std::string::npos && mot[0] != 'w') {
    const int x = std::stoi(mot.substr(0, mot.find(','))), y = std::stoi(mot.substr(mot.find(',') + 1));
    EXPECT_GE(x, nord->RectSymb.Left);
    EXPECT_LE(x, nord->RectSymb.Right);
    EXPECT_GE(y, nord->RectSymb.Top);
    EXPECT_LE(y, nord->RectSymb.Bottom);
    ++sommets;
  }
  EXPECT_EQ(sommets, 8);
  EXPECT_LT(nord->RectSymb.Bottom - nord->RectSymb.Top, 220);
  EXPECT_GT(nord->RectSymb.Bottom - nord->RectSymb.Top, 150);
  const std::vector<std::string> textes = c.Lignes("TextOut");
  ASSERT_EQ(textes.size(), 1u);
  EXPECT_NE(textes[0].find("\"N\""), std::string::npos) << textes[0];
}

// --- Surface symbols at surface points -----------------------------------------------

class SymbolesSurface : public SymbolesDessin {
 protected:
  SymbolesSurface() {
    station.X = 20;
    station.Y = 10;
    // A red filled square of side 10 from base (0, 0) to extremity (10, 0).
    auto e = Symbole({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true, 1, 0x0000FF)->UnElement(0)->CloneElement();
    symbole.LesElements.Add(std::move(e));
    symbole.PtBase = foundation::PtTopoXY(0, 0);
    symbole.PtExtrem = foundation::PtTopoXY(10, 0);
    station.CategorieSurface = &symbole;
  }
  ~SymbolesSurface() override { station.PtGraph = nullptr; }
  survey::TPointSpeleo station;
  TSymbSurface symbole;
};

TEST_F(SymbolesSurface, LaCategorieDessineSonSymboleALaStation) {
  // The station at pixel (200, 200); s = 5 so L = 2.5 x 5 / 10 = 1.25 m =
  // 12.5 pixels: the square from (200, 200) to about (212, 188).
  const uint32_t surface = 0x00FF00;
  Motifs().TraitPointsSurface.CouleurPlume = Motifs().TraitPointsSurface.CouleurPinceau = surface;
  for (const bool pourTous : {true, false}) {
    Motifs().CouleurPourTous = pourTous;
    TDessinPointSurface p(&station);
    QtCanvas c(400, 400);
    p.DessineObjet(c);
    EXPECT_EQ(c.Pixel(206, 194), pourTous ? surface : 0x0000FFu) << pourTous;
    // No triangle: its apex would be at (200, 180).
    EXPECT_EQ(c.Pixel(200, 181), kWhite);
    EXPECT_EQ(symbole.UnElement(0)->UnTrait->CouleurPinceau, 0x0000FFu);
    EXPECT_EQ(symbole.UnElement(0)->UnTrait->CouleurPlume, 0x0000FFu);
  }
  // A category without drawing: the triangle.
  TSymbSurface vide;
  station.CategorieSurface = &vide;
  TDessinPointSurface p(&station);
  QtCanvas c(400, 400);
  p.DessineObjet(c);
  EXPECT_NE(c.Pixel(200, 199), kWhite);
}

// --- Previews -----------------------------------------------------------------------

TEST_F(SymbolesDessin, ApercusAvecMarquesDeTailleEtDirectionFixes) {
  auto s = Symbole({{0, 0}, {100, 0}, {100, 100}}, false, 1);
  struct Cas {
    bool dimFixe, dirFixe;
    TTypeMotif type;
  };
  for (const Cas& k : {Cas{true, false, TTypeMotif::tmSymbole}, Cas{false, true, TTypeMotif::tmSymbole},
                       Cas{true, true, TTypeMotif::tmSurface}, Cas{false, false, TTypeMotif::tmSymbole}}) {
    s->ValDimFixe = k.dimFixe ? 1 : -1;
    s->DirFixe = k.dirFixe;
    s->TypeMotif = k.type;
    QtCanvas c(200, 200);
    {
      foundation::GardeTransfo t;
      foundation::Vue().XDebVue = -40;
      foundation::Vue().YDebVue = 0;
      foundation::Vue().EchelleVue = 1;
      s->TraceVisuMotif(c);
    }
    const bool marques = k.type == TTypeMotif::tmSymbole;
    // The red circle's right edge and the cross's centre; the green arrow's shaft.
    EXPECT_EQ(c.Pixel(167, 145) == CouleurRouge, marques && k.dimFixe);
    EXPECT_EQ(c.Pixel(154, 140) == 0x008000u, marques && k.dirFixe);
  }
}

}  // namespace
