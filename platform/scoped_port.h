#pragma once
// Installs a port for the life of the guard.  Every port class with a static
// Install (CanvasFactory, WaitWindows, InstanceLock, Shell) can be used.
namespace platform {

template <class Port>
class ScopedPort {
 public:
  explicit ScopedPort(Port& p) : previous_(Port::Install(&p)) {}
  ~ScopedPort() { Port::Install(previous_); }
  ScopedPort(const ScopedPort&) = delete;
  ScopedPort& operator=(const ScopedPort&) = delete;

 private:
  Port* previous_;
};

}  // namespace platform
