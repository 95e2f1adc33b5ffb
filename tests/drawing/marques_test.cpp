// The marks of the single-point objects (one table over their classes), the
// notes placed on the screen, the surface points on the Qt image canvas and
// the polygon marker.  The view: 10 pixels per metre, ground (x, y) at pixel
// (10 x, 300 - 10 y).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "drawing/contexte_motifs.h"
#include "drawing/dessin_point_surface.h"
#include "drawing/point_compo.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"
#include "survey/point_speleo.h"
#include "tests/drawing/outils_vue.h"

namespace {

using namespace drawing;
using testvue::Espion;

class Marques : public ::testing::Test {
 protected:
  testvue::Vue vue;
};

// Every mark at pixel (100, 100), ground (10, 20).
TEST_F(Marques, UneTableSurLesClasses) {
  const std::string croix5 = "LineTo 95,100 105,100 w=1 c=00FF00|LineTo 100,95 100,105 w=1 c=00FF00";
  const std::string note =
      "LineTo 89,100 111,100 w=5 c=0000FF|LineTo 100,89 100,111 w=5 c=0000FF|"
      "LineTo 95,100 105,100 w=5 c=FFFFFF|LineTo 100,95 100,105 w=5 c=FFFFFF|"
      "LineTo 93,100 107,100 w=1 c=0000FF|LineTo 100,93 100,107 w=1 c=0000FF";
  struct Cas {
    const char* Nom;
    std::function<std::unique_ptr<TObjetDessin>()> Cree;
    bool Noms;  // station names shown
    std::string Log;
  };
  const Cas cas[] = {
      {"TPointCompo", [] { return std::make_unique<TPointCompo>(10, 20); }, false, croix5},
      {"TPointCompo cliqué",
       [] {
         auto p = std::make_unique<TPointCompo>(10, 20);
         p->PointClique = true;
         return p;
       },
       false, croix5 + "|Ellipse 80,80,120,120 w=1 c=00FF00 b=0000FF"},
      {"TPointBoucle", [] { return std::make_unique<TPointBoucle>(10, 20); }, false,
       "LineTo 89,100 111,100 w=3 c=0000FF|LineTo 100,89 100,111 w=3 c=0000FF"},
      {"TPointBoucle à ôter",
       [] {
         auto p = std::make_unique<TPointBoucle>(10, 20);
         p->Del = true;
         return p;
       },
       false, "LineTo 89,100 111,100 w=3 c=C0C0C0|LineTo 100,89 100,111 w=3 c=C0C0C0"},
      {"TPointNote", [] { return std::make_unique<TPointNote>(100, 100); }, false, note},
      {"TPointVisu", [] { return std::make_unique<TPointVisu>(100, 100); }, false,
       "Ellipse 90,90,110,110 w=3 c=0000FF b=vide"},
      {"TPointStatHabi", [] { return std::make_unique<TPointStatHabi>(100, 100); }, false,
       "Ellipse 90,90,110,110 w=2 c=00FF00 b=vide"},
      {"TPointNoteVert", [] { return std::make_unique<TPointNoteVert>(100, 100); }, false,
       "LineTo 89,100 111,100 w=4 c=008000|LineTo 100,89 100,111 w=4 c=008000"},
      {"TPointCalage", [] { return std::make_unique<TPointCalage>(100, 100, 7); }, false,
       note + "|TextOut 120,90 esc=0 \"7\" [ms Sans Serif 12 0000FF fond FFFFFF]"},
      {"TPointSuite ouverte", [] { return std::make_unique<TPointSuite>(100, 100, true); }, false,
       "TextOut 105,100 esc=0 \"??\" [ms Sans Serif 15 0000FF gras fond FFFFFF]"},
      {"TPointSuite faite", [] { return std::make_unique<TPointSuite>(100, 100, false); }, false,
       "TextOut 105,100 esc=0 \"??\" [ms Sans Serif 15 008000 gras fond FFFFFF]"},
      // Direction 0 (east): the head 20 pixels east, its strokes 8 pixels
      // either side.
      {"TPointDirectCoupe est", [] { return std::make_unique<TPointDirectCoupe>(100, 100, 0); }, false,
       "LineTo 100,100 120,108 w=2 c=0000FF|LineTo 100,100 120,92 w=2 c=0000FF"},
      {"TPointDirectCoupe nord", [] { return std::make_unique<TPointDirectCoupe>(100, 100, std::numbers::pi / 2); },
       false, "LineTo 100,100 108,80 w=2 c=0000FF|LineTo 100,100 92,80 w=2 c=0000FF"},
      {"TPointDesign sans noms", [] { return std::make_unique<TPointDesign>(10, 20, "P1"); }, false, croix5},
      {"TPointDesign", [] { return std::make_unique<TPointDesign>(10, 20, "P1"); }, true,
       croix5 + "|TextOut 110,90 esc=0 \"P1\" [ms Sans Serif 10 000000 fond FFFFFF]"},
      {"TPointTopoTH", [] { return std::make_unique<TPointTopoTH>(10, 20, "th"); }, false,
       "LineTo 95,100 105,100 w=1 c=0000FF|LineTo 100,95 100,105 w=1 c=0000FF|"
       "TextOut 110,90 esc=0 \"th\" [ms Sans Serif 10 0000FF fond FFFFFF]"},
      {"TDessinAxeCoupe", [] { return std::make_unique<TDessinAxeCoupe>(nullptr, 10, 20); }, false,
       "LineTo 92,100 108,100 w=1 c=0000FF|LineTo 100,92 100,108 w=1 c=0000FF"},
  };
  for (const Cas& c : cas) {
    Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odNumPt] = c.Noms;
    auto objet = c.Cree();
    EXPECT_EQ(objet->CodeAffichage, TypeObjetDessin::odCompos) << c.Nom;
    EXPECT_TRUE(objet->TailleIndifferente()) << c.Nom;
    Espion canvas(400, 300);
    objet->DessineObjet(canvas);
    std::string log;
    for (const std::string& l : canvas.Log) log += (log.empty() ? "" : "|") + l;
    EXPECT_EQ(log, c.Log) << c.Nom;
    // The canvas is left as it was found.
    EXPECT_EQ(canvas.Pen.Width, 1) << c.Nom;
    EXPECT_EQ(canvas.Font.Name, "Arial") << c.Nom;
  }
}

