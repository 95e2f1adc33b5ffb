// The image canvas against reference pixels on small images.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "platform/qt/qt_canvas.h"

using namespace platform;

namespace {

constexpr Colour kCyan = RgbColour(0, 255, 255);
constexpr Colour kRed = RgbColour(255, 0, 0);

using Pixels = std::set<std::pair<int, int>>;

// Every pixel that is not of the given colour.
Pixels Autres(const QtCanvas& c, Colour fond = kWhite) {
  Pixels out;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.Pixel(x, y) != fond) out.insert({x, y});
  return out;
}

QImage Copie(const QtCanvas& c) { return c.Image().copy(); }

}  // namespace

TEST(QtCanvas, CouleursWindows) {
  QtCanvas c(4, 4);
  c.SetPixel(1, 2, kRed);
  EXPECT_EQ(c.Pixel(1, 2), kRed);
  EXPECT_EQ(c.Image().pixel(1, 2), qRgb(255, 0, 0));
  EXPECT_EQ(c.Pixel(0, 0), kWhite);
  EXPECT_EQ(c.Pixel(4, 0), kInvalidColour);
  EXPECT_EQ(c.Pixel(-1, 0), kInvalidColour);
}

TEST(QtCanvas, LigneDUnPixel) {
  // The last pixel is not drawn; each step of the long axis takes the pixel
  // nearest the exact line.
  struct Case {
    const char* nom;
    Point a, b;
    std::vector<std::pair<int, int>> attendu;
  };
  const Case cases[] = {
      {"pente douce", {0, 0}, {5, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
      {"vers le haut", {1, 6}, {3, 1}, {{1, 6}, {1, 5}, {2, 4}, {2, 3}, {3, 2}}},
      {"horizontale a gauche", {5, 3}, {1, 3}, {{5, 3}, {4, 3}, {3, 3}, {2, 3}}},
      {"diagonale", {0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
      {"point seul", {2, 2}, {2, 2}, {}},
  };
  for (const Case& k : cases) {
    QtCanvas c(8, 8);
    c.MoveTo(k.a.X, k.a.Y);
    c.LineTo(k.b.X, k.b.Y);
    EXPECT_EQ(Autres(c), Pixels(k.attendu.begin(), k.attendu.end())) << k.nom;
    EXPECT_EQ(c.PenPos, k.b) << k.nom;
  }
}

TEST(QtCanvas, LigneCoupeeParLeBordEtLaZoneDeDessin) {
  // The same line extended far beyond the image lights the same pixels inside it.
  QtCanvas courte(40, 40), longue(40, 40);
  courte.MoveTo(-3, 5);
  courte.LineTo(37, 23);
  longue.MoveTo(-3 - 40 * 100000, 5 - 18 * 100000);
  longue.LineTo(37 + 40 * 100000, 23 + 18 * 100000);
  const Pixels a = Autres(courte);
  EXPECT_EQ(a.size(), 37u);  // x from 0 to 36
  Pixels b = Autres(longue);
  std::erase_if(b, [](const auto& p) { return p.first >= 37; });  // the long line goes on
  EXPECT_EQ(a, b);
  // The clip rectangle keeps its part only.
  QtCanvas c(40, 40);
  c.SetClipRect({10, 0, 20, 40});
  c.MoveTo(-3, 5);
  c.LineTo(37, 23);
  for (const auto& p : Autres(c)) {
    EXPECT_GE(p.first, 10);
    EXPECT_LT(p.first, 20);
    EXPECT_TRUE(a.count(p)) << p.first << "," << p.second;
  }
  EXPECT_EQ(Autres(c).size(), 10u);
}

TEST(QtCanvas, PointillesDuSysteme) {
  // Dash: 18 pixels drawn, 6 skipped; the pattern runs on across the
  // segments of a polyline.
  QtCanvas c(60, 4);
  c.Pen.Style = PenStyle::Dash;
  const Point pts[] = {{0, 1}, {10, 1}, {50, 1}};
  c.Polyline(pts);
  std::string vu;
  for (int x = 0; x < 50; ++x) vu += c.Pixel(x, 1) == kBlack ? '#' : '.';
  EXPECT_EQ(vu, "##################......##################......##");
  QtCanvas d(20, 4);
  d.Pen.Style = PenStyle::Dot;
  d.MoveTo(0, 0);
  d.LineTo(12, 0);
  vu.clear();
  for (int x = 0; x < 13; ++x) vu += d.Pixel(x, 0) == kBlack ? '#' : '.';
  EXPECT_EQ(vu, "###...###....");
}

TEST(QtCanvas, PolygoneNonOuExclusif) {
  // Not-xor cyan over white stays cyan, over black shows red; drawn twice,
  // the image is back as it was.
  QtCanvas c(30, 30);
  c.Pen.Color = kBlack;
  c.MoveTo(0, 15);
  c.LineTo(30, 15);
  const QImage avant = Copie(c);
  c.Pen.Color = kCyan;
  c.Pen.Mode = PenMode::NotXor;
  c.Brush.Color = kCyan;
  const Point tri[] = {{5, 5}, {25, 5}, {25, 25}, {5, 25}};
  c.Polygon(tri);
  EXPECT_EQ(c.Pixel(10, 10), kCyan);
  EXPECT_EQ(c.Pixel(5, 5), kCyan);    // outline
  EXPECT_EQ(c.Pixel(25, 25), kCyan);  // outline, far corner
  EXPECT_EQ(c.Pixel(10, 15), kRed);   // over the black line
  EXPECT_EQ(c.Pixel(2, 15), kBlack);  // outside
  EXPECT_EQ(c.Pixel(26, 10), kWhite);
  c.Polygon(tri);
  EXPECT_EQ(c.Image(), avant);
}

TEST(QtCanvas, ModesBinairesDeRaster) {
  // Each mode on a one-pixel line over a pixel of known colour.
  const Colour d = RgbColour(0x0F, 0x33, 0xAA), p = RgbColour(0x5A, 0xF0, 0x0C);
  for (int m = 0; m < kPenModeCount; ++m) {
    QtCanvas c(3, 1);
    c.SetPixel(0, 0, d);
    c.Pen.Color = p;
    c.Pen.Mode = static_cast<PenMode>(m);
    c.MoveTo(0, 0);
    c.LineTo(1, 0);
    EXPECT_EQ(c.Pixel(0, 0), ApplyPenMode(c.Pen.Mode, p, d)) << "mode " << m;
    // The same through a filled shape.
    QtCanvas e(3, 3);
    e.SetPixel(1, 1, d);
    e.Pen = c.Pen;
    e.Pen.Style = PenStyle::Clear;
    e.Brush.Color = p;
    e.Rectangle(0, 0, 3, 3);
    EXPECT_EQ(e.Pixel(1, 1), ApplyPenMode(c.Pen.Mode, p, d)) << "mode " << m;
  }
}

TEST(QtCanvas, RectangleEtRemplissagesHachures) {
  QtCanvas c(16, 16);
  c.Rectangle(2, 3, 8, 9);  // right and bottom excluded
  EXPECT_EQ(c.Pixel(2, 3), kBlack);
  EXPECT_EQ(c.Pixel(7, 8), kBlack);
  EXPECT_EQ(c.Pixel(8, 8), kWhite);
  EXPECT_EQ(c.Pixel(7, 9), kWhite);
  EXPECT_EQ(c.Pixel(4, 5), kWhite);  // white brush inside
  // Hatches line up with the image, whatever the shape and mode.
  for (int s = static_cast<int>(BrushStyle::Horizontal); s < kBrushStyleCount; ++s) {
    for (PenMode mode : {PenMode::Copy, PenMode::Mask}) {
      QtCanvas h(24, 24);
      h.Pen.Style = PenStyle::Clear;
      h.Pen.Mode = mode;
      h.Brush = {kRed, static_cast<BrushStyle>(s)};
      const Point tri[] = {{3, 3}, {21, 3}, {21, 21}, {3, 21}};
      h.Polygon(tri);
      for (int y = 4; y < 21; ++y)
        for (int x = 4; x < 21; ++x)
          ASSERT_EQ(h.Pixel(x, y), HatchPixel(h.Brush.Style, x, y) ? kRed : kWhite)
              << "style " << s << " mode " << int(mode) << " at " << x << "," << y;
      QtCanvas f(24, 24);
      f.Brush = h.Brush;
      f.FillRect({3, 3, 21, 21});
      for (int y = 3; y < 21; ++y)
        for (int x = 3; x < 21; ++x)
          ASSERT_EQ(f.Pixel(x, y), HatchPixel(h.Brush.Style, x, y) ? kRed : kWhite) << "FillRect style " << s;
    }
  }
}

TEST(QtCanvas, BlitEtOuLogique) {
  // AND blit: white in the source leaves the target unchanged.
  QtCanvas cible(10, 10);
  cible.Brush.Color = RgbColour(10, 200, 30);
  cible.FillRect({0, 0, 10, 5});
  const QImage avant = Copie(cible);
  auto source = cible.CreateBitmap(6, 6);
  source->SetPixel(2, 2, kBlack);
  source->SetPixel(3, 4, RgbColour(255, 0, 255));
  cible.Copy = CopyMode::SrcAnd;
  cible.Draw(2, 1, *source);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const QRgb attendu = (x == 4 && y == 3) ? qRgb(0, 0, 0)
                           : (x == 5 && y == 5) ? qRgb(255, 0, 255) & avant.pixel(x, y)
                                                : avant.pixel(x, y);
      ASSERT_EQ(cible.Image().pixel(x, y), attendu) << x << "," << y;
    }
  // A copy blit with stretching doubles each pixel.
  QtCanvas grand(8, 8);
  grand.Copy = CopyMode::SrcCopy;
  grand.CopyRect({0, 0, 8, 8}, *source, {0, 0, 4, 4});
  EXPECT_EQ(grand.Pixel(4, 4), kBlack);
  EXPECT_EQ(grand.Pixel(5, 5), kBlack);
  EXPECT_EQ(grand.Pixel(6, 6), kWhite);
  EXPECT_EQ(grand.Pixel(3, 3), kWhite);
}

TEST(QtCanvas, CopieSansEtirementCommeLaRegleDuMode) {
  // Unscaled blits, partly outside the source and the target, give each
  // pixel the mode's result, as the stretching path does.
  QtCanvas source(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) source.SetPixel(x, y, static_cast<Colour>(0x01F3A5u * (x + 7 * y + 1)) & 0xFFFFFF);
  for (CopyMode mode : {CopyMode::SrcCopy, CopyMode::SrcAnd, CopyMode::SrcPaint, CopyMode::SrcInvert}) {
    QtCanvas cible(9, 6);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 9; ++x) cible.SetPixel(x, y, static_cast<Colour>(0x3C5A96u * (x + 9 * y + 3)) & 0xFFFFFF);
    QtCanvas avant(cible.Image());
    cible.Copy = mode;
    const Rect d{-1, 2, 7, 7}, s{-2, 1, 6, 6};
    cible.CopyRect(d, source, s);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 9; ++x) {
        const int sx = x - d.Left + s.Left, sy = y - d.Top + s.Top;
        const bool dedans = x >= d.Left && x < d.Right && y >= d.Top && y < d.Bottom && sx >= 0 && sx < 7 &&
                            sy >= 0 && sy < 5;
        const Colour attendu = dedans ? ApplyCopyMode(mode, source.Pixel(sx, sy), avant.Pixel(x, y)) : avant.Pixel(x, y);
        ASSERT_EQ(cible.Pixel(x, y), attendu) << static_cast<int>(mode) << " " << x << "," << y;
      }
  }
}

TEST(QtCanvas, RemplissageJusquALaBordure) {
  QtCanvas c(20, 20);
  c.Pen.Color = RgbColour(0xE8, 0x03, 0x00);
  c.Brush.Style = BrushStyle::Clear;
  c.Rectangle(5, 5, 15, 15);
  c.SetPixel(1, 1, kBlack);  // another colour outside does not stop the fill
  c.Brush = {kRed, BrushStyle::Solid};
  c.FloodFill(19, 19, c.Pen.Color);
  EXPECT_EQ(c.Pixel(0, 0), kRed);
  EXPECT_EQ(c.Pixel(1, 1), kRed);
  EXPECT_EQ(c.Pixel(19, 0), kRed);
  EXPECT_EQ(c.Pixel(5, 5), c.Pen.Color);  // the border stays
  EXPECT_EQ(c.Pixel(10, 10), kWhite);     // inside untouched
  EXPECT_EQ(c.Pixel(6, 13), kWhite);
  // Starting on the border colour does nothing.
  const QImage avant = Copie(c);
  c.FloodFill(5, 5, c.Pen.Color);
  EXPECT_EQ(c.Image(), avant);
}

TEST(QtCanvas, ArcDuQuartHautDroit) {
  // Counter-clockwise from the radial through (r, 0) to the radial through
  // (0, -r): the upper-right quarter.
  QtCanvas c(101, 101);
  c.Arc(0, 0, 101, 101, 100, 50, 50, 0);
  const Pixels p = Autres(c);
  ASSERT_GT(p.size(), 60u);
  for (const auto& [x, y] : p) {
    EXPECT_GE(x, 50) << x << "," << y;
    EXPECT_LE(y, 50) << x << "," << y;
    const double r = std::hypot(x - 50.0, y - 50.0);
    EXPECT_NEAR(r, 50.0, 1.0) << x << "," << y;
  }
  EXPECT_TRUE(p.count({100, 50}));  // starts on the right
  EXPECT_TRUE(p.count({85, 15}) || p.count({86, 15}) || p.count({85, 14}));
  // Swapping the radials gives the other three quarters.
  QtCanvas d(101, 101);
  d.Arc(0, 0, 101, 101, 50, 0, 100, 50);
  EXPECT_GT(Autres(d).size(), 2 * p.size());
  EXPECT_TRUE(Autres(d).count({0, 50}));
}

TEST(QtCanvas, EllipseCordeEtSecteur) {
  QtCanvas c(41, 41);
  c.Brush.Color = kRed;
  c.Ellipse(0, 0, 41, 41);
  EXPECT_EQ(c.Pixel(20, 20), kRed);
  EXPECT_EQ(c.Pixel(0, 20), kBlack);
  EXPECT_EQ(c.Pixel(40, 20), kBlack);
  EXPECT_EQ(c.Pixel(20, 0), kBlack);
  EXPECT_EQ(c.Pixel(2, 2), kWhite);
  QtCanvas s(41, 41);
  s.Brush.Color = kRed;
  s.Pie(0, 0, 41, 41, 40, 20, 20, 0);  // upper-right quarter
  EXPECT_EQ(s.Pixel(28, 12), kRed);
  EXPECT_EQ(s.Pixel(12, 12), kWhite);
  EXPECT_EQ(s.Pixel(28, 28), kWhite);
  QtCanvas k(41, 41);
  k.Brush.Color = kRed;
  k.Chord(0, 0, 41, 41, 40, 20, 20, 0);
  EXPECT_EQ(k.Pixel(32, 9), kRed);     // between arc and chord
  EXPECT_EQ(k.Pixel(24, 16), kWhite);  // beyond the chord
}

TEST(QtCanvas, BezierEtPlumeLarge) {
  QtCanvas c(50, 50);
  const Point b[] = {{0, 40}, {10, 0}, {40, 0}, {49, 40}};
  c.PolyBezier(b);
  EXPECT_EQ(c.Pixel(0, 40), kBlack);
  EXPECT_EQ(c.PenPos, (Point{0, 0}));  // the current position is not used
  int haut = 50;
  for (int y = 0; y < 50; ++y)
    if (c.Pixel(25, y) == kBlack) haut = std::min(haut, y);
  EXPECT_NEAR(haut, 10, 1);  // the curve's top at x = 25 (y = 40 - 0.75 * 40)
  QtCanvas w(30, 30);
  w.Pen.Width = 5;
  w.Pen.Style = PenStyle::Dash;  // wide dashed pens draw solid
  w.MoveTo(5, 15);
  w.LineTo(25, 15);
  for (int x = 5; x <= 25; ++x) EXPECT_EQ(w.Pixel(x, 15), kBlack) << x;
  EXPECT_EQ(w.Pixel(15, 13), kBlack);
  EXPECT_EQ(w.Pixel(15, 17), kBlack);
  EXPECT_EQ(w.Pixel(15, 18), kWhite);
  EXPECT_EQ(w.Pixel(15, 12), kWhite);
}

TEST(QtCanvas, ZoneDeDessin) {
  QtCanvas c(20, 20);
  c.SetClipRect({5, 5, 10, 10});
  c.Brush.Color = kRed;
  c.Rectangle(0, 0, 20, 20);
  c.FillRect({0, 0, 20, 20});
  c.SetPixel(2, 2, kBlack);
  c.TextOut(0, 0, "WWWWW");
  for (const auto& [x, y] : Autres(c)) {
    EXPECT_GE(x, 5);
    EXPECT_LT(x, 10);
    EXPECT_GE(y, 5);
    EXPECT_LT(y, 10);
  }
  EXPECT_EQ(c.Pixel(7, 7), kRed);
  c.ClearClipRect();
  c.SetPixel(2, 2, kBlack);
  EXPECT_EQ(c.Pixel(2, 2), kBlack);
  // Shapes far larger than the image (a view zoomed in) are cut, not lost.
  for (PenMode mode : {PenMode::Copy, PenMode::Not}) {
    QtCanvas g(20, 20);
    g.Pen.Mode = mode;
    g.Brush.Color = kBlack;
    const int32_t m = 1000000000;
    const Point immense[] = {{-m, -m}, {m, -m}, {m, m}, {-m, m}};
    g.Polygon(immense);
    EXPECT_EQ(Autres(g, mode == PenMode::Copy ? kBlack : kWhite).size(), mode == PenMode::Copy ? 0u : 400u);
  }
}

TEST(QtCanvas, TexteEtMesures) {
  QtCanvas c(200, 60);
  c.Font.Name = "Arial";
  c.Font.Size = 10;
  EXPECT_EQ(c.Font.PixelHeight(), 13);
  EXPECT_GT(c.TextWidth("é"), 0);
  EXPECT_GT(c.TextWidth("WW"), c.TextWidth("ii"));
  const int h = c.TextHeight("T");
  EXPECT_GE(h, 13);
  EXPECT_LE(h, 18);
  // Anchored at the top-left of its cell; a solid brush paints the cell.
  c.Brush = {RgbColour(0, 255, 0), BrushStyle::Solid};
  c.TextOut(20, 10, "Hé");
  const int w = c.TextWidth("Hé");
  EXPECT_EQ(c.PenPos, (Point{20 + w, 10}));
  EXPECT_EQ(c.Pixel(20, 10), RgbColour(0, 255, 0));
  EXPECT_EQ(c.Pixel(19, 10), kWhite);
  EXPECT_EQ(c.Pixel(20, 9), kWhite);
  EXPECT_EQ(c.Pixel(20 + w, 10), kWhite);
  int encre = 0;
  for (const auto& [x, y] : Autres(c))
    if (c.Pixel(x, y) == kBlack) {
      ++encre;
      EXPECT_GE(x, 20);
      EXPECT_GE(y, 10);
      EXPECT_LT(y, 10 + h);
    }
  EXPECT_GT(encre, 10);
  // A clear brush leaves the background.
  QtCanvas t(60, 30);
  t.Brush.Style = BrushStyle::Clear;
  t.TextOut(2, 2, "H");
  EXPECT_EQ(t.Pixel(2, 2), kWhite);
  EXPECT_FALSE(Autres(t).empty());
}

TEST(QtCanvas, TexteAvecEchappement) {
  // Escapement 900: the text runs upward from its anchor, its cell to the
  // right of the anchor.
  QtCanvas c(100, 120);
  c.Brush.Style = BrushStyle::Clear;
  c.Font.Size = 12;
  c.Font.Escapement = 900;
  c.TextOut(40, 100, "HHHH");
  const int w = c.TextWidth("HHHH");
  const int h = c.TextHeight("HHHH");
  const Pixels p = Autres(c);
  ASSERT_FALSE(p.empty());
  int haut = 1000, bas = -1;
  for (const auto& [x, y] : p) {
    EXPECT_GE(x, 40) << x << "," << y;
    EXPECT_LE(x, 40 + h) << x << "," << y;
    EXPECT_LE(y, 100) << x << "," << y;
    haut = std::min(haut, y);
    bas = std::max(bas, y);
  }
  EXPECT_GT(bas - haut, w / 2);  // long along Y
  EXPECT_GE(haut, 100 - w - 1);
}

TEST(QtCanvas, TailleEtFabrique) {
  QtCanvas c(4, 4);
  c.SetPixel(3, 3, kRed);
  c.SetSize(6, 2);
  EXPECT_EQ(c.Width(), 6);
  EXPECT_EQ(c.Height(), 2);
  EXPECT_EQ(c.Pixel(5, 1), kWhite);
  QtCanvasFactory f;
  ScopedCanvasFactory garde(f);
  auto b = CanvasFactory::Current().CreateBitmap(3, 2);
  ASSERT_NE(dynamic_cast<QtCanvas*>(b.get()), nullptr);
  EXPECT_EQ(b->Pixel(2, 1), kWhite);
}

TEST(QtCanvas, FacesDeRemplacement) {
  EXPECT_EQ(FontFace("Arial"), "Liberation Sans");
  EXPECT_EQ(FontFace("ms sans serif"), "Liberation Sans");
  EXPECT_EQ(FontFace("Times New Roman"), "Liberation Serif");
  EXPECT_EQ(FontFace("Courier New"), "Liberation Mono");
  EXPECT_EQ(FontFace("DejaVu Sans"), "DejaVu Sans");
}
