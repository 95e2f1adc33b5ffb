#include "drawing/objet_trait.h"

#include <algorithm>
#include <stdexcept>

#include "drawing/texture.h"
#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/codage.h"

namespace drawing {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;

const std::string& NomMesPenStyle(MesPenStyle s) {
  static const IdMsg noms[NombreMesPenStyle] = {
      IdMsg::StyleContinu,      IdMsg::StyleTirets,        IdMsg::StylePoints,
      IdMsg::StyleTiretPoint,   IdMsg::StyleHachure,       IdMsg::StyleDemiHachure,
      IdMsg::StyleTiretHachure, IdMsg::StyleTiretHachureAlterne, IdMsg::StyleTriangle,
      IdMsg::StyleTrianglePlein, IdMsg::StyleHachurePente};
  return Msg(noms[static_cast<size_t>(s)]);
}

platform::PenStyle StyleCrayonDeBase(MesPenStyle s) {
  switch (s) {
    case MesPenStyle::mpsDash:
    case MesPenStyle::mpsTiretHachure:
    case MesPenStyle::mpsTirHachAlt:
      return platform::PenStyle::Dash;
    case MesPenStyle::mpsDot:
      return platform::PenStyle::Dot;
    case MesPenStyle::mpsDashDot:
      return platform::PenStyle::DashDot;
    default:
      return platform::PenStyle::Solid;
  }
}

MesPenStyle MesPenStyleDuCrayon(platform::PenStyle s) {
  switch (s) {
    case platform::PenStyle::Dash:
      return MesPenStyle::mpsDash;
    case platform::PenStyle::Dot:
      return MesPenStyle::mpsDot;
    case platform::PenStyle::DashDot:
      return MesPenStyle::mpsDashDot;
    default:
      return MesPenStyle::mpsSolid;
  }
}

bool TraitsEquivalents(const TypeTrait& a, const TypeTrait& b) {
  if (foundation::EnMajuscules(a.Design) != foundation::EnMajuscules(b.Design)) return false;
  if (a.CouleurPlume != b.CouleurPlume || a.ModePlume != b.ModePlume || a.StylePlume != b.StylePlume ||
      a.EpaisseurPlume != b.EpaisseurPlume || a.CouleurPinceau != b.CouleurPinceau ||
      a.StylePinceau != b.StylePinceau || a.CouleurFonte != b.CouleurFonte || a.TraitLisse != b.TraitLisse)
    return false;
  if (a.NumMotif < 1) return a.NumMotif == b.NumMotif;
  // A textured style is equivalent only to a style with an equivalent texture.
  if (b.NumMotif < 1 || !a.UneTexture || !b.UneTexture) return false;
  return a.UneTexture->EstEquivalent(*b.UneTexture);
}

TypeTrait TDefObjetTrait::GetValeurTrait() const {
  TypeTrait v;
  v.Design = DesignMotif;
  v.CouleurPlume = CouleurPlume;
  v.ModePlume = ModePlume;
  v.StylePlume = StylePlume;
  v.EpaisseurPlume = EpaisseurPlume;
  v.CouleurPinceau = CouleurPinceau;
  v.StylePinceau = StylePinceau;
  v.CouleurFonte = CouleurFonte;
  v.TraitLisse = TraitLisse;
  v.NumMotif = NumMotif;
  v.CoupePlan = CoupePlan;
  v.CodeMotif = CodeMotif;
  v.UneTexture = UneTexture;
  return v;
}

void TDefObjetTrait::SetValeurTrait(const TypeTrait& v) {
  DesignMotif = v.Design;
  CouleurPlume = v.CouleurPlume;
  ModePlume = v.ModePlume;
  StylePlume = v.StylePlume;
  EpaisseurPlume = v.EpaisseurPlume;
  CouleurPinceau = v.CouleurPinceau;
  StylePinceau = v.StylePinceau;
  CouleurFonte = v.CouleurFonte;
  TraitLisse = v.TraitLisse;
  NumMotif = v.NumMotif;
  CoupePlan = v.CoupePlan;
  CodeMotif = v.CodeMotif;
  UneTexture = v.UneTexture;
}

bool TDefObjetTrait::MemeApparence(const TDefObjetTrait& autre) const {
  return EpaisseurPlume == autre.EpaisseurPlume && CouleurPlume == autre.CouleurPlume &&
         TraitLisse == autre.TraitLisse && CouleurPinceau == autre.CouleurPinceau && NumMotif == autre.NumMotif;
}

bool TDefObjetTrait::EcritTrait() {
  EcrisInteger(static_cast<int32_t>(CouleurPlume));
  EcrisEnum(ModePlume);
  EcrisEnum(StylePlume);
  EcrisInteger(EpaisseurPlume);
  EcrisInteger(static_cast<int32_t>(CouleurPinceau));
  EcrisEnum(StylePinceau);
  EcrisInteger(static_cast<int32_t>(CouleurFonte));
  EcrisBoolean(TraitLisse);
  EcrisVariable(&NumMotif, 2);
  EcrisInteger(CoupePlan);
  return EcrisVariable(&CodeMotif, 4);
}

bool TDefObjetTrait::LitTrait() {
  const int32_t niveau = NiveauLu();
  const bool remplissage = niveau < 226;
  uint8_t vide[8];
  int32_t plume = 0, pinceau = 0, fonte = 0;
  LisInteger(plume);
  LisEnum(ModePlume, NombreModesPlume);
  LisEnum(StylePlume, NombreMesPenStyle);
  if (remplissage) LisVariable(vide, 2);
  LisInteger(EpaisseurPlume);
  LisInteger(pinceau);
  LisEnum(StylePinceau, NombreStylesPinceau);
  if (remplissage) LisVariable(vide, 3);
  LisInteger(fonte);
  LisBoolean(TraitLisse);
  if (remplissage) LisVariable(vide, 1);
  LisVariable(&NumMotif, 2);
  LisInteger(CoupePlan);
  LisVariable(&CodeMotif, 4);
  if (niveau >= 122 && niveau <= 225 && !EstCadreEcart) LisVariable(vide, 8);
  CouleurPlume = static_cast<uint32_t>(plume);
  CouleurPinceau = static_cast<uint32_t>(pinceau);
  CouleurFonte = static_cast<uint32_t>(fonte);
  return ResultObjet;
}

bool TDefObjetTrait::EcritObjet(TFlux& f) {
  const bool base = TObjetMotifdeBase::EcritObjet(f);
  if (TypeMotif == TTypeMotif::tmSymbole) return base;
  return EcritTrait();
}

bool TDefObjetTrait::LitObjet(TFlux& f) {
  const bool base = TObjetMotifdeBase::LitObjet(f);
  if (TypeMotif == TTypeMotif::tmSymbole) return base;
  return LitTrait();
}

void TDefObjetTrait::CopieMotif(const TObjetMotifdeBase& source) {
  TObjetMotifdeBase::CopieMotif(source);
  if (const auto* t = dynamic_cast<const TDefObjetTrait*>(&source)) SetValeurTrait(t->GetValeurTrait());
}

bool TDefObjetTrait::EstEquivalent(const TObjetMotifdeBase& autre) const {
  const auto* t = dynamic_cast<const TDefObjetTrait*>(&autre);
  return t && TraitsEquivalents(GetValeurTrait(), t->GetValeurTrait());
}

std::unique_ptr<TObjetTrait> TObjetTrait::CloneTrait() const {
  auto t = std::make_unique<TObjetTrait>();
  t->CopieMotif(*this);
  return t;
}

bool TMotifSVG::EcritObjet(TFlux& f) {
  InitES(f);
  EcrisReal(epaisseur);
  if (!EcrisInteger(IndexEquiv)) return false;
  return TObjetTrait::EcritObjet(f);
}

bool TMotifSVG::LitObjet(TFlux& f) {
  InitES(f);
  LisReal(epaisseur);
  if (!LisInteger(IndexEquiv)) return false;
  return TObjetTrait::LitObjet(f);
}

// --- Lists of styles -------------------------------------------------------------

TDefObjetTrait* TListeMotifs::LeTrait(int i) const {
  if (i < 0 || i >= Count()) throw std::out_of_range("indice de style hors de la liste");
  return static_cast<TDefObjetTrait*>(UnObjet(i));
}

bool TListeMotifs::EcritListe(TFlux& f) {
  for (TObjetMotifdeBase* m : *this) {
    auto* t = static_cast<TDefObjetTrait*>(m);
    if (!t->UneTexture) continue;
    const int position = vListeTexture ? vListeTexture->IndexOf(t->UneTexture) : t->UneTexture->IndexFichier;
    if (position >= 0) {
      t->NumMotif = static_cast<int16_t>(std::min(position + 1, 32767));
    } else if (!vListeTexture || t->NumMotif > vListeTexture->Count()) {
      // A texture that is not in the library: the style is written as a
      // plain fill rather than with a number the reader would refuse.
      t->NumMotif = 0;
    }
  }
  return TListeMotifsBase::EcritListe(f);
}

bool TListeMotifs::LitListe(TFlux& f) {
  if (!TListeMotifsBase::LitListe(f)) return false;
  if (!vListeTexture) return true;
  for (TObjetMotifdeBase* m : *this) {
    auto* t = static_cast<TDefObjetTrait*>(m);
    if (t->NumMotif <= 0) continue;
    if (t->NumMotif > vListeTexture->Count()) return false;
    t->UneTexture = vListeTexture->LaTexture(t->NumMotif - 1);
  }
  return true;
}

void TListeMotifs::InitDefaut() {
  RAZ();
  using MP = MesPenStyle;
  using BS = TStylePinceau;
  const auto copie = TModePlume::pmCopy;
  const auto nonxor = TModePlume::pmNotXor;
  struct Ligne {
    IdMsg nom;
    uint32_t plume;
    TModePlume mode;
    MesPenStyle style;
    int32_t epaisseur;
    uint32_t pinceau;
    TStylePinceau stylePinceau;
    bool lisse;
    int16_t numMotif;
    int32_t coupePlan;
  };
  static const Ligne traits[] = {
      {IdMsg::TraitParoi, RGB(0, 0, 0), copie, MP::mpsSolid, 3, RGB(255, 255, 255), BS::bsSolid, false, -1, 2},
      {IdMsg::TraitParoiLissee, RGB(0, 0, 0), copie, MP::mpsSolid, 3, RGB(255, 255, 255), BS::bsSolid, true, -1, 2},
      {IdMsg::TraitPointille, RGB(0, 0, 0), copie, MP::mpsDash, 1, RGB(255, 255, 255), BS::bsSolid, false, -1, 2},
      {IdMsg::TraitPointilleLisse, RGB(0, 0, 0), copie, MP::mpsDash, 1, RGB(255, 255, 255), BS::bsSolid, true, -1, 2},
      {IdMsg::TraitMarcheRessaut, RGB(0, 0, 0), copie, MP::mpsDemiHachure, 3, RGB(255, 255, 255), BS::bsSolid, true, -1, 2},
      {IdMsg::TraitLimiteEau, RGB(0, 255, 255), copie, MP::mpsSolid, 1, RGB(255, 255, 255), BS::bsSolid, true, -1, 2},
  };
  static const Ligne remplis[] = {
      {IdMsg::RempliEau, RGB(0, 255, 255), nonxor, MP::mpsSolid, 1, RGB(0, 255, 255), BS::bsSolid, true, 0, 2},
      {IdMsg::RempliSiphon, RGB(0, 255, 255), nonxor, MP::mpsSolid, 1, RGB(0, 255, 255), BS::bsCross, true, 0, 0},
      {IdMsg::RempliSable, RGB(0, 0, 0), nonxor, MP::mpsSolid, 1, RGB(218, 185, 73), BS::bsSolid, true, 1, 2},
  };
  const bool remplissage = fTypeMotif == TTypeMotif::tmRempli;
  const Ligne* debut = remplissage ? remplis : traits;
  const size_t n = remplissage ? std::size(remplis) : std::size(traits);
  NbreMotifsFixes = static_cast<int32_t>(n);
  for (size_t i = 0; i < n; ++i) {
    const Ligne& l = debut[i];
    std::unique_ptr<TObjetMotifdeBase> m = CreeMotif();
    auto* t = static_cast<TDefObjetTrait*>(m.get());
    t->DesignMotif = Msg(l.nom);
    t->CouleurPlume = l.plume;
    t->ModePlume = l.mode;
    t->StylePlume = l.style;
    t->EpaisseurPlume = l.epaisseur;
    t->CouleurPinceau = l.pinceau;
    t->StylePinceau = l.stylePinceau;
    t->CouleurFonte = 0;
    t->TraitLisse = l.lisse;
    t->NumMotif = l.numMotif;
    t->CoupePlan = l.coupePlan;
    t->CodeMotif = 0;
    if (l.numMotif > 0 && vListeTexture && l.numMotif <= vListeTexture->Count())
      t->UneTexture = vListeTexture->LaTexture(l.numMotif - 1);
    AjouteMotif(std::move(m));
  }
}

int32_t EpaisseurAppliquee(const TypeTrait& t, bool enImpression, int32_t echelleFontes, int32_t echellePrn) {
  if (!enImpression || echellePrn == 0) return t.EpaisseurPlume;
  const double agrandie = 2.0 * t.EpaisseurPlume * echelleFontes / echellePrn;
  return foundation::Arrondi(std::max<double>(t.EpaisseurPlume, agrandie));
}

TStylePinceau PinceauApplique(const TypeTrait& t) {
  return t.NumMotif == -1 ? TStylePinceau::bsClear : t.StylePinceau;
}

std::array<TypeTrait, 10> CalculeTraitsDegrades(const TypeTrait& styleViseesAnnexes) {
  std::array<TypeTrait, 10> r;
  for (int i = 0; i < 10; ++i) {
    r[static_cast<size_t>(i)] = styleViseesAnnexes;
    const double k = i / 9.0;
    const uint32_t rouge = static_cast<uint32_t>(foundation::Arrondi(255 + k * (0 - 255)));
    const uint32_t vert = static_cast<uint32_t>(foundation::Arrondi(k * 255));
    r[static_cast<size_t>(i)].CouleurPlume = RGB(rouge, vert, vert);
  }
  return r;
}

}  // namespace drawing
