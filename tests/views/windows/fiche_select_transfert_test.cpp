// The cave window and the shot selection window on Qt, offscreen, driven
// through their controls by objectName: the cave chooser, a window refused
// at creation never shown, the buttons of the selection window and the
// marks it leaves, the plan shown whatever the current drawing kind.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "tests/views/windows/clic_sol.h"
#include "tests/views/windows/outils_visu.h"
#include "views/windows/fiche_select_transfert.h"

namespace {

using namespace essaifenetres;
using foundation::TTypeDeDessin;

class FenetresCavites : public Cavites {
 protected:
  template <class F>
  std::unique_ptr<F> Ouvre() {
    auto f = views::TFicheGraphique::Cree<F>();
    f->resize(900, 700);
    return f;
  }
  // A left click on the paint box at a ground position.
  static void Clique(views::TFicheGraphique& f, double x, double y) { CliqueAuSol(f, x, y); }
  template <class W>
  static W* Controle(QWidget& f, const char* nom) {
    W* w = f.findChild<W*>(nom);
    EXPECT_NE(w, nullptr) << nom;
    return w;
  }
};

TEST_F(FenetresCavites, ChoixDeLaCaviteElargiEtZoomSurElle) {
  Petite();
  N.Surface("F", 500, 500, 0);
  survey::TCavite* b = N.Cavite("Un gouffre au nom vraiment très long pour la liste");
  N.Visee(b, "F", "b1", 0, 0, 40);
  N.Visee(b, "b1", "b2", 90, 0, 20);
  N.Regenere();
  auto f = Ouvre<views::TFicheVisuGraphique>();
  f->show();
  QApplication::processEvents();
  auto* box = Controle<QComboBox>(*f, "BoxCavites");
  auto* label = Controle<QLabel>(*f, "LabelZoomCavites");
  ASSERT_TRUE(box && label);
  EXPECT_TRUE(box->isVisible());
  EXPECT_TRUE(label->isVisible());
  EXPECT_EQ(label->text(), QString::fromUtf8("Zoom sur :"));
  ASSERT_EQ(box->count(), 2);
  // The active cave (the last made) is chosen; the list is as wide as its widest name.
  EXPECT_EQ(box->currentText().toStdString(), b->NomCavite);
  EXPECT_GE(box->view()->minimumWidth(), box->fontMetrics().horizontalAdvance(box->itemText(1)));
  // Choosing "Petite" zooms on its extent: its stations are on screen, the other cave's are not.
  const int petite = box->findText("Petite");
  box->setCurrentIndex(petite);
  emit box->activated(petite);
  EXPECT_EQ(f->CaviteDessinee->NomCavite, "Petite");
  const auto& v = foundation::Vue();
  const foundation::TPointTopo quatre = N.Station(N.R().UneCavite(1), "4")->PtTopo();
  const foundation::TPoint e = foundation::PtTopoVersEcran(quatre);
  EXPECT_TRUE(e.X >= 0 && e.X < v.LargeurPaintBox && e.Y >= 0 && e.Y < v.HauteurPaintBox);
  const foundation::TPoint loin = foundation::PtTopoVersEcran(N.Station(b, "b2")->PtTopo());
  EXPECT_FALSE(loin.X >= 0 && loin.X < v.LargeurPaintBox && loin.Y >= 0 && loin.Y < v.HauteurPaintBox);
  // The zoom on a gallery or a point is offered by every cave window.
  EXPECT_TRUE(Controle<QToolButton>(*f, "ZoomGalPtsBtn")->isEnabled());
}

TEST_F(FenetresCavites, FenetreRefuseeJamaisMontree) {
  N.Surface("S1", 0, 0, 0);
  N.Surface("S2", 3'000'000, 0, 0);
  auto f = Ouvre<views::TFicheVisuGraphique>();
  EXPECT_FALSE(f->FicheOuverte);
  EXPECT_EQ(f->exec(), QDialog::Rejected);
  f->show();
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(scripte_.Log().size(), 1u);
}

TEST_F(FenetresCavites, SelectionParLesBoutons) {
  survey::TCavite* c = Petite();
  auto f = Ouvre<views::TFicheSelectTransfert>();
  f->show();
  QApplication::processEvents();
  EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Copie d'une partie d'une cavité"));
  EXPECT_EQ(Controle<QLabel>(*f, "StatusBar")->text(), QString::fromUtf8("Sélectionnez la première visée à copier"));
  EXPECT_TRUE(f->MonoCavite);
  EXPECT_DOUBLE_EQ(f->RayonAccroche(), 0.5);
  EXPECT_TRUE(f->AfficheAccroche);
  EXPECT_EQ(views::EnsembleDeTable(f->ObjetsSelectionnables), views::EnsembleTypes({odPtLever}));
  auto* ok = Controle<QPushButton>(*f, "ValidBtn");
  auto* efface = Controle<QPushButton>(*f, "EffaceBtn");
  auto* tout = Controle<QPushButton>(*f, "ToutBtn");
  ASSERT_TRUE(ok && efface && tout);
  EXPECT_EQ(tout->text(), "Tout");
  EXPECT_EQ(efface->toolTip(), QString::fromUtf8("Désélectionne tout"));
  // A first click 0.7 m from every shot: nothing, both buttons disabled.
  Clique(*f, 15, 0.7);
  EXPECT_EQ(Marquees(c), "");
  EXPECT_FALSE(ok->isEnabled());
  EXPECT_FALSE(efface->isEnabled());
  // "Tout", then "Désélectionne tout".
  tout->click();
  EXPECT_EQ(Marquees(c), "E-1 1-2 2-3 3-A 3-4 2-B1 B1-B2 B2-B3");
  EXPECT_TRUE(ok->isEnabled());
  efface->click();
  EXPECT_EQ(Marquees(c), "");
  EXPECT_FALSE(ok->isEnabled());
  EXPECT_FALSE(efface->isEnabled());
  // A click on 1-2 selects it and what follows it; OK closes with the marks.
  Clique(*f, 15, 0.2);
  EXPECT_EQ(Marquees(c), "1-2 2-3 3-A 3-4 2-B1 B1-B2 B2-B3");
  Clique(*f, 20, 15);
  EXPECT_EQ(Marquees(c), "1-2 2-3 3-A 3-4 2-B1");
  EXPECT_TRUE(ok->isEnabled());
  ok->click();
  EXPECT_EQ(f->result(), QDialog::Accepted);
  f.reset();
  EXPECT_EQ(Marquees(c), "1-2 2-3 3-A 3-4 2-B1");
}

TEST_F(FenetresCavites, LePlanMemeDepuisUneElevation) {
  survey::TCavite* c = Petite();
  foundation::GardeTypeDessin alti(TTypeDeDessin::tddAltiDev);
  {
    auto f = Ouvre<views::TFicheSelectTransfert>();
    EXPECT_EQ(foundation::Vue().TypeDessinCourant, TTypeDeDessin::tddPlani);
    EXPECT_EQ(Axes(*f), "E 1 2 3 A 4 | 2 B1 B2 B3");
    for (const auto& o : f->LeCalque(odPtLever).ObjetsDessines)
      for (const auto& p : dynamic_cast<const drawing::TDessinAxeGal&>(*o).PointsAxe)
        EXPECT_EQ(p->PointLoc(), foundation::XYVersDessin(p->PointRef->X, p->PointRef->Y));
    // The shots found are the cave's, not the elevation's.
    EXPECT_EQ(f->LesViseesActives.Count(), c->Visees.Count());
  }
  EXPECT_EQ(foundation::Vue().TypeDessinCourant, TTypeDeDessin::tddAltiDev);
}

TEST_F(FenetresCavites, ExecuteModalEtAnnulation) {
  survey::TCavite* c = Petite();
  auto f = Ouvre<views::TFicheSelectTransfert>();
  QTimer::singleShot(0, f.get(), [&] {
    Controle<QPushButton>(*f, "ToutBtn")->click();
    Controle<QPushButton>(*f, "AnnuleBtn")->click();
  });
  EXPECT_EQ(f->Execute(), QDialog::Rejected);
  EXPECT_EQ(Marquees(c), "E-1 1-2 2-3 3-A 3-4 2-B1 B1-B2 B2-B3");
}

}  // namespace
