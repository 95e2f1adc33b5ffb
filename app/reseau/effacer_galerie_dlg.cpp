#include "app/reseau/effacer_galerie_dlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/catalogue.h"
#include "survey/ports_survey.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;

namespace {

QString M(IdMsg id) { return QString::fromStdString(Msg(id)); }

QListWidget* Liste(QWidget* parent, const char* nom, const std::vector<std::string>& textes) {
  auto* l = new QListWidget(parent);
  l->setObjectName(nom);
  for (const std::string& t : textes) l->addItem(QString::fromStdString(t));
  return l;
}

}  // namespace

TEffacerGalerieDlg::TEffacerGalerieDlg(const std::vector<std::string>& ListeGal,
                                       const std::vector<std::string>& ListeCoupesAEffacer, QWidget* parent)
    : QDialog(parent) {
  setObjectName("EffacerGalerieDlg");
  setWindowTitle(M(IdMsg::EditionEffacementVisees));
  auto* haut = new QVBoxLayout(this);
  auto* titreGal = new QLabel(M(IdMsg::AppEffacementGaleries), this);
  titreGal->setObjectName("LabelGaleries");
  haut->addWidget(titreGal);
  ListeGaleries = Liste(this, "ListeGaleries", ListeGal);
  haut->addWidget(ListeGaleries);
  auto* titreCoupes = new QLabel(M(IdMsg::AppEffacementCoupes), this);
  titreCoupes->setObjectName("LabelCoupes");
  haut->addWidget(titreCoupes);
  ListeCoupes = Liste(this, "ListeCoupes", ListeCoupesAEffacer);
  haut->addWidget(ListeCoupes);
  auto* question = new QLabel(M(IdMsg::AppEffacementQuestion), this);
  question->setObjectName("LabelQuestion");
  haut->addWidget(question);
  auto* boutons = new QHBoxLayout;
  boutons->addStretch();
  OuiBtn = new QPushButton(M(IdMsg::AppEffacementOui), this);
  OuiBtn->setObjectName("OuiBtn");
  OuiBtn->setAutoDefault(false);
  NonBtn = new QPushButton(M(IdMsg::AppEffacementNon), this);
  NonBtn->setObjectName("NonBtn");
  NonBtn->setDefault(true);
  boutons->addWidget(OuiBtn);
  boutons->addWidget(NonBtn);
  haut->addLayout(boutons);
  connect(OuiBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(NonBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void InstalleDialogueEffacement() {
  survey::Ports().ConfirmeEffacementVisees = [](const std::vector<std::string>& galeries,
                                                const std::vector<std::string>& coupes) {
    TEffacerGalerieDlg dlg(galeries, coupes, QApplication::activeWindow());
    return dlg.exec() == QDialog::Accepted;
  };
}

}  // namespace app
