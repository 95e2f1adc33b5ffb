#include "platform/qt/qt_raster.h"

#include <unistd.h>

#include <QImageReader>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <climits>
#include <cmath>
#include <fstream>
#include <new>

#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "platform/qt/qt_canvas.h"

namespace platform {

using foundation::IdMsg;
using foundation::Msg;

int DepthOfFormat(QImage::Format format, int colourCount) {
  switch (format) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
      return 1;
    case QImage::Format_Indexed8:
      return colourCount <= 16 ? 4 : 8;
    case QImage::Format_Grayscale8:
      return 8;
    case QImage::Format_RGB32:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
    case QImage::Format_RGBX8888:
      return 24;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
      return 32;
    default:
      return 0;  // 16 bits per pixel or per channel, and the rest
  }
}

namespace {

Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

bool SameRect(const RectF& a, const RectF& b) {
  return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

// Bytes of the decoded image of that size and format (0 when unknown).
int64_t DecodedBytes(const QSize& size, QImage::Format format) {
  if (!size.isValid()) return 0;
  const int64_t w = size.width(), h = size.height();
  switch (format) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
      return (w + 7) / 8 * h;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8:
      return w * h;
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
      return w * 3 * h;
    default:
      return w * 4 * h;
  }
}

void Error(const std::string& text) { Dialogs::Current().ShowMessage(MessageKind::Error, text); }

// Two colours become black then white, the darker colour black.
void NormaliseMono(QImage& image) {
  if (image.colorCount() == 2 && qGray(image.color(0)) > qGray(image.color(1))) image.invertPixels();
  image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
}

}  // namespace

// --- Raster ---------------------------------------------------------------------------

QtRaster::QtRaster(QImage image, int depth, double angle)
    : image_(std::move(image)), depth_(depth), frame_(MakeTurnFrame(image_.width(), image_.height(), angle)) {}

std::vector<Colour> QtRaster::ColourTable() const {
  std::vector<Colour> t;
  if (image_.format() == QImage::Format_Grayscale8) {
    for (int i = 0; i < 256; ++i) t.push_back(RgbColour(i, i, i));
  } else if (image_.format() == QImage::Format_Indexed8 || image_.format() == QImage::Format_Mono ||
             image_.format() == QImage::Format_MonoLSB) {
    for (QRgb c : image_.colorTable()) t.push_back(FromQRgb(c));
  }
  return t;
}

void QtRaster::AddMark(Point centre) {
  marks_.push_back(centre);
  kept_.Valid = false;
}

const QImage& QtRaster::Level(int n) const {
  if (n <= 0) return image_;
  while (static_cast<int>(reductions_.size()) < n) {
    const QImage& previous = reductions_.empty() ? image_ : reductions_.back();
    const int w = std::max(1, previous.width() / 2), h = std::max(1, previous.height() / 2);
    // Smooth on the 32-bit formats; one bit and one byte per pixel keep
    // their format by taking every other pixel.
    const bool smooth = previous.depth() == 32;
    QImage next;
    try {
      next = previous.scaled(w, h, Qt::IgnoreAspectRatio, smooth ? Qt::SmoothTransformation : Qt::FastTransformation);
    } catch (const std::bad_alloc&) {
      next = QImage();
    }
    if (next.isNull()) break;
    reductions_.push_back(std::move(next));
  }
  // The deepest copy made when memory ran out before level n.
  const size_t made = std::min(static_cast<size_t>(n), reductions_.size());
  return made == 0 ? image_ : reductions_[made - 1];
}

