// The pieces of the curve a walk by distance sums one polynomial on, and their grid.
#include "WalkIndex.h"

#include <algorithm>
#include <cmath>

namespace arclength {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Grid cells a piece: more cells, fewer lookups that must step past a piece starting in theirs
// (a step is a mispredicted branch).
constexpr std::size_t kCellsPerPiece = 8;

// The parameter's second derivative by distance at t, -(C' . C'') / |C'|^4, from the speed v.
double Curving(const Segment& segment, double t, double v) {
  const Vec d1 = Derivative(segment, t, 1), d2 = Derivative(segment, t, 2);
  return -(d1.x * d2.x + d1.y * d2.y) / (v * v * v * v);
}

}  // namespace

WalkIndex::WalkIndex(const std::vector<Vec>& sequence, const std::vector<double>& segmentStarts) {
  const double length = segmentStarts.empty() ? 0.0 : segmentStarts.back();
  if (!(length > 0.0) || !std::isfinite(length)) return;
  for (std::size_t i = 0; i + 1 < segmentStarts.size(); ++i) {
    const Segment segment = SegmentOf(sequence, i);
    // The basis matrix's rows: (P0 + 4 P1 + P2) / 6, (P2 - P0) / 2, (P0 - 2 P1 + P2) / 2,
    // (-P0 + 3 P1 - 3 P2 + P3) / 6.
    const Vec* p = segment.p;
    auto row = [p](double w0, double w1, double w2, double w3) {
      return Vec{w0 * p[0].x + w1 * p[1].x + w2 * p[2].x + w3 * p[3].x,
                 w0 * p[0].y + w1 * p[1].y + w2 * p[2].y + w3 * p[3].y};
    };
    constexpr double kSixth = 1.0 / 6.0;
    mCubics.push_back(Cubic{row(kSixth, 4.0 * kSixth, kSixth, 0.0), row(-0.5, 0.0, 0.5, 0.0),
                            row(0.5, -1.0, 0.5, 0.0), row(-kSixth, 0.5, -0.5, kSixth)});
    const double size = SizeOf(segment);
    if (size >= kSmallestSize && size <= kLargestSize) {
      AddPiece(segment, i, size, 0.0, 1.0, segmentStarts[i], segmentStarts[i + 1], 0);
    } else {
      mPieces.push_back(Piece{segmentStarts[i], {kNaN, 0, 0, 0, 0, 0}, i});
    }
  }
  if (mPieces.size() >= std::numeric_limits<std::uint32_t>::max() / kCellsPerPiece) {
    mPieces.clear();
    mCubics.clear();
    return;
  }
  for (const Piece& piece : mPieces) mStarts.push_back(piece.start);
  mStarts.push_back(std::numeric_limits<double>::infinity());
  // Each cell names the last piece that starts before it, a hair early, so that a distance that
  // rounds up into the cell still finds its piece at or after the named one.
  const std::size_t cells = kCellsPerPiece * mPieces.size();
  mCellsPerPixel = static_cast<double>(cells) / length;
  mGrid.resize(cells + 1);
  std::size_t k = 0;
  for (std::size_t j = 0; j <= cells; ++j) {
    const double from = (static_cast<double>(j) - 1e-6) / mCellsPerPixel;
    while (mStarts[k + 1] <= from) ++k;
    mGrid[j] = static_cast<std::uint32_t>(k);
  }
}

void WalkIndex::AddPiece(const Segment& segment, std::size_t index, double size, double t0, double t1,
                         double d0, double d1, int halvings) {
  const double width = d1 - d0;
  Piece piece{d0, {kNaN, 0, 0, 0, 0, 0}, index};
  // Below this the speed is rounding noise of points of this size; a piece must move.
  const double slowest = 1e-9 * size;
  const double v0 = Speed(segment, t0), v1 = Speed(segment, t1);
  if (!(width > 0.0) || !(v0 > slowest) || !(v1 > slowest)) {
    if (width > 0.0 && halvings < kMaxHalvings) {
      // A cusp or a stop at an end: the pieces beside it may still follow the curve.
      const double middle = 0.5 * (t0 + t1), dm = d0 + LengthBetween(segment, t0, middle);
      AddPiece(segment, index, size, t0, middle, d0, dm, halvings + 1);
      AddPiece(segment, index, size, middle, t1, dm, d1, halvings + 1);
      return;
    }
    mPieces.push_back(piece);
    return;
  }

  // The quintic in x = (d - d0) / width through t0 ... t1 with the slopes and curvings at both
  // ends, then its coefficients for d - d0 itself.
  const double m0 = width / v0, m1 = width / v1;
  const double k0 = width * width * Curving(segment, t0, v0), k1 = width * width * Curving(segment, t1, v1);
  const double rest = t1 - t0 - m0 - 0.5 * k0, slope = m1 - m0 - k0, curving = k1 - k0;
  double* c = piece.c;
  c[0] = t0;
  c[1] = m0;
  c[2] = 0.5 * k0;
  c[3] = 10.0 * rest - 4.0 * slope + 0.5 * curving;
  c[4] = -15.0 * rest + 7.0 * slope - curving;
  c[5] = 6.0 * rest - 3.0 * slope + 0.5 * curving;
  double power = 1.0;
  for (int k = 1; k < 6; ++k) c[k] /= (power *= width);

  // Checks at a quarter, half and three quarters of the piece's parameter span: the exact
  // distance there, the polynomial's parameter at that distance, and how far apart their points
  // are. Huge coordinates allow no finer than their own rounding.
  const double tolerance = std::max(kTolerance, 1e-12 * size);
  bool follows = true;
  for (const double f : {0.25, 0.5, 0.75}) {
    const double t = t0 + f * (t1 - t0);
    const double x = LengthBetween(segment, t0, t);
    const double u = c[0] + x * (c[1] + x * (c[2] + x * (c[3] + x * (c[4] + x * c[5]))));
    const Vec exact = Derivative(segment, t, 0), walked = Derivative(segment, u, 0);
    if (!(std::hypot(walked.x - exact.x, walked.y - exact.y) <= tolerance) ||
        !(Speed(segment, t) > slowest)) {
      follows = false;
      break;
    }
  }
  if (follows) {
    mPieces.push_back(piece);
  } else if (halvings < kMaxHalvings) {
    const double middle = 0.5 * (t0 + t1), dm = d0 + LengthBetween(segment, t0, middle);
    AddPiece(segment, index, size, t0, middle, d0, dm, halvings + 1);
    AddPiece(segment, index, size, middle, t1, dm, d1, halvings + 1);
  } else {
    piece.c[0] = kNaN;
    mPieces.push_back(piece);
  }
}

}  // namespace arclength
