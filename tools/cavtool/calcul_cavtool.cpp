#include "tools/cavtool/calcul_cavtool.h"

#include <cstdio>
#include <iostream>
#include <memory>

#include "document/composition.h"
#include "foundation/chaines.h"
#include "foundation/utilitaires.h"
#include "survey/cavite.h"
#include "survey/fichier_reseau.h"
#include "survey/rapport_calcul.h"
#include "survey/reseau.h"

namespace cavtool {

namespace {

std::string Metres(double x) { return foundation::ReelEnTexteFixe(x, 4); }

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
      // Nor do those the computation left undefined (it said why).
      if (foundation::EstIndefini(p->X) || foundation::EstIndefini(p->Y) || foundation::EstIndefini(p->Z)) continue;
      sortie += c->NomCavite + ';' + p->DesignPTopo + ';' + Metres(p->X) + ';' + Metres(p->Y) + ';' + Metres(p->Z) + '\n';
    }
  }
  std::fwrite(sortie.data(), 1, sortie.size(), stdout);
  return 0;
}

}  // namespace cavtool
