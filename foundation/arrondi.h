#pragma once
// Rounding of reals to integers.  Everywhere a real becomes an integer the
// program rounds half to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2), the rounding
// of the floating-point unit in its default mode.
#include <cmath>
#include <cstdint>
#include <limits>

namespace foundation {

// Half-to-even rounding to a 64-bit integer.  Values outside the range and NaN
// are clamped (NaN gives 0) rather than invoking undefined behaviour.
inline int64_t Arrondi64(double x) {
  if (std::isnan(x)) return 0;
  const double r = std::nearbyint(x);
  if (r >= 9.2233720368547758e18) return std::numeric_limits<int64_t>::max();
  if (r <= -9.2233720368547758e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(r);
}

// Half-to-even rounding to a 32-bit integer, clamped to the int32 range.
inline int32_t Arrondi(double x) {
  const int64_t r = Arrondi64(x);
  if (r > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (r < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(r);
}

// Truncation towards zero to a 32-bit integer, clamped (NaN gives 0).
inline int32_t Tronque(double x) {
  if (std::isnan(x)) return 0;
  const double t = std::trunc(x);
  if (t > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (t < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(t);
}

}  // namespace foundation
