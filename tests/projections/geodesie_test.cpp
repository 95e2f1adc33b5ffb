#include "projections/geodesie.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>

#include "projections/angles.h"
#include "projections/complexes.h"
#include "projections/relevement.h"
#include "projections/suisse.h"
#include "tests/support/temps_processeur.h"

using namespace projections;

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kE = 0.08181919106;  // GRS 80
constexpr double kA = 6378137.0;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
}  // namespace

TEST(Geodesie, LatitudeIsometriqueAllerRetour) {
  EXPECT_EQ(LatitudeIsometrique(0, kE), 0);
  for (double degres : {-89.9, -60.0, -12.5, 0.0, 1e-7, 45.0, 46.5, 80.0, 89.99}) {
    SCOPED_TRACE(degres);
    const double phi = degres * DegresVersRadians;
    EXPECT_NEAR(LatitudeDepuisIsometrique(LatitudeIsometrique(phi, kE), kE), phi, 1e-11);
    // On the sphere the first step is already the answer.
    EXPECT_NEAR(LatitudeDepuisIsometrique(LatitudeIsometrique(phi, 0), 0), phi, 1e-13);
  }
  // Infinite isometric latitudes are the poles.
  EXPECT_DOUBLE_EQ(LatitudeDepuisIsometrique(std::numeric_limits<double>::infinity(), kE), kPi / 2);
  EXPECT_DOUBLE_EQ(LatitudeDepuisIsometrique(-std::numeric_limits<double>::infinity(), kE), -kPi / 2);
}

TEST(Geodesie, EntreeNonFinieRendNaNEnTempsBorne) {
  const double debut = testsupport::TempsProcesseurFil();
  EXPECT_TRUE(std::isnan(LatitudeDepuisIsometrique(kNaN, kE)));
  double lambda, phi, h;
  CartesienVersGeographique(kNaN, 1, 1, kA, kE, lambda, phi, h);
  EXPECT_TRUE(std::isnan(phi));
  CartesienVersGeographique(std::numeric_limits<double>::infinity(), 1, 1, kA, kE, lambda, phi, h);
  EXPECT_TRUE(std::isnan(phi) || std::isfinite(phi));
  double x, y;
  MercatorTransverseInverse(kNaN, 0, kE, kA, 0, 0, 0, lambda, phi);
  EXPECT_TRUE(std::isnan(phi));
  LambertInverse(kNaN, kNaN, 0.7, 1e7, kE, 0, 0, 0, lambda, phi);
  EXPECT_TRUE(std::isnan(phi));
  LambertDirect(kNaN, kNaN, 0.7, 1e7, kE, 0, 0, 0, x, y);
  EXPECT_TRUE(std::isnan(x));
  EXPECT_LT(testsupport::TempsProcesseurFil() - debut, 1.0);
}

TEST(Geodesie, GeocentriqueAllerRetour) {
  struct Cas {
    double lat, lon, h;
  };
  const Cas cas[] = {{45, 6, 0}, {-33.5, -70.25, 1200}, {89.999, 170, 0}, {0, 0, -50}, {-89.5, -179.9, 10}};
  for (const auto& c : cas) {
    SCOPED_TRACE(c.lat);
    double x, y, z, lambda, phi, h;
    GeographiqueVersCartesien(c.lon * DegresVersRadians, c.lat * DegresVersRadians, c.h, kA, kE, x, y, z);
    CartesienVersGeographique(x, y, z, kA, kE, lambda, phi, h);
    EXPECT_NEAR(phi, c.lat * DegresVersRadians, 1e-11);
    EXPECT_NEAR(lambda, c.lon * DegresVersRadians, 1e-12);
    // The height formula loses digits near the poles; datums drop it.
    if (std::fabs(c.lat) < 89) {
      EXPECT_NEAR(h, c.h, 1e-4);
    }
  }
  // On the polar axis the point is a pole, with its height above it.
  double lambda, phi, h;
  CartesienVersGeographique(0, 0, kA * std::sqrt(1 - kE * kE) + 100, kA, kE, lambda, phi, h);
  EXPECT_DOUBLE_EQ(phi, kPi / 2);
  EXPECT_NEAR(h, 100, 1e-6);
  CartesienVersGeographique(0, 0, -kA, kA, kE, lambda, phi, h);
  EXPECT_DOUBLE_EQ(phi, -kPi / 2);
}

