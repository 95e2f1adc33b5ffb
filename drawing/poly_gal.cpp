#include "drawing/poly_gal.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <unordered_set>

#include "foundation/arrondi.h"
#include "survey/cavite.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"

namespace drawing {

using foundation::TPointTopo;
using survey::TPointSpeleo;
using survey::TVisee;

namespace {

constexpr double Pi = std::numbers::pi;
// Largest step of a rounded corner.
constexpr double PasArrondi = Pi / 10;
// Ceiling and floor of an elevation point.
constexpr double PlafondAlti = -1000000;
constexpr double PlancherAlti = -1;

TPointTopo PointContour(uint32_t ix, double X, double Y, double Zb, double Zh) {
  TPointTopo p;
  p.Num = ix;
  p.X = X;
  p.Y = Y;
  p.Z = Zh;
  p.SlH = Zb;
  return p;
}

uint32_t Index(const TPointSpeleo* p) { return static_cast<uint32_t>(p->IndexPtCav); }

// The arc from azimuth debut through an angle f (clockwise when sens is 1,
// counter-clockwise when -1), in n steps of at most π/10; the last point is
// at debut + sens·f.  Each angle is debut + sens·k·step, so that rounding
// never drops the last one.
template <class Ajoute>
void Arc(const TPointSpeleo* centre, double debut, double f, int sens, double rayon, Ajoute ajoute) {
  const int n = foundation::Arrondi(f / PasArrondi);
  const double pas = n == 0 ? f : f / n;
  if (pas == 0) return;
  const int dernier = std::max(n, 1);
  const double limite = f * (1 + 1e-12) + 1e-12;
  for (int k = 1; k <= dernier && k * pas <= limite; ++k) {
    const double angle = debut + sens * k * pas;
    ajoute(centre->X + rayon * std::sin(angle), centre->Y + rayon * std::cos(angle));
  }
}

double Azimut(const TPointSpeleo* centre, const TPointTopo& p) {
  return foundation::AzimutXY(centre->PtTopo(), p);
}

// Some shot listed at the station is not marked.
bool UneViseeNonMarquee(const TPointSpeleo* p) {
  for (const TVisee* v : p->LstVis)
    if (v && !v->Marque) return true;
  return false;
}

}  // namespace

// --- Outline -------------------------------------------------------------------------------------

void tPolyGal::AjoutePointGauche(double X, double Y) {
  BordGauche.push_back(PointContour(0, X, Y, PlancherAlti, PlafondAlti));
}

void tPolyGal::AjoutePointDroit(double X, double Y) {
  BordDroit.push_back(PointContour(0, X, Y, PlancherAlti, PlafondAlti));
}

void tPolyGal::AjoutePointGauche(uint32_t ix, double X, double Y, double Zb, double Zh) {
  BordGauche.push_back(PointContour(ix, X, Y, Zb, Zh));
}

void tPolyGal::AjoutePointDroit(uint32_t, double X, double Y, double Zb, double Zh) {
  BordDroit.push_back(PointContour(0, X, Y, Zb, Zh));
}

void tPolyGal::AjoutePointSpeleo(const TPointSpeleo* Pts) {
  if (!Pts) return;
  AjoutePointGauche(Index(Pts), Pts->XG, Pts->YG, Pts->ZB, Pts->ZH);
  AjoutePointDroit(Index(Pts), Pts->XD, Pts->YD, Pts->ZB, Pts->ZH);
}

void tPolyGal::AjoutePointDebutVisee(const TVisee* vVisee) {
  const TPointSpeleo* o = vVisee ? vVisee->PtOrigCalc : nullptr;
  if (!o || !vVisee->PtCalc) return;
  const foundation::TSegment g = vVisee->BordGaucheGal();
  const foundation::TSegment d = vVisee->BordDroitGal();
  AjoutePointGauche(Index(o), g.PtDebut.X, g.PtDebut.Y, o->ZB, o->ZH);
  AjoutePointDroit(Index(o), d.PtDebut.X, d.PtDebut.Y, o->ZB, o->ZH);
}

void tPolyGal::AjoutePointViseeAlti(const TVisee* vVisee, const TPointSpeleo* Pts) {
  if (!vVisee || !Pts) return;
  if (vVisee->SensCoupe == 1) {
    AjoutePointGauche(Pts->Slh, Pts->ZH);
    AjoutePointDroit(Pts->Slh, Pts->ZB);
  } else {
    AjoutePointDroit(Pts->Slh, Pts->ZH);
    AjoutePointGauche(Pts->Slh, Pts->ZB);
  }
}

void tPolyGal::AjouteArrondiGA(const TPointSpeleo* PtCentre, const TPointTopo& PtDeb, const TPointTopo& PtFin) {
  if (!PtCentre) return;
  AjoutePointGauche(Index(PtCentre), PtDeb.X, PtDeb.Y, PtCentre->ZB, PtCentre->ZH);
  const double a = Azimut(PtCentre, PtDeb);
  const double b = Azimut(PtCentre, PtFin);
  if (a == 0 && b == 0) return;
  const double e = a > b ? b + 2 * Pi : b;
  const double f = foundation::NormaliseAngle(e - a);
  Arc(PtCentre, a, f, 1, PtCentre->LGCalc, [&](double x, double y) {
    AjoutePointGauche(Index(PtCentre), x, y, PtCentre->ZB, PtCentre->ZH);
  });
}

void tPolyGal::AjouteArrondiDr(const TPointSpeleo* PtCentre, const TPointTopo& PtDeb, const TPointTopo& PtFin) {
  if (!PtCentre) return;
  AjoutePointDroit(Index(PtCentre), PtDeb.X, PtDeb.Y, PtCentre->ZB, PtCentre->ZH);
  const double a = Azimut(PtCentre, PtDeb);
  const double b = Azimut(PtCentre, PtFin);
  if (a == 0 && b == 0) return;
  const double e = a < b ? a + 2 * Pi : a;
  const double f = foundation::NormaliseAngle(e - b);
  Arc(PtCentre, e, f, -1, PtCentre->LDCalc, [&](double x, double y) {
    AjoutePointDroit(Index(PtCentre), x, y, PtCentre->ZB, PtCentre->ZH);
  });
}

void tPolyGal::AjouteVisees2Poly(const TVisee* Visee1, const TVisee* Visee2) {
  if (!Visee1 || !Visee2) return;
  const TPointSpeleo* S = Visee2->PtOrigCalc;
  if (Visee1->ViseeNulle() || Visee2->ViseeNulle()) {
    AjoutePointSpeleo(Visee1->ViseeNulle() ? Visee1->PtCalc : S);
    return;
  }
  if (!S || !Visee1->PtOrigCalc || !Visee1->PtCalc || !Visee2->PtCalc) return;
  const double t = foundation::NormaliseAngle(Visee2->GTVisee() - Visee1->GTVisee()) * 200 / Pi;
  const bool droite = t > 1 && t < 199;
  const bool gauche = t > 201 && t < 399;
  if (!droite && !gauche) {
    AjoutePointSpeleo(S);
    return;
  }
  // The inner side takes the intersection of both shots' walls when it lies
  // on the arriving shot's wall, else the station's wall point; the outer
  // side is rounded.
  const foundation::TSegment i1 = droite ? Visee1->BordDroitGal() : Visee1->BordGaucheGal();
  const foundation::TSegment i2 = droite ? Visee2->BordDroitGal() : Visee2->BordGaucheGal();
  TPointTopo I;
  I.SlH = -1;
  foundation::IntersectionDroites(i1.PtDebut, i1.PtFin, i2.PtDebut, i2.PtFin, I);
  const bool surSegment = I.SlH == 1 && foundation::EstSurSegment(i1.PtDebut, i1.PtFin, I);
  const foundation::TSegment e1 = droite ? Visee1->BordGaucheGal() : Visee1->BordDroitGal();
  const foundation::TSegment e2 = droite ? Visee2->BordGaucheGal() : Visee2->BordDroitGal();
  if (droite) {
    if (surSegment)
      AjoutePointDroit(Index(S), I.X, I.Y, S->ZB, S->ZH);
    else
      AjoutePointDroit(Index(S), S->XD, S->YD, S->ZB, S->ZH);
    AjouteArrondiGA(S, e1.PtFin, e2.PtDebut);
  } else {
    if (surSegment)
      AjoutePointGauche(Index(S), I.X, I.Y, S->ZB, S->ZH);
    else
      AjoutePointGauche(Index(S), S->XG, S->YG, S->ZB, S->ZH);
    AjouteArrondiDr(S, e1.PtFin, e2.PtDebut);
  }
}

void tPolyGal::AffecteCoordG(const TAjoutePointReel& ajoute) const {
  for (const TPointTopo& p : BordGauche) ajoute(p.X, p.Y);
  if (remplie) {
    for (auto it = BordDroit.rbegin(); it != BordDroit.rend(); ++it) ajoute(it->X, it->Y);
  } else if (fermee && !BordDroit.empty()) {
    ajoute(BordDroit.back().X, BordDroit.back().Y);
  }
}

void tPolyGal::AffecteCoordD(const TAjoutePointReel& ajoute) const {
  for (const TPointTopo& p : BordDroit) ajoute(p.X, p.Y);
}

// --- Outline list ----------------------------------------------------------------------------------

tPolyGal* TListPolyGal::Ajoute() {
  polys_.push_back(std::make_unique<tPolyGal>());
  return polys_.back().get();
}

namespace {

// One level of a walk: the outline being drawn, the station reached, the shot
// by which it was reached, how far the station's shots were looked at and the
// continuation chosen so far.
struct EtapeParcours {
  tPolyGal* poly;
  TPointSpeleo* point;
  TVisee* avant;
  size_t suivante;
  TVisee* suite;
};

// Whether a shot from the station of `c` carries on the current outline rather
// than opening a branch: the station's only shot, or the first one in the same
// gallery that does not reach an annex station.
bool ContinueLaGalerie(const EtapeParcours& c, const TVisee* s, size_t nbVisees) {
  return nbVisees == 1 || (!c.suite && s->MemeGal() && !s->PtCalc->EstAnnexe());
}

// The walk shared by plan and section outlines, from the levels already on
// `pile`. At each station the unmarked shots leaving it that `retient` keeps
// are looked at in order: the one `continue_` picks carries on the outline
// (marked at once, so that a branch coming back here through a loop does not
// draw it a second time), the others start a branch through `demarre`, which
// pushes a level. Once a station is done, `avance(c, visee)` adds the chosen
// shot to the outline, or with none `termine(c)` ends the outline.
template <class Demarre, class Retient, class Continue, class Avance, class Termine>
void ParcourtPolys(std::vector<EtapeParcours>& pile, Demarre&& demarre, Retient&& retient, Continue&& continue_,
                   Avance&& avance, Termine&& termine) {
  while (!pile.empty()) {
    const size_t n = pile.size() - 1;
    bool branche = false;
    {
      EtapeParcours& c = pile[n];
      const std::vector<TVisee*>& visees = c.point->LstVis;
      while (!branche && c.suivante < visees.size()) {
        TVisee* s = visees[c.suivante++];
        if (!s || s->Marque || !retient(s) || s->PtOrigCalc != c.point || !s->PtCalc) continue;
        if (continue_(c, s, visees.size())) {
          c.suite = s;
          s->Marque = true;
        } else {
          branche = demarre(s->PtCalc, s);
        }
      }
    }
    if (branche) continue;
    EtapeParcours& c = pile[n];
    if (c.suite) {
      TVisee* s = c.suite;
      avance(c, s);
      c.point = s->PtCalc;
      c.avant = s;
      c.suivante = 0;
      c.suite = nullptr;
      continue;
    }
    termine(c);
    c.poly->fermee = c.point->NbRatTot == 0;
    pile.pop_back();
  }
}

}  // namespace

void TListPolyGal::AjoutePolyPlani(TPointSpeleo* vPoint, TVisee* VisAvt) {
  std::vector<EtapeParcours> pile;
  // A new outline from a station (with the shot that reached it).
  auto demarre = [&](TPointSpeleo* p, TVisee* v) {
    if (!p || (!v && !UneViseeNonMarquee(p))) return false;
    tPolyGal* poly = Ajoute();
    if (v) {
      poly->AjoutePointDebutVisee(v);
      v->Marque = true;
    } else {
      poly->AjoutePointSpeleo(p);
    }
    pile.push_back({poly, p, v, 0, nullptr});
    return true;
  };
  demarre(vPoint, VisAvt);
  ParcourtPolys(
      pile, demarre, [](const TVisee*) { return true; }, ContinueLaGalerie,
      [](EtapeParcours& c, TVisee* s) { c.poly->AjouteVisees2Poly(c.avant, s); },
      [](EtapeParcours& c) { c.poly->AjoutePointSpeleo(c.point); });
}

bool TListPolyGal::AjoutePolyAlti(TPointSpeleo* vPoint, TVisee* VisAvt) {
  const bool sensParVisee = Projetee || Orientee;
  bool dessine = false;
  const size_t debut = polys_.size();
  std::vector<EtapeParcours> pile;
  auto demarre = [&](TPointSpeleo* p, TVisee* v) {
    if (!p || (!v && !UneViseeNonMarquee(p))) return false;
    tPolyGal* poly = Ajoute();
    if (v) {
      poly->AjoutePointViseeAlti(v, v->PtOrigCalc);
      v->Marque = true;
      dessine = true;
    }
    pile.push_back({poly, p, v, 0, nullptr});
    return true;
  };
  demarre(vPoint, VisAvt);
  ParcourtPolys(
      pile, demarre, [](const TVisee* s) { return s->EstDansCoupe; },
      [&](const EtapeParcours& c, const TVisee* s, size_t nbVisees) {
        // A change of direction along the section always opens a new outline.
        const bool changeSens = sensParVisee && c.avant && c.avant->SensCoupe != s->SensCoupe;
        return !changeSens && ContinueLaGalerie(c, s, nbVisees);
      },
      [&](EtapeParcours& c, TVisee* s) {
        c.poly->AjoutePointViseeAlti(s, c.point);
        c.poly->remplie = sensParVisee && s->SensCoupe == -1;
        dessine = true;
      },
      [](EtapeParcours& c) {
        if (c.avant) c.poly->AjoutePointViseeAlti(c.avant, c.point);
      });
  // A start whose shots all went into branches (or none of which is in the
  // section) leaves no empty outline behind.
  polys_.erase(std::remove_if(polys_.begin() + static_cast<std::ptrdiff_t>(debut), polys_.end(),
                              [](const std::unique_ptr<tPolyGal>& g) {
                                return g->BordGauche.empty() && g->BordDroit.empty();
                              }),
               polys_.end());
  return dessine;
}

// --- A cave's plan outlines --------------------------------------------------------------------------

std::vector<TPointSpeleo*> EntreesCavite(const survey::TCavite& cavite) {
  std::vector<TPointSpeleo*> entrees;
  if (TPointSpeleo* e = cavite.LEntree()) entrees.push_back(e);
  for (TPointSpeleo* e : cavite.ListeEntrees)
    if (e && std::find(entrees.begin(), entrees.end(), e) == entrees.end()) entrees.push_back(e);
  return entrees;
}

void CalculeContoursPlani(survey::TCavite& cavite, TListPolyGal& liste) {
  liste.Clear();
  liste.Projetee = liste.Orientee = false;
  if (!cavite.CaviteValide()) return;
  cavite.TrieViseesOrdreTopo();
  cavite.DemarqueVisees();
  const std::vector<TPointSpeleo*> entrees = EntreesCavite(cavite);
  // The walk stays in this cave: the other caves' shots at its entrances are
  // marked.
  std::unordered_set<const TVisee*> propres;
  propres.reserve(static_cast<size_t>(cavite.Visees.Count()));
  for (const TVisee* v : cavite.Visees) propres.insert(v);
  for (TPointSpeleo* e : entrees)
    for (TVisee* v : e->LstVis)
      if (v && !propres.count(v)) v->Marque = true;
  for (TPointSpeleo* e : entrees) liste.AjoutePolyPlani(e, nullptr);
}

}  // namespace drawing
