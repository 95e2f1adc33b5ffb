#include "foundation/chaines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "foundation/codage.h"
#include "platform/dialogs.h"

namespace foundation {
namespace {

bool EstChiffre(char c) { return c >= '0' && c <= '9'; }
bool EstLettre(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Substring by character positions.
std::string SousChaine(std::string_view s, size_t debut, size_t n) {
  const size_t a = OctetDuCaractere(s, debut);
  const size_t b = a + OctetDuCaractere(s.substr(a), n);
  return std::string(s.substr(a, b - a));
}

// Adds one to (or removes one from) a run of decimal digits of any length.
// The result has no leading zeros; zero stepped down gives "-1".
std::string PasDecimal(std::string_view chiffres, bool monte) {
  std::string n(chiffres);
  n.erase(0, std::min(n.find_first_not_of('0'), n.size()));
  if (n.empty()) return monte ? "1" : "-1";
  int i = static_cast<int>(n.size()) - 1;
  if (monte) {
    while (i >= 0 && n[i] == '9') n[i--] = '0';
    if (i < 0)
      n.insert(n.begin(), '1');
    else
      ++n[i];
  } else {
    while (i >= 0 && n[i] == '0') n[i--] = '9';
    --n[i];
    n.erase(0, std::min(n.find_first_not_of('0'), n.size()));
    if (n.empty()) n = "0";
  }
  return n;
}

}  // namespace

std::string ChaineEspaces(int n) { return std::string(std::max(n, 0), ' '); }

std::string Gauche(std::string_view s, int n) { return SousChaine(s, 0, std::max(n, 0)); }

std::string Droite(std::string_view s, int n) {
  const size_t l = NombreCaracteres(s);
  if (l < 2 || n <= 0) return "";
  const size_t k = std::min<size_t>(n, l);
  return SousChaine(s, l - k, k);
}

std::string SansDerniers(std::string_view s, int n) {
  const size_t l = NombreCaracteres(s);
  if (l < 2) return "";
  const size_t k = std::min<size_t>(std::max(n, 0), l);
  return SousChaine(s, 0, l - k);
}

void CoupeFin(std::string& s, int n) {
  const size_t l = NombreCaracteres(s);
  const size_t k = std::min<size_t>(std::max(n, 0), l);
  s.resize(OctetDuCaractere(s, l - k));
}

std::string CoupeDebut(std::string& s, int n) {
  const size_t b = OctetDuCaractere(s, std::max(n, 0));
  std::string debut = s.substr(0, b);
  s.erase(0, b);
  return debut;
}

std::string AvantCar(std::string_view s, char c) {
  const size_t p = s.find(c);
  return p == std::string_view::npos ? std::string() : std::string(s.substr(0, p));
}

std::string ApresCar(std::string_view s, char c) {
  const size_t p = s.find(c);
  return p == std::string_view::npos ? std::string(s) : std::string(s.substr(p + 1));
}

std::string ExtraitChamp(std::string& s, char c) {
  const size_t p = s.find(c);
  std::string champ;
  if (p == std::string::npos) {
    champ.swap(s);
  } else {
    champ = s.substr(0, p);
    s.erase(0, p + 1);
  }
  return champ;
}

std::string ExtraitChampNet(std::string& s, char c) {
  std::string champ = ExtraitChamp(s, c);
  s = OteBlancs(s);
  return champ;
}

std::string CadreAGauche(std::string_view s, int n) {
  n = std::clamp(n, 0, 255);
  const size_t l = NombreCaracteres(s);
  if (l >= static_cast<size_t>(n)) return SousChaine(s, 0, n);
  return std::string(s) + std::string(n - l, ' ');
}

std::string CadreADroite(std::string_view s, int n) {
  n = std::clamp(n, 0, 255);
  const size_t l = NombreCaracteres(s);
  if (l >= static_cast<size_t>(n)) return std::string(s);
  return std::string(n - l, ' ') + std::string(s);
}

std::string CentreTexte(std::string_view s, int n) {
  n = std::clamp(n, 0, 255);
  const size_t l = NombreCaracteres(s);
  if (l < static_cast<size_t>(n)) return std::string((n - l) / 2, ' ') + std::string(s);
  return SousChaine(s, 0, n);
}

std::string OteBlancs(std::string_view s) {
  const size_t a = s.find_first_not_of(' ');
  if (a == std::string_view::npos) return "";
  const size_t b = s.find_last_not_of(' ');
  return std::string(s.substr(a, b - a + 1));
}

std::string MajusculeInitiale(std::string_view s) {
  if (s.empty()) return "";
  size_t i = 0;
  const char32_t c = LitCaractere(s, i);
  std::string r;
  AjouteCaractere(r, Majuscule(c));
  r.append(s.substr(i));
  return r;
}

void ConvertitAccentsMac(std::string& s) {
  std::string r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const char32_t c = LitCaractere(s, i);
    switch (c) {
      case 0x0192: r += "E"; break;    // byte 131
      case 0x02C6: r += "à"; break;    // byte 136
      case 0x2030: r += "â"; break;    // byte 137
      case 0x017D: r += "é"; break;    // byte 142
      case 0x008F: r += "è"; break;    // byte 143
      case 0x0090: r += "ê"; break;    // byte 144
      default: AjouteCaractere(r, c);
    }
  }
  s.swap(r);
}

// --- Numbers as text --------------------------------------------------------

namespace {

// The text of a value that has no decimal form.
std::string TexteNonFini(double x) {
  if (std::isnan(x)) return "NAN";
  return x > 0 ? "+INF" : "-INF";
}

// x in fixed notation with d decimals, correctly rounded.  The buffer holds
// the widest finite double (309 digits, sign, point, 60 decimals); should the
// conversion still fail, it is done again in a buffer sized from the value, so
// that no byte of the result is one the conversion did not write.
std::string FixeEnTexte(double x, int d) {
  if (!std::isfinite(x)) return TexteNonFini(x);
  char tampon[400];
  const auto res = std::to_chars(tampon, tampon + sizeof tampon, x, std::chars_format::fixed, d);
  if (res.ec == std::errc()) return std::string(tampon, res.ptr);
  std::string grand(static_cast<size_t>(d) + 330, '\0');
  const auto res2 = std::to_chars(grand.data(), grand.data() + grand.size(), x, std::chars_format::fixed, d);
  if (res2.ec != std::errc()) return TexteNonFini(x);
  grand.resize(static_cast<size_t>(res2.ptr - grand.data()));
  return grand;
}

}  // namespace

std::string ReelEnStr(double x, int w, int d) {
  d = std::clamp(d, 0, 60);
  std::string t;
  if (!std::isfinite(x)) {
    t = TexteNonFini(x);
  } else {
    // Exact ties are rounded away from zero, as the original number formatting
    // does (2.5 -> "3", 0.125 -> "0.13"); every other value is correctly rounded.
    if (d <= 22) {
      const double p = std::pow(10.0, d);
      const double e = x * p;
      if (std::isfinite(e) && std::fma(x, p, -e) == 0 && std::fabs(e - std::trunc(e)) == 0.5)
        x = std::nextafter(x, x > 0 ? HUGE_VAL : -HUGE_VAL);
    }
    t = FixeEnTexte(x, d);
    // A value that rounds to zero carries no sign.
    if (!t.empty() && t[0] == '-' && t.find_first_not_of("-0.") == std::string::npos) t.erase(0, 1);
  }
  if (static_cast<int>(t.size()) < w) t.insert(0, w - t.size(), ' ');
  return t;
}

std::string ReelEnTexteFixe(double x, int d) {
  std::string t = FixeEnTexte(x, std::clamp(d, 0, 60));
  if (!t.empty() && t[0] == '-' && t.find_first_not_of("-0.") == std::string::npos) t.erase(0, 1);
  return t;
}

std::string ReelEnStrFixe(double x, int w, int d) {
  std::string t = ReelEnStr(x, w, d);
  if (w >= 0 && static_cast<int>(t.size()) > w) t.resize(w);
  return t;
}

std::string ReelEnStrMetres(double x, int w, int d) { return ReelEnStr(x, w, d) + " m"; }

std::string ReelEnStrZeros(double x, int w, int d) {
  // No zeros before "NAN" or an infinity: they would make it read as a number.
  if (!std::isfinite(x)) return ReelEnStr(x, w, d);
  std::string t = OteBlancs(ReelEnStr(x, w, d));
  if (static_cast<int>(t.size()) < w) t.insert(0, w - t.size(), '0');
  return t;
}

std::string EntierEnStr(int64_t n) {
  // 20 characters at most: "-9223372036854775808".
  char tampon[24];
  const auto res = std::to_chars(tampon, tampon + sizeof tampon, n);
  if (res.ec != std::errc()) return std::to_string(n);
  return std::string(tampon, res.ptr);
}

std::string ReelEnTexteExact(double x) {
  if (!std::isfinite(x)) return TexteNonFini(x);
  // 24 characters at most ("-2.2250738585072014e-308").
  char tampon[64];
  const auto res = std::to_chars(tampon, tampon + sizeof tampon, x);
  if (res.ec != std::errc()) return FixeEnTexte(x, 60);
  return std::string(tampon, res.ptr);
}

// --- Text as numbers ----------------------------------------------------------

std::string NettoieNombre(std::string_view s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s)
    if (c != ' ') r.push_back(c);
  if (r.empty()) return "0";
  if (r == "-") return "-0";
  return r;
}

