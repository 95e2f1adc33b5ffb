// Test entry point: every test runs with a scripted dialog port installed, so
// that no model code can reach a real window, and finds the process-wide
// contexts as the program started, whatever the tests before it left there
// (a whole binary run in one process behaves as ctest's one test per process).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/contextes.h"
#include "platform/scripted_dialogs.h"

namespace {

class ContextesParTest : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo&) override { gardes_ = platform::GardesTousContextes(); }
  void OnTestEnd(const ::testing::TestInfo&) override {
    while (!gardes_.empty()) gardes_.pop_back();
  }

 private:
  std::vector<std::shared_ptr<void>> gardes_;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  platform::ScriptedDialogs defaut;
  platform::ScopedDialogs garde(defaut);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ContextesParTest);
  return RUN_ALL_TESTS();
}
