#pragma once
// A line style on a canvas: the pen, brush and font colour a style gives, and
// the saving of the canvas's own values around an object's drawing.  Objects
// draw other objects (symbols their elements, texts their markers, fills their
// lines), so every drawing saves the canvas for itself (GardeStyleCanvas) and
// leaves it as it found it.
#include "drawing/objet_trait.h"
#include "platform/canvas.h"

namespace drawing {

// Pen colour, mode, base style and width (widened while a page is printed),
// brush colour and style, font colour.  Nothing without a style.
void AppliqueTrait(platform::Canvas& canvas, const TDefObjetTrait* style);
void AppliqueTrait(platform::Canvas& canvas, const TypeTrait& trait);

// The canvas values a drawing changes.
struct StyleCanvas {
  platform::CanvasPen Pen;
  platform::CanvasBrush Brush;
  platform::CanvasFont Font;
};
StyleCanvas MemoriseStyleCanvas(const platform::Canvas& canvas);
void RestaureStyleCanvas(platform::Canvas& canvas, const StyleCanvas& style);

// Saves the canvas's pen, brush and font and puts them back on exit.
class GardeStyleCanvas {
 public:
  explicit GardeStyleCanvas(platform::Canvas& canvas) : canvas_(canvas), sauve_(MemoriseStyleCanvas(canvas)) {}
  ~GardeStyleCanvas() { RestaureStyleCanvas(canvas_, sauve_); }
  GardeStyleCanvas(const GardeStyleCanvas&) = delete;
  GardeStyleCanvas& operator=(const GardeStyleCanvas&) = delete;

 private:
  platform::Canvas& canvas_;
  StyleCanvas sauve_;
};

}  // namespace drawing
