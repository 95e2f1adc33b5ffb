#include "app/reseau/instruments_dlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <string>

#include "app/commun/protege.h"
#include "app/saisie/saisie_instr_dlg.h"
#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/qt/conversions_qt.h"
#include "survey/contexte_document.h"
#include "survey/dossiers.h"
#include "survey/gestion_listes.h"
#include "survey/instrument.h"
#include "survey/reseau.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;

namespace {

constexpr int kRoleInstrument = Qt::UserRole;

void Information(IdMsg id, const std::string& suite = std::string()) {
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information, Msg(id) + suite);
}

QTreeWidget* CreeListe(QWidget* parent) {
  auto* l = new QTreeWidget(parent);
  l->setObjectName(QStringLiteral("ListeInstruments"));
  l->setRootIsDecorated(false);
  l->setUniformRowHeights(true);
  l->setHeaderLabels({Q(Msg(IdMsg::AppGestDesignation)), Q(Msg(IdMsg::AppGestTypeMesure))});
  l->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  l->setMinimumSize(420, 260);
  return l;
}

void LigneInstrument(QTreeWidgetItem* item, survey::TInstrument* i) {
  item->setText(0, Q(i->DesignInstr));
  item->setText(1, Q(survey::NomTypeInst(i->TypeInstr)));
  item->setData(0, kRoleInstrument, QVariant::fromValue(static_cast<void*>(i)));
}

survey::TInstrument* InstrumentDe(const QTreeWidgetItem* item) {
  return item ? static_cast<survey::TInstrument*>(item->data(0, kRoleInstrument).value<void*>()) : nullptr;
}

QDialogButtonBox* Boutons(QDialog* d, QDialogButtonBox::StandardButtons quels) {
  auto* b = new QDialogButtonBox(quels, d);
  if (QPushButton* ok = b->button(QDialogButtonBox::Ok)) {
    ok->setText(Q(Msg(IdMsg::AppCfgOK)));
    ok->setObjectName(QStringLiteral("OKBtn"));
  }
  if (QPushButton* annuler = b->button(QDialogButtonBox::Cancel)) {
    annuler->setText(Q(Msg(IdMsg::AppCfgAnnuler)));
    annuler->setObjectName(QStringLiteral("AnnulerBtn"));
  }
  QObject::connect(b, &QDialogButtonBox::accepted, d, &QDialog::accept);
  QObject::connect(b, &QDialogButtonBox::rejected, d, &QDialog::reject);
  return b;
}

}  // namespace

// --- Correction -------------------------------------------------------------------------------

TRectifInstrDlg::TRectifInstrDlg(survey::TReseau& reseau, QWidget* parent) : QDialog(parent), reseau_(reseau) {
  setObjectName(QStringLiteral("RectifInstrDlg"));
  setWindowTitle(Q(Msg(IdMsg::AppGestRectifInstrTitre)));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  liste_ = CreeListe(this);
  v->addWidget(liste_);
  v->addWidget(Boutons(this, QDialogButtonBox::Ok));
  connect(liste_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { Protege([this, item] { ListeInstrumentsDblClick(item); }); });
  reseau_.CreeListeLevers();
  survey::EtablitTypesInstruments(reseau_.ListeDesLevers);
  Remplit();
}

void TRectifInstrDlg::Remplit() {
  liste_->clear();
  for (survey::TInstrument* i : reseau_.ListeInstruments) LigneInstrument(new QTreeWidgetItem(liste_), i);
  if (liste_->topLevelItemCount() > 0) liste_->setCurrentItem(liste_->topLevelItem(0));
}

int TRectifInstrDlg::exec() {
  if (reseau_.ListeInstruments.Vide()) {
    Information(IdMsg::AppGestAucunInstrRectif);
    done(Rejected);
    return Rejected;
  }
  return QDialog::exec();
}

void TRectifInstrDlg::done(int r) {
  survey::AnnuleTypesIndetermines(reseau_.ListeInstruments);
  QDialog::done(r);
}

void TRectifInstrDlg::ListeInstrumentsDblClick(QTreeWidgetItem* item) {
  survey::TInstrument* i = InstrumentDe(item);
  if (!i) return;
  if (i->TypeInstr == survey::TTypeInst::tiIndet) {
    Information(IdMsg::AppGestInstrIndetermine);
    return;
  }
  survey::ContexteDocument& doc = survey::Document();
  doc.RectifEnCours = true;
  struct Fin {
    ~Fin() { survey::Document().RectifEnCours = false; }
  } fin;
  TSaisieInstrDlg fiche(this, *i, true);
  if (fiche.exec() == QDialog::Accepted) {
    UneModifInstr = true;
    LigneInstrument(item, i);
  }
}

// --- Deletion ---------------------------------------------------------------------------------

TSupprInstrDlg::TSupprInstrDlg(survey::TReseau& reseau, QWidget* parent) : QDialog(parent), reseau_(reseau) {
  setObjectName(QStringLiteral("SupprInstrDlg"));
  setWindowTitle(Q(Msg(IdMsg::AppGestSupprInstrTitre)));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  auto* invite = new QLabel(Q(Msg(IdMsg::AppGestInstrInutilises)), this);
  invite->setWordWrap(true);
  v->addWidget(invite);
  liste_ = CreeListe(this);
  v->addWidget(liste_);
  v->addWidget(Boutons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel));
  reseau_.CreeListeLevers();
  for (survey::TInstrument* i : reseau_.ListeInstruments) {
    if (i->Utilise) continue;
    auto* item = new QTreeWidgetItem(liste_);
    LigneInstrument(item, i);
    item->setCheckState(0, Qt::Checked);
  }
}

int TSupprInstrDlg::exec() {
  if (liste_->topLevelItemCount() == 0) {
    Information(IdMsg::AppGestAucunInstrSuppr);
    return Rejected;
  }
  return QDialog::exec();
}

void TSupprInstrDlg::accept() {
  bool supprime = false;
  for (int k = 0; k < liste_->topLevelItemCount(); ++k) {
    QTreeWidgetItem* item = liste_->topLevelItem(k);
    if (item->checkState(0) != Qt::Checked) continue;
    reseau_.ListeInstruments.Remove(InstrumentDe(item));
    supprime = true;
  }
  if (supprime) survey::Document().DocumentModifie = true;
  liste_->clear();
  QDialog::accept();
}

// --- The instrument file ----------------------------------------------------------------------

void ExporteInstruments(survey::TReseau& reseau) {
  std::string chemin = survey::CheminFichierInstruments(survey::Document().NomFichierCourant);
  // A document not saved yet is only a name: its list goes to the working folder.
  if (platform::FolderOf(chemin).empty()) chemin = survey::DossierDeTravail() + chemin;
  if (survey::EcritFichierInstruments(chemin, reseau.ListeInstruments))
    Information(IdMsg::AppGestInstrEnregistres, chemin);
  else
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error,
                                             Msg(IdMsg::AppGestInstrNonEnregistres) + chemin);
}

bool ImporteInstruments(survey::TReseau& reseau) {
  platform::FileDialogOptions options;
  options.Filter = Msg(IdMsg::AppGestFiltreInstruments);
  options.InitialFolder = survey::DossierExecutable();
  const auto choix = platform::Dialogs::Current().OpenFile(options);
  if (!choix) return false;
  int ajoutes = 0;
  if (!survey::ImporteFichierInstruments(choix->Path, reseau.ListeInstruments, &ajoutes)) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, Msg(IdMsg::AppGestInstrNonImportes));
    return false;
  }
  if (ajoutes > 0) survey::Document().DocumentModifie = true;
  return ajoutes > 0;
}

}  // namespace app
