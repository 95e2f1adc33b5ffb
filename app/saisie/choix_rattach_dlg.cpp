#include "app/saisie/choix_rattach_dlg.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <set>

#include "drawing/objet_motif_de_base.h"
#include "foundation/catalogue.h"
#include "foundation/point_topo.h"
#include "platform/dialogs.h"
#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/conversions_qt.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/liste_points.h"
#include "survey/parties_reseau.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;
using survey::TPointSpeleo;

TChoixRattachDlg::TChoixRattachDlg(survey::TCavite* ACavite, const std::string& MotifRattach, TPointSpeleo* vPtRat,
                                   bool SurfPossible, QWidget* parent)
    : QDialog(parent) {
  setObjectName("ChoixRattachDlg");
  setWindowTitle(Q(MotifRattach.empty() ? Msg(IdMsg::AppChoixRattachTitre) : MotifRattach));
  auto* haut = new QVBoxLayout(this);
  LabelNouveau = new QLabel(Q(Msg(IdMsg::AppChoixRattachNouveau)), this);
  LabelNouveau->setObjectName("LabelNouveau");
  LabelNouveau->setVisible(survey::Document().RectifEnCours);
  haut->addWidget(LabelNouveau);
  ListePoints = new QListWidget(this);
  ListePoints->setObjectName("ListePoints");
  haut->addWidget(ListePoints);
  LabelGalerie = new QLabel(this);
  LabelGalerie->setObjectName("LabelGalerie");
  haut->addWidget(LabelGalerie);
  LabelCommentaire = new QLabel(this);
  LabelCommentaire->setObjectName("LabelCommentaire");
  haut->addWidget(LabelCommentaire);
  QPushButton* ok = nullptr;
  haut->addLayout(platform::qt::BoutonsOKAnnuler(this, ok));

  if (ACavite) {
    ACavite->CalculeTousPoints(true);
    std::set<const TPointSpeleo*> vus;
    for (TPointSpeleo* p : ACavite->ListePoints)
      if (vus.insert(p).second) ListePtsCav.push_back(p);
    survey::TListedePoints* surface = ACavite->PointsSurfaceReseau();
    if (SurfPossible && surface && surface->Count() > 0)
      for (TPointSpeleo* p : *surface)
        if (vus.insert(p).second) ListePtsCav.push_back(p);
  }
  std::erase(ListePtsCav, vPtRat);
  if (vPtRat) {
    const foundation::TPointTopo ref = vPtRat->PtTopo();
    for (TPointSpeleo* p : ListePtsCav) p->dPt = foundation::DistanceXY(p->PtTopo(), ref);
  }
  std::stable_sort(ListePtsCav.begin(), ListePtsCav.end(),
                   [](const TPointSpeleo* a, const TPointSpeleo* b) { return a->dPt < b->dPt; });
  ListePoints->setUpdatesEnabled(false);
  QStringList noms;
  noms.reserve(static_cast<int>(ListePtsCav.size()));
  for (const TPointSpeleo* p : ListePtsCav) noms << Q(p->DesignPTopo);
  ListePoints->addItems(noms);
  ListePoints->setUpdatesEnabled(true);
  connect(ListePoints, &QListWidget::currentRowChanged, this, [this](int) { Selection(); });
  if (!ListePtsCav.empty()) ListePoints->setCurrentRow(0);
}

TPointSpeleo* TChoixRattachDlg::PointSelectionne() const {
  const int r = ListePoints->currentRow();
  return r >= 0 && r < static_cast<int>(ListePtsCav.size()) ? ListePtsCav[static_cast<size_t>(r)] : nullptr;
}

void TChoixRattachDlg::Selection() {
  const TPointSpeleo* p = PointSelectionne();
  LabelGalerie->setText(Q(Msg(IdMsg::AppChoixRattachGalerie) + (p ? survey::NomGalerieDuPoint(p) : std::string())));
  LabelCommentaire->setText(p ? Q(p->Commentaire.Texte()) : QString());
}

TPointSpeleo* TChoixRattachDlg::Execute() {
  if (ListePtsCav.empty()) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning, Msg(IdMsg::AppChoixRattachAucun));
    return nullptr;
  }
  if (exec() != QDialog::Accepted) return nullptr;
  PointChoisi = PointSelectionne();
  return PointChoisi;
}

}  // namespace app
