// The grid and the coordinate ticks: the tick step, the grid's lines on the
// Qt image canvas probed where the view transform puts them, the lines
// drawn when the grid's origin is far from the view, the plan and altitude
// ticks on a recording canvas.
#include "drawing/quadrillage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "drawing/contexte_motifs.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"
#include "tests/drawing/outils_vue.h"

namespace {

using namespace drawing;
using foundation::TPoint;
using foundation::TPointTopo;
using platform::QtCanvas;
using testvue::Espion;

TEST(PasGraduation, UneDizaineDeGraduationsSurLaHauteur) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Cas {
    const char* Nom;
    double Hauteur;
    double Pas;
  };
  const Cas cas[] = {
      {"1000 m: b 100, d 0.1, comptes 50 20 10", 1000, 100},
      {"12 m: b 120, d 10, comptes 60 24 12", 12, 1},
      {"30 m: comptes 15 6 3", 30, 5},
      {"150 m: b 15, comptes 7 3 1", 150, 20},
      {"149 m: b 149, comptes 74 29 14", 149, 10},
      {"3 m: pas de 50 cm", 3, 0.5},
      {"hauteur nulle", 0, 0},
      {"hauteur negative", -20, 0},
      {"hauteur infinie", inf, 0},
      {"hauteur NaN", std::nan(""), 0},
      {"hauteur sous-normale", 5e-324, 0},
  };
  for (const Cas& c : cas) EXPECT_DOUBLE_EQ(PasGraduation(c.Hauteur), c.Pas) << c.Nom;
}

TEST(PasGraduation, DeLaVue) {
  testvue::Vue vue(10, 0, 100, 400, 300);
  EXPECT_DOUBLE_EQ(PasGraduationVue(), 5) << "30 m visibles";
  foundation::Vue().HauteurPaintBox = 0;
  EXPECT_EQ(PasGraduationVue(), 0) << "hauteur nulle";
  foundation::Vue().HauteurPaintBox = 300;
  for (const double e : {0.0, -1.0, std::numeric_limits<double>::infinity(), std::nan("")}) {
    foundation::Vue().EchelleVue = e;
    EXPECT_EQ(PasGraduationVue(), 0) << "echelle " << e;
  }
}

// --- Grid -------------------------------------------------------------------------------------

class Grille : public ::testing::Test {
 protected:
  // 10 pixels per metre, ground x 0..40 and y 0..30 on 400 x 300 pixels.
  testvue::Vue vue{10, 0, 30, 400, 300};

  // A grid at O turned by theta (counter-clockwise from east).
  static TQuadrillage GrilleEn(TPointTopo O, double theta) {
    TQuadrillage q;
    TPointTopo p0, p1;
    const TPoint a = foundation::XYVersDessin(O.X, O.Y);
    const TPoint b = foundation::XYVersDessin(O.X + 10 * std::cos(theta), O.Y + 10 * std::sin(theta));
    p0.X = a.X;
    p0.Y = a.Y;
    p1.X = b.X;
    p1.Y = b.Y;
    q.Init(p0, p1);
    return q;
  }
  static bool Blanche(const QtCanvas& c) {
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x)
        if (c.Pixel(x, y) != platform::kWhite) return false;
    return true;
  }
  // The colour is found within one pixel of p.
  static bool CouleurPres(const QtCanvas& c, TPoint p, uint32_t couleur) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (c.Pixel(p.X + dx, p.Y + dy) == couleur) return true;
    return false;
  }
};

uint32_t CouleurLigne(int i) {
  return i == 0 ? CouleurQuadrillageOrigine : i % 5 == 0 ? CouleurQuadrillageCinq : CouleurQuadrillage;
}

