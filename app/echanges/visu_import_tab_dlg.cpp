#include "app/echanges/visu_import_tab_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

#include "formats/import/galeries_import.h"
#include "foundation/catalogue.h"
#include "foundation/dates.h"
#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/conversions_qt.h"

namespace app {

using views::TGroupeRadio;
using views::TCadreProjectionSimple;
using views::TCadreSaisieCoord;

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;

// --- Frame ---------------------------------------------------------------------------------------

TCadreProjectionTab::TCadreProjectionTab(QWidget* parent) : TCadreProjectionSimple(parent) {
  // The inherited choice gives way to the three of the table.
  layout_->removeWidget(SimpleCoordsRdg);
  delete SimpleCoordsRdg;
  SimpleCoordsRdg = new TGroupeRadio(Q(Msg(IdMsg::AppVisuImportCoordEntree)),
                                     {Msg(IdMsg::AppVisuImportIndependantes), Msg(IdMsg::AppVisuImportProjection),
                                      Msg(IdMsg::AppVisuImportWGS84)},
                                     1, this);
  SimpleCoordsRdg->setObjectName("SimpleCoordsRdg");
  for (int i = 0; i < SimpleCoordsRdg->Nombre(); ++i)
    SimpleCoordsRdg->Item(i)->setObjectName(QString("SimpleCoordsRdg%1").arg(i));
  SimpleCoordsRdg->FixeItemIndex(0);
  layout_->insertWidget(0, SimpleCoordsRdg);
  GeodPanel->hide();
  connect(SimpleCoordsRdg, &TGroupeRadio::Click, this, [this] { RdgTypeCoordClick(); });
}

bool TCadreProjectionTab::Rattache() const { return SimpleCoordsRdg->ItemIndex() == 1; }

void TCadreProjectionTab::RdgTypeCoordClick() {
  EstWGS = SimpleCoordsRdg->ItemIndex() == 2;
  TCadreProjectionSimple::RdgTypeCoordClick();
  if (!vCadreSaisieCoord) return;
  const bool angles = (isWindow() || !isHidden()) && EstWGS;
  vCadreSaisieCoord->PanelAngles->setVisible(angles);
  vCadreSaisieCoord->PanelMetres->setVisible(!angles);
}

// --- Table model --------------------------------------------------------------------------------

int TModeleVisuImportTab::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(visu_.Lignes.size());
}

int TModeleVisuImportTab::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : visu_.NombreColonnes;
}

QVariant TModeleVisuImportTab::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role == Qt::DisplayRole)
    return Q(visu_.Lignes[static_cast<size_t>(index.row())].Cellule(index.column()));
  if (role == Qt::ForegroundRole)
    return QColor(visu_.CelluleRouge(index.row(), index.column()) ? Qt::red : Qt::black);
  return {};
}

QVariant TModeleVisuImportTab::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) return Q(visu_.TitreColonne(section));
  if (section < 0 || section >= rowCount()) return {};
  return Q(visu_.Lignes[static_cast<size_t>(section)].Cellule(0));
}

void TModeleVisuImportTab::Redessine() {
  if (rowCount() > 0 && columnCount() > 0)
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::ForegroundRole});
  emit headerDataChanged(Qt::Horizontal, 0, std::max(columnCount() - 1, 0));
}

// --- Dialog -----------------------------------------------------------------------------------

