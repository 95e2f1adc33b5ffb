// The GPX export: text escaping, the track's walk out along every branch and
// back, on hand-built caves and on a real TopoDroid survey (PROJ's cs2cs,
// xmllint and gpsbabel as oracles when installed).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <regex>

#include "formats/export/gpx/export_gpx.h"
#include "foundation/transformation_vue.h"
#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "projections/services.h"
#include "survey/visee.h"
#include "tests/formats/import_test_support.h"
#include "tests/projections/oracle_proj.h"
#include "tests/survey/survex_oracle.h"

namespace testformats {
namespace {

const std::string kDossierTherion = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/therion/";

TEST(TexteGpx, EchappementEtCData) {
  struct Cas {
    std::string texte, attendu;
  } cas[] = {
      {"Salle 12", "Salle 12"},
      {"A & B", "<![CDATA[ A & B ]]>"},
      {"<x>", "<![CDATA[ <x> ]]>"},
      {"a]]>b&", "<![CDATA[ a]]]]><![CDATA[>b& ]]>"},
      {"Œil & bœuf", "<![CDATA[ ]]>&#338;<![CDATA[il & b]]>&#339;<![CDATA[uf ]]>"},
      {"l'été \"2\"", "l&apos;été &quot;2&quot;"},
      {"2 € ’", "2 &#8364; &#8217;"},
  };
  for (const Cas& c : cas) EXPECT_EQ(formats::TexteCData(c.texte), c.attendu) << c.texte;
  EXPECT_EQ(formats::EchappeXml("Puits & <Salle>"), "Puits &amp; &lt;Salle&gt;");
  EXPECT_EQ(formats::BaliseTexte("name", "x"), "<name>x</name>");
  EXPECT_EQ(formats::BaliseAttributs("wpt", " lat=\"1\">"), "<wpt lat=\"1\"></wpt>");
}

TEST(TexteGpx, Reels) {
  struct Cas {
    double x;
    const char* attendu;
  } cas[] = {{45.123456789012345, "45.1234567890123"}, {3005, "3005"}, {-0.5, "-0.5"},
             {1e-7, "0.0000001"},                      {0, "0"},       {-1e-20, "0"}};
  for (const Cas& c : cas) EXPECT_EQ(formats::ReelGpx(c.x), c.attendu) << c.x;
}

// A cave built by hand: stations in computation order, each reached from its
// origin; the shot lists say how many shots touch each station.
struct CaveMain {
  std::vector<std::unique_ptr<TPointSpeleo>> points;
  std::vector<std::unique_ptr<TVisee>> visees;
  std::unique_ptr<TCavite> cavite = std::make_unique<TCavite>();
  std::map<const TPointSpeleo*, std::string> noms;

