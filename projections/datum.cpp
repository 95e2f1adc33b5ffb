#include "projections/datum.h"

#include <numbers>

#include "platform/files.h"
#include "projections/angles.h"
#include "projections/donnees.h"
#include "projections/erreur_projection.h"
#include "projections/geodesie.h"
#include "projections/lignes.h"

namespace projections {

TDatum::TDatum() = default;
TDatum::~TDatum() = default;

void TDatum::SetFileGrille(const std::string& nom) {
  if (nom == fileGrille_) return;
  grille_.reset();
  fileGrille_ = nom;
  if (!nom.empty() && platform::FileExists(nom)) {
    grille_ = std::make_unique<TGrilleIgn>(nom);
    NoIgnGrille = false;
  } else {
    NoIgnGrille = Nom == "NTF";
  }
}

void TDatum::ParametresSimilitude(double& d, double& rx, double& ry, double& rz) const {
  constexpr double secondeVersRadian = std::numbers::pi / 180 / 60 / 60;
  d = Scale / 1000000;
  rx = RotX * secondeVersRadian;
  ry = RotY * secondeVersRadian;
  rz = RotZ * secondeVersRadian;
}

void TDatum::VersCartesien(double Lat, double Long, bool Paris, double& X, double& Y, double& Z) const {
  if (Paris) Long += MeridienParis();
  double x, y, z;
  GeographiqueVersCartesien(Long, Lat, 0, Ellipsoide->a, Ellipsoide->e, x, y, z);
  if (Reduit) {
    X = x + DeltaX;
    Y = y + DeltaY;
    Z = z + DeltaZ;
  } else {
    double d, rx, ry, rz;
    ParametresSimilitude(d, rx, ry, rz);
    Similitude7Params(DeltaX, DeltaY, DeltaZ, d, rx, ry, rz, x, y, z, X, Y, Z);
  }
  if (grille_) {
    double lambda, phi, h;
    CartesienVersGeographique(X, Y, Z, AWGS84, EWGS84, lambda, phi, h);
    double tx, ty, tz;
    if (grille_->GetTranslation(phi * RadiansVersDegres, lambda * RadiansVersDegres, tx, ty, tz)) {
      X = x + tx;
      Y = y + ty;
      Z = z + tz;
    }
  }
}

void TDatum::VersLatLong(double X, double Y, double Z, bool Paris, double& Lat, double& Long) const {
  double x, y, z;
  bool fait = false;
  if (grille_) {
    double lambda, phi, h;
    CartesienVersGeographique(X, Y, Z, AWGS84, EWGS84, lambda, phi, h);
    double tx, ty, tz;
    if (grille_->GetTranslation(phi * RadiansVersDegres, lambda * RadiansVersDegres, tx, ty, tz)) {
      Similitude7ParamsInverseApprochee(tx, ty, tz, 0, 0, 0, 0, X, Y, Z, x, y, z);
      fait = true;
    }
  }
  if (!fait) {
    if (Reduit) {
      Similitude7ParamsInverseApprochee(DeltaX, DeltaY, DeltaZ, 0, 0, 0, 0, X, Y, Z, x, y, z);
    } else {
      double d, rx, ry, rz;
      ParametresSimilitude(d, rx, ry, rz);
      Similitude7ParamsInverse(DeltaX, DeltaY, DeltaZ, d, rx, ry, rz, X, Y, Z, x, y, z);
    }
  }
  double h;
  CartesienVersGeographique(x, y, z, Ellipsoide->a, Ellipsoide->e, Long, Lat, h);
  if (Paris) Long -= MeridienParis();
}

void TDatum::DepuisWGS84(double LatWGS84, double LongWGS84, double& Lat, double& Long) const {
  double x, y, z;
  GeographiqueVersCartesien(LongWGS84, LatWGS84, 0, AWGS84, EWGS84, x, y, z);
  VersLatLong(x, y, z, false, Lat, Long);
}

void TDatum::VersWGS84(double Lat, double Long, double& LatWGS84, double& LongWGS84) const {
  double x, y, z, h;
  VersCartesien(Lat, Long, false, x, y, z);
  CartesienVersGeographique(x, y, z, AWGS84, EWGS84, LongWGS84, LatWGS84, h);
}

void TDatum::LoadFromStream(foundation::TFlux& flux, const TDonnees& LesDonnees) {
  LitDefinition(LitLigne(flux), LesDonnees);
}

void TDatum::LitDefinition(std::string_view definition, const TDonnees& LesDonnees) {
  Valid = false;
  const auto champs = DecoupeChamps(definition);
  const size_t n = champs.size();
  if (n != 6 && n != 7 && n != 10 && n != 11)
    throw EHorsLimites(foundation::Msg(foundation::IdMsg::ProjNombreParametresDatum));
  TEllipsoide* ellipsoide = LesDonnees.UnEllipsoide(champs[2]);
  if (!ellipsoide)
    throw EHorsLimites(MessageFormate(foundation::IdMsg::ProjEllipsoideInconnu, {champs[2], champs[0]}));
  Nom = champs[0];
  Description = champs[1];
  Ellipsoide = ellipsoide;
  DeltaX = LitNombre(champs[3]);
  DeltaY = LitNombre(champs[4]);
  DeltaZ = LitNombre(champs[5]);
  Reduit = n < 10;
  if (!Reduit) {
    RotX = LitNombre(champs[6]);
    RotY = LitNombre(champs[7]);
    RotZ = LitNombre(champs[8]);
    Scale = LitNombre(champs[9]);
  }
  // The grid: the line's own token, else the NTF grid beside the executable.
  if (n == 7 || n == 11) {
    if (champs[n - 1] == "*")
      NoIgnGrille = true;
    else
      SetFileGrille(champs[n - 1]);
  } else if (Nom == "NTF") {
    const std::string chemin = platform::ExecutableFolder() + NomGrilleNTF;
    if (platform::FileExists(chemin)) SetFileGrille(chemin);
  }
  Valid = true;
}

std::string TDatum::Ligne() const {
  std::string r = "Datum=";
  r += EntreGuillemets(Nom);
  AjouteChamp(r, EntreGuillemets(Description));
  AjouteChamp(r, EntreGuillemets(Ellipsoide ? Ellipsoide->Nom : std::string()));
  for (double v : {DeltaX, DeltaY, DeltaZ}) AjouteChamp(r, ReelGeneral(v, 12));
  if (!Reduit) {
    for (double v : {RotX, RotY, RotZ}) AjouteChamp(r, ReelGeneral(v, 12));
    AjouteChamp(r, ReelGeneral(Scale, 8));
  }
  if (NoIgnGrille)
    AjouteChamp(r, "*");
  else if (!fileGrille_.empty())
    AjouteChamp(r, EntreGuillemets(fileGrille_));
  return r;
}

void TDatum::SaveToStream(foundation::TFlux& flux) const { EcritLigneCatalogue(flux, Ligne()); }

void TDatum::Assign(const TDatum& autre) {
  Nom = autre.Nom;
  Description = autre.Description;
  Ellipsoide = autre.Ellipsoide;
  DeltaX = autre.DeltaX;
  DeltaY = autre.DeltaY;
  DeltaZ = autre.DeltaZ;
  Reduit = autre.Reduit;
  SetFileGrille(autre.FileGrille());
  if (!Reduit) {
    RotX = autre.RotX;
    RotY = autre.RotY;
    RotZ = autre.RotZ;
    Scale = autre.Scale;
  }
}

}  // namespace projections
