// Batches of calls on the image canvas against the same calls made one by
// one (the port's own Batch): the same pixels whatever the pen, the brush, the
// clip rectangle and the positions (inside, across the edges, outside, near
// the origin where the ellipses' points round differently); big batches drawn
// by bands on several threads against one thread; the exchange of pixels
// between two canvases.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/contexte_foundation.h"
#include "foundation/parallele.h"
#include "platform/qt/qt_canvas.h"
#include "tests/platform/qt/bruit.h"

using namespace platform;

namespace {

using Appel = BatchCall;

// A canvas of a fixed noise, so that a call painting the wrong colour or a
// pixel too many shows against any background.
QtCanvas Bruit(int32_t w, int32_t h) {
  static std::map<std::pair<int32_t, int32_t>, QImage> faits;
  QImage& image = faits[{w, h}];
  if (image.isNull()) image = ImageBruit(w, h, 12345);
  return QtCanvas(image);
}

// The pixels where two canvases differ, the first few of them named.
std::string Ecarts(const QtCanvas& a, const QtCanvas& b) {
  if (a.Image() == b.Image()) return "";
  std::string r;
  int n = 0;
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y) && n++ < 5) r += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
  return std::to_string(n) + " pixels:" + r;
}

struct Plume {
  const char* Nom;
  CanvasPen Pen;
  CanvasBrush Brush;
};

const Plume kPlumes[] = {
    {"trait plein, sans fond", {0x0000FF, 1, PenStyle::Solid, PenMode::Copy}, {0xFFFFFF, BrushStyle::Clear}},
    {"trait plein, fond plein", {0x123456, 1, PenStyle::Solid, PenMode::Copy}, {0x00FF00, BrushStyle::Solid}},
    {"sans trait, fond plein", {0x123456, 1, PenStyle::Clear, PenMode::Copy}, {0x00A0FF, BrushStyle::Solid}},
    {"tirets, fond hachure", {0x0000FF, 1, PenStyle::Dash, PenMode::Copy}, {0xFF0000, BrushStyle::DiagCross}},
    {"plume large", {0x008000, 4, PenStyle::Solid, PenMode::Copy}, {0x808080, BrushStyle::Solid}},
    {"ou exclusif", {0x00FFFF, 1, PenStyle::Solid, PenMode::Xor}, {0xFFFFFF, BrushStyle::Clear}},
};

// Draws the calls both ways on the same noise and compares the pictures, the
// current position and the pen left afterwards.
void Compare(const std::vector<Appel>& appels, const Plume& p, const std::optional<Rect>& clip, const std::string& cas,
             int32_t w = 240, int32_t h = 180) {
  QtCanvas lot = Bruit(w, h), un = Bruit(w, h);
  for (QtCanvas* c : {&lot, &un}) {
    c->Pen = p.Pen;
    c->Brush = p.Brush;
    c->PenPos = {-7, -9};
    if (clip) c->SetClipRect(*clip);
  }
  lot.Batch(appels);
  un.Canvas::Batch(appels);
  EXPECT_EQ(Ecarts(lot, un), "") << cas << ", " << p.Nom;
  EXPECT_EQ(lot.PenPos, un.PenPos) << cas << ", " << p.Nom;
  EXPECT_EQ(lot.Pen.Color, p.Pen.Color) << cas << ", " << p.Nom;
}

}  // namespace

TEST(LotsDAppels, CommeLesAppelsUnParUn) {
  // Lines of every octant, ends inside, across each edge and wholly
  // outside; ellipses whole, cut by the edges and outside; pixels in and out;
  // a point-sized line and a flat ellipse.
  std::vector<Appel> appels;
  uint32_t g = 99;
  const auto hasard = [&](int32_t lo, int32_t hi) {
    g = g * 1103515245u + 12345u;
    return lo + static_cast<int32_t>((g >> 8) % static_cast<uint32_t>(hi - lo + 1));
  };
  const Colour couleurs[] = {0x0000FF, 0xFF00FF, 0xFFFFFF, 0x00FF00};
  for (int i = 0; i < 400; ++i) {
    const Colour c = couleurs[i % 4];
    const int32_t x = hasard(-40, 280), y = hasard(-40, 220);
    switch (i % 3) {
      case 0: appels.push_back({Appel::Kind::Line, c, x, y, x + hasard(-60, 60), y + hasard(-60, 60)}); break;
      case 1: {
        const int32_t r = hasard(0, 12);
        appels.push_back({Appel::Kind::Ellipse, c, x - r, y - hasard(0, 9), x + hasard(0, 10), y + r});
        break;
      }
      default: appels.push_back({Appel::Kind::Pixel, c, x, y}); break;
    }
  }
  appels.push_back({Appel::Kind::Line, 0x0000FF, 30, 30, 30, 30});
  appels.push_back({Appel::Kind::Ellipse, 0x0000FF, 100, 100, 110, 100});
  appels.push_back({Appel::Kind::Ellipse, 0x0000FF, 130, 120, 120, 110});  // corners given backwards
  appels.push_back({Appel::Kind::Line, 0x00FFFF, -1000000, -500000, 1000000, 400000});
  for (const Plume& p : kPlumes) {
    Compare(appels, p, std::nullopt, "sans zone");
    Compare(appels, p, Rect{70, 50, 190, 150}, "zone de dessin");
    Compare(appels, p, Rect{300, 0, 400, 10}, "zone hors de l'image");
  }
}

