#include "app/msg_coeffs_decli.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/catalogue.h"
#include "platform/qt/conversions_qt.h"
#include "platform/shell.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;

TMsgCoeffsDecli::TMsgCoeffsDecli(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("MsgCoeffsDecli"));
  setWindowTitle(Q(Msg(IdMsg::AppDecliTitre)));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  auto* texte = new QLabel(Q(Msg(IdMsg::AppDecliIndisponible)), this);
  texte->setWordWrap(true);
  v->addWidget(texte);
  v->addWidget(new QLabel(Q(Msg(IdMsg::AppDecliNoaa)), this));
  auto* lien = new QPushButton(Q(Msg(IdMsg::AppDecliCliquez)), this);
  lien->setObjectName(QStringLiteral("CliquezIciBtn"));
  v->addWidget(lien);
  auto* ok = new QPushButton(Q(Msg(IdMsg::AppCfgOK)), this);
  ok->setObjectName(QStringLiteral("OKBtn"));
  v->addWidget(ok, 0, Qt::AlignRight);
  connect(lien, &QPushButton::clicked, this, [this] { CliquezIciClick(); });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TMsgCoeffsDecli::CliquezIciClick() {
  platform::Shell::Current().OpenDocument(Msg(IdMsg::AppDecliAdresse));
  accept();
}

}  // namespace app
