// The survey axis drawn in batches, its pieces off the canvas left out,
// against the same axis drawn call by call as each shot, dot and pixel always
// was: the same pixels at the general view, zoomed in with shots across the
// edges, inside a clip rectangle, with marked shots, branches, a shot from
// another axis's station, and with the station names between the pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "drawing/contexte_motifs.h"
#include "drawing/dessin_axe_gal.h"
#include "drawing/style_canvas.h"
#include "foundation/arrondi.h"
#include "foundation/contexte_foundation.h"
#include "platform/qt/qt_canvas.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"
#include "tests/drawing/outils_vue.h"

namespace {

using namespace drawing;
using platform::QtCanvas;
using survey::TPointSpeleo;
using survey::TVisee;

// A walk of `n` stations over 40 x 30 m with a branch every 23 shots (from a
// station 10 back) and every 7th shot marked; a second axis whose second shot
// starts at a station of the first.
class AxeLong : public ::testing::Test {
 protected:
  explicit AxeLong(size_t n = 600) {
    uint32_t g = 2024;
    const auto hasard = [&] {
      g = g * 1103515245u + 12345u;
      return ((g >> 8) & 0xFFFF) / 65536.0;
    };
    double x = 20, y = 15;
    for (size_t i = 0; i < n; ++i) {
      auto s = std::make_unique<TPointSpeleo>();
      s->DesignPTopo = "S" + std::to_string(i);
      s->X = x;
      s->Y = y;
      stations.push_back(std::move(s));
      x = std::clamp(x + 3 * hasard() - 1.5, -2.0, 42.0);
      y = std::clamp(y + 3 * hasard() - 1.5, -2.0, 32.0);
    }
    for (size_t i = 1; i < n - 100; ++i) axe.AjouteTrait(Visee(i % 23 == 0 ? i - 10 : i - 1, i, i % 7 == 0));
    for (size_t i = n - 99; i < n; ++i) autre.AjouteTrait(Visee(i == n - 98 ? 250 : i - 1, i, i % 5 == 0));
    // The marks are the display's, set after the axes took theirs.
    for (auto& v : visees) v->Marque = marques[v.get()];
  }
  TVisee* Visee(size_t de, size_t a, bool marquee) {
    auto v = std::make_unique<TVisee>();
    v->PtOrigCalc = stations[de].get();
    v->PtCalc = stations[a].get();
    stations[a]->ViseeAvant = v.get();
    marques[v.get()] = marquee;
    visees.push_back(std::move(v));
    return visees.back().get();
  }

  // The axis call by call: each shot from its end back to the previous
  // station (magenta when marked), the white dot while the survey points are
  // hidden, the point's pixel and its name, as the axis always drew them.
  static void UnParUn(TDessinAxeGal& a, QtCanvas& c) {
    a.CalculPointsVue();
    GardeStyleCanvas garde(c);
    AppliqueTrait(c, a.ObjetMotif);
    const EtatAffichage& aff = Affichage();
    const bool noms = aff.ObjetsAffichablesCourants[TypeObjetDessin::odNumPt];
    const bool points = !aff.ObjetsAffichablesCourants[TypeObjetDessin::odCompos];
    const int32_t r = std::min(foundation::Arrondi(2 * foundation::Vue().EchelleVue), 2);
    const platform::Colour couleur = c.Pen.Color;
    for (size_t i = a.PointsAxe.size() - 1; i >= 1; --i) {
      TPointAxe& p = *a.PointsAxe[i];
      if (p.PointRat != nullptr) {
        p.PointRat->PointVue();
        const TVisee* arrivee = p.PointRef != nullptr ? p.PointRef->ViseeAvant : nullptr;
        c.Pen.Color = arrivee != nullptr && arrivee->Marque ? CouleurSelection : couleur;
        c.MoveTo(p.XVue, p.YVue);
        c.LineTo(p.PointRat->XVue, p.PointRat->YVue);
      }
      c.Pen.Color = couleur;
      if (points) {
        c.Pen.Color = platform::kWhite;
        c.Ellipse(p.XVue - r, p.YVue - r, p.XVue + r, p.YVue + r);
        c.Pen.Color = couleur;
      }
      c.SetPixel(p.XVue, p.YVue, couleur);
      if (noms) p.AfficheDesign(c);
    }
    if (noms) a.PointsAxe[0]->AfficheDesign(c);
  }

