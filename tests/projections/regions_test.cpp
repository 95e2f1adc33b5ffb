// The regional catalogues 1 to 8: every line loads, the names and order are
// those of the committed source table, and every projection and datum is
// checked against its registry twin through PROJ (projinfo for the registry
// definitions, cs2cs for the grids, cct for the datum shifts).  The France
// region's lines are checked the same way against twins named here.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/chaines.h"
#include "oracle_proj.h"
#include "platform/scripted_dialogs.h"
#include "projections/angles.h"
#include "projections/contexte_projections.h"
#include "projections/datum.h"
#include "projections/donnees.h"
#include "projections/regions.h"

using namespace projections;

namespace {

// One row of projections/outils/sources_regions.tsv.
struct TSource {
  int region;
  char nature;
  std::string nom, code, note;
};

std::vector<TSource> TableDesSources() {
  std::ifstream f(std::string(GRAVELUNE_SOURCE_DIR) + "/projections/outils/sources_regions.tsv");
  std::vector<TSource> r;
  std::string ligne;
  while (std::getline(f, ligne)) {
    if (ligne.empty() || ligne[0] == '#') continue;
    std::vector<std::string> champs;
    std::istringstream flux(ligne);
    std::string champ;
    while (std::getline(flux, champ, '\t')) champs.push_back(champ);
    if (champs.size() < 5) continue;
    r.push_back({std::stoi(champs[0]), champs[1][0], champs[2], champs[3], champs[4]});
  }
  return r;
}

// The name a catalogue line defines: the first quoted text after the "=".
std::string NomDeLigne(const std::string& ligne) {
  const size_t debut = ligne.find("=\"") + 2;
  return ligne.substr(debut, ligne.find('"', debut) - debut);
}
char NatureDeLigne(const std::string& ligne) { return ligne[0]; }

int LignesChargees() {
  const TDonnees& c = CatalogueProjections();
  return c.NbEllipsoide() - 1 + c.NbDatum() - 1 + c.NbProjection() + c.NbMultiple();
}

class Regions : public ::testing::Test {
 protected:
  GardeProjections garde_;
  platform::ScriptedDialogs dialogues_;
  platform::ScopedDialogs port_{dialogues_};
};

std::string Nombre(double x) { return foundation::ReelEnTexteExact(x); }

// --- Registry look-ups through PROJ's programs --------------------------------------

bool OutilsDisponibles() {
  return oracle::Cs2csDisponible() && oracle::ProgrammeDisponible("projinfo") && oracle::ProgrammeDisponible("cct");
}

std::string Projinfo(const std::string& arguments) {
  const auto r = oracle::Execute("projinfo -q --single-line " + arguments, "");
  if (!r) return {};
  std::string t = *r;
  while (!t.empty() && (t.back() == '\n' || t.back() == '\r' || t.back() == ' ')) t.pop_back();
  return t;
}

// The area of use [south, west, north, east] in degrees of a registry object.
bool Emprise(const std::string& wkt, double boite[4]) {
  const size_t p = wkt.find("BBOX[");
  if (p == std::string::npos) return false;
  std::string dedans = wkt.substr(p + 5, wkt.find(']', p) - p - 5);
  for (char& c : dedans)
    if (c == ',') c = ' ';
  const auto v = oracle::Nombres(dedans);
  if (v.size() != 4) return false;
  for (int i = 0; i < 4; ++i) boite[i] = v[i];
  if (boite[3] < boite[1]) boite[3] += 360;  // across the antimeridian
  return true;
}

struct TPoint {
  double lat, lon;
};

// Three points inside the box, away from its edges.
std::vector<TPoint> PointsDansEmprise(const double b[4]) {
  std::vector<TPoint> r;
  for (const auto& f : {std::array<double, 2>{0.5, 0.5}, {0.3, 0.7}, {0.7, 0.25}}) {
    double lon = b[1] + f[1] * (b[3] - b[1]);
    if (lon > 180) lon -= 360;
    r.push_back({b[0] + f[0] * (b[2] - b[0]), lon});
  }
  return r;
}

// A PROJ string without its datum shift, and the geographic system on the
// same figure and prime meridian.
std::string SansDecalage(std::string pj) {
  std::istringstream flux(pj);
  std::string mot, r;
  while (flux >> mot) {
    if (mot.rfind("+towgs84=", 0) == 0 || mot == "+type=crs" || mot == "+no_defs") continue;
    if (mot == "+datum=NAD27") mot = "+ellps=clrk66";
    if (mot == "+datum=WGS84") mot = "+ellps=WGS84";
    if (mot == "+units=us-ft") mot = "+units=m";
    r += (r.empty() ? "" : " ") + mot;
  }
  return r;
}
std::string Geographique(const std::string& pj) {
  std::istringstream flux(pj);
  std::string mot, r = "+proj=longlat";
  while (flux >> mot)
    if (mot.rfind("+ellps=", 0) == 0 || mot.rfind("+a=", 0) == 0 || mot.rfind("+rf=", 0) == 0 ||
        mot.rfind("+b=", 0) == 0)
      r += " " + mot;
  return r;
}

// What the twin check of a projection needs beyond the registry: a definition
// where the registry has none a PROJ string can hold, a box where it has no
// twin, the zone of a multi-zone system, the difference the line's own
// definition keeps from the twin, and a looser tolerance where the table
// lists a divergence.
struct TParticularite {
  std::string definition;
  double boite[4] = {0, 0, 0, 0};
  int zone = 0;
  double decalageX = 0;  // X of the line = X of the twin + decalageX
  double tolerance = 1e-3;
};

std::map<std::string, TParticularite> Particularites() {
  std::map<std::string, TParticularite> r;
  // No registry twin: the parameters the line states.
  r["Laos Map 82"] = {"+proj=tmerc +lat_0=0 +lon_0=105 +k=1 +x_0=500000 +y_0=0 +ellps=krass", {14, 100.5, 22, 107.5}};
  for (const char* nom : {"Terre Adélie Petrels", "Terre Adélie Pointe Géologie"})
    r[nom] = {"+proj=stere +lat_0=-90 +lon_0=39.15 +k=0.9995341 +x_0=0 +y_0=0 +ellps=intl", {-67, 136, -65.5, 142}};
  r["RT90V61:-1"] = {"+proj=tmerc +lat_0=0 +lon_0=15.8082777777778 +k=1 +x_0=1500000 +y_0=0 +ellps=bessel",
                     {56, 12, 68, 20}};
  r["Autriche 3"] = {"+proj=tmerc +lat_0=0 +lon_0=9 +k=1 +x_0=3500000 +y_0=0 +ellps=bessel", {46.5, 9.5, 47.5, 10.5}};
  r["Autriche 4"] = {"+proj=tmerc +lat_0=0 +lon_0=12 +k=1 +x_0=4500000 +y_0=0 +ellps=bessel", {46.5, 10.5, 48.5, 13.5}};
  r["SANTO"] = {"+proj=utm +zone=58 +south +ellps=intl", {-15.7, 166.5, -14.6, 167.3}};
  // West-orientated Lambert grids, which PROJ strings cannot hold: the lines
  // keep the registry's parameters with eastings growing eastwards, and are
  // checked against that cone (the registry's easting is 2 X0 - X).
  r["Islandic Lambert 1900"] = {
      "+proj=lcc +lat_1=65 +lat_0=65 +lon_0=-19.022125 +k_0=1 +x_0=0 +y_0=0 +a=6377019.27 +rf=300",
      {63.5, -24, 66.5, -13.5}};
  r["Islandic Lambert 55"] = {"+proj=lcc +lat_1=65 +lat_0=65 +lon_0=-18 +k_0=1 +x_0=500000 +y_0=500000 +ellps=intl",
                              {63.5, -24, 66.5, -13.5}};
  // Multi-zone systems: the zone of the twin; the German grids carry the zone
  // prefix the system leaves out.
  r["MTM NAD27"].zone = 3;
  r["MTM NAD83"].zone = 3;
  r["RT90 2.5 gon"].zone = 3;
  r["Deutsch KG"].zone = 3;
  r["Deutsch KG"].decalageX = -3000000;
  r["Islandic KG 55"].zone = 27;
  // The registry's grid is in US survey feet with a false origin of
  // 5000000.001016 m; the line's is 5000000 m.
  r["Alaska 5001"].tolerance = 2e-3;
  // The registry puts Voirol 1960 on Clarke 1880 (RGS), the line on the
  // region's Clarke80 (IGN): the grids part by up to 1 cm over Algeria.
  r["Nord Algerie (V60)"].tolerance = 0.02;
  r["Sud Algerie (V60)"].tolerance = 0.02;
  // PROJ's labrd truncates its longitude series (see cylindres_obliques_test).
  r["Laborde"].tolerance = 3e-3;
  // The bitangent sphere against the registry's Gauss sphere: a few
  // centimetres over the country (stereographique_test).
  r["Netherlands"].tolerance = 0.05;
  return r;
}

}  // namespace

