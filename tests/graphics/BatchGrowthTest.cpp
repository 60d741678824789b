// Making room in a frame batch: what it keeps, and the memory it holds while growing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

#include "DebugBatch.h"

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
int Square(std::size_t i) { return static_cast<int>(i * i); }

// What the editor does each frame: room first, then one record after the other.
void Append(Batch& batch, std::size_t count) {
  ReserveBatch(batch, count);
  for (std::size_t i = 0; i < count; ++i) batch.push_back(Square(i));
}

// A cleared batch of a long path holds a large capacity and a few elements when a grown path
// needs more: the old block must be gone before the new one is taken.
TEST(BatchGrowthTest, GrowingAClearedBatchNeverHoldsTheOldAndTheNewBlockAtOnce) {
  Ledger ledger;
  Batch batch{LedgerAllocator<int>(&ledger)};
  Append(batch, 100000);
  batch.clear();
  for (int edge = 1; edge <= 8; ++edge) batch.push_back(edge);  // the frame's edges
  ledger.peak = ledger.live;

  Append(batch, 100100);
  ASSERT_EQ(100108u, batch.size());
  EXPECT_EQ(8, batch[7]);
  EXPECT_EQ(Square(100099), batch.back());
  // The new block and the eight elements set aside, never the old block beside the new one.
  EXPECT_LE(ledger.peak, batch.capacity() * sizeof(int) + 8 * sizeof(int));
}

TEST(BatchGrowthTest, AGrownBatchHasRoomForAPathThatKeepsGrowingSlowly) {
  Ledger ledger;
  Batch batch{LedgerAllocator<int>(&ledger)};
  Append(batch, 100000);
  const int afterFirst = ledger.allocations;
  for (std::size_t more = 256; more <= 12000; more += 256) {
    batch.clear();
    Append(batch, 100000 + more);
  }
  EXPECT_EQ(afterFirst, ledger.allocations);
}

}  // namespace
