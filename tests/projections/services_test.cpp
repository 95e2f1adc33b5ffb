// The regional catalogues and the projection services.  Every test works
// inside a GardeProjections, so the process-wide catalogue is the same after
// it as before.
#include "projections/services.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <string>
#include <vector>

#include "catalogue_france.h"
#include "foundation/chaines.h"
#include "oracle_proj.h"
#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "projections/angles.h"
#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "tests/support/dossier_temp.h"

using namespace projections;

namespace {

const char* const kMessageNonListee =
    "La projection %s %s pour ce réseau ne figure pas dans la liste des projections. Vérifiez que la liste des "
    "projections utilisée est la bonne (menu configuration)";

std::string MessageNonListee(const std::string& nom, const std::string& qualificatif) {
  std::string r = kMessageNonListee;
  r.replace(r.find("%s"), 2, nom);
  r.replace(r.find("%s"), 2, qualificatif);
  return r;
}

// Lines of the catalogue beyond the two seeds.
int LignesChargees() {
  const TDonnees& c = CatalogueProjections();
  return c.NbEllipsoide() - 1 + c.NbDatum() - 1 + c.NbProjection() + c.NbMultiple();
}

std::vector<std::string> NomsDuCatalogue() {
  const TDonnees& c = CatalogueProjections();
  std::vector<std::string> r;
  for (const auto& o : c.LesEllipsoide()) r.push_back(o->Nom);
  for (const auto& o : c.LesDatum()) r.push_back(o->Nom);
  for (const auto& o : c.LesProjection()) r.push_back(o->Nom);
  for (const auto& o : c.LesMultiple()) r.push_back(o->Nom);
  return r;
}

std::vector<std::string> Multiples() {
  std::vector<std::string> r;
  for (const auto& o : CatalogueProjections().LesMultiple()) r.push_back(o->Nom);
  return r;
}

// The service functions run with a scripted dialog port of their own.
class Services : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ChargeListeProjections(RegionFrance)); }
  GardeProjections garde_;
  platform::ScriptedDialogs dialogues_;
  platform::ScopedDialogs port_{dialogues_};
};

}  // namespace

TEST_F(Services, RegionFranceEtListesDesRegions) {
  EXPECT_EQ(Projections().RegionCourante, 0);
  EXPECT_EQ(LignesChargees(), 26);
  // Each line is checked against its registry twin in regions_test.
  EXPECT_EQ(Regions()[0].Lignes.size(), 26u);
  EXPECT_EQ(Multiples(), (std::vector<std::string>{"UTM", "UTM ED50"}));

  const auto noms = NomsRegions();
  ASSERT_EQ(noms.size(), 10u);
  EXPECT_EQ(noms[0], "France");
  EXPECT_EQ(noms[3], "Amérique du Nord");
  EXPECT_EQ(noms[9], "Autres");

  // The hemisphere lines each region calls for, then the multi-zone systems
  // of its own list.
  struct Cas {
    int region;
    std::vector<std::string> multiples;
  };
  const Cas cas[] = {{1, {"UTM N", "UTM S"}},
                     {2, {"UTM N"}},
                     {3, {"UTM N", "MTM NAD27", "MTM NAD83"}},
                     {4, {"UTM N", "UTM S"}},
                     {5, {"UTM N", "UTM S"}},
                     {6, {"UTM N", "RT90 2.5 gon", "Deutsch KG", "Islandic KG 55"}},
                     {7, {"UTM S"}},
                     {8, {"UTM S"}},
                     {9, {"UTM N", "UTM S"}}, {0, {"UTM", "UTM ED50"}}};
  for (const auto& c : cas) {
    SCOPED_TRACE(c.region);
    ASSERT_TRUE(ChangeListeProjections(c.region));
    EXPECT_EQ(Projections().RegionCourante, c.region);
    EXPECT_EQ(Multiples(), c.multiples);
  }
  ASSERT_TRUE(ChangeListeProjections(9));
  EXPECT_EQ(NomsDuCatalogue(), (std::vector<std::string>{"GRS 80", "WGS84", "UTM N", "UTM S"}));
  EXPECT_EQ(CatalogueProjections().LaDescription("UTM S"), "UTM - WGS84 hémisphère sud");
  EXPECT_EQ(LigneProjection("UTM N"),
            "Multiple \"Transverse Mercator Multiple\"=\"UTM N\" \"UTM - WGS84 hémisphère nord\" \"WGS84\" 0.9996 "
            "500000 0 10000000 -177° 6°");

  // The same region again rebuilds nothing: a line added on top stays.
  CatalogueProjections().AjoutLigne("Datum=\"D\" \"x\" \"GRS 80\" 1 2 3");
  ASSERT_TRUE(ChangeListeProjections(9));
  EXPECT_TRUE(CatalogueProjections().UnDatum("D"));
  ASSERT_TRUE(ChargeListeProjections(9));
  EXPECT_FALSE(CatalogueProjections().UnDatum("D"));
  // A region index out of range changes nothing.
  EXPECT_FALSE(ChangeListeProjections(10));
  EXPECT_FALSE(ChargeListeProjections(-1));
  EXPECT_EQ(Projections().RegionCourante, 9);
}

