// The segment table of the sample parameters, grown on demand.
//
// Within one binade [2^e, 2^(e+1)) of the parameter, adding 0.01 in single precision adds the
// same amount every time: 0.01 rounded to the binade's grid, and never a tie for e >= 0. So a
// segment j >= 1 is an arithmetic run that integer arithmetic on that grid describes exactly;
// only segment 0 (several binades below 1) and the step out of a binade are added up in float.
#include "SampleSchedule.h"

#include <cmath>
#include <vector>

namespace sampleschedule {

namespace {

constexpr float kStep = 0.01f;

class Table {
public:
  Table() {
    // Segment 0: the accumulation itself.
    float s = 0.0f;
    while (s < 1.0f) {
      mFirstOffsets.push_back(s);
      s += kStep;
    }
    const auto count = static_cast<std::uint32_t>(mFirstOffsets.size());
    mSegments.push_back(Segment{0, count, 0.0f, 0.0f});
    mNextFirst = s;
    mNextIndex = count;
  }

  const Segment& At(std::uint32_t j) {
    while (mSegments.size() <= j) Grow();
    return mSegments[j];
  }

  const std::vector<float>& FirstOffsets() const { return mFirstOffsets; }

private:
  // Appends the next segment j, whose first parameter is mNextFirst, in [j, j + 1).
  void Grow() {
    const auto j = static_cast<std::uint32_t>(mSegments.size());
    int e = 0;
    while ((j >> (e + 1)) != 0) ++e;  // j in [2^e, 2^(e+1))
    const float grid = std::ldexp(1.0f, e - 23);
    const float base = std::ldexp(1.0f, e);
    const float step = (base + kStep) - base;
    const auto perUnit = std::uint32_t{1} << (23 - e);  // grid points in [j, j + 1)
    const auto stepUnits = static_cast<std::uint32_t>(step / grid);
    const auto firstUnits = static_cast<std::uint32_t>((mNextFirst - static_cast<float>(j)) / grid);
    const std::uint32_t count = (perUnit - firstUnits + stepUnits - 1) / stepUnits;
    mSegments.push_back(Segment{mNextIndex, count, mNextFirst - static_cast<float>(j), step});
    mNextIndex += count;
    if (j + 1 < (std::uint32_t{2} << e)) {
      // Still in the binade: the next run starts where this one's step lands past j + 1.
      const std::uint32_t rest = firstUnits + count * stepUnits - perUnit;
      mNextFirst = static_cast<float>(j + 1) + static_cast<float>(rest) * grid;
    } else {
      // Into the next binade: the one step whose rounding changes, taken in float.
      const float last =
          static_cast<float>(j) + static_cast<float>(firstUnits + (count - 1) * stepUnits) * grid;
      mNextFirst = last + kStep;
    }
  }

  std::vector<Segment> mSegments;
  std::vector<float> mFirstOffsets;  // segment 0's parameters
  float mNextFirst = 0.0f;
  std::uint32_t mNextIndex = 0;
};

Table& TheTable() {
  static Table table;
  return table;
}

}  // namespace

const Segment& SegmentAt(std::uint32_t j) { return TheTable().At(j); }

void Offsets(std::uint32_t j, float* out) {
  if (j == 0) {
    const std::vector<float>& first = TheTable().FirstOffsets();
    for (std::size_t q = 0; q < first.size(); ++q) out[q] = first[q];
    return;
  }
  const Segment& segment = SegmentAt(j);
  // offset + q * step is exact: every value lies on the binade's grid, below 1.
  for (std::uint32_t q = 0; q < segment.count; ++q)
    out[q] = segment.offset + static_cast<float>(q) * segment.step;
}

std::size_t SampleCount(std::uint32_t end) {
  const Segment& last = SegmentAt(end);
  // A parameter landing exactly on end is taken like any other, and end follows once more.
  return std::size_t{last.first} + (last.offset == 0.0f ? 1u : 0u) + 1u;
}

}  // namespace sampleschedule
