// The plan and elevation views (views/windows/fiche_visu_dessin.h) on a
// small built cave, offscreen, driven through their buttons: the captions of
// every kind of elevation, the SVG constants, the altitude ticks' group and
// the plan ticks, the form codes, the caves left out of the plan remembered
// for the next opening, and what closing gives back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <numbers>

#include "drawing/annexe_cavite.h"
#include "drawing/donnees_coupe_long.h"
#include "drawing/liste_mtf.h"
#include "drawing/objet_trait.h"
#include "drawing/quadrillage.h"
#include "survey/reseau.h"
#include "tests/views/windows/outils_visu.h"
#include "views/windows/fiche_visu_dessin.h"

namespace {

using namespace essaifenetres;
using foundation::TTypeDeDessin;

class VuesDessin : public Cavites {
 protected:
  // The cave "Droite": the entrance E at (0, 0, 100), then four shots of
  // 10 m on bearing 60, going down 10 degrees.
  survey::TCavite* Droite() {
    N.Surface("E", 0, 0, 100);
    survey::TCavite* c = N.Cavite("Droite");
    N.Visee(c, "E", "1", 60, -10, 10);
    N.Visee(c, "1", "2", 60, -10, 10);
    N.Visee(c, "2", "3", 60, -10, 10);
    N.Visee(c, "3", "4", 60, -10, 10);
    N.Regenere();
    N.R().CalculeReseau();
    return c;
  }
  // A whole section of that kind made the cave's elevation.
  drawing::TDonneesCoupeLong* Section(survey::TCavite* c, TTypeDeDessin type, double angle, bool partielle = false) {
    drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
    drawing::TDonneesCoupeLong* coupe =
        annexe->LesCoupesLong.AjouteDonneeCoupe(type, drawing::TViseesDeRef(&c->Visees), partielle, "D");
    coupe->AngleCoupeProj = angle;
    if (partielle) {
      for (survey::TVisee* v : c->Visees) coupe->AjouteViseeCoupe(v);
      coupe->MajListeViseesDeRef();
    }
    annexe->LeDessinAlti = coupe;
    return coupe;
  }
  template <class F>
  std::unique_ptr<F> Ouvre() {
    auto f = views::TFicheGraphique::Cree<F>();
    f->resize(900, 700);
    f->show();
    QApplication::processEvents();
    return f;
  }
  template <class W>
  static W* Controle(QWidget& f, const char* nom) {
    W* w = f.findChild<W*>(nom);
    EXPECT_NE(w, nullptr) << nom;
    return w;
  }
};

TEST_F(VuesDessin, TitresDesElevationsEtNomsSVG) {
  survey::TCavite* c = Droite();
  struct Cas {
    TTypeDeDessin type;
    double angle;
    bool partielle;
    const char* titre;
    const char* suffixe;
  };
  const Cas cas[] = {
      {TTypeDeDessin::tddAltiProj, 1.5708, false,
       "Coupe de la cavité Droite - D (projetée totale) Direction de la coupe : 90°", "-AltiProj"},
      // Developed: no direction part, whatever the stored angle.
      {TTypeDeDessin::tddAltiDev, 1.5708, true, "Coupe de la cavité Droite - D (développée partielle)", "-AltiDev"},
      // Oriented without a direction: the mean direction of its shots.
      {TTypeDeDessin::tddAltiOr, -999, false,
       "Coupe de la cavité Droite - D (développée totale) Direction de la coupe : 60°", "-AltiDev"},
      // Whole degrees, halves to even: 0.5 degree gives 0, 2.5 gives 2.
      {TTypeDeDessin::tddAltiProj, 0.5 * std::numbers::pi / 180, false,
       "Coupe de la cavité Droite - D (projetée totale) Direction de la coupe : 0°", "-AltiProj"},
      {TTypeDeDessin::tddAltiProj, 2.5 * std::numbers::pi / 180, false,
       "Coupe de la cavité Droite - D (projetée totale) Direction de la coupe : 2°", "-AltiProj"},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.titre);
    Section(c, k.type, k.angle, k.partielle);
    foundation::GardeTypeDessin type(k.type);
    auto f = Ouvre<views::TFicheVisuCoupe>();
    EXPECT_EQ(f->windowTitle().toStdString(), k.titre);
    EXPECT_EQ(f->iTypeFiche(), 5 + static_cast<int>(k.type));
    const drawing::TConstantesSVG s = f->InitConstSVG();
    EXPECT_EQ(s.NomSVG, std::string("Droite") + k.suffixe);
    const auto& v = foundation::Vue();
    EXPECT_EQ(s.AbsMin, v.SLmin);
    EXPECT_EQ(s.AbsMax, v.SLmax);
    EXPECT_EQ(s.OrdMin, v.Zmin);
    EXPECT_EQ(s.OrdMax, v.Zmax);
    EXPECT_NEAR(s.OrdMax - s.OrdMin, 40 * std::sin(10 * std::numbers::pi / 180), 1e-6);
  }
}

