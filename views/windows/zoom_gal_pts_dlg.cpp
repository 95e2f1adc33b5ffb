#include "views/windows/zoom_gal_pts_dlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/conversions_qt.h"
#include "survey/cavite.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "views/contexte_views.h"
#include "views/zoom_gal_pts.h"

namespace views {

using platform::qt::Q;

namespace {

// A titled group of radio buttons named after it (nom0, nom1, ...), in that
// many columns.
QGroupBox* GroupeRadio(QWidget* parent, const char* nom, const char* titre, std::initializer_list<const char*> items,
                       int colonnes, QButtonGroup*& groupe) {
  auto* boite = new QGroupBox(QString::fromUtf8(titre), parent);
  boite->setObjectName(nom);
  auto* grille = new QGridLayout(boite);
  groupe = new QButtonGroup(boite);
  const int n = static_cast<int>(items.size());
  const int lignes = (n + colonnes - 1) / colonnes;
  int i = 0;
  for (const char* texte : items) {
    auto* b = new QRadioButton(QString::fromUtf8(texte), boite);
    b->setObjectName(QString::fromLatin1(nom) + QString::number(i));
    groupe->addButton(b, i);
    grille->addWidget(b, i % lignes, i / lignes);
    ++i;
  }
  return boite;
}

}  // namespace

TZoomGalPtsDlg::TZoomGalPtsDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("ZoomGalPtsDlg");
  setWindowTitle(QString::fromUtf8("Choix de la zone sur laquelle zoomer"));
  TypeZommRdg = GroupeRadio(this, "TypeZommRdg", "Zoomer sur", {"Une galerie", "Les visées d'un point"}, 1, type_);
  ListeGalBox = new QComboBox(this);
  ListeGalBox->setObjectName("ListeGalBox");
  ListePointsGroupe = new QGroupBox(this);
  ListePointsGroupe->setObjectName("ListePointsGroupe");
  ZoneRDG = GroupeRadio(ListePointsGroupe, "ZoneRDG", "dans ", {"la cavité", "la galerie"}, 2, zone_);
  ListePtsBox = new QComboBox(ListePointsGroupe);
  ListePtsBox->setObjectName("ListePtsBox");
  auto* points = new QVBoxLayout(ListePointsGroupe);
  points->addWidget(ZoneRDG);
  points->addWidget(ListePtsBox);
  auto* tout = new QVBoxLayout(this);
  tout->addWidget(TypeZommRdg);
  tout->addWidget(ListeGalBox);
  tout->addWidget(ListePointsGroupe);
  tout->addStretch();
  tout->addLayout(platform::qt::BoutonsOKAnnuler(this, BoutonOK));
  connect(type_, &QButtonGroup::idClicked, this, [this] { TypeZommRdgClick(); });
  connect(zone_, &QButtonGroup::idClicked, this, [this] { ZoneRDGClick(); });
  connect(ListeGalBox, &QComboBox::activated, this, [this] { ListeGalBoxChange(); });
}

bool TZoomGalPtsDlg::Execute(survey::TCavite& cavite, TZoomCavite& r, QWidget* parent) {
  TZoomGalPtsDlg d(parent);
  d.init(cavite, r);
  if (d.exec() != QDialog::Accepted || !d.ZoomCalcule) return false;
  r = d.ZoomResultat;
  return true;
}

int TZoomGalPtsDlg::TypeZoom() const { return type_->checkedId(); }
int TZoomGalPtsDlg::Zone() const { return zone_->checkedId(); }

void TZoomGalPtsDlg::FixeTypeZoom(int i) {
  if (QAbstractButton* b = type_->button(i)) b->setChecked(true);
}

void TZoomGalPtsDlg::FixeZone(int i) {
  if (QAbstractButton* b = zone_->button(i)) b->setChecked(true);
}

void TZoomGalPtsDlg::init(survey::TCavite& cavite, const TZoomCavite& rectangle) {
  ZoomResultat = rectangle;
  UneCavite = &cavite;
  ListeGalBox->setEnabled(true);
  ListePointsGroupe->setEnabled(true);
  galeries_ = GaleriesTriees(cavite);
  {
    const QSignalBlocker bloque(ListeGalBox);
    ListeGalBox->clear();
    for (const survey::TGalerie* g : galeries_) ListeGalBox->addItem(Q(g->NomGalerie));
    const TChoixZoomGalPts& choix = EtatVisu().ChoixZoom;
    const bool memeCavite = choix.Cavite == &cavite && choix.Galerie >= 0 && choix.Galerie < ListeGalBox->count();
    ListeGalBox->setCurrentIndex(memeCavite ? choix.Galerie : 0);
  }
  FixeZone(EtatVisu().ChoixZoom.Zone);
  FixeTypeZoom(EtatVisu().ChoixZoom.TypeZoom);
  ZoneRDGClick();
  TypeZommRdgClick();
}

void TZoomGalPtsDlg::TypeZommRdgClick() {
  const bool point = TypeZoom() == 1;
  ListePointsGroupe->setVisible(point);
  if (point)
    ZoneRDGClick();
  else
    ListeGalBox->setVisible(true);
}

void TZoomGalPtsDlg::ZoneRDGClick() {
  const bool galerie = Zone() == 1;
  ListeGalBox->setVisible(galerie);
  if (galerie) {
    ListeGalBoxChange();
    return;
  }
  points_ = UneCavite ? PointsCaviteTries(*UneCavite) : std::vector<survey::TPointSpeleo*>{};
  ListePtsBox->clear();
  for (const survey::TPointSpeleo* p : points_) ListePtsBox->addItem(Q(p->DesignPTopo));
  ListePtsBox->setCurrentIndex(points_.empty() ? -1 : 0);
}

void TZoomGalPtsDlg::ListeGalBoxChange() {
  if (ListePointsGroupe->isHidden()) return;
  const int i = ListeGalBox->currentIndex();
  const survey::TGalerie* g = i >= 0 && static_cast<size_t>(i) < galeries_.size() ? galeries_[static_cast<size_t>(i)]
                                                                                   : nullptr;
  points_ = g ? PointsGalerieTries(*g) : std::vector<survey::TPointSpeleo*>{};
  ListePtsBox->clear();
  for (const survey::TPointSpeleo* p : points_) ListePtsBox->addItem(Q(p->DesignPTopo));
  ListePtsBox->setCurrentIndex(points_.empty() ? -1 : 0);
}

bool TZoomGalPtsDlg::CalculeZoom() {
  if (TypeZoom() == 1) {
    const int i = ListePtsBox->currentIndex();
    if (i < 0 || static_cast<size_t>(i) >= points_.size()) return false;
    return ZoomPoint(*points_[static_cast<size_t>(i)], ZoomResultat);
  }
  const int i = ListeGalBox->currentIndex();
  if (i < 0 || static_cast<size_t>(i) >= galeries_.size()) return false;
  return ZoomGalerie(*galeries_[static_cast<size_t>(i)], ZoomResultat);
}

void TZoomGalPtsDlg::done(int resultat) {
  if (resultat == QDialog::Accepted) {
    ZoomCalcule = CalculeZoom();
    TChoixZoomGalPts& choix = EtatVisu().ChoixZoom;
    choix.Cavite = UneCavite;
    choix.Galerie = ListeGalBox->currentIndex();
    choix.TypeZoom = TypeZoom();
    choix.Zone = Zone();
  }
  QDialog::done(resultat);
}

}  // namespace views
