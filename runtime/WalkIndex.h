// Positions by distance in constant time: the curve's parameter as a polynomial of the distance
// on short pieces of the curve, found through a grid of evenly spaced distances.
//
// Each segment is halved into pieces until, on each, the quintic in the distance that matches
// the parameter and its first two derivatives at both ends (which the curve gives exactly) puts
// the curve's point within kTolerance of the exact one at three places between them. A piece
// that still misses after kMaxHalvings halvings (around a cusp, where the parameter is no
// smooth function of the distance), where the speed is rounding noise, or that does not move,
// is left to the exact inversion. The grid names, for each of its evenly spaced distances, the
// piece that holds it; a lookup reads one cell, steps over the few pieces that may start in it,
// and sums one polynomial for the parameter, then the segment's own, kept in powers of t, for
// the point (and its derivative for the direction, CubicSegment.h). Segments too small or too
// large for a direction in single precision are left to the exact inversion whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "CubicSegment.h"
#include "CurveMath.h"
#include "PathPoint.h"

namespace arclength {

class WalkIndex {
public:
  // The largest distance, in pixels, of a position from the exact one at a piece's checks.
  static constexpr double kTolerance = 2.5e-4;
  static constexpr int kMaxHalvings = 12;
  // The sizes of segment (SizeOf) the index takes, for directions in single precision: a piece's
  // speed is then at least 1e-9 of its segment's size (above 2^-40) at its ends and checks, and
  // nowhere above 2^60.
  static constexpr double kSmallestSize = 0x1p-10;
  static constexpr double kLargestSize = 0x1p58;

  WalkIndex() = default;
  // The index of the curve of `sequence` (segments 0 ... size - 4), given the length up to the
  // start of each segment and the total (segments + 1 values). Empty when the curve does not
  // move or its length is not finite.
  WalkIndex(const std::vector<Vec>& sequence, const std::vector<double>& segmentStarts);

  // The point at distance d (0 ... the length); false where the exact inversion must find it.
  bool PointAt(double d, PathPoint& point) const {
    const Place place = PlaceAt(d);
    if (!(place.t == place.t)) return false;  // a NaN
    point = PointOf(mCubics[place.segment], place.t);
    return true;
  }
  // The point and the unit direction of travel there.
  bool PoseAt(double d, PathPose& pose) const {
    const Place place = PlaceAt(d);
    if (!(place.t == place.t)) return false;
    pose = PoseOf(mCubics[place.segment], place.t);
    return true;
  }

private:
  // Where distance d lies: its segment, and t within it; a NaN t where the exact inversion must
  // find it.
  struct Place {
    std::size_t segment;
    double t;
  };
  Place PlaceAt(double d) const {
    if (mGrid.empty()) return Place{0, std::numeric_limits<double>::quiet_NaN()};
    auto cell = static_cast<std::size_t>(d * mCellsPerPixel);
    if (cell >= mGrid.size()) cell = mGrid.size() - 1;
    std::size_t k = mGrid[cell];
    while (mStarts[k + 1] <= d) ++k;  // seldom a step; the last start is infinity
    const Piece& piece = mPieces[k];
    // The polynomial by Estrin's scheme: its terms in pairs, for a short chain of dependencies.
    const double x = d - piece.start, x2 = x * x, x4 = x2 * x2;
    const double* c = piece.c;
    return Place{piece.segment, (c[0] + c[1] * x) + x2 * (c[2] + c[3] * x) + x4 * (c[4] + c[5] * x)};
  }

  // A piece from distance `start` on: the parameter t of its segment is the polynomial c of
  // x = d - start; c[0] is NaN for the exact inversion.
  struct alignas(64) Piece {  // one cache line
    double start;
    double c[6];
    std::size_t segment;
  };

  void AddPiece(const Segment& segment, std::size_t index, double size, double t0, double t1, double d0,
                double d1, int halvings);

  std::vector<Cubic> mCubics;
  std::vector<Piece> mPieces;
  std::vector<double> mStarts;       // each piece's start, then infinity: the steps read only these
  std::vector<std::uint32_t> mGrid;  // the first piece each evenly spaced distance may fall in
  double mCellsPerPixel = 0.0;
};

}  // namespace arclength
