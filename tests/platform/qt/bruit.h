#pragma once
// A picture of pseudo-random pixels: a pixel too many or too few shows
// against it, whatever the colours drawn.
#include <QImage>
#include <cstdint>

namespace platform {

inline QImage ImageBruit(int32_t w, int32_t h, uint32_t graine) {
  QImage image(w, h, QImage::Format_RGB32);
  uint32_t g = graine;
  for (int32_t y = 0; y < h; ++y) {
    auto* ligne = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int32_t x = 0; x < w; ++x) {
      g = g * 1103515245u + 12345u;
      ligne[x] = 0xFF000000u | (g >> 8);
    }
  }
  return image;
}

}  // namespace platform
