// Reduction of shots: what was read underground (azimuth, slope or height
// difference, length or thread-counter readings, in the trip's units) becomes
// the computed azimuth, slope, lengths and height difference, oriented from
// the end the walk reached first, with an uncertainty vector; and the
// geometric services of shots and splays built on the reduced values.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/point_topo.h"
#include "foundation/utilitaires.h"
#include "survey/cavite.h"
#include "survey/galerie.h"
#include "survey/instrument.h"
#include "survey/lever.h"
#include "survey/point_speleo.h"
#include "survey/rapport_calcul.h"
#include "survey/visee.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TPointTopo;
using foundation::TSegment;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double DegreEnRad = Pi / 180;
constexpr double GradeEnRad = Pi / 200;

// Standard deviations of a precision class: station placement (m), azimuth and
// slope (degrees), length (m).
struct ClassePrecision {
  double Station, Azimut, Pente, Longueur;
};
constexpr ClassePrecision kClassesPrecision[7] = {
    {1, 10, 10, 1},         {1, 5, 5, 0.5},          {0.5, 3, 3, 0.5},          {0.1, 2, 2, 0.1},
    {0.05, 1, 1, 0.05},     {0.02, 0.25, 0.25, 0.02}, {0.01, 0.001, 0.001, 0.01},
};

const TLever& LeverDe(const TValeurVisee& v) { return v.LeLever ? *v.LeLever : *LeverParDefaut(); }

std::string NomPoint(const TPointSpeleo* p) { return p ? p->DesignPTopo : std::string("?"); }

// The cave and stations of a shot, for a warning.
std::string DesignationVisee(const TValeurVisee& v) {
  const TVisee* principale = nullptr;
  std::string debut, fin;
  if (v.EstHabi) {
    const auto& h = static_cast<const TViseeHabi&>(v);
    principale = h.ViseeDeRef;
    debut = NomPoint(h.PtStation());
    fin = "*";
  } else {
    principale = static_cast<const TVisee*>(&v);
    debut = NomPoint(principale->PointStation);
    fin = NomPoint(principale->PointVise);
  }
  std::string cavite;
  const TCavite* c = principale ? principale->CavDeLaVis : nullptr;
  // During the first walk of a cave its shots do not know it yet.
  for (const TPointSpeleo* p : {principale ? principale->PointStation : nullptr,
                                principale ? principale->PointVise : nullptr})
    if (!c && p && !p->EstPointSurface()) c = TCavite::CaviteDuPoint(p);
  if (c) cavite = c->NomCavite;
  return foundation::RemplaceMarques(Msg(IdMsg::CalculDesignationVisee), {cavite, debut, fin});
}

