#include "tools/cavtool/calcul_cavtool.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <memory>

#include "document/composition.h"
#include "survey/cavite.h"
#include "survey/fichier_reseau.h"
#include "survey/rapport_calcul.h"
#include "survey/reseau.h"

namespace cavtool {

namespace {

std::string Metres(double x) {
  char tampon[64];
  const auto r = std::to_chars(tampon, tampon + sizeof tampon, x, std::chars_format::fixed, 4);
  std::string t(tampon, r.ptr);
  if (t == "-0.0000") t = "0.0000";
  return t;
}

}  // namespace

int CalculeFichier(const std::string& fichier) {
  document::InstalleDocument();
  std::unique_ptr<survey::TReseau> reseau = survey::OuvreReseau(fichier);
  if (!reseau) return 1;
  reseau->CalculeReseau();
  for (const std::string& a : survey::Calcul().Avertissements) std::cerr << a << '\n';
  std::string sortie;
  for (const survey::TCavite* c : reseau->Cavites) {
    if (c->EstSurface) continue;
    const survey::TPointSpeleo* entree = c->LEntree();
    for (const survey::TPointSpeleo* p : c->ListePoints) {
      // Stations the walk did not reach have no coordinates.
      if (!p->ViseeAvant && p != entree) continue;
      sortie += c->NomCavite + ';' + p->DesignPTopo + ';' + Metres(p->X) + ';' + Metres(p->Y) + ';' + Metres(p->Z) + '\n';
    }
  }
  std::fwrite(sortie.data(), 1, sortie.size(), stdout);
  return 0;
}

}  // namespace cavtool
