// A long survey axis drawn on one thread and on several: the same calls in
// the same order, the same names between them and the same current position
// at the end, with marked shots, branches, a shot from another axis's
// station, pieces off the canvas or outside the clip rectangle, the station
// dots shown or hidden, on an elevation block, and points without a previous
// station.  Without the names the calls reach the canvas in long batches.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "drawing/dessin_axe_gal.h"
#include "drawing/objet_dessin.h"
#include "foundation/contexte_foundation.h"
#include "platform/text_log_canvas.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"
#include "tests/drawing/outils_vue.h"

namespace {

using namespace drawing;
using platform::BatchCall;
using survey::TPointSpeleo;
using survey::TVisee;

// The recording canvas that also logs every call of every batch, one line
// each, with its colour, and leaves the current position where the batch's
// last line ends, as drawing the calls one by one does.
class Capture : public platform::TextLogCanvas {
 public:
  using platform::TextLogCanvas::TextLogCanvas;
  size_t PlusLongLot = 0;

  void Batch(std::span<const BatchCall> calls) override {
    PlusLongLot = std::max(PlusLongLot, calls.size());
    static const char* const noms[] = {"Ligne", "Ellipse", "Pixel"};
    char t[96];
    for (const BatchCall& c : calls) {
      std::snprintf(t, sizeof t, "%s %06X %d,%d %d,%d", noms[static_cast<int>(c.What)], c.Color, c.X1, c.Y1, c.X2,
                    c.Y2);
      Log.emplace_back(t);
      if (c.What == BatchCall::Kind::Line) PenPos = {c.X2, c.Y2};
    }
  }
};

// What a drawing of the axis gave the canvas.
struct Sortie {
  std::vector<std::string> Log;
  platform::Point PenPos;
  size_t PlusLongLot = 0;
};

// A walk of 20,000 stations over 200 x 150 m with a branch every 23 shots
// (from a station 10 back) and every 7th shot marked; a second axis whose
// second shot starts at a station of the first.
class AxeParallele : public ::testing::Test {
 protected:
  static constexpr size_t N = 20'000;

  AxeParallele() {
    uint32_t g = 4242;
    const auto hasard = [&] {
      g = g * 1103515245u + 12345u;
      return ((g >> 8) & 0xFFFF) / 65536.0;
    };
    double x = 100, y = 75;
    for (size_t i = 0; i < N + 300; ++i) {
      auto s = std::make_unique<TPointSpeleo>();
      s->DesignPTopo = "S" + std::to_string(i);
      s->X = x;
      s->Y = y;
      s->Slh = x;
      s->ZCalc = y;
      stations.push_back(std::move(s));
      x = std::clamp(x + 6 * hasard() - 3, -5.0, 205.0);
      y = std::clamp(y + 6 * hasard() - 3, -5.0, 155.0);
    }
    for (size_t i = 1; i < N; ++i) axe.AjouteTrait(Visee(i % 23 == 0 ? i - 10 : i - 1, i, i % 7 == 0));
    for (size_t i = N + 1; i < N + 300; ++i) autre.AjouteTrait(Visee(i == N + 2 ? 250 : i - 1, i, i % 5 == 0));
    // The marks are the display's, set after the axes took theirs.
    RemetMarques();
  }
  TVisee* Visee(size_t de, size_t a, bool marquee) {
    auto v = std::make_unique<TVisee>();
    v->PtOrigCalc = stations[de].get();
    v->PtCalc = stations[a].get();
    stations[a]->ViseeAvant = v.get();
    marques.push_back(marquee);
    visees.push_back(std::move(v));
    return visees.back().get();
  }
  // Restores the marks the axes' building set.
  void RemetMarques() {
    for (size_t k = 0; k < visees.size(); ++k) visees[k]->Marque = marques[k];
  }

  // The axis drawn with at most `fils` threads on a 1920 x 1080 canvas.
  static Sortie Dessine(TDessinAxeGal& a, int fils, bool clip) {
    foundation::GardeContexteFoundation garde;
    foundation::ContexteFoundation().FilsMax = fils;
    Capture c(1920, 1080);
    if (clip) c.SetClipRect({300, 200, 1500, 900});
    c.PenPos = {-7, -7};
    a.DessineObjet(c);
    return {std::move(c.Log), c.PenPos, c.PlusLongLot};
  }

