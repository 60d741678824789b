// The uniform cubic B-spline's weights of a segment and their weighted sum. The editor and the
// runtime both evaluate curves with these (through SplineCurve.h), so that they give the same
// bits.
#pragma once

namespace splineweights {

// The weights at t: (1-t)^3/6, (3t^3 - 6t^2 + 4)/6, (-3t^3 + 3t^2 + 3t + 1)/6, t^3/6.
template <typename Real>
struct BasicWeights {
  Real b0, b1, b2, b3;
};
using Weights = BasicWeights<float>;

// The weights in double, as the formulas give them.
inline BasicWeights<double> ExactWeightsAt(double t) {
  constexpr double kSixth = 1.0 / 6.0;
  const double u = 1.0 - t;
  const double t2 = t * t;
  const double t3 = t2 * t;
  return BasicWeights<double>{u * u * u * kSixth, (3.0 * t3 - 6.0 * t2 + 4.0) * kSixth,
                              (-3.0 * t3 + 3.0 * t2 + 3.0 * t + 1.0) * kSixth, t3 * kSixth};
}

// The curve's weights: those in double, each rounded once to single precision.
inline Weights WeightsAt(float t) {
  const BasicWeights<double> w = ExactWeightsAt(t);
  return Weights{static_cast<float>(w.b0), static_cast<float>(w.b1), static_cast<float>(w.b2),
                 static_cast<float>(w.b3)};
}

// b0*p0 + b1*p1 + b2*p2 + b3*p3, summed left to right, one component.
inline float Sum(const Weights& w, float p0, float p1, float p2, float p3) {
  return w.b0 * p0 + w.b1 * p1 + w.b2 * p2 + w.b3 * p3;
}

}  // namespace splineweights
