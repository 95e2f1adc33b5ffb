#pragma once
// "Recherche d'une visée": a trip choice ("Tous" first, then the trips of the
// table's shots by date), the name to find and three options.  OK searches
// and closes with OK when a row was found, else with Cancel.
#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace survey {
class TLever;
}

namespace app {

class TRechercheVisees;
class TTableVisees;

class TChercheViseeDlg : public QDialog {
  Q_OBJECT
 public:
  TChercheViseeDlg(TTableVisees& table, TRechercheVisees& recherche, QWidget* parent = nullptr);
  ~TChercheViseeDlg() override;

  // The trips of the table, "Tous" selected.
  void InitPoints();
  // The row found, -1 when none.
  int ViseeCherchee = -1;

  void OkClick();

 private:
  void LeverChange();
  TTableVisees& table_;
  TRechercheVisees& recherche_;
  std::vector<const survey::TLever*> levers_;  // in the order of the choice, after "Tous"
  QComboBox* lever_ = nullptr;
  QLineEdit* nom_ = nullptr;
  QCheckBox* exacte_ = nullptr;
  QCheckBox* commentaires_ = nullptr;
  QCheckBox* galeries_ = nullptr;
};

}  // namespace app
