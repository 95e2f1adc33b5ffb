#pragma once
// The hold a running program keeps on an open document file, and why a file
// cannot be written.
//
// The hold is an advisory lock (flock) on a descriptor of the file itself,
// opened read-only: it leaves no extra file behind, never touches the file's
// permissions, and the system releases it when the process ends, also on a
// crash or a kill.  A second holder, in another process or through another
// descriptor, is refused.  The lock belongs to the file (its inode), not to
// its name: a file replaced by a rename is a new file that must be locked
// anew.
#include <string>

namespace platform {

class FileLock {
 public:
  enum class Outcome {
    Held,           // this object holds the lock
    HeldElsewhere,  // another holder has it
    Unavailable,    // the file cannot be opened, or its file system has no locks
  };

  FileLock() = default;
  ~FileLock() { Release(); }
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Takes the exclusive lock on the file at path without waiting, after
  // releasing the one held before.
  Outcome Take(const std::string& path);
  void Release();
  bool Held() const { return fd_ >= 0; }
  // The path of the locked file, empty when nothing is held.
  const std::string& Path() const { return path_; }
  // The locked file is the one now found at path (same device and inode).
  bool Covers(const std::string& path) const;
  // The locked file was renamed to path.
  void Renamed(const std::string& path);

  // Another holder has the lock of the file at path (checked by taking and
  // releasing it); false for a missing file.
  static bool HeldElsewhere(const std::string& path);

 private:
  int fd_ = -1;
  std::string path_;
};

// Why a file cannot be written in place, None when it can.  Saving replaces
// the file through a temporary file beside it, so its folder must be
// writable too.  A file with no write permission bit at all is read-only
// also for the superuser, who would otherwise override it.
enum class WriteBlock { None, FileReadOnly, FolderReadOnly, ReadOnlyFileSystem };
WriteBlock WhyNotWritable(const std::string& path);

}  // namespace platform
