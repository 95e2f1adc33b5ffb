// The test instrument cavtool run as a program: document round trips at every
// fixture level, refused files, declination and conversion output, the
// conversions checked against PROJ's cs2cs when it is installed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <sstream>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "foundation/chaines.h"
#include "foundation/flux.h"
#include "platform/files.h"
#include "survey/cavite.h"
#include "survey/fichier_reseau.h"
#include "survey/reseau.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/environnement_document.h"

namespace {

using testsupport::DossierTemp;
using testsupport::EcritOctets;
using testsupport::LitOctets;

std::string CheminCavtool() {
  char tampon[4096];
  const ssize_t n = ::readlink("/proc/self/exe", tampon, sizeof tampon - 1);
  if (n <= 0) return {};
  const std::string exe(tampon, static_cast<size_t>(n));
  return platform::FolderOf(platform::FolderOf(exe).substr(0, platform::FolderOf(exe).size() - 1)) + "bin/cavtool";
}

std::string Fixture(const std::string& nom) {
  return std::string(GRAVELUNE_SOURCE_DIR) + "/tests/survey/fixtures/document/" + nom;
}

std::string Guillemets(const std::string& s) {
  std::string r = "'";
  for (char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return r + "'";
}

struct Resultat {
  int code = -1;
  std::string sortie, erreurs;
};

// cavtool run with the arguments, from the folder given (else the current
// one), its home folder the one given (else a folder of d, so that nothing
// is written into the tester's own).
Resultat Lance(const DossierTemp& d, const std::string& arguments, const std::string& depart = "",
               const std::string& maison = "") {
  const std::string sortie = d.Fichier("stdout.txt"), erreurs = d.Fichier("stderr.txt");
  const std::string commande = (depart.empty() ? std::string() : "cd " + Guillemets(depart) + " && ") +
                               "env -u XDG_DOCUMENTS_DIR -u XDG_CONFIG_HOME HOME=" +
                               Guillemets(maison.empty() ? d.Chemin() : maison) + " " + Guillemets(CheminCavtool()) +
                               " " + arguments + " >" + Guillemets(sortie) + " 2>" + Guillemets(erreurs);
  const int etat = std::system(commande.c_str());
  Resultat r;
  r.code = WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
  r.sortie = LitOctets(sortie);
  r.erreurs = LitOctets(erreurs);
  return r;
}

class Cavtool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!platform::FileExists(CheminCavtool())) GTEST_SKIP() << "cavtool absent: " << CheminCavtool();
  }
  DossierTemp d;
};

TEST_F(Cavtool, AllerRetourAChaqueNiveau) {
  for (int niveau : {212, 225, 226, 503, 505, 508, 509, 510, 511}) {
    SCOPED_TRACE(niveau);
    const std::string n = std::to_string(niveau);
    EcritOctets(d.Fichier("in.cav"), LitOctets(Fixture("reseau_" + n + ".cav")));
    EcritOctets(d.Fichier("in.CFG"), LitOctets(Fixture("reseau_" + n + ".CFG")));
    Resultat r = Lance(d, "roundtrip " + Guillemets(d.Fichier("in.cav")) + " " + Guillemets(d.Fichier("w1.cav")));
    ASSERT_EQ(r.code, 0) << r.erreurs;
    EXPECT_EQ(r.erreurs, "");
    r = Lance(d, "roundtrip " + Guillemets(d.Fichier("w1.cav")) + " " + Guillemets(d.Fichier("w2.cav")));
    ASSERT_EQ(r.code, 0) << r.erreurs;
    EXPECT_EQ(LitOctets(d.Fichier("w1.cav")), LitOctets(d.Fichier("w2.cav")));
    EXPECT_EQ(LitOctets(d.Fichier("w1.CFG")), LitOctets(d.Fichier("w2.CFG")));
    EXPECT_EQ(LitOctets(d.Fichier("w1.cav")).substr(4, 22), "Version 1.0/Version511");
  }
}

TEST_F(Cavtool, FichierRefuse) {
  EcritOctets(d.Fichier("neuf.cav"), LitOctets(Fixture("reseau_512.cav")));
  const Resultat r = Lance(d, "roundtrip " + Guillemets(d.Fichier("neuf.cav")) + " " + Guillemets(d.Fichier("x.cav")));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.erreurs.find("plus récente"), std::string::npos);
  EXPECT_NE(r.erreurs.find("le fichier " + d.Fichier("neuf.cav") + " n'a pas pu être lu"), std::string::npos);
  EXPECT_FALSE(platform::FileExists(d.Fichier("x.cav")));
}

