// The arc length table of a curve, and the point and direction at a distance along it.
#include "ArcLength.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace arclength {

namespace {

constexpr double kPieceWidth = 1.0 / static_cast<double>(kPiecesPerSegment);

}  // namespace

Table::Table(const std::vector<PathPoint>& points, PathEnds ends) : mClosed(ends == PathEnds::Loop) {
  const std::size_t segments = splinecurve::SegmentCount(points.size(), ends);
  if (segments == 0) return;
  mSequence.reserve(segments + 3);
  for (std::size_t k = 0; k < segments + 3; ++k)
    mSequence.push_back(SequenceElement(points.data(), points.size(), ends, k));
  mCumulative.reserve(segments * kPiecesPerSegment + 1);
  std::vector<double> segmentStarts;
  segmentStarts.reserve(segments + 1);
  double total = 0.0;
  mCumulative.push_back(total);
  segmentStarts.push_back(total);
  for (std::size_t i = 0; i < segments; ++i) {
    double sums[kPiecesPerSegment];
    PieceSums(SegmentOf(mSequence, i), sums);
    for (const double sum : sums) mCumulative.push_back(total + sum);
    total += sums[kPiecesPerSegment - 1];  // the last of them, bit for bit
    segmentStarts.push_back(total);
  }
  mWalk = WalkIndex(mSequence, segmentStarts);
  mBlocks = BlockBoxes(mSequence);
}

void PieceSums(const Segment& segment, double (&sums)[kPiecesPerSegment]) {
  double sum = 0.0;
  for (std::size_t m = 0; m < kPiecesPerSegment; ++m) {
    sum += LengthBetween(segment, static_cast<double>(m) * kPieceWidth,
                         static_cast<double>(m + 1) * kPieceWidth);
    sums[m] = sum;
  }
}

double Table::Wrapped(double d) const {
  const double length = Length();
  if (!(length > 0.0) || !std::isfinite(d)) return 0.0;
  double wrapped = std::fmod(d, length);
  if (wrapped < 0.0) wrapped += length;
  return wrapped < length ? wrapped : 0.0;  // a tiny negative rest rounds up to a whole round
}

Table::Place Table::Locate(double d) const {
  const std::size_t pieces = mCumulative.size() - 1;
  d = Held(d);
  // The piece whose span holds d; at a joint the later piece, past a stretch of length 0.
  const auto after = std::upper_bound(mCumulative.begin(), mCumulative.end(), d);
  const std::size_t piece =
      std::min<std::size_t>(static_cast<std::size_t>(after - mCumulative.begin()) - 1, pieces - 1);
  const double t0 = static_cast<double>(piece % kPiecesPerSegment) * kPieceWidth;
  const double t1 = t0 + kPieceWidth;
  const double pieceLength = mCumulative[piece + 1] - mCumulative[piece];
  const double wanted = d - mCumulative[piece];
  if (!(pieceLength > 0.0) || wanted <= 0.0) return Place{piece, t0};
  if (wanted >= pieceLength) return Place{piece, t1};

  // LengthBetween(t0, t) - wanted rises from below 0 at t0 to at least 0 at t1 (the table's
  // own sum): Newton's steps from the linear guess, a bisection whenever a step leaves the
  // bracket.
  const Segment segment = SegmentOf(mSequence, piece / kPiecesPerSegment);
  double low = t0, high = t1;
  double t = t0 + kPieceWidth * (wanted / pieceLength);
  for (int step = 0; step < 60; ++step) {
    const double excess = LengthBetween(segment, t0, t) - wanted;
    if (std::abs(excess) <= 1e-12 * pieceLength) break;
    (excess > 0.0 ? high : low) = t;
    const double next = t - excess / Speed(segment, t);
    t = next > low && next < high ? next : 0.5 * (low + high);
    if (high - low <= 1e-15) break;
  }
  return Place{piece, t};
}

PathPoint Table::ExactPointAt(double d) const {
  const Place place = Locate(d);
  const Vec v = Derivative(SegmentOf(mSequence, place.piece / kPiecesPerSegment), place.t, 0);
  return PathPoint{static_cast<float>(v.x), static_cast<float>(v.y)};
}

PathPose Table::ExactPoseAt(double d) const {
  const Place place = Locate(d);
  const Vec p = Derivative(SegmentOf(mSequence, place.piece / kPiecesPerSegment), place.t, 0);
  const PathPoint position{static_cast<float>(p.x), static_cast<float>(p.y)};
  return PathPose{position, DirectionAt(place)};
}

PathPoint Table::DirectionAt(const Place& place) const {
  if (!(Length() > 0.0)) return PathPoint{0.0f, 0.0f};
  const std::size_t pieces = mCumulative.size() - 1;
  // The end of a loop is its start, where the curve moves on.
  const bool atTheEnd = place.piece + 1 == pieces && place.t == 1.0 && !mClosed;
  if (const auto direction =
          FirstDirection(SegmentOf(mSequence, place.piece / kPiecesPerSegment), place.t, atTheEnd))
    return *direction;

  // A stretch where the curve stands still: the first piece after it that moves, from its start;
  // on a loop, past its end from its start.
  const auto begin = mCumulative.begin();
  auto moving = std::upper_bound(begin + static_cast<std::ptrdiff_t>(place.piece) + 1, mCumulative.end(),
                                 mCumulative[place.piece + 1]);
  if (moving == mCumulative.end() && mClosed) moving = std::upper_bound(begin + 1, mCumulative.end(), 0.0);
  if (moving != mCumulative.end()) {
    const auto piece = static_cast<std::size_t>(moving - begin) - 1;
    const double t = static_cast<double>(piece % kPiecesPerSegment) * kPieceWidth;
    if (const auto direction = FirstDirection(SegmentOf(mSequence, piece / kPiecesPerSegment), t, false))
      return *direction;
  }
  // At the end of the curve: the last piece before the stretch that moves, at its end.
  const auto arrived =
      std::lower_bound(begin, begin + static_cast<std::ptrdiff_t>(place.piece) + 1, mCumulative[place.piece]);
  if (arrived != begin) {
    const auto piece = static_cast<std::size_t>(arrived - begin) - 1;
    const double t = static_cast<double>(piece % kPiecesPerSegment + 1) * kPieceWidth;
    if (const auto direction = FirstDirection(SegmentOf(mSequence, piece / kPiecesPerSegment), t, true))
      return *direction;
  }
  return PathPoint{0.0f, 0.0f};
}

}  // namespace arclength
