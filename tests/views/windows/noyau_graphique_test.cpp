// The graphic windows' core without its widgets: the scale from the paint
// box and the view, the refused scale, the zoom history, the layers combined
// by AND against a naive full-size composite, the kind tables, the display
// memory and the nearest-object search.
#include <gtest/gtest.h>

#include <cmath>

#include "drawing/annexe_cavite.h"
#include "drawing/deplacable.h"
#include "drawing/dessin_axe_gal.h"
#include "platform/raster.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"
#include "survey/visee.h"
#include "tests/views/windows/outils_fenetres.h"
#include "views/ports_vues.h"
#include "views/types_fiches.h"

namespace {

using namespace essaifenetres;
using views::EnsembleTypes;
using views::TParamZoom;

class Noyaux : public Fenetres {};

TEST_F(Noyaux, EchelleDeLaVueEtVuesRefusees) {
  Noyau f(800, 600);
  auto& v = foundation::Vue();
  // An empty view draws nothing and keeps the scale.
  EXPECT_FALSE(f.AfficheVue(true));
  EXPECT_EQ(v.EchelleVue, 1);
  // A zero height: the width gives the scale; the view grows to fill the bitmap.
  v.LargeurVue = 100;
  EXPECT_TRUE(f.AfficheVue(true));
  EXPECT_DOUBLE_EQ(v.EchelleVue, 8.0);
  EXPECT_DOUBLE_EQ(v.LargeurVue, 100);
  EXPECT_DOUBLE_EQ(v.HauteurVue, 75);
  // A zero width: the height gives it.
  v.LargeurVue = 0;
  v.HauteurVue = 30;
  EXPECT_TRUE(f.AfficheVue(true));
  EXPECT_DOUBLE_EQ(v.EchelleVue, 20.0);
  // Zooming to 693 pixels per metre is refused: view and scale stay.
  const TParamZoom avant = f.VueCourante();
  v.XDebVue = 5;
  v.LargeurVue = 800 / 693.0;
  v.HauteurVue = 0;
  EXPECT_FALSE(f.AfficheVue(false));
  EXPECT_EQ(f.VueCourante(), avant);
  EXPECT_DOUBLE_EQ(v.EchelleVue, 20.0);
  // Just under the limit it draws.
  v.LargeurVue = 800 / 692.9;
  v.HauteurVue = 0;
  EXPECT_TRUE(f.AfficheVue(false));
  EXPECT_NEAR(v.EchelleVue, 692.9, 1e-9);
}

TEST_F(Noyaux, HistoriqueDesZooms) {
  Noyau f(800, 600);
  auto& v = foundation::Vue();
  v.LargeurVue = 100;
  v.HauteurVue = 75;
  f.AfficheVue(true);
  ASSERT_EQ(f.NbreZoom, 1);
  // Five more zooms: the history keeps five, the oldest lost.
  for (int i = 0; i < 5; ++i) f.ZoomeValeur(0.5);
  EXPECT_EQ(f.NbreZoom, 5);
  EXPECT_EQ(f.ZoomActif, 1);
  EXPECT_DOUBLE_EQ(f.DerZoom[1].Largeur, 100.0 / 32);
  EXPECT_DOUBLE_EQ(f.DerZoom[5].Largeur, 100.0 / 2);
  std::vector<int> actifs;
  for (int i = 0; i < 6; ++i) {
    f.ZoomPrecedent();
    actifs.push_back(f.ZoomActif);
    EXPECT_EQ(f.VueCourante(), f.DerZoom[static_cast<size_t>(f.ZoomActif)]) << i;
  }
  EXPECT_EQ(actifs, (std::vector<int>{2, 3, 4, 5, 1, 2}));
  EXPECT_EQ(f.NbreZoom, 5);
}

TEST_F(Noyaux, ZoomPlusEtMoinsAutourDuCentre) {
  Noyau f(800, 600);
  auto& v = foundation::Vue();
  v.XDebVue = 10;
  v.YDebVue = 100;
  v.LargeurVue = 80;
  v.HauteurVue = 60;
  f.AfficheVue(true);
  const double cx = v.XDebVue + v.LargeurVue / 2, cy = v.YDebVue - v.HauteurVue / 2;
  f.ZoomeValeur(2.0 / 3.0);
  EXPECT_DOUBLE_EQ(v.LargeurVue, 80 * 2.0 / 3.0);
  EXPECT_NEAR(v.EchelleVue, 10 * 1.5, 1e-9);
  EXPECT_NEAR(v.XDebVue + v.LargeurVue / 2, cx, 1e-9);
  EXPECT_NEAR(v.YDebVue - v.HauteurVue / 2, cy, 1e-9);
  f.ZoomeValeur(1.5);
  EXPECT_NEAR(v.LargeurVue, 80, 1e-9);
  EXPECT_NEAR(v.XDebVue + v.LargeurVue / 2, cx, 1e-9);
  EXPECT_NEAR(v.YDebVue - v.HauteurVue / 2, cy, 1e-9);
}

TEST_F(Noyaux, MoletteAutourDuCurseur) {
  struct Cas {
    bool sens;
    bool enAvant;
    double facteur;
  };
  const Cas cas[] = {{false, true, 0.8}, {false, false, 1.2}, {true, true, 1.2}, {true, false, 0.8}};
  for (const Cas& c : cas) {
    EXPECT_EQ(views::FacteurMolette(c.enAvant, c.sens), c.facteur) << c.sens << c.enAvant;
    views::Ports().SensMolette = [&] { return c.sens; };
    Noyau f(800, 600);
    auto& v = foundation::Vue();
    v.XDebVue = 3.3;
    v.YDebVue = 70.7;
    v.LargeurVue = 100;
    v.HauteurVue = 75;
    f.AfficheVue(true);
    const double largeur = v.LargeurVue;
    // Six notches about a pixel: the ground point under it stays within a pixel.
    const foundation::TPoint sol = foundation::EcranVersDessin({613, 97});
    for (int i = 0; i < 6; ++i) f.FormMouseWheel(c.enAvant, 613, 97);
    EXPECT_NEAR(v.LargeurVue, largeur * std::pow(c.facteur, 6), 1e-6);
    const foundation::TPoint px = foundation::DessinVersEcran(sol);
    EXPECT_LE(std::abs(px.X - 613), 1) << c.sens << c.enAvant;
    EXPECT_LE(std::abs(px.Y - 97), 1) << c.sens << c.enAvant;
  }
}

TEST_F(Noyaux, FenetreDeZoomParDeuxClicsDroitsEtEchap) {
  using B = views::TNoyauGraphique::Bouton;
  const views::TNoyauGraphique::EtatTouches t;
  // Whichever corner comes first, the view is the rectangle.
  for (const bool inverse : {false, true}) {
    Noyau f(800, 600);
    auto& v = foundation::Vue();
    v.LargeurVue = 100;
    v.HauteurVue = 75;
    v.YDebVue = 75;
    f.AfficheVue(true);
    const foundation::TPoint a = inverse ? foundation::TPoint{400, 300} : foundation::TPoint{80, 40};
    const foundation::TPoint b = inverse ? foundation::TPoint{80, 40} : foundation::TPoint{400, 300};
    f.BaseDessinMouseDown(B::Droit, t, a.X, a.Y);
    f.BaseDessinMouseUp(B::Droit, t, a.X, a.Y);
    EXPECT_TRUE(f.FenetreEnCours);
    f.BaseDessinMouseMove(t, 200, 200);
    f.BaseDessinMouseDown(B::Droit, t, b.X, b.Y);
    f.BaseDessinMouseUp(B::Droit, t, b.X, b.Y);
    EXPECT_FALSE(f.FenetreEnCours);
    // Pixels (80, 40)-(400, 300) at 8 px/m: x 10 to 50, y 70 to 37.5; the
    // height limits the scale and the view grows to the bitmap's proportions.
    EXPECT_DOUBLE_EQ(v.XDebVue, 10);
    EXPECT_DOUBLE_EQ(v.YDebVue, 70);
    EXPECT_DOUBLE_EQ(v.EchelleVue, 600 / 32.5);
  }
  Noyau f(800, 600);
  foundation::Vue().LargeurVue = 100;
  f.AfficheVue(true);
  // Both clicks on one pixel: the window closes, the view stays.
  const TParamZoom avant = f.VueCourante();
  for (int i = 0; i < 2; ++i) {
    f.BaseDessinMouseDown(B::Droit, t, 30, 30);
    f.BaseDessinMouseUp(B::Droit, t, 30, 30);
  }
  EXPECT_FALSE(f.FenetreEnCours);
  EXPECT_EQ(f.VueCourante(), avant);
  f.BaseDessinMouseDown(B::Droit, t, 10, 10);
  f.BaseDessinMouseUp(B::Droit, t, 10, 10);
  ASSERT_TRUE(f.FenetreEnCours);
  EXPECT_TRUE(f.FormKeyDown(views::TNoyauGraphique::ToucheEchap));
  EXPECT_FALSE(f.FenetreEnCours);
  EXPECT_FALSE(f.BtnDroitBaisse);
  EXPECT_DOUBLE_EQ(foundation::Vue().EchelleVue, 8);
}

TEST_F(Noyaux, GlisserDroitDeplaceLaVueAuRelachement) {
  using B = views::TNoyauGraphique::Bouton;
  const views::TNoyauGraphique::EtatTouches t;
  Noyau f(800, 600);
  auto& v = foundation::Vue();
  v.LargeurVue = 100;
  v.YDebVue = 50;
  f.AfficheVue(true);
  const foundation::TPoint sol = foundation::EcranVersDessin({100, 100});
  f.BaseDessinMouseDown(B::Droit, t, 100, 100);
  f.BaseDessinMouseMove(t, 103, 101);
  f.BaseDessinMouseMove(t, 107, 102);
  // While dragging the view has not moved.
  EXPECT_DOUBLE_EQ(v.XDebVue, 0);
  EXPECT_TRUE(f.DeplacementEnCours);
  EXPECT_EQ(f.XDeplace, 7);
  f.BaseDessinMouseUp(B::Droit, t, 107, 102);
  EXPECT_FALSE(f.DeplacementEnCours);
  EXPECT_FALSE(f.FenetreEnCours);
  // A shift of 7 x 2 pixels (under a metre): the ground point follows exactly.
  EXPECT_EQ(foundation::DessinVersEcran(sol), (foundation::TPoint{107, 102}));
}

TEST_F(Noyaux, RegleEtCoordonnees) {
  EXPECT_EQ(views::TexteCoordonnees(234.46, 678.91), "X = 234.5\rY = 678.9");
  EXPECT_EQ(views::TexteRegle(12.34, M_PI / 2), "12.3 m  -> 90.0 °");
  Noyau f(800, 600);
  auto& v = foundation::Vue();
  v.LargeurVue = 100;
  v.YDebVue = 700;
  v.XDebVue = 200;
  f.AfficheVue(true);
  // Double click at ground (234.46, 678.91): a message of two lines.
  f.XSourisVd = static_cast<int32_t>(std::lround((234.46 - 200) * 8));
  f.YSourisVd = static_cast<int32_t>(std::lround((700 - 678.91) * 8));
  f.BaseDessinDblClick();
  foundation::TPointTopo sol;
  foundation::EcranVersPtTopo({f.XSourisVd, f.YSourisVd}, sol);
  ASSERT_EQ(scripte_.Messages().size(), 1u);
  EXPECT_EQ(scripte_.Messages()[0], views::TexteCoordonnees(sol.X, sol.Y));
  // A ruler measure due east.
  f.ActiveRegle();
  f.XSourisVd = 100, f.YSourisVd = 100;
  f.BaseDessinClick();
  EXPECT_TRUE(f.DebutRegle);
  f.XSourisVd = 180;
  f.BaseDessinClick();
  EXPECT_FALSE(f.DebutRegle);
  EXPECT_NEAR(f.DistanceRegle, 10, 1e-9);
  EXPECT_NEAR(f.GistRegle, M_PI / 2, 1e-9);
}

TEST_F(Noyaux, ImageScanneeParLePortRaster) {
  Noyau f;
  // No loader can read it: the message names the file, nothing changes.
  EXPECT_FALSE(f.ChargeFichierTiff("/nulle/part/plan.tif"));
  EXPECT_FALSE(f.TiffValide);
  EXPECT_FALSE(f.ImageScan);
  ASSERT_EQ(scripte_.Messages().size(), 1u);
  EXPECT_EQ(scripte_.Messages()[0], "Impossible de charger le fichier /nulle/part/plan.tif");
  EXPECT_FALSE(scripte_.Busy());
  platform::ScriptedRasterLoader chargeur;
  chargeur.Files.push_back({"plan.tif", platform::RasterHeader{120, 80, 24}});
  platform::ScopedRasterLoader garde(chargeur);
  // A path that does not exist is looked up by its bare name.
  EXPECT_TRUE(f.ChargeFichierTiff("/nulle/part/plan.tif"));
  EXPECT_EQ(chargeur.Loads.back(), "plan.tif");
  ASSERT_TRUE(f.ImageScan);
  EXPECT_EQ(f.ImageScan->Width(), 120);
  EXPECT_EQ(foundation::Vue().LargeurRaster, 120);
  EXPECT_EQ(foundation::Vue().HauteurRaster, 80);
  // Fitted to the image, shown as background while CalageNotes is set.
  f.CalageNotes = true;
  f.ImageScan->SetPixel(0, 79, 0x00FF00);
  f.VueGenerale();
  const foundation::TPoint coin = foundation::DessinVersEcran({0, 0});
  EXPECT_EQ(f.Image().Pixel(coin.X + 1, coin.Y - 1), 0x00FF00u);
  f.DechargeImage();
  EXPECT_EQ(f.ImageScan->Pixel(0, 79), platform::kWhite);
}

TEST_F(Noyaux, SurLeFondLePremierCalqueSeCombineAussiParEt) {
  // The scanned background under the layers: the first layer is ANDed over
  // it as the others are (only a white drawing takes the layer as it is).
  Noyau f(300, 200);
  f.ImageScan = platform::CanvasFactory::Current().CreateBitmap(300, 200);
  f.ImageScan->Brush = {0x00FFFF, platform::BrushStyle::Solid};
  f.ImageScan->FillRect({0, 0, 300, 200});
  foundation::Vue().HauteurRaster = 200;
  f.CalageNotes = true;
  auto& v = foundation::Vue();
  v.LargeurVue = 30;
  v.YDebVue = 20;
  Ligne(f, odDessin, 0xFF00FF, {{0, 10000}, {30000, 10000}});
  f.RedessineVisu();
  EXPECT_EQ(f.Image().Pixel(50, 100), 0x0000FFu);
  EXPECT_EQ(f.Image().Pixel(50, 50), 0x00FFFFu);
  EXPECT_EQ(f.CalquesCombines, 1);
  // Without the background, the same layer on white.
  f.CalageNotes = false;
  f.RedessineVisu();
  EXPECT_EQ(f.Image().Pixel(50, 100), 0xFF00FFu);
  EXPECT_EQ(f.Image().Pixel(50, 50), platform::kWhite);
}

// The layers drawn and ANDed as the documented window does: each on a
// full-size white bitmap of its own, the whole bitmap combined.
platform::QtCanvas CompositeNaif(views::TNoyauGraphique& f, int32_t w, int32_t h) {
  platform::QtCanvas r(w, h);
  drawing::Affichage().ObjetsAffichablesCourants = f.ObjetsAffichables;
  for (TypeObjetDessin k : drawing::OrdreCalques) {
    if (!f.ObjetsAffichables[k] || k == odNotes) continue;
    drawing::TCalque& c = f.LeCalque(k);
    c.Init(w, h);
    c.DessineCalque();
    r.Copy = platform::CopyMode::SrcAnd;
    r.Draw(0, 0, *c.Bitmap);
    c.Init(1, 1);
  }
  return r;
}

TEST_F(Noyaux, CalquesCombinesParEtCommeLeCompositeComplet) {
  Noyau f(300, 200);
  auto& v = foundation::Vue();
  v.LargeurVue = 30;
  v.YDebVue = 20;
  f.AfficheVue(true);
  // A red line in odDessin crossing a blue one in odTexte: black where they cross.
  Ligne(f, odDessin, 0x0000FF, {{0, 10000}, {30000, 10000}});
  Ligne(f, odTexte, 0xFF0000, {{15000, 0}, {15000, 20000}});
  f.RedessineVisu();
  EXPECT_EQ(f.Image().Pixel(150, 100), 0x000000u);
  EXPECT_EQ(f.Image().Pixel(50, 100), 0x0000FFu);
  EXPECT_EQ(f.Image().Pixel(150, 50), 0xFF0000u);
  EXPECT_EQ(f.CalquesCombines, 2);
  // Many layers, wide pens, lines off the bitmap: the same picture as the naive composite.
  const TypeObjetDessin kinds[] = {odGalerie, odPtLever, odDessin, odHabillage, odTexte, odPtSurf,
                                   odCoupes,  odEcarts,  odPkTp,   odCompos,    odAutreNiveau};
  uint32_t couleur = 0x123456;
  int i = 0;
  for (TypeObjetDessin k : kinds) {
    couleur = couleur * 2654435761u + 977;
    Ligne(f, k, couleur & 0xFFFFFF, {{i * 2500 - 5000, -3000}, {30000 - i * 1000, 25000 - i * 1500}, {i * 900, 19000}},
          1 + (i % 4) * 3);
    ++i;
  }
  f.RendAffichable(EnsembleTypes({odCompos}));
  f.RedessineVisu();
  const platform::QtCanvas naif = CompositeNaif(f, 300, 200);
  int differences = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x)
      if (f.Image().Pixel(x, y) != naif.Pixel(x, y)) ++differences;
  EXPECT_EQ(differences, 0);
  // Empty and hidden layers are skipped.
  EXPECT_LE(f.CalquesCombines, static_cast<int>(std::size(kinds)) + 1);
  EXPECT_GE(f.CalquesCombines, 8);
}