TEST(Geodesie, Similitudes) {
  const double sec = kPi / 180 / 3600;
  const double x = 4201575.0, y = 189856.0, z = 4779066.0;
  double u, v, w, x2, y2, z2;
  // Seven parameters: the exact inverse undoes the similarity.
  Similitude7Params(-472.29, -5.63, -304.12, 1.8984e-6, 0.4362 * sec, -0.8374 * sec, 0.2563 * sec, x, y, z, u, v, w);
  Similitude7ParamsInverse(-472.29, -5.63, -304.12, 1.8984e-6, 0.4362 * sec, -0.8374 * sec, 0.2563 * sec, u, v, w, x2,
                           y2, z2);
  EXPECT_NEAR(x2, x, 1e-8);
  EXPECT_NEAR(y2, y, 1e-8);
  EXPECT_NEAR(z2, z, 1e-8);
  // The first-order inverse only approximates it...
  Similitude7ParamsInverseApprochee(-472.29, -5.63, -304.12, 1.8984e-6, 0.4362 * sec, -0.8374 * sec, 0.2563 * sec, u,
                                    v, w, x2, y2, z2);
  EXPECT_NEAR(x2, x, 0.01);
  // ...and is exact for a translation.
  Similitude7Params(-168, -60, 320, 0, 0, 0, 0, x, y, z, u, v, w);
  EXPECT_DOUBLE_EQ(u, x - 168);
  Similitude7ParamsInverseApprochee(-168, -60, 320, 0, 0, 0, 0, u, v, w, x2, y2, z2);
  EXPECT_DOUBLE_EQ(x2, x);
  EXPECT_DOUBLE_EQ(y2, y);
  EXPECT_DOUBLE_EQ(z2, z);
}

TEST(Geodesie, ConstantesLambert) {
  double n, c, ys;
  ParametresLambertSecant(kA, kE, kPi / 2, 44 * DegresVersRadians, 49 * DegresVersRadians, 6600000, n, c, ys);
  EXPECT_EQ(ys, 6600000);
  // Lambert-93 published constants.
  ParametresLambertSecant(kA, kE, 46.5 * DegresVersRadians, 44 * DegresVersRadians, 49 * DegresVersRadians, 6600000,
                          n, c, ys);
  EXPECT_NEAR(n, 0.7256077650, 1e-10);
  EXPECT_NEAR(c, 11754255.426, 1e-3);
  EXPECT_NEAR(ys, 12655612.050, 1e-3);
  // The apex itself: latitude 90 degrees, longitude undefined.
  double lambda, phi;
  LambertInverse(700000, ys, n, c, kE, 3 * DegresVersRadians, 700000, ys, lambda, phi);
  EXPECT_DOUBLE_EQ(phi, kPi / 2);
  EXPECT_TRUE(std::isnan(lambda));
}

TEST(Geodesie, ArcMeridien) {
  // A quarter meridian of GRS 80 is 10001965.729 m.
  EXPECT_NEAR(ArcMeridien(kPi / 2, kE) * kA, 10001965.729, 1e-3);
  EXPECT_EQ(ArcMeridien(0, kE), 0);
}

