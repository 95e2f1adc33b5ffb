// Raster files through QImageReader against Pillow's decoding of the same
// files (written by images_raster.py beside this test): the depth rules, the
// turn against Pillow's rotate, the constant opacity over white, reduced
// copies and the kept rectangle, and files that cannot be read.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_raster.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/dossier_temp.h"

using namespace platform;

namespace {

const char* const kPython = "/usr/bin/python3";

// The fixtures written once for the whole test program.
class Fixtures : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dossier_ = new testsupport::DossierTemp();
    const std::string commande = std::string(kPython) + " " + GRAVELUNE_SOURCE_DIR +
                                 "/tests/platform/qt/images_raster.py " + dossier_->Chemin() + " >/dev/null 2>&1";
    ecrites_ = std::system(commande.c_str()) == 0;
  }
  static void TearDownTestSuite() {
    delete dossier_;
    dossier_ = nullptr;
  }
  void SetUp() override {
    if (!ecrites_) GTEST_SKIP() << "Pillow (python3-pil) is missing: no fixtures";
  }
  static std::string Fichier(const std::string& nom) { return dossier_->Fichier(nom); }

  ScriptedDialogs dialogues;
  ScopedDialogs garde{dialogues};
  QtRasterLoader chargeur;
  ScopedRasterLoader gardeChargeur{chargeur};

 private:
  static inline testsupport::DossierTemp* dossier_ = nullptr;
  static inline bool ecrites_ = false;
};

// The raster painted whole at 1:1 onto a canvas of its size.
QtCanvas Peint(const Raster& r, uint8_t opacite = 255) {
  QtCanvas c(r.Width(), r.Height());
  c.Brush.Color = RgbColour(255, 0, 0);  // whatever is under is covered
  c.FillRect({0, 0, c.Width(), c.Height()});
  r.Paint(c, {0, 0, r.Width(), r.Height()}, RectF{0, 0, double(r.Width()), double(r.Height())}, opacite);
  return c;
}

const std::string kMessageProfondeur = "Only 1, 4, 8, 24 or 32 BitsPerPixel are supported in this demo !";

}  // namespace

using RasterQt = Fixtures;

TEST_F(RasterQt, ProfondeursContrePillow) {
  struct Cas {
    const char* fichier;
    int profondeur;
    size_t couleurs;  // entries of the colour table
    int ecart;        // levels allowed from Pillow's decoding
  };
  const Cas cas[] = {
      {"mono.png", 1, 2, 0},       {"mono.tif", 1, 2, 0},   {"palette4.png", 4, 16, 0}, {"gris8.png", 8, 256, 0},
      {"palette8.bmp", 8, 256, 0}, {"rgb24.png", 24, 0, 0}, {"rgb24.bmp", 24, 0, 0},    {"rgb24.tif", 24, 0, 0},
      {"rgba.png", 32, 0, 0},      {"photo.jpg", 24, 0, 2},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.fichier);
    TChargeBitmap chargeur;
    ASSERT_TRUE(chargeur.OuvreFichier(Fichier(k.fichier)));
    const Raster& r = *chargeur.Image;
    EXPECT_EQ(r.Depth(), k.profondeur);
    const std::vector<Colour> table = r.ColourTable();
    EXPECT_EQ(table.size(), k.couleurs);
    if (k.profondeur == 1) EXPECT_EQ(table, (std::vector<Colour>{kBlack, kWhite}));
    if (k.profondeur == 8 && std::string(k.fichier) == "gris8.png")
      for (int i = 0; i < 256; ++i) EXPECT_EQ(table[static_cast<size_t>(i)], RgbColour(i, i, i));

    const std::string nom = std::string(k.fichier);
    const std::string attendu = testsupport::LitOctets(Fichier(nom.substr(0, nom.rfind('.')) + ".rgb"));
    ASSERT_EQ(attendu.size(), static_cast<size_t>(r.Width()) * r.Height() * 3);
    const QtCanvas c = Peint(r);
    int pire = 0;
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x) {
        const size_t i = (static_cast<size_t>(y) * r.Width() + x) * 3;
        const Colour p = c.Pixel(x, y);
        pire = std::max({pire, std::abs(RedOf(p) - static_cast<uint8_t>(attendu[i])),
                         std::abs(GreenOf(p) - static_cast<uint8_t>(attendu[i + 1])),
                         std::abs(BlueOf(p) - static_cast<uint8_t>(attendu[i + 2]))});
      }
    EXPECT_LE(pire, k.ecart);
    // The handle's own pixel read agrees with the paint.
    EXPECT_EQ(r.Pixel(r.Width() - 1, r.Height() - 1), c.Pixel(r.Width() - 1, r.Height() - 1));
  }
  EXPECT_TRUE(dialogues.Messages().empty());

  // Transparent pixels read white (checked above against the flattened
  // dump); one of them by itself.
  TChargeBitmap transparent;
  ASSERT_TRUE(transparent.OuvreFichier(Fichier("rgba.png")));
  EXPECT_EQ(transparent.Image->Pixel(4, 0), kWhite);
}