  TPointSpeleo* Point(const std::string& nom) {
    points.push_back(std::make_unique<TPointSpeleo>());
    noms[points.back().get()] = nom;
    points.back()->DesignPTopo = nom;
    cavite->ListePoints.Add(points.back().get());
    return points.back().get();
  }
  void Relie(TPointSpeleo* de, TPointSpeleo* a) {
    visees.push_back(std::make_unique<TVisee>());
    visees.back()->PtOrigCalc = de;
    a->ViseeAvant = visees.back().get();
    // As the network's walk leaves them: the arriving shot out of the
    // station's list, the departing ones in it.
    de->LstVis.push_back(visees.back().get());
  }
  ~CaveMain() {
    for (auto& p : points) {
      p->LstVis.clear();
      p->ViseeAvant = nullptr;
    }
    for (auto& v : visees) v->PtOrigCalc = nullptr;
    cavite->ListePoints.Vide();
    cavite.reset();
  }
};

// The station names of the track, as the walk visits them (positions are
// not converted: the writer is asked for names only).
std::vector<std::string> Parcours(const CaveMain& c) {
  std::vector<std::unique_ptr<formats::TGPXPolyligne>> polylignes;
  formats::CreePolylignesGpx(*c.cavite, polylignes);
  std::vector<std::string> r;
  if (polylignes.empty()) return r;
  formats::ParcourtPolylignesGpx(*polylignes.back(), [&](const TPointSpeleo& p) { r.push_back(c.noms.at(&p)); });
  return r;
}

TEST(TraceGpx, LineaireEtRamifiee) {
  {
    // Surface point s, then S1..S4 in a line.
    CaveMain c;
    TPointSpeleo* s = c.Point("s");
    TPointSpeleo* prec = s;
    for (const char* n : {"1", "2", "3", "4"}) {
      TPointSpeleo* p = c.Point(n);
      c.Relie(prec, p);
      prec = p;
    }
    EXPECT_EQ(Parcours(c), (std::vector<std::string>{"1", "1", "2", "2", "3", "3", "4", "4", "3", "3", "2", "2", "1",
                                                      "1"}));
  }
  {
    // 1 - 2 - 3, a branch 2 - a - b, and a station without arriving shot.
    CaveMain c;
    TPointSpeleo* s = c.Point("s");
    TPointSpeleo* p1 = c.Point("1");
    c.Relie(s, p1);
    TPointSpeleo* p2 = c.Point("2");
    c.Relie(p1, p2);
    TPointSpeleo* p3 = c.Point("3");
    c.Relie(p2, p3);
    TPointSpeleo* a = c.Point("a");
    c.Relie(p2, a);
    c.Point("isole");
    TPointSpeleo* b = c.Point("b");
    c.Relie(a, b);
    const auto r = Parcours(c);
    // "a" is touched by two shots: a piece ends there too.
    EXPECT_EQ(r, (std::vector<std::string>{"1", "1", "2", "2", "a", "a", "b", "b", "a", "a", "2", "2", "3", "3", "2",
                                           "2", "1", "1"}));
  }
}

TEST(TraceGpx, CentMilleStationsSansRecursion) {
  CaveMain c;
  TPointSpeleo* prec = c.Point("s");
  for (int i = 1; i <= 100000; ++i) {
    TPointSpeleo* p = c.Point(std::to_string(i));
    c.Relie(prec, p);
    prec = p;
  }
  const auto r = Parcours(c);
  ASSERT_EQ(r.size(), 4u * 100000 - 2);
  EXPECT_EQ(r.front(), "1");
  EXPECT_EQ(r[4u * 100000 / 2 - 1], "100000");
  EXPECT_EQ(r.back(), "1");
}

std::vector<std::array<double, 2>> PointsTrace(const std::vector<std::string>& lignes, const std::string& balise) {
  std::vector<std::array<double, 2>> r;
  const std::regex motif("<" + balise + " lat=\"([-0-9.]+)\" lon=\"([-0-9.]+)\">");
  for (const std::string& l : lignes) {
    std::smatch m;
    if (!std::regex_search(l, m, motif)) continue;
    double lat = 0, lon = 0;
    foundation::LitReel(m[1].str(), lat);
    foundation::LitReel(m[2].str(), lon);
    r.push_back({lat, lon});
  }
  return r;
}

TEST(FichierGpx, M1bCommeCs2cs) {
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionFrance));
  ReseauImport r;
  ASSERT_TRUE(r.Importe(kDossierTherion + "M1b.th", formats::TypeImportTopoDroid));
  formats::TFichierGPX fichier(r.R());
  formats::ConstruitGpx(r.R(), true, fichier);
  EXPECT_EQ(fichier.NonConvertis, 0);
  const auto trace = PointsTrace(fichier.Lignes, "trkpt");
  ASSERT_EQ(trace.size(), 90u);
  std::vector<const TPointSpeleo*> attendu;
  for (int i = 1; i <= 23; ++i) attendu.insert(attendu.end(), 2, r.Station(std::to_string(i)));
  for (int i = 22; i >= 1; --i) attendu.insert(attendu.end(), 2, r.Station(std::to_string(i)));
  ASSERT_EQ(attendu.size(), 90u);
  const auto surface = PointsTrace(fichier.Lignes, "wpt");
  ASSERT_EQ(surface.size(), 1u);
  const TPointSpeleo* zero = r.PointSurface("0");
  ASSERT_NE(zero, nullptr);
  bool nomZero = false;
  for (const std::string& l : fichier.Lignes) nomZero |= l.find("<name>0</name>") != std::string::npos;
  EXPECT_TRUE(nomZero);
  // Every point against PROJ's conversion of the computed station.
  std::vector<std::array<double, 2>> projetes;
  for (const TPointSpeleo* p : attendu) {
    ASSERT_NE(p, nullptr);
    projetes.push_back({p->X, p->Y});
  }
  projetes.push_back({zero->X, zero->Y});
  const foundation::ContexteVue& vue = foundation::Vue();
  projetes.push_back({vue.Xmin, vue.Ymin});
  projetes.push_back({vue.Xmax, vue.Ymax});
  const auto oracle = oracle::Cs2cs("+proj=utm +zone=32 +datum=WGS84", "+proj=longlat +datum=WGS84", projetes);
  if (oracle) {
    oracle::AnnonceOracle("cs2cs");
    // 1e-8 degree is about a millimetre.
    for (size_t i = 0; i < trace.size(); ++i) {
      EXPECT_NEAR(trace[i][0], (*oracle)[i][1], 1e-8) << i;
      EXPECT_NEAR(trace[i][1], (*oracle)[i][0], 1e-8) << i;
    }
    EXPECT_NEAR(surface[0][0], (*oracle)[90][1], 1e-8);
    EXPECT_NEAR(surface[0][1], (*oracle)[90][0], 1e-8);
    std::string bornes;
    for (const std::string& l : fichier.Lignes)
      if (l.rfind("<bounds", 0) == 0) bornes = l;
    const std::regex motif("minlat=\"([-0-9.]+)\" minlon=\"([-0-9.]+)\" maxlat=\"([-0-9.]+)\" maxlon=\"([-0-9.]+)\"");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(bornes, m, motif)) << bornes;
    double v[4];
    for (int i = 0; i < 4; ++i) foundation::LitReel(m[i + 1].str(), v[i]);
    EXPECT_NEAR(v[0], (*oracle)[91][1], 1e-8);
    EXPECT_NEAR(v[1], (*oracle)[91][0], 1e-8);
    EXPECT_NEAR(v[2], (*oracle)[92][1], 1e-8);
    EXPECT_NEAR(v[3], (*oracle)[92][0], 1e-8);
  }
  // Saved through the dialog, read back by xmllint and gpsbabel.
  const std::string chemin = r.Dossier.Fichier("m1b.gpx");
  r.Dialogues.QueueFile(chemin);
  ASSERT_TRUE(formats::GenereFichierGpx(r.R(), true));
  if (oracle::ProgrammeDisponible("xmllint")) {
    EXPECT_TRUE(oracle::Execute("xmllint --noout '" + chemin + "'", "").has_value());
  }
  if (oracle::ProgrammeDisponible("gpsbabel")) {
    const auto sortie = oracle::Execute("gpsbabel -w -t -i gpx -f '" + chemin + "' -o gpx -F -", "");
    ASSERT_TRUE(sortie.has_value());
    auto compte = [&](const std::string& motif) {
      int n = 0;
      for (size_t p = sortie->find(motif); p != std::string::npos; p = sortie->find(motif, p + 1)) ++n;
      return n;
    };
    EXPECT_EQ(compte("<trkpt "), 90) << *sortie;
    EXPECT_EQ(compte("<wpt "), 1) << *sortie;
  }
}

