#pragma once
// The KML export: surface points as placemarks and, for every cave, its
// survey lines in folders nested like its galleries, its gallery outlines
// and its plan drawing's lines, every point in WGS84
// longitude and latitude.
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "formats/export/gpx/export_gpx.h"
#include "formats/export/lignes_export.h"
#include "foundation/point_topo.h"

// The caves, stations and drawing elements are declared by lignes_export.h.
namespace survey {
class TReseau;
}

namespace formats {

// The kinds of objects put in the file (bit k = drawing-object kind k).
inline constexpr int KmlPointsSurface = 8;
inline constexpr int KmlCheminement = 16;
inline constexpr int KmlGaleries = 64;
inline constexpr int KmlDessin = 128;
inline constexpr int KmlObjetsDefaut = 216;

// The choice of the kinds put in the file ("Objets à mettre dans le KML"):
// one check box per kind.
class TObjetsKMLDlg {
 public:
  bool ChkbSurface = false;   // "Points de surface", 8
  bool ChkbLevers = false;    // "Cheminement", 16
  bool ChkbGaleries = false;  // "Galerie", 64
  bool ChkbDessin = false;    // "Dessin", 128

  // Checks the boxes of the kinds in the set.
  void Init(int objets);
  // The kinds of the checked boxes.
  int Transfere() const;
};

// The kinds of an export to a file: the surface points alone, without
// asking, for a network with only its surface; otherwise the choice shown
// with every kind checked (taken as it is when no window is installed).
// Nothing when it is cancelled or no box is checked.
std::optional<int> ChoisitObjetsKml(const survey::TReseau& reseau);

class TFichierKML : public TFichierXml {
 public:
  explicit TFichierKML(const survey::TReseau& reseau) : Reseau(reseau) {}
  void DebutBaliseId(const std::string& nom, const std::string& id);
  // "<" nom ">" texte "</" nom ">" on one line; the text is escaped.
  void BaliseLigne(const std::string& nom, const std::string& texte);
  // "longitude,latitude,Z"; false (nothing written) when the conversion fails.
  bool EcritPointPoly(const foundation::TPointTopo& point);
  void EcritPointSurface(const survey::TPointSpeleo& point);

 private:
  const survey::TReseau& Reseau;
};

// "ff" and the Windows colour 0x00BBGGRR as bbggrr, in lower case.
std::string CouleurKml(uint32_t couleur);

// A styled line string.
class TKmlPolyligne : public TPolyligneExport {
 public:
  using TPolyligneExport::TPolyligneExport;
  explicit TKmlPolyligne(TPolyligneExport ligne) : TPolyligneExport(std::move(ligne)) {}
  void EcritFichier(TFichierKML& fichier) const;
};

// The folder of gallery g of the cave, with the folders of the galleries
// hanging from it nested before its own survey lines.
void EcritGalerieKml(const survey::TCavite& cavite, TFichierKML& fichier, int g, const drawing::TypeTrait& trait);

// The two borders of a gallery outline in the outline style.
void EcritEnveloppeKml(const drawing::tPolyGal& poly, TFichierKML& fichier, const drawing::TypeTrait& trait);
// A visible line element of the plan drawing in its own style.
void EcritObjetDessinKml(const drawing::TObjetDonneesBasique& objet, TFichierKML& fichier);

// Builds the whole file's lines (computing the network) with the given kinds.
void ConstruitKml(survey::TReseau& reseau, int objets, TFichierKML& fichier);
// Builds the file with the given kinds and saves it through the save dialog
// ("Fichiers Kml|*.Kml"); true when saved.
bool GenereFichierKml(survey::TReseau& reseau, int objets);
// The same with the kinds of ChoisitObjetsKml; false, with nothing asked
// further, when that choice gives nothing.
bool GenereFichierKml(survey::TReseau& reseau);

// The preview: the file with every kind written as "KmlTmp.kml" in the
// working folder (replacing the last one) and handed to the program the
// desktop associates with it; false, with a message saying whether no
// program is associated with KML files or the file could not be opened.
bool VisualiseKml(survey::TReseau& reseau);

}  // namespace formats
