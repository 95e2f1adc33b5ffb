// The window tests need one QApplication for the whole run
// (tests/support/environnement_qt.h; the Xvfb test asks for xcb).
#include <gtest/gtest.h>

#include "tests/support/environnement_qt.h"

[[maybe_unused]] ::testing::Environment* const environnement =
    testsupport::AjouteEnvironnementQt({.nom = "views_windows_tests"});
