#pragma once
// The window tests that need a real X server run their own binary again on
// an X server of their own (Xvfb, see serveur_x.h) on the xcb platform, with
// a variable that tells the second run to do the work, and check that it
// passed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPoint>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

#include "tests/support/serveur_x.h"

namespace testsupport {

// The bound of a wait for what the test caused (a window shown, a click
// handled, a tool ended): long enough for a loaded machine, never reached
// by a test that passes.
constexpr int kAttenteMs = 30000;

// The events processed until the condition holds or the time is out; the
// condition's last value.
inline bool Attend(const std::function<bool()>& condition, int millisecondes = kAttenteMs) {
  QElapsedTimer t;
  t.start();
  while (!condition() && t.elapsed() < millisecondes) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return condition();
}

// The widget's window painted now with what it holds and sent to the server
// (the posted events, layouts and updates, delivered first): a grab or a
// click asked afterwards on the same connection comes after the picture.
inline void Peint(QWidget& w) {
  QCoreApplication::sendPostedEvents();
  w.window()->repaint();
}

// One xdotool command on the test's display, ended in time with success.
inline bool Xdotool(const QStringList& arguments) {
  QProcess p;
  p.start(QStandardPaths::findExecutable(QStringLiteral("xdotool")), arguments);
  const bool fini = p.waitForFinished(kAttenteMs);
  if (!fini) {
    p.kill();
    p.waitForFinished(kAttenteMs);
  }
  return fini && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A left click at a point of the screen, as a person's mouse gives it.
inline bool Clique(QPoint global) {
  return Xdotool({"mousemove", QString::number(global.x()), QString::number(global.y())}) && Xdotool({"click", "1"});
}

// Xvfb is installed.
inline bool XvfbDisponible() { return !Executable("Xvfb").empty(); }

// The binary again on a server of its own (a 1280 x 1024 screen, no leak
// check), with the variable set to 1 and the extra variables, running the
// tests of the filter; the run must end in time, with success and its one
// test passed.  The run and the server end with this call, or with the test
// process if it is killed first.
inline void RelanceSousXvfb(const char* variable, const QString& filtre, int delaiMs,
                            const std::vector<std::pair<QString, QString>>& autres = {}) {
  ServeurX serveur;
  ASSERT_TRUE(serveur.Pret()) << serveur.Erreur();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QString::fromLatin1(variable), QStringLiteral("1"));
  for (const auto& [nom, valeur] : autres) env.insert(nom, valeur);
  env.insert(QStringLiteral("DISPLAY"), QString::fromStdString(serveur.Affichage()));
  // The server asks no authorisation: no cookie file of another display.
  env.remove(QStringLiteral("XAUTHORITY"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
  QProcess p;
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
  p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + filtre});
  const bool fini = p.waitForFinished(delaiMs);
  if (!fini) {
    p.kill();
    p.waitForFinished(kAttenteMs);
  }
  const std::string sortie = QString::fromUtf8(p.readAll()).toStdString();
  const std::string serveurArrete = serveur.EnMarche() ? "" : "\nle serveur X s'est arrêté pendant le test" + serveur.Journal();
  ASSERT_TRUE(fini) << "pas fini en " << delaiMs << " ms" << serveurArrete << "\n" << sortie;
  EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << serveurArrete << "\n" << sortie;
  EXPECT_EQ(p.exitCode(), 0) << serveurArrete << "\n" << sortie;
  EXPECT_NE(sortie.find("[  PASSED  ] 1 test"), std::string::npos) << serveurArrete << "\n" << sortie;
}

}  // namespace testsupport
