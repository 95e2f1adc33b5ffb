#include "platform/deferred_canvas.h"

#include <algorithm>

#include "platform/text_log_canvas.h"

namespace platform {

void DeferredCanvas::Begin(const Canvas& target) {
  width_ = target.Width();
  height_ = target.Height();
  clip_ = target.ClipRect();
  Pen = target.Pen;
  Brush = target.Brush;
  Font = target.Font;
  Copy = target.Copy;
  PenPos = kUnknownPosition;
  calls_.clear();
  runs_.clear();
  failures_.clear();
  refused_ = false;
}

void DeferredCanvas::Rewind(size_t count) {
  if (count < calls_.size()) calls_.resize(count);
  while (!runs_.empty() && runs_.back().First >= calls_.size()) runs_.pop_back();
  refused_ = false;
}

void DeferredCanvas::Follow() {
  if (runs_.empty() || !SameRun(runs_.back().Pen, runs_.back().Brush, Pen, Brush))
    runs_.push_back({calls_.size(), Pen, Brush});
}

void DeferredCanvas::Runs(
    size_t first, size_t last,
    const std::function<void(const CanvasPen&, const CanvasBrush&, std::span<const BatchCall>)>& f) const {
  last = std::min(last, calls_.size());
  if (first >= last) return;
  // The run holding the first call: the last one starting at or before it.
  auto r = std::upper_bound(runs_.begin(), runs_.end(), first, [](size_t i, const Run& run) { return i < run.First; });
  --r;
  for (size_t i = first; i < last; ++r) {
    const size_t end = std::min(last, r + 1 == runs_.end() ? calls_.size() : (r + 1)->First);
    f(r->Pen, r->Brush, std::span<const BatchCall>(calls_.data() + i, end - i));
    i = end;
  }
}


std::unique_ptr<Canvas> DeferredCanvas::CreateBitmap(int32_t width, int32_t height) const {
  refused_ = true;
  return std::make_unique<TextLogCanvas>(width, height);
}

void DeferredCanvas::LineTo(int32_t x, int32_t y) {
  if (PenPos == kUnknownPosition) {
    refused_ = true;
  } else {
    Add({BatchCall::Kind::Line, Pen.Color, PenPos.X, PenPos.Y, x, y});
  }
  PenPos = {x, y};
}

void DeferredCanvas::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  Add({BatchCall::Kind::Ellipse, Pen.Color, left, top, right, bottom});
}

Colour DeferredCanvas::Pixel(int32_t, int32_t) const {
  refused_ = true;
  return kWhite;
}

void DeferredCanvas::SetPixel(int32_t x, int32_t y, Colour c) { Add({BatchCall::Kind::Pixel, c, x, y, 0, 0}); }

int32_t DeferredCanvas::TextWidth(std::string_view) const {
  refused_ = true;
  return 0;
}

int32_t DeferredCanvas::TextHeight(std::string_view) const {
  refused_ = true;
  return 0;
}

void DeferredCanvas::Batch(std::span<const BatchCall> calls) {
  if (calls.empty()) return;
  Follow();
  calls_.insert(calls_.end(), calls.begin(), calls.end());
  for (auto c = calls.rbegin(); c != calls.rend(); ++c)
    if (c->What == BatchCall::Kind::Line) {
      PenPos = {c->X2, c->Y2};
      break;
    }
}

}  // namespace platform
