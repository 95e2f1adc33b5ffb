#include "projections/complexes.h"

#include <cmath>
#include <stdexcept>

#include "foundation/catalogue.h"

namespace projections {

TCplx CplxZero() { return {0, 0}; }

TCplx CplxAdd(TCplx z1, TCplx z2) { return {z1.Re + z2.Re, z1.Im + z2.Im}; }

TCplx CplxMul(TCplx z1, TCplx z2) { return {z1.Re * z2.Re - z1.Im * z2.Im, z1.Re * z2.Im + z1.Im * z2.Re}; }

TCplx CplxMulReel(TCplx z, double x) { return {x * z.Re, x * z.Im}; }

TCplx CplxDiv(TCplx z1, TCplx z2) {
  const double q = 1.0 / (z2.Re * z2.Re + z2.Im * z2.Im);
  return {(z2.Re * z1.Re + z2.Im * z1.Im) * q, (z2.Re * z1.Im - z1.Re * z2.Im) * q};
}

TCplx CplxPowerInt(TCplx z, int k) {
  if (k < 0) throw std::logic_error(foundation::Msg(foundation::IdMsg::ProjPuissanceNegative));
  TCplx r{1, 0};
  for (int i = 0; i < k; ++i) r = CplxMul(r, z);
  return r;
}

TCplx CplxSin(TCplx z) { return {std::sin(z.Re) * std::cosh(z.Im), std::cos(z.Re) * std::sinh(z.Im)}; }

}  // namespace projections
