#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/files.h"

namespace platform {

FileLock::FileLock(FileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {
  other.path_.clear();
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = std::exchange(other.fd_, -1);
    path_ = std::move(other.path_);
    other.path_.clear();
  }
  return *this;
}

FileLock::Outcome FileLock::Take(const std::string& path) {
  Release();
  // Read-only is enough for flock; O_NONBLOCK keeps a named pipe from waiting.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Outcome::Unavailable;
  int r;
  do r = ::flock(fd, LOCK_EX | LOCK_NB);
  while (r != 0 && errno == EINTR);
  if (r != 0) {
    const bool ailleurs = errno == EWOULDBLOCK;
    ::close(fd);
    return ailleurs ? Outcome::HeldElsewhere : Outcome::Unavailable;
  }
  fd_ = fd;
  path_ = path;
  return Outcome::Held;
}

void FileLock::Release() {
  if (fd_ >= 0) ::close(fd_);  // closing the only descriptor releases the lock
  fd_ = -1;
  path_.clear();
}

bool FileLock::Covers(const std::string& path) const {
  if (fd_ < 0 || path.empty()) return false;
  struct stat tenu {}, vise {};
  return ::fstat(fd_, &tenu) == 0 && ::stat(path.c_str(), &vise) == 0 && tenu.st_dev == vise.st_dev &&
         tenu.st_ino == vise.st_ino;
}

void FileLock::Renamed(const std::string& path) {
  if (fd_ >= 0) path_ = path;
}

bool FileLock::HeldElsewhere(const std::string& path) {
  FileLock essai;
  return essai.Take(path) == Outcome::HeldElsewhere;
}

WriteBlock WhyNotWritable(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return WriteBlock::None;
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
    return errno == EROFS ? WriteBlock::ReadOnlyFileSystem : WriteBlock::FileReadOnly;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return WriteBlock::FileReadOnly;
  const std::string dossier = FolderOf(path);
  if (::faccessat(AT_FDCWD, dossier.empty() ? "." : dossier.c_str(), W_OK, AT_EACCESS) != 0)
    return errno == EROFS ? WriteBlock::ReadOnlyFileSystem : WriteBlock::FolderReadOnly;
  return WriteBlock::None;
}

}  // namespace platform
