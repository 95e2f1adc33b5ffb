// Test entry point: every test runs with a scripted dialog port installed, so
// that no model code can reach a real window.
#include <gtest/gtest.h>

#include "platform/scripted_dialogs.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  platform::ScriptedDialogs defaut;
  platform::ScopedDialogs garde(defaut);
  return RUN_ALL_TESTS();
}
