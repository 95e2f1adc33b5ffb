// The application tests' one QApplication (tests/support/environnement_qt.h),
// named as the program; the arguments joined into one path are made absolute
// against the start folder.
#include <gtest/gtest.h>

#include "app/application.h"
#include "tests/support/environnement_qt.h"

[[maybe_unused]] ::testing::Environment* const environnement =
    testsupport::AjouteEnvironnementQt({.nom = "app_tests", .nomAffiche = "Gravelune"});

TEST(Application, ArgumentsRelatifsAuDossierDeDepart) {
  using V = std::vector<std::string>;
  EXPECT_EQ(app::ArgumentsAbsolus(V{"docs/Mes", "Topos/g.CFG"}, "/home/moi"), (V{"/home/moi/docs/Mes", "Topos/g.CFG"}));
  EXPECT_EQ(app::ArgumentsAbsolus(V{"/abs/g.cav"}, "/home/moi"), (V{"/abs/g.cav"}));
  EXPECT_EQ(app::ArgumentsAbsolus(V{}, "/home/moi"), V{});
}
