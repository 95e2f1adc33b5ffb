#include "app/saisie/liste_suite_obs_dlg.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/saisie/lignes_texte.h"
#include "app/saisie/saisie_suite_et_obs_dlg.h"
#include "foundation/catalogue.h"
#include "foundation/dates.h"
#include "platform/dialogs.h"
#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/conversions_qt.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/parties_reseau.h"
#include "survey/point_speleo.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;
using survey::TPointSpeleo;

TListeSuiteObsDlg::TListeSuiteObsDlg(const survey::TLever* vLever, survey::TSuiteObs& vSuiteObs, TPointSpeleo* UnPoint,
                                     bool visuSeul, QWidget* parent)
    : QDialog(parent), VisuSeul(visuSeul), SuiteObsOrig(vSuiteObs), PointTmp(UnPoint),
      LeverSaisie(vLever ? vLever : survey::LeverParDefaut()) {
  setObjectName("ListeSuiteObsDlg");
  vSuiteObs.CopieListeObs(SuiteObs);
  auto* haut = new QVBoxLayout(this);
  auto* f = new QFormLayout;
  NatureBox = new QComboBox(this);
  NatureBox->setObjectName("NatureBox");
  for (int i = 0; i < survey::NombreSuitesPossibles; ++i)
    NatureBox->addItem(Q(survey::TexteSuitePossible(static_cast<survey::TSuitePossible>(i))));
  NatureBox->setCurrentIndex(0);
  f->addRow(Q(Msg(IdMsg::AppSuitesNature)), NatureBox);
  haut->addLayout(f);
  ListeObs = new QTreeWidget(this);
  ListeObs->setObjectName("ListeObs");
  ListeObs->setRootIsDecorated(false);
  ListeObs->setHeaderLabels({Q(Msg(IdMsg::AppSuitesDate)), Q(Msg(IdMsg::AppSuitesEtat)),
                             Q(Msg(IdMsg::AppSuitesObservateurs)), Q(Msg(IdMsg::AppSuitesCommentaires))});
  haut->addWidget(ListeObs);
  LabelCommentaires = new QLabel(this);
  LabelCommentaires->setObjectName("LabelCommentaires");
  LabelCommentaires->setWordWrap(true);
  haut->addWidget(LabelCommentaires);
  haut->addLayout(platform::qt::BoutonsOKAnnuler(this, OKBtn));

  if (VisuSeul) NomGal = survey::NomGalerieDuPoint(PointTmp);
  else NomGal = survey::Document().NomGalerieCourante;
  if (NomGal.empty()) NomGal = survey::NomGalerieDuPoint(PointTmp);
  setWindowTitle(Q(Msg(VisuSeul ? IdMsg::AppSuitesVisualisation : IdMsg::AppSuitesSaisie) +
                   Msg(IdMsg::AppSuitesAuPoint) + (PointTmp ? PointTmp->DesignPTopo : std::string()) +
                   Msg(IdMsg::AppSuitesDeLaGalerie) + NomGal));
  if (VisuSeul) {
    OKBtn->hide();
    NatureBox->setEnabled(false);
  } else {
    ListeObs->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListeObs, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
      QMenu menu(this);
      menu.addAction(Q(Msg(IdMsg::AppSuitesAjouter)), this, [this] { AjouteLigne(); });
      if (ListeObs->currentItem())
        menu.addAction(Q(Msg(IdMsg::AppSuitesSupprimer)), this, [this] { SupprimeLigne(); });
      menu.exec(ListeObs->viewport()->mapToGlobal(pos));
    });
    connect(ListeObs, &QTreeWidget::itemDoubleClicked, this, [this] { EditeLigne(); });
  }
  connect(NatureBox, &QComboBox::activated, this,
          [this](int i) { SuiteObs.SuitePossible = static_cast<survey::TSuitePossible>(std::max(i, 0)); });
  connect(ListeObs, &QTreeWidget::currentItemChanged, this, [this] { MontreCommentaires(); });
  ListeObs->installEventFilter(this);
  ListeObs->viewport()->installEventFilter(this);
  Nouveau = SuiteObs.Count() == 0;
  ExecuteObservation = [](TSaisieSuiteEtObsDlg& d) { return d.exec() == QDialog::Accepted; };
  Affiche();
}

bool TListeSuiteObsDlg::eventFilter(QObject* objet, QEvent* evenement) {
  const bool entree = objet == ListeObs && evenement->type() == QEvent::FocusIn;
  const bool clic = objet == ListeObs->viewport() && evenement->type() == QEvent::MouseButtonPress;
  if ((entree || clic) && !ListeObs->currentItem() && ListeObs->topLevelItemCount() > 0)
    ListeObs->setCurrentItem(ListeObs->topLevelItem(ListeObs->topLevelItemCount() - 1));
  return QDialog::eventFilter(objet, evenement);
}

