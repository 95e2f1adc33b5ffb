#pragma once
// "Fiche d'instrument": the sheet of one measuring instrument, its kind
// offered by what it measures, its units, slope zero, reading coefficient,
// calibration and precision.
//
// Controls (objectName): TypeMesureLbl (the measure's name), DesignationEdit
// "Désignation :", MarqueEdit "Marque :", TypeInstrBox "Type d'instrument :",
// UnitesBox "Unités :", ZeroPentesBox "Zéro pentes", CoeffLectureEdit
// "Coefficient de lecture :", CoeffEtalonLbl ("Coefficient d'étalonnage :" or
// "Correction angulaire :"), CoeffEtalonEdit, CoeffEtalonUniteLbl,
// PrecisionEdit "Précision :", PrecisionUniteLbl, OKBtn, AnnulerBtn.
#include <QDialog>

#include "survey/instrument.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace app {

class TSaisieInstrDlg : public QDialog {
  Q_OBJECT
 public:
  // Edits the given instrument; with rectifEnCours its values fill the sheet
  // and confirming marks the document modified.
  TSaisieInstrDlg(QWidget* AOwner, survey::TInstrument& VInstrument, bool rectifEnCours = false);

  // Checks the numbers (a thread counter's reading coefficient and a length
  // instrument's calibration must not be 0: the message names the field,
  // which takes the focus, and the sheet stays open), then copies the sheet
  // into the instrument and closes.
  void OkClick();

 private:
  void TypeChange();
  void Transfere();
  bool EstTopofil() const;
  survey::TInstrument& instrument_;
  bool rectif_;
  QLabel* typeMesure_ = nullptr;
  QLineEdit* designation_ = nullptr;
  QLineEdit* marque_ = nullptr;
  QComboBox* type_ = nullptr;
  QLabel* unitesLbl_ = nullptr;
  QComboBox* unites_ = nullptr;
  QLabel* zeroLbl_ = nullptr;
  QComboBox* zero_ = nullptr;
  QLabel* coeffLectureLbl_ = nullptr;
  QLineEdit* coeffLecture_ = nullptr;
  QLabel* coeffEtalonLbl_ = nullptr;
  QLineEdit* coeffEtalon_ = nullptr;
  QLabel* coeffEtalonUnite_ = nullptr;
  QLineEdit* precision_ = nullptr;
  QLabel* precisionUnite_ = nullptr;
};

}  // namespace app
