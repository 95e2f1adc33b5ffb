// Drawing objects and render layers: culling, the layer's passes, selection
// by a frame, section cuts, lines and circles, on a recording canvas.  The
// view is 1 pixel per drawing unit: pixel (x, 1000 - y).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "drawing/calque.h"
#include "drawing/contexte_dessin.h"
#include "drawing/contexte_motifs.h"
#include "drawing/dessin_ligne.h"
#include "drawing/point_dessin.h"
#include "drawing/style_canvas.h"
#include "foundation/bezier.h"
#include "foundation/contexte_foundation.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/text_log_canvas.h"
#include "platform/scripted_dialogs.h"
#include "survey/cavite.h"

namespace {

using namespace drawing;
using foundation::TPoint;
using foundation::TRect;

std::vector<std::string> journal;

// A stand-in object: logs its drawing under its name; its envelope is set
// by the test.
class Bouchon : public TObjetDessin {
 public:
  explicit Bouchon(std::string nom, TRect envel = {100, 200, 200, 100}) : nom_(std::move(nom)) { EnvelRect = envel; }
  bool Remplissage = false;
  bool Leve = false;
  // A fault of the program rather than of the drawing.
  bool Faute = false;
  TObjetDessin* Interne = nullptr;
  void DessineCetObjet(platform::Canvas& canvas) override {
    if (Leve) throw std::runtime_error("échec");
    if (Faute) throw std::logic_error("faute");
    journal.push_back(nom_);
    if (Interne != nullptr) {
      canvas.Pen.Width = 9;
      canvas.Font.Name = "Autre";
      Interne->DessineObjet(canvas);
    }
  }
  bool EstValidable() const override { return true; }
  bool EstRemplissage() const override { return Remplissage; }
  bool BordureSelectee() const override { return Bordure != nullptr && Bordure->Selecte; }
  bool EstPageSousCurseur(int32_t x, int32_t y) const override { return Page && x == 7 && y == 8; }
  TObjetDessin* Bordure = nullptr;
  bool Page = false;
  void TesteFermeture() override { journal.push_back("ferme " + nom_); }

 private:
  std::string nom_;
};

class Objets : public ::testing::Test {
 protected:
  Objets() {
    journal.clear();
    auto& v = foundation::Vue();
    v.EchelleVue = 1000;
    v.XDebVue = 0;
    v.YDebVue = 1;
    foundation::Impression().EnImpression = false;
    Affichage() = EtatAffichage{};
    Affichage().RectVisibleDessin = {0, 1000, 1000, 0};
  }
  platform::TextLogCanvas canvas{1000, 1000};

