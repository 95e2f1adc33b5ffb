#include "tests/support/verrou_externe.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/file_lock.h"

namespace testsupport {
namespace {

// Runs a program without a shell; its exit code, -1 when it could not run.
int Lance(const char* const argv[]) {
  const pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    ::execvp(argv[0], const_cast<char* const*>(argv));
    ::_exit(127);
  }
  int etat = 0;
  while (::waitpid(pid, &etat, 0) < 0) {
  }
  return WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
}

}  // namespace

int32_t Mode(const std::string& chemin) {
  struct stat st {};
  if (::stat(chemin.c_str(), &st) != 0) return -1;
  return static_cast<int32_t>(st.st_mode & 07777);
}

bool TenuSelonFlock(const std::string& chemin) {
  // Exit code 99 when the lock is refused.
  const char* const argv[] = {"flock", "--nonblock", "--conflict-exit-code", "99", chemin.c_str(), "true", nullptr};
  return Lance(argv) == 99;
}

DetenteurFlock::DetenteurFlock(const std::string& chemin) {
  pid_ = ::fork();
  if (pid_ < 0) return;
  if (pid_ == 0) {
    // Without a fork, the process that holds the lock is the one killed.
    const char* const argv[] = {"flock", "--no-fork", chemin.c_str(), "sleep", "600", nullptr};
    ::execvp(argv[0], const_cast<char* const*>(argv));
    ::_exit(127);
  }
  for (int i = 0; i < 500 && !tient_; ++i) {
    tient_ = platform::FileLock::HeldElsewhere(chemin);
    if (!tient_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void DetenteurFlock::Tue() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  int etat = 0;
  ::waitpid(pid_, &etat, 0);
  pid_ = -1;
}

}  // namespace testsupport
