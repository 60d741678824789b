// The path model: segment weights, wrapped evaluation, the window mapping and the edits.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CubicBSpline.h"
#include "NamedCases.h"

namespace {

constexpr float kTolerance = 1e-4f;

void ExpectNear(const vec2& expected, const vec2& actual, float tolerance = kTolerance) {
  EXPECT_NEAR(expected.x, actual.x, tolerance);
  EXPECT_NEAR(expected.y, actual.y, tolerance);
}

class SplineTest : public ::testing::Test {
protected:
  CubicBSpline spline;
};

// The name of a parameterised case: its `name` field.
TEST_F(SplineTest, StartsWithTheDocumentedValues) {
  EXPECT_EQ(spline.mRotation, 0.0f);
  EXPECT_EQ(spline.mScale, 1.0f);
  EXPECT_EQ(spline.mSelectedIndex, -1);
  EXPECT_EQ(spline.mHoveredIndex, -1);
  EXPECT_TRUE(spline.mControlPoints.empty());
  EXPECT_TRUE(spline.mSamples.empty());
  EXPECT_EQ(spline.mPickRadiusSq, 100.0f);
  EXPECT_TRUE(spline.mSamplesValid);
}

// The edited values are a plain value: copies compare equal until one of them is edited, and
// setting them back restores the path.
TEST_F(SplineTest, EditedValuesCanBeCopiedComparedAndSetBack) {
  spline.PushBack(vec2(300, 200));
  spline.PushBack(vec2(400, 250));
  spline.SetRotation(30.0f);
  const PathValues before = spline.Values();
  EXPECT_EQ(before, spline.Values());
  spline.DeleteSelected();
  EXPECT_NE(before, spline.Values());
  spline.RebuildSamples();
  spline.SetValues(before);
  EXPECT_EQ(before, spline.Values());
  EXPECT_EQ(1, spline.mSelectedIndex);
  EXPECT_FALSE(spline.mSamplesValid);
}

TEST(EvaluateSegment, WeightsAtTheSegmentEnds) {
  const vec2 p0(6, 0), p1(0, 6), p2(-6, 12), p3(30, -30);
  ExpectNear((p0 + 4.0f * p1 + p2) / 6.0f, CubicBSpline::EvaluateSegment(p0, p1, p2, p3, 0.0f));
  ExpectNear((p1 + 4.0f * p2 + p3) / 6.0f, CubicBSpline::EvaluateSegment(p0, p1, p2, p3, 1.0f));
  // Midway the weights are 1/48, 23/48, 23/48, 1/48.
  ExpectNear((p0 + 23.0f * p1 + 23.0f * p2 + p3) / 48.0f,
             CubicBSpline::EvaluateSegment(p0, p1, p2, p3, 0.5f));
  // Weights sum to one, so a constant polygon gives the constant.
  const vec2 c(7.0f, -3.0f);
  ExpectNear(c, CubicBSpline::EvaluateSegment(c, c, c, c, 0.37f), 1e-5f);
}

TEST_F(SplineTest, EvaluateNeedsFourPoints) {
  for (int count = 0; count < 4; ++count) {
    EXPECT_EQ(spline.Evaluate(0.5f), vec2(0.0f, 0.0f)) << count << " points";
    spline.mControlPoints.push_back(vec2(10.0f * count + 1, 5.0f));
  }
  EXPECT_NE(spline.Evaluate(0.5f), vec2(0.0f, 0.0f));
}

struct WrapCase {
  const char* name;
  float s;
  int first;  // index of the segment's first point
  float t;
};

class SplineEvaluate : public ::testing::TestWithParam<WrapCase> {};

TEST_P(SplineEvaluate, WrapsItsIndices) {
  const WrapCase& c = GetParam();
  const std::vector<vec2> p = {{0, 0}, {60, 0}, {60, 60}, {0, 60}};
  CubicBSpline spline;
  spline.mControlPoints = p;
  const vec2 expected = CubicBSpline::EvaluateSegment(p[c.first % 4], p[(c.first + 1) % 4],
                                                      p[(c.first + 2) % 4], p[(c.first + 3) % 4], c.t);
  EXPECT_EQ(expected, spline.Evaluate(c.s)) << "s = " << c.s;
}

INSTANTIATE_TEST_SUITE_P(Parameters, SplineEvaluate,
                         ::testing::Values(WrapCase{"s_0", 0.0f, 0, 0.0f}, WrapCase{"s_1", 1.0f, 1, 0.0f},
                                           WrapCase{"s_2_25", 2.25f, 2, 0.25f},
                                           WrapCase{"s_3", 3.0f, 3, 0.0f}, WrapCase{"s_5_5", 5.5f, 1, 0.5f},
                                           WrapCase{"s_8", 8.0f, 0, 0.0f}),
                         testsupport::CaseName<WrapCase>);

TEST_F(SplineTest, ToWindowRotatesAndScalesAboutTheOrigin) {
  spline.SetRotation(90.0f);
  spline.SetScale(2.0f);
  ExpectNear(vec2(0.0f, 2.0f), spline.ToWindow(vec2(1.0f, 0.0f)));
  ExpectNear(vec2(-6.0f, 0.0f), spline.ToWindow(vec2(0.0f, 3.0f)));
}

struct PlacementCase {
  const char* name;
  float rotation, scale;
};

class SplinePlacement : public ::testing::TestWithParam<PlacementCase> {
protected:
  CubicBSpline spline;
};

TEST_P(SplinePlacement, ToLocalInvertsToWindow) {
  spline.SetRotation(GetParam().rotation);
  spline.SetScale(GetParam().scale);
  const vec2 window(123.5f, -48.25f);
  ExpectNear(window, spline.ToWindow(spline.ToLocal(window)), 1e-3f);
}

INSTANTIATE_TEST_SUITE_P(RotationsAndScales, SplinePlacement,
                         ::testing::Values(PlacementCase{"unchanged", 0, 1},
                                           PlacementCase{"quarter_turn", 90, 1},
                                           PlacementCase{"rotation_33_3_scale_2_5", 33.3f, 2.5f},
                                           PlacementCase{"rotation_270_scale_0_25", 270, 0.25f},
                                           PlacementCase{"half_turn_negative_scale", 180, -1.5f}),
                         testsupport::CaseName<PlacementCase>);

TEST_F(SplineTest, ToLocalTurnsAWindowPositionBack) {
  // A right click at window (100, 0) under a quarter turn stores local (0, -100).
  spline.SetRotation(90.0f);
  spline.SetScale(1.0f);
  ExpectNear(vec2(0.0f, -100.0f), spline.ToLocal(vec2(100.0f, 0.0f)));
}

TEST_F(SplineTest, WithoutRotationAndScaleLocalIsWindow) {
  const vec2 q(612.25f, 384.75f);
  EXPECT_EQ(q, spline.ToLocal(q));
  EXPECT_EQ(q, spline.ToWindow(q));
}

struct RotationCase {
  const char* name;
  float input, expected;
};

class SplineRotation : public ::testing::TestWithParam<RotationCase> {
protected:
  CubicBSpline spline;
};

TEST_P(SplineRotation, WrapsOnce) {
  spline.mSamplesValid = true;
  spline.SetRotation(GetParam().input);
  EXPECT_FLOAT_EQ(GetParam().expected, spline.mRotation) << GetParam().input;
  EXPECT_FALSE(spline.mSamplesValid);
}

INSTANTIATE_TEST_SUITE_P(
    Rotations, SplineRotation,
    ::testing::Values(RotationCase{"from_365", 365, 5}, RotationCase{"from_minus_10", -10, 350},
                      RotationCase{"from_725", 725, 365}, RotationCase{"from_360", 360, 360},
                      RotationCase{"from_0", 0, 0}, RotationCase{"from_minus_370", -370, -10},
                      RotationCase{"from_400", 400, 40}, RotationCase{"from_minus_30", -30, 330}),
    testsupport::CaseName<RotationCase>);

struct ScaleCase {
  const char* name;
  float scale;
};

class SplineScale : public ::testing::TestWithParam<ScaleCase> {
protected:
  CubicBSpline spline;
};

TEST_P(SplineScale, TakesAnyFiniteValue) {
  spline.mSamplesValid = true;
  spline.SetScale(GetParam().scale);
  EXPECT_EQ(GetParam().scale, spline.mScale);
  EXPECT_FALSE(spline.mSamplesValid);
}

INSTANTIATE_TEST_SUITE_P(Scales, SplineScale,
                         ::testing::Values(ScaleCase{"zero", 0.0f}, ScaleCase{"negative", -2.0f},
                                           ScaleCase{"small", 1e-3f}, ScaleCase{"large", 40.0f}),
                         testsupport::CaseName<ScaleCase>);

// A rotation or scale that is not finite would place every point nowhere: it is refused.
struct NotFiniteCase {
  const char* name;
  float value;
};

class SplineNotFinite : public ::testing::TestWithParam<NotFiniteCase> {
protected:
  CubicBSpline spline;
};

TEST_P(SplineNotFinite, RotationAndScaleRefuseTheValue) {
  spline.SetRotation(30.0f);
  spline.SetScale(2.0f);
  spline.RebuildSamples();
  spline.SetRotation(GetParam().value);
  spline.SetScale(GetParam().value);
  EXPECT_EQ(30.0f, spline.mRotation);
  EXPECT_EQ(2.0f, spline.mScale);
  EXPECT_TRUE(spline.mSamplesValid);
}

INSTANTIATE_TEST_SUITE_P(Values, SplineNotFinite,
                         ::testing::Values(NotFiniteCase{"infinity", INFINITY},
                                           NotFiniteCase{"minus_infinity", -INFINITY},
                                           NotFiniteCase{"nan", NAN}),
                         testsupport::CaseName<NotFiniteCase>);

struct PickCase {
  const char* name;
  vec2 mouse;
  int hovered;
};

class SplinePick : public ::testing::TestWithParam<PickCase> {};

TEST_P(SplinePick, TakesTheFirstPointStrictlyInsideTheRadius) {
  const PickCase& c = GetParam();
  CubicBSpline spline;
  spline.mControlPoints = {{100, 100}, {200, 100}, {205, 100}};
  spline.Pick(c.mouse);
  EXPECT_EQ(c.hovered, spline.mHoveredIndex) << c.mouse.x << ", " << c.mouse.y;
}

INSTANTIATE_TEST_SUITE_P(Positions, SplinePick,
                         ::testing::Values(PickCase{"on_the_first_point", {100, 100}, 0},
                                           PickCase{"two_in_reach", {203, 100}, 1},
                                           PickCase{"only_the_third_in_reach", {210, 100}, 2},
                                           // Squared distance exactly 100.
                                           PickCase{"on_the_radius", {110, 100}, -1},
                                           PickCase{"just_inside_the_radius", {109.99f, 100}, 0},
                                           PickCase{"out_of_reach", {150, 150}, -1}),
                         testsupport::CaseName<PickCase>);

TEST_F(SplineTest, PickRadiusIsInLocalUnits) {
  spline.SetScale(2.0f);
  spline.mControlPoints = {{50, 50}};  // drawn at (100, 100)
  spline.Pick(vec2(115.0f, 100.0f));   // 7.5 local units away
  EXPECT_EQ(0, spline.mHoveredIndex);
  spline.Pick(vec2(125.0f, 100.0f));  // 12.5 local units away
  EXPECT_EQ(-1, spline.mHoveredIndex);
}

// Edits on a list of labelled points; each case starts from `before` with `selected`.
struct EditCase {
  const char* name;
  std::vector<vec2> before;
  int selected;
  void (*edit)(CubicBSpline&);
  std::vector<vec2> after;
  int selectedAfter;
};

const vec2 A(1, 1), B(2, 2), C(3, 3), N(9, 9);

class SplineEdits : public ::testing::TestWithParam<EditCase> {};

TEST_P(SplineEdits, ChangeListAndSelectionAsDocumented) {
  const EditCase& c = GetParam();
  CubicBSpline spline;
  spline.mControlPoints = c.before;
  spline.mSelectedIndex = c.selected;
  c.edit(spline);
  EXPECT_EQ(c.after, spline.mControlPoints);
  EXPECT_EQ(c.selectedAfter, spline.mSelectedIndex);
  const bool changed = c.after != c.before || std::string(c.name) == "clear";
  if (changed) {
    EXPECT_FALSE(spline.mSamplesValid);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Edits, SplineEdits,
    ::testing::Values(
        EditCase{"push_back", {A, B}, 0, [](CubicBSpline& s) { s.PushBack(N); }, {A, B, N}, 2},
        EditCase{"after_none_selected",
                 {A, B},
                 -1,
                 [](CubicBSpline& s) { s.InsertAfterSelected(N); },
                 {N, A, B},
                 0},
        EditCase{
            "after_the_last", {A, B}, 1, [](CubicBSpline& s) { s.InsertAfterSelected(N); }, {A, B, N}, 2},
        EditCase{
            "after_the_first", {A, B}, 0, [](CubicBSpline& s) { s.InsertAfterSelected(N); }, {A, N, B}, 1},
        EditCase{
            "before_B", {A, B, C}, 1, [](CubicBSpline& s) { s.InsertBeforeSelected(N); }, {A, N, B, C}, 1},
        EditCase{"before_none_selected",
                 {A, B},
                 -1,
                 [](CubicBSpline& s) { s.InsertBeforeSelected(N); },
                 {A, B, N},
                 2},
        EditCase{"delete_the_last", {A, B, C}, 2, [](CubicBSpline& s) { s.DeleteSelected(); }, {A, B}, 1},
        EditCase{"delete_the_middle", {A, B, C}, 1, [](CubicBSpline& s) { s.DeleteSelected(); }, {A, C}, 1},
        EditCase{"delete_the_only", {A}, 0, [](CubicBSpline& s) { s.DeleteSelected(); }, {}, -1},
        EditCase{"delete_none_selected", {A, B}, -1, [](CubicBSpline& s) { s.DeleteSelected(); }, {A, B}, -1},
        EditCase{"clear", {A, B, C}, 1, [](CubicBSpline& s) { s.Clear(); }, {}, -1},
        EditCase{
            "move_selected", {A, B}, 1, [](CubicBSpline& s) { s.MoveSelected(vec2(1, -2)); }, {A, {3, 0}}, 1},
        EditCase{"move_none_selected",
                 {A, B},
                 -1,
                 [](CubicBSpline& s) { s.MoveSelected(vec2(1, 1)); },
                 {A, B},
                 -1},
        EditCase{"translate_all",
                 {A, B},
                 -1,
                 [](CubicBSpline& s) { s.TranslateAll(vec2(10, 20)); },
                 {{11, 21}, {12, 22}},
                 -1}),
    testsupport::CaseName<EditCase>);

TEST_F(SplineTest, MoveSelectedConvertsTheDeltaButTranslateAllDoesNot) {
  spline.SetRotation(90.0f);
  spline.mControlPoints = {{0, 0}, {0, 0}};
  spline.mSelectedIndex = 0;
  spline.MoveSelected(vec2(0.0f, 10.0f));  // up on screen is +x locally under a quarter turn
  ExpectNear(vec2(10.0f, 0.0f), spline.mControlPoints[0]);
  spline.TranslateAll(vec2(0.0f, 10.0f));
  ExpectNear(vec2(10.0f, 10.0f), spline.mControlPoints[0]);
  ExpectNear(vec2(0.0f, 10.0f), spline.mControlPoints[1]);
}

// ToLocal has no finite answer at scale 0 (nor at a scale too small to invert in float):
// the edits that need it change nothing and nothing is hovered.
struct NoInverseCase {
  const char* name;
  float scale;
};

class SplineWithoutInverse : public ::testing::TestWithParam<NoInverseCase> {};

TEST_P(SplineWithoutInverse, EditsNeedingToLocalDoNothing) {
  const float scale = GetParam().scale;
  CubicBSpline spline;
  spline.mControlPoints = {A, B};
  spline.mSelectedIndex = 1;
  spline.SetScale(scale);
  spline.PushBack(N);
  spline.InsertBeforeSelected(N);
  spline.InsertAfterSelected(N);
  spline.MoveSelected(vec2(5, 5));
  spline.Pick(vec2(0, 0));
  EXPECT_EQ((std::vector<vec2>{A, B}), spline.mControlPoints) << scale;
  EXPECT_EQ(1, spline.mSelectedIndex) << scale;
  EXPECT_EQ(-1, spline.mHoveredIndex) << scale;
  spline.mSelectedIndex = -1;
  spline.InsertAfterSelected(N);
  EXPECT_EQ(-1, spline.mSelectedIndex) << scale;
}

INSTANTIATE_TEST_SUITE_P(Scales, SplineWithoutInverse,
                         ::testing::Values(NoInverseCase{"zero", 0.0f},
                                           NoInverseCase{"too_small_to_invert", 1e-25f}),
                         testsupport::CaseName<NoInverseCase>);

TEST_F(SplineTest, ASelectionBeyondTheListReachesNoPoint) {
  spline.mControlPoints = {A, B};
  spline.mSelectedIndex = 5;  // stale, as an older load could leave it
  spline.MoveSelected(vec2(1, 1));
  spline.DeleteSelected();
  EXPECT_EQ((std::vector<vec2>{A, B}), spline.mControlPoints);
  spline.InsertBeforeSelected(N);
  EXPECT_EQ((std::vector<vec2>{A, B, N}), spline.mControlPoints);
  EXPECT_EQ(2, spline.mSelectedIndex);
}

TEST_F(SplineTest, TranslateAllNeverLeavesTheFloatRange) {
  spline.mControlPoints = {{3e38f, 0}, {0, 0}};
  spline.TranslateAll(vec2(1e38f, 1.0f));
  EXPECT_EQ((std::vector<vec2>{{3e38f, 0}, {0, 0}}), spline.mControlPoints);
}

using SplineDeathTest = SplineTest;

TEST_F(SplineDeathTest, AssertionsNameTheConditionAndTheSource) {
  const vec2 p(0, 0);
  // The checks hold in every build type, optimised ones included.
  EXPECT_DEATH(CubicBSpline::EvaluateSegment(p, p, p, p, 1.5f),
               "Assertion failed: t >= 0\\.0f && t <= 1\\.0f, file PathEditor/CubicBSpline\\.cpp, "
               "line [0-9]+");
  EXPECT_DEATH(CubicBSpline::EvaluateSegment(p, p, p, p, -0.25f), "PathEditor/CubicBSpline");
  spline.mControlPoints = {A, B, C, N};
  EXPECT_DEATH(spline.Evaluate(-0.5f), "t >= 0\\.0f && t <= 1\\.0f");
  spline.mSelectedIndex = -2;
  const char* const selection = "mSelectedIndex >= -1, file PathEditor/CubicBSpline";
  EXPECT_DEATH(spline.InsertBeforeSelected(N), selection);
  EXPECT_DEATH(spline.InsertAfterSelected(N), selection);
}

}  // namespace
