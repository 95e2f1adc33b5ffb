// A caver looking at a station on a real X server: the test runs itself
// again on an Xvfb server of its own on the xcb platform, opens the cave window over a
// small cave and, with xdotool, clicks station 2: "Informations sur le
// point" opens on it, with its sketch.  A click on the green circle of
// station 3 in the sketch walks there and the window's view follows it by
// 10 m; OK closes the dialog and the marker it put on the window is gone.
// Skipped where Xvfb or xdotool is not installed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>
#include <functional>

#include "drawing/point_compo.h"
#include "tests/support/sous_xvfb.h"
#include "tests/views/windows/outils_visu.h"
#include "views/windows/fiche_visu_graphique.h"
#include "views/windows/visu_pt_dlg.h"

namespace {

using testsupport::Attend;
using testsupport::Clique;
using testsupport::Peint;

using namespace essaifenetres;

constexpr const char* kSousXvfb = "GRAVELUNE_VISU_PT_SOUS_XVFB";

int MarquesVisu(views::TNoyauGraphique& f) {
  int n = 0;
  for (const auto& o : f.LeCalque(odPtLever).ObjetsDessines) n += dynamic_cast<drawing::TPointVisu*>(o.get()) != nullptr;
  return n;
}

class VisuPtXvfb : public Cavites {
 protected:
  void SurLeServeur() {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    survey::TCavite* c = Petite();
    auto f = views::TFicheGraphique::Cree<views::TFicheVisuGraphique>();
    // The information of a clicked station, as in the plan and elevation views.
    f->AfficherPointEnable = true;
    f->resize(900, 700);
    f->open();
    ASSERT_TRUE(Attend([&] { return f->windowHandle() && f->windowHandle()->isExposed(); }));
    // The first paint sets the view the stations are placed by.
    Peint(*f);
    const double xAvant = f->VueCourante().XDeb;

    // What the caver does in the dialog once it is up.
    bool fait = false;
    QTimer attente;
    attente.setInterval(50);
    QObject::connect(&attente, &QTimer::timeout, [&] {
      auto* d = qobject_cast<views::TVisuPtDlg*>(QApplication::activeModalWidget());
      if (!d) return;
      attente.stop();
      ASSERT_TRUE(Attend([&] { return d->windowHandle() && d->windowHandle()->isExposed(); }));
      Peint(*d);
      EXPECT_EQ(d->EditDesign->text().toStdString(), "2");
      EXPECT_EQ(MarquesVisu(*f), 1);
      // The sketch on the screen: station 3, 10 m east of 2, drawn 28
      // pixels right of the centre of the 97-pixel sketch, in green.
      const QPoint trois = d->VisuDirect->mapToGlobal(QPoint(48 + 28, 48));
      const QImage ecran = d->screen()->grabWindow(0).toImage();
      bool vert = false;
      for (int dx = -4; dx <= 4; ++dx)
        for (int dy = -4; dy <= 4; ++dy) {
          const QColor k = ecran.pixelColor(trois.x() + dx, trois.y() + dy);
          vert = vert || (k.red() == 0 && k.green() == 128 && k.blue() == 0);
        }
      EXPECT_TRUE(vert);
      ASSERT_TRUE(Clique(trois + QPoint(1, 1)));
      ASSERT_TRUE(Attend([&] { return d->EditDesign->text() == QStringLiteral("3"); }));
      EXPECT_EQ(d->Modele().PointAffiche, N.Station(c, "3"));
      QPushButton* ok = d->BoutonOK;
      ASSERT_TRUE(Clique(ok->mapToGlobal(ok->rect().center())));
      ASSERT_TRUE(Attend([&] { return !d->isVisible(); }));
      fait = true;
    });
    attente.start();

    // Station 2, at (20, 0) on the ground.
    foundation::TPointTopo p;
    p.X = 20;
    p.Y = 0;
    const foundation::TPoint e = foundation::PtTopoVersEcran(p);
    ASSERT_TRUE(Clique(f->BaseDessin->mapToGlobal(QPoint(e.X, e.Y))));
    ASSERT_TRUE(Attend([&] { return fait; }, 3 * testsupport::kAttenteMs));
    attente.stop();
    // The view walked 10 m east with the dialog; the marker is gone.
    EXPECT_NEAR(f->VueCourante().XDeb - xAvant, 10, 1e-6);
    EXPECT_EQ(MarquesVisu(*f), 0);
    f->reject();
  }
};

TEST_F(VisuPtXvfb, UnSpeleoRegardeUneStationEtPasseALaSuivanteSousXvfb) {
  if (qEnvironmentVariableIsSet(kSousXvfb)) {
    SurLeServeur();
    return;
  }
  if (!testsupport::XvfbDisponible()) GTEST_SKIP() << "Xvfb absent";
  if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) GTEST_SKIP() << "xdotool absent";
  testsupport::RelanceSousXvfb(kSousXvfb, QStringLiteral("VisuPtXvfb.*"), 90000);
}

}  // namespace
