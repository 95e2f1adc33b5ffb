#include "app/saisie/msg_coeffs_decli.h"

#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include "foundation/catalogue.h"
#include "platform/qt/conversions_qt.h"
#include "platform/shell.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;

TMsgCoeffsDecli::TMsgCoeffsDecli(QWidget* parent, RaisonsDecli raisons) : QDialog(parent) {
  setObjectName(QStringLiteral("MsgCoeffsDecli"));
  setWindowTitle(Q(Msg(IdMsg::AppDecliTitre)));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  // Only the reasons that hold: the coefficients are said missing only for a
  // date outside the field model.
  QStringList lignes;
  if (raisons.SansProjection) lignes << Q(Msg(IdMsg::AppDecliSansProjection));
  if (raisons.EntreeInconnue && !raisons.SansProjection) lignes << Q(Msg(IdMsg::AppDecliEntreeInconnue));
  if (raisons.SansDate) lignes << Q(Msg(IdMsg::AppDecliSansDate));
  if (raisons.DateHorsModele && !raisons.SansDate) lignes << Q(Msg(IdMsg::AppDecliIndisponible));
  auto* texte = new QLabel(lignes.join(QLatin1Char('\n')), this);
  texte->setObjectName(QStringLiteral("RaisonsLbl"));
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