TEST_F(Grille, LignesDroitesAuxPixelsDeLaVueEnCouleurEtEpaisseur) {
  // Spacing 2 m; origin (23, 17), direction east: the first family is made
  // of vertical lines x = 23 - 2i, the second of horizontal lines y = 17 - 2i.
  Dessin().PasQuadrillage = 2;
  const TPointTopo O = foundation::PtTopoXY(23, 17);
  TQuadrillage q = GrilleEn(O, 0);
  QtCanvas canvas(400, 300);
  q.DessineObjet(canvas);
  for (const int i : {0, 1, 5}) {
    for (const int cote : {1, -1}) {
      // Vertical line of the first family, probed between two horizontal lines.
      const TPoint v = foundation::XYVersEcran(O.X - cote * i * 2, O.Y + 1);
      int n = 0;
      for (int x = v.X - 3; x <= v.X + 3; ++x) {
        if (canvas.Pixel(x, v.Y) == platform::kWhite) continue;
        ++n;
        EXPECT_EQ(canvas.Pixel(x, v.Y), CouleurLigne(i)) << "famille 1, i = " << i << ", x " << x;
        EXPECT_LE(std::abs(x - v.X), 1) << "famille 1, i = " << i;
      }
      EXPECT_EQ(n, i == 0 ? 2 : 1) << "famille 1, épaisseur de la ligne " << i;
      // Horizontal line of the second family, probed between two vertical lines.
      const TPoint h = foundation::XYVersEcran(O.X + 1, O.Y - cote * i * 2);
      n = 0;
      for (int y = h.Y - 3; y <= h.Y + 3; ++y) {
        if (canvas.Pixel(h.X, y) == platform::kWhite) continue;
        ++n;
        EXPECT_EQ(canvas.Pixel(h.X, y), CouleurLigne(i)) << "famille 2, i = " << i << ", y " << y;
      }
      EXPECT_EQ(n, i == 0 ? 2 : 1) << "famille 2, épaisseur de la ligne " << i;
    }
  }
  // Between the lines: nothing.
  const TPoint milieu = foundation::XYVersEcran(O.X - 1, O.Y - 1);
  EXPECT_EQ(canvas.Pixel(milieu.X, milieu.Y), platform::kWhite);
}

TEST_F(Grille, LignesTourneesAuxPixelsDeLaVue) {
  // Turned by 30 degrees: line i of a family passes through O - 2 i u and
  // runs along u turned a quarter turn; probed between the crossings.
  Dessin().PasQuadrillage = 2;
  const TPointTopo O = foundation::PtTopoXY(20, 15);
  const double theta = std::numbers::pi / 6;
  TQuadrillage q = GrilleEn(O, theta);
  QtCanvas canvas(400, 300);
  q.DessineObjet(canvas);
  for (int famille = 0; famille < 2; ++famille) {
    const double phi = theta + famille * std::numbers::pi / 2;
    const double ux = std::cos(phi), uy = std::sin(phi);
    for (const int i : {0, 1, 5}) {
      const double cx = O.X - i * 2 * ux, cy = O.Y - i * 2 * uy;
      for (const double w : {-3.0, 1.0}) {
        const TPoint p = foundation::XYVersEcran(cx - w * uy, cy + w * ux);
        EXPECT_TRUE(CouleurPres(canvas, p, CouleurLigne(i)))
            << "famille " << famille + 1 << ", i = " << i << ", w " << w;
      }
    }
  }
}

TEST_F(Grille, EspacementNulNegatifOuSousLePixelNeDessineRien) {
  struct Cas {
    const char* Nom;
    double Pas;
  };
  const Cas cas[] = {{"nul", 0},
                     {"négatif", -2},
                     {"infini", std::numeric_limits<double>::infinity()},
                     {"NaN", std::nan("")},
                     {"moins d'un pixel", 0.09}};
  for (const Cas& c : cas) {
    Dessin().PasQuadrillage = c.Pas;
    TQuadrillage q = GrilleEn(foundation::PtTopoXY(20, 15), 0.3);
    QtCanvas canvas(400, 300);
    q.DessineObjet(canvas);
    EXPECT_TRUE(Blanche(canvas)) << c.Nom;
  }
  Dessin().PasQuadrillage = 0.1;
  TQuadrillage q = GrilleEn(foundation::PtTopoXY(20, 15), 0.3);
  QtCanvas canvas(400, 300);
  q.DessineObjet(canvas);
  EXPECT_FALSE(Blanche(canvas)) << "un pixel";
}

