#pragma once
// Raster files read with QImageReader (JPEG, BMP and PNG built in, TIFF with
// LZW through the image-formats plugins).  The file is decoded once, in the
// reader's own compact format (one bit per pixel for two colours, one byte
// for a palette or grey levels); a turned image keeps that decoded image and
// its angle, and each paint renders only the rectangle asked for.  Zoomed-out
// paints read reduced copies (each half the previous one, made on first
// need); the last rendered rectangle is kept for a repaint with the same
// zoom, rectangle and opacity.
#include <QImage>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/raster.h"

namespace platform {

class QtRaster final : public Raster {
 public:
  // The decoded image (Mono with black then white, Indexed8, Grayscale8 or a
  // 32-bit format) and its depth, turned by the angle in degrees.
  QtRaster(QImage image, int depth, double angle);

  int32_t Width() const override { return frame_.Width; }
  int32_t Height() const override { return frame_.Height; }
  int Depth() const override { return depth_; }
  std::vector<Colour> ColourTable() const override;
  Colour Pixel(int32_t x, int32_t y) const override;
  void AddMark(Point centre) override;
  void Paint(Canvas& canvas, const Rect& destination, const RectF& source, uint8_t opacity) const override;

  const QImage& Decoded() const { return image_; }
  // Reduced copies made so far.
  size_t ReductionCount() const { return reductions_.size(); }
  // Paints answered from the kept rectangle.
  int CachedPaints() const { return cachedPaints_; }

 private:
  // Renders the part `visible` of the destination into an image of its size.
  QImage Render(const Rect& visible, const Rect& destination, const RectF& source, uint8_t opacity) const;
  // Level 0 is the decoded image, level n is half of level n - 1.
  const QImage& Level(int n) const;

  QImage image_;
  int depth_;
  TurnFrame frame_;
  std::vector<Point> marks_;
  mutable std::vector<QImage> reductions_;
  struct Kept {
    bool Valid = false;
    Rect Visible, Destination;
    RectF Source;
    uint8_t Opacity = 0;
    QImage Tile;
  };
  mutable Kept kept_;
  mutable int cachedPaints_ = 0;
};

class QtRasterLoader final : public RasterLoader {
 public:
  // Raises the reader's allocation limit to the memory budget.
  QtRasterLoader();

  std::optional<RasterHeader> ReadHeader(const std::string& path) override;
  std::unique_ptr<Raster> Load(const std::string& path) override;
  std::unique_ptr<Raster> LoadTurned(const std::string& path, double angle) override;

  // Bytes one decoded image may take: half of the machine's memory.
  static int64_t MemoryBudget();

 private:
  enum class Failure { None, Unreadable, Depth, TooBig };
  std::unique_ptr<QtRaster> Decode(const std::string& path, double angle, Failure& failure, std::string& error);
};

// The depth of a decoded image by the rules of raster.h; 0 when refused.
// colourCount is the size of the colour table of an indexed image.
int DepthOfFormat(QImage::Format format, int colourCount);

}  // namespace platform