platform::QtCanvas CompositeNaif(views::TNoyauGraphique& f, int32_t w, int32_t h);

// An object that paints with every kind of canvas call about a pixel.
class ObjetToutesFormes : public drawing::TObjetDessin {
 public:
  ObjetToutesFormes(int32_t x, int32_t y, int variante) : x_(x), y_(y), v_(variante) {}
  bool TailleIndifferente() const override { return true; }
  bool EstValidable() const override { return true; }
  void DessineCetObjet(platform::Canvas& c) override {
    c.Pen = {0x2040A0u + 0x10203u * static_cast<uint32_t>(v_), 1 + v_ % 5, platform::PenStyle::Solid,
             platform::PenMode::Copy};
    c.Brush = {0x80C0E0u - 0x10101u * static_cast<uint32_t>(v_), platform::BrushStyle::Solid};
    const platform::Point tri[] = {{x_, y_}, {x_ + 40, y_ + 10}, {x_ + 5, y_ + 35}};
    const platform::Point bez[] = {{x_, y_}, {x_ + 60, y_ - 40}, {x_ - 30, y_ + 50}, {x_ + 20, y_ + 20}};
    switch (v_ % 7) {
      case 0: c.Polygon(tri); break;
      case 1: c.PolyBezier(bez); break;
      case 2: c.Pie(x_ - 20, y_ - 20, x_ + 20, y_ + 20, x_ + 20, y_, x_, y_ - 20); break;
      case 3:
        c.Font.Height = 18;
        c.Font.Style = platform::kFontItalic;
        c.Font.Escapement = 450 * (v_ % 4);
        c.Brush.Style = platform::BrushStyle::Clear;
        c.TextOut(x_, y_, "Wfj Ag");
        break;
      case 4: {
        auto b = c.CreateBitmap(12, 9);
        b->Brush = {0x00A0A0, platform::BrushStyle::Solid};
        b->FillRect({2, 2, 10, 7});
        c.CopyRect({x_, y_, x_ + 24, y_ + 18}, *b, {0, 0, 12, 9});
        break;
      }
      case 5: {
        // A batch: lines across the edges, a wide pen's dots, pixels.
        using A = platform::BatchCall;
        const A lot[] = {{A::Kind::Line, 0x0000FF, x_ - 400, y_, x_ + 30, y_ - 20},
                         {A::Kind::Ellipse, 0x00FF00, x_ - 6, y_ - 4, x_ + 6, y_ + 4},
                         {A::Kind::Pixel, 0xFF0000, x_ + 25, y_ + 25},
                         {A::Kind::Line, 0x000080, x_, y_ + 600, x_ + 12, y_ + 9}};
        c.Batch(lot);
        break;
      }
      default:
        c.Brush.Style = platform::BrushStyle::DiagCross;
        c.Ellipse(x_ - 15, y_ - 9, x_ + 15, y_ + 9);
        c.SetPixel(x_ + 30, y_ + 30, 0x000080);
        c.MoveTo(x_ - 50, y_ + 3);
        c.LineTo(x_ + 50, y_ - 3);
    }
  }

