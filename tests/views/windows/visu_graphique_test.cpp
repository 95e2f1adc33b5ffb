// The cave window's model: the automatic scale, the extent and its refusal,
// the objects built from the computed network (axes, splays, outlines,
// entrances), the picking of a station on a click, the shot selection with
// its lines, the frame selection and the regeneration keeping the view.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "drawing/dessin_point_surface.h"
#include "drawing/donnees_coupe_long.h"
#include "foundation/catalogue.h"
#include "survey/reseau.h"
#include "tests/survey/reseau_aleatoire.h"
#include "tests/views/windows/outils_visu.h"
#include "views/types_fiches.h"

namespace {

using namespace essaifenetres;
using B = views::TNoyauGraphique::Bouton;
using T = views::TNoyauGraphique::EtatTouches;
using foundation::TTypeDeDessin;

TEST(EchelleAuto, FeuilleDe19Sur27) {
  struct Cas {
    double largeur, hauteur;  // east-west, north-south (m)
    int32_t echelle;
  };
  const Cas cas[] = {
      {50, 270, 1000},     // m = 1000 (to within a rounding): the top of the table
      {20, 60, 200},       // m = 222.2, between 250 and 200, nearer 200
      {42.75, 10, 200},    // m = 225 exactly: the lower one on a tie
      {5, 5, 50},          // m = 26: below the table
      {400, 10, 1000},     // m = 2105: beyond 1000
      {10, 180, 750},      // m = 666.7, nearer 750
      {30, 10, 200},       // m = 157.9, between 200 and 100, nearer 200
      {0, 0, 50},
  };
  for (const Cas& c : cas)
    EXPECT_EQ(views::EchelleAuto(c.largeur, c.hauteur), c.echelle) << c.largeur << " x " << c.hauteur;
}

class Etendue : public Cavites {};

TEST_F(Etendue, PointsDeSurfaceSansCaviteDessinee) {
  auto& v = foundation::Vue();
  {
    // One surface point: 200 m around it.
    N.Surface("S1", 1000, 2000, 300);
    Visu f;
    f.Cree();
    EXPECT_TRUE(f.FicheOuverte);
    EXPECT_DOUBLE_EQ(f.ZoomGeneral.XInf, 900);
    EXPECT_DOUBLE_EQ(f.ZoomGeneral.XSup, 1100);
    EXPECT_DOUBLE_EQ(f.ZoomGeneral.YInf, 1900);
    EXPECT_DOUBLE_EQ(f.ZoomGeneral.YSup, 2100);
    EXPECT_DOUBLE_EQ(v.Xmin, 900);
    EXPECT_EQ(f.LeCalque(odPtSurf).NombreObjets(), 1);
  }
}

TEST_F(Etendue, NiPointNiViseeAutourDeLOrigine) {
  // A fresh document whose only cave has no shot.
  N.Cavite("Vide");
  Visu f;
  f.Cree();
  EXPECT_TRUE(f.FicheOuverte);
  EXPECT_DOUBLE_EQ(f.ZoomGeneral.XInf, -100);
  EXPECT_DOUBLE_EQ(f.ZoomGeneral.XSup, 100);
  EXPECT_DOUBLE_EQ(f.ZoomGeneral.YInf, -100);
  EXPECT_DOUBLE_EQ(f.ZoomGeneral.YSup, 100);
  EXPECT_EQ(f.LeCalque(odPtLever).NombreObjets(), 0);
}

TEST_F(Etendue, TropGrandeRefuseeAvantToutObjet) {
  N.Surface("S1", 0, 0, 0);
  N.Surface("S2", 2'500'000, 0, 0);
  Visu f;
  f.Cree();
  EXPECT_TRUE(f.CalculHorsPlage);
  EXPECT_FALSE(f.FicheOuverte);
  EXPECT_EQ(f.LeCalque(odPtSurf).NombreObjets(), 0);
  ASSERT_EQ(scripte_.Log().size(), 1u);
  EXPECT_EQ(scripte_.Log()[0].text,
            "L'étendue du réseau est supérieure à 2 147 483 m. Le dessin ne peut être calculé. Vérifiez qu'il n'y "
            "a pas d'erreur de coordonnées des points de surface");
}

TEST_F(Etendue, TropGrandeEnElevation) {
  // A 2,200 km shot in the developed elevation: the check runs in (SlH, Z).
  N.Surface("E", 0, 0, 0);
  survey::TCavite* c = N.Cavite("Longue");
  N.Visee(c, "E", "1", 90, 0, 2'200'000);
  N.Regenere();
  foundation::GardeTypeDessin alti(TTypeDeDessin::tddAltiDev);
  Visu f;
  f.Cree();
  EXPECT_TRUE(f.CalculHorsPlage);
  EXPECT_FALSE(f.FicheOuverte);
  EXPECT_EQ(f.LeCalque(odPtLever).NombreObjets(), 0);
}

TEST_F(Etendue, SeulesLesCavitesDessinees) {
  N.Surface("E", 0, 0, 0);
  N.Surface("F", 5000, 5000, 0);
  survey::TCavite* a = N.Cavite("A");
  N.Visee(a, "E", "a1", 90, 0, 30);
  survey::TCavite* b = N.Cavite("B");
  N.Visee(b, "F", "b1", 0, 0, 40);
  N.Visee(b, "b1", "b2", 90, 0, 30);
  N.Visee(b, "b2", "b3", 0, 0, 20);
  N.Regenere();
  a->Adessiner = false;
  Visu f;
  f.Cree();
  auto& v = foundation::Vue();
  // B's stations alone (40 m north of F, 30 m east, 20 m north); nothing of
  // A's extent remains.
  EXPECT_NEAR(v.Xmin, 5000, 1e-6);
  EXPECT_NEAR(v.Xmax, 5030, 1e-6);
  EXPECT_NEAR(v.Ymin, 5040, 1e-6);
  EXPECT_NEAR(v.Ymax, 5060, 1e-6);
  EXPECT_EQ(Axes(f), "F b1 b2 b3");
  EXPECT_EQ(v.LargeurRaster, 30);
  EXPECT_EQ(v.HauteurRaster, 20);
}

}  // namespace
