#include "projections/ancetre.h"

#include "projections/angles.h"
#include "projections/datum.h"
#include "projections/donnees.h"
#include "projections/erreur_projection.h"
#include "projections/lignes.h"

namespace projections {

using foundation::IdMsg;

void TAncetre::ErreurLecture() const {
  throw EHorsLimites(foundation::Msg(IdMsg::ProjParametreHorsLimitesLecture));
}

void TAncetre::ErreurEcriture() {
  SetValid(false);
  throw EHorsLimites(foundation::Msg(IdMsg::ProjParametreHorsLimitesEcriture));
}

void TAncetre::FixeAngle(TParamAngle& parametre, const std::string& texte) {
  parametre.Texte = texte;
  try {
    parametre.Valeur = TexteVersAngle(texte);
  } catch (const EErreurProjection&) {
    SetValid(false);
    throw;
  }
}

void TAncetre::EllipsoideDuDatum(double& a, double& e) const {
  if (!Datum || !Datum->Ellipsoide) throw EHorsLimites(MessageFormate(IdMsg::ProjSansDatum, {Nom}));
  a = Datum->Ellipsoide->a;
  e = Datum->Ellipsoide->e;
}

void TAncetre::ConstantesEllipsoide(double& a, double& e) const {
  EllipsoideDuDatum(a, e);
  if (!erreurReglage_.empty())
    throw EReglageImpossible(MessageFormate(IdMsg::ProjReglageImpossible, {Nom, erreurReglage_}));
}

void TAncetre::SetValid(bool valeur) {
  valid_ = valeur;
  CalculeConstantes();
}

template <class T>
T& TAncetre::Champ(const std::vector<TChamp<T>>& groupe, int index) const {
  if (index < 0 || static_cast<size_t>(index) >= groupe.size()) ErreurLecture();
  return *groupe[static_cast<size_t>(index)].Valeur;
}

template <class T>
T& TAncetre::ChampEcrit(const std::vector<TChamp<T>>& groupe, int index) {
  if (index < 0 || static_cast<size_t>(index) >= groupe.size()) ErreurEcriture();
  return *groupe[static_cast<size_t>(index)].Valeur;
}

template <class T>
std::string TAncetre::NomChamp(const std::vector<TChamp<T>>& groupe, int index) const {
  if (index < 0 || static_cast<size_t>(index) >= groupe.size()) ErreurLecture();
  return groupe[static_cast<size_t>(index)].Nom;
}

int TAncetre::Nb_ParamReal() const { return static_cast<int>(table_.Reels.size()); }
double TAncetre::GetParamReal(int index) const { return Champ(table_.Reels, index); }
void TAncetre::SetParamReal(int index, double valeur) {
  ChampEcrit(table_.Reels, index) = valeur;
  CalculeConstantes();
}
std::string TAncetre::GetNom_ParamReal(int index) const { return NomChamp(table_.Reels, index); }

int TAncetre::Nb_ParamInteger() const { return static_cast<int>(table_.Entiers.size()); }
int32_t TAncetre::GetParamInteger(int index) const { return Champ(table_.Entiers, index); }
void TAncetre::SetParamInteger(int index, int32_t valeur) {
  ChampEcrit(table_.Entiers, index) = valeur;
  CalculeConstantes();
}
std::string TAncetre::GetNom_ParamInteger(int index) const { return NomChamp(table_.Entiers, index); }

int TAncetre::Nb_ParamAngle() const { return static_cast<int>(table_.Angles.size()); }
std::string TAncetre::GetParamAngle(int index) const { return Champ(table_.Angles, index).Texte; }
void TAncetre::SetParamAngle(int index, const std::string& valeur) {
  FixeAngle(ChampEcrit(table_.Angles, index), valeur);
  CalculeConstantes();
}
std::string TAncetre::GetNom_ParamAngle(int index) const { return NomChamp(table_.Angles, index); }

int TAncetre::Nb_ParamBoolean() const { return static_cast<int>(table_.Booleens.size()); }
bool TAncetre::GetParamBoolean(int index) const { return Champ(table_.Booleens, index); }
void TAncetre::SetParamBoolean(int index, bool valeur) {
  ChampEcrit(table_.Booleens, index) = valeur;
  CalculeConstantes();
}
std::string TAncetre::GetNom_ParamBoolean(int index) const { return NomChamp(table_.Booleens, index); }

void TAncetre::LoadFromStream(foundation::TFlux& flux, const TDonnees& LesDonnees) {
  LitDefinition(LitLigne(flux), LesDonnees);
}

void TAncetre::LitDefinition(std::string_view definition, const TDonnees& LesDonnees) {
  SetValid(false);
  const auto champs = DecoupeChamps(definition);
  const int nbReels = Nb_ParamReal(), nbEntiers = Nb_ParamInteger(), nbAngles = Nb_ParamAngle(),
            nbBooleens = Nb_ParamBoolean();
  if (champs.size() != static_cast<size_t>(nbReels + nbEntiers + nbAngles + nbBooleens + 3))
    throw EHorsLimites(foundation::Msg(IdMsg::ProjNombreParametresProjection));
  Nom = champs[0];
  Description = champs[1];
  TDatum* datum = LesDonnees.UnDatum(champs[2]);
  if (!datum) throw EHorsLimites(MessageFormate(IdMsg::ProjDatumInconnu, {champs[2], champs[0]}));
  Datum = datum;
  size_t k = 3;
  for (int i = 0; i < nbReels; ++i) SetParamReal(i, LitNombre(champs[k++]));
  for (int i = 0; i < nbEntiers; ++i) SetParamInteger(i, LitNombreEntier(champs[k++]));
  for (int i = 0; i < nbAngles; ++i) SetParamAngle(i, champs[k++]);
  for (int i = 0; i < nbBooleens; ++i) SetParamBoolean(i, champs[k++] == "1");
  SetValid(true);
  if (!erreurReglage_.empty()) {
    const std::string message = MessageFormate(IdMsg::ProjReglageImpossible, {Nom, erreurReglage_});
    SetValid(false);
    throw EReglageImpossible(message);
  }
}

std::string TAncetre::Ligne() const {
  std::string r = MotCle();
  r += ' ';
  r += EntreGuillemets(Nature());
  r += '=';
  r += EntreGuillemets(Nom);
  AjouteChamp(r, EntreGuillemets(Description));
  AjouteChamp(r, EntreGuillemets(Datum ? Datum->Nom : std::string()));
  for (int i = 0; i < Nb_ParamReal(); ++i) AjouteChamp(r, ReelGeneral(GetParamReal(i), 12));
  for (int i = 0; i < Nb_ParamInteger(); ++i) AjouteChamp(r, std::to_string(GetParamInteger(i)));
  for (int i = 0; i < Nb_ParamAngle(); ++i) AjouteChamp(r, GetParamAngle(i));
  for (int i = 0; i < Nb_ParamBoolean(); ++i) AjouteChamp(r, GetParamBoolean(i) ? "1" : "0");
  return r;
}

void TAncetre::SaveToStream(foundation::TFlux& flux) const { EcritLigneCatalogue(flux, Ligne()); }

}  // namespace projections
