#include "drawing/dessin_symbole.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <typeinfo>
#include <vector>

#include "drawing/contexte_motifs.h"
#include "drawing/dessin_texte.h"
#include "drawing/style_canvas.h"
#include "drawing/symbole.h"
#include "foundation/arrondi.h"
#include "foundation/bezier.h"
#include "foundation/chaines.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"

namespace drawing {

using foundation::Arrondi;
using platform::Canvas;

namespace {

bool Fini(const TPointTopo& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

}  // namespace

// --- Element lines ----------------------------------------------------------------

void tElementSymbole::CreeLigne() {
  const bool rempli = !EstCourbe() && UnTrait->estFerme();
  const bool bonne = UneLigne && (TypeCourbe == CourbeArc ? dynamic_cast<TDessinArc*>(UneLigne.get()) != nullptr
                                  : TypeCourbe == CourbeCercle
                                      ? dynamic_cast<TDessinCercle*>(UneLigne.get()) != nullptr
                                  : rempli ? dynamic_cast<TDessinFermeSymbole*>(UneLigne.get()) != nullptr
                                           : typeid(*UneLigne) == typeid(TDessinLigne));
  if (!bonne) {
    if (TypeCourbe == CourbeArc)
      UneLigne = std::make_shared<TDessinArc>(UnTrait.get());
    else if (TypeCourbe == CourbeCercle)
      UneLigne = std::make_shared<TDessinCercle>(UnTrait.get());
    else if (rempli)
      UneLigne = std::make_shared<TDessinFermeSymbole>(UnTrait.get());
    else
      UneLigne = std::make_shared<TDessinLigne>(UnTrait.get());
  }
  UneLigne->ObjetMotif = UnTrait.get();
  UneLigne->EstVisible = true;
  UneLigne->EstElementSymbole = true;
}

void tElementSymbole::DessineObjet(Canvas& canvas) {
  if (Masque) return;
  CreeLigne();
  UneLigne->PointsList.clear();
  for (const TObjetTopo* p : PointsEcran) UneLigne->AjoutePoint(foundation::XYVersDessin(p->X, p->Y));
  UneLigne->EnveloppeModifiee = true;
  UneLigne->DessineObjet(canvas);
}

void TDessinFermeSymbole::DessineCetObjet(Canvas& canvas) {
  if (PointsList.empty()) return;
  std::vector<platform::Point> contour;
  if (StyleLisse() && PointsList.size() > 2) {
    pixels_.clear();
    for (const TPointDeBase& p : PointsList) pixels_.push_back(p.PtVue());
    CheminBezier(pixels_, chemin_);
    contour.push_back({chemin_[0].X, chemin_[0].Y});
    for (size_t j = 0; j + 3 < chemin_.size(); j += 3) {
      for (int k = 1; k <= 16; ++k) {
        foundation::TPoint r;
        foundation::PointBezier(chemin_[j], chemin_[j + 1], chemin_[j + 2], chemin_[j + 3], k / 16.0f, r);
        contour.push_back({r.X, r.Y});
      }
    }
  } else {
    for (const TPointDeBase& p : PointsList) contour.push_back({p.XVue, p.YVue});
  }
  canvas.Polygon(contour);
}

// --- DessineSymbole -----------------------------------------------------------------

void TDefSymbole::DessineSymbole(const TPointTopo& PtDeb, const TPointTopo& PtFin, Canvas& canvas) {
  const double longueurSymbole = foundation::DistanceXY(PtBase, PtExtrem);
  if (!(longueurSymbole > 0) || !std::isfinite(longueurSymbole) || !Fini(PtDeb) || !Fini(PtFin)) return;
  EtatAffichage& a = Affichage();
  GardeValeur<bool> repere(a.RepereSymbole, EstFlecheN && foundation::Impression().EnImpression);
  using C = std::complex<double>;
  const C b(PtBase.X, PtBase.Y), d(PtDeb.X, PtDeb.Y);
  const C m = (C(PtFin.X, PtFin.Y) - d) / (C(PtExtrem.X, PtExtrem.Y) - b);
  if (DirFixe) foundation::CalculeTransEch(PtBase, PtExtrem, PtDeb, PtFin, vTransEch);
  const auto transforme = [&](const TPointTopo& p) {
    TPointTopo r = p;
    if (DirFixe) {
      foundation::AppliqueTransEch(p, vTransEch, r);
    } else {
      const C z = d + (C(p.X, p.Y) - b) * m;
      r.X = z.real();
      r.Y = z.imag();
    }
    return r;
  };
  const foundation::TPoint pixDeb = PointVueDessin(Arrondi(PtDeb.X), Arrondi(PtDeb.Y));
  const foundation::TPoint pixFin = PointVueDessin(Arrondi(PtFin.X), Arrondi(PtFin.Y));
  CoeffTrait = foundation::DistancePoints(pixDeb, pixFin) / longueurSymbole;
  bool premier = true;
  for (tElementSymbole* e : LesElements) {
    if (e->Masque) continue;
    e->CreeLigne();
    TDessinLigne& ligne = *e->UneLigne;
    ligne.PointsList.clear();
    const int32_t epaisseur = e->UnTrait->EpaisseurPlume;
    if (!e->UnTrait->estFerme())
      e->UnTrait->EpaisseurPlume = std::max(1, Arrondi(epaisseur * CoeffTrait));
    struct Remet {
      int32_t& w;
      int32_t v;
      ~Remet() { w = v; }
    } remet{e->UnTrait->EpaisseurPlume, epaisseur};
    for (const TObjetTopo* p : e->PointsEcran) ligne.AjoutePointTopo(transforme(p->PtTopo()));
    ligne.EnveloppeModifiee = true;
    ligne.DessineObjet(canvas);
    if (EstFlecheN) {
      const foundation::TRect r = ligne.EnvelVue();
      const foundation::TRect n{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                                std::max(r.Top, r.Bottom)};
      if (premier) {
        RectSymb = n;
      } else {
        RectSymb = {std::min(RectSymb.Left, n.Left), std::min(RectSymb.Top, n.Top), std::max(RectSymb.Right, n.Right),
                    std::max(RectSymb.Bottom, n.Bottom)};
      }
      premier = false;
    }
  }
  if (ATexte && !TexteSymbol.empty()) {
    if (!DessinTexteSymbol) DessinTexteSymbol = std::make_shared<TDessinTexte>();
    TDessinTexte& t = *DessinTexteSymbol;
    t.tdTexte = TexteSymbol;
    t.tdFonte = FonteTexte.get();
    t.EstElementSymbole = true;
    t.PointsList.clear();
    t.AjoutePointTopo(transforme(PtDebTexte));
    t.AjoutePointTopo(transforme(PtFinTexte));
    t.InitDimensions();
    t.DessineObjet(canvas);
  }
}

// --- The scale bar --------------------------------------------------------------------

void tnvEchelle::DessineSymbole(const TPointTopo& PtDeb, const TPointTopo& PtFin, Canvas& canvas) {
  using C = std::complex<double>;
  const bool impression = foundation::Impression().EnImpression;
  foundation::TPoint d = PointVueDessin(Arrondi(PtDeb.X), Arrondi(PtDeb.Y));
  foundation::TPoint f = PointVueDessin(Arrondi(PtFin.X), Arrondi(PtFin.Y));
  const C base(PtBase.X, PtBase.Y), ext(PtExtrem.X, PtExtrem.Y);
  if (ext == base) return;
  std::array<foundation::TPoint, 21> pts{};
  const auto calcule = [&] {
    const C cd(d.X, d.Y), m = (C(f.X, f.Y) - cd) / (ext - base);
    for (size_t i = 0; i < pts.size(); ++i) {
      const C z = cd + (C(PtsDef[i].X, PtsDef[i].Y) - base) * m;
      pts[i] = {Arrondi(z.real()), Arrondi(z.imag())};
    }
  };
  calcule();
  if (impression) {
    const int32_t h = Arrondi(foundation::DistancePoints(pts[0], pts[14]));
    d.Y -= h;
    f.Y -= h;
    calcule();
  }
  if (foundation::DistancePoints(d, f) < 1) return;
  GardeStyleCanvas garde(canvas);
  canvas.Pen = {platform::kBlack, 1, platform::PenStyle::Solid, platform::PenMode::Copy};
  canvas.Brush.Style = platform::BrushStyle::Solid;
  const auto P = [&](int ligne, int colonne) { return pts[static_cast<size_t>(ligne * 7 + colonne)]; };
  for (int ligne = 0; ligne < 2; ++ligne) {
    for (int c = 0; c < 6; ++c) {
      const bool noir = (c % 2 == 0) == (ligne == 1);
      canvas.Brush.Color = noir ? platform::kBlack : platform::kWhite;
      const foundation::TPoint q[4] = {P(ligne, c), P(ligne, c + 1), P(ligne + 1, c + 1), P(ligne + 1, c)};
      const platform::Point cellule[4] = {{q[0].X, q[0].Y}, {q[1].X, q[1].Y}, {q[2].X, q[2].Y}, {q[3].X, q[3].Y}};
      canvas.Polygon(cellule);
    }
  }
  const double longueurPixels = foundation::DistancePoints(P(0, 0), P(0, 6));
  double taille = (impression ? 10.0 : 50.0) * longueurPixels / 2530;
  if (impression) taille *= foundation::Impression().ResolutionPrn / 96;
  if (CoeffEchelle != 0) taille /= CoeffEchelle;
  canvas.Font.Name = "Arial";
  canvas.Font.Color = canvas.Pen.Color;
  canvas.Font.Height = 0;
  canvas.Font.Escapement = 0;
  canvas.Font.Size = std::max(1, Arrondi(taille));
  canvas.Brush.Style = platform::BrushStyle::Clear;
  const int32_t hBarre = Arrondi(foundation::DistancePoints(P(0, 0), P(2, 0)));
  const int32_t hTexte = canvas.TextHeight("0");
  const int32_t y = P(2, 0).Y - hBarre - hTexte;
  const std::string moitie = foundation::ReelEnTexteExact(LongueurEchelle / 2) + " m";
  const std::string tout = std::to_string(Arrondi(LongueurEchelle)) + " m";
  canvas.TextOut(P(0, 0).X, y, "0");
  canvas.TextOut(P(0, 5).X - Arrondi(canvas.TextWidth(moitie) / 2.0), y, moitie);
  canvas.TextOut(P(0, 6).X - canvas.TextWidth(tout), y, tout);
  Larg = Arrondi(longueurPixels);
  Haut = hBarre + hTexte;
}

// --- Surface symbols ---------------------------------------------------------------------

void TSymbSurface::DessineSymbSurf(const TPointTopo& P, Canvas& canvas, double L) {
  const double n = foundation::DistanceXY(PtBase, PtExtrem);
  if (!(n > 0) || !std::isfinite(n) || !std::isfinite(L)) return;
  const double a = foundation::AzimutXY(PtBase, PtExtrem);
  ValDimFixe = L;
  const TPointTopo origine = foundation::PtTopoXY(0, 0);
  const double d0 = foundation::DistanceXY(origine, PtBase) * L / n;
  const double d1 = foundation::DistanceXY(origine, PtExtrem) * L / n;
  TPointTopo debut = P, fin = P;
  foundation::PointRayonne(P, -a, d0, true, debut);
  foundation::PointRayonne(P, a, d1, true, fin);
  struct Couleurs {
    tElementSymbole* e;
    uint32_t plume, pinceau;
  };
  std::vector<Couleurs> sauve;
  const ContexteMotifs& motifs = Motifs();
  if (motifs.CouleurPourTous) {
    for (tElementSymbole* e : LesElements) {
      sauve.push_back({e, e->UnTrait->CouleurPlume, e->UnTrait->CouleurPinceau});
      e->UnTrait->CouleurPlume = motifs.TraitPointsSurface.CouleurPlume;
      e->UnTrait->CouleurPinceau = motifs.TraitPointsSurface.CouleurPinceau;
    }
  }
  struct Remet {
    std::vector<Couleurs>& s;
    ~Remet() {
      for (const Couleurs& c : s) {
        c.e->UnTrait->CouleurPlume = c.plume;
        c.e->UnTrait->CouleurPinceau = c.pinceau;
      }
    }
  } remet{sauve};
  const foundation::TPoint dd = foundation::XYVersDessin(debut.X, debut.Y);
  const foundation::TPoint df = foundation::XYVersDessin(fin.X, fin.Y);
  DessineSymbole(foundation::PtTopoXY(dd.X, dd.Y), foundation::PtTopoXY(df.X, df.Y), canvas);
}

// --- Placed symbols --------------------------------------------------------------------

TDessinSymbole::TDessinSymbole(TDefSymbole* symbole, foundation::TObjetDeListe* unObjet)
    : TDessinDeplacable(nullptr, unObjet), Symbole(symbole) {
  ObjetMotif = &Motifs().TraitObjetDefaut;
  EstVisible = true;
  CodeAffichage = TypeObjetDessin::odDessin;
}

void TDessinSymbole::InitObjet(int32_t Xs, int32_t Ys) {
  TDessinDeplacable::InitObjet(Xs, Ys);
  if (Symbole != nullptr && Symbole->DimFixe()) Long = Symbole->LongueurFixe();
}

void TDessinSymbole::InitDimensions() {
  TDessinDeplacable::InitDimensions();
  if (Symbole != nullptr && Symbole->DimFixe()) Long = Symbole->LongueurFixe();
}

void TDessinSymbole::Dimension(bool Sens) {
  if (Symbole != nullptr && Symbole->DimFixe())
    Long = Symbole->LongueurFixe();
  else
    TDessinDeplacable::Dimension(Sens);
}

void TDessinSymbole::DessineObjet(Canvas& canvas) {
  if (Symbole != nullptr && Symbole->MotifMasque) return;
  TDessinDeplacable::DessineObjet(canvas);
}

void TDessinSymbole::DessineObjetDeplacable(Canvas& canvas) {
  if (Symbole == nullptr || PointsList.size() < 2) return;
  Symbole->DessineSymbole(PointsList[0].PTopoLoc(), PointsList[1].PTopoLoc(), canvas);
}

// --- Previews ----------------------------------------------------------------------------

void TDefSymbole::TraceVisuMotif(Canvas& bitmap) {
  {
    GardeValeur<bool> tout(Affichage().ToutDessiner, true);
    const TPointTopo base = PtBase, extrem = PtExtrem;
    struct Remet {
      TPointTopo& b;
      TPointTopo& e;
      TPointTopo vb, ve;
      ~Remet() {
        b = vb;
        e = ve;
      }
    } remet{PtBase, PtExtrem, base, extrem};
    CalculeExtremVisu();
    if (EstFlecheN)
      DessineSymbole(foundation::PtTopoXY(45000, -160000), foundation::PtTopoXY(45000, -10000), bitmap);
    else
      DessineSymbole(foundation::PtTopoXY(25000, -150000), foundation::PtTopoXY(100000, -40000), bitmap);
  }
  if (TypeMotif == TTypeMotif::tmNord || TypeMotif == TTypeMotif::tmSurface) return;
  GardeStyleCanvas garde(bitmap);
  if (DimFixe()) {
    bitmap.Pen = {CouleurRouge, 2, platform::PenStyle::Solid, platform::PenMode::Copy};
    bitmap.Brush.Style = platform::BrushStyle::Clear;
    bitmap.Ellipse(140, 131, 168, 159);
    bitmap.MoveTo(140, 131);
    bitmap.LineTo(168, 159);
    bitmap.MoveTo(168, 131);
    bitmap.LineTo(140, 159);
  }
  if (DirFixe) {
    bitmap.Pen = {0x008000, 2, platform::PenStyle::Solid, platform::PenMode::Copy};
    bitmap.MoveTo(154, 162);
    bitmap.LineTo(154, 120);
    bitmap.LineTo(149, 130);
    bitmap.MoveTo(154, 120);
    bitmap.LineTo(159, 130);
  }
}

}  // namespace drawing
