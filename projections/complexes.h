#pragma once
// Complex arithmetic for the transverse Mercator series and the New Zealand
// grid.  A zero divisor is not tested: it gives infinities or NaN.  The small
// operations are inline: they sit in the inner loops of the series.
namespace projections {

struct TCplx {
  double Re = 0;
  double Im = 0;
};

inline TCplx CplxZero() { return {0, 0}; }
inline TCplx CplxAdd(TCplx z1, TCplx z2) { return {z1.Re + z2.Re, z1.Im + z2.Im}; }
inline TCplx CplxMul(TCplx z1, TCplx z2) {
  return {z1.Re * z2.Re - z1.Im * z2.Im, z1.Re * z2.Im + z1.Im * z2.Re};
}
inline TCplx CplxMulReel(TCplx z, double x) { return {x * z.Re, x * z.Im}; }
inline TCplx CplxDiv(TCplx numerateur, TCplx denominateur) {
  const double q = 1.0 / (denominateur.Re * denominateur.Re + denominateur.Im * denominateur.Im);
  return {(denominateur.Re * numerateur.Re + denominateur.Im * numerateur.Im) * q,
          (denominateur.Re * numerateur.Im - numerateur.Re * denominateur.Im) * q};
}
// z to the power k >= 0 (k = 0 gives 1); a negative k is a programming error
// (std::logic_error).
TCplx CplxPowerInt(TCplx z, int k);
TCplx CplxSin(TCplx z);

}  // namespace projections
