// A caver choosing shots in the shot selection window on a real X server:
// the test runs itself again on an Xvfb server of its own on the xcb
// platform, opens the
// window over a small cave and, with xdotool, clicks the first shot of the
// side gallery, then OK.  On the grabbed screen the chosen shots are drawn in
// the selection green and the others are not; after OK the marked shots are
// the gallery's.  Skipped where Xvfb or xdotool is not installed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QWindow>
#include <functional>

#include "tests/support/sous_xvfb.h"
#include "tests/views/windows/outils_visu.h"
#include "views/windows/fiche_select_transfert.h"

namespace {

using testsupport::Attend;
using testsupport::Clique;
using testsupport::Peint;

using namespace essaifenetres;

constexpr const char* kSousXvfb = "GRAVELUNE_SELECTION_SOUS_XVFB";

// The selection green near a screen point (the dash-dot line may leave a gap).
bool VertPres(const QImage& ecran, QPoint p, int rayon) {
  for (int dx = -rayon; dx <= rayon; ++dx)
    for (int dy = -rayon; dy <= rayon; ++dy) {
      const QColor c = ecran.pixelColor(p.x() + dx, p.y() + dy);
      if (c.green() > 200 && c.red() < 80 && c.blue() < 80) return true;
    }
  return false;
}

class SelectionXvfb : public Cavites {
 protected:
  void SurLeServeur() {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    survey::TCavite* c = Petite();
    auto f = views::TFicheGraphique::Cree<views::TFicheSelectTransfert>();
    f->resize(900, 700);
    f->open();
    ASSERT_TRUE(Attend([&] { return f->windowHandle() && f->windowHandle()->isExposed(); }));
    // The first paint sets the view the stations are placed by.
    Peint(*f);
    const auto ecran = [&](double x, double y) {
      foundation::TPointTopo p;
      p.X = x;
      p.Y = y;
      const foundation::TPoint e = foundation::PtTopoVersEcran(p);
      return f->BaseDessin->mapToGlobal(QPoint(e.X, e.Y));
    };
    // The first shot of the gallery "Branche": it and the shots after it.
    ASSERT_TRUE(Clique(ecran(20, 4)));
    ASSERT_TRUE(Attend([&] { return f->UneVSelectee; }));
    EXPECT_EQ(Marquees(c), "2-B1 B1-B2 B2-B3");
    Peint(*f);
    const QImage image = f->screen()->grabWindow(0).toImage();
    EXPECT_TRUE(VertPres(image, ecran(20, 7), 3));
    EXPECT_TRUE(VertPres(image, ecran(20, 23), 3));
    EXPECT_FALSE(VertPres(image, ecran(35, 0), 3));
    EXPECT_FALSE(VertPres(image, ecran(5, 0), 3));
    // OK.
    QPushButton* ok = f->findChild<QPushButton*>("ValidBtn");
    ASSERT_TRUE(ok && ok->isEnabled());
    ASSERT_TRUE(Clique(ok->mapToGlobal(ok->rect().center())));
    ASSERT_TRUE(Attend([&] { return !f->isVisible(); }));
    EXPECT_EQ(f->result(), QDialog::Accepted);
    f.reset();
    EXPECT_EQ(Marquees(c), "2-B1 B1-B2 B2-B3");
  }
};

TEST_F(SelectionXvfb, UnSpeleoChoisitUneGalerieSousXvfb) {
  if (qEnvironmentVariableIsSet(kSousXvfb)) {
    SurLeServeur();
    return;
  }
  if (!testsupport::XvfbDisponible()) GTEST_SKIP() << "Xvfb absent";
  if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) GTEST_SKIP() << "xdotool absent";
  testsupport::RelanceSousXvfb(kSousXvfb, QStringLiteral("SelectionXvfb.*"), 90000);
}

}  // namespace
