// The curve's ends and the preview of a motion, in the real window: a loop closes, a pinned
// curve starts on its first point, Ends is one undo step and goes into the file and back, and
// the preview marker moves along the curve at its speed by the clock.
// The fixture (and gtest) before Xlib, which defines None as a macro.
#include "EditorFixture.h"

#include <X11/Xutil.h>  // XGetPixel

#include <chrono>
#include <cmath>
#include <thread>

namespace editor {
namespace {

// The rows the curve's entries take at the foot of the bar, below Labels and a separator.
constexpr int kEndsY = kLabelsY + 24;
constexpr int kPreviewSpeedY = kEndsY + 40;
constexpr int kEndsListFirstY = kEndsY + 21;  // Free, then Pinned and Loop below it

enum EndsChoice { kFree = 0, kPinned = 1, kLoop = 2 };

// The curve's colour, or that colour dimmed where a line covers only part of a pixel.
bool IsCurve(const Pixel& p) {
  const double k = p.b / 204.0;
  return k >= 0.3 && std::abs(p.r - 153.0 * k) <= 25.0 && std::abs(p.g - 102.0 * k) <= 25.0;
}
bool IsMarker(const Pixel& p) { return Near(p, 255, 140, 0, 40); }

class EndsAndPreviewTest : public EditorTest {
protected:
  void ChooseEnds(EndsChoice choice) {
    mDemo->Click(kValueX, kEndsY);
    mDemo->Click(kValueX, kEndsListFirstY + kLoadListStep * choice);
  }
  // Whether a curve pixel lies within `radius` of an editor position.
  bool CurveNear(int x, int yUp, int radius = 3) {
    for (int dy = -radius; dy <= radius; ++dy)
      for (int dx = -radius; dx <= radius; ++dx)
        if (IsCurve(At(x + dx, yUp + dy))) return true;
    return false;
  }
  bool WaitForCurve(int x, int yUp, bool shown) {
    return mDemo->WaitFor([&] { return CurveNear(x, yUp) == shown; });
  }

  // Four points on the corners of a room: (312, 234), (912, 234), (912, 534), (312, 534).
  void DrawRoom() {
    AddPoint(312, 234);
    AddPoint(912, 234);
    AddPoint(912, 534);
    AddPoint(312, 534);
    ASSERT_TRUE(WaitForColor(312, 534, IsRed));
  }
};

// The closing segment of the room's loop runs from (412, 284) to (812, 284) through (612,
// 246.5); the free curve is only the arc on the right, and a pinned curve leaves the first
// point along the bottom edge.
constexpr int kClosingX = 612, kClosingY = 247;
constexpr int kNearFirstX = 332, kNearFirstY = 234;

TEST_F(EndsAndPreviewTest, ALoopClosesAPinnedCurveStartsOnItsFirstPointAndEachChoiceIsOneStep) {
  DrawRoom();
  mDemo->Frames(3);
  EXPECT_FALSE(CurveNear(kClosingX, kClosingY));
  EXPECT_FALSE(CurveNear(kNearFirstX, kNearFirstY));

  ChooseEnds(kLoop);
  EXPECT_TRUE(WaitForCurve(kClosingX, kClosingY, true)) << "no closing segment";
  EXPECT_FALSE(CurveNear(kNearFirstX, kNearFirstY));

  mDemo->MoveTo(700, Down(700));
  mDemo->Key("z", "Control_L");  // back to the free curve, points kept
  EXPECT_TRUE(WaitForCurve(kClosingX, kClosingY, false)) << "undo left the loop";
  EXPECT_TRUE(IsRed(At(312, 534)));

  ChooseEnds(kPinned);
  EXPECT_TRUE(WaitForCurve(kNearFirstX, kNearFirstY, true)) << "the curve does not start at the first point";
  // It ends on the last point, (312, 534), arriving from the right along the top edge; an
  // arrowhead there points on to the left, its wings behind it to the right.
  EXPECT_TRUE(CurveNear(332, 534));
  EXPECT_TRUE(CurveNear(322, 539, 1) && CurveNear(322, 529, 1)) << "no arrowhead at the end";
}

TEST_F(EndsAndPreviewTest, EndsAreSavedInTheFileAndLoadedBack) {
  DrawRoom();
  ChooseEnds(kLoop);
  ASSERT_TRUE(WaitForCurve(kClosingX, kClosingY, true));
  SetFilename("room");
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("room.xml"); }));
  EXPECT_EQ(0u, File("room.xml").find("<resource ends=\"loop\">\n  <Scale>350 200</Scale>\n"));

  ChooseEnds(kFree);
  ASSERT_TRUE(WaitForCurve(kClosingX, kClosingY, false));
  mDemo->Click(kValueX, kLoadY);
  mDemo->Click(kValueX, kLoadListFirstY);  // room.xml, the folder's only file
  EXPECT_TRUE(WaitForCurve(kClosingX, kClosingY, true)) << "the loop did not come back with the file";
  EXPECT_EQ(mDemo->Output().find("Unrecognised"), std::string::npos);
}

