#include "app/saisie/rattach_dialog.h"

#include <QLabel>
#include <QRadioButton>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/catalogue.h"
#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/conversions_qt.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "views/cadres/cadres_projection.h"

namespace app {

using views::TGroupeRadio;

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;
using survey::TPointSpeleo;

TRattachDialog::TRattachDialog(QWidget* parent) : QDialog(parent) { setObjectName("RattachDialog"); }

void TRattachDialog::Init(const std::string& DesignGal, const std::string& DesignRattach,
                          const std::vector<TPointSpeleo*>& LPts) {
  PtsRattach = LPts;
  setWindowTitle(Q(Msg(IdMsg::AppRattachTitre) + DesignRattach));
  auto* haut = new QVBoxLayout(this);
  LabelGalerie = new QLabel(QString::fromStdString(DesignGal).trimmed(), this);
  LabelGalerie->setObjectName("LabelGalerie");
  const bool rectif = survey::Document().RectifEnCours;
  LabelTexte = new QLabel(Q(Msg(rectif ? IdMsg::AppRattachRectif : IdMsg::AppRattachDejaUn)), this);
  LabelTexte->setObjectName("LabelTexte");
  std::vector<std::string> items{Msg(IdMsg::AppRattachAucun)};
  for (const TPointSpeleo* p : LPts) items.push_back(Msg(IdMsg::AppRattachPoint) + p->DesignPTopo);
  PointsRdg = new TGroupeRadio(Q(Msg(IdMsg::AppRattachIndiquer)), items, 1, this);
  PointsRdg->setObjectName("PointsRdg");
  for (int i = 0; i < PointsRdg->Nombre(); ++i) PointsRdg->Item(i)->setObjectName("PointsRdg" + QString::number(i));
  int choix = 0;
  if (rectif)
    for (size_t i = 0; i < LPts.size(); ++i)
      if (!LPts[i]->EstAnnexe()) choix = static_cast<int>(i) + 1;
  PointsRdg->FixeItemIndex(choix);
  haut->addWidget(LabelGalerie);
  haut->addWidget(LabelTexte);
  haut->addWidget(PointsRdg);
  QPushButton* ok = nullptr;
  haut->addLayout(platform::qt::BoutonsOKAnnuler(this, ok));
  resize(width(), sizeHint().height() + 20 * static_cast<int>(LPts.size()));
}

int TRattachDialog::Choix() const { return PointsRdg->ItemIndex() - 1; }

void TRattachDialog::Transfere() {
  const int c = Choix();
  for (size_t i = 0; i < PtsRattach.size(); ++i) PtsRattach[i]->Annexe = static_cast<int>(i) == c ? 0 : 1;
}

}  // namespace app
