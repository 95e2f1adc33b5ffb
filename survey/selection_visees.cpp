// Selection of a cave's shots by their marks: from a shot onwards, along a
// branch, or up the chain of previous shots to the current selection.
#include <unordered_set>

#include "foundation/point_topo.h"
#include "survey/liste_points.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"

namespace survey {

namespace {

// The previous shot of v (the arriving shot of its origin).
TVisee* Precedente(const TVisee* v) { return v ? v->ViseePreced() : nullptr; }

}  // namespace

void TListeDeVisees::TesteHabiExiste() {
  ViseesHabExistent = false;
  for (const TVisee* v : *this)
    if (!v->ViseesHabi.Vide()) {
      ViseesHabExistent = true;
      return;
    }
}

void TListeDeVisees::MarqueVisees(TVisee* V) {
  DemarqueTous();
  const int debut = IndexOf(V);
  if (debut < 0) return;
  V->Marque = true;
  for (int i = debut + 1; i < Count(); ++i) {
    TVisee* s = nVisee(i);
    const TVisee* avant = Precedente(s);
    if (avant && avant->Marque) s->Marque = true;
  }
}

void TListeDeVisees::GenereListePoints() {
  ListeDesPoints.clear();
  std::unordered_set<const TPointSpeleo*> vus;
  for (const TVisee* v : *this)
    for (TPointSpeleo* p : {v->PtOrigCalc, v->PtCalc})
      if (p && vus.insert(p).second) ListeDesPoints.push_back(p);
}

void TListeDeVisees::CalculeDirectionVisees() {
  GenereListePoints();
  TListedePoints points(false);
  points.Points() = ListeDesPoints;
  DirVisees = points.CalculeDirection();
  DistVisees = points.DistListe;
  PtCentreVisees = points.PtCentre;
}

TVisee* TListeDeVisees::ChercheViseeProche(const foundation::TPointTopo& Pt, double& dVis, double vRayon) const {
  dVis = -1;
  TVisee* proche = nullptr;
  for (TVisee* v : *this) {
    const double d = v->DistVisee(Pt);
    if (!proche || d < dVis) {
      proche = v;
      dVis = d;
    }
  }
  return proche && dVis < vRayon ? proche : nullptr;
}

void TListeDeVisees::SelectViseesBranche() {
  TVisee* s = DerViseeSelectee;
  const int debut = IndexOf(s);
  if (debut < 0) return;
  for (TVisee* v : *this) v->BrancheSelectee = false;
  s->BrancheSelectee = true;
  for (int i = debut + 1; i < Count(); ++i) {
    TVisee* v = nVisee(i);
    const TVisee* avant = Precedente(v);
    if (avant && avant->BrancheSelectee) v->BrancheSelectee = true;
  }
}

void TListeDeVisees::SelectViseesSuivantes() {
  SelectViseesBranche();
  for (TVisee* v : *this)
    if (v->BrancheSelectee) v->Marque = true;
}

void TListeDeVisees::DeselectViseesSuivantes(TVisee* V) {
  const int debut = IndexOf(V);
  if (debut < 0 || !V->Marque) return;
  for (TVisee* v : *this) v->Modifiee = false;
  V->Modifiee = true;
  V->Marque = false;
  for (int i = debut + 1; i < Count(); ++i) {
    TVisee* v = nVisee(i);
    const TVisee* avant = Precedente(v);
    if (avant && avant->Modifiee) {
      v->Modifiee = true;
      v->Marque = false;
    }
  }
  for (TVisee* v : *this) v->Modifiee = false;
  if (DerViseeSelectee && !DerViseeSelectee->Marque) {
    DerViseeSelectee = nullptr;
    for (TVisee* v : *this)
      if (v->Marque) {
        DerViseeSelectee = v;
        break;
      }
  }
}

void TListeDeVisees::SelectVisees(TVisee* V) {
  // A shot of this list only; the last selected shot, when it still is one.
  if (!V || IndexOf(V) < 0) return;
  TVisee* L = IndexOf(DerViseeSelectee) >= 0 ? DerViseeSelectee : nullptr;
  const int n = Count();
  // V must hang on the selection through its previous shots (or the last
  // selected shot on V's).
  if (L) {
    const bool apres = IndexOf(V) >= IndexOf(L);
    TVisee* x = Precedente(apres ? V : L);
    bool relie = false;
    for (int pas = 0; x && pas <= n; ++pas) {
      if (x->Marque || x == V) {
        relie = true;
        break;
      }
      x = Precedente(x);
    }
    if (!relie) {
      DemarqueTous();
      L = nullptr;
    }
  }
  // Extending the selection: after the last selected shot, V toggles (a
  // selected V loses itself and what hangs on it; an unselected one is joined
  // to the selection up through its previous shots); before it, the shots
  // from the last selected one up to V join.
  if (L) {
    if (IndexOf(V) >= IndexOf(L)) {
      if (V->Marque) {
        V->Marque = false;
        for (int i = IndexOf(V) + 1; i < n; ++i) {
          TVisee* s = nVisee(i);
          const TVisee* avant = Precedente(s);
          if (avant && !avant->Marque) s->Marque = false;
        }
      } else {
        TVisee* x = V;
        for (int pas = 0; x && !x->Marque && pas <= n; ++pas) {
          x->Marque = true;
          x = Precedente(x);
        }
        V = x;
      }
    }
    if (V && IndexOf(V) < IndexOf(L)) {
      // Up from the last selected shot to V, both included.
      TVisee* x = L;
      for (int pas = 0; x && pas <= n; ++pas) {
        x->Marque = true;
        if (x == V) break;
        x = Precedente(x);
      }
      L = x;
    }
  } else {
    // No selection to extend: V and every shot that hangs on it.
    MarqueVisees(V);
  }
  // The last selected shot is the later of the two ends.
  if (!(L && V && IndexOf(L) <= IndexOf(V))) L = V;
  DerViseeSelectee = L;
}

void TListeDeVisees::SelectToutesVisees() {
  MarqueTous();
  DerViseeSelectee = Last();
}

void TListeDeVisees::DeSelectToutesVisees() {
  DemarqueTous();
  DerViseeSelectee = nullptr;
}

}  // namespace survey
