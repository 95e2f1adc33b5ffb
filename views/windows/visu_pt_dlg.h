#pragma once
// "Informations sur le point" (TVisuPtDlg): the name, cave, gallery,
// coordinates, distances from the entrance and comment of a station or a
// surface point, opened by a click on a station of a cave window.  Its
// sketch (VisuDirect, 97 x 97) shows the stations joined to the point as
// green circles; a left click on one walks there and moves the window's view
// with it; a right click opens the enlarged sketch (Loupe, 417 x 420), a
// right click on that closes it.  While it is open the window shows its
// survey axes and a marker (TPointVisu) on the point.  The model is
// views/noyau_visu_pt.h.
#include <QDialog>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "platform/qt/qt_canvas.h"
#include "views/noyau_visu_pt.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace views {

class TNoyauGraphique;

// An image of a fixed size drawn through the canvas port and painted from
// that image; each press is handed over with its button and pixel.
class TImageCroquis : public QWidget {
 public:
  TImageCroquis(int32_t largeur, int32_t hauteur, QWidget* parent);
  platform::QtCanvas Image;
  std::function<void(Qt::MouseButton bouton, int32_t x, int32_t y)> Appui;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
};

class TVisuPtDlg : public QDialog {
  Q_OBJECT
 public:
  // The owner is the window that opened the dialog (its view, its layers);
  // the point is shown at once.
  TVisuPtDlg(TNoyauGraphique& proprietaire, survey::TPointSpeleo& point, QWidget* parent = nullptr);
  ~TVisuPtDlg() override;

  static constexpr int32_t TailleVisuDirect = 97;
  static constexpr int32_t LargeurLoupe = 417, HauteurLoupe = 420;

  QLineEdit* EditDesign = nullptr;
  QLabel* LabelGal = nullptr;
  QLineEdit* EditGal = nullptr;
  QLineEdit* EditCavite = nullptr;
  QLineEdit* EditX = nullptr;
  QLineEdit* EditY = nullptr;
  QLineEdit* EditZ = nullptr;
  QGroupBox* DiffEntreeGroup = nullptr;
  QLabel* EntreeText = nullptr;
  QLineEdit* EditSl = nullptr;
  QLineEdit* EditSP = nullptr;
  QLineEdit* EditDZ = nullptr;
  QLineEdit* EditDhh = nullptr;
  QLineEdit* EditDhb = nullptr;
  QPlainTextEdit* MemoComment = nullptr;
  QLabel* Memo1 = nullptr;
  TImageCroquis* VisuDirect = nullptr;
  QFrame* PanelLoupe = nullptr;
  TImageCroquis* Loupe = nullptr;
  QPushButton* VisuSuiteBtn = nullptr;
  QPushButton* BoutonOK = nullptr;

  // The sketch drawn on: VisuDirect, or Loupe while the enlarged sketch is on.
  TImageCroquis* UneImage = nullptr;
  bool LoupeAffichee = false;
  int32_t XClick = 0, YClick = 0;

  // The fields for PointAffiche, its sketch and the owner's marker; the
  // enlarged sketch closed.  A point with no attached station shows only
  // its name, coordinates and comment, in a dialog 390 pixels high.
  void AffichePoint();
  // The sketch of the model on UneImage.
  void DessineVueDirecte();
  // A press on either sketch: the right button with the enlarged sketch
  // closed opens it and draws it; any other press closes it.
  void VisuDirectMouseDown(TImageCroquis* image, Qt::MouseButton bouton, int32_t x, int32_t y);
  // The neighbour nearest to the press, nearer than 6 pixels, on the sketch
  // pressed: the walk to it.
  void VisuDirectClick(TImageCroquis* image);
  // The observations of the point, read only.
  void VisuSuiteBtnClick();

  TNoyauVisuPt& Modele() { return noyau_; }

 private:
  TNoyauVisuPt noyau_;
  // The sketch whose pixels LstPtVue holds.
  TImageCroquis* imageDessinee_ = nullptr;
};

}  // namespace views