 private:
  int32_t x_, y_;
  int v_;
};

TEST_F(Noyaux, SuiviDesZonesExactPourChaqueSorteDeTrace) {
  Noyau f(320, 240);
  foundation::Vue().LargeurVue = 32;
  foundation::Vue().YDebVue = 24;
  drawing::Affichage().ToutDessiner = true;
  const TypeObjetDessin kinds[] = {odGalerie, odPtLever, odDessin, odHabillage, odTexte, odPtSurf, odPkTp, odCompos};
  f.RendAffichable(EnsembleTypes({odCompos}));
  int v = 0;
  for (TypeObjetDessin k : kinds)
    for (int j = 0; j < 3; ++j, ++v)
      f.AjouteObjetDessin(k, std::make_unique<ObjetToutesFormes>(15 + (v * 67) % 300, 10 + (v * 41) % 230, v));
  f.RedessineVisu();
  const platform::QtCanvas naif = CompositeNaif(f, 320, 240);
  int differences = 0, encre = 0;
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) {
      if (f.Image().Pixel(x, y) != naif.Pixel(x, y)) ++differences;
      if (naif.Pixel(x, y) != platform::kWhite) ++encre;
    }
  EXPECT_EQ(differences, 0);
  EXPECT_GT(encre, 3000);
}

