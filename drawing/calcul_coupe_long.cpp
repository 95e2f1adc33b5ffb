// The computation of an elevation drawing (developed, oriented or projected)
// of one or several caves: the stations' abscissas, the splay ends, the
// gallery outlines and the stored drawing placed again from its shots.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <unordered_set>
#include <vector>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/croquis.h"
#include "drawing/donnees_coupe_long.h"
#include "drawing/ports_dessin.h"
#include "foundation/arrondi.h"
#include "foundation/transformation_vue.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/liste_points.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "survey/visee.h"

namespace drawing {

using foundation::TTypeDeDessin;
using survey::TCavite;
using survey::TPointSpeleo;
using survey::TVisee;

namespace {

// The sign of a cosine, 0 counting as positive (a shot square to the
// orientation is drawn forwards).
int SigneCos(double c) { return c < 0 ? -1 : 1; }
int Signe(int32_t n) { return n > 0 ? 1 : (n < 0 ? -1 : 0); }

// The kind the section is computed as: its own; a section that holds no
// elevation kind takes the current one, or the developed elevation.
TTypeDeDessin TypeElevation(const TDonneesCoupeLong& coupe) {
  const TTypeDeDessin t = coupe.TypeDeDessin();
  if (foundation::EstDessinAlti(t)) return t;
  const TTypeDeDessin courant = foundation::Vue().TypeDessinCourant;
  return foundation::EstDessinAlti(courant) ? courant : TTypeDeDessin::tddAltiDev;
}

// The distinct computed origins and ends of the reference shots, in shot
// order, and their main direction.  A whole section asks its cave's shot list,
// which keeps both.
double PointsEtDirection(TDonneesCoupeLong& coupe, std::vector<TPointSpeleo*>& points) {
  const TViseesDeRef refs = coupe.ViseesDeRef();
  if (coupe.CavProprio && refs.ListeCavite() == &coupe.CavProprio->Visees) {
    survey::TListeDeVisees& visees = coupe.CavProprio->Visees;
    visees.CalculeDirectionVisees();
    points = visees.ListeDesPoints;
    return visees.DirVisees;
  }
  points.clear();
  std::unordered_set<const TPointSpeleo*> vus;
  for (int i = 0; i < refs.Count(); ++i) {
    const TVisee* v = refs.LaVisee(i);
    if (!v) continue;
    for (TPointSpeleo* p : {v->PtOrigCalc, v->PtCalc})
      if (p && vus.insert(p).second) points.push_back(p);
  }
  survey::TListedePoints liste(false);
  liste.Points() = points;
  return liste.CalculeDirection();
}

// The stations of each shot of a cave, in list order, from the entrance
// outwards: the end's abscissa follows from the origin's.
void CalculeAbscisses(TDonneesCoupeLong& coupe, TTypeDeDessin type, double dir, int e) {
  for (TCavite* c : coupe.ListeCavitesCoupe) {
    for (TVisee* v : c->Visees) {
      TPointSpeleo* S0 = v->PtOrigCalc;
      TPointSpeleo* S1 = v->PtCalc;
      if (!S0 || !S1) continue;
      const double cosinus = std::cos(v->GTVisee() - dir);
      switch (type) {
        case TTypeDeDessin::tddAltiOr: {
          const int32_t sens = v->SensDessinCoupeOr;
          if (std::abs(sens) == 2) {
            v->SensCoupe = static_cast<int8_t>(Signe(sens));
          } else {
            v->SensCoupe = static_cast<int8_t>(SigneCos(cosinus) * Signe(sens));
            // A shot drawn with its projected length does not follow the
            // orientation's side: fixing it would lose that choice.  Only the
            // section's own shots are fixed.
            if (coupe.FixeSensVisee && v->EstDansCoupe && std::abs(sens) < 3) v->SensDessinCoupeOr = 2 * v->SensCoupe;
          }
          if (std::abs(v->SensDessinCoupeOr) > 2)
            S1->Slh = cosinus * v->SensCoupe * v->LhCalc + S0->Slh;
          else
            S1->Slh = v->SensCoupe * v->LhCalc + S0->Slh;
          break;
        }
        case TTypeDeDessin::tddAltiProj: {
          const double m = cosinus * v->LhCalc;
          S1->Slh = S0->Slh + m;
          // The side the shot is drawn on, for its outline.
          v->SensCoupe = static_cast<int8_t>(m < 0 ? -1 : 1);
          const double i = coupe.InclinaisonCoupe;
          if (i != 0) S1->ZCalc = S0->ZCalc + m * std::sin(i) + (S1->Z - S0->Z) * std::cos(i);
          break;
        }
        default:
          v->SensCoupe = static_cast<int8_t>(e * (v->SensCoupeInverse ? -1 : 1));
          S1->Slh = v->SensCoupe * v->LhCalc + S0->Slh;
          break;
      }
      S1->PenteAvt = std::atan2(S1->Slh - S0->Slh, S1->Z - S0->Z);
    }
  }
}

// The splay ends hung at the stations, placed for the section's kind.
void CalculeViseesHabi(const std::vector<TPointSpeleo*>& points, TTypeDeDessin type, double dir) {
  for (TPointSpeleo* p : points)
    for (survey::TViseeHabi* h : p->LVHabi) {
      if (!h || !h->ViseeDeRef) continue;
      switch (type) {
        case TTypeDeDessin::tddAltiOr: h->CalculeDessinOrViseeHabi(dir); break;
        case TTypeDeDessin::tddAltiProj: h->CalculeDessinProjViseeHabi(dir); break;
        // A splay goes the way its shot is drawn.
        default: h->CalculeDessinDevViseeHabi(h->ViseeDeRef->SensCoupe); break;
      }
      if (const TPointSpeleo* s = h->PtStation()) h->Z = s->Z + h->DhCalc;
    }
}

// Stations in the section, their shots in turn order.
void MarquePointsDansCoupe(const std::vector<TPointSpeleo*>& points) {
  for (TPointSpeleo* p : points) {
    p->PointsDansCoupe = true;
    if (p->LstVis.size() > 1)
      std::stable_sort(p->LstVis.begin(), p->LstVis.end(), [](const TVisee* a, const TVisee* b) {
        return foundation::Arrondi((a->AngleTri - b->AngleTri) * 10000) < 0;
      });
  }
}

void CalculeContoursAlti(TDonneesCoupeLong& coupe, const std::vector<TPointSpeleo*>& points) {
  const TViseesDeRef refs = coupe.ViseesDeRef();
  for (int i = 0; i < refs.Count(); ++i)
    if (TVisee* v = refs.LaVisee(i)) v->Marque = false;
  // The walks stay among the caves drawn: other caves' shots at the surface
  // points they pass are marked.
  std::unordered_set<const TCavite*> cavites(coupe.ListeCavitesCoupe.begin(), coupe.ListeCavitesCoupe.end());
  for (TPointSpeleo* p : points)
    if (p->EstPointSurface())
      for (TVisee* v : p->LstVis)
        if (v && !cavites.count(v->CavDeLaVis)) v->Marque = true;
  TListPolyGal& contours = coupe.ListePolyGal;
  if (coupe.Partielle) {
    bool construit = true;
    while (construit) {
      construit = false;
      for (const TViseeCoupe* e : coupe.ViseesCoupe) {
        TVisee* v = e->UneVisee;
        if (v && !v->Marque && v->EstDansCoupe && v->PtOrigCalc && contours.AjoutePolyAlti(v->PtOrigCalc, nullptr))
          construit = true;
      }
    }
    return;
  }
  if (const TCavite* c = CaviteDeReference(coupe))
    for (TPointSpeleo* e : EntreesCavite(*c)) contours.AjoutePolyAlti(e, nullptr);
}

// The elevation sketches of the owner that follow this section.
void CalculeCroquisAlti(TDonneesCoupeLong& coupe) {
  const TAnnexeDessinCavite* annexe = AnnexeDessin(coupe.CavProprio);
  if (!annexe) return;
  for (TDessinPkTp* s : annexe->DessinsPkTp) {
    if (s->DessinAltiRef != &coupe) continue;
    s->pktpDessinAltiOr.CalculeDessin();
    for (TCoupePkTp* c : s->pktpCoupesAlti) {
      c->LeCoeffDessinCoupe = 1.0;
      c->CalculePoints();
    }
  }
}

}  // namespace

TCavite* CaviteDeReference(const TDonneesCoupeLong& coupe) {
  const std::vector<TCavite*>& cavites = coupe.ListeCavitesCoupe;
  const survey::TReseau* reseau = survey::Document().ReseauCourant;
  TCavite* active = reseau ? reseau->LaCaviteActive : nullptr;
  if (active && std::find(cavites.begin(), cavites.end(), active) != cavites.end()) return active;
  return cavites.empty() ? coupe.CavProprio : cavites.front();
}

void ProjetteCavitesCoupe(TDonneesCoupeLong& coupe, double DirectionCav) {
  if (coupe.ListeCavitesCoupe.size() <= 1) return;
  TCavite* reference = CaviteDeReference(coupe);
  const TPointSpeleo* E0 = reference ? reference->LEntree() : nullptr;
  if (!E0) return;
  for (TCavite* c : coupe.ListeCavitesCoupe) {
    // The entrance's offset from the reference entrance, projected; counted
    // from the reference entrance's own abscissa.
    TPointSpeleo* E = c->LEntree();
    if (c != reference && E && E != E0) {
      const foundation::TPointTopo a = E0->PtTopo(), b = E->PtTopo();
      E->Slh = E0->Slh + std::cos(foundation::AzimutXY(a, b) - DirectionCav) * foundation::DistanceXY(a, b);
    }
    for (TVisee* v : c->Visees)
      if (v->PtOrigCalc && v->PtCalc)
        v->PtCalc->Slh = std::cos(v->GTVisee() - DirectionCav) * v->LhCalc + v->PtOrigCalc->Slh;
  }
}

double DirectionViseesCoupe(TDonneesCoupeLong& coupe) {
  std::vector<TPointSpeleo*> points;
  return PointsEtDirection(coupe, points);
}

void CalculeDessinCoupeLong(TDonneesCoupeLong& coupe) {
  const TTypeDeDessin type = TypeElevation(coupe);
  foundation::GardeTypeDessin garde(type);
  ContexteDessin& d = Dessin();
  // The caves of the section, every shot and station out of it.
  coupe.GenereListeCavitesCoupe();
  for (TCavite* c : coupe.ListeCavitesCoupe) {
    if (PortsDonnees().CalculeDessinCav) PortsDonnees().CalculeDessinCav(*c);
    for (TVisee* v : c->Visees) v->EstDansCoupe = false;
    for (TPointSpeleo* p : c->ListePoints) p->PointsDansCoupe = false;
  }
  // The gallery outlines start empty, for the section's kind.
  coupe.ListePolyGal.Clear();
  coupe.ListePolyGal.Projetee = type == TTypeDeDessin::tddAltiProj;
  coupe.ListePolyGal.Orientee = type == TTypeDeDessin::tddAltiOr;
  // The main direction.  A developed elevation whose main direction is exactly north or south
  // is drawn to the right rather than without any horizontal extent.
  std::vector<TPointSpeleo*> points;
  double dir = PointsEtDirection(coupe, points);
  if (type != TTypeDeDessin::tddAltiDev && coupe.AngleCoupeProj > -900) dir = coupe.AngleCoupeProj;
  const double sinus = std::sin(dir);
  const int e = sinus < 0 ? -1 : 1;
  // A projected elevation: the caves projected onto its plane.
  if (type == TTypeDeDessin::tddAltiProj) ProjetteCavitesCoupe(coupe, dir);
  // The reference shots are in the section.
  const TViseesDeRef refs = coupe.ViseesDeRef();
  for (int i = 0; i < refs.Count(); ++i)
    if (TVisee* v = refs.LaVisee(i)) v->EstDansCoupe = true;
  // The abscissae of the stations.
  CalculeAbscisses(coupe, type, dir, e);
  // The splay ends at the section's scale.
  d.CoeffRelatif = coupe.CoeffDessinCoupes;
  CalculeViseesHabi(points, type, dir);
  // The stations in the section.
  MarquePointsDansCoupe(points);
  // The outlines of the galleries.
  CalculeContoursAlti(coupe, points);
  // The drawing itself.  The stations stay where they are from here on: the drawing and the
  // sketches share one index of the shots.
  GardeIndexVisees index;
  InitEtendueDessin();
  if (coupe.CavProprio) d.CaviteDessinCourante = coupe.CavProprio;
  coupe.CalculeDessin();
  d.CoeffRelatif = 1.0;
  // A whole section: its elevation sketches.
  if (!coupe.Partielle) CalculeCroquisAlti(coupe);
  // The section's scale stays for its display.
  d.CoeffRelatif = coupe.CoeffDessinCoupes;
}

}  // namespace drawing