QImage QtRaster::Render(const Rect& vis, const Rect& d, const RectF& s, uint8_t opacity) const {
  QImage tile(vis.Width(), vis.Height(), QImage::Format_RGB32);
  if (tile.isNull()) return tile;
  tile.fill(0xFFFFFFFFu);
  const double kx = s.Width() / d.Width(), ky = s.Height() / d.Height();  // shown pixels per device pixel
  if (opacity == 0 || !(kx > 0) || !(ky > 0) || !std::isfinite(kx) || !std::isfinite(ky)) return tile;

  // The reduced copy with at least one of its pixels per device pixel.
  int n = 0;
  const double k = std::min(kx, ky);
  while (n < 30 && std::ldexp(1.0, n + 1) <= k && (image_.width() >> (n + 1)) >= 1 && (image_.height() >> (n + 1)) >= 1)
    ++n;
  const QImage& level = Level(n);
  const double fx = static_cast<double>(level.width()) / image_.width();
  const double fy = static_cast<double>(level.height()) / image_.height();

  // Shown image -> tile, then level -> shown image.
  const QTransform toTile = QTransform::fromTranslate(-s.Left, -s.Top) * QTransform::fromScale(1 / kx, 1 / ky) *
                            QTransform::fromTranslate(d.Left - vis.Left, d.Top - vis.Top);
  const QTransform turn = QTransform::fromScale(1 / fx, 1 / fy) *
                          QTransform::fromTranslate(-frame_.SourceCentreX, -frame_.SourceCentreY) *
                          QTransform().rotate(frame_.Angle) * QTransform::fromTranslate(frame_.CentreX, frame_.CentreY);
  const QTransform t = turn * toTile;

  QPainter p(&tile);
  // Only the part of the level under the tile is taken (converted by the
  // painter when its format needs it).
  bool invertible = false;
  const QTransform inverse = t.inverted(&invertible);
  if (invertible) {
    const QRect under =
        inverse.mapRect(QRectF(0, 0, tile.width(), tile.height())).toAlignedRect().adjusted(-2, -2, 2, 2) &
        level.rect();
    if (!under.isEmpty()) {
      const QImage part = level.copy(under);
      p.setTransform(QTransform::fromTranslate(under.x(), under.y()) * t);
      p.drawImage(QPointF(0, 0), part);
    }
  }
  if (!marks_.empty()) {
    p.setTransform(toTile);
    p.setPen(QPen(QColor(0, 255, 0), 1));
    p.setBrush(QColor(255, 255, 0));
    for (const Point& m : marks_)
      p.drawEllipse(QRectF(m.X - kMarkRadius, m.Y - kMarkRadius, 2 * kMarkRadius, 2 * kMarkRadius));
  }
  p.end();

  // Constant opacity over white.
  if (opacity < 255) {
    const uint32_t a = opacity, b = 255u * (255u - opacity);
    for (int y = 0; y < tile.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
      for (int x = 0; x < tile.width(); ++x) {
        const QRgb c = line[x];
        line[x] = qRgb(static_cast<int>((qRed(c) * a + b) / 255), static_cast<int>((qGreen(c) * a + b) / 255),
                       static_cast<int>((qBlue(c) * a + b) / 255));
      }
    }
  }
  return tile;
}

Colour QtRaster::Pixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return kInvalidColour;
  const Rect r{x, y, x + 1, y + 1};
  const QImage tile = Render(r, r, RectF{double(x), double(y), x + 1.0, y + 1.0}, 255);
  return tile.isNull() ? kInvalidColour : FromQRgb(tile.pixel(0, 0));
}

void QtRaster::Paint(Canvas& canvas, const Rect& d, const RectF& s, uint8_t opacity) const {
  if (d.Empty()) return;
  Rect vis = Intersect(d, Rect{0, 0, canvas.Width(), canvas.Height()});
  if (const auto clip = canvas.ClipRect()) vis = Intersect(vis, *clip);
  if (vis.Empty()) return;
  if (!(kept_.Valid && kept_.Visible == vis && kept_.Destination == d && SameRect(kept_.Source, s) &&
        kept_.Opacity == opacity)) {
    kept_.Valid = false;
    kept_.Tile = QImage();
    QImage tile;
    try {
      tile = Render(vis, d, s, opacity);
    } catch (const std::bad_alloc&) {
      tile = QImage();
    }
    if (tile.isNull()) return;
    kept_ = Kept{true, vis, d, s, opacity, std::move(tile)};
  } else {
    ++cachedPaints_;
  }
  if (auto* q = dynamic_cast<QtCanvas*>(&canvas)) {
    QPainter p(&q->Image());
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPoint(vis.Left, vis.Top), kept_.Tile);
  } else {
    const QtCanvas copy(kept_.Tile);
    canvas.CopyRect(vis, copy, Rect{0, 0, vis.Width(), vis.Height()});
  }
}

// --- Loader ---------------------------------------------------------------------------

