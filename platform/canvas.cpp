#include "platform/canvas.h"

#include "platform/contexte_platform.h"
#include "platform/text_log_canvas.h"

namespace platform {
namespace {

// The 8 x 8 hatch patterns, one byte per row, the high bit on the left.
constexpr uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal "\"
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal "/"
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};

class DefaultFactory final : public CanvasFactory {
 public:
  std::unique_ptr<Canvas> CreateBitmap(int32_t width, int32_t height) override {
    return std::make_unique<TextLogCanvas>(width, height);
  }
};

DefaultFactory defaultFactory;

}  // namespace

bool HatchPixel(BrushStyle style, int32_t x, int32_t y) {
  const int s = static_cast<int>(style) - static_cast<int>(BrushStyle::Horizontal);
  if (s < 0 || s >= 6) return style == BrushStyle::Solid;
  return (kHatches[s][y & 7] & (0x80 >> (x & 7))) != 0;
}

int32_t CanvasFont::PixelHeight() const {
  if (Height > 0) return Height;
  const int64_t s = Size < 0 ? -static_cast<int64_t>(Size) : Size;
  return static_cast<int32_t>((s * 96 + 36) / 72);
}

void Canvas::Batch(std::span<const BatchCall> calls) {
  const Colour pen = Pen.Color;
  for (const BatchCall& c : calls) {
    switch (c.What) {
      case BatchCall::Kind::Line:
        Pen.Color = c.Color;
        MoveTo(c.X1, c.Y1);
        LineTo(c.X2, c.Y2);
        break;
      case BatchCall::Kind::Ellipse:
        Pen.Color = c.Color;
        Ellipse(c.X1, c.Y1, c.X2, c.Y2);
        break;
      case BatchCall::Kind::Pixel:
        SetPixel(c.X1, c.Y1, c.Color);
        break;
    }
  }
  Pen.Color = pen;
}

CanvasFactory& CanvasFactory::Current() {
  auto* installed = ContextePlatform().CurrentCanvasFactory;
  return installed ? *installed : defaultFactory;
}

CanvasFactory* CanvasFactory::Install(CanvasFactory* f) {
  CanvasFactory* previous = ContextePlatform().CurrentCanvasFactory;
  ContextePlatform().CurrentCanvasFactory = f;
  return previous;
}

}  // namespace platform
