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

const std::string kGRS80 = oracle::Figure(AWGS84, EWGS84) + " +towgs84=0,0,0";
const std::string kClarke = oracle::Figure(6378249.2, 0.0824832568) + " +pm=paris +towgs84=-168,-60,320";
const std::string kLambert93 = "+proj=lcc +lat_0=46.5 +lon_0=3 +lat_1=44 +lat_2=49 +x_0=700000 +y_0=6600000 " + kGRS80;

std::string LambertNTF(const char* lat0, const char* k0, const char* x0, const char* y0) {
  return std::string("+proj=lcc +lat_1=") + lat0 + " +lat_0=" + lat0 + " +lon_0=0 +k_0=" + k0 + " +x_0=" + x0 +
         " +y_0=" + y0 + " " + kClarke;
}

std::string ConiqueConforme(int zone) {
  const std::string z = std::to_string(zone);
  const std::string l1 = std::to_string(zone - 1) + ".25", l2 = std::to_string(zone) + ".75";
  return "+proj=lcc +lat_0=" + z + " +lon_0=3 +lat_1=" + l1 + " +lat_2=" + l2 + " +x_0=1700000 +y_0=" +
         std::to_string((zone - 41) * 1000000 + 200000) + " " + kGRS80;
}

// Converts WGS84 points to a system with the catalogue and with cs2cs; then
// converts the grid points back.
void CompareAProj(const char* nom, const std::string& definition, const std::vector<std::array<double, 2>>& lonLat) {
  SCOPED_TRACE(nom);
  const std::string wgs84 = "+proj=longlat " + kGRS80;
  const auto grille = oracle::Cs2cs(wgs84, definition, lonLat);
  ASSERT_TRUE(grille.has_value());
  const TSysteme cible = France().Systeme(nom);
  const TSysteme source = France().Systeme("WGS84");
  ASSERT_TRUE(cible.Trouve());
  std::vector<std::array<double, 2>> points;
  for (size_t k = 0; k < lonLat.size(); ++k) {
    SCOPED_TRACE(std::to_string(lonLat[k][0]) + " " + std::to_string(lonLat[k][1]));
    double X, Y, Z, x, y;
    int32_t zone = 0;
    source.VersGeocentrique(lonLat[k][1] * DegresVersRadians, lonLat[k][0] * DegresVersRadians, 0, X, Y, Z);
    cible.DepuisGeocentrique(X, Y, Z, zone, x, y);
    EXPECT_NEAR(x, (*grille)[k][0], 1e-3);
    EXPECT_NEAR(y, (*grille)[k][1], 1e-3);
    points.push_back({(*grille)[k][0], (*grille)[k][1]});
  }
  const auto retour = oracle::Cs2cs(definition, wgs84, points);
  ASSERT_TRUE(retour.has_value());
  for (size_t k = 0; k < points.size(); ++k) {
    double X, Y, Z, lat, lon;
    int32_t aucune = 0;
    cible.VersGeocentrique(points[k][0], points[k][1], 0, X, Y, Z);
    source.DepuisGeocentrique(X, Y, Z, aucune, lat, lon);
    EXPECT_NEAR(lon, (*retour)[k][0] * DegresVersRadians, 1e-9);
    EXPECT_NEAR(lat, (*retour)[k][1] * DegresVersRadians, 1e-9);
  }
}

}  // namespace

TEST(Lambert, Lambert93Connu) {
  double x, y;
  Projection("LT 93").VersGrille(46.5 * DegresVersRadians, 3 * DegresVersRadians, x, y);
  EXPECT_NEAR(x, 700000, 1e-3);
  EXPECT_NEAR(y, 6600000, 1e-3);
  Projection("LT 93").VersGrille(45 * DegresVersRadians, 6 * DegresVersRadians, x, y);
  EXPECT_NEAR(x, 936341.257, 1e-3);
  EXPECT_NEAR(y, 6437909.151, 1e-3);
}

TEST(Lambert, SelonProj) {
  if (!oracle::Cs2csDisponible()) GTEST_SKIP() << "cs2cs absent: no oracle";
  oracle::AnnonceOracle("cs2cs, Lambert conformal conic");
  const std::vector<std::array<double, 2>> france = {{6, 45}, {3, 46.5}, {-4.5, 48.4}, {7.7, 48.6}, {2.35, 48.85},
                                                      {-1.5, 43.4}, {9.3, 42.6}};
  CompareAProj("LT 93", kLambert93, france);
  CompareAProj("LT 1", LambertNTF("49.5", "0.99987734", "600000", "1200000"), {{2, 50.5}, {4.5, 49}, {-1.5, 48.8}});
  CompareAProj("LT 2", LambertNTF("46.8", "0.99987742", "600000", "200000"), {{2, 47}, {5.5, 46}, {-1.5, 45.8}});
  CompareAProj("LT 3", LambertNTF("44.1", "0.9998775", "600000", "3200000"), {{2, 44}, {6.5, 43.5}, {-1, 43.4}});
  CompareAProj("LT 2+", LambertNTF("46.8", "0.99987742", "600000", "2200000"), france);
  CompareAProj("LT 4", LambertNTF("42.165", "0.99994471", "234.358", "185861.369"), {{9, 42.2}, {9.4, 41.5}});
  for (int zone = 42; zone <= 50; ++zone) {
    const std::string nom = "CC" + std::to_string(zone);
    CompareAProj(nom.c_str(), ConiqueConforme(zone), {{3, zone + 0.1}, {-1.2, zone - 0.6}, {7.4, zone + 0.7}});
  }
}

TEST(Lambert, OriginesEtAllersRetours) {
  // Tangent kind: the origin maps to (X0, Y0).
  double x, y, lat, lon;
  Projection("LT 1").VersGrille(55 * GradesVersRadians, MeridienParis(), x, y);
  EXPECT_NEAR(x, 600000, 1e-6);
  EXPECT_NEAR(y, 1200000, 1e-6);
  // Secant kind with Phi0 at the pole: the apex is the origin.
  TDonnees cat;
  cat.AjoutLigne("Projection \"Lambert Conique Sécant\"=\"Pole\" \"\" \"WGS84\" 100 200 10° 90° 60° 70°");
  auto& pole = dynamic_cast<TProjection&>(*cat.UneProjection("Pole"));
  pole.VersGrille(89.9999999 * DegresVersRadians, 10 * DegresVersRadians, x, y);
  EXPECT_NEAR(x, 100, 0.1);
  EXPECT_NEAR(y, 200, 0.1);
  pole.VersLatLong(100, 200, lat, lon);
  EXPECT_DOUBLE_EQ(lat, std::numbers::pi / 2);

  for (const char* nom : {"LT 93", "LT 2+", "LT GC", "CC47"}) {
    SCOPED_TRACE(nom);
    for (const double latitude : {42.0, 46.3, 51.0}) {
      for (const double longitude : {-5.0, 2.0, 9.5}) {
        Projection(nom).VersGrille(latitude * DegresVersRadians, longitude * DegresVersRadians, x, y);
        Projection(nom).VersLatLong(x, y, lat, lon);
        EXPECT_NEAR(lat, latitude * DegresVersRadians, 1e-11);
        EXPECT_NEAR(lon, longitude * DegresVersRadians, 1e-11);
      }
    }
  }
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