TVisuImportTabDlg::TVisuImportTabDlg(formats::TVisuImportTab& visu, QWidget* parent) : QDialog(parent), visu_(visu) {
  setObjectName("VisuImportTabDlg");
  setWindowTitle(Q(Msg(IdMsg::AppVisuImportTitre) + visu_.DesignFich));
  auto* haut = new QVBoxLayout(this);
  VisuLignes = new QTableView(this);
  VisuLignes->setObjectName("VisuLignes");
  modele_ = new TModeleVisuImportTab(visu_, this);
  VisuLignes->setModel(modele_);
  VisuLignes->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  VisuLignes->horizontalHeader()->setSectionsClickable(true);
  haut->addWidget(VisuLignes, 1);
  EnTeteBox = new QComboBox(VisuLignes);
  EnTeteBox->setObjectName("EnTeteBox");
  EnTeteBox->hide();

  auto* bas = new QHBoxLayout;
  auto* gauche = new QFormLayout;
  NomCavEdit = new QLineEdit(Q(visu_.NomCav), this);
  NomCavEdit->setObjectName("NomCavEdit");
  gauche->addRow(Q(Msg(IdMsg::AppVisuImportNomCav)), NomCavEdit);
  DateTopoEdit = new QLineEdit(this);
  DateTopoEdit->setObjectName("DateTopoEdit");
  DateTopoEdit->setInputMask("99/99/99");
  gauche->addRow(Q(Msg(IdMsg::AppVisuImportDate)), DateTopoEdit);
  DecliEdit = new QLineEdit(Q(visu_.TexteDecli), this);
  DecliEdit->setObjectName("DecliEdit");
  gauche->addRow(Q(Msg(IdMsg::AppVisuImportDecli)), DecliEdit);
  bas->addLayout(gauche);
  auto unite = [&](const char* nom, IdMsg titre, int valeur) {
    auto* g = new TGroupeRadio(Q(Msg(titre)), {Msg(IdMsg::AppVisuImportDegres), Msg(IdMsg::AppVisuImportGrades)}, 1,
                               this);
    g->setObjectName(nom);
    for (int i = 0; i < g->Nombre(); ++i) g->Item(i)->setObjectName(QString(nom) + QString::number(i));
    g->FixeItemIndex(valeur);
    bas->addWidget(g);
    return g;
  };
  UnitDecliRdg = unite("UnitDecliRdg", IdMsg::AppVisuImportUnitDecli, visu_.UnitDecli);
  UnitAzRdg = unite("UnitAzRdg", IdMsg::AppVisuImportUnitAz, visu_.UnitAz);
  UnitPRdg = unite("UnitPRdg", IdMsg::AppVisuImportUnitP, visu_.UnitP);
  haut->addLayout(bas);

  auto* entree = new QGroupBox(Q(Msg(IdMsg::AppVisuImportEntree)), this);
  entree->setObjectName("EntreeGroup");
  auto* le = new QHBoxLayout(entree);
  auto* fe = new QFormLayout;
  NomEntreeEdit = new QLineEdit(Q(visu_.NomEntree), entree);
  NomEntreeEdit->setObjectName("NomEntreeEdit");
  fe->addRow(Q(Msg(IdMsg::AppVisuImportDesignation)), NomEntreeEdit);
  le->addLayout(fe);
  CadreSaisieCoord = new TCadreSaisieCoord(entree);
  CadreSaisieCoord->setObjectName("CadreSaisieCoord");
  // The table's coordinates are in metres.
  CadreSaisieCoord->UniteGroup->hide();
  le->addWidget(CadreSaisieCoord);
  CadreProjectionTab = new TCadreProjectionTab(entree);
  CadreProjectionTab->setObjectName("CadreProjectionTab");
  CadreProjectionTab->vCadreSaisieCoord = CadreSaisieCoord;
  le->addWidget(CadreProjectionTab);
  haut->addWidget(entree);

  QPushButton* ok = nullptr;
  haut->addLayout(platform::qt::BoutonsOKAnnuler(this, ok));

  // The entrance's coordinates: metres and, for "WGS 84", latitude and
  // longitude from the first two.
  CadreSaisieCoord->EditX->setText(Q(visu_.TexteX));
  CadreSaisieCoord->EditY->setText(Q(visu_.TexteY));
  CadreSaisieCoord->EditZ->setText(Q(visu_.TexteZ));
  CadreSaisieCoord->EditZWGS->setText(Q(visu_.TexteZ));
  CadreSaisieCoord->EditLat->setText(Q(visu_.TexteX));
  CadreSaisieCoord->EditLong->setText(Q(visu_.TexteY));
  CadreSaisieCoord->ValLat = std::fabs(visu_.Latitude);
  CadreSaisieCoord->ValLong = std::fabs(visu_.Longitude);
  CadreSaisieCoord->NSRdg->FixeItemIndex(visu_.Latitude < 0 ? 1 : 0);
  CadreSaisieCoord->OERdg->FixeItemIndex(visu_.Longitude < 0 ? 0 : 1);
  for (QLineEdit* e : {CadreSaisieCoord->EditX, CadreSaisieCoord->EditY, CadreSaisieCoord->EditZ, DecliEdit}) {
    Colore(e, formats::TVisuImportTab::NombreRouge(e->text().toStdString()));
    connect(e, &QLineEdit::textChanged, this,
            [this, e](const QString& t) { Colore(e, formats::TVisuImportTab::NombreRouge(t.toStdString())); });
  }
  // The date as read, red when it does not read.
  if (visu_.DateValide) {
    int a, m, j;
    foundation::DecodeDate(visu_.DateLev, a, m, j);
    DateTopoEdit->setText(QString("%1/%2/%3").arg(j, 2, 10, QChar('0')).arg(m, 2, 10, QChar('0')).arg(a % 100, 2, 10,
                                                                                                      QChar('0')));
  } else {
    DateTopoEdit->setText(Q(visu_.TexteDate));
  }
  Colore(DateTopoEdit, !visu_.DateValide);
  connect(DateTopoEdit, &QLineEdit::textChanged, this, [this](const QString& t) {
    if (!initTab) Colore(DateTopoEdit, !visu_.ChangeDate(t.toStdString()));
  });
  connect(VisuLignes->horizontalHeader(), &QHeaderView::sectionClicked, this, &TVisuImportTabDlg::EnTeteClique);
  connect(EnTeteBox, &QComboBox::activated, this, &TVisuImportTabDlg::EnTeteChoisi);
  for (TGroupeRadio* g : {UnitAzRdg, UnitPRdg})
    connect(g, &TGroupeRadio::Click, this, [this] {
      visu_.UnitAz = UnitAzRdg->ItemIndex() == 1 ? 1 : 0;
      visu_.UnitP = UnitPRdg->ItemIndex() == 1 ? 1 : 0;
      modele_->Redessine();
    });
  resize(900, 650);
  initTab = false;
}

