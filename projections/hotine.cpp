#include "projections/hotine.h"

#include <cmath>
#include <numbers>

#include "projections/fabrique.h"
#include "projections/geodesie.h"
#include "projections/suisse.h"

namespace projections {

namespace {
constexpr double kPi = std::numbers::pi;

double Signe(double x) { return x < 0 ? -1.0 : 1.0; }

double LatitudeDepuisConforme(double chi, const TSerieConforme& s) {
  const double c2 = std::cos(chi) * std::cos(chi);
  return chi + std::sin(chi) * std::cos(chi) * (s.P[0] + c2 * (s.P[1] + c2 * (s.P[2] + c2 * s.P[3])));
}
}  // namespace

TSerieConforme SerieLatitudeConforme(double e) {
  const double e2 = e * e, e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
  const double C2 = e2 / 2 + 5 * e4 / 24 + e6 / 12 + 13 * e8 / 360;
  const double C4 = 7 * e4 / 48 + 29 * e6 / 240 + 811 * e8 / 11520;
  const double C6 = 7 * e6 / 120 + 81 * e8 / 1120;
  const double C8 = 4279 * e8 / 161280;
  return {{2 * (C2 - 2 * C4 + 3 * C6 - 4 * C8), 8 * (C4 - 4 * C6 + 10 * C8), 32 * (C6 - 6 * C8), 128 * C8}};
}

// --- THotine ----------------------------------------------------------------------------

struct THotine::TConstantes {
  double e, A, B, lnH, cosGamma0, sinGamma0, lambda0;
  TSerieConforme serie;
};

THotine::TConstantes THotine::Constantes() const {
  double a, e;
  ConstantesEllipsoide(a, e);
  const double e2 = e * e;
  const double phi0 = fPhi0.Valeur;
  const double s0 = std::sin(phi0);
  const double W = std::sqrt(1 - e2 * s0 * s0);
  TConstantes k;
  k.e = e;
  k.serie = SerieLatitudeConforme(e);
  k.B = CoefficientAlpha(phi0, e);
  k.A = fk0 * a * k.B * std::sqrt(1 - e2) / (W * W);
  const double L0 = LatitudeIsometrique(phi0, e);
  const double D = k.B * std::sqrt(1 - e2) / (std::cos(phi0) * W);
  // D is 1 or more in exact arithmetic; rounding may leave it a hair below.
  const double lnF = Signe(phi0) * std::acosh(std::fmax(D, 1.0));
  k.lnH = lnF - k.B * L0;
  const double G = std::sinh(lnF);
  k.sinGamma0 = std::sin(fTheta0.Valeur) / D;
  k.cosGamma0 = std::sqrt(1 - k.sinGamma0 * k.sinGamma0);
  k.lambda0 = fLanda0.Valeur - std::asin(G * k.sinGamma0 / k.cosGamma0) / k.B;
  return k;
}

void THotine::VersGrille(double Lat, double Long, double& X, double& Y) {
  const TConstantes k = Constantes();
  const double Q = std::exp(k.lnH + k.B * LatitudeIsometrique(Lat, k.e));
  const double S = (Q - 1 / Q) / 2;
  const double T = (Q + 1 / Q) / 2;
  const double V = std::sin(k.B * (Long - k.lambda0));
  const double U = (-V * k.cosGamma0 + S * k.sinGamma0) / T;
  const double v = k.A / (2 * k.B) * std::log((1 - U) / (1 + U));
  const double u = k.A / k.B * std::atan((S * k.cosGamma0 + V * k.sinGamma0) / std::cos(k.B * (Long - k.lambda0)));
  const double ct = std::cos(fTheta0.Valeur), st = std::sin(fTheta0.Valeur);
  X = fX0 + v * ct + u * st;
  Y = fY0 + u * ct - v * st;
}

void THotine::VersLatLong(double X, double Y, double& Lat, double& Long) {
  const TConstantes k = Constantes();
  const double ct = std::cos(fTheta0.Valeur), st = std::sin(fTheta0.Valeur);
  const double u = (X - fX0) * st + (Y - fY0) * ct;
  const double v = (X - fX0) * ct - (Y - fY0) * st;
  const double Sp = std::sinh(k.B * v / k.A);
  const double Tp = std::cosh(k.B * v / k.A);
  const double Vp = std::sin(k.B * u / k.A);
  const double lChi =
      (0.5 * std::log((Tp - Sp * k.sinGamma0 + Vp * k.cosGamma0) / (Tp + Sp * k.sinGamma0 - Vp * k.cosGamma0)) -
       k.lnH) /
      k.B;
  const double chi = 2 * std::atan(std::tanh(lChi / 2));
  Lat = LatitudeDepuisConforme(chi, k.serie);
  Long = k.lambda0 + std::atan((Sp * k.cosGamma0 + Vp * k.sinGamma0) / std::cos(k.B * u / k.A)) / k.B;
}

// --- THotineCentre ------------------------------------------------------------------------

void THotineCentre::Prepare(double& e) {
  double a;
  ConstantesEllipsoide(a, e);
  if (fReady && e == old_e && a == old_a) return;
  const double e2 = e * e;
  const double phi0 = fPhi0.Valeur;
  const double s0 = std::sin(phi0);
  const TSerieConforme serie = SerieLatitudeConforme(e);
  F0 = serie.P[0];
  F2 = serie.P[1];
  F4 = serie.P[2];
  F6 = serie.P[3];
  B = CoefficientAlpha(phi0, e);
  A = std::sqrt(1 - e2) * a * B * fk0 / (1 - e2 * s0 * s0);
  t0 = std::tan(kPi / 4 - phi0 / 2) / std::pow((1 - e * s0) / (1 + e * s0), e / 2);
  D = B * std::sqrt(1 - e2) / (std::cos(phi0) * std::sqrt(1 - e2 * s0 * s0));
  const double racine = std::sqrt(std::fmax(D * D - 1, 0.0));
  F = D + Signe(phi0) * racine;
  H = F * std::pow(t0, B);
  G = (F - 1 / F) / 2;
  sinGamma0 = std::sin(fTheta0.Valeur) / D;
  cosGamma0 = std::sqrt(1 - sinGamma0 * sinGamma0);
  Landa0 = fLanda0.Valeur - std::asin(G * sinGamma0 / cosGamma0) / B;
  uc = Signe(phi0) * (A / B) * std::atan(racine / std::cos(fTheta0.Valeur));
  old_e = e;
  old_a = a;
  fReady = true;
}

void THotineCentre::VersGrille(double Lat, double Long, double& X, double& Y) {
  double e;
  Prepare(e);
  const double s = e * std::sin(Lat);
  const double t = std::tan(kPi / 4 - Lat / 2) / std::pow((1 - s) / (1 + s), e / 2);
  const double Q = H / std::pow(t, B);
  const double S = (Q - 1 / Q) / 2;
  const double T = (Q + 1 / Q) / 2;
  const double V = std::sin(B * (Long - Landa0));
  const double U = (-V * cosGamma0 + S * sinGamma0) / T;
  const double v = A / (2 * B) * std::log((1 - U) / (1 + U));
  const double u = A / B * std::atan((S * cosGamma0 + V * sinGamma0) / std::cos(B * (Long - Landa0))) - uc;
  X = fX0 + v * cosGamma0 + u * sinGamma0;
  Y = fY0 + u * cosGamma0 - v * sinGamma0;
}

void THotineCentre::VersLatLong(double X, double Y, double& Lat, double& Long) {
  double e;
  Prepare(e);
  const double v = (X - fX0) * cosGamma0 - (Y - fY0) * sinGamma0;
  const double u = (Y - fY0) * cosGamma0 + (X - fX0) * sinGamma0 + uc;
  const double Qp = std::exp(-B * v / A);
  const double Sp = (Qp - 1 / Qp) / 2;
  const double Tp = (Qp + 1 / Qp) / 2;
  const double Vp = std::sin(B * u / A);
  const double Up = (Vp * cosGamma0 + Sp * sinGamma0) / Tp;
  const double t = std::pow(H / std::sqrt((1 + Up) / (1 - Up)), 1 / B);
  const double chi = kPi / 2 - 2 * std::atan(t);
  Lat = LatitudeDepuisConforme(chi, {{F0, F2, F4, F6}});
  Long = Landa0 - std::atan((Sp * cosGamma0 - Vp * sinGamma0) / std::cos(B * u / A)) / B;
}

void EnregistreFamilleHotine() {
  EnregistreProjection("Hotine", ConstruitProjection<THotine>);
  EnregistreProjection("Hotine centré", ConstruitProjection<THotineCentre>);
}

}  // namespace projections
