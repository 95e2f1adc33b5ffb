#pragma once
// Raster files (scanned notes, maps, images placed on layouts) as the program
// draws them: a decoded image, possibly turned, read and painted through a
// handle, and the loaders that make one from a file.
//
// Depths: 1 (two colours, black then white, black on white), 4 (a palette of
// 16 entries or fewer), 8 (a palette, or grey levels 0 to 255), 24 and 32
// bits (colour as read; transparency is flattened onto white).  Anything
// else (16 bits per pixel or per channel) is refused with
// "Only 1, 4, 8, 24 or 32 BitsPerPixel are supported in this demo !".
//
// A turned image is not turned in memory: the handle keeps the decoded image
// and the angle; its size is the bounding box of the turned image, and each
// paint renders only the rectangle asked for, the uncovered corners white.
//
// The application installs the Qt implementation (platform/qt/qt_raster.h);
// tests of model code install ScriptedRasterLoader.  With none installed no
// file can be read.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/scoped_port.h"

namespace platform {

// The only depths a raster can have.
bool DepthAccepted(int depth);

// A rectangle with real edges (a source rectangle between pixel edges).
struct RectF {
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;
  double Width() const { return Right - Left; }
  double Height() const { return Bottom - Top; }
};

// The frame of an image turned about its centre by an angle in degrees,
// clockwise on the screen for a positive angle: the size of the bounding box
// and the two centres the turn maps onto each other (pixels, Y downward).
// The centres are the rounded halves of the sizes measured from the bottom
// row, so that the callers' calibration arithmetic lands on the same pixels.
struct TurnFrame {
  double Angle = 0;  // degrees
  int32_t SourceWidth = 0, SourceHeight = 0;
  int32_t Width = 0, Height = 0;  // bounding box
  double SourceCentreX = 0, SourceCentreY = 0;
  double CentreX = 0, CentreY = 0;

  // A point of the unturned image to the turned frame and back.
  void Turn(double x, double y, double& tx, double& ty) const;
  void Unturn(double tx, double ty, double& x, double& y) const;
};
TurnFrame MakeTurnFrame(int32_t width, int32_t height, double angle);

// Radius, pen and brush of the calibration marks drawn over a turned image.
inline constexpr int32_t kMarkRadius = 4;
inline constexpr Colour kMarkPen = 0x00FF00;
inline constexpr Colour kMarkBrush = 0x00FFFF;

class Raster {
 public:
  virtual ~Raster() = default;

  // Size of the image as shown (the turned bounding box for a turned image).
  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  // 1, 4, 8, 24 or 32.
  virtual int Depth() const = 0;
  // The palette of a 1, 4 or 8-bit image; empty for 24 and 32 bits.
  virtual std::vector<Colour> ColourTable() const = 0;
  // The pixel as shown (turned, marked, transparency on white; white in the
  // uncovered corners); kInvalidColour outside.  Meant for tests.
  virtual Colour Pixel(int32_t x, int32_t y) const = 0;
  // A calibration mark (circle of kMarkRadius, kMarkPen, kMarkBrush) centred
  // on that pixel of the shown image, drawn over it at every paint.
  virtual void AddMark(Point centre) = 0;
  // Paints the source rectangle of the shown image (pixels, Y downward,
  // real edges) stretched onto the destination rectangle of the canvas, with
  // the constant opacity a over white: each channel becomes
  // (image * a + 255 * (255 - a)) / 255.  Only the part of the destination
  // inside the canvas and its clip rectangle is rendered.
  virtual void Paint(Canvas& canvas, const Rect& destination, const RectF& source, uint8_t opacity) const = 0;
};

// What a file's header says, without decoding the pixels.
struct RasterHeader {
  int32_t Width = 0;
  int32_t Height = 0;
  int Depth = 0;  // 0 when the header does not tell
};

class RasterLoader {
 public:
  virtual ~RasterLoader() = default;
  // The header of the file; none when it cannot be read (no message).  A
  // refused depth shows the depth message and gives none.
  virtual std::optional<RasterHeader> ReadHeader(const std::string& path) = 0;
  // The file unchanged; none when it cannot be read (no message: the callers
  // report "Impossible de charger le fichier " + path).  A refused depth
  // shows the depth message; an image too big for memory shows "Le fichier
  // est trop important pour pouvoir être calé".
  virtual std::unique_ptr<Raster> Load(const std::string& path) = 0;
  // The file turned by the angle in degrees; none on failure, the message
  // shown: "File not readable: " + the reader's error text, the depth
  // message, or the "trop important" message when the image cannot be held.
  virtual std::unique_ptr<Raster> LoadTurned(const std::string& path, double angle) = 0;

