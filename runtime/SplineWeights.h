// The uniform cubic B-spline of a path: segment weights, weighted sums and the four control
// points of a segment. The editor and the runtime both evaluate curves with these, so that they
// give the same bits.
#pragma once

#include <cstddef>
#include <cstdint>

namespace splineweights {

// The weights at t, computed in double and each rounded once to single precision:
// (1-t)^3/6, (3t^3 - 6t^2 + 4)/6, (-3t^3 + 3t^2 + 3t + 1)/6, t^3/6.
struct Weights {
  float b0, b1, b2, b3;
};

inline Weights WeightsAt(float t) {
  constexpr double kSixth = 1.0 / 6.0;
  const double td = t;
  const double ud = 1.0 - td;
  const double t2 = td * td;
  const double t3 = t2 * td;
  return Weights{
      static_cast<float>(ud * ud * ud * kSixth), static_cast<float>((3.0 * t3 - 6.0 * t2 + 4.0) * kSixth),
      static_cast<float>((-3.0 * t3 + 3.0 * t2 + 3.0 * td + 1.0) * kSixth), static_cast<float>(t3 * kSixth)};
}

// b0*p0 + b1*p1 + b2*p2 + b3*p3, summed left to right, one component.
inline float Sum(const Weights& w, float p0, float p1, float p2, float p3) {
  return w.b0 * p0 + w.b1 * p1 + w.b2 * p2 + w.b3 * p3;
}

// The four control point indices of segment i on a closed list of `count` points.
struct SegmentIndices {
  std::size_t i0, i1, i2, i3;
};

inline SegmentIndices IndicesOf(std::uint32_t i, std::size_t count) {
  SegmentIndices s{};
  s.i0 = i < count ? i : i % count;  // no division on the usual in-range path
  s.i1 = s.i0 + 1 == count ? 0 : s.i0 + 1;
  s.i2 = s.i1 + 1 == count ? 0 : s.i1 + 1;
  s.i3 = s.i2 + 1 == count ? 0 : s.i2 + 1;
  return s;
}

}  // namespace splineweights