TEST_F(Services, CatalogueCompletDansUnDossierEnLectureSeule) {
  testsupport::DossierTemp dossier;
  const std::string avant = platform::CurrentFolder();
  ASSERT_EQ(chmod(dossier.Chemin().c_str(), 0555), 0);
  ASSERT_TRUE(platform::SetCurrentFolder(dossier.Chemin()));
  ASSERT_TRUE(ChangeListeProjections(9));
  ASSERT_TRUE(ChangeListeProjections(0));
  const int lignes = LignesChargees();
  const bool temporaire = platform::FileExists(dossier.Fichier("ProjTmp.tmp"));
  platform::SetCurrentFolder(avant);
  chmod(dossier.Chemin().c_str(), 0755);
  EXPECT_EQ(lignes, 26);
  EXPECT_FALSE(temporaire);
}

TEST_F(Services, ChargeCatalogueDepuisUnFichier) {
  testsupport::DossierTemp dossier;
  EXPECT_EQ(ChargeCatalogue(dossier.Fichier("absent.txt")), 1);
  // Windows-1252 bytes, CR LF ends.
  testsupport::EcritOctets(dossier.Fichier("cat.txt"),
                           "Ellipsoide=\"Ell\" \"Ellipso\xEF" "de\" 6378000 0.08\r\n"
                           "Datum=\"D\" \"x\" \"Ell\" 1 2 3\r\n");
  EXPECT_EQ(ChargeCatalogue(dossier.Fichier("cat.txt")), 0);
  ASSERT_TRUE(CatalogueProjections().UnEllipsoide("Ell"));
  EXPECT_EQ(CatalogueProjections().UnEllipsoide("Ell")->Description, "Ellipsoïde");
  EXPECT_TRUE(CatalogueProjections().UnDatum("D"));
}

