// Fills painted on the Qt image canvas: plain, selected, hatched and
// textured fills probed pixel by pixel against the outline, shapely's area
// and a reference drawn whole.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "drawing/dessin_remplissage.h"
#include "drawing/texture.h"
#include "platform/qt/qt_canvas.h"
#include "tests/drawing/outils_vue.h"

namespace {

using namespace drawing;
using foundation::TPoint;
using platform::kWhite;
using platform::QtCanvas;

// A fill of four lines crossing as a '#' (the right one slanted): the
// closed outline is the quadrilateral between them.  Drawing units.
struct Diese {
  Diese(const TDefObjetTrait* style, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t biais) {
    const int32_t m = (x1 - x0) / 4;
    const std::vector<std::vector<TPoint>> lignes = {{{x0 - m, y0}, {x1 + m, y0}},
                                                     {{x0 - m, y1}, {x1 + m, y1}},
                                                     {{x0, y0 - m}, {x0, y1 + m}},
                                                     {{x1, y0 - m}, {x1 - biais, y1 + m}}};
    remplissage = std::make_unique<TDessinRemplissage>(style);
    for (const auto& l : lignes) {
      auto d = std::make_unique<TDessinLigne>();  // invisible bounds
      for (const TPoint& p : l) d->AjoutePoint(p);
      remplissage->ListeLignes.push_back(d.get());
      bornes.push_back(std::move(d));
    }
  }
  std::vector<std::unique_ptr<TDessinLigne>> bornes;
  std::unique_ptr<TDessinRemplissage> remplissage;
  const std::vector<TPoint>& Contour() const { return remplissage->LigneDessinee->ContourVue(); }
};

// Pixel centre inside the outline (alternate rule).
bool Dedans(const std::vector<TPoint>& c, double x, double y) {
  bool dedans = false;
  for (size_t i = 0, j = c.size() - 1; i < c.size(); j = i++) {
    const double xi = c[i].X, yi = c[i].Y, xj = c[j].X, yj = c[j].Y;
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) dedans = !dedans;
  }
  return dedans;
}
// Distance from a pixel to the outline.
double DistanceContour(const std::vector<TPoint>& c, double x, double y) {
  double d = 1e300;
  for (size_t i = 0; i + 1 < c.size(); ++i) {
    const double ax = c[i].X, ay = c[i].Y, dx = c[i + 1].X - ax, dy = c[i + 1].Y - ay;
    const double l2 = dx * dx + dy * dy;
    const double t = l2 == 0 ? 0 : std::clamp(((x - ax) * dx + (y - ay) * dy) / l2, 0.0, 1.0);
    d = std::min(d, std::hypot(x - ax - t * dx, y - ay - t * dy));
  }
  return d;
}

void StyleEau(TObjetTrait& t) {
  t.CouleurPlume = RGB(0, 255, 255);
  t.ModePlume = TModePlume::pmNotXor;
  t.CouleurPinceau = RGB(0, 255, 255);
  t.StylePinceau = TStylePinceau::bsSolid;
  t.NumMotif = 0;
}

// E pixels per metre, pixel (0, 0) at ground (X, Y) whole metres.
void Vue(double E, int32_t X, int32_t Y, int32_t W, int32_t H, int32_t echelleFontes) {
  testvue::FixeVue(E, X, Y, W, H);
  foundation::Vue().EchelleFontes = echelleFontes;
}

class RemplissagePixels : public ::testing::Test {
 protected:
  testvue::Vue vue_{10, 0, 30, 400, 300};
};