 private:
  foundation::GardeTransfo vue_;
  foundation::GardeImpression impression_;
  GardeAffichage affichage_;
  GardeContexteDessin dessin_;
};

struct CasCulling {
  const char* Nom;
  TRect Envel;
  TypeObjetDessin Type;
  bool ToutDessiner;
  bool ElementSymbole;
  bool Dessine;
};

TEST_F(Objets, CullingParLEnveloppe) {
  const CasCulling cas[] = {
      {"3x3 visible", {100, 103, 103, 100}, TypeObjetDessin::odDessin, false, false, false},
      {"4x3 visible", {100, 103, 104, 100}, TypeObjetDessin::odDessin, false, false, true},
      {"4x3 hors vue", {2000, 2003, 2004, 2000}, TypeObjetDessin::odDessin, false, false, false},
      {"quadrillage hors vue", {2000, 2100, 2100, 2000}, TypeObjetDessin::odQuadrill, false, false, true},
      {"tout dessiner hors vue", {2000, 2100, 2100, 2000}, TypeObjetDessin::odDessin, true, false, true},
      {"element de symbole 1x1 hors vue", {2000, 2001, 2001, 2000}, TypeObjetDessin::odDessin, false, true, true},
  };
  for (const CasCulling& c : cas) {
    journal.clear();
    Bouchon b(c.Nom, c.Envel);
    b.CodeAffichage = c.Type;
    b.EstElementSymbole = c.ElementSymbole;
    Affichage().ToutDessiner = c.ToutDessiner;
    b.DessineObjet(canvas);
    EXPECT_EQ(journal.size(), c.Dessine ? 1u : 0u) << c.Nom;
    if (c.Dessine) {
      EXPECT_TRUE(b.EstAffiche) << c.Nom;
    }
  }
}

TEST_F(Objets, FiligraneMasqueEtStyleMasque) {
  Bouchon filigrane("filigrane");
  filigrane.EstDessinFiligrane = true;
  filigrane.EstAffiche = true;
  Affichage().FiligranesMasques = true;
  filigrane.DessineObjet(canvas);
  EXPECT_TRUE(journal.empty());
  EXPECT_TRUE(filigrane.EstAffiche);

  TObjetTrait masque;
  masque.MotifMasque = true;
  Bouchon b("masque");
  b.ObjetMotif = &masque;
  b.DessineObjet(canvas);
  EXPECT_TRUE(journal.empty());
}

TEST_F(Objets, LesSurchargesDeStyleDansLOrdre) {
  TObjetTrait bleu;
  bleu.CouleurPlume = 0xFF0000;
  struct Lit : Bouchon {
    using Bouchon::Bouchon;
    platform::CanvasPen Vu;
    void DessineCetObjet(platform::Canvas& c) override { Vu = c.Pen; }
  };
  Lit b("b");
  b.ObjetMotif = &bleu;
  b.DessineObjet(canvas);
  EXPECT_EQ(b.Vu.Color, 0xFF0000u);
  Affichage().TraceEnRouge = true;
  b.DessineObjet(canvas);
  EXPECT_EQ(b.Vu.Color, CouleurRouge);
  b.Selecte = true;
  b.DessineObjet(canvas);
  EXPECT_EQ(b.Vu.Color, CouleurSelection);
  EXPECT_EQ(b.Vu.Style, platform::PenStyle::Dash);
  Affichage().DessinAutresCavites = true;
  b.DessineObjet(canvas);
  EXPECT_EQ(b.Vu.Color, CouleurArgent);
}

TEST_F(Objets, UnObjetImbriqueRendLeCanvasCommeIlLAPris) {
  canvas.Pen = {0x123456, 2, platform::PenStyle::Dot, platform::PenMode::Xor};
  canvas.Brush = {0x654321, platform::BrushStyle::Cross};
  canvas.Font.Name = "Courier";
  const platform::CanvasPen pen = canvas.Pen;
  const platform::CanvasBrush brush = canvas.Brush;
  const platform::CanvasFont font = canvas.Font;
  TObjetTrait rouge;
  rouge.CouleurPlume = 0x0000FF;
  rouge.EpaisseurPlume = 5;
  Bouchon interne("interne");
  interne.ObjetMotif = &rouge;
  Bouchon externe("externe");
  externe.Interne = &interne;
  externe.DessineObjet(canvas);
  EXPECT_EQ(journal, (std::vector<std::string>{"externe", "interne"}));
  EXPECT_EQ(canvas.Pen.Color, pen.Color);
  EXPECT_EQ(canvas.Pen.Width, pen.Width);
  EXPECT_EQ(canvas.Pen.Style, pen.Style);
  EXPECT_EQ(canvas.Pen.Mode, pen.Mode);
  EXPECT_EQ(canvas.Brush.Color, brush.Color);
  EXPECT_EQ(canvas.Brush.Style, brush.Style);
  EXPECT_EQ(canvas.Font, font);
}

TEST_F(Objets, AppliqueTraitSansStyleNeChangeRien) {
  canvas.Pen.Color = 0x42;
  AppliqueTrait(canvas, static_cast<const TDefObjetTrait*>(nullptr));
  EXPECT_EQ(canvas.Pen.Color, 0x42u);
}

TEST_F(Objets, LesTroisPassesDuCalque) {
  TCalque calque;
  auto ajoute = [&](const char* nom, bool rempli, bool selecte) {
    auto b = std::make_unique<Bouchon>(nom);
    b->Remplissage = rempli;
    b->Selecte = selecte;
    return static_cast<Bouchon*>(calque.AjouteObjet(std::move(b)));
  };
  ajoute("ligne selectionnee", false, true);
  ajoute("remplissage selectionne", true, true);
  ajoute("a", false, false);
  ajoute("remplissage", true, false);
  ajoute("b", false, false);
  EXPECT_EQ(calque.UnObjetDessin(0)->CalqueObjet, &calque);
  calque.DessineCalque(canvas);
  EXPECT_EQ(journal, (std::vector<std::string>{"a", "b", "ferme remplissage selectionne", "ferme remplissage",
                                               "remplissage", "ligne selectionnee", "remplissage selectionne"}));
  EXPECT_FALSE(calque.CalqueModifie);
  journal.clear();
  calque.DessineCalque(canvas);
  EXPECT_EQ(journal.size(), 5u) << "no closing test once the layer is unchanged";
}

TEST_F(Objets, UnObjetQuiEchoueTermineLeCalqueSansBruit) {
  TCalque calque;
  calque.AjouteObjet(std::make_unique<Bouchon>("a"));
  auto leve = std::make_unique<Bouchon>("leve");
  leve->Leve = true;
  calque.AjouteObjet(std::move(leve));
  calque.AjouteObjet(std::make_unique<Bouchon>("c"));
  calque.DessineCalque(canvas);
  EXPECT_EQ(journal, (std::vector<std::string>{"a"}));
  EXPECT_FALSE(calque.CalqueModifie);
}

TEST_F(Objets, UneFauteDuProgrammeTraverseLeCalque) {
  // A programming error is not taken for a failing object: it leaves the
  // layer's paint for the window's handler, on one thread as on several.
  for (const int fils : {1, 4}) {
    SCOPED_TRACE(fils);
    foundation::GardeContexteFoundation garde;
    foundation::ContexteFoundation().FilsMax = fils;
    TCalque calque;
    for (int i = 0; i < 2000; ++i) {
      auto b = std::make_unique<Bouchon>(std::to_string(i));
      b->Faute = i == 1500;
      calque.AjouteObjet(std::move(b));
    }
    EXPECT_THROW(calque.DessineCalque(canvas), std::logic_error);
  }
}

TEST_F(Objets, SuppressionMasquageEtRetour) {
  TCalque calque;
  survey::TParamDessinCavite cachee{false, false};
  auto* a = calque.AjouteObjet(std::make_unique<Bouchon>("a"));
  auto* b = calque.AjouteObjet(std::make_unique<Bouchon>("b"));
  b->ParamCavite = &cachee;
  Bouchon etranger("etranger");
  calque.SupprimeObjet(&etranger);
  EXPECT_EQ(calque.NombreObjets(), 2);
  calque.MasqueObjets();
  ASSERT_EQ(calque.NombreObjets(), 1);
  EXPECT_EQ(calque.UnObjetDessin(0), a);
  calque.AfficheObjets();
  ASSERT_EQ(calque.NombreObjets(), 2);
  EXPECT_EQ(calque.UnObjetDessin(1), b);
  EXPECT_TRUE(calque.ObjetsMasques.empty());
  calque.SupprimeObjet(a);
  EXPECT_EQ(calque.NombreObjets(), 1);
}

TEST_F(Objets, SelectionParUnCadre) {
  TCalque calque;
  auto* vide =
      static_cast<TDessinLigne*>(calque.AjouteObjet(std::make_unique<TDessinLigne>(&Motifs().TraitObjetDefaut)));
  vide->EnvelRect = {0, 1000, 1000, 0};
  auto* dedans =
      static_cast<TDessinLigne*>(calque.AjouteObjet(std::make_unique<TDessinLigne>(&Motifs().TraitObjetDefaut)));
  dedans->AjoutePointLoc(100, 100);
  dedans->AjoutePointLoc(900, 900);
  auto* dehors =
      static_cast<TDessinLigne*>(calque.AjouteObjet(std::make_unique<TDessinLigne>(&Motifs().TraitObjetDefaut)));
  dehors->AjoutePointLoc(10, 10);
  dehors->AjoutePointLoc(990, 990);
  auto* bouchon = calque.AjouteObjet(std::make_unique<Bouchon>("b", TRect{400, 600, 600, 400}));
  for (auto& o : calque.ObjetsDessines) o->EstAffiche = true;
  std::vector<TObjetDessin*> liste{dedans};
  calque.SelectCadre(liste, {50, 150, 150, 50});
  EXPECT_EQ(liste, (std::vector<TObjetDessin*>{dedans}));
  EXPECT_TRUE(dedans->Selecte);
  EXPECT_FALSE(vide->Selecte);
  EXPECT_FALSE(dehors->Selecte);
  EXPECT_FALSE(bouchon->Selecte);
}

TEST_F(Objets, CoupeDesPolylignes) {
  TCalque calque;
  std::vector<std::unique_ptr<TPointDessin>> points;
  TPointDessin centre;
  centre.XLoc = 0;
  centre.YLoc = 0;
  centre.GisementHab = 0;  // the cut runs east-west
  calque.CreeCoupePolys(points, centre);
  EXPECT_TRUE(points.empty());
  auto ligne = std::make_unique<TDessinLigne>(&Motifs().TraitObjetDefaut);
  ligne->AjoutePointLoc(-1000, -1000);
  ligne->AjoutePointLoc(0, 1000);
  ligne->AjoutePointLoc(1000, -1000);
  calque.AjouteObjet(std::move(ligne));
  calque.CreeCoupePolys(points, centre);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0]->XLoc, -500);
  EXPECT_EQ(points[0]->YLoc, 0);
  EXPECT_EQ(points[1]->XLoc, 500);
  EXPECT_EQ(points[1]->YLoc, 0);
  EXPECT_EQ(calque.ListePolylignes.size(), 1u);
}

