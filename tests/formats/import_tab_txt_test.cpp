// The text-table import: the header, the column titles, the cells' checks
// and cleaning, the entrance's coordinate system (PROJ's cs2cs as oracle),
// the input types against Survex's cavern, the window cancelled.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "formats/import/galeries_import.h"
#include "formats/import/texte/import_tab_txt.h"
#include "foundation/codage.h"
#include "foundation/dates.h"
#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "tests/formats/import_test_support.h"
#include "tests/projections/oracle_proj.h"
#include "tests/survey/survex_oracle.h"

namespace {

using formats::TVisuImportTab;

std::vector<std::string> Lignes(const std::string& texte) { return foundation::DecoupeLignes(texte); }

// The header and the dialog's table of a file's text, as the reader makes
// them; false when the header takes the whole file.
bool Prepare(const std::string& texte, formats::TEnTeteTab& e, TVisuImportTab& v) {
  std::vector<std::string> l = Lignes(texte);
  if (!formats::LitEnTeteTab(l, e)) return false;
  v.Init(e, l);
  return true;
}

std::vector<std::string> TitresDe(const TVisuImportTab& v) {
  std::vector<std::string> r;
  for (int c = 0; c < v.NombreColonnes; ++c) r.push_back(v.TitreColonne(c));
  return r;
}

TEST(ImportTabTxt, EnTeteEtColonnes) {
  struct Cas {
    const char* nom;
    std::string texte;
    bool lu;
    std::string cavite, entree, premiereCellule;
    std::vector<std::string> titres;
  };
  const std::string dix = "A\tB\t10\t-5\t3\t1\t1\t2\t0.5\tfin\n";
  const std::string douze = "A\tB\t10\t-5\t3\t2.9\t0.2\t1\t1\t2\t0.5\tfin\n";
  const Cas cas[] = {
      {"première ligne sans TAB", "Mon relevé\nA\tB\t10\t-5\t3\t\tx\n", true, "", "", "A",
       {"Pt Stat", "Pt Vis", "Az", "P", "L", "", "Comment"}},
      {"en-tête seul", "cavité\tGrotte\nentrée\tE\t1\t2\t3\n", false, "", "", "", {}},
      {"en-tête suivi de la table sans séparation", "cavité\tGrotte\nA\tB\t10\t-5\t3\n", false, "", "", "", {}},
      {"deux lignes cavité", "cavité\tPremière\ncavité\tSeconde\t1\t2\t3\t4\t5\n", true, "Première", "", "cavité",
       {"Pt Stat", "Pt Vis", "Az", "P", "L", "", "Comment"}},
      {"mots en majuscules ASCII", "CAVITé\t  Grotte  \nENTRéE\tE0\t1\t2\t3\nvisées\tde\ta\n" + dix, true, "Grotte", "E0",
       "A", {"Pt Stat", "Pt Vis", "Az", "P", "L", "Lg", "Ld", "Hsup", "Hinf", "Comment"}},
      {"douze colonnes", "cavité\tG\n\t\n" + douze, true, "G", "", "A",
       {"Pt Stat", "Pt Vis", "Az", "P", "L", "Lh", "dH", "Lg", "Ld", "Hsup", "Hinf", "Comment"}},
      {"cinq colonnes", "\nA\tB\t10\t-5\t3\n", true, "", "", "A", {"", "", "", "", "Comment"}},
      {"cellules au-delà de la 22e ignorées", "\n" + std::string("A\tB\t1\t2\t3") + std::string(30, '\t') + "loin\n", true,
       "", "", "A", {"Pt Stat", "Pt Vis", "Az", "P", "Comment"}},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    formats::TEnTeteTab e;
    TVisuImportTab v;
    ASSERT_EQ(Prepare(k.texte, e, v), k.lu);
    if (!k.lu) continue;
    EXPECT_EQ(e.NomCavite, k.cavite);
    EXPECT_EQ(e.NomEntree, k.entree);
    ASSERT_FALSE(v.Lignes.empty());
    EXPECT_EQ(v.Lignes[0].Cellule(0), k.premiereCellule);
    if (k.nom == std::string("cellules au-delà de la 22e ignorées")) {
      EXPECT_EQ(v.Lignes[0].Cellules.size(), 22u);
      EXPECT_EQ(v.NombreColonnes, 5);
      continue;
    }
    EXPECT_EQ(TitresDe(v), k.titres);
  }
}

TEST(ImportTabTxt, TitrageParClic) {
  formats::TEnTeteTab e;
  TVisuImportTab v;
  ASSERT_TRUE(Prepare("\nA\tB\t10\t3\t-5\t1\t2\t0\n", e, v));
  ASSERT_EQ(v.NombreColonnes, 8);
  // Column 3 clicked: the titles of columns 0 to 2 leave the list.
  v.CliqueEnTete(3);
  ASSERT_EQ(v.ListeTitres.size(), 10u);
  EXPECT_EQ(formats::TitreColonneTab(v.ListeTitres[0]), "P");
  EXPECT_EQ(v.TitreColonne(3), "P");
  EXPECT_EQ(v.TitreColonne(4), "L");
  // "L" chosen: 4, 5 ... take the entries after "L".
  v.ChoisitTitre(1);
  EXPECT_EQ(TitresDe(v), (std::vector<std::string>{"Pt Stat", "Pt Vis", "Az", "L", "Lh", "dH", "Lg", "Ld"}));
  // The last entry: the columns after it stay untitled.
  v.CliqueEnTete(6);
  v.ChoisitTitre(static_cast<int>(v.ListeTitres.size()) - 1);
  EXPECT_EQ(v.TitreColonne(6), "Prof");
  EXPECT_EQ(v.TitreColonne(7), "");
}

TEST(ImportTabTxt, CellulesRougesEtNettoyage) {
  formats::TEnTeteTab e;
  TVisuImportTab v;
  ASSERT_TRUE(Prepare("\nA\tB\t370\t120\t2,5\tx\nB\tC\t10\t200\tabc\ty\nC\tD\t350\t-95\t3\tz\n", e, v));
  ASSERT_EQ(v.NombreColonnes, 6);
  struct Cas {
    int ligne, colonne;
    bool rouge;
  };
  const Cas cas[] = {{0, 2, true},  {0, 3, true},  {0, 4, false}, {1, 3, true},
                     {1, 4, true},  {2, 3, true},  {2, 2, false}, {0, 0, false}};
  for (const Cas& k : cas) EXPECT_EQ(v.CelluleRouge(k.ligne, k.colonne), k.rouge) << k.ligne << "," << k.colonne;
  // In grades, 370 is an azimuth and 95 a slope.
  v.UnitAz = v.UnitP = 1;
  EXPECT_FALSE(v.CelluleRouge(0, 2));
  EXPECT_FALSE(v.CelluleRouge(2, 3));
  v.UnitAz = v.UnitP = 0;
  v.Ferme(false);
  // 120 is kept, 200 and 370 go to 0, the decimal comma reads, "abc" is 0.
  EXPECT_EQ(v.Lignes[0].Cellule(3), "120");
  EXPECT_EQ(v.Lignes[1].Cellule(3), "0");
  EXPECT_EQ(v.Lignes[0].Cellule(2), "0");
  EXPECT_EQ(v.Lignes[0].Cellule(4), "2.5");
  EXPECT_EQ(v.Lignes[1].Cellule(4), "0");
  EXPECT_EQ(v.Lignes[2].Cellule(3), "-95");
  EXPECT_EQ(v.Lignes[0].Cellule(5), "x");
  EXPECT_EQ(v.Colonne[formats::TabL], 4);
  EXPECT_EQ(v.Colonne[formats::TabLh], -1);
}

// A network into which tables are imported.
struct Table : testformats::ReseauImport {
  std::string Fichier(const std::string& texte, const std::string& nom = "table.txt") {
    const std::string chemin = Dossier.Fichier(nom);
    testsupport::EcritOctets(chemin, foundation::VersWindows1252(texte));
    return chemin;
  }
  bool ImporteTable(const std::string& texte) { return Importe(Fichier(texte), formats::TypeImportTableTexte); }
};

TEST(ImportTabTxt, ImportCompletEtEntree) {
  Table t;
  ASSERT_TRUE(t.ImporteTable("cavité\tGrotte d'essai\nentrée\tE\t1000,5\t2000\t300\ndate\t14/07/23\n"
                             "déclinaison\t1,5\nvisées\n"
                             "E\tA\t0\t0\t10\t1\t2\t3\t4\tpremière\nA\tB\t90\t0\t5\t0\t0\t0\t0\t\n"));
  survey::TCavite* c = t.Cavite();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->NomCavite, "Grotte d'essai");
  EXPECT_EQ(c->Visees.Count(), 2);
  const survey::TPointSpeleo* e = t.PointSurface("E");
  ASSERT_NE(e, nullptr);
  EXPECT_DOUBLE_EQ(e->X, 1000.5);
  EXPECT_DOUBLE_EQ(e->Y, 2000);
  EXPECT_DOUBLE_EQ(e->Z, 300);
  ASSERT_EQ(c->Levers.Count(), 1);
  const survey::TLever* l = c->Levers.First();
  foundation::TDateTime d;
  ASSERT_TRUE(foundation::EncodeDate(2023, 7, 14, d));
  EXPECT_EQ(l->LaDate, d);
  EXPECT_DOUBLE_EQ(l->Declinaison, 1.5);
  const survey::TPointSpeleo* a = t.Station("A");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->LargeurGA, 1);
  EXPECT_EQ(a->HauteurInf, 4);
  EXPECT_EQ(a->Commentaire.Texte(), "première");
}