TEST(Geodesie, MercatorTransverseAllerRetour) {
  for (double lat : {-60.0, -5.0, 0.0, 30.0, 45.0, 70.0}) {
    for (double dl : {-3.0, -0.5, 0.0, 2.0, 3.5}) {
      SCOPED_TRACE(std::to_string(lat) + " " + std::to_string(dl));
      double x, y, lambda, phi;
      MercatorTransverseDirect((9 + dl) * DegresVersRadians, lat * DegresVersRadians, kE, 0.9996 * kA,
                               9 * DegresVersRadians, 500000, 0, x, y);
      MercatorTransverseInverse(x, y, kE, 0.9996 * kA, 9 * DegresVersRadians, 500000, 0, lambda, phi);
      EXPECT_NEAR(phi, lat * DegresVersRadians, 1e-9);
      EXPECT_NEAR(lambda, (9 + dl) * DegresVersRadians, 1e-9);
    }
  }
}

TEST(Geodesie, SpheresIntermediaires) {
  const double phi0 = -21.0 * DegresVersRadians;
  double n1, c, n2, ys, x, y, lambda, phi;
  ParametresLabordeCourbure(6378388, 1, 0.08199189, phi0, 50000, n1, c, n2, ys);
  GaussLabordeDirect(55.6 * DegresVersRadians, -21.2 * DegresVersRadians, 0.08199189, 55.5 * DegresVersRadians, n1, n2,
                     c, 160000, ys, x, y);
  GaussLabordeInverse(x, y, 0.08199189, 55.5 * DegresVersRadians, n1, n2, c, 160000, ys, lambda, phi);
  EXPECT_NEAR(lambda, 55.6 * DegresVersRadians, 1e-11);
  EXPECT_NEAR(phi, -21.2 * DegresVersRadians, 1e-11);
  // The origin maps to (X0, Y0).
  GaussLabordeDirect(55.5 * DegresVersRadians, phi0, 0.08199189, 55.5 * DegresVersRadians, n1, n2, c, 160000, ys, x,
                     y);
  EXPECT_NEAR(x, 160000, 1e-6);
  EXPECT_NEAR(y, 50000, 1e-6);

  // Oblique stereographic: round trip, and the centre is the grid origin
  // whose inverse gives the central meridian.
  const double phiC0 = 46.95 * DegresVersRadians;
  ParametresSphereCourbure(kA, 1, kE, phiC0, n1, c, n2);
  const double chi0 = std::asin(std::sin(phiC0) / n1);
  StereographiqueDirect(7.5 * DegresVersRadians, 47.2 * DegresVersRadians, kE, 7.4 * DegresVersRadians, chi0, n1, n2,
                        c, 600000, 200000, x, y);
  StereographiqueInverse(x, y, kE, 7.4 * DegresVersRadians, chi0, n1, n2, c, 600000, 200000, lambda, phi);
  EXPECT_NEAR(lambda, 7.5 * DegresVersRadians, 1e-11);
  EXPECT_NEAR(phi, 47.2 * DegresVersRadians, 1e-11);
  StereographiqueInverse(600000, 200000, kE, 7.4 * DegresVersRadians, chi0, n1, n2, c, 600000, 200000, lambda, phi);
  EXPECT_DOUBLE_EQ(lambda, 7.4 * DegresVersRadians);
  EXPECT_NEAR(phi, phiC0, 1e-11);

  double n2e, chi0e;
  ParametresSphereEquatoriale(kA, 1, kE, 0, n2e, chi0e);
  EXPECT_NEAR(n2e, kA, 1e-6);
  EXPECT_NEAR(chi0e, 0, 1e-15);
  double n2b, cb;
  ParametresSphereBitangente(kA, 1, kE, 0, n2b, cb);
  EXPECT_NEAR(cb, 0, 1e-15);
  EXPECT_NEAR(n2b, kA, 1e-6);
}

TEST(Geodesie, Vecteurs) {
  double lambda, phi;
  VecteurVersAngles({0, 0, -1}, lambda, phi);
  EXPECT_EQ(lambda, 0);
  EXPECT_EQ(phi, -kPi / 2);
  VecteurVersAngles({0, 0, 0}, lambda, phi);
  EXPECT_EQ(phi, 0);
  VecteurVersAngles(VecteurUnitaire(-2.5, 0.3), lambda, phi);
  EXPECT_NEAR(lambda, -2.5, 1e-14);
  EXPECT_NEAR(phi, 0.3, 1e-14);
  const TVecteur r = RotationAutourY({1, 0, 0}, kPi / 2);
  EXPECT_NEAR(r.x, 0, 1e-15);
  EXPECT_NEAR(r.z, 1, 1e-15);
  TVecteur v{3, 0, 4};
  NormaliseVecteur(v);
  EXPECT_DOUBLE_EQ(v.x, 0.6);
}

