// A big layer drawn with its plain lines recorded on several threads and
// given to the canvas in order, against the same layer drawn on one thread:
// the same pixels, whatever the mix of objects the threads may draw (plain
// lines, splays, outlines) and of objects they leave to the canvas (smoothed
// or wide dashed lines, filled elevation outlines, selected lines, a texts'
// object, an object whose drawing fails part way), and the same objects
// noted in error, in the same order.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "drawing/calque.h"
#include "drawing/dessin_axe_gal.h"
#include "drawing/objet_trait.h"
#include "foundation/contexte_foundation.h"
#include "platform/qt/qt_canvas.h"
#include "tests/drawing/outils_vue.h"

namespace {

using namespace drawing;
using platform::QtCanvas;

// Draws a line, then fails when told to.
class Defaillant : public TDessinLigne {
 public:
  using TDessinLigne::TDessinLigne;
  void DessineCetObjet(platform::Canvas& canvas) override {
    TDessinLigne::DessineCetObjet(canvas);
    if (Echoue) throw std::runtime_error("echec");
  }
  static inline bool Echoue = false;
};

// A plain line, drawable on another thread, whose drawing fails without
// stopping: it notes itself among the objects in error, as a line whose
// tracing fails does.
class Signale : public TDessinLigne {
 public:
  using TDessinLigne::TDessinLigne;
  bool TracableEnParallele() const override { return TraceSimple(); }
  void DessineCetObjet(platform::Canvas& canvas) override {
    TDessinLigne::DessineCetObjet(canvas);
    NoteObjetEnErreur(canvas, NoObjet);
  }
};

std::unique_ptr<TObjetTrait> Style(platform::Colour c, MesPenStyle s, int32_t epaisseur, bool lisse = false) {
  auto t = std::make_unique<TObjetTrait>();
  t->CouleurPlume = c;
  t->CouleurPinceau = c;
  t->StylePlume = s;
  t->EpaisseurPlume = epaisseur;
  t->TraitLisse = lisse;
  return t;
}

class CalqueParallele : public ::testing::Test {
 protected:
  CalqueParallele() {
    styles.push_back(Style(0x0000FF, MesPenStyle::mpsSolid, 1));
    styles.push_back(Style(0xFF0000, MesPenStyle::mpsDash, 1));
    styles.push_back(Style(0x00A000, MesPenStyle::mpsSolid, 2));
    styles.push_back(Style(0x808000, MesPenStyle::mpsSolid, 1, true));
    styles.push_back(Style(0x008080, MesPenStyle::mpsDash, 3));
    styles.push_back(Style(0x000000, MesPenStyle::mpsHachure, 1));
  }

  // Objects of every sort over the 40 x 30 m view, crossing one another in
  // many colours, a few of them past the edges.
  void Remplit(TCalque& calque, int n, int defaillant) {
    uint32_t g = 77;
    const auto hasard = [&] {
      g = g * 1103515245u + 12345u;
      return ((g >> 8) & 0xFFFF) / 65536.0;
    };
    for (int i = 0; i < n; ++i) {
      const double x = 44 * hasard() - 2, y = 34 * hasard() - 2;
      const double dx = 6 * hasard() - 3, dy = 6 * hasard() - 3;
      std::unique_ptr<TDessinLigne> l;
      const int sorte = i % 13;
      if (i == defaillant)
        l = std::make_unique<Defaillant>(styles[0].get());
      else if (i % 211 == 3)
        l = std::make_unique<Signale>(styles[0].get());
      else if (sorte < 4)
        l = std::make_unique<TDessinLigne>(styles[static_cast<size_t>(i % 3)].get());
      else if (sorte < 7)
        l = std::make_unique<TDessinViseeHabi>(nullptr, styles[static_cast<size_t>(i % 2)].get());
      else if (sorte < 9)
        l = std::make_unique<TDessinLigneGalerie>(0, i);
      else if (sorte == 9)
        l = std::make_unique<TDessinEnvelCoupe>(0, i % 2 == 0, i);
      else
        l = std::make_unique<TDessinLigne>(styles[static_cast<size_t>(3 + i % 3)].get());
      l->AjoutePointReel(x, y);
      l->AjoutePointReel(x + dx, y + dy);
      if (i % 3 == 0) l->AjoutePointReel(x + dx, y - dy);
      if (i % 97 == 5) l->Selecte = true;
      if (i % 89 == 7) l->EstVisible = false;
      calque.AjouteObjet(std::move(l));
    }
  }

  struct Dessin {
    QImage image;
    std::vector<bool> affiches;
    platform::Point position;
    // The objects noted in error by the last paint, by their place in the layer.
    std::vector<int32_t> erreurs;
  };
  Dessin Dessine(int fils, int n, int defaillant, bool decoupe) {
    foundation::GardeContexteFoundation garde;
    foundation::ContexteFoundation().FilsMax = fils;
    TCalque calque;
    Remplit(calque, n, defaillant);
    QtCanvas canvas(400, 300);
    if (decoupe) canvas.SetClipRect({50, 40, 330, 250});
    canvas.PenPos = {3, 4};
    // A first paint without failure, so that the objects show what a
    // failure leaves them.
    Defaillant::Echoue = false;
    calque.DessineCalque(canvas);
    canvas.FillRect({0, 0, 400, 300});
    canvas.PenPos = {3, 4};
    Defaillant::Echoue = true;
    Affichage().ObjetsEnErreur.clear();
    calque.DessineCalque(canvas);
    Defaillant::Echoue = false;
    Dessin d{canvas.Image(), {}, canvas.PenPos, {}};
    for (const auto& o : calque.ObjetsDessines) d.affiches.push_back(o->EstAffiche);
    for (const int32_t no : Affichage().ObjetsEnErreur) d.erreurs.push_back(no - calque.ObjetsDessines[0]->NoObjet);
    Affichage().ObjetsEnErreur.clear();
    return d;
  }

  std::vector<std::unique_ptr<TObjetTrait>> styles;
};

TEST_F(CalqueParallele, LesMemesPixelsQueSurUnSeulFil) {
  struct Cas {
    const char* nom;
    int n, defaillant;
    bool decoupe, toutDessiner;
  };
  const Cas cas[] = {
      {"3000 objets", 3000, -1, false, true},
      {"rectangle de découpe", 3000, -1, true, true},
      {"objets hors de la vue laissés", 3000, -1, false, false},
      {"un échec arrête le calque", 3000, 2345, false, true},
      {"sous le seuil", 500, -1, false, true},
  };
  for (const Cas& c : cas) {
    testvue::Vue vue;
    Affichage().ToutDessiner = c.toutDessiner;
    Affichage().RectVisibleDessin = foundation::TRect{0, 30000, 40000, 0};
    const Dessin seul = Dessine(1, c.n, c.defaillant, c.decoupe);
    for (int fils : {2, 3, 8}) {
      const Dessin d = Dessine(fils, c.n, c.defaillant, c.decoupe);
      EXPECT_TRUE(d.image == seul.image) << c.nom << ", " << fils << " fils";
      EXPECT_EQ(d.affiches, seul.affiches) << c.nom << ", " << fils << " fils";
      EXPECT_EQ(d.position, seul.position) << c.nom << ", " << fils << " fils";
      EXPECT_EQ(d.erreurs, seul.erreurs) << c.nom << ", " << fils << " fils";
    }
    // The failing lines the paint reached are noted, in the layer's order.
    EXPECT_FALSE(seul.erreurs.empty()) << c.nom;
    EXPECT_TRUE(std::is_sorted(seul.erreurs.begin(), seul.erreurs.end())) << c.nom;
  }
}

}  // namespace
