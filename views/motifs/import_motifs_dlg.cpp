#include "views/motifs/import_motifs_dlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/catalogue.h"
#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/conversions_qt.h"
#include "platform/qt/qt_canvas.h"
#include "views/import_motifs_choisis.h"

namespace views {

namespace {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;

// Side of the preview, in pixels.
constexpr int TailleVisu = 160;

}  // namespace

TImportMotifsDlg::TImportMotifsDlg(QWidget* owner, drawing::TTypeMotif type, drawing::tListeMtf& bibliotheque)
    : QDialog(owner),
      TypeImport(type),
      ListeMtfDiff(std::make_unique<drawing::tListeMtf>(0)),
      ListeOrig(&bibliotheque) {
  setObjectName("ImportMotifsDlg");
  setWindowTitle(Q(foundation::RemplaceMarques(Msg(IdMsg::ImportMotifsTitre), {drawing::NomTypesMotif(type)})));
  ImportMotifsBox = new QListWidget(this);
  ImportMotifsBox->setObjectName("ImportMotifsBox");
  VisuMotif = new QLabel(this);
  VisuMotif->setObjectName("VisuMotif");
  VisuMotif->setFixedSize(TailleVisu, TailleVisu);
  VisuMotif->setFrameShape(QFrame::Box);
  TousBtn = new QPushButton(Q(Msg(IdMsg::ImportMotifsTous)), this);
  TousBtn->setObjectName("TousBtn");
  TousBtn->setAutoDefault(false);
  AucunBtn = new QPushButton(Q(Msg(IdMsg::ImportMotifsZero)), this);
  AucunBtn->setObjectName("AucunBtn");
  AucunBtn->setAutoDefault(false);
  ImportCatBox = new QCheckBox(Q(Msg(IdMsg::ImportMotifsCategories)), this);
  ImportCatBox->setObjectName("ImportCatBox");

  auto* droite = new QVBoxLayout;
  droite->addWidget(VisuMotif);
  auto* coches = new QHBoxLayout;
  coches->addWidget(TousBtn);
  coches->addWidget(AucunBtn);
  droite->addLayout(coches);
  droite->addWidget(ImportCatBox);
  droite->addStretch();
  auto* haut = new QHBoxLayout;
  haut->addWidget(ImportMotifsBox, 1);
  haut->addLayout(droite);
  auto* tout = new QVBoxLayout(this);
  tout->addLayout(haut, 1);
  tout->addLayout(platform::qt::BoutonsOKAnnuler(this, OKBtn, &AnnulerBtn));

  connect(ImportMotifsBox, &QListWidget::currentRowChanged, this, [this] { ImportMotifsBoxClick(); });
  connect(TousBtn, &QPushButton::clicked, this, [this] { TousBtnClick(true); });
  connect(AucunBtn, &QPushButton::clicked, this, [this] { TousBtnClick(false); });
}

TImportMotifsDlg::~TImportMotifsDlg() {
  // The lines point into the difference library: they go first.
  ImportMotifsBox->clear();
}

bool TImportMotifsDlg::InitListe() {
  if (!PrepareImportMotifs(*ListeOrig, TypeImport, *ListeMtfDiff)) return false;
  ImportMotifsBox->clear();
  for (drawing::TObjetMotifdeBase* m : *ListeMtfDiff->ListeMotif[static_cast<size_t>(TypeImport)]) {
    auto* ligne = new QListWidgetItem(Q(m->DesignMotif), ImportMotifsBox);
    ligne->setFlags(ligne->flags() | Qt::ItemIsUserCheckable);
    ligne->setCheckState(Qt::Unchecked);
    ligne->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(m)));
  }
  ImportMotifsBox->setCurrentRow(0);
  ImportMotifsBoxClick();
  return true;
}

drawing::TObjetMotifdeBase* TImportMotifsDlg::MotifDeLigne(int ligne) const {
  const QListWidgetItem* item = ImportMotifsBox->item(ligne);
  return item ? static_cast<drawing::TObjetMotifdeBase*>(item->data(Qt::UserRole).value<void*>()) : nullptr;
}

void TImportMotifsDlg::ImportMotifsBoxClick() {
  drawing::TObjetMotifdeBase* m = MotifDeLigne(ImportMotifsBox->currentRow());
  if (!m) {
    VisuMotif->clear();
    return;
  }
  platform::QtCanvas canvas(TailleVisu, TailleVisu);
  m->DessineVisuMotif(canvas, {0, 0, TailleVisu, TailleVisu});
  VisuMotif->setPixmap(QPixmap::fromImage(canvas.Image()));
}

void TImportMotifsDlg::TousBtnClick(bool tous) {
  for (int i = 0; i < ImportMotifsBox->count(); ++i)
    ImportMotifsBox->item(i)->setCheckState(tous ? Qt::Checked : Qt::Unchecked);
}

void TImportMotifsDlg::done(int resultat) {
  if (resultat == QDialog::Accepted) {
    std::vector<drawing::TObjetMotifdeBase*> choisis;
    for (int i = 0; i < ImportMotifsBox->count(); ++i)
      if (ImportMotifsBox->item(i)->checkState() == Qt::Checked) choisis.push_back(MotifDeLigne(i));
    ImporteMotifsChoisis(*ListeOrig, *ListeMtfDiff, TypeImport, choisis, ImportCatBox->isChecked(), vCatCourante);
    // The moved entries are the library's now: no line refers to them any more.
    ImportMotifsBox->clear();
  }
  QDialog::done(resultat);
}

}  // namespace views
