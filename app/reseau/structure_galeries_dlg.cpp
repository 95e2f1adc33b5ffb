#include "app/reseau/structure_galeries_dlg.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/document/selecteurs.h"
#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "survey/cavite.h"
#include "survey/galerie.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
QString M(IdMsg id) { return Q(Msg(id)); }
}  // namespace

TStructureGaleriesDlg::TStructureGaleriesDlg(survey::TCavite& cavite, QWidget* parent)
    : QDialog(parent), cavite_(cavite) {
  setObjectName("StructureGaleriesDlg");
  setWindowTitle(M(IdMsg::AppStructureTitre));
  auto* haut = new QVBoxLayout(this);
  ArbreGaleries = new QTreeWidget(this);
  ArbreGaleries->setObjectName("ArbreGaleries");
  ArbreGaleries->setHeaderHidden(true);
  ArbreGaleries->setUniformRowHeights(true);
  ArbreGaleries->setExpandsOnDoubleClick(false);
  ArbreGaleries->viewport()->installEventFilter(this);
  haut->addWidget(ArbreGaleries, 1);
  LabelAide = new QLabel(M(IdMsg::AppStructureAide), this);
  LabelAide->setObjectName("LabelAide");
  LabelAide->setWordWrap(true);
  haut->addWidget(LabelAide);
  auto* boutons = new QHBoxLayout;
  boutons->addStretch();
  OKBtn = new QPushButton(M(IdMsg::AppCfgOK), this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setAutoDefault(false);
  AnnulerBtn = new QPushButton(M(IdMsg::AppCfgAnnuler), this);
  AnnulerBtn->setObjectName("AnnulerBtn");
  AnnulerBtn->setAutoDefault(false);
  boutons->addWidget(OKBtn);
  boutons->addWidget(AnnulerBtn);
  haut->addLayout(boutons);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(AnnulerBtn, &QPushButton::clicked, this, &QDialog::reject);

  OteMarques();
  // The cave and its gallery hierarchy, fully expanded.
  const app::ArbreGaleries arbre = CreeArbreGaleries(cavite_);
  std::vector<QTreeWidgetItem*> noeuds;
  noeuds.reserve(arbre.Noeuds.size());
  galeries_.reserve(arbre.Noeuds.size());
  for (const NoeudGalerie& n : arbre.Noeuds) {
    auto* item = n.Parent < 0 ? new QTreeWidgetItem(ArbreGaleries)
                              : new QTreeWidgetItem(noeuds[static_cast<size_t>(n.Parent)]);
    item->setText(0, Q(n.Nom));
    item->setData(0, Qt::UserRole, static_cast<int>(noeuds.size()));
    noeuds.push_back(item);
    galeries_.push_back(n.Galerie);
  }
  ArbreGaleries->expandAll();
  if (noeuds.size() > 1) ArbreGaleries->setCurrentItem(noeuds[1]);
  connect(ArbreGaleries, &QTreeWidget::itemPressed, this, [this](QTreeWidgetItem* n) { ArbreMouseDown(n); });
  connect(ArbreGaleries, &QTreeWidget::itemExpanded, this, [this] { NoClick = true; });
  connect(ArbreGaleries, &QTreeWidget::itemCollapsed, this, [this] { NoClick = true; });
  NoClick = false;
  resize(420, 520);
}

survey::TGalerie* TStructureGaleriesDlg::GalerieDe(const QTreeWidgetItem* noeud) const {
  if (!noeud) return nullptr;
  const int i = noeud->data(0, Qt::UserRole).toInt();
  return i >= 0 && i < static_cast<int>(galeries_.size()) ? galeries_[static_cast<size_t>(i)] : nullptr;
}

bool TStructureGaleriesDlg::eventFilter(QObject* objet, QEvent* evenement) {
  // Each press starts afresh: only a branch this very press expands or
  // collapses keeps it from toggling a mark.
  if (objet == ArbreGaleries->viewport() && evenement->type() == QEvent::MouseButtonPress) NoClick = false;
  return QDialog::eventFilter(objet, evenement);
}

void TStructureGaleriesDlg::ArbreMouseDown(QTreeWidgetItem* noeud) {
  if (NoClick) {
    NoClick = false;
    return;
  }
  survey::TGalerie* g = GalerieDe(noeud);
  if (!g) return;  // the cave's node
  const QTreeWidgetItem* premier = ArbreGaleries->topLevelItemCount() ? ArbreGaleries->topLevelItem(0)->child(0) : nullptr;
  if (noeud == premier || !g->GalDeRattach() || g->GalDeRattach() == g) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information, Msg(IdMsg::AppStructureSansMere));
    return;
  }
  g->AFusionner = !g->AFusionner;
  Barre(noeud);
}

void TStructureGaleriesDlg::Barre(QTreeWidgetItem* noeud) {
  const survey::TGalerie* g = GalerieDe(noeud);
  QFont police = noeud->font(0);
  police.setStrikeOut(g && g->AFusionner);
  noeud->setFont(0, police);
}

void TStructureGaleriesDlg::OteMarques() {
  for (survey::TGalerie* g : cavite_.Galeries) g->AFusionner = false;
}

void TStructureGaleriesDlg::accept() {
  cavite_.FusionneGaleries();
  QDialog::accept();
}

void TStructureGaleriesDlg::reject() {
  OteMarques();
  QDialog::reject();
}

}  // namespace app
