// The survey axis and the reference lines: the axis points a shot adds, their
// positions, the drawing (marked shots, dots, names and comments), the
// nearest shot, the splay shots, the survey polyline, the outlines and the
// loop-pair lines.  The view: 10 pixels per metre, ground (x, y) at pixel
// (10 x, 300 - 10 y).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "drawing/contexte_motifs.h"
#include "drawing/dessin_axe_gal.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "foundation/utilitaires.h"
#include "platform/qt/qt_canvas.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"
#include "tests/drawing/outils_vue.h"

namespace {

using namespace drawing;
using survey::TPointSpeleo;
using survey::TVisee;
using testvue::Espion;

// Stations A (5, 5), B (15, 5), C (15, 15), D (25, 15) and the shots A-B,
// B-C, C-D, each the arriving shot of its end; a lone shot X-Y.
class Axe : public ::testing::Test {
 protected:
  Axe() {
    const std::vector<std::tuple<std::string, double, double>> positions{{"A", 5, 5},   {"B", 15, 5},  {"C", 15, 15},
                                                                         {"D", 25, 15}, {"X", 30, 25}, {"Y", 35, 25}};
    for (const auto& [nom, x, y] : positions) {
      auto s = std::make_unique<TPointSpeleo>();
      s->DesignPTopo = nom;
      s->X = x;
      s->Y = y;
      s->Slh = 2 * x;
      s->ZCalc = 100 + y;
      stations.push_back(std::move(s));
    }
    for (const auto& [a, b] : std::vector<std::pair<int, int>>{{0, 1}, {1, 2}, {2, 3}, {4, 5}}) {
      auto v = std::make_unique<TVisee>();
      v->PtOrigCalc = stations[a].get();
      v->PtCalc = stations[b].get();
      stations[b]->ViseeAvant = v.get();
      visees.push_back(std::move(v));
    }
  }
  TPointSpeleo* S(int i) { return stations[static_cast<size_t>(i)].get(); }
  TVisee* V(int i) { return visees[static_cast<size_t>(i)].get(); }
  // The axis A-B-C-D, its shots unmarked afterwards as the views leave them.
  std::unique_ptr<TDessinAxeGal> AxeABCD() {
    auto axe = std::make_unique<TDessinAxeGal>();
    for (int i = 0; i < 3; ++i) axe->AjouteTrait(V(i));
    for (auto& v : visees) v->Marque = false;
    return axe;
  }

