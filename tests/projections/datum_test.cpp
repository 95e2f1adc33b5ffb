#include "projections/datum.h"

#include <gtest/gtest.h>

#include <cmath>

#include "foundation/codage.h"
#include "oracle_proj.h"
#include "projections/angles.h"
#include "projections/donnees.h"
#include "projections/erreur_projection.h"
#include "projections/geodesie.h"

using namespace projections;

namespace {

const char* const kClarke = "Ellipsoide=\"Clarke80\" \"Clarke 1880\" 6378249.2 0.0824832568";
const char* const kHayford24 = "Ellipsoide=\"Hayford 24\" \"Hayford 1924\" 6378388 0.0819918899790";
const char* const kNTF = "Datum=\"NTF\" \"Nouvelle Triangulation Française\" \"Clarke80\" -168 -60 320";
const char* const kSteAnne =
    "Datum=\"Ste-Anne\" \"Guadeloupe (Ste-Anne)\" \"Hayford 24\" -472.29 -5.63 -304.12 0.4362 -0.8374 0.2563 1.8984";

std::string Ecrit(const TDatum& d) {
  foundation::TFluxMemoire flux;
  d.SaveToStream(flux);
  return flux.Octets();
}

}  // namespace

TEST(Ellipsoide, LigneEtAxes) {
  TDonnees cat;
  cat.AjoutLigne(kClarke);
  cat.AjoutLigne("Ellipsoide=\"Virgule\" \"x\" 6378388,5 0,08");
  TEllipsoide* c = cat.UnEllipsoide("Clarke80");
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(c->Valid);
  EXPECT_EQ(c->Description, "Clarke 1880");
  EXPECT_EQ(c->a, 6378249.2);
  EXPECT_EQ(c->e, 0.0824832568);
  EXPECT_NEAR(c->b(), 6356515.0, 1e-3);
  EXPECT_NEAR(c->Invf(), 293.466021, 1e-6);
  EXPECT_EQ(c->Ligne(), kClarke);
  // A comma is read as the decimal point.
  ASSERT_NE(cat.UnEllipsoide("Virgule"), nullptr);
  EXPECT_EQ(cat.UnEllipsoide("Virgule")->a, 6378388.5);

  TEllipsoide t;
  t.a = 6378137;
  t.SetInvf(298.257222101);
  EXPECT_NEAR(t.e, 0.0818191910428, 1e-12);
  t.SetB(6378137);
  EXPECT_EQ(t.e, 0);
  EXPECT_TRUE(std::isinf(t.Invf()));  // a sphere: a - b is 0
  TEllipsoide copie;
  copie.Assign(*c);
  EXPECT_EQ(copie.Ligne(), c->Ligne());
  EXPECT_FALSE(copie.Valid);

  // Token counts other than 4 are refused.
  TEllipsoide refuse;
  EXPECT_THROW(refuse.LitDefinition("\"A\" \"B\" 6378137"), EHorsLimites);
  EXPECT_THROW(refuse.LitDefinition("\"A\" \"B\" 6378137 0.08 1"), EHorsLimites);
  EXPECT_THROW(refuse.LitDefinition("\"A\" \"B\" 6378137 abc"), EConversion);
  EXPECT_FALSE(refuse.Valid);
}

