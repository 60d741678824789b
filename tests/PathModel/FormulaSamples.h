// The curve samples worked out one by one from the per-sample formula: what every rebuild of
// the sample cache must give, whatever shortcut it takes.
#pragma once

#include <vector>

#include "CubicBSpline.h"

namespace pathtest {

// ToWindow(Evaluate(s)) for s = 0, 0.01, 0.02, ... accumulated in single precision while
// s <= end, then s = end once: end = the curve's segments (n - 3 free, n - 1 pinned, n for a
// loop), or 1 without a curve.
inline std::vector<vec2> FormulaSamples(const CubicBSpline& spline) {
  std::vector<vec2> samples;
  const auto n = static_cast<long long>(spline.mControlPoints.size());
  if (n == 0) return samples;
  const long long segments = spline.mEnds == PathEnds::Pinned ? n - 1
                             : spline.mEnds == PathEnds::Loop ? n
                                                              : n - 3;
  const long long minimum = spline.mEnds == PathEnds::Pinned ? 2 : spline.mEnds == PathEnds::Loop ? 3 : 4;
  const float end = static_cast<float>(n >= minimum && segments > 1 ? segments : 1);
  bool last = false;
  for (float s = 0.0f; !last; s += 0.01f) {
    if (s > end) {
      s = end;
      last = true;
    }
    samples.push_back(spline.ToWindow(spline.Evaluate(s)));
  }
  return samples;
}

}  // namespace pathtest