  testvue::Vue vue;
  // Stations and shots go together, without unlinking.
  survey::GardeLiberationReseau liberation;
  std::vector<std::unique_ptr<TPointSpeleo>> stations;
  std::vector<std::unique_ptr<TVisee>> visees;
};

TEST_F(Axe, AjouteTraitRelieLesStations) {
  TDessinAxeGal axe;
  EXPECT_EQ(axe.CodeAffichage, TypeObjetDessin::odPtLever);
  EXPECT_EQ(axe.ObjetMotif, &Motifs().TraitAxeTopo);
  axe.AjouteTrait(V(0));
  ASSERT_EQ(axe.NombrePoints(), 2);
  EXPECT_TRUE(V(0)->Marque);
  EXPECT_EQ(axe.lePointAxe(0)->PointRat, nullptr);
  EXPECT_EQ(axe.lePointAxe(1)->PointRat, axe.lePointAxe(0));
  EXPECT_EQ(S(0)->PtGraph, axe.lePointAxe(0));
  EXPECT_EQ(S(1)->PtGraph, axe.lePointAxe(1));
  EXPECT_EQ(axe.lePointAxe(1)->PointLoc(), (foundation::TPoint{15000, 5000}));
  // A shot whose start station has no graphic point adds nothing and is not
  // marked.
  axe.AjouteTrait(V(3));
  EXPECT_EQ(axe.NombrePoints(), 2);
  EXPECT_FALSE(V(3)->Marque);
  axe.AjouteTrait(V(1));
  axe.AjouteTrait(V(2));
  ASSERT_EQ(axe.NombrePoints(), 4);
  EXPECT_EQ(axe.lePointAxe(3)->PointRat, axe.lePointAxe(2));
  EXPECT_EQ(axe.EnvelRect, (foundation::TRect{5000 - 5, 15000 + 5, 25000 + 5, 5000 - 5}));
  EXPECT_TRUE(axe.EnveloppeModifiee);
  // A shot without its computed end adds nothing.
  TVisee sansFin;
  sansFin.PtOrigCalc = S(3);
  axe.AjouteTrait(&sansFin);
  EXPECT_EQ(axe.NombrePoints(), 4);
}

TEST_F(Axe, PositionDuPointAxe) {
  struct Cas {
    const char* Nom;
    foundation::TTypeDeDessin Type;
    double DecalX, DecalY;
    foundation::TPoint Attendu;
  };
  // Station C: X 15, Y 15, Slh 30, ZCalc 115.
  const Cas cas[] = {
      {"plan", foundation::TTypeDeDessin::tddPlani, 0, 0, {15000, 15000}},
      {"plan d'une partie décalée", foundation::TTypeDeDessin::tddPlani, 100, -2.5, {115000, 12500}},
      {"coupe développée", foundation::TTypeDeDessin::tddAltiDev, 0, 0, {30000, 115000}},
      {"coupe décalée", foundation::TTypeDeDessin::tddAltiDev, 1, 2, {31000, 117000}},
  };
  for (const Cas& c : cas) {
    foundation::GardeTypeDessin type(c.Type);
    GardeValeur<double> dx(Dessin().DecalageDessinX, c.DecalX), dy(Dessin().DecalageDessinY, c.DecalY);
    TPointAxe p(nullptr, S(2));
    EXPECT_EQ(p.PointLoc(), c.Attendu) << c.Nom;
  }
}

TEST_F(Axe, LaStationOublieSonPointQuandIlDisparait) {
  {
    TDessinAxeGal axe;
    axe.AjouteTrait(V(0));
    auto autre = std::make_unique<TPointAxe>(nullptr, S(0));
    EXPECT_EQ(S(0)->PtGraph, autre.get());
  }
  // The first axis point no longer held the station: the second one freed it.
  EXPECT_EQ(S(0)->PtGraph, nullptr);
  EXPECT_EQ(S(1)->PtGraph, nullptr);
}

TEST_F(Axe, TraitsMarquesEnMagentaSaufBlocEtEcart) {
  // B-C is marked: magenta, but in the axis colour on an elevation block or
  // in an offset part; A-B and C-D in the axis colour (red).
  struct Cas {
    const char* Nom;
    bool CoupeVert;
    bool Ecart;
    uint32_t CouleurBC;
  };
  const Cas cas[] = {{"axe", false, false, CouleurSelection},
                     {"bloc de coupe", true, false, CouleurRouge},
                     {"partie décalée", false, true, CouleurRouge}};
  for (const Cas& c : cas) {
    auto axe = AxeABCD();
    V(1)->Marque = true;
    axe->EstDessinCoupeVert = c.CoupeVert;
    axe->EstObjetEcart = c.Ecart;
    Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odCompos] = true;
    platform::QtCanvas canvas(400, 300);
    axe->DessineObjet(canvas);
    EXPECT_EQ(canvas.Pixel(100, 250), CouleurRouge) << c.Nom << ": A-B";
    EXPECT_EQ(canvas.Pixel(150, 200), c.CouleurBC) << c.Nom << ": B-C";
    EXPECT_EQ(canvas.Pixel(200, 150), CouleurRouge) << c.Nom << ": C-D";
  }
}

