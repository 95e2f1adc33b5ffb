#include "drawing/sortie_svg.h"

#include <algorithm>
#include <cstdio>

#include "foundation/chaines.h"

namespace drawing {

std::string SortieSVG::CouleurSVG(uint32_t couleur) const {
  char t[8];
  std::snprintf(t, sizeof t, "#%02X%02X%02X", couleur & 0xFFu, (couleur >> 8) & 0xFFu, (couleur >> 16) & 0xFFu);
  return t;
}

std::string SortieSVG::ChiffreSVG(double valeur) const {
  std::string s = foundation::ReelEnTexteFixe(valeur, 3);
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  return s;
}

void LignesSVG::EcritBlocSVG(const std::string& texte) {
  IndentTotal.assign(static_cast<size_t>(2 * std::max(0, NBIndent)), ' ');
  EcritLigneSVG("<" + texte);
  IndentTotal += "   ";
}

void LignesSVG::EcritLigneSVG(const std::string& texte) {
  Lignes.push_back(IndentTotal + texte);
  DerniereLigneSVG = texte;
}

void LignesSVG::EcritFinBlocSVG(const std::string& nom) {
  IndentTotal.assign(static_cast<size_t>(2 * std::max(0, NBIndent)), ' ');
  EcritLigneSVG("</" + nom + ">");
}

std::string LignesSVG::Texte() const {
  std::string r;
  for (const std::string& l : Lignes) {
    r += l;
    r += '\n';
  }
  return r;
}

}  // namespace drawing
