#include "projections/grille_ign.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "foundation/chaines.h"
#include "projections/angles.h"
#include "projections/datum.h"
#include "projections/donnees.h"
#include "projections/erreur_projection.h"
#include "projections/geodesie.h"
#include "tests/support/dossier_temp.h"

using namespace projections;
using testsupport::DossierTemp;
using testsupport::EcritOctets;

namespace {

// A 3 x 3 grid: longitudes -1, 0, 1 and latitudes 40, 40.5, 41.  The
// translations are bilinear in longitude and latitude, so the interpolation
// must give them exactly anywhere in the box.
double Tx(double lon, double lat) { return -168 + 10 * lon + 2 * lat + 3 * lon * lat; }
double Ty(double lon, double lat) { return -60 + lon - 4 * lat; }
double Tz(double lon, double lat) { return 320 + 0.5 * lon + 0.25 * lat; }

const double kLongitudes[] = {-1, 0, 1};
const double kLatitudes[] = {40, 40.5, 41};

std::string Nombre(double v) { return foundation::ReelEnTexteExact(v); }

// The three layouts of the grid files.
std::string GrilleIgn() {
  std::string s = "GR3D  002024 024 20370201 01JAN97 essai\r\n";
  s += "GR3D1   -1.0000   1.0000  40.0000  41.0000    1.0000    .5000\r\n";
  s += "GR3D2 INTERPOLATION BILINEAIRE\r\nGR3D3 PREC CM 01:5 02:10 03:20 04:50 99>100\r\n";
  int n = 1;
  for (double lon : kLongitudes)
    for (double lat : kLatitudes)
      s += "0000" + std::to_string(n++) + "   " + Nombre(lon) + "   " + Nombre(lat) + "  " + Nombre(Tx(lon, lat)) +
           "  " + Nombre(Ty(lon, lat)) + "  " + Nombre(Tz(lon, lat)) + "  99  -158.4  -52.4  321.5\r\n";
  return s;
}

std::string GrilleEnLigne() {
  std::string s = "-1 1 40 41 1 0.5\n";
  for (double lon : kLongitudes)
    for (double lat : kLatitudes)
      s += Nombre(Tx(lon, lat)) + " " + Nombre(Ty(lon, lat)) + " " + Nombre(Tz(lon, lat)) + " 1 ";
  return s + "\n";
}

std::string GrilleTabulee() {
  std::string s = "-1 1 40 41 1 0.5 noeuds\n\n";
  for (double lon : kLongitudes)
    for (double lat : kLatitudes)
      s += Nombre(lon) + "\t" + Nombre(lat) + "\t" + Nombre(Tx(lon, lat)) + "\t" + Nombre(Ty(lon, lat)) + "\t" +
           Nombre(Tz(lon, lat)) + "\t1\n";
  return s;
}

}  // namespace

TEST(GrilleIgn, TroisDispositionsEtBords) {
  DossierTemp dossier;
  struct Cas {
    const char* nom;
    std::string contenu;
  };
  const Cas cas[] = {{"grille.TXT", GrilleIgn()}, {"grille.grd", GrilleEnLigne()}, {"grille.dat", GrilleTabulee()}};
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    EcritOctets(dossier.Fichier(c.nom), c.contenu);
    const TGrilleIgn g(dossier.Fichier(c.nom));
    EXPECT_EQ(g.NbLong(), 3);
    EXPECT_EQ(g.NbLat(), 3);
    EXPECT_EQ(g.LongMin(), -1);
    EXPECT_EQ(g.LatMax(), 41);
    EXPECT_EQ(g.PasLat(), 0.5);
    // Node of column 2, row 1 is at 2 * NbLat + 1.
    EXPECT_DOUBLE_EQ(g.CoefX()[7], Tx(1, 40.5));

    struct Point {
      double lon, lat;
    };
    // Inside, on each of the four edges (the east and north ones use the last
    // cell and read nothing past the arrays) and on every corner.
    const Point dedans[] = {{-0.3, 40.2}, {-1, 40.7},  {0.4, 40}, {1, 40.3},   {0.6, 41},
                            {1, 41},      {-1, 40},    {-1, 41},  {1, 40},     {0, 40.5}};
    for (const auto& p : dedans) {
      SCOPED_TRACE(std::to_string(p.lon) + " " + std::to_string(p.lat));
      double tx, ty, tz;
      ASSERT_TRUE(g.GetTranslation(p.lat, p.lon, tx, ty, tz));
      EXPECT_NEAR(tx, Tx(p.lon, p.lat), 1e-9);
      EXPECT_NEAR(ty, Ty(p.lon, p.lat), 1e-9);
      EXPECT_NEAR(tz, Tz(p.lon, p.lat), 1e-9);
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Point dehors[] = {{-1 - 1e-9, 40.5}, {1 + 1e-9, 40.5}, {0, 40 - 1e-9}, {0, 41 + 1e-9}, {nan, 40.5},
                            {0, nan}, {std::numeric_limits<double>::infinity(), 40.5}};
    for (const auto& p : dehors) {
      double tx = 7, ty = 7, tz = 7;
      EXPECT_FALSE(g.GetTranslation(p.lat, p.lon, tx, ty, tz));
    }
  }
}

