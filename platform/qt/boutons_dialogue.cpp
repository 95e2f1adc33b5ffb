#include "platform/qt/boutons_dialogue.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

#include "foundation/catalogue.h"

namespace platform::qt {

QHBoxLayout* BoutonsOKAnnuler(QDialog* d, QPushButton*& ok, QPushButton** annuler) {
  using foundation::IdMsg;
  using foundation::Msg;
  auto* boutons = new QHBoxLayout;
  boutons->addStretch();
  ok = new QPushButton(QString::fromStdString(Msg(IdMsg::PlateformeOK)), d);
  ok->setObjectName("OKBtn");
  ok->setDefault(true);
  auto* a = new QPushButton(QString::fromStdString(Msg(IdMsg::PlateformeAnnuler)), d);
  a->setObjectName("AnnulerBtn");
  a->setAutoDefault(false);
  boutons->addWidget(ok);
  boutons->addWidget(a);
  QObject::connect(ok, &QPushButton::clicked, d, &QDialog::accept);
  QObject::connect(a, &QPushButton::clicked, d, &QDialog::reject);
  if (annuler) *annuler = a;
  return boutons;
}

}  // namespace platform::qt
