#include "survey/point_speleo.h"

#include <cmath>

#include "foundation/chaines.h"
#include "foundation/transformation_vue.h"
#include "survey/ports_survey.h"
#include "survey/visee.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;

TPointSpeleo::~TPointSpeleo() {
  auto& index = ListePointsReseau();
  if (IndiceReseau >= 0 && static_cast<size_t>(IndiceReseau) < index.size() &&
      index[static_cast<size_t>(IndiceReseau)] == this)
    index[static_cast<size_t>(IndiceReseau)] = nullptr;
  if (LiberationReseauEnCours()) return;
  for (TVisee* v : LstVis)
    if (v) v->OubliePoint(this);
  if (ViseeAvant) ViseeAvant->OubliePoint(this);
}

bool TPointSpeleo::EcritObjet(TFlux& f) {
  IndPtBoucle = PtBoucleAsso ? PtBoucleAsso->IndiceReseau : -1;
  if (!CategorieSurface)
    vCatPt = -1;
  else if (Ports().PositionCategorieSurface)
    vCatPt = Ports().PositionCategorieSurface(CategorieSurface);
  InitES(f);
  EcrisOctet(static_cast<uint8_t>(TypePoint));
  EcrisInteger(Annexe);
  EcrisInteger(IndiceReseau);
  EcrisInteger(vIndPtOrigine);
  EcrisInteger(IndPtBoucle);
  EcrisReal(X);
  EcrisReal(Y);
  EcrisReal(Z);
  EcrisReal(Slh);
  EcrisReal(LargeurDR);
  EcrisReal(LargeurGA);
  EcrisReal(HauteurSup);
  EcrisReal(HauteurInf);
  EcrisBoolean(InvBords);
  EcrisInteger(vCatPt);
  EcrisTexte(DesignPTopo);
  if (!ResultObjet) return false;
  if (!foundation::EcritListeChaines(f, Commentaire)) return ResultObjet = false;
  return ResultObjet = SuiteObs.EcritListe(f);
}

bool TPointSpeleo::LitObjet(TFlux& f) {
  uint8_t type = 0;
  InitES(f);
  LisOctet(type);
  LisAncien(3);
  LisInteger(Annexe);
  LisInteger(IndiceReseau);
  LisInteger(vIndPtOrigine);
  LisInteger(IndPtBoucle);
  LisReal(X);
  LisReal(Y);
  LisReal(Z);
  LisReal(Slh);
  LisReal(LargeurDR);
  LisReal(LargeurGA);
  LisReal(HauteurSup);
  LisReal(HauteurInf);
  LisBoolean(InvBords);
  LisAncien(11);
  LisInteger(vCatPt);
  LisTexte(DesignPTopo);
  TypePoint = static_cast<int8_t>(type);
  if (!ResultObjet) return false;
  Commentaire.clear();
  if (!foundation::LitListeChaines(f, Commentaire)) return ResultObjet = false;
  return ResultObjet = SuiteObs.LitListe(f);
}

bool TPointSpeleo::EstCompense() const { return ViseeAvant && ViseeAvant->CoeffsCompens; }

bool TPointSpeleo::SuitePossible() const {
  const TTypeDObs* der = SuiteObs.Last();
  return der && der->EtatOuvert();
}

double TPointSpeleo::PrecisTot() const { return std::sqrt(PrecisTotX * PrecisTotX + PrecisTotY * PrecisTotY); }

void TPointSpeleo::PtTopo(foundation::TPointTopo& p) const {
  p.X = X;
  p.Y = Y;
  p.Z = Z;
  p.SlH = Slh;
}

foundation::TPointTopo TPointSpeleo::PtTopo() const {
  foundation::TPointTopo p;
  PtTopo(p);
  return p;
}

double TPointSpeleo::DistPoint(const foundation::TPointTopo& p) const {
  return foundation::EstDessinAlti() ? foundation::DistanceAlti(PtTopo(), p) : foundation::DistanceXY(PtTopo(), p);
}

foundation::TPointTopo TPointSpeleo::PtRayonne(double distance, double angle) const {
  const foundation::TPointTopo depart = PtTopo();
  foundation::TPointTopo r = depart;
  foundation::PointRayonne(depart, angle, distance, false, r);
  return r;
}

void TPointSpeleo::VoirSuites() {
  if (Ports().VoirSuites) Ports().VoirSuites(*this);
}

void TPointSpeleo::CalculeLargeurs() {
  LDCalc = LargeurDR;
  LGCalc = LargeurGA;
  if (ViseeAvant && ViseeAvant->InvVisee) std::swap(LDCalc, LGCalc);
}

std::string TPointSpeleo::DenivStr() const {
  // A station the computation left without coordinates has no height.
  if (foundation::EstIndefini(DzPt) || CoordonneesIndefinies()) return {};
  if (std::fabs(DzPt) < 0.5) return "0" + Msg(IdMsg::PointMetres);
  std::string t = foundation::OteBlancs(foundation::ReelEnStrFixe(DzPt, 12, 0)) + Msg(IdMsg::PointMetres);
  if (DzPt > 0) t = "+ " + t;
  return t;
}

void TPointSpeleo::ImprimeSuites(std::vector<std::string>& lignes) const {
  lignes.push_back(Msg(IdMsg::SuitesPoint) + DesignPTopo);
  lignes.push_back("\t" + Msg(IdMsg::SuitesX) + "\t" + foundation::ReelEnStr(X, 12, 1));
  lignes.push_back("\t" + Msg(IdMsg::SuitesY) + "\t" + foundation::ReelEnStr(Y, 12, 1));
  lignes.push_back("\t" + Msg(IdMsg::SuitesZ) + "\t" + foundation::ReelEnStr(Z, 12, 1));
  for (const std::string& c : Commentaire) lignes.push_back(c);
  lignes.emplace_back();
  lignes.push_back(Msg(IdMsg::SuitesTypeContinuation) + TexteSuitePossible(SuiteObs.SuitePossible));
  for (const TTypeDObs* o : SuiteObs) {
    std::string date = o->LaDate == foundation::DateNonRenseignee
                           ? Msg(IdMsg::SuitesDateNonRenseignee)
                           : Msg(IdMsg::SuitesLe) + foundation::DateEnTexte(o->LaDate);
    // Only an observation of the state has one to print.
    const std::string etat = o->Observation.TypeObs == 0 ? TexteEtatSuite(o->Observation.EtatSuite) : std::string();
    lignes.push_back(date + Msg(IdMsg::SuitesSeparateurEtat) + etat);
    std::string vus = Msg(IdMsg::SuitesVuPar);
    if (o->Observateurs.empty()) {
      vus += Msg(IdMsg::SuitesObservateursNonRenseignes);
    } else {
      for (const TOperateur* op : o->Observateurs)
        if (op) vus += op->DesignOpe + " ";
    }
    lignes.push_back(vus);
    std::string commentaires = " ";
    for (const std::string& c : o->Commentaires) commentaires += c + " ";
    lignes.push_back(commentaires);
    lignes.emplace_back();
  }
  lignes.emplace_back();
}

// --- The network's station index ----------------------------------------------------

TPointSpeleo* LePointReseau(int32_t n) {
  const auto& index = ListePointsReseau();
  if (n < 0 || static_cast<size_t>(n) >= index.size()) return nullptr;
  return index[static_cast<size_t>(n)];
}

}  // namespace survey
