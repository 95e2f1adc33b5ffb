// One QApplication for the whole run of the application tests, on the
// offscreen platform unless another one is asked for; the arguments joined
// into one path are made absolute against the start folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "app/application.h"

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Gravelune"));
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

TEST(Application, ArgumentsRelatifsAuDossierDeDepart) {
  using V = std::vector<std::string>;
  EXPECT_EQ(app::ArgumentsAbsolus(V{"docs/Mes", "Topos/g.CFG"}, "/home/moi"), (V{"/home/moi/docs/Mes", "Topos/g.CFG"}));
  EXPECT_EQ(app::ArgumentsAbsolus(V{"/abs/g.cav"}, "/home/moi"), (V{"/abs/g.cav"}));
  EXPECT_EQ(app::ArgumentsAbsolus(V{}, "/home/moi"), V{});
}