TEST_F(Noyaux, LeSuiviBorneChaqueLot) {
  // Every pixel a batch paints lies in the tracked zone, whatever the pen.
  using A = platform::BatchCall;
  const std::vector<std::vector<A>> lots = {
      {{A::Kind::Line, 0x0000FF, 40, 30, 90, 61}},
      {{A::Kind::Ellipse, 0x00FF00, 50, 40, 62, 49}},
      {{A::Kind::Pixel, 0xFF0000, 70, 44}},
      {{A::Kind::Line, 0x0000FF, 60, 50, 60, 50}, {A::Kind::Ellipse, 0x00FF00, 80, 20, 71, 33}},
      {{A::Kind::Pixel, 0xFF0000, 10, 10}, {A::Kind::Line, 0x0000FF, -50, 70, 30, 75}, {A::Kind::Pixel, 0, 119, 99}},
  };
  for (const int32_t largeur : {1, 4, 7})
    for (size_t i = 0; i < lots.size(); ++i) {
      platform::QtCanvas c(120, 100);
      views::TCanvasSuivi suivi(c);
      suivi.Pen.Width = largeur;
      suivi.Brush = {0x808080, platform::BrushStyle::Solid};
      suivi.Batch(lots[i]);
      suivi.Acheve();
      const platform::Rect z = suivi.Zone();
      for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 120; ++x)
          if (c.Pixel(x, y) != platform::kWhite)
            EXPECT_TRUE(x >= z.Left && x < z.Right && y >= z.Top && y < z.Bottom)
                << "lot " << i << ", plume " << largeur << ": " << x << "," << y;
    }
}

