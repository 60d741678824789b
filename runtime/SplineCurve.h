// The one evaluation of a path's curve, for the editor and the runtime alike: the control
// points expanded by the path's ends into the control sequence of a uniform cubic B-spline,
// where a parameter lies on it, and the weighted sum that gives its point.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "SplineWeights.h"

// How a path's curve ends. Free: the open uniform B-spline of the points, which starts and
// stops short of the first and last. Pinned: the curve starts on the first point, leaving it
// towards the second, and ends on the last. Loop: the curve closes smoothly.
enum class PathEnds { Free, Pinned, Loop };

namespace splinecurve {

// The fewest control points that make a curve; below them every point of the curve is (0, 0).
constexpr std::size_t MinimumPoints(PathEnds ends) {
  return ends == PathEnds::Pinned ? 2 : ends == PathEnds::Loop ? 3 : 4;
}

// The curve's segments, each a parameter span of 1: 0 below the minimum.
constexpr std::size_t SegmentCount(std::size_t count, PathEnds ends) {
  if (count < MinimumPoints(ends)) return 0;
  return ends == PathEnds::Pinned ? count - 1 : ends == PathEnds::Loop ? count : count - 3;
}

// The parameter the drawn curve ends at: the segment count, and 1 for a path without a curve
// (whose samples are all the window origin).
inline float EndParameter(std::size_t count, PathEnds ends) {
  const std::size_t segments = SegmentCount(count, ends);
  return segments == 0 ? 1.0f : static_cast<float>(segments);
}

// Element k of the control sequence, as the control points it is made of: wa * P[a] + wb * P[b].
// Free: P0 ... Pn-1. Pinned: 2 P0 - P1, P0 ... Pn-1, 2 Pn-1 - Pn-2. Loop: P0 ... Pn-1, P0, P1, P2.
// Free and loop sequences go on round the points, k modulo n, as the free curve's parameters
// past its end do.
struct SequencePoint {
  std::size_t a, b;
  int wa, wb;
};

inline SequencePoint SequenceAt(std::size_t count, PathEnds ends, std::size_t k) {
  if (ends == PathEnds::Pinned) {
    if (k == 0) return SequencePoint{0, 1, 2, -1};
    if (k > count) return SequencePoint{count - 1, count - 2, 2, -1};
    return SequencePoint{k - 1, k - 1, 1, 0};
  }
  const std::size_t i = k < count ? k : k % count;  // no division on the usual in-range path
  return SequencePoint{i, i, 1, 0};
}

// Where a parameter lies: its segment, and t from 0 to 1 within it.
struct Place {
  std::size_t segment;
  float t;
};

// Free and loop: the segment is s truncated toward zero, modulo 2^32 as a conversion to an
// unsigned 32-bit integer takes it (never undefined, even for odd parameters), and t = s minus
// that; parameters past the end go round. Pinned: s is held to the curve, 0 ... segments (a NaN
// counts as 0), and the end is the last segment at t = 1.
inline Place PlaceOf(std::size_t count, PathEnds ends, float s) {
  if (ends == PathEnds::Pinned) {
    const std::size_t segments = SegmentCount(count, ends);
    if (segments == 0 || !(s > 0.0f)) return Place{0, 0.0f};  // a NaN fails the test too
    if (!(s < static_cast<float>(segments))) return Place{segments - 1, 1.0f};
    const auto i = static_cast<std::size_t>(s);
    return Place{i, s - static_cast<float>(i)};
  }
  std::uint32_t i = 0;
  if (s >= 0.0f && s < 4294967296.0f) {
    i = static_cast<std::uint32_t>(s);
  } else if (std::isfinite(s)) {
    double wrapped = std::fmod(std::trunc(static_cast<double>(s)), 4294967296.0);
    if (wrapped < 0.0) wrapped += 4294967296.0;
    i = static_cast<std::uint32_t>(wrapped);
  }
  return Place{i, s - static_cast<float>(i)};
}

// The control points a segment weighs and their weights, given the basis weights w at one t:
// the weights of the sequence's elements carried onto the control points they are made of, in
// the order the points first appear. Carrying rather than summing the elements keeps a pinned
// curve exactly on its end points: there the weights come to exactly 1 and 0. A pinned curve's
// segments past its last are its last (its end lies there, at t = 1).
template <typename Real>
struct Terms {
  std::size_t index[4];
  Real weight[4];
};

template <typename Real>
Terms<Real> SegmentTerms(std::size_t count, PathEnds ends, std::size_t segment,
                         const splineweights::BasicWeights<Real>& w) {
  const Real b[4] = {w.b0, w.b1, w.b2, w.b3};
  Terms<Real> terms{};
  if (ends == PathEnds::Pinned && segment + 1 >= count) segment = count >= 2 ? count - 2 : 0;
  // Four distinct control points as they are, the usual case: what the loop below gives them.
  const bool plain = ends == PathEnds::Pinned ? segment >= 1 && segment + 3 <= count : count >= 4;
  if (plain) {
    for (std::size_t k = 0; k < 4; ++k) {
      terms.index[k] = SequenceAt(count, ends, segment + k).a;
      terms.weight[k] = b[k];
    }
    return terms;
  }
  int used = 0;
  const auto add = [&terms, &used](std::size_t index, Real weight) {
    for (int j = 0; j < used; ++j) {
      if (terms.index[j] == index) {
        terms.weight[j] += weight;
        return;
      }
    }
    terms.index[used] = index;
    terms.weight[used] = weight;
    ++used;
  };
  for (std::size_t k = 0; k < 4; ++k) {
    const SequencePoint element = SequenceAt(count, ends, segment + k);
    add(element.a, static_cast<Real>(element.wa) * b[k]);
    if (element.wb != 0) add(element.b, static_cast<Real>(element.wb) * b[k]);
  }
  for (int j = used; j < 4; ++j) {
    terms.index[j] = terms.index[0];
    terms.weight[j] = Real(0);
  }
  return terms;
}

// The curve's point from a segment's terms: the weighted sum of its control points, component
// by component, summed left to right in single precision.
template <typename Point>
Point Sum(const Terms<float>& terms, const Point* points) {
  const splineweights::Weights w{terms.weight[0], terms.weight[1], terms.weight[2], terms.weight[3]};
  const Point& p0 = points[terms.index[0]];
  const Point& p1 = points[terms.index[1]];
  const Point& p2 = points[terms.index[2]];
  const Point& p3 = points[terms.index[3]];
  return Point{splineweights::Sum(w, p0.x, p1.x, p2.x, p3.x), splineweights::Sum(w, p0.y, p1.y, p2.y, p3.y)};
}

// The curve of `count` control points at a place; the points must make a curve.
template <typename Point>
Point PointAt(const Point* points, std::size_t count, PathEnds ends, const Place& place) {
  return Sum(SegmentTerms(count, ends, place.segment, splineweights::WeightsAt(place.t)), points);
}

// The curve at parameter s: 0 at its start, the segment count at its end; (0, 0) below the
// minimum number of points.
template <typename Point>
Point Evaluate(const Point* points, std::size_t count, PathEnds ends, float s) {
  if (count < MinimumPoints(ends)) return Point{0.0f, 0.0f};
  return PointAt(points, count, ends, PlaceOf(count, ends, s));
}

}  // namespace splinecurve
