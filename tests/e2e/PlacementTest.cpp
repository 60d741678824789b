// Precise placement through the real window: typed coordinates, snapping to the grid, and
// nudges with the arrow keys, at any rotation and scale.
#include "EditorFixture.h"

namespace editor {
namespace {

class PlacementTest : public EditorTest {
protected:
  // The one control point of the saved file `name`, as the values it holds.
  std::string SavedPoint(const std::string& name) {
    SetFilename(name);
    Save();
    EXPECT_TRUE(mDemo->WaitFor([&] { return Exists(name + ".xml"); }));
    mDemo->Frames(4);
    const std::string text = File(name + ".xml");
    const std::size_t from = text.find("<ControlPoint>"), to = text.find("</ControlPoint>");
    return from == std::string::npos ? text : text.substr(from + 14, to - from - 14);
  }
  // What the file holds for a point at a window position (rotation 0, scale 1 once saved).
  static std::string FileValue(float x, float y) {
    std::ostringstream value;
    value << (x - 262.0f) / 700.0f << " " << (y - 184.0f) / 400.0f;
    return value.str();
  }
  bool FieldHasText(int rowY) {
    for (int y = rowY - 5; y <= rowY + 5; ++y)
      for (int x = 116; x < 150; ++x) {
        const Pixel p = mDemo->PixelAt(x, y);
        if (p.r > 200 && p.g > 200 && p.b > 200) return true;
      }
    return false;
  }
};

TEST_F(PlacementTest, TypedXAndYPutTheSelectedPointThereOnScreenAndInTheFile) {
  mDemo->Frames(3);
  EXPECT_FALSE(FieldHasText(kXY));  // nothing selected: the fields show nothing
  TypeInto(kXY, "40");              // and take nothing
  AddPoint(400, 300);
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  EXPECT_TRUE(FieldHasText(kXY));

  TypeInto(kXY, "100");
  TypeInto(kYY, "50");
  EXPECT_TRUE(WaitForColor(362, 234, IsRed));
  EXPECT_FALSE(IsRed(At(400, 300)));
  EXPECT_EQ(FileValue(362, 234), SavedPoint("typed"));
}

TEST_F(PlacementTest, ATypedPlaceIsWhereThePointShowsAtRotation90AndScale2) {
  TypeInto(kRotationY, "90");
  TypeInto(kScaleY, "2");
  AddPoint(400, 300);
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  TypeInto(kXY, "300");
  TypeInto(kYY, "200");
  EXPECT_TRUE(WaitForColor(562, 384, IsRed));
  EXPECT_FALSE(IsRed(At(400, 300)));
}

TEST_F(PlacementTest, ADragWithCtrlLandsOnTheGrid) {
  AddPoint(400, 300);  // frame (138, 116): off the grid of 25
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  mDemo->Hold("Control_L");
  mDemo->Drag(400, Down(300), 452, Down(341), Button::Left, 4);  // to frame (190, 157)
  mDemo->LetGo("Control_L");
  EXPECT_TRUE(WaitForColor(462, 334, IsRed));  // frame (200, 150)
  EXPECT_EQ(FileValue(462, 334), SavedPoint("snapped"));
}

TEST_F(PlacementTest, ARightClickWithSnapOnAppendsOnTheGrid) {
  mDemo->Click(kSwitchX, kSnapY);
  AddPoint(455, 347);                          // frame (193, 163)
  EXPECT_TRUE(WaitForColor(462, 359, IsRed));  // frame (200, 175)
  EXPECT_EQ(FileValue(462, 359), SavedPoint("grid"));
}

TEST_F(PlacementTest, ArrowsNudgeByOneAndShiftArrowsByTenAsOneUndoStep) {
  AddPoint(400, 300);
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  mDemo->MoveTo(700, Down(500));
  for (int i = 0; i < 3; ++i) mDemo->Key("Right");
  for (int i = 0; i < 2; ++i) mDemo->Key("Up", "Shift_L");
  mDemo->Key("Left");
  EXPECT_EQ(FileValue(402, 320), SavedPoint("nudged"));
  mDemo->MoveTo(700, Down(500));
  mDemo->Key("z", "Control_L");  // every nudge of the point at once
  EXPECT_EQ(FileValue(400, 300), SavedPoint("nudged"));
  // The special keys are still echoed: Right is 102, Shift_L 112.
  EXPECT_NE(mDemo->Output().find("102\n"), std::string::npos);
}

// A click in the scene ends the typing first: the value goes to the point that was selected
// while it was typed, and only then does the click select another.
TEST_F(PlacementTest, AClickElsewhereCommitsTheTypedValueBeforeItSelects) {
  AddPoint(400, 300);
  AddPoint(600, 300);
  ASSERT_TRUE(WaitForColor(600, 300, IsRed));
  mDemo->Click(kValueX, kXY);
  mDemo->Key("a", "Control_L");
  mDemo->Type("100");  // no Return
  mDemo->Click(400, Down(300));
  EXPECT_TRUE(WaitForColor(362, 300, IsGreen));  // the point that was selected, at frame x 100
  EXPECT_TRUE(WaitForColor(400, 300, IsRed));    // the clicked one, selected and where it was
}

// Ctrl pressed in the middle of a path drag: from then on the path moves by whole grid steps
// of the pointer's motion since the drag began, never farther than the pointer went.
TEST_F(PlacementTest, CtrlPressedDuringAPathDragSnapsTheRestOfIt) {
  AddPoint(400, 300);
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  mDemo->MoveTo(600, Down(400));
  mDemo->Press(Button::Middle);
  mDemo->MoveTo(613, Down(400));  // free: the path follows by 13
  mDemo->Hold("Control_L");
  mDemo->MoveTo(630, Down(400));
  mDemo->MoveTo(640, Down(400));  // 40 in all: two grid steps, 50
  mDemo->Release(Button::Middle);
  mDemo->LetGo("Control_L");
  EXPECT_TRUE(WaitForColor(450, 300, IsRed));
  EXPECT_FALSE(IsRed(At(463, 300)));
}

// Nudges that move nothing (at scale 0 no point can move) make no step, and the step before
// them stays the one an undo takes back.
TEST_F(PlacementTest, NudgesThatMoveNothingLeaveTheStepBeforeThem) {
  AddPoint(400, 300);
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  TypeInto(kScaleY, "0");
  mDemo->MoveTo(700, Down(500));
  mDemo->Key("Right");
  mDemo->Key("Right");
  mDemo->Key("z", "Control_L");  // the scale comes back
  EXPECT_TRUE(WaitForColor(400, 300, IsRed));
}

}  // namespace
}  // namespace editor
