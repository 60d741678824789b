// Shared pieces of the runtime tests: named path shapes, path texts with exact points, and the
// length of a dense polyline through a curve as the reference for distances.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "PathPoint.h"
#include "SplineCurve.h"  // PathEnds
#include "NamedCases.h"   // testsupport::CaseName for the tables of cases

// How test failures show a point.
inline void PrintTo(const PathPoint& p, std::ostream* out) { *out << '(' << p.x << ", " << p.y << ')'; }

namespace runtimetest {

// A path as a user places it in the editor: window positions, then a rotation and a scale.
struct Shape {
  const char* name;
  std::vector<PathPoint> windowPoints;
  float rotation;
  float scale;
  bool smooth;  // no cusp and no tight turn: a walk by distance sees chords as long as arcs
};

inline std::vector<PathPoint> Circle(int count, float radius) {
  std::vector<PathPoint> points;
  for (int i = 0; i < count; ++i) {
    const double angle = 2.0 * 3.141592653589793 * i / count;
    points.push_back({612.0f + radius * static_cast<float>(std::cos(angle)),
                      384.0f + radius * static_cast<float>(std::sin(angle))});
  }
  return points;
}

inline std::vector<PathPoint> Wave(int count) {
  std::vector<PathPoint> points;
  for (int i = 0; i < count; ++i)
    points.push_back(
        {262.0f + 700.0f * i / (count - 1), 384.0f + 150.0f * static_cast<float>(std::sin(i * 0.9))});
  return points;
}

inline std::vector<PathPoint> Spiral(int count) {
  std::vector<PathPoint> points;
  for (int i = 0; i < count; ++i) {
    const double angle = 0.35 * i, radius = 20.0 + 1.8 * i;
    points.push_back({612.0f + static_cast<float>(radius * std::cos(angle)),
                      384.0f + static_cast<float>(radius * std::sin(angle))});
  }
  return points;
}

// Points scattered over the frame by a fixed linear congruential sequence.
inline std::vector<PathPoint> Scattered(int count) {
  std::vector<PathPoint> points;
  std::uint32_t state = 12345;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return static_cast<float>(state >> 8) / 16777216.0f;
  };
  for (int i = 0; i < count; ++i) {
    const float x = 262.0f + 700.0f * next();
    points.push_back({x, 184.0f + 400.0f * next()});
  }
  return points;
}

inline const std::vector<Shape>& Shapes() {
  static const std::vector<Shape> shapes = {
      {"four_points", {{262, 184}, {612, 384}, {962, 584}, {962, 184}}, 0.0f, 1.0f, true},
      {"wave_8", Wave(8), 0.0f, 1.0f, true},
      {"circle_12", Circle(12, 150.0f), 0.0f, 1.0f, true},
      {"wave_rotated_scaled", Wave(9), 30.0f, 1.5f, true},
      {"repeated_points",
       {{300, 200}, {300, 200}, {500, 500}, {700, 200}, {700, 200}, {700, 200}, {900, 400}},
       0.0f,
       1.0f,
       false},
      {"spiral_100", Spiral(100), 0.0f, 1.0f, true},
      // The first segment stops and turns back halfway (its point differences sum to zero
      // there); the points after it reverse on a line, stopping at the joints.
      {"cusps",
       {{300, 200}, {480, 380}, {420, 380}, {600, 200}, {300, 200}, {600, 200}, {300, 200}},
       0.0f,
       1.0f,
       false},
      {"scattered_1000", Scattered(1000), 0.0f, 1.0f, false},
  };
  return shapes;
}

inline std::vector<Shape> SmoothShapes() {
  std::vector<Shape> smooth;
  for (const Shape& shape : Shapes())
    if (shape.smooth) smooth.push_back(shape);
  return smooth;
}

// A measured value for the test report, in three significant digits.
inline std::string Measured(double value) {
  std::ostringstream text;
  text << std::setprecision(3) << value;
  return text.str();
}

// The name of a parameterised case: its `name` field.
// A path text whose control points load as exactly these frame pixels: a frame of size 1 and
// no SplineStart, so each point is its file value.
inline std::string PathText(const std::vector<PathPoint>& framePoints) {
  std::ostringstream text;
  text << std::setprecision(9) << "<resource><Scale>0.5 0.5</Scale>";
  for (const PathPoint& p : framePoints) text << "<ControlPoint>" << p.x << ' ' << p.y << "</ControlPoint>";
  text << "</resource>";
  return text.str();
}

// The control sequence a path's ends make of its points, written out as the curve is defined:
// a pinned path gets a point beyond each end, 2 P0 - P1 and 2 Pn-1 - Pn-2; a loop repeats its
// first three points after its last.
inline std::vector<PathPoint> Sequence(const std::vector<PathPoint>& p, PathEnds ends) {
  std::vector<PathPoint> sequence = p;
  if (ends == PathEnds::Pinned) {
    const PathPoint a = p[0], b = p[1], y = p[p.size() - 2], z = p.back();
    sequence.insert(sequence.begin(), PathPoint{2 * a.x - b.x, 2 * a.y - b.y});
    sequence.push_back(PathPoint{2 * z.x - y.x, 2 * z.y - y.y});
  } else if (ends == PathEnds::Loop) {
    for (std::size_t k = 0; k < 3; ++k) sequence.push_back(p[k % p.size()]);
  }
  return sequence;
}

// The uniform cubic B-spline of `points` at segment i, parameter t, in double by the matrix
// form (independent of the code under test).
inline void CurvePoint(const std::vector<PathPoint>& points, std::size_t i, double t, double& x, double& y) {
  const double t2 = t * t, t3 = t2 * t;
  const double w[4] = {(-t3 + 3 * t2 - 3 * t + 1) / 6, (3 * t3 - 6 * t2 + 4) / 6,
                       (-3 * t3 + 3 * t2 + 3 * t + 1) / 6, t3 / 6};
  x = y = 0.0;
  for (std::size_t k = 0; k < 4; ++k) {
    x += w[k] * points[i + k].x;
    y += w[k] * points[i + k].y;
  }
}

// The length of the polyline through `chordsPerSegment` + 1 evenly spaced points of every
// segment of the open curve.
inline double DenseLength(const std::vector<PathPoint>& points, int chordsPerSegment) {
  double length = 0.0, px = 0.0, py = 0.0;
  CurvePoint(points, 0, 0.0, px, py);
  for (std::size_t i = 0; i + 3 < points.size(); ++i) {
    for (int k = 1; k <= chordsPerSegment; ++k) {
      double x = 0.0, y = 0.0;
      CurvePoint(points, i, static_cast<double>(k) / chordsPerSegment, x, y);
      length += std::hypot(x - px, y - py);
      px = x;
      py = y;
    }
  }
  return length;
}

}  // namespace runtimetest