TEST_F(Regions, ListesCompletesDansLOrdreDeLaTable) {
  const auto sources = TableDesSources();
  ASSERT_EQ(sources.size(), 168u) << "table des sources introuvable ou incomplète";
  const int attendu[] = {0, 18, 4, 6, 5, 71, 52, 6, 6};
  const int hemispheres[] = {0, 2, 1, 1, 2, 2, 1, 1, 1};
  size_t k = 0;
  for (int region = 1; region <= 8; ++region) {
    SCOPED_TRACE("région " + std::to_string(region));
    const auto& lignes = projections::Regions()[region].Lignes;
    ASSERT_EQ(static_cast<int>(lignes.size()), attendu[region]);
    ASSERT_TRUE(ChargeListeProjections(region));
    // No line is dropped.
    EXPECT_EQ(LignesChargees(), attendu[region] + hemispheres[region]);
    for (const char* l : lignes) {
      ASSERT_LT(k, sources.size());
      const std::string ligne = l;
      EXPECT_EQ(sources[k].region, region);
      EXPECT_EQ(NomDeLigne(ligne), sources[k].nom);
      EXPECT_EQ(NatureDeLigne(ligne), sources[k].nature) << ligne;
      EXPECT_TRUE(CatalogueProjections().Systeme(sources[k].nom).Trouve() ||
                  CatalogueProjections().UnEllipsoide(sources[k].nom))
          << ligne;
      ++k;
    }
  }
  EXPECT_EQ(k, sources.size());

  // Names with their accents, as the lists carry them.
  ASSERT_TRUE(ChargeListeProjections(5));
  for (const char* nom : {"Réunion PN", "Terre Adélie Pointe Géologie", "Pointe Géologie-Perroud 1950",
                          "Îles Marquises IGN72", "Îles de la Société Tahaa", "Lambert Nouméa2", "UTM58 Maré 53",
                          "Lambert Nouvelle Calédonie"})
    EXPECT_TRUE(CatalogueProjections().Systeme(nom).Trouve()) << nom;
  ASSERT_TRUE(ChargeListeProjections(6));
  for (const char* nom : {"Reykjavík 1900", "Hjörsey 1955", "Sâo Bras", "Sâo Jorges", "Ile de Madère et Désert",
                          "RT90V0:-15 bis"})
    EXPECT_TRUE(CatalogueProjections().Systeme(nom).Trouve()) << nom;

  // The five rows quoted as they stand.
  struct Cas {
    int region;
    const char* ligne;
  };
  const Cas cas[] = {
      {5,
       "Datum=\"Ste-Anne\" \"Guadeloupe (Ste-Anne)\" \"Hayford 24\" -472.29 -5.63 -304.12 0.4362 -0.8374 0.2563 "
       "1.8984"},
      {5, "Projection \"UTM Fuseau\"=\"Réunion RGR92\" \"Réunion (RGR 92)\" \"RGR 92\" 40 1"},
      {5,
       "Projection \"Stéréographique Polaire\"=\"Terre Adélie Petrels\" \"Terre Adélie (Petrels-IGN 1972)\" "
       "\"Petrels-IGN 1972\" 0.9995341 0 0 39°09' 1"},
      {8,
       "Projection \"Gauss Laborde Oblique\"=\"Laborde\" \"Laborde Madagascar\" \"TANA 25\" 0.9995 400000 800000 "
       "46.43722917° -21g 21g"},
      {6,
       "Multiple \"Transverse Mercator Multiple\"=\"RT90 2.5 gon\" \"RT90 2.5 gon (multi-zone)\" \"RT 90\" 1 1500000 "
       "0 0 11°18'29.8'' 2.5g"},
  };
  for (const auto& c : cas) {
    bool trouve = false;
    for (const char* l : projections::Regions()[c.region].Lignes) trouve = trouve || std::string(l) == c.ligne;
    EXPECT_TRUE(trouve) << c.ligne;
    // The object of the line writes the same line back.
    ASSERT_TRUE(ChargeListeProjections(c.region));
    const TSysteme s = CatalogueProjections().Systeme(NomDeLigne(c.ligne));
    const std::string relue =
        s.Datum ? s.Datum->Ligne() : (s.Projection ? s.Projection->Ligne() : s.Multiple->Ligne());
    EXPECT_EQ(relue, c.ligne);
  }
}

