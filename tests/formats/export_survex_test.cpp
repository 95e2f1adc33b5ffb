// The KML and GPX exports of a real TopoDroid survey against Survex: Therion
// turns the same survey (declination 0) into a Survex .3d file, survexport
// writes its stations in WGS84, and every point of our files, converted back
// to UTM metres by cs2cs, lies within 0.01 m of Survex's station.  Our KML is
// read back through gpsbabel.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <map>
#include <regex>

#include "formats/export/gpx/export_gpx.h"
#include "formats/export/kml/export_kml.h"
#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "tests/formats/import_test_support.h"
#include "tests/projections/oracle_proj.h"

namespace testformats {
namespace {

const std::string kM1b = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/therion/M1b.th";
const std::string kUtm32 = "+proj=utm +zone=32 +datum=WGS84";
const std::string kWgs84 = "+proj=longlat +datum=WGS84";

struct PointGeo {
  double lon = 0, lat = 0, z = 0;
};

double Reel(const std::string& s) {
  double v = 0;
  EXPECT_TRUE(foundation::LitReel(s, v)) << s;
  return v;
}

// Survex's stations of M1b by name ("0" to "23"), from survexport's GPX
// waypoints and KML placemarks; empty when a program is missing.
struct StationsSurvex {
  std::map<std::string, PointGeo> gpx, kml;
};

std::optional<StationsSurvex> LanceSurvex(const testsupport::DossierTemp& dossier) {
  for (const char* p : {"therion", "survexport", "cs2cs"})
    if (!oracle::ProgrammeDisponible(p)) return std::nullopt;
  // The survey with its declination set to 0, imported the same way.
  std::string texte = testsupport::LitOctets(kM1b);
  const size_t cs = texte.find("cs UTM32\n");
  EXPECT_NE(cs, std::string::npos);
  texte.insert(cs + 9, "    declination 0 degrees\n");
  testsupport::EcritOctets(dossier.Fichier("M1b.th"), texte);
  testsupport::EcritOctets(dossier.Fichier("thconfig"), "source M1b.th\nexport model -fmt survex -o m1b.3d\n");
  const std::string d = "cd '" + dossier.Chemin() + "' && ";
  if (!oracle::Execute(d + "therion thconfig", "") ||
      !oracle::Execute(d + "survexport --gpx m1b.3d m1b.gpx && survexport --kml m1b.3d m1b.kml", "")) {
    ADD_FAILURE() << "therion or survexport failed";
    return std::nullopt;
  }
  StationsSurvex r;
  const std::string gpx = testsupport::LitOctets(dossier.Fichier("m1b.gpx"));
  const std::regex wpt(R"re(<wpt lon="([-0-9.]+)" lat="([-0-9.]+)"><ele>([-0-9.]+)</ele><name>M1b\.([^<]+)</name>)re");
  for (auto it = std::sregex_iterator(gpx.begin(), gpx.end(), wpt); it != std::sregex_iterator(); ++it)
    r.gpx[(*it)[4].str()] = {Reel((*it)[1]), Reel((*it)[2]), Reel((*it)[3])};
  const std::string kml = testsupport::LitOctets(dossier.Fichier("m1b.kml"));
  const std::regex pm(
      R"re(<Placemark><Point><coordinates>([-0-9.]+),([-0-9.]+),([-0-9.]+)</coordinates></Point><name>M1b\.([^<]+)</name>)re");
  for (auto it = std::sregex_iterator(kml.begin(), kml.end(), pm); it != std::sregex_iterator(); ++it)
    r.kml[(*it)[4].str()] = {Reel((*it)[1]), Reel((*it)[2]), Reel((*it)[3])};
  return r;
}

// Latitude and longitude attributes of the given element, in file order.
std::vector<PointGeo> Points(const std::string& texte, const std::string& balise) {
  std::vector<PointGeo> r;
  const std::regex motif("<" + balise + R"re( lat="([-0-9.]+)" lon="([-0-9.]+)">\s*<ele>([-0-9.]+)</ele>)re");
  for (auto it = std::sregex_iterator(texte.begin(), texte.end(), motif); it != std::sregex_iterator(); ++it)
    r.push_back({Reel((*it)[2]), Reel((*it)[1]), Reel((*it)[3])});
  return r;
}

// Each of our points against Survex's station of the same name, both
// converted to UTM 32 metres.
void CompareEnMetres(const std::vector<PointGeo>& nous, const std::vector<std::string>& noms,
                     const std::map<std::string, PointGeo>& survex) {
  ASSERT_EQ(nous.size(), noms.size());
  std::vector<std::array<double, 2>> geo;
  for (size_t i = 0; i < nous.size(); ++i) {
    const auto it = survex.find(noms[i]);
    ASSERT_NE(it, survex.end()) << noms[i];
    geo.push_back({nous[i].lon, nous[i].lat});
    geo.push_back({it->second.lon, it->second.lat});
  }
  const auto m = oracle::Cs2cs(kWgs84, kUtm32, geo);
  ASSERT_TRUE(m.has_value());
  for (size_t i = 0; i < nous.size(); ++i) {
    const auto& a = (*m)[2 * i];
    const auto& b = (*m)[2 * i + 1];
    EXPECT_LE(std::hypot(a[0] - b[0], a[1] - b[1]), 0.01) << i << " station " << noms[i];
    EXPECT_NEAR(nous[i].z, survex.at(noms[i]).z, 0.01) << i << " station " << noms[i];
  }
}

TEST(ExportSelonSurvex, M1bEnGpxEtKml) {
  testsupport::DossierTemp dossier;
  const auto survex = LanceSurvex(dossier);
  if (!survex) GTEST_SKIP() << "therion, survexport or cs2cs is not installed";
  ASSERT_EQ(survex->gpx.size(), 24u);
  ASSERT_EQ(survex->kml.size(), 24u);
  std::cout << "[ oracle  ] Therion and survexport\n";
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionFrance));
  // The same copy as Therion's: the exports are compared, not the declinations.
  ReseauImport r;
  ASSERT_TRUE(r.Importe(dossier.Fichier("M1b.th"), formats::TypeImportTopoDroid));

