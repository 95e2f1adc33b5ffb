#include "app/reseau/choix_fusion_dlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/catalogue.h"
#include "survey/ports_survey.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;

TChoixFusionDlg::TChoixFusionDlg(const std::vector<std::string>& noms, QWidget* parent) : QDialog(parent) {
  setObjectName("ChoixFusionDlg");
  setWindowTitle(QString::fromStdString(Msg(IdMsg::EditionChoixFusion)));
  auto* haut = new QVBoxLayout(this);
  liste_ = new QListWidget(this);
  liste_->setObjectName("ListeCavites");
  for (const std::string& n : noms) {
    auto* item = new QListWidgetItem(QString::fromStdString(n), liste_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
  }
  haut->addWidget(liste_);
  auto* boutons = new QHBoxLayout;
  boutons->addStretch();
  auto* ok = new QPushButton(QString::fromStdString(Msg(IdMsg::AppCfgOK)), this);
  ok->setObjectName("OKBtn");
  ok->setDefault(true);
  auto* annuler = new QPushButton(QString::fromStdString(Msg(IdMsg::AppCfgAnnuler)), this);
  annuler->setObjectName("AnnulerBtn");
  annuler->setAutoDefault(false);
  boutons->addWidget(ok);
  boutons->addWidget(annuler);
  haut->addLayout(boutons);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(annuler, &QPushButton::clicked, this, &QDialog::reject);
}

std::vector<int> TChoixFusionDlg::Cochees() const {
  std::vector<int> r;
  for (int i = 0; i < liste_->count(); ++i)
    if (liste_->item(i)->checkState() == Qt::Checked) r.push_back(i);
  return r;
}

std::optional<std::vector<int>> TChoixFusionDlg::Execute() {
  if (exec() != QDialog::Accepted) return std::nullopt;
  return Cochees();
}

void InstalleDialogueChoixFusion() {
  survey::Ports().ChoisitCavitesFusion = [](const std::vector<std::string>& noms) {
    TChoixFusionDlg dlg(noms, QApplication::activeWindow());
    return dlg.Execute();
  };
}

}  // namespace app
