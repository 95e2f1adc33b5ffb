#include "foundation/utilitaires.h"

#include <cmath>
#include <filesystem>

#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/dates.h"

namespace foundation {

namespace {
constexpr std::string_view kInterdits = "|:*<>\\/?\"";
}

std::string NettoieNomFichier(std::string_view nom) {
  std::string r = OteBlancs(nom);
  for (char& c : r)
    if (kInterdits.find(c) != std::string_view::npos) c = '_';
  return r;
}

bool NomFichierNouveauValide(std::string_view nom) {
  const std::string n = OteBlancs(nom);
  if (n.empty() || n.find_first_of(kInterdits) != std::string::npos) return false;
  std::error_code ec;
  return !std::filesystem::exists(n, ec);
}

std::string NomFichierTemp() {
  std::string t = "TmpTxt" + HeureEnTexte(Maintenant()) + ".tmp";
  for (char& c : t)
    if (c == ':') c = '_';
  return t;
}

int CompareNomsPoints(std::string_view a, std::string_view b) {
  const std::string ta = OteBlancs(a), tb = OteBlancs(b);
  // Leading digits, compared as numbers of any length.
  auto chiffres = [](const std::string& s) {
    size_t n = 0;
    while (n < s.size() && s[n] >= '0' && s[n] <= '9') ++n;
    std::string_view v(s.data(), n);
    while (v.size() > 1 && v.front() == '0') v.remove_prefix(1);
    return std::make_pair(n > 0, v);
  };
  const auto [aNombre, na] = chiffres(ta);
  const auto [bNombre, nb] = chiffres(tb);
  if (aNombre != bNombre) return aNombre ? -1 : 1;
  if (aNombre) {
    if (na.size() != nb.size()) return na.size() < nb.size() ? -1 : 1;
    const int c = na.compare(nb);
    if (c != 0) return c < 0 ? -1 : 1;
  }
  // UTF-8 byte order is the order of the code points.
  const int c = ta.compare(tb);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::vector<std::string> DecoupeLignes(std::string_view texte) {
  std::vector<std::string> lignes;
  std::string cur;
  for (size_t i = 0; i < texte.size(); ++i) {
    const char c = texte[i];
    if (c == '\r' || c == '\n') {
      lignes.push_back(cur);
      cur.clear();
      if (c == '\r' && i + 1 < texte.size() && texte[i + 1] == '\n') ++i;
    } else {
      cur.push_back(c);
    }
  }
  if (!cur.empty() || lignes.empty()) lignes.push_back(cur);
  return lignes;
}

std::string LigneLaPlusLongue(std::string_view texte) {
  if (OteBlancs(texte).empty()) return "";
  std::string meilleure;
  size_t longueur = 0;
  bool premiere = true;
  for (const std::string& l : DecoupeLignes(texte)) {
    const size_t n = NombreCaracteres(l);
    if (premiere || n > longueur) {
      meilleure = l;
      longueur = n;
      premiere = false;
    }
  }
  return meilleure;
}

}  // namespace foundation
