#pragma once
// The pixel-level pieces that the image canvas (qt_canvas.cpp) and its band
// rasteriser (band_raster.cpp) share: the system's dash patterns, the segment
// tracer (whose pixels do not depend on the clip rectangle), the walk of a
// segment that needs no clipping, and the kept pixels of small ellipses.
// Internal to platform/qt.
#include <QtGlobal>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/qt/qt_canvas.h"

namespace platform {
namespace pixels {

using i64 = int64_t;
using i128 = __int128;

// ---------------------------------------------------------------- dashes

// The cosmetic dash patterns of the system: runs of drawn and skipped pixels.
struct DashPattern {
  int count;
  int runs[6];
};
inline constexpr DashPattern kDashes[4] = {
    {2, {18, 6}},               // dash
    {2, {3, 3}},                // dot
    {4, {9, 6, 3, 6}},          // dash-dot
    {6, {9, 3, 3, 3, 3, 3}},    // dash-dot-dot
};

class DashState {
 public:
  explicit DashState(PenStyle style) {
    const int s = static_cast<int>(style) - static_cast<int>(PenStyle::Dash);
    if (s < 0 || s >= 4) return;
    solid_ = false;
    period_ = 0;
    for (int r = 0; r < kDashes[s].count; ++r)
      for (int k = 0; k < kDashes[s].runs[r]; ++k) on_[period_++] = (r % 2) == 0;
  }
  bool Solid() const { return solid_; }
  int Period() const { return period_; }
  bool On(int pos) const { return on_[pos]; }
  int pos = 0;

