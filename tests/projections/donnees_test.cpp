#include "projections/donnees.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "catalogue_france.h"
#include "foundation/codage.h"
#include "oracle_proj.h"
#include "projections/erreur_projection.h"
#include "projections/fabrique.h"
#include "projections/lignes.h"

using namespace projections;

namespace {

std::vector<std::string> TousLesNoms(const TDonnees& cat) {
  std::vector<std::string> r;
  for (const auto& o : cat.LesEllipsoide()) r.push_back("E " + o->Nom);
  for (const auto& o : cat.LesDatum()) r.push_back("D " + o->Nom);
  for (const auto& o : cat.LesProjection()) r.push_back("P " + o->Nom);
  for (const auto& o : cat.LesMultiple()) r.push_back("M " + o->Nom);
  return r;
}

std::string Joint(const std::vector<std::string>& v) {
  std::string r;
  for (const auto& s : v) r += (r.empty() ? "" : "|") + s;
  return r;
}

// The catalogue read from a text given in UTF-8 (put on the stream in
// Windows-1252, as the catalogue files are).
std::string NomsApresLecture(const std::string& texte) {
  TDonnees cat;
  foundation::TFluxMemoire flux(foundation::VersWindows1252(texte));
  cat.LoadFromStream(flux);
  return Joint(TousLesNoms(cat));
}

const std::string kSeeds = "E GRS 80|E Clarke80|D WGS84";
const std::string kClarke = "Ellipsoide=\"Clarke80\" \"Clarke 1880\" 6378249.2 0.0824832568";
const std::string kNTF = "Datum=\"NTF\" \"Nouvelle Triangulation Française\" \"Clarke80\" -168 -60 320";
const std::string kUTM =
    "Multiple \"Transverse Mercator Multiple\"=\"UTM\" \"Universal Transverse Mercator\" \"WGS84\" 0.9996 500000 0 "
    "10000000 -177° 6°";

}  // namespace

TEST(Donnees, LignesDecoupees) {
  foundation::TFluxMemoire flux(
      foundation::VersWindows1252("Projection \"Lambert\"  \t=  \"a b\"\tc  \"\" d\r\n\r\n\nX= \"non fermé"));
  EXPECT_EQ(LitCle(flux), "Projection \"Lambert\"");
  const std::string def = LitLigne(flux);
  EXPECT_EQ(def, "  \"a b\"\tc  \"\" d");
  EXPECT_EQ(DecoupeChamps(def), (std::vector<std::string>{"a b", "c", "", "d"}));
  EXPECT_EQ(LitCle(flux), "X");
  EXPECT_EQ(DecoupeChamps(LitLigne(flux)), (std::vector<std::string>{"", "non", "fermé"}));
  EXPECT_EQ(flux.Restant(), 0u);
  EXPECT_EQ(DecoupeChamps("a\"b c\"d"), (std::vector<std::string>{"a\"b", "c\"d"}));
}

