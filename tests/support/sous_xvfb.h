#pragma once
// The window tests that need a real X server run their own binary again
// under xvfb-run on the xcb platform, with a variable that tells the second
// run to do the work, and check that it passed.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPoint>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

namespace testsupport {

// The events processed until the condition holds or the time is out; the
// condition's last value.
inline bool Attend(const std::function<bool()>& condition, int millisecondes) {
  QElapsedTimer t;
  t.start();
  while (!condition() && t.elapsed() < millisecondes) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return condition();
}

// One xdotool command on the test's display, ended within 5 s with success.
inline bool Xdotool(const QStringList& arguments) {
  QProcess p;
  p.start(QStandardPaths::findExecutable(QStringLiteral("xdotool")), arguments);
  return p.waitForFinished(5000) && p.exitCode() == 0;
}

// A left click at a point of the screen, as a person's mouse gives it.
inline bool Clique(QPoint global) {
  return Xdotool({"mousemove", QString::number(global.x()), QString::number(global.y())}) && Xdotool({"click", "1"});
}

// xvfb-run is installed.
inline bool XvfbDisponible() { return !QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty(); }

// The binary again under xvfb-run (a 1280 x 1024 screen, no leak check),
// with the variable set to 1 and the extra variables, running the tests of
// the filter; the run must end in time, with success and its one test
// passed.
inline void RelanceSousXvfb(const char* variable, const QString& filtre, int delaiMs,
                            const std::vector<std::pair<QString, QString>>& autres = {}) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QString::fromLatin1(variable), QStringLiteral("1"));
  for (const auto& [nom, valeur] : autres) env.insert(nom, valeur);
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
  QProcess p;
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(QStandardPaths::findExecutable(QStringLiteral("xvfb-run")),
          {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24"),
           QCoreApplication::applicationFilePath(), QStringLiteral("--gtest_filter=") + filtre});
  ASSERT_TRUE(p.waitForFinished(delaiMs));
  const QString sortie = QString::fromUtf8(p.readAll());
  EXPECT_EQ(p.exitCode(), 0) << sortie.toStdString();
  EXPECT_TRUE(sortie.contains(QStringLiteral("[  PASSED  ] 1 test"))) << sortie.toStdString();
}

}  // namespace testsupport
