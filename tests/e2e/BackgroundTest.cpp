// The image under the frame through the real window: chosen from the Background list, named
// by a path file, kept by Save, and what shows when it cannot be read.
#include <stb/stb_image_write.h>  // PNG writer from Debian's libstb

#include <vector>

#include "EditorFixture.h"
#include "NamedCases.h"

namespace editor {
namespace {

// The background rows of the bar, below the placement rows, and the first entries of the
// Background list when it is open: "(none)", then the listed images.
constexpr int kBackgroundY = 455;
constexpr int kOpacityY = 475;
constexpr int kBackgroundListFirstY = 476;

// A 700 x 400 image of four quarters: red at the top left, blue at the top right, white at the
// bottom left, cyan at the bottom right.
void WriteLevelImage(const std::filesystem::path& file) {
  constexpr int kWidth = 700, kHeight = 400;
  std::vector<unsigned char> rgb;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool top = y < kHeight / 2, left = x < kWidth / 2;
      const unsigned char r = (top && left) || (!top && left) ? 255 : 0;
      const unsigned char g = !top ? 255 : 0;
      const unsigned char b = top && left ? 0 : 255;
      rgb.insert(rgb.end(), {r, g, b});
    }
  }
  ASSERT_NE(0, stbi_write_png(file.c_str(), kWidth, kHeight, 3, rgb.data(), kWidth * 3));
}

// Four points at the frame's corners and centre, as a path file that names `background`.
std::string PathNaming(const std::string& background) {
  std::string text = ReadText(std::filesystem::path(GOLDEN_DIR) / "four_points.xml");
  return text.replace(0, 10, "<resource background=\"" + background + "\">");
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class BackgroundTest : public EditorTest {
protected:
  void SetUp() override {}  // each case starts the program in a folder of its own
  // The four quarters of the frame at this opacity (0 ... 255 of full colour), and black around
  // the frame on every side.
  bool ShowsTheImage(int level) {
    const int half = level;
    return Near(At(300, 550), half, 0, 0, 12) && Near(At(920, 550), 0, 0, half, 12) &&
           Near(At(300, 220), half, half, half, 12) && Near(At(920, 220), 0, half, half, 12);
  }
  bool DarkAroundTheFrame() {
    for (const auto& [x, y] :
         {std::pair{255, 300}, {970, 300}, {600, 177}, {600, 591}, {257, 179}, {967, 589}})
      if (!Near(At(x, y), 0, 0, 0, 12)) return false;
    return true;
  }
  bool ShowsNoImage() { return Near(At(300, 550), 0, 0, 0, 12) && Near(At(920, 220), 0, 0, 0, 12); }
  void ChooseBackground(int entry) {
    mDemo->Click(kValueX, kBackgroundY);
    mDemo->Click(kValueX, kBackgroundListFirstY + entry * kLoadListStep);
  }
  void LoadEntry(int entry) {
    mDemo->Click(kValueX, kLoadY);
    mDemo->Click(kValueX, kLoadListFirstY + entry * kLoadListStep);
  }
};

TEST_F(BackgroundTest, AnImageChosenFromTheListShowsInsideTheFrameOnlyUnderThePoints) {
  Start([](const std::filesystem::path& work) { WriteLevelImage(work / "level.png"); });
  EXPECT_TRUE(ShowsNoImage());
  ChooseBackground(1);  // level.png
  ASSERT_TRUE(mDemo->WaitFor([&] { return ShowsTheImage(128); }));
  EXPECT_TRUE(DarkAroundTheFrame());

  // Choosing it is one undo step.
  mDemo->MoveTo(600, Down(700));
  mDemo->Key("z", "Control_L");
  EXPECT_TRUE(mDemo->WaitFor([&] { return ShowsNoImage(); }));
  mDemo->Key("y", "Control_L");
  EXPECT_TRUE(mDemo->WaitFor([&] { return ShowsTheImage(128); }));

  TypeInto(kOpacityY, "1");
  EXPECT_TRUE(mDemo->WaitFor([&] { return ShowsTheImage(255); }));
  // Rotation and Scale place the path, not the image; the points show over it.
  TypeInto(kRotationY, "90");
  TypeInto(kScaleY, "2");
  AddPoint(800, 250);
  EXPECT_TRUE(WaitForColor(800, 250, IsRed));
  EXPECT_TRUE(ShowsTheImage(255));
  EXPECT_TRUE(DarkAroundTheFrame());

  // A wheel step about the frame's centre: the image grows with the frame, its left edge from
  // 262 to 174.5, and its right one past the window's edge.
  mDemo->MoveTo(612, Down(384));
  mDemo->Wheel(1);
  EXPECT_TRUE(mDemo->WaitFor([&] { return Near(At(180, 230), 255, 255, 255, 12); }));
  EXPECT_TRUE(Near(At(170, 230), 0, 0, 0, 12));
  EXPECT_TRUE(Near(At(1020, 230), 0, 255, 255, 12));
}

TEST_F(BackgroundTest, APathFileNamingAnImageLoadsWithItAndSaveKeepsTheName) {
  const std::string text = ReadText(std::filesystem::path(GOLDEN_DIR) / "four_points_over_background.xml");
  Start([&](const std::filesystem::path& work) {
    WriteLevelImage(work / "level.png");
    std::ofstream(work / "path.xml") << text;
    std::ofstream(work / "plain.xml") << ReadText(std::filesystem::path(GOLDEN_DIR) / "four_points.xml");
  });
  LoadEntry(1);  // level.png, path.xml, plain.xml
  ASSERT_TRUE(mDemo->WaitFor([&] { return ShowsTheImage(128); }));
  EXPECT_TRUE(IsGreen(At(962, 184)) || IsGreen(At(961, 185)));

  mDemo->MoveTo(600, Down(700));
  mDemo->Key("s", "Control_L");
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("path.xml.bak0"); }));
  mDemo->Frames(4);
  EXPECT_EQ(text, File("path.xml"));

  LoadEntry(3);  // path.xml.bak0 came with the save; plain.xml names no image and clears it
  EXPECT_TRUE(mDemo->WaitFor([&] { return ShowsNoImage(); }));
}

