// Replaces the program's operator new and delete, in every form but the over-aligned ones, with
// counting ones over malloc and free. Every form is replaced, not only the two the others call
// by default: a sanitizer runtime brings forms of its own that would not know these blocks.
#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Every block starts with its size, kept in a header that keeps the block's alignment.
constexpr std::size_t kHeader = alignof(std::max_align_t);

std::atomic<std::size_t> gHeld{0};
std::atomic<std::size_t> gPeak{0};
std::atomic<std::size_t> gHeldAtMark{0};

void* Allocate(std::size_t size) noexcept {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (block == nullptr) return nullptr;
  *reinterpret_cast<std::size_t*>(block) = size;
  const std::size_t held = gHeld.fetch_add(size, std::memory_order_relaxed) + size;
  std::size_t peak = gPeak.load(std::memory_order_relaxed);
  while (held > peak && !gPeak.compare_exchange_weak(peak, held, std::memory_order_relaxed)) {
  }
  return block + kHeader;
}

void* AllocateOrThrow(std::size_t size) {
  void* data = Allocate(size);
  if (data == nullptr) throw std::bad_alloc();
  return data;
}

void Release(void* data) noexcept {
  if (data == nullptr) return;
  unsigned char* block = static_cast<unsigned char*>(data) - kHeader;
  gHeld.fetch_sub(*reinterpret_cast<std::size_t*>(block), std::memory_order_relaxed);
  std::free(block);
}

}  // namespace

namespace allocation {

void MarkPeak() {
  const std::size_t held = gHeld.load();
  gHeldAtMark = held;
  gPeak = held;
}

std::size_t PeakSinceMark() {
  const std::size_t peak = gPeak.load(), mark = gHeldAtMark.load();
  return peak > mark ? peak - mark : 0;
}

}  // namespace allocation

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* data) noexcept { Release(data); }
void operator delete[](void* data) noexcept { Release(data); }
void operator delete(void* data, std::size_t) noexcept { Release(data); }
void operator delete[](void* data, std::size_t) noexcept { Release(data); }
void operator delete(void* data, const std::nothrow_t&) noexcept { Release(data); }
void operator delete[](void* data, const std::nothrow_t&) noexcept { Release(data); }