TEST_F(Regions, ProjectionsEtJumeauxDuRegistre) {
  if (!OutilsDisponibles()) GTEST_SKIP() << "projinfo, cs2cs or cct absent: regional grids not compared with PROJ";
  oracle::AnnonceOracle("projinfo and cs2cs, every grid of regions 1 to 8 against its registry twin");
  const auto particularites = Particularites();
  int verifiees = 0;
  for (const TSource& s : TableDesSources()) {
    if (s.nature != 'P' && s.nature != 'M') continue;
    SCOPED_TRACE(s.nom + " (" + s.code + ")");
    ASSERT_TRUE(ChangeListeProjections(s.region));
    const auto it = particularites.find(s.nom);
    const TParticularite p = it != particularites.end() ? it->second : TParticularite{};
    std::string definition = p.definition;
    double boite[4] = {p.boite[0], p.boite[1], p.boite[2], p.boite[3]};
    if (definition.empty()) {
      ASSERT_NE(s.code, "-");
      definition = Projinfo("-o PROJ " + s.code);
      ASSERT_NE(definition.find("+proj="), std::string::npos) << definition;
    }
    if (boite[0] == boite[2]) {
      ASSERT_TRUE(Emprise(Projinfo("-o WKT2:2019 " + s.code), boite));
    }
    definition = SansDecalage(definition);
    const auto points = PointsDansEmprise(boite);
    std::vector<std::array<double, 2>> entree;
    for (const auto& pt : points) entree.push_back({pt.lon, pt.lat});
    const auto attendus = oracle::Cs2cs(Geographique(definition), definition, entree);
    ASSERT_TRUE(attendus.has_value()) << definition;
    const TSysteme systeme = CatalogueProjections().Systeme(s.nom);
    ASSERT_TRUE(systeme.Projection || systeme.Multiple);
    for (size_t i = 0; i < points.size(); ++i) {
      SCOPED_TRACE(Nombre(points[i].lat) + " " + Nombre(points[i].lon));
      double x, y;
      int32_t zone = p.zone;
      if (systeme.Multiple)
        systeme.Multiple->VersGrille(points[i].lat * DegresVersRadians, points[i].lon * DegresVersRadians, x, y,
                                     zone);
      else
        systeme.Projection->VersGrille(points[i].lat * DegresVersRadians, points[i].lon * DegresVersRadians, x, y);
      EXPECT_NEAR(x, (*attendus)[i][0] + p.decalageX, p.tolerance);
      EXPECT_NEAR(y, (*attendus)[i][1], p.tolerance);
    }
    ++verifiees;
  }
  EXPECT_EQ(verifiees, 86);
}

