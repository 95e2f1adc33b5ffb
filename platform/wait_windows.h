#pragma once
// Wait windows: the small stay-on-top window that says "Calculs en cours ..."
// during a long operation.  They nest: each AfficheAttente pushes a window,
// each FermeAttente closes the most recent one.  The application installs the
// Qt implementation; tests use ScriptedWaitWindows.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/scoped_port.h"

namespace platform {

class WaitWindows {
 public:
  virtual ~WaitWindows() = default;
  // Shows a new window with the message above the others and lets it paint.
  virtual void Show(const std::string& message) = 0;
  // Closes the most recent window; nothing when none is shown.
  virtual void CloseLast() = 0;
  // Number of windows shown.
  virtual size_t Count() const = 0;

  // The port in use; a scripted one stands in until one is installed.
  static WaitWindows& Current();
  static WaitWindows* Install(WaitWindows* w);
};
using ScopedWaitWindows = ScopedPort<WaitWindows>;

// Shows a wait window with the message.
void AfficheAttente(const std::string& message);
// Closes the most recent wait window; nothing when none is shown.
void FermeAttente();

// A wait window for the life of the guard, closed also on an exception.
class WaitMessage {
 public:
  explicit WaitMessage(const std::string& message) { AfficheAttente(message); }
  ~WaitMessage() { FermeAttente(); }
  WaitMessage(const WaitMessage&) = delete;
  WaitMessage& operator=(const WaitMessage&) = delete;
};

// Keeps the stack of messages and a log ("+message" shown, "-message" closed).
class ScriptedWaitWindows : public WaitWindows {
 public:
  void Show(const std::string& message) override;
  void CloseLast() override;
  size_t Count() const override { return Stack.size(); }

  std::vector<std::string> Stack;
  std::vector<std::string> Log;
};

}  // namespace platform
