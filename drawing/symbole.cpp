#include "drawing/symbole.h"

#include <algorithm>
#include <stdexcept>

#include "foundation/catalogue.h"
#include "foundation/codage.h"

namespace drawing {

using foundation::IdMsg;
using foundation::Msg;

namespace {

TDefinitForme Forme(std::initializer_list<TPoint> pts) {
  TDefinitForme f;
  int i = 0;
  for (TPoint p : pts) f.Pts[static_cast<size_t>(i++)] = p;
  f.nbPts = i;
  f.TCourbe = CourbePolyligne;
  return f;
}

const TDefinitForme& FormeTete() {
  static const TDefinitForme f = Forme({{250, 0}, {230, -20}, {300, 0}, {230, 20}, {250, 0}});
  return f;
}
const TDefinitForme& FormeHampe() {
  static const TDefinitForme f = Forme({{0, 0}, {250, 0}});
  return f;
}
const TDefinitForme& FormeTriangle() {
  static const TDefinitForme f = Forme({{0, -20}, {180, 0}, {0, 20}});
  return f;
}
const TDefinitForme& FormeVague() {
  static const TDefinitForme f = Forme(
      {{0, 5}, {25, 0}, {45, -25}, {75, -20}, {95, 20}, {125, 20}, {145, -20}, {175, -25}, {195, 0}, {220, 5}});
  return f;
}
const TDefinitForme& FormeBloc() {
  static const TDefinitForme f = Forme({{0, 14}, {4, 3}, {8, 0}, {13, 6}, {14, 14}});
  return f;
}
const TDefinitForme& FormeNord() {
  static const TDefinitForme f = Forme({{-2, 0}, {2, 0}, {1, 102}, {6, 100}, {0, 115}, {-6, 100}, {-1, 102}, {-2, 0}});
  return f;
}

void StyleSymbole(TObjetTrait& t, uint32_t plume, TModePlume mode, int32_t epaisseur, MesPenStyle style, bool lisse,
                  int16_t numMotif, uint32_t pinceau) {
  t.CouleurPlume = plume;
  t.ModePlume = mode;
  t.EpaisseurPlume = epaisseur;
  t.StylePlume = style;
  t.TraitLisse = lisse;
  t.NumMotif = numMotif;
  t.CouleurPinceau = pinceau;
  t.StylePinceau = TStylePinceau::bsSolid;
  t.CouleurFonte = 0;
  t.CoupePlan = 0;
}

// The styles of the default symbols' elements.
struct StylesSymboles {
  TObjetTrait NoirPlein, CyanPlein, GrisPlein, EpaisLisse, Epais, EpaisCyan, EpaisTirets, EpaisTiretsCyan;
  StylesSymboles() {
    const auto nonxor = TModePlume::pmNotXor, copie = TModePlume::pmCopy;
    const auto plein = MesPenStyle::mpsSolid, tirets = MesPenStyle::mpsDash;
    StyleSymbole(NoirPlein, RGB(0, 0, 0), nonxor, 1, plein, false, 0, RGB(0, 0, 0));
    StyleSymbole(CyanPlein, RGB(0, 255, 255), nonxor, 1, plein, false, 0, RGB(0, 255, 255));
    StyleSymbole(GrisPlein, RGB(0, 0, 0), nonxor, 1, plein, false, 0, RGB(192, 192, 192));
    StyleSymbole(EpaisLisse, RGB(0, 0, 0), copie, 6, plein, true, -1, RGB(0, 0, 0));
    StyleSymbole(Epais, RGB(0, 0, 0), copie, 4, plein, false, -1, RGB(0, 0, 0));
    StyleSymbole(EpaisCyan, RGB(0, 255, 255), copie, 4, plein, false, -1, RGB(0, 0, 0));
    StyleSymbole(EpaisTirets, RGB(0, 0, 0), copie, 4, tirets, false, -1, RGB(0, 0, 0));
    StyleSymbole(EpaisTiretsCyan, RGB(0, 255, 255), copie, 4, tirets, false, -1, RGB(0, 0, 0));
  }
};

const StylesSymboles& Styles() {
  static const StylesSymboles s;
  return s;
}

}  // namespace

bool TSymbole::EstEquivalent(const TObjetMotifdeBase& autre) const {
  const auto* s = dynamic_cast<const TDefSymbole*>(&autre);
  if (!s || !SymbolesIdentiques(*this, *s)) return false;
  // Libraries are compared to import what one lacks: a symbol with elements
  // or points beyond this one's is another drawing (a drawn "Gouffre" is not
  // the empty default one).
  if (s->LesElements.Count() != LesElements.Count()) return false;
  for (int i = 0; i < LesElements.Count(); ++i)
    if (s->UnElement(i)->NbPoints() != UnElement(i)->NbPoints()) return false;
  return true;
}

std::unique_ptr<TSymbole> TSymbole::CloneSymbole() const {
  auto s = std::make_unique<TSymbole>();
  s->CopieMotif(*this);
  return s;
}

TSymbFlecheN::TSymbFlecheN() {
  TypeMotif = TTypeMotif::tmNord;
  EstFlecheN = true;
  DirFixe = true;
}

void TSymbFlecheN::CalculeExtremites() {
  CalculeBoite(false);
  AxeVertical();
}

void TSymbFlecheN::CalculeExtremVisu() {
  TDefSymbole::CalculeExtremVisu();
  AxeVertical();
}

void TSymbFlecheN::AxeVertical() {
  const double milieu = (PtBase.X + PtExtrem.X) / 2;
  const double bas = std::min(PtBase.Y, PtExtrem.Y), haut = std::max(PtBase.Y, PtExtrem.Y);
  PtBase.X = PtExtrem.X = milieu;
  PtBase.Y = bas;
  PtExtrem.Y = haut;
}

bool SymbolesIdentiques(const TDefSymbole& a, const TDefSymbole& b) {
  if (foundation::EnMajuscules(a.DesignMotif) != foundation::EnMajuscules(b.DesignMotif)) return false;
  if (a.PtBase.X != b.PtBase.X || a.PtBase.Y != b.PtBase.Y || a.PtExtrem.X != b.PtExtrem.X ||
      a.PtExtrem.Y != b.PtExtrem.Y)
    return false;
  if (a.ValDimFixe != b.ValDimFixe || a.DirFixe != b.DirFixe || a.EstFlecheN != b.EstFlecheN) return false;
  for (int i = 0; i < a.LesElements.Count(); ++i) {
    const tElementSymbole* ea = a.UnElement(i);
    const tElementSymbole* eb = b.UnElement(i);
    if (!eb || !ea->UnTrait->EstEquivalent(*eb->UnTrait)) return false;
    for (int j = 0; j < ea->NbPoints(); ++j) {
      if (j >= eb->NbPoints()) return false;
      const TPointTopo pa = ea->LePointEcran(j), pb = eb->LePointEcran(j);
      if (pa.X != pb.X || pa.Y != pb.Y) return false;
    }
  }
  return true;
}

TSymbole* TListeSymboles::LeSymbole(int i) const {
  if (i < 0 || i >= Count()) throw std::out_of_range("indice de symbole hors de la liste");
  return static_cast<TSymbole*>(UnObjet(i));
}

void TListeSymboles::InitDefaut() {
  RAZ();
  NbreMotifsFixes = 7;
  const StylesSymboles& st = Styles();
  struct Element {
    const TDefinitForme& forme;
    const TObjetTrait& style;
    int32_t dX, dY;
  };
  struct Ligne {
    IdMsg nom;
    TPoint base, extrem;
    std::vector<Element> elements;
  };
  const Ligne lignes[] = {
      {IdMsg::SymboleFleche, {0, 0}, {300, 0}, {{FormeTete(), st.NoirPlein, 0, 0}, {FormeHampe(), st.Epais, 0, 0}}},
      {IdMsg::SymboleFlecheEntree, {0, 0}, {180, 0}, {{FormeTriangle(), st.NoirPlein, 0, 0}}},
      {IdMsg::SymboleFlecheCourant,
       {0, 0},
       {280, 0},
       {{FormeTete(), st.NoirPlein, -25, 5}, {FormeVague(), st.EpaisLisse, 0, 0}}},
      {IdMsg::SymboleBloc, {0, 14}, {14, 14}, {{FormeBloc(), st.GrisPlein, 0, 0}}},
      {IdMsg::SymboleFlechePointille,
       {0, 0},
       {300, 0},
       {{FormeTete(), st.NoirPlein, 0, 0}, {FormeHampe(), st.EpaisTirets, 0, 0}}},
      {IdMsg::SymboleFlecheBleue,
       {0, 0},
       {300, 0},
       {{FormeTete(), st.CyanPlein, 0, 0}, {FormeHampe(), st.EpaisCyan, 0, 0}}},
      {IdMsg::SymboleFlechePointilleBleue,
       {0, 0},
       {300, 0},
       {{FormeTete(), st.CyanPlein, 0, 0}, {FormeHampe(), st.EpaisTiretsCyan, 0, 0}}},
  };
  for (const Ligne& l : lignes) {
    std::unique_ptr<TObjetMotifdeBase> m = CreeMotif();
    auto* s = static_cast<TDefSymbole*>(m.get());
    s->InitSymbole({Msg(l.nom), l.base, l.extrem, -1});
    for (const Element& e : l.elements) s->AjouteDefElement(e.forme, e.dX, &e.style, e.dY);
    AjouteMotif(std::move(m));
  }
}

TSymbSurface* TListeSymbSurf::LaCatSurf(int i) const {
  if (i < 0 || i >= Count()) throw std::out_of_range("indice de motif de surface hors de la liste");
  return static_cast<TSymbSurface*>(UnObjet(i));
}

void TListeSymbSurf::AjouteSymbolesDefaut() {
  static const IdMsg noms[] = {IdMsg::SurfaceGouffre,     IdMsg::SurfaceGrotte,      IdMsg::SurfacePerte,
                               IdMsg::SurfaceResurgence,  IdMsg::SurfaceExsurgence,  IdMsg::SurfaceDoline};
  for (IdMsg nom : noms) {
    std::unique_ptr<TObjetMotifdeBase> m = CreeMotif();
    m->DesignMotif = Msg(nom);
    AjouteMotif(std::move(m));
  }
}

void TListeSymbSurf::InitDefaut() {
  RAZ();
  NbreMotifsFixes = 6;
  AjouteSymbolesDefaut();
}

std::unique_ptr<TSymbFlecheN> CreeFlecheNord(bool magnetique) {
  auto s = std::make_unique<TSymbFlecheN>();
  s->InitSymbole({Msg(IdMsg::SymboleFlecheNord), {0, 0}, {10, 0}, -1});
  s->AjouteDefElement(FormeNord(), 0, &Styles().NoirPlein, 0);
  s->EstFlecheN = true;
  s->ATexte = true;
  if (magnetique) {
    s->TexteSymbol = Msg(IdMsg::SymboleNordMagnetique);
    s->PtDebTexte = PtTopoXY(10, 120);
    s->PtFinTexte = PtTopoXY(-12, 120);
  } else {
    s->TexteSymbol = "N";
    s->PtDebTexte = PtTopoXY(-4, 130);
    s->PtFinTexte = PtTopoXY(4, 130);
  }
  s->FonteTexte->NomPolice = "Arial";
  s->FonteTexte->Taille = 12;
  s->FonteTexte->Couleur = 0;
  s->FonteTexte->Style = {};
  return s;
}

}  // namespace drawing