TEST_F(RasterQt, SeizeBitsRefuses) {
  for (const char* fichier : {"gris16.png", "rgb48.tif"}) {
    SCOPED_TRACE(fichier);
    dialogues.Clear();
    TChargeBitmap plain;
    EXPECT_FALSE(plain.OuvreFichier(Fichier(fichier)));
    EXPECT_EQ(plain.Image, nullptr);
    EXPECT_EQ(dialogues.Messages(), std::vector<std::string>{kMessageProfondeur});

    // The caller's bitmap is left as it was.
    dialogues.Clear();
    std::unique_ptr<Raster> bitmap = std::make_unique<ScriptedRaster>(3, 3);
    const Raster* avant = bitmap.get();
    EXPECT_FALSE(ChargeBitmapTourne(Fichier(fichier), bitmap, 30));
    EXPECT_EQ(bitmap.get(), avant);
    EXPECT_EQ(dialogues.Messages(), std::vector<std::string>{kMessageProfondeur});

    dialogues.Clear();
    EXPECT_EQ(chargeur.ReadHeader(Fichier(fichier)), std::nullopt);
    EXPECT_EQ(dialogues.Messages(), std::vector<std::string>{kMessageProfondeur});
  }
}

TEST_F(RasterQt, RotationContrePillow) {
  // Angle 0 does not turn.
  std::unique_ptr<Raster> droit;
  ASSERT_TRUE(ChargeBitmapTourne(Fichier("tourne.png"), droit, 0));
  EXPECT_EQ(droit->Width(), 200);
  EXPECT_EQ(droit->Height(), 120);
  EXPECT_EQ(droit->Pixel(150, 30), kBlack);
  EXPECT_EQ(droit->Pixel(147, 30), kWhite);

  std::ifstream attendus(Fichier("tourne.txt"));
  int n = 0;
  double angle = 0, xp = 0, yp = 0;
  int wp = 0, hp = 0;
  while (attendus >> angle >> wp >> hp >> xp >> yp) {
    SCOPED_TRACE(angle);
    ++n;
    std::unique_ptr<Raster> r;
    ASSERT_TRUE(ChargeBitmapTourne(Fichier("tourne.png"), r, angle));
    EXPECT_NEAR(r->Width(), wp, 1);
    EXPECT_NEAR(r->Height(), hp, 1);
    // The mark's centre, clockwise for a positive angle.
    const QtCanvas c = Peint(*r);
    double sx = 0, sy = 0;
    int noirs = 0;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x)
        if (c.Pixel(x, y) == kBlack) {
          sx += x;
          sy += y;
          ++noirs;
        }
    ASSERT_GT(noirs, 15);
    EXPECT_NEAR(sx / noirs, xp, 1);
    EXPECT_NEAR(sy / noirs, yp, 1);
    // The uncovered corners are white.
    for (const auto& [x, y] : {std::pair{0, 0}, {r->Width() - 1, 0}, {0, r->Height() - 1}})
      if (angle != -90) EXPECT_EQ(c.Pixel(x, y), kWhite);
  }
  EXPECT_EQ(n, 3);
  EXPECT_TRUE(dialogues.Messages().empty());
}

TEST_F(RasterQt, OpaciteSurBlanc) {
  TChargeBitmap chargeur;
  ASSERT_TRUE(chargeur.OuvreFichier(Fichier("rgb24.png")));
  const Raster& r = *chargeur.Image;
  const QtCanvas plein = Peint(r, 255), rien = Peint(r, 0), moitie = Peint(r, 128);
  const std::string attendu = testsupport::LitOctets(Fichier("rgb24.rgb"));
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) {
      const size_t i = (static_cast<size_t>(y) * r.Width() + x) * 3;
      const int rouge = static_cast<uint8_t>(attendu[i]);
      EXPECT_EQ(RedOf(plein.Pixel(x, y)), rouge);
      EXPECT_EQ(rien.Pixel(x, y), kWhite);
      EXPECT_NEAR(RedOf(moitie.Pixel(x, y)), (rouge * 128 + 255 * 127) / 255, 1);
    }
}

