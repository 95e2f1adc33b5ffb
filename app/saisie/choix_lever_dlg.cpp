#include "app/saisie/choix_lever_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "app/saisie/levers_dlg.h"
#include "foundation/catalogue.h"
#include "foundation/dates.h"
#include "platform/qt/conversions_qt.h"
#include "survey/contexte_document.h"
#include "survey/lever.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;

std::string CleDateLever(const survey::TLever& lever) {
  int a = 0, m = 0, j = 0;
  if (lever.LaDate == foundation::DateNonRenseignee || !foundation::DecodeDate(lever.LaDate, a, m, j))
    return "____/__/__";
  char t[16];
  std::snprintf(t, sizeof t, "%04d/%02d/%02d", a, m, j);
  return t;
}

TChoixLeverDlg::TChoixLeverDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ChoixLeverDlg"));
  setWindowTitle(Q(Msg(IdMsg::AppChoixLeverTitre)));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  auto* h = new QHBoxLayout;
  lever_ = new QComboBox(this);
  lever_->setObjectName(QStringLiteral("LeverBox"));
  // Every line is a date or "non renseignée": no need to measure them all.
  lever_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  lever_->setMinimumContentsLength(14);
  visu_ = new QToolButton(this);
  visu_->setObjectName(QStringLiteral("VisuLeverBtn"));
  visu_->setText(QStringLiteral("..."));
  visu_->setToolTip(Q(Msg(IdMsg::AppChoixLeverVisu)));
  h->addWidget(new QLabel(Q(Msg(IdMsg::AppChoixLeverDu)), this));
  h->addWidget(lever_, 1);
  h->addWidget(visu_);
  v->addLayout(h);
  operateurs_ = new QLabel(this);
  operateurs_->setObjectName(QStringLiteral("OperateursLbl"));
  operateurs_->setWordWrap(true);
  v->addWidget(operateurs_);
  nouveau_ = new QPushButton(Q(Msg(IdMsg::AppChoixLeverNouveau)), this);
  nouveau_->setObjectName(QStringLiteral("NouveauLeverBtn"));
  v->addWidget(nouveau_, 0, Qt::AlignLeft);
  auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  boutons->button(QDialogButtonBox::Ok)->setText(Q(Msg(IdMsg::AppCfgOK)));
  boutons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
  boutons->button(QDialogButtonBox::Cancel)->setText(Q(Msg(IdMsg::AppCfgAnnuler)));
  boutons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("AnnulerBtn"));
  connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  v->addWidget(boutons);
  connect(lever_, &QComboBox::currentIndexChanged, this, [this] { LeverChange(); });
  connect(nouveau_, &QPushButton::clicked, this, [this] { NouveauLeverClick(); });
  connect(visu_, &QToolButton::clicked, this, [this] { VisuLeverClick(); });
}

void TChoixLeverDlg::InitDlg(survey::TLeversList& ListeLevers) {
  Levers = &ListeLevers;
  std::vector<std::pair<std::string, survey::TLever*>> cles;
  cles.reserve(static_cast<size_t>(ListeLevers.Count()));
  for (survey::TLever* l : ListeLevers) cles.emplace_back(CleDateLever(*l), l);
  std::stable_sort(cles.begin(), cles.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  ListedateAn.clear();
  QStringList lignes;
  lignes.reserve(static_cast<qsizetype>(cles.size()));
  for (const auto& [cle, l] : cles) {
    ListedateAn.push_back(l);
    lignes << Q(l->DateTexte());
  }
  const QSignalBlocker bloque(lever_);
  lever_->clear();
  lever_->addItems(lignes);
  int choisi = lignes.isEmpty() ? -1 : 0;
  if (const survey::TLever* courant = survey::Document().LeverCourant) {
    // The current trip's own line, when it is offered: several trips may
    // show the same date, "non renseignée" above all.  Otherwise the line
    // of its date.
    const auto propre = std::find(ListedateAn.begin(), ListedateAn.end(), courant);
    const QString texte = Q(courant->DateTexte());
    if (propre != ListedateAn.end())
      choisi = static_cast<int>(propre - ListedateAn.begin());
    else if (!texte.isEmpty())
      choisi = static_cast<int>(lignes.indexOf(texte));
  }
  lever_->setCurrentIndex(choisi);
  LeverChange();
}

survey::TLever* TChoixLeverDlg::LeverChoisi() const {
  const int i = lever_->currentIndex();
  return i >= 0 && static_cast<size_t>(i) < ListedateAn.size() ? ListedateAn[static_cast<size_t>(i)] : nullptr;
}

void TChoixLeverDlg::LeverChange() {
  std::string noms;
  if (const survey::TLever* l = LeverChoisi())
    for (const survey::TOperateur* o : l->Operateurs) {
      if (!o) continue;
      if (!noms.empty()) noms += "/";
      noms += o->DesignOpe;
    }
  operateurs_->setText(Q(noms));
}

void TChoixLeverDlg::NouveauLeverClick() {
  if (!Levers) return;
  if (CreeNouveauLever(this, *Levers)) accept();
}

void TChoixLeverDlg::VisuLeverClick() {
  if (const survey::TLever* l = LeverChoisi()) VisualiseLever(this, *l);
}

survey::TLever* ChoisitLever(QWidget* owner, survey::TLeversList& liste) {
  if (liste.Count() == 0) return CreeNouveauLever(owner, liste);
  TChoixLeverDlg d(owner);
  d.InitDlg(liste);
  if (d.exec() != QDialog::Accepted) return nullptr;
  if (liste.Count() > d.NombreLignes()) return liste.Last();
  return d.LeverChoisi();
}

}  // namespace app
