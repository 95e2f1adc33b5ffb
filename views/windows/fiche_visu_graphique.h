#pragma once
// The cave graphic window (TFicheVisuGraphique): the layered drawing window
// with the model of views/noyau_visu_graphique.h, the cave chooser "Zoom sur
// :" (BoxCavites, its drop-down as wide as its widest cave), the button of
// the zoom on a gallery or a point (TZoomGalPtsDlg) and the information of a
// clicked station (TVisuPtDlg, when AfficherPointEnable).  Made through TFicheGraphique::Cree with the concrete
// class; a window whose network is too wide to draw (FicheOuverte false) is
// never shown: exec answers Rejected at once and show does nothing.
#include "views/noyau_visu_graphique.h"
#include "views/windows/fiche_graphique.h"

class QComboBox;
class QLabel;

namespace views {

class TFicheVisuGraphique : public TFicheGraphique, public virtual TNoyauVisuGraphique {
  Q_OBJECT
 public:
  explicit TFicheVisuGraphique(QWidget* parent = nullptr);
  ~TFicheVisuGraphique() override;

  QLabel* LabelZoomCavites = nullptr;
  QComboBox* BoxCavites = nullptr;
  QToolButton* ZoomGalPtsBtn = nullptr;

  // The model's list, then the box: filled, shown and widened.
  void InitBoxCavites() override;
  // A clicked station's information: "Informations sur le point"
  // (TVisuPtDlg), modal, on this window.
  void VisuInfoPoint(survey::TPointSpeleo& point) override;
  // The zoom on a gallery or a point: "Choix de la zone sur laquelle
  // zoomer" (TZoomGalPtsDlg), modal; true with r set when OK found
  // something to frame.
  bool ZoneZoomDisponible() const override { return true; }
  bool DemandeZoneZoom(survey::TCavite& cavite, TZoomCavite& r) override;

  int exec() override;
  void setVisible(bool visible) override;
  // Shown, with a paint box that has its size.
  bool BoiteDimensionnee() const override;

 protected:
  // The zoom button follows what the window offers.
  void showEvent(QShowEvent* e) override;
  // The paint box's first size sets the view waiting for it.
  bool eventFilter(QObject* objet, QEvent* e) override;
};

}  // namespace views
