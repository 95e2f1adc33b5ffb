#include "tests/support/environnement_qt.h"

#include <QApplication>
#include <QGuiApplication>
#include <QString>
#include <memory>
#include <string>

namespace testsupport {

namespace {

class EnvironnementQt : public ::testing::Environment {
 public:
  explicit EnvironnementQt(const ApplicationQt& application)
      : application_(application), nom_(application.nom) {}

  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt keeps the count and the vector for the application's whole life.
    argv_[0] = nom_.data();
    if (application_.fenetres)
      qt_ = std::make_unique<QApplication>(argc_, argv_);
    else
      qt_ = std::make_unique<QGuiApplication>(argc_, argv_);
    if (application_.nomAffiche) QGuiApplication::setApplicationDisplayName(QString::fromUtf8(application_.nomAffiche));
  }
  void TearDown() override { qt_.reset(); }

 private:
  ApplicationQt application_;
  std::string nom_;
  int argc_ = 1;
  char* argv_[2] = {nullptr, nullptr};
  std::unique_ptr<QGuiApplication> qt_;
};

}  // namespace

::testing::Environment* AjouteEnvironnementQt(const ApplicationQt& application) {
  return ::testing::AddGlobalTestEnvironment(new EnvironnementQt(application));
}

}  // namespace testsupport
