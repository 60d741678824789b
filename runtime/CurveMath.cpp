// Lengths and directions of travel of one segment of the curve.
#include "CurveMath.h"

#include <algorithm>

namespace arclength {

namespace {

// Five-point Gauss-Legendre quadrature of the speed between t0 and t1, exact for polynomials up
// to degree nine.
double GaussLegendre(const Segment& segment, double t0, double t1) {
  static const double kNodes[5] = {0.0, -0.5384693101056831, 0.5384693101056831, -0.9061798459386640,
                                   0.9061798459386640};
  static const double kWeights[5] = {0.5688888888888889, 0.4786286704993665, 0.4786286704993665,
                                     0.2369268850561891, 0.2369268850561891};
  const double half = 0.5 * (t1 - t0), middle = 0.5 * (t0 + t1);
  double sum = 0.0;
  for (int k = 0; k < 5; ++k) sum += kWeights[k] * Speed(segment, middle + half * kNodes[k]);
  return sum * half;
}

// The quadrature over both halves, halved again where they disagree with the whole. The speed is
// smooth but for a kink where it touches zero (a cusp), which one rule over the whole span
// misses by a few thousandths of a pixel; the halving closes in on it.
double AdaptiveLength(const Segment& segment, double t0, double t1, double whole, int depth) {
  const double middle = 0.5 * (t0 + t1);
  const double left = GaussLegendre(segment, t0, middle), right = GaussLegendre(segment, middle, t1);
  if (depth == 0 || std::abs(left + right - whole) <= 1e-12 * (left + right) + 1e-300) return left + right;
  return AdaptiveLength(segment, t0, middle, left, depth - 1) +
         AdaptiveLength(segment, middle, t1, right, depth - 1);
}

}  // namespace

double SizeOf(const Segment& segment) {
  double size = 0.0;
  for (const Vec& p : segment.p)
    size = std::max({size, std::abs(p.x - segment.p[0].x), std::abs(p.y - segment.p[0].y)});
  return size;
}

double LengthBetween(const Segment& segment, double t0, double t1) {
  return AdaptiveLength(segment, t0, t1, GaussLegendre(segment, t0, t1), 10);
}

std::optional<PathPoint> FirstDirection(const Segment& segment, double t, bool arriving) {
  const double size = SizeOf(segment);
  if (size == 0.0) return std::nullopt;
  for (int order = 1; order <= 3; ++order) {
    const Vec v = Derivative(segment, t, order);
    const double norm = Norm(v);
    // Below this the derivative is rounding noise of points of this size.
    if (!(norm > 1e-12 * size)) continue;
    const double sign = order == 2 && arriving ? -1.0 : 1.0;
    return PathPoint{static_cast<float>(sign * v.x / norm), static_cast<float>(sign * v.y / norm)};
  }
  return std::nullopt;
}

}  // namespace arclength
