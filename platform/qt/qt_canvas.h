#pragma once
// The canvas on a QImage (32-bit RGB), painted with the raster engine without
// antialiasing.  One-pixel lines are traced here pixel by pixel with the
// system's dash patterns; shapes are filled with QPainter; every raster mode
// other than copy is applied pixel by pixel from a coverage layer, so that
// xor and not-xor drawings undo exactly when drawn twice.
#include <QFont>
#include <QImage>
#include <QString>
#include <memory>

#include "platform/canvas.h"

namespace platform {

class QtCanvas final : public Canvas {
 public:
  // A white bitmap.
  QtCanvas(int32_t width, int32_t height);
  // A canvas on a copy of the image, converted to 32-bit RGB.
  explicit QtCanvas(const QImage& image);

  const QImage& Image() const { return image_; }
  QImage& Image() { return image_; }

  int32_t Width() const override { return image_.width(); }
  int32_t Height() const override { return image_.height(); }
  void SetSize(int32_t width, int32_t height) override;
  std::unique_ptr<Canvas> CreateBitmap(int32_t width, int32_t height) const override;

  void SetClipRect(const Rect& r) override { clip_ = r; }
  void ClearClipRect() override { clip_.reset(); }
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
  // One-pixel lines (solid or dashed) and pixels straight to the image;
  // ellipses up to 16 x 16 pixels, whole inside the visible rectangle and
  // away from the surface's origin, from the pixels of the same ellipse
  // traced once and kept for its size (the same pixels as Ellipse gives).
  // Other calls go one by one.  A long run of such calls is drawn on several
  // threads, each owning bands of rows (the same pixels as on one thread).
  void Batch(std::span<const BatchCall> calls) override;
  // With another QtCanvas of the same size.
  bool SwapPixels(Canvas& other) override;

 private:
  enum class Closure { Open, Closed, Filled };
  // Draws outlines given as pixel polylines, filled (alternate rule) when asked.
  void DrawShape(const std::vector<std::vector<Point>>& outlines, Closure closure);
  void ArcShape(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
                int32_t y2, int kind);
  Rect Visible() const;
  struct Stamps;
  struct EllipseStamp;
  // The kept pixels of an ellipse of a batch (w x h pixels at the corner),
  // traced on first use; none when they would leave its rectangle.
  const EllipseStamp* FindStamp(int32_t left, int32_t top, int32_t w, int32_t h, bool outline, bool fill,
                                qsizetype stride);
  // The kept pixels of that ellipse once traced (usable or not), else none;
  // reads the table only, so that several threads may ask at once.
  const EllipseStamp* TracedStamp(int32_t left, int32_t top, int32_t w, int32_t h, unsigned variant,
                                  qsizetype stride) const;
  // The calls of a batch one after the other on this thread.
  void BatchSerial(std::span<const BatchCall> calls, const Rect& vis);
  // The calls of a batch by bands of rows on several threads, the runs of
  // calls that cannot be cut by rows drawn by BatchSerial in their turn
  // (band_raster.cpp, its thresholds in band_raster.h).
  void BatchBands(std::span<const BatchCall> calls, const Rect& vis);
  QImage image_;
  std::optional<Rect> clip_;
  // The pixels of the ellipses a batch drew, by size and corner (shared by
  // copies: they depend on the geometry alone).
  std::shared_ptr<Stamps> stamps_;
};

class QtCanvasFactory final : public CanvasFactory {
 public:
  std::unique_ptr<Canvas> CreateBitmap(int32_t width, int32_t height) override {
    return std::make_unique<QtCanvas>(width, height);
  }
};

// Windows colour value <-> Qt pixel value (0xAARRGGBB, opaque).
inline uint32_t ToQRgb(Colour c) {
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline Colour FromQRgb(uint32_t q) { return ((q >> 16) & 0xFFu) | (q & 0xFF00u) | ((q & 0xFFu) << 16); }

// The installed face standing for a Windows face: "Liberation Sans" for
// Arial, MS Sans Serif and the other sans-serif faces of Windows, "Liberation
// Serif" for Times New Roman, "Liberation Mono" for Courier New; other names
// are kept for the font matcher.
QString FontFace(const std::string& name);
// The Qt font of a canvas font (pixel size, style bits, no antialiasing).
QFont ToQFont(const CanvasFont& font);

}  // namespace platform
