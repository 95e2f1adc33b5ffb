#include "app/echanges/select_import_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "formats/import/galeries_import.h"
#include "foundation/catalogue.h"
#include "platform/qt/conversions_qt.h"
#include "views/cadres/cadres_projection.h"

namespace app {

using views::TGroupeRadio;
using views::TCadreProjectionWGS;

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;

namespace {

enum Colonne { ColCoche, ColDesign, ColX, ColY, ColZ, ColNotes, NombreColonnes };

}  // namespace

TSelectImportDlg::TSelectImportDlg(formats::TSelectImportDlg& modele, QWidget* parent)
    : QDialog(parent), modele_(modele) {
  setObjectName("SelectImportDlg");
  setWindowTitle(Q(Msg(IdMsg::AppSelectImportTitre)));
  auto* haut = new QVBoxLayout(this);
  auto* corps = new QHBoxLayout;
  liste_ = new QTreeWidget(this);
  liste_->setObjectName("ListePoints");
  liste_->setRootIsDecorated(false);
  liste_->setUniformRowHeights(true);
  liste_->setColumnCount(NombreColonnes);
  corps->addWidget(liste_, 1);
  if (modele_.PanneauTypeCoord()) {
    auto* droite = new QVBoxLayout;
    cadre_ = new TCadreProjectionWGS(this);
    cadre_->setObjectName("CadreProjection");
    cadre_->InitCadre(modele_.ProjecReseau, modele_.FuseauReseau, modele_.ProjecReseau, modele_.FuseauReseau, nullptr,
                      Msg(IdMsg::AppSelectImportPointsImportes));
    droite->addWidget(cadre_);
    unites_ = new TGroupeRadio(Q(Msg(IdMsg::AppSelectImportUnites)),
                               {Msg(IdMsg::AppSelectImportMetres), Msg(IdMsg::AppSelectImportKilometres)}, 2, this);
    unites_->setObjectName("UnitesRdg");
    for (int i = 0; i < unites_->Nombre(); ++i) unites_->Item(i)->setObjectName(QString("UnitesRdg%1").arg(i));
    unites_->FixeItemIndex(modele_.EnKm ? 1 : 0);
    droite->addWidget(unites_);
    QPalette rouge;
    rouge.setColor(QPalette::WindowText, Qt::red);
    note1_ = new QLabel(Q(Msg(IdMsg::AppSelectImportNote1)), this);
    note1_->setObjectName("Note1Lbl");
    note1_->setPalette(rouge);
    note2_ = new QLabel(Q(Msg(IdMsg::AppSelectImportNote2)), this);
    note2_->setObjectName("Note2Lbl");
    note2_->setPalette(rouge);
    droite->addWidget(note1_);
    droite->addWidget(note2_);
    droite->addStretch();
    corps->addLayout(droite);
    connect(cadre_->RdgTypeCoord, &TGroupeRadio::Click, this, [this] { LitChoix(); });
    connect(cadre_->SystemRdg, &TGroupeRadio::Click, this, [this] { LitChoix(); });
    connect(cadre_->ListeProjectBox, &QComboBox::activated, this, [this](int) { LitChoix(); });
    connect(cadre_->ZoneBox, &QComboBox::activated, this, [this](int) { LitChoix(); });
    connect(unites_, &TGroupeRadio::Click, this, [this] { LitChoix(); });
  }
  haut->addLayout(corps);
  auto* boutons = new QHBoxLayout;
  auto bouton = [&](const char* nom, IdMsg texte) {
    auto* b = new QPushButton(Q(Msg(texte)), this);
    b->setObjectName(nom);
    b->setAutoDefault(false);
    boutons->addWidget(b);
    return b;
  };
  QPushButton* tous = bouton("TousBtn", IdMsg::AppSelectImportTous);
  QPushButton* aucun = bouton("AucunBtn", IdMsg::AppSelectImportAucun);
  boutons->addStretch();
  QPushButton* ok = bouton("OKBtn", IdMsg::AppCfgOK);
  ok->setDefault(true);
  QPushButton* annuler = bouton("AnnulerBtn", IdMsg::AppCfgAnnuler);
  haut->addLayout(boutons);
  connect(tous, &QPushButton::clicked, this, [this] {
    modele_.Tous();
    Remplit();
  });
  connect(aucun, &QPushButton::clicked, this, [this] {
    modele_.Aucun();
    Remplit();
  });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(annuler, &QPushButton::clicked, this, &QDialog::reject);
  connect(liste_, &QTreeWidget::itemChanged, this, &TSelectImportDlg::CocheChangee);
  // Marking mode: the dialog narrows to its list.
  resize(modele_.PanneauTypeCoord() ? 900 : 600, 450);
  LitChoix();
}

void TSelectImportDlg::LitChoix() {
  using Type = formats::TSelectImportDlg::TypeCoordonnees;
  if (cadre_) {
    const int type = cadre_->RdgTypeCoord->ItemIndex();
    modele_.TypeCoord = type == 0 ? Type::Independantes : type == 2 ? Type::AutreProjection : Type::ProjectionReseau;
    modele_.EstWGS = modele_.TypeCoord == Type::AutreProjection && cadre_->SystemRdg->ItemIndex() == 0;
    if (modele_.TypeCoord == Type::AutreProjection && !modele_.EstWGS) {
      modele_.Project = cadre_->ProjectActive;
      modele_.NFuseau = cadre_->ZoneActive() < 0 ? 0 : cadre_->ZoneActive();
    } else if (modele_.TypeCoord == Type::ProjectionReseau) {
      modele_.Project = modele_.ProjecReseau;
      modele_.NFuseau = modele_.FuseauReseau;
    } else {
      modele_.Project.clear();
      modele_.NFuseau = 0;
    }
    modele_.EnKm = unites_->ItemIndex() == 1;
    unites_->setVisible(modele_.UnitesVisibles());
    note1_->setVisible(modele_.NotesVisibles());
    note2_->setVisible(modele_.NotesVisibles());
  }
  liste_->setHeaderLabels({QString(), Q(Msg(IdMsg::AppSelectImportDesign)), Q(modele_.TitreX()), Q(modele_.TitreY()),
                           "Z", Q(Msg(IdMsg::AppSelectImportNotes))});
  Remplit();
}

void TSelectImportDlg::Remplit() {
  remplissage_ = true;
  modele_.Rafraichit();
  const int n = modele_.NombreLignes();
  while (liste_->topLevelItemCount() > n) delete liste_->takeTopLevelItem(liste_->topLevelItemCount() - 1);
  QList<QTreeWidgetItem*> nouveaux;
  for (int i = liste_->topLevelItemCount(); i < n; ++i) {
    auto* item = new QTreeWidgetItem;
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    nouveaux.append(item);
  }
  liste_->addTopLevelItems(nouveaux);
  for (int i = 0; i < n; ++i) {
    QTreeWidgetItem* item = liste_->topLevelItem(i);
    item->setCheckState(ColCoche, modele_.Cochee(i) ? Qt::Checked : Qt::Unchecked);
    item->setText(ColDesign, Q(modele_.TexteNom(i)));
    item->setText(ColX, Q(modele_.TexteX(i)));
    item->setText(ColY, Q(modele_.TexteY(i)));
    item->setText(ColZ, Q(modele_.TexteZ(i)));
    item->setText(ColNotes, Q(modele_.TexteNotes(i)));
  }
  remplissage_ = false;
}

void TSelectImportDlg::CocheChangee(QTreeWidgetItem* item, int colonne) {
  if (remplissage_ || colonne != ColCoche) return;
  modele_.Coche(liste_->indexOfTopLevelItem(item), item->checkState(ColCoche) == Qt::Checked);
}

bool TSelectImportDlg::Execute() {
  const bool ok = exec() == QDialog::Accepted;
  if (ok) LitChoix();
  return ok;
}

void InstalleDialogueSelectImport() {
  formats::FenetresImport().AfficheSelectImport = [](formats::TSelectImportDlg& modele) {
    TSelectImportDlg dlg(modele, QApplication::activeWindow());
    return dlg.Execute();
  };
}

}  // namespace app
