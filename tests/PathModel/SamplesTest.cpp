// The sample cache: counts from the single-precision step, end points, mapping and rebuilds.
#include <gtest/gtest.h>

#include <vector>

#include "CubicBSpline.h"
#include "FormulaSamples.h"

namespace {

class SamplesTest : public ::testing::Test {
protected:
  CubicBSpline spline;
};

TEST_F(SamplesTest, NoPointsGiveNoSamples) {
  spline.mSamplesValid = false;
  spline.RebuildSamples();
  EXPECT_TRUE(spline.mSamples.empty());
  EXPECT_TRUE(spline.mSamplesValid);
}

TEST_F(SamplesTest, UnderFourPointsEverySampleIsTheOrigin) {
  for (int count = 1; count <= 3; ++count) {
    spline.PushBack(vec2(100.0f * count, 50.0f));
    spline.RebuildSamples();
    ASSERT_EQ(102u, spline.mSamples.size()) << count;
    for (const vec2& sample : spline.mSamples) ASSERT_EQ(vec2(0.0f, 0.0f), sample) << count;
  }
}

TEST_F(SamplesTest, FourPointsGive102SamplesFromStartToEnd) {
  const vec2 p0(262, 184), p1(612, 384), p2(962, 584), p3(962, 184);
  for (const vec2& p : {p0, p1, p2, p3}) spline.PushBack(p);
  spline.RebuildSamples();
  ASSERT_EQ(102u, spline.mSamples.size());
  const vec2 first = (p0 + 4.0f * p1 + p2) / 6.0f;
  const vec2 last = (p1 + 4.0f * p2 + p3) / 6.0f;
  EXPECT_NEAR(first.x, spline.mSamples.front().x, 1e-3f);
  EXPECT_NEAR(first.y, spline.mSamples.front().y, 1e-3f);
  EXPECT_NEAR(last.x, spline.mSamples.back().x, 1e-3f);
  EXPECT_NEAR(last.y, spline.mSamples.back().y, 1e-3f);
  // The one-hundred-and-first sample sits just short of the end, the last one exactly on it.
  EXPECT_EQ(spline.ToWindow(spline.Evaluate(1.0f)), spline.mSamples.back());
  EXPECT_NE(spline.mSamples[100], spline.mSamples.back());
}

// The count follows the accumulated single-precision parameter, clamped once to the end.
std::size_t ExpectedCount(float end) {
  std::size_t count = 0;
  for (float s = 0.0f;; s += 0.01f) {
    ++count;
    if (s > end) break;
  }
  return count;
}

TEST_F(SamplesTest, SampleCountFollowsTheFloatStep) {
  for (int count = 4; count <= 40; ++count) {
    spline.mControlPoints.assign(static_cast<std::size_t>(count), vec2(1.0f, 2.0f));
    spline.mSamplesValid = false;
    spline.RebuildSamples();
    EXPECT_EQ(ExpectedCount(static_cast<float>(count - 3)), spline.mSamples.size()) << count;
  }
}

TEST_F(SamplesTest, SamplesMatchThePerSampleFormulaExactly) {
  spline.mControlPoints = {{10, 10}, {200, 40}, {300, 300}, {50, 400}, {-20, 100}, {90, 7}};
  spline.SetRotation(33.0f);
  spline.SetScale(1.75f);
  spline.RebuildSamples();
  EXPECT_EQ(pathtest::FormulaSamples(spline), spline.mSamples);
}

TEST_F(SamplesTest, RebuildsOnlyWhenInvalid) {
  spline.mControlPoints.assign(4, vec2(5.0f, 5.0f));
  spline.mSamples = {vec2(-1.0f, -1.0f)};
  spline.mSamplesValid = true;
  spline.RebuildSamples();
  EXPECT_EQ(1u, spline.mSamples.size());
  spline.SetScale(2.0f);
  spline.RebuildSamples();
  EXPECT_EQ(102u, spline.mSamples.size());
}

// Past 2^18 the step of 0.01 no longer changes the single-precision parameter; the rebuild
// still ends, with the end of the curve as its last sample.
TEST_F(SamplesTest, EndsEvenWhereTheStepNoLongerAdvances) {
  const std::size_t count = 262144 + 8;
  spline.mControlPoints.resize(count);
  for (std::size_t i = 0; i < count; ++i)
    spline.mControlPoints[i] = vec2(static_cast<float>(i % 7), static_cast<float>(i % 5));
  spline.mSamplesValid = false;
  spline.RebuildSamples();
  ASSERT_FALSE(spline.mSamples.empty());
  EXPECT_EQ(spline.ToWindow(spline.Evaluate(static_cast<float>(count - 3))), spline.mSamples.back());
  EXPECT_LT(spline.mSamples.size(), count * 101);
}

}  // namespace
