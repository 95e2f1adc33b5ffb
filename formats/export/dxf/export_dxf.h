#pragma once
// The DXF export (release 12, ASCII): the surface points of the network and
// the active cave's survey lines, station names, gallery outlines and plan
// drawing lines, each on a layer named
// after the kind of object, in the network's coordinates.
#include <string>
#include <utility>

#include "formats/export/lignes_export.h"
#include "foundation/point_topo.h"
#include "survey/sauve_fich_txt.h"

// The caves, stations and drawing elements are declared by lignes_export.h.
namespace survey {
class TReseau;
}

namespace formats {

// "CAV_" and the layer name of the drawing-object kind (0 to 21).
std::string DesignCalque(int genre);
// The nearest AutoCAD colour index (1 to 255) of a Windows colour 0x00BBGGRR;
// black and white give 7, the index drawn in the background's opposite.
int IndexCouleurDxf(uint32_t couleur);
// A coordinate: fixed with two decimals, without padding.
std::string CoordonneeDxf(double x);

class TFichierDxf : public survey::TSauveFichTxt {
 public:
  // The group code right-justified in 3 characters, then the text.
  void ecrit_bloc(int code, const std::string& texte);
  void EcritPointPoly(const foundation::TPointTopo& point, const std::string& calque);
  // A POINT and its TEXT (the name 1 m east and north of it).
  void EcritPointSpeleo(const survey::TPointSpeleo& point, const std::string& calque, double hauteur);
};

class TDxfPolyligne : public TPolyligneExport {
 public:
  using TPolyligneExport::TPolyligneExport;
  explicit TDxfPolyligne(TPolyligneExport ligne) : TPolyligneExport(std::move(ligne)) {}
  // Nothing for fewer than two points with finite coordinates.
  void EcritFichier(TFichierDxf& fichier, const std::string& calque) const;
};

// The survey lines of every gallery of the cave, then its stations.
void EcritGaleriesDxf(const survey::TCavite& cavite, TFichierDxf& fichier);
// The two borders of a gallery outline, on "CAV_GALERIE".
void EcritEnveloppeDxf(const drawing::tPolyGal& poly, TFichierDxf& fichier);
// A visible line element of the plan drawing in its own style, on
// "CAV_HABILLAGE" or "CAV_DESSIN".
void EcritObjetDessinDxf(const drawing::TObjetDonneesBasique& objet, TFichierDxf& fichier);
// Builds the file's lines for the active cave; false (nothing built) when the
// network has no cave besides the surface.
bool ConstruitDxf(survey::TReseau& reseau, TFichierDxf& fichier);
// Builds and saves through the save dialog ("Fichiers DXF|*.DXF"); false,
// without any dialog, when the network has no cave besides the surface.
bool GenereFichierDxf(survey::TReseau& reseau);

}  // namespace formats
