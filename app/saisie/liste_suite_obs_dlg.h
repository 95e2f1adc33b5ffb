#pragma once
// TListeSuiteObsDlg: a station's continuation observations.
#include <QDialog>
#include <functional>
#include <string>

// moc reads no further than the declarations below.
#ifndef Q_MOC_RUN
#include "survey/observation.h"
#endif

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace survey {
class TLever;
class TPointSpeleo;
}  // namespace survey

namespace app {

class TSaisieSuiteEtObsDlg;

class TListeSuiteObsDlg : public QDialog {
  Q_OBJECT
 public:
  TListeSuiteObsDlg(const survey::TLever* vLever, survey::TSuiteObs& vSuiteObs, survey::TPointSpeleo* UnPoint,
                    bool visuSeul = false, QWidget* parent = nullptr);
  // Runs what the dialog starts with: with no observation, the observation
  // dialog at once.  Call before exec(); Termine says there is nothing to show.
  void Demarre();
  void AjouteLigne();
  void EditeLigne();
  void SupprimeLigne();
  void accept() override;
  // Clicking or entering the list with nothing selected selects the last line.
  bool eventFilter(QObject* objet, QEvent* evenement) override;

  bool Termine = false;
  bool Nouveau = false;
  bool VisuSeul = false;
  QTreeWidget* ListeObs = nullptr;
  QComboBox* NatureBox = nullptr;
  QLabel* LabelCommentaires = nullptr;
  QPushButton* OKBtn = nullptr;
  survey::TSuiteObs SuiteObs;  // working copy

  // How the observation dialog is run: the default shows it modally; tests
  // replace it.  The dialog is ready (InitRectif done for an edit).
  std::function<bool(TSaisieSuiteEtObsDlg&)> ExecuteObservation;

 private:
  void Affiche();
  void MontreCommentaires();
  bool EditeObservation(survey::TTypeDObs& obs, bool nouvelle);

  survey::TSuiteObs& SuiteObsOrig;
  survey::TPointSpeleo* PointTmp;
  const survey::TLever* LeverSaisie;
  survey::TTypeDObs* NouvelleObs = nullptr;
  std::string NomGal;
};

// The continuation notes of a station edited (the shot dialog's button): with
// none, the observation dialog opens at once; true when the list was
// confirmed.
bool EditeSuites(QWidget* owner, const survey::TLever* lever, survey::TPointSpeleo& point);

}  // namespace app
