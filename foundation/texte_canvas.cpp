#include "foundation/texte_canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "foundation/arrondi.h"
#include "foundation/utilitaires.h"

namespace foundation {
namespace {

// A scratch bitmap of the installed kind carrying the font.
std::unique_ptr<platform::Canvas> Mesureur(const platform::CanvasFont& fonte) {
  auto c = platform::CanvasFactory::Current().CreateBitmap(1, 1);
  c->Font = fonte;
  return c;
}

// Blank: nothing but blanks, tabs and line breaks.
bool EstBlanc(const std::string& texte) {
  return std::all_of(texte.begin(), texte.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

}  // namespace

int LargeurTexteFonte(const platform::CanvasFont& fonte, const std::string& texte) {
  return Mesureur(fonte)->TextWidth(texte);
}

int HauteurTexteFonte(const platform::CanvasFont& fonte) { return Mesureur(fonte)->TextHeight("T"); }

void DessineTexteMultiLigne(platform::Canvas& canvas, const std::string& texte, int x, int y, bool cadre,
                            bool centreVerticalement, int mode) {
  if (EstBlanc(texte)) return;
  std::vector<std::string> lignes = DecoupeLignes(texte);
  if (mode & 0x80) {
    std::string une;
    for (size_t i = 0; i < lignes.size(); ++i) une += (i ? " " : "") + lignes[i];
    lignes = {une};
  }
  // The block is as wide as its widest line as drawn (the line with the most
  // characters is not always the widest, and joined lines are one line).
  std::vector<int> largeurs;
  int w = 0;
  for (const std::string& l : lignes) {
    largeurs.push_back(canvas.TextWidth(l));
    w = std::max(w, largeurs.back());
  }
  const int h = canvas.TextHeight("T");
  const int hauteur = static_cast<int>(lignes.size()) * h;
  if (centreVerticalement) y += Arrondi(hauteur / 2.0);
  for (size_t i = 0; i < lignes.size(); ++i) {
    int gauche = x;
    if (mode == 2)
      gauche = x + w - largeurs[i];
    else if (mode == 1)
      gauche = x + Arrondi((w - largeurs[i]) / 2.0);
    canvas.TextOut(gauche, y - hauteur + static_cast<int>(i) * h, lignes[i]);
  }
  if (cadre) {
    const platform::Point coins[] = {{x, y - hauteur}, {x + w, y - hauteur}, {x + w, y}, {x, y}, {x, y - hauteur}};
    canvas.Polyline(coins);
  }
}

void TexteTourne(platform::Canvas& canvas, double x, double y, double angle, const std::string& texte,
                 bool encadre) {
  const double h = canvas.TextHeight("T");
  const platform::CanvasFont ancienne = canvas.Font;
  canvas.Font.Escapement = Arrondi(angle * 180 / std::numbers::pi * 10);
  const double s = std::sin(angle), c = std::cos(angle);
  const int px = Arrondi(x - h * s), py = Arrondi(y - h * c);
  canvas.TextOut(px, py, texte);
  if (encadre) {
    const double w = canvas.TextWidth(texte);
    const platform::Point boite[] = {
        {px, py},
        {px + Arrondi(w * c), py - Arrondi(w * s)},
        {px + Arrondi(w * c + h * s), py - Arrondi(w * s - h * c)},
        {px + Arrondi(h * s), py + Arrondi(h * c)},
        {px, py},
    };
    canvas.Polyline(boite);
  }
  canvas.Font = ancienne;
}

}  // namespace foundation
