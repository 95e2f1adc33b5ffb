#include "app/saisie/saisie_suite_et_obs_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/saisie/cadre_saisie_date.h"
#include "app/saisie/cadre_saisie_ope.h"
#include "app/saisie/lignes_texte.h"
#include "foundation/catalogue.h"
#include "foundation/dates.h"
#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/conversions_qt.h"
#include "survey/contexte_document.h"
#include "survey/lever.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;

TSaisieSuiteEtObsDlg::TSaisieSuiteEtObsDlg(const survey::TLever* vLever, QWidget* parent) : QDialog(parent) {
  setObjectName("SaisieSuiteEtObsDlg");
  setWindowTitle(Q(Msg(IdMsg::AppObsTitre)));
  auto* haut = new QVBoxLayout(this);
  auto* f = new QFormLayout;
  TypeSuiteBox = new QComboBox(this);
  TypeSuiteBox->setObjectName("TypeSuiteBox");
  for (int i = 0; i < survey::NombreSuitesPossibles; ++i)
    TypeSuiteBox->addItem(Q(survey::TexteSuitePossible(static_cast<survey::TSuitePossible>(i))));
  TypeSuiteBox->setCurrentIndex(0);
  f->addRow(Q(Msg(IdMsg::AppObsTypeSuite)), TypeSuiteBox);
  EtatBox = new QComboBox(this);
  EtatBox->setObjectName("EtatBox");
  for (int i = 0; i < survey::NombreEtatsSuite; ++i)
    EtatBox->addItem(Q(survey::TexteEtatSuite(static_cast<survey::TEtatSuite>(i))));
  EtatBox->setCurrentIndex(0);
  f->addRow(Q(Msg(IdMsg::AppObsEtat)), EtatBox);
  haut->addLayout(f);
  CadreDate = new TCadreSaisieDate(this);
  CadreDate->setObjectName("CadreDate");
  haut->addWidget(CadreDate);
  CadreOpe = new TCadreSaisieOpe(this, ModeOperateurs::Observation);
  CadreOpe->setObjectName("CadreOpe");
  CadreOpe->Initialise();
  CadreOpe->FixeDesignPersonne(Msg(IdMsg::AppSuitesObservateurs));
  haut->addWidget(CadreOpe);
  MemoCommentaires = new QPlainTextEdit(this);
  MemoCommentaires->setObjectName("MemoCommentaires");
  haut->addWidget(MemoCommentaires);
  QPushButton* ok = nullptr;
  haut->addLayout(platform::qt::BoutonsOKAnnuler(this, ok));
  if (survey::Document().RectifEnCours || !vLever || vLever == survey::LeverParDefaut()) {
    CadreDate->FixeDateSaisie(foundation::Aujourdhui());
  } else {
    CadreDate->FixeDateSaisie(vLever->LaDate);
    CadreOpe->InitRectif(vLever->Operateurs);
  }
}

survey::TSuitePossible TSaisieSuiteEtObsDlg::Suite() const {
  return static_cast<survey::TSuitePossible>(std::max(TypeSuiteBox->currentIndex(), 0));
}

void TSaisieSuiteEtObsDlg::InitRectif() {
  if (!UneObs) return;
  CadreDate->FixeDateSaisie(UneObs->LaDate);
  CadreOpe->InitRectif(UneObs->Observateurs);
  EtatBox->setCurrentIndex(static_cast<int>(UneObs->Observation.EtatSuite));
  MemoCommentaires->setPlainText(Q(Lignes(UneObs->Commentaires, "\n")).chopped(
      UneObs->Commentaires.empty() ? 0 : 1));
}

void TSaisieSuiteEtObsDlg::Transfere() {
  if (!UneObs) return;
  UneObs->LaDate = CadreDate->DateSaisie();
  CadreOpe->TransfereListe(UneObs->Observateurs);
  UneObs->Observation.EtatSuite = static_cast<survey::TEtatSuite>(std::max(EtatBox->currentIndex(), 0));
  UneObs->Commentaires.clear();
  const QString memo = MemoCommentaires->toPlainText();
  if (!memo.isEmpty())
    for (const QString& l : memo.split('\n')) UneObs->Commentaires.push_back(l.toStdString());
}

}  // namespace app
