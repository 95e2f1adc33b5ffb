#include "foundation/parallele.h"

#include <algorithm>
#include <atomic>
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

// The workers of the process, started on first use and kept: one call at a
// time hands them its slices.
class Equipe {
 public:
  static Equipe& Instance() {
    static Equipe e;
    return e;
  }

  void Execute(size_t n, size_t tranches, size_t fils,
               const std::function<void(size_t, size_t, size_t)>& f) {
    std::lock_guard<std::mutex> unAppel(appel_);
    Demarre(fils - 1);
    {
      std::lock_guard<std::mutex> l(m_);
      travail_ = &f;
      n_ = n;
      tranches_ = tranches;
      suivante_.store(0);
      finies_ = 0;
      erreur_ = nullptr;
      actifs_ = fils - 1;
      ++generation_;
    }
    reveil_.notify_all();
    Travaille();
    std::unique_lock<std::mutex> l(m_);
    fin_.wait(l, [&] { return finies_ == tranches_ && enCours_ == 0; });
    // A worker that wakes from now on finds nothing to do.
    actifs_ = 0;
    travail_ = nullptr;
    if (erreur_) std::rethrow_exception(std::exchange(erreur_, nullptr));
  }

 private:
  Equipe() = default;
  ~Equipe() {
    {
      std::lock_guard<std::mutex> l(m_);
      arret_ = true;
    }
    reveil_.notify_all();
    for (std::thread& t : fils_) t.join();
  }

  void Demarre(size_t voulus) {
    while (fils_.size() < voulus) {
      const uint64_t vue = generation_;
      fils_.emplace_back([this, vue] { Boucle(vue); });
    }
  }

  // Takes slices until none is left.
  void Travaille() {
    dansUneTranche = true;
    for (;;) {
      const size_t t = suivante_.fetch_add(1);
      if (t >= tranches_) break;
      const size_t debut = n_ * t / tranches_, fin = n_ * (t + 1) / tranches_;
      try {
        (*travail_)(t, debut, fin);
      } catch (const std::exception&) {
        std::lock_guard<std::mutex> l(m_);
        if (!erreur_) erreur_ = std::current_exception();
      }
      std::lock_guard<std::mutex> l(m_);
      if (++finies_ == tranches_) fin_.notify_all();
    }
    dansUneTranche = false;
  }

  void Boucle(uint64_t vue) {
    for (;;) {
      {
        std::unique_lock<std::mutex> l(m_);
        reveil_.wait(l, [&] { return arret_ || generation_ != vue; });
        if (arret_) return;
        vue = generation_;
        // A worker started after the call handed out its share has nothing to do.
        if (actifs_ == 0 || travail_ == nullptr) continue;
        --actifs_;
        ++enCours_;
      }
      Travaille();
      std::lock_guard<std::mutex> l(m_);
      --enCours_;
      if (enCours_ == 0) fin_.notify_all();
    }
  }

  std::mutex appel_;
  std::mutex m_;
  std::condition_variable reveil_, fin_;
  std::vector<std::thread> fils_;
  const std::function<void(size_t, size_t, size_t)>* travail_ = nullptr;
  size_t n_ = 0, tranches_ = 0, finies_ = 0, actifs_ = 0, enCours_ = 0;
  std::atomic<size_t> suivante_{0};
  std::exception_ptr erreur_;
  uint64_t generation_ = 0;
  bool arret_ = false;
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
  Equipe::Instance().Execute(n, tranches, fils, f);
}

}  // namespace foundation