TEST(Donnees, Grammaire) {
  struct Cas {
    const char* quoi;
    std::string texte;
    std::string noms;  // after the seeds "GRS 80" and "WGS84"
  };
  const std::string e = kClarke + "\r\n";
  const Cas cas[] = {
      {"ellipsoïde et datum", e + kNTF, "E GRS 80|E Clarke80|D WGS84|D NTF"},
      {"second datum du même nom", e + kNTF + "\r\n" + kNTF, "E GRS 80|E Clarke80|D WGS84|D NTF"},
      {"projection nommant une description",
       e + kNTF + "\r\nProjection \"UTM Fuseau\"=\"U\" \"\" \"Nouvelle Triangulation Française\" 31 0",
       "E GRS 80|E Clarke80|D WGS84|D NTF"},
      {"référence aux graines",
       e + "Datum=\"W2\" \"x\" \"GRS 80\" 0 0 0\r\nProjection \"UTM Fuseau\"=\"U31\" \"\" \"WGS84\" 31 0",
       "E GRS 80|E Clarke80|D WGS84|D W2|P U31"},
      {"graine redéfinie", e + "Ellipsoide=\"GRS 80\" \"x\" 6378137 0.08", kSeeds},
      {"nom déjà pris par un autre genre", e + "Datum=\"Clarke80\" \"x\" \"Clarke80\" 0 0 0", kSeeds},
      {"mot Projection seul", e + "Projection=\"U\" \"\" \"WGS84\" 31 0\r\n" + kUTM, kSeeds + "|M UTM"},
      {"nature entre guillemets manquante", e + "Projection UTM Fuseau=\"U\" \"\" \"WGS84\" 31 0\r\n" + kUTM,
       kSeeds + "|M UTM"},
      {"premier mot faux", e + "Projections \"UTM Fuseau\"=\"U\" \"\" \"WGS84\" 31 0\r\n" + kUTM, kSeeds + "|M UTM"},
      {"nature inconnue", e + "Projection \"Inconnue\"=\"U\" \"\" \"WGS84\" 31 0\r\n" + kUTM, kSeeds + "|M UTM"},
      {"projection dans Multiple", e + "Multiple \"UTM Fuseau\"=\"U\" \"\" \"WGS84\" 31 0\r\n" + kUTM,
       kSeeds + "|M UTM"},
      {"clé inconnue", e + "Ellipsoïde=\"X\" \"x\" 1 0\r\n" + kUTM, kSeeds + "|M UTM"},
      {"blancs après la clé", e + "Datum \t =\"D\" \"x\" \"Clarke80\" 1 2 3", kSeeds + "|D D"},
      {"blancs avant la clé", e + "  Datum=\"D\" \"x\" \"Clarke80\" 1 2 3", kSeeds},
      {"dernière ligne sans fin de ligne", e + "Datum=\"D\" \"x\" \"Clarke80\" 1 2 3", kSeeds + "|D D"},
      {"lignes vides et fins mélangées", e + "\r\n\n\r" + kNTF + "\n\n", "E GRS 80|E Clarke80|D WGS84|D NTF"},
      // A line end at the very start becomes part of the first key, so the
      // first line and the one that needs it are dropped.
      {"fin de ligne en tête", "\n" + e + kNTF, "E GRS 80|D WGS84"},
      {"ligne sans = qui emporte la suivante", "sans egal\r\n" + e + kNTF + "\r\n" + kUTM,
       "E GRS 80|D WGS84|M UTM"},
      {"nombre faux", e + "Datum=\"D\" \"x\" \"Clarke80\" 1 2 trois\r\nDatum=\"E\" \"x\" \"Clarke80\" 1 2 3",
       kSeeds + "|D E"},
      {"nombres signés", e + "Datum=\"D\" \"x\" \"Clarke80\" +1 -2 +3.5", kSeeds + "|D D"},
      {"texte vide", "", "E GRS 80|D WGS84"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.quoi);
    EXPECT_EQ(NomsApresLecture(c.texte), c.noms);
  }
}

TEST(Donnees, FranceLueEtRecrite) {
  TDonnees cat;
  for (const char* ligne : essai::LignesFrance()) cat.AjoutLigne(ligne);
  foundation::TFluxMemoire sortie;
  cat.SaveToStream(sortie);
  std::string ecrit = foundation::DepuisWindows1252(sortie.Octets());
  for (const char* ligne : essai::LignesFrance()) {
    SCOPED_TRACE(ligne);
    const std::string l = ligne;
    // Lines of the families not built here are dropped, nothing else.
    const bool couverte = !l.starts_with("Projection \"") ||
                          CreeProjection(DecoupeChamps(l.substr(0, l.find('=')))[1]) != nullptr;
    const std::string nom = DecoupeChamps(l.substr(l.find('=') + 1))[0];
    if (!couverte) {
      EXPECT_EQ(cat.UneProjection(nom), nullptr);
      continue;
    }
    if (nom == "Michelin") {
      // So do the twelve significant digits of the two reals.
      EXPECT_NE(ecrit.find("Projection \"Bonne\"=\"Michelin\" \"Bonne Michelin\" \"ATG\" 0 5570439.711 2°20'14.025'' "
                           "48°51'36''\r\n"),
                std::string::npos);
      continue;
    }
    if (nom == "Hayford 09") {
      // The general format drops the trailing zeros of 0.0819918900.
      EXPECT_NE(ecrit.find("Ellipsoide=\"Hayford 09\" \"Hayford 1909\" 6378388 0.08199189\r\n"), std::string::npos);
      EXPECT_EQ(cat.UnEllipsoide(nom)->e, 0.08199189);
      continue;
    }
    EXPECT_NE(ecrit.find(l + "\r\n"), std::string::npos);
  }
  // The seeds are not written.
  EXPECT_EQ(ecrit.find("GRS 80"), std::string::npos);
  // And what is written reads back into the same catalogue.
  TDonnees relu;
  relu.LoadFromStream(sortie);
  EXPECT_EQ(Joint(TousLesNoms(relu)), Joint(TousLesNoms(cat)));
  foundation::TFluxMemoire sortie2;
  relu.SaveToStream(sortie2);
  EXPECT_EQ(sortie2.Octets(), sortie.Octets());
}

