// The New Zealand grid, Bonne, Mercator on the sphere and the
// latitude/longitude pseudo-projection, with PROJ's cs2cs as the oracle.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "essai_projections.h"
#include "foundation/chaines.h"
#include "oracle_proj.h"
#include "projections/angles.h"
#include "projections/bonne.h"
#include "projections/donnees.h"
#include "projections/erreur_projection.h"
#include "projections/fabrique.h"
#include "projections/mercator_sphere.h"
#include "projections/new_zealand.h"
#include "projections/proj_latlonj.h"

using namespace projections;
using essai::Maillage;
using essai::Nombre;
using essai::TPointGeo;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kAPlessis = 6376523;

// A catalogue with the systems of these families, on the ellipsoids the
// built-in lists give them.
TDonnees& Catalogue() {
  static TDonnees cat;
  static bool rempli = false;
  static const char* const lignes[] = {
      "Ellipsoide=\"Plessis\" \"Plessis 1840\" 6376523 0.0804334508",
      "Ellipsoide=\"Hayford 24\" \"Hayford 1924\" 6378388 0.08199189",
      "Datum=\"ATG\" \"Ancienne triangulation française\" \"Plessis\" 1118 23 66",
      "Datum=\"NZGD 49\" \"New Zealand Geodetic Datum 1949\" \"Hayford 24\" 84 -22 209",
      "Projection \"Bonne\"=\"Michelin\" \"Bonne Michelin\" \"ATG\" 0.0000000000 5570439.7110000001 "
      "2°20'14.025'' 48°51'36''",
      "Projection \"Bonne\"=\"Bonne sud\" \"Bonne australe\" \"WGS84\" 100000 -200000 20° -35°",
      "Projection \"Mercator sur sphère\"=\"Mercator\" \"Mercator\" \"WGS84\" 0 0 0",
      "Projection \"Mercator sur sphère\"=\"Mercator 10\" \"Mercator décalé\" \"WGS84\" 1000 2000 10°",
      "Projection \"New Zealand Map Grid\"=\"NZMG 49\" \"New Zealand Map Grid\" \"NZGD 49\" 2510000 6023150 "
      "173° -41°",
      "Projection \"Projection Latitude/Longitude\"=\"LatLong\" \"Latitude et longitude\" \"WGS84\"",
  };
  return essai::Remplit(cat, rempli, lignes);
}

TProjection& Proj(const char* nom) { return essai::ProjectionDe(Catalogue(), nom); }

// Compares the system with cs2cs (grid within 1 mm, geographic within 1e-9
// radian), both ways unless told not to.
void CompareAvecCs2cs(const char* systeme, const std::string& geographique, const std::string& grille,
                      const std::vector<TPointGeo>& points, bool inverse = true) {
  essai::CompareAvecCs2cs(Proj(systeme), geographique, grille, points, 1e-3, inverse);
}

}  // namespace

TEST(ProjectionsSimples, ParametresEtLignes) {
  struct Cas {
    const char* nature;
    std::vector<std::string> reels, angles;
  };
  const Cas cas[] = {
      {"New Zealand Map Grid", {"X0", "Y0"}, {"Landa0", "Phi0"}},
      {"Bonne", {"X0", "Y0"}, {"Landa0", "Phi0"}},
      {"Mercator sur sphère", {"X0", "Y0"}, {"Landa0"}},
      {"Projection Latitude/Longitude", {}, {}},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nature);
    auto p = CreeProjection(c.nature);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Nature(), c.nature);
    ASSERT_EQ(p->Nb_ParamReal(), static_cast<int>(c.reels.size()));
    ASSERT_EQ(p->Nb_ParamAngle(), static_cast<int>(c.angles.size()));
    EXPECT_EQ(p->Nb_ParamInteger(), 0);
    EXPECT_EQ(p->Nb_ParamBoolean(), 0);
    for (size_t i = 0; i < c.reels.size(); ++i) EXPECT_EQ(p->GetNom_ParamReal(static_cast<int>(i)), c.reels[i]);
    for (size_t i = 0; i < c.angles.size(); ++i) EXPECT_EQ(p->GetNom_ParamAngle(static_cast<int>(i)), c.angles[i]);
    EXPECT_THROW(p->GetParamReal(static_cast<int>(c.reels.size())), EHorsLimites);
    EXPECT_THROW(p->GetParamInteger(0), EHorsLimites);
    EXPECT_THROW(p->GetNom_ParamBoolean(0), EHorsLimites);
    p->SetValid(true);
    EXPECT_THROW(p->SetParamAngle(static_cast<int>(c.angles.size()), "1°"), EHorsLimites);
    EXPECT_FALSE(p->Valid());
  }
  // An angle without unit is refused and leaves the object invalid.
  TBonne b;
  b.SetValid(true);
  EXPECT_THROW(b.SetParamAngle(1, "46.85"), EConversion);
  EXPECT_FALSE(b.Valid());
  EXPECT_EQ(b.GetParamAngle(1), "46.85");

  // Each line written reads back into the same line, angle texts verbatim.
  for (const char* nom : {"Michelin", "Mercator 10", "NZMG 49", "LatLong"}) {
    SCOPED_TRACE(nom);
    const std::string ligne = Proj(nom).Ligne();
    TDonnees copie;
    copie.AjoutLigne("Ellipsoide=\"Plessis\" \"Plessis 1840\" 6376523 0.0804334508");
    copie.AjoutLigne("Ellipsoide=\"Hayford 24\" \"Hayford 1924\" 6378388 0.08199189");
    copie.AjoutLigne("Datum=\"ATG\" \"x\" \"Plessis\" 1118 23 66");
    copie.AjoutLigne("Datum=\"NZGD 49\" \"x\" \"Hayford 24\" 84 -22 209");
    copie.AjoutLigne(ligne);
    ASSERT_TRUE(copie.Systeme(nom).Projection);
    EXPECT_EQ(copie.Systeme(nom).Projection->Ligne(), ligne);
  }
  EXPECT_EQ(Proj("Michelin").Ligne(),
            "Projection \"Bonne\"=\"Michelin\" \"Bonne Michelin\" \"ATG\" 0 5570439.711 2°20'14.025'' 48°51'36''");
  EXPECT_EQ(Proj("LatLong").Ligne(),
            "Projection \"Projection Latitude/Longitude\"=\"LatLong\" \"Latitude et longitude\" \"WGS84\"");
  // The pseudo-projection takes exactly the three texts.
  TDonnees c;
  c.AjoutLigne("Projection \"Projection Latitude/Longitude\"=\"L\" \"x\" \"WGS84\" 0");
  EXPECT_FALSE(c.Systeme("L").Trouve());
}

