#include "drawing/motifs_therion.h"

#include <string>
#include <utility>

#include "foundation/arrondi.h"
#include "foundation/catalogue.h"

namespace drawing {

using foundation::IdMsg;
using foundation::Msg;

namespace {

// Sets the pen, brush, smoothing, fill and plan/section fields of a style
// entry; its font colour and code are left as they are.
void RegleTrait(TDefObjetTrait& t, std::string nom, uint32_t plume, TModePlume mode, MesPenStyle stylePlume,
                int32_t epaisseur, uint32_t pinceau, TStylePinceau stylePinceau, bool lisse, int16_t numMotif,
                int32_t coupePlan) {
  t.DesignMotif = std::move(nom);
  t.CouleurPlume = plume;
  t.ModePlume = mode;
  t.StylePlume = stylePlume;
  t.EpaisseurPlume = epaisseur;
  t.CouleurPinceau = pinceau;
  t.StylePinceau = stylePinceau;
  t.TraitLisse = lisse;
  t.NumMotif = numMotif;
  t.CoupePlan = coupePlan;
}

}  // namespace

void InitTraitNonTrouve(TDefObjetTrait& t) {
  RegleTrait(t, Msg(IdMsg::MotifNonTrouve), RGB(255, 0, 0), TModePlume::pmCopy, MesPenStyle::mpsDashDot, 1,
             RGB(255, 255, 255), TStylePinceau::bsSolid, false, -1, 2);
}

void InitRempliNonTrouve(TDefObjetTrait& t) {
  RegleTrait(t, Msg(IdMsg::MotifNonTrouve), RGB(255, 0, 0), TModePlume::pmNotXor, MesPenStyle::mpsDashDot, 1,
             RGB(255, 0, 0), TStylePinceau::bsDiagCross, true, 0, 2);
}

std::unique_ptr<tListeMtf> CreeListesMtfTherion() {
  auto mtf = std::make_unique<tListeMtf>(1);
  mtf->ListeTextures.InitDefaut();

  struct Ligne {
    const char* nom;
    uint32_t plume;
    MesPenStyle style;
    int32_t epaisseur;
  };
  static const Ligne lignes[] = {
      {"wall", RGB(0, 0, 0), MesPenStyle::mpsSolid, 3},
      {"wall:unsurveyed", RGB(0, 0, 0), MesPenStyle::mpsDash, 3},
      {"wall:presumed", RGB(0, 0, 0), MesPenStyle::mpsDash, 3},
      {"flowstone", RGB(0, 0, 0), MesPenStyle::mpsSolid, 1},
      {"water-flow", RGB(0, 255, 255), MesPenStyle::mpsSolid, 1},
      {"floor-step", RGB(0, 0, 0), MesPenStyle::mpsDemiHachure, 3},
      {"arrow", RGB(0, 0, 0), MesPenStyle::mpsSolid, 1},
      {"pit", RGB(0, 0, 0), MesPenStyle::mpsTrianglePlein, 1},
      {"chimney", RGB(0, 0, 0), MesPenStyle::mpsTiretHachure, 1},
  };
  mtf->ListeTraits.RAZ();
  for (const Ligne& l : lignes) {
    std::unique_ptr<TObjetMotifdeBase> m = mtf->ListeTraits.CreeMotif();
    auto* t = static_cast<TDefObjetTrait*>(m.get());
    RegleTrait(*t, l.nom, l.plume, TModePlume::pmCopy, l.style, l.epaisseur, RGB(255, 255, 255),
               TStylePinceau::bsSolid, false, -1, 2);
    t->CouleurFonte = 0;
    t->CodeMotif = 0;
    mtf->ListeTraits.AjouteMotif(std::move(m));
  }

  struct Rempli {
    const char* nom;
    uint32_t plume, pinceau;
    TStylePinceau style;
    int16_t numMotif;
    int32_t coupePlan;
  };
  static const Rempli remplis[] = {
      {"water", RGB(0, 255, 255), RGB(0, 255, 255), TStylePinceau::bsSolid, 0, 2},
      {"sump", RGB(0, 255, 255), RGB(0, 255, 255), TStylePinceau::bsCross, 0, 0},
      {"sand", RGB(0, 0, 0), RGB(218, 185, 73), TStylePinceau::bsSolid, 1, 2},
      {"pebbles", RGB(0, 0, 0), RGB(218, 185, 73), TStylePinceau::bsSolid, 3, 2},
  };
  mtf->ListeRemplis.RAZ();
  for (const Rempli& r : remplis) {
    std::unique_ptr<TObjetMotifdeBase> m = mtf->ListeRemplis.CreeMotif();
    auto* t = static_cast<TDefObjetTrait*>(m.get());
    RegleTrait(*t, r.nom, r.plume, TModePlume::pmNotXor, MesPenStyle::mpsSolid, 1, r.pinceau, r.style, true,
               r.numMotif, r.coupePlan);
    t->CouleurFonte = 0;
    t->CodeMotif = 0;
    if (r.numMotif > 0) t->UneTexture = mtf->ListeTextures.LaTexture(r.numMotif - 1);
    mtf->ListeRemplis.AjouteMotif(std::move(m));
  }

  struct Fonte {
    const char* nom;
    double facteur;
  };
  static const Fonte fontes[] = {{"Normal", 1.0}, {"XS", 0.7}, {"S", 0.8}, {"L", 1.2}, {"XL", 1.4}};
  mtf->ListeFontes.RAZ();
  for (const Fonte& f : fontes) mtf->ListeFontes.AjouteMotif(CreeFonte(f.nom, foundation::Arrondi(50 * f.facteur)));

  static const char* const symboles[] = {"arrow",           "Siphon",       "water-flow",
                                         "blocks",          nullptr,        nullptr,
                                         nullptr};
  mtf->ListeSymboles.InitDefaut();
  for (int i = 0; i < mtf->ListeSymboles.Count(); ++i) {
    TSymbole* s = mtf->ListeSymboles.LeSymbole(i);
    if (symboles[i]) s->DesignMotif = symboles[i];
    s->ValDimFixe = -1;
  }
  mtf->ListeFlNord.RAZ();
  mtf->ListeMotifsSurface.RAZ();
  return mtf;
}

}  // namespace drawing
