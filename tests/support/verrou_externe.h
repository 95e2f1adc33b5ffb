#pragma once
// The hold on a document file seen from outside the program: util-linux's
// flock(1) takes the same advisory lock on the file itself, so it tells
// whether the file is held and can hold it as another instance would.
#include <sys/types.h>

#include <cstdint>
#include <string>

namespace testsupport {

// Permission bits of a file (-1 when it does not exist).
int32_t Mode(const std::string& chemin);

// A lock is held on the file, as the kernel lists it in /proc/locks (an
// oracle outside the program that takes no lock itself).
bool TenuSelonFlock(const std::string& chemin);

// `flock --no-fork chemin sleep`: another process holding the file until Tue() or the
// end of the object, both a SIGKILL.
class DetenteurFlock {
 public:
  explicit DetenteurFlock(const std::string& chemin);
  ~DetenteurFlock() { Tue(); }
  DetenteurFlock(const DetenteurFlock&) = delete;
  DetenteurFlock& operator=(const DetenteurFlock&) = delete;
  // The lock was taken within a few seconds.
  bool Tient() const { return tient_; }
  void Tue();

 private:
  pid_t pid_ = -1;
  bool tient_ = false;
};

}  // namespace testsupport
