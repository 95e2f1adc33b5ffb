#include "projections/angles.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "foundation/arrondi.h"
#include "projections/erreur_projection.h"

namespace projections {

using foundation::IdMsg;

namespace {

constexpr std::string_view kDegre = "\u00B0";  // "°" in UTF-8

[[noreturn]] void ErreurAngle(IdMsg id) { throw EConversion(foundation::Msg(id)); }

bool FinitPar(std::string_view s, std::string_view fin) {
  return s.size() >= fin.size() && s.substr(s.size() - fin.size()) == fin;
}

std::string Fixe(double x, int decimales) {
  char tampon[400];
  const auto r = std::to_chars(tampon, tampon + sizeof tampon, x, std::chars_format::fixed, decimales);
  return std::string(tampon, r.ptr);
}

// n as decimal text padded with zeros to at least `chiffres` digits.
std::string Chiffres(int64_t n, int chiffres) {
  std::string s = std::to_string(n);
  if (static_cast<int>(s.size()) < chiffres) s.insert(0, chiffres - s.size(), '0');
  return s;
}

}  // namespace

double TexteVersAngle(std::string_view texte) {
  if (texte.empty()) ErreurAngle(IdMsg::ProjAngleTexteVide);
  const char dernier = texte.back();
  if (dernier == '\'') {
    std::string_view s = texte;
    const bool negatif = s.front() == '-';
    if (negatif) s.remove_prefix(1);
    s.remove_suffix(1);
    const size_t pos = s.find(kDegre);
    if (pos == std::string_view::npos) ErreurAngle(IdMsg::ProjAngleDegresAbsents);
    double valeur = LitNombreEntier(s.substr(0, pos));
    s.remove_prefix(pos + kDegre.size());
    const size_t minute = s.find('\'');
    if (minute != std::string_view::npos) {
      valeur += LitNombreEntier(s.substr(0, minute)) / 60.0;
      s.remove_prefix(minute + 1);
      if (!FinitPar(s, "'")) ErreurAngle(IdMsg::ProjAngleSecondesAbsentes);
      s.remove_suffix(1);
      valeur += LitNombre(s) / 3600.0;
    } else {
      valeur += LitNombre(s) / 60.0;
    }
    const double radians = valeur * DegresVersRadians;
    return negatif ? -radians : radians;
  }
  if (dernier == '0') {
    if (texte == "0") return 0.0;
    ErreurAngle(IdMsg::ProjAngleUniteInconnue);
  }
  if (dernier == 'g') return LitNombre(texte.substr(0, texte.size() - 1)) * GradesVersRadians;
  if (FinitPar(texte, kDegre)) return LitNombre(texte.substr(0, texte.size() - kDegre.size())) * DegresVersRadians;
  ErreurAngle(IdMsg::ProjAngleUniteInconnue);
}

std::string AngleVersDegres(double angle) { return Fixe(angle * RadiansVersDegres, 8) + std::string(kDegre); }

std::string AngleVersGrades(double angle) { return Fixe(angle * RadiansVersGrades, 8) + "g"; }

std::string AngleVersDMS(double angle) {
  const double d = angle * RadiansVersDegres;
  const int64_t n = foundation::Arrondi64(std::fabs(d) * 3600.0 * 1000.0);
  const int64_t degres = n / 3600000;
  const int64_t minutes = (n % 3600000) / 60000;
  const int64_t reste = (n % 3600000) % 60000;
  const int64_t secondes = reste / 1000;
  const int64_t milliemes = reste % 1000;
  std::string r = d < 0 ? "-" : "";
  r += std::to_string(degres) + std::string(kDegre);
  if (milliemes != 0)
    r += Chiffres(minutes, 2) + "'" + Chiffres(secondes, 2) + "." + Chiffres(milliemes, 3) + "''";
  else if (secondes != 0)
    r += Chiffres(minutes, 2) + "'" + Chiffres(secondes, 2) + "''";
  else if (minutes != 0)
    r += Chiffres(minutes, 2) + "'";
  return r;
}

std::string AngleVersDM(double angle) {
  const double d = angle * RadiansVersDegres;
  const int64_t n = foundation::Arrondi64(std::fabs(d) * 60.0 * 1000.0);
  const int64_t degres = n / 60000;
  const int64_t reste = n % 60000;
  const int64_t minutes = reste / 1000;
  const int64_t milliemes = reste % 1000;
  std::string r = d < 0 ? "-" : "";
  r += std::to_string(degres) + std::string(kDegre);
  if (milliemes != 0)
    r += Chiffres(minutes, 2) + "." + Chiffres(milliemes, 3) + "'";
  else if (minutes != 0)
    r += Chiffres(minutes, 2) + "'";
  return r;
}

std::string AngleVersTexte(TUniteAngle unite, double angle) {
  switch (unite) {
    case TUniteAngle::uaDegre: return AngleVersDegres(angle);
    case TUniteAngle::uaDMS: return AngleVersDMS(angle);
    case TUniteAngle::uaGrade: return AngleVersGrades(angle);
    case TUniteAngle::uaDM: return AngleVersDM(angle);
  }
  throw EConversion(foundation::Msg(IdMsg::ProjUniteAngleInconnue));
}

double PlancherReel(double x) {
  const double t = std::trunc(x);
  return x >= 0 ? t : t - 1.0;
}

int32_t PlancherEntier(double x) { return foundation::Tronque(PlancherReel(x)); }

double PartieDecimale(double x) { return x - PlancherReel(x); }

double PasArrondi(double x) {
  const double l = std::log10(x);
  const double f = PartieDecimale(l);
  const double p = std::pow(10.0, PlancherEntier(l));
  if (f < 0.15) return p;
  if (f < 0.5) return 2 * p;
  if (f < 0.85) return 5 * p;
  return 10 * p;
}

double PasSexagesimal(double x) {
  if (!(x >= 1 && x <= 60)) throw std::logic_error(foundation::Msg(IdMsg::ProjPasSexagesimalHorsLimites));
  if (x > 42.4) return 60;
  if (x > 24.5) return 30;
  if (x > 17.3) return 20;
  if (x > 12.25) return 15;
  if (x > 7.07) return 10;
  if (x > 3.87) return 5;
  if (x > 2.45) return 3;
  if (x > 1.414) return 2;
  return 1;
}

double PasAngulaire(double rayon, double pas, TUniteAngle unite) {
  const double d = rayon * DegresVersRadians;  // metres in one degree of arc
  const double m = d / 60;
  const double s = m / 60;
  constexpr double minute = DegresVersRadians / 60;
  constexpr double seconde = minute / 60;
  switch (unite) {
    case TUniteAngle::uaDegre: return PasArrondi(pas / d) * DegresVersRadians;
    case TUniteAngle::uaGrade: return PasArrondi(pas / (rayon * GradesVersRadians)) * GradesVersRadians;
    case TUniteAngle::uaDM:
      if (pas > d) return PasArrondi(pas / d) * DegresVersRadians;
      if (pas > m) return PasSexagesimal(pas / m) * minute;
      return PasArrondi(pas / m) * minute;
    case TUniteAngle::uaDMS:
      if (pas > d) return PasArrondi(pas / d) * DegresVersRadians;
      if (pas > m) return PasSexagesimal(pas / m) * minute;
      if (pas > s) return PasSexagesimal(pas / s) * seconde;
      return PasArrondi(pas / s) * seconde;
  }
  throw EConversion(foundation::Msg(IdMsg::ProjUniteAngleInconnue));
}

double MeridienParis() {
  static const double valeur = TexteVersAngle("2\u00B020'14.025''");
  return valeur;
}

}  // namespace projections
