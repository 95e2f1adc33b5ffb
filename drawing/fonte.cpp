#include "drawing/fonte.h"

#include <algorithm>

#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/codage.h"

namespace drawing {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;

namespace {

const char* const kPoliceDefaut = "Times New Roman";

struct LigneInfoTopo {
  IdMsg nom;
  uint32_t couleur;
  bool italique;
  TInfotopo role;
};
const LigneInfoTopo kInfoTopo[] = {
    {IdMsg::FonteIdStation, 0x000000, false, TInfotopo::tsitIdStat},
    {IdMsg::FonteDistanceEntree, 0xFF0000, true, TInfotopo::tsitDist},
    {IdMsg::FonteAltitudesAbsolues, 0x0000FF, true, TInfotopo::tsitAltAbs},
    {IdMsg::FonteAltitudesRelatives, 0x000000, true, TInfotopo::tsitAltRel},
};

}  // namespace

TFontType TDefObjetFonte::GetValeurFonte() const { return {NomPolice, Couleur, Taille, Style}; }

void TDefObjetFonte::SetValeurFonte(const TFontType& v) {
  NomPolice = v.Nom;
  Couleur = v.Couleur;
  Taille = v.Taille;
  Style = v.Style;
}

bool TDefObjetFonte::EcritObjet(TFlux& f) {
  TObjetMotifdeBase::EcritObjet(f);
  EcrisTexte(NomPolice);
  EcrisInteger(static_cast<int32_t>(Couleur));
  EcrisInteger(Taille);
  EcrisOctet(Style.Bits_());
  return EcrisEnum(InfoTopoFnte);
}

bool TDefObjetFonte::LitObjet(TFlux& f) {
  const int32_t niveau = NiveauLu();
  if (niveau > 225)
    TObjetMotifdeBase::LitObjet(f);
  else
    InitES(f);
  int32_t couleur = 0;
  uint8_t style = 0;
  LisTexte(NomPolice);
  LisInteger(couleur);
  LisInteger(Taille);
  LisOctet(style);
  if (ResultObjet && style > 15) ResultObjet = false;
  if (niveau < 226) LisTexte(DesignMotif);
  if (niveau >= 122 && niveau <= 225) {
    uint8_t reserve[8];
    LisVariable(reserve, sizeof reserve);
  }
  LisEnum(InfoTopoFnte, NombreInfotopo);
  Couleur = static_cast<uint32_t>(couleur);
  if (niveau < 204) Taille = foundation::Arrondi(Taille / 2.45);
  Style = TStylesFonte::FromBits(style & 15);
  return ResultObjet;
}

void TDefObjetFonte::CopieMotif(const TObjetMotifdeBase& source) {
  TObjetMotifdeBase::CopieMotif(source);
  if (const auto* t = dynamic_cast<const TDefObjetFonte*>(&source)) {
    SetValeurFonte(t->GetValeurFonte());
    InfoTopoFnte = t->InfoTopoFnte;
  }
}

bool TDefObjetFonte::EstEquivalent(const TObjetMotifdeBase& autre) const {
  const auto* t = dynamic_cast<const TDefObjetFonte*>(&autre);
  return t && foundation::EnMajuscules(DesignMotif) == foundation::EnMajuscules(t->DesignMotif) &&
         foundation::EnMajuscules(NomPolice) == foundation::EnMajuscules(t->NomPolice) && Couleur == t->Couleur &&
         Taille == t->Taille && Style == t->Style;
}

std::unique_ptr<TFontObjetType> TFontObjetType::CloneFonte() const {
  auto t = std::make_unique<TFontObjetType>();
  t->CopieMotif(*this);
  return t;
}

void TFontObjetType::AppliquePoliceATous() {
  if (!ListeProprio) return;
  for (TObjetMotifdeBase* m : *ListeProprio)
    if (auto* t = dynamic_cast<TDefObjetFonte*>(m)) t->NomPolice = NomPolice;
}

std::unique_ptr<TFontObjetType> CreeFonte(const std::string& nom, int32_t taille, uint32_t couleur,
                                          TStylesFonte style) {
  auto f = std::make_unique<TFontObjetType>();
  f->DesignMotif = nom;
  f->NomPolice = kPoliceDefaut;
  f->Taille = taille;
  f->Couleur = couleur;
  f->Style = style;
  return f;
}

TFontObjetType* TListeFontes::LaFonte(int i) const { return static_cast<TFontObjetType*>(UnObjet(i)); }

void TListeFontes::InsereFonteInfoTopo(int ligne) {
  const LigneInfoTopo& l = kInfoTopo[ligne];
  TStylesFonte style;
  if (l.italique) style.Inclut(TStyleFonte::fsItalic);
  std::unique_ptr<TFontObjetType> f = CreeFonte(Msg(l.nom), 10, l.couleur, style);
  f->CodeIdentFonte = ligne;
  f->InfoTopoFnte = l.role;
  InsereMotif(0, std::move(f));
}

void TListeFontes::InitDefaut() {
  RAZ();
  NbreMotifsFixes = 11;
  struct Ligne {
    IdMsg nom;
    int32_t taille;
  };
  static const Ligne ordinaires[] = {
      {IdMsg::FonteDetails, 10},         {IdMsg::FonteDetailsGros, 16},       {IdMsg::FonteGaleriePetite, 24},
      {IdMsg::FonteGalerieMoyenne, 30},  {IdMsg::FonteGaleriePrincipale, 36}, {IdMsg::FonteTitre, 72},
      {IdMsg::FonteTitre1, 120},
  };
  for (size_t i = 0; i < std::size(ordinaires); ++i) {
    std::unique_ptr<TFontObjetType> f = CreeFonte(Msg(ordinaires[i].nom), ordinaires[i].taille);
    f->CodeIdentFonte = static_cast<int64_t>(i);
    AjouteMotif(std::move(f));
  }
  for (int ligne = 0; ligne < 4; ++ligne) InsereFonteInfoTopo(ligne);
}

void TListeFontes::CompleteFontesInfoTopo() {
  TFontObjetType* altRel = nullptr;
  for (TObjetMotifdeBase* m : *this) {
    auto* f = static_cast<TFontObjetType*>(m);
    if (f->InfoTopoFnte == TInfotopo::tsitAltRel) {
      altRel = f;
      break;
    }
  }
  for (int ligne = 0; ligne < (altRel ? 3 : 4); ++ligne) InsereFonteInfoTopo(ligne);
  if (altRel) {
    Move(IndexOf(altRel), 0);
    altRel->DesignMotif = Msg(IdMsg::FonteAltitudesRelatives);
    altRel->CodeIdentFonte = 3;
    altRel->InfoTopoFnte = TInfotopo::tsitAltRel;
  }
}

void TListeFontes::TrieSurOrdre() {
  std::stable_sort(Items.begin(), Items.end(), [](const auto& a, const auto& b) {
    return static_cast<const TDefObjetFonte*>(a.get())->OrdreFonte <
           static_cast<const TDefObjetFonte*>(b.get())->OrdreFonte;
  });
}

void TListeFontes::TrieFontesInfoTopo() {
  for (int i = 0; i < Count(); ++i) {
    auto* f = LaFonte(i);
    f->OrdreFonte = i + (f->EstInfoTopo() ? 100000 : 0);
  }
  TrieSurOrdre();
}

void TListeFontes::TrieFontesNormal() {
  for (int i = 0; i < Count(); ++i) {
    auto* f = LaFonte(i);
    if (f->OrdreFonte > 99999)
      f->OrdreFonte -= 100000;
    else if (f->OrdreFonte < 0)
      f->OrdreFonte = i;
  }
  TrieSurOrdre();
}

}  // namespace drawing
