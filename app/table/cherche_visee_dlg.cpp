#include "app/table/cherche_visee_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/commun/contexte_saisie.h"
#include "app/saisie/choix_lever_dlg.h"
#include "app/table/recherche_visees.h"
#include "app/table/table_visees.h"
#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "platform/qt/conversions_qt.h"
#include "survey/lever.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;

namespace {
using platform::qt::Q;
}  // namespace

TChercheViseeDlg::TChercheViseeDlg(TTableVisees& table, TRechercheVisees& recherche, QWidget* parent)
    : QDialog(parent), table_(table), recherche_(recherche) {
  setObjectName(QStringLiteral("ChercheViseeDlg"));
  setWindowTitle(Q(Msg(IdMsg::AppRechercheTitre)));
  auto* v = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  lever_ = new QComboBox(this);
  lever_->setObjectName(QStringLiteral("LeverBox"));
  form->addRow(Q(Msg(IdMsg::AppRechercheLever)), lever_);
  v->addLayout(form);
  v->addWidget(new QLabel(Q(Msg(IdMsg::AppRechercheDesignation)), this));
  nom_ = new QLineEdit(this);
  nom_->setObjectName(QStringLiteral("NomEdit"));
  v->addWidget(nom_);
  exacte_ = new QCheckBox(Q(Msg(IdMsg::AppRechercheExacte)), this);
  exacte_->setObjectName(QStringLiteral("ExacteChk"));
  commentaires_ = new QCheckBox(Q(Msg(IdMsg::AppRechercheCommentaires)), this);
  commentaires_->setObjectName(QStringLiteral("CommentairesChk"));
  galeries_ = new QCheckBox(Q(Msg(IdMsg::AppRechercheGaleries)), this);
  galeries_->setObjectName(QStringLiteral("GaleriesChk"));
  for (QCheckBox* c : {exacte_, commentaires_, galeries_}) v->addWidget(c);
  // The boxes come back as they were left.
  const OptionsRecherche& options = Saisie().OptionsChercheVisee;
  exacte_->setChecked(options.Exacte);
  commentaires_->setChecked(options.Commentaires);
  galeries_->setChecked(options.Galeries);
  auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  boutons->button(QDialogButtonBox::Ok)->setText(Q(Msg(IdMsg::AppCfgOK)));
  boutons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
  boutons->button(QDialogButtonBox::Cancel)->setText(Q(Msg(IdMsg::AppCfgAnnuler)));
  connect(boutons, &QDialogButtonBox::accepted, this, [this] { OkClick(); });
  connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  v->addWidget(boutons);
  connect(lever_, &QComboBox::currentIndexChanged, this, [this] { LeverChange(); });
}

TChercheViseeDlg::~TChercheViseeDlg() {
  Saisie().OptionsChercheVisee = {exacte_->isChecked(), commentaires_->isChecked(), galeries_->isChecked()};
}

void TChercheViseeDlg::InitPoints() {
  levers_ = TRechercheVisees::LeversDeLaTable(table_);
  std::stable_sort(levers_.begin(), levers_.end(),
                   [](const survey::TLever* a, const survey::TLever* b) { return CleDateLever(*a) < CleDateLever(*b); });
  const QSignalBlocker bloque(lever_);
  lever_->clear();
  lever_->addItem(Q(Msg(IdMsg::AppRechercheTous)));
  for (const survey::TLever* l : levers_) lever_->addItem(Q(l->DateTexte()));
  lever_->setCurrentIndex(0);
  LeverChange();
}

void TChercheViseeDlg::LeverChange() {
  const int i = lever_->currentIndex();
  const survey::TLever* l = (i >= 1 && static_cast<size_t>(i) <= levers_.size()) ? levers_[static_cast<size_t>(i - 1)] : nullptr;
  recherche_.Prepare(table_, l);
  nom_->setFocus();
}

void TChercheViseeDlg::OkClick() {
  const OptionsRecherche o{exacte_->isChecked(), commentaires_->isChecked(), galeries_->isChecked()};
  ViseeCherchee = recherche_.Lance(nom_->text().toStdString(), o, lever_->currentIndex() > 0);
  if (ViseeCherchee >= 0) {
    accept();
    return;
  }
  // Nothing found: said, and the dialog stays for another name.
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information,
                                           foundation::RemplaceMarques(Msg(IdMsg::AppPointNonTrouve),
                                                                       {nom_->text().toStdString()}));
  nom_->setFocus();
  nom_->selectAll();
}

}  // namespace app
