#include "platform/shell.h"

namespace platform {
namespace {
ScriptedShell fallback(false);
Shell* current = nullptr;
}  // namespace

Shell& Shell::Current() { return current ? *current : fallback; }

Shell* Shell::Install(Shell* s) {
  Shell* previous = current;
  current = s;
  return previous;
}

}  // namespace platform
