// Rebuilding the curve samples: parameters in blocks, then each segment's samples in one loop.
#include <algorithm>

#include "CubicBSpline.h"
#include "SplineMath.h"

namespace {

constexpr float kStep = 0.01f;
constexpr int kBlock = 512;

// The sample parameters in order: 0, then 0.01 added in single precision again and again
// while the sum stays at or below `end`, then `end` itself once.
class ParameterBlocks {
public:
  explicit ParameterBlocks(float end) : mEnd(end) {}

  // Writes the next parameters (at most kBlock) to out and returns their number; 0 at the end.
  int Next(float* out) {
    if (mDone) return 0;
    const float s = mNext;
    if (s > mEnd) {
      out[0] = mEnd;
      mDone = true;
      return 1;
    }
    const float next = s + kStep;
    if (!(next > s)) {
      // The step no longer changes a parameter this large: finish with the end of the curve
      // instead of sampling the same parameter forever.
      out[0] = s;
      out[1] = mEnd;
      mDone = true;
      return 2;
    }
    // Within one binade the sum grows by a constant amount, so a whole run is proposed at once
    // and then checked, step by step, against the additions it stands for. The checks do not
    // depend on each other, so they run far faster than the chain of additions.
    const float delta = next - s;
    for (int m = 0; m < kBlock; ++m) out[m] = s + static_cast<float>(m) * delta;
    int bad = 0;
    for (int m = 1; m < kBlock; ++m)
      bad |= static_cast<int>(out[m] > mEnd) | static_cast<int>(out[m - 1] + kStep != out[m]);
    int count = kBlock;
    if (bad != 0) {
      count = 1;
      while (count < kBlock && out[count] <= mEnd && out[count - 1] + kStep == out[count])
        ++count;
    }
    mNext = out[count - 1] + kStep;
    return count;
  }

private:
  float mEnd;
  float mNext = 0.0f;
  bool mDone = false;
};

// Samples of one segment, whose first parameter is `first`: the same arithmetic as
// ToWindow(Evaluate(s)) for each parameter s.
void EvaluateRun(const float* parameters, int count, float first, const vec2& p0,
                 const vec2& p1, const vec2& p2, const vec2& p3, float kc, float ks,
                 vec2* out) {
  for (int q = 0; q < count; ++q) {
    const splinemath::Weights w = splinemath::WeightsAt(parameters[q] - first);
    const float x = splinemath::Sum(w, p0.x, p1.x, p2.x, p3.x);
    const float y = splinemath::Sum(w, p0.y, p1.y, p2.y, p3.y);
    out[q].x = kc * x - ks * y;
    out[q].y = ks * x + kc * y;
  }
}

}  // namespace

void CubicBSpline::RebuildSamples() {
  if (mSamplesValid) return;
  mSamplesValid = true;
  mSamples.clear();
  const std::size_t count = mControlPoints.size();
  if (count == 0) return;
  const float end =
      static_cast<float>(std::max<long long>(1, static_cast<long long>(count) - 3));
  mSamples.reserve(static_cast<std::size_t>(end) * 100 + 3);
  const WindowMap map = MakeWindowMap();
  const vec2 origin = map.Apply(vec2(0.0f, 0.0f));  // every sample of a curve under four points

  ParameterBlocks parameters(end);
  float block[kBlock];
  for (int n = parameters.Next(block); n > 0; n = parameters.Next(block)) {
    const std::size_t base = mSamples.size();
    mSamples.resize(base + static_cast<std::size_t>(n));
    vec2* out = mSamples.data() + base;
    if (count < 4) {
      std::fill(out, out + n, origin);
      continue;
    }
    for (int j = 0; j < n;) {
      const auto segment = static_cast<std::uint32_t>(block[j]);
      const float first = static_cast<float>(segment);
      // Parameters ascend, so the segment's run ends at the first one reaching segment + 1.
      const int k = static_cast<int>(
          std::lower_bound(block + j + 1, block + n, first + 1.0f) - block);
      const splinemath::SegmentIndices at = splinemath::IndicesOf(segment, count);
      EvaluateRun(block + j, k - j, first, mControlPoints[at.i0], mControlPoints[at.i1],
                  mControlPoints[at.i2], mControlPoints[at.i3], map.kc, map.ks, out + j);
      j = k;
    }
  }
}
