#include "views/windows/fiche_origine_import.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <memory>

#include "drawing/point_compo.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"

namespace views {

using enum drawing::TypeObjetDessin;

TFicheOrigineImport::TFicheOrigineImport(QWidget* parent) : TFicheSelectTransfert(parent) {
  setObjectName("FicheOrigineImport");
  setWindowTitle(QString::fromUtf8("Changement du point d'origine du lever"));
  StatusBar->setText(QString::fromUtf8("Indiquez le point d'origine du levé"));
  EffaceBtn->hide();
  ToutBtn->hide();
  ReinitOriginBtn = new QPushButton(QString::fromUtf8("Réinitialiser"), Panel1);
  ReinitOriginBtn->setObjectName("ReinitOriginBtn");
  ReinitOriginBtn->setToolTip(QString::fromUtf8("remet le point d'origine de l'import à sa valeur initiale"));
  ReinitOriginBtn->setFocusPolicy(Qt::NoFocus);
  ReinitOriginBtn->setEnabled(false);
  // After OK and Annuler, before the stretch.
  if (auto* boutons = qobject_cast<QHBoxLayout*>(Panel1->layout()))
    boutons->insertWidget(boutons->indexOf(AnnuleBtn) + 1, ReinitOriginBtn);
  connect(ReinitOriginBtn, &QPushButton::clicked, this, [this] { ReinitOriginBtnClick(); });
}

TFicheOrigineImport::~TFicheOrigineImport() = default;

survey::TCavite* TFicheOrigineImport::Cavite() const {
  survey::TReseau* r = survey::Document().ReseauCourant;
  return r ? r->LaCaviteActive : nullptr;
}

void TFicheOrigineImport::InitDessin() {
  TFicheSelectTransfert::InitDessin();
  SelectViseeAutorise = false;
}

void TFicheOrigineImport::Initialise() {
  TFicheSelectTransfert::Initialise();
  RendNonAffiche(EnsembleTypes({odGalerie}));
  survey::TCavite* c = Cavite();
  if (!c) return;
  c->PointImport = nullptr;
  ChoisitPointOrigine(c->LEntree());
}

void TFicheOrigineImport::ReGenereDessin() {
  TFicheSelectTransfert::ReGenereDessin();
  PlaceMarqueur();
}

void TFicheOrigineImport::PlaceMarqueur() {
  drawing::TCalque& calque = LeCalque(odPtLever);
  const auto marqueur = [](const std::unique_ptr<drawing::TObjetDessin>& o) {
    return dynamic_cast<const drawing::TPointVisu*>(o.get()) != nullptr;
  };
  std::erase_if(calque.ObjetsDessines, marqueur);
  std::erase_if(calque.ObjetsMasques, marqueur);
  calque.CalqueModifie = true;
  const survey::TCavite* c = Cavite();
  if (!c || !c->PointImport) return;
  AjouteObjetDessin(odPtLever, std::make_unique<drawing::TPointVisu>(
                                   foundation::XYVersDessin(c->PointImport->X, c->PointImport->Y)));
}

void TFicheOrigineImport::ChoisitPointOrigine(survey::TPointSpeleo* station) {
  survey::TCavite* c = Cavite();
  if (!c || !station || station == c->PointImport) return;
  c->PointImport = station;
  PlaceMarqueur();
  const bool ailleurs = station != c->LEntree();
  ValidBtn->setEnabled(ailleurs);
  ReinitOriginBtn->setEnabled(ailleurs);
  if (BoiteDimensionnee()) RedessineVue();
}

survey::TPointSpeleo* TFicheOrigineImport::StationProche(const foundation::TPointTopo& p) const {
  const survey::TCavite* c = Cavite();
  if (!c) return nullptr;
  survey::TPointSpeleo* resultat = nullptr;
  double meilleure = RayonAccroche();
  const auto candidat = [&](survey::TPointSpeleo* s) {
    if (!s) return;
    const double d = s->DistPoint(p);
    if (d < meilleure) {
      meilleure = d;
      resultat = s;
    }
  };
  for (survey::TPointSpeleo* s : c->ListeEntrees) candidat(s);
  for (int i = 0; i <= c->IndexFinCavite(); ++i) candidat(c->LePoint(i));
  return resultat;
}

void TFicheOrigineImport::BaseDessinClick() {
  TFicheSelectTransfert::BaseDessinClick();
  if (RegleActive) return;
  foundation::TPointTopo sol;
  foundation::DessinVersPtTopo(DerPointClique, sol);
  if (survey::TPointSpeleo* station = StationProche(sol)) ChoisitPointOrigine(station);
}

void TFicheOrigineImport::done(int r) {
  const size_t code = static_cast<size_t>(iTypeFiche());
  const TCfAffichage memoire = MemoiresCaviteActive().at(code);
  TFicheSelectTransfert::done(r);
  MemoiresCaviteActive().at(code) = memoire;
}

void TFicheOrigineImport::ReinitOriginBtnClick() {
  if (survey::TCavite* c = Cavite()) ChoisitPointOrigine(c->LEntree());
}

}  // namespace views
