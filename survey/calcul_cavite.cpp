// The computation of one cave: coordinates of the stations from the reduced
// shots with the meridian convergence and the corrections of adjustments and
// loops, precisions, developed lengths and heights, splay ends, the developed
// elevation, the extremes, and the cave's geographic position.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/point_topo.h"
#include "foundation/utilitaires.h"
#include "projections/services.h"
#include "survey/calcul_reseau.h"
#include "survey/cavite.h"
#include "survey/rapport_calcul.h"
#include "survey/reseau.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;

namespace {

constexpr double Pi = std::numbers::pi;
// Standard deviation of the direction from the entrance to a station.
constexpr double SigmaDirection = 0.1 * Pi / 200;

bool CommencePar(std::string_view texte, std::string_view debut) {
  return texte.size() >= debut.size() && texte.substr(0, debut.size()) == debut;
}

// The Lambert zones whose convergence the service computes with the Lambert flag.
bool EstZoneLambert(std::string_view nom) {
  return nom == "LT 4" || nom == "LT 3" || nom == "LT 2+" || nom == "LT 2" || nom == "LT 1";
}

// The shot ignores the convergence: no declination, or the former convention.
bool SansConvergence(const TValeurVisee& v) { return v.SansDecli() || !v.LeLever || v.LeLever->AncienneDecli; }

// The convergence of the cave in the current pass, computed once per entrance.
double ConvergenceDeLaPasse(TCavite& c, bool recalcule) {
  ContexteCalcul& k = Calcul();
  const TPointSpeleo* entree = c.LEntree();
  const auto it = k.Convergences.find(&c);
  if (!recalcule && it != k.Convergences.end() && it->second.first == entree) return it->second.second;
  const double g = c.CalculeConvergence();
  k.Convergences[&c] = {entree, g};
  return g;
}

// Some trip of the cave has its declination computed at the entrance.
bool DeclinaisonAuto(const TCavite& c) {
  for (const TLever* l : c.Levers)
    if (l->DecliAuto) return true;
  return false;
}

// The cave and stations of a shot, for a warning.
std::string DesignationVisee(const TCavite& c, const TVisee& v) {
  auto nom = [](const TPointSpeleo* p) { return p ? p->DesignPTopo : std::string("?"); };
  return foundation::RemplaceMarques(Msg(IdMsg::CalculDesignationVisee),
                                     {c.NomCavite, nom(v.PointStation), nom(v.PointVise)});
}

}  // namespace

// --- Network system -----------------------------------------------------------------------

TSystemeCalcul SystemeCalculDe(const TCavite& c) {
  TSystemeCalcul s;
  if (const TReseau* r = c.ReseauProprio) {
    s.Projection = r->Projection;
    s.NumFuseau = r->NumFuseau;
    s.CalculProjection = r->CalculProjection;
  }
  return s;
}

// --- Precision ----------------------------------------------------------------------------

void CalculePrecisionPoint(TPointSpeleo& P, const TPointSpeleo* entree) {
  const double sx = std::sqrt(std::max(P.PrecisX, 0.0));
  const double sy = std::sqrt(std::max(P.PrecisY, 0.0));
  const double dX = entree ? P.X - entree->X : 0;
  const double dY = entree ? P.Y - entree->Y : 0;
  const double D = std::hypot(dX, dY);
  if (D == 0) {
    P.PrecisTotX = sx;
    P.PrecisTotY = sy;
    return;
  }
  const double theta = foundation::AzimutXY(entree->PtTopo(), P.PtTopo());
  const double le_long = (dX * sx + dY * sy) / D;
  const double q = (dY * sx - dX * sy) / (D * D);
  const double travers = std::sqrt(q * q + SigmaDirection * SigmaDirection) * D;
  P.PrecisTotX = std::fabs(std::sin(theta) * le_long + std::cos(theta) * travers);
  P.PrecisTotY = std::fabs(std::cos(theta) * le_long - std::sin(theta) * travers);
}

void CalculePrecisionPoint(TPointSpeleo* P) {
  if (!P) return;
  const TCavite* c = TCavite::CaviteDuPoint(P);
  CalculePrecisionPoint(*P, c ? c->LEntree() : nullptr);
}

// --- Coordinates ----------------------------------------------------------------------------

void TCavite::CalculeTousPoints(bool Init) {
  TAvertissementsCalcul avertissements;
  CalculeTousPoints(Init, avertissements);
  SignaleAvertissements(avertissements);
}

