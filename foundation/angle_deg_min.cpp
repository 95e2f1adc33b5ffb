#include "foundation/angle_deg_min.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "foundation/arrondi.h"
#include "foundation/chaines.h"

namespace foundation {

std::string AngleDegMinStr(double x) {
  const double a = std::fabs(x);
  int64_t degres = static_cast<int64_t>(std::trunc(a));
  int64_t minutes = Arrondi64((a - std::trunc(a)) * 60);
  if (minutes >= 60) {
    ++degres;
    minutes -= 60;
  }
  std::string s = x < 0 ? "-" : "";
  s += EntierEnStr(degres);
  s += "\xC2\xB0 ";
  s += EntierEnStr(minutes);
  s += "'";
  return s;
}

bool LitAngleDegMin(std::string_view texte, double& angle) {
  static constexpr std::string_view degre = "\xC2\xB0";
  const size_t p = texte.find(degre);
  std::string_view champDegres = texte, champMinutes;
  if (p != std::string_view::npos) {
    champDegres = texte.substr(0, p);
    champMinutes = texte.substr(p + degre.size());
    const size_t q = champMinutes.find('\'');
    if (q != std::string_view::npos) champMinutes = champMinutes.substr(0, q);
  }
  const std::string d = NettoieNombre(champDegres);
  const std::string m = NettoieNombre(champMinutes);
  int32_t degres = 0, minutes = 0;
  if (!LitEntier(d, degres) || !LitEntier(m, minutes)) return false;
  const double valeur = std::abs(static_cast<double>(degres)) + std::abs(static_cast<double>(minutes)) / 60.0;
  angle = d[0] == '-' ? -valeur : valeur;
  return true;
}

}  // namespace foundation
