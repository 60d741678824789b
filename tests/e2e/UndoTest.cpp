// Undo and redo through the real window, a drag cancelled with a right click, and the
// recovery file an exit with unsaved edits leaves.
#include <optional>

#include "EditorFixture.h"

namespace editor {
namespace {

using UndoTest = EditorTest;

void Undo(DemoSession& demo) { demo.Key("z", "Control_L"); }

TEST_F(UndoTest, AWholeDragIsOneStepUndoneAndRedone) {
  AddPoint(400, 300);
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  mDemo->Drag(400, Down(300), 500, Down(250), Button::Left, 6);
  ASSERT_TRUE(WaitForColor(500, 250, IsRed));

  Undo(*mDemo);
  EXPECT_TRUE(WaitForColor(400, 300, IsRed));
  EXPECT_FALSE(IsRed(At(500, 250)));
  mDemo->Key("y", "Control_L");
  EXPECT_TRUE(WaitForColor(500, 250, IsRed));
  Undo(*mDemo);
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  mDemo->Key("z", "Control_L+Shift_L");  // redo too
  EXPECT_TRUE(WaitForColor(500, 250, IsRed));
}

TEST_F(UndoTest, AppendClearAndDeleteAreUndone) {
  AddPoint(400, 300);
  AddPoint(500, 350);
  AddPoint(600, 300);
  ASSERT_TRUE(WaitForColor(600, 300, IsRed));
  mDemo->Key("p");  // Clear CP
  ASSERT_TRUE(mDemo->WaitFor([&] { return !IsRed(At(600, 300)) && !IsGreen(At(400, 300)); }));
  Undo(*mDemo);
  EXPECT_TRUE(WaitForColor(600, 300, IsRed));  // the selection comes back with the points
  EXPECT_TRUE(WaitForColor(400, 300, IsGreen));

  mDemo->Key("Delete");
  ASSERT_TRUE(mDemo->WaitFor([&] { return !IsRed(At(600, 300)) && !IsGreen(At(600, 300)); }));
  Undo(*mDemo);
  EXPECT_TRUE(WaitForColor(600, 300, IsRed));
  Undo(*mDemo);  // the third append
  EXPECT_TRUE(mDemo->WaitFor([&] { return !IsRed(At(600, 300)) && !IsGreen(At(600, 300)); }));
  EXPECT_TRUE(WaitForColor(500, 350, IsRed));
}

TEST_F(UndoTest, MoreUndosThanStepsChangeNothingAndAddNoPoint) {
  AddPoint(400, 300);
  AddPoint(500, 350);
  mDemo->MoveTo(700, Down(450));  // where a plain z would append
  for (int i = 0; i < 5; ++i) Undo(*mDemo);
  mDemo->Frames(4);
  EXPECT_FALSE(IsRed(At(400, 300)) || IsGreen(At(400, 300)));
  EXPECT_FALSE(IsRed(At(500, 350)) || IsGreen(At(500, 350)));
  EXPECT_FALSE(IsRed(At(700, 450)) || IsGreen(At(700, 450)));
  mDemo->Key("y", "Control_L");
  EXPECT_TRUE(WaitForColor(400, 300, IsRed));
}

TEST_F(UndoTest, ARightClickDuringADragPutsThePointBackAndLeavesNothingToUndo) {
  AddPoint(400, 300);
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  mDemo->MoveTo(400, Down(300));
  mDemo->Press(Button::Left);
  for (int step = 1; step <= 4; ++step) mDemo->MoveTo(400 + 25 * step, Down(300));
  mDemo->Click(500, Down(300), Button::Right);  // while the left button is still held
  mDemo->MoveTo(550, Down(320));                // moves nothing now
  mDemo->Release(Button::Left);
  EXPECT_TRUE(WaitForColor(400, 300, IsRed));
  EXPECT_FALSE(IsRed(At(500, 300)) || IsGreen(At(500, 300)));  // and the right click added nothing
  EXPECT_FALSE(IsRed(At(550, 320)) || IsGreen(At(550, 320)));

  Undo(*mDemo);  // the only step left is the first point's append
  EXPECT_TRUE(mDemo->WaitFor([&] { return !IsRed(At(400, 300)) && !IsGreen(At(400, 300)); }));
}

TEST_F(UndoTest, ATypedRotationIsUndone) {
  AddPoint(600, 100);
  TypeInto(kRotationY, "400");
  const float theta = 40.0f / 180.0f * 3.1415927f;
  const int wx = static_cast<int>(std::cos(theta) * 600.0f - std::sin(theta) * 100.0f);
  const int wy = static_cast<int>(std::sin(theta) * 600.0f + std::cos(theta) * 100.0f);
  ASSERT_TRUE(WaitForColor(wx, wy, IsRed));
  mDemo->MoveTo(700, Down(500));
  Undo(*mDemo);
  EXPECT_TRUE(WaitForColor(600, 100, IsRed));
  EXPECT_FALSE(IsRed(At(wx, wy)));
}

TEST_F(UndoTest, ALoadIsUndoneBackToTheUnsavedPath) {
  Start([](const std::filesystem::path& work) {
    std::ofstream(work / "other.xml")
        << "<resource>\n  <Scale>350 200</Scale>\n  <WorldPos>262 184</WorldPos>\n"
           "  <SplineStart>0 0</SplineStart>\n"
           "  <ControlPoint>0.5 0.5</ControlPoint>\n</resource>\n";
  });
  AddPoint(400, 300);
  AddPoint(500, 350);
  mDemo->Click(kValueX, kLoadY);
  mDemo->Click(kValueX, kLoadListFirstY);
  ASSERT_TRUE(WaitForColor(612, 384, IsGreen));
  ASSERT_FALSE(IsRed(At(500, 350)));
  mDemo->MoveTo(700, Down(500));
  Undo(*mDemo);
  EXPECT_TRUE(WaitForColor(500, 350, IsRed));
  EXPECT_TRUE(WaitForColor(400, 300, IsGreen));
  EXPECT_FALSE(IsGreen(At(612, 384)));
}

// Undoing a load gives back the file name too, so the next save does not overwrite the file
// that was loaded by mistake.
TEST_F(UndoTest, AnUndoneLoadGivesBackTheFileName) {
  const std::string other =
      "<resource>\n  <Scale>350 200</Scale>\n  <WorldPos>262 184</WorldPos>\n"
      "  <SplineStart>0 0</SplineStart>\n  <ControlPoint>0.5 0.5</ControlPoint>\n</resource>\n";
  Start([&](const std::filesystem::path& work) { std::ofstream(work / "other.xml") << other; });
  SetFilename("mine");
  AddPoint(400, 300);
  mDemo->Click(kValueX, kLoadY);
  mDemo->Click(kValueX, kLoadListFirstY);
  ASSERT_TRUE(WaitForColor(612, 384, IsRed));
  mDemo->MoveTo(700, Down(500));
  Undo(*mDemo);
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  Save();
  EXPECT_TRUE(mDemo->WaitFor([&] { return Exists("mine.xml"); }));
  EXPECT_EQ(other, File("other.xml"));
  EXPECT_FALSE(Exists("other.xml.bak0"));
}

TEST_F(UndoTest, QuittingWithUnsavedEditsKeepsThemInANewRecoveryFileEachTime) {
  const std::string earlier = "<resource>\n  <ControlPoint>0 0</ControlPoint>\n</resource>\n";
  Start([&](const std::filesystem::path& work) { std::ofstream(work / "level.xml.unsaved0") << earlier; });
  SetFilename("level");
  AddPoint(400, 300);
  AddPoint(500, 350);
  ASSERT_TRUE(WaitForColor(500, 350, IsRed));
  mDemo->Key("Escape");
  ASSERT_EQ(mDemo->WaitForExit(), std::optional<int>(0));
  EXPECT_NE(mDemo->Output().find("level.xml.unsaved1"), std::string::npos) << mDemo->Output();
  EXPECT_EQ(earlier, File("level.xml.unsaved0"));  // never overwritten
  const std::vector<PathPoint> kept = PointsOf(File("level.xml.unsaved1"));
  ASSERT_EQ(2u, kept.size()) << File("level.xml.unsaved1");
  EXPECT_NEAR(400.0f, kept[0].x, 0.01f);
  EXPECT_NEAR(300.0f, kept[0].y, 0.01f);
  EXPECT_NEAR(500.0f, kept[1].x, 0.01f);
  EXPECT_NEAR(350.0f, kept[1].y, 0.01f);
}

TEST_F(UndoTest, TheRecoveryFileIsListedAndLoadsBack) {
  Start([](const std::filesystem::path& work) {
    std::ofstream(work / "untitled.xml.unsaved0")
        << "<resource>\n  <Scale>350 200</Scale>\n  <WorldPos>262 184</WorldPos>\n"
           "  <SplineStart>0 0</SplineStart>\n  <ControlPoint>0.5 0.5</ControlPoint>\n</resource>\n";
  });
  mDemo->Click(kValueX, kLoadY);
  mDemo->Click(kValueX, kLoadListFirstY);
  EXPECT_TRUE(WaitForColor(612, 384, IsGreen));
  // Loaded and not edited since: quitting writes nothing more.
  mDemo->Key("Escape");
  ASSERT_EQ(mDemo->WaitForExit(), std::optional<int>(0));
  EXPECT_FALSE(Exists("untitled.xml.unsaved1"));
}

TEST_F(UndoTest, QuittingWithEverythingSavedWritesNothing) {
  AddPoint(400, 300);
  SetFilename("kept");
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("kept.xml"); }));
  mDemo->Frames(3);
  mDemo->CloseWindow();
  ASSERT_EQ(mDemo->WaitForExit(), std::optional<int>(0));
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(mDemo->WorkDir()))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(std::vector<std::string>{"kept.xml"}, names);
  EXPECT_EQ(mDemo->Output().find("Unsaved"), std::string::npos);
}

}  // namespace
}  // namespace editor
