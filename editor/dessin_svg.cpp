#include "editor/dessin_svg.h"

#include "editor/reprojection.h"

namespace editor {

using foundation::TFlux;
using foundation::TPointTopo;

bool EcritPointBrut(TFlux& f, const TPointTopo& p) {
  const uint32_t bourrage = 0;
  return f.Ecrit(&p.Num, 4) == 4 && f.Ecrit(&bourrage, 4) == 4 && f.EcritReal(p.X) && f.EcritReal(p.Y) &&
         f.EcritReal(p.Z) && f.EcritReal(p.SlH) && f.EcritReal(p.LatPt) && f.EcritReal(p.LongPt);
}

bool LitPointBrut(TFlux& f, TPointTopo& p) {
  uint32_t bourrage = 0;
  return f.Lit(&p.Num, 4) == 4 && f.Lit(&bourrage, 4) == 4 && f.LitReal(p.X) && f.LitReal(p.Y) && f.LitReal(p.Z) &&
         f.LitReal(p.SlH) && f.LitReal(p.LatPt) && f.LitReal(p.LongPt);
}

bool TDessinSVG::EcritObjet(TFlux& f) const {
  if (!foundation::EcritChaineA(f, NomFichierSVG)) return false;
  for (const TPointTopo& p : PointsTerrainCalage)
    if (!EcritPointBrut(f, p)) return false;
  for (const TPointTopo& p : PointsDessinCalage)
    if (!EcritPointBrut(f, p)) return false;
  return true;
}

bool TDessinSVG::LitObjet(TFlux& f) {
  if (!foundation::LitChaineA(f, NomFichierSVG)) return false;
  for (TPointTopo& p : PointsTerrainCalage)
    if (!LitPointBrut(f, p)) return false;
  for (TPointTopo& p : PointsDessinCalage)
    if (!LitPointBrut(f, p)) return false;
  return true;
}

bool TDessinSVG::ChangeProjectionSVG(const std::string& AncienProj, int32_t AncienFuseau, int32_t NouveauFuseau,
                                     const std::string& NouveauProj, TBilanReprojection* bilan) {
  BilanLocal b(bilan);
  if (ReprojettePoints(PointsTerrainCalage.data(), PointsTerrainCalage.size(), AncienProj, AncienFuseau, NouveauProj,
                       NouveauFuseau))
    return true;
  (*b).FondsNonConvertis.push_back(NomFichierSVG);
  return false;
}

}  // namespace editor
