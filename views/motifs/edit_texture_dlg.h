#pragma once
// The texture dialog ("Gestion des textures"): what a texture of a library
// opens to be edited.  The controls edit a working copy (MotifCourant),
// regenerated and previewed at every change and copied into the entry when
// the user presses OK; Cancel leaves the entry as it was.
#include <QDialog>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace drawing {
class tTexture;
}

namespace views {

class TCadreCouleur;

// Controls, in order: "NomEdit" ("Nom de la texture :"), "TypeBox" (the six
// kinds), the colour square "CadreCouleur", "DensiteUD" ("Densité : ", 1 to
// 999), the size group "TailleGrp" with "LabelTaille1"/"TailleUD1" and
// "LabelTaille2"/"TailleUD2", the preview "VisuTexture", "OKBtn" and
// "AnnulerBtn".
class TEditTextureDlg : public QDialog {
  Q_OBJECT
 public:
  // Generates the texture and loads the controls from the entry.
  TEditTextureDlg(QWidget* owner, drawing::tTexture& texture);
  ~TEditTextureDlg() override;

  std::unique_ptr<drawing::tTexture> MotifCourant;

  QLineEdit* NomEdit;
  QComboBox* TypeBox;
  TCadreCouleur* CadreCouleur;
  QSpinBox* DensiteUD;
  QGroupBox* TailleGrp;
  QLabel* LabelTaille1;
  QSpinBox* TailleUD1;
  QLabel* LabelTaille2;
  QSpinBox* TailleUD2;
  QLabel* VisuTexture;
  QPushButton* OKBtn;
  QPushButton* AnnulerBtn;

  // Refused while the name is empty after trimming ("Vous n'avez pas donné
  // de nom à cette texture"); else the working copy into the entry.
  void accept() override;

 private:
  // The size group for the kind: hidden for "Points" and "Etoiles"; labels
  // and the first up-down's lower bound.
  void AfficheTailles();
  // Every control into the working copy, regenerated, then the preview.
  void Transfere();
  void DessineVisu();

  drawing::tTexture& entree_;
  bool initCtrls_ = false;
};

}  // namespace views
