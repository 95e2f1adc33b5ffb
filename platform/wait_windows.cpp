#include "platform/wait_windows.h"

#include "platform/contexte_platform.h"

namespace platform {
namespace {
ScriptedWaitWindows fallback;
}  // namespace

WaitWindows& WaitWindows::Current() {
  auto* installed = ContextePlatform().CurrentWaitWindows;
  return installed ? *installed : fallback;
}

WaitWindows* WaitWindows::Install(WaitWindows* w) {
  WaitWindows* previous = ContextePlatform().CurrentWaitWindows;
  ContextePlatform().CurrentWaitWindows = w;
  return previous;
}

void AfficheAttente(const std::string& message) { WaitWindows::Current().Show(message); }

void FermeAttente() { WaitWindows::Current().CloseLast(); }

void ScriptedWaitWindows::Show(const std::string& message) {
  Stack.push_back(message);
  Log.push_back("+" + message);
}

void ScriptedWaitWindows::CloseLast() {
  if (Stack.empty()) return;
  Log.push_back("-" + Stack.back());
  Stack.pop_back();
}

}  // namespace platform