// The same table in every encoding a text editor writes gives the same
// cave: name, entrance and its coordinates, date, declination, shots and
// their comments.
TEST(ImportTabTxt, CodagesDonnentLaMemeCavite) {
  const std::string texte =
      "Cavité\tGouffre de l'Étoile\nEntrée\tÉ0\t1000,5\t2000\t300\nDate\t14/07/23\n"
      "Déclinaison\t1,5\nVisées\nÉ0\tA\t10\t-5\t12,5\t1\t2\t3\t4\tpuits élargi\nA\tB\t90\t0\t5\t0\t0\t0\t0\tméandre\n";
  auto utf16 = [](const std::string& t) {
    std::string r = "\xFF\xFE";
    for (const char16_t u : foundation::VersUtf16(t)) {
      r += static_cast<char>(u & 0xFF);
      r += static_cast<char>(u >> 8);
    }
    return r;
  };
  std::string crlf;
  for (const char c : texte) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  struct Codage {
    const char* nom;
    std::string octets;
  };
  const Codage codages[] = {
      {"Latin-1", foundation::VersLatin1(texte)},
      {"Windows-1252, CR LF", foundation::VersWindows1252(crlf)},
      {"UTF-8", texte},
      {"UTF-8 avec BOM", "\xEF\xBB\xBF" + texte},
      {"UTF-8 avec BOM, CR LF", "\xEF\xBB\xBF" + crlf},
      {"UTF-16 avec BOM", utf16(crlf)},
  };
  foundation::TDateTime date;
  ASSERT_TRUE(foundation::EncodeDate(2023, 7, 14, date));
  for (const Codage& k : codages) {
    SCOPED_TRACE(k.nom);
    Table t;
    const std::string chemin = t.Dossier.Fichier("table.txt");
    testsupport::EcritOctets(chemin, k.octets);
    ASSERT_TRUE(t.Importe(chemin, formats::TypeImportTableTexte)) << ::testing::PrintToString(t.Dialogues.Messages());
    survey::TCavite* c = t.Cavite();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->NomCavite, "Gouffre de l'Étoile");
    const survey::TPointSpeleo* e = t.PointSurface("É0");
    ASSERT_NE(e, nullptr);
    EXPECT_DOUBLE_EQ(e->X, 1000.5);
    EXPECT_DOUBLE_EQ(e->Y, 2000);
    EXPECT_DOUBLE_EQ(e->Z, 300);
    ASSERT_EQ(c->Levers.Count(), 1);
    EXPECT_EQ(c->Levers.First()->LaDate, date);
    EXPECT_DOUBLE_EQ(c->Levers.First()->Declinaison, 1.5);
    ASSERT_EQ(c->Visees.Count(), 2);
    const survey::TVisee* v = t.Visee("A", "B");
    ASSERT_NE(v, nullptr);
    EXPECT_DOUBLE_EQ(v->Az, 90);
    EXPECT_DOUBLE_EQ(v->Long, 5);
    const survey::TPointSpeleo* a = t.Station("A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->LargeurGA, 1);
    EXPECT_EQ(a->Commentaire.Texte(), "puits élargi");
    EXPECT_EQ(t.Station("B")->Commentaire.Texte(), "méandre");
  }
}