 private:
  bool solid_ = true;
  int period_ = 1;
  std::array<bool, 24> on_{};
};

inline i64 FloorDiv(i128 a, i128 b) {  // b > 0
  i128 q = a / b;
  if (a % b != 0 && a < 0) --q;
  return static_cast<i64>(q);
}
inline i128 CeilDiv(i128 a, i128 b) { return -static_cast<i128>(FloorDiv(-a, b)); }

// Traces the pixels of the segment from (x0, y0) to (x1, y1), the last pixel
// excluded, inside the clip rectangle, calling plot(x, y) for each drawn pixel.
// The pixel of step i along the major axis lies on the exact line rounded to
// the nearest pixel, a half going to the smaller coordinate.  The dash
// position advances over the whole segment, clipped or not.
template <class Plot>
inline void TraceSegment(i64 x0, i64 y0, i64 x1, i64 y1, const Rect& clip, DashState& dash, Plot&& plot) {
  const i64 dx = x1 - x0, dy = y1 - y0;
  const i64 adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const i64 n = xMajor ? adx : ady;
  if (n == 0) return;
  const i64 dMi = xMajor ? ady : adx;
  const i64 ma0 = xMajor ? x0 : y0, mi0 = xMajor ? y0 : x0;
  const int sma = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int smi = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const i64 bias = smi > 0 ? 1 : 0;
  const i64 maLo = xMajor ? clip.Left : clip.Top, maHi = i64(xMajor ? clip.Right : clip.Bottom) - 1;
  const i64 miLo = xMajor ? clip.Top : clip.Left, miHi = i64(xMajor ? clip.Bottom : clip.Right) - 1;

  i64 ia = 0, ib = n;
  const bool inside = x0 >= clip.Left && x0 < clip.Right && y0 >= clip.Top && y0 < clip.Bottom &&
                      x1 >= clip.Left && x1 < clip.Right && y1 >= clip.Top && y1 < clip.Bottom;
  if (inside) {
    // Both ends inside: every pixel is (the common case, no clipping sums).
  } else if (sma > 0) {
    ia = std::max(ia, maLo - ma0);
    ib = std::min(ib, maHi - ma0 + 1);
  } else {
    ia = std::max(ia, ma0 - maHi);
    ib = std::min(ib, ma0 - maLo + 1);
  }
  const i64 kLo = smi > 0 ? miLo - mi0 : mi0 - miHi;
  const i64 kHi = smi > 0 ? miHi - mi0 : mi0 - miLo;
  // k(i) = floor((2 i dMi + n - bias) / 2n) is the minor offset of step i.
  if (inside) {
  } else if (dMi == 0) {
    if (kLo > 0 || kHi < 0) ib = ia;
  } else {
    const i128 lo = CeilDiv(i128(2) * n * kLo - n + bias, i128(2) * dMi);
    const i128 hi = CeilDiv(i128(2) * n * (i128(kHi) + 1) - n + bias, i128(2) * dMi);
    if (lo > ia) ia = lo > i128(ib) ? ib : static_cast<i64>(lo);
    if (hi < ib) ib = hi < i128(ia) ? ia : static_cast<i64>(hi);
  }
  if (ia < ib) {
    i64 k = 0, r = n - bias;
    if (ia > 0) {
      const i128 e = i128(2) * ia * dMi + n - bias;
      k = FloorDiv(e, i128(2) * n);
      r = static_cast<i64>(e - i128(2) * n * k);
    }
    i64 ma = ma0 + sma * ia, mi = mi0 + smi * k;
    const i64 twoN = 2 * n, twoMi = 2 * dMi;
    if (dash.Solid()) {
      for (i64 i = ia; i < ib; ++i) {
        if (xMajor)
          plot(ma, mi);
        else
          plot(mi, ma);
        ma += sma;
        r += twoMi;
        if (r >= twoN) {
          r -= twoN;
          mi += smi;
        }
      }
    } else {
      int pos = static_cast<int>((dash.pos + ia) % dash.Period());
      for (i64 i = ia; i < ib; ++i) {
        if (dash.On(pos)) {
          if (xMajor)
            plot(ma, mi);
          else
            plot(mi, ma);
        }
        if (++pos == dash.Period()) pos = 0;
        ma += sma;
        r += twoMi;
        if (r >= twoN) {
          r -= twoN;
          mi += smi;
        }
      }
    }
  }
  if (!dash.Solid()) dash.pos = static_cast<int>((dash.pos + n) % dash.Period());
}

inline void Normalise(int32_t& a, int32_t& b) {
  if (a > b) std::swap(a, b);
}

// The biggest ellipse (width and height) whose pixels are kept.
inline constexpr int32_t kStampMax = 16;

// The pixels of the segment from (x0, y0) to (x1, y1), the last one excluded,
// when both ends lie inside the clip rectangle: TraceSegment's pixels, walked
// with a pointer, without the clipping sums.
inline void WalkSegment(uint32_t* bits, qsizetype stride, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                        uint32_t colour) {
  const int32_t dx = x1 - x0, dy = y1 - y0;
  const int32_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const int32_t n = xMajor ? adx : ady, twoN = 2 * n, twoMi = 2 * (xMajor ? ady : adx);
  const int32_t dMa = xMajor ? dx : dy, dMi = xMajor ? dy : dx;
  const qsizetype sma = dMa < 0 ? -1 : 1, smi = dMi < 0 ? -1 : 1;
  const qsizetype pasMajeur = xMajor ? sma : sma * stride, pasMineur = xMajor ? smi * stride : smi;
  int32_t r = n - (dMi < 0 ? 0 : 1);
  uint32_t* px = bits + static_cast<qsizetype>(y0) * stride + x0;
  for (int32_t i = 0; i < n; ++i) {
    *px = colour;
    px += pasMajeur;
    r += twoMi;
    if (r >= twoN) {
      r -= twoN;
      px += pasMineur;
    }
  }
}

// The rectangle of an ellipse call, its corners in order.
inline Rect CoinsEllipse(const BatchCall& c) {
  Rect r{c.X1, c.Y1, c.X2, c.Y2};
  Normalise(r.Left, r.Right);
  Normalise(r.Top, r.Bottom);
  return r;
}

// Whether an ellipse of a batch is drawn from its stamp, its pen and brush
// allowing stamps: a size the stamps keep, whole inside the visible rectangle.
inline bool Estampable(const Rect& r, const Rect& vis) {
  return static_cast<uint32_t>(r.Width() - 1) < kStampMax && static_cast<uint32_t>(r.Height() - 1) < kStampMax &&
         r.Left >= vis.Left && r.Top >= vis.Top && r.Right <= vis.Right && r.Bottom <= vis.Bottom;
}

}  // namespace pixels

// The pixels an ellipse paints, as offsets from its rectangle's top-left
// corner in the canvas's rows: by the pen and by the brush, row after row.
struct QtCanvas::EllipseStamp {
  bool Ready = false;
  // Every pixel lies inside the ellipse's rectangle.
  bool Usable = false;
  std::vector<int32_t> Pen, Brush;
  // When usable: where each row of the rectangle starts in Pen and in Brush
  // (row h: their ends), so that a band of rows draws its own pixels alone.
  std::array<uint16_t, pixels::kStampMax + 1> PenRows{}, BrushRows{};
};

}  // namespace platform