TEST_F(Grille, OrigineLointaineSeulesLesLignesQuiCoupentLaVue) {
  // A view of 10 x 10 m; the origin 10 km away.  Straight, with spacing 1 m:
  // the lines x = 0..10 and y = 0..10 of the view, 11 of each family; turned,
  // every line drawn crosses the view.
  testvue::FixeVue(10, 0, 10, 100, 100);
  Dessin().PasQuadrillage = 1;
  {
    TQuadrillage q = GrilleEn(foundation::PtTopoXY(10'000, 7'000), 0);
    Espion canvas(100, 100);
    q.DessineObjet(canvas);
    const auto lignes = canvas.Lignes("LineTo");
    EXPECT_EQ(lignes.size(), 22u);
    for (const std::string& l : lignes) {
      int x1, y1, x2, y2;
      ASSERT_EQ(std::sscanf(l.c_str(), "LineTo %d,%d %d,%d", &x1, &y1, &x2, &y2), 4) << l;
      const bool verticale = x1 == x2;
      const int c = verticale ? x1 : y1;
      EXPECT_TRUE(c >= 0 && c <= 100 && c % 10 == 0) << l;
      EXPECT_TRUE(verticale || y1 == y2) << l;
    }
  }
  const double theta = 0.4;
  TQuadrillage q = GrilleEn(foundation::PtTopoXY(-6'000, 8'000), theta);
  Espion canvas(100, 100);
  q.DessineObjet(canvas);
  const auto lignes = canvas.Lignes("LineTo");
  EXPECT_GT(lignes.size(), 20u);
  EXPECT_LT(lignes.size(), 40u);
  for (const std::string& l : lignes) {
    double x1, y1, x2, y2;
    ASSERT_EQ(std::sscanf(l.c_str(), "LineTo %lf,%lf %lf,%lf", &x1, &y1, &x2, &y2), 4) << l;
    // The distance from the view's centre to the line is at most the half
    // diagonal; its ends stay near the view.
    const double dx = x2 - x1, dy = y2 - y1;
    const double d = std::abs((50 - x1) * dy - (50 - y1) * dx) / std::hypot(dx, dy);
    EXPECT_LE(d, 50 * std::sqrt(2.0) + 1) << l;
    EXPECT_LT(std::max({std::abs(x1), std::abs(y1), std::abs(x2), std::abs(y2)}), 300) << l;
  }
}

// --- Ticks ---------------------------------------------------------------------------------------

// The pixel of the vertical or horizontal lines drawn across the view.
std::vector<int> Verticales(const Espion& c, int hauteur) {
  std::vector<int> r;
  for (const std::string& l : c.Lignes("LineTo")) {
    int x1, y1, x2, y2;
    if (std::sscanf(l.c_str(), "LineTo %d,%d %d,%d", &x1, &y1, &x2, &y2) == 4 && x1 == x2 && y1 == 0 && y2 == hauteur)
      r.push_back(x1);
  }
  return r;
}
std::vector<int> Horizontales(const Espion& c, int debut, int largeur) {
  std::vector<int> r;
  for (const std::string& l : c.Lignes("LineTo")) {
    int x1, y1, x2, y2;
    if (std::sscanf(l.c_str(), "LineTo %d,%d %d,%d", &x1, &y1, &x2, &y2) == 4 && y1 == y2 && x1 == debut &&
        x2 == largeur)
      r.push_back(y1);
  }
  return r;
}

