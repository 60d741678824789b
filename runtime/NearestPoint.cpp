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
constexpr double kShortest = 1.0 / 4.0;

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

// The box around these points.
template <std::size_t N>
Table::Box BoxAround(const Vec (&points)[N]) {
  Table::Box box{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const Vec& q : points) {
    box.left = std::min(box.left, q.x), box.right = std::max(box.right, q.x);
    box.bottom = std::min(box.bottom, q.y), box.top = std::max(box.top, q.y);
  }
  return box;
}

// The squared distance from p to a box: nothing inside it is nearer.
double BoxDistance2(const Table::Box& box, const Vec& p) {
  const double dx = std::max({box.left - p.x, 0.0, p.x - box.right});
  const double dy = std::max({box.bottom - p.y, 0.0, p.y - box.top});
  return dx * dx + dy * dy;
}

double Distance2(const Segment& segment, double t, const Vec& p) {
  const Vec d = Minus(Derivative(segment, t, 0), p);
  return Dot(d, d);
}

// The local minimum of the squared distance from p in low ... high, where its slope
// (C - p) . C' rises through zero: Newton's method kept inside the bracket by halving it.
double MinimumBetween(const Segment& segment, const Vec& p, double low, double high) {
  double t = 0.5 * (low + high);
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
  return t;
}

// The parameter in t0 ... t1 of the segment's point nearest to p: an end, or a local minimum.
// The slope is read at kSlopeReadings places first, so that a stretch holding two minima (a
// turn tighter than the distance to p) has each bracketed on its own.
constexpr int kSlopeReadings = 8;

double NearestIn(const Segment& segment, const Vec& p, double t0, double t1) {
  auto slope = [&](double t) { return Dot(Minus(Derivative(segment, t, 0), p), Derivative(segment, t, 1)); };
  double nearest = Distance2(segment, t0, p) <= Distance2(segment, t1, p) ? t0 : t1;
  double before = t0, falling = slope(t0) < 0.0;
  for (int k = 1; k <= kSlopeReadings; ++k) {
    const double after = k == kSlopeReadings ? t1 : t0 + (t1 - t0) * k / kSlopeReadings;
    const bool fallingAfter = slope(after) < 0.0;
    if (falling && !fallingAfter) {
      const double t = MinimumBetween(segment, p, before, after);
      if (Distance2(segment, t, p) < Distance2(segment, nearest, p)) nearest = t;
    }
    before = after, falling = fallingAfter;
  }
  return nearest;
}

}  // namespace

std::vector<Table::Box> Table::BlockBoxes(const std::vector<Vec>& sequence) {
  std::vector<Box> boxes;
  const std::size_t segments = sequence.size() < 4 ? 0 : sequence.size() - 3;
  for (std::size_t first = 0; first < segments; first += kBlockSegments) {
    // Segments first ... last - 1 are shaped by elements first ... last + 2.
    const std::size_t last = std::min(first + kBlockSegments, segments);
    Box box{sequence[first].x, sequence[first].y, sequence[first].x, sequence[first].y};
    for (std::size_t k = first; k < last + 3; ++k) {
      box.left = std::min(box.left, sequence[k].x), box.right = std::max(box.right, sequence[k].x);
      box.bottom = std::min(box.bottom, sequence[k].y), box.top = std::max(box.top, sequence[k].y);
    }
    boxes.push_back(box);
  }
  return boxes;
}

double Table::NearestDistance(const Vec& p) const {
  if (mCumulative.empty() || !std::isfinite(p.x) || !std::isfinite(p.y)) return 0.0;
  const std::size_t segments = mSequence.size() - 3;
  double best = std::numeric_limits<double>::infinity();  // the squared distance found so far
  std::size_t bestSegment = 0;
  double bestT = 0.0;

  std::vector<Stretch> stack;
  auto searchSegment = [&](std::size_t index) {
    const Segment segment = SegmentOf(mSequence, index);
    if (!(BoxDistance2(BoxAround(segment.p), p) < best)) return;
    stack.assign(1, WholeSegment(segment));
    while (!stack.empty()) {
      const Stretch stretch = stack.back();
      stack.pop_back();
      if (!(BoxDistance2(BoxAround(stretch.b), p) < best)) continue;
      if (stretch.t1 - stretch.t0 <= kShortest) {
        const double t = NearestIn(segment, p, stretch.t0, stretch.t1);
        const double d2 = Distance2(segment, t, p);
        if (d2 < best) best = d2, bestSegment = index, bestT = t;
        continue;
      }
      Stretch first{}, second{};
      Halve(stretch, first, second);
      // The nearer half is searched first: its bound then prunes more of the other.
      const bool firstNearer = BoxDistance2(BoxAround(first.b), p) <= BoxDistance2(BoxAround(second.b), p);
      stack.push_back(firstNearer ? second : first);
      stack.push_back(firstNearer ? first : second);
    }
  };
  auto searchBlock = [&](std::size_t block) {
    const std::size_t first = block * kBlockSegments, last = std::min(first + kBlockSegments, segments);
    for (std::size_t i = first; i < last; ++i) searchSegment(i);
  };

  // The block with the nearest box first, for a near bound at once; then every block whose box
  // is nearer than the nearest point found so far.
  std::size_t nearestBlock = 0;
  for (std::size_t b = 1; b < mBlocks.size(); ++b)
    if (BoxDistance2(mBlocks[b], p) < BoxDistance2(mBlocks[nearestBlock], p)) nearestBlock = b;
  searchBlock(nearestBlock);
  for (std::size_t b = 0; b < mBlocks.size(); ++b)
    if (b != nearestBlock && BoxDistance2(mBlocks[b], p) < best) searchBlock(b);

  // The distance along the curve up to that point: the table's pieces, then the rest exactly.
  const auto inSegment = std::min(static_cast<std::size_t>(bestT * kPiecesPerSegment), kPiecesPerSegment - 1);
  const double from = static_cast<double>(inSegment) / kPiecesPerSegment;
  const double along = std::min(mCumulative[bestSegment * kPiecesPerSegment + inSegment] +
                                    LengthBetween(SegmentOf(mSequence, bestSegment), from, bestT),
                                Length());
  return mClosed && along == Length() ? 0.0 : along;  // a loop's end is its start
}

}  // namespace arclength
