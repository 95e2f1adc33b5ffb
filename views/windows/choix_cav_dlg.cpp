#include "views/windows/choix_cav_dlg.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/conversions_qt.h"
#include "survey/cavite.h"
#include "survey/reseau.h"

namespace views {

using platform::qt::Q;

TChoixCavDlg::TChoixCavDlg(survey::TReseau& reseau, QWidget* parent) : QDialog(parent) {
  setObjectName("ChoixCavDlg");
  setWindowTitle(QString::fromUtf8("Choix des cavités à afficher"));
  ListeCavBox = new QListWidget(this);
  ListeCavBox->setObjectName("ListeCavBox");
  TousBtn = new QPushButton(QString::fromUtf8("Toutes"), this);
  TousBtn->setObjectName("TousBtn");
  AucunBtn = new QPushButton(QString::fromUtf8("Aucune"), this);
  AucunBtn->setObjectName("AucunBtn");
  auto* tous = new QHBoxLayout;
  tous->addWidget(TousBtn);
  tous->addWidget(AucunBtn);
  tous->addStretch();
  auto* colonne = new QVBoxLayout(this);
  colonne->addWidget(ListeCavBox, 1);
  colonne->addLayout(tous);
  colonne->addLayout(platform::qt::BoutonsOKAnnuler(this, BoutonOK));
  connect(TousBtn, &QPushButton::clicked, this, [this] { TousBtnClick(true); });
  connect(AucunBtn, &QPushButton::clicked, this, [this] { TousBtnClick(false); });

  // The caves by name; the active one is always drawn and not offered.
  survey::TListeCavites liste;
  reseau.AfficheListeCavites(liste, false);
  for (const auto& [nom, cavite] : liste) {
    if (cavite == reseau.LaCaviteActive) continue;
    auto* item = new QListWidgetItem(Q(nom), ListeCavBox);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(cavite->Adessiner ? Qt::Checked : Qt::Unchecked);
    Cavites.push_back(cavite);
  }
}

bool TChoixCavDlg::Execute(survey::TReseau& reseau, QWidget* parent) {
  TChoixCavDlg d(reseau, parent);
  return d.exec() == QDialog::Accepted && d.OkModif;
}

void TChoixCavDlg::TousBtnClick(bool coche) {
  for (int i = 0; i < ListeCavBox->count(); ++i) ListeCavBox->item(i)->setCheckState(coche ? Qt::Checked : Qt::Unchecked);
}

void TChoixCavDlg::done(int resultat) {
  if (resultat == QDialog::Accepted) {
    for (int i = 0; i < ListeCavBox->count(); ++i) {
      survey::TCavite* c = Cavites[static_cast<size_t>(i)];
      const bool coche = ListeCavBox->item(i)->checkState() == Qt::Checked;
      if (coche != c->Adessiner) OkModif = true;
      c->Adessiner = coche;
    }
  }
  QDialog::done(resultat);
}

}  // namespace views
