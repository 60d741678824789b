// A segment's point and direction with both coordinates at once against one coordinate at a
// time: the same bits, so a build without SSE2 walks exactly as one with it; and no invalid
// operation where the direction lies along an axis, for games that trap them.
#include <gtest/gtest.h>

#include <cfenv>  // the floating-point exception flags
#include <cstring>
#include <random>

#include "CubicSegment.h"

namespace {

using arclength::Cubic;

bool SameBits(const PathPoint& a, const PathPoint& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Segments of every direction, a quarter of them moving along the x axis and a quarter along y
// (a coordinate of the derivative exactly 0), at parameters over the whole segment.
TEST(CubicSegment, BothCoordinatesAtOnceGiveTheBitsOfOneAtATime) {
  std::mt19937 random(5);
  std::uniform_real_distribution<double> coordinate(-2000.0, 2000.0), along(0.0, 1.0);
  for (int i = 0; i < 100000; ++i) {
    Cubic s{{coordinate(random), coordinate(random)},
            {coordinate(random), coordinate(random)},
            {coordinate(random), coordinate(random)},
            {coordinate(random), coordinate(random)}};
    if (i % 4 == 1) s.b.y = s.c.y = s.d.y = 0.0;
    if (i % 4 == 2) s.b.x = s.c.x = s.d.x = 0.0;
    const double t = along(random);
    const PathPose pose = arclength::PoseOf(s, t), each = arclength::PoseOfEach(s, t);
    ASSERT_TRUE(SameBits(pose.position, each.position)) << i;
    ASSERT_TRUE(SameBits(pose.direction, each.direction)) << i;
    ASSERT_TRUE(SameBits(arclength::PointOf(s, t), pose.position)) << i;
    ASSERT_TRUE(SameBits(arclength::PointOfEach(s, t), pose.position)) << i;
  }
}

TEST(CubicSegment, ADirectionAlongAnAxisRaisesNoInvalidOperation) {
  // Read through a volatile, so that the pose is worked out when the test runs.
  volatile double one = 1.0;
  const Cubic alongX{{0.0, 0.0}, {one, 0.0}, {0.0, 0.0}, {0.0, 0.0}};
  const Cubic alongY{{0.0, 0.0}, {0.0, one}, {0.0, 0.0}, {0.0, 0.0}};
  std::feclearexcept(FE_ALL_EXCEPT);
  const PathPose x = arclength::PoseOf(alongX, 0.5 * one), y = arclength::PoseOf(alongY, 0.5 * one);
  EXPECT_FALSE(std::fetestexcept(FE_INVALID));
  EXPECT_EQ((PathPoint{1.0f, 0.0f}), x.direction);
  EXPECT_EQ((PathPoint{0.0f, 1.0f}), y.direction);
}

}  // namespace
