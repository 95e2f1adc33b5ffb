#pragma once
// TSaisieSuiteEtObsDlg: one continuation observation of a station.
#include <QDialog>

// moc reads no further than the declarations below.
#ifndef Q_MOC_RUN
#include "survey/observation.h"
#endif

class QComboBox;
class QPlainTextEdit;

namespace survey {
class TLever;
}  // namespace survey

namespace app {

class TCadreSaisieDate;
class TCadreSaisieOpe;

class TSaisieSuiteEtObsDlg : public QDialog {
  Q_OBJECT
 public:
  TSaisieSuiteEtObsDlg(const survey::TLever* vLever, QWidget* parent = nullptr);
  void InitRectif();
  // The fields into UneObs.
  void Transfere();
  survey::TSuitePossible Suite() const;

  survey::TTypeDObs* UneObs = nullptr;
  QComboBox* TypeSuiteBox = nullptr;
  QComboBox* EtatBox = nullptr;
  QPlainTextEdit* MemoCommentaires = nullptr;
  TCadreSaisieDate* CadreDate = nullptr;
  TCadreSaisieOpe* CadreOpe = nullptr;
};

}  // namespace app
