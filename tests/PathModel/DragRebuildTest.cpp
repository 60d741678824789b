// Rebuilds after drags: a still path evaluates nothing, a drag only the moved point's segments,
// and the samples are always exactly those of the per-sample formula.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "CubicBSpline.h"
#include "FormulaSamples.h"
#include "PathFiles.h"
#include "TestSupport.h"

namespace {

using pathtest::FormulaSamples;

bool SameBits(const std::vector<vec2>& a, const std::vector<vec2>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(vec2)) == 0;
}

std::vector<vec2> RandomPoints(std::mt19937& random, std::size_t n) {
  std::uniform_real_distribution<float> x(262.0f, 962.0f), y(184.0f, 584.0f);
  std::vector<vec2> points(n);
  for (vec2& p : points) p = vec2(x(random), y(random));
  return points;
}

class DragRebuildTest : public ::testing::Test {
protected:
  void SetPath(std::vector<vec2> points) {
    spline.mControlPoints = std::move(points);
    spline.mSamplesValid = false;
    spline.RebuildSamples();
  }
  CubicBSpline spline;
};

TEST_F(DragRebuildTest, StillPathEvaluatesNothingAndADragOnlyItsSegments) {
  std::mt19937 random(7);
  SetPath(RandomPoints(random, 60));
  const std::size_t total = spline.mSamples.size();
  const std::uint64_t built = spline.EvaluatedSamples();

  // Frames of a still path: the pointer moves over it, nothing is edited.
  for (int frame = 0; frame < 50; ++frame) {
    spline.Pick(vec2(300.0f + frame, 400.0f));
    spline.RebuildSamples();
  }
  EXPECT_EQ(built, spline.EvaluatedSamples());

  // One drag frame: point 30 shapes segments 27 to 30, about 100 samples each.
  spline.mSelectedIndex = 30;
  spline.MoveSelected(vec2(4.0f, -3.0f));
  spline.RebuildSamples();
  const std::uint64_t dragged = spline.EvaluatedSamples() - built;
  EXPECT_GE(dragged, 4u * 100u);
  EXPECT_LE(dragged, 4u * 102u);
  EXPECT_TRUE(SameBits(FormulaSamples(spline), spline.mSamples));

  for (int frame = 0; frame < 50; ++frame) spline.RebuildSamples();
  EXPECT_EQ(built + dragged, spline.EvaluatedSamples());

  // Any other edit evaluates the whole curve again.
  spline.SetRotation(10.0f);
  spline.RebuildSamples();
  EXPECT_EQ(built + dragged + total, spline.EvaluatedSamples());
}

// Random paths of a given number of points, with each kind of ends.
class DragRebuildSize : public DragRebuildTest,
                        public ::testing::WithParamInterface<std::tuple<std::size_t, PathEnds>> {};

std::string EndsName(PathEnds ends) {
  return ends == PathEnds::Free ? "free" : ends == PathEnds::Pinned ? "pinned" : "loop";
}

std::string PointsName(const ::testing::TestParamInfo<std::size_t>& info) {
  return "points_" + std::to_string(info.param);
}

std::string PointsAndEndsName(const ::testing::TestParamInfo<std::tuple<std::size_t, PathEnds>>& info) {
  return "points_" + std::to_string(std::get<0>(info.param)) + "_" + EndsName(std::get<1>(info.param));
}

TEST_P(DragRebuildSize, RandomDragsGiveTheFormulaSamplesBitForBit) {
  const std::size_t n = std::get<0>(GetParam());
  std::mt19937 random(2024);
  spline.SetEnds(std::get<1>(GetParam()));
  SetPath(RandomPoints(random, n));
  spline.SetRotation(33.0f);
  spline.SetScale(0.75f);
  spline.RebuildSamples();
  // The ends first: points 0 and n - 3 .. n - 1 also shape the samples at the end of the curve.
  std::vector<std::int32_t> picks = {0, 1, std::max(0, static_cast<std::int32_t>(n) - 3),
                                     static_cast<std::int32_t>(n) - 2, static_cast<std::int32_t>(n) - 1};
  std::uniform_int_distribution<std::int32_t> any(0, static_cast<std::int32_t>(n) - 1);
  for (int k = 0; k < 8; ++k) picks.push_back(any(random));
  std::uniform_real_distribution<float> delta(-20.0f, 20.0f);
  for (std::int32_t pick : picks) {
    spline.mSelectedIndex = pick;
    // Sometimes two drag steps arrive before one rebuild.
    const int steps = 1 + pick % 2;
    for (int step = 0; step < steps; ++step) spline.MoveSelected(vec2(delta(random), delta(random)));
    spline.RebuildSamples();
    ASSERT_TRUE(SameBits(FormulaSamples(spline), spline.mSamples)) << n << " points, moved " << pick;
  }
  // Two different points moved before one rebuild.
  spline.mSelectedIndex = 1;
  spline.MoveSelected(vec2(3.0f, 3.0f));
  spline.mSelectedIndex = static_cast<std::int32_t>(n) - 1;
  spline.MoveSelected(vec2(-3.0f, 2.0f));
  spline.RebuildSamples();
  ASSERT_TRUE(SameBits(FormulaSamples(spline), spline.mSamples)) << n << " points, two moved";
}

