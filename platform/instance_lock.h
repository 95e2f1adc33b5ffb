#pragma once
// Detection of another running instance of the program.  The program takes
// the lock named "MonMutexProject1" at start-up and keeps it for its whole
// life; the lock tells whether another instance held it at that moment.
#include <string>

namespace platform {

class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
  // True when another running instance held the lock when this one took it.
  virtual bool AnotherInstance() const = 0;
};

// The lock name of the program.
inline constexpr const char* kInstanceLockName = "MonMutexProject1";

// The user's runtime folder: XDG_RUNTIME_DIR when it names a folder, else /tmp.
std::string RuntimeFolder();

// A lock file in the runtime folder held with flock by every running instance
// (the first exclusively while it checks, then shared), so that it stays held
// while any instance runs and the system releases it when a process ends,
// even on a crash.  In /tmp the user's id is added to the name.
class FileInstanceLock final : public InstanceLock {
 public:
  explicit FileInstanceLock(const std::string& name = kInstanceLockName, const std::string& folder = "");
  ~FileInstanceLock() override;
  FileInstanceLock(const FileInstanceLock&) = delete;
  FileInstanceLock& operator=(const FileInstanceLock&) = delete;

  bool AnotherInstance() const override { return another_; }
  // False when the lock file could not be opened (then no other instance is assumed).
  bool Held() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
  bool another_ = false;
};

// A lock whose answer is set by the test.
class ScriptedInstanceLock final : public InstanceLock {
 public:
  explicit ScriptedInstanceLock(bool another = false) : Another(another) {}
  bool AnotherInstance() const override { return Another; }
  bool Another;
};

}  // namespace platform
