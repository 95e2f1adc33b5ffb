#include "views/windows/couleur_cavite_dlg.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_motifs.h"
#include "drawing/objet_trait.h"
#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/conversions_qt.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "views/motifs/cadres_traits.h"

namespace views {

namespace {

const char* const TitreAxe = "axe du cheminement";
const char* const TitreDim = "enveloppe des galeries";

// The frame's style into the cave's own: kept when it differs from the
// settings' style, removed when it equals it.  True when the cave's own
// style changed (made, altered or removed).
bool TransfereStyle(const TCadreTraitsTopo& cadre, const drawing::TDefObjetTrait& defaut,
                    std::unique_ptr<drawing::TObjetTrait>& propre) {
  if (cadre.EgalTrait(defaut)) {
    const bool avait = propre != nullptr;
    propre.reset();
    return avait;
  }
  const bool change = !propre || !cadre.EgalTrait(*propre);
  if (!propre) propre = std::make_unique<drawing::TObjetTrait>();
  propre->SetValeurTrait(cadre.UnTrait->GetValeurTrait());
  return change;
}

}  // namespace

TCouleurCaviteDlg::TCouleurCaviteDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("CouleurCaviteDlg");
  CadreAxeCav = new TCadreTraitsTopo(this);
  CadreAxeCav->setObjectName("CadreAxeCav");
  CadreDimCav = new TCadreTraitsTopo(this);
  CadreDimCav->setObjectName("CadreDimCav");
  const auto raz = [this](const char* nom) {
    auto* b = new QPushButton(QStringLiteral("Raz"), this);
    b->setObjectName(nom);
    b->setToolTip(QString::fromUtf8("Rétablit le trait par défaut"));
    return b;
  };
  RazAxeBtn = raz("RazAxeBtn");
  RazDimBtn = raz("RazDimBtn");
  auto* grille = new QGridLayout;
  grille->addWidget(CadreAxeCav, 0, 0);
  grille->addWidget(RazAxeBtn, 0, 1, Qt::AlignVCenter);
  grille->addWidget(CadreDimCav, 1, 0);
  grille->addWidget(RazDimBtn, 1, 1, Qt::AlignVCenter);
  auto* colonne = new QVBoxLayout(this);
  colonne->addLayout(grille);
  colonne->addLayout(platform::qt::BoutonsOKAnnuler(this, BoutonOK));
  connect(RazAxeBtn, &QPushButton::clicked, this, &TCouleurCaviteDlg::RazAxeBtnClick);
  connect(RazDimBtn, &QPushButton::clicked, this, &TCouleurCaviteDlg::RazDimBtnClick);
}

bool TCouleurCaviteDlg::Execute(survey::TCavite& cavite, QWidget* parent) {
  TCouleurCaviteDlg d(parent);
  d.init(cavite);
  return d.exec() == QDialog::Accepted;
}

void TCouleurCaviteDlg::init(survey::TCavite& cavite) {
  UneCavite = &cavite;
  setWindowTitle(QString::fromUtf8("Choix du dessin des traits topos de la cavité ") +
                 platform::qt::Q(cavite.NomCavite));
  const drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(&cavite);
  const auto& m = drawing::Motifs();
  const drawing::TDefObjetTrait& axe =
      annexe && annexe->MotifAxeCavite ? *annexe->MotifAxeCavite : m.TraitAxeTopo;
  const drawing::TDefObjetTrait& dim =
      annexe && annexe->MotifDimCavite ? *annexe->MotifDimCavite : m.TraitDimTopo;
  CadreAxeCav->Init(axe, QString::fromUtf8(TitreAxe));
  CadreDimCav->Init(dim, QString::fromUtf8(TitreDim));
}

void TCouleurCaviteDlg::RazAxeBtnClick() {
  CadreAxeCav->Init(drawing::Motifs().TraitAxeTopo, CadreAxeCav->title());
}

void TCouleurCaviteDlg::RazDimBtnClick() {
  CadreDimCav->Init(drawing::Motifs().TraitDimTopo, CadreDimCav->title());
}

void TCouleurCaviteDlg::done(int resultat) {
  if (resultat == QDialog::Accepted && UneCavite) {
    if (drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(UneCavite)) {
      const auto& m = drawing::Motifs();
      // Both styles, the outline's even when the axis' changed.
      const bool axe = TransfereStyle(*CadreAxeCav, m.TraitAxeTopo, annexe->MotifAxeCavite);
      const bool dim = TransfereStyle(*CadreDimCav, m.TraitDimTopo, annexe->MotifDimCavite);
      StylesModifies = axe || dim;
      if (StylesModifies) survey::Document().DocumentModifie = true;
    }
  }
  QDialog::done(resultat);
}

}  // namespace views