// The marker's centre on the row of a horizontal curve, from one reading of the window: the
// mean of its pixels; nothing when it is not there.
std::optional<double> MarkerX(DemoSession& demo, int yDown) {
  constexpr int kLeft = 262, kWidth = 701, kTop = 8;
  XImage* image = XGetImage(demo.XDisplay(), demo.WindowId(), kLeft, yDown - kTop, kWidth, 2 * kTop + 1,
                            AllPlanes, ZPixmap);
  if (image == nullptr) return std::nullopt;
  double sum = 0.0;
  int count = 0;
  for (int y = 0; y <= 2 * kTop; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const unsigned long value = XGetPixel(image, x, y);
      const Pixel p{static_cast<int>((value >> 16) & 0xff), static_cast<int>((value >> 8) & 0xff),
                    static_cast<int>(value & 0xff)};
      if (IsMarker(p)) {
        sum += kLeft + x;
        ++count;
      }
    }
  XDestroyImage(image);
  if (count == 0) return std::nullopt;
  return sum / count;
}

// A pinned path of two points is the straight line between them, so distance along it is the
// distance along x. Read twice, a second apart, the marker has come as far as the speed says,
// within the travel of one frame: each reading shows a frame drawn up to a frame before it.
TEST_F(EndsAndPreviewTest, TheMarkerMovesAlongTheCurveAtItsSpeedByTheClock) {
  using Clock = std::chrono::steady_clock;
  AddPoint(312, 384);
  AddPoint(912, 384);
  ChooseEnds(kPinned);
  ASSERT_TRUE(WaitForCurve(612, 384, true));
  mDemo->Frames(3);
  EXPECT_FALSE(MarkerX(*mDemo, Down(384)).has_value()) << "a marker while the preview is off";

  const double speed = 60.0;  // 10 s along the 600-pixel line: no new start between the readings
  TypeInto(kPreviewSpeedY, "60");
  const Clock::time_point framesFrom = Clock::now();
  mDemo->Frames(20);
  const double framePeriod = std::chrono::duration<double>(Clock::now() - framesFrom).count() / 20.0;

  mDemo->Frames(1);
  const std::optional<double> first = MarkerX(*mDemo, Down(384));
  const Clock::time_point firstTime = Clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(1));
  mDemo->Frames(1);
  const std::optional<double> second = MarkerX(*mDemo, Down(384));
  const double apart = std::chrono::duration<double>(Clock::now() - firstTime).count();
  ASSERT_TRUE(first && second) << "no marker seen";

  EXPECT_NEAR(speed * apart, *second - *first, speed * framePeriod + 2.0)
      << "at " << *first << " and " << *second << ", " << apart << " s apart, frames " << framePeriod << " s";
  EXPECT_GT(*first, 312.0);
  EXPECT_LT(*second, 912.0);
}

}  // namespace
}  // namespace editor
