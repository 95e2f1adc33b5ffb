#pragma once
// Continuation observations of a station: what kind of continuation leaves it
// (a pit, a squeeze to dig, a sump...) and a dated series of notes saying its
// state, who saw it and what they wrote.
//
// Record of the list: SuitePossible (1 byte), then the count and each
// observation.  Record of an observation: TypeObs (4 bytes); with TypeObs 0 the
// state (1 byte), with TypeObs 1 flow, temperature, direction and measured flag
// (8 + 8 + 1 + 1 bytes), nothing for another TypeObs; then the date (8 bytes),
// the observers (positions in the document's operator list) and the comment
// lines.
#include <cstdint>
#include <string>

#include "foundation/catalogue.h"
#include "foundation/dates.h"
#include "foundation/objet_de_liste.h"
#include "survey/operateur.h"

namespace survey {

// State of a continuation.
enum class TEtatSuite : uint8_t { eeEnCours, eeARevoir, eeSansSuite, eeTermine, eeAutre };
inline constexpr int NombreEtatsSuite = 5;

// Kind of continuation.
enum class TSuitePossible : uint8_t { spRien, spDesob, spPuits, spEscalad, spPlongeee, spAutre };
inline constexpr int NombreSuitesPossibles = 6;

// Display texts: "En cours", "A revoir", "Sans suite", "Terminé", "Autre" and
// "Arrêt sur rien", "Désobstruction", "Puits", "Escalade", "Siphon", "Autre".
const std::string& TexteEtatSuite(TEtatSuite e);
const std::string& TexteSuitePossible(TSuitePossible s);

// What an observation says.  TypeObs selects the fields that are meaningful:
// 0 the state, 1 a flow measurement.  (The stored record of TypeObs 1 puts the
// flow where TypeObs 0 puts the state; in memory they are kept apart, and the
// state of an observation of another kind is never consulted.)
struct TEtatObs {
  int32_t TypeObs = 0;
  TEtatSuite EtatSuite = TEtatSuite::eeEnCours;
  double Debit = 0;
  double Temperature = 0;
  bool Sens = false;
  bool Mesure = false;
};

// One dated observation.
class TTypeDObs : public foundation::TObjetDeListe {
 public:
  TEtatObs Observation;
  foundation::TDateTime LaDate = foundation::DateNonRenseignee;
  TListeDOperateurs Observateurs;  // not owned: operators of the document's list
  foundation::TMesStringList Commentaires;

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

  // Copies the record and the date into dest, gives it the same observers and
  // appends the comment lines to its own.
  void CopieObs(TTypeDObs& dest) const;
  // The state counts (TypeObs 0) and says the continuation is still open.
  bool EtatOuvert() const;
};

// The continuation of a station: its kind and its observations.
class TSuiteObs : public foundation::TListeFichier<TTypeDObs> {
 public:
  TSuitePossible SuitePossible = TSuitePossible::spRien;

  TTypeDObs* UnTypeDObs(int i) const { return UnObjet(i); }
  // Copies SuitePossible, empties dest and appends a deep copy of every
  // observation.
  void CopieListeObs(TSuiteObs& dest) const;

  bool EcritListe(foundation::TFlux& f) override;
  bool LitListe(foundation::TFlux& f) override;
};

}  // namespace survey