std::unique_ptr<TDessinLigne> Ligne(const TDefObjetTrait* style, const std::vector<TPoint>& points) {
  auto l = std::make_unique<TDessinLigne>(style);
  for (const TPoint& p : points) l->AjoutePoint(p);
  return l;
}

TEST_F(Objets, UneLigneLisseeDeDeuxPointsEstDroite) {
  TObjetTrait lisse;
  lisse.TraitLisse = true;
  auto l = Ligne(&lisse, {{100, 100}, {300, 200}});
  l->DessineObjet(canvas);
  ASSERT_FALSE(canvas.Log.empty());
  EXPECT_EQ(canvas.Log.back(), "PolyBezier 100,900 100,900 300,800 300,800");
  l->MajCourbeBezier();
  EXPECT_EQ(l->CourbeBezier.size(), 2u);
}

TEST_F(Objets, UneLigneFermeeSeLisseFermee) {
  const std::vector<TPoint> ancres{{0, 0}, {1000, 0}, {1000, 1000}, {0, 0}};
  std::vector<TPoint> chemin;
  CheminBezier(ancres, chemin);
  ASSERT_EQ(chemin.size(), 10u);
  EXPECT_NE(chemin[1], chemin[0]);
  EXPECT_NE(chemin[8], chemin[9]);
  const std::vector<TPoint> ouverte{{0, 0}, {1000, 0}, {1000, 1000}, {0, 10}};
  CheminBezier(ouverte, chemin);
  EXPECT_EQ(chemin[1], chemin[0]);
  EXPECT_EQ(chemin[8], chemin[9]);
}

