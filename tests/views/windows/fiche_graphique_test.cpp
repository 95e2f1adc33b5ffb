// The Qt window of the graphic core, offscreen: the order of the handlers for
// the toolkit's mouse events, the wheel's notches, the two-phase creation,
// the overlays painted, the components dialog driven through its boxes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/views/windows/outils_fenetres.h"
#include "views/windows/fiche_graphique.h"
#include "views/windows/visu_compo_dlg.h"

namespace {

using namespace essaifenetres;
using views::EnsembleTypes;
using B = views::TNoyauGraphique::Bouton;
using T = views::TNoyauGraphique::EtatTouches;

// A window that logs its handlers.
class FenetreEssai : public views::TFicheGraphique {
 public:
  int iTypeFiche() override {
    AffichageDefaut = EnsembleTypes({odDessin, odTexte});
    return 11;
  }
  void InitDessin() override { Journal.push_back("InitDessin"); }
  void BaseDessinMouseDown(B b, T t, int32_t x, int32_t y) override {
    Journal.push_back(std::string("MouseDown") + Nom(b) + Mod(t) + (t.Double ? " double" : ""));
    TFicheGraphique::BaseDessinMouseDown(b, t, x, y);
  }
  void BaseDessinMouseUp(B b, T t, int32_t x, int32_t y) override {
    Journal.push_back(std::string("MouseUp") + Nom(b) + Mod(t));
    TFicheGraphique::BaseDessinMouseUp(b, t, x, y);
  }
  void BaseDessinMouseMove(T t, int32_t x, int32_t y) override {
    Journal.push_back("MouseMove");
    TFicheGraphique::BaseDessinMouseMove(t, x, y);
  }
  void BaseDessinClick() override {
    Journal.push_back("Click");
    TFicheGraphique::BaseDessinClick();
  }
  void BaseDessinDblClick() override { Journal.push_back("DblClick"); }
  std::vector<std::string> Journal;

 private:
  static const char* Nom(B b) { return b == B::Droit ? " droit" : b == B::Milieu ? " milieu" : " gauche"; }
  static std::string Mod(T t) { return std::string(t.Ctrl ? " ctrl" : "") + (t.Maj ? " maj" : ""); }
};

class FenetresQt : public Fenetres {
 protected:
  std::unique_ptr<FenetreEssai> Ouvre() {
    auto f = views::TFicheGraphique::Cree<FenetreEssai>();
    f->resize(900, 700);
    f->show();
    QApplication::processEvents();
    return f;
  }
  static void Envoie(QWidget* w, QEvent::Type type, Qt::MouseButton b, QPoint p, Qt::KeyboardModifiers m = {}) {
    const Qt::MouseButtons boutons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(b);
    QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), b, boutons, m);
    QApplication::sendEvent(w, &e);
  }
};