void TCavite::CalculeTousPoints(bool Init, TAvertissementsCalcul& avertissements) {
  ContexteCalcul& k = Calcul();
  // The grid convergence: once per cave and pass (and again with the shots reduced anew).
  const double convergence = ConvergenceDeLaPasse(*this, Init);
  k.ConvergenceCourante = convergence;
  const TPointSpeleo* entree = LEntree();
  // Each shot in computation order places its end from its origin, with the
  // corrections of the adjustments and loops (reduced anew and cleared of them
  // first when Init).
  for (TVisee* v : Visees) {
    if (Init) {
      v->CoeffsCompens = nullptr;
      v->ValeurBouclage = nullptr;
      v->NumCompens = -1;
      v->PointRefCompens = v->PtOrigCalc;
      if (v->PtCalc && v->PtCalc->PtBoucleAsso && k.Bouclages.AjouteJonctionBouclage)
        k.Bouclages.AjouteJonctionBouclage(v->PtCalc, v->PtCalc->PtBoucleAsso);
      v->CalculeVisee(avertissements);
    }
    TPointSpeleo* o = v->PtOrigCalc;
    TPointSpeleo* p = v->PtCalc;
    if (!o || !p) continue;
    v->AngleHoriz = SansConvergence(*v) ? Pi / 2 - v->AzCalc : Pi / 2 - (v->AzCalc - convergence);
    v->DeltaL = v->LhCalc;
    v->DeltaH = v->DhCalc;
    const double s = v->PointRefCompens == v->PtOrigCalc ? 1.0 : -1.0;
    if (const TValeurCompens* a = v->CoeffsCompens) {
      v->NumCompens = a->IndexCompens;
      if (a->typeCompens != CompensAlti) {
        v->DeltaL = static_cast<double>(v->DeltaL * a->CoeffLong);
        v->AngleHoriz = static_cast<double>(v->AngleHoriz - a->CorrectAngle);
      }
      if (a->typeCompens != CompensPlani) v->DeltaH = static_cast<double>(s * v->DeltaL * a->CoeffHaut + v->DhCalc);
    }
    double dX = std::cos(v->AngleHoriz) * v->DeltaL;
    double dY = std::sin(v->AngleHoriz) * v->DeltaL;
    if (const TValeurCompens* b = v->ValeurBouclage; b && !Init) {
      v->DeltaH = static_cast<double>(v->DeltaH + s * v->DeltaL * b->CoeffHaut);
      // The plan corrections turn with the shot like the height correction:
      // a shot walked the other way than when they were computed (the user's
      // entrance restored) takes them reversed.
      dX = static_cast<double>(dX + s * v->DeltaL * b->CoeffX);
      dY = static_cast<double>(dY + s * v->DeltaL * b->CoeffY);
      v->NumBoucle = b->IndexCompens;
    }
    if (!p->EstPointSurface()) {
      // A refused shot or an origin without coordinates leaves the end
      // without coordinates too; so does a result that is not a number.
      if (v->MesuresImpossibles || o->CoordonneesIndefinies()) {
        p->RendCoordonneesIndefinies();
      } else {
        p->X = o->X + dX;
        p->Y = o->Y + dY;
        p->Z = o->Z + v->DeltaH + v->AjustementZ;
        p->ZCalc = p->Z;
        if (!std::isfinite(p->X) || !std::isfinite(p->Y) || !std::isfinite(p->Z)) {
          avertissements.push_back({v, foundation::RemplaceMarques(Msg(IdMsg::CalculCoordonneesNonFinies),
                                                                   {DesignationVisee(*this, *v), p->DesignPTopo})});
          p->RendCoordonneesIndefinies();
        }
      }
    }
    if (p->ViseeAvant == v) {
      p->Slh = o->Slh + v->DeltaL;
      p->SLAffichee = p->Slh;
      p->PrecisX = o->PrecisX + v->IncertX * v->IncertX;
      p->PrecisY = o->PrecisY + v->IncertY * v->IncertY;
      p->PrecisZ = o->PrecisZ + v->IncertZ * v->IncertZ;
      CalculePrecisionPoint(*p, entree);
    }
  }
}

// --- Convergence and declination ---------------------------------------------------------------

