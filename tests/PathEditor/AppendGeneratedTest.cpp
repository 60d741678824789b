// Appending computed elements to a frame batch: order, growth and the memory held while growing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

#include "AppendGenerated.h"

namespace {

// Counts the bytes a vector holds at once, and the most it ever held.
struct Ledger {
  std::size_t live = 0;
  std::size_t peak = 0;
  int allocations = 0;
};

template <typename T>
struct LedgerAllocator {
  using value_type = T;
  Ledger* ledger;
  explicit LedgerAllocator(Ledger* l) : ledger(l) {}
  template <typename U>
  LedgerAllocator(const LedgerAllocator<U>& other) : ledger(other.ledger) {}
  T* allocate(std::size_t n) {
    ledger->live += n * sizeof(T);
    ledger->peak = std::max(ledger->peak, ledger->live);
    ++ledger->allocations;
    return std::allocator<T>().allocate(n);
  }
  void deallocate(T* p, std::size_t n) {
    ledger->live -= n * sizeof(T);
    std::allocator<T>().deallocate(p, n);
  }
  bool operator==(const LedgerAllocator& other) const { return ledger == other.ledger; }
  bool operator!=(const LedgerAllocator& other) const { return ledger != other.ledger; }
};

using Batch = std::vector<int, LedgerAllocator<int>>;
const auto kSquare = [](std::size_t i) { return static_cast<int>(i * i); };

TEST(AppendGeneratedTest, KeepsWhatIsThereAndAppendsElementIOfTheRangeInOrder) {
  struct Case {
    std::vector<int> before;
    std::size_t reserved;
    std::size_t count;
  };
  const Case cases[] = {{{}, 0, 0}, {{}, 0, 5}, {{7, 8}, 2, 0}, {{7, 8}, 2, 5}, {{7, 8}, 100, 5}};
  for (const Case& c : cases) {
    Ledger ledger;
    Batch batch{LedgerAllocator<int>(&ledger)};
    batch.reserve(c.reserved);
    batch.insert(batch.end(), c.before.begin(), c.before.end());
    AppendGenerated(batch, c.count, kSquare);
    std::vector<int> expected = c.before;
    for (std::size_t i = 0; i < c.count; ++i) expected.push_back(kSquare(i));
    EXPECT_EQ(expected, std::vector<int>(batch.begin(), batch.end())) << c.before.size() << " + " << c.count;
  }
}

// A cleared batch of a long path holds a large capacity and a few elements when a grown path
// needs more: the old block must be gone before the new one is taken.
TEST(AppendGeneratedTest, GrowingAClearedBatchNeverHoldsTheOldAndTheNewBlockAtOnce) {
  Ledger ledger;
  Batch batch{LedgerAllocator<int>(&ledger)};
  AppendGenerated(batch, 100000, kSquare);
  batch.clear();
  for (int edge = 1; edge <= 8; ++edge) batch.push_back(edge);  // the frame's edges
  ledger.peak = ledger.live;

  AppendGenerated(batch, 100100, kSquare);
  ASSERT_EQ(100108u, batch.size());
  EXPECT_EQ(8, batch[7]);
  EXPECT_EQ(kSquare(100099), batch.back());
  // The new block and the eight elements set aside, never the old block beside the new one.
  EXPECT_LE(ledger.peak, batch.capacity() * sizeof(int) + 8 * sizeof(int));
}

TEST(AppendGeneratedTest, AGrownBatchHasRoomForAPathThatKeepsGrowingSlowly) {
  Ledger ledger;
  Batch batch{LedgerAllocator<int>(&ledger)};
  AppendGenerated(batch, 100000, kSquare);
  const int afterFirst = ledger.allocations;
  for (std::size_t more = 256; more <= 12000; more += 256) {
    batch.clear();
    AppendGenerated(batch, 100000 + more, kSquare);
  }
  EXPECT_EQ(afterFirst, ledger.allocations);
}

}  // namespace
