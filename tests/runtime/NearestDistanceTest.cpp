// The distance along the curve of its point nearest to a given point: never farther than a dense
// search of an independent reference finds, the place of a point beside a smooth curve, and the
// ends, short paths and points that are not numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "CurveReference.h"
#include "PathResource.h"
#include "RuntimeTestSupport.h"

namespace {

using runtimetest::Shape;

PathResource Read(const std::vector<PathPoint>& points) {
  std::optional<PathResource> path = PathResource::FromText(runtimetest::PathText(points), nullptr);
  EXPECT_TRUE(path);
  return *path;
}

double Apart(const PathPoint& p, double x, double y) { return std::hypot(p.x - x, p.y - y); }

// How near the reference curve comes to p: every segment sampled at 256 parameters, then the
// best sample's neighbourhood narrowed by golden sections.
double ReferenceNearest(const curvereference::Curve& curve, const PathPoint& p) {
  auto apart = [&](double u) {
    const curvereference::Point c = curve.At(u);
    return Apart(p, c.x, c.y);
  };
  const double step = 1.0 / 256.0;
  const double end = static_cast<double>(curve.Segments());
  double best = std::numeric_limits<double>::infinity(), bestU = 0.0;
  for (double u = 0.0; u <= end; u += step) {
    if (apart(u) < best) best = apart(u), bestU = u;
  }
  double low = std::max(0.0, bestU - step), high = std::min(end, bestU + step);
  for (int k = 0; k < 100; ++k) {
    const double a = high - 0.618 * (high - low), b = low + 0.618 * (high - low);
    (apart(a) < apart(b) ? high : low) = apart(a) < apart(b) ? b : a;
  }
  return std::min(best, apart(0.5 * (low + high)));
}

class Nearest : public ::testing::TestWithParam<Shape> {};

// Points scattered over and around the frame: the runtime's nearest point is as near as the
// reference's, to a ten-thousandth of a pixel.
TEST_P(Nearest, IsAsNearAsADenseSearchFinds) {
  const PathResource path = Read(GetParam().windowPoints);
  std::vector<curvereference::Point> sequence;
  for (const PathPoint& p : path.ControlPoints()) sequence.push_back({p.x, p.y});
  const curvereference::Curve reference(sequence);
  std::mt19937 random(5);
  std::uniform_real_distribution<float> x(100.0f, 1100.0f), y(50.0f, 700.0f);
  const int points = reference.Segments() > 100 ? 20 : 100;
  for (int i = 0; i < points; ++i) {
    const PathPoint p{x(random), y(random)};
    const double along = path.NearestDistance(p);
    ASSERT_GE(along, 0.0);
    ASSERT_LE(along, path.Length());
    const curvereference::Point found = reference.AtDistance(along);
    EXPECT_LE(Apart(p, found.x, found.y), ReferenceNearest(reference, p) + 1e-4) << p.x << ", " << p.y;
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, Nearest, ::testing::ValuesIn(runtimetest::Shapes()),
                         testsupport::CaseName<Shape>);

// A point a few pixels beside a smooth curve, off either side, has the distance of the curve's
// point it stands beside.
class Beside : public ::testing::TestWithParam<Shape> {};

TEST_P(Beside, APointBesideTheCurveHasItsDistance) {
  const PathResource path = Read(GetParam().windowPoints);
  std::mt19937 random(3);
  std::uniform_real_distribution<double> along(0.0, path.Length());
  for (int i = 0; i < 200; ++i) {
    const double d = along(random);
    const PathPose pose = path.PoseAtDistance(d);
    const float side = i % 2 == 0 ? 3.0f : -3.0f;
    const PathPoint p{pose.position.x - side * pose.direction.y, pose.position.y + side * pose.direction.x};
    EXPECT_NEAR(d, path.NearestDistance(p), 1e-3) << "beside distance " << d;
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, Beside, ::testing::ValuesIn(runtimetest::SmoothShapes()),
                         testsupport::CaseName<Shape>);

TEST(NearestDistance, EndsShortPathsAndPointsThatAreNoNumbers) {
  const PathResource line = Read({{0, 0}, {30, 40}, {60, 80}, {90, 120}});  // (30, 40) to (60, 80)
  EXPECT_EQ(0.0, line.NearestDistance({0, 0}));
  EXPECT_DOUBLE_EQ(line.Length(), line.NearestDistance({1000, 1000}));
  EXPECT_NEAR(25.0, line.NearestDistance({45 + 8, 60 - 6}), 1e-9);
  const float nan = std::numeric_limits<float>::quiet_NaN(),
              infinity = std::numeric_limits<float>::infinity();
  EXPECT_EQ(0.0, line.NearestDistance({nan, 0}));
  EXPECT_EQ(0.0, line.NearestDistance({infinity, infinity}));
  EXPECT_EQ(0.0, Read({{0, 0}, {1, 0}, {2, 0}}).NearestDistance({1, 0}));
  const PathResource still = Read({{5, 5}, {5, 5}, {5, 5}, {5, 5}});
  EXPECT_EQ(0.0, still.NearestDistance({9, 9}));
}

}  // namespace