  // GPX: the waypoint "0" and the 90 points of the track out and back.
  const std::string gpx = dossier.Fichier("nous.gpx");
  r.Dialogues.QueueFile(gpx);
  ASSERT_TRUE(formats::GenereFichierGpx(r.R(), true));
  const std::string texteGpx = testsupport::LitOctets(gpx);
  std::vector<std::string> noms;
  for (int i = 1; i <= 23; ++i) noms.insert(noms.end(), 2, std::to_string(i));
  for (int i = 22; i >= 1; --i) noms.insert(noms.end(), 2, std::to_string(i));
  {
    SCOPED_TRACE("GPX track");
    CompareEnMetres(Points(texteGpx, "trkpt"), noms, survex->gpx);
  }
  {
    SCOPED_TRACE("GPX waypoint");
    CompareEnMetres(Points(texteGpx, "wpt"), {"0"}, survex->gpx);
  }

  // KML read by gpsbabel: the surface point, then the survey line from
  // station 23 back to the surface point.
  const std::string kml = dossier.Fichier("nous.kml");
  r.Dialogues.QueueFile(kml);
  ASSERT_TRUE(formats::GenereFichierKml(r.R(), formats::KmlObjetsDefaut));
  if (!oracle::ProgrammeDisponible("gpsbabel")) return;
  const auto lu = oracle::Execute("gpsbabel -i kml -f '" + kml + "' -o gpx -F -", "");
  ASSERT_TRUE(lu.has_value());
  // gpsbabel writes nine decimals.
  EXPECT_TRUE(std::regex_search(*lu, std::regex(R"re(lat="[0-9]+\.[0-9]{9}")re"))) << *lu;
  {
    SCOPED_TRACE("KML point");
    CompareEnMetres(Points(*lu, "wpt"), {"0"}, survex->kml);
  }
  const size_t debut = lu->find("<trk>");
  ASSERT_NE(debut, std::string::npos);
  const std::string premiereTrace = lu->substr(debut, lu->find("</trk>", debut) - debut);
  std::vector<std::string> ligne;
  for (int i = 23; i >= 0; --i) ligne.push_back(std::to_string(i));
  SCOPED_TRACE("KML survey line");
  CompareEnMetres(Points(premiereTrace, "trkpt"), ligne, survex->kml);
}

}  // namespace
}  // namespace testformats