TEST(MirePlani, LignesEtValeurs) {
  // 30 m visible: step 5 m.  Ground x 100..140, y 200..230: the vertical
  // lines at x = 105 .. 140 (x = 100 is on the left edge), their values
  // turned at 10 pixels from the top; a top margin of " 140 " + 10 = 45
  // pixels, so the horizontal lines at y = 225 .. 200.
  testvue::Vue vue(10, 100, 230, 400, 300);
  Dessin().CouleurGraduations = 0x123456;
  TMirePlani m;
  Espion canvas(400, 300);
  m.DessineObjet(canvas);
  EXPECT_EQ(Verticales(canvas, 300), (std::vector<int>{50, 100, 150, 200, 250, 300, 350, 400}));
  EXPECT_EQ(Horizontales(canvas, 0, 400), (std::vector<int>{50, 100, 150, 200, 250, 300}));
  const auto textes = canvas.Lignes("TextOut");
  ASSERT_EQ(textes.size(), 14u);
  EXPECT_EQ(textes[0], "TextOut 58,10 esc=-900 \" 105 \" [Times New Roman 8 000000]");
  EXPECT_EQ(textes[7], "TextOut 408,10 esc=-900 \" 140 \" [Times New Roman 8 000000]");
  EXPECT_EQ(textes[8], "TextOut 10,42 esc=0 \" 225 \" [Times New Roman 8 000000]");
  EXPECT_EQ(textes[13], "TextOut 10,292 esc=0 \" 200 \" [Times New Roman 8 000000]");
  EXPECT_NE(canvas.Log[0].find("w=1 c=123456"), std::string::npos) << canvas.Log[0];
}