TEST(Datum, LignesLuesEtEcrites) {
  TDonnees cat;
  cat.AjoutLigne(kClarke);
  cat.AjoutLigne(kHayford24);
  struct Cas {
    std::string ligne;
    std::string relue;  // empty: the same line
    bool reduit;
    bool sansGrille;
  };
  const Cas cas[] = {
      // NTF with no grid token and no grid file beside the executable: the
      // fixed shift everywhere, written back without " *".
      {kNTF, "", true, false},
      {"Datum=\"D7\" \"Sept\" \"Hayford 24\" -472.29 -5.63 -304.12 0.4362 -0.8374 0.2563 1.8984", "", false, false},
      {"Datum=\"Etoile\" \"x\" \"Clarke80\" +1 2 3 *", "Datum=\"Etoile\" \"x\" \"Clarke80\" 1 2 3 *", true, true},
      {"Datum=\"Etoile7\" \"x\" \"Clarke80\" 1 2 3 0.1 0.2 0.3 1.123456789 *",
       "Datum=\"Etoile7\" \"x\" \"Clarke80\" 1 2 3 0.1 0.2 0.3 1.1234568 *", false, true},
      // A grid file that does not exist is remembered and written back.
      {"Datum=\"Absente\" \"x\" \"Clarke80\" 1 2 3 \"/nulle/part/grille.txt\"", "", true, false},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.ligne);
    const int avant = cat.NbDatum();
    cat.AjoutLigne(c.ligne);
    ASSERT_EQ(cat.NbDatum(), avant + 1);
    const TDatum& d = *cat.LesDatum().back();
    EXPECT_TRUE(d.Valid);
    EXPECT_EQ(d.Reduit, c.reduit);
    EXPECT_EQ(d.NoIgnGrille, c.sansGrille);
    EXPECT_EQ(d.GrilleIgn(), nullptr);
    EXPECT_EQ(Ecrit(d), foundation::VersWindows1252(c.relue.empty() ? c.ligne : c.relue) + "\r\n");
  }
  const TDatum& ntf = *cat.UnDatum("NTF");
  EXPECT_EQ(ntf.Ellipsoide, cat.UnEllipsoide("Clarke80"));
  EXPECT_EQ(Ecrit(ntf).substr(0, 40), "Datum=\"NTF\" \"Nouvelle Triangulation Fran");
  EXPECT_EQ(Ecrit(ntf)[40], '\xE7');  // written in Windows-1252

  // An NTF datum naming a grid file that is absent is marked "no grid".
  TDatum ntfAbsente;
  ntfAbsente.LitDefinition("\"NTF\" \"x\" \"Clarke80\" -168 -60 320 \"/nulle/part/gr3df97a.txt\"", cat);
  EXPECT_TRUE(ntfAbsente.NoIgnGrille);
  EXPECT_EQ(ntfAbsente.Ligne(), "Datum=\"NTF\" \"x\" \"Clarke80\" -168 -60 320 *");

  TDatum copie;
  copie.Assign(*cat.UnDatum("D7"));
  copie.Nom = "D7";
  EXPECT_EQ(copie.Ligne(), cat.UnDatum("D7")->Ligne());

  const char* const refusees[] = {
      "\"A\" \"B\" \"Clarke80\" 1 2",
      "\"A\" \"B\" \"Clarke80\" 1 2 3 4 5",
      "\"A\" \"B\" \"Clarke80\" 1 2 3 4 5 6 7 8 9",
      "\"A\" \"B\" \"Inconnu\" 1 2 3",
      "\"A\" \"B\" \"Clarke80\" 1 2 x",
  };
  for (const char* r : refusees) {
    SCOPED_TRACE(r);
    TDatum d;
    EXPECT_ANY_THROW(d.LitDefinition(r, cat));
    EXPECT_FALSE(d.Valid);
  }
  TDatum d;
  try {
    d.LitDefinition("\"A\" \"B\" \"Inconnu\" 1 2 3", cat);
  } catch (const EHorsLimites& e) {
    EXPECT_STREQ(e.what(), "Ellipsoïde Inconnu inconnu dans le datum A");
  }
}

