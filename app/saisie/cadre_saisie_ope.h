#pragma once
// The operator group: the document's operators in a sorted choice, the list of
// the trip's (or the observation's) operators, "<---" to add the chosen one,
// "--->" to remove the selected line and "+" to name a new one.
//
// The survey-trip dialog embeds it as its operator group (ModeOperateurs::Lever);
// the observation dialog embeds it as TCadreSaisieOpe proper, which differs:
// every operator is offered (Initialise), the list comes from a reference
// list (InitRectif), "<---" adds only a non-empty line, "+" keeps the typed
// name as it stands, and TransfereListe copies every line.
//
// Controls (objectName): DesignPersonne (QLabel), OperateursBox (QComboBox),
// AjouteOpeBtn "<---", RetireOpeBtn "--->", NouvelOpeBtn "+", ListeOpe
// (QListWidget; each line holds its operator).
#include <QGroupBox>
#include <string>

#include "survey/operateur.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace app {

enum class ModeOperateurs { Lever, Observation };

class TCadreSaisieOpe : public QGroupBox {
  Q_OBJECT
 public:
  explicit TCadreSaisieOpe(QWidget* parent = nullptr, ModeOperateurs mode = ModeOperateurs::Observation);

  // Fills the choice from the document's operators (the trip dialog leaves
  // out those whose trimmed name is blank), sorted, the first selected.
  void Initialise();
  // The list takes the operators of the given list.
  void InitRectif(const survey::TListeDOperateurs& ListeOpe);
  // The list's operators into the given list (emptied first): every line in
  // the frame, the lines whose trimmed text is not blank in the trip dialog.
  void TransfereListe(survey::TListeDOperateurs& ListeOpe) const;
  // The label over the list: text + " :".
  void FixeDesignPersonne(const std::string& texte);

  void AjouteClick();
  void RetireClick();
  void NouveauClick();
  // The read-only view: the choice and the three buttons hidden.
  void LectureSeule();

 private:
  void AjouteALaListe(survey::TOperateur* o);
  // Inserts into the choice at its sorted place; its index.
  int InsereDansChoix(survey::TOperateur* o);
  void MiseAJourBoutons();
  survey::TOperateur* OperateurChoisi() const;

  ModeOperateurs mode_;
  QLabel* designPersonne_ = nullptr;
  QComboBox* choix_ = nullptr;
  QPushButton* ajoute_ = nullptr;
  QPushButton* retire_ = nullptr;
  QPushButton* nouveau_ = nullptr;
  QListWidget* liste_ = nullptr;
};

}  // namespace app