struct CasTrace {
  MesPenStyle Style;
  int Epaisseur;
  bool Impression;
  bool Special;
};

TEST_F(Objets, PlumeDuCanvasOuTraceur) {
  const CasTrace cas[] = {
      {MesPenStyle::mpsSolid, 1, false, false},  {MesPenStyle::mpsDash, 1, false, false},
      {MesPenStyle::mpsDash, 2, false, true},    {MesPenStyle::mpsDot, 1, true, true},
      {MesPenStyle::mpsHachure, 1, false, true}, {MesPenStyle::mpsSolid, 3, true, false},
  };
  for (const CasTrace& c : cas) {
    TObjetTrait style;
    style.StylePlume = c.Style;
    style.EpaisseurPlume = c.Epaisseur;
    foundation::Impression().EnImpression = c.Impression;
    Affichage().ToutDessiner = true;
    auto l = Ligne(&style, {{100, 100}, {300, 100}, {300, 300}});
    l->DessineObjet(canvas);
    EXPECT_EQ(l->TraceSpecial, c.Special) << static_cast<int>(c.Style) << " " << c.Epaisseur << " " << c.Impression;
  }
}

TEST_F(Objets, AuDelaDe9999PasLaCourbeRevientAuxPoints) {
  TObjetTrait lisse;
  lisse.TraitLisse = true;
  auto l = Ligne(&lisse, {{0, 0}, {1'500'000, 0}, {3'000'000, 10}});
  EXPECT_FALSE(l->CalculeCourbeBezier());
  EXPECT_TRUE(l->CourbeBezier.empty());
  l->MajCourbeBezier();
  ASSERT_EQ(l->CourbeBezier.size(), 3u);
  EXPECT_EQ(l->ptBezier(1), (TPoint{1'500'000, 0}));
}

