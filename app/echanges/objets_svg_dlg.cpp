#include "app/echanges/objets_svg_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "formats/export/ports_export.h"
#include "foundation/catalogue.h"
#include "platform/qt/conversions_qt.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;
using Modele = formats::TObjetsSvgDlg;

namespace {

constexpr IdMsg kTextes[Modele::NombreBoites] = {
    IdMsg::AppObjetsSvgCarroyage, IdMsg::AppObjetsSvgPoints,    IdMsg::AppObjetsSvgPtSurf,
    IdMsg::AppObjetsSvgSurface,   IdMsg::AppObjetsSvgLevers,    IdMsg::AppObjetsSvgVisHab,
    IdMsg::AppObjetsSvgGaleries,  IdMsg::AppObjetsSvgDessin,    IdMsg::AppObjetsSvgTextes,
    IdMsg::AppObjetsSvgCoupes,    IdMsg::AppObjetsSvgEcarts,
};

// The boxes whose click enables or disables others.
bool EstMaitre(Modele::Boite b) {
  return b == Modele::ChkbSurface || b == Modele::ChkbLevers || b == Modele::ChkbDessin;
}

}  // namespace

TObjetsSvgDlg::TObjetsSvgDlg(Modele& modele, QWidget* parent) : QDialog(parent), modele_(modele), etat_(modele) {
  setObjectName("ObjetsSvgDlg");
  setWindowTitle(Q(Msg(IdMsg::AppObjetsSvgTitre)));
  auto* haut = new QVBoxLayout(this);
  auto* cadre = new QFrame(this);
  cadre->setObjectName("Bevel1");
  cadre->setFrameShape(QFrame::StyledPanel);
  auto* cases = new QVBoxLayout(cadre);
  for (int i = 0; i < Modele::NombreBoites; ++i) {
    const auto b = static_cast<Modele::Boite>(i);
    auto* c = new QCheckBox(Q(Msg(kTextes[i])), cadre);
    c->setObjectName(Modele::NomBoite(b));
    cases->addWidget(c);
    cases_[static_cast<size_t>(i)] = c;
    connect(c, &QCheckBox::clicked, this, [this, b] {
      Lit();
      if (EstMaitre(b)) etat_.ChkBoxClick();
      Affiche();
    });
  }
  haut->addWidget(cadre);
  auto* choix = new QHBoxLayout();
  auto* tous = new QPushButton(Q(Msg(IdMsg::AppObjetsSvgTous)), this);
  tous->setObjectName("TousBtn");
  auto* aucun = new QPushButton(Q(Msg(IdMsg::AppObjetsSvgAucun)), this);
  aucun->setObjectName("AucunBtn");
  choix->addWidget(tous);
  choix->addWidget(aucun);
  haut->addLayout(choix);
  connect(tous, &QPushButton::clicked, this, [this] {
    etat_.TousBtnClick();
    Affiche();
  });
  connect(aucun, &QPushButton::clicked, this, [this] {
    etat_.AucunBtnClick();
    Affiche();
  });
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
  // The script's lines, kept in the window as a hidden memo.
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("MemoPanZoom");
  memo_->setReadOnly(true);
  memo_->hide();
  QStringList lignes;
  for (const std::string& l : etat_.MemoPanZoom) lignes << Q(l);
  memo_->setPlainText(lignes.join('\n'));
  Affiche();
  resize(220, 463);
  if (const QScreen* ecran = QApplication::primaryScreen())
    move(ecran->availableGeometry().center() - rect().center());
}

void TObjetsSvgDlg::Affiche() {
  for (int i = 0; i < Modele::NombreBoites; ++i) {
    const Modele::Case& c = etat_[static_cast<Modele::Boite>(i)];
    cases_[static_cast<size_t>(i)]->setChecked(c.Coche);
    cases_[static_cast<size_t>(i)]->setEnabled(c.Actif);
  }
}

void TObjetsSvgDlg::Lit() {
  for (int i = 0; i < Modele::NombreBoites; ++i)
    etat_[static_cast<Modele::Boite>(i)].Coche = cases_[static_cast<size_t>(i)]->isChecked();
}

bool TObjetsSvgDlg::Execute() {
  if (exec() != QDialog::Accepted) return false;
  Lit();
  modele_ = etat_;
  return true;
}

void InstalleDialogueObjetsSvg() {
  formats::FenetresExport().AfficheObjetsSvg = [](Modele& modele) {
    TObjetsSvgDlg dlg(modele, QApplication::activeWindow());
    return dlg.Execute();
  };
}

}  // namespace app