TEST_F(VuesDessin, TitreEtConstantesDuPlan) {
  survey::TCavite* c = Droite();
  N.R().Nom = "Réseau N";
  drawing::tListeMtf* bibliotheque = views::BibliothequeDocument();
  ASSERT_NE(bibliotheque, nullptr);
  // A style the last layout hid.
  bibliotheque->UnTrait(1)->MotifMasque = true;
  auto f = Ouvre<views::TFicheVisuPlan>();
  EXPECT_EQ(f->windowTitle().toStdString(), "Plan du réseau : Réseau N - " + c->NomCavite);
  EXPECT_EQ(f->iTypeFiche(), 5);
  const drawing::TConstantesSVG s = f->InitConstSVG();
  EXPECT_EQ(s.NomSVG, "Réseau N-Plani");
  const auto& v = foundation::Vue();
  EXPECT_EQ(s.AbsMin, v.Xmin);
  EXPECT_EQ(s.AbsMax, v.Xmax);
  EXPECT_EQ(s.OrdMin, v.Ymin);
  EXPECT_EQ(s.OrdMax, v.Ymax);
  // The entrance is the altitude reference while the view is open.
  EXPECT_EQ(c->RefCalculAlti, c->LEntree());
  EXPECT_EQ(views::EtatVisu().EntreeRefAlti, c->LEntree());
  // No imported sketch: no sketch button; the buttons still to come are off.
  EXPECT_FALSE(Controle<QToolButton>(*f, "PkTpBtn")->isEnabled());
  EXPECT_TRUE(Controle<QToolButton>(*f, "CouleurCaviteBtn")->isEnabled());
  EXPECT_FALSE(Controle<QToolButton>(*f, "MenPageBtn")->isEnabled());
  EXPECT_TRUE(Controle<QToolButton>(*f, "SVGBtn")->isEnabled());
  views::EtatVisu().TypeAltitudeCourant = 2;
  f->reject();
  f.reset();
  // Closed: the library's patterns shown, no altitude reference, the
  // altitude mode "par défaut" again.
  EXPECT_FALSE(bibliotheque->UnTrait(1)->MotifMasque);
  EXPECT_EQ(c->RefCalculAlti, nullptr);
  EXPECT_EQ(views::EtatVisu().EntreeRefAlti, nullptr);
  EXPECT_EQ(views::EtatVisu().TypeAltitudeCourant, 0);
}