// The trips as stored: the automatic-declination flag read from level 506
// on (false before), a trip without date, and nothing computed (the stored
// automatic declination of Grotte A is not recomputed on reading).
TEST_F(Cavtool, LeversTelsQuEnregistres) {
  Resultat r = Lance(d, "levers " + Guillemets(Fixture("reseau_511.cav")));
  ASSERT_EQ(r.code, 0) << r.erreurs;
  EXPECT_EQ(r.sortie, "Grotte A;17/05/2020;1.500000;degres;1\nGrotte B;30/12/1899;0.000000;degres;0\n");
  r = Lance(d, "levers " + Guillemets(Fixture("reseau_503.cav")));
  ASSERT_EQ(r.code, 0) << r.erreurs;
  EXPECT_EQ(r.sortie, "Grotte A;17/05/2020;1.500000;degres;0\nGrotte B;non renseignée;0.000000;degres;0\n");
  EcritOctets(d.Fichier("vide.cav"), "");
  r = Lance(d, "levers " + Guillemets(d.Fichier("vide.cav")));
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.sortie, "");
  EXPECT_NE(r.erreurs.find("n'a pas pu être lu"), std::string::npos) << r.erreurs;
}

TEST_F(Cavtool, Declinaison) {
  const Resultat r = Lance(d, "declination 2020.5 45 3 0");
  ASSERT_EQ(r.code, 0) << r.erreurs;
  // About 1.4° east in southern France in 2020, written with 8 decimals.
  ASSERT_EQ(r.sortie.size(), std::string("1.44030704\n").size()) << r.sortie;
  EXPECT_NEAR(std::stod(r.sortie), 1.44, 0.1);
}

TEST_F(Cavtool, Conversions) {
  Resultat r = Lance(d, "convert 'LT 93' WGS84 700000 6600000");
  ASSERT_EQ(r.code, 0) << r.erreurs;
  EXPECT_EQ(r.sortie, "46.5000000000 3.0000000000 0.0000\n");
  r = Lance(d, "convert WGS84 'LT 93' 46.5 3 120.5");
  ASSERT_EQ(r.code, 0) << r.erreurs;
  EXPECT_EQ(r.sortie, "700000.0000 6600000.0000 120.5000\n");
  r = Lance(d, "convert Inconnu WGS84 1 2");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.erreurs, "1\n");
  r = Lance(d, "convert WGS84 Inconnue 1 2");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.erreurs, "2\n");
}

TEST_F(Cavtool, ConversionsSelonCs2cs) {
  if (std::system("command -v cs2cs >/dev/null 2>&1") != 0) GTEST_SKIP() << "cs2cs absent";
  // Oracle: PROJ, UTM zone 31 north (EPSG:32631) to Lambert-93 (EPSG:2154).
  const std::string proj = d.Fichier("proj.txt");
  const std::string commande = "echo 512345.67 4891234.5 | cs2cs -f %.4f EPSG:32631 EPSG:2154 >" + Guillemets(proj);
  ASSERT_EQ(std::system(commande.c_str()), 0);
  double xo = 0, yo = 0;
  ASSERT_EQ(std::sscanf(LitOctets(proj).c_str(), "%lf %lf", &xo, &yo), 2) << LitOctets(proj);
  const Resultat r = Lance(d, "convert --zone 31 UTM 'LT 93' 512345.67 4891234.5");
  ASSERT_EQ(r.code, 0) << r.erreurs;
  double x = 0, y = 0;
  ASSERT_EQ(std::sscanf(r.sortie.c_str(), "%lf %lf", &x, &y), 2);
  EXPECT_NEAR(x, xo, 0.01);
  EXPECT_NEAR(y, yo, 0.01);
}

