#pragma once
// The point information dialog without its widgets (the model of
// TVisuPtDlg, views/windows/visu_pt_dlg.h): the texts shown for a station or
// a surface point, the sketch of the point and of the stations it is joined
// to, the marker it puts on the window that opened it, and the walk to a
// neighbour clicked on the sketch, which moves that window's view by the
// ground difference.
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/point_topo.h"
#include "platform/canvas.h"

namespace survey {
class TPointSpeleo;
}

namespace drawing {
class TObjetDessin;
}

namespace views {

class TNoyauGraphique;

// A click on the sketch takes the neighbour drawn nearer than this (pixels).
inline constexpr int32_t RayonClicCroquis = 6;
// The sketch's scale when its extent is nothing (no neighbour, or only
// neighbours at the point's place): pixels per metre.
inline constexpr double EchelleCroquisFixe = 100.0;
// The margin kept round the sketch's extent (pixels).
inline constexpr int32_t MargeCroquis = 20;
// The sketch's colours: red lines and cross, green circles (Windows values).
inline constexpr uint32_t CouleurLigneCroquis = 0x0000FF;
inline constexpr uint32_t CouleurVoisinCroquis = 0x008000;
// Half-size of the cross of the point, radius of a neighbour's circle.
inline constexpr int32_t DemiCroixCroquis = 6;
inline constexpr int32_t RayonVoisinCroquis = 3;
// The dialog's height when the point has no attached station (pixels).
inline constexpr int32_t HauteurPointNonRattache = 390;

// The texts of the dialog for one point.
struct TInfosPoint {
  // A station gives the point its cave (always, for a station of a cave; for
  // a surface point, the station of a shot that reaches it).
  bool Rattache = false;
  std::string Cavite;     // "Points de Surface" when not attached
  std::string Galerie;
  std::string Design;     // the name and, for a surface point, " (Entrée)", ...
  std::string X, Y, Z;    // width 12, one decimal
  std::string Entree;     // "Calcul par rapport au point : " + the entrance
  std::string Sl, SP, DZ, Dhh, Dhb;
  std::vector<std::string> Commentaire;
  bool Suites = false;    // the point has observations
};

// The station that gives a point its cave: for a surface point the computed
// origin of its arriving shot, else the computed end of its first shot, else
// none; any other point is its own.
survey::TPointSpeleo* StationDeRattachement(const survey::TPointSpeleo& p);
TInfosPoint InfosDuPoint(const survey::TPointSpeleo& p);

// The stations joined to a point, each once: the other station of its
// arriving shot, then of every shot at it, in an elevation drawing only the
// shots in the elevation.
std::vector<survey::TPointSpeleo*> VoisinsDuPoint(const survey::TPointSpeleo& p);

class TNoyauVisuPt {
 public:
  // The window that opens the dialog shows its survey axes (odPtLever) while
  // the dialog is open.
  TNoyauVisuPt(TNoyauGraphique& proprietaire, survey::TPointSpeleo& point);
  // The survey axes hidden again when they were hidden, the marker removed,
  // the window redrawn.
  ~TNoyauVisuPt();
  TNoyauVisuPt(const TNoyauVisuPt&) = delete;
  TNoyauVisuPt& operator=(const TNoyauVisuPt&) = delete;

  // The texts of PointAffiche; when it is attached, a TPointVisu marker at
  // its place (developed length and altitude in an elevation drawing) is put
  // into the window's odPtLever layer, in place of the previous one, and the
  // window redraws.
  const TInfosPoint& AffichePoint();
  // The sketch on the image: white, then for each neighbour a red line from
  // the centre, its name on white with its bottom-left corner 3 pixels
  // above-left of it and a green circle, then a red cross at the centre.
  // The extent fills the image less a 20-pixel margin; an extent of nothing
  // uses 100 pixels per metre.  LstPts and LstPtVue hold the neighbours and
  // their pixels.
  void DessineVueDirecte(platform::Canvas& image);
  // The neighbour drawn nearest to the pixel, nearer than 6 pixels (the first
  // of equals); -1 when none.
  int VoisinClique(int32_t x, int32_t y) const;
  // Walks to neighbour i: it becomes PointAffiche, the marker is removed and
  // the window's current view entry moves by the ground difference between
  // the two stations, then is shown.  The caller shows the point again
  // (AffichePoint).
  void MarcheVers(int i);

  survey::TPointSpeleo* PointAffiche;
  TInfosPoint Infos;
  // The neighbours drawn on the last sketch and their pixels, in one order.
  std::vector<survey::TPointSpeleo*> LstPts;
  std::vector<foundation::TPoint> LstPtVue;
  // The window already showed its survey axes.
  bool LeverAffiche = false;
  // A marker of this dialog is in the window.
  bool PointVisuCree = false;

 private:
  void RetireMarque();
  TNoyauGraphique& proprietaire_;
  drawing::TObjetDessin* marque_ = nullptr;  // owned by the window's layer
};

}  // namespace views
