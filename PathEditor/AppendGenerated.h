// Appending computed elements to a vector in one step: it grows once and every new element is
// written once (a resize would first fill the new elements with default values).
#pragma once

#include <cstddef>
#include <iterator>
#include <utility>
#include <vector>

namespace appendgenerated {

// Element i of the range is make(i).
template <typename Make>
class Iterator {
public:
  using iterator_category = std::random_access_iterator_tag;
  using value_type = decltype(std::declval<const Make&>()(std::size_t{0}));
  using difference_type = std::ptrdiff_t;
  using pointer = void;
  using reference = value_type;

  Iterator(const Make* make, std::size_t index) : mMake(make), mIndex(index) {}
  value_type operator*() const { return (*mMake)(mIndex); }
  value_type operator[](difference_type d) const { return (*mMake)(mIndex + static_cast<std::size_t>(d)); }
  Iterator& operator++() {
    ++mIndex;
    return *this;
  }
  Iterator operator++(int) {
    Iterator old = *this;
    ++mIndex;
    return old;
  }
  Iterator& operator--() {
    --mIndex;
    return *this;
  }
  Iterator operator--(int) {
    Iterator old = *this;
    --mIndex;
    return old;
  }
  Iterator& operator+=(difference_type d) {
    mIndex += static_cast<std::size_t>(d);
    return *this;
  }
  Iterator& operator-=(difference_type d) {
    mIndex -= static_cast<std::size_t>(d);
    return *this;
  }
  Iterator operator+(difference_type d) const {
    Iterator i = *this;
    return i += d;
  }
  Iterator operator-(difference_type d) const {
    Iterator i = *this;
    return i -= d;
  }
  difference_type operator-(const Iterator& other) const {
    return static_cast<difference_type>(mIndex) - static_cast<difference_type>(other.mIndex);
  }
  bool operator==(const Iterator& other) const { return mIndex == other.mIndex; }
  bool operator!=(const Iterator& other) const { return mIndex != other.mIndex; }
  bool operator<(const Iterator& other) const { return mIndex < other.mIndex; }
  bool operator>(const Iterator& other) const { return mIndex > other.mIndex; }
  bool operator<=(const Iterator& other) const { return mIndex <= other.mIndex; }
  bool operator>=(const Iterator& other) const { return mIndex >= other.mIndex; }

private:
  const Make* mMake;
  std::size_t mIndex;
};

// Moves out's elements into new storage with room for at least `needed`. The old storage is
// freed before the new one is taken, the few elements in use set aside meanwhile: a frame's
// batch is cleared and refilled, so a long path's batch holds hundreds of megabytes of capacity
// and only a handful of elements when it has to grow, and growing in place would hold both
// blocks at once. The new storage has an eighth more room, so a path that keeps growing by a
// point at a time does not reallocate every frame.
template <typename T, typename Allocator>
void GrowFreeingFirst(std::vector<T, Allocator>& out, std::size_t needed) {
  std::vector<T, Allocator> kept(std::make_move_iterator(out.begin()), std::make_move_iterator(out.end()),
                                 out.get_allocator());
  std::vector<T, Allocator>(out.get_allocator()).swap(out);
  out.reserve(needed + needed / 8);
  out.insert(out.end(), std::make_move_iterator(kept.begin()), std::make_move_iterator(kept.end()));
}

}  // namespace appendgenerated

// Appends make(0), make(1), ..., make(count - 1) to out.
template <typename T, typename Allocator, typename Make>
void AppendGenerated(std::vector<T, Allocator>& out, std::size_t count, const Make& make) {
  using Iterator = appendgenerated::Iterator<Make>;
  if (count > out.capacity() - out.size()) appendgenerated::GrowFreeingFirst(out, out.size() + count);
  out.insert(out.end(), Iterator(&make, 0), Iterator(&make, count));
}
