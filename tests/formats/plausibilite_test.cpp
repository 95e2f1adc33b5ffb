// The readers' one plausibility rule: every reader refuses the same kind of
// impossible reading or coordinate with the same message (file, line or shot,
// field, the file's text) and imports nothing, while the plausible twin of
// the file imports; PocketTopo's repeated readings are read from their consistent
// majority; the rule's own bounds and texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "formats/import/plausibilite.h"
#include "formats/import/points/import_points_surface.h"
#include "formats/import/texte/import_tab_txt.h"
#include "foundation/codage.h"
#include "survey/lever.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"
#include "tests/formats/import_test_support.h"

namespace testformats {
namespace {

using formats::ChampLecture;

std::string Messages(const platform::ScriptedDialogs& d) {
  std::string t;
  for (const std::string& m : d.Messages()) t += (t.empty() ? "" : " | ") + m;
  return t;
}

// --- Small files of every format ---------------------------------------------------------

// A VTopo file whose second shot has that length (line 11), and whose
// "Trou" line (line 4) has that text after "Trou ".
std::string Tro(const std::string& longueur, const std::string& trou = "Essai,600.5,180.25,1020,LT3") {
  std::string enTete = EnTeteTro();
  const std::string trouDefaut = "Trou Essai,600.5,180.25,1020,LT3";
  enTete.replace(enTete.find(trouDefaut), trouDefaut.size(), "Trou " + trou);
  return foundation::VersWindows1252(enTete + "A B 5 10 0 * * * * N I * N\r\nB C " + longueur +
                                     " 10 0 * * * * N I * N\r\n");
}

// A Therion file whose second shot has that length (line 5).
std::string Th(const std::string& longueur) {
  return "survey s\n centerline\n data normal from to length compass clino\n 0 1 2 30 4\n 1 2 " + longueur +
         " 40 -5\n endcenterline\nendsurvey\n";
}

// A Therion file whose station 0 is fixed (line 4) at that position, in that
// coordinate system (line 3).
std::string ThFix(const std::string& systeme, const std::string& position) {
  return "survey s\n centerline\n cs " + systeme + "\n fix 0 " + position +
         "\n data normal from to length compass clino\n 0 1 2 30 4\n endcenterline\nendsurvey\n";
}

// A TopoRobot file (read as ".tab" or ".xtb") whose last point, line 8, has
// that slope in degrees; its cave and entrance are given by the first two
// lines.
const std::string CaviteTab = "-6\t1\tEssai\r\n-5\t1\t100\t200\t300\t1\t0\tici\r\n";
std::string Tab(const std::string& pente, const std::string& cavite = CaviteTab) {
  return cavite +
         "-2\t1\t3\t4\t05\tA\tB\t0\t2.5\r\n"
         "-1\t1\t360\t360\t0\t0\t0\t100\t0\r\n1\t-1\t1\t0\t1\t2\t0\t0\t0\tSerie un\r\n"
         "1\t0\t1\t1\t0\t0\t0\t0\t0\t0\t0\r\n1\t1\t1\t1\t10\t45\t-5\t1\t2\t3\t4\r\n1\t2\t1\t1\t5\t90\t" +
         pente + "\t1\t1\t1\t1\r\n";
}
// The entrance 1-0 on its -5 line (line 2) at that Z.
std::string TabEntree(const std::string& z) {
  return Tab("-5", "-6\t1\tEssai\r\n-5\t1\t100\t200\t" + z + "\t1\t0\tici\r\n");
}
// A GHTopo cave line (line 1) giving the entrance 1-0 at that X, without -5
// line.
std::string XtbEntree(const std::string& x) {
  return Tab("-5", "-6\t1\tEssai\t\t1\t0\t" + x + "\t200\t300\tici\r\n");
}

// A text table whose second row, line 4, has that length (columns Pt Stat,
// Pt Vis, Az, P, L, Comment as proposed).
std::string TableTexte(const std::string& longueur) {
  return foundation::VersWindows1252("cavité\tEssai\nvisées\nA\tB\t10\t0\t5\tun\nB\tC\t20\t-5\t" + longueur +
                                     "\tdeux\n");
}
// A text table whose entrance A, line 2, has those three coordinates.
std::string TableTexteEntree(const std::string& coordonnees) {
  return foundation::VersWindows1252("cavité\tEssai\nentrée\tA\t" + coordonnees +
                                     "\nvisées\nA\tB\t10\t0\t5\tun\n");
}

// A PocketTopo ".top" file: one trip, the shots given (from, to, length in
// mm, azimuth and inclination as 16-bit angles), the reference points given
// (station, east, north and altitude in mm), two empty drawings.
struct ViseeTop {
  uint32_t de, a;
  int32_t mm;
  uint16_t az = 0, p = 0;
};
struct ReferenceTop {
  uint32_t station;
  int64_t est, nord;
  int32_t altitude;
};
template <class T>
void Ajoute(std::string& o, T v) {
  o.append(reinterpret_cast<const char*>(&v), sizeof v);
}
std::string Top(const std::vector<ViseeTop>& visees, const std::vector<ReferenceTop>& references = {}) {
  std::string o = "Top";
  Ajoute<uint8_t>(o, 3);
  Ajoute<int32_t>(o, 1);
  Ajoute<int64_t>(o, 637159392000000000);
  Ajoute<uint8_t>(o, 0);  // empty comment
  Ajoute<uint16_t>(o, 0);
  Ajoute<int32_t>(o, static_cast<int32_t>(visees.size()));
  for (const ViseeTop& v : visees) {
    Ajoute<uint32_t>(o, v.de);
    Ajoute<uint32_t>(o, v.a);
    Ajoute<int32_t>(o, v.mm);
    Ajoute<uint16_t>(o, v.az);
    Ajoute<uint16_t>(o, v.p);
    Ajoute<uint8_t>(o, 0);
    Ajoute<uint8_t>(o, 0);
    Ajoute<int16_t>(o, 0);
  }
  Ajoute<int32_t>(o, static_cast<int32_t>(references.size()));
  for (const ReferenceTop& r : references) {
    Ajoute<uint32_t>(o, r.station);
    Ajoute<int64_t>(o, r.est);
    Ajoute<int64_t>(o, r.nord);
    Ajoute<int32_t>(o, r.altitude);
    Ajoute<uint8_t>(o, 0);  // empty comment
  }
  for (int i = 0; i < 3; ++i) Ajoute<int32_t>(o, 0);  // overview mapping
  for (int k = 0; k < 2; ++k) {
    for (int i = 0; i < 3; ++i) Ajoute<int32_t>(o, 0);
    Ajoute<uint8_t>(o, 0);
  }
  return o;
}
// Stations "1.0", "1.1", "1.2" ...
uint32_t Station(uint32_t n) { return 0x00010000u + n; }

// A PocketTopo leg 1.0 → 1.1 of that length, then 1.1 → 1.2.
std::string TopLongueur(int32_t mm) { return Top({{Station(0), Station(1), mm}, {Station(1), Station(2), 4000}}); }
// The same legs of 12.3 m, 1.0 fixed at that altitude in mm.
std::string TopReference(int32_t altitude) {
  return Top({{Station(0), Station(1), 12300}, {Station(1), Station(2), 4000}},
             {{Station(0), 600000000, 180000000, altitude}});
}

// A point file whose second point, line 2, has that Z.
std::string Points(const std::string& z) { return "P0;600000;180000;300\nP1;600010;180020;" + z + "\n"; }

// A GPX file: the second waypoint's latitude on line 4, the third's elevation
// alone on line 6.
std::string Gpx(const std::string& latitude, const std::string& altitude) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"essai\">\n"
         "<wpt lat=\"44.5\" lon=\"2.5\"><ele>300</ele><name>A</name></wpt>\n"
         "<wpt lat=\"" +
         latitude + "\" lon=\"2.6\"><name>B</name></wpt>\n<wpt lat=\"44.7\" lon=\"2.7\">\n<ele>" + altitude +
         "</ele><name>C</name></wpt>\n</gpx>\n";
}

// Every shot and splay of the imported cave passes the rule.
void ViseesPlausibles(const ReseauImport& r, const std::string& cas) {
  ASSERT_NE(r.Cavite(), nullptr) << cas;
  EXPECT_GT(r.Cavite()->Visees.Count(), 0) << cas;
  for (const survey::TVisee* v : r.Cavite()->Visees) {
    EXPECT_EQ(formats::LectureImpossible(*v), ChampLecture::Aucun) << cas;
    for (const survey::TViseeHabi* h : v->ViseesHabi)
      EXPECT_EQ(formats::LectureImpossible(*h), ChampLecture::Aucun) << cas;
  }
}

// The entrance and fixed stations the readers give, in the network's surface
// points: every one passes the rule, and one stands at that altitude.
void PointsSurfacePlausibles(ReseauImport& r, double altitude, const std::string& cas) {
  bool trouve = std::isnan(altitude);
  for (const survey::TPointSpeleo* p : *r.R().LesPointsSurface()) {
    EXPECT_EQ(formats::PointImpossible(p->X, p->Y, p->Z), ChampLecture::Aucun) << cas << " " << p->DesignPTopo;
    trouve = trouve || p->Z == altitude;
  }
  EXPECT_TRUE(trouve) << cas;
}

TEST(PlausibiliteLecteurs, UneLectureImpossibleParLecteur) {
  constexpr int Points_ = -1;  // the surface-point import, not a survey reader
  using FenetreTab = std::function<bool(formats::TVisuImportTab&, bool plausible)>;
  // The window of the text table in "WGS 84", everything else as the file says.
  const FenetreTab wgs84 = [](formats::TVisuImportTab& v, bool) {
    v.TypeCoord = formats::TVisuImportTab::TypeCoordEntree::WGS84;
    return true;
  };
  // The entrance of a table without one typed in the window.
  const FenetreTab saisie = [](formats::TVisuImportTab& v, bool plausible) {
    v.NomEntree = "A";
    v.TexteZ = plausible ? "200" : "20000";
    return true;
  };
  struct Cas {
    const char* nom;
    const char* fichier;
    int type;
    std::string impossible, plausible;
    std::string message;
    double altitude = NAN;  // of a surface point the plausible twin gives
    FenetreTab fenetre = nullptr;
  };
  const Cas cas[] = {
      {"VTopo", "essai.tro", formats::TypeImportVTopo, Tro("1e308"), Tro("5.5"),
       "essai.tro, ligne 11 : longueur impossible (1e308)."},
      // X in kilometres: the metres it gives are past any number.
      {"VTopo, entrée", "essai.tro", formats::TypeImportVTopo, Tro("5.5", "Essai,1e308,180.25,1020,LT3"), Tro("5.5"),
       "essai.tro, ligne 4 : coordonnée X impossible (1e308).", 1020},
      {"Therion", "essai.th", formats::TypeImportTopoDroid, Th("1e308"), Th("3.5"),
       "essai.th, ligne 5 : longueur impossible (1e308)."},
      {"Therion, clinomètre", "essai.th", formats::TypeImportTopoDroid,
       "survey s\n centerline\n data normal from to length compass clino\n 0 1 2 30 95\n endcenterline\n",
       "survey s\n centerline\n data normal from to length compass clino\n 0 1 2 30 85\n endcenterline\n",
       "essai.th, ligne 4 : pente impossible (95)."},
      {"Therion, point fixe UTM", "essai.th", formats::TypeImportTopoDroid, ThFix("UTM33", "1e9 5000000 300"),
       ThFix("UTM33", "500000 5000000 300"), "essai.th, ligne 4 : coordonnée X impossible (1e9).", 300},
      {"Therion, point fixe long-lat", "essai.th", formats::TypeImportTopoDroid, ThFix("long-lat", "6.85 95 2000"),
       ThFix("long-lat", "6.85 45.42 2000"), "essai.th, ligne 4 : latitude impossible (95).", 2000},
      {"TopoRobot", "essai.tab", formats::TypeImportTopoRobot, Tab("97"), Tab("-5"),
       "essai.tab, ligne 8 : pente impossible (97)."},
      {"GHTopo", "essai.xtb", formats::TypeImportTopoRobot, Tab("1e308"), Tab("85"),
       "essai.xtb, ligne 8 : pente impossible (1e308)."},
      {"TopoRobot, entrée", "essai.tab", formats::TypeImportTopoRobot, TabEntree("1e308"), TabEntree("-150"),
       "essai.tab, ligne 2 : altitude impossible (1e308).", -150},
      // The entrance on the cave's line, before the series: reported first.
      {"GHTopo, entrée", "essai.xtb", formats::TypeImportTopoRobot, XtbEntree("1e308"), XtbEntree("100"),
       "essai.xtb, ligne 1 : coordonnée X impossible (1e308).", 300},
      {"PocketTopo", "essai.top", formats::TypeImportPocketTopo, TopLongueur(2147483647), TopLongueur(12300),
       "essai.top, visée 1.0 → 1.1 : longueur impossible (2 147 km)."},
      {"PocketTopo, référence", "essai.top", formats::TypeImportPocketTopo, TopReference(2147483647),
       TopReference(300000), "essai.top, point 1.0 : altitude impossible (2 147 km).", 300},
      {"Tableau texte", "essai.txt", formats::TypeImportTableTexte, TableTexte("1e308"), TableTexte("7,5"),
       "essai.txt, ligne 4 : longueur impossible (1e308)."},
      {"Tableau texte, pente", "essai.txt", formats::TypeImportTableTexte,
       foundation::VersWindows1252("cavité\tEssai\nvisées\nA\tB\t10\t120\t5\tun\n"),
       foundation::VersWindows1252("cavité\tEssai\nvisées\nA\tB\t10\t-60\t5\tun\n"),
       "essai.txt, ligne 3 : pente impossible (120)."},
      {"Tableau texte, entrée", "essai.txt", formats::TypeImportTableTexte,
       TableTexteEntree("600000\t180000\t12000,5"), TableTexteEntree("600000\t180000\t310"),
       "essai.txt, ligne 2 : altitude impossible (12000,5).", 310},
      {"Tableau texte, entrée en WGS 84", "essai.txt", formats::TypeImportTableTexte,
       TableTexteEntree("95\t2,5\t310"), TableTexteEntree("44,5\t2,5\t310"),
       "essai.txt, ligne 2 : latitude impossible (95).", 310, wgs84},
      {"Tableau texte, entrée saisie", "essai.txt", formats::TypeImportTableTexte, TableTexte("7,5"),
       TableTexte("7,5"), "essai.txt, entrée A : altitude impossible (20000).", 200, saisie},
      {"Fichier de points", "points.txt", Points_, Points("1e308"), Points("310"),
       "points.txt, ligne 2 : altitude impossible (1e308)."},
      {"GPX, latitude", "points.gpx", Points_, Gpx("1e308", "310"), Gpx("44.6", "310"),
       "points.gpx, ligne 4 : latitude impossible (1e308)."},
      {"GPX, altitude", "points.gpx", Points_, Gpx("44.6", "1e308"), Gpx("44.6", "-12000"),
       "points.gpx, ligne 6 : altitude impossible (1e308)."},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    for (const bool plausible : {false, true}) {
      ReseauImport r;
      survey::Document().ReseauCourant = &r.R();
      const std::string chemin = r.Dossier.Fichier(c.fichier);
      testsupport::EcritOctets(chemin, plausible ? c.plausible : c.impossible);
      if (c.fenetre)
        formats::FenetresImport().AfficheVisuImportTab = [&](formats::TVisuImportTab& v) {
          return c.fenetre(v, plausible);
        };
      const bool importe =
          c.type == Points_ ? formats::ImportePointsSurface(chemin, r.R()) : r.Importe(chemin, c.type);
      if (plausible) {
        EXPECT_TRUE(importe) << Messages(r.Dialogues);
        EXPECT_TRUE(r.Dialogues.Messages().empty()) << Messages(r.Dialogues);
        if (c.type == Points_)
          EXPECT_EQ(r.R().LesPointsSurface()->Count(), 3 - (c.fichier == std::string("points.txt")));
        else
          ViseesPlausibles(r, c.nom);
        if (c.type != Points_) PointsSurfacePlausibles(r, c.altitude, c.nom);
        continue;
      }
      EXPECT_FALSE(importe);
      EXPECT_EQ(Messages(r.Dialogues), c.message);
      EXPECT_EQ(r.R().Cavites.Count(), 1);
      EXPECT_EQ(r.R().LesPointsSurface()->Count(), 0);
      EXPECT_EQ(r.R().ListeOperateurs.Count(), 0);
    }
  }
}

// --- PocketTopo's repeated readings ---------------------------------------------------------

TEST(PlausibiliteLecteurs, LecturesRepeteesPocketTopo) {
  const uint32_t a = Station(0), b = Station(1), c = Station(2);
  struct Cas {
    const char* nom;
    std::vector<ViseeTop> lectures;  // of the leg 1.0 → 1.1
    bool importe;
    const char* message;  // none: nothing said
    double longueur;      // of the leg built
  };
  const Cas cas[] = {
      {"une lecture absurde sur trois",
       {{a, b, 12300}, {a, b, 12300}, {a, b, 2147483647}},
       true,
       "essai.top, visée 1.0 → 1.1 : lectures incohérentes (12,3 m ; 2 147 km).",
       12.3},
      {"une direction à l'écart",
       {{a, b, 10000, 8192}, {a, b, 10000, 8283}, {a, b, 10000, 16384}},
       true,
       "essai.top, visée 1.0 → 1.1 : lectures incohérentes (10 m 45° 0° ; 10 m 45,5° 0° ; 10 m 90° 0°).",
       10},
      // A splay between the readings does not part them.
      {"une visée rayonnante entre deux lectures", {{a, b, 5000}, {a, 0x80000000u, 1000}, {a, b, 5100}}, true, nullptr,
       5.05},
      // A vertical leg: its azimuths do not count; 359° and 1° are 2° apart.
      {"verticale", {{a, b, 3000, 0, 16384}, {a, b, 3000, 32768, 16384}}, true, nullptr, 3},
      {"autour du nord", {{a, b, 3000, 65354}, {a, b, 3000, 182}}, true, nullptr, 3},
      {"trois lectures incohérentes",
       {{a, b, 10000}, {a, b, 20000}, {a, b, 30000}},
       false,
       "essai.top, visée 1.0 → 1.1 : lectures incohérentes (10 m ; 20 m ; 30 m).",
       0},
      {"deux lectures en désaccord",
       {{a, b, 12300}, {a, b, 2147483647}},
       false,
       "essai.top, visée 1.0 → 1.1 : lectures incohérentes (12,3 m ; 2 147 km).",
       0},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    std::vector<ViseeTop> visees = k.lectures;
    visees.push_back({b, c, 4000});
    ReseauImport r;
    const std::string chemin = r.Dossier.Fichier("essai.top");
    testsupport::EcritOctets(chemin, Top(visees));
    EXPECT_EQ(r.Importe(chemin, formats::TypeImportPocketTopo), k.importe) << Messages(r.Dialogues);
    EXPECT_EQ(Messages(r.Dialogues), k.message ? k.message : "");
    if (!k.importe) {
      EXPECT_EQ(r.R().Cavites.Count(), 1);
      continue;
    }
    const survey::TVisee* v = r.Visee("1.0", "1.1");
    ASSERT_NE(v, nullptr);
    EXPECT_NEAR(v->Long, k.longueur, 1e-9);
    ViseesPlausibles(r, k.nom);
  }
  // The warning's kind: the import goes on.
  ReseauImport r;
  const std::string chemin = r.Dossier.Fichier("essai.top");
  testsupport::EcritOctets(chemin, Top({{a, b, 12300}, {a, b, 12300}, {a, b, 2147483647}, {b, c, 4000}}));
  ASSERT_TRUE(r.Importe(chemin, formats::TypeImportPocketTopo));
  ASSERT_EQ(r.Dialogues.Log().size(), 1u);
  EXPECT_EQ(r.Dialogues.Log()[0].kind, platform::MessageKind::Warning);
}

// Other readers' repeated readings are averaged, as they stand: far apart,
// they still give a plausible shot (found by the fuzz target of VTopo).
TEST(PlausibiliteLecteurs, LecturesRepeteesAutresLecteurs) {
  ReseauImport r;
  const std::string chemin = r.Tro(EnTeteTro() + "A B 5 10 0 * * * * N I * N\r\n"
                                                 "B C 70.1 315 -45 * * * * N I * N\r\nB C 70.1 0 2 * * * * N I * N\r\n");
  ASSERT_TRUE(r.Importe(chemin)) << Messages(r.Dialogues);
  EXPECT_TRUE(r.Dialogues.Messages().empty()) << Messages(r.Dialogues);
  const survey::TVisee* v = r.Visee("B", "C");
  ASSERT_NE(v, nullptr);
  EXPECT_NEAR(v->Az, 337.5, 1e-9);
  EXPECT_NEAR(v->pente, -21.5, 1e-9);
  ViseesPlausibles(r, "VTopo");
}

// A Therion block in grads after one in degrees: the shots of the first
// keep their degrees (a slope of 275.3° is -84.7°, not -124.7 grads; found by
// the fuzz target of Therion).
TEST(PlausibiliteLecteurs, TherionUnitesDUnBlocSuivant) {
  ReseauImport r;
  const std::string chemin = r.Dossier.Fichier("essai.th");
  testsupport::EcritOctets(chemin,
                           "survey s\n centerline\n data normal from to length compass clino\n 0 1 2 30 275.3\n"
                           " endcenterline\n centerline\n units compass clino grads\n"
                           " data normal from to length compass clino\n 1 2 3 50 -10\n endcenterline\nendsurvey\n");
  ASSERT_TRUE(r.Importe(chemin, formats::TypeImportTopoDroid)) << Messages(r.Dialogues);
  const survey::TVisee* a = r.Visee("0", "1");
  const survey::TVisee* b = r.Visee("1", "2");
  ASSERT_TRUE(a && b);
  ASSERT_TRUE(a->LeLever && b->LeLever);
  EXPECT_EQ(a->LeLever->UniteP, 0);
  EXPECT_NEAR(a->pente, -84.7, 1e-9);
  EXPECT_EQ(b->LeLever->UniteP, 1);
  EXPECT_EQ(b->LeLever->UniteAZ, 1);
  ViseesPlausibles(r, "Therion");
}

// --- The rule itself ----------------------------------------------------------------------

TEST(PlausibiliteRegle, PentesSelonLesConventions) {
  using U = formats::ConventionsPente::Unite;
  struct Cas {
    U unite;
    bool verticale;
    double pente;
    bool possible;
  };
  const Cas cas[] = {
      {U::Degres, false, -90, true},   {U::Degres, false, 90.01, false}, {U::Degres, false, 350, true},
      {U::Degres, false, 200, false},  {U::Degres, true, 170, true},     {U::Degres, true, -10, false},
      {U::Grades, false, 100, true},   {U::Grades, false, 100.5, false}, {U::Grades, false, 390, true},
      {U::Pourcent, false, -500, true}, {U::Pourcent, false, 1e308, true}, {U::Pourcent, false, INFINITY, false},
      {U::Degres, false, NAN, false},
  };
  for (const Cas& c : cas)
    EXPECT_EQ(formats::PentePossible(c.pente, {c.unite, c.verticale}), c.possible)
        << static_cast<int>(c.unite) << " " << c.verticale << " " << c.pente;
}

TEST(PlausibiliteRegle, ViseesEtPoints) {
  formats::LecturesVisee l;
  l.Longueur = 10;
  const formats::ConventionsPente deg;
  EXPECT_EQ(formats::LectureImpossible(l, deg), ChampLecture::Aucun);
  struct Cas {
    const char* nom;
    std::function<void(formats::LecturesVisee&)> change;
    ChampLecture champ;
  };
  const Cas cas[] = {
      {"longueur négative", [](auto& x) { x.Longueur = -0.1; }, ChampLecture::Longueur},
      {"longueur de 10 km", [](auto& x) { x.Longueur = 10000; }, ChampLecture::Aucun},
      {"azimut infini", [](auto& x) { x.Azimut = INFINITY; }, ChampLecture::Azimut},
      {"azimut d'un tour de trop", [](auto& x) { x.Azimut = 725; }, ChampLecture::Aucun},
      {"longueur horizontale", [](auto& x) { x.TypeSaisie = 1; x.Longueur = -1; x.LongueurHoriz = 2e4; },
       ChampLecture::LongueurHoriz},
      {"dénivelée", [](auto& x) { x.TypeSaisie = 2; x.Pente = 500; x.Denivelee = -2e4; }, ChampLecture::Denivelee},
      {"profondeur", [](auto& x) { x.TypeSaisie = 4; x.Profondeur = NAN; }, ChampLecture::Profondeur},
      {"topofil négatif", [](auto& x) { x.Topofil = true; x.TopofilDebut = -1; }, ChampLecture::TopofilDebut},
      // The readings are possible, the length they give is not.
      {"topofil de 20 km", [](auto& x) { x.Topofil = true; x.TopofilFin = 2e6; x.EtalonTopofil = 0.01; },
       ChampLecture::TopofilFin},
      {"dimension", [](auto& x) { x.DimBas = -1e5; }, ChampLecture::DimBas},
  };
  for (const Cas& c : cas) {
    formats::LecturesVisee x = l;
    c.change(x);
    EXPECT_EQ(formats::LectureImpossible(x, deg), c.champ) << c.nom;
  }
  EXPECT_EQ(formats::PositionImpossible(90, -180, 12000), ChampLecture::Aucun);
  EXPECT_EQ(formats::PositionImpossible(90.5, 0, 0), ChampLecture::Latitude);
  EXPECT_EQ(formats::PositionImpossible(0, 180.5, 0), ChampLecture::Longitude);
  EXPECT_EQ(formats::PositionImpossible(0, 0, -12001), ChampLecture::Altitude);
  EXPECT_EQ(formats::PointImpossible(600000, 7e6, 8848), ChampLecture::Aucun);
  EXPECT_EQ(formats::PointImpossible(1e9, 0, 0), ChampLecture::CoordX);
  EXPECT_EQ(formats::PointImpossible(0, NAN, 0), ChampLecture::CoordY);
}

TEST(PlausibiliteRegle, LecturesCoherentes) {
  using L = formats::LectureRepetee;
  using V = std::vector<size_t>;
  struct Cas {
    const char* nom;
    std::vector<L> lectures;
    V coherentes;
  };
  const Cas cas[] = {
      {"une seule", {{5, 0, 0}}, {0}},
      {"deux d'accord à 5 %", {{10, 0, 0}, {10.5, 0, 0}}, {0, 1}},
      {"deux au-delà de 5 %", {{10, 0, 0}, {10.6, 0, 0}}, {}},
      {"deux à 1,99°", {{10, 10, 0}, {10, 11.99, 0}}, {0, 1}},
      {"deux au-delà de 2°", {{10, 10, 0}, {10, 12.01, 0}}, {}},
      {"la troisième absurde", {{12.3, 45, -3}, {12.31, 45.2, -3.1}, {2147483.647, 45, -3}}, {0, 1}},
      {"la première absurde", {{1e9, 0, 0}, {3, 0, 0}, {3, 0.5, 0}}, {1, 2}},
      // Non transitive: the middle one agrees with both ends, which do not
      // agree together; it is the reference.
      {"en chaîne", {{10, 0, 0}, {10, 1.5, 0}, {10, 3, 0}}, {0, 1, 2}},
      {"trois en désaccord", {{10, 0, 0}, {20, 0, 0}, {30, 0, 0}}, {}},
      {"deux contre deux", {{10, 0, 0}, {10, 0, 0}, {20, 0, 0}, {20, 0, 0}}, {}},
      {"trois contre un", {{10, 0, 0}, {20, 0, 0}, {10, 0, 0}, {10.1, 0, 0}}, {0, 2, 3}},
      {"pas un nombre", {{NAN, 0, 0}, {10, 0, 0}, {10, 0, 0}}, {1, 2}},
  };
  for (const Cas& c : cas) EXPECT_EQ(formats::LecturesCoherentes(c.lectures), c.coherentes) << c.nom;
}

TEST(PlausibiliteRegle, TextesDesNombres) {
  EXPECT_EQ(formats::TexteLongueur(12.3), "12,3 m");
  EXPECT_EQ(formats::TexteLongueur(0.0015), "0,002 m");
  EXPECT_EQ(formats::TexteLongueur(999.9996), "1 000 m");
  EXPECT_EQ(formats::TexteLongueur(15200), "15,2 km");
  EXPECT_EQ(formats::TexteLongueur(2147483.647), "2 147 km");
  EXPECT_EQ(formats::TexteLongueur(-1234567890), "-1 234 568 km");
  EXPECT_EQ(formats::TexteAngle(45.4998779296875), "45,5°");
  EXPECT_EQ(formats::TexteAngle(-3), "-3°");
  EXPECT_EQ(formats::MessageLectureImpossible("a.top", formats::PositionVisee("1.0", ""), ChampLecture::Longueur,
                                              "2 km"),
            "a.top, visée rayonnante de 1.0 : longueur impossible (2 km).");
}

}  // namespace
}  // namespace testformats
