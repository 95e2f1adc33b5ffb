#include "app/saisie/cadre_saisie_date.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>

#include "foundation/catalogue.h"
#include "platform/qt/conversions_qt.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;

TCadreSaisieDate::TCadreSaisieDate(QWidget* parent) : QGroupBox(Q(Msg(IdMsg::AppDateCadre)), parent) {
  setObjectName(QStringLiteral("CadreSaisieDate"));
  auto* h = new QHBoxLayout(this);
  date_ = new QDateEdit(this);
  date_->setObjectName(QStringLiteral("DateEdit"));
  date_->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  date_->setCalendarPopup(true);
  date_->setDate(QDate(2000, 1, 1));
  nonRenseigne_ = new QCheckBox(Q(Msg(IdMsg::DateNonRenseigneeTexte)), this);
  nonRenseigne_->setObjectName(QStringLiteral("NonRenseigneChk"));
  h->addWidget(date_);
  h->addWidget(nonRenseigne_);
  connect(date_, &QDateEdit::dateChanged, this, [this] { emit DateChange(); });
  connect(nonRenseigne_, &QCheckBox::clicked, this, [this] {
    NonRenseigneChkClick();
    emit DateChange();
  });
}

foundation::TDateTime TCadreSaisieDate::DateDuSelecteur() const {
  const QDate q = date_->date();
  foundation::TDateTime d = foundation::DateNonRenseignee;
  if (!foundation::EncodeDate(q.year(), q.month(), q.day(), d)) return foundation::DateNonRenseignee;
  return d;
}

foundation::TDateTime TCadreSaisieDate::DateSaisie() const {
  return DateRenseignee() ? DateDuSelecteur() : foundation::DateNonRenseignee;
}

void TCadreSaisieDate::FixeDateSaisie(foundation::TDateTime d) {
  int a = 0, m = 0, j = 0;
  const bool date = d != foundation::DateNonRenseignee && foundation::DecodeDate(d, a, m, j);
  {
    const QSignalBlocker bloque(date_);
    if (date) date_->setDate(QDate(a, m, j));
  }
  nonRenseigne_->setChecked(!date);
  NonRenseigneChkClick();
  emit DateChange();
}

bool TCadreSaisieDate::DateRenseignee() const { return !nonRenseigne_->isChecked(); }

void TCadreSaisieDate::NonRenseigneChkClick() { date_->setEnabled(!nonRenseigne_->isChecked()); }

}  // namespace app