TEST(FichierGpx, SurfaceSeuleEtLatin1) {
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionFrance));
  ReseauImport r;
  r.R().Projection = "UTM";
  r.R().NumFuseau = 32;
  TPointSpeleo* zero = TPointsSurface(*r.R().LesPointsSurface()).AjoutePointImport("Puits & <Salle>", "Œil-de-bœuf 2 €", 326903.675,
                                                                   5026481.521, 3005, "UTM", 32);
  ASSERT_NE(zero, nullptr);
  formats::TFichierGPX fichier(r.R());
  formats::ConstruitGpx(r.R(), true, fichier);
  int wpt = 0, trk = 0, bounds = 0;
  for (const std::string& l : fichier.Lignes) {
    wpt += l.find("<wpt") != std::string::npos;
    trk += l.find("<trk") != std::string::npos;
    bounds += l.find("<bounds") != std::string::npos;
  }
  EXPECT_EQ(wpt, 1);
  EXPECT_EQ(trk, 0);
  EXPECT_EQ(fichier.Lignes.back(), "</gpx>");
  const std::string chemin = r.Dossier.Fichier("surface.gpx");
  r.Dialogues.QueueFile(chemin);
  ASSERT_TRUE(formats::GenereFichierGpx(r.R(), true));
  const std::string octets = testsupport::LitOctets(chemin);
  EXPECT_NE(octets.find("<![CDATA[ Puits & <Salle> ]]>"), std::string::npos);
  EXPECT_NE(octets.find("&#8364;"), std::string::npos);
  EXPECT_EQ(octets.find('?'), octets.find("?xml") + 0) << "only the declaration holds '?'";
  if (oracle::ProgrammeDisponible("gpsbabel")) {
    const auto sortie = oracle::Execute("gpsbabel -i gpx -f '" + chemin + "' -o unicsv -F -", "");
    ASSERT_TRUE(sortie.has_value());
    EXPECT_NE(sortie->find("Puits & <Salle>"), std::string::npos) << *sortie;
    EXPECT_NE(sortie->find("Œil-de-bœuf 2 €"), std::string::npos) << *sortie;
  }
}

