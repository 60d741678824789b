// One segment of the curve in powers of t, and its point and unit direction of travel at t in
// single precision, both coordinates in one SSE2 register where the processor has one.
//
// A walk is bound by the number of floating-point operations it issues, so the pose takes the
// derivative out of the point's own Horner scheme (two products and two sums more) and makes it
// a unit vector in single precision, where a square root and a division cost least (the
// direction is given in single precision anyway). Without SSE2 the same operations run one
// coordinate at a time (PointOfEach, PoseOfEach), with the same results.
#pragma once

#include <cmath>    // std::sqrt, without SSE2
#include <cstring>  // std::memcpy of a register's bits

#include "CurveMath.h"  // Vec
#include "PathPoint.h"

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>  // SSE2: two doubles or four floats an instruction
#define VEYRUN_CUBIC_SEGMENT_SSE2 1
static_assert(sizeof(PathPoint) == sizeof(double) && sizeof(PathPose) == sizeof(__m128),
              "a point is two floats and a pose four, as SSE2 registers hold them");
#endif

namespace arclength {

// A segment as a + b t + c t^2 + d t^3: fewer operations than its basis.
struct Cubic {
  Vec a, b, c, d;
};

// One coordinate at a time: the operations PointOf and PoseOf run on two at once with SSE2, and
// so their results bit for bit.
inline PathPoint PointOfEach(const Cubic& s, double t) {
  return PathPoint{static_cast<float>(s.a.x + t * (s.b.x + t * (s.c.x + t * s.d.x))),
                   static_cast<float>(s.a.y + t * (s.b.y + t * (s.c.y + t * s.d.y)))};
}
inline PathPose PoseOfEach(const Cubic& s, double t) {
  const double innerX = s.c.x + t * s.d.x, innerY = s.c.y + t * s.d.y;
  const double middleX = s.b.x + t * innerX, middleY = s.b.y + t * innerY;
  const auto vx = static_cast<float>(middleX + t * (innerX + t * s.d.x));
  const auto vy = static_cast<float>(middleY + t * (innerY + t * s.d.y));
  const float length = std::sqrt(vx * vx + vy * vy);
  return PathPose{PathPoint{static_cast<float>(s.a.x + t * middleX), static_cast<float>(s.a.y + t * middleY)},
                  PathPoint{vx / length, vy / length}};
}

// The point at t, a + t (b + t (c + t d)).
inline PathPoint PointOf(const Cubic& s, double t) {
#ifdef VEYRUN_CUBIC_SEGMENT_SSE2
  const __m128d tt = _mm_set1_pd(t);
  const __m128d inner = _mm_add_pd(_mm_loadu_pd(&s.c.x), _mm_mul_pd(tt, _mm_loadu_pd(&s.d.x)));
  const __m128d middle = _mm_add_pd(_mm_loadu_pd(&s.b.x), _mm_mul_pd(tt, inner));
  const __m128d point = _mm_add_pd(_mm_loadu_pd(&s.a.x), _mm_mul_pd(tt, middle));
  const double both = _mm_cvtsd_f64(_mm_castps_pd(_mm_cvtpd_ps(point)));  // the two floats' bits
  PathPoint p;
  std::memcpy(&p, &both, sizeof p);
  return p;
#else
  return PointOfEach(s, t);
#endif
}

// The point at t, exactly as PointOf gives it, and the unit direction of the derivative there,
// b + 2 c t + 3 d t^2 = middle + t (inner + t d) with Horner's partial sums. The derivative's
// squared length must be a normal float: lengths from 2^-60 to 2^60.
inline PathPose PoseOf(const Cubic& s, double t) {
#ifdef VEYRUN_CUBIC_SEGMENT_SSE2
  const __m128d tt = _mm_set1_pd(t), d = _mm_loadu_pd(&s.d.x);
  const __m128d inner = _mm_add_pd(_mm_loadu_pd(&s.c.x), _mm_mul_pd(tt, d));
  const __m128d middle = _mm_add_pd(_mm_loadu_pd(&s.b.x), _mm_mul_pd(tt, inner));
  const __m128d point = _mm_add_pd(_mm_loadu_pd(&s.a.x), _mm_mul_pd(tt, middle));
  const __m128d velocity = _mm_add_pd(middle, _mm_mul_pd(tt, _mm_add_pd(inner, _mm_mul_pd(tt, d))));
  // (x, y, 0, 0) in single precision; the squares summed both ways round, and the upper lanes
  // given 1 so that no lane divides 0 by 0 (a game may trap invalid operations).
  const __m128 v = _mm_cvtpd_ps(velocity);
  const __m128 squares = _mm_mul_ps(v, v);
  const __m128 swapped =
      _mm_shuffle_ps(squares, _mm_setr_ps(0.0f, 0.0f, 1.0f, 1.0f), _MM_SHUFFLE(3, 2, 0, 1));
  const __m128 direction = _mm_div_ps(v, _mm_sqrt_ps(_mm_add_ps(squares, swapped)));
  // The pose as one register: two halves stored apart and read back whole would wait.
  const __m128 whole = _mm_movelh_ps(_mm_cvtpd_ps(point), direction);
  PathPose pose;
  std::memcpy(&pose, &whole, sizeof pose);
  return pose;
#else
  return PoseOfEach(s, t);
#endif
}

}  // namespace arclength

#undef VEYRUN_CUBIC_SEGMENT_SSE2