TEST_F(Objets, LaCourbeAplatieSuitUnDeCasteljauEnDouble) {
  TObjetTrait lisse;
  lisse.TraitLisse = true;
  const std::vector<TPoint> ancres{{0, 0}, {3000, 1000}, {5000, -2000}, {9000, 4000}, {12000, 0}};
  auto l = Ligne(&lisse, ancres);
  ASSERT_TRUE(l->CalculeCourbeBezier());
  std::vector<TPoint> chemin;
  CheminBezier(ancres, chemin);
  // Dense samples of the exact curve.
  std::vector<std::pair<double, double>> echantillons;
  for (size_t j = 0; j + 3 < chemin.size(); j += 3) {
    for (int i = 0; i <= 40000; ++i) {
      const double t = i / 40000.0;
      auto lerp = [t](double a, double b) { return a + (b - a) * t; };
      double x[4], y[4];
      for (int k = 0; k < 4; ++k) {
        x[k] = chemin[j + static_cast<size_t>(k)].X;
        y[k] = chemin[j + static_cast<size_t>(k)].Y;
      }
      for (int n = 3; n > 0; --n)
        for (int k = 0; k < n; ++k) {
          x[k] = lerp(x[k], x[k + 1]);
          y[k] = lerp(y[k], y[k + 1]);
        }
      echantillons.emplace_back(x[0], y[0]);
    }
  }
  ASSERT_GT(l->CourbeBezier.size(), 50u);
  for (const TPointDeBase& p : l->CourbeBezier) {
    double dMin = 1e300;
    for (const auto& [x, y] : echantillons) dMin = std::min(dMin, std::hypot(p.XLoc - x, p.YLoc - y));
    EXPECT_LE(dMin, 1.0) << p.XLoc << "," << p.YLoc;
  }
  EXPECT_EQ(l->CourbeBezier.back().PointLoc(), ancres.back());
}

