// The surface-point import: text point files, GPX waypoints (the fixtures of
// ../shared/fixtures/gpx), the selection dialog's state, the conversion into
// the network's system (PROJ's cs2cs as oracle when installed) and the update
// of existing points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "formats/import/galeries_import.h"
#include "formats/import/points/import_points_surface.h"
#include "formats/import/points/selection_points_import.h"
#include "foundation/codage.h"
#include "survey/liste_points.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "tests/formats/import_test_support.h"
#include "tests/projections/oracle_proj.h"

namespace {

using formats::ImportePointsSurface;
using formats::LitLignePoint;
using survey::TListedePoints;
using survey::TPointSpeleo;

const std::string DossierGpx = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/gpx/";

std::string Commentaire(const TPointSpeleo& p) { return p.Commentaire.empty() ? "<aucun>" : p.Commentaire.front(); }

TEST(ImportPoints, LignesDeTexte) {
  struct Cas {
    const char* ligne;
    bool point;
    const char* nom;
    double x, y, z;
    const char* commentaire;
  };
  const Cas cas[] = {
      {"P1;1,5;2,5;100;mot", true, "P1", 1.5, 2.5, 100, "mot"},
      // TAB wins over the blanks, which stay inside the fields.
      {"P 2\t10 .5\t20\t3\tun commentaire", true, "P 2", 10.5, 20, 3, "un commentaire"},
      // Blanks only: runs of blanks between fields are skipped.
      {"  P3   1    2     3   fin de ligne ", true, "P3", 1, 2, 3, "fin de ligne"},
      {"P4|7|8", true, "P4", 7, 8, 0, ""},
      // Name and X only: no point; name, X and Y: Z is 0.
      {"P5;1", false, "", 0, 0, 0, ""},
      {"P6;1;2", true, "P6", 1, 2, 0, ""},
      // A field that is not a number gives its leading number.
      {"P7;12.5m;abc;4e2x", true, "P7", 12.5, 0, 400, ""},
      // A comma not between digits stays.
      {"P8;1;2;3;a,b", true, "P8", 1, 2, 3, "a,b"},
      {"sans-separateur", false, "", 0, 0, 0, ""},
      {"", false, "", 0, 0, 0, ""},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.ligne);
    const auto p = LitLignePoint(k.ligne);
    ASSERT_EQ(p != nullptr, k.point);
    if (!p) continue;
    EXPECT_EQ(p->DesignPTopo, k.nom);
    EXPECT_DOUBLE_EQ(p->X, k.x);
    EXPECT_DOUBLE_EQ(p->Y, k.y);
    EXPECT_DOUBLE_EQ(p->Z, k.z);
    EXPECT_EQ(Commentaire(*p), k.commentaire);
  }
}