// A canvas that hands every call on to an image one by one: a batch as its
// separate lines, dots and pixels.  It says it is far larger than the
// image, so that no object leaves out what lies off the image; the image
// clips each call itself.
class CanvasUnParUn final : public platform::Canvas {
 public:
  explicit CanvasUnParUn(platform::QtCanvas& image) : image_(image) {}
  int32_t Width() const override { return 1 << 20; }
  int32_t Height() const override { return 1 << 20; }
  void SetSize(int32_t, int32_t) override {}
  std::unique_ptr<Canvas> CreateBitmap(int32_t w, int32_t h) const override { return image_.CreateBitmap(w, h); }
  void SetClipRect(const platform::Rect& r) override { image_.SetClipRect(r); }
  void ClearClipRect() override { image_.ClearClipRect(); }
  std::optional<platform::Rect> ClipRect() const override { return image_.ClipRect(); }
  void LineTo(int32_t x, int32_t y) override {
    Passe().LineTo(x, y);
    PenPos = image_.PenPos;
  }
  void Polyline(std::span<const platform::Point> p) override { Passe().Polyline(p); }
  void PolyBezier(std::span<const platform::Point> p) override { Passe().PolyBezier(p); }
  void Polygon(std::span<const platform::Point> p) override { Passe().Polygon(p); }
  void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override { Passe().Rectangle(l, t, r, b); }
  void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override { Passe().Ellipse(l, t, r, b); }
  void Arc(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
    Passe().Arc(l, t, r, b, x1, y1, x2, y2);
  }
  void Chord(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
    Passe().Chord(l, t, r, b, x1, y1, x2, y2);
  }
  void Pie(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
    Passe().Pie(l, t, r, b, x1, y1, x2, y2);
  }
  void FillRect(const platform::Rect& r) override { Passe().FillRect(r); }
  void FrameRect(const platform::Rect& r) override { Passe().FrameRect(r); }
  platform::Colour Pixel(int32_t x, int32_t y) const override { return image_.Pixel(x, y); }
  void SetPixel(int32_t x, int32_t y, platform::Colour c) override { image_.SetPixel(x, y, c); }
  void FloodFill(int32_t x, int32_t y, platform::Colour border) override { Passe().FloodFill(x, y, border); }
  void TextOut(int32_t x, int32_t y, std::string_view text) override {
    Passe().TextOut(x, y, text);
    PenPos = image_.PenPos;
  }
  int32_t TextWidth(std::string_view text) const override { return image_.TextWidth(text); }
  int32_t TextHeight(std::string_view text) const override { return image_.TextHeight(text); }
  void CopyRect(const platform::Rect& d, const Canvas& source, const platform::Rect& s) override {
    Passe().CopyRect(d, source, s);
  }

