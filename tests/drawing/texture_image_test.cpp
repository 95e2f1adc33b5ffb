// Texture pictures on the Qt image canvas with a fixed seed, their tiling
// into a shape, and their SVG patterns checked by xmllint and rsvg-convert.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <unistd.h>
#include <string>

#include "drawing/contexte_drawing.h"
#include "drawing/sortie_svg.h"
#include "drawing/texture.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"
#include "platform/text_log_canvas.h"
#include "tests/support/garde_contextes.h"

namespace {

using namespace drawing;
using platform::kWhite;
using platform::QtCanvas;

double TempsProcesseur() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

class TextureImage : public ::testing::Test {
 protected:
  TextureImage() : usine_(fabrique_) {
    Ports().GraineTexture = [this] { return graine; };
    foundation::Impression().EnImpression = false;
    foundation::Vue().EchelleVue = 1;
  }
  uint64_t graine = 12345;

  static int Encre(const platform::Canvas& c, std::set<std::pair<int, int>>* points = nullptr) {
    int n = 0;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x)
        if (c.Pixel(x, y) != kWhite) {
          ++n;
          if (points) points->insert({x, y});
        }
    return n;
  }

 private:
  testsupport::GardeContextes contextes_;
  platform::QtCanvasFactory fabrique_;
  platform::ScopedCanvasFactory usine_;
};

TEST_F(TextureImage, SableDistinctsPixelsNoirs) {
  tTexture t;
  t.TypeTexture = TexturePoints;
  t.Densite = 50;
  // 20,000 draws on a million pixels: about 19,801 distinct ones.
  for (uint64_t g : {1u, 2u, 77u}) {
    graine = g;
    t.InitTexture();
    EXPECT_EQ(t.BmpTexture().Width(), 1000);
    const int n = Encre(t.BmpTexture());
    EXPECT_GE(n, 19650) << g;
    EXPECT_LE(n, 20000) << g;
  }
}

TEST_F(TextureImage, MemeGraineMemeImage) {
  tTexture a, b;
  a.TypeTexture = b.TypeTexture = TexturePolygonesPleins;
  std::set<std::pair<int, int>> pa, pb;
  Encre(a.BmpTexture(), &pa);
  Encre(b.BmpTexture(), &pb);
  EXPECT_EQ(pa, pb);
  graine = 99;
  b.InitTexture();
  pb.clear();
  Encre(b.BmpTexture(), &pb);
  EXPECT_NE(pa, pb);
}

TEST_F(TextureImage, TraitsDensite1000UnSeulTiret) {
  tTexture t;
  t.TypeTexture = TexturePoints + 1;
  t.Densite = 1000;
  t.TailleMax = 4;
  int vus = 0;
  for (uint64_t g = 1; g <= 40; ++g) {
    graine = g;
    t.InitTexture();
    std::set<std::pair<int, int>> p;
    const int n = Encre(t.BmpTexture(), &p);
    // The dash at (1000, 1000) moved by -14..0 in each direction: in row 1000
    // it is outside; otherwise one row among 986-999, 2 x TailleMax long
    // unless the right edge cuts it.
    if (n == 0) continue;
    ++vus;
    const int ligne = p.begin()->second;
    EXPECT_GE(ligne, 986);
    EXPECT_LE(ligne, 999);
    const int x0 = p.begin()->first, x1 = p.rbegin()->first;
    for (const auto& [x, y] : p) EXPECT_EQ(y, ligne);
    EXPECT_EQ(x1 - x0 + 1, n);
    if (x1 < 999) {
      EXPECT_EQ(n, 2 * t.TailleMax) << g;
    }
    EXPECT_GE(x0, 1000 - 14 - t.TailleMax);
  }
  EXPECT_GT(vus, 10);
}

TEST_F(TextureImage, ChaqueTypeADensite1EnTempsBorne) {
  for (int32_t type = 1; type <= 6; ++type) {
    tTexture t;
    t.TypeTexture = type;
    t.Densite = 1;
    t.TailleMin = 0;
    t.TailleMax = 10;
    // Processor time of this thread: the test binaries run side by side on
    // a loaded machine, built with the sanitizers, where one texture takes
    // up to two seconds; a density that made the drawing loop run away
    // would take minutes.
    const double debut = TempsProcesseur();
    t.InitTexture();
    EXPECT_LT(TempsProcesseur() - debut, 10.0) << NomTypeTexture(type);
    EXPECT_GT(Encre(t.BmpTexture()), 0) << type;
  }
}