  // Both axes drawn by the axis on `lots` and call by call on `appels` (400
  // x 300): the same pixels, more than `encre` of them inked, and the same
  // current position.
  void DessineEtCompare(QtCanvas& lots, QtCanvas& appels, int encre) {
    for (TDessinAxeGal* x : {&autre, &axe}) {
      x->DessineObjet(lots);
      UnParUn(*x, appels);
    }
    int ecarts = 0, encrees = 0;
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 400; ++x) {
        ecarts += lots.Pixel(x, y) != appels.Pixel(x, y);
        encrees += appels.Pixel(x, y) != platform::kWhite;
      }
    EXPECT_EQ(ecarts, 0);
    EXPECT_GT(encrees, encre);
    EXPECT_EQ(lots.PenPos, appels.PenPos);
  }

  testvue::Vue vue;
  survey::GardeLiberationReseau liberation;
  std::vector<std::unique_ptr<TPointSpeleo>> stations;
  std::vector<std::unique_ptr<TVisee>> visees;
  std::map<const TVisee*, bool> marques;
  TDessinAxeGal axe, autre;
};

TEST_F(AxeLong, EnLotsCommeAppelParAppel) {
  struct Cas {
    const char* Nom;
    double Echelle;
    int32_t X, Y;
    bool Zone, Points, Noms;
    int Encre;
  };
  const Cas cas[] = {
      {"vue générale", 10, -3, 33, false, true, false, 3000},
      {"vue générale, points topo affichés", 10, -3, 33, false, false, false, 4000},
      {"zoom, traits à travers les bords", 60, 12, 22, false, true, false, 3000},
      {"vue lointaine, points de deux pixels", 0.5, -300, 300, false, true, false, 20},
      {"zone de dessin", 25, 5, 28, true, true, false, 2000},
      {"noms entre les traits", 18, 4, 26, false, true, true, 10000},
  };
  for (const Cas& k : cas) {
    testvue::FixeVue(k.Echelle, k.X, k.Y, 400, 300);
    Affichage().ToutDessiner = false;
    Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odCompos] = !k.Points;
    Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odNumPt] = k.Noms;
    foundation::TPoint a = foundation::EcranVersDessin({0, 0}), b = foundation::EcranVersDessin({400, 300});
    Affichage().RectVisibleDessin = foundation::TRect{a.X, a.Y, b.X, b.Y};
    QtCanvas lots(400, 300), appels(400, 300);
    if (k.Zone) {
      lots.SetClipRect({37, 21, 311, 240});
      appels.SetClipRect({37, 21, 311, 240});
    }
    SCOPED_TRACE(k.Nom);
    DessineEtCompare(lots, appels, k.Encre);
  }
}

// An axis of 30,000 points drawn on the cores of the machine, its calls cut
// into slices: the same pixels and current position as the axis drawn call by
// call on one thread.
class AxeTresLong : public AxeLong {
 protected:
  AxeTresLong() : AxeLong(30'000) {}
};

TEST_F(AxeTresLong, SurPlusieursFilsCommeAppelParAppel) {
  foundation::GardeContexteFoundation garde;
  foundation::ContexteFoundation().FilsMax = 8;
  for (const bool points : {true, false}) {
    SCOPED_TRACE(points);
    testvue::FixeVue(30, 8, 24, 400, 300);
    Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odCompos] = !points;
    QtCanvas lots(400, 300), appels(400, 300);
    DessineEtCompare(lots, appels, 20000);
  }
}

}  // namespace