TEST_F(VuesDessin, GrillesAltimetriquesUnGroupeOuLesDeuxPeuventEtreLeves) {
  survey::TCavite* c = Droite();
  Section(c, TTypeDeDessin::tddAltiDev, 0);
  foundation::GardeTypeDessin type(TTypeDeDessin::tddAltiDev);
  auto f = Ouvre<views::TFicheVisuCoupe>();
  ASSERT_NE(f->MireAlti, nullptr);
  EXPECT_EQ(f->MirePlani, nullptr);
  ASSERT_EQ(f->LeCalque(odQuadrill).NombreObjets(), 1);
  auto* abs = Controle<QToolButton>(*f, "GrilleAbsBtn");
  auto* rel = Controle<QToolButton>(*f, "GrilleRelBtn");
  const auto quadrillage = [&] { return f->ObjetsAffichables.Types[static_cast<size_t>(odQuadrill)]; };
  struct Etape {
    QToolButton* bouton;
    bool abs, rel, visible, absolu;
  };
  const Etape etapes[] = {
      {abs, true, false, true, true},
      // Rel while Abs is down: relative heights, still shown.
      {rel, false, true, true, false},
      // The button down pressed again: hidden.
      {rel, false, false, false, false},
      {rel, false, true, true, false},
      {abs, true, false, true, true},
      {abs, false, false, false, true},
  };
  int i = 0;
  for (const Etape& e : etapes) {
    SCOPED_TRACE(i++);
    e.bouton->click();
    EXPECT_EQ(abs->isChecked(), e.abs);
    EXPECT_EQ(rel->isChecked(), e.rel);
    EXPECT_EQ(quadrillage(), e.visible);
    if (e.visible) {
      EXPECT_EQ(f->MireAlti->Absol, e.absolu);
      EXPECT_EQ(f->MireAlti->ZInit, 100);
    }
  }
}

TEST_F(VuesDessin, GrillePlaniSurLEntreeEtMasquee) {
  Droite();
  auto f = Ouvre<views::TFicheVisuPlan>();
  ASSERT_NE(f->MirePlani, nullptr);
  EXPECT_EQ(f->MireAlti, nullptr);
  auto* b = Controle<QToolButton>(*f, "GrillePlaniBtn");
  ASSERT_FALSE(b->isChecked());
  b->click();
  EXPECT_TRUE(f->ObjetsAffichables.Types[static_cast<size_t>(odQuadrill)]);
  EXPECT_EQ(f->MirePlani->XInit, 0);
  EXPECT_EQ(f->MirePlani->YInit, 0);
  b->click();
  EXPECT_FALSE(f->ObjetsAffichables.Types[static_cast<size_t>(odQuadrill)]);
}

TEST_F(VuesDessin, CavitesNonDessineesRetenuesPourLaMemeCaviteActive) {
  Petite();
  N.Surface("F", 500, 500, 0);
  survey::TCavite* b = N.Cavite("Autre");
  N.Visee(b, "F", "b1", 0, 0, 40);
  N.Regenere();
  survey::TCavite* petite = N.R().UneCavite(1);
  N.R().LaCaviteActive = b;
  {
    auto f = Ouvre<views::TFicheVisuPlan>();
    // Three caves with the surface: the cave choice is there.
    EXPECT_TRUE(f->PlaceDessinCav->isVisible());
    petite->Adessiner = false;
    f->RedessinCavitesDessinees();
    f->reject();
  }
  // Every cave is drawn again once the view is closed.
  EXPECT_TRUE(petite->Adessiner);
  EXPECT_EQ(views::MemoiresAffichage(b)[5].CavNonDessinee, std::vector<const survey::TCavite*>{petite});
  {
    auto f = Ouvre<views::TFicheVisuPlan>();
    EXPECT_FALSE(petite->Adessiner);
    EXPECT_TRUE(b->Adessiner);
    f->reject();
  }
  EXPECT_TRUE(petite->Adessiner);
  // Another active cave has its own memory.
  N.R().LaCaviteActive = petite;
  {
    auto f = Ouvre<views::TFicheVisuPlan>();
    EXPECT_TRUE(petite->Adessiner);
    EXPECT_TRUE(b->Adessiner);
  }
}

TEST_F(VuesDessin, ExportSVGParLeCrochetAvecLesFiligranes) {
  Droite();
  drawing::TConstantesSVG recu;
  const drawing::TCalque* calque = nullptr;
  bool direct = true;
  views::Ports().ExporteSVG = [&](const drawing::TConstantesSVG& k, const drawing::TCalque* filigranes, bool d) {
    recu = k;
    calque = filigranes;
    direct = d;
    return true;
  };
  auto f = Ouvre<views::TFicheVisuPlan>();
  Controle<QToolButton>(*f, "SVGBtn")->click();
  EXPECT_EQ(recu.NomSVG, f->InitConstSVG().NomSVG);
  EXPECT_EQ(calque, &f->LeCalque(odAutreNiveau));
  EXPECT_FALSE(direct);
}

}  // namespace

