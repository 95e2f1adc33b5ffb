// The two drawing objects of the views: a page frame of the page grid moved
// over the drawing, and the vertical altitude scale of a layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/drawing/outils_vue.h"
#include "views/dessin_page_semis.h"
#include "views/echelle_v_symb.h"

namespace {

using foundation::TPoint;
using testvue::Espion;
using views::TDessinPageSemis;
using views::TPageSemis;

// 10 pixels per metre, pixel (0, 0) at ground (0, 30).
class DessinsVues : public ::testing::Test {
 protected:
  testvue::Vue vue{10, 0, 30, 400, 400};
};

TEST_F(DessinsVues, CadreDePageAutourDuCentreDeplace) {
  TPageSemis page;
  page.DimLpage = 20;
  page.DimHpage = 10;
  page.PointHautReel = foundation::PtTopoXY(0, 20);
  page.PointBasReel = foundation::PtTopoXY(20, 10);
  page.NumPage = 3;
  TDessinPageSemis cadre(&page);
  EXPECT_EQ(cadre.LaPage(), &page);
  cadre.InitDimensions();
  EXPECT_EQ(cadre.UnPointDeBase(0).PointLoc(), (TPoint{0, 10000}));
  // Caught at pixel (100, 150) (ground (10, 15), the centre) and moved to
  // pixel (150, 100): the page is rebuilt around ground (15, 20).
  cadre.EstFixe = false;
  cadre.Capture(100, 150);
  cadre.Deplace(150, 100);
  const std::vector<TPoint> coins = {{5000, 15000}, {5000, 25000}, {25000, 25000}, {25000, 15000}};
  ASSERT_EQ(cadre.NombrePoints(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(cadre.UnPointDeBase(i).PointLoc(), coins[static_cast<size_t>(i)]) << i;
  EXPECT_DOUBLE_EQ(page.PointHautReel.X, 5);
  EXPECT_DOUBLE_EQ(page.PointHautReel.Y, 25);
  EXPECT_DOUBLE_EQ(page.PointBasReel.X, 25);
  EXPECT_DOUBLE_EQ(page.PointBasReel.Y, 15);

  // The frame in the page's colour, width 3, and its number above point 0
  // (pixel (50, 150)).
  Espion c(400, 400);
  cadre.DessineObjet(c);
  ASSERT_EQ(c.Lignes("Polyline").size(), 1u);
  EXPECT_EQ(c.Lignes("Polyline")[0], "Polyline 50,150 50,50 250,50 250,150 50,150");
  const std::vector<std::string> textes = c.Lignes("TextOut");
  ASSERT_EQ(textes.size(), 1u);
  EXPECT_TRUE(textes[0].starts_with("TextOut 60,124 esc=0 \"3\"")) << textes[0];
  // The index sheet has no number.
  page.EstTa = true;
  Espion ta(400, 400);
  cadre.DessineObjet(ta);
  EXPECT_TRUE(ta.Lignes("TextOut").empty());
}

TEST_F(DessinsVues, EchelleVerticaleGraduee) {
  // Absolute altitudes 105 to 125 m shown between the reference altitudes
  // 25 and 5 (pixels 50 and 250), step 5: ticks for 110, 115 and 120 at
  // pixels 100, 150 and 200, strictly inside the line from (100, 50) to
  // (100, 250).
  views::TListeEchVert liste;
  liste.PasEchelle = 5;
  liste.Absolue = true;
  views::TEchelleVert* e = liste.AjouteEchelleV();
  e->ListeProprio = &liste;
  e->YHReel = 125;
  e->YBReel = 105;
  e->RefAltiH = 25;
  e->RefAltiB = 5;
  for (const bool droite : {true, false}) {
    e->ChiffreDr = droite;
    views::tEchelleVSymb s(e);
    Espion c(400, 400);
    s.DessineSymbole(foundation::PtTopoXY(10000, 25000), foundation::PtTopoXY(10000, 5000), c);
    const std::vector<std::string> traits = c.Lignes("LineTo");
    ASSERT_EQ(traits.size(), 4u) << droite;
    EXPECT_EQ(traits[0], "LineTo 100,50 100,250 w=2 c=000000");
    const int bout = droite ? 105 : 95;
    const std::vector<std::string> valeurs = {"110", "115", "120"};
    const std::vector<std::string> textes = c.Lignes("TextOut");
    ASSERT_EQ(textes.size(), 3u);
    for (int i = 0; i < 3; ++i) {
      const int y = 100 + 50 * i;
      EXPECT_EQ(traits[static_cast<size_t>(i + 1)],
                "LineTo 100," + std::to_string(y) + " " + std::to_string(bout) + "," + std::to_string(y) +
                    " w=2 c=000000");
      const int x = droite ? 110 : 100 - 10 - 21;
      EXPECT_TRUE(textes[static_cast<size_t>(i)].starts_with("TextOut " + std::to_string(x) + "," +
                                                              std::to_string(y - 8) + " esc=0 \"" +
                                                              valeurs[static_cast<size_t>(i)] + "\""))
          << textes[static_cast<size_t>(i)];
    }
  }
  // No step: the line alone.
  liste.PasEchelle = 0;
  views::tEchelleVSymb s(e);
  Espion c(400, 400);
  s.DessineSymbole(foundation::PtTopoXY(10000, 25000), foundation::PtTopoXY(10000, 5000), c);
  EXPECT_EQ(c.Lignes("LineTo").size(), 1u);
  EXPECT_TRUE(c.Lignes("TextOut").empty());
}

}  // namespace
