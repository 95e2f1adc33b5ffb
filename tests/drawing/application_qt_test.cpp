// Texts on the Qt image canvas need one QGuiApplication for the whole run
// (tests/support/environnement_qt.h).
#include <gtest/gtest.h>

#include "tests/support/environnement_qt.h"

[[maybe_unused]] ::testing::Environment* const environnement =
    testsupport::AjouteEnvironnementQt({.nom = "drawing_tests", .fenetres = false});
