// Rebuilding the curve samples from the weights of each sample, which depend on the number of
// points alone; after a drag only the samples of the segments the moved point shapes.
#include <algorithm>
#include <cstring>
#include <vector>

#include "CubicBSpline.h"
#include "SampleParameters.h"

namespace {

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

void CubicBSpline::PlaceSamples(std::size_t count) {
  mSampleWeights.clear();
  mSegmentFirstSample.clear();
  if (count == 0) return;
  // Sample k of parameter s lies in segment i = s truncated, at t = s - i. Segments without a
  // sample (only past the point where the step stops advancing) start where the next one does.
  const float end = static_cast<float>(std::max<long long>(1, static_cast<long long>(count) - 3));
  sampleparameters::ForEachSampleParameter(end, [this](float s) {
    const auto i = static_cast<std::uint32_t>(s);
    while (mSegmentFirstSample.size() <= i) mSegmentFirstSample.push_back(mSampleWeights.size());
    mSampleWeights.push_back(splineweights::WeightsAt(s - static_cast<float>(i)));
  });
  mSegmentFirstSample.push_back(mSampleWeights.size());
}

void CubicBSpline::EvaluateSegments(std::uint32_t first, std::uint32_t last, const WindowMap& map) {
  const std::size_t count = mControlPoints.size();
  const splineweights::Weights* weights = mSampleWeights.data();
  vec2* out = mSamples.data();
  for (std::uint32_t i = first; i <= last; ++i) {
    const std::size_t from = mSegmentFirstSample[i], to = mSegmentFirstSample[i + 1];
    mEvaluatedSamples += to - from;
    // ToWindow(Evaluate(s)) of each sample; below four points Evaluate gives (0, 0).
    if (count < 4) {
      std::fill(out + from, out + to, map.Apply(vec2(0.0f, 0.0f)));
      continue;
    }
    const splineweights::SegmentIndices at = splineweights::IndicesOf(i, count);
    const vec2 p0 = mControlPoints[at.i0], p1 = mControlPoints[at.i1];
    const vec2 p2 = mControlPoints[at.i2], p3 = mControlPoints[at.i3];
    for (std::size_t k = from; k < to; ++k) {
      const splineweights::Weights& w = weights[k];
      const vec2 local(splineweights::Sum(w, p0.x, p1.x, p2.x, p3.x),
                       splineweights::Sum(w, p0.y, p1.y, p2.y, p3.y));
      out[k] = map.Apply(local);
    }
  }
}

void CubicBSpline::RebuildSamples() {
  if (mSamplesValid) return;
  mSamplesValid = true;
  const std::int32_t moved = mMovedPoint;
  mMovedPoint = -1;
  const std::size_t count = mControlPoints.size();
  const WindowMap map = MakeWindowMap();
  const bool sameCount = mSampled.count == count && !mSegmentFirstSample.empty();
  // Same shape as the last rebuild and only one point moved: only its segments change.
  const bool onlyMoved = moved >= 0 && count >= 4 && sameCount && mSampled.points == mControlPoints.data() &&
                         SameBits(mSampled.rotation, mRotation) && SameBits(mSampled.scale, mScale);
  mSampled = SampledState{count, mRotation, mScale, mControlPoints.data()};
  if (!sameCount) PlaceSamples(count);
  mSamples.resize(mSampleWeights.size());
  if (mSamples.empty()) return;
  // Segment j is shaped by points j .. j + 3; the last segment, the samples at the end of the
  // curve (parameter n - 3), by points n - 3 .. n - 1 and 0.
  const auto last = static_cast<std::uint32_t>(mSegmentFirstSample.size() - 2);
  if (!onlyMoved) {
    EvaluateSegments(0, last, map);
    return;
  }
  const auto point = static_cast<std::uint32_t>(moved);
  EvaluateSegments(point >= 3 ? point - 3 : 0, std::min(point, last - 1), map);
  if (point + 3 >= count || point == 0) EvaluateSegments(last, last, map);
}