TEST(Geodesie, Complexes) {
  const TCplx z{1.5, -2};
  EXPECT_EQ(CplxPowerInt(z, 0).Re, 1);
  EXPECT_EQ(CplxPowerInt(z, 0).Im, 0);
  const TCplx cube = CplxPowerInt(z, 3);
  const TCplx attendu = CplxMul(CplxMul(z, z), z);
  EXPECT_DOUBLE_EQ(cube.Re, attendu.Re);
  EXPECT_DOUBLE_EQ(cube.Im, attendu.Im);
  const TCplx q = CplxDiv(CplxMul(z, TCplx{0.5, 3}), TCplx{0.5, 3});
  EXPECT_NEAR(q.Re, 1.5, 1e-15);
  EXPECT_NEAR(q.Im, -2, 1e-15);
  const TCplx s = CplxSin(TCplx{0.3, 0.7});
  EXPECT_NEAR(s.Re, std::sin(0.3) * std::cosh(0.7), 1e-15);
  EXPECT_NEAR(s.Im, std::cos(0.3) * std::sinh(0.7), 1e-15);
  EXPECT_EQ(CplxAdd(CplxZero(), CplxMulReel(z, 2)).Im, -4);
  try {
    CplxPowerInt(z, -1);
    FAIL();
  } catch (const std::logic_error& e) {
    EXPECT_STREQ(e.what(), "La puissance doit être positive ou nulle dans CplxPowerInt");
  }
}

TEST(Geodesie, SuisseEtRelevement) {
  EXPECT_NEAR(LatIsoSphere(0.5), LatitudeIsometrique(0.5, 0), 1e-15);
  EXPECT_NEAR(TermeExcentricite(0.5, 1, kE) - LatIsoSphere(0.5), -LatitudeIsometrique(0.5, kE), 1e-15);
  EXPECT_NEAR(RayonSphereGauss(0, kE, kA), kA * std::sqrt(1 - kE * kE), 1e-6);
  EXPECT_NEAR(CoefficientAlpha(kPi / 2, kE), 1, 1e-15);

  // Due north and due east, and a bearing on a meridian from the equator.
  EXPECT_NEAR(Relevement(0.7, 0.1, 0.7001, 0.1, kE), 0, 1e-9);
  EXPECT_NEAR(Relevement(0, 0.1, 0, 0.1001, kE), kPi / 2, 1e-9);
  EXPECT_NEAR(Relevement(0.7, 0.1, 0.6999, 0.1, kE), kPi, 1e-9);
  EXPECT_NEAR(DistanceAngulaire(0, 0, 0, kPi / 2, 1000), 1000 * kPi / 2, 1e-9);

  double phiMin, phiMax, lambdaMin, lambdaMax;
  EmpriseAutourDuCentre(80 * DegresVersRadians, 0.3, 15 * DegresVersRadians, 1, phiMin, phiMax, lambdaMin, lambdaMax);
  EXPECT_EQ(lambdaMin, -kPi);
  EXPECT_EQ(lambdaMax, kPi);
  EXPECT_EQ(phiMax, kPi / 2);
  EXPECT_NEAR(phiMin, 65 * DegresVersRadians, 1e-15);
  EmpriseAutourDuCentre(0, 0.3, 0.1, 1, phiMin, phiMax, lambdaMin, lambdaMax);
  EXPECT_NEAR(lambdaMax - 0.3, 0.1, 1e-15);
  EXPECT_NEAR(0.3 - lambdaMin, 0.1, 1e-15);
}