TEST_F(Services, WGS84VersUTM) {
  double x = 0, y = 0;
  std::string nom;
  int32_t zone = 0;
  ASSERT_EQ(WGS84VersUTM(45, 6, x, y, nom, zone), CodeFait);
  EXPECT_EQ(nom, "UTM");
  EXPECT_EQ(zone, 32);
  EXPECT_TRUE(dialogues_.Messages().empty());

  // South of the equator in a region without "UTM S": a message, then the
  // conversion in "UTM" with a southern zone.
  ASSERT_EQ(WGS84VersUTM(-21, 55.5, x, y, nom, zone), CodeFait);
  EXPECT_EQ(nom, "UTM");
  EXPECT_EQ(zone, -40);
  EXPECT_NEAR(x, 344093.454, 1e-3);
  EXPECT_NEAR(y, 7677120.884, 1e-3);
  ASSERT_EQ(dialogues_.Messages().size(), 1u);
  EXPECT_EQ(dialogues_.Messages()[0], MessageNonListee("UTM S", "calculée"));

  // Both hemisphere systems: the equator itself goes to "UTM S".
  ASSERT_TRUE(ChangeListeProjections(1));
  ASSERT_EQ(WGS84VersUTM(0, 3, x, y, nom, zone), CodeFait);
  EXPECT_EQ(nom, "UTM S");
  ASSERT_EQ(WGS84VersUTM(0.001, 3, x, y, nom, zone), CodeFait);
  EXPECT_EQ(nom, "UTM N");
  // Only the northern one: a southern point goes there, without a message.
  ASSERT_TRUE(ChangeListeProjections(2));
  dialogues_.Clear();
  ASSERT_EQ(WGS84VersUTM(-21, 55.5, x, y, nom, zone), CodeFait);
  EXPECT_EQ(nom, "UTM N");
  EXPECT_EQ(zone, -40);
  EXPECT_NEAR(y, 7677120.884, 1e-3);
  EXPECT_TRUE(dialogues_.Messages().empty());
  // No UTM at all: code 2, the outputs untouched.
  CatalogueProjections().InitDonnees();
  x = y = 1;
  nom = "avant";
  zone = 7;
  EXPECT_EQ(WGS84VersUTM(45, 6, x, y, nom, zone), CodeSecondInconnu);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(nom, "avant");
  EXPECT_EQ(zone, 7);

  if (!oracle::Cs2csDisponible()) GTEST_SKIP() << "cs2cs absent: UTM not compared with PROJ";
  oracle::AnnonceOracle("cs2cs, UTM zone 40 south");
  const auto attendu = oracle::Cs2cs("+proj=longlat +datum=WGS84", "+proj=utm +zone=40 +south +datum=WGS84",
                                     {{55.5, -21}});
  ASSERT_TRUE(attendu.has_value());
  ASSERT_TRUE(ChargeListeProjections(0));
  ASSERT_EQ(WGS84VersUTM(-21, 55.5, x, y, nom, zone), CodeFait);
  EXPECT_NEAR(x, (*attendu)[0][0], 1e-3);
  EXPECT_NEAR(y, (*attendu)[0][1], 1e-3);
}

TEST_F(Services, ConversionsEtCodes) {
  const double lat = 45 * DegresVersRadians, lon = 6 * DegresVersRadians;
  double x = 0, y = 0;
  int32_t zone = -5;
  // WGS84 to Lambert II étendu on NTF's fixed shift (no grid installed).
  ASSERT_EQ(DatumVersGrille("WGS84", "LT 2+", lat, lon, x, y, zone), CodeFait);
  EXPECT_NEAR(x, 888853.500, 1e-3);
  EXPECT_NEAR(y, 2006657.954, 1e-3);
  EXPECT_EQ(zone, 0);
  // And back.
  double la = 0, lo = 0;
  ASSERT_EQ(GrilleVersDatum("LT 2+", 0, x, y, "WGS84", la, lo), CodeFait);
  EXPECT_NEAR(la, lat, 1e-9);
  EXPECT_NEAR(lo, lon, 1e-9);
  // A multi-zone target takes and returns the zone.
  double xu, yu;
  int32_t zu = ZoneAChoisir;
  ASSERT_EQ(GrilleVersGrille("LT 2+", 0, x, y, "UTM", xu, yu, zu), CodeFait);
  EXPECT_EQ(zu, 32);
  zu = 31;
  double xf, yf;
  ASSERT_EQ(GrilleVersGrille("LT 2+", 0, x, y, "UTM", xf, yf, zu), CodeFait);
  EXPECT_EQ(zu, 31);
  EXPECT_GT(std::fabs(xf - xu), 1000);

  // Codes: unknown names, a datum where a grid is expected, and errors.  A
  // failed conversion leaves every output as it was.
  struct Cas {
    const char* quoi;
    int code;
    int resultat;
  };
  const double nan = std::nan("");
  double ox = 11, oy = 12;
  int32_t oz = 13;
  const Cas cas[] = {
      {"datum inconnu", CodePremierInconnu, DatumVersGrille("Inconnu", "LT 93", lat, lon, ox, oy, oz)},
      {"projection inconnue", CodeSecondInconnu, DatumVersGrille("WGS84", "Inconnu", lat, lon, ox, oy, oz)},
      {"datum comme grille", CodeSecondInconnu, DatumVersGrille("WGS84", "NTF", lat, lon, ox, oy, oz)},
      {"pôle sud en Mercator", CodeErreur, DatumVersGrille("WGS84", "Mercator", -M_PI / 2, 0, ox, oy, oz)},
      {"système inconnu", CodePremierInconnu, GrilleVersDatum("Inconnu", 0, 1, 2, "WGS84", ox, oy)},
      {"datum cible inconnu", CodeSecondInconnu, GrilleVersDatum("LT 93", 0, 7e5, 66e5, "Inconnu", ox, oy)},
      {"grille non finie", CodeErreur, GrilleVersDatum("LT 93", 0, nan, 66e5, "WGS84", ox, oy)},
      {"source inconnue", CodePremierInconnu, GrilleVersGrille("Inconnu", 0, 1, 2, "LT 93", ox, oy, oz)},
      {"cible inconnue", CodeSecondInconnu, GrilleVersGrille("LT 93", 0, 7e5, 66e5, "Inconnu", ox, oy, oz)},
      {"point non fini", CodeErreur, GrilleVersGrille("LT 93", 0, 7e5, nan, "UTM", ox, oy, oz)},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.quoi);
    EXPECT_EQ(c.resultat, c.code);
  }
  EXPECT_EQ(ox, 11);
  EXPECT_EQ(oy, 12);
  EXPECT_EQ(oz, 13);
}

