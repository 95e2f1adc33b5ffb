#pragma once
// "Choix d'un lever": the trips of a list by date, the operators of the one
// selected, a new trip or a look at the selected one.
//
// Controls (objectName): LeverBox "Lever du :", OperateursLbl,
// NouveauLeverBtn "Nouveau Lever", VisuLeverBtn (hint "Visualisation du lever
// sélectionné"), OKBtn, AnnulerBtn.
#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace survey {
class TLever;
class TLeversList;
}  // namespace survey

namespace app {

// The key a trip is sorted by in the trip choices (this one and the shot
// search's): "yyyy/mm/dd", "____/__/__" without date.
std::string CleDateLever(const survey::TLever& lever);

class TChoixLeverDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TChoixLeverDlg(QWidget* parent = nullptr);

  // The trips in the order of their keys "yyyy/mm/dd" ("____/__/__" without
  // date, after every date; equal dates in list order); the line of
  // LeverCourant's date selected
  // (none when no line has it), else the first.
  void InitDlg(survey::TLeversList& ListeLevers);
  // The trip of the selected line; none.
  survey::TLever* LeverChoisi() const;
  // The number of lines shown.
  int NombreLignes() const { return static_cast<int>(ListedateAn.size()); }
  survey::TLeversList* Levers = nullptr;

  void NouveauLeverClick();
  void VisuLeverClick();

 private:
  void LeverChange();
  std::vector<survey::TLever*> ListedateAn;  // the trips in the order of the lines
  QComboBox* lever_ = nullptr;
  QLabel* operateurs_ = nullptr;
  QPushButton* nouveau_ = nullptr;
  QToolButton* visu_ = nullptr;
};

// The trip list empty: the creation dialog.  Else "Choix d'un lever": on OK
// the trip just created when the list grew, else the selected one; none on
// Cancel.
survey::TLever* ChoisitLever(QWidget* owner, survey::TLeversList& liste);

}  // namespace app
