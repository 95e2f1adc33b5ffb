#pragma once
// "Coordonnées du point cliqué": a point clicked in the plan window, shown
// with its X and Y, named and given a Z, and added to the network's surface
// points.  While the dialog is open a marker shows the point in the window's
// survey-point layer; the dialog removes its own marker when it goes.
#include <QDialog>
#include <QPoint>
#include <string>

#include "foundation/point_topo.h"

class QLineEdit;
class QPushButton;

namespace app {

// What the dialog asks of the plan window.
class FenetrePlanPoints {
 public:
  virtual ~FenetrePlanPoints() = default;
  virtual bool CouchePointsVisible() const = 0;
  virtual void MontreCouchePoints(bool visible) = 0;
  // Adds a vertical marker at a ground point in the survey-point layer; an
  // identifier that RetireMarque takes.
  virtual int AjouteMarque(const foundation::TPointTopo& p) = 0;
  virtual void RetireMarque(int marque) = 0;
  virtual void Redessine() = 0;
  // Screen position of a ground point.
  virtual QPoint PositionEcran(const foundation::TPointTopo& p) const = 0;
};

class TDlgEnregistrerPoint : public QDialog {
  Q_OBJECT
 public:
  TDlgEnregistrerPoint(FenetrePlanPoints& fenetre, const foundation::TPointTopo& vPt, QWidget* parent = nullptr);
  ~TDlgEnregistrerPoint() override;

  // Creates the surface point, remembers its name and document, closes with OK.
  void RajouteClick();

  QLineEdit* EditNom = nullptr;
  QLineEdit* EditX = nullptr;
  QLineEdit* EditY = nullptr;
  QLineEdit* EditZ = nullptr;
  QPushButton* RajouteBtn = nullptr;
  bool SurfAjoute = false;

 private:
  FenetrePlanPoints& fenetre_;
  foundation::TPointTopo UnPt;
  bool coucheCachee_ = false;
  int marque_ = -1;
};

// The plan view's recording of a clicked ground point through this dialog
// (views::Ports().EnregistrePointClique).
void InstalleEnregistrementPoint();

}  // namespace app
