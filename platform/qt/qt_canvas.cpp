#include "platform/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <unordered_map>
#include <vector>

#include "foundation/arrondi.h"
#include "foundation/parallele.h"

namespace platform {
namespace {

using i64 = int64_t;
using i128 = __int128;

// ---------------------------------------------------------------- raster modes

// Calls f with a functor that gives the new pixel from the old one (both
// 0xAARRGGBB; the alpha byte of the result is ignored).  Nop calls nothing.
template <class F>
void WithPenOp(PenMode mode, uint32_t p, F&& f) {
  switch (mode) {
    case PenMode::Black: f([](uint32_t) { return 0u; }); break;
    case PenMode::White: f([](uint32_t) { return 0xFFFFFFu; }); break;
    case PenMode::Nop: break;
    case PenMode::Not: f([](uint32_t d) { return ~d; }); break;
    case PenMode::Copy: f([p](uint32_t) { return p; }); break;
    case PenMode::NotCopy: f([p](uint32_t) { return ~p; }); break;
    case PenMode::MergePenNot: f([p](uint32_t d) { return p | ~d; }); break;
    case PenMode::MaskPenNot: f([p](uint32_t d) { return p & ~d; }); break;
    case PenMode::MergeNotPen: f([p](uint32_t d) { return ~p | d; }); break;
    case PenMode::MaskNotPen: f([p](uint32_t d) { return ~p & d; }); break;
    case PenMode::Merge: f([p](uint32_t d) { return p | d; }); break;
    case PenMode::NotMerge: f([p](uint32_t d) { return ~(p | d); }); break;
    case PenMode::Mask: f([p](uint32_t d) { return p & d; }); break;
    case PenMode::NotMask: f([p](uint32_t d) { return ~(p & d); }); break;
    case PenMode::Xor: f([p](uint32_t d) { return p ^ d; }); break;
    case PenMode::NotXor: f([p](uint32_t d) { return ~(p ^ d); }); break;
  }
}

// ---------------------------------------------------------------- rectangles

Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

QRect ToQRect(const Rect& r) { return QRect(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height())); }

int32_t Clamp32(i64 v) {
  return static_cast<int32_t>(std::clamp<i64>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// ---------------------------------------------------------------- dashes

// The cosmetic dash patterns of the system: runs of drawn and skipped pixels.
struct DashPattern {
  int count;
  int runs[6];
};
constexpr DashPattern kDashes[4] = {
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

i64 FloorDiv(i128 a, i128 b) {  // b > 0
  i128 q = a / b;
  if (a % b != 0 && a < 0) --q;
  return static_cast<i64>(q);
}
i128 CeilDiv(i128 a, i128 b) { return -static_cast<i128>(FloorDiv(-a, b)); }

// Traces the pixels of the segment from (x0, y0) to (x1, y1), the last pixel
// excluded, inside the clip rectangle, calling plot(x, y) for each drawn pixel.
// The pixel of step i along the major axis lies on the exact line rounded to
// the nearest pixel, a half going to the smaller coordinate.  The dash
// position advances over the whole segment, clipped or not.
template <class Plot>
void TraceSegment(i64 x0, i64 y0, i64 x1, i64 y1, const Rect& clip, DashState& dash, Plot&& plot) {
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

template <class Plot>
void TracePolyline(const std::vector<Point>& pts, bool closed, const Rect& clip, PenStyle style, Plot&& plot) {
  DashState dash(style);
  for (size_t i = 1; i < pts.size(); ++i)
    TraceSegment(pts[i - 1].X, pts[i - 1].Y, pts[i].X, pts[i].Y, clip, dash, plot);
  if (closed && pts.size() > 2) TraceSegment(pts.back().X, pts.back().Y, pts[0].X, pts[0].Y, clip, dash, plot);
}

// ---------------------------------------------------------------- brushes

// The brush as Qt paints it: a colour or an 8 x 8 hatch texture whose gaps are
// transparent.  Hatches line up with the surface's origin through the brush origin.
QBrush ToQBrush(const CanvasBrush& b) {
  const QColor colour = QColor::fromRgb(ToQRgb(b.Color));
  if (b.Style == BrushStyle::Solid) return QBrush(colour);
  QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
  tile.fill(0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (HatchPixel(b.Style, x, y)) tile.setPixel(x, y, ToQRgb(b.Color));
  return QBrush(tile);
}

// ---------------------------------------------------------------- geometry

// Clips a polygon to a rectangle (Sutherland-Hodgman); for every point inside
// the rectangle the winding is unchanged, so both fill rules still hold there.
QPolygonF ClipPolygon(const QPolygonF& in, double x0, double y0, double x1, double y1) {
  QPolygonF cur = in;
  for (int side = 0; side < 4 && !cur.isEmpty(); ++side) {
    auto inside = [&](const QPointF& p) {
      switch (side) {
        case 0: return p.x() >= x0;
        case 1: return p.x() <= x1;
        case 2: return p.y() >= y0;
        default: return p.y() <= y1;
      }
    };
    auto cut = [&](const QPointF& a, const QPointF& b) {
      double t;
      switch (side) {
        case 0: t = (x0 - a.x()) / (b.x() - a.x()); break;
        case 1: t = (x1 - a.x()) / (b.x() - a.x()); break;
        case 2: t = (y0 - a.y()) / (b.y() - a.y()); break;
        default: t = (y1 - a.y()) / (b.y() - a.y()); break;
      }
      return a + (b - a) * t;
    };
    QPolygonF out;
    out.reserve(cur.size() + 4);
    for (qsizetype i = 0; i < cur.size(); ++i) {
      const QPointF& a = cur[(i + cur.size() - 1) % cur.size()];
      const QPointF& b = cur[i];
      const bool ina = inside(a), inb = inside(b);
      if (inb) {
        if (!ina) out << cut(a, b);
        out << b;
      } else if (ina) {
        out << cut(a, b);
      }
    }
    cur = std::move(out);
  }
  return cur;
}

// The points of an arc of the ellipse with centre (cx, cy) and radii rx, ry
// (pixel units), counter-clockwise on the screen from parameter t0 to t1.
std::vector<Point> ArcPoints(double cx, double cy, double rx, double ry, double t0, double t1) {
  const double r = std::max({rx, ry, 1.0});
  const double step = std::min(std::sqrt(2.0 / r), std::numbers::pi / 8);
  const int n = std::max(2, static_cast<int>(std::ceil((t1 - t0) / step)));
  std::vector<Point> pts;
  pts.reserve(n + 1);
  if (t0 == 0 && t1 == 2 * std::numbers::pi && n <= 4096) {
    // A whole ellipse: the cosines and sines of its n + 1 parameters are the
    // same for every ellipse of that step count, computed once.
    thread_local std::vector<std::vector<std::pair<double, double>>> tables;
    if (tables.size() <= static_cast<size_t>(n)) tables.resize(static_cast<size_t>(n) + 1);
    auto& table = tables[static_cast<size_t>(n)];
    if (table.empty()) {
      table.reserve(static_cast<size_t>(n) + 1);
      for (int i = 0; i <= n; ++i) {
        const double t = t0 + (t1 - t0) * i / n;
        table.emplace_back(std::cos(t), std::sin(t));
      }
    }
    for (const auto& [c, sn] : table) {
      const Point p{foundation::Arrondi(cx + rx * c), foundation::Arrondi(cy - ry * sn)};
      if (pts.empty() || !(pts.back() == p)) pts.push_back(p);
    }
    return pts;
  }
  for (int i = 0; i <= n; ++i) {
    const double t = t0 + (t1 - t0) * i / n;
    const Point p{foundation::Arrondi(cx + rx * std::cos(t)), foundation::Arrondi(cy - ry * std::sin(t))};
    if (pts.empty() || !(pts.back() == p)) pts.push_back(p);
  }
  return pts;
}

void Normalise(int32_t& a, int32_t& b) {
  if (a > b) std::swap(a, b);
}

}  // namespace

// ---------------------------------------------------------------- fonts

QString FontFace(const std::string& name) {
  const QString n = QString::fromStdString(name).trimmed();
  static const char* const sans[] = {"Arial", "MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Verdana",
                                     "Segoe UI", "Helvetica", "MS Shell Dlg", "MS Shell Dlg 2", "Calibri"};
  for (const char* s : sans)
    if (n.compare(QLatin1String(s), Qt::CaseInsensitive) == 0) return QStringLiteral("Liberation Sans");
  if (n.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0 ||
      n.compare(QLatin1String("Times"), Qt::CaseInsensitive) == 0 ||
      n.compare(QLatin1String("MS Serif"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("Liberation Serif");
  if (n.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0 ||
      n.compare(QLatin1String("Courier"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("Liberation Mono");
  if (n.isEmpty()) return QStringLiteral("Liberation Sans");
  return n;
}

QFont ToQFont(const CanvasFont& f) {
  QFont q(FontFace(f.Name));
  q.setPixelSize(std::max(1, f.PixelHeight()));
  q.setBold((f.Style & kFontBold) != 0);
  q.setItalic((f.Style & kFontItalic) != 0);
  q.setUnderline((f.Style & kFontUnderline) != 0);
  q.setStrikeOut((f.Style & kFontStrikeOut) != 0);
  q.setStyleStrategy(QFont::NoAntialias);
  q.setKerning(false);
  return q;
}

// ---------------------------------------------------------------- canvas

QtCanvas::QtCanvas(int32_t width, int32_t height)
    : image_(std::max(0, width), std::max(0, height), QImage::Format_RGB32) {
  image_.fill(0xFFFFFFFFu);
}

QtCanvas::QtCanvas(const QImage& image) : image_(image.convertToFormat(QImage::Format_RGB32)) {}

void QtCanvas::SetSize(int32_t width, int32_t height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == image_.width() && height == image_.height()) return;
  QImage next(width, height, QImage::Format_RGB32);
  next.fill(0xFFFFFFFFu);
  const int w = std::min(width, image_.width()), h = std::min(height, image_.height());
  for (int y = 0; y < h; ++y)
    std::copy_n(reinterpret_cast<const uint32_t*>(image_.constScanLine(y)), w,
                reinterpret_cast<uint32_t*>(next.scanLine(y)));
  image_ = std::move(next);
}

std::unique_ptr<Canvas> QtCanvas::CreateBitmap(int32_t width, int32_t height) const {
  return std::make_unique<QtCanvas>(width, height);
}

Rect QtCanvas::Visible() const {
  Rect r{0, 0, image_.width(), image_.height()};
  if (clip_) r = Intersect(r, *clip_);
  return r;
}

void QtCanvas::DrawShape(const std::vector<std::vector<Point>>& outlines, Closure closure) {
  const Rect vis = Visible();
  if (vis.Empty() || Pen.Mode == PenMode::Nop) return;
  const bool fill = closure == Closure::Filled && Brush.Style != BrushStyle::Clear;
  const bool pen = Pen.Style != PenStyle::Clear;
  if (!fill && !pen) return;
  const int width = std::max(1, Pen.Width);
  const bool wide = pen && width > 1;
  const bool closed = closure != Closure::Open;

  // Bounds of what may be painted.
  i64 x0 = std::numeric_limits<i64>::max(), y0 = x0, x1 = std::numeric_limits<i64>::min(), y1 = x1;
  for (const auto& o : outlines)
    for (const Point& p : o) {
      x0 = std::min<i64>(x0, p.X);
      y0 = std::min<i64>(y0, p.Y);
      x1 = std::max<i64>(x1, p.X);
      y1 = std::max<i64>(y1, p.Y);
    }
  if (x0 > x1) return;
  const i64 m = width / 2 + 2;
  const Rect box = Intersect(vis, {Clamp32(x0 - m), Clamp32(y0 - m), Clamp32(x1 + m + 1), Clamp32(y1 + m + 1)});
  if (box.Empty()) return;

  // Paths in surface coordinates: pixel (x, y) is the unit square from (x, y),
  // so outlines through pixel centres are shifted by half a pixel.
  auto fillPath = [&]() {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const auto& o : outlines) {
      if (o.size() < 3) continue;
      QPolygonF poly;
      poly.reserve(static_cast<qsizetype>(o.size()));
      for (const Point& p : o) poly << QPointF(p.X + 0.5, p.Y + 0.5);
      poly = ClipPolygon(poly, box.Left - 2.0, box.Top - 2.0, box.Right + 2.0, box.Bottom + 2.0);
      if (poly.size() >= 3) path.addPolygon(poly);
    }
    return path;
  };
  auto strokePath = [&]() {
    QPainterPath path;
    for (const auto& o : outlines) {
      if (o.empty()) continue;
      path.moveTo(o[0].X + 0.5, o[0].Y + 0.5);
      for (size_t i = 1; i < o.size(); ++i) path.lineTo(o[i].X + 0.5, o[i].Y + 0.5);
      if (closed && o.size() > 2) path.closeSubpath();
    }
    return path;
  };
  auto widePen = [&]() {
    QPen p(QColor::fromRgb(ToQRgb(Pen.Color)), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    return p;
  };

  if (Pen.Mode == PenMode::Copy) {
    if (fill || wide) {
      QPainter painter(&image_);
      painter.setRenderHint(QPainter::Antialiasing, false);
      painter.setClipRect(ToQRect(vis));
      if (fill) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(ToQBrush(Brush));
        painter.setBrushOrigin(0, 0);
        painter.drawPath(fillPath());
      }
      if (wide) painter.strokePath(strokePath(), widePen());
    }
    if (pen && !wide) {
      const uint32_t colour = ToQRgb(Pen.Color);
      uint32_t* bits = reinterpret_cast<uint32_t*>(image_.bits());
      const qsizetype stride = image_.bytesPerLine() / 4;
      for (const auto& o : outlines)
        TracePolyline(o, closed, box, Pen.Style, [&](i64 x, i64 y) { bits[y * stride + x] = colour; });
    }
    return;
  }

  // Other modes: the shape is painted once on a coverage layer (brush inside,
  // pen on the outline), then each covered pixel is combined with the surface.
  QImage layer(box.Width(), box.Height(), QImage::Format_ARGB32_Premultiplied);
  layer.fill(0);
  if (fill || wide) {
    QPainter painter(&layer);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (fill) {
      painter.setPen(Qt::NoPen);
      painter.setBrush(ToQBrush(Brush));
      painter.setBrushOrigin(-box.Left, -box.Top);
      QPainterPath p = fillPath();
      p.translate(-box.Left, -box.Top);
      painter.drawPath(p);
    }
    if (wide) {
      QPainterPath p = strokePath();
      p.translate(-box.Left, -box.Top);
      painter.strokePath(p, widePen());
    }
  }
  if (pen && !wide) {
    const uint32_t colour = ToQRgb(Pen.Color);
    uint32_t* bits = reinterpret_cast<uint32_t*>(layer.bits());
    const qsizetype stride = layer.bytesPerLine() / 4;
    for (const auto& o : outlines)
      TracePolyline(o, closed, box, Pen.Style,
                    [&](i64 x, i64 y) { bits[(y - box.Top) * stride + (x - box.Left)] = colour; });
  }
  const PenMode mode = Pen.Mode;
  for (int y = 0; y < box.Height(); ++y) {
    const uint32_t* src = reinterpret_cast<const uint32_t*>(layer.constScanLine(y));
    uint32_t* dst = reinterpret_cast<uint32_t*>(image_.scanLine(y + box.Top)) + box.Left;
    for (int x = 0; x < box.Width(); ++x)
      if (src[x] >> 24) dst[x] = 0xFF000000u | ApplyPenMode(mode, src[x] & 0xFFFFFFu, dst[x] & 0xFFFFFFu);
  }
}

void QtCanvas::LineTo(int32_t x, int32_t y) {
  const Point from = PenPos;
  PenPos = {x, y};
  const Rect vis = Visible();
  if (Pen.Style == PenStyle::Clear || vis.Empty()) return;
  if (Pen.Width > 1) {
    DrawShape({{from, {x, y}}}, Closure::Open);
    return;
  }
  // One-pixel lines go straight to the pixels, in every mode.
  uint32_t* bits = reinterpret_cast<uint32_t*>(image_.bits());
  const qsizetype stride = image_.bytesPerLine() / 4;
  DashState dash(Pen.Style);
  WithPenOp(Pen.Mode, ToQRgb(Pen.Color), [&](auto op) {
    TraceSegment(from.X, from.Y, x, y, vis, dash, [&](i64 px, i64 py) {
      uint32_t& d = bits[py * stride + px];
      d = 0xFF000000u | op(d);
    });
  });
}

void QtCanvas::Polyline(std::span<const Point> points) {
  if (points.size() < 2 || Pen.Style == PenStyle::Clear) return;
  const Rect vis = Visible();
  if (vis.Empty()) return;
  std::vector<Point> pts(points.begin(), points.end());
  if (Pen.Width > 1) {
    DrawShape({pts}, Closure::Open);
    return;
  }
  uint32_t* bits = reinterpret_cast<uint32_t*>(image_.bits());
  const qsizetype stride = image_.bytesPerLine() / 4;
  WithPenOp(Pen.Mode, ToQRgb(Pen.Color), [&](auto op) {
    TracePolyline(pts, false, vis, Pen.Style, [&](i64 px, i64 py) {
      uint32_t& d = bits[py * stride + px];
      d = 0xFF000000u | op(d);
    });
  });
}

void QtCanvas::PolyBezier(std::span<const Point> points) {
  if (points.size() < 4) return;
  QPainterPath path;
  path.moveTo(points[0].X, points[0].Y);
  for (size_t i = 1; i + 2 < points.size(); i += 3)
    path.cubicTo(points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, points[i + 2].X, points[i + 2].Y);
  std::vector<Point> pts;
  for (const QPolygonF& poly : path.toSubpathPolygons())
    for (const QPointF& q : poly) {
      const Point p{foundation::Arrondi(q.x()), foundation::Arrondi(q.y())};
      if (pts.empty() || !(pts.back() == p)) pts.push_back(p);
    }
  const Point keep = PenPos;
  Polyline(pts);
  PenPos = keep;
}

void QtCanvas::Polygon(std::span<const Point> points) {
  if (points.size() < 2) return;
  DrawShape({std::vector<Point>(points.begin(), points.end())}, Closure::Filled);
}

void QtCanvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  Normalise(left, right);
  Normalise(top, bottom);
  if (right == left || bottom == top) return;
  DrawShape({{{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}}}, Closure::Filled);
}

void QtCanvas::ArcShape(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
                        int32_t y2, int kind) {
  Normalise(left, right);
  Normalise(top, bottom);
  if (right == left || bottom == top) return;
  const double cx = (double(left) + right - 1) / 2, cy = (double(top) + bottom - 1) / 2;
  const double rx = (double(right) - left - 1) / 2, ry = (double(bottom) - top - 1) / 2;
  double t0 = 0, t1 = 2 * std::numbers::pi;
  if (kind > 0) {
    // The parameter where the radial through a point meets the ellipse.
    auto param = [&](int32_t x, int32_t y) {
      const double phi = std::atan2(-(y - cy), x - cx);
      return std::atan2(rx * std::sin(phi), ry * std::cos(phi));
    };
    t0 = param(x1, y1);
    double d = std::fmod(param(x2, y2) - t0, 2 * std::numbers::pi);
    if (d < 0) d += 2 * std::numbers::pi;
    if (d < 1e-12) d = 2 * std::numbers::pi;
    t1 = t0 + d;
  }
  std::vector<Point> pts = ArcPoints(cx, cy, rx, ry, t0, t1);
  switch (kind) {
    case 0:  // ellipse
      if (pts.size() > 1 && pts.back() == pts.front()) pts.pop_back();
      DrawShape({pts}, Closure::Filled);
      break;
    case 1:  // arc
      DrawShape({pts}, Closure::Open);
      break;
    case 2:  // chord
      DrawShape({pts}, Closure::Filled);
      break;
    default:  // pie
      pts.push_back({foundation::Arrondi(cx), foundation::Arrondi(cy)});
      DrawShape({pts}, Closure::Filled);
      break;
  }
}

void QtCanvas::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  ArcShape(left, top, right, bottom, 0, 0, 0, 0, 0);
}

void QtCanvas::Arc(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  ArcShape(l, t, r, b, x1, y1, x2, y2, 1);
}

void QtCanvas::Chord(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  ArcShape(l, t, r, b, x1, y1, x2, y2, 2);
}

void QtCanvas::Pie(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  ArcShape(l, t, r, b, x1, y1, x2, y2, 3);
}

namespace {

// From this many pixels a rectangle's rows are shared between threads (a
// screen's picture is cleared and combined several times per redraw).
constexpr i64 kPixelsParalleles = 1 << 18;

// Calls rows(top, bottom) over the rows [top, bottom) of a rectangle of that
// width, in bands on several threads when it is big.
template <class Rows>
void ParBandes(int32_t top, int32_t bottom, int32_t width, Rows&& rows) {
  if (bottom <= top) return;
  if (i64(bottom - top) * width < kPixelsParalleles || foundation::NombreFils() < 2) {
    rows(top, bottom);
    return;
  }
  const size_t n = static_cast<size_t>(bottom - top);
  foundation::ParTranches(n, std::min<size_t>(n, 4 * foundation::NombreFils()), [&](size_t, size_t b, size_t e) {
    rows(top + static_cast<int32_t>(b), top + static_cast<int32_t>(e));
  });
}

// Paints the brush (solid or hatch, copy mode) on a rectangle already clipped.
void PaintBrush(QImage& image, const Rect& r, const CanvasBrush& brush) {
  if (r.Empty() || brush.Style == BrushStyle::Clear) return;
  const uint32_t colour = ToQRgb(brush.Color);
  // The pixels are reached once here: the threads only write rows.
  uchar* bits = image.bits();
  const qsizetype stride = image.bytesPerLine();
  ParBandes(r.Top, r.Bottom, r.Width(), [&](int32_t top, int32_t bottom) {
    for (int32_t y = top; y < bottom; ++y) {
      uint32_t* line = reinterpret_cast<uint32_t*>(bits + y * stride);
      if (brush.Style == BrushStyle::Solid) {
        std::fill(line + r.Left, line + r.Right, colour);
      } else {
        for (int32_t x = r.Left; x < r.Right; ++x)
          if (HatchPixel(brush.Style, x, y)) line[x] = colour;
      }
    }
  });
}
}  // namespace

void QtCanvas::FillRect(const Rect& r) { PaintBrush(image_, Intersect(Visible(), r), Brush); }

void QtCanvas::FrameRect(const Rect& r) {
  if (r.Empty()) return;
  CanvasBrush b = Brush;
  if (b.Style == BrushStyle::Clear) return;
  const Rect vis = Visible();
  PaintBrush(image_, Intersect(vis, {r.Left, r.Top, r.Right, r.Top + 1}), b);
  PaintBrush(image_, Intersect(vis, {r.Left, r.Bottom - 1, r.Right, r.Bottom}), b);
  PaintBrush(image_, Intersect(vis, {r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}), b);
  PaintBrush(image_, Intersect(vis, {r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}), b);
}

Colour QtCanvas::Pixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return kInvalidColour;
  return FromQRgb(reinterpret_cast<const uint32_t*>(image_.constScanLine(y))[x]);
}

void QtCanvas::SetPixel(int32_t x, int32_t y, Colour c) {
  const Rect vis = Visible();
  if (x < vis.Left || y < vis.Top || x >= vis.Right || y >= vis.Bottom) return;
  reinterpret_cast<uint32_t*>(image_.scanLine(y))[x] = ToQRgb(c);
}

void QtCanvas::FloodFill(int32_t x, int32_t y, Colour border) {
  const Rect vis = Visible();
  if (x < vis.Left || y < vis.Top || x >= vis.Right || y >= vis.Bottom) return;
  if (Brush.Style == BrushStyle::Clear) return;
  const uint32_t stop = ToQRgb(border) & 0xFFFFFFu;
  auto at = [&](int32_t px, int32_t py) {
    return reinterpret_cast<const uint32_t*>(image_.constScanLine(py))[px] & 0xFFFFFFu;
  };
  if (at(x, y) == stop) return;
  // Scan-line fill of a mark map of the visible rectangle, then the brush on
  // the marked pixels (so that a hatch cannot leak through its own gaps).
  const int32_t w = vis.Width(), h = vis.Height();
  std::vector<uint8_t> mark(static_cast<size_t>(w) * h, 0);
  auto marked = [&](int32_t px, int32_t py) -> uint8_t& {
    return mark[static_cast<size_t>(py - vis.Top) * w + (px - vis.Left)];
  };
  std::vector<Point> stack{{x, y}};
  while (!stack.empty()) {
    const Point p = stack.back();
    stack.pop_back();
    if (marked(p.X, p.Y) || at(p.X, p.Y) == stop) continue;
    int32_t l = p.X, r = p.X;
    while (l > vis.Left && !marked(l - 1, p.Y) && at(l - 1, p.Y) != stop) --l;
    while (r + 1 < vis.Right && !marked(r + 1, p.Y) && at(r + 1, p.Y) != stop) ++r;
    for (int32_t i = l; i <= r; ++i) marked(i, p.Y) = 1;
    for (int32_t ny : {p.Y - 1, p.Y + 1}) {
      if (ny < vis.Top || ny >= vis.Bottom) continue;
      bool inRun = false;
      for (int32_t i = l; i <= r; ++i) {
        const bool open = !marked(i, ny) && at(i, ny) != stop;
        if (open && !inRun) stack.push_back({i, ny});
        inRun = open;
      }
    }
  }
  const uint32_t colour = ToQRgb(Brush.Color);
  for (int32_t py = vis.Top; py < vis.Bottom; ++py) {
    uint32_t* line = reinterpret_cast<uint32_t*>(image_.scanLine(py));
    for (int32_t px = vis.Left; px < vis.Right; ++px)
      if (marked(px, py) && HatchPixel(Brush.Style, px, py)) line[px] = colour;
  }
}

void QtCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QFont font = ToQFont(Font);
  const QFontMetrics fm(font);
  const int w = fm.horizontalAdvance(s);
  PenPos = {x + w, y};
  const Rect vis = Visible();
  if (vis.Empty() || s.isEmpty()) return;
  QPainter painter(&image_);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  painter.setClipRect(ToQRect(vis));
  painter.translate(x, y);
  if (Font.Escapement != 0) painter.rotate(-Font.Escapement / 10.0);
  if (Brush.Style == BrushStyle::Solid)
    painter.fillRect(QRect(0, 0, w, fm.ascent() + fm.descent()), QColor::fromRgb(ToQRgb(Brush.Color)));
  painter.setFont(font);
  painter.setPen(QColor::fromRgb(ToQRgb(Font.Color)));
  painter.drawText(QPointF(0, fm.ascent()), s);
}

int32_t QtCanvas::TextWidth(std::string_view text) const {
  const QFontMetrics fm(ToQFont(Font));
  return fm.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int32_t QtCanvas::TextHeight(std::string_view) const {
  const QFontMetrics fm(ToQFont(Font));
  return fm.ascent() + fm.descent();
}

void QtCanvas::CopyRect(const Rect& d, const Canvas& source, const Rect& s) {
  if (d.Empty() || s.Empty()) return;
  const Rect vis = Intersect(Visible(), d);
  if (vis.Empty()) return;
  const auto* qsrc = dynamic_cast<const QtCanvas*>(&source);
  // A copy when the source is this canvas, so that overlapping rectangles work.
  QImage own;
  if (qsrc == this) own = image_.copy();
  const QImage* img = qsrc ? (qsrc == this ? &own : &qsrc->image_) : nullptr;
  const int32_t sw = source.Width(), sh = source.Height();
  const i64 dw = d.Width(), dh = d.Height(), rw = s.Width(), rh = s.Height();
  const CopyMode mode = Copy;
  if (img && dw == rw && dh == rh) {
    // Unscaled: each row through the mode, without the stretch arithmetic.
    const int32_t dx = s.Left - d.Left, dy = s.Top - d.Top;
    const int32_t x0 = std::max(vis.Left, -dx), x1 = std::min(vis.Right, sw - dx);
    if (x0 >= x1) return;
    // The rows of the source that exist, and both images reached once here.
    const int32_t y0 = std::max(vis.Top, -dy), y1 = std::min(vis.Bottom, sh - dy);
    uchar* dstBits = image_.bits();
    const uchar* srcBits = img->constBits();
    const qsizetype dstStride = image_.bytesPerLine(), srcStride = img->bytesPerLine();
    ParBandes(y0, y1, x1 - x0, [&](int32_t top, int32_t bottom) {
      for (int32_t y = top; y < bottom; ++y) {
        uint32_t* dst = reinterpret_cast<uint32_t*>(dstBits + y * dstStride);
        const uint32_t* src = reinterpret_cast<const uint32_t*>(srcBits + (y + dy) * srcStride) + dx;
        switch (mode) {
          case CopyMode::SrcCopy:
            for (int32_t x = x0; x < x1; ++x) dst[x] = 0xFF000000u | src[x];
            break;
          case CopyMode::SrcAnd:
            for (int32_t x = x0; x < x1; ++x) dst[x] = 0xFF000000u | (src[x] & dst[x] & 0xFFFFFFu);
            break;
          default:
            for (int32_t x = x0; x < x1; ++x)
              dst[x] = 0xFF000000u | ApplyCopyMode(mode, src[x] & 0xFFFFFFu, dst[x] & 0xFFFFFFu);
            break;
        }
      }
    });
    return;
  }
  std::vector<int32_t> columns(static_cast<size_t>(vis.Width()));
  for (int32_t x = vis.Left; x < vis.Right; ++x)
    columns[x - vis.Left] = static_cast<int32_t>(s.Left + FloorDiv(i128(2 * (x - d.Left) + 1) * rw, i128(2) * dw));
  for (int32_t y = vis.Top; y < vis.Bottom; ++y) {
    const int32_t sy = static_cast<int32_t>(s.Top + FloorDiv(i128(2 * (y - d.Top) + 1) * rh, i128(2) * dh));
    if (sy < 0 || sy >= sh) continue;
    uint32_t* dst = reinterpret_cast<uint32_t*>(image_.scanLine(y));
    const uint32_t* srcLine = img ? reinterpret_cast<const uint32_t*>(img->constScanLine(sy)) : nullptr;
    for (int32_t x = vis.Left; x < vis.Right; ++x) {
      const int32_t sx = columns[x - vis.Left];
      if (sx < 0 || sx >= sw) continue;
      const uint32_t sp = srcLine ? srcLine[sx] & 0xFFFFFFu : ToQRgb(source.Pixel(sx, sy)) & 0xFFFFFFu;
      dst[x] = 0xFF000000u | ApplyCopyMode(mode, sp, dst[x] & 0xFFFFFFu);
    }
  }
}

bool QtCanvas::SwapPixels(Canvas& other) {
  auto* o = dynamic_cast<QtCanvas*>(&other);
  if (o == nullptr || o == this || o->image_.size() != image_.size()) return false;
  image_.swap(o->image_);
  stamps_.swap(o->stamps_);
  return true;
}

// ---------------------------------------------------------------- batches

namespace {

constexpr int32_t kStampMax = 16;

// The corner classes of an ellipse of size n along one axis.  Its points
// along that axis are its corner plus offsets that depend on the size and on
// the class alone: from 4 n on, the corner's parity (at an even size the
// centre is on a half pixel, rounded to even), and below 4 n the corner
// itself, since there the sines and cosines that should be 0 (a few 1e-16 off)
// may tip a half pixel over.
int32_t CornerClass(int32_t corner, int32_t n) { return corner < 4 * n ? corner : 4 * n + (corner & 1); }

// The entry of an ellipse whose corner is far from the origin.
size_t FarIndex(int32_t w, int32_t h, int32_t left, int32_t top, unsigned variant) {
  return ((((static_cast<size_t>(w - 1) * kStampMax + static_cast<size_t>(h - 1)) * 2 + (left & 1)) * 2 + (top & 1))
          << 2) | variant;
}

// The key of an ellipse whose corner is near the origin, by its corner classes.
uint64_t NearKey(int32_t w, int32_t h, int32_t cx, int32_t cy, unsigned variant) {
  return (((static_cast<uint64_t>(w) * 32 + h) * 128 + cx) * 128 + cy) * 4 + variant;
}

// The pixels of the segment from (x0, y0) to (x1, y1), the last one excluded,
// when both ends lie inside the clip rectangle: TraceSegment's pixels, walked
// with a pointer, without the clipping sums.
void WalkSegment(uint32_t* bits, qsizetype stride, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
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

// The same walk for a segment whose ends lie inside the visible rectangle,
// writing only the pixels of the rows from rowLo to rowHi (excluded); it
// stops once the rows go past them.  For short segments, where it costs less
// than the clipping sums.
void WalkSegmentRows(uint32_t* bits, qsizetype stride, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                     int32_t rowLo, int32_t rowHi, uint32_t colour) {
  const int32_t dx = x1 - x0, dy = y1 - y0;
  const int32_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const int32_t n = xMajor ? adx : ady, twoN = 2 * n, twoMi = 2 * (xMajor ? ady : adx);
  const int32_t sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  const int32_t dMi = xMajor ? dy : dx;
  int32_t r = n - (dMi < 0 ? 0 : 1);
  int32_t x = x0, y = y0;
  for (int32_t i = 0; i < n; ++i) {
    if (y >= rowLo && y < rowHi)
      bits[static_cast<qsizetype>(y) * stride + x] = colour;
    else if (sy > 0 ? y >= rowHi : y < rowLo)
      break;
    r += twoMi;
    const bool mineur = r >= twoN;
    if (mineur) r -= twoN;
    if (xMajor) {
      x += sx;
      if (mineur) y += sy;
    } else {
      y += sy;
      if (mineur) x += sx;
    }
  }
}

// Below this many calls a batch, or a run of a batch, is drawn on one
// thread: cutting it by rows would cost more than it saves (on 8 cores,
// 12,000 calls take about 0.18 ms either way, 20,000 calls 0.41 ms on one
// thread and 0.21 ms by bands, 100,000 calls 2.5 ms and 0.8 ms).
constexpr size_t kLotParBandes = 16384;
// The bands of rows: from 2^3 to 2^6 rows, at least two per thread, so that
// the threads share out the dense middle of a drawing (more, thinner bands
// list, and clip, more of the calls that cross their edges).
constexpr int kBandeMinLog = 3, kBandeMaxLog = 6;
// Short lines crossing a band's edge are walked rather than clipped.
constexpr int32_t kPasCourts = 64;
// Ellipses that are not stamped (across the visible edge, a dashed pen, a
// hatch) are drawn by the bands on a scratch bitmap up to this size; bigger
// ones are drawn one by one.
constexpr int32_t kCalqueMax = 64;
// How far from its rectangle Ellipse may paint: its points stay within a
// pixel of it, and the pixels within two pixels of the points.
constexpr int32_t kMargeEllipse = 4;

// The rectangle of an ellipse call, its corners in order.
Rect CoinsEllipse(const BatchCall& c) {
  Rect r{c.X1, c.Y1, c.X2, c.Y2};
  Normalise(r.Left, r.Right);
  Normalise(r.Top, r.Bottom);
  return r;
}

// Whether an ellipse of a batch is drawn from its stamp, its pen and brush
// allowing stamps: a size the stamps keep, whole inside the visible rectangle.
bool Estampable(const Rect& r, const Rect& vis) {
  return static_cast<uint32_t>(r.Width() - 1) < kStampMax && static_cast<uint32_t>(r.Height() - 1) < kStampMax &&
         r.Left >= vis.Left && r.Top >= vis.Top && r.Right <= vis.Right && r.Bottom <= vis.Bottom;
}

}  // namespace

// The pixels an ellipse paints, as offsets from its rectangle's top-left
// corner in the canvas's rows: by the pen and by the brush, row after row.
struct QtCanvas::EllipseStamp {
  bool Ready = false;
  // Every pixel lies inside the ellipse's rectangle.
  bool Usable = false;
  std::vector<int32_t> Pen, Brush;
  // When usable: where each row of the rectangle starts in Pen and in Brush
  // (row h: their ends), so that a band of rows draws its own pixels alone.
  std::array<uint16_t, kStampMax + 1> PenRows{}, BrushRows{};
};

struct QtCanvas::Stamps {
  using Entry = EllipseStamp;
  qsizetype Stride = 0;
  // Corners far from the origin, by size, parities, outline and fill.
  // (Each made on first use: a canvas that stamps few sizes stays small.)
  std::vector<std::unique_ptr<Entry>> Far = std::vector<std::unique_ptr<Entry>>(static_cast<size_t>(kStampMax) *
                                                                                 kStampMax * 16);
  std::unordered_map<uint64_t, Entry> Near;
};

const QtCanvas::EllipseStamp* QtCanvas::TracedStamp(int32_t left, int32_t top, int32_t w, int32_t h,
                                                     unsigned variant, qsizetype stride) const {
  if (!stamps_ || stamps_->Stride != stride) return nullptr;
  const int32_t cx = CornerClass(left, w), cy = CornerClass(top, h);
  const EllipseStamp* e = nullptr;
  if (cx >= 4 * w && cy >= 4 * h) {
    e = stamps_->Far[FarIndex(w, h, left, top, variant)].get();
  } else {
    const auto it = stamps_->Near.find(NearKey(w, h, cx, cy, variant));
    if (it != stamps_->Near.end()) e = &it->second;
  }
  return e != nullptr && e->Ready ? e : nullptr;
}

const QtCanvas::EllipseStamp* QtCanvas::FindStamp(int32_t left, int32_t top, int32_t w, int32_t h, bool outline,
                                                   bool fill, qsizetype stride) {
  // The offsets are 32-bit.
  if (stride > std::numeric_limits<int32_t>::max() / (2 * kStampMax)) return nullptr;
  if (!stamps_ || stamps_->Stride != stride) {
    stamps_ = std::make_shared<Stamps>();
    stamps_->Stride = stride;
  }
  const int32_t cx = CornerClass(left, w), cy = CornerClass(top, h);
  const unsigned variant = (outline ? 2u : 0u) | (fill ? 1u : 0u);
  Stamps::Entry* e;
  if (cx >= 4 * w && cy >= 4 * h) {
    std::unique_ptr<EllipseStamp>& f = stamps_->Far[FarIndex(w, h, left, top, variant)];
    if (!f) f = std::make_unique<EllipseStamp>();
    e = f.get();
    if (e->Ready) return e->Usable ? e : nullptr;
  } else {
    e = &stamps_->Near[NearKey(w, h, cx, cy, variant)];
  }
  if (!e->Ready) {
    // The same ellipse traced once on a scratch bitmap at a corner of the
    // same classes, the pen black and the brush red.
    QtCanvas trace(cx + w + 4, cy + h + 4);
    trace.Pen = {kBlack, 1, outline ? PenStyle::Solid : PenStyle::Clear, PenMode::Copy};
    trace.Brush = {RgbColour(255, 0, 0), fill ? BrushStyle::Solid : BrushStyle::Clear};
    trace.Ellipse(cx, cy, cx + w, cy + h);
    e->Usable = true;
    for (int32_t y = 0; y < trace.Height(); ++y)
      for (int32_t x = 0; x < trace.Width(); ++x) {
        const Colour c = trace.Pixel(x, y);
        if (c == kWhite) continue;
        if (x < cx || y < cy || x >= cx + w || y >= cy + h) e->Usable = false;
        (c == kBlack ? e->Pen : e->Brush).push_back(static_cast<int32_t>((y - cy) * stride + (x - cx)));
      }
    if (e->Usable) {
      // The offsets grow row after row; row r starts at the first one from r strides on.
      for (int32_t r = 0; r <= h; ++r) {
        const int32_t debut = static_cast<int32_t>(r * stride);
        e->PenRows[r] = static_cast<uint16_t>(std::lower_bound(e->Pen.begin(), e->Pen.end(), debut) - e->Pen.begin());
        e->BrushRows[r] =
            static_cast<uint16_t>(std::lower_bound(e->Brush.begin(), e->Brush.end(), debut) - e->Brush.begin());
      }
    }
    e->Ready = true;
  }
  return e->Usable ? e : nullptr;
}

void QtCanvas::Batch(std::span<const BatchCall> calls) {
  const Rect vis = Visible();
  // Wide pens and the raster modes other than copy: the calls one by one.
  if (calls.empty() || vis.Empty() || Pen.Mode != PenMode::Copy || Pen.Width > 1) {
    Canvas::Batch(calls);
    return;
  }
  if (calls.size() >= kLotParBandes && calls.size() < std::numeric_limits<uint32_t>::max() &&
      vis.Height() >= (2 << kBandeMinLog) && foundation::NombreFils() > 1)
    BatchBands(calls, vis);
  else
    BatchSerial(calls, vis);
}

void QtCanvas::BatchSerial(std::span<const BatchCall> calls, const Rect& vis) {
  uint32_t* bits = reinterpret_cast<uint32_t*>(image_.bits());
  const qsizetype stride = image_.bytesPerLine() / 4;
  const Colour pen = Pen.Color;
  const uint32_t penQ = ToQRgb(pen);
  // The colours of the calls, mostly the pen's and one other.
  Colour autre = kWhite;
  uint32_t autreQ = ToQRgb(autre);
  const auto qrgb = [&](Colour c) {
    if (c == pen) return penQ;
    if (c != autre) autre = c, autreQ = ToQRgb(c);
    return autreQ;
  };
  const bool solid = Pen.Style == PenStyle::Solid;
  // Stamped ellipses: a solid one-pixel outline or none, a solid fill or none.
  const bool stamped = (solid || Pen.Style == PenStyle::Clear) &&
                       (Brush.Style == BrushStyle::Solid || Brush.Style == BrushStyle::Clear);
  const bool filled = Brush.Style == BrushStyle::Solid;
  const unsigned variant = (solid ? 2u : 0u) | (filled ? 1u : 0u);
  const uint32_t brush = ToQRgb(Brush.Color);
  const Stamps* stamps = stamps_ && stamps_->Stride == stride ? stamps_.get() : nullptr;
  // Inside the visible rectangle: one unsigned comparison per coordinate.
  const uint32_t largeur = static_cast<uint32_t>(vis.Width()), hauteur = static_cast<uint32_t>(vis.Height());
  const auto dedans = [&](int32_t x, int32_t y) {
    return static_cast<uint32_t>(x - vis.Left) < largeur && static_cast<uint32_t>(y - vis.Top) < hauteur;
  };
  DashState dash(PenStyle::Solid);
  // Each line of a dashed pen starts its pattern afresh, as LineTo does.
  const DashState tirets(Pen.Style);
  for (const BatchCall& c : calls) {
    switch (c.What) {
      case BatchCall::Kind::Line: {
        const int32_t x0 = c.X1, y0 = c.Y1, x1 = c.X2, y1 = c.Y2;
        PenPos = {x1, y1};
        const bool touche = std::max(x0, x1) >= vis.Left && std::min(x0, x1) < vis.Right &&
                            std::max(y0, y1) >= vis.Top && std::min(y0, y1) < vis.Bottom;
        if (!solid) {
          // A line wholly on one side of the rectangle has no pixel in it.
          if (Pen.Style == PenStyle::Clear || !touche) break;
          const uint32_t colour = qrgb(c.Color);
          DashState d = tirets;
          TraceSegment(x0, y0, x1, y1, vis, d, [&](i64 x, i64 y) { bits[y * stride + x] = colour; });
          break;
        }
        const uint32_t colour = qrgb(c.Color);
        if (dedans(x0, y0) && dedans(x1, y1))
          WalkSegment(bits, stride, x0, y0, x1, y1, colour);
        else if (touche)
          TraceSegment(x0, y0, x1, y1, vis, dash, [&](i64 x, i64 y) { bits[y * stride + x] = colour; });
        break;
      }
      case BatchCall::Kind::Ellipse: {
        const Rect r = CoinsEllipse(c);
        const int32_t left = r.Left, top = r.Top, w = r.Width(), h = r.Height();
        const EllipseStamp* e = nullptr;
        if (stamped && Estampable(r, vis)) {
          // Far from the origin and already traced: straight from the table.
          const EllipseStamp* f =
              stamps != nullptr && left >= 4 * w && top >= 4 * h ? stamps->Far[FarIndex(w, h, left, top, variant)].get()
                                                                 : nullptr;
          if (f != nullptr && f->Ready) {
            e = f->Usable ? f : nullptr;
          } else {
            e = FindStamp(left, top, w, h, solid, filled, stride);
            stamps = stamps_.get();
          }
        }
        if (e == nullptr) {
          Pen.Color = c.Color;
          Ellipse(c.X1, c.Y1, c.X2, c.Y2);
          Pen.Color = pen;
          bits = reinterpret_cast<uint32_t*>(image_.bits());
          break;
        }
        uint32_t* corner = bits + static_cast<qsizetype>(top) * stride + left;
        for (const int32_t o : e->Brush) corner[o] = brush;
        const uint32_t colour = qrgb(c.Color);
        for (const int32_t o : e->Pen) corner[o] = colour;
        break;
      }
      case BatchCall::Kind::Pixel:
        if (dedans(c.X1, c.Y1)) bits[static_cast<qsizetype>(c.Y1) * stride + c.X1] = qrgb(c.Color);
        break;
    }
  }
}

// A pixel's final colour is the last one written there in the batch's order.
// The visible rectangle is cut into bands of rows, and each band is drawn by
// one thread, which applies, in the batch's order, the pixels of each call
// that fall in its band: every pixel gets the writes of one thread, in the
// same order as on one thread, hence the same picture.  The calls are first
// sorted out by band (in slices of the batch, on several threads), so that a
// band reads only the calls that reach it.  Lines cut by a band are its clip
// of the whole line (TraceSegment's pixels do not depend on the clip, nor
// does the dash position); stamped ellipses keep the offsets of each row;
// other ellipses up to kCalqueMax pixels are drawn whole on a scratch bitmap
// and their pixels in the band copied.  The calls a band cannot draw alone
// (bigger ellipses, or stamped ones whose stamp is not usable) are drawn in
// their turn by BatchSerial, between the runs drawn by bands.
void QtCanvas::BatchBands(std::span<const BatchCall> calls, const Rect& vis) {
  const size_t n = calls.size();
  const size_t fils = foundation::NombreFils();
  const qsizetype stride = image_.bytesPerLine() / 4;
  const int32_t hauteur = vis.Height();
  int shift = kBandeMaxLog;
  while (shift > kBandeMinLog && static_cast<size_t>(hauteur >> shift) < 2 * fils) --shift;
  // At most 65,535 bands: each slice of the batch keeps a list per band.
  while (((hauteur - 1) >> shift) >= 0xFFFF) ++shift;
  const size_t bandes = static_cast<size_t>((hauteur - 1) >> shift) + 1;

  const bool traits = Pen.Style != PenStyle::Clear;
  const bool solid = Pen.Style == PenStyle::Solid;
  const bool stamped = (solid || Pen.Style == PenStyle::Clear) &&
                       (Brush.Style == BrushStyle::Solid || Brush.Style == BrushStyle::Clear);
  const bool filled = Brush.Style == BrushStyle::Solid;
  const unsigned variant = (solid ? 2u : 0u) | (filled ? 1u : 0u);
  const uint32_t largeur = static_cast<uint32_t>(vis.Width());
  const auto dedans = [&](int32_t x, int32_t y) {
    return static_cast<uint32_t>(x - vis.Left) < largeur && static_cast<uint32_t>(y - vis.Top) < uint32_t(hauteur);
  };

  // The calls of one slice of the batch, sorted out by band.
  struct Paquet {
    size_t Debut = 0, Fin = 0;
    // The places in the batch of the calls reaching each band, in order
    // (four bytes a call: the bands read the calls themselves).
    std::vector<std::vector<uint32_t>> ParBande;
    // Stampable ellipses whose pixels are not traced yet.
    std::vector<uint32_t> ATracer;
    // Calls drawn by BatchSerial.
    std::vector<uint32_t> UnParUn;
    // The last line of the slice (PenPos), or -1.
    int64_t DerniereLigne = -1;
  };
  // The slices' storage is kept from one batch to the next by the thread
  // that draws them (a frame of a big drawing would otherwise spend a good
  // part of its time having fresh memory mapped and cleared).
  thread_local std::vector<Paquet> reserve;
  const size_t paquets = std::clamp<size_t>(n / 8192, 1, 4 * fils);
  if (reserve.size() < paquets) reserve.resize(paquets);
  const std::span<Paquet> parPaquet(reserve.data(), paquets);
  foundation::ParTranches(n, paquets, [&](size_t p, size_t debut, size_t fin) {
    Paquet& q = parPaquet[p];
    q.Debut = debut;
    q.Fin = fin;
    q.ATracer.clear();
    q.UnParUn.clear();
    q.DerniereLigne = -1;
    if (q.ParBande.size() < bandes) q.ParBande.resize(bandes);
    for (size_t b = 0; b < bandes; ++b) q.ParBande[b].clear();
    for (size_t i = debut; i < fin; ++i) {
      const BatchCall& c = calls[i];
      int32_t haut = 0, bas = -1;  // the rows reached, inside the visible rectangle
      switch (c.What) {
        case BatchCall::Kind::Line:
          q.DerniereLigne = static_cast<int64_t>(i);
          if (!traits || (c.X1 == c.X2 && c.Y1 == c.Y2)) break;
          if (std::max(c.X1, c.X2) < vis.Left || std::min(c.X1, c.X2) >= vis.Right) break;
          haut = std::max(std::min(c.Y1, c.Y2), vis.Top);
          bas = std::min(std::max(c.Y1, c.Y2), vis.Bottom - 1);
          break;
        case BatchCall::Kind::Ellipse: {
          const Rect r = CoinsEllipse(c);
          const int32_t left = r.Left, top = r.Top, right = r.Right, bottom = r.Bottom;
          const int32_t w = r.Width(), h = r.Height();
          // A flat ellipse has no pixel.
          if (w == 0 || h == 0) break;
          if (stamped && Estampable(r, vis)) {
            const EllipseStamp* stamp = TracedStamp(left, top, w, h, variant, stride);
            if (stamp == nullptr) {
              q.ATracer.push_back(static_cast<uint32_t>(i));
            } else if (!stamp->Usable) {
              q.UnParUn.push_back(static_cast<uint32_t>(i));
              break;
            }
            haut = top;
            bas = bottom - 1;
          } else if (i64(right) + kMargeEllipse <= vis.Left || i64(left) - kMargeEllipse >= vis.Right ||
                     i64(bottom) + kMargeEllipse <= vis.Top || i64(top) - kMargeEllipse >= vis.Bottom) {
            // Nothing of it is visible.
          } else if (w <= kCalqueMax && h <= kCalqueMax) {
            // Drawn on a scratch bitmap by the bands.
            haut = std::max(top - kMargeEllipse, vis.Top);
            bas = std::min(bottom + kMargeEllipse - 1, vis.Bottom - 1);
          } else {
            q.UnParUn.push_back(static_cast<uint32_t>(i));
          }
          break;
        }
        case BatchCall::Kind::Pixel:
          if (dedans(c.X1, c.Y1)) haut = bas = c.Y1;
          break;
      }
      if (haut > bas) continue;
      const size_t b0 = static_cast<uint32_t>(haut - vis.Top) >> shift;
      const size_t b1 = static_cast<uint32_t>(bas - vis.Top) >> shift;
      for (size_t b = b0; b <= b1; ++b) q.ParBande[b].push_back(static_cast<uint32_t>(i));
    }
  });

  // The ellipses met for the first time are traced here, on this thread
  // alone and in the batch's order; those without a usable stamp go one by one.
  std::vector<uint32_t> unParUn;
  for (Paquet& q : parPaquet) {
    for (const uint32_t i : q.ATracer) {
      const Rect r = CoinsEllipse(calls[i]);
      if (FindStamp(r.Left, r.Top, r.Width(), r.Height(), solid, filled, stride) == nullptr) q.UnParUn.push_back(i);
    }
    std::sort(q.UnParUn.begin(), q.UnParUn.end());
    unParUn.insert(unParUn.end(), q.UnParUn.begin(), q.UnParUn.end());
  }

  // The calls from debut to fin (excluded), none of them one by one, by bands.
  const uint32_t brush = ToQRgb(Brush.Color);
  const DashState tirets(Pen.Style);
  const auto parBandes = [&](size_t debut, size_t fin) {
    uint32_t* const bits = reinterpret_cast<uint32_t*>(image_.bits());
    // An ellipse drawn by Ellipse on a white scratch bitmap of the same size
    // and clip rectangle (hence the same pixels), the pen black and the brush
    // red; then the pixels of its margin rectangle that fall in the band are
    // given the call's colours, and the scratch is made white again.  Each
    // thread keeps its own scratch bitmap.
    const auto surCalque = [&](const Rect& c, uint32_t couleur, int32_t haut, int32_t bas) {
      thread_local std::unique_ptr<QtCanvas> calque;
      if (!calque || calque->Width() != Width() || calque->Height() != Height())
        calque = std::make_unique<QtCanvas>(Width(), Height());
      calque->clip_ = clip_;
      calque->Pen = {kBlack, Pen.Width, Pen.Style, PenMode::Copy};
      calque->Brush = {RgbColour(255, 0, 0), Brush.Style};
      calque->Ellipse(c.Left, c.Top, c.Right, c.Bottom);
      const uint32_t noir = ToQRgb(kBlack) & 0xFFFFFFu, rouge = ToQRgb(RgbColour(255, 0, 0)) & 0xFFFFFFu;
      const uint32_t blanc = ToQRgb(kWhite);
      const int32_t x0 = std::max(c.Left - kMargeEllipse, vis.Left), x1 = std::min(c.Right + kMargeEllipse, vis.Right);
      const int32_t y0 = std::max(c.Top - kMargeEllipse, vis.Top), y1 = std::min(c.Bottom + kMargeEllipse, vis.Bottom);
      QImage& trace = calque->image_;
      for (int32_t y = y0; y < y1; ++y) {
        uint32_t* source = reinterpret_cast<uint32_t*>(trace.scanLine(y));
        uint32_t* cible = bits + static_cast<qsizetype>(y) * stride;
        const bool dansLaBande = y >= haut && y < bas;
        for (int32_t x = x0; x < x1; ++x) {
          const uint32_t p = source[x] & 0xFFFFFFu;
          if (p == (blanc & 0xFFFFFFu)) continue;
          if (dansLaBande) cible[x] = p == noir ? couleur : p == rouge ? brush : cible[x];
          source[x] = blanc;
        }
      }
    };
    foundation::ParTranches(bandes, bandes, [&](size_t b, size_t, size_t) {
      const int32_t haut = vis.Top + (static_cast<int32_t>(b) << shift);
      const int32_t bas = static_cast<int32_t>(std::min<i64>(vis.Bottom, i64(haut) + (i64(1) << shift)));
      const Rect bande{vis.Left, haut, vis.Right, bas};
      const uint32_t rangs = static_cast<uint32_t>(bas - haut);
      const auto dansLaBande = [&](int32_t x, int32_t y) {
        return static_cast<uint32_t>(x - vis.Left) < largeur && static_cast<uint32_t>(y - haut) < rangs;
      };
      const auto plot = [&](uint32_t colour) {
        return [bits, stride, colour](i64 x, i64 y) { bits[y * stride + x] = colour; };
      };
      for (const Paquet& q : parPaquet) {
        if (q.Fin <= debut || q.Debut >= fin) continue;
        const uint32_t* premier = q.ParBande[b].data();
        const uint32_t* dernier = premier + q.ParBande[b].size();
        if (q.Debut < debut) premier = std::lower_bound(premier, dernier, static_cast<uint32_t>(debut));
        if (q.Fin > fin) dernier = std::lower_bound(premier, dernier, static_cast<uint32_t>(fin));
        // The calls of a band are spread over the batch: asked for some ahead.
        constexpr ptrdiff_t avance = 16;
        for (; premier != dernier; ++premier) {
          if (dernier - premier > avance) __builtin_prefetch(&calls[premier[avance]]);
          const BatchCall& c = calls[*premier];
          const uint32_t colour = ToQRgb(c.Color);
          switch (c.What) {
            case BatchCall::Kind::Line: {
              const int32_t x0 = c.X1, y0 = c.Y1, x1 = c.X2, y1 = c.Y2;
              if (!solid) {
                DashState d = tirets;
                TraceSegment(x0, y0, x1, y1, bande, d, plot(colour));
              } else if (dansLaBande(x0, y0) && dansLaBande(x1, y1)) {
                WalkSegment(bits, stride, x0, y0, x1, y1, colour);
              } else if (dedans(x0, y0) && dedans(x1, y1) &&
                         std::max(std::abs(x1 - x0), std::abs(y1 - y0)) <= kPasCourts) {
                WalkSegmentRows(bits, stride, x0, y0, x1, y1, haut, bas, colour);
              } else {
                DashState d(PenStyle::Solid);
                TraceSegment(x0, y0, x1, y1, bande, d, plot(colour));
              }
              break;
            }
            case BatchCall::Kind::Ellipse: {
              // The ellipses the bands reach that are not stamped are drawn
              // on a scratch bitmap.
              const Rect r = CoinsEllipse(c);
              if (!stamped || !Estampable(r, vis)) {
                surCalque(r, colour, haut, bas);
                break;
              }
              const int32_t left = r.Left, top = r.Top, bottom = r.Bottom;
              const EllipseStamp* e = TracedStamp(left, top, r.Width(), r.Height(), variant, stride);
              uint32_t* corner = bits + static_cast<qsizetype>(top) * stride + left;
              const int32_t r0 = std::max(top, haut) - top, r1 = std::min(bottom, bas) - top;
              for (int k = e->BrushRows[r0]; k < e->BrushRows[r1]; ++k) corner[e->Brush[k]] = brush;
              for (int k = e->PenRows[r0]; k < e->PenRows[r1]; ++k) corner[e->Pen[k]] = colour;
              break;
            }
            case BatchCall::Kind::Pixel:
              bits[static_cast<qsizetype>(c.Y1) * stride + c.X1] = colour;
              break;
          }
        }
      }
    });
  };

  // Runs long enough by bands, the rest (with the calls one by one) by BatchSerial.
  size_t fait = 0, debut = 0;
  for (size_t k = 0; k <= unParUn.size(); ++k) {
    const size_t fin = k < unParUn.size() ? unParUn[k] : n;
    if (fin - debut >= kLotParBandes) {
      if (debut > fait) BatchSerial(calls.subspan(fait, debut - fait), vis);
      parBandes(debut, fin);
      fait = fin;
    }
    debut = fin + 1;
  }
  if (fait < n) BatchSerial(calls.subspan(fait), vis);
  for (auto q = parPaquet.rbegin(); q != parPaquet.rend(); ++q)
    if (q->DerniereLigne >= 0) {
      const BatchCall& c = calls[static_cast<size_t>(q->DerniereLigne)];
      PenPos = {c.X2, c.Y2};
      break;
    }
}

}  // namespace platform
