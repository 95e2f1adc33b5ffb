#include "views/windows/fiche_visu_dessin.h"

#include <QHBoxLayout>
#include <algorithm>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "foundation/catalogue.h"
#include "survey/contexte_document.h"
#include "survey/reseau.h"
#include "views/windows/choix_cav_dlg.h"
#include "views/windows/couleur_cavite_dlg.h"

namespace views {

using foundation::IdMsg;
using foundation::Msg;

namespace {

QToolButton* BoutonOutil(QWidget* parent, const char* nom, IdMsg aide, const char* texte, bool bascule = false) {
  auto* b = new QToolButton(parent);
  b->setObjectName(nom);
  b->setToolTip(QString::fromStdString(Msg(aide)));
  b->setText(QString::fromUtf8(texte));
  b->setCheckable(bascule);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

// A tool button placed in a panel's column, before its closing stretch.
void Range(QWidget* panel, QWidget* w) {
  auto* l = qobject_cast<QVBoxLayout*>(panel->layout());
  if (!l) return;
  int i = l->count();
  if (i > 0 && l->itemAt(i - 1)->spacerItem()) --i;
  l->insertWidget(i, w);
}

}  // namespace

// --- Drawing view --------------------------------------------------------------------------------

TFicheVisuDessin::TFicheVisuDessin(QWidget* parent) : TFicheVisuGraphique(parent) {
  setObjectName("FicheVisuDessin");
  PanelHaut = new QWidget(this);
  PanelHaut->setObjectName("PanelHaut");
  auto* haut = new QHBoxLayout(PanelHaut);
  haut->setContentsMargins(0, 0, 0, 0);
  MenPageBtn = BoutonOutil(PanelHaut, "MenPageBtn", IdMsg::VisuBtnMenPage, "Impression", true);
  CouleurCaviteBtn = BoutonOutil(PanelHaut, "CouleurCaviteBtn", IdMsg::VisuBtnCouleurCavite, "Traits");
  SVGBtn = BoutonOutil(PanelHaut, "SVGBtn", IdMsg::VisuBtnSVG, "SVG");
  RefAltiLabel = new QLabel(QString::fromStdString(Msg(IdMsg::VisuRefAlti)), PanelHaut);
  RefAltiLabel->setObjectName("RefAltiLabel");
  RefAltiText = new QLabel(PanelHaut);
  RefAltiText->setObjectName("RefAltiText");
  for (QWidget* w : {static_cast<QWidget*>(MenPageBtn), static_cast<QWidget*>(CouleurCaviteBtn),
                     static_cast<QWidget*>(SVGBtn), static_cast<QWidget*>(RefAltiLabel),
                     static_cast<QWidget*>(RefAltiText)})
    haut->addWidget(w);
  haut->addStretch();
  // Page mode comes with its own window.
  MenPageBtn->setEnabled(false);
  RefAltiLabel->setVisible(false);
  RefAltiText->setVisible(false);
  if (auto* cadre = qobject_cast<QVBoxLayout*>(CadreDessin->layout())) cadre->insertWidget(0, PanelHaut);
  PkTpBtn = BoutonOutil(PanelOutils, "PkTpBtn", IdMsg::VisuBtnPkTp, "CE", true);
  PkTpBtn->setEnabled(false);
  Range(PanelOutils, PkTpBtn);
  connect(SVGBtn, &QToolButton::clicked, this, [this] {
    SVGBtnClick();
    DessinActif();
  });
  connect(PkTpBtn, &QToolButton::clicked, this, [this] {
    PkTpBtnClick();
    DessinActif();
  });
  // The pens of the drawn cave (the active one when none): the view is
  // built again with them.
  connect(CouleurCaviteBtn, &QToolButton::clicked, this, [this] {
    survey::TReseau* r = survey::Document().ReseauCourant;
    survey::TCavite* cavite = CaviteDessinee ? CaviteDessinee : (r ? r->LaCaviteActive : nullptr);
    if (!cavite || !TCouleurCaviteDlg::Execute(*cavite, this)) return;
    ReGenereDessin();
    DessinActif();
  });
}

TFicheVisuDessin::~TFicheVisuDessin() = default;

void TFicheVisuDessin::AppliqueModele() {
  setWindowTitle(QString::fromStdString(Titre));
  PkTpBtn->setEnabled(PkTpDisponible);
  PkTpBtn->setChecked(ObjetsAffichables.Types[static_cast<size_t>(drawing::TypeObjetDessin::odPkTp)]);
}

// --- Plan view ---------------------------------------------------------------------------------

TFicheVisuPlan::TFicheVisuPlan(QWidget* parent) : TFicheVisuDessin(parent) {
  setObjectName("FicheVisuPlan");
  GrillePlaniBtn = BoutonOutil(PanelOutils, "GrillePlaniBtn", IdMsg::VisuBtnGrillePlani, "#", true);
  Range(PanelOutils, GrillePlaniBtn);
  // DessinCavBtn in a place of its own, 30 pixels high with the spacing
  // before it, so that hiding it moves what follows up by as much.
  PlaceDessinCav = new QWidget(PanelZooms);
  PlaceDessinCav->setObjectName("PlaceDessinCav");
  const int espace = std::max(PanelZooms->layout()->spacing(), 0);
  PlaceDessinCav->setFixedHeight(30 - espace);
  auto* place = new QVBoxLayout(PlaceDessinCav);
  place->setContentsMargins(0, 0, 0, 0);
  DessinCavBtn = BoutonOutil(PlaceDessinCav, "DessinCavBtn", IdMsg::VisuBtnDessinCav, "Cav");
  place->addWidget(DessinCavBtn);
  PanelZooms->layout()->addWidget(PlaceDessinCav);
  // The caves drawn beside the active one: redrawn when the choice changed.
  connect(DessinCavBtn, &QToolButton::clicked, this, [this] {
    survey::TReseau* r = survey::Document().ReseauCourant;
    if (!r || !TChoixCavDlg::Execute(*r, this)) return;
    RedessinCavitesDessinees();
    DessinActif();
  });
  connect(GrillePlaniBtn, &QToolButton::toggled, this, [this](bool enfonce) {
    GrillePlaniBtnClick(enfonce);
    DessinActif();
  });
}

TFicheVisuPlan::~TFicheVisuPlan() = default;

void TFicheVisuPlan::InitDessin() {
  TNoyauVisuPlan::InitDessin();
  PlaceDessinCav->setVisible(DessinCavBtnVisible);
}

void TFicheVisuPlan::Initialise() {
  TNoyauVisuDessin::Initialise();
  AppliqueModele();
  const QSignalBlocker bloque(GrillePlaniBtn);
  GrillePlaniBtn->setChecked(ObjetsAffichables.Types[static_cast<size_t>(drawing::TypeObjetDessin::odQuadrill)]);
}

// --- Elevation view ------------------------------------------------------------------------------

TFicheVisuCoupe::TFicheVisuCoupe(QWidget* parent) : TFicheVisuDessin(parent) {
  setObjectName("FicheVisuCoupe");
  GrilleAbsBtn = BoutonOutil(PanelOutils, "GrilleAbsBtn", IdMsg::VisuBtnGrilleAbs, "Abs", true);
  GrilleRelBtn = BoutonOutil(PanelOutils, "GrilleRelBtn", IdMsg::VisuBtnGrilleRel, "Rel", true);
  Range(PanelOutils, GrilleAbsBtn);
  Range(PanelOutils, GrilleRelBtn);
  // One group where both may be up: the model says which is down.
  const auto clic = [this](bool absolu) {
    GrilleBtnClick(absolu);
    const QSignalBlocker a(GrilleAbsBtn), r(GrilleRelBtn);
    GrilleAbsBtn->setChecked(GrilleAbs);
    GrilleRelBtn->setChecked(GrilleRel);
    DessinActif();
  };
  connect(GrilleAbsBtn, &QToolButton::clicked, this, [clic] { clic(true); });
  connect(GrilleRelBtn, &QToolButton::clicked, this, [clic] { clic(false); });
}

TFicheVisuCoupe::~TFicheVisuCoupe() = default;

void TFicheVisuCoupe::Initialise() {
  TNoyauVisuCoupe::Initialise();
  AppliqueModele();
}

}  // namespace views
