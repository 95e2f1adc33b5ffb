#include "projections/lignes.h"

#include <charconv>

#include "foundation/codage.h"

namespace projections {

namespace {

bool EstBlanc(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string LitCle(foundation::TFlux& flux) {
  std::string octets;
  char c;
  while (flux.Lit(&c, 1) == 1) {
    if (c == '=') break;
    octets.push_back(c);
  }
  while (!octets.empty() && EstBlanc(octets.back())) octets.pop_back();
  return foundation::DepuisWindows1252(octets);
}

std::string LitLigne(foundation::TFlux& flux) {
  std::string octets;
  char c;
  bool finDeLigne = false;
  while (flux.Lit(&c, 1) == 1) {
    if (c == '\r' || c == '\n') {
      finDeLigne = true;
      break;
    }
    octets.push_back(c);
  }
  if (finDeLigne) {
    while (flux.Lit(&c, 1) == 1) {
      if (c != '\r' && c != '\n') {
        flux.PlaceA(flux.Position() - 1);
        break;
      }
    }
  }
  return foundation::DepuisWindows1252(octets);
}

std::vector<std::string> DecoupeChamps(std::string_view texte) {
  std::vector<std::string> champs;
  size_t i = 0;
  const size_t n = texte.size();
  while (true) {
    while (i < n && EstBlanc(texte[i])) ++i;
    if (i >= n) break;
    if (texte[i] == '"') {
      const size_t fin = texte.find('"', i + 1);
      if (fin == std::string_view::npos) {
        champs.emplace_back();
        ++i;
      } else {
        champs.emplace_back(texte.substr(i + 1, fin - i - 1));
        i = fin + 1;
      }
    } else {
      const size_t debut = i;
      while (i < n && !EstBlanc(texte[i])) ++i;
      champs.emplace_back(texte.substr(debut, i - debut));
    }
  }
  return champs;
}

std::string ReelGeneral(double x, int chiffres) {
  char tampon[64];
  const auto r = std::to_chars(tampon, tampon + sizeof tampon, x, std::chars_format::general, chiffres);
  return std::string(tampon, r.ptr);
}

void AjouteChamp(std::string& ligne, std::string_view champ) {
  ligne += ' ';
  ligne += champ;
}

std::string EntreGuillemets(std::string_view texte) {
  std::string r = "\"";
  r += texte;
  r += '"';
  return r;
}

void EcritLigneCatalogue(foundation::TFlux& flux, std::string_view ligne) {
  const std::string octets = foundation::VersWindows1252(ligne) + "\r\n";
  flux.Ecrit(octets.data(), octets.size());
}

}  // namespace projections