TEST_F(Regions, DatumsEtJumeauxDuRegistre) {
  if (!OutilsDisponibles()) GTEST_SKIP() << "projinfo, cs2cs or cct absent: regional datums not compared with PROJ";
  oracle::AnnonceOracle("projinfo and cct, every datum shift of regions 1 to 8 against its registry operation");
  // The registry gives Voirol 1960 and Nord Sahara 1959 on Clarke 1880 (RGS),
  // the lines on the region's Clarke80 (IGN): the figures differ by a
  // decimetre at most, within 2e-6 degree.
  const std::map<std::string, double> tolerances = {{"Voirol 60", 2e-6}, {"Nord Sahara 59", 2e-6}};
  int verifies = 0;
  for (const TSource& s : TableDesSources()) {
    if (s.nature != 'D') continue;
    SCOPED_TRACE(s.nom + " (" + s.code + ")");
    ASSERT_TRUE(ChangeListeProjections(s.region));
    const TDatum* datum = CatalogueProjections().UnDatum(s.nom);
    ASSERT_TRUE(datum);
    const std::string operation = Projinfo("-k operation -o PROJ " + s.code);
    double boite[4];
    ASSERT_TRUE(Emprise(Projinfo("-k operation -o WKT2:2019 " + s.code), boite));
    if (operation.find("+proj=helmert") == std::string::npos) {
      // A null shift.
      EXPECT_EQ(datum->DeltaX, 0);
      EXPECT_EQ(datum->DeltaY, 0);
      EXPECT_EQ(datum->DeltaZ, 0);
      continue;
    }
    const auto points = PointsDansEmprise(boite);
    std::string entree;
    for (const auto& pt : points) entree += Nombre(pt.lat) + " " + Nombre(pt.lon) + " 0 0\n";
    const auto sortie = oracle::Execute("cct -d 12 " + s.code, entree);
    ASSERT_TRUE(sortie.has_value());
    std::istringstream lignes(*sortie);
    // 1e-8 degree is about 1 mm.  The seven-parameter shift of the library
    // applies the scale correction to the coordinates but not to the rotation
    // terms, where the registry's formula multiplies both: the two part by
    // scale x rotation x radius at most, 1 mm for Monte Mario, 9 cm for
    // Belep and 45 cm for Fatu Hiva (whose registry accuracy is 2 m).
    const auto tol = tolerances.find(s.nom);
    double tolerance = tol != tolerances.end() ? tol->second : 1e-8;
    if (!datum->Reduit) {
      const double rotation = std::sqrt(datum->RotX * datum->RotX + datum->RotY * datum->RotY +
                                        datum->RotZ * datum->RotZ) /
                              206264.806;
      tolerance += 1.2 * std::fabs(datum->Scale) * 1e-6 * rotation * 6.4e6 / 111000;
    }
    for (const auto& pt : points) {
      SCOPED_TRACE(Nombre(pt.lat) + " " + Nombre(pt.lon));
      std::string ligne;
      ASSERT_TRUE(std::getline(lignes, ligne));
      const auto v = oracle::Nombres(ligne);
      ASSERT_GE(v.size(), 2u) << ligne;
      double lat, lon;
      datum->VersWGS84(pt.lat * DegresVersRadians, pt.lon * DegresVersRadians, lat, lon);
      EXPECT_NEAR(lat * RadiansVersDegres, v[0], tolerance);
      EXPECT_NEAR(lon * RadiansVersDegres, v[1], tolerance);
    }
    ++verifies;
  }
  EXPECT_GE(verifies, 60);
}

