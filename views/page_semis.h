#pragma once
// The pages of a layout's page grid: each is the ground rectangle one sheet
// shows at the print scale, in portrait or landscape.  For printing, a page's
// size in printer dots is computed and the page is cut into tiles small
// enough to be rendered in one bitmap each.
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/objet_de_liste.h"
#include "foundation/point_topo.h"

namespace drawing {
class TObjetDessin;
}

namespace views {

// Tiles are kept within this many dots.
inline constexpr int64_t MaxPointsSousPage = 300000000;

// A printer tile of a page.
struct TSousPage {
  int32_t SpLarg = 0;  // size, dots
  int32_t SpHaut = 0;
  int32_t dxSp = 0;  // offset from the page's upper left corner, dots
  int32_t dySp = 0;
  foundation::TPointTopo SpPtHautReel;
  foundation::TRect PrnRect;  // on the printer page, dots
};

class TPageSemis : public foundation::TObjetDeListe {
 public:
  foundation::TPointTopo PointHautReel;  // upper left corner, ground metres
  foundation::TPointTopo PointBasReel;   // lower right corner
  bool Vertical = true;                  // portrait
  double DimLpage = 0;                   // ground size, metres
  double DimHpage = 0;
  int32_t NumPage = 0;
  drawing::TObjetDessin* UnDessinPage = nullptr;  // its frame over the drawing; not owned
  bool Active = false;
  uint32_t CouleurPage = 11823615;  // frame of an inactive page
  bool MereActive = false;
  foundation::TPoint PtBmpHautCadre;  // upper right and lower left corners, printer dots
  foundation::TPoint PtBmpBasCadre;
  std::vector<TSousPage> SousPages;
  bool EstTa = false;  // the page-index sheet's own page
  int32_t HauteurUtile = 0;  // printed page, dots
  int32_t LargeurUtile = 0;
  foundation::TPoint PosLib;
  std::string LibWeb;

  // Both corners in the stream's point form, then Vertical.
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

  // The page's size in printer dots, from the current format and the print
  // transform; 0 x 0 when no format is chosen.
  void CalculeDimPrn();
  // Replaces the tiles by those of the current printer size; false when no
  // tile could be made.
  bool CreeSousPages();
  // Cuts a page of that size (dots) into tiles.
  bool DecoupeSousPages(int32_t hauteur, int32_t largeur);
  void CopiePage(const TPageSemis& PageSource);
};

}  // namespace views
