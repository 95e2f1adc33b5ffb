#include "app/saisie/choix_pt_surface_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "foundation/catalogue.h"
#include "foundation/codage.h"
#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/conversions_qt.h"
#include "survey/cavite.h"
#include "survey/liste_points.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;
using survey::TPointSpeleo;

TChoixPtSurfaceDlg::TChoixPtSurfaceDlg(survey::TListedePoints& surface, TPointSpeleo* propose, QWidget* parent)
    : QDialog(parent), surface_(surface) {
  setObjectName("ChoixPtSurfaceDlg");
  setWindowTitle(Q(Msg(IdMsg::AppPtSurfaceTitre)));
  auto* haut = new QVBoxLayout(this);
  ListePoints = new QListWidget(this);
  ListePoints->setObjectName("ListePoints");
  haut->addWidget(ListePoints);
  LabelCommentaire = new QLabel(this);
  LabelCommentaire->setObjectName("LabelCommentaire");
  haut->addWidget(LabelCommentaire);
  NouveauBtn = new QPushButton(Q(Msg(IdMsg::AppPtSurfaceNouveau)), this);
  NouveauBtn->setObjectName("NouveauBtn");
  NouveauBtn->setAutoDefault(false);
  QPushButton* ok = nullptr;
  QHBoxLayout* boutons = platform::qt::BoutonsOKAnnuler(this, ok);
  boutons->insertWidget(0, NouveauBtn);
  haut->addLayout(boutons);

  std::vector<std::pair<std::string, TPointSpeleo*>> cles;
  cles.reserve(static_cast<size_t>(surface.Count()));
  for (TPointSpeleo* p : surface) cles.emplace_back(foundation::EnMajuscules(p->DesignPTopo), p);
  std::stable_sort(cles.begin(), cles.end(),
                   [](const auto& a, const auto& b) { return foundation::CompareNomsPoints(a.first, b.first) < 0; });
  QStringList noms;
  for (const auto& [cle, p] : cles) {
    points_.push_back(p);
    noms << Q(p->DesignPTopo);
  }
  ListePoints->addItems(noms);
  connect(ListePoints, &QListWidget::currentRowChanged, this, [this](int) {
    const TPointSpeleo* p = PointSelectionne();
    LabelCommentaire->setText(p ? Q(p->Commentaire.Texte()) : QString());
  });
  const auto it = std::find(points_.begin(), points_.end(), propose);
  ListePoints->setCurrentRow(propose && it != points_.end() ? static_cast<int>(it - points_.begin())
                                                            : static_cast<int>(points_.size()) - 1);
  connect(NouveauBtn, &QPushButton::clicked, this, [this] { NouveauPointClick(); });
  connect(this, &QDialog::accepted, this, [this] {
    if (!PointChoisi) PointChoisi = PointSelectionne();
  });
}

TPointSpeleo* TChoixPtSurfaceDlg::PointSelectionne() const {
  const int r = ListePoints->currentRow();
  return r >= 0 && r < static_cast<int>(points_.size()) ? points_[static_cast<size_t>(r)] : nullptr;
}

void TChoixPtSurfaceDlg::NouveauPointClick() {
  TPointSpeleo* p = survey::TPointsSurface(surface_).AjoutePoint();
  if (!p) return;
  PointChoisi = p;
  accept();
}

TPointSpeleo* ChoisitPointSurface(QWidget* owner, survey::TCavite& cavite, TPointSpeleo* propose) {
  survey::TListedePoints* surface = cavite.PointsSurfaceReseau();
  if (!surface) return nullptr;
  const int avant = surface->Count();
  TPointSpeleo* choisi = nullptr;
  if (avant == 0) {
    choisi = survey::TPointsSurface(*surface).AjoutePoint();
  } else {
    TChoixPtSurfaceDlg dlg(*surface, propose, owner);
    if (dlg.exec() == QDialog::Accepted) choisi = dlg.PointChoisi;
  }
  if (surface->Count() > avant && cavite.CavitesReseau && cavite.CavitesReseau->Count() > 0)
    cavite.CavitesReseau->First()->ReGenereListePoints(false);
  return choisi;
}

}  // namespace app
