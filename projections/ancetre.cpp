#include "projections/ancetre.h"

#include "projections/angles.h"
#include "projections/datum.h"
#include "projections/donnees.h"
#include "projections/erreurs.h"
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
  } catch (...) {
    SetValid(false);
    throw;
  }
}

void TAncetre::ConstantesEllipsoide(double& a, double& e) const {
  if (!Datum || !Datum->Ellipsoide) throw EHorsLimites(MessageFormate(IdMsg::ProjSansDatum, {Nom}));
  a = Datum->Ellipsoide->a;
  e = Datum->Ellipsoide->e;
}

double TAncetre::GetParamReal(int) const { ErreurLecture(); }
void TAncetre::SetParamReal(int, double) { ErreurEcriture(); }
std::string TAncetre::GetNom_ParamReal(int) const { ErreurLecture(); }
int32_t TAncetre::GetParamInteger(int) const { ErreurLecture(); }
void TAncetre::SetParamInteger(int, int32_t) { ErreurEcriture(); }
std::string TAncetre::GetNom_ParamInteger(int) const { ErreurLecture(); }
std::string TAncetre::GetParamAngle(int) const { ErreurLecture(); }
void TAncetre::SetParamAngle(int, const std::string&) { ErreurEcriture(); }
std::string TAncetre::GetNom_ParamAngle(int) const { ErreurLecture(); }
bool TAncetre::GetParamBoolean(int) const { ErreurLecture(); }
void TAncetre::SetParamBoolean(int, bool) { ErreurEcriture(); }
std::string TAncetre::GetNom_ParamBoolean(int) const { ErreurLecture(); }

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