namespace {

// Reads the longest leading part of s that is a decimal real (sign, digits,
// '.', exponent).  Returns the number of bytes used, 0 when there is none.
size_t LitDebutReel(std::string_view s, double& v) {
  v = 0;
  size_t i = 0;
  bool negatif = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negatif = s[i] == '-';
    ++i;
  }
  const std::string_view corps = s.substr(i);
  // Only digits and '.' may start the body: no "inf", "nan" or hexadecimal.
  if (corps.empty() || !(EstChiffre(corps[0]) || corps[0] == '.')) return 0;
  double r = 0;
  const auto res = std::from_chars(corps.data(), corps.data() + corps.size(), r, std::chars_format::general);
  if (res.ec == std::errc::invalid_argument) return 0;
  if (res.ec == std::errc::result_out_of_range) {
    // Keep the sign of the overflow or underflow as strtod would.
    bool grand = false;
    for (const char* p = corps.data(); p < res.ptr && *p != 'e' && *p != 'E'; ++p)
      if (*p >= '1' && *p <= '9') grand = true;
    const char* e = std::find_if(corps.data(), res.ptr, [](char c) { return c == 'e' || c == 'E'; });
    if (e != res.ptr && e + 1 < res.ptr && e[1] == '-') grand = false;
    r = grand ? HUGE_VAL : 0.0;
  }
  v = negatif ? -r : r;
  return i + static_cast<size_t>(res.ptr - corps.data());
}

}  // namespace

