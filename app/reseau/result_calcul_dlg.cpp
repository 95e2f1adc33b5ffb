#include "app/reseau/result_calcul_dlg.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/catalogue.h"
#include "survey/rapport_calcul.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;

TResultCalculDlg::TResultCalculDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("ResultCalculDlg");
  setWindowTitle(QString::fromStdString(Msg(IdMsg::AppResultCalculTitre)));
  auto* haut = new QVBoxLayout(this);
  Memo = new QPlainTextEdit(this);
  Memo->setObjectName("Memo");
  Memo->setReadOnly(true);
  Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  // One block per report line, the copy taken now.
  const std::vector<std::string>& lignes = survey::ListeRapportCalcul();
  std::string texte;
  size_t taille = 0;
  for (const std::string& l : lignes) taille += l.size() + 1;
  texte.reserve(taille);
  for (size_t i = 0; i < lignes.size(); ++i) {
    if (i) texte += '\n';
    texte += lignes[i];
  }
  Memo->setPlainText(QString::fromStdString(texte));
  haut->addWidget(Memo, 1);
  auto* boutons = new QHBoxLayout;
  boutons->addStretch();
  auto* ok = new QPushButton(QString::fromStdString(Msg(IdMsg::AppCfgOK)), this);
  ok->setObjectName("OKBtn");
  ok->setDefault(true);
  boutons->addWidget(ok);
  haut->addLayout(boutons);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  resize(700, 500);
}

}  // namespace app
