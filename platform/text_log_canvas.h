#pragma once
// A canvas that paints nothing and records every drawing call as one line of
// text, with fixed text metrics: each character (code point) is CharWidth
// pixels wide and every text CharHeight pixels high.  Tests of model code
// read the log; it is also the default bitmap of CanvasFactory.
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace platform {

class TextLogCanvas : public Canvas {
 public:
  TextLogCanvas(int32_t width = 100, int32_t height = 100) : width_(width), height_(height) {}

  int32_t CharWidth = 7;
  int32_t CharHeight = 16;
  // One line per call, such as "LineTo 10,20", "TextOut 5,6 esc=900 \"abc\"".
  std::vector<std::string> Log;

  int32_t Width() const override { return width_; }
  int32_t Height() const override { return height_; }
  void SetSize(int32_t width, int32_t height) override;
  std::unique_ptr<Canvas> CreateBitmap(int32_t width, int32_t height) const override;

  void SetClipRect(const Rect& r) override;
  void ClearClipRect() override;
  std::optional<Rect> ClipRect() const override { return clip_; }

  void LineTo(int32_t x, int32_t y) override;
  void Polyline(std::span<const Point> points) override;
  void PolyBezier(std::span<const Point> points) override;
  void Polygon(std::span<const Point> points) override;
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void Arc(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
           int32_t y2) override;
  void Chord(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
             int32_t y2) override;
  void Pie(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
           int32_t y2) override;
  void FillRect(const Rect& r) override;
  void FrameRect(const Rect& r) override;
  Colour Pixel(int32_t x, int32_t y) const override;
  void SetPixel(int32_t x, int32_t y, Colour c) override;
  void FloodFill(int32_t x, int32_t y, Colour border) override;
  void TextOut(int32_t x, int32_t y, std::string_view text) override;
  int32_t TextWidth(std::string_view text) const override;
  int32_t TextHeight(std::string_view text) const override;
  void CopyRect(const Rect& destination, const Canvas& source, const Rect& sourceRect) override;

 private:
  void Record(std::string line) { Log.push_back(std::move(line)); }
  int32_t width_;
  int32_t height_;
  std::optional<Rect> clip_;
};

}  // namespace platform