TEST_F(Axe, PointsBlancsSeulementQuandLesPointsTopoSontMasques) {
  for (const bool compos : {false, true}) {
    auto axe = AxeABCD();
    Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odCompos] = compos;
    Espion canvas(400, 300);
    axe->DessineObjet(canvas);
    const auto points = canvas.Lignes("Ellipse");
    const auto pixels = canvas.Lignes("SetPixel");
    // Every point but the first, from the last: D (250, 150), C, B.
    ASSERT_EQ(pixels.size(), 3u) << compos;
    EXPECT_EQ(pixels[0], "SetPixel 250,150 255");
    EXPECT_EQ(pixels[2], "SetPixel 150,250 255");
    if (compos) {
      EXPECT_TRUE(points.empty());
    } else {
      ASSERT_EQ(points.size(), 3u);
      EXPECT_EQ(points[0], "Ellipse 248,148,252,152 w=1 c=FFFFFF b=vide");
      EXPECT_EQ(points[2], "Ellipse 148,248,152,252 w=1 c=FFFFFF b=vide");
    }
    EXPECT_TRUE(canvas.Lignes("TextOut").empty()) << "noms masqués";
  }
}

TEST_F(Axe, NomsEtCommentaires) {
  struct Cas {
    const char* Nom;
    bool Impression;
    bool Commentaires;
    std::vector<std::string> Textes;
  };
  const Cas cas[] = {
      {"écran",
       false,
       false,
       {"TextOut 260,140 esc=0 \"D\" [Arial 8 800000]", "TextOut 160,140 esc=0 \"C\" [Arial 8 800000]",
        "TextOut 160,240 esc=0 \"B\" [Arial 8 800000]", "TextOut 60,240 esc=0 \"A\" [Arial 8 800000]"}},
      {"commentaires",
       false,
       true,
       {"TextOut 260,140 esc=0 \"D\" [Arial 8 800000]",
        "TextOut 160,140 esc=0 \"C / au fond à droite\" [Arial 8 800000]",
        "TextOut 160,240 esc=0 \"B\" [Arial 8 800000]", "TextOut 60,240 esc=0 \"A\" [Arial 8 800000]"}},
      // Printing in the symbol frame: pixel (x, 20000 - y) of the drawing units.
      {"impression",
       true,
       false,
       {"TextOut 25010,4990 esc=0 \"D\" [Arial 30 800000]", "TextOut 15010,4990 esc=0 \"C\" [Arial 30 800000]",
        "TextOut 15010,14990 esc=0 \"B\" [Arial 30 800000]", "TextOut 5010,14990 esc=0 \"A\" [Arial 30 800000]"}},
  };
  S(2)->Commentaire = {"au fond", "à droite"};
  for (const Cas& c : cas) {
    auto axe = AxeABCD();
    Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odNumPt] = true;
    Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odCompos] = true;
    Affichage().AfficheCommentaires = c.Commentaires;
    foundation::Impression().EnImpression = c.Impression;
    Affichage().RepereSymbole = c.Impression;
    Affichage().HauteurRepereSymbole = 20000;
    Espion canvas(400, 300);
    axe->DessineObjet(canvas);
    EXPECT_EQ(canvas.Lignes("TextOut"), c.Textes) << c.Nom;
    foundation::Impression().EnImpression = false;
  }
}

