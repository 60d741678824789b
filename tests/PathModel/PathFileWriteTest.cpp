// Saving: the file text, the name rule, the checks and messages, and writes that fail safely.
#include <sys/stat.h>  // stat and chmod of the saved files

#include <cstdio>

#include "PathFileTestSupport.h"
#include "NamedCases.h"

namespace {

using pathtest::FolderEntries;
using pathtest::kFourPoints;
using pathtest::PathFileTest;
using testsupport::ReadFile;
using testsupport::WriteFile;

// The name of a parameterised case: its `name` field.
TEST_F(PathFileTest, FourPointsGiveTheGoldenFile) {
  SetWindowPoints(kFourPoints);
  EXPECT_EQ("", SaveAs("a"));
  EXPECT_EQ(ReadFile(PATH_GOLDEN_DIR "/four_points.xml"), ReadFile("a.xml"));
}

TEST_F(PathFileTest, OnePointIsWrittenRelativeToAZeroStart) {
  SetWindowPoints({{612, 384}});
  SaveAs("one");
  EXPECT_EQ(
      "<resource>\n"
      "  <Scale>350 200</Scale>\n"
      "  <WorldPos>262 184</WorldPos>\n"
      "  <SplineStart>0 0</SplineStart>\n"
      "  <ControlPoint>0.5 0.5</ControlPoint>\n"
      "</resource>\n",
      ReadFile("one.xml"));
}

TEST_F(PathFileTest, RotationAndScaleAreBakedIntoThePoints) {
  spline.mControlPoints = {{306, 192}};
  spline.SetScale(2.0f);
  spline.RebuildSamples();
  SaveAs("baked");
  EXPECT_NE(std::string::npos, ReadFile("baked.xml").find("<ControlPoint>0.5 0.5</ControlPoint>"));
  // Saving changes nothing of the path.
  EXPECT_EQ((std::vector<vec2>{{306, 192}}), spline.mControlPoints);
  EXPECT_EQ(2.0f, spline.mScale);
  EXPECT_TRUE(spline.mSamplesValid);
}

// Numbers are printed like a text stream prints a float: %g with six significant digits.
struct NumberCase {
  const char* name;
  float x;  // in the window; y is 184, where the frame starts, so the file gives 0
};

class SavedNumber : public PathFileTest, public ::testing::WithParamInterface<NumberCase> {};

// A point alone, so that the start stays (0, 0) and the value is N itself.
TEST_P(SavedNumber, HasSixSignificantDigits) {
  const vec2 p(GetParam().x, 184.0f);
  SetWindowPoints({p});
  SaveAs("numbers");
  const std::string text = ReadFile("numbers.xml");
  char expected[64];
  std::snprintf(expected, sizeof expected, "<ControlPoint>%g 0</ControlPoint>",
                static_cast<double>((p.x - 262.0f) / 700.0f));
  EXPECT_NE(std::string::npos, text.find(expected)) << expected << "\n" << text;
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, SavedNumber,
    ::testing::Values(NumberCase{"frame_left_edge", 262.0f}, NumberCase{"frame_right_edge", 962.0f},
                      NumberCase{"a_third_of_the_frame", 495.3333f},
                      NumberCase{"a_hundredth_of_a_pixel_in", 262.007f}, NumberCase{"a_billion", 1e9f},
                      NumberCase{"minus_a_million", -1e6f}, NumberCase{"one_pixel_in", 263.0f}),
    testsupport::CaseName<NumberCase>);

TEST_F(PathFileTest, NumbersUseSixSignificantDigits) {
  SetWindowPoints({{262.0f + 700.0f / 3.0f, 184.0f}, {1e9f, 584.0f}});
  SaveAs("literal");
  const std::string text = ReadFile("literal.xml");
  EXPECT_NE(std::string::npos, text.find("<ControlPoint>0.333333 0</ControlPoint>")) << text;
  EXPECT_NE(std::string::npos, text.find("<ControlPoint>1.42857e+06 1</ControlPoint>")) << text;
}

struct NameCase {
  const char* name;
  const char* filename;
  const char* written;
};

class SaveName : public PathFileTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(SaveName, GetsTheXmlSuffixUnlessItEndsInIt) {
  SetWindowPoints(kFourPoints);
  SaveAs(GetParam().filename);
  EXPECT_TRUE(std::filesystem::exists(GetParam().written)) << GetParam().filename;
  EXPECT_EQ(GetParam().filename, files.mFilename);
}

INSTANTIATE_TEST_SUITE_P(Names, SaveName,
                         ::testing::Values(NameCase{"plain", "path", "path.xml"},
                                           NameCase{"ends_in_xml", "path.xml", "path.xml"},
                                           NameCase{"ends_in_capital_xml", "path.XML", "path.XML.xml"},
                                           NameCase{"only_the_suffix", ".xml", ".xml.xml"},
                                           NameCase{"one_letter", "a", "a.xml"},
                                           NameCase{"one_letter_and_xml", "x.xml", "x.xml"},
                                           NameCase{"four_letters", "abcd", "abcd.xml"},
                                           NameCase{"another_dot", "v1.2", "v1.2.xml"}),
                         testsupport::CaseName<NameCase>);

TEST_F(PathFileTest, SaveChecksPointsThenName) {
  WriteFile("other.xml", "<resource/>");
  files.mFilename = "a";
  EXPECT_EQ("My friend, there is no control point to save...\n", SaveAs("a"));
  SetWindowPoints(kFourPoints);
  EXPECT_EQ("My friend, I need a filename to save...\n", SaveAs(""));
  // Neither check writes a file or refreshes the list.
  EXPECT_EQ((std::vector<std::string>{"other.xml"}), FolderEntries());
  EXPECT_TRUE(files.mFilenames.empty());
}

TEST_F(PathFileTest, SaveRefreshesTheLoadList) {
  WriteFile("zzz-other.txt", "x");
  SetWindowPoints(kFourPoints);
  SaveAs("new");
  EXPECT_EQ((std::vector<std::string>{"new.xml", "zzz-other.txt"}), files.mFilenames);
}

struct RoundTripCase {
  const char* name;
  std::vector<vec2> points;
  const char* background = "";
};

class SaveLoadSave : public PathFileTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(SaveLoadSave, GivesTheSameText) {
  const std::string background = GetParam().background;
  SetWindowPoints(GetParam().points);
  spline.mBackground = background;
  SaveAs("trip");
  const std::string first = ReadFile("trip.xml");
  // The root names the background only when there is one.
  const std::string root =
      background.empty() ? "<resource>\n" : "<resource background=\"" + background + "\">\n";
  EXPECT_EQ(0u, first.find(root)) << first;
  spline.mBackground = "other.png";
  EXPECT_EQ("", LoadNamed("trip.xml"));
  EXPECT_EQ(background, spline.mBackground);  // a file without one clears it
  std::filesystem::remove("trip.xml");
  SaveAs("trip");
  EXPECT_EQ(first, ReadFile("trip.xml"));
}

INSTANTIATE_TEST_SUITE_P(Paths, SaveLoadSave,
                         ::testing::Values(RoundTripCase{"four_points", kFourPoints},
                                           RoundTripCase{"two_points", {{612, 384}, {262, 584}}},
                                           RoundTripCase{"over_a_background", kFourPoints, "level.png"},
                                           RoundTripCase{"three_points_between_pixels",
                                                         {{300.5f, 200.25f}, {401, 517}, {733, 250}}}),
                         testsupport::CaseName<RoundTripCase>);

// A refused save leaves the folder as it was: no backup of the file it would have replaced,
// however often it is tried again.
TEST_F(PathFileTest, APathBeyondTheFloatRangeIsNotWrittenAndNothingIsBackedUp) {
  SetWindowPoints(kFourPoints);
  SaveAs("huge");
  const std::string before = ReadFile("huge.xml");
  spline.SetScale(1e38f);
  EXPECT_EQ("failed to save: huge.xml\n", SaveAs("huge"));
  EXPECT_EQ("failed to save: huge.xml\n", SaveAs("huge"));
  EXPECT_EQ(before, ReadFile("huge.xml"));
  EXPECT_EQ((std::vector<std::string>{"huge.xml"}), FolderEntries());
}

TEST_F(PathFileTest, AReadOnlyFileIsNotReplaced) {
  WriteFile("locked.xml", "<resource/>");
  std::filesystem::permissions("locked.xml", std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::group_read |
                                                 std::filesystem::perms::others_read);
  SetWindowPoints(kFourPoints);
  EXPECT_EQ("failed to save: locked.xml\n", SaveAs("locked"));
  EXPECT_EQ("failed to save: locked.xml\n", SaveAs("locked"));
  EXPECT_EQ("<resource/>", ReadFile("locked.xml"));
  // Refused before anything was written: no backup, no temporary file.
  EXPECT_EQ((std::vector<std::string>{"locked.xml"}), FolderEntries());
  EXPECT_EQ((std::vector<std::string>{"locked.xml"}), files.mFilenames);
}

TEST_F(PathFileTest, AReadOnlyFolderGetsNoFile) {
  std::filesystem::create_directory("ro");
  WriteFile("ro/a.xml", "<resource/>");
  std::filesystem::permissions("ro", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  SetWindowPoints(kFourPoints);
  EXPECT_EQ("failed to save: ro/a.xml\n", SaveAs("ro/a"));
  EXPECT_EQ("failed to save: ro/b.xml\n", SaveAs("ro/b"));
  EXPECT_EQ((std::vector<std::string>{"a.xml"}), FolderEntries("ro"));
  EXPECT_EQ("<resource/>", ReadFile("ro/a.xml"));
}

TEST_F(PathFileTest, AFolderInTheWayIsReported) {
  std::filesystem::create_directory("dir.xml");
  SetWindowPoints(kFourPoints);
  EXPECT_EQ("failed to save: dir.xml\n", SaveAs("dir"));
  EXPECT_TRUE(std::filesystem::is_directory("dir.xml"));
  EXPECT_EQ((std::vector<std::string>{"dir.xml"}), FolderEntries());
}

TEST_F(PathFileTest, ReplacingKeepsPermissionsAndWritesThroughLinks) {
  WriteFile("real.xml", "old");
  chmod("real.xml", 0640);
  std::filesystem::create_symlink("real.xml", "link.xml");
  SetWindowPoints(kFourPoints);
  SaveAs("link");
  EXPECT_TRUE(std::filesystem::is_symlink("link.xml"));
  EXPECT_EQ(ReadFile(PATH_GOLDEN_DIR "/four_points.xml"), ReadFile("real.xml"));
  struct stat info {};
  ASSERT_EQ(0, stat("real.xml", &info));
  EXPECT_EQ(0640u, info.st_mode & 07777);
  EXPECT_EQ("old", ReadFile("link.xml.bak0"));
}

}  // namespace
