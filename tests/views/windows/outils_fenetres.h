#pragma once
// What the graphic-window tests share: the contexts set aside, the scripted
// dialog port, the Qt image canvas as the bitmap factory, a plan view with
// its origin at 0, and lines of a given colour put into layers.
#include <gtest/gtest.h>

#include <list>
#include <memory>

#include "drawing/contexte_dessin.h"
#include "drawing/dessin_ligne.h"
#include "drawing/objet_trait.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/garde_contextes.h"
#include "views/noyau_graphique.h"

namespace essaifenetres {

using drawing::TypeObjetDessin;
using enum drawing::TypeObjetDessin;

class Fenetres : public ::testing::Test {
 protected:
  Fenetres() {
    auto& v = foundation::Vue();
    v.TypeDessinCourant = foundation::TTypeDeDessin::tddPlani;
    v.Xmin = v.Ymin = v.SLmin = v.Zmin = 0;
    v.XDebVue = v.YDebVue = v.LargeurVue = v.HauteurVue = 0;
    v.EchelleVue = 1;
    v.EchelleFontes = 0;
    foundation::Impression().EnImpression = false;
    drawing::Affichage() = drawing::EtatAffichage{};
  }

  // A line of that colour (one pixel wide) through the drawing points.
  drawing::TDessinLigne* Ligne(views::TNoyauGraphique& f, TypeObjetDessin k, uint32_t couleur,
                               std::initializer_list<foundation::TPoint> points, int32_t epaisseur = 1) {
    auto& style = styles_.emplace_back();
    style.CouleurPlume = couleur;
    style.EpaisseurPlume = epaisseur;
    auto l = std::make_unique<drawing::TDessinLigne>(&style);
    for (const auto& p : points) l->AjoutePoint(p);
    return static_cast<drawing::TDessinLigne*>(f.AjouteObjetDessin(k, std::move(l)));
  }

  platform::ScriptedDialogs scripte_;

 private:
  testsupport::GardeContextes contextes_;
  platform::ScopedDialogs dialogues_{scripte_};
  platform::QtCanvasFactory qt_;
  platform::ScopedCanvasFactory fabrique_{qt_};
  std::list<drawing::TObjetTrait> styles_;
};

// The core alone with a paint box of a given size.
class Noyau : public views::TNoyauGraphique {
 public:
  Noyau(int32_t w = 800, int32_t h = 600) { FixeTailleBoite(w, h); }
  const platform::QtCanvas& Image() const { return dynamic_cast<const platform::QtCanvas&>(*BmpDessin); }
};

}  // namespace essaifenetres
