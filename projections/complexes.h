#pragma once
// Complex arithmetic for the transverse Mercator series and the New Zealand
// grid.  A zero divisor is not tested: it gives infinities or NaN.
namespace projections {

struct TCplx {
  double Re = 0;
  double Im = 0;
};

TCplx CplxZero();
TCplx CplxAdd(TCplx z1, TCplx z2);
TCplx CplxMul(TCplx z1, TCplx z2);
TCplx CplxMulReel(TCplx z, double x);
TCplx CplxDiv(TCplx numerateur, TCplx denominateur);
// z to the power k >= 0 (k = 0 gives 1); a negative k is a programming error
// (std::logic_error).
TCplx CplxPowerInt(TCplx z, int k);
TCplx CplxSin(TCplx z);

}  // namespace projections
