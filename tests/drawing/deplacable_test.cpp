// Movable objects: points from centre, half-length and orientation, moves,
// frames of offset parts and cross sections with their arrow, fitted texts
// with leaders, arrow heads and texts along a curve, on the recording canvas.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "drawing/contexte_dessin.h"
#include "drawing/deplacable.h"
#include "drawing/dessin_texte.h"
#include "drawing/liste_mtf.h"
#include "drawing/ports_motifs.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "tests/drawing/outils_vue.h"

namespace {

using namespace drawing;
using foundation::TPoint;
using foundation::TPointTopo;
using testvue::Espion;

constexpr double Pi = std::numbers::pi;

// 10 pixels per metre, pixel (0, 0) at ground (0, 30): drawing (x, y) is
// pixel (x / 100, 300 - y / 100).
class Deplacables : public ::testing::Test {
 protected:
  testvue::Vue vue{10, 0, 30, 400, 400};
};

TEST_F(Deplacables, PointsDuCentreEtDeLOrientation) {
  TDessinTexte t;
  t.PtCentre = foundation::PtTopoXY(10000, 20000);
  t.Long = 500;
  t.Orient = Pi / 2;
  t.CalculePointsDeplacable();
  EXPECT_EQ(t.UnPointDeBase(0).PointLoc(), (TPoint{10000, 20500}));
  EXPECT_EQ(t.UnPointDeBase(1).PointLoc(), (TPoint{10000, 19500}));
  // Placing from the two points gives the same centre, length and angle.
  TDessinTexte u;
  u.AjoutePoint(t.UnPointDeBase(0).PointLoc());
  u.AjoutePoint(t.UnPointDeBase(1).PointLoc());
  u.InitDimensions();
  EXPECT_TRUE(u.EstFixe);
  EXPECT_DOUBLE_EQ(u.Long, 500);
  EXPECT_NEAR(std::remainder(u.Orient - Pi / 2, 2 * Pi), 0, 1e-12);
  EXPECT_DOUBLE_EQ(u.PtCentre.X, 10000);
  EXPECT_DOUBLE_EQ(u.PtCentre.Y, 20000);
  // Turning and resizing.
  u.tdEstHoriz = false;
  u.Tourne(true);
  EXPECT_NEAR(std::remainder(u.Orient - Pi / 2 - Pi / 90, 2 * Pi), 0, 1e-12);
  u.Tourne(false);
  EXPECT_NEAR(std::remainder(u.Orient - Pi / 2, 2 * Pi), 0, 1e-12);
}

TEST_F(Deplacables, CaptureEtDeplacement) {
  TDessinEcart e;
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{1000, 1000}, {1000, 3000}, {4000, 3000}, {4000, 1000}})
    e.AjoutePointLoc(x, y);
  e.PtCentre = foundation::PtTopoXY(2500, 2000);
  // Caught at pixel (30, 285) (drawing 3000, 1500), released at (50, 275)
  // (drawing 5000, 2500): the frame moves by (2000, 1000).
  e.Capture(30, 285);
  EXPECT_FALSE(e.EstFixe);
  e.Deplace(50, 275);
  EXPECT_DOUBLE_EQ(e.PtCentre.X, 4500);
  EXPECT_DOUBLE_EQ(e.PtCentre.Y, 3000);
  EXPECT_DOUBLE_EQ(e.DeplaceX, 2000);
  EXPECT_DOUBLE_EQ(e.DeplaceY, 1000);
  EXPECT_EQ(e.UnPointDeBase(0).PointLoc(), (TPoint{3000, 2000}));
  EXPECT_EQ(e.UnPointDeBase(2).PointLoc(), (TPoint{6000, 4000}));
  // The pick box: point 0 (bottom left) to point 2 (top right) in pixels,
  // (30, 280) to (60, 260), widened by 10.
  EXPECT_TRUE(e.EstSousCurseur(20, 290));
  EXPECT_TRUE(e.EstSousCurseur(70, 250));
  EXPECT_FALSE(e.EstSousCurseur(19, 270));
  EXPECT_FALSE(e.EstSousCurseur(40, 291));
  EXPECT_TRUE(e.EstPageSousCurseur(40, 270));
  e.Capturable = false;
  EXPECT_FALSE(e.EstPageSousCurseur(40, 270));
}

