// Distance along a uniform cubic B-spline: a table of the length up to evenly spaced
// parameters, and the point and direction at a given distance.
//
// Each segment is cut into kPiecesPerSegment pieces of equal parameter length, and each piece's
// length is the integral of the curve's speed by five-point Gauss-Legendre quadrature in double
// precision, halved where the halves disagree with the whole (around a cusp, where the speed has
// a kink). A distance is turned back into a parameter by a binary search over the pieces and
// Newton's method (bracketed, with bisection as its fallback) inside the piece. Both are far
// finer than a polyline through the drawn samples, and a query costs O(log n) for n points.
#pragma once

#include <cstddef>
#include <vector>

#include "PathPoint.h"
#include "SplineCurve.h"

namespace arclength {

constexpr std::size_t kPiecesPerSegment = 16;

// A point in double precision.
struct Vec {
  double x, y;
};

class Table {
public:
  Table() = default;
  // The table of the curve of `points` with these ends, over its control sequence kept in
  // double; empty when the points make no curve.
  Table(const std::vector<PathPoint>& points, PathEnds ends);

  // The length of the whole curve; 0 for an empty table.
  double Length() const { return mCumulative.empty() ? 0.0 : mCumulative.back(); }
  // The point at distance d along the curve; d is held to 0 ... Length(), a NaN counts as 0.
  // (0, 0) for an empty table.
  PathPoint PointAt(double d) const;
  // The unit direction of travel at distance d: the first derivative that does not vanish
  // there, or where the curve stands still for a stretch, the direction it moves on with (at
  // the end of an open curve: arrived with). (0, 0) when the curve has length 0.
  PathPoint DirectionAt(double d) const;

private:
  // A place on the curve: piece `piece` of the table, segment `piece / kPiecesPerSegment`, at
  // the segment's own parameter t (0 ... 1).
  struct Place {
    std::size_t piece;
    double t;
  };
  Place Locate(double d) const;

  std::vector<Vec> mSequence;       // the control sequence: the points expanded by the ends
  bool mClosed = false;             // a loop: the curve goes on from its end at its start
  std::vector<double> mCumulative;  // the length up to the start of each piece, and the total
};

}  // namespace arclength
