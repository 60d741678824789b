// Distance along a uniform cubic B-spline: a table of the length up to evenly spaced
// parameters, and the point, the direction and the nearest point by distance.
//
// Each segment is cut into kPiecesPerSegment pieces of equal parameter length, and each piece's
// length is the integral of the curve's speed by five-point Gauss-Legendre quadrature in double
// precision, halved where the halves disagree with the whole (around a cusp, where the speed has
// a kink). A distance is turned into a parameter by the walk index, a polynomial of the distance
// found in constant time (WalkIndex.h); where that is left to it, by a binary search over the
// pieces and Newton's method (bracketed, with bisection as its fallback) inside the piece.
#pragma once

#include <cstddef>
#include <vector>

#include "CurveMath.h"
#include "PathPoint.h"
#include "SplineCurve.h"
#include "WalkIndex.h"

namespace arclength {

constexpr std::size_t kPiecesPerSegment = 16;

// Element k of the control sequence of `count` points with these ends, in double: a pinned
// end's point beyond the curve, 2 P0 - P1, is then exact, and so is the curve's start on P0.
inline Vec SequenceElement(const PathPoint* points, std::size_t count, PathEnds ends, std::size_t k) {
  const splinecurve::SequencePoint e = splinecurve::SequenceAt(count, ends, k);
  const PathPoint &a = points[e.a], &b = points[e.b];
  return Vec{e.wa * static_cast<double>(a.x) + e.wb * static_cast<double>(b.x),
             e.wa * static_cast<double>(a.y) + e.wb * static_cast<double>(b.y)};
}

// The lengths of the segment's pieces summed in order: up to the end of piece m in sums[m], the
// segment's length in the last. A curve's length is its segments' lengths summed in order from
// the first, which an editor that keeps them per segment can sum to the same bits.
void PieceSums(const Segment& segment, double (&sums)[kPiecesPerSegment]);
inline double SegmentLength(const Segment& segment) {
  double sums[kPiecesPerSegment];
  PieceSums(segment, sums);
  return sums[kPiecesPerSegment - 1];
}

class Table {
public:
  Table() = default;
  // The table of the curve of `points` with these ends, over its control sequence kept in
  // double; empty when the points make no curve.
  Table(const std::vector<PathPoint>& points, PathEnds ends);

  // The length of the whole curve; 0 for an empty table.
  double Length() const { return mCumulative.empty() ? 0.0 : mCumulative.back(); }
  // The point at distance d along the curve. An open curve holds d to 0 ... Length(); a loop
  // goes round, d modulo Length(), a negative d backwards from the start. A NaN counts as 0, and
  // on a loop so does an infinite d. (0, 0) for an empty table.
  PathPoint PointAt(double d) const {
    if (mCumulative.empty()) return PathPoint{0.0f, 0.0f};
    d = Held(d);
    PathPoint p;
    if (!mWalk.PointAt(d, p)) return ExactPointAt(d);
    return p;
  }
  // The unit direction of travel at distance d: the first derivative that does not vanish
  // there, or where the curve stands still for a stretch, the direction it moves on with (at
  // the end of an open curve: arrived with). (0, 0) when the curve has length 0.
  PathPoint DirectionAt(double d) const { return PoseAt(d).direction; }
  // Both at once, for little more than the point alone.
  PathPose PoseAt(double d) const {
    if (mCumulative.empty()) return PathPose{{0.0f, 0.0f}, {0.0f, 0.0f}};
    d = Held(d);
    PathPose pose;
    if (!mWalk.PoseAt(d, pose)) return ExactPoseAt(d);
    return pose;
  }
  // The distance along the curve of the curve's point nearest to p, 0 ... Length() (on a loop
  // below Length()). 0 for an empty table and for a point that is not finite.
  double NearestDistance(const Vec& p) const;

  // A box around points, its sides parallel to the axes.
  struct Box {
    double left, bottom, right, top;
  };

private:
  // A place on the curve: piece `piece` of the table, segment `piece / kPiecesPerSegment`, at
  // the segment's own parameter t (0 ... 1).
  struct Place {
    std::size_t piece;
    double t;
  };
  // The distance d on the curve: held to it, or on a loop taken round it.
  double Held(double d) const {
    if (d >= 0.0 && d < Length()) return d;                  // the usual case, at once
    return mClosed ? Wrapped(d) : d > 0.0 ? Length() : 0.0;  // a NaN gives 0
  }
  double Wrapped(double d) const;
  Place Locate(double d) const;
  PathPoint ExactPointAt(double d) const;
  PathPose ExactPoseAt(double d) const;
  // The direction of travel at a place, by the rules above.
  PathPoint DirectionAt(const Place& place) const;
  // The box around the control points of each run of kBlockSegments segments: a search for the
  // nearest point passes over the runs whose box is farther than a point it has found.
  static constexpr std::size_t kBlockSegments = 8;
  static std::vector<Box> BlockBoxes(const std::vector<Vec>& sequence);

  std::vector<Vec> mSequence;       // the control sequence: the points expanded by the ends
  bool mClosed = false;             // a loop: the curve goes on from its end at its start
  std::vector<double> mCumulative;  // the length up to the start of each piece, and the total
  WalkIndex mWalk;
  std::vector<Box> mBlocks;
};

}  // namespace arclength
