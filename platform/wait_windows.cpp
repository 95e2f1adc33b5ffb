#include "platform/wait_windows.h"

namespace platform {
namespace {
ScriptedWaitWindows fallback;
WaitWindows* current = nullptr;
}  // namespace

WaitWindows& WaitWindows::Current() { return current ? *current : fallback; }

WaitWindows* WaitWindows::Install(WaitWindows* w) {
  WaitWindows* previous = current;
  current = w;
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