TEST_F(RasterQt, CopiesReduitesEtRectangleGarde) {
  TChargeBitmap chargeur;
  ASSERT_TRUE(chargeur.OuvreFichier(Fichier("photo.jpg")));
  auto& r = dynamic_cast<QtRaster&>(*chargeur.Image);
  QtCanvas c(40, 30);
  const RectF tout{0, 0, double(r.Width()), double(r.Height())};
  // 148 x 92 onto 37 x 23: a quarter, read from the second reduced copy.
  r.Paint(c, {0, 0, 37, 23}, tout, 255);
  EXPECT_EQ(r.ReductionCount(), 2u);
  EXPECT_EQ(r.CachedPaints(), 0);
  const Colour avant = c.Pixel(20, 10);
  c.Brush.Color = kBlack;
  c.FillRect({0, 0, 40, 30});
  r.Paint(c, {0, 0, 37, 23}, tout, 255);
  EXPECT_EQ(r.CachedPaints(), 1);
  EXPECT_EQ(c.Pixel(20, 10), avant);
  EXPECT_EQ(c.Pixel(38, 10), kBlack);  // outside the destination
  // Another opacity is rendered again.
  r.Paint(c, {0, 0, 37, 23}, tout, 128);
  EXPECT_EQ(r.CachedPaints(), 1);
  // Only the canvas's clip rectangle is touched.
  c.FillRect({0, 0, 40, 30});
  c.SetClipRect({10, 10, 20, 20});
  r.Paint(c, {0, 0, 37, 23}, tout, 255);
  EXPECT_EQ(c.Pixel(5, 5), kBlack);
  EXPECT_NE(c.Pixel(15, 15), kBlack);
}

TEST_F(RasterQt, FichiersIllisibles) {
  const std::string png = testsupport::LitOctets(Fichier("rgb24.png"));
  testsupport::EcritOctets(Fichier("tronque.png"), png.substr(0, png.size() / 2));
  testsupport::EcritOctets(Fichier("texte.tif"), "ceci n'est pas une image\n");
  testsupport::EcritOctets(Fichier("vide.png"), "");
  for (const char* nom : {"tronque.png", "texte.tif", "vide.png", "absent.png"}) {
    SCOPED_TRACE(nom);
    dialogues.Clear();
    TChargeBitmap plain;
    EXPECT_FALSE(plain.OuvreFichier(Fichier(nom)));
    EXPECT_TRUE(dialogues.Messages().empty());  // the callers say it
    std::unique_ptr<Raster> bitmap;
    EXPECT_FALSE(ChargeBitmapTourne(Fichier(nom), bitmap, 12));
    EXPECT_EQ(bitmap, nullptr);
    ASSERT_EQ(dialogues.Messages().size(), 1u);
    EXPECT_EQ(dialogues.Messages()[0].rfind("File not readable: ", 0), 0u) << dialogues.Messages()[0];
  }
}

TEST_F(RasterQt, TropGrandPourLaMemoire) {
  // The header is enough to refuse it: nothing is decoded.
  const std::string enorme = Fichier("enorme.png");
  const auto entete = chargeur.ReadHeader(enorme);
  ASSERT_TRUE(entete.has_value());
  EXPECT_EQ(entete->Width, 100000);
  TChargeBitmap plain;
  EXPECT_FALSE(plain.OuvreFichier(enorme));
  std::unique_ptr<Raster> bitmap;
  EXPECT_FALSE(ChargeBitmapTourne(enorme, bitmap, 37));
  EXPECT_EQ(dialogues.Messages(),
            (std::vector<std::string>(2, "Le fichier est trop important pour pouvoir être calé")));
}

TEST(RasterQtBudget, LimiteDuLecteurRelevee) {
  QtRasterLoader chargeur;
  EXPECT_GT(QtRasterLoader::MemoryBudget(), int64_t{256} << 20);
  EXPECT_EQ(static_cast<int64_t>(QImageReader::allocationLimit()), QtRasterLoader::MemoryBudget() >> 20);
}