TEST(MirePlani, BordGaucheArrondiEtNombreDeLignes) {
  struct Cas {
    const char* Nom;
    double E;
    int32_t X, W, H;
    std::vector<int> Verticales;  // empty: only counted
    std::vector<std::string> Valeurs;
    size_t NombreMax;
  };
  const Cas cas[] = {
      // x = 100 at 20 pixels from the left edge: not drawn.
      {"ligne a 20 pixels du bord", 10, 98, 400, 300, {70, 120, 170, 220, 270, 320, 370}, {}, 8},
      // 3 m visible: step 0.5 m, values with one decimal.
      {"valeurs au demi-metre",
       100,
       100,
       300,
       300,
       {50, 100, 150, 200, 250, 300},
       {" 100.5 ", " 101.0 ", " 101.5 ", " 102.0 ", " 102.5 ", " 103.0 "},
       6},
      // A view 10 km wide and 10 m high: step 1 m, at most 101 lines.
      {"au plus 101 lignes", 10, 0, 100'000, 100, {}, {}, 101},
  };
  for (const Cas& c : cas) {
    testvue::Vue vue(c.E, c.X, 230, c.W, c.H);
    TMirePlani m;
    Espion canvas(c.W, c.H);
    m.DessineObjet(canvas);
    const std::vector<int> v = Verticales(canvas, c.H);
    if (!c.Verticales.empty()) {
      EXPECT_EQ(v, c.Verticales) << c.Nom;
    }
    EXPECT_LE(v.size(), c.NombreMax) << c.Nom;
    for (size_t i = 0; i < c.Valeurs.size() && i < v.size(); ++i) {
      EXPECT_NE(canvas.Lignes("TextOut")[i].find("\"" + c.Valeurs[i] + "\""), std::string::npos)
          << c.Nom << " " << i << ": " << canvas.Lignes("TextOut")[i];
    }
  }
  // Scale 0: no tick, and the call returns.
  testvue::Vue vue(0, 0, 230, 400, 300);
  TMirePlani m;
  Espion canvas(400, 300);
  m.DessineObjet(canvas);
  EXPECT_TRUE(canvas.Log.empty());
}

TEST(MirePlani, TexteAuxDecimalesDuPas) {
  const double nan = std::nan("");
  struct Cas {
    double Valeur, Pas;
    const char* Texte;
  };
  const Cas cas[] = {
      {6447816.499999, 0.5, "6447816.5"},  // the noise of a sum of steps rounded away
      {6447816, 0.5, "6447816.0"},         // every label of a step has its decimals
      {6447810, 10, "6447810"},
      {20, 2, "20"},
      {0.75, 0.25, "0.75"},
      {0.30000000000000004, 0.1, "0.3"},  // 3 x 0.1
      {0.002, 0.002, "0.002"},
      {-0.5, 0.5, "-0.5"},
      {-1e-12, 0.1, "0.0"},  // no sign on a value that rounds to zero
      {2.5, 1, "2"},         // whole values rounded half to even
      {3.5, 1, "4"},
      {1.0 / 3, 1.0 / 3, "0.333333333"},  // at most nine decimals
      {7.4, 0, "7"},                      // no step: whole values
      {7.4, nan, "7"},
  };
  for (const Cas& c : cas) EXPECT_EQ(TexteGraduation(c.Valeur, c.Pas), c.Texte) << c.Valeur << " au pas " << c.Pas;
}

// The texts of the ticks drawn: the values along the top (turned) or along
// the left edge, blanks taken off.
std::vector<std::string> Valeurs(const Espion& c, bool tournees) {
  std::vector<std::string> r;
  for (const std::string& l : c.Lignes("TextOut")) {
    if ((l.find("esc=-900") != std::string::npos) != tournees) continue;
    const size_t a = l.find("\" "), b = l.find(" \"", a + 1);
    if (a != std::string::npos && b != std::string::npos) r.push_back(l.substr(a + 2, b - a - 2));
  }
  return r;
}

TEST(MirePlani, ValeursDistinctesAuxDecimalesDuPas) {
  // A view in Lambert 93 at (712345.678, 6447816.3), from 10 m to 5 cm of
  // step: each label has the decimals of the step, and the values of two
  // neighbouring lines differ by exactly one step (the labels repeated
  // "6447816" three times at a step of 50 cm when they were rounded whole).
  struct Cas {
    double E;  // pixels per metre over a 400 x 300 box
    double Pas;
    int Decimales;
  };
  const Cas cas[] = {{3, 10, 0}, {6, 5, 0}, {15, 2, 0}, {30, 1, 0}, {60, 0.5, 1}, {150, 0.2, 1}, {300, 0.1, 1}, {600, 0.05, 2}};
  for (const Cas& c : cas) {
    SCOPED_TRACE("pas " + std::to_string(c.Pas));
    testvue::Vue vue(c.E, 0, 0, 400, 300);
    foundation::Vue().Xmin = 712345.678;
    foundation::Vue().Ymin = 6447816.3;
    ASSERT_DOUBLE_EQ(PasGraduationVue(), c.Pas);
    ASSERT_EQ(DecimalesPas(c.Pas), c.Decimales);
    TMirePlani m;
    Espion canvas(400, 300);
    m.DessineObjet(canvas);
    for (const bool tournees : {true, false}) {
      const std::vector<std::string> v = Valeurs(canvas, tournees);
      ASSERT_GE(v.size(), 4u) << (tournees ? "X" : "Y");
      for (size_t i = 0; i < v.size(); ++i) {
        const size_t point = v[i].find('.');
        EXPECT_EQ(point == std::string::npos ? 0 : static_cast<int>(v[i].size() - point - 1), c.Decimales) << v[i];
        EXPECT_EQ(v[i].find_first_not_of("0123456789.-"), std::string::npos) << v[i];
        if (i == 0) continue;
        EXPECT_NE(v[i], v[i - 1]);
        // Along X the values grow to the right; along Y they fall downwards.
        const double ecart = std::stod(v[i]) - std::stod(v[i - 1]);
        EXPECT_NEAR(ecart, tournees ? c.Pas : -c.Pas, c.Pas * 1e-6) << v[i - 1] << " puis " << v[i];
      }
    }
  }
}

TEST(MirePlani, EtiquettesVoisinesDifferentesALImage) {
  // At a step of 50 cm over Lambert 93 ordinates, the pixels of each Y label
  // (10 pixels from the left, centred on its line) differ from those of the
  // next one, and hold ink.
  testvue::Vue vue(60, 0, 0, 400, 300);
  foundation::Vue().Xmin = 712345.678;
  foundation::Vue().Ymin = 6447816.3;
  TMirePlani m;
  QtCanvas canvas(400, 300);
  m.DessineObjet(canvas);
  Espion espion(400, 300);
  m.DessineObjet(espion);
  const std::vector<int> lignes = Horizontales(espion, 0, 400);
  ASSERT_GE(lignes.size(), 4u);
  // The label's cell: from the left margin to past the widest label, the
  // font's height around the line, the line itself left out.
  const auto etiquette = [&](int y) {
    std::string pixels;
    int encre = 0;
    for (int dy = -6; dy <= 6; ++dy) {
      if (dy == 0) continue;
      for (int x = 10; x < 90; ++x) {
        const uint32_t p = canvas.Pixel(x, y + dy);
        pixels += p == platform::kWhite ? '.' : '#';
        encre += p != platform::kWhite;
      }
    }
    EXPECT_GT(encre, 10) << "ligne " << y;
    return pixels;
  };
  for (size_t i = 1; i < lignes.size(); ++i)
    EXPECT_NE(etiquette(lignes[i]), etiquette(lignes[i - 1])) << "lignes " << lignes[i - 1] << " et " << lignes[i];
}

TEST(MireAlti, AbsolueEtRelative) {
  // An elevation at 10 pixels per metre, altitudes 200..230 on 300 pixels:
  // step 5 m.  Absolute from ZInit 212: lines from z = 210 up to 230, then
  // down to 200; relative: from z = 212, labels k s.
  struct Cas {
    const char* Nom;
    bool Absol;
    std::vector<int> Lignes;
    std::vector<std::string> Valeurs;
  };
  const Cas cas[] = {
      {"absolue",
       true,
       {200, 150, 100, 50, 0, 250, 300},
       {" 210 ", " 215 ", " 220 ", " 225 ", " 230 ", " 205 ", " 200 "}},
      {"relative", false, {180, 130, 80, 30, 230, 280}, {" 0 ", " 5 ", " 10 ", " 15 ", " -5 ", " -10 "}},
  };
  for (const Cas& c : cas) {
    testvue::Vue vue(10, 0, 230, 400, 300);
    foundation::Vue().TypeDessinCourant = foundation::TTypeDeDessin::tddAltiDev;
    TMireAlti m;
    m.Init(c.Absol, 212);
    Espion canvas(400, 300);
    m.DessineObjet(canvas);
    EXPECT_EQ(Horizontales(canvas, 10, 400), c.Lignes) << c.Nom;
    const auto textes = canvas.Lignes("TextOut");
    ASSERT_EQ(textes.size(), 2 * c.Valeurs.size()) << c.Nom;
    for (size_t i = 0; i < c.Valeurs.size(); ++i) {
      const std::string& v = c.Valeurs[i];
      const int y = c.Lignes[i] - 8;
      const int droite = 400 - 10 - 7 * static_cast<int>(v.size());
      EXPECT_EQ(textes[2 * i], "TextOut 20," + std::to_string(y) + " esc=0 \"" + v + "\" [Times New Roman 8 000000]")
          << c.Nom;
      EXPECT_EQ(textes[2 * i + 1], "TextOut " + std::to_string(droite) + "," + std::to_string(y) + " esc=0 \"" + v +
                                       "\" [Times New Roman 8 000000]")
          << c.Nom;
    }
  }
}

TEST(LigneAlti, TraitTiretePleineHauteur) {
  testvue::Vue vue(10, 0, 30, 400, 300);
  Dessin().CouleurGraduations = 0x00AA00;
  TDessinLigneAlti l(12.5, 20);
  Espion canvas(400, 300);
  l.DessineObjet(canvas);
  ASSERT_EQ(canvas.Log.size(), 1u);
  EXPECT_EQ(canvas.Log[0], "LineTo 125,0 125,300 w=1 c=00AA00 style=1");
}

}  // namespace
