// The recording of a drawing's small calls: each call kept with the pen and
// brush it was made with, runs split where a batch would draw differently,
// every other call refused, a refused drawing dropped, and failed drawings
// kept for the caller.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/deferred_canvas.h"
#include "platform/text_log_canvas.h"

using namespace platform;

namespace {

struct Piece {
  int32_t Width;
  BrushStyle Brush;
  size_t Count;
  friend bool operator==(const Piece&, const Piece&) = default;
};

std::vector<Piece> Pieces(const DeferredCanvas& r, size_t first, size_t last) {
  std::vector<Piece> p;
  r.Runs(first, last, [&](const CanvasPen& pen, const CanvasBrush& brush, std::span<const BatchCall> calls) {
    p.push_back({pen.Width, brush.Style, calls.size()});
  });
  return p;
}

TEST(DeferredCanvas, EnregistreParPlumeEtRefuseLeReste) {
  TextLogCanvas cible(300, 200);
  cible.SetClipRect({10, 10, 290, 190});
  DeferredCanvas r;
  r.Begin(cible);
  EXPECT_EQ(r.Width(), 300);
  EXPECT_EQ(r.ClipRect()->Left, 10);
  // A line from an unknown position is refused; after a MoveTo it is kept.
  r.LineTo(5, 5);
  EXPECT_TRUE(r.Refused());
  r.Rewind(0);
  EXPECT_FALSE(r.Refused());
  r.MoveTo(1, 2);
  r.Pen.Color = 0x0000FF;
  r.LineTo(30, 40);
  r.Pen.Color = 0x00FF00;  // the colour goes with each call: same run
  r.LineTo(50, 40);
  r.Ellipse(0, 0, 4, 4);
  r.Pen.Width = 2;  // a wider pen: a new run
  r.LineTo(60, 60);
  r.Brush.Style = BrushStyle::Clear;  // another brush: a new run
  r.SetPixel(7, 8, 0x123456);
  const BatchCall lot[] = {{BatchCall::Kind::Line, 1, 0, 0, 9, 9}, {BatchCall::Kind::Pixel, 2, 3, 3, 0, 0}};
  r.Batch(lot);
  EXPECT_EQ(r.PenPos, (Point{9, 9}));
  EXPECT_FALSE(r.Refused());
  ASSERT_EQ(r.Count(), 7u);
  EXPECT_EQ(Pieces(r, 0, 7), (std::vector<Piece>{{1, BrushStyle::Solid, 3}, {2, BrushStyle::Solid, 1},
                                                  {2, BrushStyle::Clear, 3}}));
  // A range inside runs.
  EXPECT_EQ(Pieces(r, 1, 5), (std::vector<Piece>{{1, BrushStyle::Solid, 2}, {2, BrushStyle::Solid, 1},
                                                  {2, BrushStyle::Clear, 1}}));
  // The calls as made: ends, colours.
  std::vector<BatchCall> vus;
  r.Runs(0, 2, [&](const CanvasPen&, const CanvasBrush&, std::span<const BatchCall> c) {
    vus.insert(vus.end(), c.begin(), c.end());
  });
  ASSERT_EQ(vus.size(), 2u);
  EXPECT_EQ(vus[0].Color, 0x0000FFu);
  EXPECT_EQ(vus[0].X1, 1);
  EXPECT_EQ(vus[0].Y2, 40);
  EXPECT_EQ(vus[1].Color, 0x00FF00u);
  EXPECT_EQ(vus[1].X1, 30);

  // Every other call refuses the drawing; a rewind drops what it made.
  const std::vector<std::pair<const char*, std::function<void(DeferredCanvas&)>>> refus = {
      {"TextOut", [](DeferredCanvas& c) { c.TextOut(1, 1, "a"); }},
      {"TextWidth", [](DeferredCanvas& c) { (void)c.TextWidth("a"); }},
      {"Polygon", [](DeferredCanvas& c) { const Point p[3] = {{0, 0}, {5, 0}, {0, 5}}; c.Polygon(p); }},
      {"Polyline", [](DeferredCanvas& c) { const Point p[2] = {{0, 0}, {5, 0}}; c.Polyline(p); }},
      {"Rectangle", [](DeferredCanvas& c) { c.Rectangle(0, 0, 5, 5); }},
      {"FillRect", [](DeferredCanvas& c) { c.FillRect({0, 0, 5, 5}); }},
      {"Pixel", [](DeferredCanvas& c) { (void)c.Pixel(1, 1); }},
      {"SetClipRect", [](DeferredCanvas& c) { c.SetClipRect({0, 0, 5, 5}); }},
      {"CopyRect", [](DeferredCanvas& c) { TextLogCanvas s; c.CopyRect({0, 0, 5, 5}, s, {0, 0, 5, 5}); }},
      {"CreateBitmap", [](DeferredCanvas& c) { (void)c.CreateBitmap(4, 4); }},
  };
  for (const auto& [nom, appel] : refus) {
    const size_t avant = r.Count();
    r.MoveTo(0, 0);
    r.LineTo(3, 3);
    appel(r);
    EXPECT_TRUE(r.Refused()) << nom;
    r.Rewind(avant);
    EXPECT_EQ(r.Count(), avant) << nom;
    EXPECT_EQ(Pieces(r, 0, avant).size(), 3u) << nom;
  }
}

// The failed drawings are kept in order beside the calls, dropped with the
// drawing that made them, and forgotten by the next Begin; the text-log
// canvas keeps none (its drawer reports the failure itself).
TEST(DeferredCanvas, GardeLesEchecsDansLOrdre) {
  TextLogCanvas cible(300, 200);
  EXPECT_FALSE(cible.KeepFailure(3));
  DeferredCanvas r;
  r.Begin(cible);
  EXPECT_TRUE(r.KeepFailure(12));
  const size_t avant = r.Failures().size();
  EXPECT_TRUE(r.KeepFailure(40));
  EXPECT_TRUE(r.KeepFailure(7));
  EXPECT_EQ(r.Failures(), (std::vector<int32_t>{12, 40, 7}));
  r.DropFailures(avant);
  EXPECT_EQ(r.Failures(), (std::vector<int32_t>{12}));
  r.DropFailures(5);
  EXPECT_EQ(r.Failures(), (std::vector<int32_t>{12}));
  r.Begin(cible);
  EXPECT_TRUE(r.Failures().empty());
}

}  // namespace
