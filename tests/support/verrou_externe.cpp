#include "tests/support/verrou_externe.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
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
  // The kernel's own table of locks (/proc/locks): an FLOCK entry on the
  // file's device and inode.  Reading it takes no lock, so the probe cannot
  // make a program starting at that moment find the file held.
  struct stat st {};
  if (::stat(chemin.c_str(), &st) != 0) return false;
  std::ifstream verrous("/proc/locks");
  std::string ligne;
  while (std::getline(verrous, ligne)) {
    std::istringstream mots(ligne);
    std::string numero, genre, conseil, acces, pid, fichier;
    if (!(mots >> numero >> genre)) continue;
    // A blocked waiter is listed as "-> FLOCK ...": it does not hold it.
    if (genre != "FLOCK") continue;
    if (!(mots >> conseil >> acces >> pid >> fichier)) continue;
    unsigned majeur = 0, mineur = 0;
    unsigned long long inode = 0;
    if (std::sscanf(fichier.c_str(), "%x:%x:%llu", &majeur, &mineur, &inode) != 3) continue;
    if (majeur == major(st.st_dev) && mineur == minor(st.st_dev) && inode == st.st_ino) return true;
  }
  return false;
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
