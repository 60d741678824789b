// Where every curve segment's samples fall in the sample list, and at which offsets: the same
// for every path, since the sample parameters only accumulate 0.01 in single precision.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sampleschedule {

// The samples whose parameter s has the integer part j (segment j of the curve).
struct Segment {
  std::uint32_t first;  // index of its first sample in the accumulated sequence 0, 0.01, ...
  std::uint32_t count;  // number of its samples
  float offset;         // s - j of its first sample
  float step;           // s - j grows by this from one sample to the next (not in segment 0)
};

// Largest curve end the schedule describes. Not much further the step stops changing the
// parameter at all, and the rebuild takes its general path instead.
constexpr std::uint32_t kMaxEnd = 131071;
// No segment holds more samples than this.
constexpr std::uint32_t kMaxCount = 256;

// Segment j, for j <= kMaxEnd.
const Segment& SegmentAt(std::uint32_t j);

// Writes the s - j of every sample of segment j, in order, to out (SegmentAt(j).count values).
void Offsets(std::uint32_t j, float* out);

// Number of samples of a curve whose last parameter is end (1 <= end <= kMaxEnd): every
// accumulated parameter up to end, then end itself.
std::size_t SampleCount(std::uint32_t end);

}  // namespace sampleschedule