 private:
  platform::QtCanvas& Passe() {
    image_.Pen = Pen;
    image_.Brush = Brush;
    image_.Font = Font;
    image_.Copy = Copy;
    image_.PenPos = PenPos;
    return image_;
  }
  platform::QtCanvas& image_;
};

// Survey axes, splay shots (dotted, some with a comment) and gallery
// outlines over a 60 x 45 m walk, many pieces across the edges of the view.
class CaveEnLots : public Fenetres {
 protected:
  CaveEnLots() {
    uint32_t g = 77;
    const auto hasard = [&] {
      g = g * 1103515245u + 12345u;
      return ((g >> 8) & 0xFFFF) / 65536.0;
    };
    double x = 30, y = 22;
    for (int i = 0; i < 400; ++i) {
      auto s = std::make_unique<survey::TPointSpeleo>();
      s->X = x;
      s->Y = y;
      stations.push_back(std::move(s));
      x = std::clamp(x + 4 * hasard() - 2, -5.0, 65.0);
      y = std::clamp(y + 4 * hasard() - 2, -5.0, 50.0);
    }
    auto axe = std::make_unique<drawing::TDessinAxeGal>();
    for (size_t i = 1; i < stations.size(); ++i) {
      auto v = std::make_unique<survey::TVisee>();
      v->PtOrigCalc = stations[i % 37 == 0 ? i - 9 : i - 1].get();
      v->PtCalc = stations[i].get();
      stations[i]->ViseeAvant = v.get();
      axe->AjouteTrait(v.get());
      visees.push_back(std::move(v));
    }
    for (size_t i = 0; i < visees.size(); ++i) visees[i]->Marque = i % 11 == 0;
    f.AjouteObjetDessin(odPtLever, std::move(axe));
    for (size_t i = 0; i < stations.size(); ++i)
      for (int k = 0; k < 3; ++k) {
        // Mostly short, now and then 40 m long.
        const double l = (i * 3 + k) % 29 == 0 ? 40 : 0.5 + 3 * hasard(), a = 6.2832 * hasard();
        survey::TViseeHabi* h = nullptr;
        if ((i * 3 + k) % 17 == 0) {
          h = habi.emplace_back(std::make_unique<survey::TViseeHabi>()).get();
          h->CommentVisee.push_back("paroi " + std::to_string(i));
        }
        auto o = std::make_unique<drawing::TDessinViseeHabi>(h);
        o->AjoutePointReel(stations[i]->X, stations[i]->Y);
        o->AjoutePointReel(stations[i]->X + l * std::cos(a), stations[i]->Y + l * std::sin(a));
        o->pListeAffichables = &f.ObjetsAffichables;
        f.AjouteObjetDessin(odVisHab, std::move(o));
      }
    for (int cote : {-1, 1}) {
      auto l = std::make_unique<drawing::TDessinLigneGalerie>(0, cote);
      for (size_t i = 0; i < 200; ++i) l->AjoutePointReel(stations[i]->X + cote * 1.5, stations[i]->Y + 0.7);
      f.AjouteObjetDessin(odGalerie, std::move(l));
    }
    f.SetAffichable(EnsembleTypes({odPtLever, odVisHab, odGalerie}));
  }
  ~CaveEnLots() override {
    f.ClearCalques();
    survey::GardeLiberationReseau liberation;
    visees.clear();
    stations.clear();
  }

  // The layers drawn call by call on full-size bitmaps, each ANDed whole.
  platform::QtCanvas TraitParTrait(int32_t w, int32_t h) {
    platform::QtCanvas r(w, h);
    drawing::Affichage().ObjetsAffichablesCourants = f.ObjetsAffichables;
    for (TypeObjetDessin k : drawing::OrdreCalques) {
      if (!f.ObjetsAffichables[k] || k == odNotes) continue;
      platform::QtCanvas calque(w, h);
      CanvasUnParUn unParUn(calque);
      f.LeCalque(k).DessineCalque(unParUn);
      r.Copy = platform::CopyMode::SrcAnd;
      r.Draw(0, 0, calque);
    }
    return r;
  }

  Noyau f{400, 300};
  std::vector<std::unique_ptr<survey::TPointSpeleo>> stations;
  std::vector<std::unique_ptr<survey::TVisee>> visees;
  std::vector<std::unique_ptr<survey::TViseeHabi>> habi;
};