TEST_F(FenetresQt, OrdreDesGestionnairesParSequenceDEvenements) {
  using E = QEvent::Type;
  struct Pas {
    E type;
    Qt::MouseButton bouton;
    QPoint p;
  };
  struct Cas {
    const char* nom;
    std::vector<Pas> pas;
    Qt::KeyboardModifiers mod;
    std::vector<std::string> attendu;
  };
  const QPoint a(50, 40), b(80, 60);
  const std::vector<Cas> cas = {
      {"clic", {{E::MouseButtonPress, Qt::LeftButton, a}, {E::MouseButtonRelease, Qt::LeftButton, a}}, {},
       {"MouseDown gauche", "Click", "MouseUp gauche"}},
      {"double clic",
       {{E::MouseButtonPress, Qt::LeftButton, a},
        {E::MouseButtonRelease, Qt::LeftButton, a},
        {E::MouseButtonDblClick, Qt::LeftButton, a},
        {E::MouseButtonRelease, Qt::LeftButton, a}},
       {},
       {"MouseDown gauche", "Click", "MouseUp gauche", "MouseDown gauche double", "DblClick", "MouseUp gauche"}},
      {"clic droit", {{E::MouseButtonPress, Qt::RightButton, a}, {E::MouseButtonRelease, Qt::RightButton, a}}, {},
       {"MouseDown droit", "MouseUp droit"}},
      {"glisser",
       {{E::MouseButtonPress, Qt::LeftButton, a}, {E::MouseMove, Qt::NoButton, b},
        {E::MouseButtonRelease, Qt::LeftButton, b}},
       {},
       {"MouseDown gauche", "MouseMove", "Click", "MouseUp gauche"}},
      {"ctrl clic", {{E::MouseButtonPress, Qt::LeftButton, a}, {E::MouseButtonRelease, Qt::LeftButton, a}},
       Qt::ControlModifier, {"MouseDown gauche ctrl", "Click", "MouseUp gauche ctrl"}},
      {"maj clic droit", {{E::MouseButtonPress, Qt::RightButton, a}, {E::MouseButtonRelease, Qt::RightButton, a}},
       Qt::ShiftModifier, {"MouseDown droit maj", "MouseUp droit maj"}},
  };
  auto f = Ouvre();
  for (const Cas& c : cas) {
    f->Journal.clear();
    for (const Pas& p : c.pas) Envoie(f->BaseDessin, p.type, p.bouton, p.p, c.mod);
    EXPECT_EQ(f->Journal, c.attendu) << c.nom;
    f->FormKeyDown(views::TNoyauGraphique::ToucheEchap);
  }
  // Ctrl with the right button is not a pan.
  Envoie(f->BaseDessin, E::MouseButtonPress, Qt::RightButton, a, Qt::ControlModifier);
  EXPECT_FALSE(f->BtnDroitBaisse);
  EXPECT_TRUE(f->CtrlPresse);
}

TEST_F(FenetresQt, CreationEnDeuxTempsEtTransformRendue) {
  auto& v = foundation::Vue();
  v.XDebVue = 123.25;
  v.EchelleVue = 4;
  {
    auto f = Ouvre();
    // The derived window's code and objects were used.
    EXPECT_EQ(f->Journal.front(), "InitDessin");
    EXPECT_TRUE(f->ObjetsAffichables[odTexte]);
    EXPECT_FALSE(f->ObjetsAffichables[odPtLever]);
    EXPECT_EQ(f->BaseDessin->objectName(), "BaseDessin");
    EXPECT_EQ(f->findChild<QToolButton*>("ButtonPlus")->toolTip(), "Zoom Plus");
    v.XDebVue = 5;
    v.LargeurVue = 40;
    f->RedessineVisu();
    EXPECT_EQ(v.EchelleVue, f->LargeurBoite() / 40.0);
  }
  EXPECT_EQ(v.XDebVue, 123.25);
  EXPECT_EQ(v.EchelleVue, 4);
}

TEST_F(FenetresQt, FenetresImbriqueesRendentLeurTransformEnOrdreInverse) {
  auto& v = foundation::Vue();
  v.LargeurVue = 7;
  v.XDebVue = 1.5;
  {
    auto a = Ouvre();
    v.LargeurVue = 50;
    v.XDebVue = 2.5;
    a->RedessineVisu();
    const views::TParamZoom vueA = a->VueCourante();
    {
      auto b = Ouvre();
      v.LargeurVue = 20;
      v.XDebVue = -3;
      b->RedessineVisu();
    }
    EXPECT_EQ(a->VueCourante(), vueA);
  }
  EXPECT_EQ(v.LargeurVue, 7);
  EXPECT_EQ(v.XDebVue, 1.5);
  // A failure in the second phase destroys the window and gives the transform back.
  class Echoue : public FenetreEssai {
   public:
    void InitDessin() override {
      foundation::Vue().XDebVue = 99;
      throw std::runtime_error("objets impossibles");
    }
  };
  EXPECT_THROW(views::TFicheGraphique::Cree<Echoue>(), std::runtime_error);
  EXPECT_EQ(v.XDebVue, 1.5);
}