INSTANTIATE_TEST_SUITE_P(Paths, DragRebuildSize,
                         ::testing::Combine(::testing::Values(2u, 3u, 4u, 5u, 6u, 7u, 9u, 40u, 1030u),
                                            ::testing::Values(PathEnds::Free, PathEnds::Pinned,
                                                              PathEnds::Loop)),
                         PointsAndEndsName);

// Where the curve closes or is pinned, a drag of an end point still evaluates only the segments
// that point shapes (and the one sample at the end).
class DragRebuildEnds : public DragRebuildTest, public ::testing::WithParamInterface<PathEnds> {};

TEST_P(DragRebuildEnds, ADragOfAnEndPointEvaluatesOnlyItsSegments) {
  std::mt19937 random(11);
  spline.SetEnds(GetParam());
  SetPath(RandomPoints(random, 60));
  for (std::int32_t point : {0, 1, 58, 59}) {
    const std::uint64_t before = spline.EvaluatedSamples();
    spline.mSelectedIndex = point;
    spline.MoveSelected(vec2(4.0f, -3.0f));
    spline.RebuildSamples();
    EXPECT_LE(spline.EvaluatedSamples() - before, 4u * 102u + 1u) << "point " << point;
    EXPECT_TRUE(SameBits(FormulaSamples(spline), spline.mSamples)) << "point " << point;
  }
}

INSTANTIATE_TEST_SUITE_P(Ends, DragRebuildEnds,
                         ::testing::Values(PathEnds::Free, PathEnds::Pinned, PathEnds::Loop),
                         [](const ::testing::TestParamInfo<PathEnds>& c) { return EndsName(c.param); });

TEST_F(DragRebuildTest, EditsBetweenADragAndTheRebuildAreSeen) {
  std::mt19937 random(99);
  SetPath(RandomPoints(random, 12));
  spline.mSelectedIndex = 5;
  spline.MoveSelected(vec2(10.0f, 0.0f));
  spline.TranslateAll(vec2(-50.0f, 25.0f));
  spline.RebuildSamples();
  EXPECT_TRUE(SameBits(FormulaSamples(spline), spline.mSamples));

  // A drag, then a load of another path with as many points before the next rebuild.
  testsupport::TempWorkDir folder;
  testsupport::WriteFile("other.xml",
                         "<resource>\n  <Scale>350 200</Scale>\n  <WorldPos>262 184</WorldPos>\n"
                         "  <SplineStart>0 0</SplineStart>\n"
                         "  <ControlPoint>0.1 0.1</ControlPoint>\n  <ControlPoint>0.2 0.9</ControlPoint>\n"
                         "  <ControlPoint>0.3 0.1</ControlPoint>\n  <ControlPoint>0.4 0.9</ControlPoint>\n"
                         "  <ControlPoint>0.5 0.1</ControlPoint>\n  <ControlPoint>0.6 0.9</ControlPoint>\n"
                         "  <ControlPoint>0.7 0.1</ControlPoint>\n  <ControlPoint>0.8 0.9</ControlPoint>\n"
                         "  <ControlPoint>0.9 0.1</ControlPoint>\n  <ControlPoint>0.9 0.5</ControlPoint>\n"
                         "  <ControlPoint>0.5 0.5</ControlPoint>\n  <ControlPoint>0.1 0.5</ControlPoint>\n"
                         "</resource>\n");
  PathFiles files;
  spline.SetRotation(0.0f);
  spline.SetScale(1.0f);
  spline.RebuildSamples();
  spline.MoveSelected(vec2(0.0f, 10.0f));
  files.LoadResourceFile(0, spline);
  ASSERT_EQ(12u, spline.mControlPoints.size());
  spline.RebuildSamples();
  EXPECT_TRUE(SameBits(FormulaSamples(spline), spline.mSamples));
}

// Lengths around powers of two cross from one binade of the parameter into the next.
class LongCurve : public DragRebuildTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(LongCurve, MatchesTheFormulaAcrossBinades) {
  std::mt19937 random(5);
  SetPath(RandomPoints(random, GetParam()));
  ASSERT_TRUE(SameBits(FormulaSamples(spline), spline.mSamples)) << GetParam() << " points";
}

INSTANTIATE_TEST_SUITE_P(Paths, LongCurve, ::testing::Values(259u, 260u, 1027u, 1028u, 4099u, 16387u, 16388u),
                         PointsName);

}  // namespace
