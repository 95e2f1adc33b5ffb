#include "app/echanges/choix_cavite_tprb_dlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "formats/import/galeries_import.h"
#include "formats/import/toporobot/lecteur_toporobot.h"
#include "foundation/catalogue.h"
#include "platform/qt/conversions_qt.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;

TTpRbChoixCavDlg::TTpRbChoixCavDlg(formats::TTpRbChoixCavDlg& modele, QWidget* parent)
    : QDialog(parent), modele_(modele) {
  setObjectName("TpRbChoixCavDlg");
  setWindowTitle(Q(Msg(IdMsg::TpRbTitreChoix)));
  auto* haut = new QVBoxLayout(this);
  auto* plusieurs = new QLabel(Q(Msg(IdMsg::TpRbPlusieursCavites)), this);
  plusieurs->setObjectName("Label1");
  haut->addWidget(plusieurs);
  auto* choisissez = new QLabel(Q(Msg(IdMsg::TpRbChoisissez)), this);
  choisissez->setObjectName("Label2");
  haut->addWidget(choisissez);
  liste_ = new QListWidget(this);
  liste_->setObjectName("ListeCavBox");
  haut->addWidget(liste_);
  auto* boutons = new QHBoxLayout();
  boutons->addStretch();
  auto* ok = new QPushButton(Q(Msg(IdMsg::NommeGalOK)), this);
  ok->setObjectName("OKBtn");
  ok->setDefault(true);
  auto* annuler = new QPushButton(Q(Msg(IdMsg::NommeGalAnnuler)), this);
  annuler->setObjectName("AnnulerBtn");
  boutons->addWidget(ok);
  boutons->addWidget(annuler);
  haut->addLayout(boutons);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(annuler, &QPushButton::clicked, this, &QDialog::reject);
  connect(liste_, &QListWidget::itemChanged, this, &TTpRbChoixCavDlg::ListeCavBoxClickCheck);
  Remplit();
}

void TTpRbChoixCavDlg::Remplit() {
  remplissage_ = true;
  liste_->clear();
  for (size_t i = 0; i < modele_.Cavites.size(); ++i) {
    auto* item = new QListWidgetItem(Q(modele_.Cavites[i]), liste_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    const bool coche = i < modele_.Cochees.size() && modele_.Cochees[i];
    item->setCheckState(coche ? Qt::Checked : Qt::Unchecked);
  }
  remplissage_ = false;
}

void TTpRbChoixCavDlg::ListeCavBoxClickCheck(QListWidgetItem* item) {
  if (remplissage_ || !item) return;
  modele_.ListeCavBoxClickCheck(liste_->row(item), item->checkState() == Qt::Checked);
  // The other rows follow the state (the rows stay: this item is in use).
  remplissage_ = true;
  for (int i = 0; i < liste_->count(); ++i) {
    const auto k = static_cast<size_t>(i);
    const bool coche = k < modele_.Cochees.size() && modele_.Cochees[k];
    liste_->item(i)->setCheckState(coche ? Qt::Checked : Qt::Unchecked);
  }
  remplissage_ = false;
}

bool TTpRbChoixCavDlg::Execute() { return exec() == QDialog::Accepted; }

void InstalleDialogueChoixCavTpRb() {
  formats::FenetresImport().AfficheChoixCavTpRb = [](formats::TTpRbChoixCavDlg& modele) {
    TTpRbChoixCavDlg dlg(modele, QApplication::activeWindow());
    return dlg.Execute();
  };
}

}  // namespace app
