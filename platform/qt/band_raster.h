#pragma once
// The thresholds of the image canvas's band rasteriser (QtCanvas::BatchBands,
// band_raster.cpp), in one table.  The rasteriser draws a big batch by bands
// of rows on several threads, with the same pixels as on one thread.  It
// pays on batches of tens of thousands of calls: on the redraw of the
// generated 100,000-shot plan (bench/fenetre_graphique_bench.cpp), the main
// thread's time per frame of the general view goes from 23-28 ms without it
// to 10-12 ms with it, so that only with it can the frame fit in 16 ms.
#include <cstddef>
#include <cstdint>

namespace platform {

struct BandRaster {
  // Below this many calls a batch, or a run of a batch, is drawn on one
  // thread (on 8 cores, 12,000 calls take about 0.18 ms either way, 20,000
  // calls 0.41 ms on one thread and 0.21 ms by bands, 100,000 calls 2.5 ms
  // and 0.8 ms).
  static constexpr size_t MinCalls = 16384;
  // Bands are from 2^MinBandLog to 2^MaxBandLog rows high, as high as leaves
  // BandsPerThread bands to each thread (more, thinner bands list, and clip,
  // more of the calls that cross their edges).
  static constexpr int MinBandLog = 3;
  static constexpr int MaxBandLog = 6;
  static constexpr size_t BandsPerThread = 2;
  // At most this many bands: each slice of the batch keeps a list per band.
  static constexpr int32_t MaxBands = 0xFFFF;
  // The calls are sorted out by band in slices of about this many calls...
  static constexpr size_t CallsPerSlice = 8192;
  // ... and at most this many slices per thread.
  static constexpr size_t SlicesPerThread = 4;
  // Short lines (in steps) crossing a band's edge are walked rather than clipped.
  static constexpr int32_t ShortLine = 64;
  // Ellipses that are not stamped (across the visible edge, a dashed pen, a
  // hatch) are drawn by the bands on a scratch bitmap up to this size;
  // bigger ones are drawn one by one.
  static constexpr int32_t ScratchMax = 64;
  // How far from its rectangle Ellipse may paint: its points stay within a
  // pixel of it, and the pixels within two pixels of the points.
  static constexpr int32_t EllipseMargin = 4;
  // A band asks for the call this many calls ahead of the one it draws.
  static constexpr std::ptrdiff_t Prefetch = 16;
};

}  // namespace platform