TEST_F(Marques, DirectionDeCoupe) {
  TPointDirectCoupe p(0, 0, 0);
  EXPECT_DOUBLE_EQ(p.Angle, -std::numbers::pi);
  TPointDirectCoupe q(0, 0, 1.25);
  EXPECT_DOUBLE_EQ(q.Angle, -1.25 - std::numbers::pi);
}

TEST_F(Marques, UneNoteGardeSaPositionDeDessinAuZoom) {
  TPointNote note(100, 100);
  EXPECT_EQ(note.PtLoc(), (foundation::TPoint{10000, 20000}));
  EXPECT_EQ(note.EnvelRect, (foundation::TRect{9995, 20005, 10005, 19995}));
  foundation::Vue().EchelleVue = 20;
  foundation::Vue().XDebVue = 5;
  EXPECT_EQ(note.PtLoc(), (foundation::TPoint{10000, 20000}));
  note.CalculPointsVue();
  EXPECT_EQ(note.Point.PtVue(), (foundation::TPoint{100, 200}));
}

TEST_F(Marques, DistanceEnUnitesDeDessin) {
  TPointCompo p(10, 20);
  TInfoObjet info;
  p.DistanceObjet(130, 140, info);
  EXPECT_DOUBLE_EQ(info.D, 5000);
  EXPECT_EQ(info.NCav, -1);
  EXPECT_EQ(info.NGal, -1);
  EXPECT_EQ(info.Pt1, nullptr);
  EXPECT_EQ(info.ObjetProche, &p);
}

// --- Surface points ---------------------------------------------------------------------------

class PointsSurface : public ::testing::Test {
 protected:
  PointsSurface() {
    station.DesignPTopo = "Entrée";
    station.X = 10;
    station.Y = 10;
  }
  ~PointsSurface() override { station.PtGraph = nullptr; }
  // 20 pixels per metre: the station at pixel (200, 200).
  testvue::Vue vue{20, 0, 20, 400, 400};
  survey::TPointSpeleo station;
};

TEST_F(PointsSurface, TriangleEtCercle) {
  // s = 10, R = 20, c = 17, e = 10: apex (200, 180), base corners (183, 210)
  // and (217, 210).
  const uint32_t encre = Motifs().TraitPointsSurface.CouleurPlume;
  for (const bool cercle : {false, true}) {
    Motifs().TracerCercle = cercle;
    TDessinPointSurface p(&station);
    EXPECT_EQ(station.PtGraph, p.PointCanevas.get());
    platform::QtCanvas canvas(400, 400);
    p.DessineObjet(canvas);
    for (const auto& [x, y] :
         std::vector<std::pair<int, int>>{{200, 180}, {183, 210}, {217, 210}, {200, 210}, {200, 199}})
      EXPECT_EQ(canvas.Pixel(x, y), encre) << cercle << " " << x << "," << y;
    // Inside the triangle, off the dot: nothing; beyond the apex: nothing.
    EXPECT_EQ(canvas.Pixel(200, 193), platform::kWhite) << cercle;
    EXPECT_EQ(canvas.Pixel(200, 177), platform::kWhite) << cercle;
    // The circle of radius 20 under the triangle's base.
    bool bas = false;
    for (int y = 218; y <= 221; ++y) bas = bas || canvas.Pixel(200, y) == encre;
    EXPECT_EQ(bas, cercle);
  }
}

