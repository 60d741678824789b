// Zoom and pan through the real window: the wheel about the pointer, Home, a drag with Space
// held, and every kind of input at a zoom, checked on the screen and in the saved file.
#include "EditorFixture.h"

namespace editor {
namespace {

class ViewTest : public EditorTest {
protected:
  // The file's value of a point at this frame position (rotation 0, scale 1; under four points
  // the curve starts at the frame's corner).
  static std::string FrameValue(float x, float y) {
    std::ostringstream value;
    value << x / 700.0f << " " << y / 400.0f;
    return value.str();
  }
  // The control points of a saved file, one value after the other.
  std::vector<std::string> SavedPoints(const std::string& name) {
    SetFilename(name);
    Save();
    EXPECT_TRUE(mDemo->WaitFor([&] { return Exists(name + ".xml"); }));
    mDemo->Frames(4);
    std::vector<std::string> points;
    const std::string text = File(name + ".xml");
    for (std::size_t from = text.find("<ControlPoint>"); from != std::string::npos;
         from = text.find("<ControlPoint>", from + 1))
      points.push_back(text.substr(from + 14, text.find("</ControlPoint>", from) - from - 14));
    return points;
  }
};

// Where a wheel step about the pointer p puts a window position w: p + 1.25 (w - p).
TEST_F(ViewTest, AWheelStepZoomsAboutThePointerAndABackwardStepUndoesIt) {
  AddPoint(400, 300);
  AddPoint(600, 450);
  ASSERT_TRUE(WaitForColor(600, 450, IsRed));
  mDemo->MoveTo(500, Down(350));
  mDemo->Wheel(1);
  EXPECT_TRUE(WaitForColor(625, 475, IsRed));
  EXPECT_TRUE(IsGreen(At(375, 287)));
  EXPECT_FALSE(IsRed(At(600, 450)));
  EXPECT_FALSE(IsGreen(At(400, 300)));
  // The frame's bottom edge, 184 at 1x, is now at 142.5.
  EXPECT_TRUE(Near(At(450, 142), 255, 255, 255, 160) || Near(At(450, 143), 255, 255, 255, 160));
  mDemo->Wheel(-1);
  EXPECT_TRUE(WaitForColor(400, 300, IsGreen));
  EXPECT_TRUE(IsRed(At(600, 450)));
}

// The pan holds the scene point the drag began on under the pointer, even a control point:
// nothing is picked, nothing moves in the path. Home puts the view back.
TEST_F(ViewTest, ADragWithSpaceHeldPansAndHomeResets) {
  AddPoint(400, 300);
  AddPoint(500, 300);
  ASSERT_TRUE(WaitForColor(500, 300, IsRed));
  mDemo->Hold("space");
  mDemo->Drag(400, Down(300), 460, Down(340), Button::Left, 4);
  mDemo->LetGo("space");
  // Under the pointer, and hovered now that Space is let go, but not selected by the drag.
  EXPECT_TRUE(WaitForColor(460, 340, IsYellow));
  EXPECT_TRUE(IsRed(At(560, 340)));
  EXPECT_FALSE(mDemo->CursorHidden());

  mDemo->MoveTo(700, Down(600));
  mDemo->Wheel(3);
  mDemo->Key("Home");
  EXPECT_TRUE(WaitForColor(400, 300, IsGreen));
  EXPECT_TRUE(IsRed(At(500, 300)));
  EXPECT_EQ((std::vector<std::string>{FrameValue(138, 116), FrameValue(238, 116)}), SavedPoints("panned"));
}

// Two steps make the zoom 1.5625: a drag of 50 screen pixels moves the point by 32 frame
// pixels; and the view is no part of the file.
TEST_F(ViewTest, ADragWhileZoomedMovesByTheScreenDistanceOverTheZoom) {
  AddPoint(400, 300);
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  mDemo->MoveTo(400, Down(300));
  mDemo->Wheel(2);
  mDemo->Drag(400, Down(300), 450, Down(300), Button::Left, 5);
  EXPECT_TRUE(WaitForColor(450, 300, IsRed));
  EXPECT_EQ(std::vector<std::string>{FrameValue(170, 116)}, SavedPoints("zoomed"));
  mDemo->Key("Home");
  EXPECT_TRUE(WaitForColor(432, 300, IsRed));
  EXPECT_EQ(std::vector<std::string>{FrameValue(170, 116)}, SavedPoints("home"));
  EXPECT_EQ(File("zoomed.xml"), File("home.xml"));
}

// At zoom 1.5625 about the frame's corner, frame position f shows at 262 + 1.5625 f (x) and
// 184 + 1.5625 f (y): right-click appends, z places, arrows nudge, Snap snaps and a press picks
// where the points show.
TEST_F(ViewTest, EveryInputWorksWhereThePointsShowAtAZoom) {
  mDemo->MoveTo(262, Down(184));
  mDemo->Wheel(2);
  AddPoint(312, 209);  // frame (32, 16)
  mDemo->MoveTo(362, Down(234));
  mDemo->Key("z");  // frame (64, 32)
  mDemo->Key("Right");
  mDemo->Click(kSwitchX, kSnapY);  // Snap on
  AddPoint(304, 220);              // frame (26.9, 23.0): the grid point (25, 25)
  mDemo->Click(kSwitchX, kSnapY);  // Snap off
  mDemo->Drag(312, Down(209), 337, Down(209), Button::Left, 5);  // the first point, 16 to the right
  EXPECT_EQ((std::vector<std::string>{FrameValue(48, 16), FrameValue(65, 32), FrameValue(25, 25)}),
            SavedPoints("zoomed"));
}

}  // namespace
}  // namespace editor