// Every byte is printable text: ASCII from blank to '~', line ends and tabs,
// or a whole UTF-8 sequence of a character that is not a control.
bool TexteImprimable(const std::string& t, std::string& fautif) {
  for (size_t i = 0; i < t.size();) {
    const auto c = static_cast<unsigned char>(t[i]);
    if ((c >= 0x20 && c < 0x7F) || c == '\n' || c == '\r' || c == '\t') {
      ++i;
      continue;
    }
    const int suite = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    bool ok = suite > 0 && i + static_cast<size_t>(suite) < t.size() + 1;
    char32_t code = suite == 1 ? c & 0x1F : suite == 2 ? c & 0x0F : c & 0x07;
    for (int k = 1; ok && k <= suite; ++k) {
      if (i + static_cast<size_t>(k) >= t.size()) {
        ok = false;
        break;
      }
      const auto s = static_cast<unsigned char>(t[i + static_cast<size_t>(k)]);
      ok = (s & 0xC0) == 0x80;
      code = (code << 6) | (s & 0x3F);
    }
    if (!ok || code < 0xA0) {
      fautif = "octet " + std::to_string(c) + " en position " + std::to_string(i);
      return false;
    }
    i += static_cast<size_t>(suite) + 1;
  }
  return true;
}

// One line per station: cave;station;X;Y;Z with three plain numbers of a
// cave's size.
void VerifieSortieCalcul(const Resultat& r, const std::string& quoi) {
  SCOPED_TRACE(quoi);
  std::string fautif;
  EXPECT_TRUE(TexteImprimable(r.sortie, fautif)) << fautif;
  EXPECT_TRUE(TexteImprimable(r.erreurs, fautif)) << fautif;
  size_t debut = 0;
  while (debut < r.sortie.size()) {
    const size_t fin = r.sortie.find('\n', debut);
    const std::string ligne = r.sortie.substr(debut, fin - debut);
    debut = fin == std::string::npos ? r.sortie.size() : fin + 1;
    std::vector<std::string> champs;
    for (size_t a = 0;;) {
      const size_t b = ligne.find(';', a);
      champs.push_back(ligne.substr(a, b - a));
      if (b == std::string::npos) break;
      a = b + 1;
    }
    ASSERT_GE(champs.size(), 5u) << ligne;
    for (size_t k = champs.size() - 3; k < champs.size(); ++k) {
      double x = 0;
      EXPECT_TRUE(foundation::LitReel(champs[k], x)) << ligne;
      EXPECT_LT(std::fabs(x), 1e8) << ligne;
    }
  }
}

// The file type given on the command line: the Auriga and TopoDroid exports
// of a ".th", a ".top" through the type-7 route; a type that is no number is
// a usage error.
TEST_F(Cavtool, ImportAvecSonType) {
  const std::string fixtures = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/";
  EcritOctets(d.Fichier("beast.th"), LitOctets(fixtures + "therion/Beast_Cave.orig.th"));
  EcritOctets(d.Fichier("test1.top"), LitOctets(fixtures + "pockettopo/test1.top"));
  for (const char* cas : {"6 beast.th", "7 beast.th", "7 test1.top", "5 test1.top"}) {
    const std::string c(cas);
    const std::string fichier = c.substr(2);
    Resultat r = Lance(d, "import --type " + c.substr(0, 1) + " " + Guillemets(d.Fichier(fichier)) + " " +
                              Guillemets(d.Fichier("sortie.cav")));
    ASSERT_EQ(r.code, 0) << cas << r.erreurs;
    r = Lance(d, "compute " + Guillemets(d.Fichier("sortie.cav")));
    ASSERT_EQ(r.code, 0) << cas << r.erreurs;
    EXPECT_NE(r.sortie.find(fichier == "beast.th" ? "Beast Cave;2;" : "test1;16.24;"), std::string::npos)
        << cas << r.sortie;
  }
  // A ".th" read as a PocketTopo file is refused.
  Resultat r = Lance(d, "import --type 5 " + Guillemets(d.Fichier("beast.th")) + " " + Guillemets(d.Fichier("x.cav")));
  EXPECT_EQ(r.code, 1);
  EXPECT_FALSE(platform::FileExists(d.Fichier("x.cav")));
  r = Lance(d, "import --type six " + Guillemets(d.Fichier("beast.th")) + " " + Guillemets(d.Fichier("x.cav")));
  EXPECT_NE(r.code, 0);
  EXPECT_FALSE(platform::FileExists(d.Fichier("x.cav")));
}

