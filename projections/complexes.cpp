#include "projections/complexes.h"

#include <cmath>
#include <stdexcept>

#include "foundation/catalogue.h"

namespace projections {

TCplx CplxPowerInt(TCplx z, int k) {
  if (k < 0) throw std::logic_error(foundation::Msg(foundation::IdMsg::ProjPuissanceNegative));
  TCplx r{1, 0};
  for (int i = 0; i < k; ++i) r = CplxMul(r, z);
  return r;
}

TCplx CplxSin(TCplx z) { return {std::sin(z.Re) * std::cosh(z.Im), std::cos(z.Re) * std::sinh(z.Im)}; }

}  // namespace projections