TEST(Datum, AllerRetourParLePivot) {
  TDonnees cat;
  cat.AjoutLigne(kClarke);
  cat.AjoutLigne(kHayford24);
  cat.AjoutLigne(kNTF);
  cat.AjoutLigne(kSteAnne);
  for (const char* nom : {"NTF", "Ste-Anne", "WGS84"}) {
    const TDatum& d = *cat.UnDatum(nom);
    for (bool paris : {false, true}) {
      SCOPED_TRACE(std::string(nom) + (paris ? " Paris" : ""));
      const double lat = 46.123 * DegresVersRadians, lon = -1.25 * DegresVersRadians;
      double x, y, z, lat2, lon2;
      d.VersCartesien(lat, lon, paris, x, y, z);
      d.VersLatLong(x, y, z, paris, lat2, lon2);
      EXPECT_NEAR(lat2, lat, 1e-11);
      EXPECT_NEAR(lon2, lon, 1e-11);
      double latW, lonW;
      d.VersWGS84(lat, lon, latW, lonW);
      d.DepuisWGS84(latW, lonW, lat2, lon2);
      // Through WGS84 latitude and longitude the height the shift gave is
      // dropped, which moves the point by a few millimetres.
      EXPECT_NEAR(lat2, lat, 1e-9);
      EXPECT_NEAR(lon2, lon, 1e-9);
    }
  }
  // The Paris meridian is 2°20'14.025'' east of Greenwich.
  const TDatum& ntf = *cat.UnDatum("NTF");
  double x1, y1, z1, x2, y2, z2;
  ntf.VersCartesien(0.8, 0, true, x1, y1, z1);
  ntf.VersCartesien(0.8, MeridienParis(), false, x2, y2, z2);
  EXPECT_DOUBLE_EQ(x1, x2);
  EXPECT_DOUBLE_EQ(y1, y2);
}

// Three- and seven-parameter shifts against PROJ's +towgs84, compared in WGS84
// latitude and longitude (PROJ keeps the height of the input, as the datums
// here drop it); 1.5e-10 radian is a millimetre on the ground.
TEST(Datum, DecalagesSelonProj) {
  TDonnees cat;
  cat.AjoutLigne(kClarke);
  cat.AjoutLigne(kHayford24);
  cat.AjoutLigne(kNTF);
  cat.AjoutLigne(kSteAnne);
  struct Cas {
    const char* datum;
    const char* towgs84;
    double lat, lon;
  };
  const Cas cas[] = {
      {"NTF", "-168,-60,320", 48.85, 2.35},
      {"NTF", "-168,-60,320", 42.5, 9.2},
      {"Ste-Anne", "-472.29,-5.63,-304.12,0.4362,-0.8374,0.2563,1.8984", 16.25, -61.55},
      {"Ste-Anne", "-472.29,-5.63,-304.12,0.4362,-0.8374,0.2563,1.8984", 15.9, -61.3},
  };
  if (!oracle::Cs2csDisponible()) GTEST_SKIP() << "cs2cs absent: no oracle";
  oracle::AnnonceOracle("cs2cs, +towgs84 three and seven parameters");
  constexpr double unMillimetre = 1.5e-10;
  for (const auto& c : cas) {
    SCOPED_TRACE(c.datum);
    const TDatum& d = *cat.UnDatum(c.datum);
    const std::string datum = "+proj=longlat " + oracle::Figure(d.Ellipsoide->a, d.Ellipsoide->e) + " +towgs84=" + c.towgs84;
    const std::string wgs84 = "+proj=longlat " + oracle::Figure(AWGS84, EWGS84) + " +towgs84=0,0,0";
    const auto r = oracle::Cs2cs(datum, wgs84, {{c.lon, c.lat}});
    ASSERT_TRUE(r.has_value());
    double latW, lonW;
    d.VersWGS84(c.lat * DegresVersRadians, c.lon * DegresVersRadians, latW, lonW);
    EXPECT_NEAR(lonW, (*r)[0][0] * DegresVersRadians, unMillimetre);
    EXPECT_NEAR(latW, (*r)[0][1] * DegresVersRadians, unMillimetre);
    // And back from WGS84 to the datum.
    const auto retour = oracle::Cs2cs(wgs84, datum, {{c.lon, c.lat}});
    ASSERT_TRUE(retour.has_value());
    double lat, lon;
    d.DepuisWGS84(c.lat * DegresVersRadians, c.lon * DegresVersRadians, lat, lon);
    EXPECT_NEAR(lon, (*retour)[0][0] * DegresVersRadians, unMillimetre);
    EXPECT_NEAR(lat, (*retour)[0][1] * DegresVersRadians, unMillimetre);
  }
}