TEST_F(Axe, DistanceObjetVersLeTraitLePlusProche) {
  struct Cas {
    const char* Nom;
    int32_t X, Y;  // pixel of the cursor
    int Pt1, Pt2;  // axis points
    double D;
  };
  const Cas cas[] = {
      {"près de B-C", 160, 200, 1, 2, 1000},       {"près de C-D", 200, 160, 2, 3, 1000},
      {"sur B: A-B avant B-C", 150, 250, 0, 1, 0}, {"à égale distance de B-C et C-D", 200, 200, 1, 2, 5000},
      {"au-delà de D", 300, 150, 2, 3, 5000},
  };
  auto axe = AxeABCD();
  for (const Cas& c : cas) {
    TInfoObjet info;
    axe->DistanceObjet(c.X, c.Y, info);
    EXPECT_EQ(info.Pt1, axe->lePointAxe(c.Pt1)) << c.Nom;
    EXPECT_EQ(info.Pt2, axe->lePointAxe(c.Pt2)) << c.Nom;
    EXPECT_NEAR(info.D, c.D, 1e-6) << c.Nom;
    EXPECT_EQ(info.NCav, -1);
    EXPECT_EQ(info.ObjetProche, axe.get());
  }
  TDessinAxeGal vide;
  TInfoObjet info;
  info.D = 3;
  vide.DistanceObjet(10, 10, info);
  EXPECT_EQ(info.D, -1) << "un axe sans trait";
  EXPECT_EQ(info.Pt1, nullptr);
  EXPECT_EQ(info.ObjetProche, &vide);
}

// --- Splays --------------------------------------------------------------------------------

class Habi : public Axe {
 protected:
  Habi() {
    habi.CommentVisee = {"trémie"};
    ligne.AjoutePointReel(15, 5);
    ligne.AjoutePointReel(18, 9);
  }
  survey::TViseeHabi habi;
  TDessinViseeHabi ligne{&habi};
};

TEST_F(Habi, JamaisLePlusProche) {
  TInfoObjet info;
  ligne.DistanceObjet(150, 250, info);
  EXPECT_EQ(info.D, foundation::ValeurIndefiniePositive);
  EXPECT_NEAR(info.D, 1.2056e299, 0.0001e299);
  EXPECT_EQ(info.ObjetProche, &ligne);
  EXPECT_EQ(ligne.ObjetMotif, &Motifs().TraitViseesAnnexes);
  EXPECT_EQ(ligne.ObjetDonnees, &habi);
  EXPECT_EQ(ligne.CodeAffichage, TypeObjetDessin::odVisHab);
}

TEST_F(Habi, AffichageSelonLesTypesEtCommentaire) {
  struct Cas {
    const char* Nom;
    bool Reference;  // a visible-kinds array is referenced
    bool VisHab;     // it shows odVisHab
    bool Noms, Commentaires;
    size_t Traits;
    std::vector<std::string> Textes;
  };
  const std::string texte = "TextOut 190,200 esc=0 \"trémie\" [Arial 8 800000]";
  const Cas cas[] = {
      {"sans référence", false, false, false, false, 1, {}},
      {"référence masquant les visées annexes", true, false, true, true, 0, {}},
      {"référence les montrant", true, true, false, false, 1, {}},
      {"noms et commentaires", false, false, true, true, 1, {texte}},
      {"commentaires sans noms", false, false, false, true, 1, {}},
  };
  for (const Cas& c : cas) {
    TObjetsAffichables types;
    types[TypeObjetDessin::odVisHab] = c.VisHab;
    ligne.pListeAffichables = c.Reference ? &types : nullptr;
    Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odNumPt] = c.Noms;
    Affichage().AfficheCommentaires = c.Commentaires;
    Espion canvas(400, 300);
    ligne.DessineObjet(canvas);
    // The dotted line is drawn by the canvas pen: one stroke.
    EXPECT_EQ(canvas.Lignes("LineTo").size(), c.Traits) << c.Nom;
    EXPECT_EQ(canvas.Lignes("TextOut"), c.Textes) << c.Nom;
  }
}

// --- Survey polyline, outlines, loop pairs -------------------------------------------------------------

