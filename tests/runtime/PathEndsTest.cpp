// The three ends of a path in the runtime: a pinned curve on its end points, a loop that closes
// and goes round by distance, lengths against a dense polyline, and paths made in code.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "PathResource.h"
#include "RuntimeTestSupport.h"

namespace {

using runtimetest::DenseLength;
using runtimetest::Sequence;

const PathPoint kFrame{700.0f, 400.0f};

double Distance(const PathPoint& a, const PathPoint& b) {
  return std::hypot(static_cast<double>(a.x) - b.x, static_cast<double>(a.y) - b.y);
}

PathResource Make(const std::vector<PathPoint>& points, PathEnds ends) {
  std::optional<PathResource> path = PathResource::FromPoints(points, ends, kFrame);
  EXPECT_TRUE(path);
  return path ? *path : *PathResource::FromPoints({}, PathEnds::Free, kFrame);
}

struct EndsCase {
  const char* name;
  std::vector<PathPoint> points;
  PathEnds ends;
};

std::vector<EndsCase> Cases() {
  const std::vector<PathPoint> room = {{50, 50}, {650, 50}, {650, 350}, {50, 350}};
  return {
      {"pinned_two_points", {{100, 80}, {400, 320}}, PathEnds::Pinned},
      {"pinned_three_points", {{100, 80}, {400, 320}, {600, 60}}, PathEnds::Pinned},
      {"pinned_wave", runtimetest::Wave(9), PathEnds::Pinned},
      {"pinned_scattered", runtimetest::Scattered(300), PathEnds::Pinned},
      {"loop_three_points", {{100, 80}, {400, 320}, {600, 60}}, PathEnds::Loop},
      {"loop_room", room, PathEnds::Loop},
      {"loop_circle", runtimetest::Circle(12, 150.0f), PathEnds::Loop},
      {"loop_scattered", runtimetest::Scattered(300), PathEnds::Loop},
  };
}

class Ends : public ::testing::TestWithParam<EndsCase> {};

TEST_P(Ends, LengthIsTheDensePolylinesOfTheControlSequence) {
  const EndsCase& c = GetParam();
  const PathResource path = Make(c.points, c.ends);
  const std::vector<PathPoint> sequence = Sequence(c.points, c.ends);
  const double dense = DenseLength(sequence, static_cast<int>(400000 / (sequence.size() - 3)));
  EXPECT_NEAR(dense, path.Length(), 1e-5 * dense);
}

// The samples lie on the curve the sequence defines, and a loop's last sample is its first.
TEST_P(Ends, SamplesAreTheCurveOfTheControlSequence) {
  const EndsCase& c = GetParam();
  const PathResource path = Make(c.points, c.ends);
  const std::vector<PathPoint> sequence = Sequence(c.points, c.ends);
  const std::vector<PathPoint>& samples = path.Samples();
  ASSERT_FALSE(samples.empty());
  // The parameters the samples are taken at: steps of 0.01 summed in single precision.
  const auto end = static_cast<float>(sequence.size() - 3);
  float s = 0.0f;
  for (std::size_t k = 0; k < samples.size(); ++k, s += 0.01f) {
    if (k + 1 == samples.size()) s = end;
    const auto segment = std::min<std::size_t>(static_cast<std::size_t>(s), sequence.size() - 4);
    double x = 0.0, y = 0.0;
    runtimetest::CurvePoint(sequence, segment, s - static_cast<double>(segment), x, y);
    ASSERT_NEAR(x, samples[k].x, 1e-3) << k;
    ASSERT_NEAR(y, samples[k].y, 1e-3) << k;
  }
  if (c.ends == PathEnds::Loop) {
    EXPECT_EQ(samples.front(), samples.back());
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, Ends, ::testing::ValuesIn(Cases()), testsupport::CaseName<EndsCase>);

// A pinned curve starts exactly on its first point, leaving it towards the second, and ends
// exactly on its last, arriving from the one before.
class PinnedEnds : public ::testing::TestWithParam<EndsCase> {};

TEST_P(PinnedEnds, AreTheFirstAndLastPointsWithTheirTangents) {
  const std::vector<PathPoint>& p = GetParam().points;
  const PathResource path = Make(p, PathEnds::Pinned);
  const std::size_t n = p.size();
  EXPECT_EQ(p.front(), path.Evaluate(0.0f));
  EXPECT_EQ(p.back(), path.Evaluate(static_cast<float>(n - 1)));
  EXPECT_EQ(p.front(), path.Samples().front());
  EXPECT_EQ(p.back(), path.Samples().back());
  EXPECT_LE(Distance(p.front(), path.PointAtDistance(0.0f)), 1e-4);
  EXPECT_LE(Distance(p.back(), path.PointAtDistance(path.Length())), 1e-4);

  const auto direction = [](const PathPoint& from, const PathPoint& to) {
    const double length = Distance(from, to);
    return PathPoint{static_cast<float>((to.x - from.x) / length),
                     static_cast<float>((to.y - from.y) / length)};
  };
  const PathPoint leaving = direction(p[0], p[1]), arriving = direction(p[n - 2], p[n - 1]);
  const PathPoint start = path.TangentAtDistance(0.0f), end = path.TangentAtDistance(path.Length());
  EXPECT_NEAR(leaving.x, start.x, 1e-5);
  EXPECT_NEAR(leaving.y, start.y, 1e-5);
  EXPECT_NEAR(arriving.x, end.x, 1e-5);
  EXPECT_NEAR(arriving.y, end.y, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Paths, PinnedEnds, ::testing::Values(Cases()[0], Cases()[1], Cases()[2], Cases()[3]),
                         testsupport::CaseName<EndsCase>);

TEST(PinnedTwoPoints, MakeTheStraightLineBetweenThem) {
  const PathPoint a{100, 80}, b{400, 480};  // 500 px apart
  const PathResource path = Make({a, b}, PathEnds::Pinned);
  EXPECT_NEAR(500.0, path.Length(), 1e-3);
  for (const PathPoint& sample : path.Samples()) {
    // Across the line: the cross product with its direction (0.6, 0.8).
    EXPECT_NEAR(0.0, 0.8 * (sample.x - a.x) - 0.6 * (sample.y - a.y), 1e-3);
  }
  for (float d : {0.0f, 125.0f, 250.0f, 499.0f}) {
    const PathPoint point = path.PointAtDistance(d), tangent = path.TangentAtDistance(d);
    EXPECT_NEAR(a.x + 0.6 * d, point.x, 1e-3) << d;
    EXPECT_NEAR(a.y + 0.8 * d, point.y, 1e-3) << d;
    EXPECT_NEAR(0.6, tangent.x, 1e-6) << d;
    EXPECT_NEAR(0.8, tangent.y, 1e-6) << d;
  }
}

// On a loop any distance is a place: past the end it goes on from the start, a negative
// distance goes backwards, and whole rounds come back to the same place.
class LoopDistances : public ::testing::TestWithParam<EndsCase> {};

TEST_P(LoopDistances, GoRound) {
  const PathResource path = Make(GetParam().points, PathEnds::Loop);
  const double length = path.Length();
  ASSERT_GT(length, 0.0);
  EXPECT_EQ(path.PointAtDistance(0.0), path.PointAtDistance(length));
  EXPECT_LE(Distance(path.Samples().front(), path.PointAtDistance(0.0)), 1e-3);
  for (double fraction : {0.0, 0.1, 0.37, 0.5, 0.93}) {
    const double d = fraction * length;
    const PathPoint point = path.PointAtDistance(d), tangent = path.TangentAtDistance(d);
    struct Round {
      const char* what;
      double distance;
    };
    for (const Round& round :
         {Round{"past the end", d + length}, Round{"backwards", d - length},
          Round{"two rounds backwards", d - 2.0 * length}, Round{"a thousand rounds", d + 1000.0 * length},
          Round{"a thousand rounds backwards", d - 1000.0 * length}}) {
      EXPECT_LE(Distance(point, path.PointAtDistance(round.distance)), 1e-3)
          << round.what << ", " << fraction;
      EXPECT_NEAR(tangent.x, path.TangentAtDistance(round.distance).x, 1e-2)
          << round.what << ", " << fraction;
      EXPECT_NEAR(tangent.y, path.TangentAtDistance(round.distance).y, 1e-2)
          << round.what << ", " << fraction;
    }
  }
  // Distances with no place count as the start.
  for (float odd :
       {std::nanf(""), std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()})
    EXPECT_EQ(path.PointAtDistance(0.0f), path.PointAtDistance(odd)) << odd;
}

INSTANTIATE_TEST_SUITE_P(Paths, LoopDistances, ::testing::Values(Cases()[4], Cases()[5], Cases()[6]),
                         testsupport::CaseName<EndsCase>);

// Below two points (pinned) or three (a loop) there is no curve, as for a free path below four.
TEST(Ends, BelowTheirPointsThereIsNoCurve) {
  for (const auto& [ends, points] : {std::pair{PathEnds::Pinned, std::vector<PathPoint>{{5, 5}}},
                                     std::pair{PathEnds::Loop, std::vector<PathPoint>{{5, 5}, {50, 9}}}}) {
    const PathResource path = Make(points, ends);
    EXPECT_TRUE(path.Samples().empty());
    EXPECT_EQ(0.0f, path.Length());
    EXPECT_EQ(PathPoint({0, 0}), path.Evaluate(0.5f));
    EXPECT_EQ(PathPoint({0, 0}), path.PointAtDistance(3.0f));
    EXPECT_EQ(PathPoint({0, 0}), path.TangentAtDistance(3.0f));
  }
}

TEST(FromPoints, IsTheFileOfTheSamePoints) {
  const std::vector<PathPoint> points = runtimetest::Wave(7);
  for (PathEnds ends : {PathEnds::Free, PathEnds::Pinned, PathEnds::Loop}) {
    std::string text = runtimetest::PathText(points);
    if (ends != PathEnds::Free)
      text.replace(0, 10, ends == PathEnds::Pinned ? "<resource ends='pinned'>" : "<resource ends='loop'>");
    const std::optional<PathResource> read = PathResource::FromText(text, nullptr);
    const std::optional<PathResource> made = PathResource::FromPoints(points, ends, PathPoint{1, 1});
    ASSERT_TRUE(read && made);
    EXPECT_EQ(ends, read->Ends());
    EXPECT_EQ(ends, made->Ends());
    EXPECT_EQ(read->Samples(), made->Samples());
    EXPECT_EQ(read->Length(), made->Length());
    EXPECT_EQ(PathPoint({1, 1}), made->FrameSize());
    EXPECT_TRUE(made->Messages().empty());
  }
}

TEST(FromPoints, RefusesValuesThatAreNotFinite) {
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<PathPoint> good = {{0, 0}, {10, 0}, {10, 10}};
  EXPECT_FALSE(PathResource::FromPoints({{0, 0}, {inf, 0}, {10, 10}}, PathEnds::Loop, kFrame));
  EXPECT_FALSE(PathResource::FromPoints({{0, 0}, {std::nanf(""), 0}}, PathEnds::Pinned, kFrame));
  EXPECT_FALSE(PathResource::FromPoints(good, PathEnds::Loop, PathPoint{inf, 400}));
  // Points that are finite but whose curve is not.
  EXPECT_FALSE(PathResource::FromPoints({{3e38f, 0}, {-3e38f, 0}}, PathEnds::Pinned, kFrame));
  EXPECT_TRUE(PathResource::FromPoints(good, PathEnds::Loop, kFrame));
}

}  // namespace