TEST_F(TextureImage, CailloutisDensiteNulleOuPetiteBornee) {
  // A density below 10 gives a step under one pixel: kept at one pixel and
  // under the motif bound.
  tTexture t;
  t.TypeTexture = TextureCailloutis;
  t.Densite = 0;
  t.TailleMin = 3;
  t.TailleMax = 3;
  t.InitTexture();
  EXPECT_GT(Encre(t.BmpTexture()), 0);
}

TEST_F(TextureImage, PavageAuFacteur1TroisColonnesUneLigne) {
  tTexture t;
  platform::TextLogCanvas c(2500, 400);
  PaveTexture(c, 2500, 400, t, -1);
  const std::vector<std::string> attendu = {"CopyRect 0,0,1000,400 from 0,0,1000,400 mode=1",
                                            "CopyRect 1000,0,2000,400 from 0,0,1000,400 mode=1",
                                            "CopyRect 2000,0,2500,400 from 0,0,500,400 mode=1"};
  EXPECT_EQ(c.Log, attendu);
  EXPECT_EQ(c.Copy, platform::CopyMode::SrcCopy);
}

TEST_F(TextureImage, PavageReduitSansBitmapAgrandie) {
  // Coefficient 4 at one pixel per metre: the picture is shrunk four times,
  // canvas pixel x shows picture pixel (4x + 2) mod 1000 (the centre of the
  // four it stands for), and whatever was dark underneath stays dark.
  tTexture t;
  t.Densite = 20;
  QtCanvas c(600, 300);
  c.SetPixel(555, 111, 0x0000FF);
  PaveTexture(c, 500, 250, t, 4);
  const platform::Canvas& b = t.BmpTexture();
  int differences = 0;
  for (int y = 0; y < 250; ++y)
    for (int x = 0; x < 500; ++x)
      if (c.Pixel(x, y) != b.Pixel((4 * x + 2) % 1000, (4 * y + 2) % 1000)) ++differences;
  EXPECT_EQ(differences, 0);
  EXPECT_EQ(c.Pixel(555, 111), 0x0000FFu);
  EXPECT_EQ(c.Pixel(520, 10), kWhite);
}

TEST_F(TextureImage, UnePartieGardeLePavageDeLaFormeEntiere) {
  // A rectangle starting (130, 70) pixels into a larger shape shows what the
  // shape's own tiling puts there, with direct copies (coefficient 4) and
  // with copies tiled by doubling (coefficient 300).
  tTexture t;
  t.Densite = 20;
  QtCanvas partie(300, 200);
  PaveTexture(partie, 300, 200, t, 4, 130, 70);
  const platform::Canvas& b = t.BmpTexture();
  int differences = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x)
      if (partie.Pixel(x, y) != b.Pixel((4 * (x + 130) + 2) % 1000, (4 * (y + 70) + 2) % 1000)) ++differences;
  EXPECT_EQ(differences, 0);

  tTexture petite;
  petite.Densite = 1;
  QtCanvas entiere(400, 300), morceau(100, 100);
  PaveTexture(entiere, 400, 300, petite, 300);
  PaveTexture(morceau, 100, 100, petite, 300, 5, 7);
  differences = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x)
      if (morceau.Pixel(x, y) != entiere.Pixel(x + 5, y + 7)) ++differences;
  EXPECT_EQ(differences, 0);
  EXPECT_GT(Encre(morceau), 0);
}

TEST_F(TextureImage, PavageFacteurEnormeBorne) {
  // A coefficient 300 times the scale: ten thousand copies of the picture,
  // each 3 pixels wide: the rectangle is covered with a period of 3 pixels,
  // quickly.
  tTexture t;
  t.Densite = 1;
  QtCanvas c(400, 300);
  PaveTexture(c, 400, 300, t, 300);
  EXPECT_GT(Encre(c), 0);
  // The copies double the covered part at each step: a few dozen copies,
  // not one per period.
  {
    platform::TextLogCanvas copies(400, 300);
    PaveTexture(copies, 400, 300, t, 300);
    EXPECT_GT(copies.Log.size(), 0u);
    EXPECT_LT(copies.Log.size(), 64u);
  }
  int ecarts = 0;
  for (int y = 0; y + 3 < 300; ++y)
    for (int x = 0; x + 3 < 400; ++x)
      if (c.Pixel(x, y) != c.Pixel(x + 3, y) || c.Pixel(x, y) != c.Pixel(x, y + 3)) ++ecarts;
  EXPECT_EQ(ecarts, 0);
  // While printing the factor is 1.
  foundation::Impression().EnImpression = true;
  platform::TextLogCanvas r(400, 300);
  PaveTexture(r, 400, 300, t, 1000);
  ASSERT_EQ(r.Log.size(), 1u);
  EXPECT_EQ(r.Log[0], "CopyRect 0,0,400,300 from 0,0,400,300 mode=1");
}

// --- SVG --------------------------------------------------------------------------

