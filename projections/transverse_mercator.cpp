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
}  // namespace

// --- TTransverseMercatorBrut ----------------------------------------------------------

void TTransverseMercatorBrut::FixeBrut(double n, double Xs, double Ys, const std::string& LandaC) {
  fn = n;
  fXs = Xs;
  fYs = Ys;
  FixeAngle(fLandaC, LandaC);
}

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

void TTransverseMercator::CalculeConstantes() {
  DeriveSiValide([this](double a, double e) {
    double n, ys;
    ParametresMercatorTransverse(a, fk0, e, fPhi0.Valeur, fY0, n, ys);
    FixeBrut(n, fX0, ys, fLanda0.Texte);
  });
}

// --- Single UTM and MTM zones ----------------------------------------------------------

void TUTM::CalculeConstantes() {
  DeriveSiValide([this](double a, double) {
    std::string landa = std::to_string(6 * static_cast<int64_t>(ff) - 183);
    landa += "\u00B0";
    FixeBrut(0.9996 * a, 500000, fSud ? 10000000 : 0, landa);
  });
}

void Tmtm::CalculeConstantes() {
  DeriveSiValide([this](double a, double) {
    std::string landa = "-";
    landa += std::to_string(3 * static_cast<int64_t>(ff) + 49);
    landa += "\u00B030'";
    FixeBrut(0.9999 * a, 304800, fSud ? 10000000 : 0, landa);
  });
}

// --- TMultipleMercator ------------------------------------------------------------------

TMultipleMercator::TMultipleMercator() {
  DeclareParametres({.Reels = {{"k0", &fk0}, {"X0", &fX0}, {"Y0Nord", &fY0Nord}, {"Y0Sud", &fY0Sud}},
                     .Angles = {{"LandaFuseau0", &fFuseauOrigine}, {"Pas", &fPas}}});
}
TMultipleMercator::~TMultipleMercator() = default;

void TMultipleMercator::CalculeConstantes() { zones_.clear(); }

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