// The report's file: Olivier.tro with an absurd shot after OL3 is refused by
// the import, which says where and writes nothing; the document computed
// from a file holding such a shot (written by the program itself) prints
// plain numbers for every station it can place and nothing for the others;
// the fixtures print plain text too.
TEST_F(Cavtool, SortiesImprimablesMemeAvecDesMesuresAbsurdes) {
  std::string tro = LitOctets(std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/Olivier.tro");
  const size_t ol3 = tro.find("OL3        OL4");
  ASSERT_NE(ol3, std::string::npos);
  EcritOctets(d.Fichier("Olivier.tro"), tro);
  tro.insert(tro.find('\n', ol3) + 1, "OL3 OL4 1e308 10 -500 * * * * N I * N\n");
  EcritOctets(d.Fichier("absurde.tro"), tro);

  Resultat r = Lance(d, "import " + Guillemets(d.Fichier("absurde.tro")) + " " + Guillemets(d.Fichier("absurde.cav")));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.erreurs.find("absurde.tro, ligne 16 : longueur impossible (1e308)."), std::string::npos) << r.erreurs;
  EXPECT_FALSE(platform::FileExists(d.Fichier("absurde.cav")));

  r = Lance(d, "import " + Guillemets(d.Fichier("Olivier.tro")) + " " + Guillemets(d.Fichier("olivier.cav")));
  ASSERT_EQ(r.code, 0) << r.erreurs;
  r = Lance(d, "compute " + Guillemets(d.Fichier("olivier.cav")));
  ASSERT_EQ(r.code, 0) << r.erreurs;
  EXPECT_NE(r.sortie.find(";OL18;"), std::string::npos) << r.sortie;
  VerifieSortieCalcul(r, "Olivier.tro");

  // The same survey with OL3 -> OL4 made absurd in the document itself.
  {
    testsurvey::EnvironnementDocument env;
    auto reseau = survey::OuvreReseau(d.Fichier("olivier.cav"));
    ASSERT_TRUE(reseau);
    survey::TVisee* absurde = nullptr;
    for (survey::TCavite* c : reseau->Cavites)
      for (survey::TVisee* v : c->Visees)
        if (v->PointStation && v->PointVise && v->PointStation->DesignPTopo == "OL3" &&
            v->PointVise->DesignPTopo == "OL4")
          absurde = v;
    ASSERT_TRUE(absurde);
    absurde->Long = 1e308;
    absurde->pente = -500;
    foundation::TFluxMemoire flux;
    ASSERT_TRUE(reseau->Ecrit(flux));
    EcritOctets(d.Fichier("absurde.cav"), flux.Octets());
  }
  r = Lance(d, "compute " + Guillemets(d.Fichier("absurde.cav")));
  ASSERT_EQ(r.code, 0) << r.erreurs;
  VerifieSortieCalcul(r, "absurde.cav");
  EXPECT_NE(r.sortie.find(";OL3;"), std::string::npos) << r.sortie;
  EXPECT_EQ(r.sortie.find(";OL4;"), std::string::npos) << "OL4 has no coordinates: " << r.sortie;
  EXPECT_EQ(r.sortie.find(";OL18;"), std::string::npos) << r.sortie;
  EXPECT_NE(r.erreurs.find("mesures impossibles"), std::string::npos) << r.erreurs;

  for (int niveau : {212, 225, 503, 511}) {
    const std::string n = std::to_string(niveau);
    EcritOctets(d.Fichier("n.cav"), LitOctets(Fixture("reseau_" + n + ".cav")));
    r = Lance(d, "compute " + Guillemets(d.Fichier("n.cav")));
    ASSERT_EQ(r.code, 0) << r.erreurs;
    VerifieSortieCalcul(r, "reseau_" + n);
  }
}

