#include "app/reseau/operateurs_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/commun/protege.h"
#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/qt/conversions_qt.h"
#include "survey/contexte_document.h"
#include "survey/dossiers.h"
#include "survey/gestion_listes.h"
#include "survey/operateur.h"
#include "survey/reseau.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;
using platform::qt::VersStd;

namespace {

constexpr int kRoleOperateur = Qt::UserRole;

QDialogButtonBox* Boutons(QDialog* d) {
  auto* b = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, d);
  b->button(QDialogButtonBox::Ok)->setText(Q(Msg(IdMsg::AppCfgOK)));
  b->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
  b->button(QDialogButtonBox::Cancel)->setText(Q(Msg(IdMsg::AppCfgAnnuler)));
  b->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("AnnulerBtn"));
  QObject::connect(b, &QDialogButtonBox::accepted, d, &QDialog::accept);
  QObject::connect(b, &QDialogButtonBox::rejected, d, &QDialog::reject);
  return b;
}

}  // namespace

// --- Renaming and merging ---------------------------------------------------------------------

TRectifOpeDlg::TRectifOpeDlg(survey::TReseau& reseau, QWidget* parent) : QDialog(parent), reseau_(reseau) {
  setObjectName(QStringLiteral("RectifOpeDlg"));
  setWindowTitle(Q(Msg(IdMsg::AppGestRectifOpeTitre)));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  auto* f = new QFormLayout;
  choix_ = new QComboBox(this);
  choix_->setObjectName(QStringLiteral("OperateurBox"));
  choix_->setMinimumContentsLength(24);
  edition_ = new QLineEdit(this);
  edition_->setObjectName(QStringLiteral("DesignationEdit"));
  f->addRow(Q(Msg(IdMsg::AppGestChoixOpe)), choix_);
  f->addRow(Q(Msg(IdMsg::AppGestNouvelleDesignation)), edition_);
  v->addLayout(f);
  valider_ = new QPushButton(Q(Msg(IdMsg::AppGestValiderModif)), this);
  valider_->setObjectName(QStringLiteral("ValiderBtn"));
  valider_->setAutoDefault(false);
  v->addWidget(valider_, 0, Qt::AlignRight);
  v->addWidget(Boutons(this));
  connect(choix_, &QComboBox::currentIndexChanged, this, [this] { ChoixChange(); });
  connect(edition_, &QLineEdit::textChanged, this, [this] { EditionChange(); });
  connect(valider_, &QPushButton::clicked, this, [this] { Protege([this] { ValiderClick(); }); });

  reseau_.CreeListeLevers();
  ListeDesign.reserve(static_cast<size_t>(reseau_.ListeOperateurs.Count()));
  for (const survey::TOperateur* o : reseau_.ListeOperateurs) ListeDesign.push_back(o->DesignOpe);
  IndexCourant = 0;
  RemplitChoix(nullptr);
}

void TRectifOpeDlg::RemplitChoix(const std::string* aSelectionner) {
  const std::vector<std::string> noms = survey::NomsDistinctsTries(ListeDesign);
  QStringList lignes;
  lignes.reserve(static_cast<qsizetype>(noms.size()));
  for (const std::string& n : noms) lignes << Q(n);
  if (aSelectionner) {
    const auto it = std::find(noms.begin(), noms.end(), *aSelectionner);
    if (it != noms.end()) IndexCourant = static_cast<int>(it - noms.begin());
  }
  IndexCourant = std::clamp(IndexCourant, 0, std::max(0, static_cast<int>(noms.size()) - 1));
  {
    const QSignalBlocker bloque(choix_);
    choix_->clear();
    choix_->addItems(lignes);
    choix_->setCurrentIndex(noms.empty() ? -1 : IndexCourant);
  }
  ChoixChange();
}

void TRectifOpeDlg::ChoixChange() {
  if (choix_->currentIndex() >= 0) IndexCourant = choix_->currentIndex();
  edition_->setText(choix_->currentText());
  edition_->setFocus();
  EditionChange();
}

void TRectifOpeDlg::EditionChange() {
  valider_->setEnabled(choix_->currentIndex() >= 0 && edition_->text() != choix_->currentText());
}

