#include "platform/shell.h"

#include "platform/contexte_platform.h"

namespace platform {
namespace {
ScriptedShell fallback(OpenResult::Failed);
}  // namespace

Shell& Shell::Current() {
  auto* installed = ContextePlatform().CurrentShell;
  return installed ? *installed : fallback;
}

Shell* Shell::Install(Shell* s) {
  Shell* previous = ContextePlatform().CurrentShell;
  ContextePlatform().CurrentShell = s;
  return previous;
}

}  // namespace platform
