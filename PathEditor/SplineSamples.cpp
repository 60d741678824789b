// Rebuilding the curve samples: each sample worked out from its parameter; after a drag only
// the samples of the segments the moved point shapes.
#include <algorithm>
#include <cstring>
#include <vector>

#include "CubicBSpline.h"
#include "SampleParameters.h"

namespace {

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

vec2 CubicBSpline::SampleAt(float s, const WindowMap& map) const { return map.Apply(Evaluate(s)); }

void CubicBSpline::EvaluateSamples(std::size_t first, std::size_t last, const WindowMap& map) {
  for (std::size_t k = first; k < last; ++k) mSamples[k] = SampleAt(mSampleParameters[k], map);
  mEvaluatedSamples += last - first;
}

void CubicBSpline::RebuildSamples() {
  if (mSamplesValid) return;
  mSamplesValid = true;
  const std::int32_t moved = mMovedPoint;
  mMovedPoint = -1;
  const std::size_t count = mControlPoints.size();
  const WindowMap map = MakeWindowMap();
  // Same shape as the last rebuild and only one point moved: only its segments change.
  const bool onlyMoved = moved >= 0 && count >= 4 && mSampled.count == count &&
                         mSampled.points == mControlPoints.data() && SameBits(mSampled.rotation, mRotation) &&
                         SameBits(mSampled.scale, mScale);
  mSampled = SampledState{count, mRotation, mScale, mControlPoints.data()};
  if (onlyMoved) {
    RebuildAround(static_cast<std::uint32_t>(moved), map);
    return;
  }

  mSampleParameters.clear();
  if (count > 0) {
    const float end = static_cast<float>(std::max<long long>(1, static_cast<long long>(count) - 3));
    sampleparameters::ForEachSampleParameter(end, [this](float s) { mSampleParameters.push_back(s); });
  }
  mSamples.resize(mSampleParameters.size());
  EvaluateSamples(0, mSamples.size(), map);
}

void CubicBSpline::RebuildAround(std::uint32_t point, const WindowMap& map) {
  // Segment j, the samples whose parameter lies in [j, j + 1), is shaped by points j .. j + 3;
  // the samples at the end of the curve (parameter n - 3) by points n - 3 .. n - 1 and 0.
  const auto count = static_cast<std::uint32_t>(mControlPoints.size());
  const std::vector<float>& s = mSampleParameters;
  const float end = s.back();
  const auto firstAt = [&s](float parameter) {
    return static_cast<std::size_t>(std::lower_bound(s.begin(), s.end(), parameter) - s.begin());
  };
  const float from = static_cast<float>(point >= 3 ? point - 3 : 0);
  const float to = std::min(static_cast<float>(point) + 1.0f, end);
  EvaluateSamples(firstAt(from), firstAt(to), map);
  if (point + 3 >= count || point == 0) EvaluateSamples(firstAt(end), s.size(), map);
}