void TVisuImportTabDlg::Colore(QLineEdit* e, bool rouge) {
  QPalette p = e->palette();
  p.setColor(QPalette::Text, rouge ? QColor(Qt::red) : palette().color(QPalette::Text));
  e->setPalette(p);
}

void TVisuImportTabDlg::EnTeteClique(int colonne) {
  visu_.CliqueEnTete(colonne);
  ColonneActive = colonne;
  nCol = colonne;
  EnTeteBox->clear();
  for (int rang : visu_.ListeTitres) EnTeteBox->addItem(Q(formats::TitreColonneTab(rang)));
  EnTeteBox->setCurrentIndex(0);
  // Over the heading, with its width.
  QHeaderView* h = VisuLignes->horizontalHeader();
  const int x = VisuLignes->frameWidth() + VisuLignes->verticalHeader()->width() + h->sectionViewportPosition(colonne);
  EnTeteBox->setGeometry(x, VisuLignes->frameWidth(), h->sectionSize(colonne), h->height());
  EnTeteBox->show();
  EnTeteBox->raise();
  EnTeteBox->setFocus();
  modele_->Redessine();
}

void TVisuImportTabDlg::EnTeteChoisi(int entree) {
  visu_.ChoisitTitre(entree);
  EnTeteBox->hide();
  modele_->Redessine();
}

void TVisuImportTabDlg::Transfere() {
  using Type = formats::TVisuImportTab::TypeCoordEntree;
  visu_.NomCav = NomCavEdit->text().toStdString();
  visu_.NomEntree = NomEntreeEdit->text().toStdString();
  visu_.TexteDecli = DecliEdit->text().toStdString();
  visu_.UnitDecli = UnitDecliRdg->ItemIndex() == 1 ? 1 : 0;
  visu_.UnitAz = UnitAzRdg->ItemIndex() == 1 ? 1 : 0;
  visu_.UnitP = UnitPRdg->ItemIndex() == 1 ? 1 : 0;
  const int type = CadreProjectionTab->SimpleCoordsRdg->ItemIndex();
  visu_.TypeCoord = type == 2 ? Type::WGS84 : type == 1 ? Type::Projection : Type::Independantes;
  visu_.Projection = visu_.TypeCoord == Type::Projection ? CadreProjectionTab->ProjectActive : std::string();
  visu_.Fuseau = CadreProjectionTab->EstMultiple ? CadreProjectionTab->iFuseau : 0;
  visu_.TexteX = CadreSaisieCoord->EditX->text().toStdString();
  visu_.TexteY = CadreSaisieCoord->EditY->text().toStdString();
  visu_.TexteZ = (visu_.TypeCoord == Type::WGS84 ? CadreSaisieCoord->EditZWGS : CadreSaisieCoord->EditZ)
                     ->text()
                     .toStdString();
  visu_.Latitude = CadreSaisieCoord->ValResultLat();
  visu_.Longitude = CadreSaisieCoord->ValResultLong();
}

bool TVisuImportTabDlg::Execute() {
  const bool ok = exec() == QDialog::Accepted;
  Transfere();
  return ok;
}

void InstalleDialogueVisuImportTab() {
  formats::FenetresImport().AfficheVisuImportTab = [](formats::TVisuImportTab& visu) {
    TVisuImportTabDlg dlg(visu, QApplication::activeWindow());
    return dlg.Execute();
  };
}

}  // namespace app
