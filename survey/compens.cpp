#include "survey/compens.h"

#include <cmath>
#include <numbers>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "survey/cavite.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/rapport_calcul.h"
#include "survey/suppressions.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;

namespace {

constexpr double Pi = std::numbers::pi;

std::string Coordonnee(double x) { return foundation::ReelEnStrMetres(x, 12, 1); }
std::string Ecart(double x) { return foundation::ReelEnStrMetres(x, 6, 1); }
std::string Correction(long double x) {
  return foundation::OteBlancs(foundation::ReelEnStrFixe(static_cast<double>(x), 20, 2));
}
std::string NomPoint(const TPointSpeleo* p) { return p ? p->DesignPTopo : std::string(); }

// Azimuth clockwise from north of the direction (dx, dy).
double Azimut(double dx, double dy) { return std::atan2(dx, dy); }

}  // namespace

std::string NomTypeCompens(uint8_t type) {
  switch (type) {
    case CompensPlani: return Msg(IdMsg::CompensPlanimetrique);
    case CompensAlti: return Msg(IdMsg::CompensAltimetrique);
    case CompensPlaniAlti: return Msg(IdMsg::CompensPlaniAlti);
    default: return {};
  }
}

TCompens::TCompens() : Valeur(std::make_unique<TValeurCompens>()) {
  Valeur->IndexCompens = Calcul().CompteurCompens++;
  // Until the corrections are computed the shots that carry the value keep
  // their length.
  Valeur->CoeffLong = 1;
}

TCompens::~TCompens() = default;

bool TCompens::EcritObjet(foundation::TFlux& f) {
  IndDebut = PtDebut ? PtDebut->IndiceReseau : -1;
  IndFin = PtFin ? PtFin->IndiceReseau : -1;
  IndJuste = PtJuste ? PtJuste->IndiceReseau : -1;
  const TCavite* c = TheCavite();
  IndCavite = c ? c->IndexFichier : -1;
  InitES(f);
  EcrisInteger(IndDebut);
  EcrisInteger(IndFin);
  EcrisInteger(IndJuste);
  EcrisInteger(IndCavite);
  return EcrisOctet(typeCompens);
}

bool TCompens::LitObjet(foundation::TFlux& f) {
  InitES(f);
  LisInteger(IndDebut);
  LisInteger(IndFin);
  LisInteger(IndJuste);
  LisInteger(IndCavite);
  LisOctet(typeCompens);
  if (!ResultObjet) return false;
  PtDebut = LePointReseau(IndDebut);
  PtFin = LePointReseau(IndFin);
  PtJuste = LePointReseau(IndJuste);
  return true;
}

TCavite* TCompens::TheCavite() const { return TCavite::CaviteDuPoint(PtFin); }

void TCompens::MarqueViseesCompensees() {
  NbreViseesCompens = 0;
  PtDebut = PtFin;
  TVisee* v = PtFin ? PtFin->ViseeAvant : nullptr;
  if (!v) return;
  v->CoeffsCompens = Valeur.get();
  // The walk order bounds the climb.
  const TCavite* c = TheCavite();
  const int limite = c ? c->Visees.Count() + 1 : 1 << 30;
  for (int pas = 0; v && pas < limite; ++pas) {
    ++NbreViseesCompens;
    TVisee* avant = v->ViseePreced();
    if (!v->PtOrigCalc || v->PtOrigCalc->EstPointSurface() || !avant || avant->CoeffsCompens) {
      PtDebut = v->PtOrigCalc ? v->PtOrigCalc : PtFin;
      return;
    }
    avant->CoeffsCompens = Valeur.get();
    v = avant;
  }
  PtDebut = v ? v->PtOrigCalc : PtFin;
}

void TCompens::EcritValeurs() {
  auto& r = ListeRapportCalcul();
  const TPointSpeleo* f = PtFin;
  const TPointSpeleo* j = PtJuste;
  r.emplace_back();
  r.push_back(Msg(IdMsg::CompensCompensation) + NomTypeCompens(typeCompens) +
              Msg(EstEntreeScnd ? IdMsg::CompensEntreLEntree : IdMsg::CompensEntreLePoint) + NomPoint(f) +
              Msg(IdMsg::CompensEtLePoint) + NomPoint(PtDebut));
  r.emplace_back();
  r.push_back(Msg(IdMsg::CompensPointExact) + NomPoint(j));
  if (j) {
    if (EstPlani()) {
      r.push_back(Msg(IdMsg::CompensX) + Coordonnee(j->X));
      r.push_back(Msg(IdMsg::CompensY) + Coordonnee(j->Y));
    }
    if (EstAlti()) r.push_back(Msg(IdMsg::CompensZ) + Coordonnee(j->Z));
  }
  r.emplace_back();
  r.push_back(Msg(EstEntreeScnd ? IdMsg::CompensCoordonneesCalculees : IdMsg::CompensPointTopoAssocie) +
              NomPoint(f) + Msg(IdMsg::CompensDeLaGalerie) + NomGalerieDuPoint(f));
  if (f) {
    if (EstPlani()) {
      r.push_back(Msg(IdMsg::CompensX) + Coordonnee(f->X));
      r.push_back(Msg(IdMsg::CompensY) + Coordonnee(f->Y));
    }
    if (EstAlti()) r.push_back(Msg(IdMsg::CompensZ) + Coordonnee(f->Z));
    r.push_back(Msg(IdMsg::CompensSlh) + Coordonnee(f->Slh));
    if (EstPlani()) {
      r.push_back(Msg(IdMsg::CompensPrecisionX) + Coordonnee(f->PrecisTotX));
      r.push_back(Msg(IdMsg::CompensPrecisionY) + Coordonnee(f->PrecisTotY));
    }
    if (EstAlti()) r.push_back(Msg(IdMsg::CompensPrecisionZ) + Coordonnee(f->PrecisTotZ));
  }
  r.push_back(Msg(IdMsg::CompensNombreVisees) + foundation::EntierEnStr(NbreViseesCompens));
  r.emplace_back();
  if (f && j) {
    EcartX = f->X - j->X;
    EcartY = f->Y - j->Y;
    EcartZ = f->Z - j->Z;
    const double distance = std::hypot(EcartX, EcartY);
    if (EstPlani()) {
      r.push_back(Msg(IdMsg::CompensEcartX) + Ecart(EcartX));
      r.push_back(Msg(IdMsg::CompensEcartY) + Ecart(EcartY));
    }
    if (EstAlti()) r.push_back(Msg(IdMsg::CompensEcartZ) + Ecart(EcartZ));
    if (EstPlani()) {
      r.push_back(Msg(IdMsg::CompensEcartDistance) + Ecart(distance));
      if (TCavite* c = TheCavite()) {
        c->PrecisEntrees += distance * distance;
        ++c->NbPrecisEntrees;
      }
    }
  }
  r.emplace_back();
}

