// The plan view on a real X server, as a caver uses it: the test runs itself
// again on an Xvfb server of its own on the xcb platform, imports Olivier.tro from the
// "Imports" menu, clicks ButtonPlan; on the grabbed screen the survey axis
// is at every station's computed pixel; with xdotool the wheel over station
// OL5 keeps it under the pointer within a pixel, and a right drag moves it
// by exactly the drag.  Skipped where Xvfb or xdotool is missing.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QToolButton>
#include <QWindow>
#include <cstdlib>

#include "survey/cavite.h"
#include "survey/point_speleo.h"
#include "tests/app/vues_essai.h"
#include "tests/support/sous_xvfb.h"
#include "views/windows/fiche_visu_dessin.h"

namespace {

using testsupport::Attend;
using testsupport::Peint;
using testsupport::Xdotool;

using namespace essaivues;

constexpr const char* kSousXvfb = "GRAVELUNE_VUES_SOUS_XVFB";

// The station's place on the screen.
QPoint Ecran(views::TFicheVisuPlan& v, const survey::TPointSpeleo& p) {
  const foundation::TPoint e = foundation::PtTopoVersEcran(Sol(p.X, p.Y));
  return v.BaseDessin->mapToGlobal(QPoint(e.X, e.Y));
}

void SurLaVueDuServeur(views::TFicheVisuPlan& v, survey::TCavite& c) {
  ASSERT_TRUE(Attend([&] { return v.windowHandle() && v.windowHandle()->isExposed(); }));
  // Without a window manager the maximised window keeps its size: made
  // large by hand.
  v.move(0, 0);
  v.resize(1200, 950);
  ASSERT_TRUE(Attend([&] { return v.BaseDessin->width() > 900; }));
  // The paint at the new size sets the view the stations are placed by.
  Peint(v);
  const survey::TPointSpeleo* ol5 = nullptr;
  for (const survey::TPointSpeleo* p : c.ListePoints)
    if (p->DesignPTopo == "OL5") ol5 = p;
  ASSERT_NE(ol5, nullptr);
  // The probes on the screen as the server shows it.
  {
    const QImage ecran = v.screen()->grabWindow(0).toImage();
    for (const auto& [p, couleur] : StationsDesAxes(v)) {
      const QPoint e = Ecran(v, *p);
      EXPECT_TRUE(CouleurAutour(ecran, e.x(), e.y(), couleur)) << p->DesignPTopo << " " << e.x() << "," << e.y();
    }
  }
  const platform::Colour axe = StationsDesAxes(v).at(ol5);
  // The wheel over OL5.
  const QPoint pointeur = Ecran(v, *ol5);
  // The server handles the pointer's moves and the buttons in the order sent.
  ASSERT_TRUE(Xdotool({"mousemove", QString::number(pointeur.x()), QString::number(pointeur.y())}));
  auto& vue = foundation::Vue();
  for (const char* bouton : {"4", "4", "5", "4", "5", "5"}) {
    const double avant = vue.EchelleVue;
    ASSERT_TRUE(Xdotool({"click", bouton}));
    ASSERT_TRUE(Attend([&] { return vue.EchelleVue != avant; })) << bouton;
    Peint(v);
    const QPoint e = Ecran(v, *ol5);
    EXPECT_LE(std::abs(e.x() - pointeur.x()), 1) << bouton;
    EXPECT_LE(std::abs(e.y() - pointeur.y()), 1) << bouton;
    const QImage ecran = v.screen()->grabWindow(0).toImage();
    EXPECT_TRUE(CouleurAutour(ecran, e.x(), e.y(), axe)) << bouton;
  }
  // A right drag of (-70, 45): OL5 moves by as much.
  const QPoint avant = Ecran(v, *ol5);
  ASSERT_TRUE(Xdotool({"mousemove", QString::number(avant.x()), QString::number(avant.y())}));
  ASSERT_TRUE(Xdotool({"mousedown", "3"}));
  for (int i = 1; i <= 5; ++i)
    ASSERT_TRUE(Xdotool({"mousemove", QString::number(avant.x() - 14 * i), QString::number(avant.y() + 9 * i)}));
  ASSERT_TRUE(Xdotool({"mouseup", "3"}));
  // The view moves when the button is released.
  ASSERT_TRUE(Attend([&] { return Ecran(v, *ol5) != avant; }));
  Peint(v);
  const QPoint apres = Ecran(v, *ol5);
  EXPECT_EQ(apres - avant, QPoint(-70, 45));
  const QImage ecran = v.screen()->grabWindow(0).toImage();
  EXPECT_TRUE(CouleurAutour(ecran, apres.x(), apres.y(), axe));
}

void SurLeServeur() {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb");
  Environnement env;
  TFichePrincipale f(FabriqueSurvey(), {});
  f.show();
  survey::TReseau* r = ImporteOlivier(f, env);
  ASSERT_NE(r, nullptr);
  survey::TCavite* c = r->UneCavite(1);
  bool vu = false;
  SurLaVue<views::TFicheVisuPlan>([&](views::TFicheVisuPlan& v) { SurLaVueDuServeur(v, *c); }, vu);
  Controle<QToolButton>(f, "ButtonPlan")->click();
  EXPECT_TRUE(vu);
}

TEST(VuesXvfb, PlanDOlivierMoletteEtGlisserSousXvfb) {
  if (qEnvironmentVariableIsSet(kSousXvfb)) {
    SurLeServeur();
    return;
  }
  if (!testsupport::XvfbDisponible()) GTEST_SKIP() << "Xvfb absent";
  if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) GTEST_SKIP() << "xdotool absent";
  testsupport::RelanceSousXvfb(kSousXvfb, QStringLiteral("VuesXvfb.*"), 120000);
}

}  // namespace