void TRectifOpeDlg::ValiderClick() {
  if (choix_->currentIndex() < 0) return;
  const std::string ancien = VersStd(choix_->currentText());
  const std::string nouveau = VersStd(edition_->text());
  std::replace(ListeDesign.begin(), ListeDesign.end(), ancien, nouveau);
  UneModifOpe = true;
  RemplitChoix(&nouveau);
  valider_->setEnabled(false);
}

void TRectifOpeDlg::accept() {
  Protege([this] {
    if (!UneModifOpe) return;
    survey::Document().DocumentModifie = true;
    survey::RenommeOperateurs(reseau_, ListeDesign);
  });
  QDialog::accept();
}

// --- Deletion ---------------------------------------------------------------------------------

TSupprOpeDlg::TSupprOpeDlg(survey::TReseau& reseau, QWidget* parent) : QDialog(parent), reseau_(reseau) {
  setObjectName(QStringLiteral("SupprOpeDlg"));
  setWindowTitle(Q(Msg(IdMsg::AppGestSupprOpeTitre)));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  auto* invite = new QLabel(Q(Msg(IdMsg::AppGestOpeInutilises)), this);
  invite->setWordWrap(true);
  v->addWidget(invite);
  liste_ = new QListWidget(this);
  liste_->setObjectName(QStringLiteral("ListeOperateurs"));
  liste_->setMinimumSize(320, 240);
  v->addWidget(liste_);
  v->addWidget(Boutons(this));
  reseau_.CreeListeLevers();
  for (survey::TOperateur* o : reseau_.ListeOperateurs) {
    if (o->Utilise) continue;
    auto* item = new QListWidgetItem(Q(o->DesignOpe), liste_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
    item->setData(kRoleOperateur, QVariant::fromValue(static_cast<void*>(o)));
  }
}

int TSupprOpeDlg::exec() {
  if (liste_->count() == 0) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information, Msg(IdMsg::AppGestAucunOpeSuppr));
    return Rejected;
  }
  return QDialog::exec();
}

void TSupprOpeDlg::accept() {
  std::vector<const void*> partants;
  for (int k = 0; k < liste_->count(); ++k)
    if (liste_->item(k)->checkState() == Qt::Checked) partants.push_back(liste_->item(k)->data(kRoleOperateur).value<void*>());
  if (!partants.empty()) {
    std::sort(partants.begin(), partants.end());
    reseau_.ListeOperateurs.SupprimeSi(
        [&](const survey::TOperateur* o) { return std::binary_search(partants.begin(), partants.end(), o); });
    survey::Document().DocumentModifie = true;
  }
  liste_->clear();
  QDialog::accept();
}

// --- The operator list file -------------------------------------------------------------------

void ExporteOperateurs(survey::TReseau& reseau) {
  const std::vector<std::string> noms = survey::NomsOperateursTries(reseau.ListeOperateurs);
  platform::Dialogs& d = platform::Dialogs::Current();
  if (noms.empty()) {
    d.ShowMessage(platform::MessageKind::Information, Msg(IdMsg::AppGestAucunOpeExport));
    return;
  }
  const std::string nom = reseau.NomReseau() + "-ope.txt";
  const std::string chemin = survey::DossierDeTravail() + nom;
  if (survey::EcritFichierOperateurs(chemin, noms))
    d.ShowMessage(platform::MessageKind::Information, Msg(IdMsg::AppGestOpeEnregistres) + nom);
  else
    d.ShowMessage(platform::MessageKind::Error, Msg(IdMsg::AppGestOpeNonEnregistres) + chemin);
}

bool ImporteOperateurs(survey::TReseau& reseau) {
  platform::FileDialogOptions options;
  options.Filter = Msg(IdMsg::AppGestFiltreOperateurs);
  options.InitialFolder = survey::DossierExecutable();
  platform::Dialogs& d = platform::Dialogs::Current();
  const auto choix = d.OpenFile(options);
  if (!choix) return false;
  std::string octets;
  if (!platform::ReadFile(choix->Path, octets)) {
    d.ShowMessage(platform::MessageKind::Error, foundation::RemplaceMarques(Msg(IdMsg::AppFichierNonLu), {choix->Path}));
    return false;
  }
  if (survey::AjouteOperateurs(survey::LignesFichierTexte(octets), reseau.ListeOperateurs) == 0) return false;
  survey::Document().DocumentModifie = true;
  return true;
}

}  // namespace app
