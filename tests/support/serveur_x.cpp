#include "tests/support/serveur_x.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

namespace testsupport {

namespace {

using Horloge = std::chrono::steady_clock;

int RestantMs(Horloge::time_point limite) {
  const auto reste = std::chrono::duration_cast<std::chrono::milliseconds>(limite - Horloge::now()).count();
  return reste > 0 ? static_cast<int>(reste) : 0;
}

// One connection set-up on a local socket address (a leading '\0' names an
// abstract socket): true when the server's first reply byte says success.
bool SetupReussi(const std::string& adresse, int delaiMs) {
  const int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (s < 0) return false;
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::memcpy(a.sun_path, adresse.data(), std::min(adresse.size(), sizeof(a.sun_path) - 1));
  const auto longueur = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + adresse.size());
  bool reussi = false;
  // A full backlog refuses at once (EAGAIN): tried again by the caller.
  if (connect(s, reinterpret_cast<const sockaddr*>(&a), longueur) == 0) {
    // Little-endian client, protocol 11.0, no authorisation.
    const std::array<unsigned char, 12> demande{'l', 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    if (send(s, demande.data(), demande.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(demande.size())) {
      pollfd p{s, POLLIN, 0};
      unsigned char statut = 0;
      reussi = poll(&p, 1, delaiMs) == 1 && recv(s, &statut, 1, 0) == 1 && statut == 1;
    }
  }
  close(s);
  return reussi;
}

}  // namespace

std::string Executable(const std::string& nom) {
  const char* chemins = std::getenv("PATH");
  std::string reste = chemins ? chemins : "/usr/bin:/bin";
  while (!reste.empty()) {
    const size_t fin = reste.find(':');
    const std::string dossier = reste.substr(0, fin);
    reste = fin == std::string::npos ? "" : reste.substr(fin + 1);
    if (dossier.empty()) continue;
    const std::string chemin = dossier + "/" + nom;
    struct stat st{};
    if (stat(chemin.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(chemin.c_str(), X_OK) == 0) return chemin;
  }
  return "";
}

bool ServeurXRepond(int numero, int delaiMs) {
  const std::string chemin = "/tmp/.X11-unix/X" + std::to_string(numero);
  return SetupReussi(std::string(1, '\0') + chemin, delaiMs) || SetupReussi(chemin, delaiMs);
}

ServeurX::ServeurX(const std::string& ecran, int delaiMs) {
  const std::string xvfb = Executable("Xvfb");
  if (xvfb.empty()) {
    erreur_ = "Xvfb absent";
    return;
  }
  // What the server prints, in a file already unlinked: nothing is left
  // behind, whatever happens to the test.
  std::string modele = (std::filesystem::temp_directory_path() / "serveur-x-XXXXXX").string();
  journal_ = mkostemp(modele.data(), O_CLOEXEC);
  if (journal_ < 0) {
    erreur_ = "fichier de journal impossible : " + std::string(std::strerror(errno));
    return;
  }
  unlink(modele.c_str());
  int tube[2];
  if (pipe2(tube, O_CLOEXEC) != 0) {
    erreur_ = "tube impossible : " + std::string(std::strerror(errno));
    return;
  }
  // Everything the child needs is made before the fork: after it, only
  // calls that are safe in a child of a threaded process.
  const std::string fd = std::to_string(tube[1]);
  // -noreset: by default the server starts again whenever its last client
  // leaves, and refuses whoever connects meanwhile (the test run just after
  // the readiness probe, say).
  std::vector<std::string> mots{xvfb, "-displayfd", fd, "-screen", "0", ecran, "-nolisten", "tcp", "-noreset"};
  std::vector<char*> argv;
  for (std::string& m : mots) argv.push_back(m.data());
  argv.push_back(nullptr);
  const pid_t parent = getpid();
  const int journal = journal_;
  pid_ = fork();
  if (pid_ == 0) {
    // Killed with the test, even by a SIGKILL or a timeout of the runner.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    // Xvfb signals a parent that ignores SIGUSR1 when it is ready: never this one.
    signal(SIGUSR1, SIG_DFL);
    sigset_t aucun;
    sigemptyset(&aucun);
    sigprocmask(SIG_SETMASK, &aucun, nullptr);
    dup2(journal, STDOUT_FILENO);
    dup2(journal, STDERR_FILENO);
    fcntl(tube[1], F_SETFD, 0);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(tube[1]);
  if (pid_ < 0) {
    erreur_ = "fork impossible : " + std::string(std::strerror(errno));
    close(tube[0]);
    return;
  }

  // The display number, written by the server once it listens and has
  // set its screens up.
  const auto limite = Horloge::now() + std::chrono::milliseconds(delaiMs);
  std::string numero;
  while (numero.find('\n') == std::string::npos) {
    pollfd p{tube[0], POLLIN, 0};
    if (poll(&p, 1, RestantMs(limite)) != 1) break;
    char morceau[16];
    const ssize_t n = read(tube[0], morceau, sizeof(morceau));
    if (n <= 0) break;
    numero.append(morceau, static_cast<size_t>(n));
  }
  close(tube[0]);
  if (numero.find('\n') == std::string::npos) {
    erreur_ = "Xvfb n'a pas donné de numéro d'affichage en " + std::to_string(delaiMs) + " ms" + Journal();
    return;
  }
  numero_ = std::atoi(numero.c_str());

  // Its socket accepts a connection.
  while (!ServeurXRepond(numero_, std::max(1, std::min(5000, RestantMs(limite))))) {
    if (!EnMarche()) {
      erreur_ = "Xvfb s'est arrêté avant d'accepter une connexion" + Journal();
      return;
    }
    if (RestantMs(limite) == 0) {
      erreur_ = "le serveur X " + Affichage() + " n'accepte pas de connexion en " + std::to_string(delaiMs) + " ms" +
                Journal();
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  pret_ = true;
}

bool ServeurX::EnMarche() {
  if (pid_ <= 0 || fini_) return false;
  const pid_t r = waitpid(pid_, &statut_, WNOHANG);
  if (r == pid_ || (r < 0 && errno == ECHILD)) fini_ = true;
  return !fini_;
}

void ServeurX::Arrete() {
  if (pid_ > 0 && EnMarche()) {
    kill(pid_, SIGTERM);
    const auto limite = Horloge::now() + std::chrono::seconds(10);
    while (EnMarche() && Horloge::now() < limite) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (EnMarche()) {
      kill(pid_, SIGKILL);
      while (waitpid(pid_, &statut_, 0) < 0 && errno == EINTR) {
      }
      fini_ = true;
    }
  }
  pid_ = -1;
  pret_ = false;
  if (journal_ >= 0) {
    close(journal_);
    journal_ = -1;
  }
}

std::string ServeurX::Journal() {
  std::string texte;
  if (journal_ >= 0) {
    char morceau[4096];
    const ssize_t n = pread(journal_, morceau, sizeof(morceau), 0);
    if (n > 0) texte.assign(morceau, static_cast<size_t>(n));
  }
  if (fini_ && WIFEXITED(statut_)) texte += "\n(code de sortie " + std::to_string(WEXITSTATUS(statut_)) + ")";
  if (fini_ && WIFSIGNALED(statut_)) texte += "\n(tué par le signal " + std::to_string(WTERMSIG(statut_)) + ")";
  return texte.empty() ? "" : " ; Xvfb : " + texte;
}

}  // namespace testsupport
