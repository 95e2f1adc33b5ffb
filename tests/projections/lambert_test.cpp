#include "projections/lambert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "catalogue_france.h"
#include "essai_projections.h"
#include "oracle_proj.h"
#include "projections/angles.h"
#include "projections/donnees.h"
#include "projections/erreur_projection.h"
#include "projections/fabrique.h"

using namespace projections;

namespace {

TDonnees& France() {
  static TDonnees cat;
  static bool rempli = false;
  return essai::Remplit(cat, rempli, essai::LignesFrance());
}

TProjection& Projection(const char* nom) {
  auto* p = dynamic_cast<TProjection*>(France().UneProjection(nom));
  EXPECT_NE(p, nullptr) << nom;
  return *p;
}

}  // namespace

TEST(Lambert, OriginesEtAllersRetours) {
  // The known points, the origins of the French zones and the round trips
  // are cases of cas_projections.tsv.
  double x, y, lat, lon;
  // Secant kind with Phi0 at the pole: the apex is the origin.
  TDonnees cat;
  cat.AjoutLigne("Projection \"Lambert Conique Sécant\"=\"Pole\" \"\" \"WGS84\" 100 200 10° 90° 60° 70°");
  auto& pole = dynamic_cast<TProjection&>(*cat.UneProjection("Pole"));
  pole.VersGrille(89.9999999 * DegresVersRadians, 10 * DegresVersRadians, x, y);
  EXPECT_NEAR(x, 100, 0.1);
  EXPECT_NEAR(y, 200, 0.1);
  pole.VersLatLong(100, 200, lat, lon);
  EXPECT_DOUBLE_EQ(lat, std::numbers::pi / 2);

  // The raw cone reproduces the derived one.
  cat.AjoutLigne(
      "Projection \"Lambert Conique\"=\"Brut\" \"\" \"WGS84\" 0.725607765 11754255.426 700000 12655612.05 3°");
  Projection("LT 93").VersGrille(0.8, 0.1, x, y);
  double xb, yb;
  dynamic_cast<TProjection&>(*cat.UneProjection("Brut")).VersGrille(0.8, 0.1, xb, yb);
  EXPECT_NEAR(xb, x, 2e-3);
  EXPECT_NEAR(yb, y, 2e-3);
}

TEST(Lambert, ParametresEtValidite) {
  TDonnees cat;
  cat.AjoutLigne("Projection \"Lambert Conique Sécant\"=\"S\" \"\" \"WGS84\" 700000 6600000 3° 46°30' 44° 49°");
  auto& s = dynamic_cast<TLambert_sec&>(*cat.UneProjection("S"));
  double x1, y1, x2, y2;
  s.VersGrille(0.8, 0.1, x1, y1);
  // A valid secant object follows a new standard parallel at once.
  s.SetParamAngle(2, "44.5°");
  s.VersGrille(0.8, 0.1, x2, y2);
  EXPECT_GT(std::fabs(y2 - y1) + std::fabs(x2 - x1), 0.05);
  // While invalid, nothing changes until the object is valid again.
  s.SetValid(false);
  s.SetParamAngle(2, "44°");
  double x3, y3;
  s.VersGrille(0.8, 0.1, x3, y3);
  EXPECT_EQ(y3, y2);
  s.SetValid(true);
  s.VersGrille(0.8, 0.1, x3, y3);
  EXPECT_DOUBLE_EQ(y3, y1);
  EXPECT_EQ(s.GetParamAngle(2), "44°");
  EXPECT_EQ(s.GetParamReal(0), 700000);

  TLambert brut;
  EXPECT_THROW(brut.GetParamReal(4), EHorsLimites);
  brut.SetValid(true);
  EXPECT_THROW(brut.SetParamReal(4, 1), EHorsLimites);
  EXPECT_FALSE(brut.Valid());
  // Without a datum a conversion is refused rather than crashing.
  double x, y;
  EXPECT_THROW(brut.VersGrille(0.8, 0.1, x, y), EHorsLimites);
}

TEST(Lambert, Oblique) {
  TDonnees cat;
  cat.AjoutLigne("Ellipsoide=\"Sphere\" \"sphère\" 6378137 0");
  cat.AjoutLigne("Datum=\"S\" \"sphère\" \"Sphere\" 0 0 0");
  cat.AjoutLigne(
      "Projection \"Lambert Conique Oblique\"=\"Ob\" \"\" \"WGS84\" 0.9999 500000 300000 10° 45° 50° 12°");
  cat.AjoutLigne("Projection \"Lambert Conique Oblique\"=\"Droit\" \"\" \"S\" 0.9999 500000 300000 10° 47° 47° 0");
  cat.AjoutLigne("Projection \"Lambert Conique Tangent\"=\"Tangent\" \"\" \"S\" 0.9999 500000 300000 10° 47°");
  auto& ob = dynamic_cast<TProjection&>(*cat.UneProjection("Ob"));
  double x, y, lat, lon;
  // The centre maps to (X0, Y0).
  ob.VersGrille(45 * DegresVersRadians, 10 * DegresVersRadians, x, y);
  EXPECT_NEAR(x, 500000, 1e-6);
  EXPECT_NEAR(y, 300000, 1e-6);
  for (const double latitude : {38.0, 45.0, 52.0}) {
    for (const double longitude : {2.0, 10.0, 18.0}) {
      SCOPED_TRACE(std::to_string(latitude) + " " + std::to_string(longitude));
      ob.VersGrille(latitude * DegresVersRadians, longitude * DegresVersRadians, x, y);
      ob.VersLatLong(x, y, lat, lon);
      EXPECT_NEAR(lat, latitude * DegresVersRadians, 1e-11);
      EXPECT_NEAR(lon, longitude * DegresVersRadians, 1e-11);
    }
  }
  // Conformal: equal scale north and east at a point away from the centre.
  const double p = 49 * DegresVersRadians, l = 15 * DegresVersRadians, h = 1e-7;
  double xn, yn, xe, ye;
  ob.VersGrille(p, l, x, y);
  ob.VersGrille(p + h, l, xn, yn);
  ob.VersGrille(p, l + h, xe, ye);
  const double nord = std::hypot(xn - x, yn - y), est = std::hypot(xe - x, ye - y);
  const double a = AWGS84, e2 = EWGS84 * EWGS84, s = std::sin(p);
  const double m = a * (1 - e2) / std::pow(1 - e2 * s * s, 1.5), n = a / std::sqrt(1 - e2 * s * s) * std::cos(p);
  EXPECT_NEAR((nord / m) / (est / n), 1, 1e-6);
  EXPECT_NEAR(((xn - x) * (xe - x) + (yn - y) * (ye - y)) / (nord * est), 0, 1e-6);
  // With no tilt, on a sphere, it is the tangent cone.
  double xt, yt;
  auto& droit = dynamic_cast<TProjection&>(*cat.UneProjection("Droit"));
  auto& tangent = dynamic_cast<TProjection&>(*cat.UneProjection("Tangent"));
  droit.VersGrille(0.9, 0.3, x, y);
  tangent.VersGrille(0.9, 0.3, xt, yt);
  EXPECT_NEAR(x, xt, 1e-6);
  EXPECT_NEAR(y, yt, 1e-6);
}