TEST_F(Deplacables, PointesDeFleche) {
  // 5 pixels or less: nothing; above: a filled head (polygon) or an open one
  // (two strokes), tip at the point, barbs towards the base.
  Espion c(400, 400);
  DessinePointeFleche({100, 100}, {0, 100}, 5, false, c);
  DessinePointeFleche({100, 100}, {0, 100}, 5, true, c);
  EXPECT_TRUE(c.Log.empty());
  DessinePointeFleche({100, 100}, {0, 100}, 70, false, c);
  ASSERT_EQ(c.Lignes("Polygon").size(), 1u);
  EXPECT_EQ(c.Lignes("Polygon")[0], "Polygon 100,100 30,120 50,100 30,80 w=2 c=000000 b=000000");
  c.Log.clear();
  DessinePointeFleche({100, 100}, {100, 0}, 7, true, c);
  EXPECT_EQ(c.Lignes("LineTo"), (std::vector<std::string>{"LineTo 98,93 100,100 w=1 c=000000",
                                                            "LineTo 100,100 102,93 w=1 c=000000"}));
}

TEST_F(Deplacables, CadreDEcartPlaceOuSuivantLeCurseur) {
  // Unplaced (or selected): a white rectangle from point 0 to point 2;
  // placed and framed: the closed line through the points.
  TDessinEcart e;
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{1000, 1000}, {1000, 3000}, {4000, 3000}, {4000, 1000}})
    e.AjoutePointLoc(x, y);
  Espion c(400, 400);
  e.DessineObjet(c);
  EXPECT_EQ(c.Lignes("Rectangle"), std::vector<std::string>{"Rectangle 10,270,40,290"});
  EXPECT_TRUE(c.Lignes("LineTo").empty());
  e.EstFixe = true;
  e.Encadre = true;
  c.Log.clear();
  e.DessineObjet(c);
  EXPECT_TRUE(c.Lignes("Rectangle").empty());
  EXPECT_EQ(c.Lignes("LineTo").size(), 4u);
  EXPECT_EQ(c.Lignes("LineTo").back(), "LineTo 40,290 10,290 w=1 c=000000");
}

// --- Cross-section frames -------------------------------------------------------

class Coupes : public Deplacables {
 protected:
  // A frame of w x h metres with its lower left corner at ground (5, 5),
  // and the section line from (10, 10) to (20, 10).
  void Cadre(TDessinCoupe& c, double w, double h) {
    c.AjoutePointReel(5, 5);
    c.AjoutePointReel(5, 5 + h);
    c.AjoutePointReel(5 + w, 5 + h);
    c.AjoutePointReel(5 + w, 5);
    c.AjoutePointReel(0, 0);
    c.AjoutePointReel(0, 0);
    c.AjoutePointReel(10, 10);
    c.AjoutePointReel(20, 10);
    c.EstFixe = true;
    c.AngleTraitFleche = Pi / 2;
  }
};

