#include "views/windows/fiche_visu_graphique.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/qt/combo_box.h"
#include "survey/cavite.h"
#include "views/windows/visu_pt_dlg.h"
#include "views/windows/zoom_gal_pts_dlg.h"

namespace views {

TFicheVisuGraphique::TFicheVisuGraphique(QWidget* parent) : TFicheGraphique(parent) {
  setObjectName("FicheVisuGraphique");
  ZoomGalPtsBtn = new QToolButton(PanelZooms);
  ZoomGalPtsBtn->setObjectName("ZoomGalPtsBtn");
  ZoomGalPtsBtn->setToolTip(QString::fromUtf8("Zoome sur une galerie ou un point"));
  ZoomGalPtsBtn->setText(QString::fromUtf8("G"));
  ZoomGalPtsBtn->setFocusPolicy(Qt::NoFocus);
  ZoomGalPtsBtn->setEnabled(false);
  PanelZooms->layout()->addWidget(ZoomGalPtsBtn);
  // "Zoom sur :" and the cave box above the drawing.
  LabelZoomCavites = new QLabel(QString::fromUtf8("Zoom sur :"), this);
  LabelZoomCavites->setObjectName("LabelZoomCavites");
  BoxCavites = new QComboBox(this);
  BoxCavites->setObjectName("BoxCavites");
  BoxCavites->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  BoxCavites->setFocusPolicy(Qt::NoFocus);
  LabelZoomCavites->setVisible(false);
  BoxCavites->setVisible(false);
  auto* ligne = new QHBoxLayout;
  ligne->addWidget(LabelZoomCavites);
  ligne->addWidget(BoxCavites);
  ligne->addStretch();
  if (auto* cadre = qobject_cast<QVBoxLayout*>(CadreDessin->layout())) cadre->insertLayout(0, ligne);
  connect(BoxCavites, &QComboBox::activated, this, [this](int index) {
    BoxCavitesChange(index);
    DessinActif();
  });
  BaseDessin->installEventFilter(this);
  connect(ZoomGalPtsBtn, &QToolButton::clicked, this, [this] {
    ZoomGalPtsBtnClick();
    DessinActif();
  });
}

TFicheVisuGraphique::~TFicheVisuGraphique() = default;

void TFicheVisuGraphique::InitBoxCavites() {
  TNoyauVisuGraphique::InitBoxCavites();
  const QSignalBlocker bloque(BoxCavites);
  BoxCavites->clear();
  for (const auto& [nom, cavite] : ListeCavitesBox) BoxCavites->addItem(QString::fromStdString(nom));
  BoxCavites->setCurrentIndex(IndexCaviteBox);
  BoxCavites->setVisible(BoxCavitesVisible);
  LabelZoomCavites->setVisible(BoxCavitesVisible);
  if (BoxCavitesVisible) platform::AjusteLargeurListe(*BoxCavites);
}

void TFicheVisuGraphique::VisuInfoPoint(survey::TPointSpeleo& point) {
  TVisuPtDlg d(*this, point, this);
  d.exec();
}

bool TFicheVisuGraphique::DemandeZoneZoom(survey::TCavite& cavite, TZoomCavite& r) {
  return TZoomGalPtsDlg::Execute(cavite, r, this);
}

int TFicheVisuGraphique::exec() {
  if (!FicheOuverte) return QDialog::Rejected;
  return TFicheGraphique::exec();
}

void TFicheVisuGraphique::setVisible(bool visible) {
  if (visible && !FicheOuverte) return;
  TFicheGraphique::setVisible(visible);
}

bool TFicheVisuGraphique::BoiteDimensionnee() const {
  return isVisible() && TNoyauVisuGraphique::BoiteDimensionnee();
}

void TFicheVisuGraphique::showEvent(QShowEvent* e) {
  ZoomGalPtsBtn->setEnabled(ZoneZoomDisponible());
  TFicheGraphique::showEvent(e);
  AppliqueVueDifferee();
}

bool TFicheVisuGraphique::eventFilter(QObject* objet, QEvent* e) {
  if (objet == BaseDessin && e->type() == QEvent::Resize) AppliqueVueDifferee();
  return TFicheGraphique::eventFilter(objet, e);
}

}  // namespace views
