#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

std::string RuntimeFolder() {
  const char* d = std::getenv("XDG_RUNTIME_DIR");
  struct stat st {};
  if (d && *d && ::stat(d, &st) == 0 && S_ISDIR(st.st_mode)) return d;
  return "/tmp";
}

FileInstanceLock::FileInstanceLock(const std::string& name, const std::string& folder) {
  std::string dir = folder;
  std::string file = name;
  if (dir.empty()) {
    dir = RuntimeFolder();
    // /tmp is shared between users: one lock per user.
    if (dir == "/tmp") file += "-" + std::to_string(::getuid());
  }
  if (!dir.empty() && dir.back() == '/') dir.pop_back();
  path_ = dir + "/" + file + ".lock";
  fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return;
  // Alone when the exclusive lock is granted; then every instance keeps a
  // shared lock, so that the next one finds the file held.
  int r;
  do r = ::flock(fd_, LOCK_EX | LOCK_NB);
  while (r != 0 && errno == EINTR);
  another_ = r != 0;
  // An instance that is taking its exclusive lock at the same moment holds it
  // only briefly: wait for it (a blocking shared lock).
  do r = ::flock(fd_, LOCK_SH);
  while (r != 0 && errno == EINTR);
}

FileInstanceLock::~FileInstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace platform
