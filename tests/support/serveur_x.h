#pragma once
// An X server of the test's own: Xvfb started with -displayfd, so that the
// server picks a free display number itself (no race with another server
// started at the same moment), and -noreset, so that it never refuses a
// client while it starts again after its last one left; waited for until its
// socket accepts an X connection, and stopped with the object (SIGTERM, then
// SIGKILL), or by the kernel when the test process dies first.
#include <sys/types.h>

#include <string>

namespace testsupport {

// The path of an executable found along PATH, "" when there is none.
std::string Executable(const std::string& nom);

// The X server of display `numero` answers a connection set-up with success
// within the delay: a local connection, tried on the abstract socket then on
// /tmp/.X11-unix/X<numero>, as the X client library does.
bool ServeurXRepond(int numero, int delaiMs);

class ServeurX {
 public:
  // Starts Xvfb with one screen of the given geometry and waits, each time
  // within the delay, for the display number it chose and for its socket to
  // accept a connection.
  explicit ServeurX(const std::string& ecran = "1280x1024x24", int delaiMs = 60000);
  ~ServeurX() { Arrete(); }
  ServeurX(const ServeurX&) = delete;
  ServeurX& operator=(const ServeurX&) = delete;

  // The server answers: its display is usable.
  bool Pret() const { return pret_; }
  // ":<number>", for DISPLAY.
  std::string Affichage() const { return ":" + std::to_string(numero_); }
  // Why the server is not ready, with what it printed.
  const std::string& Erreur() const { return erreur_; }
  // The server is still running (not ended by itself since it started).
  bool EnMarche();
  // SIGTERM, up to 10 s for the server to remove its socket and end, then
  // SIGKILL; the process is reaped.
  void Arrete();
  // What Xvfb printed so far, and how it ended if it did ("" when nothing).
  std::string Journal();

 private:
  pid_t pid_ = -1;
  int numero_ = -1;
  bool pret_ = false;
  int statut_ = 0;
  bool fini_ = false;
  int journal_ = -1;  // the file of what the server prints
  std::string erreur_;
};

}  // namespace testsupport
