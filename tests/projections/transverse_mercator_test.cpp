#include "projections/transverse_mercator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "oracle_proj.h"
#include "projections/angles.h"
#include "projections/donnees.h"
#include "projections/erreur_projection.h"
#include "tests/support/temps_processeur.h"

using namespace projections;

namespace {

constexpr double kD = DegresVersRadians;
const char* const kUTM =
    "Multiple \"Transverse Mercator Multiple\"=\"UTM\" \"Universal Transverse Mercator\" \"WGS84\" 0.9996 500000 0 "
    "10000000 -177° 6°";
const char* const kMTM =
    "Multiple \"Transverse Mercator Multiple\"=\"MTM\" \"MTM\" \"WGS84\" 0.9999 304800 0 0 -52.5° -3°";

struct Catalogue {
  TDonnees cat;
  Catalogue() {
    cat.AjoutLigne(kUTM);
    cat.AjoutLigne(kMTM);
    cat.AjoutLigne("Projection \"UTM Fuseau\"=\"U31\" \"\" \"WGS84\" 31 0");
    cat.AjoutLigne("Projection \"UTM Fuseau\"=\"U31S\" \"\" \"WGS84\" 31 1");
    cat.AjoutLigne("Projection \"MTM Fuseau\"=\"M3\" \"\" \"WGS84\" 3 0");
    cat.AjoutLigne("Projection \"Transverse Mercator\"=\"TM0\" \"\" \"WGS84\" 0.9996 500000 0 9° 0");
    cat.AjoutLigne("Projection \"Transverse Mercator\"=\"TM\" \"\" \"WGS84\" 0.9999 600000 200000 12°30' 41°");
  }
  TAncetre& Systeme(const char* nom) {
    TAncetre* s = cat.UneProjection(nom);
    if (!s) throw std::logic_error(std::string("absent du catalogue : ") + nom);
    return *s;
  }
  TProjection& P(const char* nom) { return dynamic_cast<TProjection&>(Systeme(nom)); }
  TMultipleMercator& M(const char* nom) { return dynamic_cast<TMultipleMercator&>(Systeme(nom)); }
};

}  // namespace

TEST(TransverseMercator, ZonesSimples) {
  Catalogue c;
  // The origins of U31, U31S and TM are cases of cas_projections.tsv.
  double x, y, lat, lon;
  // MTM zone 3 is centred on 58.5° W.
  c.P("M3").VersGrille(47 * kD, -58.5 * kD, x, y);
  EXPECT_NEAR(x, 304800, 1e-6);
  // The user kind: Phi0 = 0 keeps Y0; otherwise (Phi0, Landa0) maps to (X0, Y0).
  EXPECT_EQ(c.P("TM0").GetParamReal(2), 0);
  c.P("TM0").VersGrille(0, 9 * kD, x, y);
  EXPECT_NEAR(y, 0, 1e-6);
  c.P("TM").VersLatLong(650000, 300000, lat, lon);
  c.P("TM").VersGrille(lat, lon, x, y);
  EXPECT_NEAR(x, 650000, 1e-4);
  EXPECT_NEAR(y, 300000, 1e-4);
  // A zone line writes back as it was read.
  EXPECT_EQ(c.P("U31S").Ligne(), "Projection \"UTM Fuseau\"=\"U31S\" \"\" \"WGS84\" 31 1");
  EXPECT_EQ(c.P("TM").Ligne(),
            "Projection \"Transverse Mercator\"=\"TM\" \"\" \"WGS84\" 0.9999 600000 200000 12°30' 41°");
  // Changing the zone of a valid object moves its central meridian at once.
  c.P("U31").SetParamInteger(0, 32);
  c.P("U31").VersGrille(0, 9 * kD, x, y);
  EXPECT_NEAR(x, 500000, 1e-6);
}

