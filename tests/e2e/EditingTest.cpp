// Editing a path with the mouse and the bar's shortcuts, checked on the window's pixels.
#include "EditorFixture.h"

namespace editor {
namespace {

TEST_F(EditorTest, RightClickAddsARedPointLabelledZeroUnderThePointer) {
  AddPoint(500, 400);
  EXPECT_TRUE(WaitForColor(500, 400, IsRed));
  // The label "0" is white, 20 pixels above the point.
  bool labelSeen = false;
  for (int x = 500; x < 510 && !labelSeen; ++x) {
    for (int y = 420; y < 432 && !labelSeen; ++y) labelSeen = Near(At(x, y), 255, 255, 255, 30);
  }
  EXPECT_TRUE(labelSeen);
}

TEST_F(EditorTest, HoveringTurnsAPointYellowAndLeavingItGreenAgain) {
  AddPoint(400, 300);
  AddPoint(700, 500);  // selected now, so the first one is green
  ASSERT_TRUE(WaitForColor(400, 300, IsGreen));
  mDemo->MoveTo(403, Down(302));
  EXPECT_TRUE(WaitForColor(400, 300, IsYellow));
  mDemo->MoveTo(600, Down(300));
  EXPECT_TRUE(WaitForColor(400, 300, IsGreen));
}

TEST_F(EditorTest, LeftDragSelectsAPointHidesThePointerAndMovesThePoint) {
  AddPoint(400, 300);
  AddPoint(700, 500);
  mDemo->MoveTo(400, Down(300));
  mDemo->Press(Button::Left);
  EXPECT_TRUE(WaitForColor(400, 300, IsRed));
  EXPECT_TRUE(mDemo->WaitFor([&] { return mDemo->CursorHidden(); }));
  for (int step = 1; step <= 5; ++step) mDemo->MoveTo(400 + 20 * step, Down(300 - 10 * step));
  mDemo->Release(Button::Left);
  EXPECT_TRUE(WaitForColor(500, 250, IsRed));
  EXPECT_FALSE(IsRed(At(400, 300)));
  EXPECT_TRUE(mDemo->WaitFor([&] { return !mDemo->CursorHidden(); }));
}

TEST_F(EditorTest, LeftPressOnEmptySpaceKeepsTheSelection) {
  AddPoint(400, 300);
  mDemo->Drag(800, Down(600), 830, Down(620), Button::Left, 3);  // moves the selected point
  EXPECT_TRUE(WaitForColor(430, 320, IsRed));
}

TEST_F(EditorTest, MiddleDragMovesAllPointsAndDrawsTheYellowLine) {
  AddPoint(400, 300);
  AddPoint(500, 350);
  mDemo->MoveTo(600, Down(600));
  mDemo->Press(Button::Middle);
  EXPECT_TRUE(mDemo->WaitFor([&] { return mDemo->CursorHidden(); }));
  // The line joins the last two pointer positions and lasts the one frame after the motion.
  mDemo->AtOnce([&] { mDemo->MoveTo(640, Down(600)); }, 0);
  EXPECT_TRUE(mDemo->InOneOfTheNextFrames(4, [&] {
    // A one-pixel line on a pixel boundary lights the two rows beside it at half strength.
    const Pixel p = At(620, 600);
    return p.r > 90 && p.g > 90 && p.b < 50;
  }));
  mDemo->MoveTo(600, Down(600));  // back where the drag began: the path is where it was
  mDemo->MoveTo(650, Down(550));
  mDemo->Release(Button::Middle);
  EXPECT_TRUE(WaitForColor(450, 250, IsGreen));
  EXPECT_TRUE(WaitForColor(550, 300, IsRed));
  EXPECT_TRUE(mDemo->WaitFor([&] { return !mDemo->CursorHidden(); }));
}

// The normalised file line of a point saved from a path of fewer than four points.
std::string PointLine(float x, float y) {
  std::ostringstream line;
  line << "  <ControlPoint>" << (x - 262.0f) / 700.0f << " " << (y - 184.0f) / 400.0f << "</ControlPoint>\n";
  return line.str();
}

TEST_F(EditorTest, KeysAddInsertDeleteAndClearAtThePointer) {
  AddPoint(300, 250);  // [A], A selected
  mDemo->MoveTo(400, Down(250));
  mDemo->Key("z");  // [A, B], B selected
  mDemo->MoveTo(500, Down(250));
  mDemo->Key("x");  // [A, X, B], X selected
  mDemo->MoveTo(600, Down(250));
  mDemo->Key("c");  // [A, X, C, B], C selected
  ASSERT_TRUE(WaitForColor(600, 250, IsRed));
  mDemo->MoveTo(800, Down(650));
  mDemo->Key("Delete");  // [A, X, B], B selected
  EXPECT_TRUE(WaitForColor(400, 250, IsRed));
  EXPECT_TRUE(IsGreen(At(300, 250)));
  EXPECT_TRUE(IsGreen(At(500, 250)));
  EXPECT_FALSE(IsRed(At(600, 250)) || IsGreen(At(600, 250)));

  SetFilename("keys");
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("keys.xml"); }));
  mDemo->Frames(4);
  EXPECT_NE(File("keys.xml").find(PointLine(300, 250) + PointLine(500, 250) + PointLine(400, 250)),
            std::string::npos)
      << File("keys.xml");

  mDemo->Key("p");
  EXPECT_TRUE(mDemo->WaitFor([&] { return !IsRed(At(400, 250)) && !IsGreen(At(300, 250)); }));
  Save();
  EXPECT_TRUE(mDemo->WaitForOutput("My friend, there is no control point to save...\n"));
}

TEST_F(EditorTest, ClickOnTheBarNeverReachesThePath) {
  mDemo->Click(100, 280, Button::Right);
  mDemo->Click(100, 280, Button::Left);
  Save();
  EXPECT_TRUE(mDemo->WaitForOutput("My friend, there is no control point to save...\n"));
}

TEST_F(EditorTest, EscapeWhileTheFilenameFieldIsEditedDoesNotEndTheProgram) {
  mDemo->Click(kValueX, kFilenameY);
  mDemo->Type("ab");
  mDemo->Key("Escape");
  mDemo->Frames(10);
  EXPECT_TRUE(mDemo->Running());
  mDemo->MoveTo(600, 400);
  mDemo->Key("Escape");
  EXPECT_EQ(mDemo->WaitForExit(), std::optional<int>(0));
}

}  // namespace
}  // namespace editor
