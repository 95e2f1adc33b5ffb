#pragma once
// Pieces of batch calls made apart (on several threads) put one after the
// other, so that the canvas gets them as one batch: it draws a big batch
// faster than many small ones.
#include <span>
#include <vector>

#include "platform/canvas.h"

namespace drawing {

// dest becomes the pieces in order (its room is kept from one call to the
// next); the copies run on several threads when the calls are many.
void RassembleAppels(std::span<const std::span<const platform::BatchCall>> morceaux,
                     std::vector<platform::BatchCall>& dest);

}  // namespace drawing