double TCavite::CalculeConvergence() {
  const TSystemeCalcul systeme = SystemeCalculDe(*this);
  double convergence = 0;
  const TPointSpeleo* e = LEntree();
  if (CaviteValide() && e && systeme.CalculProjection && !systeme.Projection.empty()) {
    bool calculee = true;
    const double yc = projections::CorrigeYLambert(systeme.Projection, e->Y);
    if (CommencePar(systeme.Projection, "UTM")) {
      convergence = projections::ConvergenceUTM(systeme.NumFuseau, e->X, yc);
    } else {
      std::string datum;
      int index = -1;
      bool multiple = false;
      projections::ChercheProjection(systeme.Projection, index, multiple);
      // A multi-zone system is read in the network's zone.
      const int32_t indice = EstZoneLambert(systeme.Projection) ? 1 : (multiple ? systeme.NumFuseau : 0);
      double g = 0;
      if (projections::DatumProjection(systeme.Projection, datum) &&
          projections::ConvergenceProjectionNum(systeme.Projection, datum, e->X, yc, indice, g))
        convergence = g;
      else
        calculee = false;
    }
    if (!std::isfinite(convergence)) {
      convergence = 0;
      calculee = false;
    }
    // The system cannot be resolved (or fails at the entrance): the shots are
    // placed without convergence, and the user is told which system it is.
    if (!calculee)
      AvertitSysteme(foundation::RemplaceMarques(Msg(IdMsg::CalculConvergenceImpossible), {systeme.Projection}));
  }
  double lat = 0, lon = 0;
  if (EntreeWGS(lat, lon)) {
    const TPointSpeleo* position = PositionEntree();
    const double altitude = position ? position->Z : 0;
    for (TLever* l : Levers) l->CalculeDecliAuto(lat, lon, altitude);
  } else if (!systeme.Projection.empty() && (CaviteValide() ? e : Calcul().PtSurfaceSaisie) && DeclinaisonAuto(*this)) {
    // A position that exists but cannot be converted: the automatic
    // declinations keep their last value, and the user is told why.
    AvertitSysteme(foundation::RemplaceMarques(Msg(IdMsg::CalculDeclinaisonImpossible), {systeme.Projection}));
  }
  return convergence;
}

void TCavite::CalculeLesLevers() { CalculeConvergence(); }

const TPointSpeleo* TCavite::PositionEntree() const {
  return CaviteValide() ? LEntree() : Calcul().PtSurfaceSaisie;
}

bool TCavite::EntreeWGS(double& lat, double& lon) const {
  const TPointSpeleo* e = PositionEntree();
  if (!e) return false;
  const TSystemeCalcul systeme = SystemeCalculDe(*this);
  foundation::TPointTopo p = e->PtTopo();
  if (!projections::PtTopoVersWGS84(p, systeme.Projection, systeme.NumFuseau)) return false;
  if (!std::isfinite(p.LatPt) || !std::isfinite(p.LongPt)) return false;
  lat = p.LatPt;
  lon = p.LongPt;
  return true;
}

bool TCavite::EntreeWGSStr(std::string& LatStr, std::string& LongStr) const {
  LatStr.clear();
  LongStr.clear();
  double lat = 0, lon = 0;
  if (!EntreeWGS(lat, lon)) return false;
  auto degres = [](double a) { return foundation::OteBlancs(foundation::ReelEnStr(std::fabs(a) * 180 / Pi, 0, 4)); };
  LatStr = Msg(IdMsg::CalculLatitude) + degres(lat) + Msg(lat < 0 ? IdMsg::CalculSud : IdMsg::CalculNord);
  LongStr = Msg(IdMsg::CalculLongitude) + degres(lon) + Msg(lon < 0 ? IdMsg::CalculOuest : IdMsg::CalculEst);
  return true;
}

// --- Derived values ---------------------------------------------------------------------------

void TCavite::CalculeElementsAnnexes() {
  TAvertissementsCalcul avertissements;
  CalculeElementsAnnexes(avertissements);
  SignaleAvertissements(avertissements);
}