// An image that cannot be shown: one line naming it and why, no image, and the path loads.
struct UnshownCase {
  const char* name;
  const char* background;
  const char* message;
};

class UnshownBackground : public BackgroundTest, public ::testing::WithParamInterface<UnshownCase> {};

TEST_P(UnshownBackground, PrintsOneLineAndThePathStillLoads) {
  const UnshownCase& c = GetParam();
  Start([&](const std::filesystem::path& work) {
    WriteLevelImage(work / ".." / "level.png");  // beside the working folder: never shown
    std::ofstream(work / "bad.png") << "not an image, though named like one";
    std::ofstream(work / "path.xml") << PathNaming(c.background);
  });
  LoadEntry(1);  // bad.png, path.xml
  ASSERT_TRUE(mDemo->WaitForOutput(c.message));
  EXPECT_TRUE(mDemo->WaitFor([&] { return IsGreen(At(612, 384)); }));  // the loaded path
  mDemo->Frames(10);
  EXPECT_TRUE(ShowsNoImage());
  EXPECT_EQ(1u, Occurrences(mDemo->Output(), c.message)) << mDemo->Output();
}

INSTANTIATE_TEST_SUITE_P(
    Images, UnshownBackground,
    ::testing::Values(
        UnshownCase{"missing", "gone.png",
                    "Failed to load background image: gone.png (No such file or directory)\n"},
        UnshownCase{"corrupt", "bad.png", "Failed to load background image: bad.png ("},
        UnshownCase{"outside_the_folder", "../level.png",
                    "Refused background: ../level.png (not a plain file name in the working folder)\n"}),
    testsupport::CaseName<UnshownCase>);

}  // namespace
}  // namespace editor
