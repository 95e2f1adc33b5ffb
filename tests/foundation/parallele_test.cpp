#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <numeric>
#include <stdexcept>
#include <thread>
#include <vector>

#include "foundation/contexte_foundation.h"
#include "foundation/parallele.h"

using namespace foundation;

namespace {

// Every index is covered once, by the slice the formula gives, whatever the
// number of threads; outputs kept per slice and read in order give the
// serial result.
TEST(ParTranches, LesTranchesCouvrentToutDansLOrdre) {
  GardeContexteFoundation garde;
  for (int fils : {1, 2, 8}) {
    ContexteFoundation().FilsMax = fils;
    for (size_t n : {0u, 1u, 7u, 1000u}) {
      for (size_t tranches : {1u, 3u, 16u}) {
        std::vector<std::atomic<int>> vus(n);
        std::vector<std::vector<size_t>> sorties(tranches);
        ParTranches(n, tranches, [&](size_t t, size_t debut, size_t fin) {
          EXPECT_EQ(debut, n * t / tranches);
          EXPECT_EQ(fin, n * (t + 1) / tranches);
          for (size_t i = debut; i < fin; ++i) {
            ++vus[i];
            sorties[t].push_back(i);
          }
        });
        std::vector<size_t> bout;
        for (const auto& s : sorties) bout.insert(bout.end(), s.begin(), s.end());
        std::vector<size_t> attendu(n);
        std::iota(attendu.begin(), attendu.end(), size_t{0});
        EXPECT_EQ(bout, attendu) << fils << " fils, n=" << n << ", " << tranches << " tranches";
        for (size_t i = 0; i < n; ++i) EXPECT_EQ(vus[i].load(), 1);
      }
    }
  }
}

// More slices than one call hands out at once (over a million): each still
// runs once with its own bounds.
TEST(ParTranches, TresNombreusesTranches) {
  GardeContexteFoundation garde;
  ContexteFoundation().FilsMax = 8;
  const size_t tranches = (size_t{1} << 20) + 3, n = 2 * tranches + 1;
  std::vector<std::atomic<unsigned char>> vues(tranches);
  std::atomic<size_t> fausses{0};
  ParTranches(n, tranches, [&](size_t t, size_t debut, size_t fin) {
    ++vues[t];
    if (debut != n * t / tranches || fin != n * (t + 1) / tranches) ++fausses;
  });
  EXPECT_EQ(fausses.load(), 0u);
  size_t uneFois = 0;
  for (const auto& v : vues) uneFois += v.load() == 1;
  EXPECT_EQ(uneFois, tranches);
}

TEST(ParTranches, LeNombreDeFilsSuitLeReglage) {
  GardeContexteFoundation garde;
  ContexteFoundation().FilsMax = 1;
  EXPECT_EQ(NombreFils(), 1u);
  ContexteFoundation().FilsMax = 3;
  EXPECT_EQ(NombreFils(), 3u);
  ContexteFoundation().FilsMax = 100;
  EXPECT_EQ(NombreFils(), 8u);
  ContexteFoundation().FilsMax = 0;
  EXPECT_GE(NombreFils(), 1u);
  EXPECT_LE(NombreFils(), 8u);
  // With one thread, every slice runs on the caller.
  ContexteFoundation().FilsMax = 1;
  const auto moi = std::this_thread::get_id();
  ParTranches(10, 5, [&](size_t, size_t, size_t) { EXPECT_EQ(std::this_thread::get_id(), moi); });
}

// An exception ends the call once every slice has ended, and the workers
// serve the next call; a call from inside a slice runs on that thread.
TEST(ParTranches, ExceptionsEtAppelsImbriques) {
  GardeContexteFoundation garde;
  ContexteFoundation().FilsMax = 4;
  std::atomic<int> faites{0};
  EXPECT_THROW(ParTranches(100, 10,
                           [&](size_t t, size_t, size_t) {
                             ++faites;
                             if (t == 3) throw std::runtime_error("tranche 3");
                           }),
               std::runtime_error);
  EXPECT_EQ(faites.load(), 10);
  std::atomic<long> somme{0};
  ParTranches(4, 4, [&](size_t, size_t debut, size_t) {
    const auto moi = std::this_thread::get_id();
    ParTranches(10, 5, [&](size_t, size_t d, size_t f) {
      EXPECT_EQ(std::this_thread::get_id(), moi);
      for (size_t i = d; i < f; ++i) somme += static_cast<long>(debut * 100 + i);
    });
  });
  EXPECT_EQ(somme.load(), 4 * 45 + 100 * (0 + 1 + 2 + 3) * 10);
  // Calls after a pause (the workers have gone to sleep) and many short calls
  // in a row (they are still watching).
  for (int k = 0; k < 5; ++k) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    std::atomic<int> c{0};
    ParTranches(8, 8, [&](size_t, size_t, size_t) { ++c; });
    ASSERT_EQ(c.load(), 8);
  }
  for (int k = 0; k < 2000; ++k) {
    std::atomic<int> c{0};
    ParTranches(8, 8, [&](size_t, size_t, size_t) { ++c; });
    ASSERT_EQ(c.load(), 8);
  }
}

}  // namespace