// The gallery dialog's memory goes to the program's working folder (the
// user's documents followed by "Gravelune"), created when missing, never to
// the folder cavtool was started from nor beside the document written.
TEST_F(Cavtool, ImportGardeSaMemoireDansLeDossierDeTravail) {
  const std::string depart = d.Fichier("depart"), maison = d.Fichier("maison"), sortie = d.Fichier("sortie");
  for (const std::string& dossier : {depart, maison, sortie}) ASSERT_EQ(::mkdir(dossier.c_str(), 0755), 0);
  EcritOctets(depart + "/Olivier.tro", LitOctets(std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/Olivier.tro"));
  // Without a documents folder the working folder is in the home folder;
  // with one, in it.
  for (const std::string& documents : {maison, maison + "/Documents"}) {
    SCOPED_TRACE(documents);
    if (documents != maison) ASSERT_EQ(::mkdir(documents.c_str(), 0755), 0);
    const Resultat r = Lance(d, "import Olivier.tro " + Guillemets(sortie + "/olivier.cav"), depart, maison);
    ASSERT_EQ(r.code, 0) << r.erreurs;
    EXPECT_TRUE(platform::FileExists(sortie + "/olivier.cav"));
    const std::string memoire = LitOctets(documents + "/Gravelune/GalCochees.txt");
    EXPECT_EQ(memoire.substr(0, memoire.find_first_of("\r\n")), depart + "/Olivier.tro");
    EXPECT_FALSE(platform::FileExists(depart + "/GalCochees.txt"));
    EXPECT_FALSE(platform::FileExists(sortie + "/GalCochees.txt"));
  }
}

// A TopoRobot file of two caves: the first by default, the other by its
// rank; a rank of 0 is refused.
TEST_F(Cavtool, ImportTopoRobotCaviteChoisie) {
  const std::string xtb = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/toporobot/Toporabot.xtb";
  struct Cas {
    std::string option, attendu;
  };
  for (const Cas& c : {Cas{"", "GROTTE DUTROUX;1-1;"}, Cas{"--cavite 2 ", "GROTTE DEBALLE;401-1;"}}) {
    Resultat r = Lance(d, "import " + c.option + Guillemets(xtb) + " " + Guillemets(d.Fichier("t.cav")));
    ASSERT_EQ(r.code, 0) << r.erreurs;
    r = Lance(d, "compute " + Guillemets(d.Fichier("t.cav")));
    ASSERT_EQ(r.code, 0) << r.erreurs;
    EXPECT_NE(r.sortie.find(c.attendu), std::string::npos) << c.option;
  }
  EXPECT_EQ(Lance(d, "import --cavite 0 " + Guillemets(xtb) + " " + Guillemets(d.Fichier("u.cav"))).code, 2);
}

}  // namespace

namespace {

// The names in a folder.
std::vector<std::string> Contenu(const std::string& dossier) {
  std::vector<std::string> noms;
  for (const auto& e : std::filesystem::directory_iterator(dossier)) noms.push_back(e.path().filename().string());
  std::sort(noms.begin(), noms.end());
  return noms;
}

}  // namespace

TEST_F(Cavtool, ExportCsv) {
  EcritOctets(d.Fichier("in.cav"), LitOctets(Fixture("reseau_511.cav")));
  const std::string avant = LitOctets(d.Fichier("in.cav"));
  const Resultat r = Lance(d, "export csv " + Guillemets(d.Fichier("in.cav")) + " " + Guillemets(d.Fichier("c.csv")));
  ASSERT_EQ(r.code, 0) << r.erreurs;
  const std::string csv = LitOctets(d.Fichier("c.csv"));
  EXPECT_EQ(csv.substr(0, 8), std::string("Cavit\xE9 :", 8));
  EXPECT_NE(csv.find("\r\nE\tDe\tA\tAZ\t"), std::string::npos);
  EXPECT_EQ(LitOctets(d.Fichier("in.cav")), avant);
  if (std::system("command -v iconv >/dev/null 2>&1") == 0) {
    const std::string commande =
        "iconv -f CP1252 -t UTF-8 " + Guillemets(d.Fichier("c.csv")) + " >" + Guillemets(d.Fichier("u.csv"));
    ASSERT_EQ(std::system(commande.c_str()), 0);
    EXPECT_EQ(LitOctets(d.Fichier("u.csv")).substr(0, 9), "Cavité :");
  }
  // An unknown cave, and a folder that does not exist: the message, no file.
  const Resultat inconnue = Lance(d, "export csv " + Guillemets(d.Fichier("in.cav")) + " " +
                                         Guillemets(d.Fichier("x.csv")) + " --cavite 'Pas de cette cavité'");
  EXPECT_EQ(inconnue.code, 1);
  EXPECT_NE(inconnue.erreurs.find("Pas de cette cavité"), std::string::npos);
  EXPECT_FALSE(platform::FileExists(d.Fichier("x.csv")));
  const std::string absent = d.Fichier("absent/c.csv");
  const Resultat echec = Lance(d, "export csv " + Guillemets(d.Fichier("in.cav")) + " " + Guillemets(absent));
  EXPECT_EQ(echec.code, 1);
  EXPECT_NE(echec.erreurs.find("Les données de la cavité n'ont pas pu être exportées. Ecriture du fichier " + absent +
                               " impossible"),
            std::string::npos)
      << echec.erreurs;
  EXPECT_FALSE(platform::FileExists(d.Fichier("absent")));
  EXPECT_EQ(LitOctets(d.Fichier("in.cav")), avant);
}

namespace {

// The stations of "cavtool compute", by name, relative to the first one.
std::map<std::string, std::array<double, 3>> StationsRelatives(const std::string& sortie) {
  std::map<std::string, std::array<double, 3>> r;
  std::array<double, 3> origine{};
  bool premiere = true;
  std::istringstream lignes(sortie);
  for (std::string l; std::getline(lignes, l);) {
    std::vector<std::string> c;
    std::istringstream champs(l);
    for (std::string s; std::getline(champs, s, ';');) c.push_back(s);
    if (c.size() != 5) continue;
    std::array<double, 3> p{};
    for (size_t i = 0; i < 3; ++i) foundation::LitReel(c[2 + i], p[i]);
    if (premiere) origine = p;
    premiere = false;
    r[c[1]] = {p[0] - origine[0], p[1] - origine[1], p[2] - origine[2]};
  }
  return r;
}

}  // namespace

// Files that cannot be read, through every command that reads them: the
// message names the file and says why, the exit code is 1, the output is
// printable text, and no file appears beside them.
TEST_F(Cavtool, FichiersIllisiblesDisentPourquoi) {
  const std::string cas = d.Fichier("cas");
  ASSERT_EQ(::mkdir(cas.c_str(), 0755), 0);
  const std::string doc = LitOctets(Fixture("reseau_511.cav"));
  EcritOctets(cas + "/vide.cav", "");
  EcritOctets(cas + "/tronque.cav", doc.substr(0, doc.size() * 2 / 3));
  std::string aleatoire;
  uint32_t graine = 12345;
  for (int i = 0; i < 4096; ++i) {
    graine = graine * 1103515245u + 12345u;
    aleatoire += static_cast<char>(graine >> 24);
  }
  EcritOctets(cas + "/aleatoire.cav", aleatoire);
  ASSERT_EQ(::mkdir((cas + "/x.cav").c_str(), 0755), 0);
  std::string tro = LitOctets(std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/Olivier.tro");
  const size_t ol3 = tro.find("OL3        OL4");
  ASSERT_NE(ol3, std::string::npos);
  tro.insert(tro.find('\n', ol3) + 1, "OL3 OL4 1e308 10 -500 * * * * N I * N\n");
  EcritOctets(cas + "/absurde.tro", tro);
  EcritOctets(cas + "/bruit.tro", "xx yy zz\r\n\x01\x02 12 13 14\r\nVersion 5.0\r\n@@@@\r\n");
  EcritOctets(cas + "/vide.tro", "");
  ASSERT_EQ(::mkdir((cas + "/dossier.tro").c_str(), 0755), 0);
  const std::vector<std::string> avant = Contenu(cas);

  struct Cas {
    std::string fichier, raison;
  };
  const std::string enTete = "son en-tête n'est pas celui d'un document Gravelune";
  const Cas documents[] = {
      {"vide.cav", "il est vide"},
      {"tronque.cav", "il s'arrête avant la fin de son dernier enregistrement"},
      {"aleatoire.cav", enTete},
      {"x.cav", "c'est un dossier"},
      {"absent.cav", "il n'existe pas"},
  };
  std::string fautif;
  for (const Cas& c : documents) {
    const std::string chemin = cas + "/" + c.fichier;
    const std::string attendu = "le fichier " + chemin + " n'a pas pu être lu : " + c.raison + ".\n";
    for (const std::string& commande :
         {"compute " + Guillemets(chemin), "roundtrip " + Guillemets(chemin) + " " + Guillemets(cas + "/copie.cav")}) {
      SCOPED_TRACE(commande);
      const Resultat r = Lance(d, commande);
      EXPECT_EQ(r.code, 1);
      EXPECT_EQ(r.erreurs, attendu);
      EXPECT_EQ(r.sortie, "");
      EXPECT_TRUE(TexteImprimable(r.erreurs, fautif)) << fautif;
      EXPECT_EQ(Contenu(cas), avant);
    }
  }
  const std::string aucuneLigne = "il n'y a aucune ligne à importer. Vérifiez la structure du fichier ";
  const Cas imports[] = {
      {"absurde.tro", "absurde.tro, ligne 16 : longueur impossible (1e308).\n"},
      {"bruit.tro", aucuneLigne + cas +
                        "/bruit.tro : aucune ligne « Param » n'y annonce de visées.\n"},
      {"vide.tro", aucuneLigne + cas + "/vide.tro : il est vide.\n"},
      {"dossier.tro", aucuneLigne + cas + "/dossier.tro : c'est un dossier.\n"},
      {"absent.tro", aucuneLigne + cas + "/absent.tro : il n'existe pas.\n"},
      {"notes.odt", "L'importation a été abandonnée : le programme ne sait pas lire ce type de fichier.\n"},
  };
  for (const Cas& c : imports) {
    SCOPED_TRACE(c.fichier);
    const Resultat r = Lance(d, "import " + Guillemets(cas + "/" + c.fichier) + " " + Guillemets(cas + "/sortie.cav"));
    EXPECT_EQ(r.code, 1);
    const std::string attendu =
        c.raison.rfind("L'importation", 0) == 0 ? c.raison : c.raison + "L'importation a été abandonnée\n";
    EXPECT_EQ(r.erreurs, attendu);
    EXPECT_EQ(r.sortie, "");
    EXPECT_TRUE(TexteImprimable(r.erreurs, fautif)) << fautif;
    EXPECT_EQ(Contenu(cas), avant);
  }
}

// Each real VTopo file without loops imported, exported as VTopo with its
// names kept, imported again: the same stations at the same places within
// the rounding of the written values.
TEST_F(Cavtool, ExportVTopoAllerRetour) {
  for (const std::string nom : {"Olivier.tro", "TestSections.tro"}) {
    const std::string source = std::string(GRAVELUNE_SOURCE_DIR) + "/../shared/fixtures/vtopo/" + nom;
    if (!platform::FileExists(source)) GTEST_SKIP() << "fixture absente: " << source;
    ASSERT_EQ(Lance(d, "import " + Guillemets(source) + " " + Guillemets(d.Fichier("a.cav"))).code, 0) << nom;
    const std::string avant = LitOctets(d.Fichier("a.cav"));
    const Resultat e = Lance(d, "export tro " + Guillemets(d.Fichier("a.cav")) + " " + Guillemets(d.Fichier("b.tro")));
    ASSERT_EQ(e.code, 0) << e.erreurs;
    EXPECT_EQ(LitOctets(d.Fichier("a.cav")), avant);
    const std::string tro = LitOctets(d.Fichier("b.tro"));
    if (std::string(nom) == "Olivier.tro") {
      EXPECT_NE(tro.find(",LT3\r\n"), std::string::npos);
    }
    ASSERT_EQ(Lance(d, "import " + Guillemets(d.Fichier("b.tro")) + " " + Guillemets(d.Fichier("b.cav"))).code, 0);
    const auto a = StationsRelatives(Lance(d, "compute " + Guillemets(d.Fichier("a.cav"))).sortie);
    const auto b = StationsRelatives(Lance(d, "compute " + Guillemets(d.Fichier("b.cav"))).sortie);
    ASSERT_FALSE(a.empty());
    ASSERT_EQ(a.size(), b.size()) << nom;
    for (const auto& [station, p] : a) {
      ASSERT_TRUE(b.count(station)) << station;
      const double borne = 0.005 * static_cast<double>(a.size()) + 0.05;
      for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(b.at(station)[i], p[i], borne) << nom << " " << station;
    }
  }
  // The VTopo numbering asked for.
  const Resultat serie = Lance(d, "export tro " + Guillemets(d.Fichier("a.cav")) + " " +
                                      Guillemets(d.Fichier("n.tro")) + " --numerotation-vtopo");
  ASSERT_EQ(serie.code, 0) << serie.erreurs;
  EXPECT_NE(LitOctets(d.Fichier("n.tro")).find("\r\nEntree Ent_1      \r\n"), std::string::npos);
  // A folder that does not exist: the message and no file.
  const std::string absent = d.Fichier("absent/b.tro");
  const Resultat echec = Lance(d, "export tro " + Guillemets(d.Fichier("a.cav")) + " " + Guillemets(absent));
  EXPECT_EQ(echec.code, 1);
  EXPECT_NE(echec.erreurs.find("Les données de la cavité n'ont pas pu être exportées."), std::string::npos);
  EXPECT_FALSE(platform::FileExists(d.Fichier("absent")));
}
