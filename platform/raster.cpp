#include "platform/raster.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/contexte_platform.h"
#include "platform/files.h"

namespace platform {

bool DepthAccepted(int depth) { return depth == 1 || depth == 4 || depth == 8 || depth == 24 || depth == 32; }

// --- Turn frame -------------------------------------------------------------------

namespace {

constexpr double kPi = 3.14159265358979323846;

// Rounded to the nearest integer, halves to even (the default rounding mode).
double Nearest(double v) { return std::nearbyint(v); }

}  // namespace

TurnFrame MakeTurnFrame(int32_t width, int32_t height, double angle) {
  TurnFrame f;
  f.Angle = angle;
  f.SourceWidth = width;
  f.SourceHeight = height;
  const double a = angle * kPi / 180;
  const double c = std::abs(std::cos(a)), s = std::abs(std::sin(a));
  if (angle == 0) {
    f.Width = width;
    f.Height = height;
  } else {
    // Whole pixels holding the turned image (a sine or cosine a rounding
    // error away from 0 adds nothing).
    f.Width = static_cast<int32_t>(std::max(1.0, std::ceil(width * c + height * s - 1e-6)));
    f.Height = static_cast<int32_t>(std::max(1.0, std::ceil(width * s + height * c - 1e-6)));
  }
  // Both centres measured from the bottom row, as the calibration does.
  f.SourceCentreX = Nearest(width / 2.0);
  f.SourceCentreY = height - Nearest(height / 2.0);
  f.CentreX = Nearest(f.Width / 2.0);
  f.CentreY = f.Height - Nearest(f.Height / 2.0);
  return f;
}

void TurnFrame::Turn(double x, double y, double& tx, double& ty) const {
  const double a = Angle * kPi / 180, c = std::cos(a), s = std::sin(a);
  const double dx = x - SourceCentreX, dy = y - SourceCentreY;
  tx = CentreX + dx * c - dy * s;
  ty = CentreY + dx * s + dy * c;
}

void TurnFrame::Unturn(double tx, double ty, double& x, double& y) const {
  const double a = Angle * kPi / 180, c = std::cos(a), s = std::sin(a);
  const double dx = tx - CentreX, dy = ty - CentreY;
  x = SourceCentreX + dx * c + dy * s;
  y = SourceCentreY - dx * s + dy * c;
}

// --- Port ---------------------------------------------------------------------------

namespace {

// Reads nothing.
class NoRasterLoader final : public RasterLoader {
 public:
  std::optional<RasterHeader> ReadHeader(const std::string&) override { return std::nullopt; }
  std::unique_ptr<Raster> Load(const std::string&) override { return nullptr; }
  std::unique_ptr<Raster> LoadTurned(const std::string&, double) override { return nullptr; }
};
NoRasterLoader defaultLoader;

}  // namespace

RasterLoader& RasterLoader::Current() {
  auto* installed = ContextePlatform().CurrentRasterLoader;
  return installed ? *installed : defaultLoader;
}

RasterLoader* RasterLoader::Install(RasterLoader* l) {
  RasterLoader* previous = ContextePlatform().CurrentRasterLoader;
  ContextePlatform().CurrentRasterLoader = l;
  return previous;
}

bool TChargeBitmap::OuvreFichier(const std::string& NomFichier) {
  std::unique_ptr<Raster> r = RasterLoader::Current().Load(NomFichier);
  if (!r) return false;
  Image = std::move(r);
  return true;
}

bool ChargeBitmapTourne(const std::string& NomFichier, std::unique_ptr<Raster>& Bitmap, double Angle) {
  std::unique_ptr<Raster> r = RasterLoader::Current().LoadTurned(NomFichier, Angle);
  if (!r) return false;
  Bitmap = std::move(r);
  return true;
}

// --- Scripted implementation --------------------------------------------------------

ScriptedRaster::ScriptedRaster(int32_t width, int32_t height, int depth)
    : depth_(depth),
      frame_(MakeTurnFrame(width, height, 0)),
      pixels_(static_cast<size_t>(std::max(0, width)) * static_cast<size_t>(std::max(0, height)), kWhite) {}

std::unique_ptr<ScriptedRaster> ScriptedRaster::Turned(const ScriptedRaster& source, double angle) {
  auto r = std::make_unique<ScriptedRaster>(source);
  r->frame_ = MakeTurnFrame(source.frame_.SourceWidth, source.frame_.SourceHeight, angle);
  r->Log.clear();
  return r;
}

void ScriptedRaster::SetSourcePixel(int32_t x, int32_t y, Colour c) {
  if (x < 0 || y < 0 || x >= frame_.SourceWidth || y >= frame_.SourceHeight) return;
  pixels_[static_cast<size_t>(y) * static_cast<size_t>(frame_.SourceWidth) + static_cast<size_t>(x)] = c;
}

Colour ScriptedRaster::Pixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return kInvalidColour;
  for (const Point& m : Marks) {
    const double d = std::hypot(x - m.X, y - m.Y);
    if (d <= kMarkRadius - 1) return kMarkBrush;
    if (d <= kMarkRadius) return kMarkPen;
  }
  double sx = 0, sy = 0;
  frame_.Unturn(x + 0.5, y + 0.5, sx, sy);
  const auto ix = static_cast<int64_t>(std::floor(sx)), iy = static_cast<int64_t>(std::floor(sy));
  if (ix < 0 || iy < 0 || ix >= frame_.SourceWidth || iy >= frame_.SourceHeight) return kWhite;
  return pixels_[static_cast<size_t>(iy) * static_cast<size_t>(frame_.SourceWidth) + static_cast<size_t>(ix)];
}

void ScriptedRaster::Paint(Canvas&, const Rect& d, const RectF& s, uint8_t opacity) const {
  Log.push_back("Paint " + std::to_string(d.Left) + "," + std::to_string(d.Top) + "," + std::to_string(d.Right) + "," +
                std::to_string(d.Bottom) + " a=" + std::to_string(opacity) + " source " + std::to_string(s.Left) + "," +
                std::to_string(s.Top) + "," + std::to_string(s.Right) + "," + std::to_string(s.Bottom));
}

std::optional<RasterHeader> ScriptedRasterLoader::Find(const std::string& path) const {
  for (const auto& [name, header] : Files)
    if (name == path) return header;
  if (AnyExistingFile && FileExists(path)) return AnyExistingFile;
  return std::nullopt;
}

std::optional<RasterHeader> ScriptedRasterLoader::ReadHeader(const std::string& path) {
  Loads.push_back(path);
  const auto h = Find(path);
  if (!h || !DepthAccepted(h->Depth)) return std::nullopt;
  return h;
}

std::unique_ptr<Raster> ScriptedRasterLoader::Load(const std::string& path) {
  Loads.push_back(path);
  const auto h = Find(path);
  if (!h || !DepthAccepted(h->Depth)) return nullptr;
  return std::make_unique<ScriptedRaster>(h->Width, h->Height, h->Depth);
}

std::unique_ptr<Raster> ScriptedRasterLoader::LoadTurned(const std::string& path, double angle) {
  Angles.push_back(angle);
  const auto h = Find(path);
  if (!h || !DepthAccepted(h->Depth)) return nullptr;
  auto r = ScriptedRaster::Turned(ScriptedRaster(h->Width, h->Height, h->Depth), angle);
  LastTurned = r.get();
  return r;
}

}  // namespace platform
