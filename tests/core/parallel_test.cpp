// Sharing work over the threads: every piece once, a thread number no two
// running threads share, the exception a plain loop would throw, and pieces
// handed on in order through a bounded set of buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "basis/parallel.h"

using namespace zarvo;

namespace {

// Runs verdeelOverDraden and checks its promises while it runs.
void verdeelEnControleer(std::size_t n) {
  const std::size_t draden = std::min(n, aantalDraden());
  std::vector<std::atomic<int>> gedaan(n);
  std::vector<std::atomic<bool>> bezet(aantalDraden());
  verdeelOverDraden(n, [&](std::size_t i, std::size_t draad) {
    ASSERT_LT(draad, draden);
    EXPECT_FALSE(bezet[draad].exchange(true)) << "draad " << draad << " twee keer tegelijk";
    gedaan[i].fetch_add(1);
    // Long enough for the threads' pieces to overlap.
    const auto tot = std::chrono::steady_clock::now() + std::chrono::microseconds(5);
    while (std::chrono::steady_clock::now() < tot) {
    }
    bezet[draad].store(false);
  });
  for (std::size_t i = 0; i < n; ++i) ASSERT_EQ(gedaan[i].load(), 1) << "stuk " << i << " van " << n;
}

}  // namespace

TEST(Parallel, EveryPieceOnceOnAThreadOfItsOwnRoundAfterRound) {
  for (std::size_t n : {0u, 1u, 2u, 3u, 17u, 1000u}) verdeelEnControleer(n);
  // The threads are kept between calls: many small rounds in a row.
  for (int ronde = 0; ronde < 300; ++ronde) verdeelEnControleer(static_cast<std::size_t>(ronde % 7));

  // Two callers at once, and a call from inside a piece: each is whole.
  std::thread ander([] {
    for (int ronde = 0; ronde < 100; ++ronde) verdeelEnControleer(50);
  });
  for (int ronde = 0; ronde < 100; ++ronde) verdeelEnControleer(50);
  ander.join();
  std::atomic<int> binnen{0};
  verdeelOverDraden(4, [&](std::size_t, std::size_t) {
    verdeelOverDraden(10, [&](std::size_t, std::size_t) { binnen.fetch_add(1); });
  });
  EXPECT_EQ(binnen.load(), 40);
}

TEST(Parallel, ThrowsWhatTheLowestFailingPieceThrowsAndGoesOn) {
  for (int ronde = 0; ronde < 30; ++ronde) {
    try {
      verdeelOverDraden(200, [&](std::size_t i, std::size_t) {
        // The lowest failing piece fails last.
        if (i == 40) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (i == 40 || i == 41 || i == 150) throw std::runtime_error(std::to_string(i));
      });
      FAIL() << "geen uitzondering";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "40");
    }
  }
  verdeelEnControleer(100);
}

TEST(Parallel, PiecesAreHandedOnInOrderThroughTheBuffers) {
  for (const std::size_t plekken : {1u, 2u, 5u}) {
    for (const std::size_t n : {1u, 7u, 500u}) {
      SCOPED_TRACE(std::to_string(n) + " stukken, " + std::to_string(plekken) + " plekken");
      // What each buffer holds: the piece made into it, -1 when free.
      std::vector<std::atomic<long>> inPlek(plekken);
      for (auto& p : inPlek) p.store(-1);
      std::atomic<std::size_t> gemaakt{0};
      std::size_t gegeven = 0;
      const auto hier = std::this_thread::get_id();
      const bool klaar = maakOpVolgorde(
          n, plekken,
          [&](std::size_t i, std::size_t plek) {
            ASSERT_LT(plek, plekken);
            EXPECT_EQ(inPlek[plek].exchange(static_cast<long>(i)), -1) << "plek " << plek << " nog niet gegeven";
            gemaakt.fetch_add(1);
          },
          [&](std::size_t i, std::size_t plek) {
            EXPECT_EQ(std::this_thread::get_id(), hier);
            EXPECT_EQ(i, gegeven++);
            EXPECT_EQ(inPlek[plek].exchange(-1), static_cast<long>(i));
            return true;
          });
      EXPECT_TRUE(klaar);
      EXPECT_EQ(gegeven, n);
      EXPECT_EQ(gemaakt.load(), n);
    }
  }
}

TEST(Parallel, HandingOnStopsAtAFalseOrAnException) {
  for (int ronde = 0; ronde < 20; ++ronde) {
    std::atomic<std::size_t> gemaakt{0};
    std::size_t gegeven = 0;
    const bool klaar = maakOpVolgorde(
        1000, 3, [&](std::size_t, std::size_t) { gemaakt.fetch_add(1); },
        [&](std::size_t i, std::size_t) {
          ++gegeven;
          return i < 9;
        });
    EXPECT_FALSE(klaar);
    EXPECT_EQ(gegeven, 10u);
    // No more than the buffers hold is made ahead.
    EXPECT_LE(gemaakt.load(), 13u);

    try {
      maakOpVolgorde(
          1000, 4,
          [&](std::size_t i, std::size_t) {
            if (i == 30 || i == 31) throw std::runtime_error(std::to_string(i));
          },
          [&](std::size_t i, std::size_t) {
            EXPECT_LT(i, 30u);
            return true;
          });
      FAIL() << "geen uitzondering";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "30");
    }
  }
  verdeelEnControleer(100);
}
