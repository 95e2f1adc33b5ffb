#pragma once
// The boundary of the window's event handlers.
#include <functional>

namespace app {

// Runs an event handler; an exception is reported once and goes no further.
void Protege(const std::function<void()>& action);

}  // namespace app
