#include "projections/ellipsoide.h"

#include <cmath>

#include "projections/erreur_projection.h"
#include "projections/lignes.h"

namespace projections {

double TEllipsoide::b() const { return a * std::sqrt(1 - e * e); }

void TEllipsoide::SetB(double valeur) {
  const double q = valeur / a;
  e = std::sqrt(1 - q * q);
}

double TEllipsoide::Invf() const { return a / (a - b()); }

void TEllipsoide::SetInvf(double valeur) { SetB((1 - 1 / valeur) * a); }

void TEllipsoide::LoadFromStream(foundation::TFlux& flux) { LitDefinition(LitLigne(flux)); }

void TEllipsoide::LitDefinition(std::string_view definition) {
  Valid = false;
  const auto champs = DecoupeChamps(definition);
  if (champs.size() != 4)
    throw EHorsLimites(foundation::Msg(foundation::IdMsg::ProjNombreParametresEllipsoide));
  auto nombre = [](std::string texte) {
    for (char& c : texte)
      if (c == ',') c = '.';
    return LitNombre(texte);
  };
  const double valeurA = nombre(champs[2]);
  const double valeurE = nombre(champs[3]);
  Nom = champs[0];
  Description = champs[1];
  a = valeurA;
  e = valeurE;
  Valid = true;
}

std::string TEllipsoide::Ligne() const {
  std::string r = "Ellipsoide=";
  r += EntreGuillemets(Nom);
  AjouteChamp(r, EntreGuillemets(Description));
  AjouteChamp(r, ReelGeneral(a, 12));
  AjouteChamp(r, ReelGeneral(e, 12));
  return r;
}

void TEllipsoide::SaveToStream(foundation::TFlux& flux) const { EcritLigneCatalogue(flux, Ligne()); }

void TEllipsoide::Assign(const TEllipsoide& autre) {
  Nom = autre.Nom;
  Description = autre.Description;
  a = autre.a;
  e = autre.e;
}

}  // namespace projections