TEST_F(Axe, LignePlaniAltitudesEtPoints) {
  S(0)->Zajuste = 102.34;
  S(1)->Zajuste = -0.25;
  for (const uint32_t code : {0u, 3u}) {
    TObjetTrait style;
    style.CouleurPlume = 0x00AA00;
    style.CodeMotif = code;
    TDessinLignePlani l(&style);
    l.AjoutePoint(*S(0));
    l.AjoutePoint(*S(1));
    ASSERT_EQ(l.NombrePoints(), 2);
    EXPECT_EQ(l.UnPointDeBase(0).Text, "102.3");
    EXPECT_EQ(l.UnPointDeBase(1).Text, "-0.3");
    EXPECT_EQ(l.UnPointDeBase(1).PointLoc(), (foundation::TPoint{15000, 5000}));
    Espion canvas(400, 300);
    l.DessineObjet(canvas);
    EXPECT_EQ(canvas.Lignes("LineTo"), std::vector<std::string>{"LineTo 50,250 150,250 w=1 c=00AA00"}) << code;
    if (code == 0) {
      EXPECT_EQ(canvas.Lignes("Ellipse"), (std::vector<std::string>{"Ellipse 48,248,52,252 w=1 c=FFFFFF b=vide",
                                                                    "Ellipse 148,248,152,252 w=1 c=FFFFFF b=vide"}));
      EXPECT_EQ(canvas.Lignes("TextOut"),
                (std::vector<std::string>{"TextOut 45,235 esc=0 \"102.3\" [Arial 8 00AA00]",
                                          "TextOut 145,235 esc=0 \"-0.3\" [Arial 8 00AA00]"}));
    } else {
      EXPECT_TRUE(canvas.Lignes("Ellipse").empty());
      EXPECT_TRUE(canvas.Lignes("TextOut").empty());
    }
  }
  // In an elevation: developed distance and Z.
  foundation::GardeTypeDessin type(foundation::TTypeDeDessin::tddAltiDev);
  S(0)->Z = 7;
  TDessinLignePlani l(&Motifs().TraitObjetDefaut);
  l.AjoutePoint(*S(0));
  EXPECT_EQ(l.UnPointDeBase(0).PointLoc(), (foundation::TPoint{10000, 7000}));
}

TEST_F(Axe, ContoursDeGalerie) {
  TDessinLigneGalerie g(3, 7);
  EXPECT_EQ(g.CodeAffichage, TypeObjetDessin::odGalerie);
  EXPECT_EQ(g.ObjetMotif, &Motifs().TraitDimTopo);
  EXPECT_FALSE(g.EstLigneDeCoupe());
  g.AjoutePointReel(0, 0);
  g.AjoutePointReel(10, 0);
  TInfoObjet info;
  g.DistanceObjet(0, 300, info);
  EXPECT_EQ(info.NCav, 3);
  EXPECT_EQ(info.NGal, 7);
  EXPECT_EQ(info.D, -1);
  EXPECT_EQ(info.Pt1, nullptr);
  EXPECT_EQ(info.ObjetProche, &g);

  // A filled elevation outline: light grey inside; not filled: white inside.
  for (const bool remplir : {true, false}) {
    TDessinEnvelCoupe e(1, remplir, 2);
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{{5, 5}, {25, 5}, {25, 20}, {5, 20}})
      e.AjoutePointReel(x, y);
    platform::QtCanvas canvas(400, 300);
    e.DessineObjet(canvas);
    EXPECT_EQ(canvas.Pixel(150, 180), remplir ? CouleurEnveloppeCoupe : platform::kWhite) << remplir;
    EXPECT_EQ(canvas.Pixel(250, 180), Motifs().TraitDimTopo.CouleurPlume) << remplir << ": le contour";
  }
}

TEST_F(Axe, DuoBoucleRondRougeAuSecondPoint) {
  TDessinDuoBoucle d(&Motifs().TraitObjetDefaut);
  d.AjoutePointReel(5, 5);
  d.AjoutePointReel(15, 15);
  Espion canvas(400, 300);
  d.DessineObjet(canvas);
  EXPECT_EQ(canvas.Log, (std::vector<std::string>{"LineTo 50,250 150,150 w=1 c=000000",
                                                  "Ellipse 148,148,152,152 w=1 c=0000FF b=vide"}));
}

}  // namespace