TEST(ImportPoints, MarquesDOrdreDesOctets) {
  const std::string utf8 = "\xEF\xBB\xBF" "Élodie;1;2\r\nÀ2;3;4\n";
  const auto l8 = formats::LignesFichierPoints(utf8);
  ASSERT_GE(l8.size(), 2u);
  EXPECT_EQ(l8[0], "Élodie;1;2");
  // UTF-16 in both byte orders, with a character outside the BMP.
  const std::u32string texte = U"Ré𝄞;5;6\nZ;1;1";
  std::string le = "\xFF\xFE", be = "\xFE\xFF";
  for (char32_t c : texte) {
    auto unite = [&](char16_t u) {
      le += static_cast<char>(u & 0xFF);
      le += static_cast<char>(u >> 8);
      be += static_cast<char>(u >> 8);
      be += static_cast<char>(u & 0xFF);
    };
    if (c > 0xFFFF) {
      unite(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      unite(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      unite(static_cast<char16_t>(c));
    }
  }
  for (const std::string& octets : {le, be}) {
    const auto l = formats::LignesFichierPoints(octets);
    ASSERT_GE(l.size(), 2u);
    EXPECT_EQ(l[0], "Ré𝄞;5;6");
    EXPECT_EQ(l[1], "Z;1;1");
  }
  // Without a mark: Windows-1252, unless the bytes are valid UTF-8 with
  // accents (a file written by a UTF-8 editor).
  EXPECT_EQ(formats::LignesFichierPoints("\xC9t\xE9;1;2")[0], "Été;1;2");
  EXPECT_EQ(formats::LignesFichierPoints("Été;1;2\nGrès;3;4")[1], "Grès;3;4");
  EXPECT_EQ(formats::LignesFichierPoints("Pont;1;2")[0], "Pont;1;2");
}

struct Waypoint {
  const char* nom;
  double lat, lon, z;
  const char* commentaire;
};

void VerifieGpx(const std::string& fichier, const std::vector<Waypoint>& attendus) {
  SCOPED_TRACE(fichier);
  const std::string octets = testsupport::LitOctets(DossierGpx + fichier);
  ASSERT_FALSE(octets.empty());
  TListedePoints points(true);
  ASSERT_TRUE(formats::LitPointsGpx(octets, points, "", 0));
  ASSERT_EQ(points.Count(), static_cast<int>(attendus.size()));
  for (size_t i = 0; i < attendus.size(); ++i) {
    const TPointSpeleo& p = *points.Item(static_cast<int>(i));
    if (attendus[i].nom) {
      EXPECT_EQ(p.DesignPTopo, attendus[i].nom);
    }
    // Without a system: X longitude, Y latitude, in degrees.
    EXPECT_DOUBLE_EQ(p.X, attendus[i].lon);
    EXPECT_DOUBLE_EQ(p.Y, attendus[i].lat);
    EXPECT_DOUBLE_EQ(p.Z, attendus[i].z);
    if (attendus[i].commentaire) {
      EXPECT_EQ(Commentaire(p), attendus[i].commentaire);
    }
  }
}

TEST(ImportPoints, FixturesGpx) {
  const std::vector<Waypoint> passthrough = {
      {"Head east on CA-190 E/Nadeau Trail Continue to follow CA-190 E", 36.33956, -117.42257, 479.3, nullptr},
      {"Turn right at Airport Rd", 36.46085, -116.86546, -55.6, "Turn right at Airport Rd"},
      {"Arrive at: Furnace Creek Airport-L06, Death Valley National Park, Death Valley, CA 92328", 36.46364, -116.8792,
       -67.3, nullptr},
  };
  EXPECT_EQ(std::string(passthrough[2].nom).size(), 88u);
  VerifieGpx("gpxpassthrough10.gpx", passthrough);
  VerifieGpx("gpxpassthrough11.gpx", passthrough);
  TListedePoints basecamp(true);
  ASSERT_TRUE(formats::LitPointsGpx(testsupport::LitOctets(DossierGpx + "basecamp.gpx"), basecamp, "", 0));
  ASSERT_EQ(basecamp.Count(), 2);
  EXPECT_EQ(basecamp.Item(0)->DesignPTopo, "Hwy 119");
  EXPECT_EQ(basecamp.Item(1)->DesignPTopo, "Hwy 72");
  EXPECT_EQ(basecamp.Item(0)->Z, 0);
  EXPECT_EQ(basecamp.Item(1)->Z, 0);
  TListedePoints grapheme(true);
  ASSERT_TRUE(formats::LitPointsGpx(testsupport::LitOctets(DossierGpx + "grapheme.gpx"), grapheme, "", 0));
  ASSERT_EQ(grapheme.Count(), 3);
  // The file writes the umlauts decomposed (letter, then U+0308): unchanged.
  EXPECT_EQ(Commentaire(*grapheme.Item(0)), "Wu\xCC\x88rzburg");
  EXPECT_EQ(Commentaire(*grapheme.Item(1)), "Margetsho\xCC\x88" "chheim");
  EXPECT_EQ(Commentaire(*grapheme.Item(2)), "\xEF\xBF\xBD" "Eingen");
}

TEST(ImportPoints, GpxAttributsDansToutOrdre) {
  struct Cas {
    const char* texte;
    int points;
  };
  const Cas cas[] = {
      {R"(<gpx><wpt lon="2.5" lat="45.25"><ele>10</ele><name>A</name></wpt></gpx>)", 1},
      {R"(<gpx><wpt lat='45.25' lon='2.5'><name>A</name><ele>10</ele></wpt></gpx>)", 1},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><gpx><wpt lat=\"45.25\" lon=\"2.5\"><ele>10</ele>"
       "<name>A</name><cmt>\xE9t\xE9</cmt></wpt></gpx>",
       1},
      {R"(<gpx><trk><trkpt lat="1" lon="2"/></trk></gpx>)", 0},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.texte);
    TListedePoints points(true);
    ASSERT_TRUE(formats::LitPointsGpx(k.texte, points, "", 0));
    ASSERT_EQ(points.Count(), k.points);
    if (!k.points) continue;
    EXPECT_EQ(points.Item(0)->X, 2.5);
    EXPECT_EQ(points.Item(0)->Y, 45.25);
    EXPECT_EQ(points.Item(0)->Z, 10);
    EXPECT_EQ(points.Item(0)->DesignPTopo, "A");
  }
  TListedePoints latin(true);
  ASSERT_TRUE(formats::LitPointsGpx(cas[2].texte, latin, "", 0));
  EXPECT_EQ(Commentaire(*latin.Item(0)), "été");
}

