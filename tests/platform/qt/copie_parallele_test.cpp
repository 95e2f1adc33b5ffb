// Big blits and fills, whose rows are shared between threads, against the
// same calls on one thread: every copy mode, sources shifted past the edges
// of either image, a clip rectangle, hatched and solid brushes.
#include <gtest/gtest.h>

#include <cstdint>

#include "foundation/contexte_foundation.h"
#include "platform/qt/qt_canvas.h"
#include "tests/platform/qt/bruit.h"

using namespace platform;

namespace {

QtCanvas Bruit(int32_t w, int32_t h, uint32_t g) { return QtCanvas(ImageBruit(w, h, g)); }

QImage Fait(int fils, CopyMode mode, const Rect& d, const Rect& s, bool decoupe, BrushStyle pinceau) {
  foundation::GardeContexteFoundation garde;
  foundation::ContexteFoundation().FilsMax = fils;
  QtCanvas cible = Bruit(900, 700, 1), source = Bruit(800, 650, 2);
  if (decoupe) cible.SetClipRect({30, 20, 870, 610});
  cible.Copy = mode;
  cible.CopyRect(d, source, s);
  cible.Brush = {0x3366CC, pinceau};
  cible.FillRect({-5, 100, 905, 640});
  return cible.Image();
}

TEST(CopieParallele, LesMemesPixelsQueSurUnSeulFil) {
  const Rect dest[] = {{0, 0, 800, 650}, {-40, 60, 760, 710}, {120, -30, 920, 620}};
  const Rect src[] = {{0, 0, 800, 650}, {50, -20, 850, 630}};
  for (CopyMode mode : {CopyMode::SrcCopy, CopyMode::SrcAnd, CopyMode::SrcPaint, CopyMode::SrcInvert,
                        CopyMode::NotSrcCopy})
    for (const Rect& d : dest)
      for (const Rect& s : src)
        for (bool decoupe : {false, true}) {
          const BrushStyle b = decoupe ? BrushStyle::DiagCross : BrushStyle::Solid;
          const QImage seul = Fait(1, mode, d, s, decoupe, b);
          EXPECT_TRUE(Fait(8, mode, d, s, decoupe, b) == seul)
              << static_cast<int>(mode) << " " << d.Left << "," << d.Top << " <- " << s.Left << "," << s.Top
              << (decoupe ? " découpé" : "");
        }
}

}  // namespace