TEST_F(Services, PointsConvertis) {
  foundation::TPointTopo p;
  p.Num = 4;
  p.X = 936341.26;
  p.Y = 6437909.15;
  p.Z = 512.5;
  p.SlH = 7;
  foundation::TPointTopo q = p;
  ASSERT_EQ(ChangeProjectionPoint("UTM", ZoneAChoisir, "LT 93", 0, q), CodeFait);
  EXPECT_GT(std::fabs(q.X - p.X), 1000);
  EXPECT_EQ(q.Z, p.Z);
  EXPECT_EQ(q.Num, p.Num);
  EXPECT_EQ(q.SlH, p.SlH);
  // And back to where it came from (zone 32, chosen from the longitude).
  ASSERT_EQ(ChangeProjectionPoint("LT 93", 0, "UTM", 32, q), CodeFait);
  EXPECT_NEAR(q.X, p.X, 1e-4);
  EXPECT_NEAR(q.Y, p.Y, 1e-4);

  // A failed conversion leaves the point as it was.
  struct Cas {
    const char* nouveau;
    const char* ancien;
    double y;
    int code;
  };
  const Cas echecs[] = {{"UTM", "Inconnu", p.Y, CodePremierInconnu},
                        {"Inconnu", "LT 93", p.Y, CodeSecondInconnu},
                        {"UTM", "LT 93", std::nan(""), CodeErreur}};
  for (const auto& c : echecs) {
    SCOPED_TRACE(std::string(c.nouveau) + " <- " + c.ancien);
    foundation::TPointTopo r = p;
    r.Y = c.y;
    EXPECT_EQ(ChangeProjectionPoint(c.nouveau, ZoneAChoisir, c.ancien, 0, r), c.code);
    EXPECT_EQ(r.X, p.X);
    EXPECT_EQ(r.Z, p.Z);
    // The same through a batch conversion.
    const TConversionGrille lot(c.ancien, 0, c.nouveau, ZoneAChoisir);
    double x = p.X, y = c.y;
    EXPECT_EQ(lot.Convertit(x, y), c.code);
    EXPECT_EQ(x, p.X);
  }
  // A batch conversion gives what the point routine gives.
  const TConversionGrille lot("LT 93", 0, "UTM", ZoneAChoisir);
  ASSERT_EQ(lot.Code(), CodeFait);
  for (double dx : {0.0, 2500.5, -40000.0}) {
    foundation::TPointTopo r = p;
    r.X += dx;
    double x = r.X, y = r.Y;
    ASSERT_EQ(ChangeProjectionPoint("UTM", ZoneAChoisir, "LT 93", 0, r), CodeFait);
    ASSERT_EQ(lot.Convertit(x, y), CodeFait);
    EXPECT_EQ(x, r.X);
    EXPECT_EQ(y, r.Y);
  }

  // To WGS84: a Lambert II northing given with its million prefix reads as
  // the zone's own.
  foundation::TPointTopo a = p, b = p;
  a.X = b.X = 600000;
  a.Y = 2150000;
  b.Y = 150000;
  ASSERT_TRUE(PtTopoVersWGS84(a, "LT 2", 0));
  ASSERT_TRUE(PtTopoVersWGS84(b, "LT 2", 0));
  EXPECT_EQ(a.LatPt, b.LatPt);
  EXPECT_EQ(a.LongPt, b.LongPt);
  EXPECT_EQ(a.Y, 2150000);  // the point itself keeps its northing
  foundation::TPointTopo c = p;
  c.LatPt = 1;
  c.LongPt = 2;
  EXPECT_FALSE(PtTopoVersWGS84(c, "", 0));
  EXPECT_FALSE(PtTopoVersWGS84(c, "Inconnu", 0));
  EXPECT_EQ(c.LatPt, 1);
  EXPECT_EQ(c.LongPt, 2);
  ASSERT_TRUE(PtTopoVersWGS84(c, "LT 93", 0));
  EXPECT_NEAR(c.LatPt * RadiansVersDegres, 45.0, 0.01);

  struct CasY {
    const char* nom;
    double y, attendu;
  };
  const CasY corrections[] = {
      {"LT 2", 2150000, 150000}, {"LT 2", 150000, 150000},   {"LT 4", 185000, 185000},
      {"LT 4", 4185000, 185000}, {"LT 93", 6600000, 6600000}, {"LT 1", 250000, 1250000},
      {"LT 1", 1250000, 1250000}, {"LT 2+", 250000, 2250000}, {"LT 2+", 2250000, 2250000},
      {"LT 3", 150000, 3150000}, {"LT 3", 3150000, 3150000},  {"lt 2", 2150000, 2150000},
  };
  for (const auto& k : corrections) {
    SCOPED_TRACE(std::string(k.nom) + " " + foundation::ReelEnTexteExact(k.y));
    EXPECT_EQ(CorrigeYLambert(k.nom, k.y), k.attendu);
  }
}