// A network with a system, through the whole import (headless: the
// selection accepted as proposed).
struct Import : testformats::ReseauImport {
  Import() {
    survey::Document().ReseauCourant = &R();
  }
  std::string Ecrit(const std::string& nom, const std::string& octets) {
    const std::string chemin = Dossier.Fichier(nom);
    testsupport::EcritOctets(chemin, octets);
    return chemin;
  }
  std::string CheminGpx(const std::string& nom) {
    return Ecrit(nom, testsupport::LitOctets(DossierGpx + nom));
  }
  int NombreSurface() { return R().LesPointsSurface()->Count(); }
};

TEST(ImportPoints, GpxDansUnReseauUTM11ContreCs2cs) {
  Import t;
  t.R().Projection = "UTM";
  t.R().NumFuseau = 11;
  ASSERT_TRUE(ImportePointsSurface(t.CheminGpx("gpxpassthrough11.gpx"), t.R()));
  ASSERT_EQ(t.NombreSurface(), 3);
  const auto oracle = oracle::Cs2cs("EPSG:4326", "EPSG:32611",
                                    {{36.33956, -117.42257}, {36.46085, -116.86546}, {36.46364, -116.8792}});
  if (!oracle) GTEST_SKIP() << "cs2cs absent";
  oracle::AnnonceOracle("cs2cs");
  const char* noms[] = {"Head east on CA-190 E/Nadeau Trail Continue to follow CA-190 E", "Turn right at Airport Rd",
                        "Arrive at: Furnace Creek Airport-L06, Death Valley National Park, Death Valley, CA 92328"};
  for (int i = 0; i < 3; ++i) {
    const TPointSpeleo* p = t.PointSurface(noms[i]);
    ASSERT_NE(p, nullptr) << noms[i];
    EXPECT_NEAR(p->X, (*oracle)[static_cast<size_t>(i)][0], 1e-3) << noms[i];
    EXPECT_NEAR(p->Y, (*oracle)[static_cast<size_t>(i)][1], 1e-3) << noms[i];
  }
  EXPECT_NEAR(t.PointSurface(noms[1])->Z, -55.6, 1e-9);
}

// A GPX document that is not well-formed: the message names the line where
// the parser stopped and what it found, in whatever encoding the document
// is; nothing is added.  A file that cannot be read keeps its own message.
TEST(ImportPoints, GpxMalFormeLigneEtRaison) {
  Import t;
  const std::string entier = testsupport::LitOctets(DossierGpx + "basecamp.gpx");
  const std::string coupe = entier.substr(0, entier.size() / 2);
  const std::string wpt = "<wpt lat=\"44.5\" lon=\"2.5\"><name>A</name></wpt>\n";
  const std::string latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<gpx>\n"
                             "<wpt lat=\"1\" lon=\"2\"><name>\xC9boulis \xE9\xE9\xE9</name></wpt>\n"
                             "<wpt lat=\"1\" lon=2/>\n</gpx>\n";
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("<?xml version=\"1.0\"?>\n<gpx>\n") + wpt + "<wpt lat=\"1\" lon=2/>\n</gpx>\n") {
    utf16 += c;
    utf16 += '\0';
  }
  struct Cas {
    const char* nom;
    std::string octets;
    int ligne;
    const char* raison;  // nullptr: any
  };
  const Cas cas[] = {
      {"balises croisées", "<?xml version=\"1.0\"?>\n<gpx>\n" + wpt + "<wpt lat=\"1\" lon=\"2\">\n</wtp>\n</gpx>\n", 5,
       "balise fermante qui ne correspond pas à la balise ouverte, ou élément non fermé"},
      {"attribut sans guillemets", "<gpx>\n\n" + wpt + "<wpt lat=1 lon=\"2\"/>\n</gpx>\n", 4, "attribut mal formé"},
      {"Latin-1 déclaré", latin1, 4, "attribut mal formé"},
      {"UTF-16", utf16, 4, "attribut mal formé"},
      {"texte sans XML", "Nom;X;Y\nA;1;2\n", 3, "aucun élément XML"},
      {"coupé en deux", coupe, static_cast<int>(1 + std::count(coupe.begin(), coupe.end(), '\n')), nullptr},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    const std::string chemin = t.Ecrit("mauvais.gpx", c.octets);
    t.Dialogues.Clear();
    EXPECT_FALSE(ImportePointsSurface(chemin, t.R()));
    EXPECT_EQ(t.NombreSurface(), 0);
    ASSERT_EQ(t.Dialogues.Messages().size(), 1u);
    const std::string tete = "le fichier " + chemin + " n'est pas un fichier GPX bien formé : ligne " +
                             std::to_string(c.ligne) + ", ";
    const std::string m = t.Dialogues.Messages()[0];
    EXPECT_EQ(m.substr(0, tete.size()), tete) << m;
    if (c.raison) EXPECT_EQ(m.substr(std::min(tete.size(), m.size())), c.raison);
    EXPECT_EQ(formats::MessageGpxIllisible(chemin, c.octets), m);
  }
  EXPECT_EQ(formats::MessageGpxIllisible("x.gpx", "<gpx>" + wpt + "</gpx>"), "");
  EXPECT_FALSE(ImportePointsSurface(t.Dossier.Fichier("absent.gpx"), t.R()));
  EXPECT_EQ(t.Dialogues.Messages().back(), "impossible d'ouvrir le fichier " + t.Dossier.Fichier("absent.gpx"));
}

