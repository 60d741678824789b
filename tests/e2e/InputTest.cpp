// Input as it comes from a hurried user or a slow frame: clicks, drags and keys faster than the
// frames, a field left open while the scene is clicked, Escape over an open list, and a window
// of another size. Input sent AtOnce reaches the program between two of its frames.
#include "EditorFixture.h"

namespace editor {
namespace {

using InputTest = EditorTest;

std::size_t CountPoints(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t at = text.find("<ControlPoint>"); at != std::string::npos;
       at = text.find("<ControlPoint>", at + 1))
    ++count;
  return count;
}

bool IsPoint(const Pixel& p) { return IsRed(p) || IsGreen(p); }

TEST_F(InputTest, TwentyQuickClicksInTheSceneAndOnABarButtonAddTwentyPointsEach) {
  mDemo->AtOnce([&] {
    for (int i = 0; i < 20; ++i) {
      mDemo->MoveTo(300 + 25 * i, Down(300));
      mDemo->Press(Button::Right);
      mDemo->Release(Button::Right);
    }
  });
  EXPECT_TRUE(WaitForColor(775, 300, IsRed));
  std::string missing;
  for (int i = 0; i < 20; ++i)
    if (!IsPoint(At(300 + 25 * i, 300))) missing += std::to_string(i) + " ";
  EXPECT_EQ("", missing) << "clicks that made no point";

  mDemo->MoveTo(600, Down(500));  // where the bar's button puts its points
  mDemo->MoveTo(kBarX, kPushBackY);
  mDemo->AtOnce([&] {
    for (int i = 0; i < 20; ++i) {
      mDemo->Press(Button::Left);
      mDemo->Release(Button::Left);
    }
  });
  SetFilename("clicks");
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("clicks.xml"); }));
  mDemo->Frames(4);
  EXPECT_EQ(40u, CountPoints(File("clicks.xml")));
}

// The last motion of a drag comes in the same frame as the release: the point, or the path,
// still goes all the way, and a drag made within one frame goes where it ended.
TEST_F(InputTest, ADragEndsWhereItsButtonWasReleased) {
  AddPoint(400, 300);
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  mDemo->MoveTo(400, Down(300));
  mDemo->Press(Button::Left);
  mDemo->MoveTo(420, Down(300));
  mDemo->AtOnce([&] {
    mDemo->MoveTo(480, Down(340));
    mDemo->Release(Button::Left);
  });
  EXPECT_TRUE(WaitForColor(480, 340, IsRed));

  mDemo->MoveTo(700, Down(500));
  mDemo->Press(Button::Middle);
  mDemo->MoveTo(710, Down(500));
  mDemo->AtOnce([&] {
    mDemo->MoveTo(750, Down(520));
    mDemo->Release(Button::Middle);
  });
  EXPECT_TRUE(WaitForColor(530, 360, IsRed));

  // Out and back in one go: the point stays where it was.
  mDemo->AtOnce([&] {
    mDemo->MoveTo(530, Down(360));
    mDemo->Press(Button::Left);
    for (int step = 1; step <= 5; ++step) mDemo->MoveTo(530 + 40 * step, Down(360 + 20 * step));
    mDemo->MoveTo(530, Down(360));
    mDemo->Release(Button::Left);
  });
  EXPECT_TRUE(WaitForColor(530, 360, IsRed));
  EXPECT_FALSE(IsPoint(At(730, 460)));
}

TEST_F(InputTest, EveryKeyOfABurstCountsInAFieldAndInTheScene) {
  AddPoint(400, 300);
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  // The click into the Filename field, the name, ten BackSpaces and Return, all in one go.
  mDemo->AtOnce([&] {
    mDemo->Click(kValueX, kFilenameY);
    mDemo->Type("keepzzzzzzzzzz");
    for (int i = 0; i < 10; ++i) mDemo->Key("BackSpace");
    mDemo->Key("Return");
  });
  mDemo->MoveTo(700, Down(500));
  mDemo->AtOnce([&] {
    for (int i = 0; i < 10; ++i) mDemo->Key("Right");
  });
  EXPECT_TRUE(WaitForColor(410, 300, IsRed));
  Save();
  EXPECT_TRUE(mDemo->WaitFor([&] { return Exists("keep.xml"); })) << mDemo->Output();
  EXPECT_EQ(1u, CountPoints(File("keep.xml")));
}

