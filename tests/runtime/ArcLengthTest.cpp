// Distances along the curve: the length against a dense polyline, a walk at constant speed,
// distances held to the curve, and the direction of travel where the curve stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "PathResource.h"
#include "RuntimeTestSupport.h"

namespace {

using runtimetest::DenseLength;
using runtimetest::PathText;
using runtimetest::Shape;

double Distance(const PathPoint& a, const PathPoint& b) {
  return std::hypot(static_cast<double>(a.x) - b.x, static_cast<double>(a.y) - b.y);
}

// The shape's window positions as frame pixels of a path read by the runtime.
PathResource ReadShape(const Shape& shape) {
  std::optional<PathResource> path = PathResource::FromText(PathText(shape.windowPoints), nullptr);
  EXPECT_TRUE(path);
  return *path;
}

class Distances : public ::testing::TestWithParam<Shape> {};

TEST_P(Distances, LengthIsTheDensePolylinesWithinAThousandth) {
  const PathResource path = ReadShape(GetParam());
  const std::size_t segments = path.ControlPoints().size() - 3;
  const double dense =
      DenseLength(path.ControlPoints(), static_cast<int>(std::max<std::size_t>(400, 400000 / segments)));
  const double relative = std::abs(path.Length() - dense) / dense;
  EXPECT_LE(relative, 1e-3) << path.Length() << " against " << dense;
  RecordProperty("length_relative_error", runtimetest::Measured(relative));
}

// The distance up to each joint of the curve (from the dense polyline of the points before
// it) leads to the curve's point at that joint.
TEST_P(Distances, TheDistanceOfAJointLeadsToIt) {
  const PathResource path = ReadShape(GetParam());
  const std::vector<PathPoint>& points = path.ControlPoints();
  const std::size_t segments = points.size() - 3;
  for (std::size_t joint = 0; joint <= segments; joint += std::max<std::size_t>(1, segments / 7)) {
    const std::vector<PathPoint> before(points.begin(),
                                        points.begin() + static_cast<std::ptrdiff_t>(joint + 3));
    const double distance = before.size() < 4 ? 0.0 : DenseLength(before, 20000);
    const PathPoint expected = path.Evaluate(static_cast<float>(joint));
    EXPECT_LE(Distance(expected, path.PointAtDistance(distance)), 2e-3) << "joint " << joint;
  }
}

TEST_P(Distances, AreHeldToTheCurve) {
  const PathResource path = ReadShape(GetParam());
  const PathPoint start = path.PointAtDistance(0.0), end = path.PointAtDistance(path.Length());
  const std::vector<PathPoint> samples = path.Samples();
  EXPECT_LE(Distance(samples.front(), start), 1e-3);
  EXPECT_LE(Distance(samples.back(), end), 1e-3);
  for (double before : {-1.0, -1e300, -std::numeric_limits<double>::infinity(), std::nan("")}) {
    EXPECT_EQ(start, path.PointAtDistance(before)) << before;
    EXPECT_EQ(path.TangentAtDistance(0.0), path.TangentAtDistance(before)) << before;
  }
  for (double after : {path.Length() + 1.0, 1e30, std::numeric_limits<double>::infinity()}) {
    EXPECT_EQ(end, path.PointAtDistance(after)) << after;
    EXPECT_EQ(path.TangentAtDistance(path.Length()), path.TangentAtDistance(after)) << after;
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, Distances, ::testing::ValuesIn(runtimetest::Shapes()),
                         testsupport::CaseName<Shape>);

// Steps of one pixel of distance are one pixel apart, and the tangent points along them.
class ConstantSpeed : public ::testing::TestWithParam<Shape> {};

TEST_P(ConstantSpeed, StepsOfEqualDistanceAreEquallyFarApart) {
  const PathResource path = ReadShape(GetParam());
  const double step = 1.0;
  double shortest = std::numeric_limits<double>::max(), longest = 0.0;
  PathPoint previous = path.PointAtDistance(0.0);
  for (double d = step; d <= path.Length(); d += step) {
    const PathPoint point = path.PointAtDistance(d);
    const double apart = Distance(previous, point);
    shortest = std::min(shortest, apart);
    longest = std::max(longest, apart);
    const PathPoint tangent = path.TangentAtDistance(d - 0.5 * step);
    ASSERT_NEAR(1.0, std::hypot(tangent.x, tangent.y), 1e-6) << d;
    const double along = (tangent.x * (point.x - previous.x) + tangent.y * (point.y - previous.y)) / apart;
    ASSERT_GT(along, 0.9999) << "the tangent leaves the walk at " << d;
    previous = point;
  }
  EXPECT_LE(longest - shortest, 1e-3 * step) << "steps from " << shortest << " to " << longest;
  RecordProperty("step_spread_px", runtimetest::Measured(longest - shortest));
}

INSTANTIATE_TEST_SUITE_P(Shapes, ConstantSpeed, ::testing::ValuesIn(runtimetest::SmoothShapes()),
                         testsupport::CaseName<Shape>);

// Where the curve stops (repeated points, all points equal), the direction of travel.
struct TangentCase {
  const char* name;
  std::vector<PathPoint> points;
  float fraction;  // of the length
  PathPoint expected;
};

class Tangent : public ::testing::TestWithParam<TangentCase> {};

TEST_P(Tangent, IsTheDirectionOfTravel) {
  const TangentCase& c = GetParam();
  const std::optional<PathResource> path = PathResource::FromText(PathText(c.points), nullptr);
  ASSERT_TRUE(path);
  const PathPoint tangent = path->TangentAtDistance(c.fraction * path->Length());
  EXPECT_NEAR(c.expected.x, tangent.x, 1e-6);
  EXPECT_NEAR(c.expected.y, tangent.y, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Tangent,
    ::testing::Values(
        TangentCase{"straight", {{0, 0}, {30, 40}, {60, 80}, {90, 120}}, 0.5f, {0.6f, 0.8f}},
        TangentCase{"start_standing_still", {{5, 5}, {5, 5}, {5, 5}, {5, 5}, {8, 9}}, 0.0f, {0.6f, 0.8f}},
        TangentCase{"end_standing_still", {{8, 9}, {5, 5}, {5, 5}, {5, 5}, {5, 5}}, 1.0f, {-0.6f, -0.8f}},
        // Points 0 and 2 equal: the speed is 0 where the curve starts, and it moves off along
        // the second derivative, P0 - 2 P1 + P2.
        TangentCase{"cusp_at_the_start", {{0, 0}, {30, 40}, {0, 0}, {60, 0}}, 0.0f, {-0.6f, -0.8f}},
        // Points n-3 and n-1 equal: it arrives against the second derivative.
        TangentCase{"cusp_at_the_end", {{60, 0}, {0, 0}, {30, 40}, {0, 0}}, 1.0f, {0.6f, 0.8f}},
        TangentCase{"all_points_equal", {{5, 5}, {5, 5}, {5, 5}, {5, 5}}, 0.5f, {0, 0}},
        TangentCase{"below_four_points", {{0, 0}, {1, 0}, {2, 0}}, 0.5f, {0, 0}}),
    testsupport::CaseName<TangentCase>);

}  // namespace