TEST_F(Coupes, PointsDeLaFlecheEtDeLEtiquette) {
  foundation::Vue().EchelleFontes = 1000;
  TDessinCoupe c;
  Cadre(c, 10, 10);
  const auto egal = [](const TPointTopo& p, double x, double y) {
    return std::abs(p.X - x) < 1e-9 && std::abs(p.Y - y) < 1e-9;
  };
  c.CreeDessinFleche();
  // The arrow 3 m beyond point 7, its base 2 m and its tip 4 m to the left
  // of the line; the label 2 m beyond the 3 m before point 6.
  EXPECT_TRUE(egal(c.Pt0Fleche, 20, 10));
  EXPECT_TRUE(egal(c.Pt1Fleche, 23, 10));
  EXPECT_TRUE(egal(c.PtBaseFleche, 23, 12));
  EXPECT_TRUE(egal(c.PtBoutFleche, 23, 14));
  EXPECT_TRUE(egal(c.Pt0Texte, 10, 10));
  EXPECT_TRUE(egal(c.Pt1Texte, 7, 10));
  EXPECT_TRUE(egal(c.PtDessinTexte, 5, 10));
  EXPECT_EQ(c.PointFleche.PointLoc(), (TPoint{23000, 10000}));
  EXPECT_EQ(c.PointTexte.PointLoc(), (TPoint{5000, 10000}));
  c.Inverse = true;
  c.dDecalDesX = 0.5;
  c.CreeDessinFleche();
  EXPECT_TRUE(egal(c.Pt0Fleche, 10, 10));
  EXPECT_TRUE(egal(c.Pt1Fleche, 7, 10));
  EXPECT_TRUE(egal(c.PtBaseFleche, 7, 8));
  EXPECT_TRUE(egal(c.PtBoutFleche, 7, 6));
  EXPECT_TRUE(egal(c.Pt0Texte, 20, 10));
  EXPECT_TRUE(egal(c.Pt1Texte, 23, 10));
  EXPECT_TRUE(egal(c.PtDessinTexte, 25.5, 10));
}

TEST_F(Coupes, CadreTropPetitCacheSesObjets) {
  foundation::Vue().EchelleFontes = 1000;
  TDessinCoupe petite;
  Cadre(petite, 10, 1.5);
  petite.Legende = "A";
  Espion c(400, 400);
  petite.DessineObjet(c);
  EXPECT_FALSE(petite.ADessiner());
  EXPECT_TRUE(c.Log.empty());
  TDessinLigne attache(nullptr);
  attache.EstVisible = true;
  attache.AjoutePointReel(6, 6);
  attache.AjoutePointReel(8, 6);
  attache.EstObjetEcart = true;
  attache.EcartDeRef = &petite;
  attache.DessineObjet(c);
  EXPECT_TRUE(c.Log.empty());

  TDessinCoupe grande;
  Cadre(grande, 10, 5);
  grande.DessineObjet(c);
  EXPECT_TRUE(grande.ADessiner());
  EXPECT_FALSE(c.Lignes("LineTo").empty());
  attache.EcartDeRef = &grande;
  c.Log.clear();
  attache.DessineObjet(c);
  EXPECT_FALSE(c.Log.empty());
}

TEST_F(Coupes, EtiquetteEcriteSiElleTientDansLeCadre) {
  // The frame is 100 pixels wide: a label up to 80 pixels is written, at 10
  // pixels right of point 0 (pixel (50, 250)), centred on it.
  struct Cas {
    const char* legende;
    bool ecrite;
  };
  for (const Cas& k : {Cas{"Coupe A", true}, Cas{"Coupe AB", true}, Cas{"Coupe ABCD", false}}) {
    TDessinCoupe coupe;
    Cadre(coupe, 10, 5);
    coupe.Legende = k.legende;
    Espion c(400, 400);
    c.CharWidth = 8;
    coupe.DessineObjet(c);
    bool vue = false;
    for (const std::string& l : c.Lignes("TextOut"))
      vue = vue || l.find(std::string("\" ") + k.legende + " \"") != std::string::npos;
    EXPECT_EQ(vue, k.ecrite) << k.legende;
    if (k.ecrite) {
      const std::string attendu = std::string("TextOut 60,242 esc=0 \" ") + k.legende + " \"";
      bool trouve = false;
      for (const std::string& l : c.Lignes("TextOut")) trouve = trouve || l.starts_with(attendu);
      EXPECT_TRUE(trouve) << k.legende;
    }
  }
}

// --- Texts -------------------------------------------------------------------------

class Textes : public Deplacables {
 protected:
  Textes() {
    fonte.NomPolice = "Arial";
    fonte.Taille = 12;
  }
  TFontObjetType fonte;
};