void TListeSuiteObsDlg::Demarre() {
  if (Nouveau && !VisuSeul) AjouteLigne();
}

void TListeSuiteObsDlg::Affiche() {
  // Earlier first, equal dates in their order (insertion sort).
  for (int i = 1; i < SuiteObs.Count(); ++i) {
    const foundation::TDateTime d = SuiteObs.UnTypeDObs(i)->LaDate;
    int j = i;
    while (j > 0 && SuiteObs.UnTypeDObs(j - 1)->LaDate > d) --j;
    if (j != i) SuiteObs.Move(i, j);
  }
  ListeObs->clear();
  QTreeWidgetItem* courant = nullptr;
  for (int i = 0; i < SuiteObs.Count(); ++i) {
    survey::TTypeDObs* o = SuiteObs.UnTypeDObs(i);
    std::string observateurs;
    for (const survey::TOperateur* op : o->Observateurs)
      if (op) observateurs += op->DesignOpe + " ";
    const std::string date =
        o->LaDate == foundation::DateNonRenseignee ? Msg(IdMsg::AppSuitesNonRenseignee) : foundation::DateEnTexte(o->LaDate);
    auto* item = new QTreeWidgetItem(ListeObs, {Q(date), Q(survey::TexteEtatSuite(o->Observation.EtatSuite)),
                                                Q(observateurs), Q(Lignes(o->Commentaires, " "))});
    if (o == NouvelleObs) courant = item;
  }
  if (courant) ListeObs->setCurrentItem(courant);
  NatureBox->setCurrentIndex(static_cast<int>(SuiteObs.SuitePossible));
  ListeObs->setFocus();
}

void TListeSuiteObsDlg::MontreCommentaires() {
  const int r = ListeObs->currentItem() ? ListeObs->indexOfTopLevelItem(ListeObs->currentItem()) : -1;
  const survey::TTypeDObs* o = SuiteObs.UnTypeDObs(r);
  LabelCommentaires->setText(o ? Q(Lignes(o->Commentaires, "\n")).trimmed() : QString());
}

bool TListeSuiteObsDlg::EditeObservation(survey::TTypeDObs& obs, bool nouvelle) {
  TSaisieSuiteEtObsDlg dlg(LeverSaisie, this);
  dlg.UneObs = &obs;
  if (!Nouveau) {
    dlg.TypeSuiteBox->setCurrentIndex(static_cast<int>(SuiteObs.SuitePossible));
    dlg.TypeSuiteBox->setEnabled(false);
    dlg.TypeSuiteBox->setStyleSheet("background-color: #C0C0C0;");
  }
  if (!nouvelle) dlg.InitRectif();
  if (!ExecuteObservation(dlg)) return false;
  dlg.Transfere();
  if (Nouveau) SuiteObs.SuitePossible = dlg.Suite();
  Nouveau = false;
  return true;
}

void TListeSuiteObsDlg::AjouteLigne() {
  auto obs = std::make_unique<survey::TTypeDObs>();
  if (!EditeObservation(*obs, true)) {
    if (SuiteObs.Count() == 0) {
      Termine = true;
      reject();
    }
    return;
  }
  NouvelleObs = SuiteObs.Add(std::move(obs));
  Affiche();
}

void TListeSuiteObsDlg::EditeLigne() {
  if (VisuSeul || !ListeObs->currentItem()) return;
  survey::TTypeDObs* o = SuiteObs.UnTypeDObs(ListeObs->indexOfTopLevelItem(ListeObs->currentItem()));
  if (!o) return;
  // An edit changes the observation in place and appends nothing.
  if (EditeObservation(*o, false)) {
    NouvelleObs = o;
    Affiche();
  }
}

void TListeSuiteObsDlg::SupprimeLigne() {
  if (!ListeObs->currentItem()) return;
  const int r = ListeObs->indexOfTopLevelItem(ListeObs->currentItem());
  if (platform::Dialogs::Current().AskYesNo(Msg(IdMsg::AppSuitesConfirmeSuppr)) != platform::Answer::Yes) return;
  SuiteObs.Delete(r);
  NouvelleObs = SuiteObs.UnTypeDObs(std::max(r - 1, 0));
  if (SuiteObs.Count() == 0) {
    accept();
    return;
  }
  Affiche();
}

void TListeSuiteObsDlg::accept() {
  SuiteObs.CopieListeObs(SuiteObsOrig);
  QDialog::accept();
}

bool EditeSuites(QWidget* owner, const survey::TLever* lever, TPointSpeleo& point) {
  TListeSuiteObsDlg dlg(lever, point.SuiteObs, &point, false, owner);
  dlg.Demarre();
  if (dlg.Termine) return false;
  return dlg.exec() == QDialog::Accepted;
}

}  // namespace app
