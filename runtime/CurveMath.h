// The calculus of one segment of a uniform cubic B-spline in double precision: its point and
// derivatives, its length between two parameters, and its direction of travel where the speed
// vanishes. Distances along the curve, walks and nearest points are built on these.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

#include "PathPoint.h"
#include "SplineWeights.h"

namespace arclength {

struct Vec {
  double x, y;
};

inline double Norm(const Vec& v) { return std::sqrt(v.x * v.x + v.y * v.y); }

// The four points of the control sequence that shape segment i (elements i ... i + 3).
struct Segment {
  Vec p[4];
};

inline Segment SegmentOf(const std::vector<Vec>& sequence, std::size_t i) {
  return Segment{{sequence[i], sequence[i + 1], sequence[i + 2], sequence[i + 3]}};
}

// Derivative `order` (0 to 3) of the segment at t. The position from the B-spline basis; the
// derivatives from the differences of consecutive points (a quadratic B-spline and its own
// derivatives), which are exactly zero where points repeat, so a curve that stands still has
// speed 0 and not rounding noise.
inline Vec Derivative(const Segment& segment, double t, int order) {
  const Vec* p = segment.p;
  if (order == 0) {
    const splineweights::BasicWeights<double> w = splineweights::ExactWeightsAt(t);
    return Vec{w.b0 * p[0].x + w.b1 * p[1].x + w.b2 * p[2].x + w.b3 * p[3].x,
               w.b0 * p[0].y + w.b1 * p[1].y + w.b2 * p[2].y + w.b3 * p[3].y};
  }
  const Vec d0{p[1].x - p[0].x, p[1].y - p[0].y}, d1{p[2].x - p[1].x, p[2].y - p[1].y},
      d2{p[3].x - p[2].x, p[3].y - p[2].y};
  const double u = 1.0 - t;
  double w0 = 1.0, w1 = -2.0, w2 = 1.0;  // the third derivative
  if (order == 1) {
    w0 = 0.5 * u * u, w1 = 0.5 * (-2.0 * t * t + 2.0 * t + 1.0), w2 = 0.5 * t * t;
  } else if (order == 2) {
    w0 = -u, w1 = 1.0 - 2.0 * t, w2 = t;
  }
  return Vec{w0 * d0.x + w1 * d1.x + w2 * d2.x, w0 * d0.y + w1 * d1.y + w2 * d2.y};
}

inline double Speed(const Segment& segment, double t) { return Norm(Derivative(segment, t, 1)); }

// The largest distance, along either axis, of the segment's points from its first: the scale
// below which its derivatives are rounding noise.
double SizeOf(const Segment& segment);

// The length of the segment between t0 and t1 (t0 <= t1): five-point Gauss-Legendre quadrature
// of the speed, halved where the halves disagree with the whole (around a cusp, where the speed
// has a kink).
double LengthBetween(const Segment& segment, double t0, double t1);

// The unit direction of travel at t from the first derivative that does not vanish there. The
// speed is zero at a cusp, where the curve turns back along the second derivative: it arrives
// against it and moves on along it. Where three control points coincide the second is zero too
// and the third gives the direction on both sides. Nothing when the segment does not move.
std::optional<PathPoint> FirstDirection(const Segment& segment, double t, bool arriving);

}  // namespace arclength
