#pragma once
// The network's characteristics ("Saisie des caractéristiques du réseau"):
// its name and its coordinate system.  For a new network (RectifEnCours
// clear) the system starts as independent coordinates; for an existing one
// the current system is shown and, when the network has one, it can be
// changed with conversion of every georeferenced object (the button
// "Changement de projection (avec recalcul)") or without (the current
// frame edited).
//
// A conversion is all or nothing: when it fails the message is shown, the
// dialog stays open and the network keeps its system.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace survey {
class TReseau;
}

namespace views {
class TCadreProjectionSimple;
}  // namespace views

namespace app {

using views::TCadreProjectionSimple;

class TSaisieNomReseauDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TSaisieNomReseauDlg(survey::TReseau& UnReseau, QWidget* parent = nullptr);

  // The coordinate type of the current frame changed: the change button is
  // offered for an existing network with a system, placed in a system.
  void RdgTypeCoordClick();
  // Toggles the change of system with conversion.
  void ChangeProjBtnClick();
  void accept() override;

  survey::TReseau* LeReseau = nullptr;
  bool RecalculProj = false;

  QLineEdit* EditNom = nullptr;
  TCadreProjectionSimple* CadreProjectionActive = nullptr;
  TCadreProjectionSimple* CadreProjectionNouvelle = nullptr;
  QPushButton* ChangeProjBtn = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* AnnulerBtn = nullptr;

 private:
  bool rectif_ = false;
};

}  // namespace app