// The reduction of the measures, common to main shots and splays: lengths and
// height difference by entry type, the reversed slope, the threshold on the
// horizontal length, the slope.  precedent is the shot whose depth reading
// comes before this one's (type 4).  A warning goes to avertissements.
void ReduitMesures(TValeurVisee& v, const TValeurVisee* precedent, TAvertissementsCalcul& avertissements) {
  const TLever& l = LeverDe(v);
  // The calibration factor (none for a length read on a thread counter).
  const double k = (l.Topofil && !v.SaisieTopoFil) ? 1.0 : l.EtalonL;
  // Lengths.
  const bool compteur = v.SaisieTopoFil;
  const bool horizontale = v.Typesaisie == SaisiePenteLongueurHoriz || v.Typesaisie == SaisieDenivLongueurHoriz;
  if (compteur) {
    v.Long = 0;
    const double mesure = k * std::fabs(static_cast<double>(v.TopofilDeb) - static_cast<double>(v.TopofilFin));
    if (horizontale)
      v.LhCalc = mesure;
    else
      v.LCalc = mesure;
  } else {
    v.TopofilDeb = v.TopofilFin = 0;
    v.LCalc = k * v.Long;
    v.LhCalc = k * v.LH;
  }
  // Length and height difference by entry type.
  switch (v.Typesaisie) {
    case SaisiePenteLongueurHoriz: {
      v.Deniv = v.Long = 0;
      v.DhCalc = std::tan(v.PEnRad()) * v.LhCalc;
      v.LCalc = std::sqrt(v.LhCalc * v.LhCalc + v.DhCalc * v.DhCalc);
      break;
    }
    case SaisieDenivLongueur: {
      v.pente = v.LH = 0;
      if (!compteur) v.LCalc = v.Long;
      v.DhCalc = v.Deniv;
      const double d = v.LCalc * v.LCalc - v.DhCalc * v.DhCalc;
      if (d >= 0) {
        v.LhCalc = std::sqrt(d);
      } else {
        // No real horizontal length: the shot is taken as vertical and the
        // caller is told.
        v.LhCalc = 0;
        avertissements.push_back(
            {&v, foundation::RemplaceMarques(Msg(IdMsg::CalculDenivSuperieureLongueur),
                                             {DesignationVisee(v),
                                              foundation::OteBlancs(foundation::ReelEnStr(v.DhCalc, 0, 2)),
                                              foundation::OteBlancs(foundation::ReelEnStr(v.LCalc, 0, 2))})});
      }
      break;
    }
    case SaisieDenivLongueurHoriz: {
      v.pente = v.Long = 0;
      if (!compteur) v.LhCalc = v.LH;
      v.DhCalc = v.Deniv;
      v.LCalc = std::sqrt(v.LhCalc * v.LhCalc + v.DhCalc * v.DhCalc);
      break;
    }
    case SaisieProfondeurLongueur: {
      v.pente = v.LH = 0;
      if (!compteur) v.LCalc = v.Long;
      v.DhCalc = v.Deniv;
      if (precedent && precedent->Typesaisie == SaisieProfondeurLongueur) v.DhCalc -= precedent->Deniv;
      v.LhCalc = std::fabs(v.LCalc) > std::fabs(v.DhCalc) ? std::sqrt(v.LCalc * v.LCalc - v.DhCalc * v.DhCalc)
                                                          : v.LCalc;
      break;
    }
    default: {  // 0, and any other value read from a file
      v.Deniv = v.LH = 0;
      const double p = v.PEnRad();
      v.DhCalc = std::sin(p) * v.LCalc;
      v.LhCalc = std::cos(p) * v.LCalc;
      break;
    }
  }
  // The reversed slope, the threshold on the horizontal length, the slope.
  if (v.InversionEffective(v.InvP)) v.DhCalc = -v.DhCalc;
  if (v.LhCalc < 0.001) v.LhCalc = 0;
  if (v.LhCalc == 0)
    v.PCalc = v.DhCalc < 0 ? -Pi / 2 : Pi / 2;
  else
    v.PCalc = Pi / 2 - std::atan2(v.LhCalc, v.DhCalc);
}

// The longest reduced length or height difference the computation takes:
// beyond it lies no survey, and sums and squares of such values stay finite.
constexpr double LongueurCalculMax = 1e6;

// Refuses reduced values that no survey can give (not finite, or beyond
// LongueurCalculMax), such as those of absurd readings: the shot's reduced
// values become zero, it is marked and the caller is told.
void RefuseMesuresImpossibles(TValeurVisee& v, TAvertissementsCalcul& avertissements) {
  auto possible = [](double x) { return std::isfinite(x) && std::fabs(x) <= LongueurCalculMax; };
  v.MesuresImpossibles = !(possible(v.LCalc) && possible(v.LhCalc) && possible(v.DhCalc) && std::isfinite(v.PCalc) &&
                           std::isfinite(v.AzCalc));
  if (!v.MesuresImpossibles) return;
  avertissements.push_back({&v, foundation::RemplaceMarques(Msg(IdMsg::CalculMesuresImpossibles),
                                                            {DesignationVisee(v), foundation::ReelEnTexteExact(v.LCalc),
                                                             foundation::ReelEnTexteExact(v.DhCalc)})});
  v.LCalc = v.LhCalc = v.DhCalc = v.PCalc = 0;
  if (!std::isfinite(v.AzCalc)) v.AzCalc = 0;
}

