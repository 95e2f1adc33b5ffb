// The plan and elevation views are modal: while one is open, the main
// window's commands cannot be used, and they show it (menu bar and tool
// bars disabled, the other view's button with them); a click on the other
// view's button opens nothing.  Closed, the window's commands are as before.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <map>
#include <string>

#include "tests/app/vues_essai.h"
#include "views/windows/fiche_visu_dessin.h"

using namespace essaivues;

namespace {

// The enabled state of every tool button and menu of the window.
std::map<std::string, bool> Etats(TFichePrincipale& f) {
  std::map<std::string, bool> r;
  for (QToolButton* b : f.findChildren<QToolButton*>())
    if (!b->objectName().isEmpty()) r[b->objectName().toStdString()] = b->isEnabled();
  for (QAction* m : f.menuBar()->actions()) r[m->objectName().toStdString()] = m->isEnabled();
  return r;
}

template <class Vue>
void VueModale(TFichePrincipale& f, const char* bouton, const char* autre) {
  SCOPED_TRACE(bouton);
  const std::map<std::string, bool> avant = Etats(f);
  ASSERT_TRUE(avant.at(bouton));
  ASSERT_TRUE(avant.at(autre));
  int vues = 0;
  bool vu = false;
  SurLaVue<Vue>(
      [&](Vue& v) {
        ++vues;
        EXPECT_EQ(QApplication::activeModalWidget(), &v);
        EXPECT_EQ(v.windowModality(), Qt::ApplicationModal);
        EXPECT_FALSE(f.menuBar()->isEnabled());
        for (QToolBar* b : f.findChildren<QToolBar*>()) EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        auto* deuxieme = Controle<QToolButton>(f, autre);
        EXPECT_FALSE(deuxieme->isEnabled());
        EXPECT_FALSE(Controle<QToolButton>(f, bouton)->isEnabled());
        // The other view does not open over this one (one that did would
        // be closed at once and counted).
        int autres = 0;
        QTimer::singleShot(0, [&] {
          if (QWidget* m = QApplication::activeModalWidget(); m && m != &v) {
            ++autres;
            m->close();
          }
        });
        deuxieme->click();
        QApplication::processEvents();
        EXPECT_EQ(autres, 0);
        EXPECT_EQ(QApplication::activeModalWidget(), &v);
      },
      vu);
  Controle<QToolButton>(f, bouton)->click();
  ASSERT_TRUE(vu);
  EXPECT_EQ(vues, 1);
  EXPECT_TRUE(f.menuBar()->isEnabled());
  EXPECT_EQ(Etats(f), avant);
}

}  // namespace

TEST(VuesModales, PlanEtCoupeSuspendentLesCommandesDeLaFenetre) {
  Environnement env;
  TFichePrincipale f(FabriqueSurvey(), {});
  f.show();
  ASSERT_NE(ImporteOlivier(f, env), nullptr);
  VueModale<views::TFicheVisuPlan>(f, "ButtonPlan", "VisuCoupeBtn");
  VueModale<views::TFicheVisuCoupe>(f, "VisuCoupeBtn", "ButtonPlan");
}
