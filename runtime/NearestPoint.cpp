// The curve's point nearest to a given point, by branch and bound over the segments: a segment,
// and each half of it, lies within the box around its control points, so a box farther than the
// nearest point found so far is passed over; the rest is halved down to short stretches, on
// which Newton's method finds the nearest point exactly.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "ArcLength.h"

namespace arclength {

namespace {

// Stretches this short, in the segment's parameter, are searched by Newton's method.
constexpr double kShortest = 1.0 / 64.0;

double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y; }
Vec Minus(const Vec& a, const Vec& b) { return Vec{a.x - b.x, a.y - b.y}; }
Vec Mix(const Vec& a, const Vec& b) { return Vec{0.5 * (a.x + b.x), 0.5 * (a.y + b.y)}; }

// A stretch t0 ... t1 of a segment as a cubic Bezier curve, whose four points enclose it.
struct Stretch {
  Vec b[4];
  double t0, t1;
};

Stretch WholeSegment(const Segment& segment) {
  const Vec* p = segment.p;
  return Stretch{{Vec{(p[0].x + 4.0 * p[1].x + p[2].x) / 6.0, (p[0].y + 4.0 * p[1].y + p[2].y) / 6.0},
                  Vec{(2.0 * p[1].x + p[2].x) / 3.0, (2.0 * p[1].y + p[2].y) / 3.0},
                  Vec{(p[1].x + 2.0 * p[2].x) / 3.0, (p[1].y + 2.0 * p[2].y) / 3.0},
                  Vec{(p[1].x + 4.0 * p[2].x + p[3].x) / 6.0, (p[1].y + 4.0 * p[2].y + p[3].y) / 6.0}},
                 0.0,
                 1.0};
}

// The two halves of a stretch, by de Casteljau's construction at its middle.
void Halve(const Stretch& whole, Stretch& first, Stretch& second) {
  const Vec* b = whole.b;
  const Vec ab = Mix(b[0], b[1]), bc = Mix(b[1], b[2]), cd = Mix(b[2], b[3]);
  const Vec abc = Mix(ab, bc), bcd = Mix(bc, cd), middle = Mix(abc, bcd);
  const double t = 0.5 * (whole.t0 + whole.t1);
  first = Stretch{{b[0], ab, abc, middle}, whole.t0, t};
  second = Stretch{{middle, bcd, cd, b[3]}, t, whole.t1};
}

// The squared distance from p to the box around these points: nothing inside is nearer.
template <std::size_t N>
double BoxDistance2(const Vec (&points)[N], const Vec& p) {
  double left = points[0].x, right = left, bottom = points[0].y, top = bottom;
  for (const Vec& q : points) {
    left = std::min(left, q.x), right = std::max(right, q.x);
    bottom = std::min(bottom, q.y), top = std::max(top, q.y);
  }
  const double dx = std::max({left - p.x, 0.0, p.x - right}), dy = std::max({bottom - p.y, 0.0, p.y - top});
  return dx * dx + dy * dy;
}

double Distance2(const Segment& segment, double t, const Vec& p) {
  const Vec d = Minus(Derivative(segment, t, 0), p);
  return Dot(d, d);
}

// The parameter in t0 ... t1 of the segment's point nearest to p: an end, or where the squared
// distance's slope (C - p) . C' changes from falling to rising, found by Newton's method kept
// inside the bracket by halving it.
double NearestIn(const Segment& segment, const Vec& p, double t0, double t1) {
  auto slope = [&](double t) { return Dot(Minus(Derivative(segment, t, 0), p), Derivative(segment, t, 1)); };
  double nearest = Distance2(segment, t0, p) <= Distance2(segment, t1, p) ? t0 : t1;
  if (!(slope(t0) < 0.0 && slope(t1) > 0.0)) return nearest;
  double low = t0, high = t1, t = 0.5 * (t0 + t1);
  for (int step = 0; step < 60 && high - low > 1e-15; ++step) {
    const Vec offset = Minus(Derivative(segment, t, 0), p), v = Derivative(segment, t, 1);
    const double f = Dot(offset, v);
    (f < 0.0 ? low : high) = t;
    const double bend = Dot(v, v) + Dot(offset, Derivative(segment, t, 2));
    const double next = t - f / bend;
    const double previous = t;
    t = bend > 0.0 && next > low && next < high ? next : 0.5 * (low + high);
    if (std::abs(t - previous) <= 1e-15) break;
  }
  return Distance2(segment, t, p) < Distance2(segment, nearest, p) ? t : nearest;
}

}  // namespace

double Table::NearestDistance(const Vec& p) const {
  if (mCumulative.empty() || !std::isfinite(p.x) || !std::isfinite(p.y)) return 0.0;
  const std::size_t segments = mSequence.size() - 3;

  // A first bound: the nearest of the segments' start points and the curve's end.
  double best = std::numeric_limits<double>::infinity();
  std::size_t bestSegment = 0;
  double bestT = 0.0;
  for (std::size_t i = 0; i <= segments; ++i) {
    const bool end = i == segments;
    const double d2 = Distance2(SegmentOf(mSequence, end ? i - 1 : i), end ? 1.0 : 0.0, p);
    if (d2 < best) best = d2, bestSegment = end ? i - 1 : i, bestT = end ? 1.0 : 0.0;
  }

  // The segments whose control points' box is nearer than that, the nearest box first.
  std::vector<std::pair<double, std::size_t>> candidates;
  for (std::size_t i = 0; i < segments; ++i) {
    const double bound = BoxDistance2(SegmentOf(mSequence, i).p, p);
    if (bound < best) candidates.emplace_back(bound, i);
  }
  std::sort(candidates.begin(), candidates.end());

  std::vector<Stretch> stack;
  for (const auto& [bound, index] : candidates) {
    if (!(bound < best)) break;
    const Segment segment = SegmentOf(mSequence, index);
    stack.assign(1, WholeSegment(segment));
    while (!stack.empty()) {
      const Stretch stretch = stack.back();
      stack.pop_back();
      if (!(BoxDistance2(stretch.b, p) < best)) continue;
      if (stretch.t1 - stretch.t0 <= kShortest) {
        const double t = NearestIn(segment, p, stretch.t0, stretch.t1);
        const double d2 = Distance2(segment, t, p);
        if (d2 < best) best = d2, bestSegment = index, bestT = t;
        continue;
      }
      Stretch first{}, second{};
      Halve(stretch, first, second);
      // The nearer half is searched first: its bound then prunes more of the other.
      const bool firstNearer = BoxDistance2(first.b, p) <= BoxDistance2(second.b, p);
      stack.push_back(firstNearer ? second : first);
      stack.push_back(firstNearer ? first : second);
    }
  }

  // The distance along the curve up to that point: the table's pieces, then the rest exactly.
  const auto inSegment = std::min(static_cast<std::size_t>(bestT * kPiecesPerSegment), kPiecesPerSegment - 1);
  const double from = static_cast<double>(inSegment) / kPiecesPerSegment;
  const double along = std::min(mCumulative[bestSegment * kPiecesPerSegment + inSegment] +
                                    LengthBetween(SegmentOf(mSequence, bestSegment), from, bestT),
                                Length());
  return mClosed && along == Length() ? 0.0 : along;  // a loop's end is its start
}

}  // namespace arclength
