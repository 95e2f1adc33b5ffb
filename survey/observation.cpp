#include "survey/observation.h"

#include "survey/listes_document.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;

const std::string& TexteEtatSuite(TEtatSuite e) {
  static const IdMsg ids[NombreEtatsSuite] = {IdMsg::EtatSuiteEnCours, IdMsg::EtatSuiteARevoir,
                                             IdMsg::EtatSuiteSansSuite, IdMsg::EtatSuiteTermine,
                                             IdMsg::EtatSuiteAutre};
  const auto i = static_cast<size_t>(e);
  static const std::string vide;
  return i < NombreEtatsSuite ? Msg(ids[i]) : vide;
}

const std::string& TexteSuitePossible(TSuitePossible s) {
  static const IdMsg ids[NombreSuitesPossibles] = {IdMsg::SuitePossibleRien,     IdMsg::SuitePossibleDesob,
                                                  IdMsg::SuitePossiblePuits,    IdMsg::SuitePossibleEscalade,
                                                  IdMsg::SuitePossibleSiphon,   IdMsg::SuitePossibleAutre};
  const auto i = static_cast<size_t>(s);
  static const std::string vide;
  return i < NombreSuitesPossibles ? Msg(ids[i]) : vide;
}

// --- One observation ------------------------------------------------------------

bool TTypeDObs::EcritObjet(TFlux& f) {
  InitES(f);
  EcrisInteger(Observation.TypeObs);
  if (Observation.TypeObs == 0) {
    EcrisEnum(Observation.EtatSuite);
  } else if (Observation.TypeObs == 1) {
    EcrisReal(Observation.Debit);
    EcrisReal(Observation.Temperature);
    EcrisBoolean(Observation.Sens);
    EcrisBoolean(Observation.Mesure);
  }
  EcrisReal(LaDate);
  if (!ResultObjet) return false;
  if (!OperateursDocument().EcritListeDOperateurs(Observateurs, f)) return ResultObjet = false;
  return ResultObjet = foundation::EcritListeChaines(f, Commentaires);
}

bool TTypeDObs::LitObjet(TFlux& f) {
  InitES(f);
  LisInteger(Observation.TypeObs);
  if (Observation.TypeObs == 0) {
    LisEnum(Observation.EtatSuite, NombreEtatsSuite);
  } else if (Observation.TypeObs == 1) {
    LisReal(Observation.Debit);
    LisReal(Observation.Temperature);
    LisBoolean(Observation.Sens);
    LisBoolean(Observation.Mesure);
  }
  LisReal(LaDate);
  if (!ResultObjet) return false;
  if (!OperateursDocument().LitListeDOperateurs(Observateurs, f)) return ResultObjet = false;
  Commentaires.clear();
  return ResultObjet = foundation::LitListeChaines(f, Commentaires);
}

void TTypeDObs::CopieObs(TTypeDObs& dest) const {
  dest.Observation = Observation;
  dest.LaDate = LaDate;
  dest.Observateurs = Observateurs;
  dest.Commentaires.insert(dest.Commentaires.end(), Commentaires.begin(), Commentaires.end());
}

bool TTypeDObs::EtatOuvert() const {
  return Observation.TypeObs == 0 &&
         (Observation.EtatSuite == TEtatSuite::eeEnCours || Observation.EtatSuite == TEtatSuite::eeARevoir);
}

// --- The list -----------------------------------------------------------------------

void TSuiteObs::CopieListeObs(TSuiteObs& dest) const {
  if (&dest == this) return;
  dest.SuitePossible = SuitePossible;
  dest.Clear();
  for (TTypeDObs* o : *this) {
    auto copie = std::make_unique<TTypeDObs>();
    o->CopieObs(*copie);
    dest.Add(std::move(copie));
  }
}

bool TSuiteObs::EcritListe(TFlux& f) {
  if (!f.EcritOctet(static_cast<uint8_t>(SuitePossible))) return false;
  return TListeFichier<TTypeDObs>::EcritListe(f);
}

bool TSuiteObs::LitListe(TFlux& f) {
  uint8_t o;
  if (!f.LitOctet(o) || o >= NombreSuitesPossibles) return false;
  SuitePossible = static_cast<TSuitePossible>(o);
  return TListeFichier<TTypeDObs>::LitListe(f);
}

}  // namespace survey
