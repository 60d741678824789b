// Rebuilding the curve samples from the weights of each sample, which depend on the number of
// points alone; after a drag only the samples of the segments the moved point shapes.
#include <algorithm>
#include <cstring>
#include <vector>

#include "CubicBSpline.h"
#include "SampleParameters.h"
#include "SplineCurve.h"

namespace {

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

void CubicBSpline::PlaceSamples() {
  mSampleWeights.clear();
  mSegmentFirstSample.clear();
  const std::size_t count = mControlPoints.size();
  if (count == 0) return;
  const bool curve = count >= splinecurve::MinimumPoints(mEnds);
  // Sample k of parameter s is kept with segment i = s truncated; the end's sample with a
  // segment of its own. Segments without a sample (only past the point where the step stops
  // advancing) start where the next one does. The weights are those of the place the sample
  // lies at, carried onto the segment's control points.
  sampleparameters::ForEachSampleParameter(splinecurve::EndParameter(count, mEnds), [&](float s) {
    const auto i = static_cast<std::uint32_t>(s);
    while (mSegmentFirstSample.size() <= i) mSegmentFirstSample.push_back(mSampleWeights.size());
    if (!curve) {
      mSampleWeights.push_back(splineweights::Weights{0.0f, 0.0f, 0.0f, 0.0f});  // the origin's
      return;
    }
    const splinecurve::Place place = splinecurve::PlaceOf(count, mEnds, s);
    const splinecurve::Terms<float> terms =
        splinecurve::SegmentTerms(count, mEnds, place.segment, splineweights::WeightsAt(place.t));
    mSampleWeights.push_back(
        splineweights::Weights{terms.weight[0], terms.weight[1], terms.weight[2], terms.weight[3]});
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
    // ToWindow(Evaluate(s)) of each sample; without a curve Evaluate gives (0, 0).
    if (count < splinecurve::MinimumPoints(mEnds)) {
      std::fill(out + from, out + to, map.Apply(vec2(0.0f, 0.0f)));
      continue;
    }
    const splinecurve::Terms<float> terms = SegmentPoints(i);
    const std::size_t* at = terms.index;
    const vec2 p0 = mControlPoints[at[0]], p1 = mControlPoints[at[1]];
    const vec2 p2 = mControlPoints[at[2]], p3 = mControlPoints[at[3]];
    for (std::size_t k = from; k < to; ++k) {
      const splineweights::Weights& w = weights[k];
      const vec2 local(splineweights::Sum(w, p0.x, p1.x, p2.x, p3.x),
                       splineweights::Sum(w, p0.y, p1.y, p2.y, p3.y));
      out[k] = map.Apply(local);
    }
  }
}

splinecurve::Terms<float> CubicBSpline::SegmentPoints(std::size_t segment) const {
  // The points a segment weighs do not depend on the weights.
  return splinecurve::SegmentTerms(mControlPoints.size(), mEnds, segment,
                                   splineweights::Weights{1.0f, 1.0f, 1.0f, 1.0f});
}

void CubicBSpline::RebuildSamples() {
  if (mSamplesValid) return;
  mSamplesValid = true;
  const std::int32_t moved = mMovedPoint;
  mMovedPoint = -1;
  const std::size_t count = mControlPoints.size();
  const WindowMap map = MakeWindowMap();
  const bool sameShape = mSampled.count == count && mSampled.ends == mEnds && !mSegmentFirstSample.empty();
  // Same shape as the last rebuild and only one point moved: only its segments change.
  const bool onlyMoved = moved >= 0 && count >= splinecurve::MinimumPoints(mEnds) && sameShape &&
                         mSampled.points == mControlPoints.data() && SameBits(mSampled.rotation, mRotation) &&
                         SameBits(mSampled.scale, mScale);
  mSampled = SampledState{count, mEnds, mRotation, mScale, mControlPoints.data()};
  if (!sameShape) PlaceSamples();
  mSamples.resize(mSampleWeights.size());
  if (mSamples.empty()) return;
  const auto last = static_cast<std::uint32_t>(mSegmentFirstSample.size() - 2);  // the end's segment
  if (!onlyMoved) {
    EvaluateSegments(0, last, map);
    return;
  }
  // A point shapes the segments from three before it to itself (on a loop going round, on a
  // pinned path also one after it, whose first point it makes), and perhaps the end's.
  const auto point = static_cast<std::size_t>(moved);
  std::uint32_t done[6];
  std::size_t doneCount = 0;
  const auto evaluateIfShaped = [&](std::size_t segment) {
    const auto slot = static_cast<std::uint32_t>(segment);
    for (std::size_t j = 0; j < doneCount; ++j)
      if (done[j] == slot) return;
    const splinecurve::Terms<float> terms = SegmentPoints(segment);
    const std::size_t* at = terms.index;
    if (at[0] != point && at[1] != point && at[2] != point && at[3] != point) return;
    done[doneCount++] = slot;
    EvaluateSegments(slot, slot, map);
  };
  // Segments point - 3 ... point + 1; a loop's `last` segments go round.
  for (std::size_t m = 0; m < 5; ++m) {
    if (mEnds == PathEnds::Loop) {
      evaluateIfShaped((point + m + last - 3) % last);
    } else if (point + m >= 3 && point + m - 3 < last) {
      evaluateIfShaped(point + m - 3);
    }
  }
  evaluateIfShaped(last);
}