TEST(LotsDAppels, EllipsesDeToutesTaillesEnToutePosition) {
  // Every size the canvas keeps the pixels of (and the next one), with the
  // corner near the origin along one axis or both, where the ellipse's points
  // round one by one, about four times the size, from where they follow the
  // parity alone, and farther.  Each ellipse on pixels of its own.
  // Outlines at every size; the fills, which the raster engine paints, at
  // every width and height in a few pairings.
  for (const Plume& p : {kPlumes[0], kPlumes[1], kPlumes[2]})
    for (int32_t w = 1; w <= 17; ++w)
      for (int32_t h = 1; h <= 17; ++h) {
        if (p.Brush.Style != BrushStyle::Clear && h != w && h != 18 - w && h != 1 + (w * 7) % 17) continue;
        const auto proches = [](int32_t n) {
          std::vector<int32_t> v{0, 1, 2, 3, 5};
          for (int32_t k = 4 * n - 2; k <= 4 * n + 2; ++k)
            if (k > 5) v.push_back(k);
          return v;
        };
        std::vector<Appel> appels;
        int32_t rang = 0;
        // Near along x, far along y, one row each; near along y, far along x, one column each.
        for (const int32_t x : proches(w)) {
          const int32_t y = 80 + 19 * rang++;
          appels.push_back({Appel::Kind::Ellipse, 0xFF0000, x, y, x + w, y + h});
        }
        rang = 0;
        for (const int32_t y : proches(h)) {
          const int32_t x = 90 + 19 * rang++;
          appels.push_back({Appel::Kind::Ellipse, 0xFF0000, x, y, x + w, y + h});
        }
        for (const int32_t x : {101, 120, 139, 158})
          for (const int32_t y : {101, 120, 139, 158}) appels.push_back({Appel::Kind::Ellipse, 0xFF0000, x, y, x + w, y + h});
        const std::string cas = "ellipse " + std::to_string(w) + " x " + std::to_string(h);
        Compare(appels, p, std::nullopt, cas, 300, 290);
        // Near along both axes.
        for (const int32_t x : {0, 1, 2})
          for (const int32_t y : {0, 1, 3})
            Compare({{Appel::Kind::Ellipse, 0xFF0000, x, y, x + w, y + h}}, p, std::nullopt, cas, x + w + 2, y + h + 2);
      }
}

TEST(LotsDAppels, EchangeDesPixels) {
  QtCanvas a(8, 6), b(8, 6), c(5, 6);
  a.SetPixel(1, 1, 0x0000FF);
  b.SetPixel(2, 2, 0x00FF00);
  a.Pen.Color = 0x111111;
  b.SetClipRect({0, 0, 4, 4});
  ASSERT_TRUE(a.SwapPixels(b));
  EXPECT_EQ(a.Pixel(2, 2), 0x00FF00u);
  EXPECT_EQ(a.Pixel(1, 1), kWhite);
  EXPECT_EQ(b.Pixel(1, 1), 0x0000FFu);
  // Each keeps its attributes and its clip rectangle.
  EXPECT_EQ(a.Pen.Color, 0x111111u);
  EXPECT_FALSE(a.ClipRect());
  EXPECT_TRUE(b.ClipRect());
  // Another size, itself, or another kind of canvas: nothing changes.
  EXPECT_FALSE(a.SwapPixels(c));
  EXPECT_FALSE(a.SwapPixels(a));
  EXPECT_EQ(a.Pixel(2, 2), 0x00FF00u);
}

