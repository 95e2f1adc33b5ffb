#pragma once
// Computed networks for the tests of cross sections, elevations and gallery
// outlines: a document network built shot by shot with measured values and
// computed by the network computation, every cave carrying the drawing data.
// The stations' wall points come from MursCarres (installed as the drawing
// model's CalculeDessinCav): square to the arriving shot at each station.
#include <cmath>
#include <memory>
#include <string>

#include "drawing/ports_dessin.h"
#include "survey/cavite.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"
#include "tests/drawing/outils_dessin.h"
#include "tests/survey/reseau_calcul.h"

namespace testcoupes {

using survey::TCavite;
using survey::TPointSpeleo;
using survey::TVisee;
using survey::TViseeHabi;

// Wall points square to the arriving shot (to the first departing shot at a
// station reached by none), at the station's computed widths; ceiling and
// floor at its heights.
inline void MursCarres(TCavite& c) {
  auto murs = [](TPointSpeleo* p) {
    const TVisee* v = p->ViseeAvant;
    if (!v)
      for (const TVisee* s : p->LstVis)
        if (s && s->PtOrigCalc == p) {
          v = s;
          break;
        }
    const double a = v ? v->GTVisee() : 0;
    p->XG = p->X - p->LGCalc * std::cos(a);
    p->YG = p->Y + p->LGCalc * std::sin(a);
    p->XD = p->X + p->LDCalc * std::cos(a);
    p->YD = p->Y - p->LDCalc * std::sin(a);
    p->ZH = p->Z + p->HauteurSup;
    p->ZB = p->Z - p->HauteurInf;
  };
  for (TPointSpeleo* p : c.ListePoints) murs(p);
  for (TPointSpeleo* p : c.ListeEntrees) murs(p);
  if (TPointSpeleo* e = c.LEntree()) murs(e);
}

class Calcul {
 public:
  Calcul() { drawing::PortsDonnees().CalculeDessinCav = MursCarres; }

  // A cave with entrance E1 at the origin (altitude 0).
  TCavite* Cavite(const std::string& nom) {
    n.Surface("E1", 0, 0, 0);
    return n.Cavite(nom);
  }
  TVisee* Visee(TCavite* c, const std::string& de, const std::string& a, double az, double pente, double longueur) {
    return n.Visee(c, de, a, az, pente, longueur);
  }
  // Widths (left, right) and heights (above, below) of a station.
  void Dimensions(TCavite* c, const std::string& nom, double g, double d, double h = 0, double b = 0) {
    TPointSpeleo* p = n.Point(c, nom);
    p->LargeurGA = g;
    p->LargeurDR = d;
    p->HauteurSup = h;
    p->HauteurInf = b;
  }
  TViseeHabi* Habi(TVisee* v, bool surStation, double az, double pente, double longueur) {
    auto h = std::make_unique<TViseeHabi>();
    h->RefPtStat = surStation;
    h->Az = az;
    h->pente = pente;
    h->Long = longueur;
    h->LeLever = v->LeLever;
    return v->AjouteViseeHabi(std::move(h));
  }
  // Regenerates and computes the network, then every cave's wall points.
  void Calcule() {
    n.Regenere();
    n.R().CalculeReseau();
    for (TCavite* c : n.R().Cavites)
      if (!c->EstSurface) MursCarres(*c);
  }
  TPointSpeleo* operator()(TCavite* c, const std::string& nom) const { return n.Station(c, nom); }

  testdessin::Contexte contexte;
  testsurvey::ReseauCalcul n;
};

}  // namespace testcoupes