  // The port in use; a loader that reads nothing stands in until one is
  // installed.
  static RasterLoader& Current();
  static RasterLoader* Install(RasterLoader* l);
};
using ScopedRasterLoader = ScopedPort<RasterLoader>;

// The plain loader of the calibration windows and of the layouts.
class TChargeBitmap {
 public:
  // The loaded image; none before the first successful load.
  std::unique_ptr<Raster> Image;
  // True when Image now holds the file's image; on failure Image is kept.
  bool OuvreFichier(const std::string& NomFichier);
};

// Loads the file turned by Angle degrees into Bitmap; on failure Bitmap is
// left as it was and the loader has shown its message.
bool ChargeBitmapTourne(const std::string& NomFichier, std::unique_ptr<Raster>& Bitmap, double Angle);

// --- Scripted implementation -----------------------------------------------------

// An image held as colours (Y downward), turned by nearest pixel; paints
// pixel by pixel through Canvas::SetPixel and logs each paint.
class ScriptedRaster final : public Raster {
 public:
  // A white image of that size and depth.
  ScriptedRaster(int32_t width, int32_t height, int depth = 24);
  // The image turned by the angle (its frame from MakeTurnFrame).
  static std::unique_ptr<ScriptedRaster> Turned(const ScriptedRaster& source, double angle);

  int32_t Width() const override { return frame_.Width; }
  int32_t Height() const override { return frame_.Height; }
  int Depth() const override { return depth_; }
  std::vector<Colour> ColourTable() const override { return Palette; }
  Colour Pixel(int32_t x, int32_t y) const override;
  void AddMark(Point centre) override { Marks.push_back(centre); }
  void Paint(Canvas& canvas, const Rect& destination, const RectF& source, uint8_t opacity) const override;

  // The unturned image's pixels.
  void SetSourcePixel(int32_t x, int32_t y, Colour c);
  const TurnFrame& Frame() const { return frame_; }

  std::vector<Colour> Palette;
  std::vector<Point> Marks;
  // One line per paint: destination and opacity.
  mutable std::vector<std::string> Log;

 private:
  int depth_;
  TurnFrame frame_;
  std::vector<Colour> pixels_;  // unturned
};

// Files known by path, each an image of a given size; the turned loads turn
// it.  Unknown files cannot be read.
class ScriptedRasterLoader final : public RasterLoader {
 public:
  std::optional<RasterHeader> ReadHeader(const std::string& path) override;
  std::unique_ptr<Raster> Load(const std::string& path) override;
  std::unique_ptr<Raster> LoadTurned(const std::string& path, double angle) override;

  // Any path not listed in Files reads as this size when it exists on disk
  // (none: only the listed files can be read).
  std::optional<RasterHeader> AnyExistingFile;
  std::vector<std::pair<std::string, RasterHeader>> Files;
  // Paths and angles asked, in order.
  std::vector<std::string> Loads;
  std::vector<double> Angles;
  // The last turned raster made (owned by whoever received it).
  ScriptedRaster* LastTurned = nullptr;

 private:
  std::optional<RasterHeader> Find(const std::string& path) const;
};

}  // namespace platform