// Big batches are drawn by bands of rows on several threads: the picture and
// the current position must be those of one thread, bit for bit, whatever the
// number of threads (hence of bands), the pen, the clip rectangle, and the
// calls that cannot be cut by rows (drawn one by one in their turn).
namespace {

// Many calls of every kind over a w x h canvas: short lines (inside a band or
// across the edge of one), long lines, lines across the canvas's edges and
// far outside, point-sized lines; ellipses of every stamped size (across the
// bands' edges, near the origin, flat, corners given backwards) inside the
// rectangle `ellipses`, and rarely anywhere (those across its edges are drawn
// one by one); pixels; a few colours, so that overlapping calls show which
// one was drawn last.
std::vector<Appel> GrandLot(int32_t w, int32_t h, size_t n, uint32_t graine, const Rect& ellipses) {
  std::vector<Appel> appels;
  appels.reserve(n);
  uint32_t g = graine;
  const auto hasard = [&](int32_t lo, int32_t hi) {
    g = g * 1103515245u + 12345u;
    return lo + static_cast<int32_t>((g >> 8) % static_cast<uint32_t>(hi - lo + 1));
  };
  const Colour couleurs[] = {0x0000FF, 0xFF00FF, 0xFFFFFF, 0x00FF00, 0x123456};
  while (appels.size() < n) {
    const Colour c = couleurs[hasard(0, 4)];
    int32_t x = hasard(-20, w + 20), y = hasard(-20, h + 20);
    switch (hasard(0, 9)) {
      case 0: case 1: case 2:
        appels.push_back({Appel::Kind::Line, c, x, y, x + hasard(-12, 12), y + hasard(-12, 12)});
        break;
      case 3:
        appels.push_back({Appel::Kind::Line, c, x, y, x + hasard(-90, 90), y + hasard(-90, 90)});
        break;
      case 4: {
        const int32_t k = hasard(0, 3);
        if (k == 0) appels.push_back({Appel::Kind::Line, c, x, y, x, y});
        else if (k == 1) appels.push_back({Appel::Kind::Line, c, x, y, hasard(-w, 2 * w), hasard(-h, 2 * h)});
        else if (k == 2) appels.push_back({Appel::Kind::Line, c, -3000000, y * 1000, 2500000, -y * 977});
        else appels.push_back({Appel::Kind::Line, c, x, -400, x + hasard(-3, 3), h + 400});
        break;
      }
      case 5: case 6: {
        const int32_t ew = hasard(1, 16), eh = hasard(1, 16);
        if (hasard(0, 999) != 0) {
          x = hasard(ellipses.Left, ellipses.Right - ew);
          y = hasard(ellipses.Top, ellipses.Bottom - eh);
        }
        if (hasard(0, 9) == 0) appels.push_back({Appel::Kind::Ellipse, c, x + ew, y + eh, x, y});
        else if (ellipses.Left == 0 && ellipses.Top == 0 && hasard(0, 19) == 0) appels.push_back({Appel::Kind::Ellipse, c, hasard(0, 3), hasard(0, 3), ew, eh});
        else if (hasard(0, 29) == 0) appels.push_back({Appel::Kind::Ellipse, c, x, y, x + ew, y});
        else appels.push_back({Appel::Kind::Ellipse, c, x, y, x + ew, y + eh});
        break;
      }
      default: appels.push_back({Appel::Kind::Pixel, c, x, y}); break;
    }
  }
  return appels;
}

// Draws the calls twice on the same canvas (the ellipses' pixels traced
// during the first pass, read from the table in the second) with at most
// `fils` threads; or, when `imbrique`, from inside a slice of other parallel
// work, where the bands are drawn one after the other in their order, so
// that a band writing on the rows of the band before it always shows.
QtCanvas DessineAvec(int fils, bool imbrique, const std::vector<Appel>& appels, const Plume& p,
                     const std::optional<Rect>& clip, int32_t w, int32_t h, Point& position) {
  foundation::GardeContexteFoundation garde;
  foundation::ContexteFoundation().FilsMax = fils;
  QtCanvas c = Bruit(w, h);
  c.Pen = p.Pen;
  c.Brush = p.Brush;
  c.PenPos = {-7, -9};
  if (clip) c.SetClipRect(*clip);
  const auto dessine = [&] {
    c.Batch(appels);
    c.Batch(appels);
  };
  if (imbrique)
    foundation::ParTranches(2, 2, [&](size_t tranche, size_t, size_t) {
      if (tranche == 0) dessine();
    });
  else
    dessine();
  position = c.PenPos;
  EXPECT_EQ(c.Pen.Color, p.Pen.Color) << p.Nom;
  return c;
}

void CompareFils(const std::vector<Appel>& appels, const Plume& p, const std::optional<Rect>& clip,
                 const std::string& cas, int32_t w, int32_t h) {
  Point seul, plusieurs;
  const QtCanvas reference = DessineAvec(1, false, appels, p, clip, w, h, seul);
  for (const int fils : {2, 3, 8, -8}) {
    const QtCanvas c = DessineAvec(std::abs(fils), fils < 0, appels, p, clip, w, h, plusieurs);
    const std::string comment = cas + ", " + p.Nom + ", " + (fils < 0 ? "dans une tranche" : std::to_string(fils) + " fils");
    EXPECT_EQ(Ecarts(c, reference), "") << comment;
    EXPECT_EQ(plusieurs, seul) << comment;
  }
}

}  // namespace

