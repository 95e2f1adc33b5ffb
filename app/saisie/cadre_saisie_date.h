#pragma once
// The date frame of the survey-trip and observation dialogs: "Date ", a date
// picker and the box "non renseignée"; the picker is enabled only while the
// box is clear.
//
// Controls (objectName): DateEdit (QDateEdit), NonRenseigneChk (QCheckBox).
#include <QGroupBox>

#include "foundation/dates.h"

class QCheckBox;
class QDateEdit;

namespace app {

class TCadreSaisieDate : public QGroupBox {
  Q_OBJECT
 public:
  explicit TCadreSaisieDate(QWidget* parent = nullptr);

  // The picker's date, or the no-date value when the box is checked.
  foundation::TDateTime DateSaisie() const;
  // The no-date value (or a value that is not a date) checks the box; a date
  // goes to the picker; then the picker's state follows the box.
  void FixeDateSaisie(foundation::TDateTime d);
  // The picker's date whatever the box says.
  foundation::TDateTime DateDuSelecteur() const;
  // The box is clear.
  bool DateRenseignee() const;
  virtual void NonRenseigneChkClick();

 signals:
  // The date or the box changed.
  void DateChange();

 private:
  QDateEdit* date_ = nullptr;
  QCheckBox* nonRenseigne_ = nullptr;
};

}  // namespace app