// What is not text is refused before the table is shown, with its reason;
// nothing is added and the file is left as it is.  The text encodings and
// the control characters a text may hold pass.
TEST(ImportTabTxt, FichierBinaireRefuse) {
  struct Cas {
    const char* nom;
    std::string octets;
    bool texte;
    std::string lu;  // the text, when it is one
  };
  const Cas cas[] = {
      {"image PNG", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10", 20), false, ""},
      {"un NUL dans une table", std::string("\nA\tB\t1\t2\t3\0\n", 13), false, ""},
      {"caractère d'échappement", "\nA\tB\t1\t2\t3\x1B[0m\n", false, ""},
      {"UTF-16 d'un binaire", std::string("\xFF\xFE\x01\0\x02\0", 6), false, ""},
      {"saut de page et fin DOS", "\nA\tB\x0C\t1\r\n\x1A", true, "\nA\tB\x0C\t1\r\n\x1A"},
      // Bytes Windows-1252 leaves undefined are letters of Macintosh texts.
      {"octets indéfinis en Windows-1252", "\nA\x8F\tB\n", true, "\nA\xC2\x8F\tB\n"},
      {"UTF-8 valide", "\nÉ\tB\n", true, "\nÉ\tB\n"},
      {"UTF-8 invalide : Windows-1252", "\n\xC9\xE9\tB\n", true, "\nÉé\tB\n"},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    std::string lu = "avant";
    EXPECT_EQ(formats::TexteTableau(k.octets, lu), k.texte);
    EXPECT_EQ(lu, k.lu);
  }
  Table t;
  bool montre = false;
  formats::FenetresImport().AfficheVisuImportTab = [&montre](TVisuImportTab&) { return montre = true; };
  const std::string binaire = cas[0].octets + std::string(200, '\x07') + "\nA\tB\t1\t2\t3\n";
  const std::string chemin = t.Dossier.Fichier("image.txt");
  testsupport::EcritOctets(chemin, binaire);
  EXPECT_FALSE(t.Importe(chemin, formats::TypeImportTableTexte));
  EXPECT_FALSE(montre);
  EXPECT_EQ(t.Cavite(), nullptr);
  EXPECT_EQ(t.R().LesPointsSurface()->Count(), 0);
  EXPECT_EQ(testsupport::LitOctets(chemin), binaire);
  ASSERT_EQ(t.Dialogues.Messages().size(), 1u);
  EXPECT_EQ(t.Dialogues.Messages()[0], "il n'y a aucune ligne à importer. Vérifiez la structure du fichier " + chemin +
                                            " : le fichier n'est pas un fichier texte.");
}

TEST(ImportTabTxt, AnnulerEtEnTeteSeulSansMessage) {
  Table t;
  formats::FenetresImport().AfficheVisuImportTab = [](TVisuImportTab&) { return false; };
  EXPECT_FALSE(t.ImporteTable("cavité\tG\nentrée\tE\t1\t2\t3\nvisées\nE\tA\t0\t0\t10\n"));
  EXPECT_EQ(t.Cavite(), nullptr);
  EXPECT_EQ(t.R().LesPointsSurface()->Count(), 0);
  EXPECT_TRUE(t.Dialogues.Messages().empty());
  formats::FenetresImport().AfficheVisuImportTab = nullptr;
  EXPECT_FALSE(t.ImporteTable("cavité\tG\nentrée\tE\t1\t2\t3\n"));
  EXPECT_TRUE(t.Dialogues.Messages().empty());
  EXPECT_EQ(t.Cavite(), nullptr);
}

TEST(ImportTabTxt, EntreeEnWGS84ContreCs2cs) {
  Table t;
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionAutres));
  formats::FenetresImport().AfficheVisuImportTab = [](TVisuImportTab& v) {
    v.TypeCoord = TVisuImportTab::TypeCoordEntree::WGS84;
    return true;
  };
  // The first coordinate is the latitude.
  ASSERT_TRUE(t.ImporteTable("entrée\tE\t44,25\t2.5\t512\nvisées\nE\tA\t0\t0\t10\tx\n"))
      << (t.Dialogues.Messages().empty() ? formats::Import().RaisonAbandon : t.Dialogues.Messages().back());
  EXPECT_EQ(t.R().Projection.substr(0, 3), "UTM");
  EXPECT_EQ(t.R().NumFuseau, 31);
  const survey::TPointSpeleo* e = t.PointSurface("E");
  ASSERT_NE(e, nullptr);
  EXPECT_DOUBLE_EQ(e->Z, 512);
  const auto oracle = oracle::Cs2cs("EPSG:4326", "EPSG:32631", {{44.25, 2.5}});
  if (!oracle) GTEST_SKIP() << "cs2cs absent";
  oracle::AnnonceOracle("cs2cs");
  EXPECT_NEAR(e->X, (*oracle)[0][0], 1e-3);
  EXPECT_NEAR(e->Y, (*oracle)[0][1], 1e-3);
}