TEST(ProjectionsSimples, Bonne) {
  TProjection& m = Proj("Michelin");
  // The Michelin origin maps to X = 0 and Y within a millimetre of 0.
  const double phi0 = TexteVersAngle("48°51'36''"), lambda0 = MeridienParis();
  double x, y;
  m.VersGrille(phi0, lambda0, x, y);
  EXPECT_NEAR(x, 0, 1e-9);
  EXPECT_NEAR(y, 0, 1e-3);
  // Every parallel is a circle of radius a rho around the apex (0, Y0).
  for (double lat : {42.0, 46.5, 51.0}) {
    const double rho = 1 / std::tan(phi0) + phi0 - lat * DegresVersRadians;
    for (double lon : {-5.0, 2.0, 9.5}) {
      m.VersGrille(lat * DegresVersRadians, lon * DegresVersRadians, x, y);
      EXPECT_NEAR(std::hypot(x, y - 5570439.711), kAPlessis * rho, 1e-6);
    }
  }
  // On the central meridian north of the origin the inverse gives E = 0.
  double lat, lon;
  m.VersLatLong(0, 300000, lat, lon);
  EXPECT_EQ(lon, lambda0);
  // A southern standard parallel converts both ways.
  TProjection& s = Proj("Bonne sud");
  for (const auto& pt : Maillage(-50, -20, 0, 40, 10)) {
    SCOPED_TRACE(Nombre(pt.lat) + " " + Nombre(pt.lon));
    s.VersGrille(pt.lat * DegresVersRadians, pt.lon * DegresVersRadians, x, y);
    s.VersLatLong(x, y, lat, lon);
    EXPECT_NEAR(lat, pt.lat * DegresVersRadians, 1e-12);
    EXPECT_NEAR(lon, pt.lon * DegresVersRadians, 1e-12);
  }

  if (!oracle::Cs2csDisponible()) GTEST_SKIP() << "cs2cs absent: Bonne not compared with PROJ";
  oracle::AnnonceOracle("cs2cs, Bonne");
  const std::string r = " +R=" + Nombre(kAPlessis);
  const double yApex = 5570439.711 - kAPlessis / std::tan(phi0);
  CompareAvecCs2cs("Michelin", "+proj=longlat" + r,
                   "+proj=bonne +lat_1=48.86 +lon_0=" + Nombre(lambda0 * RadiansVersDegres) + " +x_0=0 +y_0=" +
                       Nombre(yApex) + r,
                   Maillage(41, 52, -6, 10, 1));
  const double phiSud = -35 * DegresVersRadians;
  const double aWgs = 6378137;
  CompareAvecCs2cs("Bonne sud", "+proj=longlat +R=6378137",
                   "+proj=bonne +lat_1=-35 +lon_0=20 +x_0=100000 +y_0=" + Nombre(-200000 - aWgs / std::tan(phiSud)) +
                       " +R=6378137",
                   Maillage(-40, -30, 15, 25, 5), false);  // PROJ's spherical inverse refuses it
}

