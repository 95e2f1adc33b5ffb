#include "foundation/parallele.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "foundation/contexte_foundation.h"

namespace foundation {

namespace {

constexpr size_t FilsMaximum = 8;

// Set on a thread while it runs a slice.
thread_local bool dansUneTranche = false;

// A short wait in a loop that watches a value another thread changes.
inline void Patiente() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#else
  std::this_thread::yield();
#endif
}

// How long a worker watches for the next call before it sleeps, and how long
// a caller watches for the end of the slices before it sleeps: the calls of
// one redraw follow one another closely, and waking a sleeping thread costs
// tens of microseconds.
constexpr auto VeilleOuvrier = std::chrono::microseconds(500);
constexpr auto VeilleAppelant = std::chrono::microseconds(200);

// The workers of the process, started on first use and kept: one call at a
// time hands them its slices.
//
// A call is published as one 64-bit ticket: its number, the threads it may
// use, its number of slices and the next slice to take.  A thread takes slice
// s by moving the ticket from s to s + 1; it reads the call's function only
// after that, while the call cannot end, so that a ticket read late (of an
// ended call) is never acted on: its exchange fails.
class Equipe {
 public:
  static constexpr unsigned BitsTranche = 20;
  static constexpr size_t TranchesMax = (size_t{1} << BitsTranche) - 1;

  static Equipe& Instance() {
    static Equipe e;
    return e;
  }

  void Execute(size_t n, size_t tranches, size_t fils, const std::function<void(size_t, size_t, size_t)>& f) {
    std::lock_guard<std::mutex> unAppel(appel_);
    Demarre(fils - 1);
    travail_ = &f;
    n_ = n;
    finies_.store(0, std::memory_order_relaxed);
    erreur_ = nullptr;
    numero_ = (numero_ + 1) & MasqueNumero;
    const uint64_t ticket = (numero_ << DecalageNumero) | (uint64_t{fils} << DecalageFils) |
                            (uint64_t{tranches} << BitsTranche);
    ticket_.store(ticket, std::memory_order_seq_cst);
    if (dormeurs_.load(std::memory_order_seq_cst) > 0) {
      { std::lock_guard<std::mutex> l(m_); }
      reveil_.notify_all();
    }
    // The caller takes slices as well, then waits for the others' end.
    uint64_t t = ticket_.load(std::memory_order_acquire);
    while (Libre(t, 0)) {
      if (ticket_.compare_exchange_weak(t, t + 1, std::memory_order_acq_rel)) {
        Tranche(t);
        t = ticket_.load(std::memory_order_acquire);
      }
    }
    const auto toutesFinies = [&] { return finies_.load(std::memory_order_seq_cst) == tranches; };
    const auto limite = std::chrono::steady_clock::now() + VeilleAppelant;
    while (!toutesFinies()) {
      for (int k = 0; k < 64 && !toutesFinies(); ++k) Patiente();
      if (toutesFinies() || std::chrono::steady_clock::now() < limite) continue;
      std::unique_lock<std::mutex> l(m_);
      appelantDort_.store(true, std::memory_order_seq_cst);
      fin_.wait(l, toutesFinies);
      appelantDort_.store(false, std::memory_order_relaxed);
    }
    travail_ = nullptr;
    if (erreur_) std::rethrow_exception(std::exchange(erreur_, nullptr));
  }

 private:
  static constexpr unsigned DecalageFils = 2 * BitsTranche, DecalageNumero = DecalageFils + 4;
  static constexpr uint64_t MasqueTranche = TranchesMax, MasqueNumero = (uint64_t{1} << (64 - DecalageNumero)) - 1;

  Equipe() = default;
  ~Equipe() {
    {
      std::lock_guard<std::mutex> l(m_);
      arret_.store(true);
    }
    reveil_.notify_all();
    for (std::thread& t : fils_) t.join();
  }

  // Whether the ticket has a slice left for the thread of this rank (the
  // caller is 0, worker w is w + 1).
  static bool Libre(uint64_t ticket, size_t rang) {
    const size_t fils = (ticket >> DecalageFils) & 0xF;
    return rang < fils && (ticket & MasqueTranche) < ((ticket >> BitsTranche) & MasqueTranche);
  }

