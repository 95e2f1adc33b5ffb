// cavtool's pictures of the views, run as a program: Olivier.tro imported
// into a document, its plan drawn with the printed transform; Survex's
// positions of the same shots (cavern on the import tests' .svx) mapped
// through that transform fall on the drawn survey; the elevation's stations
// on the rows of Survex's altitudes.  Usage errors and a missing cave.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "platform/files.h"
#include "survey/cavite.h"
#include "survey/fichier_reseau.h"
#include "survey/reseau.h"
#include "tests/formats/survex_tro.h"
#include "tests/support/dossier_temp.h"
#include "tests/views/windows/outils_visu.h"

namespace {

using namespace essaifenetres;

std::string CheminCavtool() {
  char tampon[4096];
  const ssize_t n = ::readlink("/proc/self/exe", tampon, sizeof tampon - 1);
  if (n <= 0) return {};
  const std::string dossier = platform::FolderOf(std::string(tampon, static_cast<size_t>(n)));
  return platform::FolderOf(dossier.substr(0, dossier.size() - 1)) + "bin/cavtool";
}

struct Resultat {
  int code = -1;
  std::string sortie;
};

Resultat Lance(const std::string& arguments) {
  Resultat r;
  FILE* f = popen(("ASAN_OPTIONS=detect_leaks=0 '" + CheminCavtool() + "' " + arguments + " 2>/dev/null").c_str(), "r");
  if (!f) return r;
  char t[4096];
  size_t n;
  while ((n = fread(t, 1, sizeof t, f)) > 0) r.sortie.append(t, n);
  const int etat = pclose(f);
  r.code = WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
  return r;
}

struct Transformation {
  double X0 = 0, Y0 = 0, E = 0;
  bool Lue = false;
  int Colonne(double x) const { return static_cast<int>(std::lround((x - X0) * E)); }
  int Ligne(double y) const { return static_cast<int>(std::lround((Y0 - y) * E)); }
};

Transformation LitTransformation(const std::string& sortie) {
  Transformation t;
  std::istringstream l(sortie);
  std::string origine, a, b, echelle, e;
  l >> origine >> a >> b >> echelle >> e;
  t.Lue = origine == "origine" && echelle == "echelle" && foundation::LitReel(a, t.X0) && foundation::LitReel(b, t.Y0) && foundation::LitReel(e, t.E) && t.E > 0;
  return t;
}

bool TraitAutour(const QImage& image, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (image.valid(x + dx, y + dy) && (image.pixel(x + dx, y + dy) & 0xFFFFFF) != 0xFFFFFF) return true;
  return false;
}

class CavtoolVues : public Document {
 protected:
  testsupport::DossierTemp d;
  std::string tro = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/Olivier.tro";
  std::string cav = d.Fichier("o.cav");

  // Survex's positions by the file's station names; none without Survex.
  std::map<std::string, std::array<double, 3>> Survex() {
    std::map<std::string, std::array<double, 3>> r;
    if (!testformats::CavernPresent()) return r;
    std::unique_ptr<survey::TReseau> reseau = survey::OuvreReseau(cav);
    EXPECT_TRUE(reseau && reseau->NombreCavites() == 2);
    if (!reseau || reseau->NombreCavites() != 2) return r;
    const double convergence = reseau->UneCavite(1)->CalculeConvergence() * 180 / std::numbers::pi;
    std::unordered_map<std::string, std::string> noms;
    const auto nom = [&](const std::string& n) {
      auto it = noms.find(n);
      if (it == noms.end()) it = noms.emplace(n, "s" + std::to_string(noms.size())).first;
      return it->second;
    };
    std::string erreur;
    const auto p = testformats::PositionsSurvex(
        testformats::VersSvx(testformats::LitTro(testsupport::LitOctets(tro)), nom, convergence), d.Chemin(), erreur);
    EXPECT_TRUE(erreur.empty()) << erreur;
    for (const auto& [station, code] : noms)
      if (const auto it = p.find(code); it != p.end()) r[station] = it->second;
    return r;
  }
};

TEST_F(CavtoolVues, PlanEtCoupeDOlivierSurLesPositionsDeSurvex) {
  ASSERT_EQ(Lance("import --type 3 '" + tro + "' '" + cav + "'").code, 0);
  const Resultat plan = Lance("plan '" + cav + "' '" + d.Fichier("plan.png") + "' --largeur 640 --hauteur 480");
  ASSERT_EQ(plan.code, 0);
  const Transformation t = LitTransformation(plan.sortie);
  ASSERT_TRUE(t.Lue) << plan.sortie;
  QImage image(QString::fromStdString(d.Fichier("plan.png")));
  ASSERT_EQ(image.size(), QSize(640, 480));
  // The stations as cavtool computes them, then as Survex does.
  const Resultat calcul = Lance("compute '" + cav + "'");
  ASSERT_EQ(calcul.code, 0);
  std::istringstream lignes(calcul.sortie);
  std::string ligne;
  int stations = 0;
  while (std::getline(lignes, ligne)) {
    std::vector<std::string> champs;
    std::istringstream l(ligne);
    for (std::string c; std::getline(l, c, ';');) champs.push_back(c);
    ASSERT_EQ(champs.size(), 5u) << ligne;
    double x = 0, y = 0;
    ASSERT_TRUE(foundation::LitReel(champs[2], x) && foundation::LitReel(champs[3], y));
    EXPECT_TRUE(TraitAutour(image, t.Colonne(x), t.Ligne(y))) << ligne;
    ++stations;
  }
  EXPECT_GT(stations, 10);
  const auto survex = Survex();
  for (const auto& [nom, p] : survex)
    EXPECT_TRUE(TraitAutour(image, t.Colonne(p[0]), t.Ligne(p[1]))) << nom;

  const Resultat coupe = Lance("coupe '" + cav + "' \"Grotte de l'Olivier\" '" + d.Fichier("coupe.png") + "'");
  ASSERT_EQ(coupe.code, 0);
  const Transformation tc = LitTransformation(coupe.sortie);
  ASSERT_TRUE(tc.Lue) << coupe.sortie;
  QImage elevation(QString::fromStdString(d.Fichier("coupe.png")));
  ASSERT_FALSE(elevation.isNull());
  // Each of Survex's altitudes falls on a row where something is drawn.
  for (const auto& [nom, p] : survex) {
    const int y = tc.Ligne(p[2]);
    bool trouve = false;
    for (int x = 0; x < elevation.width() && !trouve; ++x) trouve = TraitAutour(elevation, x, y);
    EXPECT_TRUE(trouve) << nom;
  }
}

TEST_F(CavtoolVues, ErreursDUsageEtCaviteAbsente) {
  ASSERT_EQ(Lance("import --type 3 '" + tro + "' '" + cav + "'").code, 0);
  for (const std::string& a : {"plan '" + cav + "'", "plan '" + cav + "' x.png --largeur 5 --hauteur 400",
                               "plan '" + cav + "' x.png --largeur 400 --profondeur 400", "coupe '" + cav + "' x.png"})
    EXPECT_EQ(Lance(a).code, 2) << a;
  EXPECT_EQ(Lance("coupe '" + cav + "' Inconnue '" + d.Fichier("c.png") + "'").code, 1);
  EXPECT_FALSE(platform::FileExists(d.Fichier("c.png")));
  EXPECT_EQ(Lance("plan '" + d.Fichier("absent.cav") + "' '" + d.Fichier("p.png") + "'").code, 1);
}

}  // namespace