  testvue::Vue vue;
  survey::GardeLiberationReseau liberation;
  std::vector<std::unique_ptr<TPointSpeleo>> stations;
  std::vector<std::unique_ptr<TVisee>> visees;
  std::vector<bool> marques;
  TDessinAxeGal axe, autre;
};

TEST_F(AxeParallele, LesMemesAppelsQuelQueSoitLeNombreDeFils) {
  struct Cas {
    const char* Nom;
    double Echelle;
    int32_t X, Y;
    bool Clip, Points, Noms, Coupe;
  };
  const Cas cas[] = {
      {"vue générale", 9, -5, 160, false, true, false, false},
      {"vue générale, points topo affichés", 9, -5, 160, false, false, false, false},
      {"zoom, traits hors du canevas et à travers les bords", 40, 60, 110, false, true, false, false},
      {"zoom loin du départ de l'axe", 60, 150, 60, false, true, false, false},
      {"zone de dessin", 12, 10, 150, true, true, false, false},
      {"bloc de coupe sur un plan: pas de marques", 40, 60, 110, false, true, false, true},
      {"noms entre les traits", 40, 60, 110, false, true, true, false},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.Nom);
    testvue::FixeVue(k.Echelle, k.X, k.Y, 1920, 1080);
    Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odCompos] = !k.Points;
    Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odNumPt] = k.Noms;
    axe.EstDessinCoupeVert = autre.EstDessinCoupeVert = k.Coupe;
    RemetMarques();
    for (TDessinAxeGal* a : {&axe, &autre}) {
      const Sortie seul = Dessine(*a, 1, k.Clip);
      if (a == &axe) {
        ASSERT_GT(seul.Log.size(), 500U);
      }
      for (int fils : {2, 3, 8}) {
        SCOPED_TRACE(fils);
        const Sortie plusieurs = Dessine(*a, fils, k.Clip);
        EXPECT_EQ(plusieurs.PenPos, seul.PenPos);
        ASSERT_EQ(plusieurs.Log.size(), seul.Log.size());
        const auto ecart = std::mismatch(seul.Log.begin(), seul.Log.end(), plusieurs.Log.begin());
        EXPECT_TRUE(ecart.first == seul.Log.end())
            << "appel " << (ecart.first - seul.Log.begin()) << ": " << *ecart.first << " / " << *ecart.second;
        // The long axis reaches the canvas in long batches, of more calls
        // than a few hundred.
        if (!k.Noms && a == &axe) {
          EXPECT_GT(plusieurs.PlusLongLot, 500U);
        }
      }
      // The points' pixels computed on several threads are the view's.
      for (const auto& p : a->PointsAxe) {
        const foundation::TPoint v = PointVueDessin(p->XLoc, p->YLoc);
        ASSERT_EQ(p->XVue, v.X);
        ASSERT_EQ(p->YVue, v.Y);
      }
    }
    // The marked shots are drawn in the selection colour, but not on an
    // elevation block.
    const Sortie t = Dessine(axe, 8, k.Clip);
    const bool magenta = std::any_of(t.Log.begin(), t.Log.end(),
                                     [](const std::string& l) { return l.starts_with("Ligne " + testvue::Hex(CouleurSelection)); });
    EXPECT_EQ(magenta, !k.Coupe);
  }
}

// The second half of the axis (the points drawn last) has no previous
// station, and the last shot drawn lies wholly off the canvas: the current
// position ends at that shot's start station, though the slices that draw
// last decide nothing.
TEST_F(AxeParallele, LaPositionCouranteVientDeLaDerniereTrancheQuiDecide) {
  testvue::FixeVue(9, -5, 160, 1920, 1080);
  TDessinAxeGal a;
  TPointAxe* rat = nullptr;
  for (size_t i = 0; i < N; ++i) {
    TPointSpeleo& s = *stations[i];
    if (i == N / 2) s.X = s.Y = -1000;
    if (i == N / 2 + 1) s.X = -900, s.Y = -1000;
    a.PointsAxe.push_back(std::make_unique<TPointAxe>(i > N / 2 ? rat : nullptr, &s));
    rat = a.PointsAxe.back().get();
  }
  const Sortie seul = Dessine(a, 1, false);
  const foundation::TPoint depart = PointVueDessin(a.PointsAxe[N / 2]->XLoc, a.PointsAxe[N / 2]->YLoc);
  EXPECT_EQ(seul.PenPos, (platform::Point{depart.X, depart.Y}));
  for (int fils : {2, 3, 8}) {
    const Sortie plusieurs = Dessine(a, fils, false);
    EXPECT_EQ(plusieurs.PenPos, seul.PenPos) << fils;
    EXPECT_EQ(plusieurs.Log, seul.Log) << fils;
  }
}

}  // namespace
