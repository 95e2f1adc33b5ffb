#include "foundation/dates.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"

namespace foundation {
namespace {

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
int64_t JoursDepuisCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilDepuisJours(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

constexpr int64_t kDecalage1899 = 25569;  // days from 1899-12-30 to 1970-01-01
constexpr double kMinDate = -693593;      // 0001-01-01
constexpr double kMaxDate = 2958466;      // 9999-12-31 + 1

std::string Deux(int v) { return (v < 10 ? "0" : "") + EntierEnStr(v); }

}  // namespace

bool DecodeDate(TDateTime d, int& annee, int& mois, int& jour) {
  if (!std::isfinite(d) || d < kMinDate || d >= kMaxDate) return false;
  const int64_t jours = static_cast<int64_t>(std::trunc(d)) - kDecalage1899;
  int64_t y;
  unsigned m, j;
  CivilDepuisJours(jours, y, m, j);
  annee = static_cast<int>(y);
  mois = static_cast<int>(m);
  jour = static_cast<int>(j);
  return true;
}

bool EncodeDate(int annee, int mois, int jour, TDateTime& d) {
  if (annee < 1 || annee > 9999 || mois < 1 || mois > 12 || jour < 1) return false;
  static constexpr int kJoursMois[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool bissextile = (annee % 4 == 0 && annee % 100 != 0) || annee % 400 == 0;
  const int max = kJoursMois[mois - 1] + (mois == 2 && bissextile ? 1 : 0);
  if (jour > max) return false;
  d = static_cast<double>(JoursDepuisCivil(annee, mois, jour) + kDecalage1899);
  return true;
}

void DecodeHeure(TDateTime d, int& heure, int& minute, int& seconde, int& milli) {
  heure = minute = seconde = milli = 0;
  if (!std::isfinite(d)) return;
  int64_t ms = static_cast<int64_t>(std::llround(std::fabs(d - std::trunc(d)) * 86400000.0));
  if (ms >= 86400000) ms = 86399999;
  heure = static_cast<int>(ms / 3600000);
  minute = static_cast<int>(ms / 60000 % 60);
  seconde = static_cast<int>(ms / 1000 % 60);
  milli = static_cast<int>(ms % 1000);
}

TDateTime Maintenant() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  TDateTime d = 0;
  EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, d);
  return d + (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
}

TDateTime Aujourdhui() { return std::trunc(Maintenant()); }

std::string DateEnTexte(TDateTime d) {
  int a, m, j;
  if (d == DateNonRenseignee || !DecodeDate(d, a, m, j)) return Msg(IdMsg::DateNonRenseigneeTexte);
  std::string an = EntierEnStr(a);
  while (an.size() < 4) an.insert(0, "0");
  return Deux(j) + "/" + Deux(m) + "/" + an;
}

std::string HeureEnTexte(TDateTime d) {
  int h, m, s, ms;
  DecodeHeure(d, h, m, s, ms);
  return Deux(h) + ":" + Deux(m) + ":" + Deux(s);
}

bool TexteEnDate(const std::string& texte, TDateTime& d) {
  std::string s = OteBlancs(texte);
  int valeurs[3];
  for (int i = 0; i < 3; ++i) {
    size_t p = s.find_first_of("/.-");
    std::string champ = i < 2 ? (p == std::string::npos ? std::string() : s.substr(0, p)) : s;
    if (i < 2) {
      if (p == std::string::npos) return false;
      s.erase(0, p + 1);
    }
    int32_t v;
    if (!LitEntier(champ, v)) return false;
    valeurs[i] = v;
  }
  int annee = valeurs[2];
  if (annee < 100) annee += annee < 50 ? 2000 : 1900;
  return EncodeDate(annee, valeurs[1], valeurs[0], d);
}

}  // namespace foundation
