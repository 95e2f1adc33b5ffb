#include "drawing/donnees_coupe.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/croquis.h"
#include "drawing/deplacable.h"
#include "foundation/niveau_fichier.h"
#include "foundation/transformation_vue.h"
#include "survey/point_speleo.h"
#include "survey/suppressions.h"
#include "survey/visee.h"

namespace drawing {

using foundation::TFlux;

namespace {

constexpr int32_t kNiveauDecalages = 207;
constexpr int32_t kNiveauDecalDes = 210;
constexpr double Pi = std::numbers::pi;

// An angle difference brought into (-π, π].
double Ecart(double a) {
  const double d = foundation::NormaliseAngle(a);
  return d > Pi ? d - 2 * Pi : d;
}

// The point at that azimuth and distance from P, in the drawing plane
// (X and SlH, Y and Z kept equal).
foundation::TPointTopo Rayonne(const foundation::TPointTopo& P, double azimut, double distance) {
  return PointPlan(P.X + distance * std::sin(azimut), P.Y + distance * std::cos(azimut));
}

}  // namespace

TDonneesCoupe::TDonneesCoupe()
    : PointDeCoupe(std::make_unique<TPointDessin>()), PointPosition(std::make_unique<TPointDessin>()) {
  TypeDeDessin = foundation::TTypeDeDessin::tddCoupe;
}

TDonneesCoupe::~TDonneesCoupe() { TDessinEcart::DelieDonnees(LeDessinCoupe); }

bool TDonneesCoupe::ObjetValide() const {
  for (const TPointDessin* p : {PointDeCoupe.get(), PointPosition.get()})
    if (!p || !p->VisRefDessin || p->VisRefDessin->AEffacer) return false;
  return true;
}

bool TDonneesCoupe::EstSensInverse() const {
  const survey::TVisee* v = PointDeCoupe->VisRefDessin;
  return v && v->PtCalc && v->PtCalc == v->PointStation;
}

void TDonneesCoupe::ChercheViseeDeRef(const TViseesDeRef& vViseesRef) {
  PointDeCoupe->ChercheViseeRef(vViseesRef);
  PointPosition->VisRefDessin = PointDeCoupe->VisRefDessin;
  PointPosition->CalculePositionVisee();
}

void TDonneesCoupe::CalculePoints() {
  PointPosition->CalculeHabillage();
  PointDeCoupe->CalculeHabillage();
  ContexteDessin& d = Dessin();
  GardeValeur<TPointDessin*> ref(d.PointRelatifRef, PointPosition.get());
  GardeValeur<bool> relatif(d.CalculRelatif, true);
  CalculeDessin();
}

void TDonneesCoupe::InverseSensViseeCoupeAlti() {
  const survey::TVisee* coupe = PointDeCoupe->VisRefDessin;
  if (coupe && coupe->Modifiee) {
    PointDeCoupe->AngleHab = foundation::NormaliseAngle(-PointDeCoupe->AngleHab);
    DecalAngle = -DecalAngle;
    CoupeInversee = !CoupeInversee;
  }
  const survey::TVisee* position = PointPosition->VisRefDessin;
  if (position && position->Modifiee) PointPosition->AngleHab = foundation::NormaliseAngle(-PointPosition->AngleHab);
}

void TDonneesCoupe::CalculePointsHabi(double vRayon) {
  LesPointsHabi.Clear();
  if (vRayon <= 0) return;
  const survey::TVisee* coupe = PointDeCoupe->VisRefDessin;
  const survey::TPointSpeleo* S = coupe ? coupe->PointStation : nullptr;
  const survey::TPointSpeleo* T = coupe ? coupe->PointVise : nullptr;
  if (!S || !T) return;
  // Distances in the drawing plane of the cut point (the plan, or Slh and Z
  // in an elevation).
  const bool alti = foundation::EstDessinAlti();
  auto distance = [&](const survey::TPointSpeleo* p) {
    double x, y;
    PositionPlan(*p, alti, x, y);
    return std::hypot(x - PointDeCoupe->Xhab, y - PointDeCoupe->Yhab);
  };
  const survey::TPointSpeleo* station = distance(S) < vRayon ? S : (distance(T) < vRayon ? T : nullptr);
  if (!station || station->LVHabi.empty()) return;
  // The perpendicular to the passage: to the cut shot, to the arriving shot,
  // or to the bisector of the arriving and the only departing shot.
  const survey::TVisee* avant = station->ViseeAvant;
  const survey::TVisee* depart = nullptr;
  int departs = 0;
  for (const survey::TVisee* v : station->LstVis)
    if (v && v->PtOrigCalc == station) {
      ++departs;
      depart = v;
    }
  double e;
  if (!avant) {
    e = coupe->GTVisee() + Pi / 2;
  } else if (departs != 1 || CoupePkTp) {
    e = avant->GTVisee() + Pi / 2;
  } else {
    // Half the turn from the arriving shot, so that two shots on either side
    // of north give the same side as any other pair.
    const double a = avant->GTVisee();
    e = a + Ecart(depart->GTVisee() - a) / 2 + Pi / 2;
  }
  const double s = DessineInverse() ? 1 : -1;
  for (const survey::TViseeHabi* h : station->LVHabi) {
    if (!h) continue;
    const double u = -std::cos(h->GTVisee() - e) * h->LhCalc * s;
    LesPointsHabi.AjoutePoint(u, h->Z - station->Z);
  }
}

void TDonneesCoupe::Enveloppe(foundation::TEnveloppe& Result) {
  const TPointDessin& P = *PointPosition;
  if (DessinCoupeEnCours) {
    Result.XGauche = Result.XDroite = P.Xhab;
    Result.YHaut = Result.YBas = P.Yhab;
    const int n = std::min(4, LesPointsDessin.Count());
    for (int i = 0; i < n; ++i) {
      const TPointDessin* p = LesPointsDessin.UnObjet(i);
      Result.XGauche = std::min(Result.XGauche, p->Xhab);
      Result.XDroite = std::max(Result.XDroite, p->Xhab);
      Result.YBas = std::min(Result.YBas, p->Yhab);
      Result.YHaut = std::max(Result.YHaut, p->Yhab);
    }
  } else {
    foundation::TPointTopo hautGauche, basDroite;
    foundation::XYDessinVersPtTopo(EnvelCoupe.Left, EnvelCoupe.Top, hautGauche);
    foundation::XYDessinVersPtTopo(EnvelCoupe.Right, EnvelCoupe.Bottom, basDroite);
    Result.XGauche = hautGauche.X;
    Result.YHaut = hautGauche.Y;
    Result.XDroite = basDroite.X;
    Result.YBas = basDroite.Y;
  }
  MargeXY = 0.1 * std::max(std::fabs(Result.XDroite - Result.XGauche), std::fabs(Result.YHaut - Result.YBas));
  Result.XCoupeGauche = Result.XGauche - MargeXY / 2;
  Result.XCoupeDroite = Result.XDroite + MargeXY / 2;
  Result.XGauche -= MargeXY;
  Result.XDroite += MargeXY;
  Result.YBas -= 1.5 * MargeXY;
  Result.YHaut += MargeXY;
  AngleFleche = foundation::NormaliseAngle(PointDeCoupe->GisementHab + DecalAngle - Pi / 2 +
                                           (EstSensInverse() ? Pi : 0));
  // The cut line on the main drawing, from the cut point, its halves as long
  // as the section's halves brought back to the main drawing's scale.
  const bool miroir = DessineInverse();
  const double coeff = LeCoeffDessinCoupe != 0 ? LeCoeffDessinCoupe : 1.0;
  const foundation::TPointTopo c = PointDeCoupe->PointTopo();
  const double tour = miroir ? Pi : 0;
  const foundation::TPointTopo premier =
      Rayonne(c, AngleFleche + tour, std::fabs(Result.XGauche - P.Xhab) / coeff + DecalLimDroite);
  const foundation::TPointTopo second =
      Rayonne(c, AngleFleche + Pi + tour, std::fabs(Result.XDroite - P.Xhab) / coeff + DecalLimGauche);
  Result.LimGalGauche = miroir ? second : premier;
  Result.LimGalDroite = miroir ? premier : second;
}

void TDonneesCoupe::CalculeEnveloppeGalerie() {
  const survey::TVisee* v = PointDeCoupe->VisRefDessin;
  const survey::TPointSpeleo* o = v ? v->PtOrigCalc : nullptr;
  const survey::TPointSpeleo* e = v ? v->PtCalc : nullptr;
  if (!o || !e) return;
  // Where the cut point lies along the shot, from its computed origin; a shot
  // without horizontal length takes its origin's dimensions.
  double f = 0;
  if (v->LhCalc != 0)
    f = o == v->PointStation ? PointDeCoupe->LHab / v->LhCalc : (v->LhCalc - PointDeCoupe->LHab) / v->LhCalc;
  auto entre = [f](double a, double b) { return a + f * (b - a); };
  const double R = entre(o->LDCalc, e->LDCalc);
  const double L = entre(o->LGCalc, e->LGCalc);
  const double H = entre(o->HauteurSup, e->HauteurSup);
  const double B = entre(o->HauteurInf, e->HauteurInf);
  const bool miroir = DessineInverse();
  const TPointDessin& P = *PointPosition;
  const double gauche = P.Xhab - (miroir ? R : L);
  const double droite = P.Xhab + (miroir ? L : R);
  const double bas = P.Yhab - B;
  const double haut = P.Yhab + H;
  const double coins[4][2] = {{gauche, bas}, {gauche, haut}, {droite, haut}, {droite, bas}};
  for (int i = 0; i < 4; ++i) {
    auto p = std::make_unique<TPointDessin>();
    p->Xhab = coins[i][0];
    p->Yhab = coins[i][1];
    p->PointOk = true;
    const foundation::TPoint d = foundation::XYVersDessin(p->Xhab, p->Yhab);
    p->XLoc = d.X;
    p->YLoc = d.Y;
    PtsEnvelCoupe[static_cast<size_t>(i)] = LesPointsDessin.Insert(i, std::move(p));
  }
}

void TDonneesCoupe::CalculePointsGalerie() {
  const TPointDessin& P = *PointPosition;
  const foundation::TPointTopo c = PointDeCoupe->PointTopo();
  for (int i = 4; i < LesPointsDessin.Count(); ++i) {
    TPointDessin* p = LesPointsDessin.UnObjet(i);
    p->XYReel();
    const foundation::TPointTopo q = p->PointTopo();
    const double b = foundation::AzimutXY(c, q);
    const double d = foundation::DistanceXY(c, q);
    // The side is taken from the cut shot's own direction.
    const double a = foundation::NormaliseAngle(PointDeCoupe->GisementHab - b);
    p->Xhab = a < Pi ? P.Xhab + d : P.Xhab - d;
    p->Yhab = P.Yhab;
  }
}

void TDonneesCoupe::SauveAnglesDessinCoupe() {
  PointDeCoupe->SauveAngleHab = PointDeCoupe->AngleHab;
  PointPosition->SauveAngleHab = PointPosition->AngleHab;
  SauveCoupeInversee = CoupeInversee;
}

void TDonneesCoupe::RestaureAnglesDessinCoupe() {
  PointDeCoupe->AngleHab = PointDeCoupe->SauveAngleHab;
  PointPosition->AngleHab = PointPosition->SauveAngleHab;
  CoupeInversee = SauveCoupeInversee;
}

std::unique_ptr<TDonneesCoupe> TDonneesCoupe::CopieCoupe() {
  auto coupe = PointDeCoupe->ClonePointDessin();
  auto position = PointPosition->ClonePointDessin();
  if (!coupe || !position) return nullptr;
  auto c = std::make_unique<TDonneesCoupe>();
  CreeCopieDessin(*c);
  c->TypeDeDessin = TypeDeDessin;
  c->LegendeCoupe = LegendeCoupe;
  c->PointDeCoupe = std::move(coupe);
  c->PointPosition = std::move(position);
  c->CoupeInversee = CoupeInversee;
  // The cut line and the frame stay where the user put them.
  c->DecalLimGauche = DecalLimGauche;
  c->DecalLimDroite = DecalLimDroite;
  c->DecalAngle = DecalAngle;
  c->DecalDesX = DecalDesX;
  c->DecalDesY = DecalDesY;
  c->UnDessinPkTp = UnDessinPkTp;
  c->UneCoupePkTp = UneCoupePkTp;
  c->CoupePkTpPlani = CoupePkTpPlani;
  EquivCoupe = c.get();
  return c;
}

void TDonneesCoupe::Nettoie(const survey::TSuppressions& s) {
  TListeDonneesDessin::Nettoie(s);
  if (s.Visees().empty()) return;
  for (TPointDessin* p : {PointDeCoupe.get(), PointPosition.get()})
    if (s.ViseeSupprimee(p->VisRefDessin)) p->VisRefDessin = nullptr;
  for (TPointDessin* p : LesPointsDessin)
    if (s.ViseeSupprimee(p->VisRefDessin)) p->VisRefDessin = nullptr;
}

void TDonneesCoupe::IndexCroquis(int32_t& croquis, int32_t& coupe, int32_t& plan) const {
  croquis = coupe = plan = -1;
  if (CoupePkTp || !UnDessinPkTp) return;
  const TAnnexeDessinCavite* annexe = AnnexeDessin(Dessin().CaviteDessinCourante);
  if (!annexe) return;
  croquis = annexe->DessinsPkTp.IndexOf(UnDessinPkTp);
  if (croquis < 0) return;
  plan = CoupePkTpPlani ? 1 : 0;
  if (UneCoupePkTp)
    coupe = (CoupePkTpPlani ? UnDessinPkTp->pktpCoupesPlani : UnDessinPkTp->pktpCoupesAlti).IndexOf(UneCoupePkTp);
}

bool TDonneesCoupe::EcritObjet(TFlux& f) {
  InitES(f);
  if (!EcrisTexte(LegendeCoupe)) return false;
  if (!TListeDonneesDessin::EcritObjet(f) || !PointDeCoupe->EcritObjet(f) || !PointPosition->EcritObjet(f))
    return ResultObjet = false;
  InitES(f);
  EcrisBoolean(CoupeInversee);
  EcrisReal(DecalLimGauche);
  EcrisReal(DecalLimDroite);
  EcrisReal(DecalAngle);
  EcrisReal(DecalDesX);
  EcrisReal(DecalDesY);
  int32_t croquis, coupe, plan;
  IndexCroquis(croquis, coupe, plan);
  EcrisInteger(croquis);
  EcrisInteger(coupe);
  return EcrisInteger(plan);
}

bool TDonneesCoupe::LitObjet(TFlux& f) {
  const int32_t niveau = foundation::NiveauFichier().VersionFichierLue;
  InitES(f);
  if (!LisTexte(LegendeCoupe)) return false;
  legTmp = LegendeCoupe;
  {
    GardeValeur<bool> sansVisees(Dessin().LectureSansVisees, true);
    if (!TListeDonneesDessin::LitObjet(f)) return ResultObjet = false;
  }
  if (!PointDeCoupe->LitObjet(f) || !PointPosition->LitObjet(f)) return ResultObjet = false;
  InitES(f);
  LisBoolean(CoupeInversee);
  DecalLimGauche = DecalLimDroite = DecalAngle = DecalDesX = DecalDesY = 0;
  if (niveau >= kNiveauDecalages) {
    LisReal(DecalLimGauche);
    LisReal(DecalLimDroite);
    LisReal(DecalAngle);
  }
  if (niveau >= kNiveauDecalDes) {
    LisReal(DecalDesX);
    LisReal(DecalDesY);
  }
  int32_t croquis = -1, coupe = -1, plan = -1;
  LisInteger(croquis);
  LisInteger(coupe);
  if (!LisInteger(plan)) return false;
  UnDessinPkTp = nullptr;
  UneCoupePkTp = nullptr;
  if (croquis >= 0) {
    const TAnnexeDessinCavite* annexe = AnnexeDessin(Dessin().CaviteDessinCourante);
    UnDessinPkTp = annexe ? annexe->DessinsPkTp.UnObjet(croquis) : nullptr;
    if (!UnDessinPkTp) return ResultObjet = false;
    CoupePkTpPlani = plan == 1;
    if (coupe >= 0) {
      UneCoupePkTp = (CoupePkTpPlani ? UnDessinPkTp->pktpCoupesPlani : UnDessinPkTp->pktpCoupesAlti).UnObjet(coupe);
      if (!UneCoupePkTp) return ResultObjet = false;
    }
  }
  return ResultObjet;
}

}  // namespace drawing