TEST(TransverseMercator, ChoixDesZones) {
  Catalogue c;
  struct Cas {
    const char* systeme;
    double lat, lon;
    int32_t zone;
  };
  const Cas cas[] = {
      {"UTM", 45, 6, 32},      {"UTM", 45, 3, 31},        {"UTM", 0, 3, 31},       {"UTM", -10, 3, -31},
      {"UTM", 45, 180, 1},     {"UTM", 45, -180, 1},      {"UTM", 45, 179.9, 60},  {"UTM", 45, -177, 1},
      {"UTM", 45, 540, 1},     {"UTM", -21, 55.5, -40},   {"MTM", 47, -55.5, 2},   {"MTM", 47, -58.5, 3},
      {"MTM", 47, -53.9, 1},   {"UTM", 45, 1e300, 1},
  };
  for (const auto& k : cas) {
    SCOPED_TRACE(std::string(k.systeme) + " " + std::to_string(k.lat) + " " + std::to_string(k.lon));
    int32_t zone = -100000;
    double x, y;
    c.M(k.systeme).VersGrille(k.lat * kD, k.lon * kD, x, y, zone);
    if (std::fabs(k.lon) < 1e10) {
      EXPECT_EQ(zone, k.zone);
    }
  }
  // A southern point: zone -31 with the southern false northing, and back.
  int32_t zone = -100000;
  double x, y, lat, lon;
  c.M("UTM").VersGrille(-10 * kD, 3 * kD, x, y, zone);
  EXPECT_EQ(zone, -31);
  // Southern zones get their central meridian as a grades text with eight
  // decimals: 3.33333333g is within a millimetre of 3°.
  EXPECT_NEAR(x, 500000, 1e-3);
  EXPECT_GT(y, 8000000);
  c.M("UTM").VersLatLong(x, y, -31, lat, lon);
  EXPECT_NEAR(lat, -10 * kD, 1e-11);
  EXPECT_NEAR(lon, 3 * kD, 1e-11);
  // A forced zone is used as given.
  zone = 30;
  c.M("UTM").VersGrille(45 * kD, 3 * kD, x, y, zone);
  EXPECT_EQ(zone, 30);
  EXPECT_GT(x, 900000);
  // A zone out of any range allocates nothing huge and still converts.
  zone = std::numeric_limits<int32_t>::max();
  c.M("UTM").VersGrille(45 * kD, 3 * kD, x, y, zone);
  zone = std::numeric_limits<int32_t>::min();
  c.M("UTM").VersGrille(45 * kD, 3 * kD, x, y, zone);
  // A non-finite point returns at once.
  const double debut = testsupport::TempsProcesseurFil();
  zone = -100000;
  c.M("UTM").VersGrille(std::nan(""), std::nan(""), x, y, zone);
  EXPECT_TRUE(std::isnan(x));
  c.M("UTM").VersLatLong(std::nan(""), 0, 31, lat, lon);
  EXPECT_TRUE(std::isnan(lat));
  EXPECT_LT(testsupport::TempsProcesseurFil() - debut, 1.0);
}

TEST(TransverseMercator, ZonesSuiventLeSysteme) {
  Catalogue c;
  TMultipleMercator& utm = c.M("UTM");
  EXPECT_EQ(utm.ZoneMercator(31).GetParamAngle(0), "3°");
  EXPECT_EQ(utm.ZoneMercator(-40).GetParamAngle(0), "63.33333333g");
  EXPECT_EQ(utm.ZoneMercator(-40).GetParamReal(2), 10000000);
  // A parameter written after a zone was made reaches it.
  int32_t zone = 31;
  double x1, y1, x2, y2;
  utm.VersGrille(45 * kD, 3 * kD, x1, y1, zone);
  utm.SetParamReal(1, 400000);
  utm.VersGrille(45 * kD, 3 * kD, x2, y2, zone);
  EXPECT_NEAR(x2, 400000, 1e-6);
  EXPECT_EQ(y2, y1);
}

// UTM against cs2cs and the known point 45° N 6° E in zone 32 are cases of
// cas_projections.tsv.