TEST(ImportPoints, MiseAJourParNomEtTri) {
  Import t;
  ASSERT_TRUE(ImportePointsSurface(t.Ecrit("a.txt", "B;1;1;1;premier\nA;2;2;2\n"), t.R()));
  ASSERT_EQ(t.NombreSurface(), 2);
  // Sorted by name.
  EXPECT_EQ(t.R().LesPointsSurface()->Item(0)->DesignPTopo, "A");
  TPointSpeleo* b = t.PointSurface("B");
  // An existing name is moved, not duplicated; a name twice in the file keeps
  // its first occurrence's values.
  ASSERT_TRUE(ImportePointsSurface(t.Ecrit("b.txt", foundation::VersWindows1252("B;5;6;7;déplacé\nC;0;0\nC;9;9\n")), t.R()));
  EXPECT_EQ(t.NombreSurface(), 3);
  EXPECT_EQ(t.PointSurface("B"), b);
  EXPECT_EQ(b->X, 5);
  EXPECT_EQ(b->Z, 7);
  EXPECT_EQ(Commentaire(*b), "déplacé");
  EXPECT_EQ(t.PointSurface("C")->X, 0);
  // Every point updates an existing one: false.
  EXPECT_FALSE(ImportePointsSurface(t.Ecrit("c.txt", "A;3;3;3\n"), t.R()));
  EXPECT_EQ(t.PointSurface("A")->X, 3);
  EXPECT_EQ(t.NombreSurface(), 3);
}

TEST(ImportPoints, SelectionViderEtAnnuler) {
  Import t;
  formats::FenetresImport().AfficheSelectImport = [](formats::TSelectImportDlg& d) {
    d.Aucun();
    return true;
  };
  const std::string chemin = t.Ecrit("p.txt", "A;1;2\nB;3;4\n");
  EXPECT_FALSE(ImportePointsSurface(chemin, t.R()));
  ASSERT_FALSE(t.Dialogues.Messages().empty());
  EXPECT_EQ(t.Dialogues.Messages().back(), "Le fichier " + chemin + " ne comporte aucun point à importer");
  // Unchecked points are not imported.
  formats::FenetresImport().AfficheSelectImport = [](formats::TSelectImportDlg& d) {
    d.Coche(0, false);
    return true;
  };
  EXPECT_TRUE(ImportePointsSurface(chemin, t.R()));
  EXPECT_EQ(t.PointSurface("A"), nullptr);
  EXPECT_NE(t.PointSurface("B"), nullptr);
  // Cancel: nothing, no message.
  const size_t messages = t.Dialogues.Messages().size();
  formats::FenetresImport().AfficheSelectImport = [](formats::TSelectImportDlg&) { return false; };
  EXPECT_FALSE(ImportePointsSurface(t.Ecrit("q.txt", "Q;1;2\n"), t.R()));
  EXPECT_EQ(t.NombreSurface(), 1);
  EXPECT_EQ(t.Dialogues.Messages().size(), messages);
}

