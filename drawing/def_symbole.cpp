#include "drawing/def_symbole.h"

#include <algorithm>
#include <cmath>

#include "drawing/ports_motifs.h"

namespace drawing {

using foundation::TFlux;

namespace {

// Centre of the circle through three points; false when they are aligned.
bool CentreCercle(const TPointTopo& a, const TPointTopo& b, const TPointTopo& c, TPointTopo& centre) {
  const double d = 2 * (a.X * (b.Y - c.Y) + b.X * (c.Y - a.Y) + c.X * (a.Y - b.Y));
  if (d == 0 || !std::isfinite(d)) return false;
  const double a2 = a.X * a.X + a.Y * a.Y, b2 = b.X * b.X + b.Y * b.Y, c2 = c.X * c.X + c.Y * c.Y;
  centre = PtTopoXY((a2 * (b.Y - c.Y) + b2 * (c.Y - a.Y) + c2 * (a.Y - b.Y)) / d,
                    (a2 * (c.X - b.X) + b2 * (a.X - c.X) + c2 * (b.X - a.X)) / d);
  return std::isfinite(centre.X) && std::isfinite(centre.Y);
}

bool MemesXY(const TPointTopo& a, const TPointTopo& b) { return a.X == b.X && a.Y == b.Y; }

// Reference points of files below level 216: two Int32 (X, Y).
bool LitPointEntier(TFlux& f, TPointTopo& p) {
  int32_t x, y;
  if (!f.LitInteger(x) || !f.LitInteger(y)) return false;
  p = PtTopoXY(x, y);
  return true;
}

bool LitPointSymbole(TFlux& f, TPointTopo& p) {
  return NiveauLu() >= 216 ? LitPtTopo(p, f) : LitPointEntier(f, p);
}

}  // namespace

// --- Elements ----------------------------------------------------------------------

tElementSymbole::tElementSymbole() : UnTrait(std::make_unique<TObjetTrait>()) {}

tElementSymbole::tElementSymbole(const TDefObjetTrait* vTrait, bool NoStyle, int32_t typeCourbe)
    : UnTrait(std::make_unique<TObjetTrait>()) {
  if (NoStyle) return;
  if (vTrait) UnTrait->SetValeurTrait(vTrait->GetValeurTrait());
  TypeCourbe = typeCourbe;
}

void tElementSymbole::AjoutePointEcran(const TPointTopo& p) {
  const int complet = TypeCourbe == CourbeCercle ? 2 : TypeCourbe == CourbeArc ? 3 : 0;
  if (complet > 0 && PointsEcran.Count() >= complet) PointsEcran.Delete(PointsEcran.Count() - 1);
  PointsEcran.AjoutePoint(p);
}

void tElementSymbole::Init(int NbPts, const TPoint* Points, int32_t dY, int32_t dX) {
  for (int i = 0; i < NbPts; ++i) AjoutePointEcran(PtTopoXY(Points[i].X + dX, Points[i].Y + dY));
}

bool tElementSymbole::EcritObjet(TFlux& f) {
  return UnTrait->EcritObjet(f) && PointsEcran.EcritListe(f) && f.EcritInteger(TypeCourbe);
}

bool tElementSymbole::LitElement(TFlux& f) {
  if (!UnTrait->LitObjet(f)) return false;
  if (NiveauLu() >= 216) {
    if (!PointsEcran.LitListe(f)) return false;
  } else {
    foundation::TListeFichier<TObjetPoint> entiers;
    const bool lu = entiers.LitListe(f);
    PointsEcran.Clear();
    for (const TObjetPoint* p : entiers) {
      TPointTopo t = PtTopoXY(p->X, p->Y);
      t.Num = p->Num;
      PointsEcran.AjoutePoint(t);
    }
    if (!lu) return false;
  }
  int32_t type;
  if (!f.LitInteger(type)) return false;
  if (type < CourbePolyligne || type > CourbeArc) return false;
  TypeCourbe = type;
  // Circles of old files are three points of the circle: keep the centre
  // and the first point.
  if (NiveauLu() < 202 && TypeCourbe == CourbeCercle && PointsEcran.Count() == 3) {
    const TPointTopo a = PointsEcran.UnPtTopo(0), b = PointsEcran.UnPtTopo(1), c = PointsEcran.UnPtTopo(2);
    TPointTopo centre;
    if (CentreCercle(a, b, c, centre)) {
      PointsEcran.Clear();
      PointsEcran.AjoutePoint(centre);
      PointsEcran.AjoutePoint(a);
    }
  }
  return true;
}

std::unique_ptr<tElementSymbole> tElementSymbole::CloneElement() const {
  auto e = std::make_unique<tElementSymbole>();
  e->UnTrait->CopieMotif(*UnTrait);
  e->TypeCourbe = TypeCourbe;
  e->Masque = Masque;
  for (const TObjetTopo* p : PointsEcran) e->PointsEcran.AjoutePoint(p->PtTopo());
  return e;
}

// --- Symbol definitions ----------------------------------------------------------------

TDefSymbole::TDefSymbole() : FonteTexte(std::make_unique<TFontObjetType>()) { TypeMotif = TTypeMotif::tmSymbole; }

void TDefSymbole::InitSymbole(const TDefinitSymbole& d) {
  DesignMotif = d.Design;
  PointVersPtTopo(d.PtB, PtBase);
  PointVersPtTopo(d.PtE, PtExtrem);
  ValDimFixe = d.Dim;
}

tElementSymbole* TDefSymbole::AjouteDefElement(const TDefinitForme& forme, int32_t dX, const TDefObjetTrait* vTrait,
                                               int32_t dY) {
  auto e = std::make_unique<tElementSymbole>(vTrait, false, forme.TCourbe);
  e->Init(std::clamp(forme.nbPts, 0, 10), forme.Pts.data(), dY, dX);
  return LesElements.Add(std::move(e));
}

void TDefSymbole::CalculeExtremites() {
  const tElementSymbole* premier = UnElement(0);
  if (!premier || premier->NbPoints() == 0) return;
  TPointTopo base = premier->LePointEcran(0), extrem = base;
  for (const tElementSymbole* e : LesElements) {
    if (e->TypeCourbe == CourbeCercle) {
      if (e->NbPoints() < 2) continue;
      const TPointTopo c = e->LePointEcran(0), p = e->LePointEcran(1);
      const double r = std::hypot(p.X - c.X, p.Y - c.Y);
      base.X = std::min(base.X, c.X - r);
      extrem.X = std::max(extrem.X, c.X + r);
      continue;
    }
    for (int i = 0; i < e->NbPoints(); ++i) {
      const TPointTopo p = e->LePointEcran(i);
      if (p.X < base.X) base = p;
      if (p.X >= extrem.X && !MemesXY(p, base)) extrem = p;
    }
  }
  PtBase = base;
  PtExtrem = extrem;
}

void TDefSymbole::CalculeExtremVisu() { CalculeBoite(true); }

void TDefSymbole::CalculeBoite(bool avecTexte) {
  double xmin = INFINITY, ymin = INFINITY, xmax = -INFINITY, ymax = -INFINITY;
  auto etend = [&](double x, double y) {
    xmin = std::min(xmin, x);
    xmax = std::max(xmax, x);
    ymin = std::min(ymin, y);
    ymax = std::max(ymax, y);
  };
  for (const tElementSymbole* e : LesElements) {
    if (e->TypeCourbe == CourbeCercle && e->NbPoints() >= 2) {
      const TPointTopo c = e->LePointEcran(0), p = e->LePointEcran(1);
      const double r = std::hypot(p.X - c.X, p.Y - c.Y);
      etend(c.X - r, c.Y);
      etend(c.X + r, p.Y);
      continue;
    }
    for (int i = 0; i < e->NbPoints(); ++i) {
      const TPointTopo p = e->LePointEcran(i);
      etend(p.X, p.Y);
    }
  }
  double largeur = 0, hauteur = 0;
  if (avecTexte && ATexte && !TexteSymbol.empty() && Ports().MesureTexte &&
      Ports().MesureTexte(*FonteTexte, TexteSymbol, largeur, hauteur) && largeur > 0) {
    const double ligne = std::hypot(PtFinTexte.X - PtDebTexte.X, PtFinTexte.Y - PtDebTexte.Y);
    const double h = ligne * hauteur / largeur;
    etend(PtDebTexte.X, PtDebTexte.Y);
    etend(PtFinTexte.X, PtFinTexte.Y + h);
    etend(PtFinTexte.X, PtDebTexte.Y + h);
  }
  if (xmin > xmax) return;
  PtBase.X = xmin;
  PtBase.Y = ymin;
  PtExtrem.X = xmax;
  PtExtrem.Y = ymax;
}

double TDefSymbole::HauteurSymb() const {
  double ymin = INFINITY, ymax = -INFINITY;
  for (const tElementSymbole* e : LesElements) {
    const int debut = e->TypeCourbe == CourbeCercle ? 1 : 0;
    const int fin = e->TypeCourbe == CourbeCercle ? std::min(2, e->NbPoints()) : e->NbPoints();
    for (int i = debut; i < fin; ++i) {
      const double y = e->LePointEcran(i).Y;
      ymin = std::min(ymin, y);
      ymax = std::max(ymax, y);
    }
  }
  return ymin > ymax ? 0 : ymax - ymin;
}

double TDefSymbole::LongueurFixe() const {
  double v = ValDimFixe;
  const double dx = std::fabs(PtBase.X - PtExtrem.X);
  const double h = HauteurSymb();
  if (DirFixe && dx != 0 && h != 0) v = dx * ValDimFixe / h;
  return 1000 * v / 2;
}

bool TDefSymbole::EcritObjet(TFlux& f) {
  if (!TObjetMotifdeBase::EcritObjet(f)) return false;
  if (!EcritPtTopo(PtBase, f) || !EcritPtTopo(PtExtrem, f)) return false;
  if (!LesElements.EcritListe(f)) return false;
  if (!f.EcritReal(ValDimFixe) || !f.EcritBoolean(DirFixe) || !f.EcritBoolean(EstFlecheN) || !f.EcritBoolean(ATexte))
    return false;
  if (!ATexte) return true;
  return EcritPtTopo(PtDebTexte, f) && EcritPtTopo(PtFinTexte, f) && foundation::EcritChaineA(f, TexteSymbol) &&
         FonteTexte->EcritObjet(f);
}

bool TDefSymbole::LitObjet(TFlux& f) {
  if (!TObjetMotifdeBase::LitObjet(f)) return false;
  const int32_t niveau = NiveauLu();
  if (!LitPointSymbole(f, PtBase) || !LitPointSymbole(f, PtExtrem)) return false;
  if (!LesElements.LitListe(f)) return false;
  if (niveau >= 122 && niveau <= 225) {
    double reserve;
    if (!f.LitReal(reserve)) return false;
  }
  if (!f.LitReal(ValDimFixe)) return false;
  if (niveau >= 225 && !f.LitBoolean(DirFixe)) return false;
  if (niveau >= 216 && (!f.LitBoolean(EstFlecheN) || !f.LitBoolean(ATexte))) return false;
  // Files of level 216 hold the start of the text whether there is a text or not.
  if (niveau == 216 && !LitPtTopo(PtDebTexte, f)) return false;
  if (ATexte) {
    if (niveau != 216 && !LitPtTopo(PtDebTexte, f)) return false;
    if (!LitPtTopo(PtFinTexte, f) || !foundation::LitChaineA(f, TexteSymbol) || !FonteTexte->LitObjet(f))
      return false;
  }
  if (EstFlecheN) DirFixe = true;
  return true;
}

void TDefSymbole::CopieMotif(const TObjetMotifdeBase& source) {
  TObjetMotifdeBase::CopieMotif(source);
  const auto* s = dynamic_cast<const TDefSymbole*>(&source);
  if (!s || s == this) return;
  PtBase = s->PtBase;
  PtExtrem = s->PtExtrem;
  ValDimFixe = s->ValDimFixe;
  EstFlecheN = s->EstFlecheN;
  DirFixe = s->DirFixe;
  ATexte = s->ATexte;
  TexteSymbol = s->TexteSymbol;
  FonteTexte->CopieMotif(*s->FonteTexte);
  PtDebTexte = s->PtDebTexte;
  PtFinTexte = s->PtFinTexte;
  SymboleModifie = s->SymboleModifie;
  LesElements.Clear();
  for (const tElementSymbole* e : s->LesElements) LesElements.Add(e->CloneElement());
}

// --- Scale bar -------------------------------------------------------------------------

tnvEchelle::tnvEchelle() {
  static const int32_t colonnes[7] = {0, 253, 506, 759, 1012, 1265, 2530};
  static const int32_t lignes[3] = {0, 50, 100};
  for (int l = 0; l < 3; ++l)
    for (int c = 0; c < 7; ++c) PtsDef[static_cast<size_t>(l * 7 + c)] = {colonnes[c], lignes[l]};
  PtBase = PtTopoXY(0, 0);
  PtExtrem = PtTopoXY(2530, 0);
}

}  // namespace drawing
