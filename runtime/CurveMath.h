// The calculus of one segment of a uniform cubic B-spline in double precision: its point and
// derivatives, its length between two parameters, and its direction of travel where the speed
// vanishes. Distances along the curve, walks and nearest points are built on these.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

#include "PathPoint.h"

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

// The point and the first derivative at t together, sharing the powers of t: what a walk
// along the curve asks for on every step. The point from the B-spline basis; the derivative from
// the differences of consecutive points (a quadratic B-spline), which are exactly zero where
// points repeat, so a curve that stands still has speed 0 and not rounding noise.
inline void PointAndVelocity(const Segment& segment, double t, Vec& point, Vec& velocity) {
  constexpr double kSixth = 1.0 / 6.0;
  const Vec* p = segment.p;
  const double u = 1.0 - t, t2 = t * t, u2 = u * u;
  const double b0 = u2 * u * kSixth, b1 = (3.0 * t2 * t - 6.0 * t2 + 4.0) * kSixth,
               b2 = (-3.0 * t2 * t + 3.0 * t2 + 3.0 * t + 1.0) * kSixth, b3 = t2 * t * kSixth;
  point = Vec{b0 * p[0].x + b1 * p[1].x + b2 * p[2].x + b3 * p[3].x,
              b0 * p[0].y + b1 * p[1].y + b2 * p[2].y + b3 * p[3].y};
  const double a0 = 0.5 * u2, a1 = (-2.0 * t2 + 2.0 * t + 1.0) * 0.5, a2 = 0.5 * t2;
  velocity = Vec{a0 * (p[1].x - p[0].x) + a1 * (p[2].x - p[1].x) + a2 * (p[3].x - p[2].x),
                 a0 * (p[1].y - p[0].y) + a1 * (p[2].y - p[1].y) + a2 * (p[3].y - p[2].y)};
}

// Derivative `order` (0 to 3) of the segment at t; the second and third from the differences
// too.
inline Vec Derivative(const Segment& segment, double t, int order) {
  if (order <= 1) {
    Vec point{0.0, 0.0}, velocity{0.0, 0.0};
    PointAndVelocity(segment, t, point, velocity);
    return order == 0 ? point : velocity;
  }
  const Vec* p = segment.p;
  const Vec d0{p[1].x - p[0].x, p[1].y - p[0].y}, d1{p[2].x - p[1].x, p[2].y - p[1].y},
      d2{p[3].x - p[2].x, p[3].y - p[2].y};
  const double w0 = order == 2 ? t - 1.0 : 1.0, w1 = order == 2 ? 1.0 - 2.0 * t : -2.0,
               w2 = order == 2 ? t : 1.0;
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
