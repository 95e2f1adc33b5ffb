#include "drawing/point_dessin.h"

#include <cmath>

#include "drawing/contexte_dessin.h"
#include "foundation/niveau_fichier.h"
#include "foundation/transformation_vue.h"
#include "survey/contexte_reseau.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"

namespace drawing {

using foundation::TFlux;
using foundation::TPointTopo;

namespace {

constexpr int32_t kNiveauIndexCavite = 509;

TPointTopo PositionStation(const survey::TPointSpeleo& p, bool alti) {
  double x, y;
  PositionPlan(p, alti, x, y);
  return PointPlan(x, y);
}

// Distance and azimuth in the current drawing plane, between plane positions.
double DistancePlan(const TPointTopo& a, const TPointTopo& b) { return foundation::DistanceXY(a, b); }
double AzimutPlan(const TPointTopo& a, const TPointTopo& b, bool alti) {
  return alti ? foundation::AzimutAlti(a, b) : foundation::AzimutXY(a, b);
}

}  // namespace

TPointTopo PointPlan(double x, double y) {
  TPointTopo p;
  p.X = p.SlH = x;
  p.Y = p.Z = y;
  return p;
}

bool TPointDessin::CalculeHabillage() {
  ContexteDessin& d = Dessin();
  PointOk = true;
  if (d.CalculRelatif) {
    const TPointDessin* ref = d.PointRelatifRef;
    if (!ref) return PointOk = false;
    const double distance = LHab * d.CoeffRelatif;
    Xhab = ref->Xhab + distance * std::sin(AngleHab);
    Yhab = ref->Yhab + distance * std::cos(AngleHab);
    Zpt = ref->Zpt;
    return true;
  }
  const survey::TPointSpeleo* S = VisRefDessin ? VisRefDessin->PointStation : nullptr;
  const survey::TPointSpeleo* T = VisRefDessin ? VisRefDessin->PointVise : nullptr;
  // A shot that lost an end cannot place its points.
  PointOk = S && T;
  if (!PointOk) return false;
  const bool alti = foundation::EstDessinAlti();
  const TPointTopo s = PositionStation(*S, alti), t = PositionStation(*T, alti);
  const double g = foundation::NormaliseAngle(AzimutPlan(s, t, alti) + AngleHab);
  Xhab = s.X + LHab * std::sin(g) + d.DecalageDessinX;
  Yhab = s.Y + LHab * std::cos(g) + d.DecalageDessinY;
  GisementHab = g;
  Zpt = S->Z;
  d.XMinDessin = std::fmin(d.XMinDessin, Xhab);
  d.YMinDessin = std::fmin(d.YMinDessin, Yhab);
  d.XMaxDessin = std::fmax(d.XMaxDessin, Xhab);
  d.YMaxDessin = std::fmax(d.YMaxDessin, Yhab);
  return true;
}

void TPointDessin::CalculePositionVisee() {
  const survey::TPointSpeleo* S = VisRefDessin ? VisRefDessin->PointStation : nullptr;
  const survey::TPointSpeleo* T = VisRefDessin ? VisRefDessin->PointVise : nullptr;
  if (!S || !T) return;
  const bool alti = foundation::EstDessinAlti();
  const TPointTopo s = PositionStation(*S, alti), t = PositionStation(*T, alti);
  const TPointTopo p = PointPlan(Xhab, Yhab);
  LHab = DistancePlan(s, p);
  AngleHab = foundation::NormaliseAngle(AzimutPlan(s, p, alti) - AzimutPlan(s, t, alti));
}

void TPointDessin::ChercheViseeRef(const TViseesDeRef& vViseesRef) {
  VisRefDessin = ViseeDeReference(vViseesRef, Xhab, Yhab);
  CalculePositionVisee();
}

void TPointDessin::ChercheViseeCoupe(const TViseesDeRef& vViseesRef) {
  const bool alti = foundation::EstDessinAlti();
  double meilleurSegment = -1, meilleureExtremite = -1;
  survey::TVisee* candidat = nullptr;
  TPointTopo extremite;
  const int n = vViseesRef.Count();
  for (int i = 0; i < n; ++i) {
    survey::TVisee* v = vViseesRef.LaVisee(i);
    if (!v || !v->PointStation || !v->PointVise) continue;
    const TPointTopo s = PositionStation(*v->PointStation, alti), t = PositionStation(*v->PointVise, alti);
    const TPointTopo p = PointPlan(Xhab, Yhab);
    if (foundation::EstSurSegment(s, t, p)) {
      const double d = foundation::DistancePointSegment(s, t, p);
      if (meilleurSegment == -1 || d < meilleurSegment) {
        meilleurSegment = d;
        VisRefDessin = v;
        CalculePositionVisee();
      }
      continue;
    }
    if (VisRefDessin) continue;
    double e = DistancePlan(s, p);
    if (meilleureExtremite == -1 || e < meilleureExtremite) {
      meilleureExtremite = e;
      candidat = v;
      extremite = s;
    }
    e = DistancePlan(t, p);
    if (e < meilleureExtremite) {
      meilleureExtremite = e;
      candidat = v;
      extremite = t;
    }
  }
  if (!VisRefDessin && candidat) {
    // The point goes onto the nearest station, in the drawing's own plane.
    VisRefDessin = candidat;
    Xhab = extremite.X;
    Yhab = extremite.Y;
    CalculePositionVisee();
  }
}

std::unique_ptr<TPointDessin> TPointDessin::ClonePointDessin() const {
  const ContexteDessin& d = Dessin();
  auto p = std::make_unique<TPointDessin>();
  survey::TVisee* v = VisRefDessin;
  if (v && !d.CopieMemeCavite) {
    survey::TVisee* equivalente = v->ViseeEquiv;
    if (v->SensDessinCoupeOr < 0 && equivalente) equivalente->SensDessinCoupeOr = v->SensDessinCoupeOr;
    v = equivalente;
  }
  p->VisRefDessin = v;
  p->LHab = LHab;
  p->AngleHab = AngleHab;
  if (!p->VisRefDessin && !d.CalculRelatif) return nullptr;
  return p;
}

void TPointDessin::TransfoPointDessin(const foundation::THelmert& vHelmert) {
  const TPointTopo r = vHelmert.PointTransfo(PointPlan(Xhab, Yhab));
  Xhab = r.X;
  Yhab = r.Y;
}

TPointTopo TPointDessin::PointTopo() const { return PointPlan(Xhab, Yhab); }

void TPointDessin::XYReel() {
  TPointTopo p;
  foundation::XYDessinVersPtTopo(XLoc, YLoc, p);
  Xhab = p.X;
  Yhab = p.Y;
}

bool TPointDessin::EcritObjet(TFlux& f) {
  int32_t cavite = -1, visee = -1;
  if (VisRefDessin) {
    cavite = VisRefDessin->IndexCavDeLaVis;
    visee = VisRefDessin->IndexFichier;
  }
  InitES(f);
  EcrisInteger(cavite);
  EcrisInteger(visee);
  EcrisReal(LHab);
  return EcrisReal(AngleHab);
}

bool TPointDessin::LitObjet(TFlux& f) {
  const int32_t niveau = foundation::NiveauFichier().VersionFichierLue;
  int32_t cavite = -1, visee = -1;
  InitES(f);
  if (niveau >= kNiveauIndexCavite) LisInteger(cavite);
  LisInteger(visee);
  LisReal(LHab);
  LisReal(AngleHab);
  if (!ResultObjet) return false;
  VisRefDessin = nullptr;
  if (Dessin().LectureSansVisees) return true;
  // Older files name no cave: the shot is in the cave being read, the last
  // whose shots were registered.
  if (niveau < kNiveauIndexCavite)
    cavite = static_cast<int32_t>(survey::LectureReseau().ListesViseesLues.size()) - 1;
  // A reference to a cave or a shot that the document does not hold leaves
  // the point detached: the next pruning drops it.
  VisRefDessin = survey::ViseeLue(cavite, visee);
  return true;
}

}  // namespace drawing
