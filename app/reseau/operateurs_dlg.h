#pragma once
// The operator windows of the "Opérateurs" menu and the operator list file:
//
// - TRectifOpeDlg "Rectification des opérateurs": an operator's name is
//   changed in the list of names being edited; renaming to a name that
//   already exists merges the operators on OK.
// - TSupprOpeDlg "Suppression d'opérateurs": the operators no trip and no
//   observation names, checked; OK deletes those left checked.
// - ExporteOperateurs / ImporteOperateurs: the network's "-ope.txt" list,
//   and any text file of one name per line.
//
// Controls (objectName): OperateurBox "Choisissez l'opérateur à rectifier :",
// DesignationEdit "Nouvelle désignation :", ValiderBtn "Valider la
// modification", ListeOperateurs (deletion), OKBtn, AnnulerBtn.
#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace survey {
class TReseau;
}

namespace app {

class TRectifOpeDlg : public QDialog {
  Q_OBJECT
 public:
  // Rebuilds the trip list; the names of the document's operators, in order,
  // become the names being edited.
  explicit TRectifOpeDlg(survey::TReseau& reseau, QWidget* parent = nullptr);

  // Every occurrence of the chosen name takes the edit's text.
  void ValiderClick();
  // With a change: the document is modified, each operator takes its edited
  // name and operators of equal names are merged into the first of them.
  void accept() override;

  std::vector<std::string> ListeDesign;  // one edited name per operator, document order
  int IndexCourant = 0;                   // line of the choice being edited
  bool UneModifOpe = false;

 private:
  // The distinct names, sorted; the given one selected (else the line
  // IndexCourant, clamped).
  void RemplitChoix(const std::string* aSelectionner);
  void ChoixChange();
  void EditionChange();
  survey::TReseau& reseau_;
  QComboBox* choix_ = nullptr;
  QLineEdit* edition_ = nullptr;
  QPushButton* valider_ = nullptr;
};

class TSupprOpeDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TSupprOpeDlg(survey::TReseau& reseau, QWidget* parent = nullptr);

  // Nothing to list: "il n'y a aucun opérateur à supprimer." instead of the
  // window.
  int exec() override;
  // Deletes the operators left checked and marks the document modified.
  void accept() override;

 private:
  survey::TReseau& reseau_;
  QListWidget* liste_ = nullptr;
};

// The operators' names, sorted without repeats, to network name + "-ope.txt"
// in the working folder, and the message naming it; without operators, a
// message saying there is nothing to export.
void ExporteOperateurs(survey::TReseau& reseau);
// The open dialog (executable's folder, ".txt" filter), then one operator per
// line of the file whose name no operator has yet.  True when operators were
// added.
bool ImporteOperateurs(survey::TReseau& reseau);

}  // namespace app
