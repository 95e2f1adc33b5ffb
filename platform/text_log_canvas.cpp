#include "platform/text_log_canvas.h"

namespace platform {
namespace {

std::string Num(int32_t v) { return std::to_string(v); }

std::string Pts(std::span<const Point> points) {
  std::string s;
  for (const Point& p : points) s += " " + Num(p.X) + "," + Num(p.Y);
  return s;
}

std::string Box(int32_t l, int32_t t, int32_t r, int32_t b) {
  return " " + Num(l) + "," + Num(t) + "," + Num(r) + "," + Num(b);
}

std::string Radials(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  return " " + Num(x1) + "," + Num(y1) + " " + Num(x2) + "," + Num(y2);
}

}  // namespace

void TextLogCanvas::SetSize(int32_t width, int32_t height) {
  width_ = width < 0 ? 0 : width;
  height_ = height < 0 ? 0 : height;
  Record("SetSize " + Num(width_) + "," + Num(height_));
}

std::unique_ptr<Canvas> TextLogCanvas::CreateBitmap(int32_t width, int32_t height) const {
  auto c = std::make_unique<TextLogCanvas>(width, height);
  c->CharWidth = CharWidth;
  c->CharHeight = CharHeight;
  return c;
}

void TextLogCanvas::SetClipRect(const Rect& r) {
  clip_ = r;
  Record("Clip" + Box(r.Left, r.Top, r.Right, r.Bottom));
}

void TextLogCanvas::ClearClipRect() {
  clip_.reset();
  Record("NoClip");
}

void TextLogCanvas::LineTo(int32_t x, int32_t y) {
  Record("LineTo " + Num(PenPos.X) + "," + Num(PenPos.Y) + " " + Num(x) + "," + Num(y));
  PenPos = {x, y};
}

void TextLogCanvas::Polyline(std::span<const Point> points) { Record("Polyline" + Pts(points)); }
void TextLogCanvas::PolyBezier(std::span<const Point> points) { Record("PolyBezier" + Pts(points)); }
void TextLogCanvas::Polygon(std::span<const Point> points) { Record("Polygon" + Pts(points)); }

void TextLogCanvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  Record("Rectangle" + Box(left, top, right, bottom));
}

void TextLogCanvas::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  Record("Ellipse" + Box(left, top, right, bottom));
}

void TextLogCanvas::Arc(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  Record("Arc" + Box(l, t, r, b) + Radials(x1, y1, x2, y2));
}

void TextLogCanvas::Chord(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1, int32_t x2,
                            int32_t y2) {
  Record("Chord" + Box(l, t, r, b) + Radials(x1, y1, x2, y2));
}

void TextLogCanvas::Pie(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  Record("Pie" + Box(l, t, r, b) + Radials(x1, y1, x2, y2));
}

void TextLogCanvas::FillRect(const Rect& r) { Record("FillRect" + Box(r.Left, r.Top, r.Right, r.Bottom)); }
void TextLogCanvas::FrameRect(const Rect& r) { Record("FrameRect" + Box(r.Left, r.Top, r.Right, r.Bottom)); }

Colour TextLogCanvas::Pixel(int32_t x, int32_t y) const {
  return (x < 0 || y < 0 || x >= width_ || y >= height_) ? kInvalidColour : kWhite;
}

void TextLogCanvas::SetPixel(int32_t x, int32_t y, Colour c) {
  Record("SetPixel " + Num(x) + "," + Num(y) + " " + std::to_string(c));
}

void TextLogCanvas::FloodFill(int32_t x, int32_t y, Colour border) {
  Record("FloodFill " + Num(x) + "," + Num(y) + " " + std::to_string(border));
}

void TextLogCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
  Record("TextOut " + Num(x) + "," + Num(y) + " esc=" + Num(Font.Escapement) + " \"" + std::string(text) + "\"");
  PenPos = {x + TextWidth(text), y};
}

int32_t TextLogCanvas::TextWidth(std::string_view text) const {
  int32_t n = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++n;  // count code points, not bytes
  return n * CharWidth;
}

int32_t TextLogCanvas::TextHeight(std::string_view) const { return CharHeight; }

void TextLogCanvas::CopyRect(const Rect& d, const Canvas&, const Rect& s) {
  Record("CopyRect" + Box(d.Left, d.Top, d.Right, d.Bottom) + " from" + Box(s.Left, s.Top, s.Right, s.Bottom) +
         " mode=" + Num(static_cast<int32_t>(Copy)));
}

}  // namespace platform