bool EstTopofil(const TInstrument& i) {
  return foundation::EnMajuscules(foundation::OteBlancs(i.TiGenre)) == "TOPOFIL";
}

// The widths of a wall segment: the origin's and the end's; at a junction a
// side passage does not take the main passage's width.
void LargeursBord(const TVisee& v, double& debut, double& fin, bool droite) {
  const TPointSpeleo* o = v.PtOrigCalc;
  const TPointSpeleo* e = v.PtCalc;
  debut = droite ? o->LDCalc : o->LGCalc;
  fin = droite ? e->LDCalc : e->LGCalc;
  if (o->LstVis.size() > 1 && (e->EstAnnexe() || !v.MemeGal()) && debut > fin) debut = fin;
}

TSegment BordPlan(const TVisee& v, bool droite) {
  TSegment s;
  if (!v.PtOrigCalc || !v.PtCalc) return s;
  double lDebut, lFin;
  LargeursBord(v, lDebut, lFin, droite);
  const double cap = v.GTVisee() + (droite ? Pi / 2 : -Pi / 2);
  const TPointTopo o = v.PtOrigCalc->PtTopo();
  const TPointTopo e = v.PtCalc->PtTopo();
  s.PtDebut = o;
  s.PtFin = e;
  foundation::PointRayonne(o, cap, lDebut, true, s.PtDebut);
  foundation::PointRayonne(e, cap, lFin, true, s.PtFin);
  return s;
}

TSegment BordCoupe(const TVisee& v, bool haut) {
  TSegment s;
  if (!v.PtOrigCalc || !v.PtCalc) return s;
  s.PtDebut = v.PtOrigCalc->PtTopo();
  s.PtFin = v.PtCalc->PtTopo();
  if (haut) {
    s.PtDebut.Z += v.PtOrigCalc->HauteurSup;
    s.PtFin.Z += v.PtCalc->HauteurSup;
  } else {
    s.PtDebut.Z -= v.PtOrigCalc->HauteurInf;
    s.PtFin.Z -= v.PtCalc->HauteurInf;
  }
  return s;
}

int SigneCos(double c) { return c < 0 ? -1 : 1; }
int Signe(int32_t n) { return n > 0 ? 1 : (n < 0 ? -1 : 0); }

}  // namespace

// --- Main shots -------------------------------------------------------------------------

void TVisee::CalculeVisee() {
  TAvertissementsCalcul avertissements;
  CalculeVisee(avertissements);
  SignaleAvertissements(avertissements);
}

void TVisee::CalculeVisee(TAvertissementsCalcul& avertissements) {
  // Azimuth with declination, orientation from the end reached first.
  AzCalc = AzEnRad() + DecliEnRad();
  if (InvVisee) {
    PtOrigCalc = PointVise;
    PtCalc = PointStation;
  } else {
    PtOrigCalc = PointStation;
    PtCalc = PointVise;
  }
  if (InversionEffective(InvAz)) AzCalc += Pi;
  const TVisee* avant = ViseePreced();
  // Lengths and height difference.
  ReduitMesures(*this, avant, avertissements);
  RefuseMesuresImpossibles(*this, avertissements);
  // Uncertainties, and the turn from the previous shot.
  CalculeIncertitudes();
  AngleTri = avant ? foundation::NormaliseAngle(AzCalc - foundation::NormaliseAngle(avant->AzCalc + Pi)) : 0;
}

