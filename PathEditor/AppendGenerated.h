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
  value_type operator[](difference_type d) const {
    return (*mMake)(mIndex + static_cast<std::size_t>(d));
  }
  Iterator& operator++() { ++mIndex; return *this; }
  Iterator operator++(int) { Iterator old = *this; ++mIndex; return old; }
  Iterator& operator--() { --mIndex; return *this; }
  Iterator operator--(int) { Iterator old = *this; --mIndex; return old; }
  Iterator& operator+=(difference_type d) { mIndex += static_cast<std::size_t>(d); return *this; }
  Iterator& operator-=(difference_type d) { mIndex -= static_cast<std::size_t>(d); return *this; }
  Iterator operator+(difference_type d) const { Iterator i = *this; return i += d; }
  Iterator operator-(difference_type d) const { Iterator i = *this; return i -= d; }
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

}  // namespace appendgenerated

// Appends make(0), make(1), ..., make(count - 1) to out.
template <typename T, typename Make>
void AppendGenerated(std::vector<T>& out, std::size_t count, const Make& make) {
  using Iterator = appendgenerated::Iterator<Make>;
  out.insert(out.end(), Iterator(&make, 0), Iterator(&make, count));
}
