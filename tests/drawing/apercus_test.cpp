// Previews of pattern entries: the preview transform and its restoration,
// the scratch bitmap's size, and the samples of line styles, textures and
// fonts on the image canvas.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "drawing/contexte_drawing.h"
#include "drawing/fonte.h"
#include "drawing/objet_trait.h"
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

// An entry whose sample records the preview transform, or fails.
class MotifEssai : public TObjetMotifdeBase {
 public:
  bool EstEquivalent(const TObjetMotifdeBase&) const override { return false; }
  void TraceVisuMotif(platform::Canvas& bitmap) override {
    const auto& v = foundation::Vue();
    vu = {v.XDebVue, v.YDebVue, v.EchelleVue, v.EchelleFontes, foundation::Impression().EnImpression};
    largeur = bitmap.Width();
    hauteur = bitmap.Height();
    if (echoue) throw std::runtime_error("échantillon impossible");
  }
  struct Vu {
    double x, y;
    double echelle;
    int32_t fontes;
    bool impression;
  } vu{};
  int32_t largeur = 0, hauteur = 0;
  bool echoue = false;
};

class Apercus : public ::testing::Test {
 protected:
  Apercus() : usine_(fabrique_) {
    auto& v = foundation::Vue();
    v.XDebVue = 12;
    v.YDebVue = 34;
    v.EchelleVue = 5.5;
    v.EchelleFontes = 2500;
    foundation::Impression().EnImpression = true;
  }
  static void VerifieRestaure() {
    const auto& v = foundation::Vue();
    EXPECT_EQ(v.XDebVue, 12);
    EXPECT_EQ(v.YDebVue, 34);
    EXPECT_EQ(v.EchelleVue, 5.5);
    EXPECT_EQ(v.EchelleFontes, 2500);
    EXPECT_TRUE(foundation::Impression().EnImpression);
  }

 private:
  testsupport::GardeContextes contextes_;
  platform::QtCanvasFactory fabrique_;
  platform::ScopedCanvasFactory usine_;
};

TEST_F(Apercus, TransformationDuTemporaireEtRestauration) {
  MotifEssai m;
  m.DesignMotif = "Essai";
  platform::TextLogCanvas c(300, 300);
  std::string nom;
  m.DessineVisuMotif(c, {10, 20, 110, 70}, nom);
  EXPECT_EQ(nom, "Essai");
  EXPECT_EQ(m.vu.x, -40);
  EXPECT_EQ(m.vu.y, 0);
  EXPECT_EQ(m.vu.echelle, 1);
  EXPECT_EQ(m.vu.fontes, 10000);
  EXPECT_FALSE(m.vu.impression);
  EXPECT_EQ(m.largeur, 200);
  EXPECT_EQ(m.hauteur, 200);
  VerifieRestaure();
  // White rectangle, then the stretched copy of the whole bitmap.
  ASSERT_EQ(c.Log.size(), 2u);
  EXPECT_TRUE(c.Log[0].starts_with("FillRect 10,20,110,70")) << c.Log[0];
  EXPECT_EQ(c.Log[1], "CopyRect 10,20,110,70 from 0,0,200,200 mode=0");
  // A sample that fails leaves everything as it was.
  m.echoue = true;
  EXPECT_THROW(m.DessineVisuMotif(c, {0, 0, 50, 50}), std::runtime_error);
  VerifieRestaure();
}

TEST_F(Apercus, BitmapDUnePoliceElargie) {
  for (const auto& [largeur, attendu] : {std::pair{64, 170}, std::pair{100, 266}, std::pair{30, 80}}) {
    MotifEssai m;
    m.TypeMotif = TTypeMotif::tmFonte;
    platform::TextLogCanvas c(300, 300);
    m.DessineVisuMotif(c, {0, 0, largeur, 60});
    EXPECT_EQ(m.largeur, attendu) << largeur;
    EXPECT_EQ(m.hauteur, 200);
  }
}

TEST_F(Apercus, EchantillonDeTrait) {
  // The six points (10, 10) ... (20, 150) at x + 40 on the 200 x 200 bitmap,
  // copied one to one.
  TObjetTrait style;
  style.CouleurPlume = 0x0000FF;
  style.EpaisseurPlume = 3;
  QtCanvas c(200, 200);
  style.DessineVisuMotif(c, {0, 0, 200, 200});
  for (const auto& [x, y] : {std::pair{10, 10}, std::pair{100, 50}, std::pair{120, 90}, std::pair{90, 120},
                             std::pair{50, 105}, std::pair{20, 150}})
    EXPECT_EQ(c.Pixel(x + 40, y), 0x0000FFu) << x << "," << y;
  EXPECT_EQ(c.Pixel(100, 180), kWhite);
  VerifieRestaure();
}

TEST_F(Apercus, EchantillonDeTextureEtDePolice) {
  Ports().GraineTexture = [] { return uint64_t{5}; };
  tTexture t;
  t.Densite = 5;
  QtCanvas c(300, 300);
  t.DessineVisuMotif(c, {50, 50, 150, 150});
  int dedans = 0, dehors = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x) {
      if (c.Pixel(x, y) == kWhite) continue;
      (x >= 50 && x < 150 && y >= 50 && y < 150 ? dedans : dehors) += 1;
    }
  EXPECT_GT(dedans, 1000);
  EXPECT_EQ(dehors, 0);
  // The style "Paroi" now shows this texture.
  EXPECT_EQ(Motifs().TraitParoi.UneTexture, &t);
  Motifs().TraitParoi.UneTexture = nullptr;

  TFontObjetType f;
  f.NomPolice = "Arial";
  f.Taille = 10;
  f.Couleur = 0x00FF00;
  QtCanvas p(170, 200);
  f.DessineVisuMotif(p, {0, 0, 64, 200});
  int vert = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 170; ++x)
      if (p.Pixel(x, y) != kWhite) ++vert;
  EXPECT_GT(vert, 50);
  VerifieRestaure();
}

}  // namespace