TEST_F(CaveEnLots, LaFenetreDessineEnLotsCommeTraitParTrait) {
  // The window's picture (lines kept and batched, pieces off the bitmap left
  // out, layers combined over the rectangles they drew) against the layers
  // drawn call by call and combined whole.
  struct Cas {
    const char* Nom;
    double X, Y, Largeur;
    bool Noms, Points;
    int Encre;
  };
  const Cas cas[] = {
      {"vue générale", -5, 50, 70, false, false, 6000},
      {"zoom, traits à travers les bords", 20, 35, 12, false, false, 1500},
      {"zoom, points topo et commentaires", 24, 30, 18, true, true, 5000},
      {"vue à côté du réseau", 200, 300, 20, false, false, 0},
  };
  for (const Cas& k : cas) {
    auto& v = foundation::Vue();
    v.XDebVue = k.X;
    v.YDebVue = k.Y;
    v.LargeurVue = k.Largeur;
    v.HauteurVue = 0;
    drawing::Affichage().AfficheCommentaires = k.Noms;
    f.ObjetsAffichables[odNumPt] = k.Noms;
    f.ObjetsAffichables[odCompos] = k.Points;
    f.RedessineVisu();
    const platform::QtCanvas naif = TraitParTrait(400, 300);
    int ecarts = 0, encre = 0;
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 400; ++x) {
        ecarts += f.Image().Pixel(x, y) != naif.Pixel(x, y);
        encre += naif.Pixel(x, y) != platform::kWhite;
      }
    EXPECT_EQ(ecarts, 0) << k.Nom;
    EXPECT_GE(encre, k.Encre) << k.Nom;
  }
}

TEST_F(Noyaux, ObjetEditeHorsDeSonCalque) {
  Noyau f(200, 100);
  foundation::Vue().LargeurVue = 20;
  foundation::Vue().YDebVue = 10;
  auto* fixe = Ligne(f, odDessin, 0x00FF00, {{0, 2000}, {20000, 2000}});
  auto* l = Ligne(f, odDessin, 0x0000FF, {{0, 5000}, {20000, 5000}});
  f.TraceEnCours = true;
  f.InitModif(l);
  // Out of its layer, drawn over the drawing kept without it.
  EXPECT_EQ(f.LeCalque(odDessin).NombreObjets(), 1);
  EXPECT_EQ(f.ObjetEdite, l);
  EXPECT_EQ(f.Image().Pixel(100, 50), 0x0000FFu);
  const auto& undo = dynamic_cast<const platform::QtCanvas&>(*f.BmpUndo);
  EXPECT_EQ(undo.Pixel(100, 50), platform::kWhite);
  EXPECT_EQ(undo.Pixel(100, 80), 0x00FF00u);
  f.FinModif(true);
  EXPECT_EQ(f.ObjetEdite, nullptr);
  ASSERT_EQ(f.LeCalque(odDessin).NombreObjets(), 2);
  EXPECT_EQ(f.LeCalque(odDessin).UnObjetDessin(1), l);
  // Not given back: freed.
  f.InitModif(fixe);
  f.FinModif(false);
  EXPECT_EQ(f.LeCalque(odDessin).NombreObjets(), 1);
  f.TraceEnCours = false;
  f.RedessineVisu();
  EXPECT_EQ(f.Image().Pixel(100, 80), platform::kWhite);
}

TEST_F(Noyaux, TablesDesTypesEtPileDesSelectionnables) {
  Noyau f;
  f.SetAffichable(EnsembleTypes({odDessin, odTexte}));
  EXPECT_TRUE(f.ObjetsAffichables[odAutreNiveau]);
  EXPECT_FALSE(f.ObjetsAffichables[odCoupesDessin]);
  f.RendAffichable(EnsembleTypes({odCoupes}));
  for (TypeObjetDessin k : {odCoupesDessin, odCoupesHabillage, odCoupesTexte}) EXPECT_TRUE(f.ObjetsAffichables[k]);
  EXPECT_FALSE(f.ObjetsAffichables[odCoupesLever]);
  f.RendAffichable(EnsembleTypes({odEcarts, odEcartsGaleries}));
  f.RendNonAffiche(EnsembleTypes({odDessin}));
  for (TypeObjetDessin k : {odAutreNiveau, odCoupesDessin, odCoupesHabillage, odEcartsDessin, odEcartsHabillage})
    EXPECT_FALSE(f.ObjetsAffichables[k]);
  EXPECT_TRUE(f.ObjetsAffichables[odCoupesTexte]);
  EXPECT_TRUE(f.ObjetsAffichables[odEcartsGaleries]);

  const auto premiere = f.ObjetsSelectionnables;
  f.RendSelectable(EnsembleTypes({odDessin}));
  f.RendSelectable(EnsembleTypes({odTexte}));
  EXPECT_TRUE(f.ObjetsSelectionnables[odTexte]);
  f.RestoreSelectable();
  EXPECT_TRUE(f.ObjetsSelectionnables[odDessin]);
  EXPECT_FALSE(f.ObjetsSelectionnables[odTexte]);
  f.RestoreSelectable();
  f.RestoreSelectable();  // empty stack: nothing
  EXPECT_EQ(f.ObjetsSelectionnables, premiere);
}