TEST(ProjectionsSimples, MercatorSphere) {
  struct CasAngle {
    double entree, attendu;  // multiples of pi
  };
  const CasAngle angles[] = {{1.5, -0.5}, {2.5, 0.5}, {-1.5, 0.5}, {1, -1}, {-1, 1},
                             {0.999, 0.999}, {-0.25, -0.25}, {3.5, -0.5}, {-3.5, 0.5}, {0, 0}};
  for (const auto& c : angles) {
    SCOPED_TRACE(c.entree);
    double x = c.entree * kPi;
    RameneAngle(x);
    EXPECT_NEAR(x, c.attendu * kPi, 1e-12);
  }
  TProjection& m = Proj("Mercator 10");
  const double a = 6378137;
  double x, y;
  // 190° east of Landa0 lands 170° west of it.
  m.VersGrille(0, 200 * DegresVersRadians, x, y);
  EXPECT_NEAR(x, 1000 - a * 170 * DegresVersRadians, 1e-6);
  EXPECT_NEAR(y, 2000, 1e-9);
  m.VersGrille(45 * DegresVersRadians, 10 * DegresVersRadians, x, y);
  EXPECT_DOUBLE_EQ(x, 1000);
  EXPECT_NEAR(y, 2000 + a * std::log(std::tan(67.5 * DegresVersRadians)), 1e-6);
  // The inverse brings the longitude back within half a turn.
  double lat, lon;
  m.VersLatLong(1000 + a * 175 * DegresVersRadians, 2000, lat, lon);
  EXPECT_NEAR(lon, -175 * DegresVersRadians, 1e-12);
  EXPECT_EQ(lat, 0);
  // The south pole gives a non-finite northing, not an error.
  m.VersGrille(-kPi / 2, 0, x, y);
  EXPECT_FALSE(std::isfinite(y));
  // The comparisons with cs2cs are cases of cas_projections.tsv.
}

TEST(ProjectionsSimples, NouvelleZelande) {
  TProjection& nz = Proj("NZMG 49");
  // The origin maps exactly to (X0, Y0) and back.
  double x, y, lat, lon;
  nz.VersGrille(-41 * DegresVersRadians, 173 * DegresVersRadians, x, y);
  EXPECT_EQ(x, 2510000);
  EXPECT_EQ(y, 6023150);
  nz.VersLatLong(2510000, 6023150, lat, lon);
  EXPECT_EQ(lat, -41 * DegresVersRadians);
  EXPECT_EQ(lon, 173 * DegresVersRadians);
  EXPECT_EQ(CoefficientsNZMG[0], 0.6399175073);
  EXPECT_EQ(CoefficientsNZMG[10], 0.7557853228);
  EXPECT_EQ(CoefficientsNZMG[20], -0.6870983);
  EXPECT_EQ(CoefficientsNZMG[21], -1.1651967);
  EXPECT_EQ(CoefficientsNZMG[22], 1.5627014243);
  EXPECT_EQ(CoefficientsNZMG[30], -0.0013);

  // Grid to geographic and back: the Newton iteration is carried to
  // convergence, so the round trip stays within a millimetre (what is left is
  // the truncation of the published series) also where two fixed steps would
  // leave centimetres to metres (the far south and the far east and west).
  struct Cas {
    double lat, lon;
  };
  const Cas cas[] = {{-36, 171}, {-43, 175}, {-41, 166}, {-41, 178}, {-47, 173}, {-47, 166}, {-34.5, 172.5}};
  for (const auto& c : cas) {
    SCOPED_TRACE(Nombre(c.lat) + " " + Nombre(c.lon));
    nz.VersGrille(c.lat * DegresVersRadians, c.lon * DegresVersRadians, x, y);
    nz.VersLatLong(x, y, lat, lon);
    double x2, y2;
    nz.VersGrille(lat, lon, x2, y2);
    EXPECT_NEAR(x2, x, 1e-3);
    EXPECT_NEAR(y2, y, 1e-3);
  }
  // A non-finite grid point stops the iteration and gives NaN.
  nz.VersLatLong(std::nan(""), 6023150, lat, lon);
  EXPECT_TRUE(std::isnan(lat));
  // The comparison with cs2cs (EPSG:27200) is a case of cas_projections.tsv.
}

TEST(ProjectionsSimples, LatitudeLongitude) {
  TProjection& p = Proj("LatLong");
  double x, y, lat, lon;
  p.VersGrille(1, 0.5, x, y);
  EXPECT_DOUBLE_EQ(x, 3189068.5);
  EXPECT_DOUBLE_EQ(y, 6378137);
  p.VersLatLong(-3189068.5, 12756274, lat, lon);
  EXPECT_DOUBLE_EQ(lon, -0.5);
  EXPECT_DOUBLE_EQ(lat, 2);  // no normalisation
}