  void Demarre(size_t voulus) {
    while (fils_.size() < voulus) {
      const size_t rang = fils_.size() + 1;
      fils_.emplace_back([this, rang] { Boucle(rang); });
    }
  }

  // Runs the slice the ticket names, taken by this thread.
  void Tranche(uint64_t ticket) {
    const size_t t = ticket & MasqueTranche, tranches = (ticket >> BitsTranche) & MasqueTranche;
    const size_t debut = n_ * t / tranches, fin = n_ * (t + 1) / tranches;
    dansUneTranche = true;
    try {
      (*travail_)(t, debut, fin);
    } catch (const std::exception&) {
      std::lock_guard<std::mutex> l(m_);
      if (!erreur_) erreur_ = std::current_exception();
    }
    dansUneTranche = false;
    if (finies_.fetch_add(1, std::memory_order_seq_cst) + 1 == tranches &&
        appelantDort_.load(std::memory_order_seq_cst)) {
      { std::lock_guard<std::mutex> l(m_); }
      fin_.notify_all();
    }
  }

  void Boucle(size_t rang) {
    uint64_t t = ticket_.load(std::memory_order_acquire);
    for (;;) {
      if (Libre(t, rang)) {
        if (ticket_.compare_exchange_weak(t, t + 1, std::memory_order_acq_rel)) {
          Tranche(t);
          t = ticket_.load(std::memory_order_acquire);
        }
        continue;
      }
      // Nothing for this thread: it watches the ticket a while, then sleeps
      // until a call is published.
      const uint64_t vu = t;
      const auto limite = std::chrono::steady_clock::now() + VeilleOuvrier;
      while ((t = ticket_.load(std::memory_order_acquire)) == vu && !arret_.load(std::memory_order_relaxed)) {
        for (int k = 0; k < 64; ++k) Patiente();
        if (std::chrono::steady_clock::now() < limite) continue;
        std::unique_lock<std::mutex> l(m_);
        dormeurs_.fetch_add(1, std::memory_order_seq_cst);
        reveil_.wait(l, [&] { return arret_.load() || ticket_.load(std::memory_order_seq_cst) != vu; });
        dormeurs_.fetch_sub(1, std::memory_order_relaxed);
      }
      if (arret_.load()) return;
    }
  }

  std::mutex appel_;
  std::mutex m_;
  std::condition_variable reveil_, fin_;
  std::vector<std::thread> fils_;
  std::atomic<uint64_t> ticket_{0};
  std::atomic<size_t> finies_{0};
  std::atomic<int> dormeurs_{0};
  std::atomic<bool> appelantDort_{false}, arret_{false};
  // The call being run: written before its ticket, read by the threads that
  // took a slice of it.
  const std::function<void(size_t, size_t, size_t)>* travail_ = nullptr;
  size_t n_ = 0;
  uint64_t numero_ = 0;
  std::exception_ptr erreur_;
};

}  // namespace

size_t NombreFils() {
  const int voulu = ContexteFoundation().FilsMax;
  const size_t n = voulu > 0 ? static_cast<size_t>(voulu) : std::max(1u, std::thread::hardware_concurrency());
  return std::clamp<size_t>(n, 1, FilsMaximum);
}

void ParTranches(size_t n, size_t tranches, const std::function<void(size_t tranche, size_t debut, size_t fin)>& f) {
  if (tranches == 0) return;
  const size_t fils = std::min(NombreFils(), tranches);
  if (fils <= 1 || dansUneTranche) {
    for (size_t t = 0; t < tranches; ++t) f(t, n * t / tranches, n * (t + 1) / tranches);
    return;
  }
  if (tranches <= Equipe::TranchesMax) {
    Equipe::Instance().Execute(n, tranches, fils, f);
    return;
  }
  // More slices than a ticket counts: runs of them, each on one thread.
  const size_t paquets = Equipe::TranchesMax;
  Equipe::Instance().Execute(tranches, paquets, fils, [&](size_t, size_t premiere, size_t derniere) {
    for (size_t t = premiere; t < derniere; ++t) f(t, n * t / tranches, n * (t + 1) / tranches);
  });
}

}  // namespace foundation