TEST_F(Objets, DistancesDesLignesEtDuCercle) {
  auto l = Ligne(&Motifs().TraitObjetDefaut, {{100, 100}, {500, 100}});
  TInfoObjet info;
  l->DistanceObjet(300, 850, info);  // drawing (300, 150)
  EXPECT_DOUBLE_EQ(info.D, 50);
  EXPECT_EQ(info.ObjetProche, l.get());
  auto un = Ligne(&Motifs().TraitObjetDefaut, {{100, 100}});
  un->DistanceObjet(130, 860, info);  // drawing (130, 140)
  EXPECT_DOUBLE_EQ(info.D, 50);

  TDessinCercle cercle(&Motifs().TraitObjetDefaut);
  cercle.AjoutePointLoc(500, 500);
  cercle.AjoutePointLoc(600, 500);
  cercle.DistanceObjet(520, 500, info);  // drawing (520, 500): inside
  EXPECT_DOUBLE_EQ(info.D, -80);
  cercle.DistanceObjet(800, 500, info);
  EXPECT_DOUBLE_EQ(info.D, 200);
  EXPECT_EQ(l->PointLePlusProche(480, 900), 1);
}

TEST_F(Objets, PiedDeLaPerpendiculaire) {
  auto l = Ligne(&Motifs().TraitObjetDefaut, {{0, 0}, {1000, 0}, {1000, 1000}});
  int i = 0;
  const auto pied = l->PointPerp(foundation::PtTopoXY(400, 300), i);
  EXPECT_EQ(i, 1);
  EXPECT_DOUBLE_EQ(pied.X, 400);
  EXPECT_DOUBLE_EQ(pied.Y, 0);
  l->PointPerp(foundation::PtTopoXY(-400, -300), i);
  EXPECT_EQ(i, -1);
  // A long line: no fixed buffer.
  TObjetTrait lisse;
  lisse.TraitLisse = true;
  auto longue = std::make_unique<TDessinLigne>(&lisse);
  for (int k = 0; k < 3000; ++k) longue->AjoutePointLoc(k * 100, (k % 2) * 50);
  longue->PointPerp(foundation::PtTopoXY(299'000, 20), i);
  EXPECT_GT(i, 2980);
  longue->CalculeEnveloppe();
  EXPECT_GE(longue->EnvelRect.Right, 299'900);
}

TEST_F(Objets, UnArcDeTroisPointsAlignesEstUnePolyligne) {
  TDessinArc arc(&Motifs().TraitObjetDefaut);
  arc.AjoutePointLoc(100, 100);
  arc.AjoutePointLoc(200, 100);
  arc.AjoutePointLoc(300, 100);
  Affichage().ToutDessiner = true;
  arc.DessineObjet(canvas);
  ASSERT_GE(canvas.Log.size(), 2u);
  EXPECT_EQ(canvas.Log[canvas.Log.size() - 2], "LineTo 100,900 200,900");
  EXPECT_EQ(canvas.Log.back(), "LineTo 200,900 300,900");
}

TEST_F(Objets, UnRemplissageSuitSaBordureDansLaSelection) {
  TCalque calque;
  auto* ligne =
      static_cast<TDessinLigne*>(calque.AjouteObjet(std::make_unique<TDessinLigne>(&Motifs().TraitObjetDefaut)));
  ligne->AjoutePointLoc(100, 100);
  ligne->AjoutePointLoc(200, 100);
  auto rempli = std::make_unique<Bouchon>("rempli", TRect{5000, 6000, 6000, 5000});
  rempli->Remplissage = true;
  rempli->Bordure = ligne;
  auto* r = calque.AjouteObjet(std::move(rempli));
  for (auto& o : calque.ObjetsDessines) o->EstAffiche = true;
  std::vector<TObjetDessin*> liste;
  calque.SelectCadre(liste, {90, 110, 110, 90});
  EXPECT_EQ(liste, (std::vector<TObjetDessin*>{ligne, r}));
  EXPECT_TRUE(r->Selecte);
  calque.SelectCadre(liste, {90, 110, 110, 90});
  EXPECT_EQ(liste.size(), 2u);
}

TEST_F(Objets, CherchePageEtBitmapDuCalque) {
  TCalque calque;
  calque.AjouteObjet(std::make_unique<Bouchon>("a"));
  auto page = std::make_unique<Bouchon>("page");
  page->Page = true;
  auto* p = calque.AjouteObjet(std::move(page));
  EXPECT_EQ(calque.CherchePage(7, 8), p);
  EXPECT_EQ(calque.CherchePage(8, 8), nullptr);
  calque.Init(30, 20);
  ASSERT_TRUE(calque.Bitmap);
  EXPECT_EQ(calque.Bitmap->Width(), 30);
  EXPECT_EQ(calque.Bitmap->Height(), 20);
}

TEST_F(Objets, PixelsALEcranEnImpressionEtDecales) {
  TPointDeBase p(2500, 400);
  p.PointVue();
  EXPECT_EQ(p.PtVue(), (TPoint{2500, 600}));
  Affichage().DecalageVueX = 3;
  Affichage().DecalageActif = true;
  Affichage().DecalageY = -10;
  p.PointVue();
  EXPECT_EQ(p.PtVue(), (TPoint{2503, 590}));
  Affichage().DecalageActif = false;
  Affichage().DecalageVueX = 0;
  // Printed at 1:100 with 10,000 dots per paper metre: 100 dots per ground
  // metre from the page's upper left corner.
  auto& imp = foundation::Impression();
  imp.EnImpression = true;
  imp.EchellePrn = 100;
  imp.CoeffPrn = 10000;
  imp.BandeEnTetePrn = 0;
  imp.OriginePagePrn = foundation::PtTopoXY(1, 2);
  p.PointVue();
  EXPECT_EQ(p.PtVue(), (TPoint{150, 160}));
  Affichage().RepereSymbole = true;
  Affichage().HauteurRepereSymbole = 1000;
  p.PointVue();
  EXPECT_EQ(p.PtVue(), (TPoint{2500, 600}));
}

TEST_F(Objets, DimensionsDuBitmapDUnObjet) {
  auto l = Ligne(&Motifs().TraitObjetDefaut, {{100, 100}, {300, 200}});
  l->CalculeDimBmp();
  EXPECT_EQ(l->XRmin, 95 - 10);
  EXPECT_EQ(l->XRmax, 305 + 10);
  EXPECT_EQ(l->YRmin, 1000 - 205 - 10);
  EXPECT_EQ(l->YRmax, 1000 - 95 + 10);
  EXPECT_EQ(l->UnPtDeBaseVue(0), (TPoint{100 - 85, 900 - 785}));
}

TEST_F(Objets, ApercuDUnStyle) {
  TObjetTrait style;
  style.CouleurPlume = 0x00FF00;
  struct Apercu : Bouchon {
    using Bouchon::Bouchon;
    double Echelle = 0;
    uint32_t Couleur = 0;
    void DessineCetObjet(platform::Canvas& c) override {
      Echelle = foundation::Vue().EchelleVue;
      Couleur = c.Pen.Color;
    }
  };
  Apercu a("a");
  a.DessineVisuMotif(canvas, &style);
  EXPECT_EQ(a.Echelle, 50);
  EXPECT_EQ(a.Couleur, 0x00FF00u);
  EXPECT_EQ(a.ObjetMotif, &style);
  EXPECT_EQ(foundation::Vue().EchelleVue, 1000);
  EXPECT_EQ(canvas.Pen.Color, platform::kBlack);
}

TEST_F(Objets, LesObjetsEnErreurSontSignalesUneFois) {
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde(dialogues);
  SignaleErreursObjets();
  EXPECT_TRUE(dialogues.Messages().empty());
  Affichage().ObjetsEnErreur = {12, 40};
  SignaleErreursObjets();
  ASSERT_EQ(dialogues.Messages().size(), 1u);
  EXPECT_EQ(dialogues.Messages()[0], "erreur objet n° : 12\nerreur objet n° : 40");
  EXPECT_TRUE(Affichage().ObjetsEnErreur.empty());
}

TEST(EntoureEspaces, UnBlancDeChaqueCote) { EXPECT_EQ(EntoureEspaces("A 1"), " A 1 "); }

}  // namespace