int Compte(const std::string& texte, const std::string& motif) {
  int n = 0;
  for (size_t p = texte.find(motif); p != std::string::npos; p = texte.find(motif, p + 1)) ++n;
  return n;
}

std::string Motif(tTexture& t) {
  LignesSVG svg;
  svg.NBIndent = 1;
  t.CreeTextureSVG(svg, 0);
  return svg.Texte();
}

TEST_F(TextureImage, MotifsSVGParType) {
  tTexture sable;
  sable.NomMotifSVG = "texture_0";
  sable.Densite = 50;
  const std::string s = Motif(sable);
  EXPECT_EQ(Compte(s, "<circle "), 500);
  EXPECT_EQ(sable.DimSVG, 500);
  EXPECT_NE(s.find("  <pattern id=\"texture_0\" patternUnits=\"userSpaceOnUse\"\n"
                   "     x=\"0\" y=\"0\" width=\"500\" height=\"500\"\n"
                   "     viewBox=\"0 0 500 500\">\n"),
            std::string::npos)
      << s.substr(0, 300);
  EXPECT_NE(s.find("fill=\"#000000\" />"), std::string::npos);

  for (int32_t densite : {100, 30, 7}) {
    tTexture etoiles;
    etoiles.TypeTexture = TextureEtoiles;
    etoiles.Densite = densite;
    etoiles.Couleur = 0x00FF80;
    const std::string e = Motif(etoiles);
    EXPECT_EQ(Compte(e, "<path "), std::lround(10000.0 / densite)) << densite;
    EXPECT_NE(e.find("stroke=\"#80FF00\""), std::string::npos);
    EXPECT_NE(e.find("viewBox=\"0 0 100 100\""), std::string::npos);
  }

  tTexture cailloutis;
  cailloutis.TypeTexture = TextureCailloutis;
  cailloutis.NomMotifSVG = "texture_2";
  LignesSVG svg;
  cailloutis.CreeTextureSVG(svg, 0);
  ASSERT_EQ(svg.Lignes.size(), 4u);
  EXPECT_EQ(svg.Lignes[0], "<pattern id=\"texture_2\" patternUnits=\"userSpaceOnUse\"");
  EXPECT_EQ(svg.Lignes[3], "</pattern>");
}

// Runs a command; its exit status.
int Lance(const std::string& commande) { return std::system((commande + " >/dev/null 2>&1").c_str()); }

TEST_F(TextureImage, MotifsSVGBienFormesEtRendus) {
  if (Lance("command -v xmllint") != 0 || Lance("command -v rsvg-convert") != 0) GTEST_SKIP() << "outils absents";
  const std::filesystem::path dossier =
      std::filesystem::temp_directory_path() / ("gravelune_textures_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dossier);
  for (int32_t type = 1; type <= 6; ++type) {
    tTexture t;
    t.TypeTexture = type;
    t.NomMotifSVG = "texture_" + std::to_string(type);
    t.Densite = type == TextureTraits ? 15 : type >= TexturePolygonesPleins ? 100 : 50;
    t.TailleMin = 2;
    t.TailleMax = 8;
    LignesSVG svg;
    svg.EcritBlocSVG("svg xmlns=\"http://www.w3.org/2000/svg\" width=\"400\" height=\"400\">");
    svg.NBIndent = 1;
    svg.EcritBlocSVG("defs>");
    svg.NBIndent = 2;
    t.CreeTextureSVG(svg, 0);
    svg.NBIndent = 1;
    svg.EcritFinBlocSVG("defs");
    svg.EcritFinLigneSVG("<rect x=\"0\" y=\"0\" width=\"400\" height=\"400\" fill=\"url(#" + t.NomMotifSVG + ")\"");
    svg.NBIndent = 0;
    svg.EcritFinBlocSVG("svg");
    const std::filesystem::path f = dossier / (t.NomMotifSVG + ".svg");
    const std::filesystem::path png = dossier / (t.NomMotifSVG + ".png");
    std::ofstream(f) << svg.Texte();
    EXPECT_EQ(Lance("xmllint --noout " + f.string()), 0) << svg.Texte().substr(0, 500);
    ASSERT_EQ(Lance("rsvg-convert -b white " + f.string() + " -o " + png.string()), 0) << type;
    QImage image(QString::fromStdString(png.string()));
    ASSERT_FALSE(image.isNull());
    int sombres = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, y)) < 200) ++sombres;
    // Pebbles have no SVG motif: their pattern is empty.
    if (type == TextureCailloutis) {
      EXPECT_EQ(sombres, 0);
    } else {
      EXPECT_GT(sombres, 100) << type;
    }
  }
  std::filesystem::remove_all(dossier);
}

}  // namespace