namespace {

using namespace essaifenetres;

class MemoireCoupe : public Cavites {};

// Each section remembers what its elevation view showed; the display
// memory entry of the kind is the section's only while the view is open.
TEST_F(MemoireCoupe, ChaqueSectionRetientSaVue) {
  survey::TCavite* c = Petite();
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
  using foundation::TTypeDeDessin;
  drawing::TDonneesCoupeLong* a = annexe->LesCoupesLong.AjouteDonneeCoupe(
      TTypeDeDessin::tddAltiDev, drawing::TViseesDeRef(&c->Visees), false, "A");
  drawing::TDonneesCoupeLong* b = annexe->LesCoupesLong.AjouteDonneeCoupe(
      TTypeDeDessin::tddAltiDev, drawing::TViseesDeRef(&c->Visees), false, "B");
  const auto ouvre = [&](drawing::TDonneesCoupeLong* s, bool masque) {
    annexe->LeDessinAlti = s;
    foundation::GardeTypeDessin type(TTypeDeDessin::tddAltiDev);
    views::GardeAffVisuCoupe memoire(*s);
    auto f = views::TFicheGraphique::Cree<views::TFicheVisuCoupe>();
    f->resize(800, 600);
    f->show();
    QApplication::processEvents();
    const bool visible = f->ObjetsAffichables.Types[static_cast<size_t>(odVisHab)];
    if (masque) f->RendNonAffiche(views::EnsembleTypes({odVisHab}));
    f->reject();
    return visible;
  };
  EXPECT_TRUE(ouvre(a, true));
  // B has its own memory: the splays are shown; A's hidden splays stay A's.
  EXPECT_TRUE(ouvre(b, false));
  EXPECT_FALSE(ouvre(a, false));
  EXPECT_TRUE(ouvre(b, false));
}

// The cave's own axis pen (red, 3 px) is drawn; "Traits" then "Raz" for the
// axis and OK: the cave keeps no pen of its own and the view is built again
// with the settings' pen.
TEST_F(VuesDessin, LesTraitsDeLaCaviteChangesDepuisLaVue) {
  survey::TCavite* c = Droite();
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
  ASSERT_NE(annexe, nullptr);
  annexe->MotifAxeCavite = std::make_unique<drawing::TObjetTrait>();
  annexe->MotifAxeCavite->CouleurPlume = 0x0000FF;
  annexe->MotifAxeCavite->EpaisseurPlume = 3;
  auto f = Ouvre<views::TFicheVisuPlan>();
  // Halfway along 1-2: 15 m on bearing 60, 10 degrees down.
  const double h = 15 * std::cos(10 * std::numbers::pi / 180);
  foundation::TPointTopo milieu;
  milieu.X = h * std::sin(60 * std::numbers::pi / 180);
  milieu.Y = h * std::cos(60 * std::numbers::pi / 180);
  const foundation::TPoint e = foundation::PtTopoVersEcran(milieu);
  const auto rouge = [&] {
    const QImage image = f->BaseDessin->grab().toImage();
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const QColor p = image.pixelColor(e.X + dx, e.Y + dy);
        if (p.red() > 200 && p.green() < 60 && p.blue() < 60) return true;
      }
    return false;
  };
  EXPECT_TRUE(rouge());
  bool vu = false;
  QTimer::singleShot(50, [&vu] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!d || d->objectName() != QLatin1String("CouleurCaviteDlg")) return;
    vu = true;
    d->findChild<QPushButton*>("RazAxeBtn")->click();
    d->accept();
  });
  Controle<QToolButton>(*f, "CouleurCaviteBtn")->click();
  EXPECT_TRUE(vu);
  EXPECT_FALSE(annexe->MotifAxeCavite);
  QApplication::processEvents();
  EXPECT_FALSE(rouge());
}

}  // namespace