// --- The France region ---------------------------------------------------------------

namespace {

// A number of the PROJJSON text after "key":, or NaN.
double ChampJson(const std::string& json, const std::string& cle) {
  const size_t p = json.find("\"" + cle + "\":");
  if (p == std::string::npos) return std::nan("");
  double v;
  const size_t debut = p + cle.size() + 3;
  const size_t fin = json.find_first_of(",}", debut);
  return foundation::LitReel(json.substr(debut, fin - debut), v) ? v : std::nan("");
}

// The value of "+cle=" in a PROJ string, or NaN.
double ParametreProj(const std::string& pj, const std::string& cle) {
  std::istringstream flux(pj);
  std::string mot;
  double v;
  while (flux >> mot)
    if (mot.rfind("+" + cle + "=", 0) == 0 && foundation::LitReel(mot.substr(cle.size() + 2), v)) return v;
  return std::nan("");
}

}  // namespace

// Every line of the France region against its registry twin: the ellipsoids'
// figures, the datums' shifts and ellipsoids, and a few points of every grid
// converted by the program and by cs2cs within a millimetre.
TEST_F(Regions, FranceEtJumeauxDuRegistre) {
  if (!OutilsDisponibles()) GTEST_SKIP() << "projinfo, cs2cs or cct absent: the France region not compared with PROJ";
  oracle::AnnonceOracle("projinfo and cs2cs, every line of the France region against its registry twin");
  ASSERT_TRUE(ChangeListeProjections(RegionFrance));
  const TDonnees& c = CatalogueProjections();
  const auto& lignes = projections::Regions()[RegionFrance].Lignes;

  // Ellipsoids: a, and e as the line writes it (10 decimals).  The line's
  // Plessis puts b 12 mm above the registry's (6355862.933 m): e differs by
  // 2.3e-8.
  struct TEllipsoideRegistre {
    std::string code;
    double tolerance = 0.5e-10;
  };
  const std::map<std::string, TEllipsoideRegistre> ellipsoides = {
      {"Clarke80", {"EPSG:7011"}}, {"Hayford 09", {"EPSG:7022"}}, {"Plessis", {"EPSG:7027", 3e-8}}};
  // Datums: the registry operation to WGS 84 and the ellipsoid.
  struct TDatumRegistre {
    std::string code, ellipsoide;
  };
  const std::map<std::string, TDatumRegistre> datums = {{"NTF", {"EPSG:1193", "Clarke80"}},
                                                        {"ED 50", {"EPSG:1275", "Hayford 09"}},
                                                        {"ATG", {"IGNF:TSG681_ATIGG_TO_4326", "Plessis"}}};
  // Grids: the registry system, or the PROJ definition of a grid the registry
  // does not hold; the zone of a multi-zone system.
  struct TGrilleRegistre {
    std::string code;
    std::string definition = {};
    int zone = 0;
  };
  const std::map<std::string, TGrilleRegistre> grilles = {
      {"LT 93", {"EPSG:2154"}},
      {"LT 1", {"EPSG:27571"}},
      {"LT 2", {"EPSG:27562"}},
      {"LT 3", {"EPSG:27573"}},
      {"LT 2+", {"EPSG:27572"}},
      {"LT 4", {"EPSG:27564"}},
      {"LT GC", {"IGNF:LAMBGC"}},
      // The Michelin grid has no registry entry (the registry's Bonne grid of
      // the old triangulation gives the area): PROJ's Bonne on the sphere of
      // the Plessis major axis, standard parallel 48°51'36'' on the Paris
      // meridian, the origin at (0, 0) (the line's Y0 is a cot phi0).
      {"Michelin",
       {"IGNF:ATIGBONNE", "+proj=bonne +lat_1=48.86 +lon_0=0 +pm=paris +x_0=0 +y_0=0 +a=6376523 +b=6376523"}},
      {"UTM", {"EPSG:32631", "", 31}},
      {"UTM ED50", {"EPSG:23031", "", 31}},
      {"CC42", {"EPSG:3942"}},
      {"CC43", {"EPSG:3943"}},
      {"CC44", {"EPSG:3944"}},
      {"CC45", {"EPSG:3945"}},
      {"CC46", {"EPSG:3946"}},
      {"CC47", {"EPSG:3947"}},
      {"CC48", {"EPSG:3948"}},
      {"CC49", {"EPSG:3949"}},
      {"CC50", {"EPSG:3950"}},
      {"Mercator", {"EPSG:3857"}},
  };

  size_t verifiees = 0;
  for (const char* l : lignes) {
    const std::string nom = NomDeLigne(l);
    SCOPED_TRACE(l);
    if (NatureDeLigne(l) == 'E') {
      const auto it = ellipsoides.find(nom);
      ASSERT_NE(it, ellipsoides.end());
      const std::string json = Projinfo("-k ellipsoid -o PROJJSON " + it->second.code);
      const double a = ChampJson(json, "semi_major_axis");
      const double b = ChampJson(json, "semi_minor_axis");
      const double rf = ChampJson(json, "inverse_flattening");
      const double e2 = std::isnan(b) ? (2 - 1 / rf) / rf : 1 - (b / a) * (b / a);
      const TEllipsoide* ell = c.UnEllipsoide(nom);
      ASSERT_TRUE(ell);
      EXPECT_EQ(ell->a, a) << json;
      EXPECT_NEAR(ell->e, std::sqrt(e2), it->second.tolerance) << json;
    } else if (NatureDeLigne(l) == 'D') {
      const auto it = datums.find(nom);
      ASSERT_NE(it, datums.end());
      const std::string pj = Projinfo("-k operation -o PROJ " + it->second.code);
      const TDatum* d = c.UnDatum(nom);
      ASSERT_TRUE(d);
      ASSERT_TRUE(d->Ellipsoide);
      EXPECT_EQ(d->Ellipsoide->Nom, it->second.ellipsoide);
      EXPECT_EQ(d->DeltaX, ParametreProj(pj, "x")) << pj;
      EXPECT_EQ(d->DeltaY, ParametreProj(pj, "y")) << pj;
      EXPECT_EQ(d->DeltaZ, ParametreProj(pj, "z")) << pj;
    } else {
      const auto it = grilles.find(nom);
      ASSERT_NE(it, grilles.end());
      const TGrilleRegistre& g = it->second;
      std::string definition = g.definition.empty() ? Projinfo("-o PROJ " + g.code) : g.definition;
      ASSERT_NE(definition.find("+proj="), std::string::npos) << definition;
      definition = SansDecalage(definition);
      double boite[4];
      ASSERT_TRUE(Emprise(Projinfo("-o WKT2:2019 " + g.code), boite));
      const auto points = PointsDansEmprise(boite);
      std::vector<std::array<double, 2>> entree;
      for (const auto& pt : points) entree.push_back({pt.lon, pt.lat});
      const auto attendus = oracle::Cs2cs(Geographique(definition), definition, entree);
      ASSERT_TRUE(attendus.has_value()) << definition;
      const TSysteme systeme = c.Systeme(nom);
      ASSERT_TRUE(systeme.Projection || systeme.Multiple);
      for (size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(Nombre(points[i].lat) + " " + Nombre(points[i].lon));
        double x, y;
        int32_t zone = g.zone;
        const double lat = points[i].lat * DegresVersRadians, lon = points[i].lon * DegresVersRadians;
        if (systeme.Multiple)
          systeme.Multiple->VersGrille(lat, lon, x, y, zone);
        else
          systeme.Projection->VersGrille(lat, lon, x, y);
        EXPECT_NEAR(x, (*attendus)[i][0], 1e-3);
        EXPECT_NEAR(y, (*attendus)[i][1], 1e-3);
      }
    }
    ++verifiees;
  }
  EXPECT_EQ(verifiees, lignes.size());
}