TEST_F(Services, Convergences) {
  // UTM zone 32 at 45° N, 6° E.
  double x, y;
  int32_t zone = 32;
  ASSERT_EQ(DatumVersGrille("WGS84", "UTM", 45 * DegresVersRadians, 6 * DegresVersRadians, x, y, zone), CodeFait);
  EXPECT_NEAR(ConvergenceUTM(32, x, y) * RadiansVersDegres, -2.12229972, 1e-5);
  // The same where the catalogue holds only "UTM N", or no UTM at all.
  ASSERT_TRUE(ChangeListeProjections(6));
  EXPECT_NEAR(ConvergenceUTM(32, x, y) * RadiansVersDegres, -2.12229972, 1e-5);
  CatalogueProjections().InitDonnees();
  EXPECT_NEAR(ConvergenceUTM(32, x, y) * RadiansVersDegres, -2.12229972, 1e-5);
  EXPECT_EQ(ConvergenceUTM(32, std::nan(""), y), 0);
  ASSERT_TRUE(ChargeListeProjections(0));

  // Numbers in and out; the text form only for display.
  double angle = 0;
  ASSERT_TRUE(ConvergenceProjectionNum("LT 93", "WGS84", 936341.26, 6437909.15, 0, angle));
  std::string texte;
  ASSERT_TRUE(ConvergenceProjection("LT 93", "WGS84", "936341.26", "6437909.15", 0, texte, 0));
  EXPECT_EQ(texte, AngleVersDegres(angle));
  ASSERT_TRUE(ConvergenceProjection("LT 93", "WGS84", "936341.26", "6437909.15", 0, texte, 1));
  EXPECT_EQ(texte, AngleVersDMS(angle));
  ASSERT_TRUE(ConvergenceProjection("LT 93", "WGS84", "936341.26", "6437909.15", 0, texte, 2));
  EXPECT_EQ(texte, AngleVersGrades(angle));
  ASSERT_TRUE(ConvergenceProjection("LT 93", "WGS84", "936341.26", "6437909.15", 0, texte, 3));
  EXPECT_EQ(texte, AngleVersDM(angle));
  texte = "inchangé";
  EXPECT_FALSE(ConvergenceProjection("LT 93", "WGS84", "93 6341", "6437909", 0, texte, 0));
  EXPECT_FALSE(ConvergenceProjection("Inconnu", "WGS84", "1", "2", 0, texte, 0));
  EXPECT_EQ(texte, "inchangé");
  angle = 5;
  EXPECT_FALSE(ConvergenceProjectionNum("LT 93", "Inconnu", 936341.26, 6437909.15, 0, angle));
  EXPECT_EQ(angle, 5);
  // A multi-zone destination measures in the zone of the point (32 here),
  // not in zone 0: the grid bearing of the meridian, opposite to the
  // convergence of the grid.
  double dansUTM;
  ASSERT_TRUE(ConvergenceProjectionNum("WGS84", "UTM", 45 * DegresVersRadians, 6 * DegresVersRadians, 0, dansUTM));
  EXPECT_NEAR(dansUTM, -ConvergenceUTM(32, x, y), 1e-7);
}

