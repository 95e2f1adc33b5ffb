#include "app/echanges/objets_kml_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "formats/export/kml/export_kml.h"
#include "formats/export/ports_export.h"
#include "foundation/catalogue.h"
#include "platform/qt/conversions_qt.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;

TObjetsKMLDlg::TObjetsKMLDlg(formats::TObjetsKMLDlg& modele, QWidget* parent) : QDialog(parent), modele_(modele) {
  setObjectName("ObjetsKMLDlg");
  setWindowTitle(Q(Msg(IdMsg::AppObjetsKmlTitre)));
  auto* haut = new QVBoxLayout(this);
  auto* cadre = new QFrame(this);
  cadre->setObjectName("Bevel1");
  cadre->setFrameShape(QFrame::StyledPanel);
  auto* cases = new QVBoxLayout(cadre);
  const auto boite = [&](const char* nom, IdMsg texte, bool coche) {
    auto* b = new QCheckBox(Q(Msg(texte)), cadre);
    b->setObjectName(nom);
    b->setChecked(coche);
    cases->addWidget(b);
    return b;
  };
  surface_ = boite("ChkbSurface", IdMsg::AppObjetsKmlSurface, modele_.ChkbSurface);
  levers_ = boite("ChkbLevers", IdMsg::AppObjetsKmlLevers, modele_.ChkbLevers);
  galeries_ = boite("ChkbGaleries", IdMsg::AppObjetsKmlGaleries, modele_.ChkbGaleries);
  dessin_ = boite("ChkbDessin", IdMsg::AppObjetsKmlDessin, modele_.ChkbDessin);
  haut->addWidget(cadre);
  auto* boutons = new QHBoxLayout();
  boutons->addStretch();
  auto* ok = new QPushButton(Q(Msg(IdMsg::AppObjetsKmlOk)), this);
  ok->setObjectName("OkBtn");
  ok->setDefault(true);
  auto* annul = new QPushButton(Q(Msg(IdMsg::AppObjetsKmlAnnul)), this);
  annul->setObjectName("AnnulBtn");
  boutons->addWidget(ok);
  boutons->addWidget(annul);
  haut->addLayout(boutons);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(annul, &QPushButton::clicked, this, &QDialog::reject);
}

bool TObjetsKMLDlg::Execute() {
  if (exec() != QDialog::Accepted) return false;
  modele_.ChkbSurface = surface_->isChecked();
  modele_.ChkbLevers = levers_->isChecked();
  modele_.ChkbGaleries = galeries_->isChecked();
  modele_.ChkbDessin = dessin_->isChecked();
  return true;
}

void InstalleDialogueObjetsKml() {
  formats::FenetresExport().AfficheObjetsKml = [](formats::TObjetsKMLDlg& modele) {
    TObjetsKMLDlg dlg(modele, QApplication::activeWindow());
    return dlg.Execute();
  };
}

}  // namespace app