bool LitReel(std::string_view s, double& valeur) {
  double v;
  const size_t n = LitDebutReel(s, v);
  if (n == 0 || n != s.size()) {
    valeur = 0;
    return false;
  }
  valeur = v;
  return true;
}

bool LitEntier(std::string_view s, int32_t& valeur) {
  if (!s.empty() && s[0] == '+') {
    s.remove_prefix(1);
    if (!s.empty() && s[0] == '-') return false;
  }
  if (s.empty()) return false;
  int32_t v = 0;
  const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
  if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return false;
  valeur = v;
  return true;
}

double TexteEnReel(std::string_view s) {
  double v;
  return LitReel(NettoieNombre(s), v) ? v : 0.0;
}

double ExtraitReelErreur(std::string& s, char c, bool& erreur) {
  const std::string champ = NettoieNombre(ExtraitChampNet(s, c));
  double v;
  const size_t n = LitDebutReel(champ, v);
  erreur = n != champ.size();
  return n == 0 ? 0.0 : v;
}

double ExtraitReel(std::string& s, char c) {
  bool erreur;
  return ExtraitReelErreur(s, c, erreur);
}

bool DemandeReel(const std::string& invite, double& x) {
  const auto texte = platform::Dialogs::Current().Prompt("", invite, "");
  if (!texte) return false;
  return LitReel(NettoieNombre(*texte), x) || (x = 0, false);
}

// --- Station names --------------------------------------------------------------

char IncrementeLettre(char c, bool& retenue, bool monte) {
  const bool minuscule = c >= 'a' && c <= 'z';
  char m = minuscule ? static_cast<char>(c - 32) : c;
  if (monte) {
    retenue = m == 'Z';
    m = retenue ? 'A' : static_cast<char>(m + 1);
  } else {
    retenue = m == 'A';
    m = retenue ? 'Z' : static_cast<char>(m - 1);
  }
  return minuscule ? static_cast<char>(m + 32) : m;
}

std::string IncrementeNom(std::string_view nom, bool monte) {
  if (nom.empty()) return "";
  size_t fin = nom.size();
  if (EstChiffre(nom[fin - 1])) {
    size_t debut = fin;
    while (debut > 0 && EstChiffre(nom[debut - 1])) --debut;
    return std::string(nom.substr(0, debut)) + PasDecimal(nom.substr(debut), monte);
  }
  if (!EstLettre(nom[fin - 1])) return std::string(nom);
  std::string r(nom);
  size_t i = fin;
  bool retenue = true;
  while (retenue && i > 0 && EstLettre(r[i - 1])) {
    r[i - 1] = IncrementeLettre(r[i - 1], retenue, monte);
    --i;
  }
  return r;
}

}  // namespace foundation
