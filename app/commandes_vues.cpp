// The main window's plan and elevation views: "ButtonPlan", "VisuCoupeBtn"
// and the direct SVG export of the plan ("Fichier SVG Plani"), with the
// recording of a clicked ground point of the plan view through the dialog
// "Coordonnées du point cliqué".
#include <QAction>
#include <QMenuBar>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>
#include <memory>
#include <vector>

#include "app/commun/protege.h"
#include "app/fiche_principale.h"
#include "app/saisie/enregistrer_point_dlg.h"
#include "app/table/zone_visees.h"
#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/donnees_coupe_long.h"
#include "drawing/point_compo.h"
#include "foundation/transformation_vue.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/reseau.h"
#include "views/contexte_views.h"
#include "views/ports_vues.h"
#include "views/windows/fiche_visu_dessin.h"

namespace app {

namespace {

using enum drawing::TypeObjetDessin;

// The plan view as the point dialog sees it.
class TFenetrePlan : public FenetrePlanPoints {
 public:
  explicit TFenetrePlan(views::TNoyauVisuPlan& vue) : vue_(vue) {}
  bool CouchePointsVisible() const override { return vue_.ObjetsAffichables.Types[static_cast<size_t>(odPtLever)]; }
  void MontreCouchePoints(bool visible) override {
    if (visible)
      vue_.RendAffichable(views::EnsembleTypes({odPtLever}));
    else
      vue_.RendNonAffiche(views::EnsembleTypes({odPtLever}));
  }
  int AjouteMarque(const foundation::TPointTopo& p) override {
    const foundation::TPoint d = foundation::PtTopoVersDessin(p);
    marques_.push_back(vue_.AjouteObjetDessin(odPtLever, std::make_unique<drawing::TPointNoteVert>(d.X, d.Y)));
    return static_cast<int>(marques_.size()) - 1;
  }
  void RetireMarque(int marque) override {
    if (marque < 0 || marque >= static_cast<int>(marques_.size()) || !marques_[static_cast<size_t>(marque)]) return;
    vue_.LeCalque(odPtLever).SupprimeObjet(marques_[static_cast<size_t>(marque)]);
    marques_[static_cast<size_t>(marque)] = nullptr;
  }
  void Redessine() override { vue_.RedessineVue(); }
  QPoint PositionEcran(const foundation::TPointTopo& p) const override {
    const foundation::TPoint e = foundation::PtTopoVersEcran(p);
    if (auto* f = dynamic_cast<views::TFicheVisuPlan*>(&vue_)) return f->BaseDessin->mapToGlobal(QPoint(e.X, e.Y));
    return {e.X, e.Y};
  }

 private:
  views::TNoyauVisuPlan& vue_;
  std::vector<drawing::TObjetDessin*> marques_;
};

// A view is modal: while it is open nothing of the main window can be used.
// Its menu bar and tool bars say so, disabled for the view's life, then
// back as they were: each command keeps its own state under them, and the
// menus, which take the menu bar's state when it changes, get theirs back.
class GardeCommandesSuspendues {
 public:
  explicit GardeCommandesSuspendues(QMainWindow& fenetre) {
    QMenuBar* barre = fenetre.menuBar();
    for (QAction* m : barre->actions()) menus_.push_back({m, m->isEnabled()});
    suspendus_.push_back(barre);
    for (QToolBar* b : fenetre.findChildren<QToolBar*>()) suspendus_.push_back(b);
    for (QWidget* w : suspendus_) w->setEnabled(false);
  }
  ~GardeCommandesSuspendues() {
    for (QWidget* w : suspendus_)
      if (w) w->setEnabled(true);
    for (const auto& [menu, actif] : menus_)
      if (menu) menu->setEnabled(actif);
  }
  GardeCommandesSuspendues(const GardeCommandesSuspendues&) = delete;
  GardeCommandesSuspendues& operator=(const GardeCommandesSuspendues&) = delete;

 private:
  std::vector<QPointer<QWidget>> suspendus_;
  std::vector<std::pair<QPointer<QAction>, bool>> menus_;
};

}  // namespace

void InstalleEnregistrementPoint() {
  views::Ports().EnregistrePointClique = [](views::TNoyauVisuPlan& vue, const foundation::TPointTopo& point) {
    TFenetrePlan fenetre(vue);
    TDlgEnregistrerPoint dlg(fenetre, point, dynamic_cast<QWidget*>(&vue));
    dlg.exec();
    return dlg.SurfAjoute;
  };
}

void TFichePrincipale::InstalleVues() {
  if (auto* b = findChild<QToolButton*>(QStringLiteral("ButtonPlan"))) Connecte(b, [this] { ButtonPlanClick(); });
  if (auto* b = findChild<QToolButton*>(QStringLiteral("VisuCoupeBtn"))) Connecte(b, [this] { VisuCoupeBtnClick(); });
  if (auto* a = findChild<QAction*>(QStringLiteral("ExportSVG"))) Connecte(a, [this] { ExportSVGPlaniClick(); });
}

void TFichePrincipale::ReselectionneLigne(int ligne) {
  survey::TReseau* r = ReseauSurvey();
  if (r && r->NombreCavites() > 1 && ligne >= 0 && zone_->isEnabled()) zone_->SelectionneLigne(ligne);
}

void TFichePrincipale::ButtonPlanClick() {
  Protege([this] {
    if (!ReseauSurvey()) return;
    foundation::Vue().TypeDessinCourant = foundation::TTypeDeDessin::tddPlani;
    const int ligne = zone_->LigneFocus();
    {
      auto vue = views::TFicheGraphique::Cree<views::TFicheVisuPlan>(this);
      GardeCommandesSuspendues suspendues(*this);
      vue->Execute();
    }
    ReselectionneLigne(ligne);
  });
  MajMnuSauve();
}

void TFichePrincipale::VisuCoupeBtnClick() {
  Protege([this] {
    survey::TReseau* r = ReseauSurvey();
    survey::TCavite* c = r ? r->LaCaviteActive : nullptr;
    drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
    drawing::TDonneesCoupeLong* coupe = annexe ? annexe->LeDessinAlti : nullptr;
    if (!coupe) return;
    coupe->MajListeViseesDeRef();
    {
      foundation::GardeTypeDessin type(coupe->TypeDeDessin());
      views::GardeAffVisuCoupe memoire(*coupe);
      auto vue = views::TFicheGraphique::Cree<views::TFicheVisuCoupe>(this);
      GardeCommandesSuspendues suspendues(*this);
      vue->Execute();
    }
    foundation::Vue().TypeDessinCourant = foundation::TTypeDeDessin::tddPlani;
    c->SupprimeTousPointsEntreeVirtuels();
    r->CalculeReseau();
  });
  MajMnuSauve();
}

void TFichePrincipale::ExportSVGPlaniClick() {
  Protege([this] {
    if (!ReseauSurvey()) return;
    foundation::Vue().TypeDessinCourant = foundation::TTypeDeDessin::tddPlani;
    const int ligne = zone_->LigneFocus();
    {
      drawing::GardeValeur<bool> direct(views::EtatVisu().ExportSVGDirect, true);
      auto vue = views::TFicheGraphique::Cree<views::TFicheVisuPlan>(this);
      if (vue->FicheOuverte) vue->SVGBtnClick();
    }
    ReselectionneLigne(ligne);
  });
  MajMnuSauve();
}

}  // namespace app
