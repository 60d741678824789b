// Saving and loading through the bar: the file text, numbered backups, the Load list, messages.
#include <cmath>
#include <iomanip>

#include "EditorFixture.h"

namespace editor {
namespace {

using FilesTest = EditorTest;

TEST_F(FilesTest, FourPointsSavedWithCtrlSGiveTheGoldenText) {
  for (const auto& [x, y] : {std::pair{262, 184}, {612, 384}, {962, 584}, {962, 184}}) AddPoint(x, y);
  SetFilename("a");
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("a.xml"); }));
  mDemo->Frames(4);
  EXPECT_EQ(File("a.xml"), ReadText(std::filesystem::path(GOLDEN_DIR) / "four_points.xml"));
}

TEST_F(FilesTest, SavingThreeTimesKeepsEachEarlierFileAsANumberedBackup) {
  AddPoint(612, 384);
  SetFilename("a");
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("a.xml"); }));
  EXPECT_FALSE(Exists("a.xml.bak0"));
  AddPoint(700, 300);
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("a.xml.bak0"); }));
  AddPoint(800, 300);
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("a.xml.bak1"); }));
  EXPECT_FALSE(Exists("a.xml.bak2"));
  // Each backup holds the save before it: one point, then two.
  const auto count = [](const std::string& text) {
    std::size_t n = 0;
    for (std::size_t at = text.find("<ControlPoint>"); at != std::string::npos;
         at = text.find("<ControlPoint>", at + 1))
      ++n;
    return n;
  };
  EXPECT_EQ(count(File("a.xml.bak0")), 1u);
  EXPECT_EQ(count(File("a.xml.bak1")), 2u);
  EXPECT_EQ(count(File("a.xml")), 3u);
}

TEST_F(FilesTest, LoadListOffersTheNewFileInItsPlaceAndLoadingRestoresThePoints) {
  // Listed at start-up: Zpath.xml, and after the save also new.xml (upper case sorts first).
  Start([](const std::filesystem::path& work) {
    std::ofstream(work / "Zpath.xml") << "<resource>\n  <Scale>350 200</Scale>\n"
                                         "  <WorldPos>262 184</WorldPos>\n  <SplineStart>0 0</SplineStart>\n"
                                         "  <ControlPoint>0.5 0.5</ControlPoint>\n</resource>\n";
  });
  AddPoint(400, 300);
  AddPoint(450, 500);
  SetFilename("new");
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("new.xml"); }));
  mDemo->Key("p");  // clear the path
  ASSERT_TRUE(WaitForColor(400, 300, [](const Pixel& p) { return !IsRed(p) && !IsGreen(p); }));

  mDemo->Click(kValueX, kLoadY);  // open the list: Zpath.xml, new.xml
  mDemo->Click(kValueX, kLoadListFirstY + kLoadListStep);
  EXPECT_TRUE(WaitForColor(400, 300, IsGreen));
  EXPECT_TRUE(WaitForColor(450, 500, IsGreen));  // clearing left nothing selected

  mDemo->Click(kValueX, kLoadY);
  mDemo->Click(kValueX, kLoadListFirstY);  // Zpath.xml: one point at the frame's centre
  EXPECT_TRUE(mDemo->WaitFor([&] { return IsGreen(At(612, 384)) || IsRed(At(612, 384)); }));
  EXPECT_FALSE(IsGreen(At(400, 300)));
  EXPECT_EQ(mDemo->Output().find("Failed to load file"), std::string::npos);
}

TEST_F(FilesTest, RotationOf400BecomesFortyAndTheNextSaveBakesItIn) {
  AddPoint(600, 100);  // rotation 0, scale 1: local (600, 100)
  TypeInto(kRotationY, "400");
  // Where the point now stands: rotated by 40 degrees about the window origin.
  const float theta = 40.0f / 180.0f * 3.1415927f;
  const float c = std::cos(theta), s = std::sin(theta);
  const float wx = c * 600.0f - s * 100.0f;
  const float wy = s * 600.0f + c * 100.0f;
  EXPECT_TRUE(WaitForColor(static_cast<int>(wx), static_cast<int>(wy), IsRed));

  SetFilename("turned");
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("turned.xml"); }));
  mDemo->Frames(4);
  // One point: the start of the curve is (0, 0), and the point is its normalised position.
  std::ostringstream expected;
  expected << "  <ControlPoint>" << (wx - 262.0f) / 700.0f << " " << (wy - 184.0f) / 400.0f
           << "</ControlPoint>\n";
  EXPECT_NE(File("turned.xml").find(expected.str()), std::string::npos)
      << File("turned.xml") << expected.str();
}

TEST_F(FilesTest, SaveWithoutPointsOrWithoutANameSaysWhatIsMissing) {
  Save();
  EXPECT_TRUE(mDemo->WaitForOutput("My friend, there is no control point to save...\n"));
  AddPoint(600, 400);
  Save();
  EXPECT_TRUE(mDemo->WaitForOutput("My friend, I need a filename to save...\n"));
  // Nothing saved: only the recovery file holds the point.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(mDemo->WorkDir()))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(std::vector<std::string>{"untitled.xml.unsaved0"}, names);
}

}  // namespace
}  // namespace editor
