#pragma once
// The origin window of an import (TFicheOrigineImport): the shot selection
// window turned into a station chooser over the cave being imported, which
// is the network's active cave while the window is open.  A click chooses
// the cave's station nearest to it (within the snap circle); the chosen
// station is kept in the cave's PointImport and marked by a red circle
// (TPointVisu) in the survey layer.  OK and ReinitOriginBtn are enabled only
// while the chosen station is not the cave's entrance; ReinitOriginBtn
// chooses the entrance again.  The gallery outlines are hidden; shots are
// never selected.
#include "views/windows/fiche_select_transfert.h"

namespace survey {
class TCavite;
class TPointSpeleo;
}  // namespace survey

namespace views {

class TFicheOrigineImport : public TFicheSelectTransfert {
  Q_OBJECT
 public:
  explicit TFicheOrigineImport(QWidget* parent = nullptr);
  ~TFicheOrigineImport() override;

  QPushButton* ReinitOriginBtn = nullptr;

  // No shot selection.
  void InitDessin() override;
  // The selection window's construction, then the gallery outlines hidden,
  // PointImport cleared and the entrance chosen.
  void Initialise() override;
  // The objects again, the marker with them.
  void ReGenereDessin() override;
  // The click, then the nearest station of the cave, when there is one
  // within the snap circle, is chosen.
  void BaseDessinClick() override;

  // Nothing when the station is already the chosen one; otherwise it
  // becomes PointImport, the marker moves to it, OK and ReinitOriginBtn
  // follow whether it is away from the entrance, and the view is redrawn.
  void ChoisitPointOrigine(survey::TPointSpeleo* station);
  void ReinitOriginBtnClick();

  // Closing leaves the display memory of the selection windows as it was:
  // the hidden outlines are this window's own.
  void done(int r) override;

 private:
  survey::TCavite* Cavite() const;
  // The station of the cave (entrances included) nearest to a ground point,
  // within the snap radius; none otherwise.
  survey::TPointSpeleo* StationProche(const foundation::TPointTopo& p) const;
  // The marker at PointImport, alone of its kind in the survey layer.
  void PlaceMarqueur();
};

}  // namespace views
