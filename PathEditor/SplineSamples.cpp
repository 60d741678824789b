// Rebuilding the curve samples: every segment's samples in one loop, at the places the segment
// schedule gives them; after a drag only the segments the moved point shapes.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "CubicBSpline.h"
#include "SampleSchedule.h"
#include "SplineWeights.h"

namespace {

constexpr float kStep = 0.01f;
constexpr int kBlock = 512;

// The sample parameters in order: 0, then 0.01 added in single precision again and again
// while the sum stays at or below `end`, then `end` itself once. Used for curves longer than
// the segment schedule describes.
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
      while (count < kBlock && out[count] <= mEnd && out[count - 1] + kStep == out[count]) ++count;
    }
    mNext = out[count - 1] + kStep;
    return count;
  }

private:
  float mEnd;
  float mNext = 0.0f;
  bool mDone = false;
};

// Samples of one segment at the offsets t (s minus the segment index): the same arithmetic as
// ToWindow(Evaluate(s)) for each parameter s. Built for several instruction sets, picked at
// load time; the arithmetic is the same in each (no contraction into fused operations).
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default"))) void EvaluateRun(
    const float* t, int count, const vec2& p0, const vec2& p1, const vec2& p2, const vec2& p3, float kc,
    float ks, vec2* out) {
  for (int q = 0; q < count; ++q) {
    const splineweights::Weights w = splineweights::WeightsAt(t[q]);
    const float x = splineweights::Sum(w, p0.x, p1.x, p2.x, p3.x);
    const float y = splineweights::Sum(w, p0.y, p1.y, p2.y, p3.y);
    out[q].x = kc * x - ks * y;
    out[q].y = ks * x + kc * y;
  }
}

// The same for weights taken from a run of the cache below: b0 of every sample, then b1, b2, b3.
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default"))) void EvaluateCachedRun(
    const float* weights, int count, const vec2& p0, const vec2& p1, const vec2& p2, const vec2& p3, float kc,
    float ks, vec2* out) {
  const float* b0 = weights;
  const float* b1 = weights + count;
  const float* b2 = weights + 2 * count;
  const float* b3 = weights + 3 * count;
  for (int q = 0; q < count; ++q) {
    const float x = b0[q] * p0.x + b1[q] * p1.x + b2[q] * p2.x + b3[q] * p3.x;
    const float y = b0[q] * p0.y + b1[q] * p1.y + b2[q] * p2.y + b3[q] * p3.y;
    out[q].x = kc * x - ks * y;
    out[q].y = ks * x + kc * y;
  }
}

// From segment 512 on, the segments of one binade of the parameter share a few runs of offsets:
// a segment's first offset is one of the grid values below the binade's step (about 160 of
// them from 512 to 1024, half as many in each binade after), and its further offsets follow
// from it. So the weights of each run are computed once and kept, a few hundred KB in all.
constexpr std::uint32_t kFirstCachedSegment = 512;

class WeightRuns {
public:
  // The weights of segment j's samples (j >= kFirstCachedSegment).
  const float* For(std::uint32_t j, const sampleschedule::Segment& run) {
    int e = 0;
    while ((j >> (e + 1)) != 0) ++e;
    const float grid = std::ldexp(1.0f, e - 23);
    std::vector<std::vector<float>>& binade = mBinades[e];
    // A first offset is below the step, so there are step / grid runs per binade.
    const auto index = static_cast<std::size_t>(run.offset / grid);
    if (binade.size() <= index) binade.resize(std::max(index + 1, static_cast<std::size_t>(run.step / grid)));
    std::vector<float>& weights = binade[index];
    if (weights.empty()) {
      float offsets[sampleschedule::kMaxCount];
      sampleschedule::Offsets(j, offsets);
      const std::size_t count = run.count;
      weights.resize(4 * count);
      for (std::size_t q = 0; q < count; ++q) {
        const splineweights::Weights w = splineweights::WeightsAt(offsets[q]);
        weights[q] = w.b0;
        weights[count + q] = w.b1;
        weights[2 * count + q] = w.b2;
        weights[3 * count + q] = w.b3;
      }
    }
    return weights.data();
  }

private:
  std::vector<std::vector<float>> mBinades[24];
};

WeightRuns& TheWeightRuns() {
  static WeightRuns runs;
  return runs;
}

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

void CubicBSpline::EvaluateSegmentSamples(std::uint32_t segment, const WindowMap& map) {
  const sampleschedule::Segment& run = sampleschedule::SegmentAt(segment);
  const splineweights::SegmentIndices at = splineweights::IndicesOf(segment, mControlPoints.size());
  const vec2* p = mControlPoints.data();
  vec2* out = mSamples.data() + run.first;
  const int count = static_cast<int>(run.count);
  if (segment >= kFirstCachedSegment) {
    EvaluateCachedRun(TheWeightRuns().For(segment, run), count, p[at.i0], p[at.i1], p[at.i2], p[at.i3],
                      map.kc, map.ks, out);
  } else {
    float offsets[sampleschedule::kMaxCount];
    sampleschedule::Offsets(segment, offsets);
    EvaluateRun(offsets, count, p[at.i0], p[at.i1], p[at.i2], p[at.i3], map.kc, map.ks, out);
  }
  mEvaluatedSamples += run.count;
}

