#include "drawing/constantes_svg.h"

#include "drawing/annexe_cavite.h"
#include "survey/cavite.h"
#include "survey/reseau.h"

namespace drawing {

TConstantesSVG InitConstSVG(const survey::TReseau& reseau, foundation::TTypeDeDessin type) {
  const foundation::ContexteVue& v = foundation::Vue();
  TConstantesSVG c;
  if (!foundation::EstDessinAlti(type)) {
    c.AbsMin = v.Xmin;
    c.AbsMax = v.Xmax;
    c.OrdMin = v.Ymin;
    c.OrdMax = v.Ymax;
    c.NomSVG = reseau.NomReseau() + "-Plani";
    return c;
  }
  c.AbsMin = v.SLmin;
  c.AbsMax = v.SLmax;
  c.OrdMin = v.Zmin;
  c.OrdMax = v.Zmax;
  const survey::TCavite* cavite = reseau.LaCaviteActive;
  const TAnnexeDessinCavite* annexe = AnnexeDessin(cavite);
  const bool projetee = annexe && annexe->LeDessinAlti && annexe->LeDessinAlti->ListePolyGal.Projetee;
  c.NomSVG = (cavite ? cavite->NomCavite : std::string()) + (projetee ? "-AltiProj" : "-AltiDev");
  return c;
}

}  // namespace drawing
