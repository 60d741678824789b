// Measuring again only the segments of the curve an edit changed, and summing them as the
// runtime does.
#include "PathLength.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "ArcLength.h"
#include "PathResource.h"

namespace {

bool SameBits(const PathPoint& a, const PathPoint& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// How the points of this measure relate to those of the last: the first `prefix` are the same
// points at the same places, the last `suffix` the same points at places shifted by the
// difference of the counts.
struct Unchanged {
  std::size_t count, oldCount, prefix, suffix;

  // Whether new point n is old point o.
  bool Same(std::size_t n, std::size_t o) const {
    return (n < prefix && o == n) || (n >= count - suffix && o + count == n + oldCount);
  }
};

// Whether element k of the new control sequence is element oldK of the old one, made of the
// same points with the same weights.
bool SameElement(const Unchanged& unchanged, PathEnds ends, std::size_t k, std::size_t oldK) {
  const splinecurve::SequencePoint now = splinecurve::SequenceAt(unchanged.count, ends, k);
  const splinecurve::SequencePoint before = splinecurve::SequenceAt(unchanged.oldCount, ends, oldK);
  return now.wa == before.wa && now.wb == before.wb && unchanged.Same(now.a, before.a) &&
         (now.wb == 0 || unchanged.Same(now.b, before.b));
}

bool SameSegment(const Unchanged& unchanged, PathEnds ends, std::size_t segment, std::size_t oldSegment) {
  for (std::size_t k = 0; k < 4; ++k)
    if (!SameElement(unchanged, ends, segment + k, oldSegment + k)) return false;
  return true;
}

}  // namespace

void PathLength::Measure(std::vector<PathPoint> framePoints, PathEnds ends) {
  const std::size_t count = framePoints.size(), oldCount = mPoints.size();
  Unchanged unchanged{count, oldCount, 0, 0};
  if (ends == mEnds) {
    const std::size_t shorter = std::min(count, oldCount);
    while (unchanged.prefix < shorter && SameBits(framePoints[unchanged.prefix], mPoints[unchanged.prefix]))
      ++unchanged.prefix;
    while (unchanged.suffix < shorter - unchanged.prefix &&
           SameBits(framePoints[count - 1 - unchanged.suffix], mPoints[oldCount - 1 - unchanged.suffix]))
      ++unchanged.suffix;
  }

  const std::size_t segments = splinecurve::SegmentCount(count, ends);
  const std::size_t oldSegments = ends == mEnds ? mSegmentLengths.size() : 0;
  // Elements first ... plain - 1 of a sequence are its points as they are, element k point
  // k - first; the rest are made of points at its ends (a pinned end, a loop going round).
  const std::size_t first = ends == PathEnds::Pinned ? 1 : 0;
  const std::size_t plain = std::min(count, oldCount) + first;
  std::vector<double> lengths(segments);
  for (std::size_t i = 0; i < segments; ++i) {
    // The same segment at the same place, or shifted with the points after an insertion or a
    // deletion: at once where its elements are plain in both sequences and made of unchanged
    // points, else element by element (near the changed points and the ends).
    const std::size_t shifted = i + oldCount - count;  // wraps past the end when out of range
    const bool plainHere = i >= first && i + 3 < plain;
    const bool plainShifted =
        i >= first && shifted >= first && i + 3 < count + first && shifted + 3 < oldCount + first;
    if (plainHere && i + 3 - first < unchanged.prefix) {
      lengths[i] = mSegmentLengths[i];
    } else if (plainShifted && i - first >= count - unchanged.suffix) {
      lengths[i] = mSegmentLengths[shifted];
    } else if (i < oldSegments && SameSegment(unchanged, ends, i, i)) {
      lengths[i] = mSegmentLengths[i];
    } else if (shifted < oldSegments && SameSegment(unchanged, ends, i, shifted)) {
      lengths[i] = mSegmentLengths[shifted];
    } else {
      const arclength::Segment segment{{arclength::SequenceElement(framePoints.data(), count, ends, i),
                                        arclength::SequenceElement(framePoints.data(), count, ends, i + 1),
                                        arclength::SequenceElement(framePoints.data(), count, ends, i + 2),
                                        arclength::SequenceElement(framePoints.data(), count, ends, i + 3)}};
      lengths[i] = arclength::SegmentLength(segment);
      ++mMeasuredSegments;
    }
  }

  double total = 0.0;
  for (const double length : lengths) total += length;
  // What the runtime refuses: points that are not finite; points so large that the curve may
  // leave the float range (it makes the samples to see), which the runtime itself decides; a
  // length beyond the float range.
  bool finite = true;
  float largest = 0.0f;
  for (const PathPoint& p : framePoints) {
    finite = finite && IsFinite(p);
    largest = std::max({largest, std::abs(p.x), std::abs(p.y)});
  }
  if (!finite || !(total <= FLT_MAX)) {
    total = 0.0;
  } else if (largest > FLT_MAX / 8.0f &&
             !PathResource::FromPoints(framePoints, ends, PathPoint{1.0f, 1.0f})) {
    total = 0.0;  // the frame's size plays no part in whether the runtime takes the points
  }

  mPoints = std::move(framePoints);
  mEnds = ends;
  mSegmentLengths = std::move(lengths);
  mLength = total;
}
