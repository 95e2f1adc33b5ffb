#include "projections/transverse_mercator.h"

#include <cmath>
#include <numbers>

#include "foundation/arrondi.h"
#include "projections/angles.h"
#include "projections/datum.h"
#include "projections/fabrique.h"
#include "projections/geodesie.h"

namespace projections {

namespace {
constexpr double kPi = std::numbers::pi;
constexpr std::array<const char*, 3> kNomsReelsBrut = {"n", "X0", "Y0"};
constexpr std::array<const char*, 1> kNomsAnglesBrut = {"LandaC"};
constexpr std::array<const char*, 3> kNomsReelsTM = {"k0", "X0", "Y0"};
constexpr std::array<const char*, 2> kNomsAnglesTM = {"Landa0", "Phi0"};
constexpr std::array<const char*, 1> kNomsEntiersZone = {"Fuseau"};
constexpr std::array<const char*, 1> kNomsBooleensZone = {"Sud"};
constexpr std::array<const char*, 4> kNomsReelsMultiple = {"k0", "X0", "Y0Nord", "Y0Sud"};
constexpr std::array<const char*, 2> kNomsAnglesMultiple = {"LandaFuseau0", "Pas"};
}  // namespace

// --- TTransverseMercatorBrut ----------------------------------------------------------

void TTransverseMercatorBrut::SetValid(bool valeur) {
  TProjection::SetValid(valeur);
  CalculeConstantes();
}

double TTransverseMercatorBrut::GetParamReal(int index) const {
  return LitReel(std::array<const double*, 3>{&fn, &fXs, &fYs}, index);
}
void TTransverseMercatorBrut::SetParamReal(int index, double valeur) {
  EcritReel(std::array<double*, 3>{&fn, &fXs, &fYs}, index, valeur);
}
std::string TTransverseMercatorBrut::GetNom_ParamReal(int index) const { return LitNom(kNomsReelsBrut, index); }
std::string TTransverseMercatorBrut::GetParamAngle(int index) const {
  return LitAngle(std::array<const TParamAngle*, 1>{&fLandaC}, index);
}
void TTransverseMercatorBrut::SetParamAngle(int index, const std::string& valeur) {
  EcritAngle(std::array<TParamAngle*, 1>{&fLandaC}, index, valeur);
}
std::string TTransverseMercatorBrut::GetNom_ParamAngle(int index) const { return LitNom(kNomsAnglesBrut, index); }

void TTransverseMercatorBrut::VersGrille(double Lat, double Long, double& X, double& Y) {
  double a, e;
  ConstantesEllipsoide(a, e);
  MercatorTransverseDirect(Long, Lat, e, fn, fLandaC.Valeur, fXs, fYs, X, Y);
}

void TTransverseMercatorBrut::VersLatLong(double X, double Y, double& Lat, double& Long) {
  double a, e;
  ConstantesEllipsoide(a, e);
  MercatorTransverseInverse(X, Y, e, fn, fLandaC.Valeur, fXs, fYs, Long, Lat);
}

// --- TTransverseMercator ----------------------------------------------------------------

double TTransverseMercator::GetParamReal(int index) const {
  return LitReel(std::array<const double*, 3>{&fk0, &fX0, &fY0}, index);
}
void TTransverseMercator::SetParamReal(int index, double valeur) {
  EcritReel(std::array<double*, 3>{&fk0, &fX0, &fY0}, index, valeur);
  CalculeConstantes();
}
std::string TTransverseMercator::GetNom_ParamReal(int index) const { return LitNom(kNomsReelsTM, index); }
std::string TTransverseMercator::GetParamAngle(int index) const {
  return LitAngle(std::array<const TParamAngle*, 2>{&fLanda0, &fPhi0}, index);
}
void TTransverseMercator::SetParamAngle(int index, const std::string& valeur) {
  EcritAngle(std::array<TParamAngle*, 2>{&fLanda0, &fPhi0}, index, valeur);
  CalculeConstantes();
}
std::string TTransverseMercator::GetNom_ParamAngle(int index) const { return LitNom(kNomsAnglesTM, index); }

void TTransverseMercator::CalculeConstantes() {
  if (!Valid()) return;
  try {
    double a, e, n, ys;
    ConstantesEllipsoide(a, e);
    ParametresMercatorTransverse(a, fk0, e, fPhi0.Valeur, fY0, n, ys);
    TTransverseMercatorBrut::SetParamReal(0, n);
    TTransverseMercatorBrut::SetParamReal(1, fX0);
    TTransverseMercatorBrut::SetParamReal(2, ys);
    TTransverseMercatorBrut::SetParamAngle(0, fLanda0.Texte);
  } catch (...) {
  }
}

// --- Single UTM and MTM zones ----------------------------------------------------------

int32_t TZoneMercator::GetParamInteger(int index) const {
  if (index != 0) ErreurLecture();
  return ff;
}
void TZoneMercator::SetParamInteger(int index, int32_t valeur) {
  if (index != 0) ErreurEcriture();
  ff = valeur;
  CalculeConstantes();
}
std::string TZoneMercator::GetNom_ParamInteger(int index) const { return LitNom(kNomsEntiersZone, index); }
bool TZoneMercator::GetParamBoolean(int index) const {
  if (index != 0) ErreurLecture();
  return fSud;
}
void TZoneMercator::SetParamBoolean(int index, bool valeur) {
  if (index != 0) ErreurEcriture();
  fSud = valeur;
  CalculeConstantes();
}
std::string TZoneMercator::GetNom_ParamBoolean(int index) const { return LitNom(kNomsBooleensZone, index); }

void TUTM::CalculeConstantes() {
  if (!Valid()) return;
  try {
    double a, e;
    ConstantesEllipsoide(a, e);
    TTransverseMercatorBrut::SetParamReal(0, 0.9996 * a);
    TTransverseMercatorBrut::SetParamReal(1, 500000);
    TTransverseMercatorBrut::SetParamReal(2, fSud ? 10000000 : 0);
    std::string landa = std::to_string(6 * static_cast<int64_t>(ff) - 183);
    landa += "\u00B0";
    TTransverseMercatorBrut::SetParamAngle(0, landa);
  } catch (...) {
  }
}

void Tmtm::CalculeConstantes() {
  if (!Valid()) return;
  try {
    double a, e;
    ConstantesEllipsoide(a, e);
    TTransverseMercatorBrut::SetParamReal(0, 0.9999 * a);
    TTransverseMercatorBrut::SetParamReal(1, 304800);
    TTransverseMercatorBrut::SetParamReal(2, fSud ? 10000000 : 0);
    std::string landa = "-";
    landa += std::to_string(3 * static_cast<int64_t>(ff) + 49);
    landa += "\u00B030'";
    TTransverseMercatorBrut::SetParamAngle(0, landa);
  } catch (...) {
  }
}

// --- TMultipleMercator ------------------------------------------------------------------

TMultipleMercator::TMultipleMercator() = default;
TMultipleMercator::~TMultipleMercator() = default;

double TMultipleMercator::GetParamReal(int index) const {
  return LitReel(std::array<const double*, 4>{&fk0, &fX0, &fY0Nord, &fY0Sud}, index);
}
void TMultipleMercator::SetParamReal(int index, double valeur) {
  EcritReel(std::array<double*, 4>{&fk0, &fX0, &fY0Nord, &fY0Sud}, index, valeur);
  zones_.clear();
}
std::string TMultipleMercator::GetNom_ParamReal(int index) const { return LitNom(kNomsReelsMultiple, index); }
std::string TMultipleMercator::GetParamAngle(int index) const {
  return LitAngle(std::array<const TParamAngle*, 2>{&fFuseauOrigine, &fPas}, index);
}
void TMultipleMercator::SetParamAngle(int index, const std::string& valeur) {
  zones_.clear();
  EcritAngle(std::array<TParamAngle*, 2>{&fFuseauOrigine, &fPas}, index, valeur);
}
std::string TMultipleMercator::GetNom_ParamAngle(int index) const { return LitNom(kNomsAnglesMultiple, index); }

TTransverseMercator& TMultipleMercator::ZoneMercator(int32_t fuseau) {
  auto& zone = zones_[fuseau];
  if (!zone) {
    zone = std::make_unique<TTransverseMercator>();
    zone->Datum = Datum;
    zone->SetParamReal(0, fk0);
    zone->SetParamReal(1, fX0);
    const int64_t z = fuseau;
    if (z >= 1) {
      zone->SetParamReal(2, fY0Nord);
      zone->SetParamAngle(0, AngleVersDMS(static_cast<double>(z - 1) * fPas.Valeur + fFuseauOrigine.Valeur));
    } else {
      zone->SetParamReal(2, fY0Sud);
      zone->SetParamAngle(0, AngleVersGrades(static_cast<double>(-z - 1) * fPas.Valeur + fFuseauOrigine.Valeur));
    }
    zone->SetParamAngle(1, "0\u00B0");
    zone->SetValid(true);
  } else if (zone->Datum != Datum) {
    // The system was moved to another datum: the zone follows it.
    zone->Datum = Datum;
    zone->SetValid(true);
  }
  return *zone;
}

int32_t TMultipleMercator::ChoisitZone(double Lat, double Long) const {
  const double pas = fPas.Valeur;
  double b = (pas < 0 ? -1.0 : 1.0) * (Long - fFuseauOrigine.Valeur + pas / 2);
  // Into [0, 2 pi) in one step, whatever the size of b; a value that rounds
  // to 2 pi is the start of the first zone.
  b -= 2 * kPi * std::floor(b / (2 * kPi));
  if (b >= 2 * kPi - 1e-12) b = 0;
  int32_t fuseau = foundation::Tronque(b / std::fabs(pas)) + 1;
  if (Lat < 0) fuseau = -fuseau;
  return fuseau;
}

void TMultipleMercator::VersGrille(double Lat, double Long, double& X, double& Y, int32_t& fuseau) {
  if (fuseau < ZoneAutomatique) fuseau = ChoisitZone(Lat, Long);
  ZoneMercator(fuseau).VersGrille(Lat, Long, X, Y);
}

void TMultipleMercator::VersLatLong(double X, double Y, int32_t fuseau, double& Lat, double& Long) {
  ZoneMercator(fuseau).VersLatLong(X, Y, Lat, Long);
}

void EnregistreFamilleMercator() {
  EnregistreProjection("Transverse Mercator Brut", ConstruitProjection<TTransverseMercatorBrut>);
  EnregistreProjection("Transverse Mercator", ConstruitProjection<TTransverseMercator>);
  EnregistreProjection("UTM Fuseau", ConstruitProjection<TUTM>);
  EnregistreProjection("MTM Fuseau", ConstruitProjection<Tmtm>);
  EnregistreMultiple("Transverse Mercator Multiple", ConstruitMultiple<TMultipleMercator>);
}

}  // namespace projections
