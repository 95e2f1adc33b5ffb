// The wheel on a real X server: the test runs itself again on an Xvfb server
// of its own on the xcb platform, shows a graphic window with a cross drawn, puts the
// pointer on the cross with xdotool and turns the wheel (buttons 4 and 5);
// on the grabbed screen the cross stays under the pointer within a pixel.
// Skipped where Xvfb or xdotool is not installed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QWindow>
#include <cstdlib>
#include <functional>

#include "tests/support/sous_xvfb.h"
#include "tests/views/windows/outils_fenetres.h"
#include "views/windows/fiche_graphique.h"

namespace {

using testsupport::Attend;
using testsupport::Peint;
using testsupport::Xdotool;

using namespace essaifenetres;

constexpr const char* kSousXvfb = "GRAVELUNE_MOLETTE_SOUS_XVFB";

class FenetreCroix : public views::TFicheGraphique {
 public:
  void InitDessin() override {}
};

class Molette : public Fenetres {
 protected:
  void SurLeServeur() {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    auto f = views::TFicheGraphique::Cree<FenetreCroix>();
    f->SetAffichable(views::EnsembleTypes({odDessin}));
    // A black cross at ground (40, 30).
    Ligne(*f, odDessin, 0x000000, {{20000, 30000}, {60000, 30000}});
    Ligne(*f, odDessin, 0x000000, {{40000, 10000}, {40000, 50000}});
    f->resize(800, 600);
    f->show();
    ASSERT_TRUE(Attend([&] { return f->windowHandle() && f->windowHandle()->isExposed(); }));
    auto& v = foundation::Vue();
    v.XDebVue = 0;
    v.YDebVue = 60;
    v.LargeurVue = 100;
    v.HauteurVue = 0;
    f->RedessineVisu();
    Peint(*f);
    foundation::TPointTopo sol;
    sol.X = 40, sol.Y = 30;
    const foundation::TPoint px = foundation::PtTopoVersEcran(sol);
    const QPoint pointeur = f->BaseDessin->mapToGlobal(QPoint(px.X, px.Y));
    // The server handles the pointer's move before the clicks that follow.
    ASSERT_TRUE(Xdotool({"mousemove", QString::number(pointeur.x()), QString::number(pointeur.y())}));
    for (const char* bouton : {"4", "4", "4", "5", "5", "4"}) {
      const double avant = v.EchelleVue;
      ASSERT_TRUE(Xdotool({"click", bouton}));
      ASSERT_TRUE(Attend([&] { return v.EchelleVue != avant; })) << bouton;
      EXPECT_NEAR(v.EchelleVue / avant, bouton[0] == '4' ? 1 / 0.8 : 1 / 1.2, 1e-9) << bouton;
      Peint(*f);
      const QImage ecran = f->screen()->grabWindow(0).toImage();
      // The vertical stroke crosses the row 10 pixels below the pointer, the
      // horizontal one the column 10 pixels to its right, each within a pixel.
      int xv = -100, yh = -100;
      for (int d = -4; d <= 4; ++d) {
        if (qGray(ecran.pixel(pointeur.x() + d, pointeur.y() + 10)) < 64 && xv == -100) xv = d;
        if (qGray(ecran.pixel(pointeur.x() + 10, pointeur.y() + d)) < 64 && yh == -100) yh = d;
      }
      EXPECT_LE(std::abs(xv), 1) << bouton;
      EXPECT_LE(std::abs(yh), 1) << bouton;
    }
  }
};

TEST_F(Molette, LePointSousLePointeurResteSousLuiSousXvfb) {
  if (qEnvironmentVariableIsSet(kSousXvfb)) {
    SurLeServeur();
    return;
  }
  if (!testsupport::XvfbDisponible()) GTEST_SKIP() << "Xvfb absent";
  if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) GTEST_SKIP() << "xdotool absent";
  testsupport::RelanceSousXvfb(kSousXvfb, QStringLiteral("Molette.*"), 90000);
}

}  // namespace