TEST(Donnees, Recherches) {
  TDonnees cat;
  for (const char* ligne : essai::LignesFrance()) cat.AjoutLigne(ligne);
  EXPECT_EQ(cat.NumeroEllipsoide("GRS 80"), 0);
  EXPECT_EQ(cat.NumeroDatum("WGS84"), 0);
  EXPECT_EQ(cat.NumeroDatum("ATG"), 3);
  EXPECT_EQ(cat.NumeroProjection("LT 93"), 0);
  EXPECT_EQ(cat.NumeroProjection("UTM"), -1);
  EXPECT_EQ(cat.NumeroMultiple("UTM ED50"), 1);
  EXPECT_EQ(cat.UneProjection("NTF"), nullptr);
  EXPECT_EQ(cat.UneProjection("UTM"), cat.LesMultiple()[0].get());
  EXPECT_EQ(cat.UneProjection("lt 93"), nullptr);
  EXPECT_EQ(cat.UnDatum("ED 50")->Ellipsoide, cat.UnEllipsoide("Hayford 09"));
  EXPECT_TRUE(cat.Systeme("NTF").Datum);
  EXPECT_TRUE(cat.Systeme("LT 2+").Projection);
  EXPECT_TRUE(cat.Systeme("UTM").Multiple);
  EXPECT_FALSE(cat.Systeme("Inconnu").Trouve());
  EXPECT_EQ(cat.Systeme("LT 2+").DatumDuSysteme(), cat.UnDatum("NTF"));

  double x, y, z;
  EXPECT_FALSE(cat.VersGeocentriqueNum("Inconnu", 0, 0, 0, x, y, z));
  int32_t zone = -100000;
  double xd, yd;
  EXPECT_FALSE(cat.ConversionNum("LT 93", "Inconnu", 700000, 6600000, 0, zone, xd, yd));
  // Lambert-93 to UTM: the system chooses zone 31 for the origin (3° E).
  ASSERT_TRUE(cat.ConversionNum("LT 93", "UTM", 700000, 6600000, 0, zone, xd, yd));
  EXPECT_EQ(zone, 31);
  EXPECT_NEAR(xd, 500000, 1e-3);
  // And back, and to WGS84 latitude/longitude.
  double xr, yr;
  int32_t aucune = 0;
  ASSERT_TRUE(cat.ConversionNum("UTM", "LT 93", xd, yd, 31, aucune, xr, yr));
  EXPECT_NEAR(xr, 700000, 1e-4);
  EXPECT_NEAR(yr, 6600000, 1e-4);
  ASSERT_TRUE(cat.ConversionNum("LT 93", "WGS84", 700000, 6600000, 0, aucune, xr, yr));
  EXPECT_NEAR(xr, 46.5 * DegresVersRadians, 1e-11);
  EXPECT_NEAR(yr, 3 * DegresVersRadians, 1e-11);
  // A datum with indice 1 counts longitudes from Paris.
  int32_t paris = 1;
  ASSERT_TRUE(cat.ConversionNum("LT 2", "NTF", 600000, 200000, 0, paris, xr, yr));
  EXPECT_NEAR(yr, 0, 1e-11);
  EXPECT_NEAR(xr, 52 * GradesVersRadians, 1e-11);

  CatalogueProjections();  // the process-wide catalogue holds the seeds
  EXPECT_EQ(CatalogueProjections().NumeroDatum("WGS84"), 0);
}