TEST(ImportPoints, CoordonneesGeographiquesConvertiesUneFois) {
  Import t;
  t.R().Projection = "UTM";
  t.R().NumFuseau = 31;
  formats::FenetresImport().AfficheSelectImport = [](formats::TSelectImportDlg& d) {
    d.TypeCoord = formats::TSelectImportDlg::TypeCoordonnees::AutreProjection;
    d.EstWGS = true;
    d.Project = "WGS84";
    EXPECT_TRUE(d.NotesVisibles());
    EXPECT_EQ(d.Decimales(), 8);
    EXPECT_EQ(d.TitreX(), "   lat");
    EXPECT_EQ(d.TitreY(), "   long");
    return true;
  };
  // X longitude, Y latitude.
  ASSERT_TRUE(ImportePointsSurface(t.Ecrit("g.txt", "G;2.5;44.25;100\n"), t.R()));
  const auto oracle = oracle::Cs2cs("EPSG:4326", "EPSG:32631", {{44.25, 2.5}});
  if (!oracle) GTEST_SKIP() << "cs2cs absent";
  oracle::AnnonceOracle("cs2cs");
  EXPECT_NEAR(t.PointSurface("G")->X, (*oracle)[0][0], 1e-3);
  EXPECT_NEAR(t.PointSurface("G")->Y, (*oracle)[0][1], 1e-3);
  // Kilometres in the network's own system.
  formats::FenetresImport().AfficheSelectImport = [](formats::TSelectImportDlg& d) {
    d.EnKm = true;
    EXPECT_EQ(d.Decimales(), 3);
    EXPECT_FALSE(d.NotesVisibles());
    return true;
  };
  ASSERT_TRUE(ImportePointsSurface(t.Ecrit("k.txt", "K;500.5;4800.25;100\n"), t.R()));
  EXPECT_DOUBLE_EQ(t.PointSurface("K")->X, 500500);
  EXPECT_DOUBLE_EQ(t.PointSurface("K")->Y, 4800250);
}

TEST(SelectImportDlg, ModesEtTextes) {
  testformats::ReseauImport t;
  survey::Document().ReseauCourant = &t.R();
  survey::Affichage().DecimalesCoord = 2;
  TListedePoints points(true);
  for (const char* l : {"A;1.23456;2;3;un", "B;4;5;6", "C;7;8;9"}) points.Add(LitLignePoint(l));
  // Marking mode: every row checked, OK marks and keeps the list.
  formats::TSelectImportDlg m;
  m.Init(points);
  EXPECT_TRUE(m.ModeMarquage());
  EXPECT_FALSE(m.PanneauTypeCoord());
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(m.Cochee(i));
  m.Aucun();
  m.Coche(1, true);
  EXPECT_EQ(m.TexteX(0), "        1.23");
  EXPECT_EQ(m.TexteZ(0), "     3.00");
  EXPECT_EQ(m.TexteNotes(0), "un");
  ASSERT_TRUE(m.Ferme(true));
  EXPECT_EQ(m.Selecte, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(points.Count(), 3);
  // Full mode without a network system: no frame; "Tous" and OK keep all.
  formats::TSelectImportDlg f;
  f.Init(points, true);
  EXPECT_FALSE(f.PanneauTypeCoord());
  f.Aucun();
  f.Tous();
  f.Coche(2, false);
  ASSERT_TRUE(f.Ferme(true));
  EXPECT_EQ(points.Count(), 2);
  // With a network system: the frame, its notes, kilometres and geographic
  // texts.
  t.R().Projection = "LT 93";
  formats::TSelectImportDlg g;
  g.Init(points, true);
  ASSERT_TRUE(g.PanneauTypeCoord());
  EXPECT_FALSE(g.NotesVisibles());
  EXPECT_EQ(g.TitreX(), "          X");
  g.EnKm = true;
  EXPECT_EQ(g.TexteX(0), "       1.235");
  g.TypeCoord = formats::TSelectImportDlg::TypeCoordonnees::AutreProjection;
  g.Project = "LT 93";
  EXPECT_FALSE(g.NotesVisibles());
  g.Project = "LT 3";
  EXPECT_TRUE(g.NotesVisibles());
  g.EstWGS = true;
  EXPECT_FALSE(g.UnitesVisibles());
  EXPECT_EQ(g.TexteX(0), "  1.23456000");
  EXPECT_FALSE(g.Ferme(false));
  EXPECT_EQ(points.Count(), 2);
}

}  // namespace