void TCompens::CalculeCorrections(TAvertissementsCalcul& avertissements) {
  TCavite* c = TheCavite();
  if (!PtFin || !PtJuste || !c) return;
  // The shots between the start and the end are marked; the start, the
  // computed end and the exact point as they stand; the misclosure reported.
  MarqueViseesCompensees();
  const TPointSpeleo* d = PtDebut;
  const double dX = d->X, dY = d->Y, dSlh = d->Slh;
  const double fX = PtFin->X, fY = PtFin->Y, fZ = PtFin->Z, fSlh = PtFin->Slh;
  EcritValeurs();
  const double jX = PtJuste->X, jY = PtJuste->Y, jZ = PtJuste->Z;
  // The corrections carry the adjustment's kind.
  Valeur->typeCompens = typeCompens;
  // Length, azimuth and height corrections that bring the end onto the exact
  // point.
  const double dDF = std::hypot(fX - dX, fY - dY);
  // Ends left without coordinates give no correction.
  const bool definis = !d->CoordonneesIndefinies() && !PtFin->CoordonneesIndefinies() && !PtJuste->CoordonneesIndefinies();
  if (dDF != 0 && definis) {
    const double dDJ = std::hypot(jX - dX, jY - dY);
    Valeur->CoeffLong = dDJ / dDF;
    double rotation = Azimut(jX - dX, jY - dY) - Azimut(fX - dX, fY - dY);
    if (rotation > Pi) rotation -= 2 * Pi;
    if (rotation <= -Pi) rotation += 2 * Pi;
    Valeur->CorrectAngle = rotation;
    // The height correction is spread over the corrected horizontal lengths,
    // so that the end lands on the exact point also when the plan is scaled.
    const double longueur = (fSlh - dSlh) * (EstPlani() ? static_cast<double>(Valeur->CoeffLong) : 1.0);
    Valeur->CoeffHaut = longueur != 0 ? (jZ - fZ) / longueur : 0;
    if (RapportCalculActif()) {
      if (EstPlani()) {
        AjouteRapport(Msg(IdMsg::CompensCorrectionLongueur) + Correction((Valeur->CoeffLong - 1) * 1000) +
                      Msg(IdMsg::CompensMmParM));
        AjouteRapport(Msg(IdMsg::CompensCorrectionAzimut) +
                      foundation::OteBlancs(foundation::ReelEnStrFixe(
                          static_cast<double>(Valeur->CorrectAngle * 200 / Pi), 20, 5)) +
                      Msg(IdMsg::CompensGrades));
      }
      if (EstAlti())
        AjouteRapport(Msg(IdMsg::CompensCorrectionAltitude) + Correction(Valeur->CoeffHaut * 1000) +
                      Msg(IdMsg::CompensMmParM));
    }
  }
  // The cave computed again with the corrections.
  c->CalculeTousPoints(false, avertissements);
}

std::unique_ptr<TCompens> TCompens::CopieEcarts() const {
  auto copie = std::make_unique<TCompens>();
  --Calcul().CompteurCompens;  // a copy takes no serial
  copie->Valeur->IndexCompens = Valeur ? Valeur->IndexCompens : -1;
  copie->typeCompens = typeCompens;
  copie->NbreViseesCompens = NbreViseesCompens;
  copie->PtDebut = PtDebut;
  copie->PtFin = PtFin;
  copie->PtJuste = PtJuste;
  copie->EstEntreeScnd = EstEntreeScnd;
  copie->EcartX = EcartX;
  copie->EcartY = EcartY;
  copie->EcartZ = EcartZ;
  return copie;
}

void TCompens::Nettoie(const TSuppressions& s) {
  s.Redirige(PtDebut);
  s.Redirige(PtFin);
  s.Redirige(PtJuste);
}

}  // namespace survey