void CubicBSpline::EvaluateEndSamples(std::uint32_t end, const WindowMap& map) {
  // The samples at s = end: offset 0 in segment `end`, whose last point wraps to point 0.
  const std::size_t first = sampleschedule::SegmentAt(end).first;
  const int count = static_cast<int>(mSamples.size() - first);
  const float zeros[2] = {0.0f, 0.0f};
  const splineweights::SegmentIndices at = splineweights::IndicesOf(end, mControlPoints.size());
  EvaluateRun(zeros, count, mControlPoints[at.i0], mControlPoints[at.i1], mControlPoints[at.i2],
              mControlPoints[at.i3], map.kc, map.ks, mSamples.data() + first);
  mEvaluatedSamples += static_cast<std::uint64_t>(count);
}

void CubicBSpline::RebuildSamples() {
  if (mSamplesValid) return;
  mSamplesValid = true;
  const std::int32_t moved = mMovedPoint;
  mMovedPoint = -1;
  const std::size_t count = mControlPoints.size();
  if (count == 0) {
    mSamples.clear();
    mSampled.fromSchedule = false;
    return;
  }
  const long long endValue = std::max<long long>(1, static_cast<long long>(count) - 3);
  const WindowMap map = MakeWindowMap();
  if (endValue > static_cast<long long>(sampleschedule::kMaxEnd)) {
    mSampled.fromSchedule = false;
    RebuildLongCurve(static_cast<float>(endValue), map);
    return;
  }

  const auto end = static_cast<std::uint32_t>(endValue);
  const std::size_t total = sampleschedule::SampleCount(end);
  // Same shape as the last rebuild and only one point moved: only its segments change.
  const bool onlyMoved = moved >= 0 && mSampled.fromSchedule && mSampled.count == count &&
                         mSampled.points == mControlPoints.data() && SameBits(mSampled.rotation, mRotation) &&
                         SameBits(mSampled.scale, mScale) && mSamples.size() == total;
  mSampled = SampledState{true, count, mRotation, mScale, mControlPoints.data()};
  // A list of the right length is overwritten in place; only a longer one is grown.
  mSamples.resize(total);
  if (count < 4) {
    std::fill(mSamples.begin(), mSamples.end(), map.Apply(vec2(0.0f, 0.0f)));
    mEvaluatedSamples += total;
    return;
  }

  if (onlyMoved) {
    // Segment j is shaped by points j .. j + 3; the samples at the end by n - 3 .. n - 1 and 0.
    const auto point = static_cast<std::uint32_t>(moved);
    const std::uint32_t from = point >= 3 ? point - 3 : 0;
    const std::uint32_t to = std::min(point, end - 1);
    for (std::uint32_t j = from; j <= to; ++j) EvaluateSegmentSamples(j, map);
    if (point + 3 >= count || point == 0) EvaluateEndSamples(end, map);
    return;
  }
  for (std::uint32_t j = 0; j < end; ++j) EvaluateSegmentSamples(j, map);
  EvaluateEndSamples(end, map);
}

void CubicBSpline::RebuildLongCurve(float end, const WindowMap& map) {
  mSamples.clear();
  const std::size_t count = mControlPoints.size();
  mSamples.reserve(static_cast<std::size_t>(end) * 100 + 3);
  ParameterBlocks parameters(end);
  float block[kBlock];
  float offsets[kBlock];
  for (int n = parameters.Next(block); n > 0; n = parameters.Next(block)) {
    const std::size_t base = mSamples.size();
    mSamples.resize(base + static_cast<std::size_t>(n));
    vec2* out = mSamples.data() + base;
    mEvaluatedSamples += static_cast<std::uint64_t>(n);
    for (int j = 0; j < n;) {
      const auto segment = static_cast<std::uint32_t>(block[j]);
      const float first = static_cast<float>(segment);
      // Parameters ascend, so the segment's run ends at the first one reaching segment + 1.
      const int k = static_cast<int>(std::lower_bound(block + j + 1, block + n, first + 1.0f) - block);
      for (int q = j; q < k; ++q) offsets[q - j] = block[q] - first;
      const splineweights::SegmentIndices at = splineweights::IndicesOf(segment, count);
      EvaluateRun(offsets, k - j, mControlPoints[at.i0], mControlPoints[at.i1], mControlPoints[at.i2],
                  mControlPoints[at.i3], map.kc, map.ks, out + j);
      j = k;
    }
  }
}