TEST(GrilleIgn, NoeudsAbsentsEtFichiersRefuses) {
  DossierTemp dossier;
  // A node missing from the file keeps a zero translation.
  std::string partielle = GrilleTabulee();
  partielle.erase(partielle.find("\n1\t41\t") + 1);
  EcritOctets(dossier.Fichier("partielle.dat"), partielle + "\n");
  const TGrilleIgn g(dossier.Fichier("partielle.dat"));
  double tx, ty, tz;
  ASSERT_TRUE(g.GetTranslation(41, 1, tx, ty, tz));
  EXPECT_EQ(tx, 0);
  EXPECT_EQ(tz, 0);

  struct Cas {
    const char* quoi;
    std::string contenu;
  };
  std::string champManquant = GrilleTabulee();
  champManquant.replace(champManquant.rfind("\t1\n"), 3, "\n");
  std::string nombreFaux = GrilleIgn();
  nombreFaux.replace(nombreFaux.rfind("   41  "), 7, "   4l  ");
  const Cas cas[] = {
      {"en-tête court", "-1 1 40 41 1\n"},
      {"en-tête non numérique", "-1 1 40 quarante 1 0.5\n1 2 3 4\n"},
      {"pas nul", "-1 1 40 41 0 0.5\n"},
      {"boîte retournée", "1 -1 40 41 1 0.5\n"},
      {"noeuds tronqués", "-1 1 40 41 1 0.5\n1 2 3 4 1 2 3 4\n"},
      {"champ manquant", champManquant},
      {"nombre faux", nombreFaux},
      {"noeud hors de la boîte", "-1 1 40 41 1 0.5 x\n5 40 1 2 3 1\n"},
      // A header announcing far more nodes than the file holds is no grid:
      // nothing huge is allocated.
      {"en-tête démesuré", "-180 180 -90 90 0.000001 0.000001\n1 2 3 4\n"},
      {"vide", ""},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.quoi);
    const std::string nom = dossier.Fichier("refusee.dat");
    EcritOctets(nom, c.contenu);
    EXPECT_THROW(TGrilleIgn{nom}, EConversion);
  }
  EXPECT_THROW(TGrilleIgn{dossier.Fichier("absente.txt")}, EConversion);
}

// A datum that names a grid file uses the grid's translations inside it and its
// own fixed shift outside.
TEST(GrilleIgn, DatumAvecGrille) {
  DossierTemp dossier;
  std::string s = "-1 1 40 41 1 0.5\n";
  for (int k = 0; k < 9; ++k) s += "-160 -50 330 0 ";
  const std::string nom = dossier.Fichier("constante.grd");
  EcritOctets(nom, s);

  TDonnees cat;
  cat.AjoutLigne("Ellipsoide=\"Clarke80\" \"Clarke 1880\" 6378249.2 0.0824832568");
  cat.AjoutLigne("Datum=\"Grille\" \"essai\" \"Clarke80\" -168 -60 320 \"" + nom + "\"");
  const TDatum* d = cat.UnDatum("Grille");
  ASSERT_NE(d, nullptr);
  ASSERT_NE(d->GrilleIgn(), nullptr);
  EXPECT_FALSE(d->NoIgnGrille);
  EXPECT_EQ(d->Ligne(), "Datum=\"Grille\" \"essai\" \"Clarke80\" -168 -60 320 \"" + nom + "\"");

  struct Cas {
    double lat, lon;
    double tx, ty, tz;
  };
  const Cas cas[] = {{40.5, 0.2, -160, -50, 330}, {45, 5, -168, -60, 320}};
  for (const auto& c : cas) {
    SCOPED_TRACE(c.lat);
    double x, y, z, x0, y0, z0;
    const double lat = c.lat * DegresVersRadians, lon = c.lon * DegresVersRadians;
    d->VersCartesien(lat, lon, false, x, y, z);
    GeographiqueVersCartesien(lon, lat, 0, 6378249.2, 0.0824832568, x0, y0, z0);
    EXPECT_NEAR(x - x0, c.tx, 1e-6);
    EXPECT_NEAR(y - y0, c.ty, 1e-6);
    EXPECT_NEAR(z - z0, c.tz, 1e-6);
    double lat2, lon2;
    d->VersLatLong(x, y, z, false, lat2, lon2);
    EXPECT_NEAR(lat2, lat, 1e-11);
    EXPECT_NEAR(lon2, lon, 1e-11);
  }

  // A grid file that fails to read makes the whole line fail.
  const std::string faux = dossier.Fichier("faux.grd");
  EcritOctets(faux, "-1 1 40 41 1\n");
  cat.AjoutLigne("Datum=\"Faux\" \"essai\" \"Clarke80\" -168 -60 320 \"" + faux + "\"");
  EXPECT_EQ(cat.UnDatum("Faux"), nullptr);
}
