#include "drawing/contexte_motifs.h"

#include "drawing/motifs_therion.h"
#include "drawing/ports_motifs.h"
#include "foundation/catalogue.h"

namespace drawing {

using foundation::IdMsg;
using foundation::Msg;

namespace {

void Style(TDefObjetTrait& t, const std::string& nom, uint32_t plume, MesPenStyle style, int32_t epaisseur,
           uint32_t pinceau = 0, bool lisse = false, int16_t numMotif = -1, int32_t coupePlan = 0,
           TModePlume mode = TModePlume::pmCopy) {
  t.DesignMotif = nom;
  t.CouleurPlume = plume;
  t.ModePlume = mode;
  t.StylePlume = style;
  t.EpaisseurPlume = epaisseur;
  t.CouleurPinceau = pinceau;
  t.StylePinceau = TStylePinceau::bsSolid;
  t.CouleurFonte = 0;
  t.TraitLisse = lisse;
  t.NumMotif = numMotif;
  t.CoupePlan = coupePlan;
  t.CodeMotif = 0;
}

}  // namespace

ContexteMotifs::ContexteMotifs() {
  using MP = MesPenStyle;
  const std::string digit = Msg(IdMsg::TraitLigneDigit);
  Style(TraitObjetDefaut, "", RGB(0, 0, 0), MP::mpsSolid, 1);
  Style(TraitPointCompose, "", RGB(0, 255, 0), MP::mpsSolid, 1, RGB(0, 0, 0), false, 0);
  Style(TraitQuadrillage, Msg(IdMsg::TraitQuadrillage), RGB(0, 0, 128), MP::mpsSolid, 1);
  Style(TraitDigitGris, digit, RGB(128, 128, 128), MP::mpsSolid, 2);
  Style(TraitDigitVert, digit, RGB(0, 128, 0), MP::mpsSolid, 2);
  Style(TraitDigitRouge, digit, RGB(255, 0, 0), MP::mpsSolid, 2);
  Style(TraitDigitaliseur, digit, RGB(0, 255, 0), MP::mpsSolid, 2);
  Style(TraitViseesSelectees, Msg(IdMsg::TraitViseesSelectees), RGB(255, 0, 255), MP::mpsSolid, 5);
  TraitViseesSelectees.CodeMotif = 1;
  Style(TraitEnveloppe, Msg(IdMsg::TraitEnveloppe), RGB(255, 0, 255), MP::mpsDash, 1);
  Style(TraitCadreCoupeSVG, "", RGB(0, 0, 0), MP::mpsSolid, 3);
  Style(TraitLigneBlanche, "", RGB(255, 255, 255), MP::mpsSolid, 1);
  Style(TraitSelectionVisees, "", RGB(0, 255, 0), MP::mpsDashDot, 3);
  Style(TraitFiligranePlein, Msg(IdMsg::TraitFiligranePlein), RGB(192, 192, 192), MP::mpsSolid, 1,
        RGB(192, 192, 192), true, 0, 2, TModePlume::pmNotXor);
  Style(TraitGuideTexte, "", RGB(255, 0, 0), MP::mpsDash, 1, RGB(255, 255, 255), true, -1, 2);
  {
    TListeTextures textures;
    TListeMotifs defauts(foundation::ClasseDe<TObjetTrait>(), TTypeMotif::tmTrait);
    defauts.vListeTexture = &textures;
    defauts.InitDefaut();
    TraitParoi.SetValeurTrait(defauts.LeTrait(0)->GetValeurTrait());
    TraitLigneConnectee.SetValeurTrait(defauts.LeTrait(1)->GetValeurTrait());
  }
  static const uint32_t croquis[7] = {RGB(0, 0, 0),   RGB(128, 128, 128), RGB(128, 0, 0), RGB(0, 0, 255),
                                      RGB(255, 0, 0), RGB(255, 128, 0),   RGB(0, 128, 0)};
  for (size_t i = 0; i < 7; ++i) Style(TraitsCroquis[i], "", croquis[i], MP::mpsSolid, 1, RGB(0, 0, 0), true);

  Style(TraitAxeTopo, "", RGB(255, 0, 0), MP::mpsSolid, 1, RGB(255, 255, 255));
  TraitAxeTopo.CouleurFonte = RGB(0, 0, 128);
  Style(TraitViseesAnnexes, "", RGB(255, 0, 0), MP::mpsDot, 1, RGB(255, 255, 255));
  TraitViseesAnnexes.CouleurFonte = RGB(0, 0, 128);
  Style(TraitDimTopo, "", RGB(0, 0, 128), MP::mpsSolid, 1);
  Style(TraitPointsSurface, "", RGB(128, 128, 0), MP::mpsSolid, 1, RGB(255, 255, 255));
  TraitPointsSurface.CouleurFonte = RGB(128, 128, 0);

  FonteSurface.DesignMotif = Msg(IdMsg::FonteDetails);
  FonteSurface.NomPolice = "Times New Roman";
  FonteSurface.Taille = 10;
  FonteSurface.CodeIdentFonte = 0;

  FlecheNordGeo = CreeFlecheNord(false);
  FlecheNordMag = CreeFlecheNord(true);
  SymboleEchelle = std::make_unique<tnvEchelle>();

  ListesMtfTherion = CreeListesMtfTherion();
  InitTraitNonTrouve(TraitNonTrouve);
  InitRempliNonTrouve(RempliNonTrouve);
  symboleDeSecours_ = ListesMtfTherion->UnSymbole(1)->CloneSymbole();
}

TSymbole* ContexteMotifs::SymboleDeSecours() {
  if (ListesMtfTherion && ListesMtfTherion->ListeSymboles.Count() > 1) return ListesMtfTherion->UnSymbole(1);
  return symboleDeSecours_.get();
}

void ContexteMotifs::RelogeReferences(const TRelogeMotifs& reloge) {
  // A texture preview left its texture on "Paroi".
  if (TraitParoi.UneTexture && reloge.Remplace(TraitParoi.UneTexture)) {
    TraitParoi.UneTexture = static_cast<tTexture*>(reloge.Reloge(TraitParoi.UneTexture));
    if (!TraitParoi.UneTexture) TraitParoi.NumMotif = -1;
  }
}

void CreeTraitsDegrades(const TypeTrait& styleViseesAnnexes) {
  const std::array<TypeTrait, 10> degrades = CalculeTraitsDegrades(styleViseesAnnexes);
  for (size_t i = 0; i < degrades.size(); ++i) Motifs().TraitsDegrades[i].SetValeurTrait(degrades[i]);
}

const TObjetTrait* TraitCroquis(int32_t indexMotif) {
  if (indexMotif < -99 || indexMotif > -93) return nullptr;
  return &Motifs().TraitsCroquis[static_cast<size_t>(indexMotif + 99)];
}

}  // namespace drawing
