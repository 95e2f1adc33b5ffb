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
#include "platform/qt/band_raster.h"
#include "platform/qt/pixel_walk.h"

namespace platform {

using namespace pixels;

namespace {

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

// ---------------------------------------------------------------- polylines

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

}  // namespace

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
  if (calls.size() >= BandRaster::MinCalls && calls.size() < std::numeric_limits<uint32_t>::max() &&
      vis.Height() >= (2 << BandRaster::MinBandLog) && foundation::NombreFils() > 1)
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


}  // namespace platform