TEST_F(Services, Enumeration) {
  std::string texte;
  ASSERT_EQ(NombreProjections(), 18);
  ASSERT_EQ(NombreMultiples(), 2);
  ASSERT_EQ(NomProjection(0, texte), CodeFait);
  EXPECT_EQ(texte, "LT 93");
  ASSERT_EQ(DescriptionProjection(4, texte), CodeFait);
  EXPECT_EQ(texte, "Lambert II étendu");
  ASSERT_EQ(DescriptionMultiple(1, texte), CodeFait);
  EXPECT_EQ(texte, "Universal Transverse Mercator");
  texte = "inchangé";
  EXPECT_EQ(NomProjection(18, texte), CodePremierInconnu);
  EXPECT_EQ(NomProjection(-1, texte), CodePremierInconnu);
  EXPECT_EQ(NomMultiple(2, texte), CodePremierInconnu);
  EXPECT_EQ(texte, "inchangé");
  // Past index 255 nothing is given, however long the list.
  for (int i = 0; i < 300; ++i)
    CatalogueProjections().AjoutLigne("Projection \"Mercator sur sphère\"=\"M" + std::to_string(i) +
                                      "\" \"\" \"WGS84\" 0 0 0");
  ASSERT_GT(NombreProjections(), 256);
  EXPECT_EQ(NomProjection(255, texte), CodeFait);
  EXPECT_EQ(NomProjection(256, texte), CodePremierInconnu);
  ASSERT_TRUE(ChargeListeProjections(0));

  // One entry per name whatever its case; projections, then multi-zone
  // systems.
  CatalogueProjections().AjoutLigne("Projection \"Mercator sur sphère\"=\"lt 93\" \"\" \"WGS84\" 0 0 0");
  std::vector<std::string> liste{"ancien"};
  ListeNomsProjections(liste);
  ASSERT_EQ(liste.size(), 20u);
  EXPECT_EQ(liste.front(), "LT 93");
  EXPECT_EQ(liste[17], "Mercator");
  EXPECT_EQ(liste.back(), "UTM ED50");
  EXPECT_TRUE(VerifieProjectionListee("utm ed50"));
  EXPECT_TRUE(dialogues_.Messages().empty());
  EXPECT_FALSE(VerifieProjectionListee("RT 90"));
  ASSERT_EQ(dialogues_.Messages().size(), 1u);
  EXPECT_EQ(dialogues_.Messages()[0], MessageNonListee("RT 90", "utilisée"));

  int index = 0;
  bool multiple = false;
  ASSERT_TRUE(ChercheProjection("Michelin", index, multiple));
  EXPECT_EQ(index, 7);
  EXPECT_FALSE(multiple);
  ASSERT_TRUE(ChercheProjection("UTM ED50", index, multiple));
  EXPECT_EQ(index, 1);
  EXPECT_TRUE(multiple);
  ASSERT_TRUE(ChercheProjection("Inconnu", index, multiple));
  EXPECT_EQ(index, -1);

  std::string datum, ellipsoide;
  ASSERT_TRUE(DatumProjection("UTM ED50", datum));
  ASSERT_TRUE(EllipsoideProjection("UTM ED50", ellipsoide));
  EXPECT_EQ(datum, "ED 50");
  EXPECT_EQ(ellipsoide, "Hayford 09");
  ASSERT_TRUE(EllipsoideProjection("LT 93", ellipsoide));
  EXPECT_EQ(ellipsoide, "GRS 80");
  EXPECT_FALSE(DatumProjection("NTF", datum));
  EXPECT_FALSE(EllipsoideProjection("Inconnu", ellipsoide));
}

