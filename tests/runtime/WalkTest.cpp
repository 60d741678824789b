// Walks by distance against an independent reference of the curve: positions within a
// thousandth of a pixel of the true point at that distance, directions along the curve, and
// poses that are exactly the point and the direction.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <vector>

#include "CurveReference.h"
#include "PathResource.h"
#include "RuntimeTestSupport.h"

namespace {

using runtimetest::Shape;

class Walk : public ::testing::TestWithParam<Shape> {
protected:
  void SetUp() override {
    path = PathResource::FromText(runtimetest::PathText(GetParam().windowPoints), nullptr);
    ASSERT_TRUE(path);
    std::vector<curvereference::Point> sequence;
    for (const PathPoint& p : path->ControlPoints()) sequence.push_back({p.x, p.y});
    reference.emplace(sequence);
  }

  // Distances spread over the whole curve, the same every run, with both ends.
  std::vector<double> Distances(std::size_t count) const {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> along(0.0, path->Length());
    std::vector<double> distances{0.0, path->Length()};
    while (distances.size() < count) distances.push_back(along(random));
    return distances;
  }

  std::optional<PathResource> path;
  std::optional<curvereference::Curve> reference;
};

TEST_P(Walk, PositionsAreWithinAThousandthOfAPixelOfTheCurve) {
  EXPECT_NEAR(reference->Length(), path->Length(), 1e-6 * reference->Length());
  double worst = 0.0;
  for (const double d : Distances(3000)) {
    const curvereference::Point truth = reference->AtDistance(d);
    const PathPoint walked = path->PointAtDistance(d);
    // The position is given in single precision: half its last bit on top.
    const double rounding = 0.5 * std::max(std::abs(truth.x), std::abs(truth.y)) * 0x1p-23;
    const double off = std::hypot(walked.x - truth.x, walked.y - truth.y);
    ASSERT_LE(off, 1e-3 + rounding) << "at distance " << d;
    worst = std::max(worst, off);
  }
  RecordProperty("largest_position_error_px", runtimetest::Measured(worst));
}

// Where the curve moves, the direction is the reference's velocity made a unit vector; near a
// stop the direction turns quickly and the rules for stops hold instead (the Tangent cases).
TEST_P(Walk, DirectionsFollowTheCurveAndPosesAgree) {
  const double typical = path->Length() / static_cast<double>(reference->Segments());
  for (const double d : Distances(1000)) {
    const PathPose pose = path->PoseAtDistance(d);
    ASSERT_EQ(path->PointAtDistance(d), pose.position) << d;
    ASSERT_EQ(path->TangentAtDistance(d), pose.direction) << d;
    ASSERT_NEAR(1.0, std::hypot(pose.direction.x, pose.direction.y), 1e-6) << d;
    const curvereference::Point velocity = reference->Velocity(reference->ParameterAt(d));
    const double speed = std::hypot(velocity.x, velocity.y);
    if (speed < 0.05 * typical) continue;
    EXPECT_NEAR(velocity.x / speed, pose.direction.x, 1e-4) << d;
    EXPECT_NEAR(velocity.y / speed, pose.direction.y, 1e-4) << d;
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, Walk, ::testing::ValuesIn(runtimetest::Shapes()),
                         runtimetest::CaseName<Shape>);

// A curve of huge coordinates is walked as finely as its own rounding allows, within the range
// of the float positions it gives.
TEST(WalkOfHugeCoordinates, StaysOnTheCurve) {
  const std::vector<PathPoint> points = {{1e15f, 0}, {3e15f, 2e15f}, {5e15f, 0}, {7e15f, 2e15f}, {9e15f, 0}};
  const std::optional<PathResource> path = PathResource::FromText(runtimetest::PathText(points), nullptr);
  ASSERT_TRUE(path);
  std::vector<curvereference::Point> sequence;
  for (const PathPoint& p : points) sequence.push_back({p.x, p.y});
  const curvereference::Curve reference(sequence);
  for (double f = 0.0; f <= 1.0; f += 0.125) {
    const double d = f * path->Length();
    const curvereference::Point truth = reference.AtDistance(d);
    const PathPoint walked = path->PointAtDistance(d);
    EXPECT_LE(std::hypot(walked.x - truth.x, walked.y - truth.y), 1e-6 * 1e15) << f;
  }
}

}  // namespace
