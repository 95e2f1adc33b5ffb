// The raster port without a toolkit: the frame of a turned image, the
// scripted handle and loader, and the documented loaders over the port.
#include <gtest/gtest.h>

#include "platform/raster.h"

using namespace platform;

TEST(CadreRotation, TailleEtCentres) {
  struct Cas {
    int32_t w, h;
    double angle;
    int32_t largeur, hauteur;
  };
  const Cas cas[] = {
      {201, 101, 0, 201, 101},   {200, 100, -90, 100, 200}, {200, 100, 90, 100, 200},
      {200, 100, 180, 200, 100}, {200, 120, 30, 234, 204},  {1, 1, 45, 2, 2},
  };
  for (const Cas& k : cas) {
    const TurnFrame f = MakeTurnFrame(k.w, k.h, k.angle);
    EXPECT_EQ(f.Width, k.largeur) << k.angle;
    EXPECT_EQ(f.Height, k.hauteur) << k.angle;
    // Turning and back gives the point again.
    double tx = 0, ty = 0, x = 0, y = 0;
    f.Turn(13.25, 7.5, tx, ty);
    f.Unturn(tx, ty, x, y);
    EXPECT_NEAR(x, 13.25, 1e-9);
    EXPECT_NEAR(y, 7.5, 1e-9);
  }
  // Angle 0 is the identity, odd sizes included.
  double tx = 0, ty = 0;
  MakeTurnFrame(201, 101, 0).Turn(3, 100, tx, ty);
  EXPECT_EQ(tx, 3);
  EXPECT_EQ(ty, 100);
}

TEST(RasterScripte, QuartDeTourEtMarques) {
  ScriptedRaster source(4, 2);
  source.SetSourcePixel(0, 0, kBlack);
  // A quarter turn counter-clockwise: the top left corner goes to the bottom left.
  const auto r = ScriptedRaster::Turned(source, -90);
  ASSERT_EQ(r->Width(), 2);
  ASSERT_EQ(r->Height(), 4);
  EXPECT_EQ(r->Pixel(0, 3), kBlack);
  EXPECT_EQ(r->Pixel(1, 3), kWhite);
  EXPECT_EQ(r->Pixel(0, 0), kWhite);
  EXPECT_EQ(r->Pixel(2, 0), kInvalidColour);
  r->AddMark({1, 1});
  EXPECT_EQ(r->Pixel(1, 1), kMarkBrush);
}

TEST(RasterScripte, ChargeursDocumentes) {
  // No port installed: nothing can be read.
  TChargeBitmap vide;
  EXPECT_FALSE(vide.OuvreFichier("/nulle/part.png"));

  ScriptedRasterLoader chargeur;
  ScopedRasterLoader garde(chargeur);
  chargeur.Files = {{"a.png", RasterHeader{30, 20, 8}}, {"b.tif", RasterHeader{30, 20, 16}}};
  TChargeBitmap plain;
  ASSERT_TRUE(plain.OuvreFichier("a.png"));
  EXPECT_EQ(plain.Image->Width(), 30);
  EXPECT_EQ(plain.Image->Depth(), 8);
  // A refused depth or an unknown file keeps what was loaded.
  const Raster* avant = plain.Image.get();
  EXPECT_FALSE(plain.OuvreFichier("b.tif"));
  EXPECT_FALSE(plain.OuvreFichier("c.png"));
  EXPECT_EQ(plain.Image.get(), avant);

  std::unique_ptr<Raster> bitmap;
  ASSERT_TRUE(ChargeBitmapTourne("a.png", bitmap, 90));
  EXPECT_EQ(bitmap->Width(), 20);
  EXPECT_EQ(bitmap.get(), chargeur.LastTurned);
  const Raster* tourne = bitmap.get();
  EXPECT_FALSE(ChargeBitmapTourne("b.tif", bitmap, 10));
  EXPECT_EQ(bitmap.get(), tourne);
  EXPECT_EQ(chargeur.Angles, (std::vector<double>{90, 10}));
}
