#pragma once
// Integer points and rectangles: drawing units (millimetres from the drawing
// origin) and screen pixels.  They are the canvas's own point and rectangle, so
// that converted points go to the canvas without copying.  The rectangle keeps
// the window system's corner names; whether Top is the smaller or the larger Y
// depends on the space it lives in (screen rectangles grow downwards, drawing
// rectangles upwards).
#include "platform/canvas.h"

namespace foundation {

using TPoint = platform::Point;
using TRect = platform::Rect;

}  // namespace foundation