void TCavite::CalculeElementsAnnexes(TAvertissementsCalcul& avertissements) {
  TPointSpeleo* e = LEntree();
  TPointSpeleo* r = RefCalculAlti && ListeEntrees.Contient(RefCalculAlti) ? RefCalculAlti : e;
  if (CaviteValide() && r) r->DzPt = 0;
  if (e) e->Slp = 0;
  // The splays of this cave turn with this cave's convergence.
  Calcul().ConvergenceCourante = ConvergenceDeLaPasse(*this, false);
  for (TVisee* v : Visees) {
    TPointSpeleo* o = v->PtOrigCalc;
    TPointSpeleo* p = v->PtCalc;
    if (o && p) {
      if (p->ViseeAvant == v) {
        const double h = v->DeltaH + v->AjustementZ;
        p->Slp = o->Slp + std::sqrt(v->DeltaL * v->DeltaL + h * h);
        p->Dhh = o->Dhh;
        p->Dhb = o->Dhb;
        if (h > 0)
          p->Dhh += h;
        else
          p->Dhb += h;
        p->PrecisTotZ = std::sqrt(std::max(p->PrecisZ, 0.0));
        auto relative = [](double& cible, double origine, double increment) {
          cible = cible == -1 ? 0 : origine + increment * increment;
        };
        relative(p->PrecisRelX, o->PrecisRelX, v->IncertX);
        relative(p->PrecisRelY, o->PrecisRelY, v->IncertY);
        relative(p->PrecisRelZ, o->PrecisRelZ, v->IncertZ);
      }
      if (r) p->DzPt = p->CoordonneesIndefinies() || r->CoordonneesIndefinies() ? foundation::ValeurIndefinie : p->Z - r->Z;
    }
    for (TViseeHabi* h : v->ViseesHabi) h->CalculeViseeHabi(avertissements);
  }
}

// --- Developed elevation ----------------------------------------------------------------------

void TCavite::CalculeCoupeDevel(TAvertissementsCalcul& avertissements) {
  TCoupeDeveloppee& coupe = Calcul().CoupeDevel;
  coupe.Vide();
  if (!CaviteValide()) return;
  const std::vector<TPointSpeleo*> entrees = ListeEntrees.Points();
  for (TPointSpeleo* p : ListePoints) p->ZPlan = p->Z;
  for (TPointSpeleo* p : entrees) p->ZPlan = p->Z;
  for (TVisee* v : Visees) v->NumCompens = v->NumBoucle = -1;
  TPointSpeleo* depart = LEntree();
  for (TPointSpeleo* e : entrees)
    if (e != depart && e != EntreeSelectee) CreePointEntreeVirtuel(e);
  if (PointsVirtuelsModifies) ReGenereListePoints(false, avertissements);
  CreePointsJonctionVirtuels(avertissements);
  CalculeTousPoints(true, avertissements);
  for (TPointSpeleo* p : ListePoints) {
    p->Z = p->ZPlan;
    p->ZCalc = p->ZPlan;
  }
  CalculeElementsAnnexes(avertissements);
  // The ends of every shot as developed, then the cave without its virtual
  // points again: the elevation views read the shots' ends from the context.
  coupe.Cavite = this;
  coupe.Visees.reserve(static_cast<size_t>(Visees.Count()));
  for (const TVisee* v : Visees) {
    TExtremitesCoupe x;
    if (v->PtOrigCalc) x.Origine = v->PtOrigCalc->PtTopo();
    if (v->PtCalc) x.Fin = v->PtCalc->PtTopo();
    coupe.Visees[v] = x;
  }
  SupprimeTousPointsEntreeVirtuels();
  SupprimePointsVirtuels(avertissements);
}

// --- Extremes and dimensions ------------------------------------------------------------------

void TCavite::CalculePointsExtremes() {
  foundation::InitMinMax(XMinCav, YMinCav, XMaxCav, YMaxCav);
  foundation::InitMinMax(SlMinCav, ZMinCav, SlMaxCav, ZMaxCav);
  for (const TPointSpeleo* p : ListePoints) {
    if (!p->PtRattache || p->CoordonneesIndefinies()) continue;
    foundation::MajMinMax(XMinCav, XMaxCav, p->X);
    foundation::MajMinMax(YMinCav, YMaxCav, p->Y);
    foundation::MajMinMax(SlMinCav, SlMaxCav, p->Slh);
    foundation::MajMinMax(ZMinCav, ZMaxCav, p->Z);
  }
}

void TCavite::CalculeGDHB() {
  CalculeTousPoints(true);
  CalculeGDHBPoint(LEntree());
  for (TPointSpeleo* p : ListePoints) CalculeGDHBPoint(p);
}

double TCavite::EchelleParDefaut() const { return Annexe ? Annexe->EchelleParDefaut() : -1; }

}  // namespace survey
