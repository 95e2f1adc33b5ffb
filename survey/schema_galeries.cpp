#include "survey/schema_galeries.h"

#include <algorithm>

#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "survey/arbre_galeries.h"
#include "survey/cavite.h"
#include "survey/galerie.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;

int TSchemaGaleries::NombrePages() const {
  if (HauteurBande <= 0) return 1;
  return std::max(1, (HauteurTotale + HauteurBande - 1) / HauteurBande);
}

std::vector<TElementSchema> TSchemaGaleries::ElementsPage(int i) const {
  std::vector<TElementSchema> r;
  const int32_t haut = i * HauteurBande, bas = haut + HauteurBande;
  for (const TElementSchema& e : Elements) {
    // A text stands within two text heights below its top, a line between
    // its ends.
    const int32_t debut = e.Trait ? std::min(e.Y, e.Y2) : e.Y;
    const int32_t fin = e.Trait ? std::max(e.Y, e.Y2) : e.Y + 2 * HauteurTexte;
    if (fin <= haut || debut >= bas) continue;
    TElementSchema m = e;
    m.Y -= haut;
    m.Y2 -= haut;
    r.push_back(std::move(m));
  }
  return r;
}

namespace {

class Mise {
 public:
  Mise(const TCavite& c, const TMesuresSchema& m) : c_(c), m_(m), arbre_(c), h_(std::max(1, m.HauteurTexte)) {}

  TSchemaGaleries Fait() {
    s_.LargeurPage = m_.LargeurPage;
    s_.HauteurBande = std::max(1, m_.HauteurPage - 2 * h_);
    s_.HauteurTexte = h_;
    Centre(c_.NomCavite, 12, true);
    y_ += Demi(3);
    Centre(Msg(IdMsg::SchemaDesGaleries), 10, false);
    y_ += Demi(3);
    const int racine = arbre_.Racine();
    if (racine >= 0) Racine(racine);
    bool premiere = true;
    for (int g : arbre_.Isolees()) {
      if (g == racine) continue;
      if (premiere) {
        y_ += Demi(3);
        Centre(Msg(IdMsg::SchemaGaleriesNonRattachees), 10, true);
        premiere = false;
      }
      Racine(g);
    }
    s_.HauteurTotale = y_ + h_;
    return std::move(s_);
  }

 private:
  // n half text heights, rounded.
  int32_t Demi(int n) const { return foundation::Arrondi(n * h_ / 2.0); }

  void Centre(const std::string& texte, int taille, bool gras) {
    const int32_t l = m_.LargeurTexte ? m_.LargeurTexte(texte, taille, gras) : 0;
    Texte((m_.LargeurPage - l) / 2, texte, taille, gras);
  }

  void Texte(int32_t x, std::string texte, int taille, bool gras) {
    TElementSchema e;
    e.X = x;
    e.Y = y_;
    e.Texte = std::move(texte);
    e.Taille = taille;
    e.Gras = gras;
    s_.Elements.push_back(std::move(e));
  }

  // The gallery and its attached descendants, depth first.
  void Racine(int racine) {
    // The line under each gallery: where it starts, where its last child
    // started.
    struct Ouverte {
      int32_t Ligne;
      int32_t DernierEnfant = -1;
    };
    std::vector<Ouverte> pile;
    arbre_.Parcourt(
        racine, 0,
        [&](const TArbreGaleries::Etape& e) {
          if (!e.Entree) {
            const Ouverte o = pile.back();
            pile.pop_back();
            if (o.DernierEnfant >= 0) {
              TElementSchema t;
              t.Trait = true;
              t.X = t.X2 = e.Niveau * 100 + 50;
              t.Y = o.Ligne + h_;
              t.Y2 = o.DernierEnfant + Demi(3);
              s_.Elements.push_back(std::move(t));
            }
            return;
          }
          if (!pile.empty()) pile.back().DernierEnfant = y_;
          y_ += h_;
          const std::string& nom = c_.UneGalerie(e.Galerie)->NomGalerie;
          if (e.Niveau == 0)
            Texte(0, nom, 10, false);
          else
            Texte(e.Niveau * 100 - 50, Msg(IdMsg::SchemaFleche) + nom, 10, false);
          pile.push_back({y_});
        },
        true);
  }

  const TCavite& c_;
  const TMesuresSchema& m_;
  const TArbreGaleries arbre_;
  const int32_t h_;
  int32_t y_ = 0;
  TSchemaGaleries s_;
};

}  // namespace

TSchemaGaleries SchemaGaleries(const TCavite& cavite, const TMesuresSchema& mesures) {
  return Mise(cavite, mesures).Fait();
}

}  // namespace survey
