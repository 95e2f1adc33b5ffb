#pragma once
// Work cut into slices and run on the cores of the machine: the redraw of big
// drawings.  The slices of one call are numbered in order, so that a caller
// that keeps each slice's output apart and then reads the outputs in slice
// order gets the same result as one pass from 0 to n.
#include <cstddef>
#include <functional>

namespace foundation {

// The threads one parallel call may use (the calling one included): the
// setting FilsMax of the context when it is above 0, else the machine's
// cores; from 1 to 8.
size_t NombreFils();

// Calls f(tranche, debut, fin) for the slices tranche = 0 .. tranches - 1 of
// [0, n), slice t covering [n t / tranches, n (t + 1) / tranches), on the
// workers of the process and on the calling thread; returns when every slice
// is done.  A call made from inside a slice runs its slices one after the
// other on that thread.  The first exception a slice throws is thrown again
// here, once every slice has ended.
void ParTranches(size_t n, size_t tranches, const std::function<void(size_t tranche, size_t debut, size_t fin)>& f);

}  // namespace foundation