TEST_F(RemplissagePixels, EauPeintLAireDeShapely) {
  TObjetTrait eau;
  StyleEau(eau);
  // Ground 2 m to 32 m across, pixels 20 to 320 at 10 px/m.
  Diese d(&eau, 2000, 4000, 32000, 26000, 6000);
  ASSERT_TRUE(d.remplissage->TestEstFerme());
  QtCanvas canvas(400, 300);
  d.remplissage->DessineObjet(canvas);
  int encre = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) encre += canvas.Pixel(x, y) != kWhite;
  // Shapely's area of the pixel outline.
  std::string ligne;
  for (const TPoint& p : d.Contour()) ligne += std::to_string(p.X) + " " + std::to_string(p.Y) + " ";
  const std::string commande =
      "echo '" + ligne + "' | /usr/bin/python3 " GRAVELUNE_SOURCE_DIR "/tests/drawing/faces_shapely.py";
  FILE* f = ::popen(commande.c_str(), "r");
  double aire = 0;
  char tampon[64];
  while (f != nullptr && std::fgets(tampon, sizeof tampon, f) != nullptr) aire += std::strtod(tampon, nullptr);
  if (f == nullptr || ::pclose(f) != 0) GTEST_SKIP() << "python3-shapely absent (aire du contour)";
  double perimetre = 0;
  const auto& c = d.Contour();
  for (size_t i = 0; i + 1 < c.size(); ++i) perimetre += foundation::DistancePoints(c[i], c[i + 1]);
  EXPECT_GT(aire, 40000);
  EXPECT_NEAR(encre, aire, perimetre) << "oracle: shapely";
  // Cyan inside, white outside.
  EXPECT_EQ(canvas.Pixel(150, 150), RGB(0, 255, 255));
  EXPECT_EQ(canvas.Pixel(5, 5), kWhite);
}

TEST_F(RemplissagePixels, UnRempliSelectionneEstHachureEnCroix) {
  TObjetTrait eau;
  StyleEau(eau);
  Diese d(&eau, 2000, 4000, 32000, 26000, 6000);
  ASSERT_TRUE(d.remplissage->TestEstFerme());
  d.remplissage->Selecte = true;
  QtCanvas canvas(400, 300);
  d.remplissage->DessineObjet(canvas);
  int hachures = 0, autres = 0;
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) {
      if (!Dedans(d.Contour(), x + 0.5, y + 0.5) || DistanceContour(d.Contour(), x + 0.5, y + 0.5) < 3) continue;
      const auto p = canvas.Pixel(x, y);
      if (p == CouleurSelectionRemplie)
        ++hachures;
      else if (p != kWhite)
        ++autres;
    }
  }
  EXPECT_GT(hachures, 1000);
  EXPECT_EQ(autres, 0);
}

// Rows of a column inside the outline painted in the hatch colour.
std::vector<int> LignesHachurees(const QtCanvas& c, int x, int y0, int y1, uint32_t couleur) {
  std::vector<int> r;
  for (int y = y0; y < y1; ++y)
    if (c.Pixel(x, y) == couleur) r.push_back(y);
  return r;
}

TEST_F(RemplissagePixels, SiphonHachureTous8PixelsA5EtTous20A20) {
  TObjetTrait siphon;
  StyleEau(siphon);
  siphon.StylePinceau = TStylePinceau::bsCross;
  for (const auto& [echelle, pas] : {std::pair{5.0, 8}, std::pair{20.0, 20}}) {
    // 36 m by 36 m at 5 px/m, 9 m by 9 m at 20 px/m: pixels 20 to 200
    // across, 40 to 220 down.
    const auto u = static_cast<int32_t>(1000 * 200 / echelle);
    Vue(echelle, 0, u * 12 / 10000, 400, 300, 1000);
    Diese d(&siphon, u / 10, u / 10, u, u, 0);
    ASSERT_TRUE(d.remplissage->TestEstFerme());
    QtCanvas canvas(400, 300);
    d.remplissage->DessineObjet(canvas);
    EXPECT_EQ(EspacementCroisillons(), pas);
    // A column inside, away from the vertical hatches.
    const auto& c = d.Contour();
    int xMin = 1 << 30, xMax = -xMin, yMin = xMin, yMax = -xMin;
    for (const TPoint& p : c) {
      xMin = std::min(xMin, p.X), xMax = std::max(xMax, p.X);
      yMin = std::min(yMin, p.Y), yMax = std::max(yMax, p.Y);
    }
    int x = (xMin + xMax) / 2;
    while (LignesHachurees(canvas, x, yMin + 3, yMax - 3, RGB(0, 255, 255)).size() > size_t(yMax - yMin) / 2) ++x;
    const auto lignes = LignesHachurees(canvas, x, yMin + 3, yMax - 3, RGB(0, 255, 255));
    ASSERT_GE(lignes.size(), 5u) << echelle;
    for (size_t i = 1; i < lignes.size(); ++i) EXPECT_EQ(lignes[i] - lignes[i - 1], pas) << echelle << " " << i;
  }
}

