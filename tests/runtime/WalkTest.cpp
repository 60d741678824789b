// Walks by distance against an independent reference of the curve: positions within a
// thousandth of a pixel of the true point at that distance, directions along the curve, and
// poses that are exactly the point and the direction; on free, pinned and looped paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <string>
#include <vector>

#include "CurveReference.h"
#include "PathResource.h"
#include "RuntimeTestSupport.h"

namespace {

struct WalkCase {
  std::string name;
  std::vector<PathPoint> points;
  PathEnds ends;
};

// Every shape as a free path, and some with pinned ends and as loops.
std::vector<WalkCase> Cases() {
  std::vector<WalkCase> cases;
  for (const runtimetest::Shape& shape : runtimetest::Shapes())
    cases.push_back({shape.name, shape.windowPoints, PathEnds::Free});
  for (const runtimetest::Shape& shape : runtimetest::Shapes()) {
    const std::string name = shape.name;
    if (name != "wave_8" && name != "cusps" && name != "circle_12" && name != "spiral_100") continue;
    cases.push_back({"pinned_" + name, shape.windowPoints, PathEnds::Pinned});
    cases.push_back({"loop_" + name, shape.windowPoints, PathEnds::Loop});
  }
  // Directions are made unit in single precision, whose squares end near 1e-38 and 1e38: paths
  // far smaller and far larger than a level walk outside that range.
  for (const float scale : {1e-24f, 1e18f}) {
    std::vector<PathPoint> scaled = runtimetest::Wave(8);
    for (PathPoint& p : scaled) p = PathPoint{p.x * scale, p.y * scale};
    cases.push_back({scale < 1.0f ? "wave_8_tiny" : "wave_8_huge", scaled, PathEnds::Free});
  }
  return cases;
}

class Walk : public ::testing::TestWithParam<WalkCase> {
protected:
  void SetUp() override {
    const WalkCase& c = GetParam();
    path = PathResource::FromPoints(c.points, c.ends, PathPoint{1280.0f, 1024.0f});
    ASSERT_TRUE(path);
    std::vector<curvereference::Point> sequence;
    for (const PathPoint& p : runtimetest::Sequence(c.points, c.ends)) sequence.push_back({p.x, p.y});
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
    // The position is given in single precision: half the last bit of each coordinate on top.
    const double rounding = 0.5 * std::hypot(truth.x, truth.y) * 0x1p-23;
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

INSTANTIATE_TEST_SUITE_P(Paths, Walk, ::testing::ValuesIn(Cases()), testsupport::CaseName<WalkCase>);

// A loop goes round: a distance past its end, or before its start, is the distance a whole
// number of rounds away, and the nearest point of a loop lies before its end.
TEST(WalkRound, ALoopGoesOnFromItsStart) {
  const std::vector<PathPoint> room = {{50, 50}, {650, 50}, {650, 350}, {50, 350}};
  const std::optional<PathResource> loop =
      PathResource::FromPoints(room, PathEnds::Loop, PathPoint{700, 400});
  ASSERT_TRUE(loop);
  const double length = loop->Length();
  for (const double d : {0.0, 0.25 * length, 0.999 * length}) {
    for (const double rounds : {-3.0, -1.0, 1.0, 7.0}) {
      const PathPoint there = loop->PointAtDistance(d), again = loop->PointAtDistance(d + rounds * length);
      EXPECT_LE(std::hypot(there.x - again.x, there.y - again.y), 1e-3)
          << d << " and " << rounds << " rounds";
    }
  }
  const PathPoint start = loop->PointAtDistance(0.0);
  EXPECT_EQ(0.0, loop->NearestDistance(start));
  EXPECT_LT(loop->NearestDistance(PathPoint{start.x - 1e-3f, start.y}), length);
}

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
