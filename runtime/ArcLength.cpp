// The arc length table of a curve and the inversion from distance to parameter.
#include "ArcLength.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace arclength {

namespace {

constexpr double kPieceWidth = 1.0 / static_cast<double>(kPiecesPerSegment);

double Norm(const Vec& v) { return std::sqrt(v.x * v.x + v.y * v.y); }

// The four points of the control sequence that shape segment i (elements i ... i + 3).
struct Segment {
  Vec p[4];
};

Segment SegmentOf(const std::vector<Vec>& sequence, std::size_t i) {
  Segment segment{};
  for (std::size_t k = 0; k < 4; ++k) segment.p[k] = sequence[i + k];
  return segment;
}

Vec Add(const Vec& a, double wa, const Vec& b, double wb, const Vec& c, double wc) {
  return Vec{wa * a.x + wb * b.x + wc * c.x, wa * a.y + wb * b.y + wc * c.y};
}

// Derivative `order` (0 to 3) of the segment at t. The position from the B-spline basis; the
// derivatives from the differences of consecutive points (a quadratic B-spline and its own
// derivatives), which are exactly zero where points repeat, so a curve that stands still has
// speed 0 and not rounding noise.
Vec Derivative(const Segment& segment, double t, int order) {
  const Vec* p = segment.p;
  const double u = 1.0 - t;
  if (order == 0) {
    const splineweights::BasicWeights<double> w = splineweights::ExactWeightsAt(t);
    return Vec{w.b0 * p[0].x + w.b1 * p[1].x + w.b2 * p[2].x + w.b3 * p[3].x,
               w.b0 * p[0].y + w.b1 * p[1].y + w.b2 * p[2].y + w.b3 * p[3].y};
  }
  const Vec d0{p[1].x - p[0].x, p[1].y - p[0].y}, d1{p[2].x - p[1].x, p[2].y - p[1].y},
      d2{p[3].x - p[2].x, p[3].y - p[2].y};
  switch (order) {
    case 1: return Add(d0, u * u / 2.0, d1, (-2.0 * t * t + 2.0 * t + 1.0) / 2.0, d2, t * t / 2.0);
    case 2: return Add(d0, -u, d1, 1.0 - 2.0 * t, d2, t);
    default: return Add(d0, 1.0, d1, -2.0, d2, 1.0);
  }
}

double Speed(const Segment& segment, double t) { return Norm(Derivative(segment, t, 1)); }

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

// The length of the segment between t0 and t1.
double LengthBetween(const Segment& segment, double t0, double t1) {
  return AdaptiveLength(segment, t0, t1, GaussLegendre(segment, t0, t1), 10);
}

// The unit direction of travel at t from the first derivative that does not vanish there. The
// speed is zero at a cusp, where the curve turns back along the second derivative: it arrives
// against it and moves on along it. Where three control points coincide the second is zero too
// and the third gives the direction on both sides. Nothing when the segment does not move.
std::optional<PathPoint> FirstDirection(const Segment& segment, double t, bool arriving) {
  double size = 0.0;
  for (const Vec& p : segment.p)
    size = std::max({size, std::abs(p.x - segment.p[0].x), std::abs(p.y - segment.p[0].y)});
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

}  // namespace

Table::Table(const std::vector<PathPoint>& points, PathEnds ends) : mClosed(ends == PathEnds::Loop) {
  const std::size_t segments = splinecurve::SegmentCount(points.size(), ends);
  if (segments == 0) return;
  // The sequence's elements in double: a pinned end's point beyond the curve, 2 P0 - P1, is
  // then exact, and so is the curve's start on P0.
  mSequence.reserve(segments + 3);
  for (std::size_t k = 0; k < segments + 3; ++k) {
    const splinecurve::SequencePoint e = splinecurve::SequenceAt(points.size(), ends, k);
    const PathPoint &a = points[e.a], &b = points[e.b];
    mSequence.push_back(Vec{e.wa * static_cast<double>(a.x) + e.wb * static_cast<double>(b.x),
                            e.wa * static_cast<double>(a.y) + e.wb * static_cast<double>(b.y)});
  }
  mCumulative.reserve(segments * kPiecesPerSegment + 1);
  double total = 0.0;
  mCumulative.push_back(total);
  for (std::size_t i = 0; i < segments; ++i) {
    const Segment segment = SegmentOf(mSequence, i);
    for (std::size_t m = 0; m < kPiecesPerSegment; ++m) {
      total += LengthBetween(segment, static_cast<double>(m) * kPieceWidth,
                             static_cast<double>(m + 1) * kPieceWidth);
      mCumulative.push_back(total);
    }
  }
}

Table::Place Table::Locate(double d) const {
  const std::size_t pieces = mCumulative.size() - 1;
  d = d > 0.0 ? std::min(d, Length()) : 0.0;  // a NaN fails the comparison too
  // The piece whose span holds d; at a joint the later piece, past a stretch of length 0.
  const auto after = std::upper_bound(mCumulative.begin(), mCumulative.end(), d);
  const std::size_t piece =
      std::min<std::size_t>(static_cast<std::size_t>(after - mCumulative.begin()) - 1, pieces - 1);
  const double t0 = static_cast<double>(piece % kPiecesPerSegment) * kPieceWidth;
  const double t1 = t0 + kPieceWidth;
  const double pieceLength = mCumulative[piece + 1] - mCumulative[piece];
  const double wanted = d - mCumulative[piece];
  if (!(pieceLength > 0.0) || wanted <= 0.0) return Place{piece, t0};
  if (wanted >= pieceLength) return Place{piece, t1};

  // LengthBetween(t0, t) - wanted rises from below 0 at t0 to at least 0 at t1 (the table's
  // own sum): Newton's steps from the linear guess, a bisection whenever a step leaves the
  // bracket.
  const Segment segment = SegmentOf(mSequence, piece / kPiecesPerSegment);
  double low = t0, high = t1;
  double t = t0 + kPieceWidth * (wanted / pieceLength);
  for (int step = 0; step < 60; ++step) {
    const double excess = LengthBetween(segment, t0, t) - wanted;
    if (std::abs(excess) <= 1e-12 * pieceLength) break;
    (excess > 0.0 ? high : low) = t;
    const double next = t - excess / Speed(segment, t);
    t = next > low && next < high ? next : 0.5 * (low + high);
    if (high - low <= 1e-15) break;
  }
  return Place{piece, t};
}

PathPoint Table::PointAt(double d) const {
  if (mCumulative.empty()) return PathPoint{0.0f, 0.0f};
  const Place place = Locate(d);
  const Vec v = Derivative(SegmentOf(mSequence, place.piece / kPiecesPerSegment), place.t, 0);
  return PathPoint{static_cast<float>(v.x), static_cast<float>(v.y)};
}

PathPoint Table::DirectionAt(double d) const {
  if (!(Length() > 0.0)) return PathPoint{0.0f, 0.0f};
  const std::size_t pieces = mCumulative.size() - 1;
  const Place place = Locate(d);
  // The end of a loop is its start, where the curve moves on.
  const bool atTheEnd = place.piece + 1 == pieces && place.t == 1.0 && !mClosed;
  if (const auto direction =
          FirstDirection(SegmentOf(mSequence, place.piece / kPiecesPerSegment), place.t, atTheEnd))
    return *direction;

  // A stretch where the curve stands still: the first piece after it that moves, from its start;
  // on a loop, past its end from its start.
  const auto begin = mCumulative.begin();
  auto moving = std::upper_bound(begin + static_cast<std::ptrdiff_t>(place.piece) + 1, mCumulative.end(),
                                 mCumulative[place.piece + 1]);
  if (moving == mCumulative.end() && mClosed) moving = std::upper_bound(begin + 1, mCumulative.end(), 0.0);
  if (moving != mCumulative.end()) {
    const auto piece = static_cast<std::size_t>(moving - begin) - 1;
    const double t = static_cast<double>(piece % kPiecesPerSegment) * kPieceWidth;
    if (const auto direction = FirstDirection(SegmentOf(mSequence, piece / kPiecesPerSegment), t, false))
      return *direction;
  }
  // At the end of the curve: the last piece before the stretch that moves, at its end.
  const auto arrived =
      std::lower_bound(begin, begin + static_cast<std::ptrdiff_t>(place.piece) + 1, mCumulative[place.piece]);
  if (arrived != begin) {
    const auto piece = static_cast<std::size_t>(arrived - begin) - 1;
    const double t = static_cast<double>(piece % kPiecesPerSegment + 1) * kPieceWidth;
    if (const auto direction = FirstDirection(SegmentOf(mSequence, piece / kPiecesPerSegment), t, true))
      return *direction;
  }
  return PathPoint{0.0f, 0.0f};
}

}  // namespace arclength
