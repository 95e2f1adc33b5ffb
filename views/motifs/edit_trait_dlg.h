#pragma once
// The line-style dialog ("Gestion des types de dessin"): what a line style or
// a fill of a library opens to be edited.  The controls edit a working copy
// (MotifCourant), copied into the entry when the user presses OK; Cancel
// leaves the entry as it was.
#include <QDialog>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace drawing {
class TListeTextures;
class TObjetTrait;
}  // namespace drawing

namespace views {

class TCadreCouleur;

// Controls, in order: "NomEdit" ("Nom du motif :"), the kind group "GenreRdg"
// ("LineaireRdb", "SurfaciqueRdb"), the drawing group "DessinRdg" ("PlanRdb",
// "CoupeRdb", "LesDeuxRdb"), "HabillageChk", "TypeTraitBox" (the eleven
// dashes), "EpaisseurUD" (1 to 99), "TraitLisseChk", the pen colour square
// "CouleurPlume", the group "MotifRemplissageGrp" with "TypeRemplissageBox",
// the brush colour square "CouleurPinceau" and "MotifRemplissageBox" ("Uni"
// then the textures), the preview "VisuMotif", "OKBtn" and "AnnulerBtn".
class TEditTraitDlg : public QDialog {
  Q_OBJECT
 public:
  // Loads the texture names of the entry's list and the controls from the
  // entry.
  TEditTraitDlg(QWidget* owner, drawing::TObjetTrait& style);
  ~TEditTraitDlg() override;

  // The working copy the controls edit.
  std::unique_ptr<drawing::TObjetTrait> MotifCourant;
  // True while the controls are being loaded.
  bool InitCtrls = false;
  // The textures of the entry's list (none: "Uni" only).
  drawing::TListeTextures* ListeTexturesCourante = nullptr;

  QLineEdit* NomEdit;
  QGroupBox* GenreRdg;
  QRadioButton* LineaireRdb;
  QRadioButton* SurfaciqueRdb;
  QGroupBox* DessinRdg;
  QCheckBox* HabillageChk;
  QComboBox* TypeTraitBox;
  QSpinBox* EpaisseurUD;
  QCheckBox* TraitLisseChk;
  TCadreCouleur* CouleurPlume;
  QGroupBox* MotifRemplissageGrp;
  QComboBox* TypeRemplissageBox;
  TCadreCouleur* CouleurPinceau;
  QComboBox* MotifRemplissageBox;
  QLabel* VisuMotif;
  QPushButton* OKBtn;
  QPushButton* AnnulerBtn;

  // The working copy into the entry, then the dialog closes.
  void accept() override;

 private:
  void ChargeControles();
  // The kind group's state onto the fill group (and the silver of disabled
  // groups), then the controls into the style.
  void ChangeGenre();
  // Every control into the working copy, then the preview.
  void Transfere();
  void DessineVisu();

  drawing::TObjetTrait& entree_;
  QButtonGroup* genre_;
  QButtonGroup* dessin_;
};

}  // namespace views