TEST_F(Textes, AjusteEntreSesDeuxPoints) {
  // "ABCD" is 28 pixels wide at 12 points; points 56 pixels apart: 24 points,
  // written turned at point 1.
  TDessinTexte t;
  t.tdTexte = "ABCD";
  t.tdFonte = &fonte;
  t.AjoutePointLoc(15600, 20000);
  t.AjoutePointLoc(10000, 20000);
  t.InitDimensions();
  Espion c(400, 400);
  t.DessineObjet(c);
  ASSERT_EQ(c.Lignes("TextOut").size(), 1u);
  EXPECT_NE(c.Lignes("TextOut")[0].find("[Arial 24 "), std::string::npos) << c.Lignes("TextOut")[0];
  // A text that measures 0 keeps its size.
  Espion vide(400, 400);
  vide.CharWidth = 0;
  t.DessineObjet(vide);
  ASSERT_EQ(vide.Lignes("TextOut").size(), 1u);
  EXPECT_NE(vide.Lignes("TextOut")[0].find("[Arial 12 "), std::string::npos);
  // Below 3 points on screen nothing is written.
  Espion minuscule(400, 400);
  minuscule.CharWidth = 100;
  t.DessineObjet(minuscule);
  EXPECT_TRUE(minuscule.Lignes("TextOut").empty());
}

TEST_F(Textes, TourneEtDimension) {
  TDessinTexte t;
  t.tdEstHoriz = true;
  t.Orient = 0;
  t.Tourne(true);
  EXPECT_EQ(t.Orient, 0);
  tListeMtf mtf(0);
  mtf.InitDefaut();
  Dessin().ListesMtfReseau = &mtf;
  const int n = mtf.ListeFontes.Count();
  ASSERT_GT(n, 1);
  t.tdFonte = mtf.ListeFontes.LaFonte(n - 1);
  t.Dimension(true);
  EXPECT_EQ(t.tdFonte, mtf.ListeFontes.LaFonte(0));
  t.Dimension(false);
  EXPECT_EQ(t.tdFonte, mtf.ListeFontes.LaFonte(n - 1));
  Dessin().ListesMtfReseau = nullptr;
}

TEST_F(Textes, LigneDeRappelEtSaTerminaison) {
  // Text from pixel (100, 200) to (156, 200) at 24 points ("ABCD" then 56
  // pixels wide); the leader's point at (300, 100).  s = 1000 x 10 / 1000:
  // heads 20 pixels long.
  foundation::Vue().EchelleFontes = 1000;
  struct Cas {
    int32_t type;
    size_t polygones, ellipses, traits;
  };
  for (const Cas& k : {Cas{0, 0, 0, 2}, Cas{1, 1, 0, 2}, Cas{2, 0, 0, 4}, Cas{3, 0, 1, 2}}) {
    TDessinTexte t;
    t.tdTexte = "ABCD";
    t.tdFonte = &fonte;
    t.tdTypeFleche = k.type;
    t.AjoutePointLoc(15600, 10000);
    t.AjoutePointLoc(10000, 10000);
    t.AjoutePointLoc(30000, 20000);
    t.InitDimensions();
    Espion c(400, 400);
    t.DessineObjet(c);
    const auto traits = c.Lignes("LineTo");
    ASSERT_EQ(traits.size(), k.traits) << k.type;
    // The underline (as wide as the text measures: 28 pixels on this canvas,
    // whatever the size) from its end farther from the point to the nearer
    // end, then to the point.
    EXPECT_EQ(traits[0], "LineTo 100,200 128,200 w=1 c=000000");
    EXPECT_EQ(traits[1], "LineTo 128,200 300,100 w=1 c=000000");
    EXPECT_EQ(c.Lignes("Polygon").size(), k.polygones) << k.type;
    EXPECT_EQ(c.Lignes("Ellipse").size(), k.ellipses) << k.type;
    if (k.type == 3) {
      EXPECT_EQ(c.Lignes("Ellipse")[0], "Ellipse 297,97,303,103 w=1 c=000000 b=000000");
    }
  }
}

