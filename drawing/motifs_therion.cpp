#include "drawing/motifs_therion.h"

#include "foundation/arrondi.h"
#include "foundation/catalogue.h"

namespace drawing {

using foundation::IdMsg;
using foundation::Msg;

void InitTraitNonTrouve(TDefObjetTrait& t) {
  t.DesignMotif = Msg(IdMsg::MotifNonTrouve);
  t.CouleurPlume = RGB(255, 0, 0);
  t.ModePlume = TModePlume::pmCopy;
  t.StylePlume = MesPenStyle::mpsDashDot;
  t.EpaisseurPlume = 1;
  t.CouleurPinceau = RGB(255, 255, 255);
  t.StylePinceau = TStylePinceau::bsSolid;
  t.TraitLisse = false;
  t.NumMotif = -1;
  t.CoupePlan = 2;
}

void InitRempliNonTrouve(TDefObjetTrait& t) {
  t.DesignMotif = Msg(IdMsg::MotifNonTrouve);
  t.CouleurPlume = RGB(255, 0, 0);
  t.ModePlume = TModePlume::pmNotXor;
  t.StylePlume = MesPenStyle::mpsDashDot;
  t.EpaisseurPlume = 1;
  t.CouleurPinceau = RGB(255, 0, 0);
  t.StylePinceau = TStylePinceau::bsDiagCross;
  t.TraitLisse = true;
  t.NumMotif = 0;
  t.CoupePlan = 2;
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
    t->DesignMotif = l.nom;
    t->CouleurPlume = l.plume;
    t->ModePlume = TModePlume::pmCopy;
    t->StylePlume = l.style;
    t->EpaisseurPlume = l.epaisseur;
    t->CouleurPinceau = RGB(255, 255, 255);
    t->StylePinceau = TStylePinceau::bsSolid;
    t->CouleurFonte = 0;
    t->TraitLisse = false;
    t->NumMotif = -1;
    t->CoupePlan = 2;
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
    t->DesignMotif = r.nom;
    t->CouleurPlume = r.plume;
    t->ModePlume = TModePlume::pmNotXor;
    t->StylePlume = MesPenStyle::mpsSolid;
    t->EpaisseurPlume = 1;
    t->CouleurPinceau = r.pinceau;
    t->StylePinceau = r.style;
    t->CouleurFonte = 0;
    t->TraitLisse = true;
    t->NumMotif = r.numMotif;
    t->CoupePlan = r.coupePlan;
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
