// The catalogue's text conversions, scale factor, listing, description and
// removal operations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue_france.h"
#include "essai_projections.h"
#include "projections/angles.h"
#include "projections/donnees.h"
#include "projections/erreur_projection.h"

using namespace projections;

namespace {

TDonnees& France() {
  static TDonnees cat;
  static bool rempli = false;
  return essai::Remplit(cat, rempli, essai::LignesFrance());
}

}  // namespace

TEST(DonneesOperations, ConversionsEnTexte) {
  const TDonnees& cat = France();
  struct Cas {
    const char *source, *dest, *x, *y;
    int32_t indiceSource;
    TUniteAngle unite;
    const char *xAttendu, *yAttendu;
  };
  const Cas cas[] = {
      {"LT 93", "WGS84", "700000", "6600000", 0, TUniteAngle::uaDMS, "46°30'", "3°"},
      {"LT 93", "WGS84", " 700000 ", "6600000", 0, TUniteAngle::uaDegre, "46.50000000°", "3.00000000°"},
      {"WGS84", "LT 93", "46°30'", "3°", 0, TUniteAngle::uaDMS, "700000.000", "6600000.000"},
      // Longitudes counted from the Paris meridian.
      {"NTF", "LT 2", "52g", "0", 1, TUniteAngle::uaDMS, "600000.000", "200000.000"},
      {"LT 2", "NTF", "600000", "200000", 0, TUniteAngle::uaGrade, "52.00000000g", "2.59692130g"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(std::string(c.source) + " -> " + c.dest);
    int32_t indice = 0;
    std::string x, y;
    ASSERT_TRUE(cat.Conversion(c.source, c.dest, c.x, c.y, c.indiceSource, indice, x, y, c.unite));
    EXPECT_EQ(x, c.xAttendu);
    EXPECT_EQ(y, c.yAttendu);
  }
  // Multi-zone destination: the zone is chosen and returned.
  int32_t zone = ZoneAChoisir;
  std::string x = "inchangé", y;
  ASSERT_TRUE(cat.Conversion("WGS84", "UTM", "45°", "3°", 0, zone, x, y, TUniteAngle::uaDegre));
  EXPECT_EQ(zone, 31);
  EXPECT_EQ(x, "500000.000");
  // Unknown names: false, outputs untouched; bad texts raise with the
  // coordinate's message.
  x = "inchangé";
  EXPECT_FALSE(cat.Conversion("Inconnu", "UTM", "1", "2", 0, zone, x, y, TUniteAngle::uaDegre));
  EXPECT_FALSE(cat.Conversion("LT 93", "Inconnu", "1", "2", 0, zone, x, y, TUniteAngle::uaDegre));
  EXPECT_EQ(x, "inchangé");
  double gx, gy, gz;
  try {
    cat.VersGeocentrique("LT 93", "700000", "66OOOOO", 0, gx, gy, gz);
    FAIL();
  } catch (const EConversion& e) {
    EXPECT_STREQ(e.what(), "Northing de départ incorrecte, exemple 231500");
  }
  try {
    cat.VersGeocentrique("WGS84", "46.5", "3°", 0, gx, gy, gz);
    FAIL();
  } catch (const EConversion& e) {
    EXPECT_STREQ(e.what(), "Latitude de départ incorrecte, exemple 2°24'17.036''");
  }
  // The text forms agree with the numeric ones.
  ASSERT_TRUE(cat.VersGeocentrique("WGS84", "45°", "6°", 0, gx, gy, gz));
  double nx, ny, nz;
  ASSERT_TRUE(cat.VersGeocentriqueNum("WGS84", 45 * DegresVersRadians, 6 * DegresVersRadians, 0, nx, ny, nz));
  EXPECT_EQ(gx, nx);
  EXPECT_EQ(gz, nz);
  std::string lx, ly;
  int32_t aucune = 0;
  ASSERT_TRUE(cat.DepuisGeocentrique(gx, gy, gz, "WGS84", aucune, lx, ly, TUniteAngle::uaDM));
  EXPECT_EQ(lx, "45°");
  EXPECT_EQ(ly, "6°");
}

TEST(DonneesOperations, Alteration) {
  const TDonnees& cat = France();
  struct Cas {
    const char *source, *dest;
    double x, y;
    int32_t indice;
    double attendu, tolerance;
  };
  constexpr double kLT93Origine = 0.9990510286;  // scale of Lambert-93 on its central parallel
  const Cas cas[] = {
      {"WGS84", "LT 93", 46.5 * DegresVersRadians, 3 * DegresVersRadians, 0, kLT93Origine, 1e-7},
      {"WGS84", "LT 93", 44 * DegresVersRadians, 5 * DegresVersRadians, 0, 1, 1e-6},  // standard parallel, k grows southwards
      {"WGS84", "UTM", 45 * DegresVersRadians, 3 * DegresVersRadians, 0, 0.9996, 1e-7},
      {"LT 93", "UTM", 700000, 6600000, 0, 0.9996 / kLT93Origine, 1e-7},
      {"UTM", "LT 93", 500000, 5000000, 31, 1, 2e-3},
      {"LT 93", "WGS84", 700000, 6600000, 0, 1, 0},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(std::string(c.source) + " -> " + c.dest);
    double f = 0;
    ASSERT_TRUE(cat.AlterationNum(c.source, c.dest, c.x, c.y, c.indice, f));
    EXPECT_NEAR(f, c.attendu, c.tolerance);
  }
  double f = 7;
  EXPECT_FALSE(cat.AlterationNum("Inconnu", "UTM", 1, 2, 0, f));
  EXPECT_FALSE(cat.Alteration("LT 93", "Inconnu", "700000", "6600000", 0, f));
  EXPECT_EQ(f, 7);
  ASSERT_TRUE(cat.Alteration("WGS84", "UTM", "45°", "3°", 0, f));
  EXPECT_NEAR(f, 0.9996, 1e-7);
  EXPECT_THROW(cat.Alteration("LT 93", "UTM", "x", "6600000", 0, f), EConversion);
}

TEST(DonneesOperations, ListeDescriptionsEtInconnus) {
  const TDonnees& cat = France();
  std::vector<std::string> liste{"ancien"};
  int32_t separations = 0;
  cat.ListeSystemes(liste, separations);
  ASSERT_EQ(liste.size(), 24u);
  EXPECT_EQ(liste[0], "WGS84");
  EXPECT_EQ(liste[3], "ATG");
  EXPECT_EQ(liste[4], "LT 93");
  EXPECT_EQ(liste[21], "Mercator");
  EXPECT_EQ(liste[23], "UTM ED50");
  EXPECT_EQ(separations, 3 + 256 * 17);

  EXPECT_EQ(cat.LaDescription("NTF"), "Nouvelle Triangulation Française");
  EXPECT_EQ(cat.LaDescription("LT 2+"), "Lambert II étendu");
  EXPECT_EQ(cat.LaDescription("UTM ED50"), "Universal Transverse Mercator");
  EXPECT_EQ(cat.LaDescription("Clarke80"), "");  // ellipsoids are not systems
  EXPECT_EQ(cat.LaDescription("Inconnu"), "");
  EXPECT_TRUE(cat.Inconnu("Clarke80"));
  EXPECT_TRUE(cat.Inconnu("lt 93"));
  EXPECT_FALSE(cat.Inconnu("NTF"));
  EXPECT_FALSE(cat.Inconnu("Michelin"));
  EXPECT_FALSE(cat.Inconnu("UTM"));
}

TEST(DonneesOperations, Retraits) {
  TDonnees cat;
  for (const char* ligne : essai::LignesFrance()) cat.AjoutLigne(ligne);
  cat.AjoutLigne("Ellipsoide=\"Ell\" \"x\" 6378000 0.08");
  cat.AjoutLigne("Datum=\"D\" \"x\" \"Ell\" 1 2 3");
  struct Cas {
    const char* quoi;
    bool fait;
  };
  const Cas cas[] = {
      {"ellipsoïde d'un datum", cat.RetireEllipsoide("Clarke80")},
      {"datum d'une projection", cat.RetireDatum("NTF")},
      {"datum d'un système multiple", cat.RetireDatum("ED 50")},
      {"ellipsoïde encore utilisé", cat.RetireEllipsoide("Ell")},
      {"datum libre", cat.RetireDatum("D")},
      {"ellipsoïde devenu libre", cat.RetireEllipsoide("Ell")},
      {"nom inconnu", cat.RetireDatum("Inconnu")},
      {"ellipsoïde inconnu", cat.RetireEllipsoide("D")},
  };
  const bool attendus[] = {false, false, false, false, true, true, false, false};
  for (size_t i = 0; i < std::size(cas); ++i) {
    SCOPED_TRACE(cas[i].quoi);
    EXPECT_EQ(cas[i].fait, attendus[i]);
  }
  EXPECT_TRUE(cat.Inconnu("D"));
  EXPECT_FALSE(cat.UnEllipsoide("Ell"));
  EXPECT_EQ(cat.NbDatum(), 4);
  // The seeds stay, even once nothing refers to them.
  TDonnees graines;
  EXPECT_FALSE(graines.RetireDatum("WGS84"));
  EXPECT_FALSE(graines.RetireEllipsoide("GRS 80"));
  EXPECT_EQ(graines.NbDatum(), 1);
  EXPECT_EQ(graines.NbEllipsoide(), 1);
}