namespace {

// Memory the system can still give without swapping (MemAvailable); the
// budget when it cannot be read.
int64_t AvailableMemory() {
  std::ifstream f("/proc/meminfo");
  std::string key;
  int64_t kb = 0;
  std::string unit;
  while (f >> key >> kb) {
    std::getline(f, unit);
    if (key == "MemAvailable:") return kb * 1024;
  }
  return QtRasterLoader::MemoryBudget();
}

// The decoded image and its reduced copies (a third of it) fit in the
// budget and in what the system can give now, so that a big image is
// refused rather than the process killed.
bool Fits(int64_t octets) {
  const int64_t needed = octets + octets / 3;
  return needed <= QtRasterLoader::MemoryBudget() && needed <= AvailableMemory();
}

}  // namespace

int64_t QtRasterLoader::MemoryBudget() {
  const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return int64_t{2} << 30;
  return static_cast<int64_t>(pages) * pageSize / 2;
}

QtRasterLoader::QtRasterLoader() {
  const int64_t mb = MemoryBudget() >> 20;
  QImageReader::setAllocationLimit(static_cast<int>(std::min<int64_t>(mb, INT_MAX)));
}

std::optional<RasterHeader> QtRasterLoader::ReadHeader(const std::string& path) {
  QImageReader reader(QString::fromStdString(path));
  reader.setAutoTransform(false);
  if (!reader.canRead()) return std::nullopt;
  const QSize size = reader.size();
  if (!size.isValid() || size.isEmpty()) return std::nullopt;
  RasterHeader h{size.width(), size.height(), 0};
  const QImage::Format format = reader.imageFormat();
  if (format != QImage::Format_Invalid) {
    h.Depth = DepthOfFormat(format, 256);
    if (h.Depth == 0) {
      Error(Msg(IdMsg::RasterProfondeurRefusee));
      return std::nullopt;
    }
  }
  return h;
}

std::unique_ptr<QtRaster> QtRasterLoader::Decode(const std::string& path, double angle, Failure& failure,
                                                 std::string& error) {
  failure = Failure::None;
  QImageReader reader(QString::fromStdString(path));
  reader.setAutoTransform(false);
  const auto fail = [&](Failure f) -> std::unique_ptr<QtRaster> {
    failure = f;
    error = reader.errorString().toStdString();
    return nullptr;
  };
  if (!reader.canRead()) return fail(Failure::Unreadable);
  // What the header tells refuses a depth or a size before any decoding.
  const QImage::Format announced = reader.imageFormat();
  if (announced != QImage::Format_Invalid && DepthOfFormat(announced, 256) == 0) return fail(Failure::Depth);
  if (!Fits(DecodedBytes(reader.size(), announced))) return fail(Failure::TooBig);
  QImage image;
  bool read = false;
  try {
    read = reader.read(&image);
  } catch (const std::bad_alloc&) {
    image = QImage();
    return fail(Failure::TooBig);
  }
  if (!read || image.isNull()) {
    // A size the reader could not hold is too big; anything else unreadable.
    const QSize s = reader.size();
    if (s.isValid() && DecodedBytes(s, announced) > (static_cast<int64_t>(QImageReader::allocationLimit()) << 20))
      return fail(Failure::TooBig);
    return fail(Failure::Unreadable);
  }
  const int depth = DepthOfFormat(image.format(), image.colorCount());
  if (depth == 0) return fail(Failure::Depth);
  if (depth == 1) NormaliseMono(image);
  return std::make_unique<QtRaster>(std::move(image), depth, angle);
}

std::unique_ptr<Raster> QtRasterLoader::Load(const std::string& path) {
  Failure f = Failure::None;
  std::string error;
  auto r = Decode(path, 0, f, error);
  if (f == Failure::Depth) Error(Msg(IdMsg::RasterProfondeurRefusee));
  if (f == Failure::TooBig) Error(Msg(IdMsg::RasterTropImportant));
  return r;
}

std::unique_ptr<Raster> QtRasterLoader::LoadTurned(const std::string& path, double angle) {
  Failure f = Failure::None;
  std::string error;
  auto r = Decode(path, angle, f, error);
  if (f == Failure::Unreadable) Error(Msg(IdMsg::RasterIllisible) + error);
  if (f == Failure::Depth) Error(Msg(IdMsg::RasterProfondeurRefusee));
  if (f == Failure::TooBig) Error(Msg(IdMsg::RasterTropImportant));
  return r;
}

}  // namespace platform
