// The Qt tests need one QApplication for the whole run
// (tests/support/environnement_qt.h).
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QStringList>

#include "tests/support/environnement_qt.h"

[[maybe_unused]] ::testing::Environment* const environnement =
    testsupport::AjouteEnvironnementQt({.nom = "platform_qt_tests"});

TEST(QtApplication, PoliceDeRemplacementInstallee) {
  // Liberation Sans stands for Arial and MS Sans Serif.
  EXPECT_TRUE(QFontDatabase::families().contains(QStringLiteral("Liberation Sans")));
}