TEST_F(Services, LignesDeDefinition) {
  EXPECT_EQ(LigneProjection("UTM"), essai::LignesFrance()[14]);
  EXPECT_EQ(LigneProjection("Mercator"), essai::LignesFrance()[25]);
  EXPECT_EQ(LigneProjection("LT 2"), essai::LignesFrance()[8]);
  EXPECT_EQ(LigneProjection("NTF"), "");
  EXPECT_EQ(LigneProjection("Inconnu"), "");
  EXPECT_EQ(LigneDatumProjection("LT 93"), "");  // "WGS84" is a seed
  EXPECT_EQ(LigneEllipsoideProjection("UTM"), "");
  EXPECT_EQ(LigneDatumProjection("LT 1"), essai::LignesFrance()[3]);
  EXPECT_EQ(LigneEllipsoideProjection("LT 1"), essai::LignesFrance()[0]);
  // The list's own text, not the line the object would write back.
  EXPECT_EQ(LigneEllipsoideProjection("UTM ED50"), essai::LignesFrance()[1]);
  EXPECT_EQ(LigneProjection("Michelin"), essai::LignesFrance()[13]);

  // A document carries its system to a region that lacks it.
  const TParamsProj michelin = ChercheParamsProj("Michelin");
  EXPECT_EQ(michelin.Ellipsoide, essai::LignesFrance()[2]);
  EXPECT_EQ(michelin.Datum, essai::LignesFrance()[5]);
  EXPECT_EQ(michelin.Projection, essai::LignesFrance()[13]);
  const TParamsProj utm = ChercheParamsProj("UTM");
  EXPECT_EQ(utm.Projection, essai::LignesFrance()[14]);
  EXPECT_EQ(utm.Datum, "");
  EXPECT_EQ(ChercheParamsProj("").Projection, "");
  double x0, y0, x1, y1;
  int32_t zone = 0;
  ASSERT_EQ(DatumVersGrille("WGS84", "Michelin", 0.8, 0.05, x0, y0, zone), CodeFait);

  ASSERT_TRUE(ChangeListeProjections(9));
  EXPECT_TRUE(ChargeParamsProj("Michelin", michelin));
  ASSERT_EQ(dialogues_.Messages().size(), 1u);  // warned before its lines were added
  EXPECT_EQ(dialogues_.Messages()[0], MessageNonListee("Michelin", "utilisée"));
  ASSERT_EQ(DatumVersGrille("WGS84", "Michelin", 0.8, 0.05, x1, y1, zone), CodeFait);
  EXPECT_EQ(x1, x0);
  EXPECT_EQ(y1, y0);
  // Saved again from this region, the system keeps its definition.
  const TParamsProj encore = ChercheParamsProj("Michelin");
  EXPECT_FALSE(encore.Ellipsoide.empty());
  EXPECT_FALSE(encore.Datum.empty());
  EXPECT_FALSE(encore.Projection.empty());
  // A hemisphere system travels the same way.
  const TParamsProj sud = ChercheParamsProj("UTM S");
  EXPECT_EQ(sud.Projection, LigneUTMHemisphere(true));
  ASSERT_TRUE(ChargeListeProjections(0));
  EXPECT_TRUE(ChargeParamsProj("Michelin", encore));  // duplicates are dropped
  EXPECT_TRUE(ChargeParamsProj("UTM S", sud));
  EXPECT_TRUE(CatalogueProjections().UneProjection("UTM S"));
  EXPECT_EQ(LignesChargees(), 27);
  EXPECT_TRUE(ChargeParamsProj("", {}));
  EXPECT_FALSE(ChargeParamsProj("RT 90", {}));
}

TEST(ContexteProjections, GardeRemetLeCatalogueEnPlace) {
  TDonnees* avant = &CatalogueProjections();
  const int region = Projections().RegionCourante;
  avant->AjoutLigne("Datum=\"Document\" \"x\" \"GRS 80\" 1 2 3");
  {
    GardeProjections garde;
    EXPECT_NE(&CatalogueProjections(), avant);
    EXPECT_EQ(Projections().RegionCourante, region);
    EXPECT_FALSE(CatalogueProjections().UnDatum("Document"));
    ASSERT_TRUE(ChangeListeProjections(region == 9 ? 0 : 9));
  }
  EXPECT_EQ(&CatalogueProjections(), avant);
  EXPECT_EQ(Projections().RegionCourante, region);
  EXPECT_TRUE(CatalogueProjections().UnDatum("Document"));
  ASSERT_TRUE(CatalogueProjections().RetireDatum("Document"));
}
