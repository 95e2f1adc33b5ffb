#pragma once
// A canvas that defers the small calls of a drawing (lines, ellipses, pixels,
// batches): it keeps them with the pen and brush they were made with, so that
// drawings made on several threads can be given to the real canvas
// afterwards, in order, as large batches (Runs).  Any other call (text, shapes, blits, reading a pixel,
// changing the clip rectangle, a line from an unknown current position)
// paints nothing and marks the recording refused: the caller draws that
// drawing on the real canvas itself.  A drawing that fails leaves its number
// here (KeepFailure) rather than on a list shared between threads.
#include <cstddef>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "platform/canvas.h"

namespace platform {

class DeferredCanvas : public Canvas {
 public:
  // The current position a recording starts from: a line from it is refused.
  static constexpr Point kUnknownPosition{std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min()};

  // Empties the recording and takes the size, clip rectangle, pen, brush,
  // font and copy mode of the canvas it is for; the current position is
  // unknown.
  void Begin(const Canvas& target);
  // The number of calls recorded; a drawing's calls are those between two counts.
  size_t Count() const { return calls_.size(); }
  // Drops the calls from that count on and clears the refusal.
  void Rewind(size_t count);
  bool Refused() const { return refused_; }
  // The failures kept (KeepFailure), in the order they came; a drawing's are
  // those between two counts.
  const std::vector<int32_t>& Failures() const { return failures_; }
  // Drops the failures from that count on.
  void DropFailures(size_t count) {
    if (count < failures_.size()) failures_.resize(count);
  }

  // The calls [first, last) run by run, each with its pen and brush.
  void Runs(size_t first, size_t last,
            const std::function<void(const CanvasPen&, const CanvasBrush&, std::span<const BatchCall>)>& f) const;
  // Two pens and brushes a batch draws alike (the pen's colour is in each call).
  static bool SameRun(const CanvasPen& a, const CanvasBrush& b, const CanvasPen& pen, const CanvasBrush& brush) {
    return a.Width == pen.Width && a.Style == pen.Style && a.Mode == pen.Mode && b.Color == brush.Color &&
           b.Style == brush.Style;
  }

  int32_t Width() const override { return width_; }
  int32_t Height() const override { return height_; }
  void SetSize(int32_t, int32_t) override { refused_ = true; }
  std::unique_ptr<Canvas> CreateBitmap(int32_t width, int32_t height) const override;
  void SetClipRect(const Rect&) override { refused_ = true; }
  void ClearClipRect() override { refused_ = true; }
  std::optional<Rect> ClipRect() const override { return clip_; }

  void LineTo(int32_t x, int32_t y) override;
  void Polyline(std::span<const Point>) override { refused_ = true; }
  void PolyBezier(std::span<const Point>) override { refused_ = true; }
  void Polygon(std::span<const Point>) override { refused_ = true; }
  void Rectangle(int32_t, int32_t, int32_t, int32_t) override { refused_ = true; }
  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void Arc(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override { refused_ = true; }
  void Chord(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override { refused_ = true; }
  void Pie(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override { refused_ = true; }
  void FillRect(const Rect&) override { refused_ = true; }
  void FrameRect(const Rect&) override { refused_ = true; }
  Colour Pixel(int32_t, int32_t) const override;
  void SetPixel(int32_t x, int32_t y, Colour c) override;
  void FloodFill(int32_t, int32_t, Colour) override { refused_ = true; }
  void TextOut(int32_t, int32_t, std::string_view) override { refused_ = true; }
  int32_t TextWidth(std::string_view) const override;
  int32_t TextHeight(std::string_view) const override;
  void CopyRect(const Rect&, const Canvas&, const Rect&) override { refused_ = true; }
  void Batch(std::span<const BatchCall> calls) override;
  bool KeepFailure(int32_t object) override {
    failures_.push_back(object);
    return true;
  }

 private:
  // Calls from First on (up to the next run) were made with this pen and brush.
  struct Run {
    size_t First;
    CanvasPen Pen;
    CanvasBrush Brush;
  };
  // Starts a run when the pen or brush differs from the last run's in what a
  // batch reads (the pen's colour is in each call).
  void Follow();
  void Add(const BatchCall& c) {
    Follow();
    calls_.push_back(c);
  }

  int32_t width_ = 0, height_ = 0;
  std::optional<Rect> clip_;
  std::vector<BatchCall> calls_;
  std::vector<Run> runs_;
  std::vector<int32_t> failures_;
  mutable bool refused_ = false;
};

}  // namespace platform