TEST_F(Noyaux, TableDesCodesDeFiche) {
  EXPECT_EQ(views::AffichageDefautCode(0), EnsembleTypes({odDessin}));
  EXPECT_EQ(views::AffichageDefautCode(2), views::AffichageDefautCode(1));
  EXPECT_EQ(views::AffichageDefautCode(9), views::AffichageDefautCode(5));
  EXPECT_EQ(views::AffichageDefautCode(13), EnsembleTypes({odCompos, odDessin, odQuadrill, odNotes, odBrouillon}));
  EXPECT_EQ(views::AffichageDefautCode(23), EnsembleTypes({odCompos, odPtLever, odDessinSVG}));
  EXPECT_EQ(views::DefautDigitaliseur(true) & ~views::DefautDigitaliseur(false), EnsembleTypes({odCoupes}));
}

// A window of form code 7 with its own default.
class NoyauCode7 : public Noyau {
 public:
  int iTypeFiche() override {
    AffichageDefaut = EnsembleTypes({odPtLever, odDessin});
    return 7;
  }
  void InitDessin() override { ++initDessin; }
  int initDessin = 0;
};

TEST_F(Noyaux, MemoireDAffichageParCavite) {
  drawing::InstalleAnnexeDessin();
  survey::GardeDocument document;
  survey::TReseau reseau;
  auto* c1 = reseau.AjouteCavite(std::make_unique<survey::TCavite>());
  auto* c2 = reseau.AjouteCavite(std::make_unique<survey::TCavite>());
  survey::Document().ReseauCourant = &reseau;
  reseau.LaCaviteActive = c1;
  {
    NoyauCode7 f;
    f.Cree();
    EXPECT_EQ(f.initDessin, 1);
    EXPECT_EQ(views::EnsembleDeTable(f.ObjetsAffichables), EnsembleTypes({odPtLever, odDessin, odAutreNiveau}));
    // Closed before any view: an empty view is kept.
    f.FormClose();
    EXPECT_EQ(views::MemoiresAffichage(c1)[7].SvDerZoom, TParamZoom{});
    f.RendAffichable(EnsembleTypes({odTexte}));
    foundation::Vue().LargeurVue = 50;
    f.AfficheVue(true);
    f.FormClose();
  }
  {
    NoyauCode7 f;
    f.Cree();
    EXPECT_TRUE(f.ObjetsAffichables[odTexte]);
    EXPECT_EQ(f.DernierZoom.Largeur, 50);
  }
  reseau.LaCaviteActive = c2;
  {
    NoyauCode7 f;
    f.Cree();
    EXPECT_FALSE(f.ObjetsAffichables[odTexte]);
    EXPECT_EQ(f.DernierZoom, TParamZoom{});
  }
  survey::Document().ReseauCourant = nullptr;
}

// An object at a fixed distance from any pixel.
class ObjetADistance : public drawing::TObjetDessin {
 public:
  explicit ObjetADistance(double d) : d_(d) { EstAffiche = true; }
  void DessineCetObjet(platform::Canvas&) override {}
  bool EstValidable() const override { return true; }
  void DistanceObjet(int32_t, int32_t, drawing::TInfoObjet& info) override { info.D = d_; }

 private:
  double d_;
};

TEST_F(Noyaux, ObjetLePlusProche) {
  Noyau f;
  f.SetSelectable(EnsembleTypes({odPtLever, odDessin, odTexte, odEcarts}));
  auto* a = f.AjouteObjetDessin(odTexte, std::make_unique<ObjetADistance>(300));
  auto* b = f.AjouteObjetDessin(odDessin, std::make_unique<ObjetADistance>(300));
  auto* c = f.AjouteObjetDessin(odDessin, std::make_unique<ObjetADistance>(300));
  auto* cache = f.AjouteObjetDessin(odPtLever, std::make_unique<ObjetADistance>(10));
  cache->EstAffiche = false;
  drawing::TInfoObjet r;
  f.ChercheObjetProche(5, 5, r);
  // Ties keep the lower kind, then list order; objects not shown are skipped.
  EXPECT_EQ(r.ObjetProche, b);
  EXPECT_EQ(r.NatureObjet, odDessin);
  (void)a;
  (void)c;
  // A distance equal to the snap radius is outside.
  f.FixeRayonAccroche(0.3);
  EXPECT_FALSE(f.ClickDansRayon());
  f.FixeRayonAccroche(0.30001);
  EXPECT_TRUE(f.ClickDansRayon());
  // A point inside an offset-part frame gives the frame at distance 0.
  auto cadre = std::make_unique<drawing::TDessinEcart>();
  for (int i = 0; i < 3; ++i) cadre->AjoutePointLoc(0, 0);
  cadre->PointsList[0].XVue = 0, cadre->PointsList[0].YVue = 50;
  cadre->PointsList[2].XVue = 50, cadre->PointsList[2].YVue = 0;
  cadre->EstAffiche = true;
  auto* e = f.AjouteObjetDessin(odEcarts, std::move(cadre));
  f.ChercheObjetProche(5, 5, r);
  EXPECT_EQ(r.ObjetProche, e);
  EXPECT_EQ(r.D, 0);
  f.ChercheObjetProche(500, 500, r);
  EXPECT_EQ(r.ObjetProche, b);
}

}  // namespace
