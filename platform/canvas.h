#pragma once
// The drawing surface every window, view, printout and drawing object paints
// on: a GDI-like canvas with a pen, a brush, a font, a current position, the
// binary raster modes, hatch brushes, text with an escapement, bitmaps and
// blits.  Coordinates are pixels, Y downward; a rectangle's right and bottom
// edges are excluded, as on the Windows canvas.  Colours are Windows colour
// values (red in the low byte, blue in the third byte).
//
// The Qt implementation paints on an image (platform/qt/qt_canvas.h); the
// text-log canvas (platform/text_log_canvas.h) logs the calls for tests of
// model code.  Model code creates scratch bitmaps through CreateBitmap or the
// installed CanvasFactory, never through a toolkit.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/scoped_port.h"

namespace platform {

// 0x00BBGGRR.
using Colour = uint32_t;

constexpr Colour RgbColour(int red, int green, int blue) {
  return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;
// Returned by Pixel outside the surface.
constexpr Colour kInvalidColour = 0xFFFFFFFF;

struct Point {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Left and top included, right and bottom excluded.
struct Rect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Pen styles; a dashed style on a pen wider than one pixel draws solid, as the
// Windows canvas does (the complex line tracer draws wide dashes itself).
enum class PenStyle : uint8_t { Solid, Dash, Dot, DashDot, DashDotDot, Clear };

// The sixteen binary raster modes, in the order of the pen-mode byte of the
// style records.  P is the pen (or brush) colour, D the pixel underneath.
enum class PenMode : uint8_t {
  Black,        // 0
  White,        // 1
  Nop,          // D
  Not,          // ~D
  Copy,         // P
  NotCopy,      // ~P
  MergePenNot,  // P | ~D
  MaskPenNot,   // P & ~D
  MergeNotPen,  // ~P | D
  MaskNotPen,   // ~P & D
  Merge,        // P | D
  NotMerge,     // ~(P | D)
  Mask,         // P & D
  NotMask,      // ~(P & D)
  Xor,          // P ^ D
  NotXor,       // ~(P ^ D)
};
constexpr int kPenModeCount = 16;

// The result of a raster mode on two colours (the high byte is cleared).
constexpr Colour ApplyPenMode(PenMode mode, Colour p, Colour d) {
  Colour r = 0;
  switch (mode) {
    case PenMode::Black: r = 0; break;
    case PenMode::White: r = 0xFFFFFF; break;
    case PenMode::Nop: r = d; break;
    case PenMode::Not: r = ~d; break;
    case PenMode::Copy: r = p; break;
    case PenMode::NotCopy: r = ~p; break;
    case PenMode::MergePenNot: r = p | ~d; break;
    case PenMode::MaskPenNot: r = p & ~d; break;
    case PenMode::MergeNotPen: r = ~p | d; break;
    case PenMode::MaskNotPen: r = ~p & d; break;
    case PenMode::Merge: r = p | d; break;
    case PenMode::NotMerge: r = ~(p | d); break;
    case PenMode::Mask: r = p & d; break;
    case PenMode::NotMask: r = ~(p & d); break;
    case PenMode::Xor: r = p ^ d; break;
    case PenMode::NotXor: r = ~(p ^ d); break;
  }
  return r & 0xFFFFFF;
}

// Brush styles, in the order of the brush-style byte of the style records.
// Hatches are 8 x 8 patterns aligned on the surface's origin; only their lines
// are painted, the pixels between them are left as they were.
enum class BrushStyle : uint8_t { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };
constexpr int kBrushStyleCount = 8;

// True when the hatch of the style paints pixel (x, y) of the surface.
bool HatchPixel(BrushStyle style, int32_t x, int32_t y);

// Font style bits.
enum FontStyleBits : uint8_t { kFontBold = 1, kFontItalic = 2, kFontUnderline = 4, kFontStrikeOut = 8 };

struct CanvasPen {
  Colour Color = kBlack;
  int32_t Width = 1;
  PenStyle Style = PenStyle::Solid;
  PenMode Mode = PenMode::Copy;
};

struct CanvasBrush {
  Colour Color = kWhite;
  BrushStyle Style = BrushStyle::Solid;
};

struct CanvasFont {
  std::string Name = "Arial";
  // Size in points at 96 pixels per inch.
  int32_t Size = 10;
  // Character height in pixels; when above 0 it replaces Size.
  int32_t Height = 0;
  uint8_t Style = 0;  // FontStyleBits
  Colour Color = kBlack;
  // Angle of the base line in tenths of a degree, counter-clockwise.  The text
  // turns about the top-left corner of its cell.
  int32_t Escapement = 0;

  // The character height in pixels: Height, else Size at 96 pixels per inch
  // (rounded half away from zero, as the system does).
  int32_t PixelHeight() const;
  friend bool operator==(const CanvasFont&, const CanvasFont&) = default;
};

// Raster operations of the blits: the source pixel S combined with the
// destination D.
enum class CopyMode : uint8_t {
  SrcCopy,     // S
  SrcAnd,      // S & D: white leaves D unchanged
  SrcPaint,    // S | D
  SrcInvert,   // S ^ D
  NotSrcCopy,  // ~S
};
constexpr Colour ApplyCopyMode(CopyMode mode, Colour s, Colour d) {
  Colour r = s;
  switch (mode) {
    case CopyMode::SrcCopy: r = s; break;
    case CopyMode::SrcAnd: r = s & d; break;
    case CopyMode::SrcPaint: r = s | d; break;
    case CopyMode::SrcInvert: r = s ^ d; break;
    case CopyMode::NotSrcCopy: r = ~s; break;
  }
  return r & 0xFFFFFF;
}

// One call of a batch (Canvas::Batch): a line from (X1, Y1) to (X2, Y2), an
// ellipse inscribed in the rectangle (X1, Y1, X2, Y2), both with the pen in
// the colour Color, or the pixel (X1, Y1) set to Color.
struct BatchCall {
  enum class Kind : uint8_t { Line, Ellipse, Pixel };
  Kind What = Kind::Line;
  Colour Color = kBlack;
  int32_t X1 = 0;
  int32_t Y1 = 0;
  int32_t X2 = 0;
  int32_t Y2 = 0;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Drawing attributes, read by every drawing call.
  CanvasPen Pen;
  CanvasBrush Brush;
  CanvasFont Font;
  CopyMode Copy = CopyMode::SrcCopy;
  // The current position, moved by MoveTo, LineTo and TextOut.
  Point PenPos;

  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  // Resizes the surface; what was drawn is kept at the top left, new pixels are white.
  virtual void SetSize(int32_t width, int32_t height) = 0;
  // A blank (white) bitmap of the same kind, for scratch drawing and blits.
  virtual std::unique_ptr<Canvas> CreateBitmap(int32_t width, int32_t height) const = 0;

  // Clipping: drawing is limited to the rectangle (and to the surface).
  virtual void SetClipRect(const Rect& r) = 0;
  virtual void ClearClipRect() = 0;
  virtual std::optional<Rect> ClipRect() const = 0;

  // Lines: the last pixel of a line is not drawn.  The pen's dash pattern
  // runs on across the segments of one polyline.
  void MoveTo(int32_t x, int32_t y) { PenPos = {x, y}; }
  virtual void LineTo(int32_t x, int32_t y) = 0;
  virtual void Polyline(std::span<const Point> points) = 0;
  // Cubic Bézier curves: 3n + 1 points (start, two controls, end, ...).  The
  // current position is neither used nor moved.
  virtual void PolyBezier(std::span<const Point> points) = 0;

  // Closed shapes are filled with the brush and outlined with the pen; each
  // pixel they cover is combined once with the pen mode (the pen's colour on
  // the outline, the brush's inside).
  // Polygon: closed automatically, filled by the alternate (even-odd) rule.
  virtual void Polygon(std::span<const Point> points) = 0;
  // Shapes inscribed in the rectangle (right and bottom excluded).
  virtual void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
  virtual void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
  // Arcs of the inscribed ellipse, counter-clockwise on the screen from the
  // radial through (x1, y1) to the radial through (x2, y2); equal radials
  // give the whole ellipse.  Arc is open; Chord closes it with a straight
  // line and Pie with the two radii; both are filled.
  virtual void Arc(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
                   int32_t y2) = 0;
  virtual void Chord(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
                     int32_t y2) = 0;
  virtual void Pie(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
                   int32_t y2) = 0;
  // The brush alone over the rectangle (pen and pen mode not used).
  virtual void FillRect(const Rect& r) = 0;
  // A one-pixel frame in the brush colour.
  virtual void FrameRect(const Rect& r) = 0;

  virtual Colour Pixel(int32_t x, int32_t y) const = 0;
  virtual void SetPixel(int32_t x, int32_t y, Colour c) = 0;
  // Fills with the brush the area around (x, y) bounded by pixels of the
  // border colour (nothing when (x, y) has the border colour).
  virtual void FloodFill(int32_t x, int32_t y, Colour border) = 0;

  // Text with its cell's top-left corner at (x, y), turned by the font's
  // escapement.  A solid brush paints the cell's background; any other brush
  // leaves it transparent.  The pen mode does not apply.  The current
  // position moves to (x + width, y).
  virtual void TextOut(int32_t x, int32_t y, std::string_view text) = 0;
  // Measures of the unturned text in the current font: advance width and
  // cell height (ascent + descent).
  virtual int32_t TextWidth(std::string_view text) const = 0;
  virtual int32_t TextHeight(std::string_view text) const = 0;

  // Copies the source rectangle of a bitmap onto the destination rectangle
  // through the copy mode, stretching when the sizes differ.
  virtual void CopyRect(const Rect& destination, const Canvas& source, const Rect& sourceRect) = 0;
  // The whole source at (x, y) through the copy mode.
  void Draw(int32_t x, int32_t y, const Canvas& source) {
    CopyRect({x, y, x + source.Width(), y + source.Height()}, source, {0, 0, source.Width(), source.Height()});
  }

  // Many small calls at once, each drawn exactly as its own call draws it
  // and in their order: a line as MoveTo then LineTo, an ellipse as Ellipse
  // (both with the pen's colour set to the call's, given back afterwards), a
  // pixel as SetPixel.  Drawings made of thousands of pieces (survey axes)
  // give them here so that a canvas may draw them without a call each; the
  // default makes the calls one by one.
  virtual void Batch(std::span<const BatchCall> calls);

  // Exchanges the pixels with another canvas of the same kind and size (each
  // keeps its attributes and clip rectangle); false, and nothing changes,
  // when the two cannot.
  virtual bool SwapPixels(Canvas& other) {
    (void)other;
    return false;
  }

  // Keeps the number of a drawn object whose drawing failed, for the caller
  // that will replay this canvas's calls to report in order; false when the
  // canvas keeps none (it paints for good: the drawer reports the failure
  // itself).
  virtual bool KeepFailure(int32_t object) {
    (void)object;
    return false;
  }
};

// Creates bitmaps for model code that has no canvas at hand (text measures).
// The application installs the Qt factory; without one, text-log canvases
// with fixed metrics are made.
class CanvasFactory {
 public:
  virtual ~CanvasFactory() = default;
  virtual std::unique_ptr<Canvas> CreateBitmap(int32_t width, int32_t height) = 0;

  static CanvasFactory& Current();
  // Installs f (not owned) and returns the previous one; nullptr restores the default.
  static CanvasFactory* Install(CanvasFactory* f);
};

using ScopedCanvasFactory = ScopedPort<CanvasFactory>;

}  // namespace platform