TEST_F(FenetresQt, RegleTraceeEtEtiquetee) {
  auto f = Ouvre();
  auto& v = foundation::Vue();
  v.LargeurVue = 100;
  v.YDebVue = 80;
  f->RedessineVisu();
  const QImage vide = f->BaseDessin->grab().toImage();
  f->RegleBtn->click();
  EXPECT_TRUE(f->RegleActive);
  EXPECT_EQ(f->CurseurActuel(), views::TNoyauGraphique::Curseur::Croix);
  Envoie(f->BaseDessin, QEvent::MouseButtonPress, Qt::LeftButton, {100, 300});
  Envoie(f->BaseDessin, QEvent::MouseButtonRelease, Qt::LeftButton, {100, 300});
  QMouseEvent m(QEvent::MouseMove, QPointF(400, 300), f->BaseDessin->mapToGlobal(QPointF(400, 300)), Qt::NoButton,
                Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(f->BaseDessin, &m);
  const QImage regle = f->BaseDessin->grab().toImage();
  EXPECT_NE(regle.pixel(250, 300), vide.pixel(250, 300));
  // The label sits below the middle of the line.
  int encre = 0;
  for (int y = 301; y < 325; ++y)
    for (int x = 200; x < 300; ++x)
      if (regle.pixel(x, y) != vide.pixel(x, y)) ++encre;
  EXPECT_GT(encre, 20);
  // The second click closes the measure; its line stays until the ruler goes off.
  Envoie(f->BaseDessin, QEvent::MouseButtonPress, Qt::LeftButton, {400, 300});
  Envoie(f->BaseDessin, QEvent::MouseButtonRelease, Qt::LeftButton, {400, 300});
  EXPECT_NEAR(f->DistanceRegle, 300 / v.EchelleVue, 1e-3);  // points in whole millimetres
  EXPECT_EQ(f->BaseDessin->grab().toImage(), regle);
  f->RegleBtn->click();
  EXPECT_FALSE(f->RegleActive);
  EXPECT_EQ(f->BaseDessin->grab().toImage(), vide);
}

TEST_F(FenetresQt, MoletteParCransDe120) {
  auto& v = foundation::Vue();
  const auto vue = [&](FenetreEssai& f) {
    v.LargeurVue = 100;
    v.HauteurVue = 0;
    v.XDebVue = v.YDebVue = 0;
    f.RedessineVisu();
  };
  views::TParamZoom un;
  {
    auto f = Ouvre();
    vue(*f);
    const double largeur = v.LargeurVue;
    f->Molette(120, QPoint(200, 150));
    un = f->VueCourante();
    EXPECT_NEAR(un.Largeur, largeur * 0.8, 1e-9);
  }
  // Four quarter notches give the same view; a notch of 119 nothing.
  auto f = Ouvre();
  vue(*f);
  f->Molette(119, QPoint(200, 150));
  EXPECT_EQ(f->NbreZoom, 1);
  f->Molette(-119, QPoint(200, 150));
  for (int i = 0; i < 4; ++i) f->Molette(30, QPoint(200, 150));
  EXPECT_EQ(f->VueCourante(), un);
  // A real wheel event on the paint box, backward.
  QWheelEvent e(QPointF(200, 150), f->BaseDessin->mapToGlobal(QPointF(200, 150)), QPoint(), QPoint(0, -120),
                Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(f->BaseDessin, &e);
  EXPECT_NEAR(v.LargeurVue, un.Largeur * 1.2, 1e-9);
}

TEST_F(FenetresQt, SurcouchesPeintesSurLImageCachee) {
  auto f = Ouvre();
  auto& v = foundation::Vue();
  v.LargeurVue = 100;
  f->RedessineVisu();
  const QImage vide = f->BaseDessin->grab().toImage();
  // A right click opens the zoom window: its red dashed rubber rectangle is shown.
  Envoie(f->BaseDessin, QEvent::MouseButtonPress, Qt::RightButton, {20, 20});
  Envoie(f->BaseDessin, QEvent::MouseButtonRelease, Qt::RightButton, {20, 20});
  EXPECT_EQ(f->CurseurActuel(), views::TNoyauGraphique::Curseur::Loupe);
  QMouseEvent m(QEvent::MouseMove, QPointF(120, 90), f->BaseDessin->mapToGlobal(QPointF(120, 90)), Qt::NoButton,
                Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(f->BaseDessin, &m);
  const QImage fenetre = f->BaseDessin->grab().toImage();
  int rouges = 0;
  for (int x = 20; x < 120; ++x)
    if ((fenetre.pixel(x, 20) & 0xFFFFFF) != (vide.pixel(x, 20) & 0xFFFFFF)) ++rouges;
  EXPECT_GT(rouges, 30);
  EXPECT_LT(rouges, 100);  // dashed
  // Esc takes it away and the picture comes back as it was.
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(f.get(), &esc);
  EXPECT_TRUE(f->isVisible());
  EXPECT_EQ(f->CurseurActuel(), views::TNoyauGraphique::Curseur::Normal);
  EXPECT_EQ(f->BaseDessin->grab().toImage(), vide);
}

TEST_F(FenetresQt, GlisserDroitMontreLImageDecalee) {
  auto f = Ouvre();
  auto& v = foundation::Vue();
  v.LargeurVue = 100;
  v.YDebVue = 80;
  Ligne(*f, odDessin, 0x0000FF, {{10000, 70000}, {10000, 20000}});
  f->RedessineVisu();
  const int colonne = static_cast<int>(std::lround(10 * f->LargeurBoite() / 100.0));
  const QImage avant = f->BaseDessin->grab().toImage();
  ASSERT_EQ(avant.pixel(colonne, 100) & 0xFFFFFF, 0xFF0000u);
  const double x0 = v.XDebVue;
  Envoie(f->BaseDessin, QEvent::MouseButtonPress, Qt::RightButton, {200, 200});
  QMouseEvent m(QEvent::MouseMove, QPointF(225, 210), f->BaseDessin->mapToGlobal(QPointF(225, 210)),
                Qt::NoButton, Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(f->BaseDessin, &m);
  // Live: the picture is shifted, the view not yet.
  const QImage pendant = f->BaseDessin->grab().toImage();
  EXPECT_EQ(pendant.pixel(colonne + 25, 100) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(pendant.pixel(colonne, 100) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(v.XDebVue, x0);
  Envoie(f->BaseDessin, QEvent::MouseButtonRelease, Qt::RightButton, {225, 210});
  EXPECT_NEAR(v.XDebVue, x0 - 25 / v.EchelleVue, 1e-9);
  EXPECT_EQ(f->BaseDessin->grab().toImage().pixel(colonne + 25, 100) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(FenetresQt, FilALaPatteDuDernierPointAuCurseur) {
  auto f = Ouvre();
  auto& v = foundation::Vue();
  v.LargeurVue = 100;
  v.YDebVue = 80;
  f->RedessineVisu();
  const QImage vide = f->BaseDessin->grab().toImage();
  const foundation::TPoint p = foundation::EcranVersDessin({50, 60});
  f->ObjetEnCours = true;
  f->InitFilAlaPatte(p.X, p.Y);
  QMouseEvent m(QEvent::MouseMove, QPointF(250, 60), f->BaseDessin->mapToGlobal(QPointF(250, 60)), Qt::NoButton,
                Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(f->BaseDessin, &m);
  // A purple line, not-xor on white: its inverse colour over white.
  const QImage fil = f->BaseDessin->grab().toImage();
  EXPECT_EQ(fil.pixel(150, 60) & 0xFFFFFF, 0x800080u);
  f->FilAlaPatteOff();
  f->Repeint();
  EXPECT_EQ(f->BaseDessin->grab().toImage(), vide);
}

TEST_F(FenetresQt, TailleMinimaleDonneDesBarresDeDefilement) {
  auto f = Ouvre();
  EXPECT_FALSE(f->ZoneDessin->horizontalScrollBar()->isVisible());
  f->HorzTailleMin = 2000;
  f->VertTailleMin = 1500;
  f->resize(900, 700);
  f->FormCanResize();
  QApplication::processEvents();
  EXPECT_EQ(f->LargeurBoite(), 2000);
  EXPECT_EQ(f->HauteurBoite(), 1500);
  EXPECT_TRUE(f->ZoneDessin->horizontalScrollBar()->isVisible());
  EXPECT_TRUE(f->ZoneDessin->verticalScrollBar()->isVisible());
  f->HorzTailleMin = f->VertTailleMin = -1;
  f->FormCanResize();
  QApplication::processEvents();
  EXPECT_LT(f->LargeurBoite(), 900);
}

TEST_F(FenetresQt, CadreElastiqueSuitLeCurseur) {
  auto f = Ouvre();
  auto& v = foundation::Vue();
  v.LargeurVue = 100;
  v.YDebVue = 80;
  f->RedessineVisu();
  const QImage vide = f->BaseDessin->grab().toImage();
  const foundation::TPoint p = foundation::EcranVersDessin({30, 40});
  f->CadreSelect = {p.X, p.Y, p.X, p.Y};
  f->DebutCadre = true;
  f->BaseDessinMouseMove({}, 130, 100);
  const foundation::TRect r = foundation::RectDessinVersEcran(f->CadreSelect);
  EXPECT_EQ(r, (foundation::TRect{30, 40, 130, 100}));
  // Drawn purple and dashed over the picture, not-xor.
  const QImage cadre = f->BaseDessin->grab().toImage();
  int changes = 0;
  for (int x = 30; x < 130; ++x)
    if (cadre.pixel(x, 40) != vide.pixel(x, 40)) ++changes;
  EXPECT_GT(changes, 30);
  EXPECT_LT(changes, 100);
  f->DebutCadre = false;
  f->Repeint();
  EXPECT_EQ(f->BaseDessin->grab().toImage(), vide);
}

TEST_F(FenetresQt, ErreurDeCalqueSignaleeApresLaPeinture) {
  auto f = Ouvre();
  foundation::Vue().LargeurVue = 100;
  f->RedessineVisu();
  // A layer that failed during a redraw made by the paint: no message box
  // from inside the paint, one message after it.
  f->CalqueEnErreur = 9;
  f->BaseDessin->setFixedSize(500, 400);
  f->BaseDessin->repaint();
  EXPECT_EQ(f->BmpDessin->Width(), 500);
  EXPECT_TRUE(scripte_.Messages().empty());
  QApplication::processEvents();
  ASSERT_EQ(scripte_.Messages().size(), 1u);
  EXPECT_EQ(scripte_.Messages()[0], "lc= 9");
  QApplication::processEvents();
  EXPECT_EQ(scripte_.Messages().size(), 1u);
}

TEST_F(FenetresQt, DialogueDesComposants) {
  views::TVisuCompoDlg d(false);
  drawing::TObjetsAffichables t = views::TableDEnsemble(EnsembleTypes({odPtLever, odDessin, odAutresCavites}));
  d.Init(t, false, true);
  auto* points = d.findChild<QCheckBox*>("ChkbPoints");
  auto* comment = d.findChild<QCheckBox*>("ChkbComment");
  auto* levers = d.findChild<QCheckBox*>("ChkbLevers");
  auto* vishab = d.findChild<QCheckBox*>("ChkbVishab");
  ASSERT_TRUE(points && comment && levers && vishab);
  EXPECT_EQ(comment->text(), "Commentaires");
  // "Commentaires" follows "Désign points topos".
  EXPECT_FALSE(comment->isEnabled());
  points->click();
  EXPECT_TRUE(comment->isEnabled());
  // "Visées d'habillage" needs splays and "Cheminement".
  EXPECT_TRUE(vishab->isEnabled());
  levers->click();
  EXPECT_FALSE(vishab->isEnabled());
  views::TVisuCompoDlg sansHab(false);
  sansHab.Init(t, false, false);
  EXPECT_FALSE(sansHab.findChild<QCheckBox*>("ChkbVishab")->isEnabled());
  EXPECT_FALSE(d.findChild<QCheckBox*>("ChkbCoupes")->isEnabled());
  // OK with "Autres cavités" hidden clears odAutresCavites.
  d.findChild<QCheckBox*>("ChkbDessin")->click();
  d.TransfereValeurs(t);
  EXPECT_FALSE(t[odAutresCavites]);
  EXPECT_TRUE(t[odNumPt]);
  EXPECT_FALSE(t[odPtLever]);
  EXPECT_FALSE(t[odDessin]);
  EXPECT_FALSE(t[odAutreNiveau]);
  // Shown, it keeps its box.
  views::TVisuCompoDlg avec(true);
  drawing::TObjetsAffichables t2 = views::TableDEnsemble(EnsembleTypes({odAutresCavites}));
  avec.Init(t2, true, false);
  avec.TransfereValeurs(t2);
  EXPECT_TRUE(t2[odAutresCavites]);
}

}  // namespace