TEST(FichierGpx, PointsNonConvertisLaissesDeCote) {
  // A network without coordinate system: no point converts, none is written
  // as an empty "<trkpt</trkpt>", one warning gives their number.
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionFrance));
  ReseauImport r;
  ASSERT_TRUE(r.Importe(kDossierTherion + "M1b.th", formats::TypeImportTopoDroid));
  r.R().Projection.clear();
  const std::string chemin = r.Dossier.Fichier("sans.gpx");
  r.Dialogues.QueueFile(chemin);
  ASSERT_TRUE(formats::GenereFichierGpx(r.R(), true));
  const std::string octets = testsupport::LitOctets(chemin);
  EXPECT_EQ(octets.find("<trkpt"), std::string::npos);
  EXPECT_EQ(octets.find("<wpt"), std::string::npos);
  EXPECT_EQ(octets.find("<bounds"), std::string::npos);
  ASSERT_FALSE(r.Dialogues.Messages().empty());
  // 90 track points, the waypoint and the two corners of the bounds.
  EXPECT_EQ(r.Dialogues.Messages()[0].rfind("93 point(s)", 0), 0u) << r.Dialogues.Messages()[0];
  if (oracle::ProgrammeDisponible("xmllint")) {
    EXPECT_TRUE(oracle::Execute("xmllint --noout '" + chemin + "'", "").has_value());
  }
}