// --- Texts along a curve -------------------------------------------------------------

TEST_F(Textes, TexteSurBezierUnCaractereEtEspacement) {
  // A straight path of 300 pixels; characters 7 pixels wide, 16 high.
  const std::vector<TPoint> chemin = {{10, 100}, {110, 100}, {210, 100}, {310, 100}};
  Espion c(400, 400);
  TexteSurBezier(c, chemin, 3, "A");
  // Centred half its width from the start, its cell's top one height above
  // the path; an angle of 0 degrees is written as 1 (escapement 10).
  EXPECT_EQ(c.Lignes("TextOut"), std::vector<std::string>{"TextOut 10,84 esc=10 \"A\" [Arial 10 000000]"});
  c.Log.clear();
  TexteSurBezier(c, chemin, 3, "ABC");
  // Extra space (300 - 21) / 2 = 139.5: the characters start at 10, 156,
  // 302 (139 + round(0.0) and 139 + round(0.5)).
  EXPECT_EQ(c.Lignes("TextOut"), (std::vector<std::string>{"TextOut 10,84 esc=10 \"A\" [Arial 10 000000]",
                                                            "TextOut 156,84 esc=10 \"B\" [Arial 10 000000]",
                                                            "TextOut 302,84 esc=10 \"C\" [Arial 10 000000]"}));
  // Going up: 90 degrees, the cell to the left of the way.
  c.Log.clear();
  const std::vector<TPoint> montee = {{100, 300}, {100, 200}, {100, 100}, {100, 0}};
  TexteSurBezier(c, montee, 3, "A");
  EXPECT_EQ(c.Lignes("TextOut"), std::vector<std::string>{"TextOut 84,300 esc=900 \"A\" [Arial 10 000000]"});
}

TEST_F(Textes, TexteSurLigneAuxDimensionsDeSaCreation) {
  // Texts measure 7 pixels a character at 96 per inch: "ABC" is 5.556 m at
  // the font scale 1000, so 55.6 pixels at 10 per metre; the canvas measures
  // it 21 pixels at any size: size round(12 x 55.6 / 21) = 32.
  GardePortsMotifs ports;
  Ports().MesureTexte = [](const TDefObjetFonte&, const std::string& t, double& l, double& h) {
    l = 7.0 * static_cast<double>(t.size());
    h = 16;
    return true;
  };
  foundation::Vue().EchelleFontes = 1000;
  TTexteSurLigne t;
  t.tdTexte = "ABC";
  t.tdFonte = &fonte;
  t.EchelleDessinInitial = 1000;
  for (const int x : {10000, 20000, 30000}) t.AjoutePointLoc(x, 10000);
  t.EstFixe = true;
  Espion c(400, 400);
  t.DessineObjet(c);
  const std::vector<std::string> textes = c.Lignes("TextOut");
  ASSERT_EQ(textes.size(), 3u);
  for (const std::string& l : textes) EXPECT_NE(l.find("[Arial 32 "), std::string::npos) << l;
  EXPECT_TRUE(textes[0].starts_with("TextOut 100,184 ")) << textes[0];
  EXPECT_TRUE(c.Lignes("PolyBezier").empty());
  // Selected: the guide curve under the text.
  t.Selecte = true;
  Espion s(400, 400);
  t.DessineObjet(s);
  EXPECT_EQ(s.Lignes("PolyBezier").size(), 1u);
  EXPECT_EQ(s.Lignes("TextOut").size(), 3u);
}

TEST_F(Textes, TexteSurBezierCheminNulOuMalForme) {
  Espion c(400, 400);
  const std::vector<TPoint> point = {{10, 10}, {10, 10}, {10, 10}, {10, 10}};
  TexteSurBezier(c, point, 3, "AB");
  const std::vector<TPoint> court = {{10, 10}, {20, 10}, {30, 10}};
  TexteSurBezier(c, court, 2, "AB");
  TexteSurBezier(c, point, 3, "");
  EXPECT_TRUE(c.Lignes("TextOut").empty());
}

}  // namespace
