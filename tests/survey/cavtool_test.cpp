// The test instrument cavtool run as a program: document round trips at every
// fixture level, refused files, declination and conversion output, the
// conversions checked against PROJ's cs2cs when it is installed.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "tests/support/dossier_temp.h"

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

Resultat Lance(const DossierTemp& d, const std::string& arguments) {
  const std::string sortie = d.Fichier("stdout.txt"), erreurs = d.Fichier("stderr.txt");
  const std::string commande =
      Guillemets(CheminCavtool()) + " " + arguments + " >" + Guillemets(sortie) + " 2>" + Guillemets(erreurs);
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

}  // namespace