TEST(LotsDAppels, ParBandesCommeSurUnSeulFil) {
  constexpr int32_t w = 420, h = 310;
  const std::vector<Appel> appels = GrandLot(w, h, 40000, 7, {0, 0, w, h});
  const std::vector<Appel> dansLaZone = GrandLot(w, h, 40000, 8, {37, 23, 351, 270});
  const std::vector<Appel> dansLeBas = GrandLot(w, h, 40000, 9, {0, 150, 200, h});
  // Solid outlines with or without a fill, a fill alone: every call cut by
  // rows, save the ellipses across the visible edge (one by one).
  for (const Plume& p : {kPlumes[0], kPlumes[1], kPlumes[2]}) {
    CompareFils(appels, p, std::nullopt, "sans zone", w, h);
    CompareFils(dansLaZone, p, Rect{37, 23, 351, 270}, "zone de dessin", w, h);
    CompareFils(dansLeBas, p, Rect{-50, 150, 200, 900}, "zone au-delà de l'image", w, h);
  }
}

// The same comparison, ellipses across the edges and dashed pens: a test of
// its own, so that each part gets the whole time limit on a busy machine.
TEST(LotsDAppels, ParBandesCommeSurUnSeulFilEllipsesEtTirets) {
  constexpr int32_t w = 420, h = 310;
  const std::vector<Appel> appels = GrandLot(w, h, 40000, 7, {0, 0, w, h});
  // Ellipses anywhere, many across the visible edges (drawn by the bands on
  // a scratch bitmap), with every pen; a dashed pen and a hatch, where no
  // ellipse is stamped.
  const std::vector<Appel> partout = GrandLot(w, h, 40000, 10, {-20, -20, w + 20, h + 20});
  for (const Plume& p : {kPlumes[0], kPlumes[1], kPlumes[2], kPlumes[3]}) {
    CompareFils(partout, p, std::nullopt, "ellipses partout", w, h);
    CompareFils(partout, p, Rect{37, 23, 351, 270}, "ellipses partout, zone de dessin", w, h);
  }
  // A dashed pen: the lines by bands, their dashes where one thread puts them.
  CompareFils(appels, kPlumes[3], std::nullopt, "tirets", w, h);
  std::vector<Appel> traits;
  for (const Appel& a : appels)
    if (a.What != Appel::Kind::Ellipse) traits.push_back(a);
  CompareFils(traits, kPlumes[3], Rect{10, 10, 400, 300}, "tirets sans ellipses", w, h);
}

TEST(LotsDAppels, ParBandesAvecDesAppelsUnParUn) {
  // Runs of calls drawn by bands between calls a band cannot draw alone (big
  // ellipses), the batch ending with one, after its last line.  Each run
  // draws in a strip of its own, which its big ellipse then covers, so that
  // a call of the run drawn again after the ellipse shows; the strips
  // overlap a little.
  constexpr int32_t w = 300, h = 300, bande = 80;
  std::vector<Appel> appels;
  for (int32_t k = 0; k < 4; ++k) {
    const int32_t dy = 60 * k;
    for (Appel a : GrandLot(w, bande, 40000 + 2100 * k, 31 + k, {0, 0, w, bande})) {
      const auto dansLaBande = [&](int32_t x, int32_t y) { return x >= -20 && x <= w + 20 && y >= -20 && y <= bande + 20; };
      if (!dansLaBande(a.X1, a.Y1) || (a.What != Appel::Kind::Pixel && !dansLaBande(a.X2, a.Y2))) continue;
      a.Y1 += dy;
      if (a.What != Appel::Kind::Pixel) a.Y2 += dy;
      appels.push_back(a);
    }
    appels.push_back({Appel::Kind::Ellipse, 0xFF0000, 40 + 30 * k, dy, 140 + 30 * k, dy + bande});
  }
  for (const Plume& p : {kPlumes[0], kPlumes[1]}) CompareFils(appels, p, std::nullopt, "appels un par un", w, h);
}