// A branched cave surveyed by hand in Lambert 93 (its trip without
// declination, so without convergence either) and its Survex twin: the track
// goes out to every branch end and comes back, each point on Survex's
// position of its station.
TEST(FichierGpx, CaviteRamifieeLambert93SelonSurvex) {
  for (const char* p : {"cavern", "survexport", "cs2cs"})
    if (!oracle::ProgrammeDisponible(p)) GTEST_SKIP() << p << " is not installed";
  const std::string visees =
      "E 1 5.0 10 -20\n1 2 6.0 45 -5\n2 3 4.0 90 0\n3 4 5.5 120 10\n4 5 3.0 100 -3\n"
      "2 B1 4.0 300 -10\nB1 B2 3.5 330 5\n4 C1 2.5 200 -30\n";
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionFrance));
  ReseauImport r;
  const std::string th = r.Dossier.Fichier("L93.th");
  testsupport::EcritOctets(th,
                           "encoding utf-8\nsurvey L93 -title \"L93\"\n  centerline\n    date 2024.05.01\n"
                           "    declination 0 degrees\n    fix E 700100.00 6600200.00 500\n"
                           "    units length meters\n    units compass clino degrees\n"
                           "    data normal from to length compass clino\n" +
                               visees + "  endcenterline\nendsurvey\n");
  ASSERT_TRUE(r.Importe(th, formats::TypeImportTopoDroid));
  r.R().Projection = "LT 93";
  r.R().NumFuseau = 0;
  testsupport::EcritOctets(r.Dossier.Fichier("l93.svx"),
                           "*cs EPSG:2154\n*cs out EPSG:2154\n*fix E 700100.00 6600200.00 500\n"
                           "*data normal from to tape compass clino\n" +
                               visees);
  const std::string d = "cd '" + r.Dossier.Chemin() + "' && ";
  ASSERT_TRUE(oracle::Execute(d + "cavern l93.svx && survexport --gpx l93.3d l93.gpx", "").has_value());
  std::map<std::string, std::array<double, 3>> survex;  // lower-case name: lon, lat, ele
  const std::string texte = testsupport::LitOctets(r.Dossier.Fichier("l93.gpx"));
  const std::regex wpt(R"re(<wpt lon="([-0-9.]+)" lat="([-0-9.]+)"><ele>([-0-9.]+)</ele><name>([^<]+)</name>)re");
  for (auto it = std::sregex_iterator(texte.begin(), texte.end(), wpt); it != std::sregex_iterator(); ++it) {
    std::array<double, 3> v{};
    for (int i = 0; i < 3; ++i) foundation::LitReel((*it)[i + 1].str(), v[static_cast<size_t>(i)]);
    survex[(*it)[4].str()] = v;
  }
  ASSERT_EQ(survex.size(), 9u) << texte;

  formats::TFichierGPX fichier(r.R());
  formats::ConstruitGpx(r.R(), true, fichier);
  EXPECT_EQ(fichier.NonConvertis, 0);
  // The stations as the track visits them.
  std::vector<std::unique_ptr<formats::TGPXPolyligne>> polylignes;
  formats::CreePolylignesGpx(*r.Cavite(), polylignes);
  ASSERT_FALSE(polylignes.empty());
  std::vector<std::string> noms;
  formats::ParcourtPolylignesGpx(*polylignes.back(), [&](const TPointSpeleo& p) {
    std::string n = p.DesignPTopo;
    for (char& c : n) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    noms.push_back(n);
  });
  const auto trace = PointsTrace(fichier.Lignes, "trkpt");
  ASSERT_EQ(trace.size(), noms.size());
  // Out to every branch end and back to the first station.
  for (const char* fin : {"5", "b2", "c1"}) EXPECT_NE(std::find(noms.begin(), noms.end(), fin), noms.end()) << fin;
  EXPECT_EQ(noms.front(), "1");
  EXPECT_EQ(noms.back(), "1");
  // Each track point against Survex's station, both back in Lambert 93 metres.
  std::vector<std::array<double, 2>> geo;
  for (size_t i = 0; i < trace.size(); ++i) {
    ASSERT_TRUE(survex.count(noms[i])) << noms[i];
    geo.push_back({trace[i][1], trace[i][0]});
    geo.push_back({survex[noms[i]][0], survex[noms[i]][1]});
  }
  const auto metres = oracle::Cs2cs("+proj=longlat +datum=WGS84", "EPSG:2154", geo);
  ASSERT_TRUE(metres.has_value());
  for (size_t i = 0; i < trace.size(); ++i) {
    const auto& a = (*metres)[2 * i];
    const auto& b = (*metres)[2 * i + 1];
    EXPECT_LE(std::hypot(a[0] - b[0], a[1] - b[1]), 0.01) << i << " " << noms[i];
  }
}

}  // namespace
}  // namespace testformats
