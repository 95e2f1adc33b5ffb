// The program's window on a real X server: the test runs itself again on an
// Xvfb server of its own on the xcb platform, shows the main window, takes a
// screenshot and checks the title the server holds and the menu bar drawn.
// Skipped where Xvfb is not installed.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMenuBar>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QStandardPaths>
#include <QWindow>

#include "app/commun/config_generale.h"
#include "app/fiche_principale.h"
#include "platform/scripted_dialogs.h"
#include "survey/contexte_document.h"
#include "tests/support/dossier_temp.h"
#include "tests/support/sous_xvfb.h"

namespace {

using testsupport::Attend;
using testsupport::Peint;

constexpr const char* kSousXvfb = "GRAVELUNE_SOUS_XVFB";
constexpr const char* kCapture = "GRAVELUNE_CAPTURE";

// On the test's server: the window, its screenshot and its title.
void FenetreSurLeServeur() {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb");
  app::GardeConfig config;
  survey::GardeDocument document;
  app::Config() = app::ConfigGenerale();
  app::TFichePrincipale f(app::FabriqueProvisoire(), {});
  f.show();
  ASSERT_TRUE(Attend([&] { return f.windowHandle() && f.windowHandle()->isExposed(); }));
  Peint(f);
  // An empty caption without a document: the server shows the program's name.
  EXPECT_TRUE(f.windowTitle().isEmpty());
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Gravelune");

  const QImage ecran = f.screen()->grabWindow(0).toImage();
  ASSERT_FALSE(ecran.isNull());
  const QString capture = qEnvironmentVariable(kCapture);
  if (!capture.isEmpty()) {
    EXPECT_TRUE(ecran.save(capture));
  }
  // The menu bar is drawn with its texts: many colours where it stands.
  const QRect barre(f.menuBar()->mapToGlobal(QPoint(0, 0)), f.menuBar()->size());
  QSet<QRgb> couleurs;
  for (int y = barre.top(); y <= barre.bottom(); ++y)
    for (int x = barre.left(); x <= std::min(barre.right(), barre.left() + 600); ++x) couleurs.insert(ecran.pixel(x, y));
  EXPECT_GT(couleurs.size(), 4);
  QStringList menus;
  for (QAction* a : f.menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus.size(), 10);
  EXPECT_EQ(menus.front(), "&Fichier");

  // The server's own list of windows, when the tool is there.
  const QString xwininfo = QStandardPaths::findExecutable(QStringLiteral("xwininfo"));
  if (!xwininfo.isEmpty()) {
    QProcess p;
    p.start(xwininfo, {QStringLiteral("-root"), QStringLiteral("-tree")});
    ASSERT_TRUE(p.waitForFinished(testsupport::kAttenteMs));
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput()).contains(QStringLiteral("\"Gravelune\"")));
  }
}

}  // namespace

TEST(EcranXvfb, FenetrePrincipaleAvecSonTitreEtSesMenus) {
  if (qEnvironmentVariableIsSet(kSousXvfb)) {
    FenetreSurLeServeur();
    return;
  }
  if (!testsupport::XvfbDisponible()) GTEST_SKIP() << "Xvfb absent";
  testsupport::DossierTemp dossier;
  const QString capture = QString::fromStdString(dossier.Fichier("fenetre.png"));
  testsupport::RelanceSousXvfb(kSousXvfb, QStringLiteral("EcranXvfb.*"), 60000,
                               {{QString::fromLatin1(kCapture), qEnvironmentVariable("GRAVELUNE_CAPTURE_GARDEE", capture)}});
}