void TValeurVisee::CalculeIncertitudes() {
  const TLever& l = LeverDe(*this);
  const ClassePrecision& c = kClassesPrecision[std::clamp(l.Precision, 0, 6)];
  const double s0 = c.Station;
  double sL = c.Longueur;
  double sAz = c.Azimut * DegreEnRad;
  double sP = c.Pente * DegreEnRad;
  if (const TInstrument* i = l.InstrumentL; i && (i->PrecisionAbs > 0 || i->PrecisionRel > 0))
    sL = EstTopofil(*i) ? LCalc * i->PrecisionRel / 1000 : i->PrecisionAbs;
  if (const TInstrument* i = l.InstrumentAz; i && i->PrecisionAbs > 0)
    sAz = i->PrecisionAbs * (i->Unites == TTypeUnite::tuDegres ? DegreEnRad : GradeEnRad);
  if (const TInstrument* i = l.InstrumentP; i && i->PrecisionAbs > 0) {
    switch (i->Unites) {
      case TTypeUnite::tuDegres: sP = i->PrecisionAbs * DegreEnRad; break;
      case TTypeUnite::tuGrades: sP = i->PrecisionAbs * GradeEnRad; break;
      // A slope precision in percent is the tangent of the angle.
      case TTypeUnite::tuPourcent: sP = std::atan(i->PrecisionAbs / 100); break;
      // In metres (a depth gauge): the angle that height error makes along the
      // shot, so that the vertical uncertainty carries it whole.
      case TTypeUnite::tuMetres:
        if (LCalc > 0) sP = i->PrecisionAbs / LCalc;
        break;
    }
  }
  const double sl = std::sqrt(2 * s0 * s0 + sL * sL);
  const double sv = LCalc == 0 ? 0 : std::sqrt(2 * (s0 / LCalc) * (s0 / LCalc) + sP * sP) * LCalc;
  const double sa = LhCalc == 0 ? 0 : std::sqrt(2 * (s0 / LhCalc) * (s0 / LhCalc) + sAz * sAz) * LhCalc;
  const double sH = std::cos(PCalc) * sl - std::sin(PCalc) * sv;
  IncertX = std::sin(AzCalc) * sH + std::cos(AzCalc) * sa;
  IncertY = std::cos(AzCalc) * sH - std::sin(AzCalc) * sa;
  IncertZ = std::sin(PCalc) * sl + std::cos(PCalc) * sv;
}

double TVisee::DistVisee(const TPointTopo& pt) const {
  if (!PointStation || !PointVise) return foundation::ValeurIndefiniePositive;
  return foundation::DistancePointSegment(PointStation->PtTopo(), PointVise->PtTopo(), pt);
}

double TVisee::PenteCoupe() const {
  if (!PtOrigCalc || !PtCalc) return 0;
  const double dSl = PtCalc->Slh - PtOrigCalc->Slh;
  if (dSl == 0) return 0;
  return std::atan2(PtCalc->Z - PtOrigCalc->Z, dSl);
}

TSegment TVisee::BordDroitGal() const { return BordPlan(*this, true); }
TSegment TVisee::BordGaucheGal() const { return BordPlan(*this, false); }
TSegment TVisee::BordHautGal() const { return BordCoupe(*this, true); }
TSegment TVisee::BordBasGal() const { return BordCoupe(*this, false); }

// --- Splays ---------------------------------------------------------------------------------

void TViseeHabi::CalculeViseeHabi() {
  TAvertissementsCalcul avertissements;
  CalculeViseeHabi(avertissements);
  SignaleAvertissements(avertissements);
}

void TViseeHabi::CalculeViseeHabi(TAvertissementsCalcul& avertissements) {
  if (ViseeDeRef) LeLever = ViseeDeRef->LeLever;
  AzCalc = AzEnRad() + DecliEnRad();
  if (!SansDecli() && !LeLever->AncienneDecli) AzCalc -= Calcul().ConvergenceCourante;
  if (InversionEffective(InvAz)) AzCalc += Pi;
  TPointSpeleo* s = PtStation();
  ReduitMesures(*this, s ? s->ViseeAvant : nullptr, avertissements);
  RefuseMesuresImpossibles(*this, avertissements);
  if (!s) return;
  X = s->X + std::sin(AzCalc) * LhCalc;
  Y = s->Y + std::cos(AzCalc) * LhCalc;
  Z = s->Z + DhCalc;
  SlH = s->Slh + LhCalc;
}

TPointTopo TViseeHabi::vhPtTopo() const {
  TPointTopo p;
  p.X = X;
  p.Y = Y;
  p.Z = Z;
  p.SlH = SlH;
  return p;
}

