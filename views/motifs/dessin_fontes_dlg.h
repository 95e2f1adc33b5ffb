#pragma once
// The font dialog ("Gestion des types d'écritures"): what a font of a library
// opens to be edited.  The controls edit a working copy (MotifCourant),
// copied into the entry when the user presses OK; with
// "Appliquer cette police à tous les types d'écritures" ticked, every font of
// the entry's list then takes its typeface.  Cancel leaves the list as it was.
#include <QDialog>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace drawing {
class TFontObjetType;
}

namespace views {

class TCadreCouleur;

// Controls, in order: "NomEdit" ("Nom :"), the read-only "PoliceEdit"
// ("Police : ") and "TailleEdit" ("Taille :"), the colour square
// "CadreCouleur", "GrasChk", "ItaliqueChk", "BarreChk", "SouligneChk", the
// button "ModifierBtn" ("Modifier cette écriture"), the preview "VisuFonte",
// "AppliquerATousChk", "OKBtn" and "AnnulerBtn".
class TDessinFontesDlg : public QDialog {
  Q_OBJECT
 public:
  TDessinFontesDlg(QWidget* owner, drawing::TFontObjetType& fonte);
  ~TDessinFontesDlg() override;

  std::unique_ptr<drawing::TFontObjetType> MotifCourant;

  QLineEdit* NomEdit;
  QLineEdit* PoliceEdit;
  QLineEdit* TailleEdit;
  TCadreCouleur* CadreCouleur;
  QCheckBox* GrasChk;
  QCheckBox* ItaliqueChk;
  QCheckBox* BarreChk;
  QCheckBox* SouligneChk;
  QPushButton* ModifierBtn;
  QLabel* VisuFonte;
  QCheckBox* AppliquerATousChk;
  QPushButton* OKBtn;
  QPushButton* AnnulerBtn;

  // "Modifier cette écriture": the font dialog of the dialog port preset
  // with the font; on OK the font takes its typeface, colour, size and style.
  void ModifierClick();
  void accept() override;

 private:
  // The font into the controls and the preview.
  void Charge();
  // Style rebuilt from the four boxes, then reloaded.
  void StyleClick();

  drawing::TFontObjetType& entree_;
  bool initCtrls_ = false;
};

}  // namespace views