// The texture of the tests: black lines every 13 columns and every 17 rows
// of the tiling, and-ed onto the bitmap.
void PavageEssai(platform::Canvas& c, int32_t w, int32_t h, const tTexture&, double, int32_t ox, int32_t oy) {
  c.Brush.Style = platform::BrushStyle::Solid;
  c.Brush.Color = platform::kBlack;
  for (int32_t x = (13 - ox % 13) % 13; x < w; x += 13) c.FillRect({x, 0, x + 1, h});
  for (int32_t y = (17 - oy % 17) % 17; y < h; y += 17) c.FillRect({0, y, w, y + 1});
}

struct GardePavage {
  GardePavage() : ancien(InstallePavageTexture(PavageEssai)) {}
  ~GardePavage() { InstallePavageTexture(ancien); }
  FonctionPavageTexture ancien;
};

void StyleTexture(TObjetTrait& t, tTexture& texture) {
  t.CouleurPlume = 0;
  t.CouleurPinceau = RGB(218, 185, 73);
  t.StylePinceau = TStylePinceau::bsSolid;
  t.FixeTexture(&texture);
}

TEST_F(RemplissagePixels, TextureLeDehorsDuContourResteIntact) {
  GardePavage pavage;
  tTexture texture;
  TObjetTrait style;
  StyleTexture(style, texture);
  Diese d(&style, 2000, 4000, 32000, 26000, 6000);
  ASSERT_TRUE(d.remplissage->TestEstFerme());
  QtCanvas canvas(400, 300);
  // Coloured stripes under the fill.
  const auto fond = [](int x, int y) { return RGB(255, (x * 7) % 256, 255 - (y * 3) % 256); };
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) canvas.SetPixel(x, y, fond(x, y));
  d.remplissage->DessineObjet(canvas);
  int dehors = 0, dedansTexture = 0, dedansPinceau = 0;
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) {
      const double dc = DistanceContour(d.Contour(), x + 0.5, y + 0.5);
      if (dc < 3) continue;
      const auto p = canvas.Pixel(x, y);
      if (!Dedans(d.Contour(), x + 0.5, y + 0.5)) {
        EXPECT_EQ(p, fond(x, y)) << x << "," << y;
        ++dehors;
      } else if (p == 0) {
        ++dedansTexture;
      } else {
        EXPECT_EQ(p, fond(x, y) & RGB(218, 185, 73)) << x << "," << y;
        ++dedansPinceau;
      }
    }
  }
  EXPECT_GT(dehors, 10000);
  EXPECT_GT(dedansTexture, 500);
  EXPECT_GT(dedansPinceau, 20000);
  EXPECT_LE(d.remplissage->LigneDessinee->LargeurBmp, 400);
}

TEST_F(RemplissagePixels, TextureVingtFoisLaFenetreCommeUneReferenceDessineeEntiere) {
  GardePavage pavage;
  tTexture texture;
  TObjetTrait style;
  StyleTexture(style, texture);
  style.StylePinceau = TStylePinceau::bsDiagCross;  // hatches and texture
  // 2,000 pixels per metre; the fill spans 3,200 x 2,000 pixels, the window
  // 160 x 100, over the fill's slanted right edge.
  const double E = 2000;
  const int W = 160, H = 100;
  Diese d(&style, -375, 375, 1225, 1375, 300);
  ASSERT_TRUE(d.remplissage->TestEstFerme());
  // The window: ground X from 1 m, top at Y 1 m.
  Vue(E, 1, 1, W, H, 10000);
  QtCanvas fenetre(W, H);
  d.remplissage->DessineObjet(fenetre);
  const int32_t lBmp = d.remplissage->LigneDessinee->LargeurBmp, hBmp = d.remplissage->LigneDessinee->HauteurBmp;
  // The reference: the whole fill, on a canvas that holds its whole extent;
  // the window is its part at (dx, dy).
  const int dx = 4000, dy = 2000;  // pixels: 2 m and 1 m
  Vue(E, -1, 2, 4700, 3500, 10000);
  QtCanvas reference(4700, 3500);
  d.remplissage->DessineObjet(reference);
  EXPECT_GT(d.remplissage->LigneDessinee->LargeurBmp, 3000);
  int differents = 0, encre = 0;
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      differents += fenetre.Pixel(x, y) != reference.Pixel(x + dx, y + dy);
      encre += fenetre.Pixel(x, y) != kWhite;
    }
  }
  EXPECT_EQ(differents, 0);
  EXPECT_GT(encre, 1000);
  EXPECT_LT(encre, W * H);
  EXPECT_GT(lBmp, 0);
  EXPECT_LE(lBmp, W);
  EXPECT_LE(hBmp, H);
}

}  // namespace
