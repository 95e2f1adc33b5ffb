#pragma once
// The one Qt application of a test binary that shows windows or draws texts:
// made before the first test and destroyed after the last, on the offscreen
// platform unless another one is asked for (the Xvfb runs ask for xcb).
// A binary registers it once, at namespace scope of one of its files:
//
//   [[maybe_unused]] ::testing::Environment* const environnement =
//       testsupport::AjouteEnvironnementQt({.nom = "views_windows_tests"});
#include <gtest/gtest.h>

namespace testsupport {

struct ApplicationQt {
  // The program name given to Qt (argv[0]).
  const char* nom = "tests";
  // A QApplication (widgets); a QGuiApplication for the tests that only draw.
  bool fenetres = true;
  // The name Qt puts in the windows' titles; none when null.
  const char* nomAffiche = nullptr;
};

// The environment registered with GoogleTest, which owns it.
::testing::Environment* AjouteEnvironnementQt(const ApplicationQt& application);

}  // namespace testsupport