TEST_F(PointsSurface, ImpressionTaille15) {
  // Printing in the symbol frame (pixel = drawing unit, Y down from 1000):
  // the station at drawing (200, 800) is pixel (200, 200); s = 15, R = 30,
  // c = 26, e = 15.
  Motifs().TracerCercle = false;
  station.X = 0.2;
  station.Y = 0.8;
  foundation::Impression().EnImpression = true;
  Affichage().RepereSymbole = true;
  Affichage().HauteurRepereSymbole = 1000;
  EXPECT_EQ(TDessinPointSurface::TailleMarque(), 15);
  TDessinPointSurface p(&station);
  Espion canvas(400, 400);
  p.DessineObjet(canvas);
  EXPECT_EQ(canvas.Lignes("LineTo"),
            (std::vector<std::string>{"LineTo 174,215 200,170 w=1 c=008080", "LineTo 200,170 226,215 w=1 c=008080",
                                      "LineTo 226,215 174,215 w=1 c=008080"}));
}

TEST_F(PointsSurface, NomALaTailleDuPoint) {
  // The name in the pen colour at (X + R + pen width, Y - half its height),
  // size round(max(s x font size / 4 x setting, 6)).
  struct Cas {
    const char* Nom;
    double E;
    int32_t TailleFonte, Reglage, Largeur;
    std::string Texte;
  };
  const Cas cas[] = {
      {"s 10", 20, 10, 1, 1, "TextOut 221,192 esc=0 \" Entrée\" [Times New Roman 25 008080]"},
      {"réglage 2", 20, 10, 2, 1, "TextOut 221,192 esc=0 \" Entrée\" [Times New Roman 50 008080]"},
      {"plume de 3", 20, 10, 1, 3, "TextOut 223,192 esc=0 \" Entrée\" [Times New Roman 25 008080]"},
      // s = 3 (the minimum), R = 6: 7.5 rounds to 8.
      {"s minimum", 1, 10, 1, 1, "TextOut 17,2 esc=0 \" Entrée\" [Times New Roman 8 008080]"},
      {"au moins 6", 1, 2, 1, 1, "TextOut 17,2 esc=0 \" Entrée\" [Times New Roman 6 008080]"},
  };
  for (const Cas& c : cas) {
    foundation::Vue().EchelleVue = c.E;
    Motifs().FonteSurface.Taille = c.TailleFonte;
    Motifs().TailleDesign = c.Reglage;
    Motifs().TraitPointsSurface.EpaisseurPlume = c.Largeur;
    Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odNumSurf] = true;
    TDessinPointSurface p(&station);
    Espion canvas(400, 400);
    p.DessineObjet(canvas);
    EXPECT_EQ(canvas.Lignes("TextOut"), std::vector<std::string>{c.Texte}) << c.Nom;
  }
  Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odNumSurf] = false;
  TDessinPointSurface p(&station);
  Espion canvas(400, 400);
  p.DessineObjet(canvas);
  EXPECT_TRUE(canvas.Lignes("TextOut").empty()) << "noms masqués";
}

TEST_F(PointsSurface, DistanceEtPoignee) {
  TDessinPointSurface p(&station);
  TInfoObjet info;
  p.DistanceObjet(200, 260, info);
  EXPECT_EQ(info.Pt1, p.PointCanevas.get());
  EXPECT_DOUBLE_EQ(info.D, 3000);
  EXPECT_EQ(info.ObjetProche, &p);
  p.Selecte = true;
  Espion canvas(400, 400);
  p.DessineObjet(canvas);
  EXPECT_EQ(canvas.Lignes("FrameRect"), std::vector<std::string>{"FrameRect 195,195,205,205"});
}

TEST_F(PointsSurface, Polygone) {
  struct Cas {
    const char* Nom;
    double E;
    bool Impression;
    int R1, R2;
  };
  // r = max(0.3 E, 2), five times while printing; radii 2 round(r) and
  // 2 round(0.6 r).
  const Cas cas[] = {{"E 20", 20, false, 12, 8}, {"E 1", 1, false, 4, 2}, {"impression", 20, true, 60, 36}};
  for (const Cas& c : cas) {
    foundation::Vue().EchelleVue = c.E;
    foundation::Impression().EnImpression = c.Impression;
    Affichage().RepereSymbole = c.Impression;
    Affichage().HauteurRepereSymbole = 10200;
    TDessinPointPolygo p(&station);
    Espion canvas(400, 400);
    p.DessineObjet(canvas);
    p.CalculPointsVue();
    const int x = p.PointCanevas->XVue, y = p.PointCanevas->YVue;
    auto boite = [&](int r) {
      return "Ellipse " + std::to_string(x - r) + "," + std::to_string(y - r) + "," + std::to_string(x + r) + "," +
             std::to_string(y + r) + " w=1 c=008080 b=vide";
    };
    EXPECT_EQ(canvas.Log, (std::vector<std::string>{boite(c.R1), boite(c.R2)})) << c.Nom;
  }
}

}  // namespace