// A press in the scene ends the edit of a bar field first: the value goes to what it was typed
// for, then the press acts, and the keys after it are the scene's again.
TEST_F(InputTest, APressInTheSceneEndsAFieldEditOntoWhatItWasTypedFor) {
  AddPoint(400, 300);
  AddPoint(500, 300);
  AddPoint(600, 300);
  mDemo->Click(400, Down(300));  // the first point selected
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  mDemo->Click(kValueX, kXY);
  mDemo->Key("a", "Control_L");
  mDemo->Type("123");  // no Return
  AddPoint(700, 400);
  EXPECT_TRUE(WaitForColor(385, 300, IsGreen));  // frame x 123: the first point went there
  EXPECT_TRUE(WaitForColor(700, 400, IsRed));    // the new point, selected, where it was clicked
  mDemo->Key("Return");                          // the field is closed: Return does nothing
  mDemo->Frames(3);
  EXPECT_TRUE(IsRed(At(700, 400)));

  // A middle press after typing a name: z and Delete act in the scene, and Ctrl+S saves
  // under the name typed.
  mDemo->Click(kValueX, kFilenameY);
  mDemo->Type("foo");
  mDemo->Click(800, Down(600), Button::Middle);
  mDemo->MoveTo(800, Down(450));
  mDemo->Key("z");
  EXPECT_TRUE(WaitForColor(800, 450, IsRed));
  mDemo->Key("Delete");
  Save();
  EXPECT_TRUE(mDemo->WaitFor([&] { return Exists("foo.xml"); })) << mDemo->Output();
  EXPECT_EQ(4u, CountPoints(File("foo.xml")));
}

TEST_F(InputTest, EscapeClosesTheOpenLoadListAndOnlyTheNextOneQuits) {
  mDemo->Click(kValueX, kLoadY);
  mDemo->Key("Escape");
  mDemo->Frames(10);
  EXPECT_TRUE(mDemo->Running());
  mDemo->Key("Escape");
  EXPECT_EQ(mDemo->WaitForExit(), std::optional<int>(0));
}

// At 800 x 600 the scene keeps its origin at the lower-left corner and its scale, the bar its
// place at the top left: a right click lands under the pointer, its label above it, and the
// bar's buttons work where they show.
TEST_F(InputTest, InASmallerWindowInputLandsUnderThePointerAndTheBarWorks) {
  mDemo->Resize(800, 600);
  const auto down = [](int yUp) { return 600 - yUp; };
  mDemo->Click(612, down(384), Button::Right);  // the frame's centre, frame (350, 200)
  EXPECT_TRUE(mDemo->WaitFor([&] { return IsRed(mDemo->PixelAt(612, down(384))); }));
  bool labelSeen = false;
  for (int x = 612; x < 622 && !labelSeen; ++x)
    for (int y = 404; y < 416 && !labelSeen; ++y)
      labelSeen = Near(mDemo->PixelAt(x, down(y)), 255, 255, 255, 30);
  EXPECT_TRUE(labelSeen);

  // The bar's title row at the top of the window: the bar's colour, darkened.
  EXPECT_TRUE(Near(mDemo->PixelAt(kBarX, 8), 29, 47, 47, 8));
  SetFilename("small");
  mDemo->Click(kBarX, kSaveY);
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("small.xml"); })) << mDemo->Output();
  mDemo->Frames(4);
  EXPECT_NE(File("small.xml").find("<ControlPoint>0.5 0.5</ControlPoint>"), std::string::npos)
      << File("small.xml");
}

}  // namespace
}  // namespace editor