void TViseeHabi::CalculeDessinDevViseeHabi(int Sens) {
  const TPointSpeleo* s = PtStation();
  if (!s) return;
  SlH = s->Slh + std::cos(GTVisee() - ViseeDeRef->GTVisee()) * LhCalc * Sens;
}

void TViseeHabi::CalculeDessinOrViseeHabi(double DirectionCav) {
  const TPointSpeleo* s = PtStation();
  if (!s) return;
  const int32_t sens = ViseeDeRef->SensDessinCoupeOr;
  if (sens == 2 || sens == -2)
    SensCoupe = static_cast<int8_t>(Signe(sens));
  else
    SensCoupe = static_cast<int8_t>(SigneCos(std::cos(GTVisee() - DirectionCav)) * Signe(sens));
  SlH = foundation::EstIndefini(SlhFix) ? s->Slh + SensCoupe * LhCalc : s->Slh + SlhFix;
}

void TViseeHabi::CalculeDessinProjViseeHabi(double DirectionCav) {
  const TPointSpeleo* s = PtStation();
  if (!s) return;
  SlH = s->Slh + std::cos(GTVisee() - DirectionCav) * LhCalc;
}

// --- Stations -------------------------------------------------------------------------------

TVisee* ViseeSuivanteDuPoint(const TPointSpeleo* P) {
  if (!P) return nullptr;
  for (TVisee* v : P->LstVis) {
    if (!v || v->PtOrigCalc != P) continue;
    if (P->LstVis.size() == 1) return v;
    if (v->MemeGal() && v->PtCalc && !v->PtCalc->EstAnnexe()) return v;
  }
  return nullptr;
}

void CalculeGDHBPoint(TPointSpeleo* P) {
  if (!P) return;
  P->LargeurDR = P->LargeurGA = P->HauteurInf = P->HauteurSup = 0;
  const TVisee* n = ViseeSuivanteDuPoint(P);
  const TVisee* a = P->ViseeAvant;
  const double F = n ? n->GTVisee() : (a ? a->GTVisee() : 0);
  double B = a ? foundation::NormaliseAngle(a->GTVisee() - Pi) : (n ? foundation::NormaliseAngle(n->GTVisee() - Pi) : 0);
  if (F > B) B += 2 * Pi;
  const double M = foundation::NormaliseAngle((B + F) / 2);
  double meilleureDroite = std::fabs(std::sin(Pi / 4));
  double meilleureGauche = meilleureDroite;
  const TViseeHabi* plusBas = nullptr;
  const TViseeHabi* plusHaut = nullptr;
  for (TViseeHabi* h : P->LVHabi) {
    h->CalculeViseeHabi();
    if (std::fabs(h->PCalc) < Pi / 4) {
      const double g = h->GTVisee();
      const double r = foundation::NormaliseAngle(g - F);
      const double distance = foundation::DistanceXY(P->PtTopo(), h->vhPtTopo());
      if (foundation::NormaliseAngle(B - F) > r) {
        const double d = M - g;
        const double w = distance * std::cos(d);
        if (std::fabs(std::sin(d)) < meilleureDroite && w > 0) {
          P->LargeurDR = w;
          meilleureDroite = std::fabs(std::sin(d));
        }
      } else {
        const double d = M + Pi - g;
        const double w = distance * std::cos(d);
        if (std::fabs(std::sin(d)) < meilleureGauche && w > 0) {
          P->LargeurGA = w;
          meilleureGauche = std::fabs(std::sin(d));
        }
      }
    }
    if (h->PCalc < 0 && (!plusBas || h->PCalc < plusBas->PCalc)) plusBas = h;
    if (h->PCalc > 0 && (!plusHaut || h->PCalc > plusHaut->PCalc)) plusHaut = h;
  }
  if (plusBas) P->HauteurInf = -plusBas->DhCalc;
  if (plusHaut) P->HauteurSup = plusHaut->DhCalc;
  if (a && a->PointVise != P) std::swap(P->LargeurDR, P->LargeurGA);
}

}  // namespace survey
