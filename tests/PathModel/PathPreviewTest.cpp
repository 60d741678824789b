// The path measured as a game reads it and the preview marker: when the measure follows the
// edits, and where the marker is at a moment of the clock.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "PathFrame.h"
#include "PathPreview.h"

namespace {

// The runtime's length of the spline's points as they show, in frame pixels.
double RuntimeLength(const CubicBSpline& spline) {
  std::vector<PathPoint> shown;
  for (const vec2& w : spline.WindowPoints())
    shown.push_back(PathPoint{w.x - FrameCorner().x, w.y - FrameCorner().y});
  return PathResource::FromPoints(shown, spline.mEnds, PathPoint{700, 400})->Length();
}

std::vector<vec2> Zigzag(std::size_t count) {
  std::vector<vec2> points;
  for (std::size_t i = 0; i < count; ++i)
    points.push_back(vec2(300.0f + 2.0f * static_cast<float>(i), i % 2 == 0 ? 300.0f : 340.0f));
  return points;
}

TEST(PathPreview, MeasuresEditsAtOnceAndADragOfALongPathWhenItEnds) {
  PathPreview preview;
  CubicBSpline spline;
  EXPECT_EQ(0.0f, preview.Length());
  spline.mControlPoints = Zigzag(PathPreview::kLivePoints + 1);
  spline.SetRotation(20.0f);
  preview.Follow(spline, true, false, 0.0);
  const double before = preview.Length();
  EXPECT_EQ(RuntimeLength(spline), before);

  spline.mSelectedIndex = 100;
  spline.MoveSelected(vec2(0.0f, 80.0f));
  preview.Follow(spline, true, true, 0.1);
  preview.Follow(spline, false, true, 0.2);
  EXPECT_EQ(before, preview.Length()) << "measured during the drag";
  preview.Follow(spline, false, false, 0.3);  // the drag has ended
  EXPECT_EQ(RuntimeLength(spline), preview.Length());
  EXPECT_NE(before, preview.Length());

  spline.mControlPoints.resize(PathPreview::kLivePoints);  // short enough to follow the drag
  spline.SetEnds(PathEnds::Loop);
  preview.Follow(spline, true, true, 0.4);
  EXPECT_EQ(RuntimeLength(spline), preview.Length());
}

// A pinned path of two points 300 pixels apart, walked at 100 pixels a second.
class Marker : public ::testing::Test {
protected:
  void SetUp() override {
    spline.mControlPoints = {vec2(400, 300), vec2(700, 300)};
    spline.SetEnds(PathEnds::Pinned);
    preview.Follow(spline, true, false, 0.0);
    ASSERT_NEAR(300.0f, preview.Length(), 1e-3f);
  }
  void ExpectAt(float x, double now) {
    ASSERT_TRUE(preview.MarkerAt(now).has_value()) << now;
    EXPECT_NEAR(x, preview.MarkerAt(now)->x, 1e-3f) << now;
    EXPECT_NEAR(300.0f, preview.MarkerAt(now)->y, 1e-3f) << now;
  }
  CubicBSpline spline;
  PathPreview preview;
};

TEST_F(Marker, GoesAtItsSpeedByTheClockAndStartsAgainAtTheEnd) {
  EXPECT_FALSE(preview.MarkerAt(1.0).has_value()) << "the preview is off at speed 0";
  preview.SetSpeed(100.0f, 10.0);
  EXPECT_FALSE(preview.MarkerAt(10.0).has_value()) << "before the path is read for it";
  preview.Follow(spline, false, false, 10.0);
  ExpectAt(400.0f, 10.0);
  ExpectAt(550.0f, 11.5);
  ExpectAt(450.0f, 13.5);    // 350 pixels: again from the start
  ExpectAt(600.0f, 1011.0);  // many passes later: 100,100 pixels
  spline.SetEnds(PathEnds::Loop);
  spline.mControlPoints.push_back(vec2(550, 500));
  preview.Follow(spline, true, false, 1011.0);
  EXPECT_NEAR(200.0, preview.DistanceAt(1011.0), 1e-3);
  EXPECT_NEAR(std::fmod(200.0 + 100.0 * 50.0, preview.Length()), preview.DistanceAt(1061.0), 1e-3) << "round";
}

// A new speed, or an edit of the path, lets the marker go on from where it is.
TEST_F(Marker, GoesOnFromWhereItIsAfterANewSpeedOrAnEdit) {
  preview.SetSpeed(100.0f, 0.0);
  preview.Follow(spline, false, false, 0.0);
  preview.SetSpeed(50.0f, 1.0);
  ExpectAt(500.0f, 1.0);
  ExpectAt(550.0f, 2.0);
  spline.mControlPoints[1] = vec2(800, 300);  // 400 pixels long now
  spline.mSamplesValid = false;
  preview.Follow(spline, true, false, 2.0);
  ExpectAt(550.0f, 2.0);
  ExpectAt(600.0f, 3.0);
  preview.SetSpeed(0.0f, 3.0);
  EXPECT_FALSE(preview.MarkerAt(3.5).has_value());
  preview.SetSpeed(100.0f, 4.0);  // on again: from the start
  preview.Follow(spline, false, false, 4.0);
  ExpectAt(400.0f, 4.0);
  for (float refused : {-1.0f, NAN, INFINITY}) {
    preview.SetSpeed(refused, 5.0);
    EXPECT_EQ(100.0f, preview.Speed()) << refused;
  }
}

}  // namespace