TEST(Donnees, Convergence) {
  TDonnees cat;
  for (const char* ligne : essai::LignesFrance()) cat.AjoutLigne(ligne);
  std::string texte = "inchangé";
  EXPECT_FALSE(cat.Convergence("Inconnu", "WGS84", "1", "2", 0, texte, TUniteAngle::uaDegre));
  EXPECT_FALSE(cat.Convergence("LT 93", "Inconnu", "936341.26", "6437909.15", 0, texte, TUniteAngle::uaDegre));
  EXPECT_EQ(texte, "inchangé");
  // On the central meridian, every unit says 0.
  for (auto unite : {TUniteAngle::uaDegre, TUniteAngle::uaDMS, TUniteAngle::uaGrade, TUniteAngle::uaDM}) {
    ASSERT_TRUE(cat.Convergence("LT 93", "WGS84", "700000", "6437909.15", 0, texte, unite));
    EXPECT_NEAR(TexteVersAngle(texte), 0, 1e-9);
  }
  // From a datum: the grid bearing of the meridian, the opposite sign.
  ASSERT_TRUE(cat.Convergence("WGS84", "LT 93", "45°", "6°", 0, texte, TUniteAngle::uaDegre));
  EXPECT_NEAR(TexteVersAngle(texte) * RadiansVersDegres, -2.17682332, 1e-5);
  EXPECT_THROW(cat.Convergence("WGS84", "LT 93", "45", "6°", 0, texte, TUniteAngle::uaDegre), EConversion);
  try {
    cat.Convergence("LT 93", "WGS84", "93 6341", "6437909", 0, texte, TUniteAngle::uaDegre);
    FAIL();
  } catch (const EConversion& e) {
    EXPECT_STREQ(e.what(), "Easting de départ incorrecte, exemple 231500");
  }
  try {
    cat.Convergence("NTF", "LT 2", "45°", "6", 0, texte, TUniteAngle::uaDegre);
    FAIL();
  } catch (const EConversion& e) {
    EXPECT_STREQ(e.what(), "Longitude de départ incorrecte, exemple 2°24'17.036''");
  }

  if (!oracle::ProjDisponible()) GTEST_SKIP() << "proj absent: no convergence oracle";
  oracle::AnnonceOracle("proj -V, meridian convergence");
  struct Cas {
    const char* systeme;
    const char* definition;
    double x, y;
    int32_t zone;
  };
  // proj -V takes a prime meridian into its convergence: the Paris meridian
  // is written into lon_0 instead.
  const std::string ntf = oracle::Figure(6378249.2, 0.0824832568);
  const std::string grs = oracle::Figure(AWGS84, EWGS84);
  const Cas cas[] = {
      {"LT 93", "+proj=lcc +lat_0=46.5 +lon_0=3 +lat_1=44 +lat_2=49 +x_0=700000 +y_0=6600000", 936341.26, 6437909.15,
       0},
      {"LT 93", "+proj=lcc +lat_0=46.5 +lon_0=3 +lat_1=44 +lat_2=49 +x_0=700000 +y_0=6600000", 250000, 6200000, 0},
      {"LT 2+", "+proj=lcc +lat_1=46.8 +lat_0=46.8 +lon_0=2.3372291666666667 +k_0=0.99987742 +x_0=600000 +y_0=2200000", 980000,
       1850000, 0},
      {"CC45", "+proj=lcc +lat_0=45 +lon_0=3 +lat_1=44.25 +lat_2=45.75 +x_0=1700000 +y_0=4200000", 1600000, 4250000,
       0},
      {"UTM", "+proj=utm +zone=32", 263553.97, 4987329.50, 32},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.systeme);
    const TDatum* datum = cat.Systeme(c.systeme).DatumDuSysteme();
    const std::string figure = datum->Nom == "NTF" ? ntf : grs;
    const auto attendu = oracle::ConvergenceProj(std::string(c.definition) + " " + figure, c.x, c.y);
    ASSERT_TRUE(attendu.has_value());
    ASSERT_TRUE(cat.Convergence(c.systeme, datum->Nom, foundation::ReelEnTexteExact(c.x), foundation::ReelEnTexteExact(c.y), c.zone, texte,
                                TUniteAngle::uaDegre));
    EXPECT_NEAR(TexteVersAngle(texte) * RadiansVersDegres, *attendu, 1e-5);
  }
}
