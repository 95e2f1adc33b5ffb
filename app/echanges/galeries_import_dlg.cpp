#include "app/echanges/galeries_import_dlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "foundation/catalogue.h"
#include "platform/qt/conversions_qt.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;

namespace {

using platform::qt::Q;

enum Colonne { ColCoche, ColRang, ColRattach, ColDebut, ColFin, ColDesignation, NombreColonnes };

// The result of a dialog closed by the origin window.
constexpr int ResultatReessayer = 2;

}  // namespace

TNommeGalDlg::TNommeGalDlg(formats::TNommeGalDlg& modele, QWidget* parent) : QDialog(parent), modele_(modele) {
  setObjectName("NommeGalDlg");
  setWindowTitle(Q(Msg(IdMsg::NommeGalTitre)));
  auto* haut = new QVBoxLayout(this);
  auto* cochez = new QLabel(Q(Msg(IdMsg::NommeGalCochez)), this);
  cochez->setObjectName("Label1");
  haut->addWidget(cochez);
  liste_ = new QTreeWidget(this);
  liste_->setObjectName("ListeGal");
  liste_->setRootIsDecorated(false);
  liste_->setSelectionBehavior(QAbstractItemView::SelectRows);
  liste_->setColumnCount(NombreColonnes);
  liste_->setHeaderLabels({QString(), Q(Msg(IdMsg::NommeGalColRang)), Q(Msg(IdMsg::NommeGalColRattach)),
                           Q(Msg(IdMsg::NommeGalColDebut)), Q(Msg(IdMsg::NommeGalColFin)),
                           Q(Msg(IdMsg::NommeGalColDesignation))});
  liste_->setColumnHidden(ColRang, true);
  liste_->setColumnWidth(ColDesignation, 400);
  haut->addWidget(liste_);
  auto* doubleClic = new QLabel(Q(Msg(IdMsg::NommeGalDoubleClic)), this);
  doubleClic->setObjectName("Label2");
  haut->addWidget(doubleClic);
  origine_ = new QLabel(Q(modele_.TexteOrigine), this);
  origine_->setObjectName("OrigineLbl");
  haut->addWidget(origine_);
  auto* boutons = new QHBoxLayout;
  auto bouton = [&](const char* nom, IdMsg texte) {
    auto* b = new QPushButton(Q(Msg(texte)), this);
    b->setObjectName(nom);
    b->setAutoDefault(false);
    boutons->addWidget(b);
    return b;
  };
  QPushButton* tout = bouton("ToutBtn", IdMsg::NommeGalTout);
  tout->setToolTip(Q(Msg(IdMsg::NommeGalToutAide)));
  QPushButton* zero = bouton("ZeroBtn", IdMsg::NommeGalZero);
  zero->setToolTip(Q(Msg(IdMsg::NommeGalZeroAide)));
  changerOrigine_ = bouton("ChangeOrigineBtn", IdMsg::NommeGalChangerOrigine);
  // Shown only where the origin can change and its window is installed.
  changerOrigine_->setVisible(modele_.BoutonOrigineVisible);
  boutons->addStretch();
  QPushButton* ok = bouton("OKBtn", IdMsg::NommeGalOK);
  ok->setDefault(true);
  QPushButton* annuler = bouton("AnnulerBtn", IdMsg::NommeGalAnnuler);
  haut->addLayout(boutons);
  connect(tout, &QPushButton::clicked, this, [this] {
    modele_.Tout();
    Remplit();
  });
  connect(zero, &QPushButton::clicked, this, [this] {
    modele_.Zero();
    Remplit();
  });
  connect(changerOrigine_, &QPushButton::clicked, this, [this] {
    if (modele_.ChangeOrigine()) done(ResultatReessayer);
  });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(annuler, &QPushButton::clicked, this, &QDialog::reject);
  connect(liste_, &QTreeWidget::itemChanged, this, &TNommeGalDlg::CocheChangee);
  connect(liste_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* i, int) { DoubleClic(i); });
  Remplit();
  resize(820, 420);
}

void TNommeGalDlg::Remplit() {
  remplissage_ = true;
  liste_->clear();
  for (int i = 0; i < modele_.NombreLignes(); ++i) {
    const formats::TLigneNommeGal& l = modele_.Lignes[static_cast<size_t>(i)];
    auto* item = new QTreeWidgetItem(liste_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(ColCoche, l.Cochee ? Qt::Checked : Qt::Unchecked);
    item->setText(ColRang, Q(l.Rang));
    item->setText(ColRattach, Q(l.Rattach));
    item->setText(ColDebut, Q(l.Debut));
    item->setText(ColFin, Q(l.Fin));
    item->setText(ColDesignation, Q(l.Designation));
    if (i == modele_.LigneSelectionnee) liste_->setCurrentItem(item);
  }
  remplissage_ = false;
}

void TNommeGalDlg::CocheChangee(QTreeWidgetItem* item, int colonne) {
  if (remplissage_ || colonne != ColCoche) return;
  const int ligne = liste_->indexOfTopLevelItem(item);
  modele_.Coche(ligne, item->checkState(ColCoche) == Qt::Checked);
  if (modele_.Cochee(ligne) != (item->checkState(ColCoche) == Qt::Checked)) {
    remplissage_ = true;
    item->setCheckState(ColCoche, modele_.Cochee(ligne) ? Qt::Checked : Qt::Unchecked);
    remplissage_ = false;
  }
}

void TNommeGalDlg::DoubleClic(QTreeWidgetItem* item) {
  const int ligne = liste_->indexOfTopLevelItem(item);
  if (modele_.Renomme(ligne)) {
    remplissage_ = true;
    item->setText(ColDesignation, Q(modele_.DesignGal(ligne)));
    remplissage_ = false;
  }
}

formats::ResultatNommeGal TNommeGalDlg::Execute() {
  switch (exec()) {
    case QDialog::Accepted: return formats::ResultatNommeGal::Ok;
    case ResultatReessayer: return formats::ResultatNommeGal::Reessayer;
    default: return formats::ResultatNommeGal::Annuler;
  }
}

void InstalleDialogueGaleriesImport() {
  formats::FenetresImport().AfficheNommeGal = [](formats::TNommeGalDlg& modele) {
    TNommeGalDlg dlg(modele, QApplication::activeWindow());
    return dlg.Execute();
  };
}

}  // namespace app