// The same four shots written in each input type; the stations against
// cavern's reduction of the tape, compass and clino readings.
TEST(ImportTabTxt, TypesDeSaisieCommeSurvex) {
  if (!testsurvey::CavernDisponible()) GTEST_SKIP() << "Survex (cavern, dump3d) n'est pas installé";
  struct Visee {
    const char *de, *a;
    double l, az, p;
  };
  const Visee visees[] = {{"A", "B", 10, 30, -20}, {"B", "C", 15, 120, 35}, {"C", "D", 7.5, 250, -60},
                          {"D", "E", 12, 340, 5}};
  std::string svx = "*fix A 0 0 0\n*data normal from to tape compass clino\n";
  for (const Visee& v : visees)
    svx += std::string(v.de) + " " + v.a + " " + foundation::ReelEnTexteExact(v.l) + " " +
           foundation::ReelEnTexteExact(v.az) + " " + foundation::ReelEnTexteExact(v.p) + "\n";
  Table t;
  const testsurvey::ResultatSurvex survex = testsurvey::LanceCavern(svx, t.Dossier.Chemin());
  ASSERT_TRUE(survex.Ok) << survex.Erreur;
  std::cout << "[ oracle  ] Survex (cavern)\n";
  struct Forme {
    const char* nom;
    std::vector<int> titres;
  };
  using namespace formats;
  const Forme formes[] = {
      {"L+P", {TabPtStat, TabPtVis, TabAz, TabP, TabL}},
      {"Lh+P", {TabPtStat, TabPtVis, TabAz, TabP, TabLh}},
      {"L+dH", {TabPtStat, TabPtVis, TabAz, TabL, TabdH}},
      {"Lh+dH", {TabPtStat, TabPtVis, TabAz, TabLh, TabdH}},
      {"L+Prof", {TabPtStat, TabPtVis, TabAz, TabL, TabProf}},
  };
  for (const Forme& f : formes) {
    SCOPED_TRACE(f.nom);
    Table r;
    std::string texte = "entrée\tA\t0\t0\t0\nvisées\n";
    double z = 0;
    for (const Visee& v : visees) {
      const double p = v.p * std::numbers::pi / 180;
      z += v.l * std::sin(p);
      std::string ligne = std::string(v.de) + "\t" + v.a + "\t" + foundation::ReelEnTexteExact(v.az);
      for (size_t k = 3; k < f.titres.size(); ++k) {
        double x = 0;
        switch (f.titres[k]) {
          case TabP: x = v.p; break;
          case TabL: x = v.l; break;
          case TabLh: x = v.l * std::cos(p); break;
          case TabdH: x = v.l * std::sin(p); break;
          case TabProf: x = z; break;
        }
        ligne += "\t" + foundation::ReelEnTexteExact(x);
      }
      texte += ligne + "\n";
    }
    const std::vector<int> titres = f.titres;
    formats::FenetresImport().AfficheVisuImportTab = [titres](TVisuImportTab& v) {
      EXPECT_EQ(v.NombreColonnes, static_cast<int>(titres.size()));
      for (size_t c = 0; c < titres.size() && c < v.Titres.size(); ++c) v.Titres[c] = titres[c];
      return true;
    };
    ASSERT_TRUE(r.ImporteTable(texte));
    r.R().CalculeReseau();
    for (const char* nom : {"B", "C", "D", "E"}) {
      const survey::TPointSpeleo* p = r.Station(nom);
      ASSERT_NE(p, nullptr) << nom;
      const auto s = survex.Positions.find(foundation::EnMinuscules(nom));
      ASSERT_NE(s, survex.Positions.end()) << nom;
      EXPECT_NEAR(p->X, s->second[0], 0.01) << nom;
      EXPECT_NEAR(p->Y, s->second[1], 0.01) << nom;
      EXPECT_NEAR(p->Z, s->second[2], 0.01) << nom;
    }
  }
}

}  // namespace

namespace {

// In the temporary document of a partial import the entrance's coordinates
// are not read: the staged entrance is (0, 0, 0).
TEST(ImportTabTxt, ImportPartielEntreeALOrigine) {
  Table t;
  const std::string chemin = t.Fichier("entrée\tE\t1000\t2000\t300\nvisées\nE\tA\t0\t0\t10\tx\n");
  ASSERT_TRUE(formats::ImporteFichierAutre(chemin, formats::TypeImportTableTexte, true, &t.R()));
  const survey::TPointSpeleo* e = t.PointSurface("E");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->X, 0);
  EXPECT_EQ(e->Y, 0);
  EXPECT_EQ(e->Z, 0);
}

}  // namespace
