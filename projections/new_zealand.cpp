#include "projections/new_zealand.h"

#include <cmath>

#include "projections/angles.h"
#include "projections/complexes.h"
#include "projections/fabrique.h"

namespace projections {

namespace {

// Latitude differences are counted in units of 100,000 arc-seconds.
constexpr double kRadiansVersUnites = RadiansVersDegres * 3600 * 1e-5;
constexpr double kUnitesVersRadians = 1e5 / 3600 * DegresVersRadians;

constexpr int kIndiceA = 0, kIndiceB = 10, kIndiceD = 22;
constexpr double kToleranceNewton = 1e-13;
constexpr int kIterationsNewton = 30;

TCplx B(int n) {  // n from 1 to 6
  return {CoefficientsNZMG[kIndiceB + 2 * (n - 1)], CoefficientsNZMG[kIndiceB + 2 * (n - 1) + 1]};
}
}  // namespace

const double CoefficientsNZMG[NbCoefficientsNZMG] = {
    // A1 .. A10
    0.6399175073, -0.1358797613, 0.063294409, -0.02526853, 0.0117879, -0.0055161, 0.0026906, -0.001333, 0.00067,
    -0.00034,
    // B1 .. B6
    0.7557853228, 0.0, 0.249204646, 0.003371507, -0.001541739, 0.041058560, -0.10162907, 0.01727609, -0.26623489,
    -0.36249218, -0.6870983, -1.1651967,
    // D1 .. D9
    1.5627014243, 0.5185406398, -0.03333098, -0.1052906, -0.0368594, 0.007317, 0.01220, 0.00394, -0.0013};

void TNewZealand::VersGrille(double Lat, double Long, double& X, double& Y) {
  double a, e;
  ConstantesEllipsoide(a, e);
  const double dphi = (Lat - fPhi0.Valeur) * kRadiansVersUnites;
  double dpsi = 0, puissance = 1;
  for (int n = 1; n <= 10; ++n) {
    puissance *= dphi;
    dpsi += CoefficientsNZMG[kIndiceA + n - 1] * puissance;
  }
  const TCplx zeta{dpsi, Long - fLanda0.Valeur};
  TCplx z = CplxZero(), zetaN{1, 0};
  for (int n = 1; n <= 6; ++n) {
    zetaN = CplxMul(zetaN, zeta);
    z = CplxAdd(z, CplxMul(B(n), zetaN));
  }
  X = fXs + a * z.Im;
  Y = fYs + a * z.Re;
}

void TNewZealand::VersLatLong(double X, double Y, double& Lat, double& Long) {
  double a, e;
  ConstantesEllipsoide(a, e);
  const TCplx z{(Y - fYs) / a, (X - fXs) / a};
  // First estimate: z + z^2 + ... + z^6.
  TCplx zeta = CplxZero(), zN{1, 0};
  for (int n = 1; n <= 6; ++n) {
    zN = CplxMul(zN, z);
    zeta = CplxAdd(zeta, zN);
  }
  for (int i = 0; i < kIterationsNewton; ++i) {
    // Newton step on sum(B_n zeta^n) = z:
    // zeta <- (z + sum((n - 1) B_n zeta^n)) / sum(n B_n zeta^(n - 1)).
    TCplx numerateur = z, derivee = CplxZero();
    TCplx puissance{1, 0};  // zeta^(n - 1)
    for (int n = 1; n <= 6; ++n) {
      const TCplx bn = B(n);
      derivee = CplxAdd(derivee, CplxMulReel(CplxMul(bn, puissance), n));
      puissance = CplxMul(puissance, zeta);
      if (n >= 2) numerateur = CplxAdd(numerateur, CplxMulReel(CplxMul(bn, puissance), n - 1));
    }
    const TCplx suivant = CplxDiv(numerateur, derivee);
    const double pas = std::fabs(suivant.Re - zeta.Re) + std::fabs(suivant.Im - zeta.Im);
    zeta = suivant;
    if (!(pas >= kToleranceNewton)) break;  // also stops on NaN
  }
  double dphi = 0, puissance = 1;
  for (int n = 1; n <= 9; ++n) {
    puissance *= zeta.Re;
    dphi += CoefficientsNZMG[kIndiceD + n - 1] * puissance;
  }
  Lat = fPhi0.Valeur + dphi * kUnitesVersRadians;
  Long = fLanda0.Valeur + zeta.Im;
}

void EnregistreFamilleNewZealand() {
  EnregistreProjection("New Zealand Map Grid", ConstruitProjection<TNewZealand>);
}

}  // namespace projections
