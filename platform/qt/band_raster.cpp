#include "platform/qt/band_raster.h"

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>
#include <span>
#include <utility>
#include <vector>

#include "foundation/parallele.h"
#include "platform/qt/pixel_walk.h"
#include "platform/qt/qt_canvas.h"

namespace platform {

using namespace pixels;

namespace {

// The full-size scratch bitmaps of one batch drawn by bands (33 MB each at
// 4K): made when a band first needs one, handed from band to band, and freed
// when the batch is drawn, so that no thread keeps one after the redraw.
class Calques {
 public:
  std::unique_ptr<QtCanvas> Prend(int32_t largeur, int32_t hauteur) {
    {
      const std::lock_guard<std::mutex> verrou(mutex_);
      if (!libres_.empty()) {
        std::unique_ptr<QtCanvas> c = std::move(libres_.back());
        libres_.pop_back();
        return c;
      }
    }
    return std::make_unique<QtCanvas>(largeur, hauteur);
  }
  void Rend(std::unique_ptr<QtCanvas> calque) {
    const std::lock_guard<std::mutex> verrou(mutex_);
    libres_.push_back(std::move(calque));
  }

 private:
  std::mutex mutex_;
  std::vector<std::unique_ptr<QtCanvas>> libres_;
};

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

}  // namespace

// A pixel's final colour is the last one written there in the batch's order.
// The visible rectangle is cut into bands of rows, and each band is drawn by
// one thread, which applies, in the batch's order, the pixels of each call
// that fall in its band: every pixel gets the writes of one thread, in the
// same order as on one thread, hence the same picture.  The calls are first
// sorted out by band (in slices of the batch, on several threads), so that a
// band reads only the calls that reach it.  Lines cut by a band are its clip
// of the whole line (TraceSegment's pixels do not depend on the clip, nor
// does the dash position); stamped ellipses keep the offsets of each row;
// other ellipses up to BandRaster::ScratchMax pixels are drawn whole on a scratch bitmap
// and their pixels in the band copied.  The calls a band cannot draw alone
// (bigger ellipses, or stamped ones whose stamp is not usable) are drawn in
// their turn by BatchSerial, between the runs drawn by bands.
void QtCanvas::BatchBands(std::span<const BatchCall> calls, const Rect& vis) {
  const size_t n = calls.size();
  const size_t fils = foundation::NombreFils();
  const qsizetype stride = image_.bytesPerLine() / 4;
  const int32_t hauteur = vis.Height();
  int shift = BandRaster::MaxBandLog;
  while (shift > BandRaster::MinBandLog && static_cast<size_t>(hauteur >> shift) < BandRaster::BandsPerThread * fils)
    --shift;
  while (((hauteur - 1) >> shift) >= BandRaster::MaxBands) ++shift;
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
  const size_t paquets = std::clamp<size_t>(n / BandRaster::CallsPerSlice, 1, BandRaster::SlicesPerThread * fils);
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
          } else if (i64(right) + BandRaster::EllipseMargin <= vis.Left || i64(left) - BandRaster::EllipseMargin >= vis.Right ||
                     i64(bottom) + BandRaster::EllipseMargin <= vis.Top || i64(top) - BandRaster::EllipseMargin >= vis.Bottom) {
            // Nothing of it is visible.
          } else if (w <= BandRaster::ScratchMax && h <= BandRaster::ScratchMax) {
            // Drawn on a scratch bitmap by the bands.
            haut = std::max(top - BandRaster::EllipseMargin, vis.Top);
            bas = std::min(bottom + BandRaster::EllipseMargin - 1, vis.Bottom - 1);
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

  // The scratch bitmaps of the bands, freed with the batch.
  Calques calques;

  // The calls from debut to fin (excluded), none of them one by one, by bands.
  const uint32_t brush = ToQRgb(Brush.Color);
  const DashState tirets(Pen.Style);
  const auto parBandes = [&](size_t debut, size_t fin) {
    uint32_t* const bits = reinterpret_cast<uint32_t*>(image_.bits());
    // An ellipse drawn by Ellipse on a white scratch bitmap of the same size
    // and clip rectangle (hence the same pixels), the pen black and the brush
    // red; then the pixels of its margin rectangle that fall in the band are
    // given the call's colours, and the scratch is made white again.  A band
    // takes a scratch bitmap from the batch's own on its first such ellipse
    // and gives it back when done.
    const auto surCalque = [&](std::unique_ptr<QtCanvas>& calque, const Rect& c, uint32_t couleur, int32_t haut,
                               int32_t bas) {
      if (!calque) calque = calques.Prend(Width(), Height());
      calque->clip_ = clip_;
      calque->Pen = {kBlack, Pen.Width, Pen.Style, PenMode::Copy};
      calque->Brush = {RgbColour(255, 0, 0), Brush.Style};
      calque->Ellipse(c.Left, c.Top, c.Right, c.Bottom);
      const uint32_t noir = ToQRgb(kBlack) & 0xFFFFFFu, rouge = ToQRgb(RgbColour(255, 0, 0)) & 0xFFFFFFu;
      const uint32_t blanc = ToQRgb(kWhite);
      const int32_t x0 = std::max(c.Left - BandRaster::EllipseMargin, vis.Left), x1 = std::min(c.Right + BandRaster::EllipseMargin, vis.Right);
      const int32_t y0 = std::max(c.Top - BandRaster::EllipseMargin, vis.Top), y1 = std::min(c.Bottom + BandRaster::EllipseMargin, vis.Bottom);
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
      std::unique_ptr<QtCanvas> calque;
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
        constexpr ptrdiff_t avance = BandRaster::Prefetch;
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
                         std::max(std::abs(x1 - x0), std::abs(y1 - y0)) <= BandRaster::ShortLine) {
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
                surCalque(calque, r, colour, haut, bas);
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
      if (calque) calques.Rend(std::move(calque));
    });
  };

  // Runs long enough by bands, the rest (with the calls one by one) by BatchSerial.
  size_t fait = 0, debut = 0;
  for (size_t k = 0; k <= unParUn.size(); ++k) {
    const size_t fin = k < unParUn.size() ? unParUn[k] : n;
    if (fin - debut >= BandRaster::MinCalls) {
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
