// An independent reference for distances along a uniform cubic B-spline, for the tests and the
// benchmarks to hold the runtime against: the curve in double by the matrix form, its length by
// composite Gauss-Legendre quadrature over 128 spans a segment, and the parameter at a distance
// by bisection. Slow and plain on purpose; it shares no code with the runtime.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace curvereference {

struct Point {
  double x, y;
};

class Curve {
public:
  // The open curve of a control sequence: segments 0 ... size - 4.
  explicit Curve(std::vector<Point> sequence) : mSequence(std::move(sequence)) {
    const std::size_t spans = Segments() * kSpans;
    mCumulative.assign(spans + 1, 0.0);
    for (std::size_t k = 0; k < spans; ++k) {
      const double u = static_cast<double>(k) / kSpans;
      mCumulative[k + 1] = mCumulative[k] + Integral(u, u + 1.0 / kSpans);
    }
  }

  std::size_t Segments() const { return mSequence.size() < 4 ? 0 : mSequence.size() - 3; }
  double Length() const { return mCumulative.back(); }

  // The point and the velocity at parameter u, 0 ... Segments().
  Point At(double u) const { return Evaluate(u, false); }
  Point Velocity(double u) const { return Evaluate(u, true); }

  // The distance along the curve up to parameter u.
  double DistanceAt(double u) const {
    const auto span = std::min(static_cast<std::size_t>(u * kSpans), mCumulative.size() - 2);
    return mCumulative[span] + Integral(static_cast<double>(span) / kSpans, u);
  }

  // The parameter at distance d, 0 ... Length(); at a stretch where the curve stands still,
  // its start.
  double ParameterAt(double d) const {
    d = std::clamp(d, 0.0, Length());
    const auto after = std::upper_bound(mCumulative.begin(), mCumulative.end(), d);
    const auto span =
        std::min(static_cast<std::size_t>(after - mCumulative.begin()) - 1, mCumulative.size() - 2);
    double low = static_cast<double>(span) / kSpans, high = static_cast<double>(span + 1) / kSpans;
    for (int step = 0; step < 64; ++step) {
      const double middle = 0.5 * (low + high);
      (DistanceAt(middle) < d ? low : high) = middle;
    }
    return 0.5 * (low + high);
  }

  Point AtDistance(double d) const { return At(ParameterAt(d)); }

private:
  static constexpr std::size_t kSpans = 128;

  Point Evaluate(double u, bool velocity) const {
    const auto segment = std::min(static_cast<std::size_t>(std::max(u, 0.0)), Segments() - 1);
    const double t = u - static_cast<double>(segment), t2 = t * t, t3 = t2 * t;
    // The rows of the basis matrix, or of its derivative.
    const double w[4] = {velocity ? (-3 * t2 + 6 * t - 3) / 6 : (-t3 + 3 * t2 - 3 * t + 1) / 6,
                         velocity ? (9 * t2 - 12 * t) / 6 : (3 * t3 - 6 * t2 + 4) / 6,
                         velocity ? (-9 * t2 + 6 * t + 3) / 6 : (-3 * t3 + 3 * t2 + 3 * t + 1) / 6,
                         velocity ? 3 * t2 / 6 : t3 / 6};
    Point p{0.0, 0.0};
    for (std::size_t k = 0; k < 4; ++k) {
      p.x += w[k] * mSequence[segment + k].x;
      p.y += w[k] * mSequence[segment + k].y;
    }
    return p;
  }

  double Speed(double u) const {
    const Point v = Velocity(u);
    return std::hypot(v.x, v.y);
  }

  // The speed's integral from a to b, within one span of a segment.
  double Integral(double a, double b) const {
    static const double kNodes[5] = {0.0, -0.5384693101056831, 0.5384693101056831, -0.9061798459386640,
                                     0.9061798459386640};
    static const double kWeights[5] = {0.5688888888888889, 0.4786286704993665, 0.4786286704993665,
                                       0.2369268850561891, 0.2369268850561891};
    const double half = 0.5 * (b - a), middle = 0.5 * (a + b);
    double sum = 0.0;
    for (int k = 0; k < 5; ++k) sum += kWeights[k] * Speed(middle + half * kNodes[k]);
    return sum * half;
  }

  std::vector<Point> mSequence;
  std::vector<double> mCumulative;  // the length up to each span's start, and the total
};

}  // namespace curvereference
