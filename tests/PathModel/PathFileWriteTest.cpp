// Saving: the file text, the name rule, the checks and messages, and writes that fail safely.
#include <sys/stat.h>  // stat and chmod of the saved files

#include <cstdio>

#include "PathFileTestSupport.h"

namespace {

using pathtest::FolderEntries;
using pathtest::kFourPoints;
using pathtest::PathFileTest;
using testsupport::ReadFile;
using testsupport::WriteFile;

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
TEST_F(PathFileTest, NumbersUseSixSignificantDigits) {
  const std::vector<float> xs = {262.0f, 962.0f, 495.3333f, 262.007f, 1e9f, -1e6f, 263.0f};
  // Three points at a time, so that the start stays (0, 0) and the values are N itself.
  std::vector<vec2> points;
  for (float x : xs) points.push_back(vec2(x, 184.0f));
  for (std::size_t first = 0; first < points.size(); first += 3) {
    std::vector<vec2> chunk(points.begin() + first, points.begin() + std::min(points.size(), first + 3));
    SetWindowPoints(chunk);
    SaveAs("numbers");
    const std::string text = ReadFile("numbers.xml");
    for (const vec2& p : chunk) {
      char expected[64];
      std::snprintf(expected, sizeof expected, "<ControlPoint>%g 0</ControlPoint>",
                    static_cast<double>((p.x - 262.0f) / 700.0f));
      EXPECT_NE(std::string::npos, text.find(expected)) << expected << "\n" << text;
    }
  }
  SetWindowPoints({{262.0f + 700.0f / 3.0f, 184.0f}, {1e9f, 584.0f}});
  SaveAs("literal");
  const std::string text = ReadFile("literal.xml");
  EXPECT_NE(std::string::npos, text.find("<ControlPoint>0.333333 0</ControlPoint>")) << text;
  EXPECT_NE(std::string::npos, text.find("<ControlPoint>1.42857e+06 1</ControlPoint>")) << text;
}

TEST_F(PathFileTest, NameGetsTheXmlSuffixUnlessItEndsInIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"path", "path.xml"}, {"path.xml", "path.xml"}, {"path.XML", "path.XML.xml"}, {".xml", ".xml.xml"},
      {"a", "a.xml"},       {"x.xml", "x.xml"},       {"abcd", "abcd.xml"},         {"v1.2", "v1.2.xml"},
  };
  SetWindowPoints(kFourPoints);
  for (const auto& [filename, written] : cases) {
    SaveAs(filename);
    EXPECT_TRUE(std::filesystem::exists(written)) << filename;
    EXPECT_EQ(filename, files.mFilename);
  }
}

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

TEST_F(PathFileTest, SaveLoadSaveGivesTheSameText) {
  const std::vector<std::vector<vec2>> paths = {
      kFourPoints,
      {{612, 384}, {262, 584}},
      {{300.5f, 200.25f}, {401, 517}, {733, 250}},
  };
  for (std::size_t i = 0; i < paths.size(); ++i) {
    SetWindowPoints(paths[i]);
    const std::string name = "trip" + std::to_string(i);
    SaveAs(name);
    const std::string first = ReadFile(name + ".xml");
    EXPECT_EQ("", LoadNamed(name + ".xml"));
    std::filesystem::remove(name + ".xml");
    SaveAs(name);
    EXPECT_EQ(first, ReadFile(name + ".xml")) << name;
  }
}

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

// Recovery files take the next free number after the name in the Filename field, also when
// that name is itself a recovery file that was loaded; no name gives "untitled".
TEST_F(PathFileTest, RecoveryFilesAreNumberedAfterTheNameAndNeverOverwritten) {
  SetWindowPoints(kFourPoints);
  testsupport::CaptureStdout capture;
  EXPECT_EQ("untitled.xml.unsaved0", files.KeepUnsaved(spline));
  files.mFilename = "level";
  EXPECT_EQ("level.xml.unsaved0", files.KeepUnsaved(spline));
  files.mFilename = "level.xml.unsaved0";  // loaded back
  EXPECT_EQ("level.xml.unsaved1", files.KeepUnsaved(spline));
  EXPECT_EQ(ReadFile(PATH_GOLDEN_DIR "/four_points.xml"), ReadFile("level.xml.unsaved1"));
  EXPECT_EQ(
      "Unsaved changes kept in untitled.xml.unsaved0\nUnsaved changes kept in level.xml.unsaved0\n"
      "Unsaved changes kept in level.xml.unsaved1\n",
      capture.Text());
}

}  // namespace
